#include <gtest/gtest.h>

#include "math/Math_Matrix3x3.h"
#include "math/Math_Matrix4x4.h"
#include "math/Math_Quaternion.h"

using Math::Matrix3x3;
using Math::Matrix4x4;
using Math::Quaternion;
using Math::Vector2D;
using Math::Vector3D;

namespace {
void ExpectMatrixNear(const Matrix4x4& actual, const Matrix4x4& expected, float tolerance) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual.m[i], expected.m[i], tolerance) << "element " << i;
}

Matrix4x4 DiagonalMatrix(float value) {
  Matrix4x4 m;
  m.m[0] = m.m[5] = m.m[10] = m.m[15] = value;
  return m;
}
}  // namespace

TEST(Matrix4x4, DefaultIsIdentityAndProductIsColumnMajor) {
  const Matrix4x4 identity;
  for (int i = 0; i < 16; ++i) EXPECT_EQ(identity.m[i], (i % 5 == 0) ? 1.0f : 0.0f);

  // Translate after scaling: T * S applied to a point scales first.
  const Matrix4x4 ts =
      Matrix4x4::MakeTranslation(10.0f, 20.0f, 30.0f) * Matrix4x4::MakeScale(2.0f, 3.0f, 4.0f);
  const Vector3D p = ts * Vector3D(1.0f, 1.0f, 1.0f);
  EXPECT_EQ(p.x, 12.0f);
  EXPECT_EQ(p.y, 23.0f);
  EXPECT_EQ(p.z, 34.0f);
  EXPECT_EQ(ts.m[12], 10.0f);
  EXPECT_EQ(ts.m[0], 2.0f);

  Matrix4x4 t = Matrix4x4::MakeTranslation(1.0f, 2.0f, 3.0f);
  t.Transpose();
  EXPECT_EQ(t.m[3], 1.0f);
  EXPECT_EQ(t.m[7], 2.0f);
  EXPECT_EQ(t.m[11], 3.0f);
  EXPECT_EQ(t.m[12], 0.0f);
}

TEST(Matrix4x4, RotationZIsCounterClockwise) {
  const Matrix4x4 r = Matrix4x4::MakeRotationZ(90.0f);
  const Vector3D p = r * Vector3D(1.0f, 0.0f, 0.0f);
  EXPECT_NEAR(p.x, 0.0f, 1e-6f);
  EXPECT_FLOAT_EQ(p.y, 1.0f);
  EXPECT_EQ(r.m[10], 1.0f);
  EXPECT_EQ(r.m[15], 1.0f);

  Matrix4x4 set = Matrix4x4::MakeTranslation(5.0f, 5.0f, 5.0f);
  Math::SetRotationZ(set, 90.0f);
  EXPECT_EQ(set, r);  // every other element is cleared
}

TEST(Matrix4x4, Ortho2DMapsTheScreenToClipSpace) {
  const Matrix4x4 ortho = Matrix4x4::MakeOrtho2D(0.0f, 1280.0f, 0.0f, 720.0f);
  const Vector3D topRight = ortho * Vector3D(1280.0f, 720.0f, 0.0f);
  EXPECT_FLOAT_EQ(topRight.x, 1.0f);
  EXPECT_FLOAT_EQ(topRight.y, 1.0f);
  EXPECT_EQ(topRight.z, 0.0f);
  const Vector3D origin = ortho * Vector3D(0.0f, 0.0f, 0.0f);
  EXPECT_EQ(origin.x, -1.0f);
  EXPECT_EQ(origin.y, -1.0f);
  EXPECT_EQ(origin.z, 0.0f);
  EXPECT_EQ(ortho.m[10], -1.0f);
}

TEST(Matrix4x4, Perspective) {
  const Matrix4x4 p = Matrix4x4::MakePerspective(90.0f, 1.0f, 1.0f, 100.0f);
  EXPECT_FLOAT_EQ(p.m[0], 1.0f);
  EXPECT_FLOAT_EQ(p.m[5], 1.0f);
  EXPECT_FLOAT_EQ(p.m[10], -101.0f / 99.0f);
  EXPECT_FLOAT_EQ(p.m[14], -200.0f / 99.0f);
  EXPECT_EQ(p.m[11], -1.0f);
  EXPECT_EQ(p.m[15], 0.0f);
  const Matrix4x4 wide = Matrix4x4::MakePerspective(90.0f, 2.0f, 1.0f, 100.0f);
  EXPECT_FLOAT_EQ(wide.m[0], 0.5f);
}

