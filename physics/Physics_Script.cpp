#include "physics/Physics_Script.h"

#include <lua.hpp>

namespace Physics2D {

int PushPointerToLua(lua_State* state, void* object, const char* scriptName) {
  auto* slot = static_cast<void**>(lua_newuserdata(state, sizeof(void*)));
  *slot = object;
  lua_getfield(state, LUA_REGISTRYINDEX, scriptName);
  lua_setmetatable(state, -2);
  return 1;
}

int PushMassPropertiesToLua(lua_State* state, MassProperties* massProperties) {
  return PushPointerToLua(state, massProperties, "MassProperties");
}

int PushForcesToLua(lua_State* state, Forces* forces) { return PushPointerToLua(state, forces, "Forces"); }

}  // namespace Physics2D
