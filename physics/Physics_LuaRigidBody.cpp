// Script methods of "RigidBody" and "MassProperties".
#include <new>

#include "physics/Physics_LuaSupport.h"
#include "physics/Physics_RigidBody.h"
#include "script/Lua_Script.h"

namespace {

using namespace Physics2D;
using namespace Physics2D::Script;

RigidBody* Self(lua_State* state) { return CheckObject<RigidBody>(state, 1, {"RigidBody"}); }

MassProperties* CheckMassProperties(lua_State* state, int index) {
  return static_cast<MassProperties*>(Lua::CheckUserdata(state, index, "MassProperties"));
}

int SetMassProperties(lua_State* state) {
  RigidBody* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  self->SetMassProperties(*CheckMassProperties(state, kFirstArgument));
  return 0;
}

// The velocity is read as a vector, and only from a table.
int SetVelocity(lua_State* state) {
  RigidBody* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  luaL_checktype(state, kFirstArgument, LUA_TTABLE);
  self->SetVelocity(LuaScript::ToVector2D(state, kFirstArgument));
  return 0;
}

// The script gets its own copy, living in the userdata's block: it goes when Lua collects it, and
// nothing in it needs a destructor.
int GetMassProperties(lua_State* state) {
  const MassProperties& source = Self(state)->GetMassProperties();
  constexpr size_t kOffset = (sizeof(void*) + alignof(MassProperties) - 1) / alignof(MassProperties) *
                             alignof(MassProperties);
  void* block = lua_newuserdata(state, kOffset + sizeof(MassProperties));
  auto* copy = new (static_cast<char*>(block) + kOffset) MassProperties();
  copy->CopyValues(source);
  *static_cast<void**>(block) = copy;
  lua_getfield(state, LUA_REGISTRYINDEX, "MassProperties");
  lua_setmetatable(state, -2);
  return 1;
}

const Lua::Method kBodyMethods[] = {
    {"SetMassProperties", &SetMassProperties},
    {"GetMassProperties", &GetMassProperties},
    {"SetVelocity", &SetVelocity},
    {"GetVelocity", &GetVector<RigidBody, Self, &RigidBody::GetVelocity>},
    {"SetAngularVelocity", &SetNumber<RigidBody, Self, &RigidBody::SetAngularVelocity>},
    {"GetAngularVelocity", &GetNumber<RigidBody, Self, &RigidBody::GetAngularVelocity>},
    {"SetPosition", &SetPoint<RigidBody, Self, &RigidBody::SetPosition, true>},
    {"GetPosition", &GetPoint<RigidBody, Self, &RigidBody::GetPosition>},
    {"SetOrientation", &SetNumber<RigidBody, Self, &RigidBody::SetOrientation>},
    {"GetOrientation", &GetNumber<RigidBody, Self, &RigidBody::GetOrientation>},
    {"GetMatrix", &GetMatrix<RigidBody, Self, &RigidBody::GetMatrix>},
    {"GetRotationMatrix", &GetMatrix<RigidBody, Self, &RigidBody::GetRotationMatrix>},
    {"GetInverseMatrix", &GetMatrix<RigidBody, Self, &RigidBody::GetInverseMatrix>},
    {"GetCenterOfMass", &GetPoint<RigidBody, Self, &RigidBody::GetWorldCenterOfMass>},
    {"SetData", &NoEffect},
    {"GetData", &NoEffect},
    {"AddForce", &AddForce<RigidBody, Self>},
    {"RemoveForce", &RemoveForce<RigidBody, Self>},
    {"RemoveAllForces", &RemoveAllForces<RigidBody, Self>},
};
static_assert(sizeof(kBodyMethods) / sizeof(kBodyMethods[0]) == 19, "the body's script table has 19 methods");

const Lua::MethodTable g_bodyTable("RigidBody", kBodyMethods);

// MassProperties is a plain value: its userdata holds a MassProperties pointer, not a Core::Object.
MassProperties* SelfMass(lua_State* state) { return CheckMassProperties(state, 1); }

int PushMassCopy(lua_State*, void*) { return 0; }

const Lua::Method kMassMethods[] = {
    {"SetMass", &SetNumber<MassProperties, SelfMass, &MassProperties::SetMass>},
    {"GetMass", &GetNumber<MassProperties, SelfMass, &MassProperties::GetMass>},
    {"GetInverseMass", &GetNumber<MassProperties, SelfMass, &MassProperties::GetInverseMass>},
    {"SetInertia", &SetNumber<MassProperties, SelfMass, &MassProperties::SetInertia>},
    {"GetInertia", &GetNumber<MassProperties, SelfMass, &MassProperties::GetInertia>},
    {"GetInverseInertia", &GetNumber<MassProperties, SelfMass, &MassProperties::GetInverseInertia>},
    {"SetCenterOfMass", &SetPoint<MassProperties, SelfMass, &MassProperties::SetCenterOfMass, true>},
    {"GetCenterOfMass", &GetPoint<MassProperties, SelfMass, &MassProperties::GetCenterOfMass>},
};

// Not a Core::Object: copying it to another script state pushes nothing.
const Lua::MethodTable g_massTable("MassProperties", kMassMethods, &PushMassCopy);

}  // namespace

void Physics2D::Script::LinkRigidBodyBindings() {}
void Physics2D::Script::LinkMassPropertiesBindings() {}
