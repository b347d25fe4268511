// One collision step of a side-scroller layer: N boxes of 32 px in a 10,000 x 720 world with the
// default cell size of 100. Three measurements over the same recorded motion: the full step (grid
// broad phase plus the swept narrow phase on every candidate pair), the step with rectangle-only
// pair tests, and Box2D's dynamic tree finding the candidate pairs of the same boxes (the reference
// for the broad phase).
//
// Scenes (the motion is recorded once, untimed, and replayed forward then backward so that it never
// jumps):
// - Game: boxes spawned on a jittered lattice without overlapping, moving 1 to 3 px per frame per
//   axis, bouncing off the world's edges and off each other (a box that overlaps another turns back
//   on the axis of least overlap, as a game's response would), so contacts stay occasional events
//   rather than a pile. The world is fixed, so density and contacts per object still grow with N:
//   the "pairs" counter reports the overlapping pairs per frame.
// - Level: the Game scene with the world 10 px wide per box (1,000 to 50,000 px), so that density and
//   contacts per object stay as they are at 1,000 boxes: the scaling measurement.
// - Dense: the earlier scene, boxes dropped at random (overlapping) with speeds up to 4 px and only
//   edge bounces; at 5,000 boxes they cover 70% of the world and pairs grow with N squared: it
//   measures density, not scaling.
#include <benchmark/benchmark.h>

#include <box2d/box2d.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "collision/Collision_Engine.h"
#include "core/Core_Random.h"

namespace {

constexpr float kWorldWidthDefault = 10000.0f;
// The width of the recorded scene's world (set by Record before anything reads it).
float g_worldWidth = kWorldWidthDefault;
constexpr float kWorldHeight = 720.0f;
constexpr float kHalf = 16.0f;
constexpr int kCellSize = 100;
constexpr int kRecordedFrames = 240;

enum class Scene { Game, Level, Dense };

// The Level scene keeps the 1,000-box density of the Game scene at every N: its world is 10 px
// wide per box, a level that grows longer with its population.
float WorldWidthOf(Scene scene, int count) {
  return scene == Scene::Level ? 10.0f * static_cast<float>(count) : kWorldWidthDefault;
}

struct Box {
  b2Vec2 position;
  b2Vec2 velocity;
};

// Recorded positions, frame by frame, and the mean number of overlapping pairs per frame.
struct Motion {
  int count = 0;
  std::vector<b2Vec2> positions;  // frame f, box i at f * count + i
  double pairsPerFrame = 0.0;
  const b2Vec2* Frame(int frame) const { return &positions[static_cast<size_t>(frame) * count]; }
};

float Uniform() { return static_cast<float>(Core::Random()) / 32767.0f; }

float GameSpeed() {
  const float speed = 1.0f + static_cast<float>(Core::Random() % 3);
  return Core::Random() % 2 ? speed : -speed;
}

std::vector<Box> Spawn(Scene scene, int count) {
  std::vector<Box> boxes;
  boxes.reserve(static_cast<size_t>(count));
  if (scene == Scene::Dense) {
    for (int i = 0; i < count; ++i) {
      Box box;
      box.position.Set(Uniform() * (g_worldWidth - 2 * kHalf) + kHalf, Uniform() * (kWorldHeight - 2 * kHalf) + kHalf);
      box.velocity.Set(static_cast<float>(Core::Random() % 9) - 4.0f, static_cast<float>(Core::Random() % 9) - 4.0f);
      boxes.push_back(box);
    }
    return boxes;
  }
  // A lattice with at least one spare cell per box, each box jittered inside its cell.
  const float area = (g_worldWidth - 2 * kHalf) * (kWorldHeight - 2 * kHalf);
  const float spacing = std::sqrt(area / static_cast<float>(count));
  const int rows = std::max(1, static_cast<int>((kWorldHeight - 2 * kHalf) / spacing));
  const int columns = (count + rows - 1) / rows;
  const float dx = (g_worldWidth - 2 * kHalf) / static_cast<float>(columns);
  const float dy = (kWorldHeight - 2 * kHalf) / static_cast<float>(rows);
  const float jitterX = std::max(0.0f, dx - 2 * kHalf - 1.0f), jitterY = std::max(0.0f, dy - 2 * kHalf - 1.0f);
  for (int i = 0; i < count; ++i) {
    Box box;
    const int column = i / rows, row = i % rows;
    box.position.Set(kHalf + dx * static_cast<float>(column) + kHalf + Uniform() * jitterX,
                     kHalf + dy * static_cast<float>(row) + kHalf + Uniform() * jitterY);
    box.velocity.Set(GameSpeed(), GameSpeed());
    boxes.push_back(box);
  }
  return boxes;
}

void BounceOffEdges(Box& box) {
  if (box.position.x < kHalf || box.position.x > g_worldWidth - kHalf) box.velocity.x = -box.velocity.x;
  if (box.position.y < kHalf || box.position.y > kWorldHeight - kHalf) box.velocity.y = -box.velocity.y;
}

// Overlapping pairs of the boxes through a coarse bucket grid (recording only, untimed).
template <typename Visit>
int ForEachOverlap(const std::vector<Box>& boxes, Visit visit) {
  constexpr float kBucket = 64.0f;
  const int columns = static_cast<int>(g_worldWidth / kBucket) + 2, rows = static_cast<int>(kWorldHeight / kBucket) + 2;
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
          const b2Vec2 d = boxes[static_cast<size_t>(j)].position - boxes[i].position;
          if (std::fabs(d.x) < 2 * kHalf && std::fabs(d.y) < 2 * kHalf) {
            ++pairs;
            visit(i, static_cast<size_t>(j), d);
          }
        }
  }
  return pairs;
}

