#include "math/Math_Line2D.h"

#include <cmath>

#include "math/Math_Circle2D.h"
#include "math/Math_Geometry2DDetail.h"
#include "math/Math_LineSegment2D.h"
#include "math/Math_Ray2D.h"
#include "math/Math_Stream.h"

namespace Math {
using namespace Detail;

uint32_t Line2D::ClassifyToLine(const Line2D& other, Vector2D& crossing) const {
  const Vector2D offset = other.point - point;
  const float c = Cross(direction, other.direction);
  if (IsParallel(c))
    return Cross(offset, direction) == 0.0f ? Classification::Overlap : Classification::ParallelApart;
  const float t = Cross(offset, other.direction) / c;
  crossing = point + direction * t;
  return Classification::Crossing;
}

uint32_t Line2D::ClassifyToRay(const Ray2D& ray, Vector2D& crossing) const {
  const Vector2D offset = ray.origin - point;
  const float c = Cross(direction, ray.direction);
  if (IsParallel(c))
    return Cross(offset, direction) == 0.0f ? Classification::Overlap : Classification::ParallelApart;
  const float s = Cross(offset, direction) / c;
  if (s >= 0.0f) {
    crossing = ray.origin + ray.direction * s;
    return Classification::Crossing;
  }
  return Classification::NoContact;
}

uint32_t Line2D::ClassifyToCircle(const Circle2D& circle, Vector2D points[2]) const {
  const CircleQuadratic q(point, direction, circle);
  if (q.Degenerate() || q.discriminant < 0.0f) return Classification::NoContact;
  if (q.discriminant == 0.0f) {
    points[0] = point + direction * q.TouchingT();
    return Classification::Tangent;
  }
  const float root = std::sqrt(q.discriminant);
  points[0] = point + direction * q.FirstT(root);
  points[1] = point + direction * q.SecondT(root);
  return Classification::Crossing;
}

bool Line2D::Tangent(const Circle2D& circle, Vector2D& touching) const {
  const CircleQuadratic q(point, direction, circle);
  if (q.Degenerate() || q.discriminant < -Tolerance || q.discriminant > Tolerance) return false;
  touching = point + direction * q.TouchingT();
  return true;
}

uint32_t Line2D::ClassifyToLineSegment(const LineSegment2D& segment, Vector2D& crossing) const {
  return segment.ClassifyToLine(*this, crossing);
}

bool Line2D::Perpendicular(const Line2D& other) const {
  return IsInRange(direction.Dot(other.direction), 0.0f, Tolerance);
}

bool Line2D::Parallel(const Line2D& other) const {
  return IsInRange(Cross(direction, other.direction), 0.0f, Tolerance);
}

float Line2D::AngleBetween(const Line2D& other) const { return DegreesBetween(direction, other.direction); }

float Line2D::AngleBetween(const Ray2D& other) const { return DegreesBetween(direction, other.direction); }

void Line2D::Write(Core::File& file) const {
  point.Write(file);
  direction.Write(file);
}

void Line2D::Read(Core::File& file) {
  point.Read(file);
  direction.Read(file);
}
}  // namespace Math
