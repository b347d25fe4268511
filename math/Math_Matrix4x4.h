#pragma once

#include "math/Math_Vector3D.h"
#include "math/Math_Vector4D.h"

namespace Core {
class File;
}

namespace Math {
// Column-major as the graphics interface expects: element (row r, column c) is m[c * 4 + r];
// the translation stands in m[12], m[13], m[14]. Points are column vectors.
class Matrix4x4 {
 public:
  float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

  constexpr Matrix4x4() = default;

  void SetIdentity();
  static Matrix4x4 MakeIdentity() { return Matrix4x4(); }

  // this * rhs.
  Matrix4x4 operator*(const Matrix4x4& rhs) const;
  void Transpose();
  // Cofactor expansion along the first row (m0, m4, m8, m12).
  float Determinant() const;
  // In place; a matrix whose determinant is exactly 0 is left unchanged.
  void Invert();
  // The inverse, or an unchanged copy when |determinant| < Tolerance.
  Matrix4x4 GetInverse() const;

  static Matrix4x4 MakeScale(float sx, float sy, float sz);
  static Matrix4x4 MakeTranslation(float tx, float ty, float tz);
  // Counter-clockwise for column vectors; degrees.
  static Matrix4x4 MakeRotationZ(float degrees);
  static Matrix4x4 MakePerspective(float fovYDegrees, float aspect, float nearPlane, float farPlane);
  // Maps (left, bottom) to (-1, -1) and (right, top) to (1, 1); z is mirrored and not translated.
  static Matrix4x4 MakeOrtho2D(float left, float right, float bottom, float top);

  bool operator==(const Matrix4x4& other) const;
  bool operator!=(const Matrix4x4& other) const { return !(*this == other); }
};

void ScaleMatrix4x4(Matrix4x4& out, const Matrix4x4& matrix, float s);
void SetRotationZ(Matrix4x4& matrix, float degrees);

// Point transform with w = 1, without the division by w.
Vector3D operator*(const Matrix4x4& matrix, const Vector3D& point);
Vector4D TransformVector4D(const Matrix4x4& matrix, const Vector4D& v);

// One 64-byte block: the 16 floats in index order, in a single Write or Read call.
Core::File& WriteMatrix4x4(Core::File& file, const Matrix4x4& matrix);
Core::File& ReadMatrix4x4(Core::File& file, Matrix4x4& matrix);
}  // namespace Math