Motion Record(Scene scene, int count) {
  g_worldWidth = WorldWidthOf(scene, count);
  Core::SeedRandom(12345u);
  std::vector<Box> boxes = Spawn(scene, count);
  Motion motion;
  motion.count = count;
  motion.positions.reserve(static_cast<size_t>(count) * kRecordedFrames);
  int64_t pairs = 0;
  for (int frame = 0; frame < kRecordedFrames; ++frame) {
    for (Box& box : boxes) {
      box.position += box.velocity;
      BounceOffEdges(box);
    }
    pairs += ForEachOverlap(boxes, [&](size_t i, size_t j, const b2Vec2& d) {
      if (scene == Scene::Dense) return;
      // Turn both back along the axis of least overlap, each away from the other.
      const bool alongX = 2 * kHalf - std::fabs(d.x) < 2 * kHalf - std::fabs(d.y);
      float& vi = alongX ? boxes[i].velocity.x : boxes[i].velocity.y;
      float& vj = alongX ? boxes[j].velocity.x : boxes[j].velocity.y;
      const float away = (alongX ? d.x : d.y) >= 0.0f ? 1.0f : -1.0f;  // j lies on this side of i
      vi = -away * std::fabs(vi);
      vj = away * std::fabs(vj);
    });
    for (const Box& box : boxes) motion.positions.push_back(box.position);
  }
  motion.pairsPerFrame = static_cast<double>(pairs) / kRecordedFrames;
  return motion;
}

// Frames 0 .. last, then back down, then up again: consecutive frames always differ by one step.
int ReplayFrame(int64_t tick) {
  const int64_t period = 2 * (kRecordedFrames - 1);
  const int64_t phase = tick % period;
  return static_cast<int>(phase < kRecordedFrames ? phase : period - phase);
}

std::unique_ptr<Collision2D::CollisionActor> MakeBoxActor() {
  auto actor = std::make_unique<Collision2D::CollisionActor>();
  auto* animation = new Collision2D::CollisionAnimation();
  auto* frame = new Collision2D::CollisionFrame();
  frame->SetBoundingRectangle(Collision2D::QlnRect(kHalf, -kHalf, kHalf, -kHalf), true);
  const Math::Vector2D corners[4] = {Math::Vector2D(-kHalf, -kHalf), Math::Vector2D(kHalf, -kHalf),
                                     Math::Vector2D(kHalf, kHalf), Math::Vector2D(-kHalf, kHalf)};
  for (int k = 0; k < 4; ++k) frame->AddCollisionLineSegment(corners[k], corners[(k + 1) % 4], k, true);
  animation->AddCollisionFrame(frame);
  actor->AddCollisionAnimation(animation);
  return actor;
}

