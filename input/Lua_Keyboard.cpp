// Script methods of "KeyboardImp".
#include <climits>

#include <lua.hpp>

#include "input/Internal_Keyboard.h"
#include "script/Lua_MethodTable.h"

namespace {

constexpr char kScriptName[] = "KeyboardImp";
constexpr int kFirstArgument = 2;  // argument 1 is the keyboard itself

Input::KeyboardImp* Self(lua_State* state) { return Lua::CheckSelf<Input::KeyboardImp>(state, kScriptName); }

// A key code from the script; values beyond 32 bits become -1, which every query answers with false.
bool ReadKey(lua_State* state, std::int32_t& key) {
  if (lua_gettop(state) < kFirstArgument) return false;
  const lua_Integer value = luaL_checkinteger(state, kFirstArgument);
  key = (value < INT_MIN || value > INT_MAX) ? -1 : static_cast<std::int32_t>(value);
  return true;
}

template <bool (Input::KeyboardImp::*Query)(std::int32_t)>
int KeyQuery(lua_State* state) {
  Input::KeyboardImp* self = Self(state);
  std::int32_t key = 0;
  if (!ReadKey(state, key)) return 0;
  lua_pushboolean(state, (self->*Query)(key) ? 1 : 0);
  return 1;
}

int AnyKey(lua_State* state) {
  lua_pushboolean(state, Self(state)->AnyKey() ? 1 : 0);
  return 1;
}

int GetPressed(lua_State* state) {
  std::int32_t key = 0;
  if (!Self(state)->GetPressed(key)) return 0;
  lua_pushinteger(state, key);
  return 1;
}

int GetTriggered(lua_State* state) {
  std::int32_t key = 0;
  if (!Self(state)->GetTriggered(key)) return 0;
  lua_pushinteger(state, key);
  return 1;
}

int GetKeyAsChar(lua_State* state) {
  Input::KeyboardImp* self = Self(state);
  std::int32_t key = 0;
  if (!ReadKey(state, key)) return 0;
  lua_pushinteger(state, self->GetKeyAsChar(key));
  return 1;
}

const Lua::Method kMethods[] = {
    {"IsPressed", &KeyQuery<&Input::KeyboardImp::IsPressed>},
    {"IsTriggered", &KeyQuery<&Input::KeyboardImp::IsTriggered>},
    {"IsDown", &KeyQuery<&Input::KeyboardImp::IsDown>},
    {"IsUp", &KeyQuery<&Input::KeyboardImp::IsUp>},
    {"AnyKey", &AnyKey},
    {"GetPressed", &GetPressed},
    {"GetTriggered", &GetTriggered},
    {"GetKeyAsChar", &GetKeyAsChar},
};

const Lua::MethodTable g_methodTable(kScriptName, kMethods);

}  // namespace
