#include "script/Lua_Script.h"

#include <lua.hpp>

#include "script/Lua_ValueTable.h"

namespace Lua {
namespace Detail {

int PushValueTable(lua_State* state, const char* constructor, const char* className, const char* const* fields,
                   const float* values, int count) {
  luaL_checkstack(state, 3, "pushing a value table");
  lua_getfield(state, LUA_GLOBALSINDEX, constructor);
  bool made = false;
  if (lua_isfunction(state, -1)) {
    if (lua_pcall(state, 0, 1, 0) == 0 && lua_istable(state, -1)) {
      made = true;
    } else {
      lua_pop(state, 1);  // the error or the result that is no table
    }
  } else {
    lua_pop(state, 1);
  }
  if (!made) {
    // A script may have replaced or broken the constructor: the engine still gets its table.
    lua_createtable(state, 0, count + 1);
    lua_pushstring(state, className);
    lua_setfield(state, -2, "className");
  }
  for (int i = 0; i < count; ++i) {
    lua_pushnumber(state, values[i]);
    lua_setfield(state, -2, fields[i]);
  }
  return lua_gettop(state);
}

float CheckNumberField(lua_State* state, int index, const char* name) {
  luaL_checkstack(state, 1, "reading a value table");
  lua_getfield(state, index, name);
  if (!lua_isnumber(state, -1)) {
    const char* type = luaL_typename(state, -1);
    lua_pop(state, 1);
    luaL_error(state, "field \"%s\" must be a number, got %s", name, type);
  }
  float value = static_cast<float>(lua_tonumber(state, -1));
  lua_pop(state, 1);
  return value;
}

}  // namespace Detail
}  // namespace Lua

namespace {
const char* const kVectorFields[] = {"X", "Y"};
}  // namespace

Math::Vector2D LuaScript::ToVector2D(lua_State* state, int index) {
  index = Lua::Detail::AbsoluteIndex(state, index);
  if (!lua_istable(state, index)) return Math::Vector2D(0.0f, 0.0f);
  float x = Lua::Detail::CheckNumberField(state, index, "X");
  float y = Lua::Detail::CheckNumberField(state, index, "Y");
  return Math::Vector2D(x, y);
}

Math::Vector2D LuaScript::ToPoint2D(lua_State* state, int index) { return ToVector2D(state, index); }

int LuaScript::PushVector2D(lua_State* state, float x, float y) {
  const float values[] = {x, y};
  return Lua::Detail::PushValueTable(state, "CreateVector", "Vector2D", kVectorFields, values, 2);
}

int LuaScript::PushPoint2D(lua_State* state, float x, float y) {
  const float values[] = {x, y};
  return Lua::Detail::PushValueTable(state, "CreatePoint", "Point2D", kVectorFields, values, 2);
}
