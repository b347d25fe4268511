#include <gtest/gtest.h>

#include "collision/Collision_Shapes.h"
#include "core/Core_File.h"
#include "tests/collision/CollisionTestSupport.h"

using namespace Collision2D;
using Math::Vector2D;

TEST(StaticShapes, RunningIdsAndClones) {
  ResetStaticShapeCounters();
  StaticCollisionCircle first;
  StaticCollisionCircle second;
  EXPECT_EQ(first.GetId(), 1u);
  EXPECT_EQ(second.GetId(), 2u);
  EXPECT_EQ(first.GetTag().GetKind(), StaticCircleKind);
  EXPECT_EQ(first.GetCircle(), nullptr);

  auto* source = new StaticCollisionCircle();  // id 3
  source->SetCircle(Math::Circle2D(Vector2D(1, 2), 3));
  source->SetUserId(44);
  source->SetZCollision(5);
  source->SetTestedThisPass(1);
  int owner = 0;
  source->GetTag().SetOwner(reinterpret_cast<Quillon::GameObject*>(&owner));
  std::unique_ptr<StaticCollisionCircle> clone(source->Clone());
  EXPECT_EQ(clone->GetId(), 4u);
  EXPECT_EQ(clone->GetUserId(), 44u);
  EXPECT_EQ(clone->GetZCollision(), 5);
  EXPECT_EQ(clone->GetTestedThisPass(), 1);
  EXPECT_EQ(clone->GetTag().GetOwner(), source->GetTag().GetOwner());
  ASSERT_NE(clone->GetCircle(), nullptr);
  EXPECT_NE(clone->GetCircle(), source->GetCircle()) << "the clone owns its own shape";
  delete source;
  EXPECT_EQ(clone->GetCircle()->radius, 3);
  EXPECT_EQ(clone->GetCircle()->center.y, 2);

  ResetStaticShapeCounters();
  StaticCollisionLineSegment segment;
  EXPECT_EQ(segment.GetId(), 1u);
  EXPECT_EQ(segment.GetTag().GetKind(), StaticLineSegmentKind);
  EXPECT_EQ(GetStaticCircleCounter(), 1u) << "the clear resets both counters";
}

TEST(StaticShapes, SaveAndLoadRestoreTheCounter) {
  ResetStaticShapeCounters();
  StaticCollisionLineSegment segment;  // id 1
  segment.SetLineSegment(Math::LineSegment2D(Vector2D(1, 2), Vector2D(3, 4)));
  segment.SetUserId(0xFFFFFFFFu);
  segment.SetZCollision(9);
  StaticCollisionLineSegment other;  // id 2, counter now 3
  Core::MemoryFile file;
  segment.Save(file);
  const auto bytes = CollisionTest::BytesOf(file);
  ASSERT_EQ(bytes.size(), 4u + 16 + 4 + 4 + 4 + 1 + 1);
  EXPECT_EQ(CollisionTest::WordAt(bytes, 0), 3u) << "kind";
  EXPECT_EQ(CollisionTest::WordAt(bytes, 20), 3u) << "counter";
  EXPECT_EQ(CollisionTest::WordAt(bytes, 24), 1u) << "id";

  ResetStaticShapeCounters();
  StaticCollisionLineSegment loaded;
  Core::MemoryFile in(bytes.data(), static_cast<uint32_t>(bytes.size()));
  loaded.Load(in);
  ASSERT_FALSE(in.HasFailed());
  EXPECT_EQ(GetStaticLineSegmentCounter(), 3u);
  EXPECT_EQ(loaded.GetId(), 1u);
  EXPECT_EQ(loaded.GetUserId(), 0xFFFFFFFFu);
  EXPECT_EQ(loaded.GetZCollision(), 9);
  EXPECT_EQ(loaded.GetLineSegment()->pointB.y, 4);
  EXPECT_EQ(loaded.GetTag().GetOwner(), nullptr);

  // A stream that names another kind is refused: the layer dispatches on it.
  auto hostile = bytes;
  hostile[0] = 0;
  StaticCollisionLineSegment refused;
  Core::MemoryFile hostileIn(hostile.data(), static_cast<uint32_t>(hostile.size()));
  refused.Load(hostileIn);
  EXPECT_TRUE(hostileIn.HasFailed());
  EXPECT_EQ(refused.GetTag().GetKind(), StaticLineSegmentKind);
}

TEST(DynamicShapes, RoundTripsKeepEveryVariant) {
  DynamicCollisionCircle circle;
  for (uint32_t v = 0; v < 4; ++v) circle.GetVariant(FlipVariant(v)) = Math::Circle2D(Vector2D(v, -1.0f * v), 1.5f + v);
  circle.SetUserId(12);
  Core::MemoryFile file;
  circle.Save(file);
  EXPECT_EQ(file.GetBuffer().GetSize(), 4u * 12 + 4);
  DynamicCollisionCircle back;
  Core::MemoryFile in(file.GetBuffer().GetData(), file.GetBuffer().GetSize());
  back.Load(in);
  for (uint32_t v = 0; v < 4; ++v) {
    EXPECT_EQ(back.GetVariant(FlipVariant(v)).center.x, static_cast<float>(v));
    EXPECT_EQ(back.GetVariant(FlipVariant(v)).radius, 1.5f + v);
  }
  EXPECT_EQ(back.GetUserId(), 12u);

  DynamicCollisionHotSpot spot;
  Core::MemoryFile spotFile;
  spot.Save(spotFile);
  EXPECT_EQ(spotFile.GetBuffer().GetSize(), 32u) << "four points and nothing else";

  DynamicCollisionLineSegment segment;
  segment.GetVariant(VFlip) = Math::LineSegment2D(Vector2D(1, 1), Vector2D(2, 2));
  Core::MemoryFile segmentFile;
  segment.Save(segmentFile);
  EXPECT_EQ(segmentFile.GetBuffer().GetSize(), 4u * 16 + 4);
  DynamicCollisionLineSegment segmentBack;
  Core::MemoryFile segmentIn(segmentFile.GetBuffer().GetData(), segmentFile.GetBuffer().GetSize());
  segmentBack.Load(segmentIn);
  EXPECT_EQ(segmentBack.GetVariant(VFlip).pointB.x, 2);
}
