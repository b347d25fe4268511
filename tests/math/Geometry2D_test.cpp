#include <gtest/gtest.h>

#include <cmath>
#include <lua.hpp>

#include "math/Math_Geometry2D.h"

using namespace Math;

namespace {
const Vector2D kUntouched(-77.0f, -77.0f);
const LineSegment2D kUntouchedSegment(kUntouched, kUntouched);

LineSegment2D Segment(float ax, float ay, float bx, float by) {
  return LineSegment2D(Vector2D(ax, ay), Vector2D(bx, by));
}

struct SegmentResult {
  uint32_t code;
  Vector2D point;
  LineSegment2D overlap;
};

SegmentResult Classify(const LineSegment2D& s, const LineSegment2D& t) {
  SegmentResult result{0, kUntouched, kUntouchedSegment};
  result.code = s.ClassifyToLineSegment(t, result.point, result.overlap);
  return result;
}

SegmentResult Classify(const LineSegment2D& s, const Ray2D& ray) {
  SegmentResult result{0, kUntouched, kUntouchedSegment};
  result.code = s.ClassifyToRay(ray, result.point, result.overlap);
  return result;
}

void ExpectPoint(const Vector2D& actual, const Vector2D& expected) {
  EXPECT_FLOAT_EQ(actual.x, expected.x);
  EXPECT_FLOAT_EQ(actual.y, expected.y);
}

void ExpectSegment(const LineSegment2D& actual, const Vector2D& a, const Vector2D& b) {
  EXPECT_EQ(actual.pointA, a);
  EXPECT_EQ(actual.pointB, b);
}

template <typename Other>
void ExpectOverlap(const LineSegment2D& s, const Other& other, uint32_t code, const Vector2D& a, const Vector2D& b) {
  const SegmentResult r = Classify(s, other);
  EXPECT_EQ(r.code, code);
  ExpectSegment(r.overlap, a, b);
}
}  // namespace

TEST(LineSegment2D, CrossingAndMissing) {
  SegmentResult r = Classify(Segment(0, 0, 10, 0), Segment(5, -5, 5, 5));
  EXPECT_EQ(r.code, 0u);
  EXPECT_EQ(r.point, Vector2D(5.0f, 0.0f));
  ExpectSegment(r.overlap, kUntouched, kUntouched);

  r = Classify(Segment(0, 0, 10, 0), Segment(11, -5, 11, 5));
  EXPECT_EQ(r.code, 1u);
  EXPECT_EQ(r.point, kUntouched);

  // Touching at the end points counts as crossing (both parameter ranges are closed).
  r = Classify(Segment(0, 0, 10, 0), Segment(10, 0, 10, 5));
  EXPECT_EQ(r.code, 0u);
  EXPECT_EQ(r.point, Vector2D(10.0f, 0.0f));
  r = Classify(Segment(0, 0, 10, 0), Segment(10.001f, -5, 10.001f, 5));
  EXPECT_EQ(r.code, 1u);
}

TEST(LineSegment2D, ParallelToleranceIsOnTheCrossOfTheDirections) {
  // cross 0.0006: not parallel, the lines meet far outside both segments.
  SegmentResult r = Classify(Segment(0, 0, 10, 0), Segment(0, 1, 10, 1.00006f));
  EXPECT_EQ(r.code, 1u);
  // cross 0.0004: parallel, and 1 apart gives e = -10.
  r = Classify(Segment(0, 0, 10, 0), Segment(0, 1, 10, 1.00004f));
  EXPECT_EQ(r.code, 20u);
}

TEST(LineSegment2D, ParallelAndCollinear) {
  ExpectOverlap(Segment(0, 0, 10, 0), Segment(0, 2, 10, 2), 20u, kUntouched, kUntouched);  // e = -20

  // e = -0.5 lies inside the collinearity tolerance of 1.0.
  ExpectOverlap(Segment(0, 0, 10, 0), Segment(2, 0.05f, 4, 0.05f), 19u, Vector2D(2, 0.05f), Vector2D(4, 0.05f));

  ExpectOverlap(Segment(0, 0, 10, 0), Segment(2, 0, 4, 0), 19u, Vector2D(2, 0), Vector2D(4, 0));

  // The longer other contains this one.
  ExpectOverlap(Segment(2, 0, 4, 0), Segment(0, 0, 10, 0), 19u, Vector2D(2, 0), Vector2D(4, 0));

  ExpectOverlap(Segment(0, 0, 1, 0), Segment(2, 0, 3, 0), 21u, kUntouched, kUntouched);
}

