#pragma once
// The method shapes that the script bindings of several libraries repeat alike: argument counting
// and the getters that push a member's value. Self is the class's checked self getter (it raises
// for a wrong object before any argument is looked at); Get is the member function called.
#include <lua.hpp>

#include "math/Math_Vector2D.h"
#include "script/Lua_Script.h"

namespace Lua {
namespace Shapes {

// Stack index of argument 1 (the first after the object).
constexpr int kFirstArgument = 2;

// True when at least count arguments follow the object.
inline bool HasArguments(lua_State* state, int count) { return lua_gettop(state) - 1 >= count; }

template <typename T>
using SelfGetter = T* (*)(lua_State*);

// () -> number.
template <typename T, SelfGetter<T> Self, auto Get>
int GetNumber(lua_State* state) {
  lua_pushnumber(state, static_cast<lua_Number>((Self(state)->*Get)()));
  return 1;
}

// () -> Point2D table.
template <typename T, SelfGetter<T> Self, auto Get>
int GetPoint(lua_State* state) {
  const Math::Vector2D& point = (Self(state)->*Get)();
  LuaScript::PushPoint2D(state, point.x, point.y);
  return 1;
}

// () -> Vector2D table.
template <typename T, SelfGetter<T> Self, auto Get>
int GetVector(lua_State* state) {
  const Math::Vector2D& vector = (Self(state)->*Get)();
  LuaScript::PushVector2D(state, vector.x, vector.y);
  return 1;
}

}  // namespace Shapes
}  // namespace Lua
