// Scenes with known outcomes for the swept and resting tests.
#include <gtest/gtest.h>

#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_Id.h"
#include "collision/Collision_Shapes.h"
#include "tests/collision/NarrowScenes.h"

using namespace Collision2D;
using CollisionTest::Body;
using CollisionTest::MakeBody;
using CollisionTest::Move;
using Math::Vector2D;

namespace {

constexpr float kNear = 1e-3f;
const uint8_t kLayer = 3;

void ExpectNear(const Vector2D& v, float x, float y, const char* what) {
  EXPECT_NEAR(v.x, x, kNear) << what;
  EXPECT_NEAR(v.y, y, kNear) << what;
}

StaticCollisionLineSegment MakeStaticSegment(Vector2D a, Vector2D b, uint32_t userId, uint8_t z = 7) {
  StaticCollisionLineSegment segment;
  segment.SetLineSegment(Math::LineSegment2D(a, b));
  segment.SetUserId(userId);
  segment.SetZCollision(z);
  return segment;
}

// A floor along +x: its left normal points up.
StaticCollisionLineSegment Floor(uint32_t userId = 500) {
  return MakeStaticSegment(Vector2D(-10, 0), Vector2D(10, 0), userId);
}

// A horizontal segment whose left normal points down, the way it falls.
Body FallingBar(float thickness = 0.0f) { return MakeBody({{Vector2D(1, 0), Vector2D(-1, 0), 11}}, {}, 1, thickness); }

}  // namespace

TEST(StaticSweep, SegmentMeetsFloorAtItsCrossingTime) {
  Body bar = FallingBar();
  Move(*bar, Vector2D(0, 4.5f), Vector2D(0, -3.5f));
  ASSERT_EQ(bar->GetStepCount(), 8);
  StaticCollisionLineSegment floor = Floor();
  floor.SetSlot(3);  // as its layer would place it
  bar->SweepAgainstStaticLineSegment(floor, kLayer);

  const CollisionResults& results = *bar->GetCollisionData();
  ASSERT_EQ(results.GetStaticLineSegmentCount(), 1);
  const LNS_C& record = results.GetStaticLineSegmentContacts()[0];
  // y = 4.5 - 8 t reaches 0 at t = 0.5625, half-way through the fifth sub-step.
  ExpectNear(record.contactPosition, 0, 0, "position at the crossing time, not the frame's end");
  ASSERT_EQ(record.numberOfIntersectedPoints, 2) << "both ends reach the floor together";
  ExpectNear(record.contactPoint[0], 1, 0, "end a");
  ExpectNear(record.contactPoint[1], -1, 0, "end b");
  ExpectNear(record.normal[0], 0, 1, "floor normal");
  EXPECT_NEAR(record.penetrationDistance, 3.5f, kNear) << "depth of the end of the frame's motion";
  EXPECT_EQ(record.myLineSegmentUserId[0], 11u);
  EXPECT_EQ(record.myLineSegmentUserId[1], 11u);
  EXPECT_EQ(record.myCircleUserId[0], kContactSentinel);
  EXPECT_EQ(record.userId, 500u);
  EXPECT_EQ(record.id, MakeCollisionId(3 + kStaticLineSegmentIdBase, kLayer, 7)) << "the layer slot names it";
}

TEST(StaticSweep, FastObjectDoesNotTunnelThroughAThinSegment) {
  Body bar = FallingBar();
  // 100 units in one frame: at both poses the bar is far from the floor.
  Move(*bar, Vector2D(0, 50), Vector2D(0, -50));
  EXPECT_EQ(bar->GetStepCount(), GetMaximumInterpolationValue());
  bar->TouchStaticLineSegment(Floor(), kLayer);
  EXPECT_EQ(bar->GetCollisionData()->GetStaticLineSegmentCount(), 0) << "the poses alone see nothing";
  bar->SweepAgainstStaticLineSegment(Floor(), kLayer);
  ASSERT_EQ(bar->GetCollisionData()->GetStaticLineSegmentCount(), 1);
  ExpectNear(bar->GetCollisionData()->GetStaticLineSegmentContacts()[0].contactPosition, 0, 0, "crossing");
}

