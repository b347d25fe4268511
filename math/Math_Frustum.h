#pragma once

#include "math/Math_BoundingBox.h"
#include "math/Math_Matrix4x4.h"
#include "math/Math_Plane.h"

namespace Core {
class File;
}

namespace Math {
// A camera's view volume: planes in the order top, bottom, near, far, right, left, their normals
// pointing inwards; corners in the order of BoundingBox (0, 1, 4, 5 on the near plane, 2, 3, 6, 7 on
// the far plane).
class Frustum {
 public:
  enum PlaneIndex { Top = 0, Bottom, Near, Far, Right, Left };

  Matrix4x4 projection;
  Plane planes[6];
  Vector3D corners[8];

  Frustum() = default;

  void SetProjection(const Matrix4x4& projectionMatrix);
  // Moves the planes (by the inverse transpose of m) and the corners (as points) by m.
  void Transform(const Matrix4x4& m);
  // Classification::Outside (2) when every corner lies behind one plane, Inside (3) when no corner
  // lies behind any plane, otherwise Intersecting (0).
  uint32_t ClassifyBox(const BoundingBox& box) const;
};

// The projection (64 bytes), the 6 planes, then the 8 corners.
Core::File& WriteFrustum(Core::File& file, const Frustum& frustum);
Core::File& ReadFrustum(Core::File& file, Frustum& frustum);
}  // namespace Math
