#pragma once
// Helpers shared by the swept and resting tests of dynamic objects (not part of the public
// interface): sub-step placement of an object's shapes and the writing of shape contacts.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "collision/Collision_DynamicObject.h"
#include "math/Math_Constants.h"

namespace Collision2D {
namespace Narrow {

// Which array of a DGEO_C an entry lives in, and which kind an object's own shape is.
enum ShapeKind : int { SegmentKind = 0, CircleKind = 1 };

constexpr float kNoDistance = 2000000.0f;
constexpr float kNoHit = 2.0f;
constexpr float kPairTolerance = 0.0005f;

// Length and normalisation as Math::Vector2D's Length and Normalize work them out, bit for bit,
// but inline: the pair tests take them several times per shape pair and sub-step.
inline float LengthOf(const Math::Vector2D& v) { return std::sqrt(v.x * v.x + v.y * v.y); }
// v normalised by its length as given; vectors shorter than the tolerance stay as they are.
inline Math::Vector2D UnitOf(const Math::Vector2D& v, float length) {
  if (length <= -Math::Tolerance || length >= Math::Tolerance) return Math::Vector2D(v.x / length, v.y / length);
  return v;
}
inline Math::Vector2D Unit(const Math::Vector2D& v) { return UnitOf(v, LengthOf(v)); }
inline Math::Vector2D LeftNormal(const Math::Vector2D& u) { return Math::Vector2D(-u.y, u.x); }
// distance / length with a zero length read as "at once".
inline float Fraction(float distance, float length) { return length > 0.0f ? distance / length : 0.0f; }

struct SegmentPose {
  Math::Vector2D a0, b0, a1, b1;
};
struct CirclePose {
  Math::Vector2D c0, c1;
  float radius;
};

// A non-turning object's segments turned once about its centre to its orientation: placed at frame
// fraction f, an endpoint is its offset plus PivotAt(f), bit for bit what PointAt gives, so the
// pair tests place them with one addition per point and sub-step. A turning object keeps none, nor
// does any on the plain path.
struct TranslatedShapes {
  bool translating = false;
  std::vector<Math::Vector2D> segmentEnds;  // segment k's pointA at 2k, its pointB at 2k + 1
  Math::Vector2D pivotAtOne;                // the pivot at the end of the frame

  void Of(const DynamicObject& object);
  const Math::Vector2D& End(size_t k, int end) const { return segmentEnds[2 * k + static_cast<size_t>(end)]; }
  Math::Vector2D EndAtOne(size_t k, int end) const { return End(k, end) + pivotAtOne; }
};

// Shape k of the object at the start (frame-start world copy for sub-step 1, else the pose at t0)
// and at the end of the sub-step (also written into the sub-step list).
SegmentPose PlaceSegment(const DynamicObject& object, size_t k, float i, float t0, float t1);
CirclePose PlaceCircle(const DynamicObject& object, size_t k, float i, float t0, float t1);

uint32_t SegmentUserId(const DynamicObject& object, size_t k);
uint32_t CircleUserId(const DynamicObject& object, size_t k);

// One contact as the tests describe it.
struct Contact {
  int points = 1;
  Math::Vector2D point[2];
  Math::Vector2D normal;
  float penetration = 0.0f;
  uint32_t otherUserId = 0;
  ShapeKind ownKind = SegmentKind;
  uint32_t ownUserId = 0;
};

inline Contact MakeContact(const Math::Vector2D& point, const Math::Vector2D& normal, float penetration,
                           uint32_t otherUserId, ShapeKind ownKind, uint32_t ownUserId) {
  Contact contact;
  contact.point[0] = point;
  contact.normal = normal;
  contact.penetration = penetration;
  contact.otherUserId = otherUserId;
  contact.ownKind = ownKind;
  contact.ownUserId = ownUserId;
  return contact;
}

// Clears the entry's user ids, then writes the contact (negative penetration stored as 0).
void FillEntry(ShapeContact& entry, const Contact& contact);
ShapeContact& CurrentEntry(DGEO_C& record, ShapeKind kind);
void AdvanceEntry(DGEO_C& record, ShapeKind kind);
// The mirror of a written entry into the partner's entry: same points, normals negated, the two
// user ids exchanged. ownKindOfSource is the kind of the source object's shape.
void MirrorEntry(const ShapeContact& source, ShapeKind ownKindOfSource, ShapeKind kindOfSourceEntry,
                 ShapeContact& target);

// A circle moving c0 -> c1 (radius r) against a fixed one (centre q). True with the contact when
// it reaches the other within the motion, or when they overlap at the start by less than limit
// (limit then becomes the overlap and resting is set). approached: the other lies ahead.
struct CircleSweepHit {
  float fraction = 0.0f;
  Math::Vector2D normal;
  Math::Vector2D point;
  bool resting = false;
  bool approached = false;
};
bool SweepCircleAgainstCircle(const Math::Vector2D& c0, const Math::Vector2D& c1, float r, const Math::Vector2D& q,
                              float radius, float& limit, CircleSweepHit& hit);


// --- Ruling pairs out by boxes -----------------------------------------------------------------
// The box tests only skip exact tests that cannot find a contact: the results are the same with
// them and without. With the shortcuts off (the plain path) every sub-step and every shape pair
// goes through the exact tests; the equality test and the benchmarks compare the two.
bool ShortcutsEnabled();
void SetShortcutsEnabled(bool enabled);

struct Box {
  float left = 0.0f, right = 0.0f, bottom = 0.0f, top = 0.0f;