TEST(StaticSweep, MissAndMovingAwayLeaveNoRecord) {
  Body bar = FallingBar();
  const StaticCollisionLineSegment floor = Floor();
  Move(*bar, Vector2D(0, 5), Vector2D(0, 1));
  bar->SweepAgainstStaticLineSegment(floor, kLayer);
  Move(*bar, Vector2D(0, -1), Vector2D(0, -5));  // already through: nothing ahead
  bar->SweepAgainstStaticLineSegment(floor, kLayer);
  Move(*bar, Vector2D(30, 5), Vector2D(30, -5));  // beside the floor
  bar->SweepAgainstStaticLineSegment(floor, kLayer);
  EXPECT_EQ(bar->GetCollisionData()->GetStaticLineSegmentCount(), 0);
}

TEST(StaticSweep, RestingContactWithinTheThickness) {
  const StaticCollisionLineSegment floor = Floor();
  {
    Body bar = FallingBar(0.1f);
    Move(*bar, Vector2D(0, -0.05f), Vector2D(0, -0.15f));
    bar->SweepAgainstStaticLineSegment(floor, kLayer);
    ASSERT_EQ(bar->GetCollisionData()->GetStaticLineSegmentCount(), 1);
    const LNS_C& record = bar->GetCollisionData()->GetStaticLineSegmentContacts()[0];
    ExpectNear(record.contactPosition, 0, -0.05f, "start of the sub-step");
    EXPECT_EQ(record.numberOfIntersectedPoints, 2);
    ExpectNear(record.contactPoint[0], 1, 0, "foot of end a");
    EXPECT_NEAR(record.penetrationDistance, 0.15f, kNear);
  }
  {
    Body bar = FallingBar(0.01f);
    Move(*bar, Vector2D(0, -0.05f), Vector2D(0, -0.15f));
    bar->SweepAgainstStaticLineSegment(floor, kLayer);
    EXPECT_EQ(bar->GetCollisionData()->GetStaticLineSegmentCount(), 0) << "deeper than the thickness";
  }
}

TEST(StaticSweep, SegmentSweepingOverAStaticEndPoint) {
  // A ledge whose front faces up and right; the bar (normal -x) sweeps left over its right end.
  Body bar = MakeBody({{Vector2D(0, -1), Vector2D(0, 1), 12}}, {});
  const StaticCollisionLineSegment ledge = MakeStaticSegment(Vector2D(-5, 1), Vector2D(0, 0.5f), 501);
  Move(*bar, Vector2D(2, 0), Vector2D(-2, 0));
  bar->SweepAgainstStaticLineSegment(ledge, kLayer);
  ASSERT_EQ(bar->GetCollisionData()->GetStaticLineSegmentCount(), 1);
  const LNS_C& record = bar->GetCollisionData()->GetStaticLineSegmentContacts()[0];
  EXPECT_EQ(record.numberOfIntersectedPoints, 1);
  ExpectNear(record.contactPoint[0], 0, 0.5f, "the static end point");
  ExpectNear(record.normal[0], 1, 0, "the bar's normal negated");
  ExpectNear(record.contactPosition, 0, 0, "x = 2 - 4 t reaches 0 at t = 0.5");
  EXPECT_NEAR(record.penetrationDistance, 2.0f, kNear) << "how far the bar passes the end by the frame's end";
}

TEST(StaticSweep, CircleRunsIntoASegmentEnd) {
  // Moving along the floor's line a little above it, the circle meets the floor's left end.
  Body ball = MakeBody({}, {{Vector2D(0, 0), 1.0f, 21}});
  const StaticCollisionLineSegment floor = MakeStaticSegment(Vector2D(0, 0), Vector2D(10, 0), 502);
  Move(*ball, Vector2D(-5, 0.5f), Vector2D(5, 0.5f));
  ball->SweepAgainstStaticLineSegment(floor, kLayer);
  ASSERT_EQ(ball->GetCollisionData()->GetStaticLineSegmentCount(), 1);
  const LNS_C& record = ball->GetCollisionData()->GetStaticLineSegmentContacts()[0];
  ExpectNear(record.contactPosition, -0.8660f, 0.5f, "centre one radius from the end");
  ExpectNear(record.contactPoint[0], 0, 0, "the end point");
  ExpectNear(record.normal[0], -0.8660f, 0.5f, "from the end towards the centre");
  EXPECT_EQ(record.myCircleUserId[0], 21u);
}