TEST(LineSegment2D, PartialOverlapIsChosenByTheTruncatedDotProduct) {
  // Equal lengths, dot 1: overlap from B to E.
  ExpectOverlap(Segment(0, 0, 1, 0), Segment(0.5f, 0, 1.5f, 0), 19u, Vector2D(1, 0), Vector2D(0.5f, 0));

  // The same shapes scaled by 10: dot 100 selects no overlap.
  ExpectOverlap(Segment(0, 0, 10, 0), Segment(5, 0, 15, 0), 21u, kUntouched, kUntouched);

  // Opposite directions, dot -1: overlap from B to F.
  ExpectOverlap(Segment(0, 0, 1, 0), Segment(1.5f, 0, 0.5f, 0), 19u, Vector2D(1, 0), Vector2D(0.5f, 0));

  // Other strictly shorter, dot 1.5 truncates to 1: overlap from E to B.
  ExpectOverlap(Segment(0, 0, 1.5f, 0), Segment(1, 0, 2, 0), 19u, Vector2D(1, 0), Vector2D(1.5f, 0));

  // Other strictly shorter, reversed, dot -1.5 truncates to -1: overlap from F to B.
  ExpectOverlap(Segment(0, 0, 1.5f, 0), Segment(2, 0, 1, 0), 19u, Vector2D(1, 0), Vector2D(1.5f, 0));

  // dot 2 (truncation gives 2): disjoint even though they overlap.
  EXPECT_EQ(Classify(Segment(0, 0, 2, 0), Segment(1.5f, 0, 2.5f, 0)).code, 21u);

  // Huge coordinates must not overflow the truncation.
  EXPECT_EQ(Classify(Segment(0, 0, 1e30f, 0), Segment(5e29f, 0, 1.5e30f, 0)).code, 21u);
}

TEST(LineSegment2D, ClassifySegmentOverlapUsesAnExactCollinearityTest) {
  EXPECT_EQ(ClassifySegmentOverlap(Segment(0, 0, 10, 0), Segment(5, -5, 5, 5)), 0u);
  EXPECT_EQ(ClassifySegmentOverlap(Segment(0, 0, 10, 0), Segment(11, -5, 11, 5)), 1u);
  EXPECT_EQ(ClassifySegmentOverlap(Segment(0, 0, 10, 0), Segment(2, 0.05f, 4, 0.05f)), 20u);
  EXPECT_EQ(ClassifySegmentOverlap(Segment(0, 0, 10, 0), Segment(2, 0, 4, 0)), 19u);
  EXPECT_EQ(ClassifySegmentOverlap(Segment(0, 0, 1, 0), Segment(0.5f, 0, 1.5f, 0)), 19u);
  EXPECT_EQ(ClassifySegmentOverlap(Segment(0, 0, 10, 0), Segment(5, 0, 15, 0)), 21u);
  EXPECT_EQ(ClassifySegmentOverlap(Segment(0, 0, 1, 0), Segment(2, 0, 3, 0)), 21u);
}

