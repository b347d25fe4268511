// Script methods of the seven emitter classes: one list of six methods under seven class names.
#include "framework/Quillon_ParticleEmitter.h"
#include "framework/Quillon_ScriptSupport.h"
#include "script/Lua_Script.h"

namespace Quillon {
namespace Script {

namespace {

constexpr int kArg = kFirstArgument;

ParticleEmitter* Self(lua_State* state) { return CheckSelf<ParticleEmitter>(state, ParticleEmitter::ScriptClassName); }

int ObjectFunction(lua_State* state) { return Script::ObjectFunction(state, Self(state)); }

int GetPositionAndDirection(lua_State* state) {
  ParticleEmitter* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  Math::Vector2D position;
  Math::Vector2D direction;
  self->GetPositionAndDirection(ToFloat(state, kArg), position, direction);
  LuaScript::PushPoint2D(state, position.x, position.y);
  LuaScript::PushVector2D(state, direction.x, direction.y);
  return 2;
}

int Clone(lua_State* state) { return PushObjectOrNil(state, Self(state)->Clone()); }

int AddManagedObject(lua_State* state) {
  ParticleEmitter* self = Self(state);
  if (!HasArguments(state, 2)) return 0;
  Core::Object* object = ToObject(state, kArg);
  if (object == nullptr) return 0;
  self->AddManagedObject(object, luaL_checkstring(state, kArg + 1));
  return 0;
}

const Lua::Method g_emitterMethods[] = {
    {"ObjectFunction", ObjectFunction},
    {"GetPositionAndDirection", GetPositionAndDirection},
    {"Clone", Clone},
    {"SetScript", &SetString<ParticleEmitter, Self, &ParticleEmitter::SetScriptFile>},
    {"RunScript", &Call<ParticleEmitter, Self, &ParticleEmitter::RunScript>},
    {"AddManagedObject", AddManagedObject},
};

const Lua::MethodTable g_emitterTable(ParticleEmitter::ScriptClassName, g_emitterMethods);
const Lua::MethodTable g_pointTable(PointEmitter::ScriptClassName, g_emitterMethods);
const Lua::MethodTable g_lineTable(LineEmitter::ScriptClassName, g_emitterMethods);
const Lua::MethodTable g_circleTable(CircleEmitter::ScriptClassName, g_emitterMethods);
const Lua::MethodTable g_diskTable(DiskEmitter::ScriptClassName, g_emitterMethods);
const Lua::MethodTable g_rectangleTable(RectangleEmitter::ScriptClassName, g_emitterMethods);
const Lua::MethodTable g_filledRectangleTable(FilledRectangleEmitter::ScriptClassName, g_emitterMethods);

}  // namespace

}  // namespace Script
}  // namespace Quillon
