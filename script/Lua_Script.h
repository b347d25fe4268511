#pragma once
// One object's script: a Lua thread of the main state with private globals that fall back to the
// shared ones, so each object has its own entry points ("Update", "OnStart", ...) while sharing the
// libraries. A file is compiled once; later objects naming the same file reuse the compiled chunk.
// Also the conversions between the engine's points, vectors and colours and Lua tables, and the
// copying of values between two Lua stacks.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Core_Object.h"
#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"

struct lua_State;

class LuaScript : public Core::Object {
 public:
  // A new script appended to the script list. Without a main state (Lua::Initialize) the script
  // has no thread and stays empty whatever is loaded into it.
  static LuaScript* Create();
  // Deletes a script of the list; a script not in the list is ignored. Its thread is released and
  // its entry in the main globals cleared, so nothing refers to it afterwards.
  static void Destroy(LuaScript* script);
  // The first script of the list loaded from this path (compared after PAL::MapPath), or null.
  static LuaScript* FindByPath(const char* path);
  // The script owning this thread, or null.
  static LuaScript* FindByThread(lua_State* thread);
  static std::size_t GetScriptCount();
  // Destroys every script (Lua::Shutdown does this before closing the main state).
  static void DestroyAll();

  ~LuaScript() override;
  LuaScript(const LuaScript&) = delete;
  LuaScript& operator=(const LuaScript&) = delete;

  // Compiles the file (its path mapped by PAL::MapPath) and runs it once in this thread. A file
  // that does not compile shows the "Script Error" box, requests quit and leaves the script empty.
  // A runtime error of the run is kept in GetLastError; the script still counts as loaded.
  void Load(const char* path);
  // Loading from a stream stays the object's own (a script is never read from one); named here so
  // that the path overload does not hide it.
  using Core::Object::Load;
  // Runs a copy of the other script's compiled chunk in this thread (the path is not copied).
  void LoadCompiled(const LuaScript& other);
  // True while no chunk has been loaded; objects then skip their entry points.
  bool IsEmpty() const { return m_state != 1; }

  lua_State* GetThread() const { return m_thread; }
  const std::string& GetPath() const { return m_path; }
  const std::vector<char>& GetCompiledChunk() const { return m_compiledChunk; }
  // "message\ntraceback" of the last failed run, empty when none failed.
  const std::string& GetLastError() const { return m_lastError; }

  // The "X" and "Y" numbers of the table at index; (0, 0) for any other value. A field that holds
  // no number raises a script error (call under a protected call).
  static Math::Vector2D ToVector2D(lua_State* state, int index);
  static Math::Vector2D ToPoint2D(lua_State* state, int index);
  // Pushes a table made by the script function "CreateVector" ("CreatePoint") with "X" and "Y" set
  // and returns its absolute stack index.
  static int PushVector2D(lua_State* state, float x, float y);
  static int PushPoint2D(lua_State* state, float x, float y);
  // The "R", "G", "B", "A" numbers of the table at index (relative indices allowed; the stack is
  // left as it was); (0, 0, 0, 1) for any other value.
  static Math::Color ToColor(lua_State* state, int index);
  static int PushColor(lua_State* state, float r, float g, float b, float a);

  // Copies values of from's stack onto to's stack and returns how many were pushed. skip != 0:
  // the values after the first skip + 1 (a function name and a result count before the arguments);
  // skip == 0: the last count values. Nil, booleans, light userdata, numbers and strings copy as
  // they are; "Point2D", "Vector2D" and "Color" tables are rebuilt by the target's constructors;
  // engine objects (userdata carrying an engine metatable) are pushed again; anything else is
  // skipped. The source stack is left as it was.
  static int CopyValues(lua_State* from, lua_State* to, std::uint32_t skip, std::int32_t count);

  const char* GetClassName() const override;
  std::uint32_t GetSize() const override;

 private:
  LuaScript();
  bool Compile(const std::string& path);
  // Runs the function on top of the thread's stack.
  void Run();

  lua_State* m_thread = nullptr;
  int m_threadAnchor;
  std::uint32_t m_state = 0;
  std::uint8_t m_removed = 0;
  std::vector<char> m_compiledChunk;
  std::string m_path;
  std::string m_lastError;
};
