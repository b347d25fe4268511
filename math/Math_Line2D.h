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
class LineSegment2D;

// The points point + t * direction for every t; the direction is not normalised.
class Line2D final {
 public:
  static constexpr const char* ScriptClassName = "Line2D";

  Vector2D point;
  Vector2D direction;

  Line2D() = default;
  Line2D(const Vector2D& linePoint, const Vector2D& lineDirection)
      : point(linePoint), direction(lineDirection) {}
  Line2D(const Line2D&) = default;
  Line2D& operator=(const Line2D&) = default;
  ~Line2D() = default;

  virtual LuaScript* GetScript() { return nullptr; }
  // Pushes a full userdata holding this pointer with the registry metatable "Line2D"; returns 1.
  virtual int PushToLua(lua_State* state);

  const Vector2D& GetPoint() const { return point; }
  void SetPoint(const Vector2D& p) { point = p; }
  const Vector2D& GetDirection() const { return direction; }
  void SetDirection(const Vector2D& d) { direction = d; }

  // Crossing (0, point), Overlap (19), ParallelApart (20).
  uint32_t ClassifyToLine(const Line2D& other, Vector2D& crossing) const;
  // Crossing (0, point), NoContact (1), Overlap (19), ParallelApart (20).
  uint32_t ClassifyToRay(const Ray2D& ray, Vector2D& crossing) const;
  // Crossing (0: two points), NoContact (1), Tangent (13: one point).
  uint32_t ClassifyToCircle(const Circle2D& circle, Vector2D points[2]) const;
  bool Tangent(const Circle2D& circle, Vector2D& touching) const;
  // The segment's ClassifyToLine with this line.
  uint32_t ClassifyToLineSegment(const LineSegment2D& segment, Vector2D& crossing) const;

  bool Perpendicular(const Line2D& other) const;
  bool Parallel(const Line2D& other) const;
  // Degrees between the two directions.
  float AngleBetween(const Line2D& other) const;
  float AngleBetween(const Ray2D& other) const;

  // Point then direction: 16 bytes.
  void Write(Core::File& file) const;
  void Read(Core::File& file);
};
}  // namespace Math
