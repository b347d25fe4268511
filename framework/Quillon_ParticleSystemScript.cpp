// Script methods of "ParticleSystem".
#include "framework/Quillon_GameServices.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_ParticleSystem.h"
#include "framework/Quillon_ScriptSupport.h"
#include "framework/Quillon_Viewport.h"
#include "script/Lua_Script.h"

namespace Quillon {
namespace Script {

namespace {

constexpr int kArg = kFirstArgument;

ParticleSystem* Self(lua_State* state) { return CheckSelf<ParticleSystem>(state, ParticleSystem::ScriptClassName); }

bool BothTables(lua_State* state) { return HasArguments(state, 2) && IsTable(state, kArg) && IsTable(state, kArg + 1); }

int PushColor(lua_State* state, const Math::Color& c) {
  LuaScript::PushColor(state, c.r, c.g, c.b, c.a);
  return 1;
}

// Ranges of two numbers share their shape: a setter of (min, max) and a getter of two results.
template <void (ParticleSystem::*Set)(float, float)>
int SetRange(lua_State* state) {
  ParticleSystem* self = Self(state);
  if (HasArguments(state, 2)) (self->*Set)(ToFloat(state, kArg), ToFloat(state, kArg + 1));
  return 0;
}
template <void (ParticleSystem::*Get)(float&, float&) const>
int GetRange(lua_State* state) {
  float low = 0.0f;
  float high = 0.0f;
  (Self(state)->*Get)(low, high);
  lua_pushnumber(state, low);
  lua_pushnumber(state, high);
  return 2;
}

template <void (ParticleSystem::*Set)(const Math::Color&, const Math::Color&)>
int SetColorRange(lua_State* state) {
  ParticleSystem* self = Self(state);
  if (BothTables(state)) (self->*Set)(LuaScript::ToColor(state, kArg), LuaScript::ToColor(state, kArg + 1));
  return 0;
}
template <void (ParticleSystem::*Get)(Math::Color&, Math::Color&) const>
int GetColorRange(lua_State* state) {
  Math::Color a;
  Math::Color b;
  (Self(state)->*Get)(a, b);
  PushColor(state, a);
  PushColor(state, b);
  return 2;
}

template <void (ParticleSystem::*Set)(const Math::Vector2D&, const Math::Vector2D&)>
int SetScaleRange(lua_State* state) {
  ParticleSystem* self = Self(state);
  if (BothTables(state)) (self->*Set)(LuaScript::ToVector2D(state, kArg), LuaScript::ToVector2D(state, kArg + 1));
  return 0;
}
template <void (ParticleSystem::*Get)(Math::Vector2D&, Math::Vector2D&) const>
int GetScaleRange(lua_State* state) {
  Math::Vector2D a;
  Math::Vector2D b;
  (Self(state)->*Get)(a, b);
  LuaScript::PushVector2D(state, a.x, a.y);
  LuaScript::PushVector2D(state, b.x, b.y);
  return 2;
}

int SetEmitter(lua_State* state) {
  ParticleSystem* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  if (ParticleEmitter* emitter = ToObjectOf<ParticleEmitter>(state, kArg)) self->SetEmitter(emitter);
  return 0;
}
int GetEmitter(lua_State* state) {
  ParticleEmitter* emitter = Self(state)->GetEmitter();
  if (emitter == nullptr) return 0;
  return PushObjectOrNil(state, emitter);
}
int SetGravity(lua_State* state) {
  ParticleSystem* self = Self(state);
  if (HasArguments(state, 1) && IsTable(state, kArg)) self->SetGravity(LuaScript::ToVector2D(state, kArg));
  return 0;
}

TableEdit ParticleSystemEdit() {
  return TableEdit{{"ChangeNetworkOwner", "GetCollidedCircleData", "GetCollidedLineSegmentData",
                    "GetCollidedTileMapData", "GetCollidedSpriteData"},
                   // Just before "SetScript", which follows the last tile-map entry once the
                   // collision-data entries are out.
                   {{"AddManagedObject", "GetTileMapStaticEntries_UsingHotSpot"}}};
}

const std::vector<Lua::Method> g_particleSystemMethods = BuildDerivedTable(
    ParticleSystemEdit(),
    {{"SaveNetworkData", SaveNetworkData},
     {"LoadNetworkData", LoadNetworkData},
     {"SetSrcBlendFactor", &SetUnsigned<ParticleSystem, Self, &ParticleSystem::SetSrcBlendFactor>},
     {"GetSrcBlendFactor", &GetNumber<ParticleSystem, Self, &ParticleSystem::GetSrcBlendFactor>},
     {"SetDstBlendFactor", &SetUnsigned<ParticleSystem, Self, &ParticleSystem::SetDstBlendFactor>},
     {"GetDstBlendFactor", &GetNumber<ParticleSystem, Self, &ParticleSystem::GetDstBlendFactor>},
     {"IsInViewport", &IsInViewport<ParticleSystem, Self>},
     {"SetHUDObject", &SetBoolean<ParticleSystem, Self, &ParticleSystem::SetHUDObject>},
     {"IsHUDObject", &GetBoolean<ParticleSystem, Self, &ParticleSystem::IsHUDObject>},
     {"SetUseLocalCoordinates", &SetBoolean<ParticleSystem, Self, &ParticleSystem::SetUseLocalCoordinates>},
     {"GetUseLocalCoordinates", &GetBoolean<ParticleSystem, Self, &ParticleSystem::GetUseLocalCoordinates>},
     {"SetEmitter", SetEmitter},
     {"GetEmitter", GetEmitter},
     {"SetGravity", SetGravity},
     {"GetGravity", &GetVector<ParticleSystem, Self, &ParticleSystem::GetGravity>},
     {"SetEmissionRate", SetRange<&ParticleSystem::SetEmissionRate>},
     {"GetEmissionRate", GetRange<&ParticleSystem::GetEmissionRate>},
     {"SetRecycleParticles", &SetBoolean<ParticleSystem, Self, &ParticleSystem::SetRecycleParticles>},
     {"GetRecycleParticles", &GetBoolean<ParticleSystem, Self, &ParticleSystem::GetRecycleParticles>},
     {"SetDestroyIfNotRecycling", &SetBoolean<ParticleSystem, Self, &ParticleSystem::SetDestroyIfNotRecycling>},
     {"GetDestroyIfNotRecycling", &GetBoolean<ParticleSystem, Self, &ParticleSystem::GetDestroyIfNotRecycling>},
     {"SetParticleStartingColor", SetColorRange<&ParticleSystem::SetParticleStartingColor>},
     {"GetParticleStartingColor", GetColorRange<&ParticleSystem::GetParticleStartingColor>},
     {"SetParticleEndingColor", SetColorRange<&ParticleSystem::SetParticleEndingColor>},
     {"GetParticleEndingColor", GetColorRange<&ParticleSystem::GetParticleEndingColor>},
     {"SetParticleLifeTime", SetRange<&ParticleSystem::SetParticleLifeTime>},
     {"GetParticleLifeTime", GetRange<&ParticleSystem::GetParticleLifeTime>},
     {"SetParticleRotationSpeed", SetRange<&ParticleSystem::SetParticleRotationSpeed>},
     {"GetParticleRotationSpeed", GetRange<&ParticleSystem::GetParticleRotationSpeed>},
     {"SetParticleSpeed", SetRange<&ParticleSystem::SetParticleSpeed>},
     {"GetParticleSpeed", GetRange<&ParticleSystem::GetParticleSpeed>},
     {"SetParticleStartingScale", SetScaleRange<&ParticleSystem::SetParticleStartingScale>},
     {"GetParticleStartingScale", GetScaleRange<&ParticleSystem::GetParticleStartingScale>},
     {"SetParticleEndingScale", SetScaleRange<&ParticleSystem::SetParticleEndingScale>},
     {"GetParticleEndingScale", GetScaleRange<&ParticleSystem::GetParticleEndingScale>},
     {"SetParticleDirection", &SetInteger<ParticleSystem, Self, &ParticleSystem::SetParticleDirection>},
     {"GetParticleDirection", &GetNumber<ParticleSystem, Self, &ParticleSystem::GetParticleDirection>},
     {"Reset", &Call<ParticleSystem, Self, &ParticleSystem::Reset>},
     {"Clone", CloneObject},
     {"WarmUp", &SetFloat<ParticleSystem, Self, &ParticleSystem::WarmUp>}});
const Lua::MethodTable g_particleSystemTable(ParticleSystem::ScriptClassName, g_particleSystemMethods.data(),
                                             g_particleSystemMethods.size());

}  // namespace

}  // namespace Script
}  // namespace Quillon
