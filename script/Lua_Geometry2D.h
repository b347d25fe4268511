#pragma once
// Internal to the script library: what the bindings of the 2D geometry shapes share.
#include <cstdint>

#include <lua.hpp>

#include "math/Math_Geometry2D.h"
#include "script/Lua_MethodTable.h"
#include "script/Lua_Script.h"

namespace Lua {
namespace Detail {

// Stack index of a method's first argument (self is at 1).
constexpr int kFirstArgument = 2;

// A method that needs an argument answers nothing when called without one.
inline bool HasArgument(lua_State* state, int count = 1) { return lua_gettop(state) >= kFirstArgument + count - 1; }

inline int PushPoint(lua_State* state, const Math::Vector2D& point) {
  LuaScript::PushPoint2D(state, point.x, point.y);
  return 1;
}

inline int PushVector(lua_State* state, const Math::Vector2D& vector) {
  LuaScript::PushVector2D(state, vector.x, vector.y);
  return 1;
}

inline void PushCode(lua_State* state, std::uint32_t code) { lua_pushinteger(state, static_cast<lua_Integer>(code)); }

// Shapes moving to another Lua universe travel as owned copies: a borrowed pointer would outlive
// nothing there.
template <typename Shape>
int PushShapeCopy(lua_State* target, void* shape) {
  return PushCopy(target, *static_cast<const Shape*>(shape), Shape::ScriptClassName);
}

template <typename Shape>
Shape* CheckShape(lua_State* state, int index) {
  return CheckSelf<Shape>(state, Shape::ScriptClassName, index);
}

// The method shapes the geometry classes share. Each answers nothing when its argument is missing.

// A point-valued field: "Get…" pushes a Point2D table, "Set…" reads one.
template <typename Shape, Math::Vector2D Shape::*Field>
int GetPointField(lua_State* state) {
  return PushPoint(state, CheckShape<Shape>(state, 1)->*Field);
}
template <typename Shape, Math::Vector2D Shape::*Field>
int SetPointField(lua_State* state) {
  Shape* self = CheckShape<Shape>(state, 1);
  if (HasArgument(state)) self->*Field = LuaScript::ToPoint2D(state, kFirstArgument);
  return 0;
}

// A direction-valued field, as Vector2D tables.
template <typename Shape, Math::Vector2D Shape::*Field>
int GetVectorField(lua_State* state) {
  return PushVector(state, CheckShape<Shape>(state, 1)->*Field);
}
template <typename Shape, Math::Vector2D Shape::*Field>
int SetVectorField(lua_State* state) {
  Shape* self = CheckShape<Shape>(state, 1);
  if (HasArgument(state)) self->*Field = LuaScript::ToVector2D(state, kFirstArgument);
  return 0;
}

// (other) -> boolean.
template <typename Shape, typename Other, bool (Shape::*Query)(const Other&) const>
int BooleanQuery(lua_State* state) {
  Shape* self = CheckShape<Shape>(state, 1);
  if (!HasArgument(state)) return 0;
  lua_pushboolean(state, (self->*Query)(*CheckShape<Other>(state, kFirstArgument)));
  return 1;
}

// (other) -> code, point.
template <typename Shape, typename Other, std::uint32_t (Shape::*Classify)(const Other&, Math::Vector2D&) const>
int ClassifyWithPoint(lua_State* state) {
  Shape* self = CheckShape<Shape>(state, 1);
  if (!HasArgument(state)) return 0;
  Math::Vector2D point;
  PushCode(state, (self->*Classify)(*CheckShape<Other>(state, kFirstArgument), point));
  PushPoint(state, point);
  return 2;
}

// (other) -> code, point, overlap segment (an owned copy).
template <typename Shape, typename Other,
          std::uint32_t (Shape::*Classify)(const Other&, Math::Vector2D&, Math::LineSegment2D&) const>
int ClassifyWithPointAndOverlap(lua_State* state) {
  Shape* self = CheckShape<Shape>(state, 1);
  if (!HasArgument(state)) return 0;
  Math::Vector2D point;
  Math::LineSegment2D overlap;
  PushCode(state, (self->*Classify)(*CheckShape<Other>(state, kFirstArgument), point, overlap));
  PushPoint(state, point);
  PushCopy(state, overlap, Math::LineSegment2D::ScriptClassName);
  return 3;
}

// (a shape of its own kind, or of the other infinite kind) -> the angle between them, in degrees.
template <typename Shape, typename Alternative>
int AngleBetweenLineOrRay(lua_State* state) {
  Shape* self = CheckShape<Shape>(state, 1);
  if (!HasArgument(state)) return 0;
  if (void* other = ToUserdata(state, kFirstArgument, Alternative::ScriptClassName)) {
    lua_pushnumber(state, self->AngleBetween(*static_cast<Alternative*>(other)));
  } else {
    lua_pushnumber(state, self->AngleBetween(*CheckShape<Shape>(state, kFirstArgument)));
  }
  return 1;
}

// (circle) -> code, point, point.
template <typename Shape, typename Other, std::uint32_t (Shape::*Classify)(const Other&, Math::Vector2D[2]) const>
int ClassifyWithTwoPoints(lua_State* state) {
  Shape* self = CheckShape<Shape>(state, 1);
  if (!HasArgument(state)) return 0;
  Math::Vector2D points[2];
  PushCode(state, (self->*Classify)(*CheckShape<Other>(state, kFirstArgument), points));
  PushPoint(state, points[0]);
  PushPoint(state, points[1]);
  return 3;
}

// (circle) -> touching?, point.
template <typename Shape>
int Tangent(lua_State* state) {
  Shape* self = CheckShape<Shape>(state, 1);
  if (!HasArgument(state)) return 0;
  Math::Vector2D point;
  lua_pushboolean(state, self->Tangent(*CheckShape<Math::Circle2D>(state, kFirstArgument), point));
  PushPoint(state, point);
  return 2;
}

}  // namespace Detail
}  // namespace Lua
