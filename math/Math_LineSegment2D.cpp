#include "math/Math_LineSegment2D.h"

#include <cmath>

#include "math/Math_Circle2D.h"
#include "math/Math_Geometry2DDetail.h"
#include "math/Math_Line2D.h"
#include "math/Math_Ray2D.h"
#include "math/Math_Stream.h"

namespace Math {
using namespace Detail;

namespace {
struct CollinearOverlap {
  bool t1Inside;
  bool t2Inside;
  int k;
};

// Steps 3 and 4 of the segment test: project the strictly shorter segment onto the other,
// otherwise this one onto the other. Returns true when the other (E, F) is the projected one.
bool ProjectCollinear(const Vector2D& A, const Vector2D& B, const Vector2D& E, const Vector2D& F,
                      CollinearOverlap& result) {
  const Vector2D dS = B - A;
  const Vector2D dT = F - E;
  result.k = TruncatedDot(dS.Dot(dT));
  if (dT.Length() < dS.Length()) {
    result.t1Inside = InUnitRange(AxisRatio(E - A, dS));
    result.t2Inside = InUnitRange(AxisRatio(F - A, dS));
    return true;
  }
  result.t1Inside = InUnitRange(AxisRatio(A - E, dT));
  result.t2Inside = InUnitRange(AxisRatio(B - E, dT));
  return false;
}

uint32_t OverlapCode(const CollinearOverlap& projection) {
  if (projection.t1Inside && projection.t2Inside) return Classification::Overlap;
  if (projection.t1Inside || projection.t2Inside)
    return (projection.k == 1 || projection.k == -1) ? Classification::Overlap
                                                     : Classification::CollinearDisjoint;
  return Classification::CollinearDisjoint;
}
}  // namespace

uint32_t LineSegment2D::ClassifyToLineSegment(const LineSegment2D& other, Vector2D& point,
                                              LineSegment2D& overlap) const {
  const Vector2D& A = pointA;
  const Vector2D& B = pointB;
  const Vector2D& E = other.pointA;
  const Vector2D& F = other.pointB;
  const Vector2D dS = B - A;
  const Vector2D dT = F - E;
  const Vector2D EA = E - A;
  const float c = Cross(dS, dT);

  if (!IsParallel(c)) {
    const float t = Cross(EA, dT) / c;
    const float u = Cross(EA, dS) / c;
    if (InUnitRange(t) && InUnitRange(u)) {
      point = A + dS * t;
      return Classification::Crossing;
    }
    return Classification::NoContact;
  }

  // The collinearity tolerance here is 1.0, not Tolerance.
  const float e = EA.x * dS.y - EA.y * dS.x;
  if (e < -1.0f || e > 1.0f) return Classification::ParallelApart;

  CollinearOverlap projection;
  const bool otherProjected = ProjectCollinear(A, B, E, F, projection);
  const uint32_t code = OverlapCode(projection);
  if (code != Classification::Overlap) return code;

  const bool both = projection.t1Inside && projection.t2Inside;
  const bool negative = projection.k == -1;
  if (otherProjected) {
    if (both)
      overlap = LineSegment2D(E, F);
    else if (projection.t1Inside)
      overlap = LineSegment2D(E, negative ? A : B);
    else
      overlap = LineSegment2D(F, negative ? B : A);
  } else {
    if (both)
      overlap = LineSegment2D(A, B);
    else if (projection.t1Inside)
      overlap = LineSegment2D(A, negative ? E : F);
    else
      overlap = LineSegment2D(B, negative ? F : E);
  }
  return Classification::Overlap;
}

uint32_t ClassifySegmentOverlap(const LineSegment2D& s, const LineSegment2D& t) {
  const Vector2D& A = s.pointA;
  const Vector2D& B = s.pointB;
  const Vector2D& E = t.pointA;
  const Vector2D& F = t.pointB;
  const Vector2D dS = B - A;
  const Vector2D dT = F - E;
  const Vector2D EA = E - A;
  const float c = Cross(dS, dT);

  if (!IsParallel(c)) {
    const float tS = Cross(EA, dT) / c;
    const float uT = Cross(EA, dS) / c;
    return InUnitRange(tS) && InUnitRange(uT) ? Classification::Crossing : Classification::NoContact;
  }
  if (Cross(EA, dS) != 0.0f) return Classification::ParallelApart;

  CollinearOverlap projection;
  ProjectCollinear(A, B, E, F, projection);
  return OverlapCode(projection);
}

uint32_t LineSegment2D::ClassifyToRay(const Ray2D& ray, Vector2D& point, LineSegment2D& overlap) const {
  const Vector2D& A = pointA;
  const Vector2D& B = pointB;
  const Vector2D& O = ray.origin;
  const Vector2D& R = ray.direction;
  const Vector2D dS = B - A;
  const Vector2D OA = O - A;
  const float c = Cross(dS, R);

  if (!IsParallel(c)) {
    const float t = Cross(OA, R) / c;
    const float s = Cross(OA, dS) / c;
    if (s >= 0.0f && InUnitRange(t)) {
      point = A + dS * t;
      return Classification::Crossing;
    }
    return Classification::NoContact;
  }
  if (Cross(OA, dS) != 0.0f) return Classification::ParallelApart;

  const float p = AxisRatio(A - O, R);
  const float q = AxisRatio(B - O, R);
  if (p <= 0.0f && q > 0.0f) {
    overlap = LineSegment2D(B, O);
    return Classification::Overlap;
  }
  if (p < 0.0f && q < 0.0f) return Classification::CollinearDisjoint;
  if (p < 0.0f && q == 0.0f) {
    point = B;
    return Classification::Crossing;
  }
  if (p == 0.0f && q <= 0.0f) {
    point = A;
    return Classification::Crossing;
  }
  if (p > 0.0f && q <= 0.0f) {
    overlap = LineSegment2D(A, O);
    return Classification::Overlap;
  }
  if (p > 0.0f && q > 0.0f) {
    overlap = LineSegment2D(A, B);
    return Classification::Overlap;
  }
  // Only a zero ray direction (NaN parameters) gets here.
  return Classification::CollinearDisjoint;
}

uint32_t LineSegment2D::ClassifyToLine(const Line2D& line, Vector2D& point) const {
  const Vector2D dS = pointB - pointA;
  const Vector2D PA = line.point - pointA;
  const float c = Cross(dS, line.direction);
  if (IsParallel(c)) return Cross(PA, dS) == 0.0f ? Classification::Overlap : Classification::ParallelApart;
  const float t = Cross(PA, line.direction) / c;
  if (InUnitRange(t)) {
    point = pointA + dS * t;
    return Classification::Crossing;
  }
  return Classification::NoContact;
}

uint32_t LineSegment2D::ClassifyToCircle(const Circle2D& circle, Vector2D points[2]) const {
  const Vector2D d = pointB - pointA;
  const CircleQuadratic q(pointA, d, circle);
  if (q.Degenerate() || q.discriminant < 0.0f) return Classification::NoContact;
  if (q.discriminant == 0.0f) {
    const float t = q.TouchingT();
    if (!InUnitRange(t)) return Classification::NoContact;
    points[0] = pointA + d * t;
    return Classification::Tangent;
  }
  const float root = std::sqrt(q.discriminant);
  const float t1 = q.FirstT(root);
  const float t2 = q.SecondT(root);
  if (InUnitRange(t1)) {
    points[0] = pointA + d * t1;
    if (InUnitRange(t2)) {
      points[1] = pointA + d * t2;
      return Classification::TwoIntersections;
    }
    return Classification::OneIntersection;
  }
  if (InUnitRange(t2)) {
    points[0] = pointA + d * t2;
    return Classification::OneIntersection;
  }
  return Classification::NoContact;
}

bool LineSegment2D::Tangent(const Circle2D& circle, Vector2D& point) const {
  const Vector2D d = pointB - pointA;
  const CircleQuadratic q(pointA, d, circle);
  if (q.Degenerate() || q.discriminant < -Tolerance || q.discriminant > Tolerance) return false;
  const float t = q.TouchingT();
  if (!InUnitRange(t)) return false;
  point = pointA + d * t;
  return true;
}

bool LineSegment2D::Perpendicular(const LineSegment2D& other) const {
  return IsInRange((pointB - pointA).Dot(other.pointB - other.pointA), 0.0f, Tolerance);
}

bool LineSegment2D::Parallel(const LineSegment2D& other) const {
  return IsInRange(Cross(pointB - pointA, other.pointB - other.pointA), 0.0f, Tolerance);
}

bool LineSegment2D::Alligned(const LineSegment2D& other) const {
  if (!Parallel(other)) return false;
  const Vector2D dS = pointB - pointA;
  const Vector2D EA = other.pointA - pointA;
  return dS.y * EA.x - dS.x * EA.y == 0.0f;
}

float LineSegment2D::AngleBetween(const LineSegment2D& other) const {
  Vector2D dS = pointB - pointA;
  Vector2D dT = other.pointB - other.pointA;
  dS.Normalize();
  dT.Normalize();
  const float lengths = dS.Length() * dT.Length();
  // A zero-length segment has no direction: report no angle rather than NaN.
  if (lengths == 0.0f) return 0.0f;
  double cosine = dS.Dot(dT) / lengths;
  // Rounding can carry parallel directions just past +-1, where acos is NaN.
  cosine = cosine > 1.0 ? 1.0 : (cosine < -1.0 ? -1.0 : cosine);
  return static_cast<float>(std::acos(cosine));
}

void LineSegment2D::Write(Core::File& file) const {
  pointA.Write(file);
  pointB.Write(file);
}

void LineSegment2D::Read(Core::File& file) {
  pointA.Read(file);
  pointB.Read(file);
}
}  // namespace Math