TEST(StaticSweep, CircleAgainstStaticCircle) {
  Body ball = MakeBody({}, {{Vector2D(0, 0), 1.0f, 21}});
  StaticCollisionCircle post;
  post.SetCircle(Math::Circle2D(Vector2D(6, 0), 2.0f));
  post.SetUserId(600);
  post.SetSlot(2);
  Move(*ball, Vector2D(0, 0), Vector2D(10, 0));
  ball->SweepAgainstStaticCircle(post, kLayer);
  ASSERT_EQ(ball->GetCollisionData()->GetStaticCircleCount(), 1);
  const CIR_C& record = ball->GetCollisionData()->GetStaticCircleContacts()[0];
  ExpectNear(record.contactPosition, 3, 0, "centres 3 apart");
  ExpectNear(record.contactPoint[0], 4, 0, "on the post");
  ExpectNear(record.normal[0], -1, 0, "from the post to the ball");
  EXPECT_NEAR(record.penetrationDistance, 7.0f, kNear);
  EXPECT_EQ(record.userId, 600u);
  EXPECT_EQ(record.id, MakeCollisionId(2 + kStaticCircleIdBase, kLayer, 0));
}

TEST(StaticSweep, BarCutsIntoAStaticCircle) {
  Body bar = FallingBar();
  StaticCollisionCircle post;
  post.SetCircle(Math::Circle2D(Vector2D(0, -2), 1.0f));
  Move(*bar, Vector2D(0, 4), Vector2D(0, -4));
  bar->SweepAgainstStaticCircle(post, kLayer);
  ASSERT_EQ(bar->GetCollisionData()->GetStaticCircleCount(), 1);
  const CIR_C& record = bar->GetCollisionData()->GetStaticCircleContacts()[0];
  // The bar's middle touches the circle's top (y = -1) at t = 5/8.
  EXPECT_NEAR(record.contactPosition.y, -1.0f, 0.05f);
  EXPECT_NEAR(record.normal[0].y, 1.0f, 0.05f);
  EXPECT_EQ(record.myLineSegmentUserId[0], 11u);
}

TEST(PairSweep, CirclesClosingHeadOn) {
  Body left = MakeBody({}, {{Vector2D(0, 0), 1.0f, 31}}, 4);
  Body right = MakeBody({}, {{Vector2D(0, 0), 1.0f, 32}}, 6);
  left->SetZCollision(9);
  right->SetZCollision(10);
  Move(*left, Vector2D(-10, 0), Vector2D(0, 0));
  Move(*right, Vector2D(10, 0), Vector2D(0, 0));
  left->CollideGeometric(*right, &kLayer);

  ASSERT_EQ(left->GetCollisionData()->GetDynamicObjectCount(), 1);
  ASSERT_EQ(right->GetCollisionData()->GetDynamicObjectCount(), 1);
  const DGEO_C& a = left->GetCollisionData()->GetDynamicObjectContacts()[0];
  const DGEO_C& b = right->GetCollisionData()->GetDynamicObjectContacts()[0];
  // A gap of 18 closed at 20 per frame: t = 0.9.
  ExpectNear(a.contactPosition, -1, 0, "left at t = 0.9");
  ExpectNear(b.contactPosition, 1, 0, "right at t = 0.9");
  EXPECT_EQ(a.id, MakeCollisionId(6 + kDynamicObjectIdBase, kLayer, 10));
  EXPECT_EQ(b.id, MakeCollisionId(4 + kDynamicObjectIdBase, kLayer, 9));
  ASSERT_EQ(a.currentCirclesNumber, 1);
  ASSERT_EQ(b.currentCirclesNumber, 1);
  EXPECT_EQ(a.currentLineSegmentsNumber, 0);
  ExpectNear(a.circles[0].contactPoint[0], 0, 0, "touching point");
  ExpectNear(b.circles[0].contactPoint[0], 0, 0, "touching point");
  ExpectNear(a.circles[0].normal[0], -1, 0, "pushes left away");
  ExpectNear(b.circles[0].normal[0], 1, 0, "pushes right away");
  EXPECT_EQ(a.circles[0].userId, 32u);
  EXPECT_EQ(a.circles[0].myCircleUserId[0], 31u);
  EXPECT_EQ(b.circles[0].userId, 31u);
  EXPECT_EQ(b.circles[0].myCircleUserId[0], 32u);
}

