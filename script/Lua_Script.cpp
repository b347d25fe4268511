#include "script/Lua_Script.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include <lua.hpp>

#include "platform/PAL_Path.h"
#include "platform/PAL_Services.h"
#include "script/Lua_MethodTable.h"
#include "script/Lua_ScriptEngine.h"
#include "script/Lua_ValueTable.h"

namespace {

// Scripts are text; a larger file is refused rather than read whole.
constexpr std::streamoff kMaximumScriptSize = 64 * 1024 * 1024;

std::vector<LuaScript*>& GetScripts() {
  static std::vector<LuaScript*> scripts;
  return scripts;
}

bool IsListed(const LuaScript* script) {
  const auto& scripts = GetScripts();
  return std::find(scripts.begin(), scripts.end(), script) != scripts.end();
}

bool ReadScriptFile(const std::string& path, std::string& source, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot open " + path;
    return false;
  }
  file.seekg(0, std::ios::end);
  std::streamoff size = file.tellg();
  file.seekg(0, std::ios::beg);
  if (size < 0 || size > kMaximumScriptSize) {
    error = "cannot read " + path + " (not a regular file or too large)";
    return false;
  }
  source.assign(static_cast<std::size_t>(size), '\0');
  if (size > 0 && !file.read(&source[0], size)) {
    error = "cannot read " + path;
    return false;
  }
  // Only text is compiled: a precompiled chunk would bypass the compiler's checks.
  if (!source.empty() && source[0] == LUA_SIGNATURE[0]) {
    error = path + ": precompiled chunks are not accepted";
    return false;
  }
  // As the stand-alone interpreter does, a first line starting with '#' is skipped; its newline
  // stays so that line numbers do not move.
  if (!source.empty() && source[0] == '#') {
    std::size_t end = source.find('\n');
    std::fill(source.begin(), end == std::string::npos ? source.end() : source.begin() + end, ' ');
  }
  return true;
}

int AppendToChunk(lua_State*, const void* piece, std::size_t size, void* buffer) {
  try {
    auto* bytes = static_cast<const char*>(piece);
    static_cast<std::vector<char>*>(buffer)->insert(static_cast<std::vector<char>*>(buffer)->end(), bytes,
                                                     bytes + size);
  } catch (const std::bad_alloc&) {
    return 1;  // stops the dump
  }
  return 0;
}

struct ChunkReader {
  const std::vector<char>* chunk;
  bool done;
};

// Hands over the whole chunk in one piece.
const char* ReadChunk(lua_State*, void* data, std::size_t* size) {
  auto* reader = static_cast<ChunkReader*>(data);
  if (reader->done || reader->chunk->empty()) {
    *size = 0;
    return nullptr;
  }
  reader->done = true;
  *size = reader->chunk->size();
  return reader->chunk->data();
}

bool SharesHeap(lua_State* a, lua_State* b) {
  if (a == b) return true;
  lua_pushvalue(a, LUA_REGISTRYINDEX);
  lua_pushvalue(b, LUA_REGISTRYINDEX);
  bool same = lua_topointer(a, -1) == lua_topointer(b, -1);
  lua_pop(a, 1);
  lua_pop(b, 1);
  return same;
}

// Rebuilds a value table of the source on the target; false for any other table.
bool CopyValueTable(lua_State* from, int index, lua_State* to) {
  lua_pushliteral(from, "className");
  lua_rawget(from, index);
  const char* className = lua_type(from, -1) == LUA_TSTRING ? lua_tostring(from, -1) : "";
  int kind = std::strcmp(className, "Point2D") == 0    ? 1
             : std::strcmp(className, "Vector2D") == 0 ? 2
             : std::strcmp(className, "Color") == 0    ? 3
                                                       : 0;
  lua_pop(from, 1);
  if (kind == 0) return false;

  static const char* const kFields[] = {"X", "Y", "R", "G", "B", "A"};
  const char* const* fields = kind == 3 ? kFields + 2 : kFields;
  int count = kind == 3 ? 4 : 2;
  float values[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  for (int i = 0; i < count; ++i) {
    // Raw reads: a source table's metamethods must not run (or raise) here.
    lua_pushstring(from, fields[i]);
    lua_rawget(from, index);
    values[i] = static_cast<float>(lua_tonumber(from, -1));
    lua_pop(from, 1);
  }
  if (kind == 1) LuaScript::PushPoint2D(to, values[0], values[1]);
  if (kind == 2) LuaScript::PushVector2D(to, values[0], values[1]);
  if (kind == 3) LuaScript::PushColor(to, values[0], values[1], values[2], values[3]);
  return true;
}

}  // namespace

