#pragma once

#include "math/Math_Vector2D.h"

struct lua_State;
class LuaScript;

namespace Core {
class File;
}

namespace Math {
class LineSegment2D;

class Circle2D final {
 public:
  static constexpr const char* ScriptClassName = "Circle2D";

  Vector2D center;
  float radius = 1.0f;

  Circle2D() = default;
  Circle2D(const Vector2D& centerPoint, float circleRadius) : center(centerPoint), radius(circleRadius) {}
  Circle2D(const Circle2D&) = default;
  Circle2D& operator=(const Circle2D&) = default;
  ~Circle2D() = default;

  virtual LuaScript* GetScript() { return nullptr; }
  // Pushes a full userdata holding this pointer with the registry metatable "Circle2D"; returns 1.
  virtual int PushToLua(lua_State* state);

  const Vector2D& GetCenter() const { return center; }
  void SetCenter(const Vector2D& c) { center = c; }
  float GetRadius() const { return radius; }
  void SetRadius(float r) { radius = r; }

  // OtherInside (26), Inside (3), Overlap (19, identical), InternalTangency (27, one point),
  // Outside (2), ExternalTangency (28, one point), TwoIntersections (15, two points).
  uint32_t ClassifyToCircle(const Circle2D& other, Vector2D points[2]) const;
  // The segment's ClassifyToCircle with this circle.
  uint32_t ClassifyToLineSegment(const LineSegment2D& segment, Vector2D points[2]) const;

  // Centre then radius: 12 bytes.
  void Write(Core::File& file) const;
  void Read(Core::File& file);
};
}  // namespace Math
