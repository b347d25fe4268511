#pragma once
// Script method tables. Every scriptable class has one: its script class name and an array of
// {method name, handler}, filled during static initialisation. Each becomes one metatable in the
// main state, stored in the registry under the script class name, whose __index holds the methods.
// A userdata of a scriptable class holds one full pointer to the object; only userdata that carry
// one of these metatables are ever read as engine objects.
#include <cstddef>
#include <new>
#include <type_traits>

#include <lua.hpp>

#include "core/Core_Object.h"

namespace Lua {

struct Method {
  const char* name;
  lua_CFunction handler;
};

// Pushes the object a userdata of the class points at onto a state of another Lua universe (one
// that does not share the source's heap); returns the number of values pushed.
using CrossStatePush = int (*)(lua_State* target, void* object);
// The default for classes of the Core::Object hierarchy: the object's own PushToLua.
int PushCoreObject(lua_State* target, void* object);

class MethodTable {
 public:
  MethodTable(const char* scriptName, const Method* methods, std::size_t count,
              CrossStatePush crossStatePush = &PushCoreObject);
  template <std::size_t N>
  MethodTable(const char* scriptName, const Method (&methods)[N], CrossStatePush crossStatePush = &PushCoreObject)
      : MethodTable(scriptName, methods, N, crossStatePush) {}
  ~MethodTable();
  MethodTable(const MethodTable&) = delete;
  MethodTable& operator=(const MethodTable&) = delete;

  const char* GetScriptName() const { return m_scriptName; }
  const Method* GetMethods() const { return m_methods; }
  std::size_t GetCount() const { return m_count; }
  CrossStatePush GetCrossStatePush() const { return m_crossStatePush; }

 private:
  const char* m_scriptName;
  const Method* m_methods;
  std::size_t m_count;
  CrossStatePush m_crossStatePush;
};

// Registers every method table into the state (Initialize does this for the main state; a table
// constructed later registers itself into the main state at once). Tables of the same script name
// share one metatable.
void RegisterMethodTables(lua_State* state);
void RegisterMethodTable(lua_State* state, const MethodTable& table);

// The object pointer of the userdata at index when it carries the metatable of scriptName; null for
// anything else (never raises).
void* ToUserdata(lua_State* state, int index, const char* scriptName);
// As ToUserdata, but raises a script argument error for a value of another type or a null object.
void* CheckUserdata(lua_State* state, int index, const char* scriptName);

// The checked `self` getter (or any argument) of a binding handler.
template <typename T>
T* CheckSelf(lua_State* state, const char* scriptName, int index = 1) {
  void* object = CheckUserdata(state, index, scriptName);
  if constexpr (std::is_base_of_v<Core::Object, T>) {
    // Objects of the hierarchy are pushed as Core::Object pointers.
    return static_cast<T*>(static_cast<Core::Object*>(object));
  } else {
    return static_cast<T*>(object);
  }
}

// When the value at index is a userdata carrying an engine metatable and a non-null pointer:
// that class's method table, with the pointer in object. Null (object untouched) otherwise.
const MethodTable* GetEngineUserdata(lua_State* state, int index, void** object);

// Pushes a userdata borrowing object (its owner keeps it alive) with scriptName's metatable.
int PushPointer(lua_State* state, void* object, const char* scriptName);

// Pushes a userdata that owns a copy of value: the copy lives inside the userdata's own block
// (after its pointer word) and goes with it when Lua collects it, so nothing leaks and nothing
// dangles. Only for trivially destructible value classes such as the geometry shapes.
template <typename T>
int PushCopy(lua_State* state, const T& value, const char* scriptName) {
  static_assert(std::is_trivially_destructible_v<T>, "Lua frees the block without running a destructor");
  static_assert(alignof(T) <= alignof(void*), "Lua aligns userdata blocks to a pointer word");
  constexpr std::size_t offset = (sizeof(void*) + alignof(T) - 1) / alignof(T) * alignof(T);
  void* block = lua_newuserdata(state, offset + sizeof(T));
  T* copy = new (static_cast<char*>(block) + offset) T(value);
  *static_cast<void**>(block) = copy;
  lua_getfield(state, LUA_REGISTRYINDEX, scriptName);
  lua_setmetatable(state, -2);
  return 1;
}

}  // namespace Lua
