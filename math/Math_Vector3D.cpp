#include "math/Math_Vector3D.h"

#include <cmath>

#include "math/Math_Plane.h"
#include "math/Math_Stream.h"
#include "math/Math_Vector4D.h"

namespace Math {
float Vector3D::Length() const { return std::sqrt(x * x + y * y + z * z); }

void Vector3D::Normalize() {
  const float length = Length();
  if (length == 0.0f) return;
  x /= length;
  y /= length;
  z /= length;
}

uint32_t Vector3D::ClassifyToPlane(const Plane& plane) const {
  // The near test is made against the plane's stored point, not against the plane itself.
  const Vector3D offset = *this - plane.point;
  if (offset.Length() < 0.05f) return Classification::OnPlane;
  const float side = Dot(plane.normal, offset);
  if (side > 0.0f) return Classification::InFront;
  if (side < 0.0f) return Classification::Behind;
  return Classification::OnPlane;
}

Core::File& WriteVector3D(Core::File& file, const Vector3D& v) {
  WriteFloat(file, v.x);
  WriteFloat(file, v.y);
  WriteFloat(file, v.z);
  return file;
}

Core::File& ReadVector3D(Core::File& file, Vector3D& v) {
  ReadFloat(file, v.x);
  ReadFloat(file, v.y);
  ReadFloat(file, v.z);
  return file;
}

Core::File& WriteVector4D(Core::File& file, const Vector4D& v) {
  WriteFloat(file, v.x);
  WriteFloat(file, v.y);
  WriteFloat(file, v.z);
  WriteFloat(file, v.w);
  return file;
}

Core::File& ReadVector4D(Core::File& file, Vector4D& v) {
  ReadFloat(file, v.x);
  ReadFloat(file, v.y);
  ReadFloat(file, v.z);
  ReadFloat(file, v.w);
  return file;
}
}  // namespace Math
