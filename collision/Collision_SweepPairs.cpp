// Swept pair tests between two dynamic objects that both moved this frame, one sub-step per call:
// segments against segments, segments against circles, circles against circles. Only the
// earliest hit time of a call survives per object; a side without a hit receives the mirror of
// the other side's contact.
#include <algorithm>
#include <cmath>
#include <vector>

#include "collision/Collision_NarrowPhase.h"
#include "math/Math_Line2D.h"
#include "math/Math_Ray2D.h"

namespace Collision2D {
namespace Narrow {

SegmentPose PlaceSegment(const DynamicObject& object, size_t k, float i, float t0, float t1) {
  const Math::LineSegment2D& local = *object.GetLocalLineSegments()[k];
  SegmentPose pose;
  if (i == 1.0f) {
    // The frame-start copy is the one placed at the start of the frame.
    pose.a0 = object.GetOldLineSegments()[k]->pointA;
    pose.b0 = object.GetOldLineSegments()[k]->pointB;
  } else {
    pose.a0 = object.PointAt(local.pointA, t0);
    pose.b0 = object.PointAt(local.pointB, t0);
  }
  pose.a1 = object.PointAt(local.pointA, t1);
  pose.b1 = object.PointAt(local.pointB, t1);
  Math::LineSegment2D& stored = *object.GetSubStepLineSegments()[k];
  stored.pointA = pose.a1;
  stored.pointB = pose.b1;
  return pose;
}

CirclePose PlaceCircle(const DynamicObject& object, size_t k, float i, float t0, float t1) {
  const Math::Circle2D& local = *object.GetLocalCircles()[k];
  CirclePose pose;
  pose.c0 = i == 1.0f ? object.GetOldCircles()[k]->center : object.PointAt(local.center, t0);
  pose.c1 = object.PointAt(local.center, t1);
  pose.radius = local.radius;
  Math::Circle2D& stored = *object.GetSubStepCircles()[k];
  stored.center = pose.c1;
  stored.radius = local.radius;
  return pose;
}

uint32_t SegmentUserId(const DynamicObject& object, size_t k) {
  return object.GetCurrentFrame()->GetLineSegments()[k]->GetUserId();
}

uint32_t CircleUserId(const DynamicObject& object, size_t k) {
  return object.GetCurrentFrame()->GetCircles()[k]->GetUserId();
}

void FillEntry(ShapeContact& entry, const Contact& contact) {
  entry.ClearUserIds();
  entry.numberOfIntersectedPoints = contact.points;
  for (int p = 0; p < contact.points; ++p) {
    entry.contactPoint[p] = contact.point[p];
    entry.normal[p] = contact.normal;
  }
  entry.penetrationDistance = std::max(0.0f, contact.penetration);
  entry.userId = contact.otherUserId;
  if (contact.ownKind == SegmentKind)
    entry.myLineSegmentUserId[0] = contact.ownUserId;
  else
    entry.myCircleUserId[0] = contact.ownUserId;
}

ShapeContact& CurrentEntry(DGEO_C& record, ShapeKind kind) {
  if (kind == SegmentKind) return record.CurrentLineSegment();
  return record.CurrentCircle();
}

void AdvanceEntry(DGEO_C& record, ShapeKind kind) {
  if (kind == SegmentKind)
    record.NextLineSegment();
  else
    record.NextCircle();
}

void MirrorEntry(const ShapeContact& source, ShapeKind ownKindOfSource, ShapeKind kindOfSourceEntry,
                 ShapeContact& target) {
  target.ClearUserIds();
  target.numberOfIntersectedPoints = source.numberOfIntersectedPoints;
  for (int p = 0; p < kMaximumContactPoints; ++p) {
    target.contactPoint[p] = source.contactPoint[p];
    target.normal[p] = -source.normal[p];
  }
  target.penetrationDistance = source.penetrationDistance;
  target.userId = ownKindOfSource == SegmentKind ? source.myLineSegmentUserId[0] : source.myCircleUserId[0];
  // The target's own shape is the one the source touched.
  if (kindOfSourceEntry == SegmentKind)
    target.myLineSegmentUserId[0] = source.userId;
  else
    target.myCircleUserId[0] = source.userId;
}

}  // namespace Narrow

namespace {

using Math::Vector2D;
using namespace Narrow;

// One object's part in a both-moved pair test call.
struct PairSide {
  DynamicObject* object;
  float* time;
  bool* flag;
  float threshold;
  bool approached = false;
  // Whether the entry at the current index of each array was written in this call: only then
  // does an equal-time contact open a new entry (never a blank one).
  bool wrote[2] = {false, false};
  int lastKind = -1;       // array of the entry written last
  ShapeKind lastOwnKind = SegmentKind;

  PairSide(DynamicObject& o, float* t, bool* f)
      : object(&o), time(t), flag(f), threshold(o.GetCollisionThickness()) {}

  DGEO_C& Record() { return object->GetCollisionData()->CurrentDynamicObjectContact(); }

  void Write(ShapeKind kind, const Contact& contact) {
    FillEntry(CurrentEntry(Record(), kind), contact);
    wrote[kind] = true;
    lastKind = kind;
    lastOwnKind = contact.ownKind;
  }

  void Restart() {
    Record().currentLineSegmentsNumber = 0;
    Record().currentCirclesNumber = 0;
    wrote[0] = wrote[1] = false;
    lastKind = -1;
  }

  // The earliest-time rule: later contacts are dropped, equal ones accumulate, an earlier one
  // discards what this object holds for the partner so far.
  void Hit(ShapeKind kind, float t, const Contact& contact) {
    *flag = true;
    if (*time < t) return;
    if (*time == t) {
      if (wrote[kind]) AdvanceEntry(Record(), kind);
    } else {
      *time = t;
      Restart();
    }
    Write(kind, contact);
  }

