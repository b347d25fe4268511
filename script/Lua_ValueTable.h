#pragma once
// Internal to the script library: the value tables ("Point2D", "Vector2D", "Color") on a stack.
#include <lua.hpp>

namespace Lua {
namespace Detail {

// Calls the script function constructor with no arguments (protected) and sets the named number
// fields of the table it returns; when the constructor is missing, fails or returns no table, makes
// the table itself with the given className. Returns the table's absolute stack index.
int PushValueTable(lua_State* state, const char* constructor, const char* className, const char* const* fields,
                   const float* values, int count);

// The number in field name of the table at the absolute index; raises a script error when it
// holds no number.
float CheckNumberField(lua_State* state, int index, const char* name);

// Absolute form of a relative stack index; pseudo-indices stay as they are.
inline int AbsoluteIndex(lua_State* state, int index) {
  return (index < 0 && index > LUA_REGISTRYINDEX) ? lua_gettop(state) + index + 1 : index;
}

}  // namespace Detail
}  // namespace Lua
