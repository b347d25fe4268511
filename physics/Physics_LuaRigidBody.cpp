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

int NoEffect(lua_State*) { return 0; }

int SetMassProperties(lua_State* state) {
  RigidBody* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  self->SetMassProperties(*CheckMassProperties(state, kFirstArgument));
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

int SetVelocity(lua_State* state) {
  RigidBody* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  luaL_checktype(state, kFirstArgument, LUA_TTABLE);
  self->SetVelocity(LuaScript::ToVector2D(state, kFirstArgument));
  return 0;
}

int GetVelocity(lua_State* state) {
  const Math::Vector2D& v = Self(state)->GetVelocity();
  LuaScript::PushVector2D(state, v.x, v.y);
  return 1;
}

int SetAngularVelocity(lua_State* state) {
  RigidBody* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  self->SetAngularVelocity(CheckFloat(state, kFirstArgument));
  return 0;
}

int GetAngularVelocity(lua_State* state) {
  lua_pushnumber(state, Self(state)->GetAngularVelocity());
  return 1;
}

int SetPosition(lua_State* state) {
  RigidBody* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  luaL_checktype(state, kFirstArgument, LUA_TTABLE);
  self->SetPosition(LuaScript::ToPoint2D(state, kFirstArgument));
  return 0;
}

int GetPosition(lua_State* state) {
  const Math::Vector2D& p = Self(state)->GetPosition();
  LuaScript::PushPoint2D(state, p.x, p.y);
  return 1;
}

int SetOrientation(lua_State* state) {
  RigidBody* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  self->SetOrientation(CheckFloat(state, kFirstArgument));
  return 0;
}

int GetOrientation(lua_State* state) {
  lua_pushnumber(state, Self(state)->GetOrientation());
  return 1;
}

int GetMatrix(lua_State* state) {
  PushMatrix(state, Self(state)->GetMatrix());
  return 1;
}

int GetRotationMatrix(lua_State* state) {
  PushMatrix(state, Self(state)->GetRotationMatrix());
  return 1;
}

int GetInverseMatrix(lua_State* state) {
  PushMatrix(state, Self(state)->GetInverseMatrix());
  return 1;
}

int GetCenterOfMass(lua_State* state) {
  const Math::Vector2D& c = Self(state)->GetWorldCenterOfMass();
  LuaScript::PushPoint2D(state, c.x, c.y);
  return 1;
}

int AddForce(lua_State* state) {
  RigidBody* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  Force* force = CheckObject<Force>(state, kFirstArgument, {kForceScriptNames[0], kForceScriptNames[1],
                                                            kForceScriptNames[2], kForceScriptNames[3]});
  lua_pushnumber(state, self->AddForce(force));
  return 1;
}

int RemoveForce(lua_State* state) {
  RigidBody* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  lua_pushinteger(state, self->RemoveForce(CheckHandle(state, kFirstArgument)) ? 1 : 0);
  return 1;
}

int RemoveAllForces(lua_State* state) {
  lua_pushinteger(state, Self(state)->RemoveAllForces() ? 1 : 0);
  return 1;
}

const Lua::Method kBodyMethods[] = {
    {"SetMassProperties", &SetMassProperties},
    {"GetMassProperties", &GetMassProperties},
    {"SetVelocity", &SetVelocity},
    {"GetVelocity", &GetVelocity},
    {"SetAngularVelocity", &SetAngularVelocity},
    {"GetAngularVelocity", &GetAngularVelocity},
    {"SetPosition", &SetPosition},
    {"GetPosition", &GetPosition},
    {"SetOrientation", &SetOrientation},
    {"GetOrientation", &GetOrientation},
    {"GetMatrix", &GetMatrix},
    {"GetRotationMatrix", &GetRotationMatrix},
    {"GetInverseMatrix", &GetInverseMatrix},
    {"GetCenterOfMass", &GetCenterOfMass},
    {"SetData", &NoEffect},
    {"GetData", &NoEffect},
    {"AddForce", &AddForce},
    {"RemoveForce", &RemoveForce},
    {"RemoveAllForces", &RemoveAllForces},
};
static_assert(sizeof(kBodyMethods) / sizeof(kBodyMethods[0]) == 19, "the body's script table has 19 methods");

const Lua::MethodTable g_bodyTable("RigidBody", kBodyMethods);

// MassProperties is a plain value: its userdata holds a MassProperties pointer, not a Core::Object.
MassProperties* SelfMass(lua_State* state) { return CheckMassProperties(state, 1); }

int SetMass(lua_State* state) {
  MassProperties* self = SelfMass(state);
  if (!HasArguments(state, 1)) return 0;
  self->SetMass(CheckFloat(state, kFirstArgument));
  return 0;
}

int GetMass(lua_State* state) {
  lua_pushnumber(state, SelfMass(state)->GetMass());
  return 1;
}

int GetInverseMass(lua_State* state) {
  lua_pushnumber(state, SelfMass(state)->GetInverseMass());
  return 1;
}

int SetInertia(lua_State* state) {
  MassProperties* self = SelfMass(state);
  if (!HasArguments(state, 1)) return 0;
  self->SetInertia(CheckFloat(state, kFirstArgument));
  return 0;
}

int GetInertia(lua_State* state) {
  lua_pushnumber(state, SelfMass(state)->GetInertia());
  return 1;
}

int GetInverseInertia(lua_State* state) {
  lua_pushnumber(state, SelfMass(state)->GetInverseInertia());
  return 1;
}

int SetCenterOfMass(lua_State* state) {
  MassProperties* self = SelfMass(state);
  if (!HasArguments(state, 1)) return 0;
  luaL_checktype(state, kFirstArgument, LUA_TTABLE);
  self->SetCenterOfMass(LuaScript::ToPoint2D(state, kFirstArgument));
  return 0;
}

int GetMassCenter(lua_State* state) {
  const Math::Vector2D& c = SelfMass(state)->GetCenterOfMass();
  LuaScript::PushPoint2D(state, c.x, c.y);
  return 1;
}

int PushMassCopy(lua_State*, void*) { return 0; }

const Lua::Method kMassMethods[] = {
    {"SetMass", &SetMass},         {"GetMass", &GetMass},       {"GetInverseMass", &GetInverseMass},
    {"SetInertia", &SetInertia},   {"GetInertia", &GetInertia}, {"GetInverseInertia", &GetInverseInertia},
    {"SetCenterOfMass", &SetCenterOfMass}, {"GetCenterOfMass", &GetMassCenter},
};

// Not a Core::Object: copying it to another script state pushes nothing.
const Lua::MethodTable g_massTable("MassProperties", kMassMethods, &PushMassCopy);

}  // namespace

void Physics2D::Script::LinkRigidBodyBindings() {}
void Physics2D::Script::LinkMassPropertiesBindings() {}