  // The immediate contacts at the end of the sub-step append even behind an earlier time.
  void HitAtEnd(ShapeKind kind, const Contact& contact) {
    *flag = true;
    if (*time > 1.0f) {
      *time = 1.0f;
      Restart();
    } else if (wrote[kind]) {
      AdvanceEntry(Record(), kind);
    }
    Write(kind, contact);
  }
};

// Mirror and commit at the end of every both-moved pair test.
void MirrorAndCommit(PairSide& first, PairSide& second) {
  auto mirror = [](PairSide& from, PairSide& to) {
    if (from.lastKind < 0) return;
    const ShapeKind entryKind = static_cast<ShapeKind>(from.lastKind);
    const ShapeKind targetKind = from.lastOwnKind;
    MirrorEntry(CurrentEntry(from.Record(), entryKind), from.lastOwnKind, entryKind,
                CurrentEntry(to.Record(), targetKind));
    to.wrote[targetKind] = true;
    if (!to.approached) {
      *to.flag = true;
      // An earlier time the partner already holds from this sub-step is kept.
      *to.time = std::min(*to.time, 1.0f);
    }
  };
  const bool firstHit = *first.flag && first.lastKind >= 0;
  const bool secondHit = *second.flag && second.lastKind >= 0;
  if (firstHit && !*second.flag) mirror(first, second);
  if (secondHit && !*first.flag) mirror(second, first);
  for (PairSide* side : {&first, &second}) {
    for (int kind = 0; kind < 2; ++kind) {
      if (side->wrote[kind]) AdvanceEntry(side->Record(), static_cast<ShapeKind>(kind));
    }
  }
}

// --- Segments against segments -----------------------------------------------------------

// An endpoint event waiting to be resolved against the other events of its pair. Plain numbers,
// so that a sweep's four are left unmade until found: most pairs find none, and zeroing them cost
// a fifth of the sweep.
struct Pending {
  float distance;
  float length;
  float point[2];
  float normal[2];
  float penetration;

  static Pending Of(float distance, float length, const Vector2D& point, const Vector2D& normal, float penetration) {
    return Pending{distance, length, {point.x, point.y}, {normal.x, normal.y}, penetration};
  }
  Vector2D Point() const { return Vector2D(point[0], point[1]); }
  Vector2D Normal() const { return Vector2D(normal[0], normal[1]); }
};

// What a sweep needs of the moving segment alone: the same for every held segment it meets in a
// call, so it is worked out once per segment rather than once per pair.
struct MovingSegment {
  SegmentPose pose;          // the moving segment at t0 and t1
  Vector2D ua, na;           // its direction and left normal at t0
  bool unitNormal = false;   // na has unit length (the segment is not too short to normalise)
  Vector2D endAtOne[2];      // its endpoints at the end of the frame
  float travelLength[2] = {0.0f, 0.0f};  // each endpoint's travel over the sub-step
  Vector2D travelUnit[2];
  Math::LineSegment2D start;  // the segment at t0

  void Of(const DynamicObject& moving, const TranslatedShapes& shapes, size_t k, const SegmentPose& segmentPose) {
    const Math::LineSegment2D& localSegment = *moving.GetLocalLineSegments()[k];
    pose = segmentPose;
    const float length = LengthOf(pose.b0 - pose.a0);
    ua = UnitOf(pose.b0 - pose.a0, length);
    unitNormal = length >= Math::Tolerance;
    na = LeftNormal(ua);
    for (int e = 0; e < 2; ++e) {
      endAtOne[e] = shapes.translating ? shapes.EndAtOne(k, e)
                                       : moving.PointAt(e == 0 ? localSegment.pointA : localSegment.pointB, 1.0f);
      const Vector2D travel = e == 0 ? pose.a1 - pose.a0 : pose.b1 - pose.b0;
      travelLength[e] = LengthOf(travel);
      travelUnit[e] = UnitOf(travel, travelLength[e]);
    }
    start = Math::LineSegment2D(pose.a0, pose.b0);
  }
};

// How a held point moves relative to the moving object over one sub-step: back to where it stood,
// relative to the mover, at the sub-step's start.
struct MoverMotion {
  const DynamicObject* object = nullptr;
  float step = 0.0f;
  bool translating = false;
  Vector2D pivot;      // the mover's pivot at the end of the sub-step
  Vector2D stepTravel;  // one sub-step of its displacement

  MoverMotion(const DynamicObject& moving, float subStep)
      : object(&moving), step(subStep), translating(ShortcutsEnabled() && moving.GetFrameRotation() == 0.0f),
        pivot(moving.GetSubStepPivot()),
        stepTravel(moving.GetFrameDisplacement() * subStep) {}
  // InverseMotionOf(w, step); without a turn its rotation leaves w as it is.
  Vector2D Back(const Vector2D& w) const { return translating ? w - stepTravel : object->InverseMotionOf(w, step); }
};

// What a sweep needs of the held segment alone, given the moving object: its direction and normal
// and each endpoint's motion relative to the mover over the sub-step (B first, then A).
struct HeldSegment {
  Vector2D heldA, heldB;
  Math::LineSegment2D segment;
  Vector2D ub, nb;
  bool unitNormal = false;  // nb has unit length
  float relativeLength[2] = {0.0f, 0.0f};
  Vector2D relativeUnit[2];
  float reach = 0.0f;  // the longer of its endpoints' relative travels

  void Of(const MoverMotion& moving, const Vector2D& a, const Vector2D& b) {
    heldA = a;
    heldB = b;
    segment = Math::LineSegment2D(a, b);
    const float length = LengthOf(b - a);
    ub = UnitOf(b - a, length);
    unitNormal = length >= Math::Tolerance;
    nb = LeftNormal(ub);
    for (int r = 0; r < 2; ++r) {
      const Vector2D w = (r == 0 ? b : a) - moving.pivot;
      const Vector2D relative = moving.Back(w) - w;
      relativeLength[r] = LengthOf(relative);
      relativeUnit[r] = UnitOf(relative, relativeLength[r]);
    }
    reach = std::max(relativeLength[0], relativeLength[1]);
  }
};

// What a sweep that cannot meet still tells its side: whether an endpoint moved towards the other
// segment (the direction tests that open each endpoint's sweep).
bool Approaches(const MovingSegment& mover, const HeldSegment& held) {
  for (int e = 0; e < 2; ++e) {
    const Vector2D& v = mover.travelUnit[e];
    if (held.nb.Dot(v) <= 0.0f && mover.na.Dot(v) >= 0.0f) return true;
  }
  for (int r = 0; r < 2; ++r) {
    const Vector2D& v = held.relativeUnit[r];
    if (held.nb.Dot(v) >= 0.0f && mover.na.Dot(v) <= 0.0f) return true;
  }
  return false;
}

// One moving segment against one held segment within a sub-step; records into the moving side.
// The moving object's sub-step position must stay as it was when the held facts were made.
struct SegmentSweep {
  const DynamicObject& moving;
  const MovingSegment& mover;
  const HeldSegment& held;
  Vector2D p0;            // the moving object's pivot at t0
  float step, i;
  int32_t count;
  PairSide& side;
  uint32_t ownUserId, otherUserId;
  // How far beyond the threshold a point's distance from a segment's line must lie before its
  // resting test is left out: the slack and rounding of the call's boxes, or negative on the plain
  // path, which runs every test.
  float restSlack;

