#include "math/Math_Frustum.h"

#include <cmath>

#include "math/Math_Stream.h"

namespace Math {
namespace {
// Normalises (a, b, c, d) by the length of (a, b, c) and sets the plane; a zero normal is set as is.
// Works in double: the sums of projection rows cancel most of a float's digits for distant planes.
void SetNormalizedPlane(Plane& plane, double a, double b, double c, double d) {
  const double length = std::sqrt(a * a + b * b + c * c);
  if (length != 0.0) {
    a /= length;
    b /= length;
    c /= length;
    d /= length;
  }
  plane.Set(static_cast<float>(a), static_cast<float>(b), static_cast<float>(c), static_cast<float>(d));
}
}  // namespace

void Frustum::SetProjection(const Matrix4x4& projectionMatrix) {
  projection = projectionMatrix;
  const float* m = projection.m;

  // Computed in double: m10 + 1 cancels most of a float's digits for a distant far plane.
  const double farDistance = static_cast<double>(m[14]) / (static_cast<double>(m[10]) + 1.0);
  const double nearDistance = static_cast<double>(m[14]) / (static_cast<double>(m[10]) - 1.0);
  const double xnDouble = nearDistance * (static_cast<double>(m[8]) + 1.0) / m[0];
  const double ynDouble = nearDistance * (static_cast<double>(m[9]) + 1.0) / m[5];
  const float xn = static_cast<float>(xnDouble);
  const float yn = static_cast<float>(ynDouble);
  const float xf = static_cast<float>(xnDouble * farDistance / nearDistance);
  const float yf = static_cast<float>(ynDouble * farDistance / nearDistance);
  const float nearZ = static_cast<float>(-nearDistance);
  const float farZ = static_cast<float>(-farDistance);
  corners[0] = Vector3D(xn, yn, nearZ);
  corners[1] = Vector3D(-xn, yn, nearZ);
  corners[2] = Vector3D(-xf, yf, farZ);
  corners[3] = Vector3D(xf, yf, farZ);
  corners[4] = Vector3D(xn, -yn, nearZ);
  corners[5] = Vector3D(-xn, -yn, nearZ);
  corners[6] = Vector3D(-xf, -yf, farZ);
  corners[7] = Vector3D(xf, -yf, farZ);

  // Row i of the projection is (m[i], m[4 + i], m[8 + i], m[12 + i]).
  auto row = [m](int i, int k) { return static_cast<double>(m[k * 4 + i]); };
  auto setPlane = [&](int index, int otherRow, double sign) {
    SetNormalizedPlane(planes[index], row(3, 0) + sign * row(otherRow, 0),
                       row(3, 1) + sign * row(otherRow, 1), row(3, 2) + sign * row(otherRow, 2),
                       row(3, 3) + sign * row(otherRow, 3));
  };
  setPlane(Top, 1, -1.0);
  setPlane(Bottom, 1, 1.0);
  setPlane(Near, 2, 1.0);
  setPlane(Far, 2, -1.0);
  setPlane(Right, 0, -1.0);
  setPlane(Left, 0, 1.0);
}

void Frustum::Transform(const Matrix4x4& m) {
  Matrix4x4 inverseTranspose = m;
  inverseTranspose.Invert();
  inverseTranspose.Transpose();
  for (Plane& plane : planes) {
    const Vector4D moved = TransformVector4D(inverseTranspose, Vector4D(plane.a, plane.b, plane.c, plane.d));
    SetNormalizedPlane(plane, moved.x, moved.y, moved.z, moved.w);
  }
  for (Vector3D& corner : corners) corner = m * corner;
}

uint32_t Frustum::ClassifyBox(const BoundingBox& box) const {
  uint32_t result = Classification::Inside;
  for (const Plane& plane : planes) {
    int behind = 0;
    for (const Vector3D& corner : box.corners)
      if (corner.ClassifyToPlane(plane) == Classification::Behind) ++behind;
    if (behind == 8) return Classification::Outside;
    if (behind > 0) result = Classification::Intersecting;
  }
  return result;
}

Core::File& WriteFrustum(Core::File& file, const Frustum& frustum) {
  WriteMatrix4x4(file, frustum.projection);
  for (const Plane& plane : frustum.planes) WritePlane(file, plane);
  for (const Vector3D& corner : frustum.corners) WriteVector3D(file, corner);
  return file;
}

Core::File& ReadFrustum(Core::File& file, Frustum& frustum) {
  ReadMatrix4x4(file, frustum.projection);
  for (Plane& plane : frustum.planes) ReadPlane(file, plane);
  for (Vector3D& corner : frustum.corners) ReadVector3D(file, corner);
  return file;
}
}  // namespace Math
