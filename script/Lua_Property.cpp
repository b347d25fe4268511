#include "script/Lua_Property.h"

#include <cstring>

#include <lua.hpp>

namespace Lua {

namespace {
constexpr int kValueIndex = 3;

template <typename T>
T ReadField(const void* field) {
  T value;
  std::memcpy(&value, field, sizeof(T));
  return value;
}

template <typename T>
void WriteField(void* field, T value) {
  std::memcpy(field, &value, sizeof(T));
}
}  // namespace

int GetFloatField(lua_State* state, void* field) {
  lua_pushnumber(state, ReadField<float>(field));
  return 1;
}

int SetFloatField(lua_State* state, void* field) {
  WriteField(field, static_cast<float>(luaL_checknumber(state, kValueIndex)));
  return 0;
}

int GetBoolField(lua_State* state, void* field) {
  lua_pushboolean(state, ReadField<std::uint8_t>(field) != 0);
  return 1;
}

int SetBoolField(lua_State* state, void* field) {
  WriteField<std::uint8_t>(field, lua_toboolean(state, kValueIndex) ? 1 : 0);
  return 0;
}

int GetIntegerField(lua_State* state, void* field) {
  lua_pushinteger(state, ReadField<std::int32_t>(field));
  return 1;
}

int SetIntegerField(lua_State* state, void* field) {
  WriteField(field, static_cast<std::int32_t>(luaL_checkinteger(state, kValueIndex)));
  return 0;
}

int GetUnsignedField(lua_State* state, void* field) {
  lua_pushinteger(state, static_cast<lua_Integer>(ReadField<std::uint32_t>(field)));
  return 1;
}

int SetUnsignedField(lua_State* state, void* field) {
  WriteField(field, static_cast<std::uint32_t>(luaL_checkinteger(state, kValueIndex)));
  return 0;
}

}  // namespace Lua
