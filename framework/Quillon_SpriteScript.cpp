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

namespace {

constexpr int kArg = kFirstArgument;

Sprite* Self(lua_State* state) { return CheckSelf<Sprite>(state, Sprite::ScriptClassName); }

bool OptionalBoolean(lua_State* state, int index, bool fallback) {
  return lua_gettop(state) >= index && !lua_isnil(state, index) ? ToBoolean(state, index) : fallback;
}

int SetFlipHorizontal(lua_State* state) {
  Sprite* self = Self(state);
  if (HasArguments(state, 1)) self->SetFlipHorizontal(ToBoolean(state, kArg));
  return 0;
}
int GetFlipHorizontal(lua_State* state) {
  lua_pushboolean(state, Self(state)->GetFlipHorizontal());
  return 1;
}
int SetFlipVertical(lua_State* state) {
  Sprite* self = Self(state);
  if (HasArguments(state, 1)) self->SetFlipVertical(ToBoolean(state, kArg));
  return 0;
}
int GetFlipVertical(lua_State* state) {
  lua_pushboolean(state, Self(state)->GetFlipVertical());
  return 1;
}
int GetCurrentFrameDelay(lua_State* state) {
  lua_pushnumber(state, Self(state)->GetCurrentFrameDelay());
  return 1;
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
  if (HasArguments(state, 1)) self->SetCurrentFrameIndex(ToUnsigned(state, kArg), OptionalBoolean(state, kArg + 1, false));
  return 0;
}
int GetCurrentFrameIndex(lua_State* state) {
  lua_pushnumber(state, Self(state)->GetCurrentFrameIndex());
  return 1;
}
int IsEndOfAnimation(lua_State* state) {
  lua_pushboolean(state, Self(state)->IsEndOfAnimation());
  return 1;
}
int SetLoop(lua_State* state) {
  Sprite* self = Self(state);
  if (HasArguments(state, 1)) self->SetLoop(ToBoolean(state, kArg));
  return 0;
}
int GetLoop(lua_State* state) {
  lua_pushboolean(state, Self(state)->GetLoop());
  return 1;
}
int GoToFirstFrame(lua_State* state) {
  Self(state)->GoToFirstFrame(OptionalBoolean(state, kArg, false));
  return 0;
}
int GoToLastFrame(lua_State* state) {
  Self(state)->GoToLastFrame(OptionalBoolean(state, kArg, false));
  return 0;
}
int SetAnimationSpeed(lua_State* state) {
  Sprite* self = Self(state);
  if (HasArguments(state, 1)) self->SetAnimationSpeed(ToFloat(state, kArg));
  return 0;
}
int GetAnimationSpeed(lua_State* state) {
  lua_pushnumber(state, Self(state)->GetAnimationSpeed());
  return 1;
}
int Play(lua_State* state) {
  Self(state)->SetPlaying(OptionalBoolean(state, kArg, true));
  return 0;
}
int Stop(lua_State* state) {
  Self(state)->SetPlaying(false);
  return 0;
}
int IsPlaying(lua_State* state) {
  lua_pushboolean(state, Self(state)->IsPlaying());
  return 1;
}
int Pause(lua_State* state) {
  Self(state)->Pause();
  return 0;
}
int IsPaused(lua_State* state) {
  lua_pushboolean(state, Self(state)->IsPaused());
  return 1;
}
int GetAnimationsCount(lua_State* state) {
  lua_pushnumber(state, Self(state)->GetAnimationsCount());
  return 1;
}
int SetCurrentAnimationIndex(lua_State* state) {
  Sprite* self = Self(state);
  if (HasArguments(state, 1)) {
    self->SetCurrentAnimationIndex(ToUnsigned(state, kArg), OptionalBoolean(state, kArg + 1, false));
  }
  return 0;
}
int GetCurrentAnimationIndex(lua_State* state) {
  lua_pushnumber(state, Self(state)->GetCurrentAnimationIndex());
  return 1;
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
int IsInViewport(lua_State* state) {
  Sprite* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  Viewport* viewport = nullptr;
  if (lua_type(state, kArg) == LUA_TNUMBER) {
    if (Level* level = GetGameServices().GetCurrentLevel()) viewport = level->GetViewport(ToUnsigned(state, kArg));
  } else {
    viewport = ToObjectOf<Viewport>(state, kArg);
  }
  lua_pushboolean(state, self->IsInViewport(viewport));
  return 1;
}
int SetHUDObject(lua_State* state) {
  Sprite* self = Self(state);
  if (HasArguments(state, 1)) self->SetHUDObject(ToBoolean(state, kArg));
  return 0;
}
int IsHUDObject(lua_State* state) {
  lua_pushboolean(state, Self(state)->IsHUDObject());
  return 1;
}
int SetCollisionActorIndex(lua_State* state) {
  Sprite* self = Self(state);
  if (HasArguments(state, 1)) self->SetCollisionActorIndex(ToInteger(state, kArg));
  return 0;
}
int SetVisibleCollisionData(lua_State* state) {
  Sprite* self = Self(state);
  if (HasArguments(state, 1)) self->SetVisibleCollisionData(ToBoolean(state, kArg));
  return 0;
}
int GetVisibleCollisionData(lua_State* state) {
  lua_pushboolean(state, Self(state)->GetVisibleCollisionData());
  return 1;
}
int SetCollisionDataColor(lua_State* state) {
  Sprite* self = Self(state);
  if (HasArguments(state, 1) && IsTable(state, kArg)) self->SetCollisionDataColor(LuaScript::ToColor(state, kArg));
  return 0;
}
int GetCollisionDataColor(lua_State* state) {
  const Math::Color& c = Self(state)->GetCollisionDataColor();
  LuaScript::PushColor(state, c.r, c.g, c.b, c.a);
  return 1;
}
int SetVisibleBoundingRectangle(lua_State* state) {
  Sprite* self = Self(state);
  if (HasArguments(state, 1)) self->SetVisibleBoundingRectangle(ToBoolean(state, kArg));
  return 0;
}
int GetVisibleBoundingRectangle(lua_State* state) {
  lua_pushboolean(state, Self(state)->GetVisibleBoundingRectangle());
  return 1;
}
int SetBoundingRectangleColor(lua_State* state) {
  Sprite* self = Self(state);
  if (HasArguments(state, 1) && IsTable(state, kArg)) self->SetBoundingRectangleColor(LuaScript::ToColor(state, kArg));
  return 0;
}
int GetBoundingRectangleColor(lua_State* state) {
  const Math::Color& c = Self(state)->GetBoundingRectangleColor();
  LuaScript::PushColor(state, c.r, c.g, c.b, c.a);
  return 1;
}

const std::vector<Lua::Method> g_spriteMethods = BuildDerivedTable(
    {{"ChangeNetworkOwner"}, {{"AddManagedObject", "RunScript"}}},
    {{"SaveNetworkData", SaveNetworkData},
     {"LoadNetworkData", LoadNetworkData},
     {"SetFlipHorizontal", SetFlipHorizontal},
     {"GetFlipHorizontal", GetFlipHorizontal},
     {"SetFlipVertical", SetFlipVertical},
     {"GetFlipVertical", GetFlipVertical},
     {"GetCurrentFrameDelay", GetCurrentFrameDelay},
     {"GetFrameDelay", GetFrameDelay},
     {"GetFramesCount", GetFramesCount},
     {"GetFrameWidth", GetFrameWidth},
     {"GetFrameHeight", GetFrameHeight},
     {"SetCurrentFrameIndex", SetCurrentFrameIndex},
     {"GetCurrentFrameIndex", GetCurrentFrameIndex},
     {"IsEndOfAnimation", IsEndOfAnimation},
     {"SetLoop", SetLoop},
     {"GetLoop", GetLoop},
     {"GoToFirstFrame", GoToFirstFrame},
     {"GoToLastFrame", GoToLastFrame},
     {"SetAnimationSpeed", SetAnimationSpeed},
     {"GetAnimationSpeed", GetAnimationSpeed},
     {"Play", Play},
     {"Stop", Stop},
     {"IsPlaying", IsPlaying},
     {"Pause", Pause},
     {"IsPaused", IsPaused},
     {"GetAnimationsCount", GetAnimationsCount},
     {"SetCurrentAnimationIndex", SetCurrentAnimationIndex},
     {"GetCurrentAnimationIndex", GetCurrentAnimationIndex},
     {"SetCurrentAnimationName", SetCurrentAnimationName},
     {"GetCurrentAnimationName", GetCurrentAnimationName},
     {"IsInViewport", IsInViewport},
     {"SetHUDObject", SetHUDObject},
     {"IsHUDObject", IsHUDObject},
     {"SetCollisionActorIndex", SetCollisionActorIndex},
     {"SetVisibleCollisionData", SetVisibleCollisionData},
     {"GetVisibleCollisionData", GetVisibleCollisionData},
     {"SetCollisionDataColor", SetCollisionDataColor},
     {"GetCollisionDataColor", GetCollisionDataColor},
     {"SetVisibleBoundingRectangle", SetVisibleBoundingRectangle},
     {"GetVisibleBoundingRectangle", GetVisibleBoundingRectangle},
     {"SetBoundingRectangleColor", SetBoundingRectangleColor},
     {"GetBoundingRectangleColor", GetBoundingRectangleColor},
     {"Clone", CloneObject}});
const Lua::MethodTable g_spriteTable(Sprite::ScriptClassName, g_spriteMethods.data(), g_spriteMethods.size());

// ---- SpriteAnimation ----------------------------------------------------------------------------

SpriteAnimation* Animation(lua_State* state) {
  return CheckSelf<SpriteAnimation>(state, SpriteAnimation::ScriptClassName);
}

int AnimationObjectFunction(lua_State* state) {
  Animation(state);
  return 0;
}
int AnimationSetName(lua_State* state) {
  SpriteAnimation* self = Animation(state);
  if (HasArguments(state, 1)) self->SetName(luaL_checkstring(state, kArg));
  return 0;
}
int AnimationGetName(lua_State* state) {
  const std::string& name = Animation(state)->GetName();
  lua_pushlstring(state, name.data(), name.size());
  return 1;
}
int AnimationGetFrameWidth(lua_State* state) {
  lua_pushnumber(state, Animation(state)->GetFrameWidth());
  return 1;
}
int AnimationGetFrameHeight(lua_State* state) {
  lua_pushnumber(state, Animation(state)->GetFrameHeight());
  return 1;
}
int AnimationGetFramesCount(lua_State* state) {
  lua_pushnumber(state, Animation(state)->GetFramesCount());
  return 1;
}
int AnimationGetFrameDelay(lua_State* state) {
  SpriteAnimation* self = Animation(state);
  if (!HasArguments(state, 1)) return 0;
  lua_pushnumber(state, self->GetFrameDelay(ToUnsigned(state, kArg)));
  return 1;
}
int AnimationSetLoopStartingFrame(lua_State* state) {
  SpriteAnimation* self = Animation(state);
  if (HasArguments(state, 1)) self->SetLoopStartingFrame(ToUnsigned(state, kArg));
  return 0;
}
int AnimationGetLoopStartingFrame(lua_State* state) {
  lua_pushnumber(state, Animation(state)->GetLoopStartingFrame());
  return 1;
}
int AnimationSetLoopEndingFrame(lua_State* state) {
  SpriteAnimation* self = Animation(state);
  if (HasArguments(state, 1)) self->SetLoopEndingFrame(ToUnsigned(state, kArg));
  return 0;
}
int AnimationGetLoopEndingFrame(lua_State* state) {
  lua_pushnumber(state, Animation(state)->GetLoopEndingFrame());
  return 1;
}

const Lua::Method g_animationMethods[] = {
    {"ObjectFunction", AnimationObjectFunction},
    {"SetName", AnimationSetName},
    {"GetName", AnimationGetName},
    {"GetFrameWidth", AnimationGetFrameWidth},
    {"GetFrameHeight", AnimationGetFrameHeight},
    {"GetFramesCount", AnimationGetFramesCount},
    {"GetFrameDelay", AnimationGetFrameDelay},
    {"SetLoopStartingFrame", AnimationSetLoopStartingFrame},
    {"GetLoopStartingFrame", AnimationGetLoopStartingFrame},
    {"SetLoopEndingFrame", AnimationSetLoopEndingFrame},
    {"GetLoopEndingFrame", AnimationGetLoopEndingFrame},
};
const Lua::MethodTable g_animationTable(SpriteAnimation::ScriptClassName, g_animationMethods);

}  // namespace

}  // namespace Script
}  // namespace Quillon
