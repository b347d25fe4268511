// The dynamic collision object: settings, actor binding, the per-frame update, the rectangle-only
// pair test, copies and the stored form.
#include <gtest/gtest.h>

#include <cstring>

#include "collision/Collision_DynamicObject.h"
#include "core/Core_File.h"
#include "tests/collision/CollisionTestSupport.h"
#include "tests/collision/NarrowScenes.h"

using namespace Collision2D;
using CollisionTest::Body;
using CollisionTest::MakeBody;
using CollisionTest::Stored;
using CollisionTest::Move;
using Math::Vector2D;

namespace {

constexpr float kNear = 1e-4f;

// Restores the engine-wide cap that some tests change.
struct CapGuard {
  ~CapGuard() { SetMaximumInterpolationValue(kDefaultMaximumInterpolationValue); }
};

// An actor whose frames have 3, 5 and 5 segments (userIds tell them apart) and no circles.
std::unique_ptr<CollisionActor> ThreeFrameActor() {
  auto actor = std::make_unique<CollisionActor>();
  auto* animation = new CollisionAnimation();
  for (int frameIndex = 0; frameIndex < 3; ++frameIndex) {
    auto* frame = new CollisionFrame();
    frame->SetBoundingRectangle(QlnRect(2, -1, 1, 0), true);
    const int count = frameIndex == 0 ? 3 : 5;
    for (int k = 0; k < count; ++k)
      frame->AddCollisionLineSegment(Vector2D(float(frameIndex), float(k)), Vector2D(9, 9),
                                     uint32_t(frameIndex * 10 + k), true);
    frame->AddCollisionHotSpot(Vector2D(1, 1), true);
    animation->AddCollisionFrame(frame);
  }
  actor->AddCollisionAnimation(animation);
  return actor;
}

}  // namespace

TEST(DynamicObject, SettingsAndTheirBounds) {
  DynamicObject object;
  EXPECT_EQ(object.GetTag().GetKind(), DynamicObjectKind);
  object.SetZCollision(255);
  EXPECT_EQ(object.GetZCollision(), 254);
  object.SetCanCollid(254, true);
  EXPECT_TRUE(object.GetCanCollid(254));
  object.SetCanCollid(255, true);  // names no entry
  EXPECT_FALSE(object.GetCanCollid(255));
  EXPECT_FALSE(object.GetCanCollid(0));

  object.SetCenter(Vector2D(2, 2));
  object.SetPosition(Vector2D(10, 0));
  EXPECT_EQ(object.GetPosition(), Vector2D(8, -2));
  object.SetCenter(Vector2D(0, 0));
  EXPECT_EQ(object.GetPosition(), Vector2D(10, 0)) << "the world point is kept";
  EXPECT_EQ(object.GetCurrentHotSpot(0), Vector2D()) << "past the end";
  EXPECT_TRUE(object.GetBoundingRectangleCheckingTileMap());
  EXPECT_EQ(object.GetStepCount(), 10);
}

TEST(DynamicObject, StepCounts) {
  CapGuard guard;
  Body body = MakeBody({{Vector2D(0, 0), Vector2D(1, 0), 1}}, {});
  Move(*body, Vector2D(0, 0), Vector2D(0, 0));
  EXPECT_FALSE(body->HasMoved());
  EXPECT_EQ(body->GetStepCount(), 1);
  EXPECT_EQ(body->GetStepDisplacement(), Vector2D(0, 0));
  Move(*body, Vector2D(0, 0), Vector2D(3.4f, 0));
  EXPECT_EQ(body->GetStepCount(), 3);
  Move(*body, Vector2D(0, 0), Vector2D(3.5f, 0));
  EXPECT_EQ(body->GetStepCount(), 4);
  EXPECT_NEAR(body->GetStepDisplacement().x, 0.875f, kNear);
  Move(*body, Vector2D(0, 0), Vector2D(0, 0), 0.0f, -50.0f);
  EXPECT_TRUE(body->HasMoved());
  EXPECT_EQ(body->GetStepCount(), 20);
  SetMaximumInterpolationValue(60);
  Move(*body, Vector2D(0, 0), Vector2D(0, 0), 0.0f, -50.0f);
  EXPECT_EQ(body->GetStepCount(), 50);
  EXPECT_NEAR(body->GetStepRotation(), -1.0f, kNear);
  SetMaximumInterpolationValue(0);
  EXPECT_EQ(GetMaximumInterpolationValue(), 1) << "a zero cap would divide by zero";
}