LuaScript* LuaScript::Create() {
  auto* script = new (__FILE__, __LINE__) LuaScript();
  GetScripts().push_back(script);
  return script;
}

void LuaScript::Destroy(LuaScript* script) {
  if (!script || !IsListed(script)) return;
  script->m_removed = 1;
  delete script;
}

void LuaScript::DestroyAll() {
  auto& scripts = GetScripts();
  while (!scripts.empty()) Destroy(scripts.back());
}

LuaScript* LuaScript::FindByPath(const char* path) {
  if (!path) return nullptr;
  std::string mapped = PAL::MapPath(path);
  for (LuaScript* script : GetScripts()) {
    if (script->m_path == mapped) return script;
  }
  return nullptr;
}

LuaScript* LuaScript::FindByThread(lua_State* thread) {
  lua_State* main = Lua::GetMainState();
  if (!main || !thread) return nullptr;
  lua_pushlightuserdata(main, thread);
  lua_rawget(main, LUA_GLOBALSINDEX);
  auto* script = static_cast<LuaScript*>(lua_touserdata(main, -1));
  lua_pop(main, 1);
  return script;
}

std::size_t LuaScript::GetScriptCount() { return GetScripts().size(); }

LuaScript::LuaScript() : m_threadAnchor(LUA_NOREF) {
  lua_State* main = Lua::GetMainState();
  if (!main || !lua_checkstack(main, 100)) return;
  lua_State* thread = lua_newthread(main);
  // The registry keeps the thread alive; the main stack stays as it was.
  m_threadAnchor = Lua::AnchorThread(main);
  lua_checkstack(thread, 100);

  // Private globals: reads of names the script never set fall through to the shared globals,
  // writes stay in the script's own table.
  lua_newtable(thread);
  lua_newtable(thread);
  lua_pushvalue(thread, LUA_GLOBALSINDEX);
  lua_setfield(thread, -2, "__index");
  lua_setmetatable(thread, -2);
  lua_replace(thread, LUA_GLOBALSINDEX);

  lua_pushlightuserdata(main, thread);
  lua_pushlightuserdata(main, this);
  lua_rawset(main, LUA_GLOBALSINDEX);
  m_thread = thread;
}

LuaScript::~LuaScript() {
  auto& scripts = GetScripts();
  scripts.erase(std::remove(scripts.begin(), scripts.end(), this), scripts.end());
  lua_State* main = Lua::GetMainState();
  if (main && m_thread) {
    lua_pushlightuserdata(main, m_thread);
    lua_pushnil(main);
    lua_rawset(main, LUA_GLOBALSINDEX);
    Lua::ReleaseThread(m_threadAnchor);
  }
  m_thread = nullptr;
}

const char* LuaScript::GetClassName() const { return "LuaScript"; }

std::uint32_t LuaScript::GetSize() const { return static_cast<std::uint32_t>(sizeof(LuaScript)); }

void LuaScript::Load(const char* path) {
  if (!path) return;
  m_path = PAL::MapPath(path);
  if (!m_thread) return;
  if (!Compile(m_path)) return;
  m_state = 1;
  Run();
}

