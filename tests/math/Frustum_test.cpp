#include <gtest/gtest.h>

#include <vector>

#include "math/Math_BoundingBox.h"
#include "math/Math_Frustum.h"
#include "math/Math_Module.h"

using Math::BoundingBox;
using Math::Frustum;
using Math::Matrix4x4;
using Math::Plane;
using Math::Vector3D;

namespace {
// An axis-aligned cube with its planes, built the way the engine builds boxes.
BoundingBox Cube(const Vector3D& center, float half) {
  BoundingBox seed;
  for (Vector3D& corner : seed.corners) corner = center;
  seed.corners[0] = Vector3D(center.x + half, center.y + half, center.z + half);
  seed.corners[6] = Vector3D(center.x - half, center.y - half, center.z - half);
  BoundingBox box;
  BoundingBox::Enclose(box, {seed}, 0.0f);
  return box;
}

// The far plane of a float projection carries a relative error of about 1e-6.
void ExpectVectorNear(const Vector3D& actual, const Vector3D& expected) {
  EXPECT_NEAR(actual.x, expected.x, 2e-4f);
  EXPECT_NEAR(actual.y, expected.y, 2e-4f);
  EXPECT_NEAR(actual.z, expected.z, 2e-4f);
}

void ExpectVectorEq(const Vector3D& actual, const Vector3D& expected) {
  EXPECT_FLOAT_EQ(actual.x, expected.x);
  EXPECT_FLOAT_EQ(actual.y, expected.y);
  EXPECT_FLOAT_EQ(actual.z, expected.z);
}
}  // namespace

TEST(Plane, SetPicksAPointFromTheLargestUsableCoefficient) {
  Plane plane;
  plane.Set(0.0f, 0.0f, 2.0f, 4.0f);
  ExpectVectorEq(plane.point, Vector3D(0.0f, 0.0f, -2.0f));
  ExpectVectorEq(plane.normal, Vector3D(0.0f, 0.0f, 2.0f));  // not normalised
  plane.Set(0.0f, 2.0f, 0.0001f, 4.0f);
  ExpectVectorEq(plane.point, Vector3D(0.0f, -2.0f, 0.0f));
  plane.Set(4.0f, 0.0f, 0.0f, 8.0f);
  ExpectVectorEq(plane.point, Vector3D(-2.0f, 0.0f, 0.0f));
  plane.Set(0.0001f, 0.0f, 0.0f, 8.0f);  // no usable coefficient: the point stays
  ExpectVectorEq(plane.point, Vector3D(-2.0f, 0.0f, 0.0f));

  plane.SetFromPointNormal(Vector3D(1.0f, 2.0f, 3.0f), Vector3D(0.0f, 1.0f, 0.0f));
  EXPECT_EQ(plane.b, 1.0f);
  EXPECT_EQ(plane.d, -2.0f);
}

TEST(Plane, PointsNearTheStoredPointCountAsOnThePlane) {
  Plane plane;
  plane.Set(0.0f, 0.0f, 1.0f, 0.0f);  // z = 0, stored point the origin
  EXPECT_EQ(Vector3D(0.0f, 0.0f, -0.04f).ClassifyToPlane(plane), 0u);
  EXPECT_EQ(Vector3D(0.0f, 0.0f, -0.06f).ClassifyToPlane(plane), 9u);
  EXPECT_EQ(Vector3D(0.0f, 0.0f, 0.06f).ClassifyToPlane(plane), 8u);
  EXPECT_EQ(Vector3D(5.0f, 5.0f, 0.0f).ClassifyToPlane(plane), 0u);
  // The 0.05 test is against the stored point only, not the plane.
  EXPECT_EQ(Vector3D(50.0f, 0.0f, -0.01f).ClassifyToPlane(plane), 9u);
}

TEST(Frustum, SetProjectionOfAPerspective) {
  Frustum frustum;
  frustum.SetProjection(Matrix4x4::MakePerspective(90.0f, 1.0f, 1.0f, 100.0f));
  ExpectVectorEq(frustum.corners[0], Vector3D(1.0f, 1.0f, -1.0f));
  ExpectVectorNear(frustum.corners[3], Vector3D(100.0f, 100.0f, -100.0f));
  ExpectVectorNear(frustum.corners[6], Vector3D(-100.0f, -100.0f, -100.0f));
  ExpectVectorEq(frustum.corners[5], Vector3D(-1.0f, -1.0f, -1.0f));
  // Near plane: z = -1 with the normal into the volume.
  EXPECT_FLOAT_EQ(frustum.planes[Frustum::Near].c, -1.0f);
  EXPECT_FLOAT_EQ(frustum.planes[Frustum::Near].d, -1.0f);
  EXPECT_FLOAT_EQ(frustum.planes[Frustum::Far].c, 1.0f);
  EXPECT_NEAR(frustum.planes[Frustum::Far].d, 100.0f, 2e-4f);
}