TEST(LineSegment2D, AgainstARay) {
  const LineSegment2D s = Segment(0, 0, 10, 0);
  SegmentResult r = Classify(s, Ray2D(Vector2D(5, -5), Vector2D(0, 1)));
  EXPECT_EQ(r.code, 0u);
  EXPECT_EQ(r.point, Vector2D(5, 0));
  EXPECT_EQ(Classify(s, Ray2D(Vector2D(5, -5), Vector2D(0, -1))).code, 1u);
  EXPECT_EQ(Classify(s, Ray2D(Vector2D(0, 1), Vector2D(1, 0))).code, 20u);

  // The ray covers the whole segment; then it starts inside, pointing on or back.
  ExpectOverlap(s, Ray2D(Vector2D(-5, 0), Vector2D(1, 0)), 19u, Vector2D(0, 0), Vector2D(10, 0));
  ExpectOverlap(s, Ray2D(Vector2D(5, 0), Vector2D(1, 0)), 19u, Vector2D(10, 0), Vector2D(5, 0));
  ExpectOverlap(s, Ray2D(Vector2D(5, 0), Vector2D(-1, 0)), 19u, Vector2D(0, 0), Vector2D(5, 0));
  r = Classify(s, Ray2D(Vector2D(15, 0), Vector2D(1, 0)));  // beyond B, pointing away
  EXPECT_EQ(r.code, 21u);
  EXPECT_EQ(r.point, kUntouched);
  r = Classify(s, Ray2D(Vector2D(10, 0), Vector2D(1, 0)));  // touches at B
  EXPECT_EQ(r.code, 0u);
  EXPECT_EQ(r.point, Vector2D(10, 0));
  r = Classify(s, Ray2D(Vector2D(0, 0), Vector2D(-1, 0)));  // touches at A
  EXPECT_EQ(r.code, 0u);
  EXPECT_EQ(r.point, Vector2D(0, 0));

  // The ray's own form of the same question.
  Vector2D point = kUntouched;
  LineSegment2D overlap;
  EXPECT_EQ(Ray2D(Vector2D(5, -5), Vector2D(0, 1)).ClassifyToLineSegment(s, point, overlap), 0u);
  EXPECT_EQ(point, Vector2D(5, 0));
}

TEST(LineSegment2D, AgainstALine) {
  const LineSegment2D s = Segment(0, 0, 10, 0);
  Vector2D point = kUntouched;
  EXPECT_EQ(s.ClassifyToLine(Line2D(Vector2D(5, -5), Vector2D(0, 1)), point), 0u);
  EXPECT_EQ(point, Vector2D(5, 0));
  point = kUntouched;
  EXPECT_EQ(s.ClassifyToLine(Line2D(Vector2D(15, -5), Vector2D(0, 1)), point), 1u);
  EXPECT_EQ(point, kUntouched);
  EXPECT_EQ(s.ClassifyToLine(Line2D(Vector2D(20, 0), Vector2D(-3, 0)), point), 19u);
  EXPECT_EQ(s.ClassifyToLine(Line2D(Vector2D(0, 1), Vector2D(1, 0)), point), 20u);
  EXPECT_EQ(point, kUntouched);
  EXPECT_EQ(Line2D(Vector2D(5, -5), Vector2D(0, 1)).ClassifyToLineSegment(s, point), 0u);
}

TEST(LineSegment2D, AgainstACircle) {
  const Circle2D unit(Vector2D(0, 0), 1.0f);
  Vector2D points[2] = {kUntouched, kUntouched};
  EXPECT_EQ(Segment(-5, 0, 5, 0).ClassifyToCircle(unit, points), 15u);
  ExpectPoint(points[0], Vector2D(-1, 0));
  ExpectPoint(points[1], Vector2D(1, 0));

  points[0] = points[1] = kUntouched;
  EXPECT_EQ(Segment(0, 0, 5, 0).ClassifyToCircle(unit, points), 14u);
  ExpectPoint(points[0], Vector2D(1, 0));
  EXPECT_EQ(points[1], kUntouched);

  points[0] = points[1] = kUntouched;
  EXPECT_EQ(Segment(5, 0, -0.5f, 0).ClassifyToCircle(unit, points), 14u);  // only the entry point
  ExpectPoint(points[0], Vector2D(1, 0));

  points[0] = kUntouched;
  EXPECT_EQ(Segment(-5, 1, 5, 1).ClassifyToCircle(unit, points), 13u);
  ExpectPoint(points[0], Vector2D(0, 1));

  points[0] = kUntouched;
  EXPECT_EQ(Segment(-0.5f, 0, 0.5f, 0).ClassifyToCircle(unit, points), 1u);  // wholly inside
  EXPECT_EQ(Segment(2, 0, 5, 0).ClassifyToCircle(unit, points), 1u);
  EXPECT_EQ(Segment(-5, 1.001f, 5, 1.001f).ClassifyToCircle(unit, points), 1u);
  EXPECT_EQ(Segment(3, 1, 5, 1).ClassifyToCircle(unit, points), 1u);  // tangent point outside the segment
  EXPECT_EQ(points[0], kUntouched);
  EXPECT_EQ(Segment(2, 2, 2, 2).ClassifyToCircle(unit, points), 1u);  // zero length

  // The circle's own form gives the segment's answer.
  EXPECT_EQ(unit.ClassifyToLineSegment(Segment(-5, 0, 5, 0), points), 15u);
  ExpectPoint(points[0], Vector2D(-1, 0));
}

