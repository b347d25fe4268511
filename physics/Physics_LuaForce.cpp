// Script methods of "Force" (shared by the force classes) and of "Forces".
#include "physics/Physics_Force.h"
#include "physics/Physics_Forces.h"
#include "physics/Physics_LuaSupport.h"
#include "physics/Physics_RigidBody.h"
#include "script/Lua_Script.h"

namespace {

using namespace Physics2D;
using namespace Physics2D::Script;

Force* Self(lua_State* state) { return CheckForce(state, 1); }

int Initialize(lua_State* state) {
  Force* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  self->Attach(CheckObject<RigidBody>(state, kFirstArgument, {"RigidBody"}));
  return 0;
}

const Lua::Method kForceMethods[] = {
    {"Initialize", &Initialize},
    {"Evaluate", &SetNumber<Force, Self, &Force::Evaluate>},
    {"Update", &SetNumber<Force, Self, &Force::Update>},
    {"SetPosition", &SetPoint<Force, Self, &Force::SetPosition, false>},
    {"GetPosition", &GetPoint<Force, Self, &Force::GetPosition>},
    {"GetVector", &GetVector<Force, Self, &Force::GetVector>},
    {"GetBody", &GetObject<Force, Self, &Force::GetBody>},
    {"GetTime", &GetNumber<Force, Self, &Force::GetTime>},
    {"SetTimeToLive", &SetNumber<Force, Self, &Force::SetTimeToLive>},
    {"GetTimeToLive", &GetNumber<Force, Self, &Force::GetTimeToLive>},
    {"GetEvaluatedForce", &GetVector<Force, Self, &Force::GetEvaluatedForce>},
    {"GetEvaluatedTorque", &GetNumber<Force, Self, &Force::GetEvaluatedTorque>},
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

int PushNothing(lua_State*, void*) { return 0; }

const Lua::Method kSetMethods[] = {
    {"SetBody", &SetBody},
    {"GetBody", &GetObject<Forces, SelfSet, &Forces::GetBody>},
    {"AddForce", &AddForce<Forces, SelfSet>},
    {"RemoveForce", &RemoveForce<Forces, SelfSet>},
    {"RemoveAllForces", &RemoveAllForces<Forces, SelfSet>},
    {"UpdateForces", &NoEffect},
};

const Lua::MethodTable g_setTable("Forces", kSetMethods, &PushNothing);

}  // namespace

void Physics2D::Script::LinkForceBindings() {}
void Physics2D::Script::LinkForcesBindings() {}
