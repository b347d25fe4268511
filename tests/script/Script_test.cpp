#include <cstring>
#include <stdexcept>
#include <string>

#include "script/Lua_MethodTable.h"
#include "script/Lua_Property.h"
#include "script/Lua_Script.h"
#include "script/Lua_ScriptEngine.h"
#include "tests/script/ScriptTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

// Reads a global of the script's own view (private, falling back to shared).
std::string GlobalAsString(lua_State* state, const char* name) {
  lua_getglobal(state, name);
  std::string value = lua_isnil(state, -1) ? "nil" : (lua_tostring(state, -1) ? lua_tostring(state, -1) : "?");
  lua_pop(state, 1);
  return value;
}

int g_guardsDestroyed = 0;
struct DestructorGuard {
  ~DestructorGuard() { ++g_guardsDestroyed; }
};

int ThrowingHandler(lua_State* state) {
  Lua::CheckSelf<Core::Object>(state, "ScriptTestObject");
  DestructorGuard guard;
  throw std::runtime_error("the handler failed");
}

int RaisingHandler(lua_State* state) {
  Lua::CheckSelf<Core::Object>(state, "ScriptTestObject");
  DestructorGuard guard;
  return luaL_error(state, "raised with a guard alive");
}

// Destroys the script whose thread runs it, from inside that script's code.
int DestroyOwnScript(lua_State* state) {
  LuaScript::Destroy(LuaScript::FindByThread(state));
  return 0;
}

LuaScript* g_victim = nullptr;
lua_State* g_otherThread = nullptr;

int DestroyVictim(lua_State*) {
  LuaScript::Destroy(g_victim);
  return 0;
}

// Runs the other script's "Work" in its own thread, as calls between objects' scripts do.
int CallOther(lua_State*) {
  lua_getglobal(g_otherThread, "Work");
  Lua::ProtectedCall(g_otherThread, 0, 0);
  return 0;
}

const Lua::Method kTestMethods[] = {
    {"Throw", &ThrowingHandler},
    {"Raise", &RaisingHandler},
};
const Lua::MethodTable g_testMethods("ScriptTestObject", kTestMethods);

// Extensions run after the engine's own bootstrap, in order, and may use its constructors.
const Lua::BootstrapChunk g_laterChunk("TestLater", "TestOrder = TestOrder .. 'b'", 20);
const Lua::BootstrapChunk g_earlierChunk("TestEarlier", "TestOrder = CreatePoint().className .. ':a'", 10);

}  // namespace

TEST_F(ScriptTest, BootstrapDefinesValueTableConstructors) {
  Run(main_,
      "local p, v, c = CreatePoint(), CreateVector(), CreateColor()\n"
      "assert(p.className == 'Point2D' and p.X == 0 and p.Y == 0)\n"
      "assert(v.className == 'Vector2D' and v.X == 0 and v.Y == 0)\n"
      "assert(c.className == 'Color' and c.R == 0 and c.G == 0 and c.B == 0 and c.A == 1)\n"
      "assert(CreatePoint() ~= p, 'a new table every call')\n");
  EXPECT_EQ(lua_gettop(main_), 0);
}

TEST_F(ScriptTest, BootstrapChunksRunInOrderAndABrokenOneIsReported) {
  EXPECT_EQ(GlobalAsString(main_, "TestOrder"), "Point2D:ab");
  EXPECT_TRUE(boxes_.empty());

  Lua::Shutdown();
  std::string error;
  {
    Lua::BootstrapChunk broken("TestBroken", "this is not Lua", 15);
    EXPECT_FALSE(Lua::Initialize(&error));
  }
  EXPECT_NE(error.find("TestBroken"), std::string::npos) << error;
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].caption, "Script Error");
  EXPECT_EQ(quitRequests_, 1);
  // The other chunks still ran.
  main_ = Lua::GetMainState();
  EXPECT_EQ(GlobalAsString(main_, "TestOrder"), "Point2D:ab");
}