  Contact MakeContact(const Vector2D& point, const Vector2D& normal, float penetration) const {
    return Narrow::MakeContact(point, normal, penetration, otherUserId, SegmentKind, ownUserId);
  }

  // Whether a point may rest within the threshold of a segment: the resting tests measure the gap
  // from the point along the segment's unit normal to the segment, which the distance from its
  // line here matches to parts in 10^6 of the coordinates, far within the slack. A NaN answers yes.
  bool MayRest(const Vector2D& normal, bool unitNormal, const Vector2D& point, const Vector2D& onLine) const {
    return restSlack < 0.0f || !unitNormal || !(std::fabs(normal.Dot(point - onLine)) > side.threshold + restSlack);
  }

  Vector2D CarryToFrameEnd(const Vector2D& x) const {
    return moving.MotionOf(x - p0, (static_cast<float>(count) - i + 1.0f) * step) + p0;
  }

  void Run() {
    const SegmentPose& a = mover.pose;
    const Vector2D& na = mover.na;
    const Vector2D& heldA = held.heldA;
    const Vector2D& heldB = held.heldB;
    const Vector2D& ub = held.ub;
    const Vector2D& nb = held.nb;
    Pending events[4];  // PA, PB, RB, RA
    bool found[4] = {false, false, false, false};
    const Vector2D* endPointsAtOne = mover.endAtOne;
    const Vector2D heldEnds[2] = {heldA, heldB};

    // Endpoints of the moving segment.
    for (int e = 0; e < 2; ++e) {
      const Vector2D e0 = e == 0 ? a.a0 : a.b0;
      const Vector2D e1 = e == 0 ? a.a1 : a.b1;
      const float length = mover.travelLength[e];
      const Vector2D& v = mover.travelUnit[e];
      if (!(nb.Dot(v) <= 0.0f && na.Dot(v) >= 0.0f)) continue;
      side.approached = true;
      Vector2D x;
      Math::LineSegment2D overlap;
      const uint32_t code = held.segment.ClassifyToRay(Math::Ray2D(e0, v), x, overlap);
      if (code == Math::Classification::Crossing) {
        const float d = LengthOf(x - e0);
        if (d <= length) {
          events[e] = Pending::Of(d, length, x, nb, (endPointsAtOne[e] - x).Dot(-nb));
          found[e] = true;
        }
      } else if (code == Math::Classification::Overlap) {
        if ((heldA - e0).Dot(heldB - e0) < 0.0f) {
          side.HitAtEnd(SegmentKind, MakeContact(e1, nb, (-nb).Dot(endPointsAtOne[e] - heldEnds[e])));
        }
      } else if (MayRest(nb, held.unitNormal, e0, heldA)) {
        Vector2D y;
        if (held.segment.ClassifyToRay(Math::Ray2D(e0, nb), y, overlap) == Math::Classification::Crossing) {
          const float g = LengthOf(e0 - y);
          if (g <= side.threshold) {
            side.threshold = g;
            side.Hit(SegmentKind, 0.0f, MakeContact(y, nb, (-nb).Dot(endPointsAtOne[e] - y)));
          }
        }
      }
    }

    // Endpoints of the held segment, swept relative to the moving object: RB unless PA is
    // pending, RA unless PB is.
    const Math::LineSegment2D& startOfMoving = mover.start;
    for (int r = 0; r < 2; ++r) {
      const bool isB = r == 0;
      if (found[isB ? 0 : 1]) continue;
      const Vector2D f = isB ? heldB : heldA;
      const float length = held.relativeLength[r];
      const Vector2D& v = held.relativeUnit[r];
      if (!(nb.Dot(v) >= 0.0f)) continue;
      bool pending = false;
      Math::LineSegment2D overlap;
      if (na.Dot(v) <= 0.0f) {
        side.approached = true;
        Vector2D x;
        if (startOfMoving.ClassifyToRay(Math::Ray2D(f, v), x, overlap) == Math::Classification::Crossing &&
            LengthOf(x - f) <= length) {
          const float along = v.Dot(nb);
          const Vector2D k = CarryToFrameEnd(x);
          if (along != 1.0f && along != -1.0f) {
            events[isB ? 2 : 3] = Pending::Of(LengthOf(x - f), length, f, -na, (k - f).Dot(na));
            found[isB ? 2 : 3] = true;
            pending = true;
          } else {
            side.HitAtEnd(SegmentKind, MakeContact(moving.MotionOf(x - p0, step) + p0, -na, (k - f).Dot(na)));
          }
        }
      }
      if (pending) continue;
      // Resting: the held endpoint already lies within the thickness of the moving segment.
      const bool inside = isB ? ub.Dot(a.b0 - heldB) < 0.0f : ub.Dot(a.a0 - heldA) > 0.0f;
      if (!inside || !MayRest(na, mover.unitNormal, f, a.a0)) continue;
      Vector2D x;
      if (startOfMoving.ClassifyToRay(Math::Ray2D(f, na), x, overlap) == Math::Classification::Crossing) {
        const float g = LengthOf(x - f);
        if (g <= side.threshold) {
          side.threshold = g;
          const Vector2D k = CarryToFrameEnd(x);
          side.Hit(SegmentKind, 0.0f, MakeContact(f, -na, (k - f).Dot(na)));
        }
      }
    }

    // Pending events in pairs: PA+PB, PA+RA, PB+RB, RA+RB, or one alone.
    static const int kPairs[4][2] = {{0, 1}, {0, 3}, {1, 2}, {3, 2}};
    const Pending* first = nullptr;
    const Pending* second = nullptr;
    for (const auto& pair : kPairs) {
      if (found[pair[0]] && found[pair[1]]) {
        first = &events[pair[0]];
        second = &events[pair[1]];
        break;
      }
    }
    if (first == nullptr) {
      for (int e = 0; e < 4; ++e) {
        if (found[e]) {
          first = &events[e];
          break;
        }
      }
      if (first == nullptr) return;
    }
    if (second != nullptr) {
      const float d1 = first->distance;
      const float d2 = second->distance;
      if (d1 - kPairTolerance <= d2 && d1 + kPairTolerance >= d2) {
        Contact contact = MakeContact(first->Point(), first->Normal(), first->penetration);
        contact.points = 2;
        contact.point[1] = second->Point();
        side.Hit(SegmentKind, Fraction(first->distance, first->length), contact);
        return;
      }
      if (d2 < d1) first = second;
    }
    side.Hit(SegmentKind, Fraction(first->distance, first->length),
             MakeContact(first->Point(), first->Normal(), first->penetration));
  }
};

// One object's segments in a call: their poses and boxes for every segment, and the facts the
// exact sweeps need, worked out only for the segments of pairs that can meet.
struct SegmentFacts {
  SegmentPose pose;
  Box swept;  // the ground the segment covers over the sub-step
  Box held;   // the segment where the partner's sweep holds it
  bool moverReady = false;
  bool heldReady = false;
  MovingSegment mover;
  HeldSegment heldFacts;
};

// heldAtEnd: the partner sweeps against this object's segments at the end of the sub-step (else
// at its start). A translating object's endpoints are its offsets plus the pivot, as PlaceSegment
// would place them.
void PlaceSegments(DynamicObject& object, const TranslatedShapes& shapes, float i, float t0, float t1, bool heldAtEnd,
                   std::vector<SegmentFacts>& facts) {
  const size_t count = object.ActiveLineSegmentCount();
  facts.resize(count);
  const Vector2D pivot0 = object.PivotAt(t0);
  const Vector2D pivot1 = object.PivotAt(t1);
  for (size_t k = 0; k < count; ++k) {
    SegmentFacts& f = facts[k];
    if (shapes.translating) {
      const Vector2D& offsetA = shapes.End(k, 0);
      const Vector2D& offsetB = shapes.End(k, 1);
      if (i == 1.0f) {
        const Math::LineSegment2D& start = *object.GetOldLineSegments()[k];
        f.pose.a0 = start.pointA;
        f.pose.b0 = start.pointB;
      } else {
        f.pose.a0 = offsetA + pivot0;
        f.pose.b0 = offsetB + pivot0;
      }
      // Stored from the sums, not read back from the pose: a copy of a vector just written as two
      // floats stalls on the writes.
      const Vector2D a1 = offsetA + pivot1;
      const Vector2D b1 = offsetB + pivot1;
      f.pose.a1 = a1;
      f.pose.b1 = b1;
      Math::LineSegment2D& stored = *object.GetSubStepLineSegments()[k];
      stored.pointA = a1;
      stored.pointB = b1;
    } else {
      f.pose = PlaceSegment(object, k, i, t0, t1);
    }
    f.swept = Box::Of(f.pose);
    f.held = heldAtEnd ? Box::Of(f.pose.a1, f.pose.b1) : Box::Of(f.pose.a0, f.pose.b0);
    f.moverReady = f.heldReady = false;
  }
}

const MovingSegment& MoverOf(const DynamicObject& moving, const TranslatedShapes& shapes, size_t k, SegmentFacts& f) {
  if (!f.moverReady) {
    f.mover.Of(moving, shapes, k, f.pose);
    f.moverReady = true;
  }
  return f.mover;
}

// The segment held, relative to the moving partner.
const HeldSegment& HeldOf(const MoverMotion& moving, SegmentFacts& f, bool heldAtEnd) {
  if (!f.heldReady) {
    if (heldAtEnd)
      f.heldFacts.Of(moving, f.pose.a1, f.pose.b1);
    else
      f.heldFacts.Of(moving, f.pose.a0, f.pose.b0);
    f.heldReady = true;
  }
  return f.heldFacts;
}

// How far a held segment's endpoints travel relative to the moving object over a sub-step. Without
// a turn that is one sub-step of the mover's displacement, the same for every point; a turning
// mover's are measured per segment (negative here).
float UniformHeldReach(const DynamicObject& moving, float step) {
  return moving.GetFrameRotation() == 0.0f ? (moving.GetFrameDisplacement() * step).Length() : -1.0f;
}

// Whether the sweep of a moving segment against a held one can find anything: every contact it
// reports lies on the ground the moving segment covers, within the resting depth of it, or where a
// held endpoint arrives within its relative travel. Always true on the plain path.
inline bool CanMeet(bool shortcuts, const MoverMotion& moving, SegmentFacts& mover, SegmentFacts& held,
                    bool heldAtEnd, float uniformReach, float threshold, float rounding) {
  if (!shortcuts) return true;
  const float travel = uniformReach >= 0.0f ? uniformReach : HeldOf(moving, held, heldAtEnd).reach;
  const float gap = GapOf(std::max(travel, threshold), rounding);
  return !BoxesApartBy(mover.swept, held.held, gap, gap);
}

// The rounding margin for the boxes of every segment in a call.
void Cover(Box& all, const Box& box) {
  all.Add(Math::Vector2D(box.left, box.bottom));
  all.Add(Math::Vector2D(box.right, box.top));
}

// One bit per shape pair, in storage that keeps its size between calls.
class PairBits {
 public:
  PairBits(std::vector<uint64_t>& words, size_t pairs) : m_words(words) { m_words.assign((pairs + 63) / 64, 0); }
  void Set(size_t pair) { m_words[pair / 64] |= uint64_t{1} << (pair % 64); }
  bool Has(size_t pair) const { return (m_words[pair / 64] >> (pair % 64)) & 1u; }

