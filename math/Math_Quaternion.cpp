#include "math/Math_Quaternion.h"

#include <cmath>

#include "math/Math_Stream.h"

namespace Math {
Quaternion::Quaternion(const Vector3D& axis, float degrees) {
  Vector3D unitAxis = axis;
  unitAxis.Normalize();
  const float half = degrees * HalfDegreesToRadians;
  const float s = static_cast<float>(std::sin(static_cast<double>(half)));
  w = static_cast<float>(std::cos(static_cast<double>(half)));
  x = unitAxis.x * s;
  y = unitAxis.y * s;
  z = unitAxis.z * s;
  Normalize();
}

Quaternion& Quaternion::operator*=(const Quaternion& rhs) {
  // Copies of both sides: rhs may be this quaternion itself.
  const Quaternion l = *this;
  const Quaternion r = rhs;
  w = l.w * r.w - l.x * r.x - l.y * r.y - l.z * r.z;
  x = l.w * r.x + l.x * r.w + l.y * r.z - l.z * r.y;
  y = l.w * r.y - l.x * r.z + l.y * r.w + l.z * r.x;
  z = l.w * r.z + l.x * r.y - l.y * r.x + l.z * r.w;
  return *this;
}

void Quaternion::Normalize() {
  const float length = std::sqrt(w * w + x * x + y * y + z * z);
  if (length == 0.0f) return;
  const float inverse = 1.0f / length;
  w *= inverse;
  x *= inverse;
  y *= inverse;
  z *= inverse;
}

void Quaternion::GetMatrix(Matrix4x4& out) const {
  float* m = out.m;
  m[0] = 1.0f - 2.0f * (y * y + z * z);
  m[1] = 2.0f * (x * y - w * z);
  m[2] = 2.0f * (x * z + w * y);
  m[3] = 0.0f;
  m[4] = 2.0f * (x * y + w * z);
  m[5] = 1.0f - 2.0f * (x * x + z * z);
  m[6] = 2.0f * (y * z - w * x);
  m[7] = 0.0f;
  m[8] = 2.0f * (x * z - w * y);
  m[9] = 2.0f * (y * z + w * x);
  m[10] = 1.0f - 2.0f * (x * x + y * y);
  m[11] = 0.0f;
  m[12] = 0.0f;
  m[13] = 0.0f;
  m[14] = 0.0f;
  m[15] = 1.0f;
}

Core::File& WriteQuaternion(Core::File& file, const Quaternion& q) {
  WriteFloat(file, q.w);
  WriteFloat(file, q.x);
  WriteFloat(file, q.y);
  WriteFloat(file, q.z);
  return file;
}

Core::File& ReadQuaternion(Core::File& file, Quaternion& q) {
  ReadFloat(file, q.w);
  ReadFloat(file, q.x);
  ReadFloat(file, q.y);
  ReadFloat(file, q.z);
  return file;
}
}  // namespace Math
