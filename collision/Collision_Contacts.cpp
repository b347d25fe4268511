#include "collision/Collision_Contacts.h"

#include <algorithm>

#include "core/Core_File.h"
#include "math/Math_Stream.h"

namespace Collision2D {

namespace {

// Smallest stored records, used to check counts against what the stream still holds.
constexpr uint64_t kStoredShapeContactSize = 124;
constexpr uint64_t kStoredTileEntrySize = 37;
constexpr uint64_t kStoredTileBaseEntrySize = 17;

// A stored (capacity, count) pair of an array that a writer advances through: the count must
// name an existing entry (0 <= count < capacity) so that the next write stays inside the array.
bool ValidAdvanceCounts(int32_t capacity, int32_t count) {
  return count >= 0 && capacity > count && capacity <= kMaximumStoredCapacity;
}

template <typename Record>
void ReadRecords(Core::File& file, std::vector<Record>& records, int32_t capacity, int32_t count,
                 uint64_t storedSize, uint64_t& budget) {
  if (!file.CheckCount(static_cast<uint64_t>(count), storedSize)) return;
  const size_t size = static_cast<size_t>(std::max(capacity, count));
  if (!TakeRecordBudget(file, budget, size)) return;
  records.assign(size, Record());
  for (int32_t i = 0; i < count && !file.HasFailed(); ++i) records[static_cast<size_t>(i)].Read(file);
}

template <typename Record>
void Advance(std::vector<Record>& records, int32_t& current, int32_t& capacity, int32_t growStep) {
  ++current;
  if (current >= capacity) {
    records.resize(records.size() + static_cast<size_t>(growStep));
    capacity += growStep;
  }
}

}  // namespace

bool TakeRecordBudget(Core::File& file, uint64_t& budget, uint64_t count) {
  if (file.HasFailed()) return false;
  if (count > budget) {
    file.Fail();
    return false;
  }
  budget -= count;
  return true;
}

void COLLISION_C::Write(Core::File& file) const {
  Core::WriteValue<uint32_t>(file, id);
  Math::WriteVector2D(file, contactPosition);
  Math::WriteFloat(file, contactOrientation);
  Math::WriteFloat(file, penetrationDistance);
}

void COLLISION_C::Read(Core::File& file) {
  Core::ReadValue(file, id);
  Math::ReadVector2D(file, contactPosition);
  Math::ReadFloat(file, contactOrientation);
  Math::ReadFloat(file, penetrationDistance);
}

ShapeContact::ShapeContact() {
  std::fill(std::begin(myCircleUserId), std::end(myCircleUserId), kContactSentinel);
  std::fill(std::begin(myLineSegmentUserId), std::end(myLineSegmentUserId), kContactSentinel);
}

void ShapeContact::ClearUserIds() {
  std::fill(std::begin(myCircleUserId), std::end(myCircleUserId), kContactSentinel);
  std::fill(std::begin(myLineSegmentUserId), std::end(myLineSegmentUserId), kContactSentinel);
  numberOfIntersectedPoints = 0;
}

void ShapeContact::Write(Core::File& file) const {
  COLLISION_C::Write(file);
  for (int32_t k = 0; k < kMaximumContactPoints; ++k) {
    Math::WriteVector2D(file, contactPoint[k]);
    Math::WriteVector2D(file, normal[k]);
    Core::WriteValue<uint32_t>(file, myCircleUserId[k]);
    Core::WriteValue<uint32_t>(file, myLineSegmentUserId[k]);
  }
  Core::WriteValue<int32_t>(file, numberOfIntersectedPoints);
  Core::WriteValue<uint32_t>(file, userId);
}

void ShapeContact::Read(Core::File& file) {
  COLLISION_C::Read(file);
  for (int32_t k = 0; k < kMaximumContactPoints; ++k) {
    Math::ReadVector2D(file, contactPoint[k]);
    Math::ReadVector2D(file, normal[k]);
    Core::ReadValue(file, myCircleUserId[k]);
    Core::ReadValue(file, myLineSegmentUserId[k]);
  }
  int32_t points = Core::ReadValue<int32_t>(file);
  // Readers index contactPoint and normal by this count.
  if (points < 0 || points > kMaximumContactPoints) {
    points = 0;
    file.Fail();
  }
  numberOfIntersectedPoints = points;
  Core::ReadValue(file, userId);
}

DGEO_C::DGEO_C() : lineSegments(5), circles(5) {}

void DGEO_C::Write(Core::File& file) const {
  COLLISION_C::Write(file);
  Core::WriteValue<int32_t>(file, buffer_LineSegments);
  Core::WriteValue<int32_t>(file, currentLineSegmentsNumber);
  for (int32_t i = 0; i < currentLineSegmentsNumber; ++i) lineSegments[static_cast<size_t>(i)].Write(file);
  Core::WriteValue<int32_t>(file, buffer_Circles);
  Core::WriteValue<int32_t>(file, currentCirclesNumber);
  for (int32_t i = 0; i < currentCirclesNumber; ++i) circles[static_cast<size_t>(i)].Write(file);
  Core::WriteValue<int32_t>(file, deltaBuffer);
}

void DGEO_C::Read(Core::File& file) {
  uint64_t budget = kMaximumRecordsPerLoad;
  Read(file, budget);
}

void DGEO_C::Read(Core::File& file, uint64_t& budget) {
  COLLISION_C::Read(file);
  partnerOwner = nullptr;
  // On failure the record is left as a fresh one: the two arrays stay consistent with their counts.
  DGEO_C loaded;
  loaded.id = id;
  loaded.contactPosition = contactPosition;
  loaded.contactOrientation = contactOrientation;
  loaded.penetrationDistance = penetrationDistance;

  int32_t capacity = Core::ReadValue<int32_t>(file);
  int32_t count = Core::ReadValue<int32_t>(file);
  if (!file.HasFailed() && !ValidAdvanceCounts(capacity, count)) file.Fail();
  if (file.HasFailed()) {
    *this = DGEO_C();
    return;
  }
  ReadRecords(file, loaded.lineSegments, capacity, count, kStoredShapeContactSize, budget);
  loaded.buffer_LineSegments = capacity;
  loaded.currentLineSegmentsNumber = count;

  capacity = Core::ReadValue<int32_t>(file);
  count = Core::ReadValue<int32_t>(file);
  if (!file.HasFailed() && !ValidAdvanceCounts(capacity, count)) file.Fail();
  if (file.HasFailed()) {
    *this = DGEO_C();
    return;
  }
  ReadRecords(file, loaded.circles, capacity, count, kStoredShapeContactSize, budget);
  loaded.buffer_Circles = capacity;
  loaded.currentCirclesNumber = count;

  loaded.deltaBuffer = Core::ReadValue<int32_t>(file);
  if (!file.HasFailed() && (loaded.deltaBuffer < 1 || loaded.deltaBuffer > kMaximumStoredCapacity)) file.Fail();
  if (file.HasFailed()) {
    *this = DGEO_C();
    return;
  }
  // Every loaded entry is cleared by the next reset.
  loaded.m_lineSegmentsReached = loaded.buffer_LineSegments;
  loaded.m_circlesReached = loaded.buffer_Circles;
  *this = std::move(loaded);
}

void DGEO_C::ClearEntries() {
  const size_t lineSegmentCount = std::min(lineSegments.size(), static_cast<size_t>(std::max(m_lineSegmentsReached, 0)));
  for (size_t k = 0; k < lineSegmentCount; ++k) lineSegments[k].ClearUserIds();
  const size_t circleCount = std::min(circles.size(), static_cast<size_t>(std::max(m_circlesReached, 0)));
  for (size_t k = 0; k < circleCount; ++k) circles[k].ClearUserIds();
  m_lineSegmentsReached = 0;
  m_circlesReached = 0;
}

void DGEO_C::PrefetchReachedEntries() const {
  const size_t lineSegmentCount = std::min(lineSegments.size(), static_cast<size_t>(std::max(m_lineSegmentsReached, 0)));
  if (lineSegmentCount > 0) PrefetchBytes(lineSegments.data(), lineSegmentCount * sizeof(LNS_C));
  const size_t circleCount = std::min(circles.size(), static_cast<size_t>(std::max(m_circlesReached, 0)));
  if (circleCount > 0) PrefetchBytes(circles.data(), circleCount * sizeof(CIR_C));
}

void DGEO_C::NextLineSegment() {
  Advance(lineSegments, currentLineSegmentsNumber, buffer_LineSegments, deltaBuffer);
}

void DGEO_C::NextCircle() { Advance(circles, currentCirclesNumber, buffer_Circles, deltaBuffer); }

void TMAP_DATA_BASE::Write(Core::File& file) const {
  Core::WriteValue<uint8_t>(file, id);
  Core::WriteValue<uint32_t>(file, cellX);
  Core::WriteValue<uint32_t>(file, cellY);
  Core::WriteValue<uint32_t>(file, collisionSide);
  Core::WriteValue<uint32_t>(file, hotSpotIndex);
}

void TMAP_DATA_BASE::Read(Core::File& file) {
  Core::ReadValue(file, id);
  Core::ReadValue(file, cellX);
  Core::ReadValue(file, cellY);
  Core::ReadValue(file, collisionSide);
  Core::ReadValue(file, hotSpotIndex);
}

void TMAP_DATA::Write(Core::File& file) const {
  TMAP_DATA_BASE::Write(file);
  Math::WriteVector2D(file, position);
  Math::WriteVector2D(file, normal);
  Math::WriteFloat(file, zAngle);
}

void TMAP_DATA::Read(Core::File& file) {
  TMAP_DATA_BASE::Read(file);
  Math::ReadVector2D(file, position);
  Math::ReadVector2D(file, normal);
  Math::ReadFloat(file, zAngle);
}

TMAP_C::TMAP_C() : newEntries(20), staticEntries(20) {}

void TMAP_C::Write(Core::File& file) const {
  COLLISION_C::Write(file);
  Core::WriteValue<int32_t>(file, deltaBuffer);
  Core::WriteValue<uint32_t>(file, currentNewIdsNumber);
  Core::WriteValue<uint32_t>(file, currentStaticIdsNumber);
  Core::WriteValue<uint32_t>(file, buffer_NewIds);
  Core::WriteValue<uint32_t>(file, buffer_StaticIds);
  for (uint32_t i = 0; i < currentNewIdsNumber; ++i) newEntries[i].Write(file);
  for (uint32_t i = 0; i < currentStaticIdsNumber; ++i) staticEntries[i].Write(file);
}

void TMAP_C::Read(Core::File& file) {
  uint64_t budget = kMaximumRecordsPerLoad;
  Read(file, budget);
}

void TMAP_C::Read(Core::File& file, uint64_t& budget) {
  COLLISION_C::Read(file);
  tileMapOwner = nullptr;
  TMAP_C loaded;
  loaded.id = id;
  loaded.contactPosition = contactPosition;
  loaded.contactOrientation = contactOrientation;
  loaded.penetrationDistance = penetrationDistance;

  loaded.deltaBuffer = Core::ReadValue<int32_t>(file);
  const uint32_t newCount = Core::ReadValue<uint32_t>(file);
  const uint32_t staticCount = Core::ReadValue<uint32_t>(file);
  const uint32_t newCapacity = Core::ReadValue<uint32_t>(file);
  const uint32_t staticCapacity = Core::ReadValue<uint32_t>(file);
  const uint32_t limit = static_cast<uint32_t>(kMaximumStoredCapacity);
  // Entries are written at count - 1 after the count grows, so count == capacity is still sound.
  if (!file.HasFailed() &&
      (loaded.deltaBuffer < 1 || loaded.deltaBuffer > kMaximumStoredCapacity || newCount > newCapacity ||
       staticCount > staticCapacity || newCapacity > limit || staticCapacity > limit)) {
    file.Fail();
  }
  if (!file.HasFailed()) {
    ReadRecords(file, loaded.newEntries, static_cast<int32_t>(newCapacity), static_cast<int32_t>(newCount),
                kStoredTileEntrySize, budget);
  }
  if (!file.HasFailed()) {
    ReadRecords(file, loaded.staticEntries, static_cast<int32_t>(staticCapacity),
                static_cast<int32_t>(staticCount), kStoredTileBaseEntrySize, budget);
  }
  if (file.HasFailed()) {
    *this = TMAP_C();
    return;
  }
  loaded.currentNewIdsNumber = newCount;
  loaded.currentStaticIdsNumber = staticCount;
  loaded.buffer_NewIds = newCapacity;
  loaded.buffer_StaticIds = staticCapacity;
  *this = std::move(loaded);
}

void TMAP_C::AddNewEntry(const TMAP_DATA& entry) {
  ++currentNewIdsNumber;
  if (currentNewIdsNumber >= buffer_NewIds) {
    newEntries.resize(newEntries.size() + static_cast<size_t>(deltaBuffer));
    buffer_NewIds += static_cast<uint32_t>(deltaBuffer);
  }
  newEntries[currentNewIdsNumber - 1] = entry;
}

void TMAP_C::AddStaticEntry(uint8_t entryId, uint32_t cellX, uint32_t cellY, uint32_t collisionSide,
                            uint32_t hotSpotIndex) {
  ++currentStaticIdsNumber;
  if (currentStaticIdsNumber >= buffer_StaticIds) {
    staticEntries.resize(staticEntries.size() + static_cast<size_t>(deltaBuffer));
    buffer_StaticIds += static_cast<uint32_t>(deltaBuffer);
  }
  TMAP_DATA_BASE& slot = staticEntries[currentStaticIdsNumber - 1];
  slot.id = entryId;
  slot.cellX = cellX;
  slot.cellY = cellY;
  slot.collisionSide = collisionSide;
  slot.hotSpotIndex = hotSpotIndex;
}

void BRECT_C::Write(Core::File& file) const {
  Core::WriteValue<uint32_t>(file, id);
  rectangleIntersection.Write(file);
  Math::WriteVector2D(file, contactPosition);
  Math::WriteFloat(file, contactOrientation);
}

void BRECT_C::Read(Core::File& file) {
  partnerOwner = nullptr;
  Core::ReadValue(file, id);
  rectangleIntersection.Read(file);
  Math::ReadVector2D(file, contactPosition);
  Math::ReadFloat(file, contactOrientation);
}

}  // namespace Collision2D
