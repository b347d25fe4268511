#pragma once
// Scenes of one side-scroller collision layer, shared by the layer benchmark and the tests: N boxes
// of 32 px in a 720 px high world with the default cell size of 100, their motion recorded once
// and replayed forward then backward so that it never jumps.
//
// - Game: boxes spawned on a jittered lattice without overlapping, moving 1 to 3 px per frame per
//   axis, bouncing off the world's edges and off each other (a box that overlaps another turns back
//   on the axis of least overlap, as a game's response would), so contacts stay occasional events
//   rather than a pile. The world is 10,000 px wide, so density and contacts per object still grow
//   with N.
// - Level: the Game scene with the world 10 px wide per box, so that density and contacts per
//   object stay as they are at 1,000 boxes: the scaling measurement.
// - Dense: boxes dropped at random (overlapping) with speeds up to 4 px and only edge bounces; at
//   5,000 boxes they cover 70% of the world and pairs grow with N squared: it measures density.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "collision/Collision_Engine.h"
#include "core/Core_Random.h"
#include "math/Math_Vector2D.h"
#include "tests/collision/BoxActor.h"

namespace CollisionTest {

enum class LayerScene { Game, Level, Dense };

constexpr float kSceneHeight = 720.0f;
constexpr float kSceneBoxHalf = 16.0f;
constexpr int kSceneCellSize = 100;

// Recorded positions, frame by frame, and the mean number of overlapping pairs per frame.
struct SceneMotion {
  int count = 0;
  float width = 0.0f;
  std::vector<Math::Vector2D> positions;  // frame f, box i at f * count + i
  double pairsPerFrame = 0.0;
  int Frames() const { return count == 0 ? 0 : static_cast<int>(positions.size() / static_cast<size_t>(count)); }
  const Math::Vector2D* Frame(int frame) const { return &positions[static_cast<size_t>(frame) * count]; }
  // Frames 0 .. last, then back down, then up again: consecutive frames always differ by one step.
  int ReplayFrame(int64_t tick) const {
    const int64_t period = 2 * (Frames() - 1);
    const int64_t phase = tick % period;
    return static_cast<int>(phase < Frames() ? phase : period - phase);
  }
};

namespace SceneDetail {

struct Box {
  Math::Vector2D position;
  Math::Vector2D velocity;
};

inline float Uniform() { return static_cast<float>(Core::Random()) / 32767.0f; }

inline float GameSpeed() {
  const float speed = 1.0f + static_cast<float>(Core::Random() % 3);
  return Core::Random() % 2 ? speed : -speed;
}

inline std::vector<Box> Spawn(LayerScene scene, int count, float width) {
  constexpr float kHalf = kSceneBoxHalf;
  std::vector<Box> boxes;
  boxes.reserve(static_cast<size_t>(count));
  if (scene == LayerScene::Dense) {
    for (int i = 0; i < count; ++i) {
      // y is drawn before x: the scenes recorded so far were made in that order.
      Box box;
      const float y = Uniform() * (kSceneHeight - 2 * kHalf) + kHalf;
      box.position = Math::Vector2D(Uniform() * (width - 2 * kHalf) + kHalf, y);
      const float vy = static_cast<float>(Core::Random() % 9) - 4.0f;
      box.velocity = Math::Vector2D(static_cast<float>(Core::Random() % 9) - 4.0f, vy);
      boxes.push_back(box);
    }
    return boxes;
  }
  // A lattice with at least one spare cell per box, each box jittered inside its cell.
  const float area = (width - 2 * kHalf) * (kSceneHeight - 2 * kHalf);
  const float spacing = std::sqrt(area / static_cast<float>(count));
  const int rows = std::max(1, static_cast<int>((kSceneHeight - 2 * kHalf) / spacing));
  const int columns = (count + rows - 1) / rows;
  const float dx = (width - 2 * kHalf) / static_cast<float>(columns);
  const float dy = (kSceneHeight - 2 * kHalf) / static_cast<float>(rows);
  const float jitterX = std::max(0.0f, dx - 2 * kHalf - 1.0f), jitterY = std::max(0.0f, dy - 2 * kHalf - 1.0f);
  for (int i = 0; i < count; ++i) {
    Box box;
    const int column = i / rows, row = i % rows;
    const float y = kHalf + dy * static_cast<float>(row) + kHalf + Uniform() * jitterY;
    box.position = Math::Vector2D(kHalf + dx * static_cast<float>(column) + kHalf + Uniform() * jitterX, y);
    const float vy = GameSpeed();
    box.velocity = Math::Vector2D(GameSpeed(), vy);
    boxes.push_back(box);
  }
  return boxes;
}

// Overlapping pairs of the boxes through a coarse bucket grid (recording only).
template <typename Visit>
int ForEachOverlap(const std::vector<Box>& boxes, float width, Visit visit) {
  constexpr float kBucket = 64.0f;
  const int columns = static_cast<int>(width / kBucket) + 2, rows = static_cast<int>(kSceneHeight / kBucket) + 2;
  std::vector<std::vector<int>> buckets(static_cast<size_t>(columns * rows));
  auto bucketOf = [&](float v, int n) { return std::min(n - 1, std::max(0, static_cast<int>(v / kBucket))); };
  for (size_t i = 0; i < boxes.size(); ++i)
    buckets[static_cast<size_t>(bucketOf(boxes[i].position.x, columns) * rows + bucketOf(boxes[i].position.y, rows))]
        .push_back(static_cast<int>(i));
  int pairs = 0;
  for (size_t i = 0; i < boxes.size(); ++i) {
    const int bx = bucketOf(boxes[i].position.x, columns), by = bucketOf(boxes[i].position.y, rows);
    for (int cx = std::max(0, bx - 1); cx <= std::min(columns - 1, bx + 1); ++cx)
      for (int cy = std::max(0, by - 1); cy <= std::min(rows - 1, by + 1); ++cy)
        for (int j : buckets[static_cast<size_t>(cx * rows + cy)]) {
          if (j <= static_cast<int>(i)) continue;
          const Math::Vector2D d = boxes[static_cast<size_t>(j)].position - boxes[i].position;
          if (std::fabs(d.x) < 2 * kSceneBoxHalf && std::fabs(d.y) < 2 * kSceneBoxHalf) {
            ++pairs;
            visit(i, static_cast<size_t>(j), d);
          }
        }
  }
  return pairs;
}

}  // namespace SceneDetail

// The Level scene keeps the 1,000-box density of the Game scene at every N.
inline float SceneWidthOf(LayerScene scene, int count) {
  return scene == LayerScene::Level ? 10.0f * static_cast<float>(count) : 10000.0f;
}

inline SceneMotion RecordScene(LayerScene scene, int count, int frames) {
  using namespace SceneDetail;
  SceneMotion motion;
  motion.count = count;
  motion.width = SceneWidthOf(scene, count);
  Core::SeedRandom(12345u);
  std::vector<Box> boxes = Spawn(scene, count, motion.width);
  motion.positions.reserve(static_cast<size_t>(count) * static_cast<size_t>(frames));
  int64_t pairs = 0;
  for (int frame = 0; frame < frames; ++frame) {
    for (Box& box : boxes) {
      box.position += box.velocity;
      if (box.position.x < kSceneBoxHalf || box.position.x > motion.width - kSceneBoxHalf) box.velocity.x = -box.velocity.x;
      if (box.position.y < kSceneBoxHalf || box.position.y > kSceneHeight - kSceneBoxHalf) box.velocity.y = -box.velocity.y;
    }
    pairs += ForEachOverlap(boxes, motion.width, [&](size_t i, size_t j, const Math::Vector2D& d) {
      if (scene == LayerScene::Dense) return;
      // Turn both back along the axis of least overlap, each away from the other.
      const bool alongX = 2 * kSceneBoxHalf - std::fabs(d.x) < 2 * kSceneBoxHalf - std::fabs(d.y);
      float& vi = alongX ? boxes[i].velocity.x : boxes[i].velocity.y;
      float& vj = alongX ? boxes[j].velocity.x : boxes[j].velocity.y;
      const float away = (alongX ? d.x : d.y) >= 0.0f ? 1.0f : -1.0f;  // j lies on this side of i
      vi = -away * std::fabs(vi);
      vj = away * std::fabs(vj);
    });
    for (const Box& box : boxes) motion.positions.push_back(box.position);
  }
  motion.pairsPerFrame = static_cast<double>(pairs) / frames;
  return motion;
}

inline std::unique_ptr<Collision2D::CollisionActor> MakeSceneBoxActor() {
  auto actor = std::make_unique<Collision2D::CollisionActor>();
  AddBoxAnimation(*actor, kSceneBoxHalf, 0);
  return actor;
}

// One layer holding the scene's boxes at their first recorded positions.
struct SceneLayer {
  std::unique_ptr<Collision2D::CollisionActor> actor = MakeSceneBoxActor();
  Collision2D::CollisionEngine engine;
  std::vector<Collision2D::CollisionId> ids;

