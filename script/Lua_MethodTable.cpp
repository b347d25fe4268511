#include "script/Lua_MethodTable.h"

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "script/Lua_ScriptEngine.h"

namespace Lua {

namespace {

// Its address is the registry key of the table {engine metatable = its MethodTable}: scripts
// cannot reach it, so no script-made userdata passes for an engine object.
const char g_engineClassesKey = 0;

std::vector<const MethodTable*>& GetMethodTables() {
  static std::vector<const MethodTable*> tables;
  return tables;
}

// Every method runs through here: a C++ exception of a handler becomes a script error. The error
// is raised only after the catch block is left (raising unwinds as an exception of its own).
int Dispatch(lua_State* state) {
  const Method* method = static_cast<const Method*>(lua_touserdata(state, lua_upvalueindex(1)));
  std::string failure;
  try {
    return method->handler(state);
  } catch (const std::bad_alloc&) {
    failure = "not enough memory";
  } catch (const std::exception& exception) {
    failure = exception.what();
  }
  return luaL_error(state, "%s: %s", method->name, failure.c_str());
}

// The "Object" class: every object of the hierarchy pushes itself with at least this metatable.
const MethodTable g_objectMethods("Object", nullptr, 0);

}  // namespace

int PushCoreObject(lua_State* target, void* object) {
  return static_cast<Core::Object*>(object)->PushToLua(target);
}

MethodTable::MethodTable(const char* scriptName, const Method* methods, std::size_t count,
                         CrossStatePush crossStatePush)
    : m_scriptName(scriptName ? scriptName : ""),
      m_methods(methods),
      m_count(methods ? count : 0),
      m_crossStatePush(crossStatePush ? crossStatePush : &PushCoreObject) {
  GetMethodTables().push_back(this);
  if (lua_State* state = GetMainState()) RegisterMethodTable(state, *this);
}

MethodTable::~MethodTable() {
  auto& tables = GetMethodTables();
  tables.erase(std::remove(tables.begin(), tables.end(), this), tables.end());
}

void RegisterMethodTables(lua_State* state) {
  for (const MethodTable* table : GetMethodTables()) RegisterMethodTable(state, *table);
}

void RegisterMethodTable(lua_State* state, const MethodTable& table) {
  luaL_checkstack(state, 6, "registering a method table");
  luaL_newmetatable(state, table.GetScriptName());  // the existing one when the name is known
  int metatable = lua_gettop(state);

  lua_getfield(state, metatable, "__index");
  if (!lua_istable(state, -1)) {
    lua_pop(state, 1);
    lua_newtable(state);
    lua_pushvalue(state, -1);
    lua_setfield(state, metatable, "__index");
  }
  for (std::size_t i = 0; i < table.GetCount(); ++i) {
    const Method& method = table.GetMethods()[i];
    if (!method.name || !method.handler) continue;
    lua_pushlightuserdata(state, const_cast<Method*>(&method));
    lua_pushcclosure(state, &Dispatch, 1);
    lua_setfield(state, -2, method.name);
  }
  lua_pop(state, 1);

  lua_pushlightuserdata(state, const_cast<char*>(&g_engineClassesKey));
  lua_rawget(state, LUA_REGISTRYINDEX);
  if (!lua_istable(state, -1)) {
    lua_pop(state, 1);
    lua_newtable(state);
    lua_pushlightuserdata(state, const_cast<char*>(&g_engineClassesKey));
    lua_pushvalue(state, -2);
    lua_rawset(state, LUA_REGISTRYINDEX);
  }
  lua_pushvalue(state, metatable);
  lua_pushlightuserdata(state, const_cast<MethodTable*>(&table));
  lua_rawset(state, -3);
  lua_settop(state, metatable - 1);
}

void* ToUserdata(lua_State* state, int index, const char* scriptName) {
  if (lua_type(state, index) != LUA_TUSERDATA) return nullptr;
  if (lua_objlen(state, index) < sizeof(void*)) return nullptr;
  if (!lua_checkstack(state, 2) || !lua_getmetatable(state, index)) return nullptr;
  lua_getfield(state, LUA_REGISTRYINDEX, scriptName);
  bool matches = lua_rawequal(state, -1, -2) != 0;
  lua_pop(state, 2);
  return matches ? *static_cast<void**>(lua_touserdata(state, index)) : nullptr;
}

void* CheckUserdata(lua_State* state, int index, const char* scriptName) {
  void* object = ToUserdata(state, index, scriptName);
  if (object) return object;
  if (lua_type(state, index) == LUA_TUSERDATA && lua_objlen(state, index) >= sizeof(void*) &&
      *static_cast<void**>(lua_touserdata(state, index)) == nullptr) {
    luaL_argerror(state, index, "the object no longer exists");
  }
  luaL_typerror(state, index, scriptName);
  return nullptr;
}

const MethodTable* GetEngineUserdata(lua_State* state, int index, void** object) {
  if (lua_type(state, index) != LUA_TUSERDATA) return nullptr;
  if (lua_objlen(state, index) < sizeof(void*)) return nullptr;
  void* pointer = *static_cast<void**>(lua_touserdata(state, index));
  if (!pointer) return nullptr;
  if (index < 0 && index > LUA_REGISTRYINDEX) index = lua_gettop(state) + index + 1;
  if (!lua_checkstack(state, 3) || !lua_getmetatable(state, index)) return nullptr;
  lua_pushlightuserdata(state, const_cast<char*>(&g_engineClassesKey));
  lua_rawget(state, LUA_REGISTRYINDEX);
  const MethodTable* table = nullptr;
  if (lua_istable(state, -1)) {
    lua_pushvalue(state, -2);
    lua_rawget(state, -2);
    if (lua_type(state, -1) == LUA_TLIGHTUSERDATA) table = static_cast<const MethodTable*>(lua_touserdata(state, -1));
    lua_pop(state, 1);
  }
  lua_pop(state, 2);
  if (table && object) *object = pointer;
  return table;
}

int PushPointer(lua_State* state, void* object, const char* scriptName) {
  void** slot = static_cast<void**>(lua_newuserdata(state, sizeof(void*)));
  *slot = object;
  lua_getfield(state, LUA_REGISTRYINDEX, scriptName);
  lua_setmetatable(state, -2);
  return 1;
}

}  // namespace Lua
