#include <gtest/gtest.h>

#include "collision/Collision_Results.h"
#include "core/Core_File.h"
#include "tests/collision/CollisionTestSupport.h"

using namespace Collision2D;
using CollisionTest::Stored;
using CollisionTest::StreamBuilder;
using CollisionTest::WordAt;

namespace {

void ExpectFresh(const CollisionResults& results) {
  EXPECT_EQ(results.GetBoundingRectangleContacts().size(), 5u);
  EXPECT_EQ(results.GetDynamicObjectContacts().size(), 5u);
  EXPECT_EQ(results.GetStaticCircleContacts().size(), 5u);
  EXPECT_EQ(results.GetStaticLineSegmentContacts().size(), 5u);
  EXPECT_EQ(results.GetTileMapContacts().size(), 20u);
  EXPECT_EQ(results.GetBoundingRectangleCount() + results.GetDynamicObjectCount() + results.GetStaticCircleCount() +
                results.GetStaticLineSegmentCount() + results.GetTileMapCount(),
            0);
  EXPECT_EQ(results.GetGrowStep(), 5);
  EXPECT_EQ(results.GetReservedWord(), 20);
}

}  // namespace

TEST(CollisionResults, FreshContainerSavesFortyEightBytes) {
  CollisionResults results;
  ExpectFresh(results);
  const auto bytes = Stored(results);
  ASSERT_EQ(bytes.size(), 48u);
  const uint32_t expected[] = {5, 0, 5, 0, 5, 0, 5, 0, 20, 0, 5, 20};
  for (size_t i = 0; i < 12; ++i) EXPECT_EQ(WordAt(bytes, i * 4), expected[i]) << i;
  CollisionResults back;
  Core::MemoryFile in(bytes.data(), 48);
  back.Load(in);
  EXPECT_FALSE(in.HasFailed());
  ExpectFresh(back);
}

TEST(CollisionResults, AdvancesGrowByTheStep) {
  CollisionResults results;
  for (int i = 0; i < 5; ++i) results.NextDynamicObjectContact();
  EXPECT_EQ(results.GetDynamicObjectCapacity(), 10);
  EXPECT_EQ(results.GetDynamicObjectContacts().size(), 10u);
  results.CurrentDynamicObjectContact().id = 6;  // the sixth can be written
  for (int i = 0; i < 20; ++i) results.NextTileMapContact();
  EXPECT_EQ(results.GetTileMapCapacity(), 25) << "grow step 5, not 20";
  for (int i = 0; i < 5; ++i) results.NextBoundingRectangleContact();
  for (int i = 0; i < 5; ++i) results.NextStaticCircle();
  for (int i = 0; i < 5; ++i) results.NextStaticLineSegment();
  EXPECT_EQ(results.GetBoundingRectangleCapacity(), 10);
  EXPECT_EQ(results.GetStaticCircleCapacity(), 10);
  EXPECT_EQ(results.GetStaticLineSegmentCapacity(), 10);
}

TEST(CollisionResults, ResetRewindsAndWritesSentinels) {
  CollisionResults results;
  results.CurrentStaticCircleContact().myCircleUserId[2] = 1;
  results.CurrentStaticCircleContact().numberOfIntersectedPoints = 3;
  results.NextStaticCircle();
  results.CurrentStaticLineSegmentContact().myLineSegmentUserId[3] = 2;
  results.NextStaticLineSegment();
  DGEO_C& dgeo = results.CurrentDynamicObjectContact();
  dgeo.CurrentCircle().myCircleUserId[0] = 4;
  dgeo.NextCircle();
  dgeo.CurrentLineSegment().myLineSegmentUserId[0] = 5;
  dgeo.NextLineSegment();
  dgeo.id = 99;
  results.NextDynamicObjectContact();
  results.CurrentTileMapContact().AddStaticEntry(1, 0, 0, 0, 0);
  results.NextTileMapContact();
  results.NextBoundingRectangleContact();

  results.Reset();
  EXPECT_EQ(results.GetBoundingRectangleCount(), 0);
  EXPECT_EQ(results.GetDynamicObjectCount(), 0);
  EXPECT_EQ(results.GetStaticCircleCount(), 0);
  EXPECT_EQ(results.GetStaticLineSegmentCount(), 0);
  EXPECT_EQ(results.GetTileMapCount(), 0);
  const CIR_C& circle = results.GetStaticCircleContacts()[0];
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(circle.myCircleUserId[k], kContactSentinel);
    EXPECT_EQ(circle.myLineSegmentUserId[k], kContactSentinel);
    EXPECT_EQ(results.GetStaticLineSegmentContacts()[0].myLineSegmentUserId[k], kContactSentinel);
  }
  EXPECT_EQ(circle.numberOfIntersectedPoints, 0);
  const DGEO_C& resetDgeo = results.GetDynamicObjectContacts()[0];
  EXPECT_EQ(resetDgeo.currentCirclesNumber, 0);
  EXPECT_EQ(resetDgeo.currentLineSegmentsNumber, 0);
  EXPECT_EQ(resetDgeo.circles[0].myCircleUserId[0], kContactSentinel);
  EXPECT_EQ(resetDgeo.lineSegments[0].myLineSegmentUserId[0], kContactSentinel);
  EXPECT_EQ(resetDgeo.id, 99u) << "other fields keep their stale values";
  EXPECT_EQ(results.GetTileMapContacts()[0].currentStaticIdsNumber, 0u);
}

