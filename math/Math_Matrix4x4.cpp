#include "math/Math_Matrix4x4.h"

#include <cmath>

#include "math/Math_Stream.h"

namespace Math {
namespace {
// Element (row, column) of the column-major storage.
inline float At(const float* m, int row, int column) { return m[column * 4 + row]; }

// Determinant of the 3x3 minor left when row skipRow and column skipColumn are removed.
float Minor(const float* m, int skipRow, int skipColumn) {
  int rows[3];
  int columns[3];
  for (int i = 0, r = 0; i < 4; ++i)
    if (i != skipRow) rows[r++] = i;
  for (int i = 0, c = 0; i < 4; ++i)
    if (i != skipColumn) columns[c++] = i;
  const float a = At(m, rows[0], columns[0]), b = At(m, rows[0], columns[1]), c = At(m, rows[0], columns[2]);
  const float d = At(m, rows[1], columns[0]), e = At(m, rows[1], columns[1]), f = At(m, rows[1], columns[2]);
  const float g = At(m, rows[2], columns[0]), h = At(m, rows[2], columns[1]), k = At(m, rows[2], columns[2]);
  return a * (e * k - f * h) - b * (d * k - f * g) + c * (d * h - e * g);
}

inline float Cofactor(const float* m, int row, int column) {
  const float minor = Minor(m, row, column);
  return ((row + column) & 1) ? -minor : minor;
}

// Adjugate (the transposed cofactors) into out and the determinant along the first row.
float Adjugate(const float* m, float* out) {
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column)
      out[row * 4 + column] = Cofactor(m, row, column);  // element (column, row) of the adjugate
  // out[c] holds the cofactor of (0, c).
  return At(m, 0, 0) * out[0] + At(m, 0, 1) * out[1] + At(m, 0, 2) * out[2] + At(m, 0, 3) * out[3];
}
}  // namespace

void Matrix4x4::SetIdentity() { *this = Matrix4x4(); }

Matrix4x4 Matrix4x4::operator*(const Matrix4x4& rhs) const {
  Matrix4x4 result;
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 4; ++r) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += m[k * 4 + r] * rhs.m[c * 4 + k];
      result.m[c * 4 + r] = sum;
    }
  return result;
}

void Matrix4x4::Transpose() {
  for (int r = 0; r < 4; ++r)
    for (int c = r + 1; c < 4; ++c) {
      const float t = m[c * 4 + r];
      m[c * 4 + r] = m[r * 4 + c];
      m[r * 4 + c] = t;
    }
}

float Matrix4x4::Determinant() const {
  float result = 0.0f;
  for (int c = 0; c < 4; ++c) result += At(m, 0, c) * Cofactor(m, 0, c);
  return result;
}

void Matrix4x4::Invert() {
  float adjugate[16];
  const float determinant = Adjugate(m, adjugate);
  if (determinant == 0.0f) return;
  const float inverse = 1.0f / determinant;
  for (int i = 0; i < 16; ++i) m[i] = adjugate[i] * inverse;
}

Matrix4x4 Matrix4x4::GetInverse() const {
  Matrix4x4 result = *this;
  float adjugate[16];
  const float determinant = Adjugate(m, adjugate);
  if (determinant > -Tolerance && determinant < Tolerance) return result;
  const float inverse = 1.0f / determinant;
  for (int i = 0; i < 16; ++i) result.m[i] = adjugate[i] * inverse;
  return result;
}

Matrix4x4 Matrix4x4::MakeScale(float sx, float sy, float sz) {
  Matrix4x4 result;
  result.m[0] = sx;
  result.m[5] = sy;
  result.m[10] = sz;
  return result;
}

Matrix4x4 Matrix4x4::MakeTranslation(float tx, float ty, float tz) {
  Matrix4x4 result;
  result.m[12] = tx;
  result.m[13] = ty;
  result.m[14] = tz;
  return result;
}

Matrix4x4 Matrix4x4::MakeRotationZ(float degrees) {
  Matrix4x4 result;
  SetRotationZ(result, degrees);
  return result;
}

void SetRotationZ(Matrix4x4& matrix, float degrees) {
  const float radians = degrees * DegreesToRadians;
  const float c = static_cast<float>(std::cos(static_cast<double>(radians)));
  const float s = static_cast<float>(std::sin(static_cast<double>(radians)));
  for (float& element : matrix.m) element = 0.0f;
  matrix.m[0] = c;
  matrix.m[1] = s;
  matrix.m[4] = -s;
  matrix.m[5] = c;
  matrix.m[10] = 1.0f;
  matrix.m[15] = 1.0f;
}

Matrix4x4 Matrix4x4::MakePerspective(float fovYDegrees, float aspect, float nearPlane, float farPlane) {
  const float f = static_cast<float>(1.0 / std::tan(fovYDegrees * 0.5 * 0.017453292519943295));
  Matrix4x4 result;
  for (float& element : result.m) element = 0.0f;
  result.m[0] = f / aspect;
  result.m[5] = f;
  result.m[10] = (nearPlane + farPlane) / (nearPlane - farPlane);
  result.m[11] = -1.0f;
  result.m[14] = 2.0f * nearPlane * farPlane / (nearPlane - farPlane);
  return result;
}

Matrix4x4 Matrix4x4::MakeOrtho2D(float left, float right, float bottom, float top) {
  Matrix4x4 result;
  for (float& element : result.m) element = 0.0f;
  result.m[0] = 2.0f / (right - left);
  result.m[12] = (left + right) / (left - right);
  result.m[5] = 2.0f / (top - bottom);
  result.m[13] = (bottom + top) / (bottom - top);
  result.m[10] = -1.0f;
  result.m[15] = 1.0f;
  return result;
}

bool Matrix4x4::operator==(const Matrix4x4& other) const {
  for (int i = 0; i < 16; ++i)
    if (m[i] != other.m[i]) return false;
  return true;
}

void ScaleMatrix4x4(Matrix4x4& out, const Matrix4x4& matrix, float s) {
  for (int i = 0; i < 16; ++i) out.m[i] = matrix.m[i] * s;
}

Vector3D operator*(const Matrix4x4& matrix, const Vector3D& point) {
  const float* m = matrix.m;
  return Vector3D(m[0] * point.x + m[4] * point.y + m[8] * point.z + m[12],
                  m[1] * point.x + m[5] * point.y + m[9] * point.z + m[13],
                  m[2] * point.x + m[6] * point.y + m[10] * point.z + m[14]);
}

Vector4D TransformVector4D(const Matrix4x4& matrix, const Vector4D& v) {
  const float* m = matrix.m;
  float out[4];
  for (int i = 0; i < 4; ++i) out[i] = m[i] * v.x + m[4 + i] * v.y + m[8 + i] * v.z + m[12 + i] * v.w;
  return Vector4D(out[0], out[1], out[2], out[3]);
}

Core::File& WriteMatrix4x4(Core::File& file, const Matrix4x4& matrix) {
  file.Write(matrix.m, sizeof(matrix.m));
  return file;
}

Core::File& ReadMatrix4x4(Core::File& file, Matrix4x4& matrix) {
  file.Read(matrix.m, sizeof(matrix.m));
  return file;
}
}  // namespace Math
