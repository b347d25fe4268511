// Contact tests without motion: shapes at the old pose as they stand, for objects that rest but
// must still report what they lie on or lean against.
#include <algorithm>

#include "collision/Collision_NarrowPhase.h"

namespace Collision2D {

namespace {

using Math::Vector2D;
using namespace Narrow;
namespace Code = Math::Classification;

// Number of contact points a classification stands for (0: none).
int SegmentSegmentPoints(uint32_t code) {
  if (code == Code::Crossing) return 1;
  if (code == Code::Overlap) return 2;
  return 0;
}

int SegmentCirclePoints(uint32_t code) {
  if (code == Code::Tangent || code == Code::OneIntersection) return 1;
  if (code == Code::TwoIntersections) return 2;
  return 0;
}

int CircleCirclePoints(uint32_t code) {
  if (code == Code::TwoIntersections) return 2;
  if (code == Code::InternalTangency || code == Code::ExternalTangency) return 1;
  return 0;
}

Vector2D Direction(const Math::LineSegment2D& segment) { return Unit(segment.pointB - segment.pointA); }

// Writes A's sub-record and B's mirror, then closes both: one sub-record per touching pair.
void RecordTouch(DynamicObject& a, DynamicObject& b, ShapeKind kindOfB, const Contact& contact) {
  DGEO_C& recordA = a.GetCollisionData()->CurrentDynamicObjectContact();
  DGEO_C& recordB = b.GetCollisionData()->CurrentDynamicObjectContact();
  ShapeContact& entry = CurrentEntry(recordA, kindOfB);
  FillEntry(entry, contact);
  MirrorEntry(entry, contact.ownKind, kindOfB, CurrentEntry(recordB, contact.ownKind));
  AdvanceEntry(recordA, kindOfB);
  AdvanceEntry(recordB, contact.ownKind);
}

Contact MakeTouch(int points, const Vector2D pointList[2], const Vector2D& normal, uint32_t otherUserId,
                  ShapeKind ownKind, uint32_t ownUserId) {
  Contact contact;
  contact.points = points;
  contact.point[0] = pointList[0];
  contact.point[1] = pointList[1];
  contact.normal = normal;
  contact.penetration = 0.0f;
  contact.otherUserId = otherUserId;
  contact.ownKind = ownKind;
  contact.ownUserId = ownUserId;
  return contact;
}

// All points an object finds against one static shape gather in one record of at most four.
void AddStaticPoints(ShapeContact& record, int points, const Vector2D pointList[2], const Vector2D& normal,
                     ShapeKind ownKind, uint32_t ownUserId) {
  record.numberOfIntersectedPoints = std::min(record.numberOfIntersectedPoints + points, kMaximumContactPoints);
  for (int p = 0; p < points; ++p) {
    const int slot = record.numberOfIntersectedPoints - points + p;
    record.contactPoint[slot] = pointList[p];
    record.normal[slot] = normal;
    if (ownKind == SegmentKind)
      record.myLineSegmentUserId[slot] = ownUserId;
    else
      record.myCircleUserId[slot] = ownUserId;
  }
}

}  // namespace

bool DynamicObject::TouchLineSegments(DynamicObject& other, const uint8_t&) {
  bool any = false;
  const size_t ownCount = ActiveLineSegmentCount();
  const size_t otherCount = other.ActiveLineSegmentCount();
  for (size_t k = 0; k < ownCount; ++k) {
    const Math::LineSegment2D& mine = *m_oldSegments[k];
    for (size_t s = 0; s < otherCount; ++s) {
      const Math::LineSegment2D& theirs = *other.m_oldSegments[s];
      Vector2D points[2];
      Math::LineSegment2D overlap;
      const int count = SegmentSegmentPoints(mine.ClassifyToLineSegment(theirs, points[0], overlap));
      if (count == 0) continue;
      if (count == 2) {
        points[0] = overlap.pointA;
        points[1] = overlap.pointB;
      }
      RecordTouch(*this, other, SegmentKind,
                  MakeTouch(count, points, LeftNormal(Direction(theirs)), SegmentUserId(other, s), SegmentKind,
                            SegmentUserId(*this, k)));
      any = true;
    }
  }
  return any;
}

bool DynamicObject::TouchLineSegmentsWithCircles(DynamicObject& other, const uint8_t&) {
  bool any = false;
  const size_t ownCount = ActiveLineSegmentCount();
  const size_t otherCount = other.ActiveCircleCount();
  for (size_t k = 0; k < ownCount; ++k) {
    const Math::LineSegment2D& mine = *m_oldSegments[k];
    const Vector2D d = Direction(mine);
    for (size_t c = 0; c < otherCount; ++c) {
      Vector2D points[2];
      const int count = SegmentCirclePoints(mine.ClassifyToCircle(*other.m_oldCircles[c], points));
      if (count == 0) continue;
      RecordTouch(*this, other, CircleKind,
                  MakeTouch(count, points, Vector2D(d.y, -d.x), CircleUserId(other, c), SegmentKind,
                            SegmentUserId(*this, k)));
      any = true;
    }
  }
  return any;
}

bool DynamicObject::TouchCirclesWithLineSegments(DynamicObject& other, const uint8_t&) {
  bool any = false;
  const size_t ownCount = ActiveCircleCount();
  const size_t otherCount = other.ActiveLineSegmentCount();
  for (size_t k = 0; k < ownCount; ++k) {
    const Math::Circle2D& mine = *m_oldCircles[k];
    for (size_t s = 0; s < otherCount; ++s) {
      const Math::LineSegment2D& theirs = *other.m_oldSegments[s];
      Vector2D points[2];
      const int count = SegmentCirclePoints(mine.ClassifyToLineSegment(theirs, points));
      if (count == 0) continue;
      RecordTouch(*this, other, SegmentKind,
                  MakeTouch(count, points, LeftNormal(Direction(theirs)), SegmentUserId(other, s), CircleKind,
                            CircleUserId(*this, k)));
      any = true;
    }
  }
  return any;
}

bool DynamicObject::TouchCircles(DynamicObject& other, const uint8_t&) {
  bool any = false;
  const size_t ownCount = ActiveCircleCount();
  const size_t otherCount = other.ActiveCircleCount();
  for (size_t k = 0; k < ownCount; ++k) {
    const Math::Circle2D& mine = *m_oldCircles[k];
    for (size_t c = 0; c < otherCount; ++c) {
      const Math::Circle2D& theirs = *other.m_oldCircles[c];
      Vector2D points[2];
      const int count = CircleCirclePoints(mine.ClassifyToCircle(theirs, points));
      if (count == 0) continue;
      RecordTouch(*this, other, CircleKind,
                  MakeTouch(count, points, Unit(mine.center - theirs.center), CircleUserId(other, c), CircleKind,
                            CircleUserId(*this, k)));
      any = true;
    }
  }
  return any;
}

void DynamicObject::TouchStaticLineSegment(const StaticCollisionLineSegment& segment, const uint8_t& layerIndex) {
  const Math::LineSegment2D* fixed = segment.GetLineSegment();
  if (fixed == nullptr) return;
  LNS_C& record = m_results.CurrentStaticLineSegmentContact();
  record.ClearUserIds();
  const Vector2D normal = LeftNormal(Direction(*fixed));
  bool any = false;
  const size_t segments = ActiveLineSegmentCount();
  for (size_t k = 0; k < segments; ++k) {
    Vector2D points[2];
    Math::LineSegment2D overlap;
    const int count = SegmentSegmentPoints(m_oldSegments[k]->ClassifyToLineSegment(*fixed, points[0], overlap));
    if (count == 0) continue;
    if (count == 2) {
      points[0] = overlap.pointA;
      points[1] = overlap.pointB;
    }
    AddStaticPoints(record, count, points, normal, SegmentKind, SegmentUserId(*this, k));
    any = true;
  }
  const size_t circles = ActiveCircleCount();
  for (size_t k = 0; k < circles; ++k) {
    Vector2D points[2];
    const int count = SegmentCirclePoints(m_oldCircles[k]->ClassifyToLineSegment(*fixed, points));
    if (count == 0) continue;
    AddStaticPoints(record, count, points, normal, CircleKind, CircleUserId(*this, k));
    any = true;
  }
  if (!any) return;
  record.id = MakeCollisionId(segment.GetSlot() + kStaticLineSegmentIdBase, layerIndex, segment.GetZCollision());
  record.contactPosition = m_oldPosition;
  record.contactOrientation = m_oldOrientation;
  record.userId = segment.GetUserId();
  record.otherOwner = segment.GetTag().GetOwner();
  record.penetrationDistance = 0.0f;
  m_results.NextStaticLineSegment();
}

void DynamicObject::TouchStaticCircle(const StaticCollisionCircle& circle, const uint8_t& layerIndex) {
  const Math::Circle2D* fixed = circle.GetCircle();
  if (fixed == nullptr) return;
  CIR_C& record = m_results.CurrentStaticCircleContact();
  record.ClearUserIds();
  bool any = false;
  const size_t segments = ActiveLineSegmentCount();
  for (size_t k = 0; k < segments; ++k) {
    const Vector2D d = Direction(*m_oldSegments[k]);
    Vector2D points[2];
    const int count = SegmentCirclePoints(m_oldSegments[k]->ClassifyToCircle(*fixed, points));
    if (count == 0) continue;
    AddStaticPoints(record, count, points, Vector2D(d.y, -d.x), SegmentKind, SegmentUserId(*this, k));
    any = true;
  }
  const size_t circles = ActiveCircleCount();
  for (size_t k = 0; k < circles; ++k) {
    Vector2D points[2];
    const int count = CircleCirclePoints(m_oldCircles[k]->ClassifyToCircle(*fixed, points));
    if (count == 0) continue;
    AddStaticPoints(record, count, points, Unit(m_oldCircles[k]->center - fixed->center), CircleKind,
                    CircleUserId(*this, k));
    any = true;
  }
  if (!any) return;
  record.id = MakeCollisionId(circle.GetSlot() + kStaticCircleIdBase, layerIndex, circle.GetZCollision());
  record.contactPosition = m_oldPosition;
  record.contactOrientation = m_oldOrientation;
  record.userId = circle.GetUserId();
  record.otherOwner = circle.GetTag().GetOwner();
  record.penetrationDistance = 0.0f;
  m_results.NextStaticCircle();
}

}  // namespace Collision2D
