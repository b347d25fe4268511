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

// Every joint class but the contact, which has its own methods.
Joint* ToJoint(lua_State* state, int index) {
  return ToObject<Joint>(state, index,
                         {kJointScriptNames[0], kJointScriptNames[1], kJointScriptNames[2], kJointScriptNames[3],
                          kJointScriptNames[4], kJointScriptNames[5], kJointScriptNames[6]});
}

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
  Joint* joint = ToJoint(state, kFirstArgument + 2);
  if (joint == nullptr) luaL_typerror(state, kFirstArgument + 2, "Joint");
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
  self->RemoveJoint(ToJoint(state, kFirstArgument));
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

// (handle, number) -> 1 when the body is there, else 0.
template <auto Set>
int SetBodyNumber(lua_State* state) {
  PhysicsEngine* self = Self(state);
  if (!HasArguments(state, 2)) return 0;
  const RigidBodyHandle handle = CheckHandle(state, kFirstArgument);
  return PushResult(state, (self->*Set)(handle, CheckFloat(state, kFirstArgument + 1)));
}

int SetRigidBodyVelocity(lua_State* state) {
  PhysicsEngine* self = Self(state);
  if (!HasArguments(state, 2)) return 0;
  const RigidBodyHandle handle = CheckHandle(state, kFirstArgument);
  return PushResult(state, self->SetRigidBodyVelocity(handle, LuaScript::ToVector2D(state, kFirstArgument + 1)));
}

// (handle, table) -> 1 when the body is there (the table then holds X and Y), else 0.
template <auto Get>
int GetBodyVector(lua_State* state) {
  PhysicsEngine* self = Self(state);
  if (!HasArguments(state, 2)) return 0;
  Math::Vector2D value;
  const bool found = (self->*Get)(CheckHandle(state, kFirstArgument), value);
  if (found) FillVector(state, kFirstArgument + 1, value);
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

int Reset(lua_State* state) {
  Self(state)->Clear();
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
    {"SetRigidBodyOrientation", &SetBodyNumber<&PhysicsEngine::SetRigidBodyOrientation>},
    {"GetRigidBodyOrientation", &NoEffect},
    {"SetRigidBodyVelocity", &SetRigidBodyVelocity},
    {"GetRigidBodyVelocity", &GetBodyVector<&PhysicsEngine::GetRigidBodyVelocity>},
    {"SetRigidBodyAngularVelocity", &SetBodyNumber<&PhysicsEngine::SetRigidBodyAngularVelocity>},
    {"GetRigidBodyAngularVelocity", &NoEffect},
    {"GetRigidBodyCenterOfMass", &GetBodyVector<&PhysicsEngine::GetRigidBodyCenterOfMass>},
    {"AddRigidBodyForce", &NoEffect},
    {"RemoveRigidBodyForce", &RemoveRigidBodyForce},
    {"RemoveAllRigidBodyForces", &RemoveAllRigidBodyForces},
    {"Update", &SetNumber<PhysicsEngine, Self, &PhysicsEngine::Update>},
    {"PostCollisionUpdate", &SetNumber<PhysicsEngine, Self, &PhysicsEngine::PostCollisionUpdate>},
    {"SetContactListUpdate", &NoEffect},
    {"SetContactListUpdateData", &NoEffect},
    {"GetContactListUpdateData", &NoEffect},
    {"Reset", &Reset},
    {"GetPlusInfinity", &GetNumber<PhysicsEngine, Self, &PhysicsEngine::GetPlusInfinity>},
    {"GetMinusInfinity", &GetNumber<PhysicsEngine, Self, &PhysicsEngine::GetMinusInfinity>},
    {"GetSimulationStep", &GetNumber<PhysicsEngine, Self, &PhysicsEngine::GetSimulationStep>},
    {"GetSimulationInverseStep", &GetNumber<PhysicsEngine, Self, &PhysicsEngine::GetSimulationInverseStep>},
    {"GetMaximumSimulationStep", &GetNumber<PhysicsEngine, Self, &PhysicsEngine::GetMaximumSimulationStep>},
    {"GetScale", &GetNumber<PhysicsEngine, Self, &PhysicsEngine::GetUnitScale>},
    {"GetEpsilon", &GetNumber<PhysicsEngine, Self, &PhysicsEngine::GetEpsilon>},
    {"SetMaximumSimulationStep", &SetNumber<PhysicsEngine, Self, &PhysicsEngine::SetMaximumSimulationStep>},
    {"SetAccuracy", &SetAccuracy},
    {"GetAccuracy", &GetNumber<PhysicsEngine, Self, &PhysicsEngine::GetAccuracy>},
    {"SetScale", &SetNumber<PhysicsEngine, Self, &PhysicsEngine::SetUnitScale>},
    {"GetStaticBody", &GetObject<PhysicsEngine, Self, &PhysicsEngine::GetStaticBody>},
};
static_assert(sizeof(kMethods) / sizeof(kMethods[0]) == 39, "the engine's script table has 39 methods");

const Lua::MethodTable g_methodTable("PhysicsEngine", kMethods);

}  // namespace

void Physics2D::Script::LinkEngineBindings() {}
