// One collision step of a side-scroller layer (the scenes of tests/collision/LayerScenes.h): N boxes
// of 32 px with the default cell size of 100. Three measurements over the same recorded motion: the
// full step (grid broad phase plus the swept narrow phase on every candidate pair), the step with
// rectangle-only pair tests, and Box2D's dynamic tree finding the candidate pairs of the same boxes
// (the reference for the broad phase). The "Plain" runs take the narrow phase's plain path (every
// sub-step and shape pair through the exact tests, no boxes ruling them out), for comparison.
#include <benchmark/benchmark.h>

#include <box2d/box2d.h>

#include <vector>

#include "collision/Collision_NarrowPhase.h"
#include "tests/collision/LayerScenes.h"

namespace {

using CollisionTest::LayerScene;
using CollisionTest::SceneMotion;

constexpr int kRecordedFrames = 240;
constexpr float kHalf = CollisionTest::kSceneBoxHalf;

void CollisionStep(benchmark::State& state, LayerScene scene, bool geometric, bool shortcuts) {
  const int count = static_cast<int>(state.range(0));
  const SceneMotion motion = CollisionTest::RecordScene(scene, count, kRecordedFrames);
  CollisionTest::SceneLayer layer(motion, geometric);
  Collision2D::Narrow::SetShortcutsEnabled(shortcuts);
  int64_t tick = 1;
  int64_t contacts = 0;
  for (auto _ : state) {
    layer.Step(motion.Frame(motion.ReplayFrame(tick++)));
    contacts += layer.engine.ObjectInCollision(layer.ids[0]) ? 1 : 0;
  }
  Collision2D::Narrow::SetShortcutsEnabled(true);
  benchmark::DoNotOptimize(contacts);
  state.counters["objects"] = count;
  state.counters["pairs"] = motion.pairsPerFrame;
}

// The reference: the dynamic tree's proxies moved with the boxes, then every overlapping pair found.
struct PairCounter {
  int64_t pairs = 0;
  void AddPair(void*, void*) { ++pairs; }
};

b2Vec2 ToBox2D(const Math::Vector2D& v) { return b2Vec2(v.x, v.y); }

void Box2DDynamicTreePairs(benchmark::State& state, LayerScene scene) {
  const int count = static_cast<int>(state.range(0));
  const SceneMotion motion = CollisionTest::RecordScene(scene, count, kRecordedFrames);
  b2BroadPhase broadPhase;
  std::vector<int32> proxies;
  std::vector<b2Vec2> positions;
  for (int i = 0; i < count; ++i) positions.push_back(ToBox2D(motion.Frame(0)[i]));
  for (int i = 0; i < count; ++i) {
    b2AABB aabb;
    aabb.lowerBound = positions[static_cast<size_t>(i)] - b2Vec2(kHalf, kHalf);
    aabb.upperBound = positions[static_cast<size_t>(i)] + b2Vec2(kHalf, kHalf);
    proxies.push_back(broadPhase.CreateProxy(aabb, &positions[static_cast<size_t>(i)]));
  }
  PairCounter counter;
  int64_t tick = 1;
  for (auto _ : state) {
    const Math::Vector2D* frame = motion.Frame(motion.ReplayFrame(tick++));
    for (int i = 0; i < count; ++i) {
      const b2Vec2 old = positions[static_cast<size_t>(i)];
      const b2Vec2 now = ToBox2D(frame[i]);
      positions[static_cast<size_t>(i)] = now;
      b2AABB aabb;
      aabb.lowerBound = now - b2Vec2(kHalf, kHalf);
      aabb.upperBound = now + b2Vec2(kHalf, kHalf);
      broadPhase.MoveProxy(proxies[static_cast<size_t>(i)], aabb, now - old);
    }
    broadPhase.UpdatePairs(&counter);
  }
  benchmark::DoNotOptimize(counter.pairs);
  state.counters["objects"] = count;
  state.counters["pairs"] = motion.pairsPerFrame;
}

}  // namespace

BENCHMARK_CAPTURE(CollisionStep, Game_Geometric, LayerScene::Game, true, true)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CollisionStep, Game_Rectangles, LayerScene::Game, false, true)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Box2DDynamicTreePairs, Game, LayerScene::Game)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CollisionStep, Level_Geometric, LayerScene::Level, true, true)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CollisionStep, Level_Rectangles, LayerScene::Level, false, true)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Box2DDynamicTreePairs, Level, LayerScene::Level)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CollisionStep, Dense_Geometric, LayerScene::Dense, true, true)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CollisionStep, Dense_Rectangles, LayerScene::Dense, false, true)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Box2DDynamicTreePairs, Dense, LayerScene::Dense)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CollisionStep, Game_Geometric_Plain, LayerScene::Game, true, false)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CollisionStep, Level_Geometric_Plain, LayerScene::Level, true, false)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CollisionStep, Dense_Geometric_Plain, LayerScene::Dense, true, false)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