TEST(CollisionResults, SaveLoadRoundTripOfEveryKind) {
  CollisionResults results;
  for (int i = 0; i < 6; ++i) {
    results.CurrentBoundingRectangleContact().id = 1000u + i;
    results.CurrentBoundingRectangleContact().rectangleIntersection = QlnRect(4, 1, 3, 2);
    results.NextBoundingRectangleContact();
  }
  results.CurrentDynamicObjectContact().CurrentCircle().userId = 5;
  results.CurrentDynamicObjectContact().NextCircle();
  results.NextDynamicObjectContact();
  results.CurrentStaticCircleContact().userId = 6;
  results.NextStaticCircle();
  results.CurrentStaticLineSegmentContact().userId = 7;
  results.NextStaticLineSegment();
  results.CurrentTileMapContact().AddStaticEntry(2, 3, 4, 5, 6);
  results.NextTileMapContact();

  const auto bytes = Stored(results);
  EXPECT_EQ(bytes.size(), 48u + 6 * 32 + (40 + 124) + 124 + 124 + (40 + 17));
  CollisionResults back;
  Core::MemoryFile in(bytes.data(), static_cast<uint32_t>(bytes.size()));
  back.Load(in);
  ASSERT_FALSE(in.HasFailed());
  EXPECT_EQ(in.GetRemaining(), 0u);
  EXPECT_EQ(Stored(back), bytes);
  EXPECT_EQ(back.GetBoundingRectangleCapacity(), 10) << "a grown capacity is kept";
  EXPECT_EQ(back.GetBoundingRectangleContacts().size(), 10u);
  EXPECT_EQ(back.GetBoundingRectangleContacts()[5].id, 1005u);
  EXPECT_EQ(back.GetDynamicObjectContacts()[0].circles[0].userId, 5u);
  EXPECT_EQ(back.GetTileMapContacts()[0].staticEntries[0].hotSpotIndex, 6u);

  CollisionResults copy;
  copy = back;
  EXPECT_EQ(Stored(copy), bytes);
  EXPECT_EQ(copy.GetBoundingRectangleContacts().size(), 10u) << "spare records are copied too";
  copy = copy;
  EXPECT_EQ(Stored(copy), bytes);
}

TEST(CollisionResults, HostileStreamsFailCleanly) {
  struct Case {
    const char* what;
    int32_t capacity, count;
  };
  for (Case c : {Case{"count above capacity", 5, 6}, Case{"count at capacity", 5, 5}, Case{"negative count", 5, -1},
                 Case{"negative capacity", -1, 0}, Case{"huge capacity", 0x7FFFFFFF, 0},
                 Case{"huge count", 0x7FFFFFFF, 0x7FFFFFF0}}) {
    StreamBuilder stream;
    stream.I32(c.capacity).I32(c.count).Zeros(32 * 6);
    for (int i = 0; i < 4; ++i) stream.I32(5).I32(0);
    stream.I32(5).I32(20);
    Core::MemoryFile in = stream.File();
    CollisionResults results;
    results.NextStaticCircle();
    results.Load(in);
    EXPECT_TRUE(in.HasFailed()) << c.what;
    ExpectFresh(results);
  }
  // A grow step of 0 would let a count run past its array.
  StreamBuilder stream;
  for (int i = 0; i < 5; ++i) stream.I32(5).I32(0);
  stream.I32(0).I32(20);
  Core::MemoryFile in = stream.File();
  CollisionResults results;
  results.Load(in);
  EXPECT_TRUE(in.HasFailed());
  ExpectFresh(results);
  // Truncated streams.
  const auto good = Stored(CollisionResults());
  for (size_t size = 0; size < good.size(); size += 7) {
    Core::MemoryFile truncated(good.data(), static_cast<uint32_t>(size));
    CollisionResults partial;
    partial.Load(truncated);
    EXPECT_TRUE(truncated.HasFailed()) << size;
    ExpectFresh(partial);
  }
  // Capacities that are each allowed but together exceed what one load may build.
  StreamBuilder greedy;
  greedy.I32(4096).I32(0).I32(4096).I32(10);
  for (int i = 0; i < 10; ++i) greedy.Zeros(20).I32(4096).I32(0).I32(4096).I32(0).I32(5);
  for (int i = 0; i < 3; ++i) greedy.I32(5).I32(0);
  greedy.I32(5).I32(20);
  Core::MemoryFile greedyIn = greedy.File();
  results.Load(greedyIn);
  EXPECT_TRUE(greedyIn.HasFailed());
}