TEST_F(ScriptTest, PrivateGlobalsFallBackToSharedAndWritesStayPrivate) {
  Run(main_, "SharedValue = 7");
  LuaScript* a = LuaScript::Create();
  LuaScript* b = LuaScript::Create();
  a->Load(WriteScript("a.lua", "Mine = SharedValue + 1\nSharedValue = 100\n_G.Published = 'yes'\n").c_str());
  b->Load(WriteScript("b.lua", "Seen = tostring(Mine)\n").c_str());
  ASSERT_FALSE(a->IsEmpty());
  EXPECT_EQ(GlobalAsString(a->GetThread(), "Mine"), "8");
  EXPECT_EQ(GlobalAsString(a->GetThread(), "SharedValue"), "100");  // its private copy
  EXPECT_EQ(GlobalAsString(b->GetThread(), "SharedValue"), "7");    // the shared one is untouched
  EXPECT_EQ(GlobalAsString(b->GetThread(), "Seen"), "nil");
  EXPECT_EQ(GlobalAsString(main_, "Mine"), "nil");
  EXPECT_EQ(GlobalAsString(b->GetThread(), "Published"), "yes");  // written through _G on purpose
  EXPECT_EQ(LuaScript::FindByThread(a->GetThread()), a);
  EXPECT_EQ(LuaScript::FindByThread(b->GetThread()), b);
}

TEST_F(ScriptTest, OneCompilePerPathReusedBySecondScript) {
  std::string path = WriteScript("shared.lua",
                                 "Counter = (Counter or 0) + 1\n_G.Runs = (_G.Runs or 0) + 1\n"
                                 "function Version() return 'first' end\n");
  LuaScript* first = LuaScript::Create();
  first->Load(path.c_str());
  ASSERT_FALSE(first->GetCompiledChunk().empty());
  // Changing the file proves the second script never reads it.
  TestSupport::WriteWholeFile(path, "function Version() return 'second' end\n");

  std::string windowsStyle = path;
  for (char& c : windowsStyle) c = c == '/' ? '\\' : c;
  LuaScript* found = LuaScript::FindByPath(windowsStyle.c_str());
  ASSERT_EQ(found, first);
  LuaScript* second = LuaScript::Create();
  EXPECT_TRUE(second->IsEmpty());
  second->LoadCompiled(*found);
  EXPECT_FALSE(second->IsEmpty());
  EXPECT_EQ(second->GetCompiledChunk(), first->GetCompiledChunk());
  EXPECT_TRUE(second->GetPath().empty());

  lua_State* thread = second->GetThread();
  lua_getglobal(thread, "Version");
  ASSERT_TRUE(Lua::ProtectedCall(thread, 0, 1));
  EXPECT_STREQ(lua_tostring(thread, -1), "first");
  lua_pop(thread, 1);
  EXPECT_EQ(GlobalAsString(first->GetThread(), "Counter"), "1");
  EXPECT_EQ(GlobalAsString(second->GetThread(), "Counter"), "1");
  EXPECT_EQ(GlobalAsString(main_, "Runs"), "2");

  // The copy stays usable after the original goes.
  LuaScript::Destroy(first);
  EXPECT_EQ(LuaScript::FindByPath(path.c_str()), nullptr);
  LuaScript* third = LuaScript::Create();
  third->LoadCompiled(*second);
  EXPECT_EQ(GlobalAsString(third->GetThread(), "Counter"), "1");
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(ScriptTest, CompileErrorShowsScriptErrorAndRequestsQuit) {
  std::string path = WriteScript("broken.lua", "function Update()\n  local x = \nend\n");
  LuaScript* script = LuaScript::Create();
  script->Load(path.c_str());
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].caption, "Script Error");
  EXPECT_EQ(boxes_[0].icon, PAL::MessageBoxIcon::Error);
  EXPECT_NE(boxes_[0].text.find("broken.lua:3"), std::string::npos) << boxes_[0].text;
  EXPECT_EQ(quitRequests_, 1);
  EXPECT_TRUE(Lua::IsQuitRequested());
  EXPECT_TRUE(script->IsEmpty());
  EXPECT_EQ(lua_gettop(script->GetThread()), 0);

  // A second object naming the same broken file gets nothing to run, and nothing crashes.
  LuaScript* again = LuaScript::Create();
  again->LoadCompiled(*LuaScript::FindByPath(path.c_str()));
  EXPECT_TRUE(again->IsEmpty());
}

