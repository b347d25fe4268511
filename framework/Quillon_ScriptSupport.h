#pragma once
// Shared pieces of the framework's script methods: checked objects, argument counts, and the
// building of the game-object kinds' tables (each one the game object's methods, some left out or
// moved, then its own).
#include <cstdint>
#include <initializer_list>
#include <list>
#include <string>
#include <vector>

#include <lua.hpp>

#include "core/Core_Object.h"
#include "framework/Quillon_GameObject.h"
#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"
#include "script/Lua_MethodShapes.h"
#include "script/Lua_MethodTable.h"
#include "script/Lua_Script.h"

namespace Quillon {

class Viewport;

namespace Script {

// The path of a file of the game's script folder.
std::string ScriptPath(const std::string& file);
// Pushes the global function of that name; false (stack unchanged) when there is none.
bool PushGlobalFunction(lua_State* thread, const char* name);
// Binds "self" in the script's thread to the object; answers the thread (null: nothing bound).
lua_State* BindSelf(LuaScript& script, Core::Object& self);
// Starts an object's own script from a file of the script folder: creates the own script when
// missing, binds "self" and loads the chunk of the script that loaded the file already (then shared
// is that script) or else the file itself (then shared is null). False, and nothing done, when no
// script can be created. Call it inside an open Lua::CallScope: the chunk may release the script.
bool StartObjectScript(Core::Object& self, LuaScript*& own, LuaScript*& shared, const std::string& file);

using Lua::Shapes::HasArguments;
using Lua::Shapes::kFirstArgument;

// The object of the hierarchy a userdata at index carries, whatever its script class; null for
// anything else (never raises).
Core::Object* ToObject(lua_State* state, int index);
template <typename T>
T* ToObjectOf(lua_State* state, int index) {
  return dynamic_cast<T*>(ToObject(state, index));
}
// The method's object: raises a script argument error when index 1 is not a T.
template <typename T>
T* CheckSelf(lua_State* state, const char* expected) {
  T* object = ToObjectOf<T>(state, 1);
  if (object == nullptr) luaL_typerror(state, 1, expected);
  return object;
}
inline GameObject* SelfObject(lua_State* state) { return CheckSelf<GameObject>(state, "GameObject"); }

inline float ToFloat(lua_State* state, int index) { return static_cast<float>(luaL_checknumber(state, index)); }
// A number truncated toward zero; values outside the range of an i32 give 0.
int32_t ToInteger(lua_State* state, int index);
// A number truncated toward zero; negative values and values no u32 holds give 0.
uint32_t ToUnsigned(lua_State* state, int index);
inline bool ToBoolean(lua_State* state, int index) { return lua_toboolean(state, index) != 0; }
inline bool IsTable(lua_State* state, int index) { return lua_type(state, index) == LUA_TTABLE; }

// Pushes the object through its own push operation, or nil for none; returns 1.
int PushObjectOrNil(lua_State* state, Core::Object* object);
// Pushes a new table {1 = first object, 2 = ...}; returns 1.
int PushObjectList(lua_State* state, const std::list<GameObject*>& objects);

// The method shapes the script classes repeat. Self is the class's checked self getter (it raises
// for a wrong object before any argument is looked at); a setter called without its argument does
// nothing. Get and Set are the member functions called.
using Lua::Shapes::GetNumber;
using Lua::Shapes::GetPoint;
using Lua::Shapes::GetVector;
using Lua::Shapes::SelfGetter;

// (string) -> nothing; a non-string raises the script's argument error.
template <typename T, SelfGetter<T> Self, auto Set>
int SetString(lua_State* state) {
  T* self = Self(state);
  if (HasArguments(state, 1)) (self->*Set)(luaL_checkstring(state, kFirstArgument));
  return 0;
}
// (number) -> nothing.
template <typename T, SelfGetter<T> Self, auto Set>
int SetFloat(lua_State* state) {
  T* self = Self(state);
  if (HasArguments(state, 1)) (self->*Set)(ToFloat(state, kFirstArgument));
  return 0;
}
// (number) -> nothing, truncated as ToInteger does.
template <typename T, SelfGetter<T> Self, auto Set>
int SetInteger(lua_State* state) {
  T* self = Self(state);
  if (HasArguments(state, 1)) (self->*Set)(ToInteger(state, kFirstArgument));
  return 0;
}
// (number) -> nothing, truncated as ToUnsigned does.
template <typename T, SelfGetter<T> Self, auto Set>
int SetUnsigned(lua_State* state) {
  T* self = Self(state);
  if (HasArguments(state, 1)) (self->*Set)(ToUnsigned(state, kFirstArgument));
  return 0;
}
// (value) -> nothing; the value's truth as Lua sees it.
template <typename T, SelfGetter<T> Self, auto Set>
int SetBoolean(lua_State* state) {
  T* self = Self(state);
  if (HasArguments(state, 1)) (self->*Set)(ToBoolean(state, kFirstArgument));
  return 0;
}
// (Color table) -> nothing; anything but a table is ignored.
template <typename T, SelfGetter<T> Self, auto Set>
int SetColor(lua_State* state) {
  T* self = Self(state);
  if (HasArguments(state, 1) && IsTable(state, kFirstArgument)) (self->*Set)(LuaScript::ToColor(state, kFirstArgument));
  return 0;
}

// () -> nothing: an action without arguments.
template <typename T, SelfGetter<T> Self, auto Action>
int Call(lua_State* state) {
  (Self(state)->*Action)();
  return 0;
}

// () -> string.
template <typename T, SelfGetter<T> Self, auto Get>
int GetString(lua_State* state) {
  const std::string& value = (Self(state)->*Get)();
  lua_pushlstring(state, value.data(), value.size());
  return 1;
}
// () -> integer.
template <typename T, SelfGetter<T> Self, auto Get>
int GetInteger(lua_State* state) {
  lua_pushinteger(state, static_cast<lua_Integer>((Self(state)->*Get)()));
  return 1;
}
// () -> boolean.
template <typename T, SelfGetter<T> Self, auto Get>
int GetBoolean(lua_State* state) {
  lua_pushboolean(state, (Self(state)->*Get)() ? 1 : 0);
  return 1;
}
// () -> Color table.
template <typename T, SelfGetter<T> Self, auto Get>
int GetColor(lua_State* state) {
  const Math::Color& color = (Self(state)->*Get)();
  LuaScript::PushColor(state, color.r, color.g, color.b, color.a);
  return 1;
}

// The viewport at index: a viewport object, or a number naming one of the current level's (null
// when there is no level or no such viewport).
Viewport* ViewportArgument(lua_State* state, int index);

// (viewport, or its index in the current level) -> whether the object shows in it.
template <typename T, SelfGetter<T> Self>
int IsInViewport(lua_State* state) {
  T* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  lua_pushboolean(state, self->IsInViewport(ViewportArgument(state, kFirstArgument)));
  return 1;
}

// "ObjectFunction"(name, result count, arguments...) of every class whose objects may carry a script
// of their own (the game, levels, game objects, animations, emitters): calls that function of
// self's own script (GetScript) with the arguments and hands back at most 256 of the results it
// asks for; nothing when the name is not a string, there is no loaded script or no such function,
// or the call fails (the error is printed as for any script call).
int ObjectFunction(lua_State* state, Core::Object* self);

// The game object's methods in table order.
const std::vector<Lua::Method>& GameObjectMethods();
// The script method "Clone" of the game-object kinds.
int CloneObject(lua_State* state);
// "SaveNetworkData" and "LoadNetworkData": they work only while the multiplayer layer has a network
// file in use for the object, which it sets around its calls.
int SaveNetworkData(lua_State* state);
int LoadNetworkData(lua_State* state);

struct TableEdit {
  std::vector<std::string> leftOut;
  // {method, the method it goes right after (empty: right before the own methods)}
  std::vector<std::pair<std::string, std::string>> moved;
};
// The game object's methods with the edit applied, followed by the class's own.
std::vector<Lua::Method> BuildDerivedTable(const TableEdit& edit, std::initializer_list<Lua::Method> own);

// Handlers of the game object's collision, physics and network methods.
namespace Attachment {
int AddCollision(lua_State*);
int RemoveCollision(lua_State*);
int ObjectInCollision(lua_State*);
int GetCollisionObject(lua_State*);
int GetTileMapCollisionObject(lua_State*);
int AddPhysicalProperties(lua_State*);
int RemovePhysicalProperties(lua_State*);
int SetMassProperties(lua_State*);
int GetMassProperties(lua_State*);
int GetCenterOfMass(lua_State*);
int SetVelocity(lua_State*);
int GetVelocity(lua_State*);
int SetAngularVelocity(lua_State*);
int GetAngularVelocity(lua_State*);
int SetSpeed(lua_State*);
int GetSpeed(lua_State*);
int SetVelocityDirection(lua_State*);
int GetVelocityDirection(lua_State*);
int AddForce(lua_State*);
int RemoveForce(lua_State*);
int RemoveAllForces(lua_State*);
int GetNumberOfCollidedSprites(lua_State*);
int GetNumberOfCollidedCircles(lua_State*);
int GetNumberOfCollidedLineSegments(lua_State*);
int GetNumberOfCollidedTileMaps(lua_State*);
int GetCollidedSprite(lua_State*);
int GetCollidedTileMap(lua_State*);
int IsCollidedWithSprite(lua_State*);
int IsCollidedWithSpriteLineSegment(lua_State*);
int IsCollidedWithSpriteCircle(lua_State*);
int IsCollidedWithLineSegment(lua_State*);
int IsCollidedWithCircle(lua_State*);
int IsCollidedWithTileMap(lua_State*);
int IsMyLineSegmentCollided(lua_State*);
int IsMyCircleCollided(lua_State*);
int GetTileMapNewEntries_UsingBoundingRectangle(lua_State*);
int GetTileMapStaticEntries_UsingBoundingRectangle(lua_State*);
int GetTileMapNewEntries_UsingHotSpot(lua_State*);
int GetTileMapStaticEntries_UsingHotSpot(lua_State*);
int GetCollidedCircleData(lua_State*);
int GetCollidedLineSegmentData(lua_State*);
int GetCollidedTileMapData(lua_State*);
int GetCollidedSpriteData(lua_State*);
}  // namespace Attachment

}  // namespace Script
}  // namespace Quillon