void CollisionStep(benchmark::State& state, Scene scene, bool geometric) {
  const int count = static_cast<int>(state.range(0));
  const Motion motion = Record(scene, count);
  auto actor = MakeBoxActor();
  Collision2D::CollisionEngine engine;
  engine.Clear();
  engine.AddLayer();
  engine.CreateGrid(0, Math::Vector2D(0, 0), static_cast<int32_t>(g_worldWidth), static_cast<int32_t>(kWorldHeight),
                    kCellSize);
  std::vector<Collision2D::CollisionId> ids;
  const b2Vec2* start = motion.Frame(0);
  for (int i = 0; i < count; ++i) {
    auto* object = new Collision2D::DynamicObject();
    object->AddCollisionData(actor.get(), 0, 0);
    object->SetCollisionType(geometric);
    for (int z = 0; z < 255; ++z) object->SetCanCollid(static_cast<uint8_t>(z), true);
    Math::Vector2D at(start[i].x, start[i].y);
    ids.push_back(engine.AddCollision(object, 0, &at));
  }
  int64_t tick = 1;
  int64_t contacts = 0;
  for (auto _ : state) {
    const b2Vec2* frame = motion.Frame(ReplayFrame(tick++));
    for (int i = 0; i < count; ++i) engine.SetObjectPosition(ids[static_cast<size_t>(i)], frame[i].x, frame[i].y);
    engine.Update(1.0f / 60.0f);
    contacts += engine.ObjectInCollision(ids[0]) ? 1 : 0;
  }
  benchmark::DoNotOptimize(contacts);
  state.counters["objects"] = count;
  state.counters["pairs"] = motion.pairsPerFrame;
  engine.Clear();
}

// The reference: the dynamic tree's proxies moved with the boxes, then every overlapping pair found.
struct PairCounter {
  int64_t pairs = 0;
  void AddPair(void*, void*) { ++pairs; }
};

void Box2DDynamicTreePairs(benchmark::State& state, Scene scene) {
  const int count = static_cast<int>(state.range(0));
  const Motion motion = Record(scene, count);
  b2BroadPhase broadPhase;
  std::vector<int32> proxies;
  std::vector<b2Vec2> positions(motion.Frame(0), motion.Frame(0) + count);
  for (int i = 0; i < count; ++i) {
    b2AABB aabb;
    aabb.lowerBound = positions[static_cast<size_t>(i)] - b2Vec2(kHalf, kHalf);
    aabb.upperBound = positions[static_cast<size_t>(i)] + b2Vec2(kHalf, kHalf);
    proxies.push_back(broadPhase.CreateProxy(aabb, &positions[static_cast<size_t>(i)]));
  }
  PairCounter counter;
  int64_t tick = 1;
  for (auto _ : state) {
    const b2Vec2* frame = motion.Frame(ReplayFrame(tick++));
    for (int i = 0; i < count; ++i) {
      const b2Vec2 old = positions[static_cast<size_t>(i)];
      positions[static_cast<size_t>(i)] = frame[i];
      b2AABB aabb;
      aabb.lowerBound = frame[i] - b2Vec2(kHalf, kHalf);
      aabb.upperBound = frame[i] + b2Vec2(kHalf, kHalf);
      broadPhase.MoveProxy(proxies[static_cast<size_t>(i)], aabb, frame[i] - old);
    }
    broadPhase.UpdatePairs(&counter);
  }
  benchmark::DoNotOptimize(counter.pairs);
  state.counters["objects"] = count;
  state.counters["pairs"] = motion.pairsPerFrame;
}

}  // namespace

BENCHMARK_CAPTURE(CollisionStep, Game_Geometric, Scene::Game, true)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CollisionStep, Game_Rectangles, Scene::Game, false)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Box2DDynamicTreePairs, Game, Scene::Game)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CollisionStep, Level_Geometric, Scene::Level, true)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CollisionStep, Level_Rectangles, Scene::Level, false)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Box2DDynamicTreePairs, Level, Scene::Level)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CollisionStep, Dense_Geometric, Scene::Dense, true)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CollisionStep, Dense_Rectangles, Scene::Dense, false)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Box2DDynamicTreePairs, Dense, Scene::Dense)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
