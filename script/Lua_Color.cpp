#include "script/Lua_Script.h"

#include <lua.hpp>

#include "script/Lua_ValueTable.h"

namespace {
const char* const kColorFields[] = {"R", "G", "B", "A"};
}  // namespace

Math::Color LuaScript::ToColor(lua_State* state, int index) {
  // A relative index would move with every field pushed while reading.
  index = Lua::Detail::AbsoluteIndex(state, index);
  if (!lua_istable(state, index)) return Math::Color(0.0f, 0.0f, 0.0f, 1.0f);
  float r = Lua::Detail::CheckNumberField(state, index, "R");
  float g = Lua::Detail::CheckNumberField(state, index, "G");
  float b = Lua::Detail::CheckNumberField(state, index, "B");
  float a = Lua::Detail::CheckNumberField(state, index, "A");
  return Math::Color(r, g, b, a);
}

int LuaScript::PushColor(lua_State* state, float r, float g, float b, float a) {
  const float values[] = {r, g, b, a};
  return Lua::Detail::PushValueTable(state, "CreateColor", "Color", kColorFields, values, 4);
}
