// Script methods of "Layer".
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_QlnNet.h"
#include "framework/Quillon_ScriptSupport.h"
#include "script/Lua_Script.h"

namespace Quillon {

namespace Script {
namespace {

constexpr int kArg = kFirstArgument;

Layer* Self(lua_State* state) { return CheckSelf<Layer>(state, Layer::ScriptClassName); }

// The player a new network object is given to; anything but a player (or nothing) leaves it unowned.
QlnPlayer* OptionalOwner(lua_State* state, int index) {
  return lua_gettop(state) >= index ? ToObjectOf<QlnPlayer>(state, index) : nullptr;
}

int SetScale(lua_State* state) {
  Layer* self = Self(state);
  if (HasArguments(state, 2)) self->SetScale(ToFloat(state, kArg), ToFloat(state, kArg + 1));
  return 0;
}
int GetScale(lua_State* state) {
  Layer* self = Self(state);
  LuaScript::PushVector2D(state, self->GetScaleX(), self->GetScaleY());
  return 1;
}
int AddGameObject(lua_State* state) {
  Layer* self = Self(state);
  GameObject* object = HasArguments(state, 1) ? ToObjectOf<GameObject>(state, kArg) : nullptr;
  if (object == nullptr) return 0;
  const bool networked = lua_gettop(state) >= kArg + 1 && ToBoolean(state, kArg + 1);
  self->AddGameObject(object, networked, OptionalOwner(state, kArg + 2));
  return 0;
}
int AddNetworkGameObject(lua_State* state) {
  Layer* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  GameObject* object = self->CreateNetworkGameObject(luaL_checkstring(state, kArg), OptionalOwner(state, kArg + 1));
  if (object == nullptr) return 0;
  return PushObjectOrNil(state, object);
}
int RemoveGameObject(lua_State* state) {
  Layer* self = Self(state);
  if (GameObject* object = HasArguments(state, 1) ? ToObjectOf<GameObject>(state, kArg) : nullptr) {
    self->RemoveGameObject(object);
  }
  return 0;
}
// (Vector a, radius or Vector b, z [, userId])
int AddCollisionData(lua_State* state) {
  Layer* self = Self(state);
  if (!HasArguments(state, 3) || !IsTable(state, kArg)) return 0;
  const Math::Vector2D a = LuaScript::ToVector2D(state, kArg);
  const int32_t z = ToInteger(state, kArg + 2);
  const uint32_t userId = HasArguments(state, 4) ? ToUnsigned(state, kArg + 3) : 0;
  if (lua_type(state, kArg + 1) == LUA_TNUMBER) {
    self->AddStaticCircle(a, ToFloat(state, kArg + 1), static_cast<uint8_t>(z & 0xFF), userId);
  } else if (IsTable(state, kArg + 1)) {
    self->AddStaticLineSegment(a, LuaScript::ToVector2D(state, kArg + 1), static_cast<uint8_t>(z & 0xFF), userId);
  }
  return 0;
}
int ReadInformationStaticCollision(lua_State* state) {
  Layer* self = Self(state);
  if (HasArguments(state, 1)) self->ReadInformation_StaticCollision(luaL_checkstring(state, kArg));
  return 0;
}
int SetCollisionProperties(lua_State* state) {
  Layer* self = Self(state);
  if (!HasArguments(state, 3) || !IsTable(state, kArg)) return 0;
  self->SetCollisionProperties(LuaScript::ToVector2D(state, kArg), ToUnsigned(state, kArg + 1),
                               ToUnsigned(state, kArg + 2), 100);
  return 0;
}
int GetGameObjects(lua_State* state) {
  std::list<GameObject*> objects;
  Self(state)->GetGameObjects(objects);
  return PushObjectList(state, objects);
}

}  // namespace

// Defined with the layer's collision side.
int GetLayerCollision(lua_State* state);

namespace {
const Lua::Method g_layerMethods[] = {
    {"SetName", &SetString<Layer, Self, &Layer::SetName>},
    {"GetName", &GetString<Layer, Self, &Layer::GetName>},
    {"SetZOrder", &SetFloat<Layer, Self, &Layer::SetZOrder>},
    {"GetZOrder", &GetNumber<Layer, Self, &Layer::GetZOrder>},
    {"SetScale", SetScale},
    {"GetScale", GetScale},
    {"SetRotation", &SetFloat<Layer, Self, &Layer::SetRotation>},
    {"GetRotation", &GetNumber<Layer, Self, &Layer::GetRotation>},
    {"GetIndex", &GetNumber<Layer, Self, &Layer::GetIndex>},
    {"GetLayerCollision", GetLayerCollision},
    {"AddGameObject", AddGameObject},
    {"AddNetworkGameObject", AddNetworkGameObject},
    {"RemoveGameObject", RemoveGameObject},
    {"AddCollisionData", AddCollisionData},
    {"ReadInformation_StaticCollision", ReadInformationStaticCollision},
    {"SetCollisionProperties", SetCollisionProperties},
    {"GetCollisionId", &GetNumber<Layer, Self, &Layer::GetCollisionLayerIndex>},
    {"GetGameObjects", GetGameObjects},
    {"GetGameObjectsCount", &GetNumber<Layer, Self, &Layer::GetGameObjectsCount>},
    {"SetVisibleCollisionData", &SetBoolean<Layer, Self, &Layer::SetVisibleCollisionData>},
    {"GetVisibleCollisionData", &GetBoolean<Layer, Self, &Layer::GetVisibleCollisionData>},
    {"SetCollisionDataColor", &SetColor<Layer, Self, &Layer::SetCollisionDataColor>},
    {"GetCollisionDataColor", &GetColor<Layer, Self, &Layer::GetCollisionDataColor>},
    {"SetVisibleLayerPartition", &SetBoolean<Layer, Self, &Layer::SetVisibleLayerPartition>},
    {"GetVisibleLayerPartition", &GetBoolean<Layer, Self, &Layer::GetVisibleLayerPartition>},
    {"SetLayerPartitionColor", &SetColor<Layer, Self, &Layer::SetLayerPartitionColor>},
    {"GetLayerPartitionColor", &GetColor<Layer, Self, &Layer::GetLayerPartitionColor>},
};
const Lua::MethodTable g_layerTable(Layer::ScriptClassName, g_layerMethods);
}  // namespace

}  // namespace Script
}  // namespace Quillon