TEST(LineSegment2D, TangentAcceptsADiscriminantWithinTheTolerance) {
  const Circle2D unit(Vector2D(0, 0), 1.0f);
  Vector2D point = kUntouched;
  EXPECT_TRUE(Segment(-5, 1, 5, 1).Tangent(unit, point));
  EXPECT_EQ(point, Vector2D(0, 1));

  // Just missing: the discriminant is about -0.0004, inside the tolerance.
  point = kUntouched;
  Vector2D points[2] = {kUntouched, kUntouched};
  EXPECT_EQ(Segment(-0.5f, 1.00005f, 0.5f, 1.00005f).ClassifyToCircle(unit, points), 1u);
  EXPECT_TRUE(Segment(-0.5f, 1.00005f, 0.5f, 1.00005f).Tangent(unit, point));
  EXPECT_EQ(point.x, 0.0f);
  EXPECT_FLOAT_EQ(point.y, 1.00005f);

  // Missing by more than the tolerance, or touching outside the segment.
  point = kUntouched;
  EXPECT_FALSE(Segment(-0.5f, 1.0002f, 0.5f, 1.0002f).Tangent(unit, point));
  EXPECT_FALSE(Segment(3, 1, 5, 1).Tangent(unit, point));
  EXPECT_FALSE(Segment(-5, 0, 5, 0).Tangent(unit, point));
  EXPECT_EQ(point, kUntouched);
}

TEST(LineSegment2D, BooleanTestsAndAngle) {
  const LineSegment2D x = Segment(0, 0, 1, 0);
  EXPECT_TRUE(x.Perpendicular(Segment(0, 0, 0, 1)));
  EXPECT_TRUE(x.Perpendicular(Segment(0, 0, 0.0004f, 1)));
  EXPECT_FALSE(x.Perpendicular(Segment(0, 0, 0.0006f, 1)));
  EXPECT_TRUE(x.Parallel(Segment(0, 5, 1, 5.0004f)));
  EXPECT_FALSE(x.Parallel(Segment(0, 5, 1, 5.0006f)));
  EXPECT_TRUE(x.Alligned(Segment(2, 0, 3, 0)));
  EXPECT_FALSE(x.Alligned(Segment(2, 0.0001f, 3, 0.0001f)));

  EXPECT_FLOAT_EQ(x.AngleBetween(Segment(0, 0, 0, 2)), static_cast<float>(Pi / 2));  // radians
  EXPECT_FLOAT_EQ(x.AngleBetween(Segment(0, 0, -3, 0)), static_cast<float>(Pi));
  // Parallel directions whose normalised dot rounds past 1 give 0, not NaN.
  const LineSegment2D slanted = Segment(0, 0, 0.3f, 0.7f);
  const float same = slanted.AngleBetween(Segment(1, 1, 1.6f, 2.4f));
  EXPECT_FALSE(std::isnan(same));
  EXPECT_NEAR(same, 0.0f, 1e-3f);
  EXPECT_EQ(x.AngleBetween(Segment(1, 1, 1, 1)), 0.0f);
}

