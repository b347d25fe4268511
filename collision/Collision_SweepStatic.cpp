// Swept tests of one moving dynamic object against fixed shapes: the static circles and segments
// of its layer, and the shapes of a partner object that did not move this frame. The motion is
// cut into the object's sub-steps; the first sub-step with a contact ends the test.
#include <algorithm>
#include <cmath>

#include "collision/Collision_NarrowPhase.h"
#include "math/Math_Line2D.h"
#include "math/Math_Ray2D.h"

namespace Collision2D {

namespace {

using Math::Vector2D;
using namespace Narrow;

// Where the kernels put what they find.
class HitSink {
 public:
  virtual ~HitSink() = default;
  // A contact point at fraction f of the sub-step.
  virtual void Record(float f, const Vector2D& point, const Vector2D& normal, float penetration, ShapeKind ownKind,
                      uint32_t ownUserId) = 0;
};

// The sub-step under test of one moving object.
struct SubStep {
  const DynamicObject& object;
  float step;
  float i;
  float t0, t1;
  int32_t count;

  SubStep(const DynamicObject& o, float stepLength, float subStep, int32_t stepCount)
      : object(o), step(stepLength), i(subStep), t0((subStep - 1.0f) * stepLength), t1(subStep * stepLength),
        count(stepCount) {}

