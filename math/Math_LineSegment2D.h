#pragma once

#include "math/Math_Vector2D.h"

struct lua_State;
class LuaScript;

namespace Core {
class File;
}

namespace Math {
class Circle2D;
class Ray2D;
class Line2D;

// The points A + t * (B - A) for 0 <= t <= 1. Every classification returns a Classification code and
// writes its outputs only in the cases that name them; otherwise they keep the caller's values.
class LineSegment2D final {
 public:
  static constexpr const char* ScriptClassName = "LineSegment2D";

  Vector2D pointA;
  Vector2D pointB;

  LineSegment2D() = default;
  LineSegment2D(const Vector2D& a, const Vector2D& b) : pointA(a), pointB(b) {}
  LineSegment2D(const LineSegment2D&) = default;
  LineSegment2D& operator=(const LineSegment2D&) = default;
  ~LineSegment2D() = default;

  // The first two operations of Core::Object, so scripts see these shapes like engine objects.
  virtual LuaScript* GetScript() { return nullptr; }
  // Pushes a full userdata holding this pointer with the registry metatable "LineSegment2D"; returns 1.
  virtual int PushToLua(lua_State* state);

  const Vector2D& GetPointA() const { return pointA; }
  void SetPointA(const Vector2D& a) { pointA = a; }
  const Vector2D& GetPointB() const { return pointB; }
  void SetPointB(const Vector2D& b) { pointB = b; }

  // Crossing (0, point), NoContact (1), Overlap (19, overlap), ParallelApart (20), CollinearDisjoint (21).
  uint32_t ClassifyToLineSegment(const LineSegment2D& other, Vector2D& point, LineSegment2D& overlap) const;
  // Crossing (0, point), NoContact (1), Overlap (19, overlap), ParallelApart (20), CollinearDisjoint (21).
  uint32_t ClassifyToRay(const Ray2D& ray, Vector2D& point, LineSegment2D& overlap) const;
  // Crossing (0, point), NoContact (1), Overlap (19), ParallelApart (20).
  uint32_t ClassifyToLine(const Line2D& line, Vector2D& point) const;
  // NoContact (1), Tangent (13), OneIntersection (14), TwoIntersections (15); points has two entries.
  uint32_t ClassifyToCircle(const Circle2D& circle, Vector2D points[2]) const;
  // True, with the touching point, when the discriminant is within Tolerance of 0 on the segment.
  bool Tangent(const Circle2D& circle, Vector2D& point) const;

  bool Perpendicular(const LineSegment2D& other) const;
  bool Parallel(const LineSegment2D& other) const;
  // Parallel and on the same line.
  bool Alligned(const LineSegment2D& other) const;
  // Radians (unlike the degrees of every other angle).
  float AngleBetween(const LineSegment2D& other) const;

  // A then B: 16 bytes.
  void Write(Core::File& file) const;
  void Read(Core::File& file);
};

// ClassifyToLineSegment without outputs; the collinearity test is exact here.
uint32_t ClassifySegmentOverlap(const LineSegment2D& s, const LineSegment2D& t);
}  // namespace Math
