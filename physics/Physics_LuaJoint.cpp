// Script methods of "Joint", shared by every joint class and the contact.
#include "physics/Physics_Joint.h"
#include "physics/Physics_LuaSupport.h"

namespace {

using namespace Physics2D;
using namespace Physics2D::Script;

Joint* Self(lua_State* state) {
  Joint* joint = ToObject<Joint>(state, 1,
                                 {kJointScriptNames[0], kJointScriptNames[1], kJointScriptNames[2],
                                  kJointScriptNames[3], kJointScriptNames[4], kJointScriptNames[5],
                                  kJointScriptNames[6], kJointScriptNames[7]});
  if (joint == nullptr) luaL_typerror(state, 1, "Joint");
  return joint;
}

int SetActive(lua_State* state) {
  Joint* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  self->SetActive(luaL_checknumber(state, kFirstArgument) != 0.0);
  return 0;
}

// "IsLimit" answers the active flag as well.
int IsActive(lua_State* state) {
  lua_pushnumber(state, Self(state)->IsActive() ? 1 : 0);
  return 1;
}

const Lua::Method kMethods[] = {
    {"SetActive", &SetActive}, {"IsActive", &IsActive}, {"IsLimit", &IsActive},
    {"GetBody1", &GetObject<Joint, Self, &Joint::GetBody1>},
    {"GetBody2", &GetObject<Joint, Self, &Joint::GetBody2>},
};

// Every joint class pushes itself under its own script name; all of them answer these methods.
const Lua::MethodTable g_tables[] = {
    {kJointScriptNames[0], kMethods}, {kJointScriptNames[1], kMethods}, {kJointScriptNames[2], kMethods},
    {kJointScriptNames[3], kMethods}, {kJointScriptNames[4], kMethods}, {kJointScriptNames[5], kMethods},
    {kJointScriptNames[6], kMethods}, {kJointScriptNames[7], kMethods},
};

}  // namespace

void Physics2D::Script::LinkJointBindings() {}