TEST(Circle2D, AgainstACircle) {
  const Circle2D unit(Vector2D(0, 0), 1.0f);
  Vector2D points[2] = {kUntouched, kUntouched};
  EXPECT_EQ(unit.ClassifyToCircle(Circle2D(Vector2D(2, 0), 1.0f), points), 28u);
  ExpectPoint(points[0], Vector2D(1, 0));
  EXPECT_EQ(points[1], kUntouched);

  EXPECT_EQ(unit.ClassifyToCircle(Circle2D(Vector2D(1, 0), 1.0f), points), 15u);
  EXPECT_FLOAT_EQ(points[0].x, 0.5f);
  EXPECT_NEAR(points[0].y, 0.866025f, 1e-6f);
  EXPECT_FLOAT_EQ(points[1].x, 0.5f);
  EXPECT_NEAR(points[1].y, -0.866025f, 1e-6f);

  points[0] = points[1] = kUntouched;
  EXPECT_EQ(unit.ClassifyToCircle(Circle2D(Vector2D(0, 0), 1.0f), points), 19u);
  EXPECT_EQ(unit.ClassifyToCircle(Circle2D(Vector2D(3, 0), 1.0f), points), 2u);
  EXPECT_EQ(points[0], kUntouched);

  const Circle2D big(Vector2D(0, 0), 3.0f);
  EXPECT_EQ(big.ClassifyToCircle(unit, points), 26u);
  EXPECT_EQ(unit.ClassifyToCircle(big, points), 3u);
  EXPECT_EQ(points[0], kUntouched);

  // Internal tangency from both sides meets at (3, 0).
  EXPECT_EQ(big.ClassifyToCircle(Circle2D(Vector2D(2, 0), 1.0f), points), 27u);
  ExpectPoint(points[0], Vector2D(3, 0));
  points[0] = kUntouched;
  EXPECT_EQ(Circle2D(Vector2D(2, 0), 1.0f).ClassifyToCircle(big, points), 27u);
  ExpectPoint(points[0], Vector2D(3, 0));

  // Just apart and just overlapping the external tangency.
  EXPECT_EQ(unit.ClassifyToCircle(Circle2D(Vector2D(2.0001f, 0), 1.0f), points), 2u);
  EXPECT_EQ(unit.ClassifyToCircle(Circle2D(Vector2D(1.9999f, 0), 1.0f), points), 15u);
  EXPECT_FALSE(std::isnan(points[0].y));
}

TEST(Ray2D, AgainstARay) {
  const Ray2D ray(Vector2D(0, 0), Vector2D(1, 0));
  auto classify = [&](const Ray2D& other, Vector2D& point, LineSegment2D& segment, Ray2D& overlap) {
    point = kUntouched;
    segment = kUntouchedSegment;
    overlap = Ray2D(kUntouched, kUntouched);
    return ray.ClassifyToRay(other, point, segment, overlap);
  };
  Vector2D point;
  LineSegment2D segment;
  Ray2D overlap;

  EXPECT_EQ(classify(Ray2D(Vector2D(5, -5), Vector2D(0, 1)), point, segment, overlap), 0u);
  EXPECT_EQ(point, Vector2D(5, 0));
  EXPECT_EQ(classify(Ray2D(Vector2D(5, -5), Vector2D(0, -1)), point, segment, overlap), 1u);
  EXPECT_EQ(classify(Ray2D(Vector2D(-5, 5), Vector2D(0, 1)), point, segment, overlap), 1u);
  EXPECT_EQ(classify(Ray2D(Vector2D(0, 1), Vector2D(1, 0)), point, segment, overlap), 20u);

  // Same unit direction: the overlap is whichever ray starts further along.
  EXPECT_EQ(classify(Ray2D(Vector2D(5, 0), Vector2D(1, 0)), point, segment, overlap), 23u);
  EXPECT_EQ(overlap.origin, Vector2D(5, 0));
  EXPECT_EQ(segment.pointA, kUntouched);
  EXPECT_EQ(classify(Ray2D(Vector2D(-5, 0), Vector2D(1, 0)), point, segment, overlap), 23u);
  EXPECT_EQ(overlap.origin, Vector2D(0, 0));
  EXPECT_EQ(overlap.direction, Vector2D(1, 0));

  // Same direction but not of unit length: reported as a segment between the origins.
  EXPECT_EQ(classify(Ray2D(Vector2D(5, 0), Vector2D(2, 0)), point, segment, overlap), 22u);
  ExpectSegment(segment, Vector2D(0, 0), Vector2D(5, 0));
  EXPECT_EQ(overlap.origin, kUntouched);

  // Facing each other: the segment between the origins.
  EXPECT_EQ(classify(Ray2D(Vector2D(5, 0), Vector2D(-1, 0)), point, segment, overlap), 22u);
  ExpectSegment(segment, Vector2D(0, 0), Vector2D(5, 0));

  // Back to back: disjoint; back to back from the same origin: one point.
  EXPECT_EQ(classify(Ray2D(Vector2D(-5, 0), Vector2D(-1, 0)), point, segment, overlap), 21u);
  EXPECT_EQ(point, kUntouched);
  EXPECT_EQ(classify(Ray2D(Vector2D(0, 0), Vector2D(-1, 0)), point, segment, overlap), 0u);
  EXPECT_EQ(point, Vector2D(0, 0));
}

