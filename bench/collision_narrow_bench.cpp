// Nanoseconds per narrow-phase pair test. The bodies pass each other without touching (sub-steps
// whose boxes lie apart are not tested): the cost of a miss, the common case, at 1, 4 and 20 sub-steps.
#include <benchmark/benchmark.h>

#include "collision/Collision_NarrowPhase.h"
#include "tests/collision/NarrowScenes.h"

using CollisionTest::Body;
using CollisionTest::CircleSpec;
using CollisionTest::MakeBody;
using CollisionTest::Move;
using CollisionTest::SegmentSpec;
using Math::Vector2D;

namespace {

const std::vector<SegmentSpec> kBox = {{Vector2D(-1, -1), Vector2D(1, -1), 1},
                                       {Vector2D(1, -1), Vector2D(1, 1), 2},
                                       {Vector2D(1, 1), Vector2D(-1, 1), 3},
                                       {Vector2D(-1, 1), Vector2D(-1, -1), 4}};
const std::vector<CircleSpec> kTwoCircles = {{Vector2D(-0.5f, 0), 0.5f, 5}, {Vector2D(0.5f, 0), 0.5f, 6}};

enum Kinds { SegmentsSegments, SegmentsCircles, CirclesCircles };

Body MakeOf(Kinds kinds, bool first) {
  switch (kinds) {
    case SegmentsSegments:
      return MakeBody(kBox, {}, first ? 1 : 2);
    case SegmentsCircles:
      return first ? MakeBody(kBox, {}, 1) : MakeBody({}, kTwoCircles, 2);
    case CirclesCircles:
    default:
      return MakeBody({}, kTwoCircles, first ? 1 : 2);
  }
}

// Both bodies move along parallel lines `apart` apart (5: their boxes never come within reach;
// 2.005: the facing sides pass 0.005 apart, so every sub-step is tested), one step count of travel
// each. With shortcuts off the plain path tests every sub-step and shape pair.
void PairTestAt(benchmark::State& state, Kinds kinds, bool bothMoved, float apart, bool shortcuts) {
  const int32_t steps = static_cast<int32_t>(state.range(0));
  const float travel = steps == 1 ? 0.4f : static_cast<float>(steps);
  Body a = MakeOf(kinds, true);
  Body b = MakeOf(kinds, false);
  Move(*a, Vector2D(0, 0), Vector2D(travel, 0));
  if (bothMoved)
    Move(*b, Vector2D(travel, apart), Vector2D(0, apart));
  else
    Move(*b, Vector2D(travel, apart), Vector2D(travel, apart));
  if (a->GetStepCount() != steps) state.SkipWithError("unexpected step count");
  const uint8_t layer = 0;
  Collision2D::Narrow::SetShortcutsEnabled(shortcuts);
  for (auto _ : state) {
    a->CollideGeometric(*b, &layer);
    benchmark::DoNotOptimize(a->GetCollisionData()->GetDynamicObjectCount());
  }
  Collision2D::Narrow::SetShortcutsEnabled(true);
  if (a->GetCollisionData()->GetDynamicObjectCount() != 0) state.SkipWithError("the bodies touched");
  state.SetItemsProcessed(state.iterations());
}

void PairTest(benchmark::State& state, Kinds kinds, bool bothMoved) { PairTestAt(state, kinds, bothMoved, 5.0f, true); }

void StaticTest(benchmark::State& state, bool circles) {
  const int32_t steps = static_cast<int32_t>(state.range(0));
  const float travel = steps == 1 ? 0.4f : static_cast<float>(steps);
  Body a = circles ? MakeBody({}, kTwoCircles) : MakeBody(kBox, {});
  Move(*a, Vector2D(0, 0), Vector2D(travel, 0));
  Collision2D::StaticCollisionLineSegment wall;
  wall.SetLineSegment(Math::LineSegment2D(Vector2D(-10, 5), Vector2D(30, 5)));
  const uint8_t layer = 0;
  for (auto _ : state) {
    a->SweepAgainstStaticLineSegment(wall, layer);
    benchmark::DoNotOptimize(a->GetCollisionData()->GetStaticLineSegmentCount());
  }
  state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK_CAPTURE(PairTest, SegmentsVsSegments_BothMoved, SegmentsSegments, true)->Arg(1)->Arg(4)->Arg(20);
BENCHMARK_CAPTURE(PairTest, SegmentsVsCircles_BothMoved, SegmentsCircles, true)->Arg(1)->Arg(4)->Arg(20);
BENCHMARK_CAPTURE(PairTest, CirclesVsCircles_BothMoved, CirclesCircles, true)->Arg(1)->Arg(4)->Arg(20);
BENCHMARK_CAPTURE(PairTest, SegmentsVsSegments_OneMoved, SegmentsSegments, false)->Arg(1)->Arg(4)->Arg(20);
BENCHMARK_CAPTURE(PairTest, SegmentsVsCircles_OneMoved, SegmentsCircles, false)->Arg(1)->Arg(4)->Arg(20);
BENCHMARK_CAPTURE(PairTest, CirclesVsCircles_OneMoved, CirclesCircles, false)->Arg(1)->Arg(4)->Arg(20);
BENCHMARK_CAPTURE(StaticTest, SegmentsVsStaticSegment, false)->Arg(1)->Arg(4)->Arg(20);
BENCHMARK_CAPTURE(StaticTest, CirclesVsStaticSegment, true)->Arg(1)->Arg(4)->Arg(20);
BENCHMARK_CAPTURE(PairTestAt, SegmentsVsSegments_BothMoved_Close, SegmentsSegments, true, 2.005f, true)->Arg(1)->Arg(4)->Arg(20);
BENCHMARK_CAPTURE(PairTestAt, SegmentsVsSegments_BothMoved_Close_Plain, SegmentsSegments, true, 2.005f, false)->Arg(1)->Arg(4)->Arg(20);
BENCHMARK_MAIN();