TEST(DynamicObject, WorkingCopiesFollowTheLargestFrame) {
  auto actor = ThreeFrameActor();
  DynamicObject object;
  object.AddCollisionData(actor.get(), 0, 0);
  ASSERT_EQ(object.GetOldLineSegments().size(), 5u);
  EXPECT_EQ(object.GetCurrentLineSegments().size(), 5u);
  EXPECT_EQ(object.GetSubStepLineSegments().size(), 5u);
  EXPECT_EQ(object.GetOldLineSegments()[0]->pointA, Vector2D(1, 0)) << "copied from the first 5-segment frame";
  EXPECT_TRUE(object.GetOldCircles().empty());
  EXPECT_EQ(object.GetOldHotSpots().size(), 1u);
  EXPECT_EQ(object.GetCurrentFrame(), actor->GetFrame(0, 0));
  EXPECT_EQ(object.GetWorldRectangle(), QlnRect(2, -1, 1, 0));

  object.AddCollisionData(actor.get(), 0, 2);
  EXPECT_EQ(object.GetOldLineSegments().size(), 10u) << "a second binding appends";
  object.AddCollisionData(actor.get(), 0, 3);
  object.AddCollisionData(actor.get(), 1, 0);
  EXPECT_EQ(object.GetOldLineSegments().size(), 10u) << "indices past the actor change nothing";
  EXPECT_EQ(object.GetCurrentFrame(), actor->GetFrame(0, 2));

  object.SetCollisionActor(actor.get(), 0, 1);
  EXPECT_EQ(object.GetOldLineSegments().size(), 5u) << "a new actor replaces the copies";
  EXPECT_EQ(object.GetCurrentFrame(), actor->GetFrame(0, 1));
}

TEST(DynamicObject, UpdateSelectsFrameAndFlip) {
  auto actor = ThreeFrameActor();
  DynamicObject object;
  object.AddCollisionData(actor.get(), 0, 0);
  object.SetCurrentCollisionFrame(0, 1, true, true);
  object.SetOldPosition(Vector2D(10, 20));
  object.SetPosition(Vector2D(10, 20));
  object.Update();
  EXPECT_EQ(object.GetLocalRectangle(), actor->GetFrame(0, 1)->GetBoundingRectangle(HVFlip));
  ASSERT_EQ(object.GetLocalLineSegments().size(), 5u);
  EXPECT_EQ(object.GetLocalLineSegments()[0], &actor->GetFrame(0, 1)->GetLineSegments()[0]->GetVariant(HVFlip));
  // The mirrored segment (1, 0)-(9, 9) runs from (-9, -9) to (-1, 0); placed at (10, 20).
  EXPECT_EQ(object.GetCurrentLineSegments()[0]->pointA, Vector2D(1, 11));

  // Back to the 3-segment frame: the selection lists keep their length.
  object.SetCurrentCollisionFrame(0, 0, false, false);
  object.Update();
  EXPECT_EQ(object.GetLocalLineSegments().size(), 5u);
  EXPECT_EQ(object.ActiveLineSegmentCount(), 3u);

  // A frame the actor does not have: no current frame, nothing else changes.
  object.SetCurrentCollisionFrame(4, 0, false, false);
  object.Update();
  EXPECT_EQ(object.GetCurrentFrame(), nullptr);
  EXPECT_EQ(object.ActiveLineSegmentCount(), 0u);
}

TEST(DynamicObject, ResetMotionPlacesEverythingAsTheNextUpdateWill) {
  auto actor = ThreeFrameActor();
  DynamicObject object;
  object.AddCollisionData(actor.get(), 0, 0);
  object.SetCenter(Vector2D(1, 2));
  object.Update();
  object.SetCurrentCollisionFrame(0, 1, true, false);
  object.SetPosition(Vector2D(30, 40));
  object.SetOrientation(25);
  object.ResetMotion();
  auto placed = [&object] {
    std::vector<float> values;
    for (const QlnRect* r : {&object.GetLocalRectangle(), &object.GetOldWorldRectangle(), &object.GetWorldRectangle(),
                             &object.GetSweptRectangle()})
      values.insert(values.end(), {r->top, r->left, r->right, r->bottom});
    for (const auto* list : {&object.GetOldLineSegments(), &object.GetCurrentLineSegments()})
      for (const auto& s : *list) values.insert(values.end(), {s->pointA.x, s->pointA.y, s->pointB.x, s->pointB.y});
    for (const auto* list : {&object.GetOldHotSpots(), &object.GetCurrentHotSpots()})
      for (const auto& p : *list) values.insert(values.end(), {p->x, p->y});
    return values;
  };
  const std::vector<float> reset = placed();
  EXPECT_EQ(object.ActiveLineSegmentCount(), 5u);
  object.Update();
  EXPECT_EQ(placed(), reset);
}