TEST(Ray2D, AgainstACircleAndTangent) {
  const Circle2D unit(Vector2D(0, 0), 1.0f);
  Vector2D points[2] = {kUntouched, kUntouched};
  EXPECT_EQ(Ray2D(Vector2D(-5, 0), Vector2D(1, 0)).ClassifyToCircle(unit, points), 15u);
  ExpectPoint(points[0], Vector2D(-1, 0));
  ExpectPoint(points[1], Vector2D(1, 0));
  points[0] = points[1] = kUntouched;
  EXPECT_EQ(Ray2D(Vector2D(0, 0), Vector2D(1, 0)).ClassifyToCircle(unit, points), 14u);
  ExpectPoint(points[0], Vector2D(1, 0));
  EXPECT_EQ(points[1], kUntouched);
  // A touching point is 14 for a ray, not 13.
  EXPECT_EQ(Ray2D(Vector2D(-5, 1), Vector2D(1, 0)).ClassifyToCircle(unit, points), 14u);
  ExpectPoint(points[0], Vector2D(0, 1));
  points[0] = kUntouched;
  EXPECT_EQ(Ray2D(Vector2D(5, 0), Vector2D(1, 0)).ClassifyToCircle(unit, points), 1u);
  EXPECT_EQ(Ray2D(Vector2D(5, 1), Vector2D(1, 0)).ClassifyToCircle(unit, points), 1u);
  EXPECT_EQ(points[0], kUntouched);

  Vector2D point = kUntouched;
  EXPECT_TRUE(Ray2D(Vector2D(-5, 1), Vector2D(1, 0)).Tangent(unit, point));
  EXPECT_EQ(point, Vector2D(0, 1));
  point = kUntouched;
  EXPECT_FALSE(Ray2D(Vector2D(5, 1), Vector2D(1, 0)).Tangent(unit, point));
  EXPECT_EQ(point, kUntouched);
}

TEST(Ray2D, BooleanTestsAndAngleInDegrees) {
  const Ray2D ray(Vector2D(0, 0), Vector2D(2, 0));
  EXPECT_TRUE(ray.Perpendicular(Ray2D(Vector2D(9, 9), Vector2D(0, 3))));
  EXPECT_FALSE(ray.Perpendicular(Ray2D(Vector2D(9, 9), Vector2D(1, 3))));
  EXPECT_TRUE(ray.Parallel(Ray2D(Vector2D(9, 9), Vector2D(-4, 0))));
  EXPECT_FLOAT_EQ(ray.AngleBetween(Ray2D(Vector2D(9, 9), Vector2D(0, 3))), 90.0f);
  EXPECT_FLOAT_EQ(ray.AngleBetween(Line2D(Vector2D(9, 9), Vector2D(-1, 0))), 180.0f);
  EXPECT_EQ(ray.AngleBetween(Ray2D(Vector2D(9, 9), Vector2D(0, 0))), 0.0f);

  const Line2D line(Vector2D(0, 0), Vector2D(0, 1));
  EXPECT_TRUE(line.Perpendicular(Line2D(Vector2D(1, 1), Vector2D(5, 0))));
  EXPECT_TRUE(line.Parallel(Line2D(Vector2D(1, 1), Vector2D(0, -5))));
  EXPECT_FLOAT_EQ(line.AngleBetween(Line2D(Vector2D(1, 1), Vector2D(1, 1))), 45.0f);
  EXPECT_FLOAT_EQ(line.AngleBetween(Ray2D(Vector2D(1, 1), Vector2D(1, 0))), 90.0f);
}

