#pragma once
// Shared pieces of the physics script bindings: argument counts, checked objects, handles, and the
// anchors that keep every binding file (they only register tables) in the link.
#include <cstdint>
#include <initializer_list>

#include <lua.hpp>

#include "core/Core_Object.h"
#include "math/Math_Matrix3x3.h"
#include "math/Math_Vector2D.h"
#include "script/Lua_MethodTable.h"

namespace Physics2D {
namespace Script {

// Stack index of argument 1 (the first after the object).
constexpr int kFirstArgument = 2;

// True when at least count arguments follow the object.
inline bool HasArguments(lua_State* state, int count) { return lua_gettop(state) - 1 >= count; }

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