TEST(Frustum, ClassifyBox) {
  Frustum frustum;
  frustum.SetProjection(Matrix4x4::MakePerspective(90.0f, 1.0f, 1.0f, 100.0f));
  EXPECT_EQ(frustum.ClassifyBox(Cube(Vector3D(0.0f, 0.0f, -60.0f), 5.0f)), 3u);
  EXPECT_EQ(frustum.ClassifyBox(Cube(Vector3D(0.0f, 0.0f, 10.0f), 1.0f)), 2u);     // behind the camera
  EXPECT_EQ(frustum.ClassifyBox(Cube(Vector3D(-50.0f, 0.0f, -50.0f), 5.0f)), 0u);  // across the left plane
  EXPECT_EQ(frustum.ClassifyBox(Cube(Vector3D(0.0f, 0.0f, -150.0f), 5.0f)), 2u);   // beyond the far plane
  EXPECT_EQ(frustum.ClassifyBox(Cube(Vector3D(0.0f, 0.0f, -100.0f), 5.0f)), 0u);   // across the far plane
}

TEST(Frustum, TransformMovesPlanesAndCornersIntoWorldSpace) {
  Frustum frustum;
  frustum.SetProjection(Matrix4x4::MakePerspective(90.0f, 1.0f, 1.0f, 100.0f));
  frustum.Transform(Matrix4x4::MakeTranslation(0.0f, 0.0f, 200.0f));  // camera at z = 200
  ExpectVectorEq(frustum.corners[0], Vector3D(1.0f, 1.0f, 199.0f));
  EXPECT_EQ(frustum.ClassifyBox(Cube(Vector3D(0.0f, 0.0f, 140.0f), 5.0f)), 3u);
  EXPECT_EQ(frustum.ClassifyBox(Cube(Vector3D(0.0f, 0.0f, -60.0f), 5.0f)), 2u);
  EXPECT_EQ(frustum.ClassifyBox(Cube(Vector3D(0.0f, 0.0f, 210.0f), 5.0f)), 2u);

  // A camera turned a quarter about z sees a flat wide box the same way.
  Frustum turned;
  turned.SetProjection(Matrix4x4::MakePerspective(90.0f, 1.0f, 1.0f, 100.0f));
  turned.Transform(Matrix4x4::MakeRotationZ(90.0f));
  EXPECT_EQ(turned.ClassifyBox(Cube(Vector3D(0.0f, 0.0f, -60.0f), 5.0f)), 3u);
}

TEST(BoundingBox, EncloseAndMerge) {
  const BoundingBox a = Cube(Vector3D(0.0f, 0.0f, 0.0f), 1.0f);
  const BoundingBox b = Cube(Vector3D(4.0f, 0.0f, 0.0f), 1.0f);

  BoundingBox result;
  BoundingBox::Enclose(result, {a, b}, 0.5f);
  ExpectVectorEq(result.center, Vector3D(2.0f, 0.0f, 0.0f));  // without the margin
  ExpectVectorEq(result.corners[0], Vector3D(5.5f, 1.5f, 1.5f));
  ExpectVectorEq(result.corners[6], Vector3D(-1.5f, -1.5f, -1.5f));
  ExpectVectorEq(result.corners[2], Vector3D(-1.5f, 1.5f, -1.5f));
  ExpectVectorEq(result.corners[7], Vector3D(5.5f, -1.5f, -1.5f));

  // Every face plane passes through its face and points out of the box.
  for (const Plane& plane : result.planes) {
    EXPECT_EQ(Vector3D(2.0f, 0.0f, 0.0f).ClassifyToPlane(plane), 9u);
    EXPECT_EQ(Vector3D(20.0f, 20.0f, 20.0f).ClassifyToPlane(plane) == 8u ||
                  Vector3D(-20.0f, -20.0f, -20.0f).ClassifyToPlane(plane) == 8u,
              true);
  }
  EXPECT_GT(result.planes[0].normal.y, 0.0f);
  EXPECT_LT(result.planes[1].normal.y, 0.0f);
  EXPECT_GT(result.planes[2].normal.z, 0.0f);
  EXPECT_LT(result.planes[3].normal.z, 0.0f);
  EXPECT_GT(result.planes[4].normal.x, 0.0f);
  EXPECT_LT(result.planes[5].normal.x, 0.0f);

  BoundingBox negativeMargin;
  BoundingBox zeroMargin;
  BoundingBox::Enclose(negativeMargin, {a}, -1.0f);
  BoundingBox::Enclose(zeroMargin, {a}, 0.0f);
  for (int i = 0; i < 8; ++i) ExpectVectorEq(negativeMargin.corners[i], zeroMargin.corners[i]);

  BoundingBox untouched = a;
  BoundingBox::Enclose(untouched, {}, 0.0f);
  ExpectVectorEq(untouched.corners[0], a.corners[0]);

  // Merge before the math start-up, during it, and after its shutdown gives the same box.
  BoundingBox merged;
  ExpectVectorEq(BoundingBox::Merge(merged, a, b, 0.5f).corners[0], result.corners[0]);
  Math::Initialize();
  Math::Initialize();
  ASSERT_NE(Math::GetMergeScratch(), nullptr);
  EXPECT_EQ(Math::GetMergeScratch()->size(), 2u);
  BoundingBox::Merge(merged, a, b, 0.5f);
  for (int i = 0; i < 8; ++i) ExpectVectorEq(merged.corners[i], result.corners[i]);
  BoundingBox::Merge(merged, merged, b, 0.0f);  // the result may be one of the inputs
  ExpectVectorEq(merged.corners[0], Vector3D(5.5f, 1.5f, 1.5f));
  Math::Shutdown();
  EXPECT_EQ(Math::GetMergeScratch(), nullptr);
  Math::Shutdown();
}
