// Script methods of "PhysicsEngine".
#include "physics/Physics_Engine.h"
#include "physics/Physics_LuaSupport.h"
#include "script/Lua_Script.h"

namespace {

using namespace Physics2D;
using namespace Physics2D::Script;

PhysicsEngine* Self(lua_State* state) { return CheckObject<PhysicsEngine>(state, 1, {"PhysicsEngine"}); }

int PushResult(lua_State* state, bool result) {
  lua_pushinteger(state, result ? 1 : 0);
  return 1;
}

int NoEffect(lua_State*) { return 0; }

int AddRigidBody(lua_State* state) {
  PhysicsEngine* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  self->AddRigidBody(CheckObject<RigidBody>(state, kFirstArgument, {"RigidBody"}));
  return 0;
}

int RemoveRigidBody(lua_State* state) {
  Self(state)->RemoveRigidBody(CheckHandle(state, kFirstArgument));
  return 0;
}

int AddJoint(lua_State* state) {
  PhysicsEngine* self = Self(state);
  if (!HasArguments(state, 3)) return 0;
  const RigidBodyHandle handle1 = CheckHandle(state, kFirstArgument);
  const RigidBodyHandle handle2 = CheckHandle(state, kFirstArgument + 1);
  Joint* joint = CheckObject<Joint>(state, kFirstArgument + 2,
                                    {kJointScriptNames[0], kJointScriptNames[1], kJointScriptNames[2],
                                     kJointScriptNames[3], kJointScriptNames[4], kJointScriptNames[5],
                                     kJointScriptNames[6]});
  Joint* added = self->AddJoint(handle1, handle2, joint);
  if (added == nullptr) {
    lua_pushnil(state);
    return 1;
  }
  return Core::PushObjectToLua(state, added, "Joint");
}

int RemoveJoint(lua_State* state) {
  PhysicsEngine* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  self->RemoveJoint(ToObject<Joint>(state, kFirstArgument,
                                    {kJointScriptNames[0], kJointScriptNames[1], kJointScriptNames[2],
                                     kJointScriptNames[3], kJointScriptNames[4], kJointScriptNames[5],
                                     kJointScriptNames[6]}));
  return 0;
}

int AddContact(lua_State* state) {
  PhysicsEngine* self = Self(state);
  if (!HasArguments(state, 3)) return 0;
  const RigidBodyHandle handle1 = CheckHandle(state, kFirstArgument);
  const RigidBodyHandle handle2 = CheckHandle(state, kFirstArgument + 1);
  Contact* contact = CheckObject<Contact>(state, kFirstArgument + 2, {"Contact", "Joint"});
  Contact* added = self->AddContact(handle1, handle2, contact);
  if (added == nullptr) {
    lua_pushnil(state);
    return 1;
  }
  return Core::PushObjectToLua(state, added, "Contact");
}

int RemoveContact(lua_State* state) {
  PhysicsEngine* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  self->RemoveContact(ToObject<Contact>(state, kFirstArgument, {"Contact", "Joint"}));
  return 0;
}

int GetRigidBody(lua_State* state) {
  PhysicsEngine* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  return PushObjectOrNil(state, self->GetRigidBody(CheckHandle(state, kFirstArgument)).Get());
}

int GetRigidBodyList(lua_State* state) {
  PhysicsEngine* self = Self(state);
  lua_newtable(state);
  for (uint32_t handle = 1; handle <= self->GetRigidBodySlotCount(); ++handle) {
    Core::SmartPointer<RigidBody> body = self->GetRigidBody(handle);
    if (!body) continue;
    body->PushToLua(state);
    lua_rawseti(state, -2, static_cast<int>(handle));
  }
  return 1;
}

MassProperties* CheckMassProperties(lua_State* state, int index) {
  return static_cast<MassProperties*>(Lua::CheckUserdata(state, index, "MassProperties"));
}

int SetMassProperties(lua_State* state) {
  PhysicsEngine* self = Self(state);
  if (!HasArguments(state, 2)) return 0;
  const RigidBodyHandle handle = CheckHandle(state, kFirstArgument);
  return PushResult(state, self->SetRigidBodyMassProperties(handle, *CheckMassProperties(state, kFirstArgument + 1)));
}

int GetMassProperties(lua_State* state) {
  PhysicsEngine* self = Self(state);
  if (!HasArguments(state, 2)) return 0;
  const RigidBodyHandle handle = CheckHandle(state, kFirstArgument);
  return PushResult(state, self->GetRigidBodyMassProperties(handle, *CheckMassProperties(state, kFirstArgument + 1)));
}

int SetRigidBodyOrientation(lua_State* state) {
  PhysicsEngine* self = Self(state);
  if (!HasArguments(state, 2)) return 0;
  const RigidBodyHandle handle = CheckHandle(state, kFirstArgument);
  return PushResult(state, self->SetRigidBodyOrientation(handle, CheckFloat(state, kFirstArgument + 1)));
}

int SetRigidBodyVelocity(lua_State* state) {
  PhysicsEngine* self = Self(state);
  if (!HasArguments(state, 2)) return 0;
  const RigidBodyHandle handle = CheckHandle(state, kFirstArgument);
  return PushResult(state, self->SetRigidBodyVelocity(handle, LuaScript::ToVector2D(state, kFirstArgument + 1)));
}

int GetRigidBodyVelocity(lua_State* state) {
  PhysicsEngine* self = Self(state);
  if (!HasArguments(state, 2)) return 0;
  Math::Vector2D velocity;
  const bool found = self->GetRigidBodyVelocity(CheckHandle(state, kFirstArgument), velocity);
  if (found) FillVector(state, kFirstArgument + 1, velocity);
  return PushResult(state, found);
}

int SetRigidBodyAngularVelocity(lua_State* state) {
  PhysicsEngine* self = Self(state);
  if (!HasArguments(state, 2)) return 0;
  const RigidBodyHandle handle = CheckHandle(state, kFirstArgument);
  return PushResult(state, self->SetRigidBodyAngularVelocity(handle, CheckFloat(state, kFirstArgument + 1)));
}

int GetRigidBodyCenterOfMass(lua_State* state) {
  PhysicsEngine* self = Self(state);
  if (!HasArguments(state, 2)) return 0;
  Math::Vector2D center;
  const bool found = self->GetRigidBodyCenterOfMass(CheckHandle(state, kFirstArgument), center);
  if (found) FillVector(state, kFirstArgument + 1, center);
  return PushResult(state, found);
}

int RemoveRigidBodyForce(lua_State* state) {
  PhysicsEngine* self = Self(state);
  if (!HasArguments(state, 2)) return 0;
  const RigidBodyHandle handle = CheckHandle(state, kFirstArgument);
  return PushResult(state, self->RemoveRigidBodyForce(handle, CheckHandle(state, kFirstArgument + 1)));
}

int RemoveAllRigidBodyForces(lua_State* state) {
  PhysicsEngine* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  return PushResult(state, self->RemoveAllRigidBodyForces(CheckHandle(state, kFirstArgument)));
}

int Update(lua_State* state) {
  PhysicsEngine* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  self->Update(CheckFloat(state, kFirstArgument));
  return 0;
}

int PostCollisionUpdate(lua_State* state) {
  PhysicsEngine* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  self->PostCollisionUpdate(CheckFloat(state, kFirstArgument));
  return 0;
}

int Reset(lua_State* state) {
  Self(state)->Clear();
  return 0;
}

int PushNumber(lua_State* state, float value) {
  lua_pushnumber(state, value);
  return 1;
}

int GetPlusInfinity(lua_State* state) { return PushNumber(state, Self(state)->GetPlusInfinity()); }
int GetMinusInfinity(lua_State* state) { return PushNumber(state, Self(state)->GetMinusInfinity()); }
int GetSimulationStep(lua_State* state) { return PushNumber(state, Self(state)->GetSimulationStep()); }
int GetSimulationInverseStep(lua_State* state) { return PushNumber(state, Self(state)->GetSimulationInverseStep()); }
int GetMaximumSimulationStep(lua_State* state) { return PushNumber(state, Self(state)->GetMaximumSimulationStep()); }
int GetScale(lua_State* state) { return PushNumber(state, Self(state)->GetUnitScale()); }
int GetEpsilon(lua_State* state) { return PushNumber(state, Self(state)->GetEpsilon()); }

int SetMaximumSimulationStep(lua_State* state) {
  PhysicsEngine* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  self->SetMaximumSimulationStep(CheckFloat(state, kFirstArgument));
  return 0;
}

int SetAccuracy(lua_State* state) {
  PhysicsEngine* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  const lua_Number value = luaL_checknumber(state, kFirstArgument);
  // Negative and huge counts mean nothing for an unsigned count: clamp into the engine's range.
  uint32_t iterations = 10;
  if (value >= static_cast<lua_Number>(kMaximumIterations))
    iterations = kMaximumIterations;
  else if (value >= 10.0)
    iterations = static_cast<uint32_t>(value);
  self->SetAccuracy(iterations);
  return 0;
}

int GetAccuracy(lua_State* state) {
  lua_pushnumber(state, static_cast<lua_Number>(Self(state)->GetAccuracy()));
  return 1;
}

int SetScale(lua_State* state) {
  PhysicsEngine* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  self->SetUnitScale(CheckFloat(state, kFirstArgument));
  return 0;
}

int GetStaticBody(lua_State* state) { return PushObjectOrNil(state, Self(state)->GetStaticBody()); }

const Lua::Method kMethods[] = {
    {"AddRigidBody", &AddRigidBody},
    {"CloneRigidBody", &NoEffect},
    {"RemoveRigidBody", &RemoveRigidBody},
    {"AddJoint", &AddJoint},
    {"RemoveJoint", &RemoveJoint},
    {"AddContact", &AddContact},
    {"RemoveContact", &RemoveContact},
    {"GetRigidBody", &GetRigidBody},
    {"GetRigidBodyList", &GetRigidBodyList},
    {"SetMassProperties", &SetMassProperties},
    {"GetMassProperties", &GetMassProperties},
    {"SetRigidBodyOrientation", &SetRigidBodyOrientation},
    {"GetRigidBodyOrientation", &NoEffect},
    {"SetRigidBodyVelocity", &SetRigidBodyVelocity},
    {"GetRigidBodyVelocity", &GetRigidBodyVelocity},
    {"SetRigidBodyAngularVelocity", &SetRigidBodyAngularVelocity},
    {"GetRigidBodyAngularVelocity", &NoEffect},
    {"GetRigidBodyCenterOfMass", &GetRigidBodyCenterOfMass},
    {"AddRigidBodyForce", &NoEffect},
    {"RemoveRigidBodyForce", &RemoveRigidBodyForce},
    {"RemoveAllRigidBodyForces", &RemoveAllRigidBodyForces},
    {"Update", &Update},
    {"PostCollisionUpdate", &PostCollisionUpdate},
    {"SetContactListUpdate", &NoEffect},
    {"SetContactListUpdateData", &NoEffect},
    {"GetContactListUpdateData", &NoEffect},
    {"Reset", &Reset},
    {"GetPlusInfinity", &GetPlusInfinity},
    {"GetMinusInfinity", &GetMinusInfinity},
    {"GetSimulationStep", &GetSimulationStep},
    {"GetSimulationInverseStep", &GetSimulationInverseStep},
    {"GetMaximumSimulationStep", &GetMaximumSimulationStep},
    {"GetScale", &GetScale},
    {"GetEpsilon", &GetEpsilon},
    {"SetMaximumSimulationStep", &SetMaximumSimulationStep},
    {"SetAccuracy", &SetAccuracy},
    {"GetAccuracy", &GetAccuracy},
    {"SetScale", &SetScale},
    {"GetStaticBody", &GetStaticBody},
};
static_assert(sizeof(kMethods) / sizeof(kMethods[0]) == 39, "the engine's script table has 39 methods");

const Lua::MethodTable g_methodTable("PhysicsEngine", kMethods);

}  // namespace

void Physics2D::Script::LinkEngineBindings() {}