TEST(DynamicObject, SubStepPosesTurnAboutTheCentreLikeTheFrameStartShapes) {
  Body body = MakeBody({{Vector2D(0, 0), Vector2D(1, 0), 1}}, {});
  body->SetCenter(Vector2D(1, 0));
  body->SetOldPosition(Vector2D(5, 5));  // stored (4, 5)
  body->SetPosition(Vector2D(5, 5));
  body->SetOldOrientation(90);
  body->SetOrientation(90);
  body->Update();
  // World = T(p + c) R(90) T(-c): the local origin turns about (1, 0) to (5, 4).
  const Math::LineSegment2D& start = *body->GetOldLineSegments()[0];
  EXPECT_NEAR(start.pointA.x, 5.0f, kNear);
  EXPECT_NEAR(start.pointA.y, 4.0f, kNear);
  // The pose at any fraction is the same placement: it starts where the frame-start copy is.
  const Vector2D pose = body->PointAt(Vector2D(0, 0), 0.0f);
  EXPECT_NEAR(pose.x, start.pointA.x, kNear);
  EXPECT_NEAR(pose.y, start.pointA.y, kNear);
  const Vector2D turned = body->PointAt(Vector2D(1, 0), 0.0f);
  EXPECT_NEAR(turned.x, start.pointB.x, kNear);
  EXPECT_NEAR(turned.y, start.pointB.y, kNear);
  EXPECT_EQ(body->PivotAt(0.0f), Vector2D(5, 5));
}

TEST(DynamicObject, PoseFunctions) {
  Body body = MakeBody({}, {});
  Move(*body, Vector2D(0, 0), Vector2D(4, 0), 0.0f, 90.0f);
  const Vector2D half = body->PointAt(Vector2D(1, 0), 0.5f);
  EXPECT_NEAR(half.x, 2.0f + 0.70710677f, kNear);
  EXPECT_NEAR(half.y, 0.70710677f, kNear);
  const Vector2D motion = body->MotionOf(Vector2D(1, 0), 1.0f);
  EXPECT_NEAR(motion.x, 4.0f, kNear);
  EXPECT_NEAR(motion.y, 1.0f, kNear);
  const Vector2D back = body->InverseMotionOf(Vector2D(1, 0), 1.0f);
  EXPECT_NEAR(back.x, -4.0f, kNear);
  EXPECT_NEAR(back.y, -1.0f, kNear);
}

TEST(DynamicObject, Candidates) {
  DynamicObject object;
  object.AddCandidate(3);
  object.AddCandidate(3);
  EXPECT_EQ(object.GetCandidateCount(), 1);
  for (uint32_t slot = 4; slot < 8; ++slot) object.AddCandidate(slot);
  EXPECT_EQ(object.GetCandidateCount(), 5);
  EXPECT_EQ(object.GetCandidateCapacity(), 10) << "the fifth partner grows the array";
  EXPECT_EQ(object.GetCandidates()[4], 7u);
}

