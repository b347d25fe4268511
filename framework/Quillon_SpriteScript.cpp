// Script methods of "Sprite" and "SpriteAnimation".
#include "framework/Quillon_GameServices.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_ScriptSupport.h"
#include "framework/Quillon_Sprite.h"
#include "framework/Quillon_SpriteAnimation.h"
#include "framework/Quillon_Viewport.h"
#include "script/Lua_Script.h"

namespace Quillon {
namespace Script {

Viewport* ViewportArgument(lua_State* state, int index) {
  if (lua_type(state, index) != LUA_TNUMBER) return ToObjectOf<Viewport>(state, index);
  Level* level = GetGameServices().GetCurrentLevel();
  return level != nullptr ? level->GetViewport(ToUnsigned(state, index)) : nullptr;
}

namespace {

constexpr int kArg = kFirstArgument;

Sprite* Self(lua_State* state) { return CheckSelf<Sprite>(state, Sprite::ScriptClassName); }

bool OptionalBoolean(lua_State* state, int index, bool fallback) {
  return lua_gettop(state) >= index && !lua_isnil(state, index) ? ToBoolean(state, index) : fallback;
}

int GetFrameDelay(lua_State* state) {
  Sprite* self = Self(state);
  if (!HasArguments(state, 2)) return 0;
  lua_pushnumber(state, self->GetFrameDelay(ToUnsigned(state, kArg), ToUnsigned(state, kArg + 1)));
  return 1;
}
int GetFramesCount(lua_State* state) {
  Sprite* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  lua_pushnumber(state, self->GetFramesCount(ToUnsigned(state, kArg)));
  return 1;
}
int GetFrameWidth(lua_State* state) {
  Sprite* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  lua_pushnumber(state, self->GetFrameWidth(ToUnsigned(state, kArg)));
  return 1;
}
int GetFrameHeight(lua_State* state) {
  Sprite* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  lua_pushnumber(state, self->GetFrameHeight(ToUnsigned(state, kArg)));
  return 1;
}
int SetCurrentFrameIndex(lua_State* state) {
  Sprite* self = Self(state);
  if (HasArguments(state, 1))
    self->SetCurrentFrameIndex(ToUnsigned(state, kArg), OptionalBoolean(state, kArg + 1, false));
  return 0;
}
int GoToFirstFrame(lua_State* state) {
  Self(state)->GoToFirstFrame(OptionalBoolean(state, kArg, false));
  return 0;
}
int GoToLastFrame(lua_State* state) {
  Self(state)->GoToLastFrame(OptionalBoolean(state, kArg, false));
  return 0;
}
int Play(lua_State* state) {
  Self(state)->SetPlaying(OptionalBoolean(state, kArg, true));
  return 0;
}
int Stop(lua_State* state) {
  Self(state)->SetPlaying(false);
  return 0;
}
int SetCurrentAnimationIndex(lua_State* state) {
  Sprite* self = Self(state);
  if (HasArguments(state, 1)) {
    self->SetCurrentAnimationIndex(ToUnsigned(state, kArg), OptionalBoolean(state, kArg + 1, false));
  }
  return 0;
}
int SetCurrentAnimationName(lua_State* state) {
  Sprite* self = Self(state);
  if (HasArguments(state, 1)) {
    self->SetCurrentAnimationName(luaL_checkstring(state, kArg), OptionalBoolean(state, kArg + 1, false));
  }
  return 0;
}
int GetCurrentAnimationName(lua_State* state) {
  const std::string name = Self(state)->GetCurrentAnimationName();
  lua_pushlstring(state, name.data(), name.size());
  return 1;
}

const std::vector<Lua::Method> g_spriteMethods = BuildDerivedTable(
    {{"ChangeNetworkOwner"}, {{"AddManagedObject", "RunScript"}}},
    {{"SaveNetworkData", SaveNetworkData},
     {"LoadNetworkData", LoadNetworkData},
     {"SetFlipHorizontal", &SetBoolean<Sprite, Self, &Sprite::SetFlipHorizontal>},
     {"GetFlipHorizontal", &GetBoolean<Sprite, Self, &Sprite::GetFlipHorizontal>},
     {"SetFlipVertical", &SetBoolean<Sprite, Self, &Sprite::SetFlipVertical>},
     {"GetFlipVertical", &GetBoolean<Sprite, Self, &Sprite::GetFlipVertical>},
     {"GetCurrentFrameDelay", &GetNumber<Sprite, Self, &Sprite::GetCurrentFrameDelay>},
     {"GetFrameDelay", GetFrameDelay},
     {"GetFramesCount", GetFramesCount},
     {"GetFrameWidth", GetFrameWidth},
     {"GetFrameHeight", GetFrameHeight},
     {"SetCurrentFrameIndex", SetCurrentFrameIndex},
     {"GetCurrentFrameIndex", &GetNumber<Sprite, Self, &Sprite::GetCurrentFrameIndex>},
     {"IsEndOfAnimation", &GetBoolean<Sprite, Self, &Sprite::IsEndOfAnimation>},
     {"SetLoop", &SetBoolean<Sprite, Self, &Sprite::SetLoop>},
     {"GetLoop", &GetBoolean<Sprite, Self, &Sprite::GetLoop>},
     {"GoToFirstFrame", GoToFirstFrame},
     {"GoToLastFrame", GoToLastFrame},
     {"SetAnimationSpeed", &SetFloat<Sprite, Self, &Sprite::SetAnimationSpeed>},
     {"GetAnimationSpeed", &GetNumber<Sprite, Self, &Sprite::GetAnimationSpeed>},
     {"Play", Play},
     {"Stop", Stop},
     {"IsPlaying", &GetBoolean<Sprite, Self, &Sprite::IsPlaying>},
     {"Pause", &Call<Sprite, Self, &Sprite::Pause>},
     {"IsPaused", &GetBoolean<Sprite, Self, &Sprite::IsPaused>},
     {"GetAnimationsCount", &GetNumber<Sprite, Self, &Sprite::GetAnimationsCount>},
     {"SetCurrentAnimationIndex", SetCurrentAnimationIndex},
     {"GetCurrentAnimationIndex", &GetNumber<Sprite, Self, &Sprite::GetCurrentAnimationIndex>},
     {"SetCurrentAnimationName", SetCurrentAnimationName},
     {"GetCurrentAnimationName", GetCurrentAnimationName},
     {"IsInViewport", &IsInViewport<Sprite, Self>},
     {"SetHUDObject", &SetBoolean<Sprite, Self, &Sprite::SetHUDObject>},
     {"IsHUDObject", &GetBoolean<Sprite, Self, &Sprite::IsHUDObject>},
     {"SetCollisionActorIndex", &SetInteger<Sprite, Self, &Sprite::SetCollisionActorIndex>},
     {"SetVisibleCollisionData", &SetBoolean<Sprite, Self, &Sprite::SetVisibleCollisionData>},
     {"GetVisibleCollisionData", &GetBoolean<Sprite, Self, &Sprite::GetVisibleCollisionData>},
     {"SetCollisionDataColor", &SetColor<Sprite, Self, &Sprite::SetCollisionDataColor>},
     {"GetCollisionDataColor", &GetColor<Sprite, Self, &Sprite::GetCollisionDataColor>},
     {"SetVisibleBoundingRectangle", &SetBoolean<Sprite, Self, &Sprite::SetVisibleBoundingRectangle>},
     {"GetVisibleBoundingRectangle", &GetBoolean<Sprite, Self, &Sprite::GetVisibleBoundingRectangle>},
     {"SetBoundingRectangleColor", &SetColor<Sprite, Self, &Sprite::SetBoundingRectangleColor>},
     {"GetBoundingRectangleColor", &GetColor<Sprite, Self, &Sprite::GetBoundingRectangleColor>},
     {"Clone", CloneObject}});
const Lua::MethodTable g_spriteTable(Sprite::ScriptClassName, g_spriteMethods.data(), g_spriteMethods.size());

// ---- SpriteAnimation ----------------------------------------------------------------------------

SpriteAnimation* Animation(lua_State* state) {
  return CheckSelf<SpriteAnimation>(state, SpriteAnimation::ScriptClassName);
}

int AnimationObjectFunction(lua_State* state) { return Script::ObjectFunction(state, Animation(state)); }

int AnimationGetFrameDelay(lua_State* state) {
  SpriteAnimation* self = Animation(state);
  if (!HasArguments(state, 1)) return 0;
  lua_pushnumber(state, self->GetFrameDelay(ToUnsigned(state, kArg)));
  return 1;
}

const Lua::Method g_animationMethods[] = {
    {"ObjectFunction", AnimationObjectFunction},
    {"SetName", &SetString<SpriteAnimation, Animation, &SpriteAnimation::SetName>},
    {"GetName", &GetString<SpriteAnimation, Animation, &SpriteAnimation::GetName>},
    {"GetFrameWidth", &GetNumber<SpriteAnimation, Animation, &SpriteAnimation::GetFrameWidth>},
    {"GetFrameHeight", &GetNumber<SpriteAnimation, Animation, &SpriteAnimation::GetFrameHeight>},
    {"GetFramesCount", &GetNumber<SpriteAnimation, Animation, &SpriteAnimation::GetFramesCount>},
    {"GetFrameDelay", AnimationGetFrameDelay},
    {"SetLoopStartingFrame", &SetUnsigned<SpriteAnimation, Animation, &SpriteAnimation::SetLoopStartingFrame>},
    {"GetLoopStartingFrame", &GetNumber<SpriteAnimation, Animation, &SpriteAnimation::GetLoopStartingFrame>},
    {"SetLoopEndingFrame", &SetUnsigned<SpriteAnimation, Animation, &SpriteAnimation::SetLoopEndingFrame>},
    {"GetLoopEndingFrame", &GetNumber<SpriteAnimation, Animation, &SpriteAnimation::GetLoopEndingFrame>},
};
const Lua::MethodTable g_animationTable(SpriteAnimation::ScriptClassName, g_animationMethods);

}  // namespace

}  // namespace Script
}  // namespace Quillon
