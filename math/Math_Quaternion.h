#pragma once

#include "math/Math_Matrix4x4.h"

namespace Core {
class File;
}

namespace Math {
// w first, then x, y, z.
class Quaternion {
 public:
  float w = 1.0f;
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;

  constexpr Quaternion() = default;
  constexpr Quaternion(float wValue, float xValue, float yValue, float zValue)
      : w(wValue), x(xValue), y(yValue), z(zValue) {}
  // Rotation by angle degrees about axis (normalised here; the caller's vector is not changed).
  Quaternion(const Vector3D& axis, float degrees);

  // Hamilton product this * r.
  Quaternion& operator*=(const Quaternion& r);
  // In place; a quaternion of length exactly 0 is left unchanged.
  void Normalize();
  void GetMatrix(Matrix4x4& out) const;
};

// w, x, y, z as 4-byte floats.
Core::File& WriteQuaternion(Core::File& file, const Quaternion& q);
Core::File& ReadQuaternion(Core::File& file, Quaternion& q);
}  // namespace Math