TEST(PairSweep, CirclesMovingApartOrMissingGiveNothing) {
  Body left = MakeBody({}, {{Vector2D(0, 0), 1.0f, 31}});
  Body right = MakeBody({}, {{Vector2D(0, 0), 1.0f, 32}});
  Move(*left, Vector2D(-1, 0), Vector2D(-5, 0));
  Move(*right, Vector2D(1, 0), Vector2D(5, 0));
  left->CollideGeometric(*right, &kLayer);
  Move(*left, Vector2D(-10, 3), Vector2D(10, 3));
  Move(*right, Vector2D(10, -3), Vector2D(-10, -3));
  left->CollideGeometric(*right, &kLayer);
  EXPECT_EQ(left->GetCollisionData()->GetDynamicObjectCount(), 0);
  EXPECT_EQ(right->GetCollisionData()->GetDynamicObjectCount(), 0);
}

TEST(PairSweep, FallingBarOntoAMovingFloorMirrorsIntoTheFloor) {
  Body bar = FallingBar();
  Body floor = MakeBody({{Vector2D(-10, 0), Vector2D(10, 0), 41}}, {}, 2);
  Move(*bar, Vector2D(0, 4.5f), Vector2D(0, -3.5f));
  Move(*floor, Vector2D(0, 0), Vector2D(1, 0));
  bar->CollideGeometric(*floor, &kLayer);

  ASSERT_EQ(bar->GetCollisionData()->GetDynamicObjectCount(), 1);
  ASSERT_EQ(floor->GetCollisionData()->GetDynamicObjectCount(), 1);
  const DGEO_C& a = bar->GetCollisionData()->GetDynamicObjectContacts()[0];
  const DGEO_C& b = floor->GetCollisionData()->GetDynamicObjectContacts()[0];
  ExpectNear(a.contactPosition, 0, 0, "bar at t = 0.5625");
  ASSERT_EQ(a.currentLineSegmentsNumber, 1);
  EXPECT_EQ(a.lineSegments[0].numberOfIntersectedPoints, 2);
  ExpectNear(a.lineSegments[0].normal[0], 0, 1, "floor normal");
  ExpectNear(a.lineSegments[0].normal[1], 0, 1, "same normal in both slots");
  ASSERT_EQ(b.currentLineSegmentsNumber, 1);
  ExpectNear(b.lineSegments[0].normal[0], 0, -1, "mirror: negated");
  ExpectNear(b.lineSegments[0].contactPoint[0], a.lineSegments[0].contactPoint[0].x,
             a.lineSegments[0].contactPoint[0].y, "mirror: same point");
  EXPECT_EQ(b.lineSegments[0].userId, 11u);
  EXPECT_EQ(b.lineSegments[0].myLineSegmentUserId[0], 41u);
  // The floor never approached the bar, so its own time is the end of that sub-step.
  ExpectNear(b.contactPosition, 0.625f, 0, "floor at the end of the fifth sub-step");
}

