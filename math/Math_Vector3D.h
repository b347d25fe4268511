#pragma once

#include "math/Math_Constants.h"

namespace Core {
class File;
}

namespace Math {
class Plane;

class Vector3D {
 public:
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;

  constexpr Vector3D() = default;
  constexpr Vector3D(float xValue, float yValue, float zValue) : x(xValue), y(yValue), z(zValue) {}

  Vector3D operator-(const Vector3D& other) const { return Vector3D(x - other.x, y - other.y, z - other.z); }
  void operator+=(const Vector3D& other) {
    x += other.x;
    y += other.y;
    z += other.z;
  }
  Vector3D operator*(float s) const { return Vector3D(x * s, y * s, z * s); }

  float Length() const;
  // In place; a vector of length exactly 0 is left unchanged.
  void Normalize();

  // Classification::OnPlane (0) within 0.05 of the plane's stored point, else InFront (8) or Behind (9)
  // by the side of the plane's normal (exactly on the plane: 0).
  uint32_t ClassifyToPlane(const Plane& plane) const;
};

inline float Dot(const Vector3D& a, const Vector3D& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vector3D Cross(const Vector3D& a, const Vector3D& b) {
  return Vector3D(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

// x, y, z as 4-byte floats.
Core::File& WriteVector3D(Core::File& file, const Vector3D& v);
Core::File& ReadVector3D(Core::File& file, Vector3D& v);
}  // namespace Math