bool LuaScript::Compile(const std::string& path) {
  std::string source;
  std::string error;
  if (ReadScriptFile(path, source, error)) {
    std::string chunkName = "@" + path;
    if (luaL_loadbuffer(m_thread, source.data(), source.size(), chunkName.c_str()) == 0) {
      std::vector<char> buffer;
      // Lua 5.1 dumps with debug information, which keeps the tracebacks of reused chunks useful.
      if (lua_dump(m_thread, &AppendToChunk, &buffer) == 0) {
        m_compiledChunk.swap(buffer);
      } else {
        m_compiledChunk.clear();  // this script still runs; later loads of the path recompile
      }
      return true;  // the compiled function stays on the thread for Run
    }
    const char* message = lua_tostring(m_thread, -1);
    error = message ? message : "cannot compile " + path;
    lua_pop(m_thread, 1);
  }
  m_lastError = error;
  PAL::ShowMessageBox("Script Error", error, PAL::MessageBoxIcon::Error, PAL::MessageBoxButton::OK);
  Lua::RequestQuit();
  return false;
}

void LuaScript::LoadCompiled(const LuaScript& other) {
  if (!m_thread || other.m_compiledChunk.empty()) return;
  std::vector<char> chunk = other.m_compiledChunk;  // other may be this script
  ChunkReader reader{&chunk, false};
  if (lua_load(m_thread, &ReadChunk, &reader, "loaded_chunk") != 0) {
    const char* message = lua_tostring(m_thread, -1);
    m_lastError = message ? message : "cannot load the compiled chunk";
    lua_pop(m_thread, 1);
    return;
  }
  m_compiledChunk.swap(chunk);
  m_state = 1;
  Run();
}

void LuaScript::Run() {
  std::string error;
  bool succeeded = Lua::ProtectedCall(m_thread, 0, 0, &error);
  // The chunk may have destroyed this script (its object released itself).
  if (!succeeded && IsListed(this)) m_lastError = error;
}

int LuaScript::CopyValues(lua_State* from, lua_State* to, std::uint32_t skip, std::int32_t count) {
  if (!from || !to) return 0;
  const long long top = lua_gettop(from);
  long long first;
  if (skip != 0) {
    if (top <= 1) return 0;
    first = static_cast<long long>(skip) + 2;
  } else if (count > 0) {
    first = std::max(1LL, top - count + 1);
  } else {
    return 0;
  }
  if (first > top) return 0;
  const int total = static_cast<int>(top - first + 1);
  // Room for every value plus a constructor call and its table.
  if (!lua_checkstack(to, total + 4) || !lua_checkstack(from, 4)) return 0;
  const bool sharesHeap = SharesHeap(from, to);

  int pushed = 0;
  for (int index = static_cast<int>(first); index <= static_cast<int>(top); ++index) {
    const int before = lua_gettop(to);
    switch (lua_type(from, index)) {
      case LUA_TNIL:
        lua_pushnil(to);
        break;
      case LUA_TBOOLEAN:
        lua_pushboolean(to, lua_toboolean(from, index));
        break;
      case LUA_TLIGHTUSERDATA:
        lua_pushlightuserdata(to, lua_touserdata(from, index));
        break;
      case LUA_TNUMBER:
        lua_pushnumber(to, lua_tonumber(from, index));
        break;
      case LUA_TSTRING: {
        std::size_t length = 0;
        const char* text = lua_tolstring(from, index, &length);
        lua_pushlstring(to, text, length);
        break;
      }
      case LUA_TTABLE:
        CopyValueTable(from, index, to);
        break;
      case LUA_TUSERDATA: {
        void* object = nullptr;
        const Lua::MethodTable* table = Lua::GetEngineUserdata(from, index, &object);
        if (!table) break;  // foreign userdata: its pointer means nothing to the engine
        if (sharesHeap) {
          // The same userdata: an owned copy keeps its single owner.
          lua_pushvalue(from, index);
          lua_xmove(from, to, 1);
        } else {
          table->GetCrossStatePush()(to, object);
        }
        break;
      }
      default:
        break;  // functions and threads stay where they are
    }
    pushed += lua_gettop(to) - before;
  }
  return pushed;
}