  // The pivot at the start of the sub-step.
  Vector2D Start() const { return object.PivotAt(t0); }
  // A fixed point's motion relative to the object over the sub-step.
  void RelativeMotion(const Vector2D& point, Vector2D& motion, float& travel, Vector2D& direction) const {
    const Vector2D q = point - object.GetSubStepPivot();
    motion = object.InverseMotionOf(q, step) - q;
    travel = motion.Length();
    direction = Unit(motion);
  }
  // A point of the object carried from the start of the sub-step to the end of the frame.
  Vector2D CarryFromStart(const Vector2D& point) const {
    const Vector2D p0 = Start();
    return p0 + object.MotionOf(point - p0, (static_cast<float>(count) - i + 1.0f) * step);
  }
  // A point of the object carried from the end of the sub-step to the end of the frame.
  Vector2D CarryFromEnd(const Vector2D& point) const {
    const Vector2D p1 = object.GetSubStepPivot();
    return p1 + object.MotionOf(point - p1, (static_cast<float>(count) - i) * step);
  }
};

struct SweptCandidate {
  bool active = false;
  bool movingEnd = true;
  float distance = 0.0f;
  float travel = 0.0f;
  Vector2D point;
  Vector2D normal;
  float penetration = 0.0f;
};

// One of the object's segments against a fixed segment.
void SegmentAgainstSegment(const SubStep& sub, const Math::LineSegment2D& local, const SegmentPose& pose,
                           const Math::LineSegment2D& fixed, uint32_t ownUserId, float& limit, HitSink& sink) {
  const Vector2D d = Unit(fixed.pointB - fixed.pointA);
  const Vector2D nS = LeftNormal(d);
  const Vector2D u = Unit(pose.b0 - pose.a0);
  const Vector2D nU = LeftNormal(u);
  SweptCandidate candidates[4];  // end a, end b, static end B, static end A
  const Vector2D starts[2] = {pose.a0, pose.b0};
  const Vector2D ends[2] = {pose.a1, pose.b1};
  const Vector2D locals[2] = {local.pointA, local.pointB};
  Math::LineSegment2D overlap;
  for (int e = 0; e < 2; ++e) {
    const Vector2D motion = ends[e] - starts[e];
    const float travel = motion.Length();
    const Vector2D m = Unit(motion);
    if (!(nS.Dot(m) <= 0.0f && nU.Dot(m) >= 0.0f)) continue;
    const float penetration = (-nS).Dot(sub.object.PointAt(locals[e], 1.0f) - fixed.pointA);
    Vector2D q;
    const uint32_t code = fixed.ClassifyToRay(Math::Ray2D(starts[e], m), q, overlap);
    if (code == Math::Classification::Crossing) {
      const float distance = (q - starts[e]).Length();
      if (distance <= travel) {
        SweptCandidate& candidate = candidates[e];
        candidate.active = true;
        candidate.distance = distance;
        candidate.travel = travel;
        candidate.point = q;
        candidate.normal = nS;
        candidate.penetration = penetration;
      }
    } else if (code == Math::Classification::Overlap) {
      if ((fixed.pointA - starts[e]).Dot(fixed.pointB - starts[e]) < 0.0f)
        sink.Record(1.0f, ends[e], nS, penetration, SegmentKind, ownUserId);
    } else if (fixed.ClassifyToRay(Math::Ray2D(starts[e], nS), q, overlap) == Math::Classification::Crossing) {
      const float gap = (q - starts[e]).Length();
      if (gap <= limit) {
        limit = gap;
        sink.Record(0.0f, q, nS, penetration, SegmentKind, ownUserId);
      }
    }
  }
  // The static ends moving, relative to the object, into the segment's front: B unless end a
  // has a swept hit, A unless end b has.
  const Math::LineSegment2D start(pose.a0, pose.b0);
  for (int r = 0; r < 2; ++r) {
    if (candidates[r].active) continue;
    const Vector2D e = r == 0 ? fixed.pointB : fixed.pointA;
    Vector2D motion, m;
    float travel;
    sub.RelativeMotion(e, motion, travel, m);
    if (!(nS.Dot(m) >= 0.0f && nU.Dot(m) <= 0.0f)) continue;
    Vector2D p;
    if (start.ClassifyToRay(Math::Ray2D(e, m), p, overlap) != Math::Classification::Crossing) continue;
    const float distance = (p - e).Length();
    if (distance > travel) continue;
    // The depth of the end behind the segment carried to the end of the frame.
    const float penetration = nU.Dot(sub.CarryFromStart(p) - e);
    const float along = m.Dot(d);
    if (along == 1.0f || along == -1.0f) {
      const Vector2D p0 = sub.Start();
      sink.Record(1.0f, p0 + sub.object.MotionOf(p - p0, sub.step), -nU, penetration, SegmentKind, ownUserId);
      continue;
    }
    SweptCandidate& candidate = candidates[2 + r];
    candidate.active = true;
    candidate.movingEnd = false;
    candidate.distance = distance;
    candidate.travel = travel;
    candidate.point = e;
    candidate.normal = -nU;
    candidate.penetration = penetration;
  }
  const SweptCandidate* first = nullptr;
  const SweptCandidate* second = nullptr;
  for (const SweptCandidate& candidate : candidates) {
    if (!candidate.active) continue;
    if (first == nullptr)
      first = &candidate;
    else if (second == nullptr)
      second = &candidate;
  }
  if (first == nullptr) return;
  if (second != nullptr) {
    if (std::fabs(first->distance - second->distance) <= kPairTolerance) {
      // Both points at one fraction: the moving end's when one of them is a moving end.
      const SweptCandidate& timed = first->movingEnd ? *first : (second->movingEnd ? *second : *first);
      const float f = Fraction(timed.distance, timed.travel);
      sink.Record(f, first->point, first->normal, first->penetration, SegmentKind, ownUserId);
      sink.Record(f, second->point, second->normal, second->penetration, SegmentKind, ownUserId);
      return;
    }
    if (second->distance < first->distance) first = second;
  }
  sink.Record(Fraction(first->distance, first->travel), first->point, first->normal, first->penetration, SegmentKind,
              ownUserId);
}

// One of the object's circles against a fixed segment.
void CircleAgainstSegment(const SubStep& sub, const Math::Circle2D& local, const CirclePose& pose,
                          const Math::LineSegment2D& fixed, uint32_t ownUserId, float& limit, HitSink& sink) {
  const float r = pose.radius;
  const Vector2D d = Unit(fixed.pointB - fixed.pointA);
  const Vector2D nS = LeftNormal(d);
  const Vector2D leading0 = pose.c0 - nS * r;
  const Vector2D leading1 = pose.c1 - nS * r;
  const Vector2D motion = leading1 - leading0;
  const float travel = motion.Length();
  const Vector2D m = Unit(motion);
  const Vector2D centreAtOne = sub.object.PointAt(local.center, 1.0f);
  Math::LineSegment2D overlap;
  if (nS.Dot(m) <= 0.0f) {
    const float penetration = (-nS).Dot((centreAtOne - nS * r) - fixed.pointA);
    Vector2D q;
    const uint32_t code = fixed.ClassifyToRay(Math::Ray2D(leading0, m), q, overlap);
    if (code == Math::Classification::Crossing) {
      const float distance = (q - leading0).Length();
      if (distance <= travel) sink.Record(Fraction(distance, travel), q, nS, penetration, CircleKind, ownUserId);
      return;
    }
    if (code == Math::Classification::Overlap) {
      if ((fixed.pointA - leading0).Dot(fixed.pointB - leading0) < 0.0f)
        sink.Record(1.0f, leading1, nS, penetration, CircleKind, ownUserId);
      return;
    }
    if (fixed.ClassifyToRay(Math::Ray2D(leading0, nS), q, overlap) == Math::Classification::Crossing) {
      const float gap = (q - leading0).Length();
      if (gap <= limit) {
        limit = gap;
        sink.Record(0.0f, q, nS, penetration, CircleKind, ownUserId);
        return;
      }
    }
    // The leading point passes beside the segment: the circle may still run into one of its ends.
  }
  // The segment's ends, moving relative to the object, against the circle at the start of the
  // sub-step. Only an end that moves towards the circle's centre counts.
  const Math::Circle2D circle0(pose.c0, r);
  float distance[2] = {kNoDistance, kNoDistance};
  float travels[2] = {0.0f, 0.0f};
  Vector2D directions[2];
  bool approaching[2] = {false, false};
  bool inside[2] = {false, false};
  const Vector2D ends[2] = {fixed.pointA, fixed.pointB};
  for (int e = 0; e < 2; ++e) {
    Vector2D relative;
    sub.RelativeMotion(ends[e], relative, travels[e], directions[e]);
    if (!(directions[e].Dot(pose.c0 - ends[e]) > 0.0f)) continue;
    approaching[e] = true;
    inside[e] = ends[e].ClassifyToCircle(circle0) == Math::Classification::Inside;
    if (inside[e]) continue;
    Vector2D points[2];
    if (Math::Ray2D(ends[e], directions[e]).ClassifyToCircle(circle0, points) != Math::Classification::NoContact)
      distance[e] = (points[0] - ends[e]).Length();
  }
  const int e = distance[0] < distance[1] ? 0 : 1;
  if (distance[e] <= travels[e]) {
    const float f = Fraction(distance[e], travels[e]);
    const Vector2D normal = Unit(pose.c0 + (pose.c1 - pose.c0) * f - ends[e]);
    const float penetration = (ends[e] - (centreAtOne - normal * r)).Dot(normal);
    sink.Record(f, ends[e], normal, penetration, CircleKind, ownUserId);
    return;
  }
  // An end already inside and moving deeper: a resting contact within the thickness.
  for (int k = 0; k < 2; ++k) {
    if (!approaching[k] || !inside[k]) continue;
    Vector2D points[2];
    if (Math::Ray2D(ends[k], -directions[k]).ClassifyToCircle(circle0, points) !=
        Math::Classification::OneIntersection)
      continue;
    const float gap = (points[0] - ends[k]).Length();
    if (gap < limit) {
      limit = gap;
      const Vector2D normal = Unit(pose.c0 - ends[k]);
      const float penetration = (ends[k] - (centreAtOne - normal * r)).Dot(normal);
      sink.Record(0.0f, ends[k], normal, penetration, CircleKind, ownUserId);
    }
  }
}

// One of the object's segments against a fixed circle, judged at the end of the sub-step.
void SegmentAgainstCircle(const SubStep& sub, const SegmentPose& pose, const Math::Circle2D& fixed,
                          uint32_t ownUserId, float& limit, HitSink& sink) {
  const Vector2D u = Unit(pose.b1 - pose.a1);
  const Vector2D nU = LeftNormal(u);
  Vector2D foot;
  const float dist = fixed.center.DistanceToLine(pose.a1, u, foot);
  const float radius = fixed.radius;
  if (dist > radius) return;
  auto swept = [&](const Vector2D& objectPoint, const Vector2D& contactPoint, float f) {
    const Vector2D normal = Unit(contactPoint - fixed.center);
    const float penetration = (contactPoint - sub.CarryFromEnd(objectPoint)).Dot(normal);
    sink.Record(f, contactPoint, normal, penetration, SegmentKind, ownUserId);
  };
  // An object point that was inside the circle already at the start of the sub-step.
  auto resting = [&](const Vector2D& objectPoint) {
    const Vector2D normal = Unit(objectPoint - fixed.center);
    const float depth = std::max(0.0f, radius - (objectPoint - fixed.center).Length());
    if (!(depth < limit)) return;
    limit = depth;
    sink.Record(0.0f, fixed.center + normal * radius, normal, depth, SegmentKind, ownUserId);
  };
  // Where an inside point entered the circle during the sub-step, measured from its start.
  auto entry = [&](const Vector2D& point, const Vector2D& motion, float travel, const Vector2D& m, Vector2D& at,
                   float& fromStart) {
    Vector2D points[2];
    if (Math::Ray2D(point, m).ClassifyToCircle(fixed, points) != Math::Classification::OneIntersection) return false;
    if ((points[0] - point).Length() > travel) return false;
    at = points[0];
    fromStart = (point + motion - points[0]).Length();
    return true;
  };
  const bool footOnSegment = (pose.a1 - foot).Dot(pose.b1 - foot) <= 0.0f;
  if (dist == radius) {
    if (!footOnSegment) return;
    Vector2D motion, m;
    float travel;
    sub.RelativeMotion(foot, motion, travel, m);
    if (nU.Dot(m) <= 0.0f) swept(foot, foot, 1.0f);
    return;
  }
  if ((pose.a1 - foot).Dot(pose.b1 - foot) < 0.0f) {
    Vector2D motion, m;
    float travel;
    sub.RelativeMotion(foot, motion, travel, m);
    if (!(nU.Dot(m) <= 0.0f)) return;
    Vector2D at;
    float fromStart;
    if (entry(foot, motion, travel, m, at, fromStart))
      swept(foot, at, Fraction(fromStart, travel));
    else
      resting(foot);
    return;
  }
  float distance[2] = {kNoDistance, kNoDistance};
  float travels[2] = {0.0f, 0.0f};
  Vector2D contact[2];
  bool inside[2] = {false, false};
  const Vector2D ends[2] = {pose.a1, pose.b1};
  for (int e = 0; e < 2; ++e) {
    const uint32_t where = ends[e].ClassifyToCircle(fixed);
    if (where != Math::Classification::Inside && where != Math::Classification::OnCircle) continue;
    Vector2D motion, m;
    sub.RelativeMotion(ends[e], motion, travels[e], m);
    if (!(nU.Dot(m) <= 0.0f)) continue;
    inside[e] = true;
    if (where == Math::Classification::OnCircle) {
      distance[e] = travels[e];
      contact[e] = ends[e];
    } else if (!entry(ends[e], motion, travels[e], m, contact[e], distance[e])) {
      distance[e] = kNoDistance;
    }
  }
  const int e = distance[0] < distance[1] ? 0 : 1;
  if (distance[e] != kNoDistance && distance[e] <= travels[e]) {
    swept(ends[e], contact[e], Fraction(distance[e], travels[e]));
  } else if (inside[e] || inside[1 - e]) {
    resting(inside[e] ? ends[e] : ends[1 - e]);
  }
}

// One of the object's circles against a fixed circle.
void CircleAgainstCircle(const SubStep& sub, const Math::Circle2D& local, const Math::Circle2D& oldCopy,
                         const CirclePose& pose, const Math::Circle2D& fixed, uint32_t ownUserId, float& limit,
                         HitSink& sink) {
  CircleSweepHit hit;
  if (!SweepCircleAgainstCircle(pose.c0, pose.c1, pose.radius, fixed.center, fixed.radius, limit, hit)) return;
  const Vector2D reference = hit.resting ? oldCopy.center : sub.object.PointAt(local.center, 1.0f);
  const float penetration = (-hit.normal).Dot((reference - hit.normal * pose.radius) - hit.point);
  sink.Record(hit.fraction, hit.point, hit.normal, penetration, CircleKind, ownUserId);
}

// --- Static records: every point of one static shape gathers in one record ------------------

// The record is reached at the first point only: reaching it marks the container for the next
// reset and allocates its records, which most sweeps, finding nothing, need not do.
template <typename RecordOf>
class StaticSink : public HitSink {
 public:
  explicit StaticSink(RecordOf recordOf) : m_recordOf(recordOf) {}