TEST(DynamicObject, BoundingRectanglesFirstTouchAtTheThirdOfFourSubSteps) {
  auto actor = CollisionTest::MakeActor({}, {}, QlnRect(1, -1, 1, -1));
  DynamicObject a, b;
  a.AddCollisionData(actor.get(), 0, 0);
  b.AddCollisionData(actor.get(), 0, 0);
  a.SetIndex(2);
  b.SetIndex(5);
  Move(a, Vector2D(-4, 0), Vector2D(0, 0));
  Move(b, Vector2D(0, 0), Vector2D(0, 0));
  ASSERT_EQ(a.GetStepCount(), 4);
  a.CollideBoundingRectangles(b, 1);
  ASSERT_EQ(a.GetCollisionData()->GetBoundingRectangleCount(), 1);
  ASSERT_EQ(b.GetCollisionData()->GetBoundingRectangleCount(), 1);
  const BRECT_C& recordA = a.GetCollisionData()->GetBoundingRectangleContacts()[0];
  const BRECT_C& recordB = b.GetCollisionData()->GetBoundingRectangleContacts()[0];
  // Rectangles 2 wide, 4 apart: at least one unit of overlap first at t = 0.75 (x = -1).
  EXPECT_EQ(recordA.contactPosition, Vector2D(-1, 0));
  EXPECT_EQ(recordB.contactPosition, Vector2D(0, 0));
  EXPECT_EQ(recordA.id, MakeCollisionId(5 + kDynamicObjectIdBase, 1, 0));
  EXPECT_EQ(recordB.id, MakeCollisionId(2 + kDynamicObjectIdBase, 1, 0));
  EXPECT_EQ(recordA.rectangleIntersection, QlnRect(1, -1, 0, -1));
  EXPECT_EQ(recordB.rectangleIntersection, recordA.rectangleIntersection);
}

TEST(DynamicObject, TurningRectangleStaysAroundItsOwnPosition) {
  auto actor = CollisionTest::MakeActor({}, {}, QlnRect(1, -1, 1, -1));
  DynamicObject turning, far;
  turning.AddCollisionData(actor.get(), 0, 0);
  far.AddCollisionData(actor.get(), 0, 0);
  // Far from the origin, turning on the spot: turned about the origin its box would sweep away.
  Move(turning, Vector2D(100, 100), Vector2D(100, 100), 0.0f, 90.0f);
  Move(far, Vector2D(100.5f, 100), Vector2D(100.5f, 100));
  turning.CollideBoundingRectangles(far, 0);
  ASSERT_EQ(turning.GetCollisionData()->GetBoundingRectangleCount(), 1);
  // First sub-step of 20: turned 4.5 degrees about (100, 100).
  EXPECT_NEAR(turning.GetSubStepRectangle().left, 100.0f - (0.99692f + 0.07846f), 0.001f);
  EXPECT_NEAR(turning.GetSubStepRectangle().top, 100.0f + (0.99692f + 0.07846f), 0.001f);
}

TEST(DynamicObject, CopiesStartWithoutContacts) {
  auto actor = ThreeFrameActor();
  DynamicObject source;
  source.AddCollisionData(actor.get(), 0, 2);
  source.SetCurrentCollisionFrame(0, 1, true, false);
  source.SetCanCollid(7, true);
  source.SetCollisionThickness(0.25f);
  source.GetCollisionData()->NextDynamicObjectContact();
  source.AddCandidate(9);
  source.SetIndex(12);
  std::unique_ptr<DynamicObject> copy(source.Clone());
  EXPECT_EQ(copy->GetCollisionData()->GetDynamicObjectCount(), 0);
  EXPECT_EQ(copy->GetCurrentFrame(), actor->GetFrame(0, 0)) << "frame 0 of animation 0";
  EXPECT_EQ(copy->GetCurrentFrameIndex(), 1u);
  EXPECT_TRUE(copy->GetHFlip());
  EXPECT_TRUE(copy->GetCanCollid(7));
  EXPECT_EQ(copy->GetCollisionThickness(), 0.25f);
  EXPECT_EQ(copy->GetCandidateCount(), 1);
  EXPECT_EQ(copy->GetIndex(), 0u);
  EXPECT_EQ(copy->GetOldLineSegments().size(), 5u) << "fresh copies, not appended to the source's";

  DynamicObject bare;
  DynamicObject bareCopy(bare);
  EXPECT_EQ(bareCopy.GetCollisionActor(), nullptr);
  EXPECT_TRUE(bareCopy.GetOldLineSegments().empty());
}

