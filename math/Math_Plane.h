#pragma once

#include "math/Math_Vector3D.h"

namespace Core {
class File;
}

namespace Math {
// a*x + b*y + c*z + d = 0, with a point on the plane kept for the near test of ClassifyToPlane.
class Plane {
 public:
  Vector3D point;
  Vector3D normal;
  float a = 0.0f;
  float b = 0.0f;
  float c = 0.0f;
  float d = 0.0f;

  Plane() = default;

  // Stores the equation and normal (a, b, c) without normalising; picks a point on the plane from
  // the first coefficient of c, b, a that is at least Tolerance (otherwise the point is kept).
  void Set(float aValue, float bValue, float cValue, float dValue);
  void SetFromPointNormal(const Vector3D& pointOnPlane, const Vector3D& planeNormal);
};

// point, normal, then a, b, c, d: ten 4-byte floats.
Core::File& WritePlane(Core::File& file, const Plane& plane);
Core::File& ReadPlane(Core::File& file, Plane& plane);
}  // namespace Math