  SceneLayer(const SceneMotion& motion, bool geometric) {
    engine.Clear();
    engine.AddLayer();
    engine.CreateGrid(0, Math::Vector2D(0, 0), static_cast<int32_t>(motion.width), static_cast<int32_t>(kSceneHeight),
                      kSceneCellSize);
    const Math::Vector2D* start = motion.Frame(0);
    for (int i = 0; i < motion.count; ++i) {
      auto* object = new Collision2D::DynamicObject();
      object->AddCollisionData(actor.get(), 0, 0);
      object->SetCollisionType(geometric);
      for (int z = 0; z < 255; ++z) object->SetCanCollid(static_cast<uint8_t>(z), true);
      Math::Vector2D at = start[i];
      ids.push_back(engine.AddCollision(object, 0, &at));
    }
  }
  ~SceneLayer() { engine.Clear(); }
  SceneLayer(const SceneLayer&) = delete;
  SceneLayer& operator=(const SceneLayer&) = delete;

  // Moves every box to the frame's positions and runs the collision pass.
  void Step(const Math::Vector2D* frame) {
    for (size_t i = 0; i < ids.size(); ++i) engine.SetObjectPosition(ids[i], frame[i].x, frame[i].y);
    engine.Update(1.0f / 60.0f);
  }
};

}  // namespace CollisionTest