TEST(DynamicObject, SaveLoadRoundTrip) {
  CapGuard guard;
  auto actor = ThreeFrameActor();
  DynamicObject source;
  source.AddCollisionData(actor.get(), 0, 0);
  source.SetCurrentCollisionFrame(0, 2, false, true);
  source.SetZCollision(12);
  source.SetIndex(33);
  source.SetCanCollid(0, true);
  source.SetCanCollid(200, true);
  source.SetCollisionType(true);
  source.SetCollisionThickness(0.5f);
  source.SetUpdateOnIdle(true);
  source.SetBoundingRectangleCheckingTileMap(false);
  source.GetCellRange()[1] = 4;
  Move(source, Vector2D(1, 2), Vector2D(3, 5), 10.0f, 20.0f);
  source.AddCandidate(4);
  source.AddCandidate(8);
  source.GetCollisionData()->NextBoundingRectangleContact();
  SetMaximumInterpolationValue(33);
  const auto bytes = Stored(source);
  SetMaximumInterpolationValue(20);

  DynamicObject loaded{DynamicObject::LoadConstruction{}};
  Core::MemoryFile file(bytes.data(), static_cast<uint32_t>(bytes.size()));
  loaded.Load(file);
  ASSERT_FALSE(file.HasFailed());
  EXPECT_EQ(file.GetRemaining(), 0u);
  EXPECT_EQ(GetMaximumInterpolationValue(), 33) << "the engine-wide cap comes back";
  EXPECT_EQ(Stored(loaded), bytes);
  EXPECT_EQ(loaded.GetZCollision(), 12);
  EXPECT_EQ(loaded.GetIndex(), 33u);
  EXPECT_TRUE(loaded.GetCanCollid(200));
  EXPECT_TRUE(loaded.HasMoved());
  EXPECT_EQ(loaded.GetCandidateCount(), 2);
  EXPECT_EQ(loaded.GetCollisionData()->GetBoundingRectangleCount(), 1);
  EXPECT_EQ(loaded.GetLocalLineSegments().size(), 5u) << "as many empty selections as stored";

  // After binding the actor again the object works as before.
  loaded.SetCollisionActor(actor.get(), 0, 0);
  loaded.Update();
  EXPECT_EQ(loaded.ActiveLineSegmentCount(), 5u);
}

TEST(DynamicObject, HostileStreamsFailCleanly) {
  CapGuard guard;
  DynamicObject source;
  source.AddCandidate(1);
  const auto bytes = Stored(source);
  // Every truncation fails without a crash and leaves a load-constructed object.
  for (size_t length = 0; length < bytes.size(); length += 7) {
    DynamicObject loaded{DynamicObject::LoadConstruction{}};
    Core::MemoryFile file(bytes.data(), static_cast<uint32_t>(length));
    loaded.Load(file);
    EXPECT_TRUE(file.HasFailed()) << length;
    EXPECT_EQ(loaded.GetCandidateCount(), 0) << length;
    EXPECT_EQ(GetMaximumInterpolationValue(), kDefaultMaximumInterpolationValue) << length;
  }
  auto expectFails = [&bytes](size_t offset, const void* value, size_t size, const char* what) {
    auto hostile = bytes;
    std::memcpy(hostile.data() + offset, value, size);
    DynamicObject loaded{DynamicObject::LoadConstruction{}};
    Core::MemoryFile file(hostile.data(), static_cast<uint32_t>(hostile.size()));
    loaded.Load(file);
    EXPECT_TRUE(file.HasFailed()) << what;
  };
  const int32_t kind = 3, badCap = 0, hugeCap = 1 << 30, badSteps = 0;
  const uint8_t z = 255;
  const uint32_t hugeList = 0xFFFFFFFFu;
  expectFails(0, &kind, 4, "another kind");
  expectFails(12, &badCap, 4, "a zero cap");
  expectFails(12, &hugeCap, 4, "a cap that buys endless loops");
  expectFails(20, &z, 1, "z 255");
  // Offsets after z: 3 poses (24), 2 angles (8), spare (12), motion (12), steps (12), idle (1).
  const size_t lists = 21 + 24 + 8 + 12 + 12 + 12 + 1;
  expectFails(lists, &hugeList, 4, "a selection list that would exhaust memory");
  const size_t stepCount = lists + 12 + 16 + 3;
  expectFails(stepCount, &badSteps, 4, "no steps");
  const size_t candidates = stepCount + 4 + 255 + 16;
  const int32_t capacity = 1, hugeCount = 1 << 28;
  expectFails(candidates, &capacity, 4, "a full candidate array");
  expectFails(candidates + 4, &hugeCount, 4, "more candidates than the stream holds");
}
