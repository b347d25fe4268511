#pragma once

#include <vector>

#include "math/Math_Plane.h"
#include "math/Math_Vector3D.h"

namespace Core {
class File;
}

namespace Math {
// Corner order (top is +y, front is +z): 0 (+x,+y,+z), 1 (-x,+y,+z), 2 (-x,+y,-z), 3 (+x,+y,-z),
// 4 (+x,-y,+z), 5 (-x,-y,+z), 6 (-x,-y,-z), 7 (+x,-y,-z).
// Faces in the order top, bottom, front, back, right, left; their normals point out of the box.
class BoundingBox {
 public:
  Vector3D center;
  Vector3D corners[8];
  Plane planes[6];

  BoundingBox() = default;

  // The axis-aligned box around every corner of boxes, grown by margin (negative counts as 0);
  // the centre is that of the box without margin. An empty list leaves result unchanged.
  static void Enclose(BoundingBox& result, const std::vector<BoundingBox>& boxes, float margin);
  // Enclose of a and b through the shared two-box scratch list (frame thread only).
  static BoundingBox& Merge(BoundingBox& result, const BoundingBox& a, const BoundingBox& b, float margin);
};

// centre, the 8 corners, then the 6 planes.
Core::File& WriteBoundingBox(Core::File& file, const BoundingBox& box);
Core::File& ReadBoundingBox(Core::File& file, BoundingBox& box);
}  // namespace Math
