#pragma once
// Shared pieces of the physics script bindings: argument counts, checked objects, handles, and the
// anchors that keep every binding file (they only register tables) in the link.
#include <cstdint>
#include <initializer_list>

#include <lua.hpp>

#include "core/Core_Object.h"
#include "math/Math_Matrix3x3.h"
#include "math/Math_Vector2D.h"
#include "script/Lua_MethodShapes.h"
#include "script/Lua_MethodTable.h"
#include "script/Lua_Script.h"

namespace Physics2D {

class Force;

namespace Script {

using Lua::Shapes::HasArguments;
using Lua::Shapes::kFirstArgument;

// The engine object at index when its userdata carries one of the named metatables and the object
// is a T; null for anything else.
template <typename T>
T* ToObject(lua_State* state, int index, std::initializer_list<const char*> scriptNames) {
  for (const char* name : scriptNames) {
    void* pointer = Lua::ToUserdata(state, index, name);
    if (pointer != nullptr) return dynamic_cast<T*>(static_cast<Core::Object*>(pointer));
  }
  return nullptr;
}

// As ToObject, raising the script's argument error when it is not there.
template <typename T>
T* CheckObject(lua_State* state, int index, std::initializer_list<const char*> scriptNames) {
  T* object = ToObject<T>(state, index, scriptNames);
  if (object == nullptr) luaL_typerror(state, index, *scriptNames.begin());
  return object;
}

// A number checked by the script library and truncated toward zero; values that no u32 holds
// (negative, too large, not a number) give 0, which names no body and no force.
inline uint32_t CheckHandle(lua_State* state, int index) {
  const lua_Number value = luaL_checknumber(state, index);
  if (!(value >= 0.0) || value >= 4294967296.0) return 0;
  return static_cast<uint32_t>(value);
}

inline float CheckFloat(lua_State* state, int index) { return static_cast<float>(luaL_checknumber(state, index)); }

// Pushes a table built by the script's constructor (no arguments) with the fields set.
void PushMatrix(lua_State* state, const Math::Matrix3x3& matrix);
// Pushes the object through its own push operation, or nil for none.
int PushObjectOrNil(lua_State* state, Core::Object* object);
// Writes X and Y into the table at index (nothing when it is no table).
void FillVector(lua_State* state, int index, const Math::Vector2D& value);

// A force of any force class at index; null for anything else.
Force* ToForce(lua_State* state, int index);
// As ToForce, raising the script's argument error ("Force" expected) when it is not there.
Force* CheckForce(lua_State* state, int index);

// The method shapes the physics classes share. Self is the class's checked self getter (it raises
// for a wrong object before any argument is looked at); a method that needs an argument answers
// nothing when called without it. Get and Set are the member functions called.
using Lua::Shapes::GetNumber;
using Lua::Shapes::GetPoint;
using Lua::Shapes::GetVector;
using Lua::Shapes::SelfGetter;

// (number) -> nothing.
template <typename T, SelfGetter<T> Self, auto Set>
int SetNumber(lua_State* state) {
  T* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  (self->*Set)(CheckFloat(state, kFirstArgument));
  return 0;
}

// (Point2D) -> nothing. TableOnly: anything but a table raises the script's type error.
template <typename T, SelfGetter<T> Self, auto Set, bool TableOnly>
int SetPoint(lua_State* state) {
  T* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  if (TableOnly) luaL_checktype(state, kFirstArgument, LUA_TTABLE);
  (self->*Set)(LuaScript::ToPoint2D(state, kFirstArgument));
  return 0;
}

// () -> Matrix3x3 table.
template <typename T, SelfGetter<T> Self, auto Get>
int GetMatrix(lua_State* state) {
  PushMatrix(state, (Self(state)->*Get)());
  return 1;
}

// () -> the object, or nil.
template <typename T, SelfGetter<T> Self, auto Get>
int GetObject(lua_State* state) {
  return PushObjectOrNil(state, (Self(state)->*Get)());
}

// The force methods of the body and of its force set.
// (force) -> its id.
template <typename T, SelfGetter<T> Self>
int AddForce(lua_State* state) {
  T* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  Force* force = CheckForce(state, kFirstArgument);
  lua_pushnumber(state, self->AddForce(force));
  return 1;
}

// (id) -> 1 when it was there, else 0.
template <typename T, SelfGetter<T> Self>
int RemoveForce(lua_State* state) {
  T* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  lua_pushinteger(state, self->RemoveForce(CheckHandle(state, kFirstArgument)) ? 1 : 0);
  return 1;
}

// () -> 1 when there were any, else 0.
template <typename T, SelfGetter<T> Self>
int RemoveAllForces(lua_State* state) {
  lua_pushinteger(state, Self(state)->RemoveAllForces() ? 1 : 0);
  return 1;
}

// Methods kept in a table for the script's sake that do nothing here.
inline int NoEffect(lua_State*) { return 0; }

extern const char* const kJointScriptNames[8];
extern const char* const kForceScriptNames[4];

void LinkEngineBindings();
void LinkRigidBodyBindings();
void LinkJointBindings();
void LinkForceBindings();
void LinkForcesBindings();
void LinkMassPropertiesBindings();

}  // namespace Script
}  // namespace Physics2D
