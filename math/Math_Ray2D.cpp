#include "math/Math_Ray2D.h"

#include <cmath>

#include "math/Math_Circle2D.h"
#include "math/Math_Geometry2DDetail.h"
#include "math/Math_Line2D.h"
#include "math/Math_LineSegment2D.h"
#include "math/Math_Stream.h"

namespace Math {
using namespace Detail;

uint32_t Ray2D::ClassifyToRay(const Ray2D& other, Vector2D& point, LineSegment2D& segment, Ray2D& ray) const {
  const Vector2D& O1 = origin;
  const Vector2D& R1 = direction;
  const Vector2D& O2 = other.origin;
  const Vector2D& R2 = other.direction;
  const Vector2D offset = O2 - O1;
  const float c = Cross(R1, R2);

  if (!IsParallel(c)) {
    const float t = Cross(offset, R2) / c;
    const float u = Cross(offset, R1) / c;
    if (t >= 0.0f && u >= 0.0f) {
      point = O1 + R1 * t;
      return Classification::Crossing;
    }
    return Classification::NoContact;
  }
  if (R1.y * offset.x - R1.x * offset.y != 0.0f) return Classification::ParallelApart;

  const float p = AxisRatio(O1 - O2, R2);
  const float q = AxisRatio(offset, R1);
  // Only unit directions pointing the same way give exactly 1 here.
  const bool sameUnitDirection = R1.Dot(R2) == 1.0f;
  if (p <= 0.0f && q <= 0.0f) {
    if (p == 0.0f) {
      point = O1;
      return Classification::Crossing;
    }
    if (q == 0.0f) {
      point = O2;
      return Classification::Crossing;
    }
    return Classification::CollinearDisjoint;
  }
  if (p <= 0.0f && q > 0.0f) {
    if (sameUnitDirection) {
      ray = other;
      return Classification::RaysOverlapInRay;
    }
    segment = LineSegment2D(O1, O2);
    return Classification::RaysOverlapInSegment;
  }
  if (p > 0.0f) {
    if (sameUnitDirection) {
      ray = *this;
      return Classification::RaysOverlapInRay;
    }
    segment = LineSegment2D(O1, O2);
    return Classification::RaysOverlapInSegment;
  }
  // Only a zero direction (NaN parameters) gets here.
  return Classification::CollinearDisjoint;
}

uint32_t Ray2D::ClassifyToCircle(const Circle2D& circle, Vector2D points[2]) const {
  const CircleQuadratic q(origin, direction, circle);
  if (q.Degenerate() || q.discriminant < 0.0f) return Classification::NoContact;
  if (q.discriminant == 0.0f) {
    const float t = q.TouchingT();
    if (t < 0.0f) return Classification::NoContact;
    points[0] = origin + direction * t;
    return Classification::OneIntersection;
  }
  const float root = std::sqrt(q.discriminant);
  const float t1 = q.FirstT(root);
  const float t2 = q.SecondT(root);
  if (t1 >= 0.0f) {
    points[0] = origin + direction * t1;
    if (t2 >= 0.0f) {
      points[1] = origin + direction * t2;
      return Classification::TwoIntersections;
    }
    return Classification::OneIntersection;
  }
  if (t2 >= 0.0f) {
    points[0] = origin + direction * t2;
    return Classification::OneIntersection;
  }
  return Classification::NoContact;
}

bool Ray2D::Tangent(const Circle2D& circle, Vector2D& point) const {
  const CircleQuadratic q(origin, direction, circle);
  if (q.Degenerate() || q.discriminant < -Tolerance || q.discriminant > Tolerance) return false;
  const float t = q.TouchingT();
  if (t < 0.0f) return false;
  point = origin + direction * t;
  return true;
}

uint32_t Ray2D::ClassifyToLineSegment(const LineSegment2D& segment, Vector2D& point,
                                      LineSegment2D& overlap) const {
  return segment.ClassifyToRay(*this, point, overlap);
}

uint32_t Ray2D::ClassifyToLine(const Line2D& line, Vector2D& point) const {
  return line.ClassifyToRay(*this, point);
}

bool Ray2D::Perpendicular(const Ray2D& other) const {
  return IsInRange(direction.Dot(other.direction), 0.0f, Tolerance);
}

bool Ray2D::Parallel(const Ray2D& other) const {
  return IsInRange(Cross(direction, other.direction), 0.0f, Tolerance);
}

float Ray2D::AngleBetween(const Ray2D& other) const { return DegreesBetween(direction, other.direction); }

float Ray2D::AngleBetween(const Line2D& other) const { return DegreesBetween(direction, other.direction); }

void Ray2D::Write(Core::File& file) const {
  origin.Write(file);
  direction.Write(file);
}

void Ray2D::Read(Core::File& file) {
  origin.Read(file);
  direction.Read(file);
}
}  // namespace Math
