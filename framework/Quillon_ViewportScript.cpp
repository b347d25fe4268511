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

int GetWidth(lua_State* state) {
  lua_pushinteger(state, Self(state)->GetWidth());
  return 1;
}
int GetHeight(lua_State* state) {
  lua_pushinteger(state, Self(state)->GetHeight());
  return 1;
}
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
int SetWidth(lua_State* state) {
  Viewport* self = Self(state);
  if (HasArguments(state, 1)) self->SetWidth(ToInteger(state, kArg));
  return 0;
}
int SetHeight(lua_State* state) {
  Viewport* self = Self(state);
  if (HasArguments(state, 1)) self->SetHeight(ToInteger(state, kArg));
  return 0;
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
int GetPosition(lua_State* state) {
  const Math::Vector2D p = Self(state)->GetPosition();
  LuaScript::PushPoint2D(state, p.x, p.y);
  return 1;
}
int GetPositionX(lua_State* state) {
  lua_pushnumber(state, Self(state)->GetX());
  return 1;
}
int GetPositionY(lua_State* state) {
  lua_pushnumber(state, Self(state)->GetY());
  return 1;
}
int SetClearColor(lua_State* state) {
  Viewport* self = Self(state);
  if (HasArguments(state, 1) && IsTable(state, kArg)) self->SetClearColor(LuaScript::ToColor(state, kArg));
  return 0;
}
int GetClearColor(lua_State* state) {
  const Math::Color& c = Self(state)->GetClearColor();
  LuaScript::PushColor(state, c.r, c.g, c.b, c.a);
  return 1;
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
int SetName(lua_State* state) {
  Viewport* self = Self(state);
  if (HasArguments(state, 1)) self->SetName(luaL_checkstring(state, kArg));
  return 0;
}
int GetName(lua_State* state) {
  const std::string& name = Self(state)->GetName();
  lua_pushlstring(state, name.data(), name.size());
  return 1;
}
int SetBackground(lua_State* state) {
  Viewport* self = Self(state);
  if (HasArguments(state, 1)) self->SetBackground(luaL_checkstring(state, kArg));
  return 0;
}
int GetBackground(lua_State* state) {
  const std::string& background = Self(state)->GetBackground();
  lua_pushlstring(state, background.data(), background.size());
  return 1;
}

const Lua::Method g_viewportMethods[] = {
    {"GetWidth", GetWidth},
    {"GetHeight", GetHeight},
    {"Set", Set},
    {"Get", Get},
    {"SetWidth", SetWidth},
    {"SetHeight", SetHeight},
    {"SetPosition", SetPosition},
    {"SetPositionX", SetPositionX},
    {"SetPositionY", SetPositionY},
    {"GetPosition", GetPosition},
    {"GetPositionX", GetPositionX},
    {"GetPositionY", GetPositionY},
    {"SetClearColor", SetClearColor},
    {"GetClearColor", GetClearColor},
    {"SetCamera", SetCamera},
    {"GetCamera", GetCamera},
    {"SetName", SetName},
    {"GetName", GetName},
    {"SetBackground", SetBackground},
    {"GetBackground", GetBackground},
};
const Lua::MethodTable g_viewportTable(Viewport::ScriptClassName, g_viewportMethods);

}  // namespace

}  // namespace Script
}  // namespace Quillon
