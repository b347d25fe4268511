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

}  // namespace Detail
}  // namespace Lua