 private:
  std::vector<uint64_t>& m_words;
};

// The shapes of an object for a single call from outside the pair driver.
const TranslatedShapes& ShapesOf(const DynamicObject& object, TranslatedShapes& scratch) {
  scratch.Of(object);
  return scratch;
}

}  // namespace

void DynamicObject::CollideLineSegmentsMoving(DynamicObject& a, DynamicObject& b, const uint8_t*, float step, float i,
                                              float* timeA, float* timeB, int32_t* count, bool* hitA, bool* hitB) {
  TranslatedShapes shapesA, shapesB;
  Narrow::CollideSegmentsMoving(a, b, ShapesOf(a, shapesA), ShapesOf(b, shapesB), step, i, timeA, timeB,
                                count ? *count : 1, hitA, hitB, -1.0f);
}

bool DynamicObject::CollideLineSegmentsAgainstIdle(DynamicObject& a, DynamicObject& b, const uint8_t*, float step,
                                                   float i, float* time) {
  TranslatedShapes shapesA;
  return Narrow::CollideSegmentsAgainstIdle(a, b, ShapesOf(a, shapesA), step, i, time, -1.0f);
}

void Narrow::CollideSegmentsMoving(DynamicObject& a, DynamicObject& b, const TranslatedShapes& shapesA,
                                   const TranslatedShapes& shapesB, float step, float i, float* timeA, float* timeB,
                                   int32_t n, bool* hitA, bool* hitB, float frameRounding) {
  PairSide sideA(a, timeA, hitA);
  PairSide sideB(b, timeB, hitB);
  const float t0 = (i - 1.0f) * step;
  const float t1 = i * step;
  const Vector2D a0 = a.PivotAt(t0);
  const Vector2D b0 = b.PivotAt(t0);
  a.SetSubStepPosition(a.PositionAt(t1));
  b.SetSubStepPosition(b.PositionAt(t1));
  const MoverMotion motionA(a, step), motionB(b, step);
  // A sweeps against B held at the start of the sub-step; B against A held at its end. The scratch
  // keeps its storage.
  static thread_local std::vector<SegmentFacts> scratchA, scratchB;
  // Named once: the loops below would look the thread's storage up at every use.
  std::vector<SegmentFacts>& factsA = scratchA;
  std::vector<SegmentFacts>& factsB = scratchB;
  PlaceSegments(b, shapesB, i, t0, t1, false, factsB);
  PlaceSegments(a, shapesA, i, t0, t1, true, factsA);
  const float reachOfB = UniformHeldReach(a, step);
  const float reachOfA = UniformHeldReach(b, step);
  const bool shortcuts = ShortcutsEnabled();
  float rounding = std::max(frameRounding, 0.0f);
  if (shortcuts && frameRounding < 0.0f) {
    Box all = Box::Empty();
    for (const std::vector<SegmentFacts>* facts : {&factsA, &factsB})
      for (const SegmentFacts& f : *facts) Cover(all, f.swept);
    rounding = RoundingOf(all, all);
  }
  const float restSlack = shortcuts ? GapOf(0.0f, rounding) : -1.0f;
  // Pairs ruled out by their boxes, a bit per pair (A's segment outer) and direction: they find
  // nothing, but whether their endpoints approached decides how a partner without a contact of its
  // own takes the other's mirror. Words, not bytes: a byte written may alias every float the loop
  // holds.
  const size_t segmentsB = factsB.size();
  const size_t pairs = factsA.size() * segmentsB;
  static thread_local std::vector<uint64_t> scratchForward, scratchBackward;
  PairBits ruledOutForward(scratchForward, pairs), ruledOutBackward(scratchBackward, pairs);
  for (size_t ka = 0; ka < factsA.size(); ++ka) {
    for (size_t kb = 0; kb < segmentsB; ++kb) {
      if (CanMeet(shortcuts, motionA, factsA[ka], factsB[kb], false, reachOfB, sideA.threshold, rounding)) {
        SegmentSweep forward{a,  MoverOf(a, shapesA, ka, factsA[ka]), HeldOf(motionA, factsB[kb], false),
                             a0, step, i, n, sideA, SegmentUserId(a, ka), SegmentUserId(b, kb), restSlack};
        forward.Run();
      } else {
        ruledOutForward.Set(ka * segmentsB + kb);
      }
      if (*hitA) continue;
      if (CanMeet(shortcuts, motionB, factsB[kb], factsA[ka], true, reachOfA, sideB.threshold, rounding)) {
        SegmentSweep backward{b,  MoverOf(b, shapesB, kb, factsB[kb]), HeldOf(motionB, factsA[ka], true),
                              b0, step, i, n, sideB, SegmentUserId(b, kb), SegmentUserId(a, ka), restSlack};
        backward.Run();
      } else {
        ruledOutBackward.Set(ka * segmentsB + kb);
      }
    }
  }
  auto resolveApproach = [&](PairSide& side, bool forward) {
    const PairBits& ruledOut = forward ? ruledOutForward : ruledOutBackward;
    for (size_t pair = 0; pair < pairs && !side.approached; ++pair) {
      if (!ruledOut.Has(pair)) continue;
      const size_t ka = pair / segmentsB, kb = pair % segmentsB;
      side.approached = forward ? Approaches(MoverOf(a, shapesA, ka, factsA[ka]), HeldOf(motionA, factsB[kb], false))
                                : Approaches(MoverOf(b, shapesB, kb, factsB[kb]), HeldOf(motionB, factsA[ka], true));
    }
  };
  // Only a side about to take the other's mirror reads its approach.
  if (*sideA.flag && sideA.lastKind >= 0 && !*sideB.flag) resolveApproach(sideB, false);
  if (*sideB.flag && sideB.lastKind >= 0 && !*sideA.flag) resolveApproach(sideA, true);
  MirrorAndCommit(sideA, sideB);
}

bool Narrow::CollideSegmentsAgainstIdle(DynamicObject& a, DynamicObject& b, const TranslatedShapes& shapesA, float step,
                                        float i, float* time, float frameRounding) {
  bool hitA = false;
  bool hitB = false;
  float timeB = kNoHit;
  PairSide sideA(a, time, &hitA);
  PairSide sideB(b, &timeB, &hitB);
  // Only mirrors of A's contacts: it must never look approached, or it would take a time.
  sideB.approached = true;
  const float t0 = (i - 1.0f) * step;
  const float t1 = i * step;
  const Vector2D a0 = a.PivotAt(t0);
  a.SetSubStepPosition(a.PositionAt(t1));
  const MoverMotion motionA(a, step);
  const float before = *time;
  static thread_local std::vector<SegmentFacts> scratchA, scratchB;
  std::vector<SegmentFacts>& factsA = scratchA;
  std::vector<SegmentFacts>& factsB = scratchB;
  const size_t segmentsB = b.ActiveLineSegmentCount();
  factsB.resize(segmentsB);
  for (size_t kb = 0; kb < segmentsB; ++kb) {
    // B rests: its frame-start copies are where A meets it, and it has no sweep of its own.
    SegmentFacts& f = factsB[kb];
    f.pose.a0 = b.GetOldLineSegments()[kb]->pointA;
    f.pose.b0 = b.GetOldLineSegments()[kb]->pointB;
    f.held = Box::Of(f.pose.a0, f.pose.b0);
    f.heldReady = false;
  }
  PlaceSegments(a, shapesA, i, t0, t1, true, factsA);
  const float reachOfB = UniformHeldReach(a, step);
  const bool shortcuts = ShortcutsEnabled();
  float rounding = std::max(frameRounding, 0.0f);
  if (shortcuts && frameRounding < 0.0f) {
    // B's segments lie where A's sweeps hold them: their boxes are the held ones.
    Box all = Box::Empty();
    for (const SegmentFacts& f : factsA) Cover(all, f.swept);
    for (const SegmentFacts& f : factsB) Cover(all, f.held);
    rounding = RoundingOf(all, all);
  }
  const float restSlack = shortcuts ? GapOf(0.0f, rounding) : -1.0f;
  for (size_t ka = 0; ka < factsA.size(); ++ka) {
    for (size_t kb = 0; kb < segmentsB; ++kb) {
      // A's approach is never read here: B only takes mirrors.
      if (!CanMeet(shortcuts, motionA, factsA[ka], factsB[kb], false, reachOfB, sideA.threshold, rounding)) continue;
      SegmentSweep forward{a,    MoverOf(a, shapesA, ka, factsA[ka]), HeldOf(motionA, factsB[kb], false),
                           a0,   step,
                           i,    a.GetStepCount(),
                           sideA, SegmentUserId(a, ka),
                           SegmentUserId(b, kb), restSlack};
      forward.Run();
    }
  }
  // B's entries for this partner only mirror A's: when A's earlier hit discarded its own, B's go too.
  if (*time < before) {
    DGEO_C& recordB = b.GetCollisionData()->CurrentDynamicObjectContact();
    recordB.currentLineSegmentsNumber = 0;
    recordB.currentCirclesNumber = 0;
  }
  MirrorAndCommit(sideA, sideB);
  return hitA;
}

// --- Segments against circles ----------------------------------------------------------------

namespace {

// One segment of X against one circle of Y within a sub-step: X's segment reaching the circle
// (recorded into X), then, while X has no contact, the circle reaching the segment (into Y).
struct SegmentCircleSweep {
  DynamicObject& x;
  DynamicObject& y;
  PairSide& sideX;
  PairSide& sideY;
  const SegmentPose& s;    // X's segment over the sub-step
  const CirclePose& c;     // Y's circle over the sub-step
  Vector2D direction1;     // the segment's direction at the end of the sub-step
  Vector2D ns;             // and its normal
  Math::Circle2D circle0;  // the circle at the start of the sub-step
  Vector2D centreAtOne;    // the circle's centre at the end of the frame
  float step;
  float remaining;         // the rest of the frame after the sub-step
  uint32_t segmentId, circleId;