  void Record(float f, const Vector2D& point, const Vector2D& normal, float penetration, ShapeKind ownKind,
              uint32_t ownUserId) override {
    if (f > m_best) return;
    if (m_record == nullptr) m_record = &m_recordOf();
    ShapeContact& record = *m_record;
    if (f < m_best) {
      m_best = f;
      record.ClearUserIds();
      record.numberOfIntersectedPoints = 1;
    } else {
      record.numberOfIntersectedPoints = std::min(record.numberOfIntersectedPoints + 1, kMaximumContactPoints);
    }
    const int slot = record.numberOfIntersectedPoints - 1;
    record.contactPoint[slot] = point;
    record.normal[slot] = normal;
    if (ownKind == SegmentKind)
      record.myLineSegmentUserId[slot] = ownUserId;
    else
      record.myCircleUserId[slot] = ownUserId;
    record.penetrationDistance = std::max(0.0f, penetration);
  }

  float Best() const { return m_best; }
  bool Hit() const { return m_best <= 1.0f; }
  // The record written (after a hit).
  ShapeContact& Written() { return *m_record; }

 private:
  RecordOf m_recordOf;
  ShapeContact* m_record = nullptr;
  float m_best = kNoHit;
};

// The sub-steps in order until one has a contact. For an object that does not turn, sub-steps and
// shapes whose boxes lie out of the fixed shape's reach are not tested: their exact tests find
// nothing, and the placements they would leave are made all the same.
template <typename RecordOf, typename Test>
bool SweepStatic(DynamicObject& object, RecordOf recordOf, const Box& fixedBox, Test&& test) {
  const int32_t count = object.GetStepCount();
  if (count < 1) return false;
  const float step = 1.0f / static_cast<float>(count);
  StaticSink<RecordOf> sink(recordOf);
  float limit = object.GetCollisionThickness();
  SweepBounds bounds;
  if (ShortcutsEnabled()) bounds.Of(object);
  const Math::Vector2D stepTravel = object.GetStepDisplacement();
  // The rounding of the whole frame's box holds for every sub-step's and shape's within it.
  const float rounding = bounds.valid ? RoundingOf(bounds.Frame(object), fixedBox) : 0.0f;
  auto outOfReach = [&](const Box& box, float rest) {
    return BoxesApartBy(box, fixedBox, GapOf(rest + std::fabs(stepTravel.x), rounding),
                        GapOf(rest + std::fabs(stepTravel.y), rounding));
  };
  const float thickness = std::max(0.0f, limit);
  if (bounds.valid && outOfReach(bounds.Frame(object), thickness)) {
    PlaceAtSubStepEnd(object, static_cast<float>(count) * step);
    return false;
  }
  for (int32_t index = 1; index <= count; ++index) {
    const SubStep sub(object, step, static_cast<float>(index), count);
    if (bounds.valid && outOfReach(bounds.SubStep(object, index == 1, sub.t0, sub.t1), thickness)) {
      if (index == count) PlaceAtSubStepEnd(object, sub.t1);
      continue;
    }
    object.SetSubStepPosition(object.PositionAt(sub.t1));
    const size_t segments = object.ActiveLineSegmentCount();
    for (size_t k = 0; k < segments; ++k) {
      const SegmentPose pose = PlaceSegment(object, k, sub.i, sub.t0, sub.t1);
      if (bounds.valid && outOfReach(Box::Of(pose), std::max(0.0f, limit))) continue;
      test.Segment(sub, k, pose, sink, limit);
    }
    const size_t circles = object.ActiveCircleCount();
    for (size_t k = 0; k < circles; ++k) {
      const CirclePose pose = PlaceCircle(object, k, sub.i, sub.t0, sub.t1);
      if (bounds.valid && outOfReach(Box::Of(pose), std::max(0.0f, limit))) continue;
      test.Circle(sub, k, pose, sink, limit);
    }
    if (sink.Hit()) {
      const float t = (sub.i - 1.0f) * step + sink.Best() * step;
      sink.Written().contactPosition = object.PositionAt(t);
      sink.Written().contactOrientation = object.OrientationAt(t);
      return true;
    }
  }
  return false;
}

}  // namespace

void DynamicObject::SweepAgainstStaticLineSegment(const StaticCollisionLineSegment& segment,
                                                  const uint8_t& layerIndex) {
  const Math::LineSegment2D* fixed = segment.GetLineSegment();
  if (fixed == nullptr) return;
  auto recordOf = [this]() -> ShapeContact& { return m_results.CurrentStaticLineSegmentContact(); };
  struct Test {
    const DynamicObject& object;
    const Math::LineSegment2D& fixed;
    void Segment(const SubStep& sub, size_t k, const SegmentPose& pose, HitSink& sink, float& limit) {
      SegmentAgainstSegment(sub, *object.GetLocalLineSegments()[k], pose, fixed, SegmentUserId(object, k), limit, sink);
    }
    void Circle(const SubStep& sub, size_t k, const CirclePose& pose, HitSink& sink, float& limit) {
      CircleAgainstSegment(sub, *object.GetLocalCircles()[k], pose, fixed, CircleUserId(object, k), limit, sink);
    }
  } test{*this, *fixed};
  if (!SweepStatic(*this, recordOf, Box::Of(fixed->pointA, fixed->pointB), test)) return;
  LNS_C& record = m_results.CurrentStaticLineSegmentContact();
  record.id = MakeCollisionId(segment.GetSlot() + kStaticLineSegmentIdBase, layerIndex, segment.GetZCollision());
  record.userId = segment.GetUserId();
  record.otherOwner = segment.GetTag().GetOwner();
  m_results.NextStaticLineSegment();
}

void DynamicObject::SweepAgainstStaticCircle(const StaticCollisionCircle& circle, const uint8_t& layerIndex) {
  const Math::Circle2D* fixed = circle.GetCircle();
  if (fixed == nullptr) return;
  auto recordOf = [this]() -> ShapeContact& { return m_results.CurrentStaticCircleContact(); };
  struct Test {
    const DynamicObject& object;
    const Math::Circle2D& fixed;
    void Segment(const SubStep& sub, size_t k, const SegmentPose& pose, HitSink& sink, float& limit) {
      SegmentAgainstCircle(sub, pose, fixed, SegmentUserId(object, k), limit, sink);
    }
    void Circle(const SubStep& sub, size_t k, const CirclePose& pose, HitSink& sink, float& limit) {
      CircleAgainstCircle(sub, *object.GetLocalCircles()[k], *object.GetOldCircles()[k], pose, fixed,
                          CircleUserId(object, k), limit, sink);
    }
  } test{*this, *fixed};
  if (!SweepStatic(*this, recordOf, Box::Of(*fixed), test)) return;
  CIR_C& record = m_results.CurrentStaticCircleContact();
  record.id = MakeCollisionId(circle.GetSlot() + kStaticCircleIdBase, layerIndex, circle.GetZCollision());
  record.userId = circle.GetUserId();
  record.otherOwner = circle.GetTag().GetOwner();
  m_results.NextStaticCircle();
}

// --- Only the first object moved: the same kernels against the partner's resting shapes -------

namespace {

// Sub-records of the moving object's DGEO_C for this partner, under the best fraction the
// driver shares between the tests of one sub-step.
class PairSink : public HitSink {
 public:
  PairSink(DynamicObject& a, DynamicObject& b, ShapeKind entryKind, float* best)
      : m_a(a), m_b(b), m_kind(entryKind), m_best(best) {}

