#include <gtest/gtest.h>

#include "collision/Collision_Actor.h"
#include "core/Core_File.h"
#include "tests/collision/CollisionTestSupport.h"

using namespace Collision2D;
using Math::Vector2D;

namespace {

void ExpectPoint(const Vector2D& p, float x, float y, const char* what) {
  EXPECT_EQ(p.x, x) << what;
  EXPECT_EQ(p.y, y) << what;
}

}  // namespace

TEST(CollisionFrame, RectangleFlips) {
  CollisionFrame frame;
  frame.SetBoundingRectangle(QlnRect(4, -1, 3, -2), true);
  EXPECT_EQ(frame.GetBoundingRectangle(NoFlip), QlnRect(4, -1, 3, -2));
  EXPECT_EQ(frame.GetBoundingRectangle(HVFlip), QlnRect(2, -3, 1, -4));
  EXPECT_EQ(frame.GetBoundingRectangle(HFlip), QlnRect(4, -3, 1, -2));
  EXPECT_EQ(frame.GetBoundingRectangle(VFlip), QlnRect(2, -1, 3, -4));
  frame.SetBoundingRectangle(QlnRect(57, -213, 219, -46), true);
  EXPECT_EQ(frame.GetBoundingRectangle(HFlip), QlnRect(57, -219, 213, -46));
  EXPECT_EQ(frame.GetBoundingRectangle(VFlip), QlnRect(46, -213, 219, -57));
  EXPECT_EQ(frame.GetBoundingRectangle(HVFlip), QlnRect(46, -219, 213, -57));
  frame.SetBoundingRectangle(QlnRect(4, -1, 3, -2), false);
  for (FlipVariant v : {HVFlip, HFlip, VFlip}) EXPECT_EQ(frame.GetBoundingRectangle(v), QlnRect(4, -1, 3, -2));
}

TEST(CollisionFrame, MirroredSegmentsSwapTheirEndPoints) {
  CollisionFrame frame;
  DynamicCollisionLineSegment& segment = frame.AddCollisionLineSegment(Vector2D(1, 2), Vector2D(3, 4), 7, true);
  ExpectPoint(segment.GetVariant(NoFlip).pointA, 1, 2, "NoFlip A");
  ExpectPoint(segment.GetVariant(NoFlip).pointB, 3, 4, "NoFlip B");
  ExpectPoint(segment.GetVariant(HFlip).pointA, -3, 4, "HFlip A");
  ExpectPoint(segment.GetVariant(HFlip).pointB, -1, 2, "HFlip B");
  ExpectPoint(segment.GetVariant(VFlip).pointA, 3, -4, "VFlip A");
  ExpectPoint(segment.GetVariant(VFlip).pointB, 1, -2, "VFlip B");
  ExpectPoint(segment.GetVariant(HVFlip).pointA, -3, -4, "HVFlip A");
  ExpectPoint(segment.GetVariant(HVFlip).pointB, -1, -2, "HVFlip B");
  EXPECT_EQ(segment.GetUserId(), 7u);

  DynamicCollisionLineSegment& plain = frame.AddCollisionLineSegment(Vector2D(1, 2), Vector2D(3, 4), 0, false);
  for (FlipVariant v : {HVFlip, HFlip, VFlip}) {
    ExpectPoint(plain.GetVariant(v).pointA, 1, 2, "copy A");
    ExpectPoint(plain.GetVariant(v).pointB, 3, 4, "copy B");
  }
  ASSERT_EQ(frame.GetLineSegments().size(), 2u);
  EXPECT_EQ(frame.GetLineSegments()[0].get(), &segment) << "insertion order";
}

TEST(CollisionFrame, MirroredCirclesAndHotSpots) {
  CollisionFrame frame;
  DynamicCollisionCircle& circle = frame.AddCollisionCircle(Vector2D(2, 3), 5, 9, true);
  ExpectPoint(circle.GetVariant(NoFlip).center, 2, 3, "NoFlip");
  ExpectPoint(circle.GetVariant(HVFlip).center, -2, -3, "HVFlip");
  ExpectPoint(circle.GetVariant(HFlip).center, -2, 3, "HFlip");
  ExpectPoint(circle.GetVariant(VFlip).center, 2, -3, "VFlip");
  for (FlipVariant v : {NoFlip, HVFlip, HFlip, VFlip}) EXPECT_EQ(circle.GetVariant(v).radius, 5);
  EXPECT_EQ(circle.GetUserId(), 9u);

  DynamicCollisionHotSpot& spot = frame.AddCollisionHotSpot(Vector2D(-6, 8), true);
  ExpectPoint(spot.GetVariant(HVFlip), 6, -8, "HVFlip");
  ExpectPoint(spot.GetVariant(HFlip), 6, 8, "HFlip");
  ExpectPoint(spot.GetVariant(VFlip), -6, -8, "VFlip");
  DynamicCollisionHotSpot& still = frame.AddCollisionHotSpot(Vector2D(-6, 8), false);
  ExpectPoint(still.GetVariant(HVFlip), -6, 8, "unflipped");
  EXPECT_EQ(SelectFlipVariant(true, true), HVFlip);
  EXPECT_EQ(SelectFlipVariant(true, false), HFlip);
  EXPECT_EQ(SelectFlipVariant(false, true), VFlip);
  EXPECT_EQ(SelectFlipVariant(false, false), NoFlip);

  frame.ClearShapes();
  EXPECT_TRUE(frame.GetCircles().empty() && frame.GetHotSpots().empty() && frame.GetLineSegments().empty());
}

