#include "math/Math_Matrix3x3.h"

#include <cmath>

#include "math/Math_Stream.h"

namespace Math {
void Matrix3x3::SetIdentity() { *this = Matrix3x3(); }

Matrix3x3 Matrix3x3::operator*(const Matrix3x3& rhs) const {
  Matrix3x3 result;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c)
      result.m[r * 3 + c] =
          m[r * 3 + 0] * rhs.m[0 * 3 + c] + m[r * 3 + 1] * rhs.m[1 * 3 + c] + m[r * 3 + 2] * rhs.m[2 * 3 + c];
  return result;
}

Matrix3x3 Matrix3x3::operator*(float s) const {
  Matrix3x3 result;
  for (int i = 0; i < 9; ++i) result.m[i] = m[i] * s;
  return result;
}

Matrix3x3 ScaleMatrix3x3(const Matrix3x3& matrix, float s) { return matrix * s; }

Matrix3x3 Matrix3x3::MakeTranslation(float tx, float ty) {
  Matrix3x3 result;
  result.m[2] = tx;
  result.m[5] = ty;
  return result;
}

Matrix3x3 Matrix3x3::MakeRotation(float degrees) {
  const float radians = degrees * DegreesToRadians;
  const float c = static_cast<float>(std::cos(static_cast<double>(radians)));
  const float s = static_cast<float>(std::sin(static_cast<double>(radians)));
  Matrix3x3 result;
  result.m[0] = c;
  result.m[1] = -s;
  result.m[2] = 0.0f;
  result.m[3] = s;
  result.m[4] = c;
  result.m[5] = 0.0f;
  result.m[6] = 0.0f;
  result.m[7] = 0.0f;
  result.m[8] = 1.0f;
  return result;
}

void Matrix3x3::GetInverse(Matrix3x3& out) const {
  const float determinant = m[0] * (m[4] * m[8] - m[5] * m[7]) - m[1] * (m[3] * m[8] - m[5] * m[6]) +
                            m[2] * (m[3] * m[7] - m[4] * m[6]);
  if (determinant > -Tolerance && determinant < Tolerance) return;
  const float inverse = 1.0f / determinant;
  const float adjugate[9] = {
      m[4] * m[8] - m[5] * m[7], m[2] * m[7] - m[1] * m[8], m[1] * m[5] - m[2] * m[4],
      m[5] * m[6] - m[3] * m[8], m[0] * m[8] - m[2] * m[6], m[2] * m[3] - m[0] * m[5],
      m[3] * m[7] - m[4] * m[6], m[1] * m[6] - m[0] * m[7], m[0] * m[4] - m[1] * m[3],
  };
  // The adjugate is complete before out is written, so out may be this matrix.
  for (int i = 0; i < 9; ++i) out.m[i] = adjugate[i] * inverse;
}

void Matrix3x3::Write(Core::File& file) const {
  for (const float& element : m) WriteFloat(file, element);
}

void Matrix3x3::Read(Core::File& file) {
  for (float& element : m) ReadFloat(file, element);
}

bool Matrix3x3::operator==(const Matrix3x3& other) const {
  for (int i = 0; i < 9; ++i)
    if (m[i] != other.m[i]) return false;
  return true;
}

Vector2D operator*(const Matrix3x3& matrix, const Vector2D& point) {
  const float* m = matrix.m;
  return Vector2D(m[0] * point.x + m[1] * point.y + m[2], m[3] * point.x + m[4] * point.y + m[5]);
}

Vector2D TransformDirection(const Matrix3x3& matrix, const Vector2D& direction) {
  const float* m = matrix.m;
  return Vector2D(m[0] * direction.x + m[1] * direction.y + m[6],
                  m[3] * direction.x + m[4] * direction.y + m[7]);
}
}  // namespace Math