  void SetOtherUserId(uint32_t id) { m_otherUserId = id; }

  void Record(float f, const Vector2D& point, const Vector2D& normal, float penetration, ShapeKind ownKind,
              uint32_t ownUserId) override {
    DGEO_C& record = m_a.GetCollisionData()->CurrentDynamicObjectContact();
    if (f > *m_best) return;
    if (f == *m_best) {
      if (m_wrote) AdvanceEntry(record, m_kind);
    } else {
      *m_best = f;
      record.currentLineSegmentsNumber = 0;
      record.currentCirclesNumber = 0;
      // B's entries for this partner are mirrors of A's: they go with them.
      DGEO_C& partner = m_b.GetCollisionData()->CurrentDynamicObjectContact();
      partner.currentLineSegmentsNumber = 0;
      partner.currentCirclesNumber = 0;
    }
    FillEntry(CurrentEntry(record, m_kind), MakeContact(point, normal, penetration, m_otherUserId, ownKind, ownUserId));
    m_wrote = true;
    m_ownKind = ownKind;
  }

  // Mirrors the last entry into the partner and closes both.
  bool Finish() {
    if (!m_wrote) return false;
    DGEO_C& record = m_a.GetCollisionData()->CurrentDynamicObjectContact();
    DGEO_C& partner = m_b.GetCollisionData()->CurrentDynamicObjectContact();
    MirrorEntry(CurrentEntry(record, m_kind), m_ownKind, m_kind, CurrentEntry(partner, m_ownKind));
    AdvanceEntry(partner, m_ownKind);
    AdvanceEntry(record, m_kind);
    return true;
  }