  Contact OfX(const Vector2D& point, const Vector2D& normal, float penetration) const {
    return MakeContact(point, normal, penetration, circleId, SegmentKind, segmentId);
  }
  Contact OfY(const Vector2D& point, const Vector2D& normal, float penetration) const {
    return MakeContact(point, normal, penetration, segmentId, CircleKind, circleId);
  }

  void Run() {
    SegmentReachesCircle();
    if (*sideX.flag) return;
    if (LeadingPointReachesSegment()) SegmentEndsReachCircle();
  }

  // The circle's centre near the segment's line at the end of the sub-step.
  void SegmentReachesCircle() {
    Vector2D foot;
    const float d = c.c0.DistanceToLine(s.a1, direction1, foot);
    if (!(c.radius >= d)) return;
    if ((s.a1 - foot).Dot(s.b1 - foot) <= 0.0f)
      FootOnSegmentInsideCircle(foot);
    else
      SegmentEndsInsideCircle();
  }

  // The segment's point nearest the centre lies in the circle: a contact at the end of the
  // sub-step when, relative to X, it moves into the segment's front.
  void FootOnSegmentInsideCircle(const Vector2D& foot) {
    const Vector2D w = foot - x.GetSubStepPivot();
    const Vector2D v = Unit(x.InverseMotionOf(w, step) - w);
    if (!(ns.Dot(v) <= 0.0f)) return;
    sideX.approached = true;
    const Vector2D normal = Unit(foot - c.c0);
    const Vector2D k1 = x.MotionOf(w, remaining) + x.GetSubStepPivot();
    sideX.Hit(CircleKind, 1.0f, OfX(foot, normal, (foot - k1).Dot(normal)));
  }