TEST(PairSweep, CircleAgainstMovingSegment) {
  // The wall moves right into a circle that moves up along it.
  Body wall = MakeBody({{Vector2D(0, 1), Vector2D(0, -1), 51}}, {}, 1);  // normal +x
  Body ball = MakeBody({}, {{Vector2D(0, 0), 1.0f, 52}}, 2);
  Move(*wall, Vector2D(0, 0), Vector2D(4, 0));
  Move(*ball, Vector2D(3, -0.5f), Vector2D(3, 0.5f));
  wall->CollideGeometric(*ball, &kLayer);
  ASSERT_EQ(wall->GetCollisionData()->GetDynamicObjectCount(), 1);
  const DGEO_C& a = wall->GetCollisionData()->GetDynamicObjectContacts()[0];
  const DGEO_C& b = ball->GetCollisionData()->GetDynamicObjectContacts()[0];
  EXPECT_EQ(a.currentCirclesNumber + a.currentLineSegmentsNumber, 1);
  EXPECT_EQ(b.currentCirclesNumber + b.currentLineSegmentsNumber, 1);
  // The wall reaches x = 2 (one radius from the centre) at t = 0.5.
  EXPECT_NEAR(a.contactPosition.x, 2.0f, 0.3f);
  const ShapeContact& wallSide = a.currentCirclesNumber == 1 ? static_cast<const ShapeContact&>(a.circles[0])
                                                             : static_cast<const ShapeContact&>(a.lineSegments[0]);
  const ShapeContact& ballSide = b.currentLineSegmentsNumber == 1 ? static_cast<const ShapeContact&>(b.lineSegments[0])
                                                                  : static_cast<const ShapeContact&>(b.circles[0]);
  EXPECT_NEAR(wallSide.normal[0].x, -ballSide.normal[0].x, kNear) << "opposite normals";
  EXPECT_LT(wallSide.normal[0].x, 0.0f) << "the wall is pushed back";
}

TEST(PairSweep, OnlyTheFirstMovedCircles) {
  // Sub-step 3 of 5 holds the touch: A's centre reaches x = 2.5 at t = 0.5.
  Body mover = MakeBody({}, {{Vector2D(0, 0), 1.0f, 61}}, 1);
  Body idle = MakeBody({}, {{Vector2D(0, 0), 1.0f, 62}}, 2);
  Move(*mover, Vector2D(0, 0), Vector2D(5, 0));
  Move(*idle, Vector2D(4.5f, 0), Vector2D(4.5f, 0));
  ASSERT_EQ(mover->GetStepCount(), 5);
  ASSERT_FALSE(idle->HasMoved());
  mover->CollideGeometric(*idle, &kLayer);

  const DGEO_C& a = mover->GetCollisionData()->GetDynamicObjectContacts()[0];
  const DGEO_C& b = idle->GetCollisionData()->GetDynamicObjectContacts()[0];
  ASSERT_EQ(mover->GetCollisionData()->GetDynamicObjectCount(), 1);
  ASSERT_EQ(idle->GetCollisionData()->GetDynamicObjectCount(), 1);
  ExpectNear(a.contactPosition, 2.5f, 0, "pose at 0.4 + 0.2 * 0.5");
  ExpectNear(b.contactPosition, 4.5f, 0, "the idle object's own position");
  ASSERT_EQ(a.currentCirclesNumber, 1);
  ASSERT_EQ(b.currentCirclesNumber, 1);
  ExpectNear(a.circles[0].normal[0], -1, 0, "A pushed back");
  ExpectNear(b.circles[0].normal[0], 1, 0, "mirror");
  ExpectNear(a.circles[0].contactPoint[0], 3.5f, 0, "on B");
  EXPECT_EQ(a.circles[0].userId, 62u);
  EXPECT_EQ(b.circles[0].userId, 61u);
  EXPECT_EQ(b.circles[0].myCircleUserId[0], 62u);
}

TEST(PairSweep, OnlyTheFirstMovedSegments) {
  Body bar = FallingBar();
  Body floor = MakeBody({{Vector2D(-10, 0), Vector2D(10, 0), 41}}, {}, 2);
  Move(*bar, Vector2D(0, 4.5f), Vector2D(0, -3.5f));
  Move(*floor, Vector2D(0, 0), Vector2D(0, 0));
  bar->CollideGeometric(*floor, &kLayer);
  ASSERT_EQ(bar->GetCollisionData()->GetDynamicObjectCount(), 1);
  const DGEO_C& a = bar->GetCollisionData()->GetDynamicObjectContacts()[0];
  const DGEO_C& b = floor->GetCollisionData()->GetDynamicObjectContacts()[0];
  ExpectNear(a.contactPosition, 0, 0, "t = 0.5625");
  ExpectNear(b.contactPosition, 0, 0, "idle at rest");
  ASSERT_EQ(a.currentLineSegmentsNumber, 1);
  ASSERT_EQ(b.currentLineSegmentsNumber, 1);
  EXPECT_EQ(a.currentCirclesNumber, 0) << "no blank entries";
  ExpectNear(b.lineSegments[0].normal[0], 0, -1, "mirror");
}

