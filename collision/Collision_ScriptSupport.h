#pragma once
// Internal to the collision library: what its script bindings share (argument counts, number
// truncation, field access on userdata, borrowed pushes, and the method shapes they repeat).
#include <cstdint>

#include <lua.hpp>

#include "script/Lua_MethodTable.h"

namespace Collision2D {
namespace Script {

// Stack index of argument 1 (the first after the object).
constexpr int kFirstArgument = 2;

inline int ArgumentCount(lua_State* state) { return lua_gettop(state) - 1; }

// Truncated toward zero; values no 64-bit integer can hold (and NaN) become 0.
inline int64_t ToInteger(lua_Number value) {
  if (!(value > -9.0e18 && value < 9.0e18)) return 0;
  return static_cast<int64_t>(value);
}
// The low 32 bits of the truncated value.
inline uint32_t ToUnsigned32(lua_Number value) { return static_cast<uint32_t>(ToInteger(value)); }
// The low 8 bits of the truncated value.
inline uint8_t ToLowByte(lua_Number value) { return static_cast<uint8_t>(ToInteger(value) & 0xFF); }

// Property access for classes whose script form has fields besides methods: the metatable's
// __index first asks the class's field getter, then its method table; __newindex goes to the
// setter. Installed on first push, after the method table made the metatable.
struct FieldAccess {
  const char* scriptName;
  // Pushes the field's value and answers 1, or answers 0 for a key that is no field.
  int (*get)(lua_State* state, void* object, const char* key);
  // Stores the value at valueIndex; false for a key that is no field.
  bool (*set)(lua_State* state, void* object, const char* key, int valueIndex);
  // How the error for an unknown key names what is missing: "field", or "writable field" where
  // some fields are read-only.
  const char* missingWhat = "field";
};

inline int IndexWithFields(lua_State* state) {
  const auto* access = static_cast<const FieldAccess*>(lua_touserdata(state, lua_upvalueindex(2)));
  if (lua_type(state, 2) == LUA_TSTRING) {
    if (void* object = Lua::ToUserdata(state, 1, access->scriptName)) {
      if (access->get(state, object, lua_tostring(state, 2)) != 0) return 1;
    }
  }
  lua_pushvalue(state, 2);
  lua_gettable(state, lua_upvalueindex(1));
  return 1;
}

inline int NewIndexWithFields(lua_State* state) {
  const auto* access = static_cast<const FieldAccess*>(lua_touserdata(state, lua_upvalueindex(1)));
  void* object = Lua::CheckUserdata(state, 1, access->scriptName);
  const char* key = lua_type(state, 2) == LUA_TSTRING ? lua_tostring(state, 2) : nullptr;
  if (key == nullptr || !access->set(state, object, key, 3)) {
    return luaL_error(state, "%s has no %s '%s'", access->scriptName, access->missingWhat, key ? key : "?");
  }
  return 0;
}

// The userdata just pushed is on top of the stack.
inline void EnsureFieldAccess(lua_State* state, const FieldAccess& access) {
  if (!lua_checkstack(state, 4) || !lua_getmetatable(state, -1)) return;
  const int metatable = lua_gettop(state);
  lua_getfield(state, metatable, "__index");
  if (lua_istable(state, -1)) {
    lua_pushlightuserdata(state, const_cast<FieldAccess*>(&access));
    lua_pushcclosure(state, &IndexWithFields, 2);  // the method table and the access record
    lua_setfield(state, metatable, "__index");
    lua_pushlightuserdata(state, const_cast<FieldAccess*>(&access));
    lua_pushcclosure(state, &NewIndexWithFields, 1);
    lua_setfield(state, metatable, "__newindex");
  }
  lua_settop(state, metatable - 1);
}

// Copying to another script state pushes the same object through its own push operation.
template <typename T>
int PushBorrowed(lua_State* target, void* object) {
  return static_cast<T*>(object)->PushToLua(target);
}

// The method shapes the bindings repeat. Self is the class's checked self getter; a setter given
// no argument does nothing. Set is the member function called.
template <typename T>
using SelfGetter = T* (*)(lua_State*);

// (number) -> nothing; a non-number raises the script's argument error.
template <typename T, SelfGetter<T> Self, auto Set>
int SetFloat(lua_State* state) {
  T* self = Self(state);
  if (ArgumentCount(state) >= 1) (self->*Set)(static_cast<float>(luaL_checknumber(state, kFirstArgument)));
  return 0;
}

// (value) -> nothing; the value's truth as Lua sees it.
template <typename T, SelfGetter<T> Self, auto Set>
int SetFlag(lua_State* state) {
  T* self = Self(state);
  if (ArgumentCount(state) >= 1) (self->*Set)(lua_toboolean(state, kFirstArgument) != 0);
  return 0;
}

}  // namespace Script
}  // namespace Collision2D
