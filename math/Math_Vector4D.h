#pragma once

namespace Core {
class File;
}

namespace Math {
// A homogeneous point or a plane equation.
class Vector4D {
 public:
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  float w = 1.0f;

  constexpr Vector4D() = default;
  constexpr Vector4D(float xValue, float yValue, float zValue, float wValue)
      : x(xValue), y(yValue), z(zValue), w(wValue) {}

  void Set(float xValue, float yValue, float zValue, float wValue) {
    x = xValue;
    y = yValue;
    z = zValue;
    w = wValue;
  }
  void SetZero() { x = y = z = w = 0.0f; }
};

// x, y, z, w as 4-byte floats.
Core::File& WriteVector4D(Core::File& file, const Vector4D& v);
Core::File& ReadVector4D(Core::File& file, Vector4D& v);
}  // namespace Math