TEST(PairSweep, EarliestTimeWinsAcrossSubStepsAndEqualTimesAccumulate) {
  {
    // B's first circle would be met in sub-step 2, its second in sub-step 1: only that one counts.
    Body mover = MakeBody({}, {{Vector2D(0, 0), 1.0f, 71}, {Vector2D(0, 5), 1.0f, 72}}, 1);
    Body idle = MakeBody({}, {{Vector2D(4, 0), 1.0f, 81}, {Vector2D(3, 5), 1.0f, 82}}, 2);
    Move(*mover, Vector2D(0, 0), Vector2D(5, 0));
    Move(*idle, Vector2D(0, 0), Vector2D(0, 0));
    mover->CollideGeometric(*idle, &kLayer);
    const DGEO_C& a = mover->GetCollisionData()->GetDynamicObjectContacts()[0];
    ASSERT_EQ(a.currentCirclesNumber, 1);
    EXPECT_EQ(a.circles[0].userId, 82u);
    ExpectNear(a.contactPosition, 1, 0, "first contact");
  }
  {
    Body mover = MakeBody({}, {{Vector2D(0, 0), 1.0f, 71}, {Vector2D(0, 5), 1.0f, 72}}, 1);
    Body idle = MakeBody({}, {{Vector2D(4, 0), 1.0f, 81}, {Vector2D(4, 5), 1.0f, 82}}, 2);
    Move(*mover, Vector2D(0, 0), Vector2D(5, 0));
    Move(*idle, Vector2D(0, 0), Vector2D(0, 0));
    mover->CollideGeometric(*idle, &kLayer);
    const DGEO_C& a = mover->GetCollisionData()->GetDynamicObjectContacts()[0];
    ASSERT_EQ(a.currentCirclesNumber, 2) << "two pairs at the same time";
    EXPECT_EQ(a.circles[0].userId, 81u);
    EXPECT_EQ(a.circles[1].userId, 82u);
    ExpectNear(a.contactPosition, 2, 0, "t = 0.4");
  }
}

TEST(PairTouch, CollinearOverlapGivesTwoPoints) {
  Body a = MakeBody({{Vector2D(1, 0), Vector2D(3, 0), 91}}, {}, 1);
  Body b = MakeBody({{Vector2D(0, 0), Vector2D(6, 0), 92}}, {}, 2);
  a->SetUpdateOnIdle(true);
  Move(*a, Vector2D(0, 0), Vector2D(0, 0));
  Move(*b, Vector2D(0, 0), Vector2D(0, 0));
  a->CollideGeometric(*b, &kLayer);
  const DGEO_C& ra = a->GetCollisionData()->GetDynamicObjectContacts()[0];
  const DGEO_C& rb = b->GetCollisionData()->GetDynamicObjectContacts()[0];
  ASSERT_EQ(a->GetCollisionData()->GetDynamicObjectCount(), 1);
  ASSERT_EQ(ra.currentLineSegmentsNumber, 1);
  EXPECT_EQ(ra.lineSegments[0].numberOfIntersectedPoints, 2);
  ExpectNear(ra.lineSegments[0].contactPoint[0], 1, 0, "overlap start");
  ExpectNear(ra.lineSegments[0].contactPoint[1], 3, 0, "overlap end");
  EXPECT_EQ(ra.lineSegments[0].penetrationDistance, 0.0f);
  ASSERT_EQ(rb.currentLineSegmentsNumber, 1);
  EXPECT_EQ(rb.lineSegments[0].numberOfIntersectedPoints, 2);
  ExpectNear(ra.lineSegments[0].normal[0], 0, 1, "B's left normal");
  ExpectNear(rb.lineSegments[0].normal[0], 0, -1, "negated");
  EXPECT_EQ(rb.lineSegments[0].userId, 91u);

  // Without UpdateOnIdle a resting first object reports nothing.
  Body c = MakeBody({{Vector2D(1, 0), Vector2D(3, 0), 93}}, {}, 3);
  Move(*c, Vector2D(0, 0), Vector2D(0, 0));
  c->CollideGeometric(*b, &kLayer);
  EXPECT_EQ(c->GetCollisionData()->GetDynamicObjectCount(), 0);
}

