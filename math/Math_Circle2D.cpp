#include "math/Math_Circle2D.h"

#include <cmath>

#include "math/Math_LineSegment2D.h"
#include "math/Math_Stream.h"

namespace Math {
uint32_t Circle2D::ClassifyToCircle(const Circle2D& other, Vector2D points[2]) const {
  const Vector2D& M1 = center;
  const Vector2D& M2 = other.center;
  const float r1 = radius;
  const float r2 = other.radius;
  const Vector2D v = M2 - M1;
  const float D2 = v.Dot(v);
  const float d = std::sqrt(D2);

  if (d + r2 < r1) return Classification::OtherInside;
  if (r1 + d < r2) return Classification::Inside;
  if (M1 == M2 && r1 == r2) return Classification::Overlap;

  Vector2D n = v;
  n.Normalize();
  const float difference = r1 - r2;
  const float sum = r1 + r2;
  if (D2 == difference * difference) {
    points[0] = M1 + n * ((r1 * r1 - r2 * r2 + D2) / (2.0f * d));
    return Classification::InternalTangency;
  }
  if (D2 > sum * sum) return Classification::Outside;
  const float a = (r1 * r1 - r2 * r2 + D2) / (2.0f * d);
  if (D2 == sum * sum) {
    points[0] = M1 + n * a;
    return Classification::ExternalTangency;
  }

  // Rounding can make r1^2 - a^2 a hair negative when the circles nearly touch; that is a zero height.
  const float heightSquared = r1 * r1 - a * a;
  const float h = heightSquared > 0.0f ? std::sqrt(heightSquared) : 0.0f;
  const Vector2D m = M1 + n * a;
  Vector2D p(-v.y, v.x);
  p.Normalize();
  points[0] = m + p * h;
  points[1] = m - p * h;
  return Classification::TwoIntersections;
}

uint32_t Circle2D::ClassifyToLineSegment(const LineSegment2D& segment, Vector2D points[2]) const {
  return segment.ClassifyToCircle(*this, points);
}

void Circle2D::Write(Core::File& file) const {
  center.Write(file);
  WriteFloat(file, radius);
}

void Circle2D::Read(Core::File& file) {
  center.Read(file);
  ReadFloat(file, radius);
}
}  // namespace Math