TEST_F(ScriptTest, UnreadableScriptsReportScriptError) {
  LuaScript* missing = LuaScript::Create();
  missing->Load((directory_ + "/nothing_here.lua").c_str());
  LuaScript* folder = LuaScript::Create();
  folder->Load(directory_.c_str());
  LuaScript* binary = LuaScript::Create();
  binary->Load(WriteScript("binary.lua", std::string("\x1bLua\x51\x00garbage", 12)).c_str());
  LuaScript* empty = LuaScript::Create();
  empty->Load(WriteScript("empty.lua", "").c_str());
  LuaScript* shebang = LuaScript::Create();
  shebang->Load(WriteScript("shebang.lua", "#!/usr/bin/lua\nValue = 3\n").c_str());

  ASSERT_EQ(boxes_.size(), 3u);
  EXPECT_NE(boxes_[0].text.find("cannot open"), std::string::npos) << boxes_[0].text;
  EXPECT_NE(boxes_[2].text.find("precompiled"), std::string::npos) << boxes_[2].text;
  EXPECT_EQ(quitRequests_, 3);
  EXPECT_TRUE(missing->IsEmpty());
  EXPECT_TRUE(folder->IsEmpty());
  EXPECT_TRUE(binary->IsEmpty());
  EXPECT_FALSE(empty->IsEmpty());
  EXPECT_EQ(GlobalAsString(shebang->GetThread(), "Value"), "3");

  LuaScript* nothing = LuaScript::Create();
  nothing->Load(nullptr);
  EXPECT_TRUE(nothing->IsEmpty());
}

TEST_F(ScriptTest, RuntimeErrorsDoNotCrashAndKeepTheirTraceback) {
  LuaScript* script = LuaScript::Create();
  script->Load(WriteScript("fails.lua",
                           "function Helper() error('boom') end\n"
                           "function Update() local t = nil; return t.field end\n"
                           "Helper()\n")
                   .c_str());
  EXPECT_FALSE(script->IsEmpty());
  EXPECT_NE(script->GetLastError().find("boom"), std::string::npos);
  EXPECT_NE(script->GetLastError().find("stack traceback"), std::string::npos);
  EXPECT_NE(script->GetLastError().find("fails.lua:1"), std::string::npos) << script->GetLastError();
  EXPECT_TRUE(boxes_.empty());
  EXPECT_EQ(quitRequests_, 0);

  // Functions defined before the error still run; their errors are results, not crashes.
  lua_State* thread = script->GetThread();
  lua_getglobal(thread, "Update");
  std::string error;
  EXPECT_FALSE(Lua::ProtectedCall(thread, 0, 0, &error));
  EXPECT_NE(error.find("attempt to index"), std::string::npos) << error;
  EXPECT_EQ(lua_gettop(thread), 0);
  lua_pushnil(thread);
  EXPECT_FALSE(Lua::ProtectedCall(thread, 0, 0, &error));
  EXPECT_EQ(lua_gettop(thread), 0);
  lua_pushstring(thread, "not a function");
  lua_pushinteger(thread, 1);
  EXPECT_FALSE(Lua::ProtectedCall(thread, 5, 0, &error));  // more arguments than values

  // Non-string error objects still give a message.
  EXPECT_NE(RunExpectingError(thread, "error({})").find("table value"), std::string::npos);
  EXPECT_EQ(lua_gettop(thread), 2);
  lua_settop(thread, 0);
}

