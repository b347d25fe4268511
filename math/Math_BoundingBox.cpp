#include "math/Math_BoundingBox.h"

#include <algorithm>

#include "math/Math_Module.h"
#include "math/Math_Stream.h"

namespace Math {
namespace {
// Face planes through one corner of each face, normals crossed from two edges so they point outward.
// Each entry: the corner the plane passes through, then the ends of the two edges from it.
struct FaceCorners {
  int origin;
  int first;
  int second;
};
constexpr FaceCorners faces[6] = {
    {0, 3, 1},  // top (+y)
    {4, 5, 7},  // bottom (-y)
    {0, 1, 4},  // front (+z)
    {3, 7, 2},  // back (-z)
    {0, 4, 3},  // right (+x)
    {1, 2, 5},  // left (-x)
};
}  // namespace

void BoundingBox::Enclose(BoundingBox& result, const std::vector<BoundingBox>& boxes, float margin) {
  if (boxes.empty()) return;
  if (margin < 0.0f) margin = 0.0f;

  Vector3D low = boxes.front().corners[0];
  Vector3D high = low;
  for (const BoundingBox& box : boxes)
    for (const Vector3D& corner : box.corners) {
      low.x = std::min(low.x, corner.x);
      low.y = std::min(low.y, corner.y);
      low.z = std::min(low.z, corner.z);
      high.x = std::max(high.x, corner.x);
      high.y = std::max(high.y, corner.y);
      high.z = std::max(high.z, corner.z);
    }

  result.center = Vector3D((low.x + high.x) / 2.0f, (low.y + high.y) / 2.0f, (low.z + high.z) / 2.0f);
  const float x0 = low.x - margin, y0 = low.y - margin, z0 = low.z - margin;
  const float x1 = high.x + margin, y1 = high.y + margin, z1 = high.z + margin;
  result.corners[0] = Vector3D(x1, y1, z1);
  result.corners[1] = Vector3D(x0, y1, z1);
  result.corners[2] = Vector3D(x0, y1, z0);
  result.corners[3] = Vector3D(x1, y1, z0);
  result.corners[4] = Vector3D(x1, y0, z1);
  result.corners[5] = Vector3D(x0, y0, z1);
  result.corners[6] = Vector3D(x0, y0, z0);
  result.corners[7] = Vector3D(x1, y0, z0);

  for (int i = 0; i < 6; ++i) {
    const Vector3D& origin = result.corners[faces[i].origin];
    const Vector3D normal =
        Cross(result.corners[faces[i].first] - origin, result.corners[faces[i].second] - origin);
    result.planes[i].SetFromPointNormal(origin, normal);
  }
}

BoundingBox& BoundingBox::Merge(BoundingBox& result, const BoundingBox& a, const BoundingBox& b,
                                float margin) {
  std::vector<BoundingBox>* scratch = GetMergeScratch();
  if (scratch == nullptr) {
    // Outside the math start-up there is no shared list; a local one gives the same answer.
    Enclose(result, std::vector<BoundingBox>{a, b}, margin);
    return result;
  }
  scratch->resize(2);
  (*scratch)[0] = a;
  (*scratch)[1] = b;
  Enclose(result, *scratch, margin);
  return result;
}

Core::File& WriteBoundingBox(Core::File& file, const BoundingBox& box) {
  WriteVector3D(file, box.center);
  for (const Vector3D& corner : box.corners) WriteVector3D(file, corner);
  for (const Plane& plane : box.planes) WritePlane(file, plane);
  return file;
}

Core::File& ReadBoundingBox(Core::File& file, BoundingBox& box) {
  ReadVector3D(file, box.center);
  for (Vector3D& corner : box.corners) ReadVector3D(file, corner);
  for (Plane& plane : box.planes) ReadPlane(file, plane);
  return file;
}
}  // namespace Math
