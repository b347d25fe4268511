#pragma once

#include "math/Math_Constants.h"

namespace Core {
class File;
}

namespace Math {
class Circle2D;
class Ray2D;
class Line2D;

// The engine's 2D point and direction: two 32-bit floats, copied by value.
class Vector2D {
 public:
  float x = 0.0f;
  float y = 0.0f;

  constexpr Vector2D() = default;
  constexpr Vector2D(float xValue, float yValue) : x(xValue), y(yValue) {}

  void SetZero() {
    x = 0.0f;
    y = 0.0f;
  }

  Vector2D operator-() const { return Vector2D(-x, -y); }
  Vector2D operator+(const Vector2D& other) const { return Vector2D(x + other.x, y + other.y); }
  Vector2D operator-(const Vector2D& other) const { return Vector2D(x - other.x, y - other.y); }
  Vector2D operator*(float s) const { return Vector2D(x * s, y * s); }
  void operator+=(const Vector2D& other) {
    x += other.x;
    y += other.y;
  }
  void operator-=(const Vector2D& other) {
    x -= other.x;
    y -= other.y;
  }
  void Scale(float sx, float sy) {
    x *= sx;
    y *= sy;
  }

  // Exact float comparison of both components.
  bool operator==(const Vector2D& other) const { return x == other.x && y == other.y; }
  bool operator!=(const Vector2D& other) const { return x != other.x || y != other.y; }

  float Dot(const Vector2D& other) const { return x * other.x + y * other.y; }
  float Length() const;
  float Distance(const Vector2D& other) const;

  // Divides by the length when it is at least Tolerance; shorter vectors are left unchanged.
  void Normalize();

  // Distance to the line through a with direction d; closest receives the nearest point of the line.
  // A zero direction counts as the single point a.
  float DistanceToLine(const Vector2D& a, const Vector2D& d, Vector2D& closest) const;
  // As DistanceToLine; with a zero direction closest is not written and the distance is measured
  // to whatever closest already holds.
  float DistanceToLine2D(const Ray2D& ray, Vector2D& closest) const;
  float DistanceToLine2D(const Line2D& line, Vector2D& closest) const;

  // Classification::Outside (2), Inside (3) or OnCircle (0) when the distance equals the radius exactly.
  uint32_t ClassifyToCircle(const Circle2D& circle) const;

  void Write(Core::File& file) const;
  void Read(Core::File& file);
};

inline Vector2D operator*(float s, const Vector2D& v) { return Vector2D(v.x * s, v.y * s); }
// No guard for s = 0.
inline Vector2D operator/(const Vector2D& v, float s) { return Vector2D(v.x / s, v.y / s); }
inline Vector2D Difference(const Vector2D& a, const Vector2D& b) { return Vector2D(a.x - b.x, a.y - b.y); }
inline float Dot(const Vector2D& a, const Vector2D& b) { return a.x * b.x + a.y * b.y; }
// cross(u, v) = u.x * v.y - u.y * v.x, the convention of every 2D classification.
inline float Cross(const Vector2D& u, const Vector2D& v) { return u.x * v.y - u.y * v.x; }

// (0, 0) only for a length of exactly 0; any other vector is divided by its length, however short.
Vector2D Normalized(const Vector2D& v);
// Degrees in [0, 360) of a unit direction; the cosine is clamped to [-1, 1] first.
float AngleOfDirection(const Vector2D& unitDirection);
// (cos, sin) of the angle in degrees, each snapped to 0 within DirectionSnap.
Vector2D DirectionFromAngle(float degrees);

Core::File& WriteVector2D(Core::File& file, const Vector2D& v);
Core::File& ReadVector2D(Core::File& file, Vector2D& v);
}  // namespace Math