TEST(PairTouch, CirclesTouchingAndConcentric) {
  Body a = MakeBody({}, {{Vector2D(0, 0), 1.0f, 1}}, 1);
  Body b = MakeBody({}, {{Vector2D(0, 0), 1.0f, 2}}, 2);
  a->SetUpdateOnIdle(true);
  Move(*a, Vector2D(0, 0), Vector2D(0, 0));
  Move(*b, Vector2D(2, 0), Vector2D(2, 0));
  a->CollideGeometric(*b, &kLayer);
  ASSERT_EQ(a->GetCollisionData()->GetDynamicObjectCount(), 1);
  const DGEO_C& ra = a->GetCollisionData()->GetDynamicObjectContacts()[0];
  const DGEO_C& rb = b->GetCollisionData()->GetDynamicObjectContacts()[0];
  ASSERT_EQ(ra.currentCirclesNumber, 1);
  EXPECT_EQ(ra.circles[0].numberOfIntersectedPoints, 1);
  ExpectNear(ra.circles[0].normal[0], -1, 0, "from B to A");
  ExpectNear(rb.circles[0].normal[0], 1, 0, "opposite");

  Body inner = MakeBody({}, {{Vector2D(0, 0), 0.5f, 3}}, 3);
  Move(*a, Vector2D(0, 0), Vector2D(0, 0));
  Move(*inner, Vector2D(0, 0), Vector2D(0, 0));
  a->CollideGeometric(*inner, &kLayer);
  EXPECT_EQ(a->GetCollisionData()->GetDynamicObjectCount(), 0) << "concentric circles touch nowhere";
}

TEST(StaticTouch, BoxRestingOnAPlatform) {
  // A box outline whose bottom edge lies along the platform.
  Body box = MakeBody({{Vector2D(-1, 0), Vector2D(1, 0), 1},
                       {Vector2D(1, 0), Vector2D(1, 2), 2},
                       {Vector2D(1, 2), Vector2D(-1, 2), 3},
                       {Vector2D(-1, 2), Vector2D(-1, 0), 4}},
                      {{Vector2D(0, 1), 1.0f, 5}});
  Move(*box, Vector2D(3, 0), Vector2D(3, 0));
  const StaticCollisionLineSegment platform = Floor(700);
  box->TouchStaticLineSegment(platform, kLayer);
  ASSERT_EQ(box->GetCollisionData()->GetStaticLineSegmentCount(), 1);
  const LNS_C& record = box->GetCollisionData()->GetStaticLineSegmentContacts()[0];
  // Bottom edge: two points; both side edges: one each; the circle: one. Five points, capped at four.
  EXPECT_EQ(record.numberOfIntersectedPoints, 4);
  ExpectNear(record.contactPoint[0], 2, 0, "overlap end");
  ExpectNear(record.contactPoint[1], 4, 0, "overlap end");
  ExpectNear(record.normal[0], 0, 1, "platform normal");
  EXPECT_EQ(record.myCircleUserId[3], 5u) << "the last point overwrote the cap";
  EXPECT_EQ(record.penetrationDistance, 0.0f);
  ExpectNear(record.contactPosition, 3, 0, "the object's position");
  EXPECT_EQ(record.userId, 700u);
}

