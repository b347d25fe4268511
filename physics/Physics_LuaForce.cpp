// Script methods of "Force" (shared by the force classes) and of "Forces".
#include "physics/Physics_Force.h"
#include "physics/Physics_Forces.h"
#include "physics/Physics_LuaSupport.h"
#include "physics/Physics_RigidBody.h"
#include "script/Lua_Script.h"

namespace {

using namespace Physics2D;
using namespace Physics2D::Script;

Force* ToForce(lua_State* state, int index) {
  return ToObject<Force>(state, index,
                         {kForceScriptNames[0], kForceScriptNames[1], kForceScriptNames[2], kForceScriptNames[3]});
}

Force* Self(lua_State* state) {
  Force* force = ToForce(state, 1);
  if (force == nullptr) luaL_typerror(state, 1, "Force");
  return force;
}

int Initialize(lua_State* state) {
  Force* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  self->Attach(CheckObject<RigidBody>(state, kFirstArgument, {"RigidBody"}));
  return 0;
}

int Evaluate(lua_State* state) {
  Force* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  self->Evaluate(CheckFloat(state, kFirstArgument));
  return 0;
}

int Update(lua_State* state) {
  Force* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  self->Update(CheckFloat(state, kFirstArgument));
  return 0;
}

int SetPosition(lua_State* state) {
  Force* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  self->SetPosition(LuaScript::ToPoint2D(state, kFirstArgument));
  return 0;
}

int GetPosition(lua_State* state) {
  const Math::Vector2D& p = Self(state)->GetPosition();
  LuaScript::PushPoint2D(state, p.x, p.y);
  return 1;
}

int GetVector(lua_State* state) {
  const Math::Vector2D& v = Self(state)->GetVector();
  LuaScript::PushVector2D(state, v.x, v.y);
  return 1;
}

int GetBody(lua_State* state) { return PushObjectOrNil(state, Self(state)->GetBody()); }

int GetTime(lua_State* state) {
  lua_pushnumber(state, Self(state)->GetTime());
  return 1;
}

int SetTimeToLive(lua_State* state) {
  Force* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  self->SetTimeToLive(CheckFloat(state, kFirstArgument));
  return 0;
}

int GetTimeToLive(lua_State* state) {
  lua_pushnumber(state, Self(state)->GetTimeToLive());
  return 1;
}

int GetEvaluatedForce(lua_State* state) {
  const Math::Vector2D& f = Self(state)->GetEvaluatedForce();
  LuaScript::PushVector2D(state, f.x, f.y);
  return 1;
}

int GetEvaluatedTorque(lua_State* state) {
  lua_pushnumber(state, Self(state)->GetEvaluatedTorque());
  return 1;
}

const Lua::Method kForceMethods[] = {
    {"Initialize", &Initialize},
    {"Evaluate", &Evaluate},
    {"Update", &Update},
    {"SetPosition", &SetPosition},
    {"GetPosition", &GetPosition},
    {"GetVector", &GetVector},
    {"GetBody", &GetBody},
    {"GetTime", &GetTime},
    {"SetTimeToLive", &SetTimeToLive},
    {"GetTimeToLive", &GetTimeToLive},
    {"GetEvaluatedForce", &GetEvaluatedForce},
    {"GetEvaluatedTorque", &GetEvaluatedTorque},
};

// Filled at start-up, one per force class: each pushes itself under its own script name.
const Lua::MethodTable g_forceTables[] = {
    {kForceScriptNames[0], kForceMethods},
    {kForceScriptNames[1], kForceMethods},
    {kForceScriptNames[2], kForceMethods},
    {kForceScriptNames[3], kForceMethods},
};

// "Forces" is the body's own set: its userdata borrows the pointer from the body.
Forces* SelfSet(lua_State* state) { return static_cast<Forces*>(Lua::CheckUserdata(state, 1, "Forces")); }

int SetBody(lua_State* state) {
  Forces* self = SelfSet(state);
  if (!HasArguments(state, 1)) return 0;
  self->SetBody(CheckObject<RigidBody>(state, kFirstArgument, {"RigidBody"}));
  return 0;
}

int GetSetBody(lua_State* state) { return PushObjectOrNil(state, SelfSet(state)->GetBody()); }

int AddForce(lua_State* state) {
  Forces* self = SelfSet(state);
  if (!HasArguments(state, 1)) return 0;
  Force* force = ToForce(state, kFirstArgument);
  if (force == nullptr) luaL_typerror(state, kFirstArgument, "Force");
  lua_pushnumber(state, self->AddForce(force));
  return 1;
}

int RemoveForce(lua_State* state) {
  Forces* self = SelfSet(state);
  if (!HasArguments(state, 1)) return 0;
  lua_pushinteger(state, self->RemoveForce(CheckHandle(state, kFirstArgument)) ? 1 : 0);
  return 1;
}

int RemoveAllForces(lua_State* state) {
  lua_pushinteger(state, SelfSet(state)->RemoveAllForces() ? 1 : 0);
  return 1;
}

int NoEffect(lua_State*) { return 0; }
int PushNothing(lua_State*, void*) { return 0; }

const Lua::Method kSetMethods[] = {
    {"SetBody", &SetBody},         {"GetBody", &GetSetBody},
    {"AddForce", &AddForce},       {"RemoveForce", &RemoveForce},
    {"RemoveAllForces", &RemoveAllForces}, {"UpdateForces", &NoEffect},
};

const Lua::MethodTable g_setTable("Forces", kSetMethods, &PushNothing);

}  // namespace

void Physics2D::Script::LinkForceBindings() {}
void Physics2D::Script::LinkForcesBindings() {}