  // An end of the segment inside or on the circle: where it entered within the sub-step, or a
  // resting contact within the thickness.
  void SegmentEndsInsideCircle() {
    float distance[2] = {kNoDistance, kNoDistance};
    float length[2] = {0.0f, 0.0f};
    Vector2D hitPoint[2], endPoint[2], offset[2];
    const Vector2D ends[2] = {s.a1, s.b1};
    for (int e = 0; e < 2; ++e) {
      const uint32_t where = ends[e].ClassifyToCircle(circle0);
      if (where != Math::Classification::Inside && where != Math::Classification::OnCircle) continue;
      const Vector2D w = ends[e] - x.GetSubStepPivot();
      const Vector2D back = x.InverseMotionOf(w, step);
      const Vector2D endBack = back + x.GetSubStepPivot();
      const Vector2D v = Unit(back - w);
      if (!(ns.Dot(v) <= 0.0f)) continue;
      sideX.approached = true;
      length[e] = (back - w).Length();
      endPoint[e] = ends[e];
      offset[e] = w;
      if (where == Math::Classification::Inside) {
        Vector2D points[2];
        if (Math::Ray2D(ends[e], v).ClassifyToCircle(circle0, points) == Math::Classification::OneIntersection) {
          distance[e] = (endBack - points[0]).Length();
          hitPoint[e] = points[0];
        }
      } else {
        distance[e] = length[e];
        hitPoint[e] = ends[e];
      }
    }
    const int e = distance[0] < distance[1] ? 0 : 1;
    if (distance[e] == kNoDistance) return;
    const Vector2D normal = Unit(hitPoint[e] - c.c0);
    const Vector2D e1 = x.MotionOf(offset[e], remaining) + x.GetSubStepPivot();
    const float penetration = (hitPoint[e] - e1).Dot(normal);
    if (length[e] >= distance[e]) {
      sideX.Hit(CircleKind, Fraction(distance[e], length[e]), OfX(hitPoint[e], normal, penetration));
      return;
    }
    const float g = (hitPoint[e] - endPoint[e]).Dot(normal);
    if (sideX.threshold > g) {
      sideX.threshold = g;
      sideX.Hit(CircleKind, 0.0f, OfX(hitPoint[e], normal, penetration));
    }
  }

