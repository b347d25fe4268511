#include "collision/Collision_Results.h"

#include <algorithm>

#include "core/Core_File.h"

namespace Collision2D {

namespace {

constexpr uint64_t kStoredBoundingRectangleSize = 32;
constexpr uint64_t kStoredDynamicObjectSize = 40;
constexpr uint64_t kStoredShapeContactSize = 124;
constexpr uint64_t kStoredTileMapSize = 40;

template <typename Record>
void Advance(std::vector<Record>& records, int32_t& current, int32_t& capacity, int32_t growStep) {
  ++current;
  if (current >= capacity) {
    // An array not yet reached is allocated at its new capacity when it is.
    if (!records.empty()) records.resize(records.size() + static_cast<size_t>(growStep));
    capacity += growStep;
  }
}

// The records from the first to the one at the current index (bounded by the array).
template <typename Record>
struct RecordRange {
  Record* first;
  Record* last;
  Record* begin() const { return first; }
  Record* end() const { return last; }
};
template <typename Record>
RecordRange<Record> UsedRecords(std::vector<Record>& records, int32_t current) {
  const size_t count = current < 0 ? 0 : std::min(records.size(), static_cast<size_t>(current) + 1);
  return {records.data(), records.data() + count};
}

template <typename Record>
void SaveArray(Core::File& file, const std::vector<Record>& records, int32_t capacity, int32_t count) {
  Core::WriteValue<int32_t>(file, capacity);
  Core::WriteValue<int32_t>(file, count);
  for (int32_t i = 0; i < count; ++i) records[static_cast<size_t>(i)].Write(file);
}

template <typename Record>
void ReadOne(Core::File& file, Record& record, uint64_t&) {
  record.Read(file);
}
void ReadOne(Core::File& file, DGEO_C& record, uint64_t& budget) { record.Read(file, budget); }
void ReadOne(Core::File& file, TMAP_C& record, uint64_t& budget) { record.Read(file, budget); }

// Records a default record holds itself, charged to the load budget with it.
template <typename Record>
uint64_t RecordWeight() {
  return 1;
}
template <>
uint64_t RecordWeight<DGEO_C>() {
  return 1 + 5 + 5;
}
template <>
uint64_t RecordWeight<TMAP_C>() {
  return 1 + 20 + 20;
}

// Reads capacity, count and the counted records; the array then holds capacity records.
template <typename Record>
void LoadArray(Core::File& file, std::vector<Record>& records, int32_t& capacity, int32_t& count,
               uint64_t storedSize, uint64_t& budget) {
  capacity = Core::ReadValue<int32_t>(file);
  count = Core::ReadValue<int32_t>(file);
  if (file.HasFailed()) return;
  // A writer fills the record at index count, so it must exist.
  if (count < 0 || capacity <= count || capacity > kMaximumStoredCapacity) {
    file.Fail();
    return;
  }
  if (!file.CheckCount(static_cast<uint64_t>(count), storedSize)) return;
  if (!TakeRecordBudget(file, budget, static_cast<uint64_t>(capacity) * RecordWeight<Record>())) return;
  records.assign(static_cast<size_t>(capacity), Record());
  for (int32_t i = 0; i < count && !file.HasFailed(); ++i) ReadOne(file, records[static_cast<size_t>(i)], budget);
}

}  // namespace

CollisionResults::CollisionResults() = default;

void CollisionResults::Reset() {
  if (!m_touched) return;
  m_touched = false;
  m_currentBRect = 0;
  // Writers only reach the record at the current index, which only grows between resets, and
  // records beyond it are fresh (grown or loaded as defaults, which equal cleared ones): clearing
  // up to the current index leaves every record as a full clear would.
  for (DGEO_C& record : UsedRecords(m_dynamicObjects, m_currentDGeo)) {
    record.ClearEntries();
    record.currentCirclesNumber = 0;
    record.currentLineSegmentsNumber = 0;
  }
  m_currentDGeo = 0;
  for (CIR_C& circle : UsedRecords(m_staticCircles, m_currentCircles)) circle.ClearUserIds();
  m_currentCircles = 0;
  for (LNS_C& lineSegment : UsedRecords(m_staticLineSegments, m_currentLineSegments)) lineSegment.ClearUserIds();
  m_currentLineSegments = 0;
  for (TMAP_C& tileMap : UsedRecords(m_tileMaps, m_currentTileMaps)) {
    tileMap.currentNewIdsNumber = 0;
    tileMap.currentStaticIdsNumber = 0;
  }
  m_currentTileMaps = 0;
}

void CollisionResults::PrefetchCurrentDynamicObjectContact(bool entries) const {
  if (Index(m_currentDGeo) >= m_dynamicObjects.size()) return;
  const DGEO_C& record = m_dynamicObjects[Index(m_currentDGeo)];
  if (!entries) {
    PrefetchBytes(&record, sizeof(record));
    return;
  }
  // Between passes the records' counts are back at 0: the first entries are the ones written.
  if (!record.lineSegments.empty()) PrefetchBytes(record.lineSegments.data(), sizeof(LNS_C));
  if (!record.circles.empty()) PrefetchBytes(record.circles.data(), sizeof(CIR_C));
}

void CollisionResults::PrefetchForReset(int stage) const {
  if (!m_touched || m_currentDGeo < 0) return;
  const size_t count = std::min(m_dynamicObjects.size(), Index(m_currentDGeo) + 1);
  if (count == 0) return;
  if (stage == 1) {
    PrefetchBytes(m_dynamicObjects.data(), count * sizeof(DGEO_C));
    return;
  }
  for (size_t k = 0; k < count; ++k) m_dynamicObjects[k].PrefetchReachedEntries();
}

void CollisionResults::NextBoundingRectangleContact() {
  m_touched = true;
  Advance(m_boundingRectangles, m_currentBRect, m_bufferBRect, m_deltaBuffer);
}

void CollisionResults::NextDynamicObjectContact() {
  m_touched = true;
  Advance(m_dynamicObjects, m_currentDGeo, m_bufferDGeo, m_deltaBuffer);
}

void CollisionResults::NextStaticCircle() {
  m_touched = true;
  Advance(m_staticCircles, m_currentCircles, m_bufferCircles, m_deltaBuffer);
}

void CollisionResults::NextStaticLineSegment() {
  m_touched = true;
  Advance(m_staticLineSegments, m_currentLineSegments, m_bufferLineSegments, m_deltaBuffer);
}

void CollisionResults::NextTileMapContact() {
  m_touched = true;
  Advance(m_tileMaps, m_currentTileMaps, m_bufferTileMaps, m_deltaBuffer);
}

void CollisionResults::Save(Core::File& file) const {
  SaveArray(file, Materialized(m_boundingRectangles, m_bufferBRect), m_bufferBRect, m_currentBRect);
  SaveArray(file, Materialized(m_dynamicObjects, m_bufferDGeo), m_bufferDGeo, m_currentDGeo);
  SaveArray(file, Materialized(m_staticCircles, m_bufferCircles), m_bufferCircles, m_currentCircles);
  SaveArray(file, Materialized(m_staticLineSegments, m_bufferLineSegments), m_bufferLineSegments, m_currentLineSegments);
  SaveArray(file, Materialized(m_tileMaps, m_bufferTileMaps), m_bufferTileMaps, m_currentTileMaps);
  Core::WriteValue<int32_t>(file, m_deltaBuffer);
  Core::WriteValue<int32_t>(file, m_reserved);
}

void CollisionResults::Load(Core::File& file) {
  uint64_t budget = kMaximumRecordsPerLoad;
  CollisionResults loaded;
  LoadArray(file, loaded.m_boundingRectangles, loaded.m_bufferBRect, loaded.m_currentBRect,
            kStoredBoundingRectangleSize, budget);
  LoadArray(file, loaded.m_dynamicObjects, loaded.m_bufferDGeo, loaded.m_currentDGeo, kStoredDynamicObjectSize,
            budget);
  LoadArray(file, loaded.m_staticCircles, loaded.m_bufferCircles, loaded.m_currentCircles, kStoredShapeContactSize,
            budget);
  LoadArray(file, loaded.m_staticLineSegments, loaded.m_bufferLineSegments, loaded.m_currentLineSegments,
            kStoredShapeContactSize, budget);
  LoadArray(file, loaded.m_tileMaps, loaded.m_bufferTileMaps, loaded.m_currentTileMaps, kStoredTileMapSize, budget);
  loaded.m_deltaBuffer = Core::ReadValue<int32_t>(file);
  loaded.m_reserved = Core::ReadValue<int32_t>(file);
  if (!file.HasFailed() && (loaded.m_deltaBuffer < 1 || loaded.m_deltaBuffer > kMaximumStoredCapacity)) file.Fail();
  if (file.HasFailed()) {
    *this = CollisionResults();
    return;
  }
  *this = std::move(loaded);
}

}  // namespace Collision2D
