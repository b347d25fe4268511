#include <gtest/gtest.h>

#include "collision/Collision_Contacts.h"
#include "core/Core_File.h"
#include "tests/collision/CollisionTestSupport.h"

using namespace Collision2D;
using CollisionTest::Saved;
using CollisionTest::StreamBuilder;
using CollisionTest::WordAt;
using Math::Vector2D;

namespace {

template <typename Record>
Record RoundTrip(const Record& record, std::vector<unsigned char>* bytesOut = nullptr) {
  const auto bytes = Saved(record);
  Record back;
  Core::MemoryFile in(bytes.data(), static_cast<uint32_t>(bytes.size()));
  back.Read(in);
  EXPECT_FALSE(in.HasFailed());
  EXPECT_EQ(in.GetRemaining(), 0u);
  EXPECT_EQ(Saved(back), bytes) << "a loaded record saves the same bytes";
  if (bytesOut) *bytesOut = bytes;
  return back;
}

CIR_C FilledShapeContact() {
  CIR_C record;
  record.id = 0x01020304u;
  record.contactPosition = Vector2D(1.5f, -2.5f);
  record.contactOrientation = 90;
  record.penetrationDistance = 0.25f;
  for (int k = 0; k < 4; ++k) {
    record.contactPoint[k] = Vector2D(10.0f + k, 20.0f + k);
    record.normal[k] = Vector2D(0, 1.0f * k);
  }
  record.myCircleUserId[0] = 11;
  record.myLineSegmentUserId[1] = 22;
  record.numberOfIntersectedPoints = 2;
  record.userId = 33;
  return record;
}

}  // namespace

TEST(ContactRecords, DefaultsCarryTheSentinel) {
  CIR_C circle;
  LNS_C segment;
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(circle.myCircleUserId[k], 192038273u);
    EXPECT_EQ(circle.myLineSegmentUserId[k], 192038273u);
    EXPECT_EQ(segment.myLineSegmentUserId[k], 192038273u);
  }
  EXPECT_EQ(circle.numberOfIntersectedPoints, 0);
  DGEO_C dgeo;
  EXPECT_EQ(dgeo.lineSegments.size(), 5u);
  EXPECT_EQ(dgeo.circles.size(), 5u);
  TMAP_C tmap;
  EXPECT_EQ(tmap.newEntries.size(), 20u);
  EXPECT_EQ(tmap.staticEntries.size(), 20u);
}

TEST(ContactRecords, ShapeContactLayoutIs124BytesInterleaved) {
  std::vector<unsigned char> bytes;
  const CIR_C back = RoundTrip(FilledShapeContact(), &bytes);
  ASSERT_EQ(bytes.size(), 124u);
  EXPECT_EQ(WordAt(bytes, 0), 0x01020304u);
  // Point 0: contactPoint at 20, normal at 28, myCircleUserId at 36, myLineSegmentUserId at 40.
  EXPECT_EQ(WordAt(bytes, 36), 11u);
  EXPECT_EQ(WordAt(bytes, 40), 192038273u);
  EXPECT_EQ(WordAt(bytes, 20 + 24 + 20), 22u) << "point 1's segment user id";
  EXPECT_EQ(WordAt(bytes, 116), 2u) << "numberOfIntersectedPoints after the points";
  EXPECT_EQ(WordAt(bytes, 120), 33u) << "userId last";
  EXPECT_EQ(back.contactPoint[3].y, 23);
  EXPECT_EQ(back.normal[2].y, 2);
  EXPECT_EQ(back.penetrationDistance, 0.25f);
}

TEST(ContactRecords, ShapeContactRefusesAPointCountBeyondFour) {
  auto bytes = Saved(FilledShapeContact());
  for (int32_t bad : {5, -1}) {
    std::memcpy(bytes.data() + 116, &bad, 4);
    LNS_C record;
    Core::MemoryFile in(bytes.data(), static_cast<uint32_t>(bytes.size()));
    record.Read(in);
    EXPECT_TRUE(in.HasFailed()) << bad;
    EXPECT_EQ(record.numberOfIntersectedPoints, 0);
  }
}

TEST(ContactRecords, DGEO_CAdvancesAndRoundTrips) {
  DGEO_C record;
  EXPECT_EQ(Saved(record).size(), 40u) << "a fresh record has no entries";
  record.id = MakeCollisionId(9536, 1, 2);
  for (int i = 0; i < 5; ++i) {
    record.CurrentLineSegment().userId = 100u + i;
    record.NextLineSegment();
  }
  EXPECT_EQ(record.lineSegments.size(), 10u);
  EXPECT_EQ(record.buffer_LineSegments, 10);
  EXPECT_EQ(record.currentLineSegmentsNumber, 5);
  record.CurrentCircle().userId = 7;
  record.NextCircle();
  int owner = 0;
  record.partnerOwner = reinterpret_cast<Quillon::GameObject*>(&owner);

  std::vector<unsigned char> bytes;
  const DGEO_C back = RoundTrip(record, &bytes);
  EXPECT_EQ(bytes.size(), 20u + 8 + 5 * 124 + 8 + 124 + 4);
  EXPECT_EQ(WordAt(bytes, 20), 10u) << "capacity before count";
  EXPECT_EQ(back.partnerOwner, nullptr);
  EXPECT_EQ(back.lineSegments.size(), 10u) << "sized to the stored capacity, not appended to";
  EXPECT_EQ(back.circles.size(), 5u);
  EXPECT_EQ(back.lineSegments[4].userId, 104u);
  EXPECT_EQ(back.circles[0].userId, 7u);
  EXPECT_EQ(back.deltaBuffer, 5);
}

