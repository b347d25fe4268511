#pragma once

#include "math/Math_Vector2D.h"

struct lua_State;
class LuaScript;

namespace Core {
class File;
}

namespace Math {
class Circle2D;
class Line2D;
class LineSegment2D;

// The points origin + t * direction for t >= 0; the direction is not normalised.
class Ray2D final {
 public:
  static constexpr const char* ScriptClassName = "Ray2D";

  Vector2D origin;
  Vector2D direction;

  Ray2D() = default;
  Ray2D(const Vector2D& rayOrigin, const Vector2D& rayDirection)
      : origin(rayOrigin), direction(rayDirection) {}
  Ray2D(const Ray2D&) = default;
  Ray2D& operator=(const Ray2D&) = default;
  ~Ray2D() = default;

  virtual LuaScript* GetScript() { return nullptr; }
  // Pushes a full userdata holding this pointer with the registry metatable "Ray2D"; returns 1.
  virtual int PushToLua(lua_State* state);

  const Vector2D& GetOrigin() const { return origin; }
  void SetOrigin(const Vector2D& o) { origin = o; }
  const Vector2D& GetDirection() const { return direction; }
  void SetDirection(const Vector2D& d) { direction = d; }

  // Crossing (0, point), NoContact (1), ParallelApart (20), CollinearDisjoint (21),
  // RaysOverlapInSegment (22, segment), RaysOverlapInRay (23, ray).
  uint32_t ClassifyToRay(const Ray2D& other, Vector2D& point, LineSegment2D& segment, Ray2D& ray) const;
  // NoContact (1), OneIntersection (14, also for a touching point), TwoIntersections (15).
  uint32_t ClassifyToCircle(const Circle2D& circle, Vector2D points[2]) const;
  bool Tangent(const Circle2D& circle, Vector2D& point) const;
  // The segment's ClassifyToRay with this ray.
  uint32_t ClassifyToLineSegment(const LineSegment2D& segment, Vector2D& point, LineSegment2D& overlap) const;
  // The line's ClassifyToRay with this ray.
  uint32_t ClassifyToLine(const Line2D& line, Vector2D& point) const;

  // Dot, respectively cross, of the two directions within Tolerance of 0.
  bool Perpendicular(const Ray2D& other) const;
  bool Parallel(const Ray2D& other) const;
  // Degrees between the two directions.
  float AngleBetween(const Ray2D& other) const;
  float AngleBetween(const Line2D& other) const;

  // Origin then direction: 16 bytes.
  void Write(Core::File& file) const;
  void Read(Core::File& file);
};
}  // namespace Math
