#include "script/Lua_ScriptEngine.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include <lua.hpp>

#include "platform/PAL_Services.h"
#include "script/Lua_Bootstrap.h"
#include "script/Lua_MethodTable.h"
#include "script/Lua_Script.h"

namespace Lua {

namespace {

struct ChunkRecord {
  const BootstrapChunk* owner;
  const char* name;
  const char* source;
  int order;
};

lua_State* g_mainState = nullptr;
int g_callDepth = 0;
bool g_quitRequested = false;
std::vector<int> g_pendingReleases;
// Its address is the registry key of the original debug.traceback (scripts may replace the global).
const char g_tracebackKey = 0;

std::vector<ChunkRecord>& GetChunks() {
  static std::vector<ChunkRecord> chunks;
  return chunks;
}

QuitRequestHandler& GetQuitHandler() {
  static QuitRequestHandler handler;
  return handler;
}

int Panic(lua_State* state) {
  const char* message = lua_tostring(state, -1);
  // Lua is built as C++: the exception unwinds its frames and ours, with their destructors.
  throw PanicError(message ? message : "unprotected Lua error");
}

int Traceback(lua_State* state) {
  if (!lua_isstring(state, 1)) {
    lua_pushfstring(state, "(error object is a %s value)", luaL_typename(state, 1));
    lua_replace(state, 1);
  }
  lua_settop(state, 1);
  lua_pushlightuserdata(state, const_cast<char*>(&g_tracebackKey));
  lua_rawget(state, LUA_REGISTRYINDEX);
  if (!lua_isfunction(state, -1)) {
    lua_pop(state, 1);
    return 1;
  }
  lua_pushvalue(state, 1);
  lua_pushinteger(state, 2);
  lua_call(state, 2, 1);
  return 1;
}

void ReleasePendingThreads() {
  std::vector<int> pending;
  pending.swap(g_pendingReleases);
  if (!g_mainState) return;
  for (int anchor : pending) luaL_unref(g_mainState, LUA_REGISTRYINDEX, anchor);
}

bool RunChunk(lua_State* state, const char* name, const char* source, std::string& error) {
  std::string chunkName = std::string("=") + name;
  if (luaL_loadbuffer(state, source, std::strlen(source), chunkName.c_str()) != 0) {
    error = lua_tostring(state, -1) ? lua_tostring(state, -1) : "cannot load the bootstrap";
    lua_pop(state, 1);
    return false;
  }
  return ProtectedCall(state, 0, 0, &error);
}

}  // namespace

BootstrapChunk::BootstrapChunk(const char* name, const char* source, int order) {
  GetChunks().push_back(ChunkRecord{this, name ? name : "", source ? source : "", order});
}

BootstrapChunk::~BootstrapChunk() {
  auto& chunks = GetChunks();
  chunks.erase(std::remove_if(chunks.begin(), chunks.end(),
                              [this](const ChunkRecord& chunk) { return chunk.owner == this; }),
               chunks.end());
}

bool Initialize(std::string* error) {
  if (g_mainState) return true;
  lua_State* state = luaL_newstate();
  if (!state) {
    if (error) *error = "cannot create the Lua state (out of memory)";
    return false;
  }
  lua_atpanic(state, &Panic);
  luaL_openlibs(state);

  lua_getglobal(state, "debug");
  if (lua_istable(state, -1)) {
    lua_pushlightuserdata(state, const_cast<char*>(&g_tracebackKey));
    lua_getfield(state, -2, "traceback");
    lua_rawset(state, LUA_REGISTRYINDEX);
  }
  lua_pop(state, 1);

  g_mainState = state;
  g_quitRequested = false;
  Detail::LinkScriptBindings();
  RegisterMethodTables(state);

  std::vector<ChunkRecord> chunks = GetChunks();
  std::stable_sort(chunks.begin(), chunks.end(), [](const ChunkRecord& a, const ChunkRecord& b) {
    if (a.order != b.order) return a.order < b.order;
    return std::strcmp(a.name, b.name) < 0;
  });
  chunks.insert(chunks.begin(), ChunkRecord{nullptr, "EngineBootstrap", Detail::GetEngineBootstrapSource(), 0});

  std::string failures;
  for (const ChunkRecord& chunk : chunks) {
    std::string message;
    if (!RunChunk(state, chunk.name, chunk.source, message)) {
      if (!failures.empty()) failures += "\n";
      failures += message;
    }
  }
  lua_settop(state, 0);
  if (failures.empty()) return true;
  if (error) *error = failures;
  PAL::ShowMessageBox("Script Error", failures, PAL::MessageBoxIcon::Error, PAL::MessageBoxButton::OK);
  RequestQuit();
  return false;
}

void Shutdown() {
  if (!g_mainState) return;
  LuaScript::DestroyAll();
  ReleasePendingThreads();
  lua_close(g_mainState);
  g_mainState = nullptr;
}

lua_State* GetMainState() { return g_mainState; }

void SetQuitRequestHandler(QuitRequestHandler handler) { GetQuitHandler() = std::move(handler); }

void RequestQuit() {
  g_quitRequested = true;
  if (GetQuitHandler()) GetQuitHandler()();
}

bool IsQuitRequested() { return g_quitRequested; }

CallScope::CallScope() { ++g_callDepth; }

CallScope::~CallScope() {
  if (--g_callDepth == 0 && !g_pendingReleases.empty()) ReleasePendingThreads();
}

bool ProtectedCall(lua_State* state, int argumentCount, int resultCount, std::string* error) {
  CallScope scope;
  int functionIndex = lua_gettop(state) - argumentCount;
  std::string message;
  if (argumentCount < 0 || functionIndex < 1) {
    message = "nothing to call";
  } else if (!lua_checkstack(state, 2)) {
    message = "stack overflow";
    lua_settop(state, functionIndex - 1);
  } else {
    lua_pushcfunction(state, &Traceback);
    lua_insert(state, functionIndex);
    if (lua_pcall(state, argumentCount, resultCount, functionIndex) == 0) {
      lua_remove(state, functionIndex);
      return true;
    }
    const char* text = lua_tostring(state, -1);
    message = text ? text : "(error object is not a string)";
    lua_pop(state, 2);  // the error and the traceback handler
  }
  std::fprintf(stderr, "Lua error: %s\n", message.c_str());
  if (error) *error = std::move(message);
  return false;
}

int AnchorThread(lua_State* mainState) { return luaL_ref(mainState, LUA_REGISTRYINDEX); }

void ReleaseThread(int anchor) {
  if (!g_mainState || anchor == LUA_NOREF || anchor == LUA_REFNIL) return;
  if (g_callDepth > 0) {
    g_pendingReleases.push_back(anchor);
  } else {
    luaL_unref(g_mainState, LUA_REGISTRYINDEX, anchor);
  }
}

}  // namespace Lua
