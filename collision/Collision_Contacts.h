#pragma once
// Contact records: what the collision pass found, written into each dynamic object's results and
// read by the framework, game code and scripts. Their stream forms are part of saved games and
// replays and are written field by field, never as memory images.
#include <cstdint>
#include <vector>

#include "collision/Collision_Id.h"
#include "collision/Collision_Utilities.h"
#include "math/Math_Vector2D.h"

namespace Core { class File; }
namespace Quillon { class GameObject; }

namespace Collision2D {

// Marks a user-id slot that no shape of this object filled.
constexpr uint32_t kContactSentinel = 0xB724581u;  // 192038273
// Contact points per record.
constexpr int32_t kMaximumContactPoints = 4;
// Largest allocated count a stream may give any growable record array: real scenes stay far below
// it, and a hostile stream cannot make a load allocate without bound.
constexpr int32_t kMaximumStoredCapacity = 4096;
// Records (spare ones included) one load may construct in total, across nested arrays.
constexpr uint64_t kMaximumRecordsPerLoad = 65536;

// Takes count records from a load's budget; fails the stream (false) when the budget cannot pay.
bool TakeRecordBudget(Core::File& file, uint64_t& budget, uint64_t count);

// Fields shared by the contact records.
class COLLISION_C {
 public:
  COLLISION_C() = default;
  COLLISION_C(const COLLISION_C&) = default;
  COLLISION_C& operator=(const COLLISION_C&) = default;
  virtual ~COLLISION_C() = default;

  // id, contactPosition, contactOrientation, penetrationDistance: 20 bytes.
  virtual void Write(Core::File& file) const;
  virtual void Read(Core::File& file);

  uint32_t id = 0;                   // CollisionId of the other party
  Math::Vector2D contactPosition;    // this object's position at the contact (world)
  float contactOrientation = 0.0f;   // this object's orientation at the contact (degrees)
  float penetrationDistance = 0.0f;  // not negative
};

// A contact with one circle or one line segment of the other party (CIR_C and LNS_C share it).
class ShapeContact : public COLLISION_C {
 public:
  ShapeContact();
  ShapeContact(const ShapeContact&) = default;
  ShapeContact& operator=(const ShapeContact&) = default;

  // 124 bytes: the base, then per point contactPoint, normal, myCircleUserId, myLineSegmentUserId,
  // then numberOfIntersectedPoints and userId. Read fails the stream for a point count outside 0..4.
  void Write(Core::File& file) const override;
  void Read(Core::File& file) override;

  // Sentinels into the eight own-shape user ids, no intersection points.
  void ClearUserIds();

  Quillon::GameObject* otherOwner = nullptr;  // owner of the other party; not stored
  Math::Vector2D contactPoint[kMaximumContactPoints];
  Math::Vector2D normal[kMaximumContactPoints];
  int32_t numberOfIntersectedPoints = 0;  // valid entries of contactPoint and normal
  uint32_t userId = 0;                    // the other party's shape
  uint32_t myCircleUserId[kMaximumContactPoints];
  uint32_t myLineSegmentUserId[kMaximumContactPoints];
};

// Contact with a circle of the other party.
class CIR_C : public ShapeContact {};
// Contact with a line segment of the other party.
class LNS_C : public ShapeContact {};

// The contact of this object with one other dynamic object: per shape pair a CIR_C or LNS_C.
class DGEO_C : public COLLISION_C {
 public:
  DGEO_C();
  DGEO_C(const DGEO_C&) = default;
  DGEO_C& operator=(const DGEO_C&) = default;
  DGEO_C(DGEO_C&&) noexcept = default;
  DGEO_C& operator=(DGEO_C&&) noexcept = default;

  // The base, buffer_LineSegments, currentLineSegmentsNumber and those records, buffer_Circles,
  // currentCirclesNumber and those records, deltaBuffer.
  void Write(Core::File& file) const override;
  // Sizes each array to its stored allocated count; a count that is negative, not below its
  // capacity, above kMaximumStoredCapacity, or a grow step below 1, fails the stream.
  void Read(Core::File& file) override;
  void Read(Core::File& file, uint64_t& budget);