TEST_F(ScriptTest, HandlerFailuresBecomeScriptErrorsAfterUnwinding) {
  Core::Object object;
  object.AddReference();  // never released by the test's pushes
  Lua::PushPointer(main_, &object, "ScriptTestObject");
  lua_setglobal(main_, "probe");

  g_guardsDestroyed = 0;
  std::string error = RunExpectingError(main_, "probe:Throw()");
  EXPECT_NE(error.find("Throw: the handler failed"), std::string::npos) << error;
  EXPECT_EQ(g_guardsDestroyed, 1);

  error = RunExpectingError(main_, "probe:Raise()");
  EXPECT_NE(error.find("raised with a guard alive"), std::string::npos) << error;
  EXPECT_EQ(g_guardsDestroyed, 2);

  // The checked self getter refuses anything that is not its class.
  error = RunExpectingError(main_, "local m = getmetatable(probe).__index\nm.Throw({})");
  EXPECT_NE(error.find("ScriptTestObject expected"), std::string::npos) << error;
  EXPECT_EQ(g_guardsDestroyed, 2);
  EXPECT_EQ(lua_gettop(main_), 0);

  // A userdata whose object is gone is refused too.
  Lua::PushPointer(main_, nullptr, "ScriptTestObject");
  lua_setglobal(main_, "gone");
  error = RunExpectingError(main_, "gone:Throw()");
  EXPECT_NE(error.find("no longer exists"), std::string::npos) << error;
}

TEST_F(ScriptTest, UnprotectedErrorsThrowInsteadOfEndingTheProcess) {
  LuaScript* script = LuaScript::Create();
  lua_State* thread = script->GetThread();
  lua_pushstring(thread, "not a table");
  lua_newtable(thread);
  lua_pushstring(thread, "text");
  lua_setfield(thread, -2, "X");
  EXPECT_THROW(LuaScript::ToVector2D(thread, -1), Lua::PanicError);
  lua_settop(thread, 0);
  // The thread keeps working.
  Run(thread, "Later = 1");
  EXPECT_EQ(GlobalAsString(thread, "Later"), "1");
}

TEST_F(ScriptTest, ThousandsOfScriptsLeaveNothingBehind) {
  const int mainTop = lua_gettop(main_);
  lua_gc(main_, LUA_GCCOLLECT, 0);
  std::string path = WriteScript("tiny.lua", "function Update() return 1 end\n");
  LuaScript* source = LuaScript::Create();
  source->Load(path.c_str());

  int danglingEntries = 0;
  auto churn = [&](int count) {
    for (int i = 0; i < count; ++i) {
      LuaScript* script = LuaScript::Create();
      script->LoadCompiled(*source);
      lua_State* thread = script->GetThread();
      LuaScript::Destroy(script);
      // Its globals entry is gone with it.
      lua_pushlightuserdata(main_, thread);
      lua_rawget(main_, LUA_GLOBALSINDEX);
      if (!lua_isnil(main_, -1)) ++danglingEntries;
      lua_pop(main_, 1);
    }
    lua_gc(main_, LUA_GCCOLLECT, 0);
    return lua_gc(main_, LUA_GCCOUNT, 0);
  };
  int afterFew = churn(200);
  int afterMany = churn(5000);
  EXPECT_EQ(danglingEntries, 0);
  EXPECT_EQ(lua_gettop(main_), mainTop);
  EXPECT_EQ(LuaScript::GetScriptCount(), 1u);
  // The threads themselves were collected: memory does not grow with the number of scripts.
  EXPECT_LT(afterMany, afterFew + 64) << "KB in use after 200: " << afterFew << ", after 5200: " << afterMany;

  // Destroying twice, or destroying something never created, is ignored.
  LuaScript::Destroy(source);
  LuaScript::Destroy(source);
  LuaScript::Destroy(nullptr);
  EXPECT_EQ(LuaScript::GetScriptCount(), 0u);
}

