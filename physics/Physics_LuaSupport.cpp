#include "physics/Physics_LuaSupport.h"

#include "physics/Physics_Force.h"

#include "script/Lua_ScriptEngine.h"

namespace Physics2D {
namespace Script {

namespace {
// Matrix results are built by "CreateMatrix"; the script glue has no such constructor, so physics
// brings one unless a script already defines it.
const Lua::BootstrapChunk g_matrixConstructor("physics", R"lua(
if CreateMatrix == nil then
  function CreateMatrix()
    return { className = "Matrix3x3", Ma00 = 1, Ma01 = 0, Ma02 = 0, Ma10 = 0, Ma11 = 1, Ma12 = 0,
             Ma20 = 0, Ma21 = 0, Ma22 = 1 }
  end
end
)lua");
}  // namespace

const char* const kJointScriptNames[8] = {"Joint",      "JointNail",  "JointHinge",        "JointSpring",
                                          "JointSlider", "JointFixed", "JointAngularMotor", "Contact"};
const char* const kForceScriptNames[4] = {"Force", "ConstantForce", "GravityForce", "DragForce"};

Force* ToForce(lua_State* state, int index) {
  return ToObject<Force>(state, index,
                         {kForceScriptNames[0], kForceScriptNames[1], kForceScriptNames[2], kForceScriptNames[3]});
}

Force* CheckForce(lua_State* state, int index) {
  Force* force = ToForce(state, index);
  if (force == nullptr) luaL_typerror(state, index, "Force");
  return force;
}

void PushMatrix(lua_State* state, const Math::Matrix3x3& matrix) {
  static const char* const kFields[9] = {"Ma00", "Ma01", "Ma02", "Ma10", "Ma11", "Ma12", "Ma20", "Ma21", "Ma22"};
  lua_getglobal(state, "CreateMatrix");
  lua_call(state, 0, 1);
  if (!lua_istable(state, -1)) return;
  for (int i = 0; i < 9; ++i) {
    lua_pushnumber(state, matrix.m[i]);
    lua_setfield(state, -2, kFields[i]);
  }
}

int PushObjectOrNil(lua_State* state, Core::Object* object) {
  if (object == nullptr) {
    lua_pushnil(state);
    return 1;
  }
  return object->PushToLua(state);
}

void FillVector(lua_State* state, int index, const Math::Vector2D& value) {
  if (!lua_istable(state, index)) return;
  lua_pushnumber(state, value.x);
  lua_setfield(state, index, "X");
  lua_pushnumber(state, value.y);
  lua_setfield(state, index, "Y");
}

}  // namespace Script
}  // namespace Physics2D
