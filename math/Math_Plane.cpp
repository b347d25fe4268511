#include "math/Math_Plane.h"

#include <cmath>

#include "math/Math_Stream.h"

namespace Math {
void Plane::Set(float aValue, float bValue, float cValue, float dValue) {
  a = aValue;
  b = bValue;
  c = cValue;
  d = dValue;
  normal = Vector3D(a, b, c);
  if (std::fabs(c) >= Tolerance)
    point = Vector3D(0.0f, 0.0f, -d / c);
  else if (std::fabs(b) >= Tolerance)
    point = Vector3D(0.0f, -d / b, 0.0f);
  else if (std::fabs(a) >= Tolerance)
    point = Vector3D(-d / a, 0.0f, 0.0f);
}

void Plane::SetFromPointNormal(const Vector3D& pointOnPlane, const Vector3D& planeNormal) {
  point = pointOnPlane;
  normal = planeNormal;
  a = planeNormal.x;
  b = planeNormal.y;
  c = planeNormal.z;
  d = -Dot(pointOnPlane, planeNormal);
}

Core::File& WritePlane(Core::File& file, const Plane& plane) {
  WriteVector3D(file, plane.point);
  WriteVector3D(file, plane.normal);
  WriteFloat(file, plane.a);
  WriteFloat(file, plane.b);
  WriteFloat(file, plane.c);
  WriteFloat(file, plane.d);
  return file;
}

Core::File& ReadPlane(Core::File& file, Plane& plane) {
  ReadVector3D(file, plane.point);
  ReadVector3D(file, plane.normal);
  ReadFloat(file, plane.a);
  ReadFloat(file, plane.b);
  ReadFloat(file, plane.c);
  ReadFloat(file, plane.d);
  return file;
}
}  // namespace Math