TEST(CollisionActor, OwnsItsTreeAndRefusesSharedParts) {
  CollisionActor actor;
  auto* animation = new CollisionAnimation();
  auto* frame = new CollisionFrame();
  EXPECT_TRUE(animation->AddCollisionFrame(frame));
  EXPECT_FALSE(animation->AddCollisionFrame(frame)) << "a frame has one owner";
  EXPECT_FALSE(animation->AddCollisionFrame(nullptr));
  EXPECT_TRUE(actor.AddCollisionAnimation(animation));
  EXPECT_FALSE(actor.AddCollisionAnimation(animation));
  EXPECT_EQ(actor.GetFrame(0, 0), frame);
  EXPECT_EQ(actor.GetFrame(0, 1), nullptr);
  EXPECT_EQ(actor.GetFrame(1, 0), nullptr);
}

namespace {

CollisionActor* BuildActor(uint32_t firstFrames, uint32_t secondFrames) {
  auto* actor = new CollisionActor();
  for (uint32_t frames : {firstFrames, secondFrames}) {
    auto* animation = new CollisionAnimation();
    for (uint32_t i = 0; i < frames; ++i) {
      auto* frame = new CollisionFrame();
      frame->SetBoundingRectangle(QlnRect(10.0f + i, -5, 5, -10), true);
      if (i == 0) {
        frame->AddCollisionLineSegment(Vector2D(1, 2), Vector2D(3, 4), 1, true);
        frame->AddCollisionCircle(Vector2D(0, 1), 2, 3, true);
        frame->AddCollisionHotSpot(Vector2D(4, 4), true);
      }
      animation->AddCollisionFrame(frame);
    }
    actor->AddCollisionAnimation(animation);
  }
  return actor;
}

}  // namespace

TEST(CollisionActor, StoredFormSizesAndRoundTrip) {
  {
    CollisionFrame empty;
    Core::MemoryFile file;
    empty.Save(file);
    EXPECT_EQ(file.GetBuffer().GetSize(), 64u + 12u);
  }
  std::unique_ptr<CollisionActor> actor(BuildActor(3, 1));
  Core::MemoryFile file;
  actor->Save(file);
  const auto bytes = CollisionTest::BytesOf(file);
  // Counts: 4 + (4 + 3 frames) + (4 + 1 frame); the one frame with shapes adds one of each kind.
  const size_t shapes = (4 * 16 + 4) + (4 * 12 + 4) + 4 * 8;
  EXPECT_EQ(bytes.size(), 4 + (4 + 3 * 76) + (4 + 76) + 2 * shapes);

  CollisionActor loaded;
  Core::MemoryFile in(bytes.data(), static_cast<uint32_t>(bytes.size()));
  loaded.Load(in);
  ASSERT_FALSE(in.HasFailed());
  ASSERT_EQ(loaded.GetAnimationCount(), 2u);
  EXPECT_EQ(loaded.GetAnimation(0)->GetFrameCount(), 3u);
  EXPECT_EQ(loaded.GetAnimation(1)->GetFrameCount(), 1u);
  EXPECT_EQ(loaded.GetFrame(0, 2)->GetBoundingRectangle(HFlip), QlnRect(12, -5, 5, -10));
  const CollisionFrame* first = loaded.GetFrame(1, 0);
  ASSERT_EQ(first->GetLineSegments().size(), 1u);
  EXPECT_EQ(first->GetLineSegments()[0]->GetVariant(HFlip).pointA.x, -3);
  EXPECT_EQ(first->GetCircles()[0]->GetUserId(), 3u);
  EXPECT_EQ(first->GetHotSpots()[0]->GetVariant(VFlip).y, -4);
  Core::MemoryFile again;
  loaded.Save(again);
  EXPECT_EQ(CollisionTest::BytesOf(again), bytes);
}

TEST(CollisionActor, HostileCountsFailCleanly) {
  // Animation count far beyond the stream.
  {
    CollisionTest::StreamBuilder stream;
    stream.U32(0xFFFFFFFFu).U32(0);
    Core::MemoryFile in = stream.File();
    CollisionActor actor;
    actor.Load(in);
    EXPECT_TRUE(in.HasFailed());
    EXPECT_EQ(actor.GetAnimationCount(), 0u);
  }
  // A frame whose circle count cannot be held.
  {
    CollisionTest::StreamBuilder stream;
    stream.U32(1).U32(1).Zeros(64).U32(0).U32(1000000).Zeros(20);
    Core::MemoryFile in = stream.File();
    CollisionActor actor;
    actor.Load(in);
    EXPECT_TRUE(in.HasFailed());
    ASSERT_EQ(actor.GetAnimationCount(), 1u);
    EXPECT_TRUE(actor.GetFrame(0, 0)->GetCircles().empty());
  }
  // Truncated in the middle of a shape.
  {
    std::unique_ptr<CollisionActor> built(BuildActor(1, 0));
    Core::MemoryFile file;
    built->Save(file);
    auto bytes = CollisionTest::BytesOf(file);
    bytes.resize(bytes.size() - 40);
    Core::MemoryFile in(bytes.data(), static_cast<uint32_t>(bytes.size()));
    CollisionActor actor;
    actor.Load(in);
    EXPECT_TRUE(in.HasFailed());
  }
}
