// Script methods of a game object's rigid body.
#include <new>

#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_ScriptSupport.h"
#include "physics/Physics_Force.h"
#include "physics/Physics_MassProperties.h"
#include "script/Lua_Script.h"

namespace Quillon {
namespace Script {
namespace Attachment {

namespace {

constexpr int kArg = kFirstArgument;

Physics2D::MassProperties* ToMassProperties(lua_State* state, int index) {
  return static_cast<Physics2D::MassProperties*>(Lua::ToUserdata(state, index, "MassProperties"));
}

// The script's own copy lives in the userdata's block and goes when Lua collects it.
void PushMassProperties(lua_State* state, const Physics2D::MassProperties& source) {
  constexpr size_t kOffset = (sizeof(void*) + alignof(Physics2D::MassProperties) - 1) /
                             alignof(Physics2D::MassProperties) * alignof(Physics2D::MassProperties);
  void* block = lua_newuserdata(state, kOffset + sizeof(Physics2D::MassProperties));
  auto* copy = new (static_cast<char*>(block) + kOffset) Physics2D::MassProperties();
  copy->CopyValues(source);
  *static_cast<void**>(block) = copy;
  lua_getfield(state, LUA_REGISTRYINDEX, "MassProperties");
  lua_setmetatable(state, -2);
}

}  // namespace

int AddPhysicalProperties(lua_State* state) {
  GameObject* self = SelfObject(state);
  if (!HasArguments(state, 2)) return 0;
  Physics2D::MassProperties* massProperties = ToMassProperties(state, kArg);
  if (massProperties == nullptr) return 0;
  lua_pushboolean(state, self->AddPhysicalProperties(*massProperties, ToUnsigned(state, kArg + 1)));
  return 1;
}

int RemovePhysicalProperties(lua_State* state) {
  lua_pushboolean(state, SelfObject(state)->RemovePhysicalProperties());
  return 1;
}

int SetMassProperties(lua_State* state) {
  GameObject* self = SelfObject(state);
  Physics2D::MassProperties* massProperties = HasArguments(state, 1) ? ToMassProperties(state, kArg) : nullptr;
  if (massProperties != nullptr) self->SetMassProperties(*massProperties);
  return 0;
}

int GetMassProperties(lua_State* state) {
  Physics2D::MassProperties massProperties;
  if (!SelfObject(state)->GetMassProperties(massProperties)) return 0;
  PushMassProperties(state, massProperties);
  return 1;
}

int GetCenterOfMass(lua_State* state) {
  Math::Vector2D center;
  if (!SelfObject(state)->GetCenterOfMass(center)) return 0;
  LuaScript::PushPoint2D(state, center.x, center.y);
  return 1;
}

int SetVelocity(lua_State* state) {
  GameObject* self = SelfObject(state);
  if (HasArguments(state, 1) && IsTable(state, kArg)) self->SetVelocity(LuaScript::ToVector2D(state, kArg));
  return 0;
}

int GetVelocity(lua_State* state) {
  Math::Vector2D velocity;
  if (!SelfObject(state)->GetVelocity(velocity)) return 0;
  LuaScript::PushVector2D(state, velocity.x, velocity.y);
  return 1;
}

int SetAngularVelocity(lua_State* state) {
  GameObject* self = SelfObject(state);
  if (HasArguments(state, 1)) self->SetAngularVelocity(ToFloat(state, kArg));
  return 0;
}

int GetAngularVelocity(lua_State* state) {
  float angularVelocity = 0.0f;
  if (!SelfObject(state)->GetAngularVelocity(angularVelocity)) return 0;
  lua_pushnumber(state, angularVelocity);
  return 1;
}

int SetSpeed(lua_State* state) {
  GameObject* self = SelfObject(state);
  if (!HasArguments(state, 1)) return 0;
  lua_pushboolean(state, self->SetSpeed(ToFloat(state, kArg)));
  return 1;
}

int GetSpeed(lua_State* state) {
  lua_pushnumber(state, SelfObject(state)->GetSpeed());
  return 1;
}

int SetVelocityDirection(lua_State* state) {
  GameObject* self = SelfObject(state);
  if (!HasArguments(state, 1) || !IsTable(state, kArg)) return 0;
  lua_pushboolean(state, self->SetVelocityDirection(LuaScript::ToVector2D(state, kArg)));
  return 1;
}

int GetVelocityDirection(lua_State* state) {
  const Math::Vector2D direction = SelfObject(state)->GetVelocityDirection();
  LuaScript::PushVector2D(state, direction.x, direction.y);
  return 1;
}

int AddForce(lua_State* state) {
  GameObject* self = SelfObject(state);
  Physics2D::Force* force = HasArguments(state, 1) ? ToObjectOf<Physics2D::Force>(state, kArg) : nullptr;
  if (force == nullptr) return 0;
  uint32_t forceId = 0;
  lua_pushboolean(state, self->AddForce(force, forceId));
  return 1;
}

int RemoveForce(lua_State* state) {
  GameObject* self = SelfObject(state);
  if (!HasArguments(state, 1)) return 0;
  lua_pushboolean(state, self->RemoveForce(ToUnsigned(state, kArg)));
  return 1;
}

int RemoveAllForces(lua_State* state) {
  lua_pushboolean(state, SelfObject(state)->RemoveAllForces());
  return 1;
}

}  // namespace Attachment
}  // namespace Script
}  // namespace Quillon
