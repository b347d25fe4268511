#include <gtest/gtest.h>

#include <cmath>

#include "math/Math_Circle2D.h"
#include "math/Math_Line2D.h"
#include "math/Math_Ray2D.h"
#include "math/Math_Vector2D.h"

using Math::Vector2D;

TEST(Vector2D, NormalizeLeavesVectorsShorterThanTheToleranceUnchanged) {
  Vector2D tiny(0.0003f, 0.0003f);  // length 0.000424
  tiny.Normalize();
  EXPECT_EQ(tiny, Vector2D(0.0003f, 0.0003f));

  Vector2D small(0.003f, 0.004f);  // length 0.005
  small.Normalize();
  EXPECT_FLOAT_EQ(small.x, 0.6f);
  EXPECT_FLOAT_EQ(small.y, 0.8f);

  Vector2D zero;
  zero.Normalize();
  EXPECT_EQ(zero, Vector2D(0.0f, 0.0f));
}

TEST(Vector2D, NormalizedDividesAnyNonZeroLength) {
  EXPECT_EQ(Math::Normalized(Vector2D(0.0f, 0.0f)), Vector2D(0.0f, 0.0f));
  EXPECT_EQ(Math::Normalized(Vector2D(1e-6f, 0.0f)), Vector2D(1.0f, 0.0f));
  const Vector2D n = Math::Normalized(Vector2D(3.0f, -4.0f));
  EXPECT_FLOAT_EQ(n.x, 0.6f);
  EXPECT_FLOAT_EQ(n.y, -0.8f);
}

TEST(Vector2D, DirectionFromAngleSnapsNearZeroComponents) {
  EXPECT_EQ(Math::DirectionFromAngle(90.0f), Vector2D(0.0f, 1.0f));
  EXPECT_EQ(Math::DirectionFromAngle(180.0f), Vector2D(-1.0f, 0.0f));
  EXPECT_EQ(Math::DirectionFromAngle(270.0f), Vector2D(0.0f, -1.0f));
  EXPECT_EQ(Math::DirectionFromAngle(0.003f), Vector2D(1.0f, 0.0f));  // sine 0.0000524 snaps
  const Vector2D kept = Math::DirectionFromAngle(0.01f);              // sine 0.000175 stays
  EXPECT_NEAR(kept.y, 0.000174533f, 1e-9f);
  EXPECT_EQ(kept.x, 1.0f);
}

TEST(Vector2D, AngleOfDirectionCoversTheFullCircleAndNeverGivesNaN) {
  EXPECT_EQ(Math::AngleOfDirection(Vector2D(1.0f, 0.0f)), 0.0f);
  EXPECT_EQ(Math::AngleOfDirection(Vector2D(-1.0f, 0.0f)), 180.0f);
  EXPECT_EQ(Math::AngleOfDirection(Vector2D(0.0f, -1.0f)), 270.0f);
  EXPECT_FLOAT_EQ(Math::AngleOfDirection(Vector2D(0.0f, 1.0f)), 90.0f);
  EXPECT_NEAR(Math::AngleOfDirection(Math::Normalized(Vector2D(1.0f, -1.0f))), 315.0f, 1e-4f);
  // Rounding can leave a "unit" x just beyond +-1.
  EXPECT_EQ(Math::AngleOfDirection(Vector2D(1.0000001f, 0.0f)), 0.0f);
  EXPECT_EQ(Math::AngleOfDirection(Vector2D(-1.0000001f, 0.0f)), 180.0f);
}