TEST_F(ScriptTest, ScriptDestroyingItselfWhileRunningIsSafe) {
  lua_pushcfunction(main_, &DestroyOwnScript);
  lua_setglobal(main_, "DestroyMe");
  std::string path = WriteScript("suicide.lua",
                                 "function Update()\n  DestroyMe()\n  collectgarbage('collect')\n"
                                 "  local t = {} for i = 1, 1000 do t[i] = {i} end\n  return #t\nend\n");
  LuaScript* script = LuaScript::Create();
  script->Load(path.c_str());
  lua_State* thread = script->GetThread();
  lua_getglobal(thread, "Update");
  ASSERT_TRUE(Lua::ProtectedCall(thread, 0, 1));
  EXPECT_EQ(lua_tointeger(thread, -1), 1000);  // the thread outlived its script until the call ended
  EXPECT_EQ(LuaScript::GetScriptCount(), 0u);
  lua_gc(main_, LUA_GCCOLLECT, 0);
}

TEST_F(ScriptTest, ScriptDestroyedFromAnotherScriptWhileSuspendedIsSafe) {
  lua_register(main_, "DestroyVictim", &DestroyVictim);
  lua_register(main_, "CallOther", &CallOther);
  LuaScript* victim = LuaScript::Create();
  LuaScript* other = LuaScript::Create();
  g_victim = victim;
  g_otherThread = other->GetThread();
  victim->Load(WriteScript("victim.lua",
                           "function Update()\n  local before = {1, 2, 3}\n  CallOther()\n"
                           "  local t = {} for i = 1, 1000 do t[i] = {i} end\n  return #t + #before\nend\n")
                   .c_str());
  other->Load(WriteScript("other.lua",
                          "function Work()\n  DestroyVictim()\n"
                          "  for i = 1, 3 do collectgarbage('collect') end\nend\n")
                  .c_str());
  lua_State* thread = victim->GetThread();
  lua_getglobal(thread, "Update");
  ASSERT_TRUE(Lua::ProtectedCall(thread, 0, 1));
  EXPECT_EQ(lua_tointeger(thread, -1), 1003);  // its thread outlived its script until the call ended
  EXPECT_EQ(LuaScript::GetScriptCount(), 1u);
  lua_gc(main_, LUA_GCCOLLECT, 0);
}

TEST_F(ScriptTest, ShutdownDestroysRemainingScriptsAndInitializeStartsAgain) {
  LuaScript::Create()->Load(WriteScript("x.lua", "X = 1").c_str());
  LuaScript::Create();
  EXPECT_EQ(LuaScript::GetScriptCount(), 2u);
  Lua::Shutdown();
  EXPECT_EQ(LuaScript::GetScriptCount(), 0u);
  EXPECT_EQ(Lua::GetMainState(), nullptr);
  // Without a main state a script is inert.
  LuaScript* inert = LuaScript::Create();
  inert->Load(WriteScript("y.lua", "Y = 1").c_str());
  EXPECT_TRUE(inert->IsEmpty());
  EXPECT_EQ(inert->GetThread(), nullptr);
  LuaScript::Destroy(inert);

  ASSERT_TRUE(Lua::Initialize());
  main_ = Lua::GetMainState();
  Run(main_, "assert(CreatePoint().className == 'Point2D')");
}

