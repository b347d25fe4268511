// Script methods of "MouseImp".
#include <lua.hpp>

#include "input/Internal_Mouse.h"
#include "script/Lua_MethodTable.h"
#include "script/Lua_Script.h"

namespace {

constexpr char kScriptName[] = "MouseImp";
constexpr int kFirstArgument = 2;  // argument 1 is the mouse itself

Input::MouseImp* Self(lua_State* state) { return Lua::CheckSelf<Input::MouseImp>(state, kScriptName); }
bool HasArgument(lua_State* state) { return lua_gettop(state) >= kFirstArgument; }

int PushBool(lua_State* state, bool value) {
  lua_pushboolean(state, value ? 1 : 0);
  return 1;
}

int GetPosition(lua_State* state) {
  const Math::Vector2D position = Self(state)->GetPosition();
  LuaScript::PushPoint2D(state, position.x, position.y);  // answers the stack index, not a count
  return 1;
}

int GetPositionX(lua_State* state) {
  lua_pushinteger(state, Self(state)->GetPositionX());
  return 1;
}

int GetPositionY(lua_State* state) {
  lua_pushinteger(state, Self(state)->GetPositionY());
  return 1;
}

int IsInWindow(lua_State* state) { return PushBool(state, Self(state)->IsInWindow()); }
int IsMoved(lua_State* state) { return PushBool(state, Self(state)->IsMoved()); }
int IsCursorVisible(lua_State* state) { return PushBool(state, Self(state)->IsCursorVisible()); }

// Button numbers outside 0..2 (negative ones included) answer false.
template <bool (Input::MouseImp::*Query)(std::uint32_t)>
int ButtonQuery(lua_State* state) {
  Input::MouseImp* self = Self(state);
  if (!HasArgument(state)) return 0;
  const lua_Integer button = luaL_checkinteger(state, kFirstArgument);
  return PushBool(state, button >= 0 && button <= 0xFFFFFFFF && (self->*Query)(static_cast<std::uint32_t>(button)));
}

const Lua::Method kMethods[] = {
    {"GetPosition", &GetPosition},
    {"GetPositionX", &GetPositionX},
    {"GetPositionY", &GetPositionY},
    {"IsInWindow", &IsInWindow},
    {"IsMoved", &IsMoved},
    {"IsPressed", &ButtonQuery<&Input::MouseImp::IsPressed>},
    {"IsTriggered", &ButtonQuery<&Input::MouseImp::IsTriggered>},
    {"IsDown", &ButtonQuery<&Input::MouseImp::IsDown>},
    {"IsUp", &ButtonQuery<&Input::MouseImp::IsUp>},
    {"IsCursorVisible", &IsCursorVisible},
};

const Lua::MethodTable g_methodTable(kScriptName, kMethods);

}  // namespace
