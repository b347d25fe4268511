// Script methods of "Viewport".
#include "framework/Quillon_Camera.h"
#include "framework/Quillon_ScriptSupport.h"
#include "framework/Quillon_Viewport.h"
#include "script/Lua_Script.h"

namespace Quillon {
namespace Script {

namespace {

constexpr int kArg = kFirstArgument;

Viewport* Self(lua_State* state) { return CheckSelf<Viewport>(state, Viewport::ScriptClassName); }

int Set(lua_State* state) {
  Viewport* self = Self(state);
  if (!HasArguments(state, 4)) return 0;
  self->Set(ToInteger(state, kArg), ToInteger(state, kArg + 1), ToInteger(state, kArg + 2), ToInteger(state, kArg + 3));
  return 0;
}
int Get(lua_State* state) {
  Viewport* self = Self(state);
  lua_pushinteger(state, self->GetX());
  lua_pushinteger(state, self->GetY());
  lua_pushinteger(state, self->GetWidth());
  lua_pushinteger(state, self->GetHeight());
  return 4;
}
int SetPosition(lua_State* state) {
  Viewport* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  if (IsTable(state, kArg)) {
    const Math::Vector2D point = LuaScript::ToPoint2D(state, kArg);
    self->SetPosition(static_cast<int32_t>(point.x), static_cast<int32_t>(point.y));
  } else if (HasArguments(state, 2)) {
    self->SetPosition(ToInteger(state, kArg), ToInteger(state, kArg + 1));
  }
  return 0;
}
int SetPositionX(lua_State* state) {
  Viewport* self = Self(state);
  if (HasArguments(state, 1)) self->SetPosition(ToInteger(state, kArg), self->GetY());
  return 0;
}
int SetPositionY(lua_State* state) {
  Viewport* self = Self(state);
  if (HasArguments(state, 1)) self->SetPosition(self->GetX(), ToInteger(state, kArg));
  return 0;
}
int SetCamera(lua_State* state) {
  Viewport* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  if (Camera* camera = ToObjectOf<Camera>(state, kArg)) self->SetCamera(camera);
  return 0;
}
int GetCamera(lua_State* state) {
  Camera* camera = Self(state)->GetCamera();
  if (camera == nullptr) return 0;
  return PushObjectOrNil(state, camera);
}

const Lua::Method g_viewportMethods[] = {
    {"GetWidth", &GetInteger<Viewport, Self, &Viewport::GetWidth>},
    {"GetHeight", &GetInteger<Viewport, Self, &Viewport::GetHeight>},
    {"Set", Set},
    {"Get", Get},
    {"SetWidth", &SetInteger<Viewport, Self, &Viewport::SetWidth>},
    {"SetHeight", &SetInteger<Viewport, Self, &Viewport::SetHeight>},
    {"SetPosition", SetPosition},
    {"SetPositionX", SetPositionX},
    {"SetPositionY", SetPositionY},
    {"GetPosition", &GetPoint<Viewport, Self, &Viewport::GetPosition>},
    {"GetPositionX", &GetNumber<Viewport, Self, &Viewport::GetX>},
    {"GetPositionY", &GetNumber<Viewport, Self, &Viewport::GetY>},
    {"SetClearColor", &SetColor<Viewport, Self, &Viewport::SetClearColor>},
    {"GetClearColor", &GetColor<Viewport, Self, &Viewport::GetClearColor>},
    {"SetCamera", SetCamera},
    {"GetCamera", GetCamera},
    {"SetName", &SetString<Viewport, Self, &Viewport::SetName>},
    {"GetName", &GetString<Viewport, Self, &Viewport::GetName>},
    {"SetBackground", &SetString<Viewport, Self, &Viewport::SetBackground>},
    {"GetBackground", &GetString<Viewport, Self, &Viewport::GetBackground>},
};
const Lua::MethodTable g_viewportTable(Viewport::ScriptClassName, g_viewportMethods);

}  // namespace

}  // namespace Script
}  // namespace Quillon
