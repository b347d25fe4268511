// Script methods of "Level".

#include "framework/Quillon_Level.h"
#include "framework/Quillon_ScriptSupport.h"
#include "script/Lua_Script.h"

namespace Quillon {
namespace Script {

namespace {

constexpr int kArg = kFirstArgument;

Level* Self(lua_State* state) { return CheckSelf<Level>(state, Level::ScriptClassName); }

int ObjectFunction(lua_State* state) { return Script::ObjectFunction(state, Self(state)); }

int AddManagedObject(lua_State* state) {
  Level* self = Self(state);
  if (!HasArguments(state, 2)) return 0;
  Core::Object* object = ToObject(state, kArg);
  if (object == nullptr || lua_type(state, kArg + 1) != LUA_TSTRING) return 0;
  self->AddManagedObject(object, lua_tostring(state, kArg + 1));
  return 0;
}
int AddLayer(lua_State* state) {
  Level* self = Self(state);
  if (Layer* layer = HasArguments(state, 1) ? ToObjectOf<Layer>(state, kArg) : nullptr) self->AddLayer(layer);
  return 0;
}
int GetLayer(lua_State* state) {
  Level* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  Layer* layer = lua_type(state, kArg) == LUA_TNUMBER ? self->GetLayer(ToUnsigned(state, kArg))
                                                      : self->GetLayerByName(luaL_checkstring(state, kArg));
  return layer ? PushObjectOrNil(state, layer) : 0;
}
int AddViewport(lua_State* state) {
  Level* self = Self(state);
  if (Viewport* viewport = HasArguments(state, 1) ? ToObjectOf<Viewport>(state, kArg) : nullptr)
    self->AddViewport(viewport);
  return 0;
}
int RemoveViewport(lua_State* state) {
  Level* self = Self(state);
  if (Viewport* viewport = HasArguments(state, 1) ? ToObjectOf<Viewport>(state, kArg) : nullptr)
    self->RemoveViewport(viewport);
  return 0;
}
int GetViewport(lua_State* state) {
  Level* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  Viewport* viewport = lua_type(state, kArg) == LUA_TNUMBER ? self->GetViewport(ToUnsigned(state, kArg))
                                                            : self->GetViewportByName(luaL_checkstring(state, kArg));
  return viewport ? PushObjectOrNil(state, viewport) : 0;
}
int CreateJukeBox(lua_State* state) {
  Level* self = Self(state);
  if (LevelJukeBox* jukeBox = HasArguments(state, 1) ? ToObjectOf<LevelJukeBox>(state, kArg) : nullptr) {
    self->SetJukeBox(jukeBox);
  }
  return 0;
}
int GetJukeBox(lua_State* state) { return PushObjectOrNil(state, Self(state)->GetJukeBox()); }
int GetGameObjects(lua_State* state) {
  Level* self = Self(state);
  std::list<GameObject*> objects;
  if (HasArguments(state, 1) && lua_type(state, kArg) == LUA_TSTRING) {
    self->GetGameObjectsByName(lua_tostring(state, kArg), objects);
  } else {
    self->GetGameObjects(objects);
  }
  return PushObjectList(state, objects);
}
int GetGameObjectsByName(lua_State* state) {
  Level* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  std::list<GameObject*> objects;
  self->GetGameObjectsByName(luaL_checkstring(state, kArg), objects);
  return PushObjectList(state, objects);
}

const Lua::Method g_levelMethods[] = {
    {"ObjectFunction", ObjectFunction},
    {"AddManagedObject", AddManagedObject},
    {"SetName", &SetString<Level, Self, &Level::SetName>},
    {"GetName", &GetString<Level, Self, &Level::GetName>},
    {"AddLayer", AddLayer},
    {"GetLayersCount", &GetNumber<Level, Self, &Level::GetLayersCount>},
    {"GetLayer", GetLayer},
    {"AddViewport", AddViewport},
    {"RemoveViewport", RemoveViewport},
    {"GetViewportsCount", &GetNumber<Level, Self, &Level::GetViewportsCount>},
    {"GetViewport", GetViewport},
    {"CreateJukeBox", CreateJukeBox},
    {"GetJukeBox", GetJukeBox},
    {"SetClearBackBuffer", &SetBoolean<Level, Self, &Level::SetClearBackBuffer>},
    {"GetClearBackBuffer", &GetBoolean<Level, Self, &Level::GetClearBackBuffer>},
    {"SetClearColor", &SetColor<Level, Self, &Level::SetClearColor>},
    {"GetClearColor", &GetColor<Level, Self, &Level::GetClearColor>},
    {"GetGameObjects", GetGameObjects},
    {"GetGameObjectsByName", GetGameObjectsByName},
    {"SetScript", &SetString<Level, Self, &Level::SetScriptFile>},
    {"RunScript", &Call<Level, Self, &Level::RunScript>},
};
const Lua::MethodTable g_levelTable(Level::ScriptClassName, g_levelMethods);

}  // namespace

}  // namespace Script
}  // namespace Quillon
