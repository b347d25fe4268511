#include <lua.hpp>

#include "math/Math_Geometry2D.h"
#include "math/Math_Geometry2DDetail.h"

namespace Math {
int Detail::PushGeometryToLua(lua_State* state, void* shape, const char* scriptName) {
  void** slot = static_cast<void**>(lua_newuserdata(state, sizeof(void*)));
  *slot = shape;
  lua_getfield(state, LUA_REGISTRYINDEX, scriptName);
  lua_setmetatable(state, -2);
  return 1;
}

int LineSegment2D::PushToLua(lua_State* state) {
  return Detail::PushGeometryToLua(state, this, ScriptClassName);
}
int Circle2D::PushToLua(lua_State* state) { return Detail::PushGeometryToLua(state, this, ScriptClassName); }
int Ray2D::PushToLua(lua_State* state) { return Detail::PushGeometryToLua(state, this, ScriptClassName); }
int Line2D::PushToLua(lua_State* state) { return Detail::PushGeometryToLua(state, this, ScriptClassName); }
}  // namespace Math
