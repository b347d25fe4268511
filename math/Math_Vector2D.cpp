#include "math/Math_Vector2D.h"

#include <cmath>

#include "math/Math_Circle2D.h"
#include "math/Math_Line2D.h"
#include "math/Math_Ray2D.h"
#include "math/Math_Stream.h"

namespace Math {
float Vector2D::Length() const { return std::sqrt(x * x + y * y); }

float Vector2D::Distance(const Vector2D& other) const {
  const float dx = x - other.x;
  const float dy = y - other.y;
  return std::sqrt(dx * dx + dy * dy);
}

void Vector2D::Normalize() {
  const float length = Length();
  if (length <= -Tolerance || length >= Tolerance) {
    x /= length;
    y /= length;
  }
}

namespace {
// Closest point of the line (a, d) to p; d . d must not be 0.
Vector2D ClosestPointOnLine(const Vector2D& p, const Vector2D& a, const Vector2D& d, float dd) {
  const float t = (p - a).Dot(d);
  return Vector2D(a.x + t * d.x / dd, a.y + t * d.y / dd);
}
}  // namespace

float Vector2D::DistanceToLine(const Vector2D& a, const Vector2D& d, Vector2D& closest) const {
  const float dd = d.Dot(d);
  // A zero direction would divide 0 by 0; the "line" is then the point a.
  closest = dd == 0.0f ? a : ClosestPointOnLine(*this, a, d, dd);
  return Distance(closest);
}

float Vector2D::DistanceToLine2D(const Ray2D& ray, Vector2D& closest) const {
  const float dd = ray.direction.Dot(ray.direction);
  if (dd != 0.0f) closest = ClosestPointOnLine(*this, ray.origin, ray.direction, dd);
  return Distance(closest);
}

float Vector2D::DistanceToLine2D(const Line2D& line, Vector2D& closest) const {
  const float dd = line.direction.Dot(line.direction);
  if (dd != 0.0f) closest = ClosestPointOnLine(*this, line.point, line.direction, dd);
  return Distance(closest);
}

uint32_t Vector2D::ClassifyToCircle(const Circle2D& circle) const {
  const float d = Distance(circle.center);
  if (circle.radius < d) return Classification::Outside;
  if (circle.radius > d) return Classification::Inside;
  return Classification::OnCircle;
}

void Vector2D::Write(Core::File& file) const {
  WriteFloat(file, x);
  WriteFloat(file, y);
}

void Vector2D::Read(Core::File& file) {
  ReadFloat(file, x);
  ReadFloat(file, y);
}

Vector2D Normalized(const Vector2D& v) {
  const float length = v.Length();
  if (length == 0.0f) return Vector2D();
  return v / length;
}

float AngleOfDirection(const Vector2D& unitDirection) {
  // Rounding can push a unit vector's x just past 1; acos would then give NaN.
  double cosine = unitDirection.x;
  if (cosine > 1.0)
    cosine = 1.0;
  else if (cosine < -1.0)
    cosine = -1.0;
  const float angle = static_cast<float>(std::acos(cosine) * 180.0 / Pi);
  return unitDirection.y < 0.0f ? 360.0f - angle : angle;
}

Vector2D DirectionFromAngle(float degrees) {
  const float radians = static_cast<float>(degrees * Pi / 180.0);
  float c = static_cast<float>(std::cos(static_cast<double>(radians)));
  float s = static_cast<float>(std::sin(static_cast<double>(radians)));
  if (c > -DirectionSnap && c < DirectionSnap) c = 0.0f;
  if (s > -DirectionSnap && s < DirectionSnap) s = 0.0f;
  return Vector2D(c, s);
}

Core::File& WriteVector2D(Core::File& file, const Vector2D& v) {
  v.Write(file);
  return file;
}

Core::File& ReadVector2D(Core::File& file, Vector2D& v) {
  v.Read(file);
  return file;
}
}  // namespace Math