 private:
  DynamicObject& m_a;
  DynamicObject& m_b;
  ShapeKind m_kind;
  float* m_best;
  uint32_t m_otherUserId = 0;
  bool m_wrote = false;
  ShapeKind m_ownKind = SegmentKind;
};

}  // namespace

bool DynamicObject::SweepLineSegmentsAgainstCircles(DynamicObject& other, const uint8_t&, float step, float subStep,
                                                    float* bestFraction) {
  PairSink sink(*this, other, CircleKind, bestFraction);
  const SubStep sub(*this, step, subStep, m_stepCount);
  float limit = m_collisionThickness;
  SetSubStepPosition(PositionAt(sub.t1));
  const size_t segments = ActiveLineSegmentCount();
  const size_t circles = other.ActiveCircleCount();
  for (size_t k = 0; k < segments; ++k) {
    const SegmentPose pose = PlaceSegment(*this, k, subStep, sub.t0, sub.t1);
    for (size_t c = 0; c < circles; ++c) {
      sink.SetOtherUserId(CircleUserId(other, c));
      SegmentAgainstCircle(sub, pose, *other.GetOldCircles()[c], SegmentUserId(*this, k), limit, sink);
    }
  }
  return sink.Finish();
}

bool DynamicObject::SweepCirclesAgainstLineSegments(DynamicObject& other, const uint8_t&, float step, float subStep,
                                                    float* bestFraction) {
  PairSink sink(*this, other, SegmentKind, bestFraction);
  const SubStep sub(*this, step, subStep, m_stepCount);
  float limit = m_collisionThickness;
  SetSubStepPosition(PositionAt(sub.t1));
  const size_t circles = ActiveCircleCount();
  const size_t segments = other.ActiveLineSegmentCount();
  for (size_t k = 0; k < circles; ++k) {
    const CirclePose pose = PlaceCircle(*this, k, subStep, sub.t0, sub.t1);
    for (size_t s = 0; s < segments; ++s) {
      sink.SetOtherUserId(SegmentUserId(other, s));
      CircleAgainstSegment(sub, *GetLocalCircles()[k], pose, *other.GetOldLineSegments()[s], CircleUserId(*this, k),
                           limit, sink);
    }
  }
  return sink.Finish();
}

bool DynamicObject::SweepCirclesAgainstCircles(DynamicObject& other, const uint8_t&, float step, float subStep,
                                               float* bestFraction) {
  PairSink sink(*this, other, CircleKind, bestFraction);
  const SubStep sub(*this, step, subStep, m_stepCount);
  float limit = m_collisionThickness;
  SetSubStepPosition(PositionAt(sub.t1));
  const size_t circles = ActiveCircleCount();
  const size_t others = other.ActiveCircleCount();
  for (size_t k = 0; k < circles; ++k) {
    const CirclePose pose = PlaceCircle(*this, k, subStep, sub.t0, sub.t1);
    for (size_t c = 0; c < others; ++c) {
      sink.SetOtherUserId(CircleUserId(other, c));
      CircleAgainstCircle(sub, *GetLocalCircles()[k], *GetOldCircles()[k], pose, *other.GetOldCircles()[c],
                          CircleUserId(*this, k), limit, sink);
    }
  }
  return sink.Finish();
}

}  // namespace Collision2D