TEST(Vector2D, OperatorsAndComparisons) {
  const Vector2D a(1.0f, 2.0f);
  const Vector2D b(3.0f, -1.0f);
  EXPECT_EQ(a + b, Vector2D(4.0f, 1.0f));
  EXPECT_EQ(a - b, Vector2D(-2.0f, 3.0f));
  EXPECT_EQ(Math::Difference(a, b), a - b);
  EXPECT_EQ(-a, Vector2D(-1.0f, -2.0f));
  EXPECT_EQ(a * 2.0f, Vector2D(2.0f, 4.0f));
  EXPECT_EQ(2.0f * a, Vector2D(2.0f, 4.0f));
  EXPECT_EQ(b / 2.0f, Vector2D(1.5f, -0.5f));
  EXPECT_EQ(a.Dot(b), 1.0f);
  EXPECT_EQ(Math::Dot(a, b), 1.0f);
  EXPECT_TRUE(a != b);
  EXPECT_TRUE(Vector2D(1.0f, 2.0f) != Vector2D(1.0f, 2.5f));
  EXPECT_FALSE(a != Vector2D(1.0f, 2.0f));
  Vector2D c = a;
  c += b;
  c -= Vector2D(1.0f, 1.0f);
  c.Scale(2.0f, -1.0f);
  EXPECT_EQ(c, Vector2D(6.0f, 0.0f));
  c.SetZero();
  EXPECT_EQ(c, Vector2D());
  EXPECT_EQ(Vector2D(3.0f, 4.0f).Length(), 5.0f);
  EXPECT_EQ(Vector2D(1.0f, 1.0f).Distance(Vector2D(4.0f, 5.0f)), 5.0f);
}

TEST(Vector2D, IsInRangeIncludesBothBounds) {
  EXPECT_TRUE(Math::IsInRange(1.5f, 1.0f, 0.5f));
  EXPECT_TRUE(Math::IsInRange(0.5f, 1.0f, 0.5f));
  EXPECT_FALSE(Math::IsInRange(1.5001f, 1.0f, 0.5f));
}

TEST(Vector2D, DistanceToLine) {
  Vector2D closest(99.0f, 99.0f);
  EXPECT_EQ(Vector2D(3.0f, 4.0f).DistanceToLine(Vector2D(0.0f, 0.0f), Vector2D(2.0f, 0.0f), closest), 4.0f);
  EXPECT_EQ(closest, Vector2D(3.0f, 0.0f));

  // A zero direction is the point itself, not a NaN.
  EXPECT_EQ(Vector2D(3.0f, 4.0f).DistanceToLine(Vector2D(0.0f, 0.0f), Vector2D(0.0f, 0.0f), closest), 5.0f);
  EXPECT_EQ(closest, Vector2D(0.0f, 0.0f));
}

TEST(Vector2D, DistanceToLine2DKeepsTheCallersPointForAZeroDirection) {
  Vector2D closest(99.0f, 99.0f);
  const Math::Line2D line(Vector2D(0.0f, 1.0f), Vector2D(1.0f, 0.0f));
  EXPECT_EQ(Vector2D(5.0f, 4.0f).DistanceToLine2D(line, closest), 3.0f);
  EXPECT_EQ(closest, Vector2D(5.0f, 1.0f));

  const Math::Ray2D ray(Vector2D(0.0f, 0.0f), Vector2D(0.0f, 2.0f));
  EXPECT_EQ(Vector2D(-2.0f, 7.0f).DistanceToLine2D(ray, closest), 2.0f);
  EXPECT_EQ(closest, Vector2D(0.0f, 7.0f));

  closest = Vector2D(1.0f, 0.0f);
  const Math::Line2D degenerate(Vector2D(0.0f, 0.0f), Vector2D(0.0f, 0.0f));
  EXPECT_EQ(Vector2D(4.0f, 4.0f).DistanceToLine2D(degenerate, closest), 5.0f);
  EXPECT_EQ(closest, Vector2D(1.0f, 0.0f));
}

TEST(Vector2D, ClassifyToCircleIsExactOnTheRim) {
  const Math::Circle2D unit(Vector2D(0.0f, 0.0f), 1.0f);
  EXPECT_EQ(Vector2D(1.0f, 0.0f).ClassifyToCircle(unit), 0u);
  EXPECT_EQ(Vector2D(0.0f, -1.0f).ClassifyToCircle(unit), 0u);
  EXPECT_EQ(Vector2D(1.0001f, 0.0f).ClassifyToCircle(unit), 2u);
  EXPECT_EQ(Vector2D(0.9999f, 0.0f).ClassifyToCircle(unit), 3u);
  EXPECT_EQ(Vector2D(0.0f, 0.0f).ClassifyToCircle(unit), 3u);
}