TEST(Line2D, AgainstLinesAndRays) {
  const Line2D line(Vector2D(0, 0), Vector2D(1, 0));
  Vector2D point = kUntouched;
  EXPECT_EQ(line.ClassifyToLine(Line2D(Vector2D(5, -5), Vector2D(0, 1)), point), 0u);
  EXPECT_EQ(point, Vector2D(5, 0));
  point = kUntouched;
  EXPECT_EQ(line.ClassifyToLine(Line2D(Vector2D(7, 0), Vector2D(-2, 0)), point), 19u);
  EXPECT_EQ(line.ClassifyToLine(Line2D(Vector2D(0, 1), Vector2D(1, 0)), point), 20u);
  EXPECT_EQ(point, kUntouched);

  EXPECT_EQ(line.ClassifyToRay(Ray2D(Vector2D(5, -5), Vector2D(0, 1)), point), 0u);
  EXPECT_EQ(point, Vector2D(5, 0));
  point = kUntouched;
  EXPECT_EQ(line.ClassifyToRay(Ray2D(Vector2D(5, -5), Vector2D(0, -1)), point), 1u);
  EXPECT_EQ(line.ClassifyToRay(Ray2D(Vector2D(5, 0), Vector2D(1, 0)), point), 19u);
  EXPECT_EQ(line.ClassifyToRay(Ray2D(Vector2D(5, 2), Vector2D(1, 0)), point), 20u);
  EXPECT_EQ(point, kUntouched);
  // A ray starting on the line meets it at its origin.
  EXPECT_EQ(line.ClassifyToRay(Ray2D(Vector2D(3, 0), Vector2D(0, 1)), point), 0u);
  EXPECT_EQ(point, Vector2D(3, 0));
  point = kUntouched;
  EXPECT_EQ(Ray2D(Vector2D(5, -5), Vector2D(0, 1)).ClassifyToLine(line, point), 0u);
  EXPECT_EQ(point, Vector2D(5, 0));
}

TEST(Line2D, AgainstACircleAndTangent) {
  const Circle2D unit(Vector2D(0, 0), 1.0f);
  Vector2D points[2] = {kUntouched, kUntouched};
  EXPECT_EQ(Line2D(Vector2D(-5, 0), Vector2D(1, 0)).ClassifyToCircle(unit, points), 0u);
  ExpectPoint(points[0], Vector2D(-1, 0));
  ExpectPoint(points[1], Vector2D(1, 0));
  points[0] = points[1] = kUntouched;
  EXPECT_EQ(Line2D(Vector2D(5, 1), Vector2D(1, 0)).ClassifyToCircle(unit, points),
            13u);  // behind the point too
  ExpectPoint(points[0], Vector2D(0, 1));
  EXPECT_EQ(points[1], kUntouched);
  points[0] = kUntouched;
  EXPECT_EQ(Line2D(Vector2D(-5, 2), Vector2D(1, 0)).ClassifyToCircle(unit, points), 1u);
  EXPECT_EQ(Line2D(Vector2D(0, 0), Vector2D(0, 0)).ClassifyToCircle(unit, points), 1u);
  EXPECT_EQ(points[0], kUntouched);

  Vector2D point = kUntouched;
  EXPECT_TRUE(Line2D(Vector2D(5, 1), Vector2D(1, 0)).Tangent(unit, point));
  EXPECT_EQ(point, Vector2D(0, 1));
  EXPECT_FALSE(Line2D(Vector2D(5, 0), Vector2D(1, 0)).Tangent(unit, point));
}

TEST(Geometry2D, PushToLuaPushesThePointerWithTheClassMetatable) {
  lua_State* state = luaL_newstate();
  ASSERT_NE(state, nullptr);
  luaL_newmetatable(state, "LineSegment2D");
  luaL_newmetatable(state, "Circle2D");
  lua_settop(state, 0);

  LineSegment2D segment(Vector2D(1, 2), Vector2D(3, 4));
  Circle2D circle(Vector2D(5, 6), 7.0f);
  EXPECT_EQ(segment.PushToLua(state), 1);
  EXPECT_EQ(circle.PushToLua(state), 1);
  ASSERT_EQ(lua_gettop(state), 2);
  EXPECT_EQ(*static_cast<LineSegment2D**>(luaL_checkudata(state, 1, "LineSegment2D")), &segment);
  EXPECT_EQ(*static_cast<Circle2D**>(luaL_checkudata(state, 2, "Circle2D")), &circle);
  lua_close(state);
}