  float PenetrationOfY(const Vector2D& point) const { return ((centreAtOne - ns * c.radius) - point).Dot(-ns); }

  // The circle's point nearest the segment's front swept along the circle's motion. True when the
  // segment's ends are to be swept instead (the circle moves away from the front, or its leading
  // point passes beside the segment).
  bool LeadingPointReachesSegment() {
    const Vector2D leading = c.c0 - ns * c.radius;
    const Vector2D motion = c.c1 - c.c0;
    const float length = motion.Length();
    const Vector2D v = Unit(motion);
    if (ns.Dot(v) > 0.0f) return true;
    sideY.approached = true;
    const Math::LineSegment2D segment1(s.a1, s.b1);
    Vector2D crossing;
    Math::LineSegment2D overlap;
    const uint32_t code = segment1.ClassifyToRay(Math::Ray2D(leading, v), crossing, overlap);
    if (code == Math::Classification::Crossing) {
      const float reach = (crossing - leading).Length();
      if (length >= reach) sideY.Hit(SegmentKind, Fraction(reach, length), OfY(crossing, ns, PenetrationOfY(crossing)));
      return false;
    }
    if (code == Math::Classification::Overlap) {
      const float reach = std::min((s.a1 - leading).Length(), (s.b1 - leading).Length());
      if (length >= reach) sideY.Hit(SegmentKind, Fraction(reach, length), OfY(leading, Unit(c.c0 - leading), 0.0f));
      return false;
    }
    Vector2D restingPoint;
    if (segment1.ClassifyToRay(Math::Ray2D(leading, ns), restingPoint, overlap) == Math::Classification::Crossing) {
      const float g = (leading - restingPoint).Length();
      if (sideY.threshold > g) {
        sideY.threshold = g;
        sideY.Hit(SegmentKind, 0.0f, OfY(leading, ns, PenetrationOfY(leading)));
      }
    }
    return code == Math::Classification::NoContact;
  }

