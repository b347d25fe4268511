#include <gtest/gtest.h>

#include "collision/Collision_Utilities.h"
#include "core/Core_File.h"
#include "tests/collision/CollisionTestSupport.h"

using Collision2D::QlnRect;

TEST(Rectangle, OverlapCountsTouchingEdgesAndContainment) {
  const QlnRect a(10, 0, 10, 0);
  EXPECT_TRUE(Collision2D::RectanglesOverlap(a, QlnRect(20, 10, 20, 10))) << "shared corner";
  EXPECT_TRUE(Collision2D::RectanglesOverlap(a, QlnRect(10, 10, 20, 0))) << "shared edge";
  EXPECT_TRUE(Collision2D::RectanglesOverlap(QlnRect(5, 4, 6, 3), a)) << "inside";
  EXPECT_TRUE(Collision2D::RectanglesOverlap(a, QlnRect(5, 4, 6, 3))) << "contains";
  EXPECT_TRUE(Collision2D::RectanglesOverlap(QlnRect(20, -5, 15, -5), a)) << "b covers a on both axes";
  EXPECT_FALSE(Collision2D::RectanglesOverlap(a, QlnRect(10, 10.01f, 20, 0)));
  EXPECT_FALSE(Collision2D::RectanglesOverlap(a, QlnRect(30, 0, 10, 10.5f)));
}

TEST(Rectangle, IntersectionNeedsOneWholeUnitEachWay) {
  QlnRect out;
  // Overlapping by half a unit: written, but rejected.
  EXPECT_FALSE(Collision2D::IntersectRectangles(QlnRect(10, 0, 10, 0), QlnRect(20, 9.5f, 20, 5), out));
  EXPECT_EQ(out, QlnRect(10, 9.5f, 10, 5));
  // Shared edge: overlap but no intersection.
  EXPECT_TRUE(Collision2D::RectanglesOverlap(QlnRect(10, 0, 10, 0), QlnRect(10, 10, 20, 0)));
  EXPECT_FALSE(Collision2D::IntersectRectangles(QlnRect(10, 0, 10, 0), QlnRect(10, 10, 20, 0), out));
  EXPECT_TRUE(Collision2D::IntersectRectangles(QlnRect(10, 0, 10, 0), QlnRect(20, 9, 20, 5), out));
  EXPECT_EQ(out, QlnRect(10, 9, 10, 5));
  // Disjoint rectangles give an inverted rectangle, never a hit.
  EXPECT_FALSE(Collision2D::IntersectRectangles(QlnRect(1, 0, 1, 0), QlnRect(50, 40, 50, 40), out));
  // The output may alias an input.
  QlnRect a(10, 0, 10, 0);
  EXPECT_TRUE(Collision2D::IntersectRectangles(a, QlnRect(8, 2, 20, -3), a));
  EXPECT_EQ(a, QlnRect(8, 2, 10, 0));
}

TEST(Rectangle, UnionTakesTheOuterEdges) {
  QlnRect out;
  const QlnRect a(4, -1, 3, -2);
  Collision2D::UniteRectangles(a, a, out);
  EXPECT_EQ(out, a);
  Collision2D::UniteRectangles(a, QlnRect(10, 2, 5, 1), out);
  EXPECT_EQ(out, QlnRect(10, -1, 5, -2));
}

TEST(Rectangle, OrientedBoundingRectangle) {
  QlnRect out;
  const QlnRect local(1, 0, 2, 0);
  Collision2D::ComputeBoundingRectangle(local, out, Math::Vector2D(5, 7), 360.0f);
  EXPECT_EQ(out, QlnRect(8, 5, 7, 7));
  Collision2D::ComputeBoundingRectangle(local, out, Math::Vector2D(0, 0), 0.0f);
  EXPECT_EQ(out, local);
  Collision2D::ComputeBoundingRectangle(local, out, Math::Vector2D(0, 0), 90.0f);
  EXPECT_NEAR(out.top, 2, 1e-5);
  EXPECT_NEAR(out.left, -1, 1e-5);
  EXPECT_NEAR(out.right, 0, 1e-5);
  EXPECT_NEAR(out.bottom, 0, 1e-5);
  Collision2D::ComputeBoundingRectangle(QlnRect(1, -1, 1, -1), out, Math::Vector2D(10, -10), 45.0f);
  EXPECT_NEAR(out.top, -10 + 1.41421f, 1e-4);
  EXPECT_NEAR(out.bottom, -10 - 1.41421f, 1e-4);
  EXPECT_NEAR(out.left, 10 - 1.41421f, 1e-4);
  EXPECT_NEAR(out.right, 10 + 1.41421f, 1e-4);
}

TEST(Rectangle, StreamFormIsTopLeftRightBottom) {
  Core::MemoryFile file;
  QlnRect(1, 2, 3, 4).Write(file);
  const auto bytes = CollisionTest::BytesOf(file);
  ASSERT_EQ(bytes.size(), 16u);
  float values[4];
  std::memcpy(values, bytes.data(), 16);
  EXPECT_EQ(values[0], 1);
  EXPECT_EQ(values[3], 4);
  QlnRect back;
  Core::MemoryFile in(bytes.data(), 16);
  back.Read(in);
  EXPECT_EQ(back, QlnRect(1, 2, 3, 4));
}