TEST_F(ScriptTest, ValueTablesRoundTripAndToColorKeepsTheStackBalanced) {
  lua_State* state = main_;
  int index = LuaScript::PushColor(state, 0.25f, 0.5f, 0.75f, 1.0f);
  EXPECT_EQ(index, lua_gettop(state));
  lua_pushinteger(state, 99);  // the colour is now at -2
  for (int i = 0; i < 1000; ++i) {
    Math::Color color = LuaScript::ToColor(state, -2);
    ASSERT_EQ(color, Math::Color(0.25f, 0.5f, 0.75f, 1.0f));
  }
  EXPECT_EQ(lua_gettop(state), 2);
  EXPECT_EQ(LuaScript::ToColor(state, -1), Math::Color(0.0f, 0.0f, 0.0f, 1.0f));
  EXPECT_EQ(LuaScript::ToColor(state, index), Math::Color(0.25f, 0.5f, 0.75f, 1.0f));
  lua_getfield(state, index, "className");
  EXPECT_STREQ(lua_tostring(state, -1), "Color");
  lua_settop(state, 0);

  int point = LuaScript::PushPoint2D(state, 3.5f, -2.0f);
  int vector = LuaScript::PushVector2D(state, -1.0f, 0.5f);
  EXPECT_EQ(point, 1);
  EXPECT_EQ(vector, 2);
  EXPECT_EQ(LuaScript::ToPoint2D(state, point), Math::Vector2D(3.5f, -2.0f));
  EXPECT_EQ(LuaScript::ToVector2D(state, -1), Math::Vector2D(-1.0f, 0.5f));
  lua_pushboolean(state, 1);
  EXPECT_EQ(LuaScript::ToVector2D(state, -1), Math::Vector2D(0.0f, 0.0f));
  EXPECT_EQ(lua_gettop(state), 3);
  lua_settop(state, 0);

  // A missing field is a script error, raised inside the protected call.
  lua_pushcfunction(state, [](lua_State* L) {
    lua_newtable(L);
    LuaScript::ToColor(L, -1);
    return 0;
  });
  std::string error;
  EXPECT_FALSE(Lua::ProtectedCall(state, 0, 0, &error));
  EXPECT_NE(error.find("\"R\" must be a number"), std::string::npos) << error;
}

TEST_F(ScriptTest, ValueTablesSurviveABrokenConstructor) {
  Run(main_, "CreatePoint = function() error('broken') end\nCreateVector = 5");
  int point = LuaScript::PushPoint2D(main_, 1.0f, 2.0f);
  int vector = LuaScript::PushVector2D(main_, 3.0f, 4.0f);
  EXPECT_EQ(lua_gettop(main_), 2);
  EXPECT_EQ(LuaScript::ToPoint2D(main_, point), Math::Vector2D(1.0f, 2.0f));
  EXPECT_EQ(LuaScript::ToVector2D(main_, vector), Math::Vector2D(3.0f, 4.0f));
  lua_getfield(main_, point, "className");
  EXPECT_STREQ(lua_tostring(main_, -1), "Point2D");
  lua_settop(main_, 0);
}

TEST_F(ScriptTest, PropertyFieldHandlersUseTheAssignedValue) {
  struct Fields {
    float speed = 1.5f;
    std::uint8_t visible = 0;
    std::int32_t lives = -3;
    std::uint32_t score = 4000000000u;
  } fields;
  lua_State* state = main_;
  EXPECT_EQ(Lua::GetFloatField(state, &fields.speed), 1);
  EXPECT_EQ(Lua::GetBoolField(state, &fields.visible), 1);
  EXPECT_EQ(Lua::GetIntegerField(state, &fields.lives), 1);
  EXPECT_EQ(Lua::GetUnsignedField(state, &fields.score), 1);
  EXPECT_EQ(lua_tonumber(state, 1), 1.5);
  EXPECT_FALSE(lua_toboolean(state, 2));
  EXPECT_EQ(lua_tointeger(state, 3), -3);
  EXPECT_EQ(lua_tointeger(state, 4), 4000000000LL);
  lua_settop(state, 0);

  // object, key, value: the setters read index 3.
  lua_pushnil(state);
  lua_pushstring(state, "key");
  lua_pushnumber(state, 2.25);
  EXPECT_EQ(Lua::SetFloatField(state, &fields.speed), 0);
  EXPECT_EQ(Lua::SetIntegerField(state, &fields.lives), 0);
  EXPECT_EQ(Lua::SetUnsignedField(state, &fields.score), 0);
  EXPECT_EQ(Lua::SetBoolField(state, &fields.visible), 0);
  EXPECT_EQ(fields.speed, 2.25f);
  EXPECT_EQ(fields.lives, 2);
  EXPECT_EQ(fields.score, 2u);
  EXPECT_EQ(fields.visible, 1);
  lua_settop(state, 0);
}
