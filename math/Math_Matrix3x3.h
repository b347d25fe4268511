#pragma once

#include "math/Math_Vector2D.h"

namespace Core {
class File;
}

namespace Math {
// The 2D affine transform of collision and physics. Row-major (element (r, c) is m[r * 3 + c]), the
// opposite of Matrix4x4; the translation stands in m[2] (x) and m[5] (y).
class Matrix3x3 {
 public:
  float m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

  constexpr Matrix3x3() = default;

  void SetIdentity();
  // this * rhs.
  Matrix3x3 operator*(const Matrix3x3& rhs) const;
  Matrix3x3 operator*(float s) const;

  static Matrix3x3 MakeTranslation(float tx, float ty);
  static Matrix3x3 MakeTranslation(const Vector2D& t) { return MakeTranslation(t.x, t.y); }
  // Counter-clockwise for column vectors; degrees. cos 90 is not snapped to 0.
  static Matrix3x3 MakeRotation(float degrees);

  // out = the inverse; when |determinant| < Tolerance out is left untouched.
  void GetInverse(Matrix3x3& out) const;

  // The nine floats in index order, one 4-byte item each (36 bytes).
  void Write(Core::File& file) const;
  void Read(Core::File& file);

  bool operator==(const Matrix3x3& other) const;
  bool operator!=(const Matrix3x3& other) const { return !(*this == other); }
};

inline Matrix3x3 operator*(float s, const Matrix3x3& matrix) { return matrix * s; }
Matrix3x3 ScaleMatrix3x3(const Matrix3x3& matrix, float s);

// Point transform: x' = m0 x + m1 y + m2, y' = m3 x + m4 y + m5.
Vector2D operator*(const Matrix3x3& matrix, const Vector2D& point);
// x' = m0 x + m1 y + m6, y' = m3 x + m4 y + m7: the rotation part alone for an affine matrix.
Vector2D TransformDirection(const Matrix3x3& matrix, const Vector2D& direction);
}  // namespace Math
