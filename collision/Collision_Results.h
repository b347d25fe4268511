#pragma once
// The contact records of one dynamic object for the current pass: five growable arrays whose
// first `count` records are this pass's contacts and whose remaining records are spare storage
// reused by the next pass. Detection output only; it never holds a response.
#include <cstdint>
#include <vector>

#include "collision/Collision_Contacts.h"

namespace Core { class File; }

namespace Collision2D {

class CollisionResults {
 public:
  CollisionResults();
  // Copies copy every record, spare ones included.
  CollisionResults(const CollisionResults& other) = default;
  CollisionResults& operator=(const CollisionResults& other) = default;
  CollisionResults(CollisionResults&& other) noexcept = default;
  CollisionResults& operator=(CollisionResults&& other) noexcept = default;
  ~CollisionResults() = default;

  // Start of each pass of the owning object: all counts to 0, the inner counts of the
  // dynamic-object and tile-map records to 0, and contact sentinels into the user-id slots.
  void Reset();

  // The record the next contact of each kind fills (index = the kind's count); it always exists.
  BRECT_C& CurrentBoundingRectangleContact() {
    m_touched = true;
    return Materialized(m_boundingRectangles, m_bufferBRect)[Index(m_currentBRect)];
  }
  DGEO_C& CurrentDynamicObjectContact() {
    m_touched = true;
    return Materialized(m_dynamicObjects, m_bufferDGeo)[Index(m_currentDGeo)];
  }
  CIR_C& CurrentStaticCircleContact() {
    m_touched = true;
    return Materialized(m_staticCircles, m_bufferCircles)[Index(m_currentCircles)];
  }
  LNS_C& CurrentStaticLineSegmentContact() {
    m_touched = true;
    return Materialized(m_staticLineSegments, m_bufferLineSegments)[Index(m_currentLineSegments)];
  }
  TMAP_C& CurrentTileMapContact() {
    m_touched = true;
    return Materialized(m_tileMaps, m_bufferTileMaps)[Index(m_currentTileMaps)];
  }

  // Close the current record of a kind: its count grows by one and, when it reaches the capacity,
  // grow-step default records are appended.
  void NextBoundingRectangleContact();
  void NextDynamicObjectContact();
  void NextStaticCircle();
  void NextStaticLineSegment();
  void NextTileMapContact();

  // Contacts of this pass: the first count records of each array.
  int32_t GetBoundingRectangleCount() const { return m_currentBRect; }
  int32_t GetDynamicObjectCount() const { return m_currentDGeo; }
  int32_t GetStaticCircleCount() const { return m_currentCircles; }
  int32_t GetStaticLineSegmentCount() const { return m_currentLineSegments; }
  int32_t GetTileMapCount() const { return m_currentTileMaps; }

  // Whole arrays (their size is the capacity).
  const std::vector<BRECT_C>& GetBoundingRectangleContacts() const { return Materialized(m_boundingRectangles, m_bufferBRect); }
  const std::vector<DGEO_C>& GetDynamicObjectContacts() const { return Materialized(m_dynamicObjects, m_bufferDGeo); }
  const std::vector<CIR_C>& GetStaticCircleContacts() const { return Materialized(m_staticCircles, m_bufferCircles); }
  const std::vector<LNS_C>& GetStaticLineSegmentContacts() const { return Materialized(m_staticLineSegments, m_bufferLineSegments); }
  const std::vector<TMAP_C>& GetTileMapContacts() const { return Materialized(m_tileMaps, m_bufferTileMaps); }

  int32_t GetBoundingRectangleCapacity() const { return m_bufferBRect; }
  int32_t GetDynamicObjectCapacity() const { return m_bufferDGeo; }
  int32_t GetStaticCircleCapacity() const { return m_bufferCircles; }
  int32_t GetStaticLineSegmentCapacity() const { return m_bufferLineSegments; }
  int32_t GetTileMapCapacity() const { return m_bufferTileMaps; }
  int32_t GetGrowStep() const { return m_deltaBuffer; }
  int32_t GetReservedWord() const { return m_reserved; }

  // Asks the cache for the dynamic-object record the next pair test writes to (no effect when
  // the records are not allocated yet). entries: its current shape entries too; they are reached
  // through the record, so that asks for them only once the record itself has come in.
  void PrefetchCurrentDynamicObjectContact(bool entries) const;
  // The same for what the next Reset clears of the dynamic-object records: stage 1 the records,
  // stage 2 (once they have come in) their written entries.
  void PrefetchForReset(int stage) const;

  // Per array: capacity, count, the counted records; then the grow step and the reserved word.
  void Save(Core::File& file) const;
  // Reads that form. A count that is negative or not below its capacity, a capacity above
  // kMaximumStoredCapacity, a grow step below 1, or more records than one load may build fail
  // the stream and leave the container as a new one.
  void Load(Core::File& file);

 private:
  static size_t Index(int32_t count) { return static_cast<size_t>(count); }
  // An array is allocated at its capacity when it is first reached. Most objects never meet most
  // kinds of partner, and their unused records (tens of kilobytes per object) lying between the
  // objects' working data would spread a pass over thousands of objects across memory.
  template <typename Record>
  static std::vector<Record>& Materialized(std::vector<Record>& records, int32_t capacity) {
    if (records.empty()) records.resize(static_cast<size_t>(capacity));
    return records;
  }

  // Empty until first reached (see Materialized); then always as long as the capacity.
  mutable std::vector<BRECT_C> m_boundingRectangles;
  mutable std::vector<DGEO_C> m_dynamicObjects;
  mutable std::vector<CIR_C> m_staticCircles;
  mutable std::vector<LNS_C> m_staticLineSegments;
  mutable std::vector<TMAP_C> m_tileMaps;
  int32_t m_bufferBRect = 5;
  int32_t m_bufferDGeo = 5;
  int32_t m_bufferCircles = 5;
  int32_t m_bufferLineSegments = 5;
  int32_t m_bufferTileMaps = 20;
  int32_t m_currentBRect = 0;
  int32_t m_currentDGeo = 0;
  int32_t m_currentCircles = 0;
  int32_t m_currentLineSegments = 0;
  int32_t m_currentTileMaps = 0;
  int32_t m_deltaBuffer = 5;
  int32_t m_reserved = 20;  // stored and copied; nothing reads it
  // False while the records are exactly as the last Reset left them: Reset then has nothing to
  // do. Every path to a record's storage sets it, so a pass without contacts costs no memory
  // traffic over thousands of objects' spare records.
  bool m_touched = true;
};

}  // namespace Collision2D
