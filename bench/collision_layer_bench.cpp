// One collision step of a side-scroller layer: N boxes of 32 px wandering a 10,000 x 720 world with
// the default cell size of 100. The full step (grid broad phase plus the swept narrow phase on
// every candidate pair), the step with rectangle-only pair tests (the broad phase's own cost plus a
// rectangle overlap per pair), and Box2D's dynamic tree finding the candidate pairs of the same
// boxes as the reference.
#include <benchmark/benchmark.h>

#include <box2d/box2d.h>

#include <memory>
#include <vector>

#include "collision/Collision_Engine.h"
#include "core/Core_Random.h"

namespace {

constexpr float kWorldWidth = 10000.0f;
constexpr float kWorldHeight = 720.0f;
constexpr float kHalf = 16.0f;
constexpr int kCellSize = 100;

struct Box {
  b2Vec2 position;
  b2Vec2 velocity;
};

// The same boxes for every run: positions and velocities from the engine's random function.
std::vector<Box> MakeBoxes(int count) {
  std::vector<Box> boxes(static_cast<size_t>(count));
  for (Box& box : boxes) {
    box.position.Set(static_cast<float>(Core::Random()) / 32767.0f * (kWorldWidth - 2 * kHalf) + kHalf,
                     static_cast<float>(Core::Random()) / 32767.0f * (kWorldHeight - 2 * kHalf) + kHalf);
    box.velocity.Set(static_cast<float>(Core::Random() % 9) - 4.0f, static_cast<float>(Core::Random() % 9) - 4.0f);
  }
  return boxes;
}

void Advance(Box& box) {
  box.position += box.velocity;
  if (box.position.x < kHalf || box.position.x > kWorldWidth - kHalf) box.velocity.x = -box.velocity.x;
  if (box.position.y < kHalf || box.position.y > kWorldHeight - kHalf) box.velocity.y = -box.velocity.y;
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

void CollisionStep(benchmark::State& state, bool geometric) {
  const int count = static_cast<int>(state.range(0));
  std::vector<Box> boxes = MakeBoxes(count);
  auto actor = MakeBoxActor();
  Collision2D::CollisionEngine engine;
  engine.Clear();
  engine.AddLayer();
  engine.CreateGrid(0, Math::Vector2D(0, 0), static_cast<int32_t>(kWorldWidth), static_cast<int32_t>(kWorldHeight),
                    kCellSize);
  std::vector<Collision2D::CollisionId> ids;
  for (const Box& box : boxes) {
    auto* object = new Collision2D::DynamicObject();
    object->AddCollisionData(actor.get(), 0, 0);
    object->SetCollisionType(geometric);
    for (int z = 0; z < 255; ++z) object->SetCanCollid(static_cast<uint8_t>(z), true);
    Math::Vector2D at(box.position.x, box.position.y);
    ids.push_back(engine.AddCollision(object, 0, &at));
  }
  int64_t contacts = 0;
  for (auto _ : state) {
    for (size_t i = 0; i < boxes.size(); ++i) {
      Advance(boxes[i]);
      engine.SetObjectPosition(ids[i], boxes[i].position.x, boxes[i].position.y);
    }
    engine.Update(1.0f / 60.0f);
    contacts += engine.ObjectInCollision(ids[0]) ? 1 : 0;
  }
  benchmark::DoNotOptimize(contacts);
  state.counters["objects"] = count;
  engine.Clear();
}

void BM_CollisionStepGeometric(benchmark::State& state) { CollisionStep(state, true); }
void BM_CollisionStepRectangles(benchmark::State& state) { CollisionStep(state, false); }

// The reference: the dynamic tree's proxies moved with the boxes, then every overlapping pair found.
struct PairCounter {
  int64_t pairs = 0;
  void AddPair(void*, void*) { ++pairs; }
};

void BM_Box2DDynamicTreePairs(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  std::vector<Box> boxes = MakeBoxes(count);
  b2BroadPhase broadPhase;
  std::vector<int32> proxies;
  for (Box& box : boxes) {
    b2AABB aabb;
    aabb.lowerBound = box.position - b2Vec2(kHalf, kHalf);
    aabb.upperBound = box.position + b2Vec2(kHalf, kHalf);
    proxies.push_back(broadPhase.CreateProxy(aabb, &box));
  }
  PairCounter counter;
  for (auto _ : state) {
    for (size_t i = 0; i < boxes.size(); ++i) {
      const b2Vec2 old = boxes[i].position;
      Advance(boxes[i]);
      b2AABB aabb;
      aabb.lowerBound = boxes[i].position - b2Vec2(kHalf, kHalf);
      aabb.upperBound = boxes[i].position + b2Vec2(kHalf, kHalf);
      broadPhase.MoveProxy(proxies[i], aabb, boxes[i].position - old);
    }
    broadPhase.UpdatePairs(&counter);
  }
  benchmark::DoNotOptimize(counter.pairs);
  state.counters["objects"] = count;
}

}  // namespace

BENCHMARK(BM_CollisionStepGeometric)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CollisionStepRectangles)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Box2DDynamicTreePairs)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