  // The segment's endpoints swept relative to the circle's object against the circle at the start
  // of the sub-step; an end already inside gives a resting contact within the thickness.
  void SegmentEndsReachCircle() {
    const float r = c.radius;
    float distance[2] = {kNoDistance, kNoDistance};
    float lengths[2] = {0.0f, 0.0f};
    Vector2D directions[2];
    bool approaching[2] = {false, false};
    const Vector2D ends[2] = {s.a1, s.b1};
    for (int e = 0; e < 2; ++e) {
      const Vector2D w = ends[e] - y.GetSubStepPivot();
      const Vector2D back = y.InverseMotionOf(w, step);
      lengths[e] = (back - w).Length();
      directions[e] = Unit(back - w);
      if (!(ns.Dot(directions[e]) >= 0.0f)) continue;
      approaching[e] = true;
      sideY.approached = true;
      Vector2D points[2];
      if (Math::Ray2D(ends[e], directions[e]).ClassifyToCircle(circle0, points) != Math::Classification::NoContact)
        distance[e] = (points[0] - ends[e]).Length();
    }
    const int e = distance[0] < distance[1] ? 0 : 1;
    if (lengths[e] >= distance[e]) {
      const float t = Fraction(distance[e], lengths[e]);
      const Vector2D normal = Unit(c.c0 + (c.c1 - c.c0) * t - ends[e]);
      const float penetration = (ends[e] - (centreAtOne - normal * r)).Dot(normal);
      sideY.Hit(SegmentKind, t, OfY(ends[e], normal, penetration));
      return;
    }
    if (!approaching[e]) return;
    Vector2D points[2];
    if (Math::Ray2D(ends[e], -directions[e]).ClassifyToCircle(circle0, points) != Math::Classification::OneIntersection)
      return;
    const float g = (points[0] - ends[e]).Length();
    if (sideY.threshold > g) {
      sideY.threshold = g;
      const Vector2D normal = Unit(c.c0 - ends[e]);
      const float penetration = (ends[e] - (centreAtOne - normal * r)).Dot(normal);
      sideY.Hit(SegmentKind, 0.0f, OfY(ends[e], normal, penetration));
    }
  }
};

}  // namespace

void DynamicObject::CollideLineSegmentsCircles(DynamicObject& x, DynamicObject& y, const uint8_t*, float step,
                                               float i, float* timeX, float* timeY, int32_t* count, bool* hitX,
                                               bool* hitY) {
  PairSide sideX(x, timeX, hitX);
  PairSide sideY(y, timeY, hitY);
  const float t0 = (i - 1.0f) * step;
  const float t1 = i * step;
  x.SetSubStepPosition(x.PositionAt(t1));
  y.SetSubStepPosition(y.PositionAt(t1));
  const float remaining = (static_cast<float>(count ? *count : 1) - i) * step;
  const size_t segments = x.ActiveLineSegmentCount();
  const size_t circles = y.ActiveCircleCount();
  static thread_local std::vector<CirclePose> posesY;
  posesY.clear();
  for (size_t kc = 0; kc < circles; ++kc) posesY.push_back(PlaceCircle(y, kc, i, t0, t1));
  for (size_t ks = 0; ks < segments; ++ks) {
    const SegmentPose s = PlaceSegment(x, ks, i, t0, t1);
    const Vector2D direction1 = Unit(s.b1 - s.a1);
    for (size_t kc = 0; kc < circles; ++kc) {
      const CirclePose& c = posesY[kc];
      SegmentCircleSweep sweep{x,
                               y,
                               sideX,
                               sideY,
                               s,
                               c,
                               direction1,
                               LeftNormal(direction1),
                               Math::Circle2D(c.c0, c.radius),
                               y.PointAt(y.GetLocalCircles()[kc]->center, 1.0f),
                               step,
                               remaining,
                               SegmentUserId(x, ks),
                               CircleUserId(y, kc)};
      sweep.Run();
    }
  }
  MirrorAndCommit(sideX, sideY);
}

// --- Circles against circles -----------------------------------------------------------------

namespace Narrow {

bool SweepCircleAgainstCircle(const Vector2D& c0, const Vector2D& c1, float r, const Vector2D& q, float radius,
                              float& limit, CircleSweepHit& hit) {
  const Vector2D toOther = q - c0;
  const float separation = toOther.Length();
  const Vector2D motion = c1 - c0;
  const float travel = motion.Length();
  const Vector2D m = Unit(motion);
  if (Unit(toOther).Dot(m) < 0.0f) return false;
  hit.approached = true;
  // Without motion the perpendicular line has no direction: the foot is the other centre.
  Vector2D foot = q;
  const float along = c0.DistanceToLine2D(Math::Line2D(q, Vector2D(-m.y, m.x)), foot);
  const float across = (q - foot).Length();
  const float sum = radius + r;
  if (across > sum) return false;
  const float back = std::sqrt(sum * sum - across * across);
  const float reach = along - back;
  const Vector2D centre = foot - m * back;
  hit.normal = Unit(centre - q);
  hit.point = q + hit.normal * radius;
  if (reach < 0.0f) {
    const float overlap = sum - separation;
    if (!(limit > overlap)) return false;
    limit = overlap;
    hit.fraction = 0.0f;
    hit.resting = true;
    return true;
  }
  if (travel < reach) return false;
  hit.fraction = Fraction(reach, travel);
  hit.resting = false;
  return true;
}

}  // namespace Narrow

void DynamicObject::CollideCircles(DynamicObject& a, DynamicObject& b, const uint8_t*, float step, float i,
                                   float* timeA, float* timeB, bool* hitA, bool* hitB) {
  PairSide sideA(a, timeA, hitA);
  PairSide sideB(b, timeB, hitB);
  const float t0 = (i - 1.0f) * step;
  const float t1 = i * step;
  const size_t circlesA = a.ActiveCircleCount();
  const size_t circlesB = b.ActiveCircleCount();
  static thread_local std::vector<CirclePose> posesB;
  posesB.clear();
  for (size_t kb = 0; kb < circlesB; ++kb) posesB.push_back(PlaceCircle(b, kb, i, t0, t1));
  for (size_t ka = 0; ka < circlesA; ++ka) {
    const CirclePose pa = PlaceCircle(a, ka, i, t0, t1);
    const uint32_t idA = CircleUserId(a, ka);
    const Vector2D startA = a.GetOldCircles()[ka]->center;
    const Vector2D endA = a.PointAt(a.GetLocalCircles()[ka]->center, 1.0f);
    for (size_t kb = 0; kb < circlesB; ++kb) {
      const CirclePose& pb = posesB[kb];
      const uint32_t idB = CircleUserId(b, kb);
      CircleSweepHit hit;
      if (SweepCircleAgainstCircle(pa.c0, pa.c1, pa.radius, pb.c0, pb.radius, sideA.threshold, hit)) {
        Contact contact;
        contact.point[0] = hit.point;
        contact.normal = hit.normal;
        // Depth at the end of the frame's motion; a resting one from where the frame started.
        const Vector2D reference = hit.resting ? startA : endA;
        contact.penetration = (-hit.normal).Dot((reference - hit.normal * pa.radius) - hit.point);
        contact.otherUserId = idB;
        contact.ownKind = CircleKind;
        contact.ownUserId = idA;
        sideA.Hit(CircleKind, hit.fraction, contact);
      }
      if (hit.approached) sideA.approached = true;
      if (*hitA) continue;
      CircleSweepHit hitOfB;
      if (SweepCircleAgainstCircle(pb.c0, pb.c1, pb.radius, pa.c1, pa.radius, sideB.threshold, hitOfB)) {
        const Vector2D reference =
            hitOfB.resting ? b.GetOldCircles()[kb]->center : b.PointAt(b.GetLocalCircles()[kb]->center, 1.0f);
        Contact contact;
        contact.point[0] = hitOfB.point;
        contact.normal = hitOfB.normal;
        contact.penetration = (-hitOfB.normal).Dot((reference - hitOfB.normal * pb.radius) - hitOfB.point);
        contact.otherUserId = idA;
        contact.ownKind = CircleKind;
        contact.ownUserId = idB;
        sideB.Hit(CircleKind, hitOfB.fraction, contact);
      }
      if (hitOfB.approached) sideB.approached = true;
    }
  }
  MirrorAndCommit(sideA, sideB);
}

}  // namespace Collision2D