TEST(ContactRecords, DGEO_CRefusesHostileCounts) {
  struct Case {
    int32_t capacity, count;
  };
  for (Case c : {Case{5, 5}, Case{5, 6}, Case{5, -1}, Case{-5, 0}, Case{0x7FFFFFFF, 0}, Case{0, 0}}) {
    StreamBuilder stream;
    stream.Zeros(20).I32(c.capacity).I32(c.count).Zeros(124 * 6).I32(5).I32(0).I32(5);
    Core::MemoryFile in = stream.File();
    DGEO_C record;
    record.Read(in);
    EXPECT_TRUE(in.HasFailed()) << c.capacity << "/" << c.count;
    EXPECT_EQ(record.lineSegments.size(), static_cast<size_t>(record.buffer_LineSegments));
    EXPECT_LT(record.currentLineSegmentsNumber, record.buffer_LineSegments);
  }
  // A grow step that would never grow the arrays.
  StreamBuilder stream;
  stream.Zeros(20).I32(5).I32(0).I32(5).I32(0).I32(0);
  Core::MemoryFile in = stream.File();
  DGEO_C record;
  record.Read(in);
  EXPECT_TRUE(in.HasFailed());
  EXPECT_EQ(record.deltaBuffer, 5);
}

TEST(ContactRecords, TMAP_CEntriesGrowByTheStepAndRoundTrip) {
  TMAP_C record;
  record.AddStaticEntry(3, 1, 2, 3, 4);
  EXPECT_EQ(record.currentStaticIdsNumber, 1u);
  EXPECT_EQ(record.staticEntries[0].id, 3);
  EXPECT_EQ(record.staticEntries[0].hotSpotIndex, 4u);
  for (int i = 1; i < 21; ++i) record.AddStaticEntry(static_cast<uint8_t>(i), i, 0, 0, 0);
  EXPECT_EQ(record.staticEntries.size(), 25u) << "the 20th entry grows 20 to 25";
  EXPECT_EQ(record.buffer_StaticIds, 25u);
  EXPECT_EQ(record.staticEntries[20].cellX, 20u);
  TMAP_DATA entry;
  entry.id = 9;
  entry.position = Vector2D(5, 6);
  entry.normal = Vector2D(0, -1);
  entry.zAngle = 45;
  record.AddNewEntry(entry);

  std::vector<unsigned char> bytes;
  const TMAP_C back = RoundTrip(record, &bytes);
  EXPECT_EQ(bytes.size(), 20u + 20 + 37 + 21 * 17);
  EXPECT_EQ(WordAt(bytes, 20), 5u) << "deltaBuffer first";
  EXPECT_EQ(WordAt(bytes, 24), 1u) << "then the new-entry count";
  EXPECT_EQ(bytes[40], 9) << "the entry's id byte";
  EXPECT_EQ(back.newEntries[0].zAngle, 45);
  EXPECT_EQ(back.staticEntries[20].id, 20);
  EXPECT_EQ(back.staticEntries.size(), 25u);
}

TEST(ContactRecords, TMAP_CRefusesHostileCounts) {
  for (uint32_t count : {21u, 0xFFFFFFFFu}) {
    StreamBuilder stream;
    stream.Zeros(20).I32(5).U32(count).U32(0).U32(20).U32(20).Zeros(37 * 21);
    Core::MemoryFile in = stream.File();
    TMAP_C record;
    record.Read(in);
    EXPECT_TRUE(in.HasFailed());
    EXPECT_EQ(record.newEntries.size(), record.buffer_NewIds);
  }
  StreamBuilder huge;
  huge.Zeros(20).I32(5).U32(0).U32(0).U32(0x7FFFFFFF).U32(20);
  Core::MemoryFile in = huge.File();
  TMAP_C record;
  record.Read(in);
  EXPECT_TRUE(in.HasFailed()) << "a capacity no scene reaches";
}

TEST(ContactRecords, BRECT_CIs32Bytes) {
  BRECT_C record;
  EXPECT_EQ(record.rectangleIntersection, QlnRect(0, 0, 0, 0));
  record.id = 77;
  record.rectangleIntersection = QlnRect(4, 1, 3, 2);
  record.contactPosition = Vector2D(8, 9);
  record.contactOrientation = 10;
  int owner = 0;
  record.partnerOwner = reinterpret_cast<Quillon::GameObject*>(&owner);
  std::vector<unsigned char> bytes;
  const BRECT_C back = RoundTrip(record, &bytes);
  ASSERT_EQ(bytes.size(), 32u);
  EXPECT_EQ(WordAt(bytes, 0), 77u);
  EXPECT_EQ(back.rectangleIntersection, QlnRect(4, 1, 3, 2));
  EXPECT_EQ(back.partnerOwner, nullptr);
}