  static Box Empty() {
    const float inf = std::numeric_limits<float>::infinity();
    return Box{inf, -inf, inf, -inf};
  }
  static Box Of(const Math::Vector2D& a, const Math::Vector2D& b) {
    return Box{std::min(a.x, b.x), std::max(a.x, b.x), std::min(a.y, b.y), std::max(a.y, b.y)};
  }
  static Box Of(const SegmentPose& pose) {
    Box box = Of(pose.a0, pose.b0);
    box.Add(pose.a1);
    box.Add(pose.b1);
    return box;
  }
  static Box Of(const CirclePose& pose) {
    Box box = Empty();
    box.Add(pose.c0, pose.radius);
    box.Add(pose.c1, pose.radius);
    return box;
  }
  static Box Of(const Math::Circle2D& circle) {
    Box box = Empty();
    box.Add(circle.center, circle.radius);
    return box;
  }
  void Add(const Math::Vector2D& p) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    bottom = std::min(bottom, p.y);
    top = std::max(top, p.y);
  }
  void Add(const Math::Vector2D& p, float radius) {
    const float r = std::fabs(radius);
    Add(Math::Vector2D(p.x - r, p.y - r));
    Add(Math::Vector2D(p.x + r, p.y + r));
  }
};

// The rounding part of the margin between boxes: a part in 10^4 of their largest coordinate. A
// rounding worked out for larger boxes holds for the boxes inside them.
inline float RoundingOf(const Box& a, const Box& b) {
  float largest = 0.0f;
  for (float v : {a.left, a.right, a.bottom, a.top, b.left, b.right, b.bottom, b.top})
    largest = std::max(largest, std::fabs(v));
  return largest * 1e-4f;
}

// True only when the boxes lie apart on an axis by more than the gap; any NaN answers false.
inline bool BoxesApartBy(const Box& a, const Box& b, float gapX, float gapY) {
  return a.left > b.right + gapX || b.left > a.right + gapX || a.bottom > b.top + gapY || b.bottom > a.top + gapY;
}

// The gap beyond which the exact tests cannot meet: their reach, a hundredth of a world unit and the
// rounding. The exact tests err by parts in 10^7 of their coordinates; the slack and the rounding
// margin leave them orders of magnitude of room.
constexpr float kBoxSlack = 0.01f;
inline float GapOf(float reach, float rounding) { return reach + kBoxSlack + rounding; }

// True only when the boxes lie apart on an axis by more than the gap of that axis's reach; any NaN
// answers false, so that the exact tests run.
inline bool BoxesApart(const Box& a, const Box& b, float reachX, float reachY) {
  // Most boxes that reach the test are near: the rounding, which only widens the gap, is looked at
  // once they lie apart by the rest.
  if (!BoxesApartBy(a, b, GapOf(reachX, 0.0f), GapOf(reachY, 0.0f))) return false;
  const float rounding = RoundingOf(a, b);
  return BoxesApartBy(a, b, GapOf(reachX, rounding), GapOf(reachY, rounding));
}

// Where an object's shapes can be within one sub-step. Only objects that do not turn this frame
// have one: their shapes keep one orientation and move along straight lines, so the box of the
// shapes at the two ends of a sub-step holds every point a swept test reports, and a fixed
// point's motion relative to them is one sub-step of the displacement.
struct SweepBounds {
  bool valid = false;
  Box extent;       // the turned shapes about the position
  Box frameStart;   // the frame-start lists
  // How far the exact tests reach across a gap along each axis: the resting-depth limit and one
  // sub-step of travel.
  float reachX = 0.0f, reachY = 0.0f;

  void Of(const DynamicObject& object);
  // The same from the object's translated shapes (valid only when they are).
  void Of(const DynamicObject& object, const TranslatedShapes& shapes);
  // The box of sub-step i (t0 to t1); the first sub-step starts from the frame-start lists.
  Box SubStep(const DynamicObject& object, bool first, float t0, float t1) const {
    const Box box = Swept(object.PositionAt(t0), object.PositionAt(t1));
    return first ? Union(box, frameStart) : box;
  }
  // The box of the whole frame's motion: it holds every sub-step's.
  Box Frame(const DynamicObject& object) const {
    return Union(Swept(object.PositionAt(0.0f), object.PositionAt(1.0f)), frameStart);
  }

 private:
  Box Swept(const Math::Vector2D& p0, const Math::Vector2D& p1) const {
    return Box{std::min(p0.x, p1.x) + extent.left, std::max(p0.x, p1.x) + extent.right,
               std::min(p0.y, p1.y) + extent.bottom, std::max(p0.y, p1.y) + extent.top};
  }
  static Box Union(const Box& a, const Box& b) {
    return Box{std::min(a.left, b.left), std::max(a.right, b.right), std::min(a.bottom, b.bottom),
               std::max(a.top, b.top)};
  }
};

// The pair tests of segments between two moved objects, and of a moved object's segments against a
// resting one's, with the moved objects' translated shapes made once for the whole pair test.
// rounding: the rounding margin of boxes holding both objects over the whole frame, which holds for
// every sub-step's segment boxes; negative to have it worked out per sub-step.
void CollideSegmentsMoving(DynamicObject& a, DynamicObject& b, const TranslatedShapes& shapesA,
                           const TranslatedShapes& shapesB, float step, float i, float* timeA, float* timeB,
                           int32_t count, bool* hitA, bool* hitB, float rounding);
bool CollideSegmentsAgainstIdle(DynamicObject& a, DynamicObject& b, const TranslatedShapes& shapesA, float step,
                                float i, float* time, float rounding);

// What a sub-step without contacts leaves behind: the sub-step position and every shape placed at
// the end of the sub-step, as the swept tests write them.
void PlaceAtSubStepEnd(DynamicObject& object, float t1);

}  // namespace Narrow
}  // namespace Collision2D