TEST(Matrix4x4, DeterminantAndInverseTolerances) {
  EXPECT_FLOAT_EQ(Matrix4x4::MakeScale(2.0f, 3.0f, 4.0f).Determinant(), 24.0f);

  Matrix4x4 general = Matrix4x4::MakeTranslation(3.0f, -2.0f, 7.0f) * Matrix4x4::MakeRotationZ(30.0f) *
                      Matrix4x4::MakeScale(2.0f, 0.5f, 4.0f);
  EXPECT_FLOAT_EQ(general.Determinant(), 4.0f);
  general.m[3] = 0.25f;  // a projective term as well
  const Matrix4x4 inverse = general.GetInverse();
  ExpectMatrixNear(general * inverse, Matrix4x4(), 1e-5f);
  Matrix4x4 inPlace = general;
  inPlace.Invert();
  ExpectMatrixNear(inPlace, inverse, 1e-6f);

  // Determinant 0.0001: Invert inverts, GetInverse refuses below 0.0005.
  const Matrix4x4 small = DiagonalMatrix(0.1f);
  EXPECT_NEAR(small.Determinant(), 0.0001f, 1e-8f);
  EXPECT_EQ(small.GetInverse(), small);
  Matrix4x4 inverted = small;
  inverted.Invert();
  ExpectMatrixNear(inverted, DiagonalMatrix(10.0f), 1e-4f);

  // Exactly singular: Invert leaves it unchanged.
  Matrix4x4 singular = Matrix4x4::MakeScale(1.0f, 0.0f, 1.0f);
  EXPECT_EQ(singular.Determinant(), 0.0f);
  singular.Invert();
  EXPECT_EQ(singular, Matrix4x4::MakeScale(1.0f, 0.0f, 1.0f));
}

TEST(Matrix4x4, ScaleAndTransformVector4D) {
  Matrix4x4 scaled;
  Math::ScaleMatrix4x4(scaled, Matrix4x4::MakeTranslation(1.0f, 2.0f, 3.0f), 2.0f);
  EXPECT_EQ(scaled.m[0], 2.0f);
  EXPECT_EQ(scaled.m[13], 4.0f);
  EXPECT_EQ(scaled.m[15], 2.0f);

  const Math::Vector4D v = Math::TransformVector4D(Matrix4x4::MakeTranslation(1.0f, 2.0f, 3.0f),
                                                   Math::Vector4D(1.0f, 1.0f, 1.0f, 2.0f));
  EXPECT_EQ(v.x, 3.0f);
  EXPECT_EQ(v.y, 5.0f);
  EXPECT_EQ(v.z, 7.0f);
  EXPECT_EQ(v.w, 2.0f);

  Math::Vector4D defaults;
  EXPECT_EQ(defaults.w, 1.0f);
  defaults.SetZero();
  EXPECT_EQ(defaults.w, 0.0f);
}

TEST(Vector3D, NormalizeAndCross) {
  Vector3D zero;
  zero.Normalize();
  EXPECT_EQ(zero.x, 0.0f);
  EXPECT_EQ(zero.y, 0.0f);
  EXPECT_EQ(zero.z, 0.0f);

  Vector3D v(0.0f, 3.0f, 4.0f);
  v.Normalize();
  EXPECT_FLOAT_EQ(v.y, 0.6f);
  EXPECT_FLOAT_EQ(v.z, 0.8f);

  const Vector3D z = Math::Cross(Vector3D(1.0f, 0.0f, 0.0f), Vector3D(0.0f, 1.0f, 0.0f));
  EXPECT_EQ(z.x, 0.0f);
  EXPECT_EQ(z.y, 0.0f);
  EXPECT_EQ(z.z, 1.0f);
}

TEST(Quaternion, TwoQuarterTurnsMakeAHalfTurn) {
  Quaternion q(Vector3D(0.0f, 0.0f, 1.0f), 90.0f);
  EXPECT_FLOAT_EQ(q.w, 0.70710678f);
  EXPECT_FLOAT_EQ(q.z, 0.70710678f);
  q *= Quaternion(Vector3D(0.0f, 0.0f, 1.0f), 90.0f);
  EXPECT_NEAR(q.w, 0.0f, 1e-6f);
  EXPECT_EQ(q.x, 0.0f);
  EXPECT_EQ(q.y, 0.0f);
  EXPECT_NEAR(q.z, 1.0f, 1e-6f);
}

TEST(Quaternion, AxisIsNormalisedWithoutTouchingTheCallersVector) {
  const Vector3D axis(0.0f, 0.0f, 5.0f);
  const Quaternion q(axis, 180.0f);
  EXPECT_EQ(axis.z, 5.0f);
  EXPECT_NEAR(q.w, 0.0f, 1e-6f);
  EXPECT_FLOAT_EQ(q.z, 1.0f);
}