  // The writer fills the entry at the current number, then advances; the array grows by
  // deltaBuffer when the number reaches its length, so the current entry always exists.
  LNS_C& CurrentLineSegment() {
    if (m_lineSegmentsReached <= currentLineSegmentsNumber) m_lineSegmentsReached = currentLineSegmentsNumber + 1;
    return lineSegments[static_cast<size_t>(currentLineSegmentsNumber)];
  }
  CIR_C& CurrentCircle() {
    if (m_circlesReached <= currentCirclesNumber) m_circlesReached = currentCirclesNumber + 1;
    return circles[static_cast<size_t>(currentCirclesNumber)];
  }
  void NextLineSegment();
  void NextCircle();
  // Contact sentinels into the own-shape user ids of every entry (the ones written since the last
  // call: the others are as fresh ones), no intersection points.
  void ClearEntries();
  // Cache hint for the entries the next ClearEntries walks.
  void PrefetchReachedEntries() const;

  Quillon::GameObject* partnerOwner = nullptr;  // not stored
  std::vector<LNS_C> lineSegments;
  std::vector<CIR_C> circles;
  int32_t currentLineSegmentsNumber = 0;
  int32_t currentCirclesNumber = 0;
  int32_t deltaBuffer = 5;
  int32_t buffer_LineSegments = 5;  // always lineSegments.size()
  int32_t buffer_Circles = 5;       // always circles.size()

 private:
  // Entries [0, reached) may have been written since the last ClearEntries; not stored.
  int32_t m_lineSegmentsReached = 0;
  int32_t m_circlesReached = 0;
};

// One tile touched (17 bytes stored: id, then four words).
struct TMAP_DATA_BASE {
  uint8_t id = 0;
  uint32_t cellX = 0;
  uint32_t cellY = 0;
  uint32_t collisionSide = 0;
  uint32_t hotSpotIndex = 0;

  void Write(Core::File& file) const;
  void Read(Core::File& file);
};

// A tile touched with where and how (37 bytes stored).
struct TMAP_DATA : TMAP_DATA_BASE {
  Math::Vector2D position;
  Math::Vector2D normal;
  float zAngle = 0.0f;

  void Write(Core::File& file) const;
  void Read(Core::File& file);
};

// The contact of this object with one tile map.
class TMAP_C : public COLLISION_C {
 public:
  TMAP_C();
  TMAP_C(const TMAP_C&) = default;
  TMAP_C& operator=(const TMAP_C&) = default;
  TMAP_C(TMAP_C&&) noexcept = default;
  TMAP_C& operator=(TMAP_C&&) noexcept = default;

  // The base; deltaBuffer, the two current numbers, the two buffers; then the counted entries.
  void Write(Core::File& file) const override;
  // Counts above their capacity, capacities above kMaximumStoredCapacity, or a grow step below 1
  // fail the stream.
  void Read(Core::File& file) override;
  void Read(Core::File& file, uint64_t& budget);

  void AddNewEntry(const TMAP_DATA& entry);
  void AddStaticEntry(uint8_t entryId, uint32_t cellX, uint32_t cellY, uint32_t collisionSide, uint32_t hotSpotIndex);

  Quillon::GameObject* tileMapOwner = nullptr;  // not stored
  int32_t deltaBuffer = 5;
  uint32_t currentNewIdsNumber = 0;
  uint32_t currentStaticIdsNumber = 0;
  uint32_t buffer_NewIds = 20;     // always newEntries.size()
  uint32_t buffer_StaticIds = 20;  // always staticEntries.size()
  std::vector<TMAP_DATA> newEntries;
  std::vector<TMAP_DATA_BASE> staticEntries;
};

// The contact of two objects that are tested by their bounding rectangles only.
struct BRECT_C {
  Quillon::GameObject* partnerOwner = nullptr;  // copied, not stored
  uint32_t id = 0;
  QlnRect rectangleIntersection;
  Math::Vector2D contactPosition;
  float contactOrientation = 0.0f;

  // id, the rectangle, contactPosition, contactOrientation: 32 bytes.
  void Write(Core::File& file) const;
  // The owner becomes null.
  void Read(Core::File& file);
};

}  // namespace Collision2D