TEST(PairSweep, EndPointsWithinTheToleranceGiveOneTwoPointEntry) {
  // The bar's ends reach the resting floor after distances that differ by the tilt.
  for (const float tilt : {0.0004f, 0.001f}) {
    Body bar = MakeBody({{Vector2D(1, 0), Vector2D(-1, tilt), 11}}, {});
    Body floor = MakeBody({{Vector2D(-10, 0), Vector2D(10, 0), 41}}, {}, 2);
    Move(*bar, Vector2D(0, 1.5f), Vector2D(0, -0.5f));
    Move(*floor, Vector2D(0, 0), Vector2D(0, 0));
    bar->CollideGeometric(*floor, &kLayer);
    const DGEO_C& a = bar->GetCollisionData()->GetDynamicObjectContacts()[0];
    ASSERT_EQ(a.currentLineSegmentsNumber, 1) << tilt;
    if (tilt < 0.0005f) {
      EXPECT_EQ(a.lineSegments[0].numberOfIntersectedPoints, 2) << tilt;
    } else {
      EXPECT_EQ(a.lineSegments[0].numberOfIntersectedPoints, 1) << tilt;
      ExpectNear(a.lineSegments[0].contactPoint[0], 1, 0, "the nearer end");
    }
  }
}

TEST(PairSweep, TouchingExactlyAtTheEndOfTheFrame) {
  Body bar = FallingBar();
  Body floor = MakeBody({{Vector2D(-10, 0), Vector2D(10, 0), 41}}, {}, 2);
  Move(*bar, Vector2D(0, 2), Vector2D(0, 0));
  Move(*floor, Vector2D(0, 0), Vector2D(0, 0));
  bar->CollideGeometric(*floor, &kLayer);
  ASSERT_EQ(bar->GetCollisionData()->GetDynamicObjectCount(), 1);
  ExpectNear(bar->GetCollisionData()->GetDynamicObjectContacts()[0].contactPosition, 0, 0, "t = 1");
}

TEST(PairSweep, RestingSegmentWithinTheThickness) {
  // Already 0.05 into the floor and moving along it: contact at the start of the first sub-step.
  Body bar = FallingBar(0.1f);
  Body floor = MakeBody({{Vector2D(-10, 0), Vector2D(10, 0), 41}}, {}, 2);
  Move(*bar, Vector2D(0, -0.05f), Vector2D(3, -0.05f));
  Move(*floor, Vector2D(0, 0), Vector2D(0, 0));
  bar->CollideGeometric(*floor, &kLayer);
  ASSERT_EQ(bar->GetCollisionData()->GetDynamicObjectCount(), 1);
  const DGEO_C& a = bar->GetCollisionData()->GetDynamicObjectContacts()[0];
  ExpectNear(a.contactPosition, 0, -0.05f, "start of the frame");
  ASSERT_EQ(a.currentLineSegmentsNumber, 2) << "both ends rest at the same gap";
  ExpectNear(a.lineSegments[0].normal[0], 0, 1, "floor normal");
}

TEST(StaticTouch, TurnedObjectReportsWorldNormals) {
  // Turned a quarter, the segment (0, 0)-(2, 0) stands from (5, 0) to (5, 2).
  Body post = MakeBody({{Vector2D(0, 0), Vector2D(2, 0), 8}}, {});
  Move(*post, Vector2D(5, 0), Vector2D(5, 0), 90.0f, 90.0f);
  StaticCollisionCircle ball;
  ball.SetCircle(Math::Circle2D(Vector2D(5.5f, 1), 1.0f));
  ball.SetUserId(900);
  post->TouchStaticCircle(ball, kLayer);
  ASSERT_EQ(post->GetCollisionData()->GetStaticCircleCount(), 1);
  const CIR_C& record = post->GetCollisionData()->GetStaticCircleContacts()[0];
  EXPECT_EQ(record.numberOfIntersectedPoints, 2);
  ExpectNear(record.normal[0], 1, 0, "(d.y, -d.x) of the turned segment");
  ExpectNear(record.contactPoint[0], 5, 1 - 0.8660f, "lower crossing");
  EXPECT_EQ(record.myLineSegmentUserId[1], 8u);
  EXPECT_EQ(record.userId, 900u);
  EXPECT_EQ(record.penetrationDistance, 0.0f);
}