TEST(Quaternion, ProductUsesTheComponentsFromBeforeTheCall) {
  // i * j = k in the Hamilton product.
  Quaternion i(0.0f, 1.0f, 0.0f, 0.0f);
  i *= Quaternion(0.0f, 0.0f, 1.0f, 0.0f);
  EXPECT_EQ(i.w, 0.0f);
  EXPECT_EQ(i.x, 0.0f);
  EXPECT_EQ(i.y, 0.0f);
  EXPECT_EQ(i.z, 1.0f);

  Quaternion self(Vector3D(1.0f, 0.0f, 0.0f), 60.0f);
  self *= self;
  const Quaternion expected(Vector3D(1.0f, 0.0f, 0.0f), 120.0f);
  EXPECT_NEAR(self.w, expected.w, 1e-6f);
  EXPECT_NEAR(self.x, expected.x, 1e-6f);
}

TEST(Quaternion, NormalizeAndMatrix) {
  Quaternion zero(0.0f, 0.0f, 0.0f, 0.0f);
  zero.Normalize();
  EXPECT_EQ(zero.w, 0.0f);

  Quaternion q(2.0f, 0.0f, 0.0f, 0.0f);
  q.Normalize();
  EXPECT_EQ(q.w, 1.0f);
  Matrix4x4 m = Matrix4x4::MakeTranslation(1.0f, 1.0f, 1.0f);
  q.GetMatrix(m);
  EXPECT_EQ(m, Matrix4x4());

  // The matrix holds the element pattern written for row vectors: in this column-major storage a
  // quarter turn about z comes out as MakeRotationZ(-90).
  Quaternion(Vector3D(0.0f, 0.0f, 1.0f), 90.0f).GetMatrix(m);
  ExpectMatrixNear(m, Matrix4x4::MakeRotationZ(-90.0f), 1e-6f);
  Quaternion(Vector3D(1.0f, 0.0f, 0.0f), 90.0f).GetMatrix(m);
  const Vector3D y = m * Vector3D(0.0f, 1.0f, 0.0f);
  EXPECT_NEAR(y.x, 0.0f, 1e-6f);
  EXPECT_NEAR(y.y, 0.0f, 1e-6f);
  EXPECT_NEAR(y.z, -1.0f, 1e-6f);
}

TEST(Matrix3x3, RotationAndTranslationPlacePoints) {
  const Vector2D rotated = Matrix3x3::MakeRotation(90.0f) * Vector2D(1.0f, 0.0f);
  EXPECT_NE(rotated.x, 0.0f);  // cos 90 is not snapped
  EXPECT_NEAR(rotated.x, 0.0f, 1e-6f);
  EXPECT_FLOAT_EQ(rotated.y, 1.0f);

  const Vector2D placed =
      (Matrix3x3::MakeTranslation(3.0f, 4.0f) * Matrix3x3::MakeRotation(90.0f)) * Vector2D(1.0f, 0.0f);
  EXPECT_NEAR(placed.x, 3.0f, 1e-6f);
  EXPECT_FLOAT_EQ(placed.y, 5.0f);

  const Vector2D direction = Math::TransformDirection(
      Matrix3x3::MakeTranslation(Vector2D(3.0f, 4.0f)) * Matrix3x3::MakeRotation(180.0f),
      Vector2D(1.0f, 0.0f));
  EXPECT_FLOAT_EQ(direction.x, -1.0f);
  EXPECT_NEAR(direction.y, 0.0f, 1e-6f);
}

TEST(Matrix3x3, InverseRefusesNearSingularMatrices) {
  Matrix3x3 out;
  (Matrix3x3::MakeTranslation(3.0f, 4.0f)).GetInverse(out);
  EXPECT_EQ(out.m[2], -3.0f);
  EXPECT_EQ(out.m[5], -4.0f);

  // Scaled by 0.02 in both axes: det 0.0004 leaves the caller's identity as it was.
  Matrix3x3 tiny;
  tiny.m[0] = tiny.m[4] = 0.02f;
  Matrix3x3 untouched;
  tiny.GetInverse(untouched);
  EXPECT_EQ(untouched, Matrix3x3());

  Matrix3x3 general =
      Matrix3x3::MakeTranslation(5.0f, -2.0f) * Matrix3x3::MakeRotation(33.0f) * (Matrix3x3() * 3.0f);
  general.m[8] = 1.0f;
  Matrix3x3 inverse;
  general.GetInverse(inverse);
  const Matrix3x3 product = general * inverse;
  for (int i = 0; i < 9; ++i) EXPECT_NEAR(product.m[i], Matrix3x3().m[i], 1e-5f) << "element " << i;

  // Inverting into itself reads every element before writing.
  Matrix3x3 self = general;
  self.GetInverse(self);
  EXPECT_EQ(self, inverse);
}

TEST(Matrix3x3, ScalarProducts) {
  const Matrix3x3 a = Math::ScaleMatrix3x3(Matrix3x3::MakeTranslation(1.0f, 2.0f), 3.0f);
  const Matrix3x3 b = 3.0f * Matrix3x3::MakeTranslation(1.0f, 2.0f);
  EXPECT_EQ(a, b);
  EXPECT_EQ(a.m[5], 6.0f);
  EXPECT_EQ(a.m[8], 3.0f);
}
