#include "tests/script/ScriptTestSupport.h"

#include "script/Lua_Script.h"
#include "script/Lua_ScriptEngine.h"
#include "tests/support/TestSupport.h"

void ScriptTest::SetUp() {
  PAL::SetMessageBoxHook([this](const PAL::MessageBoxRequest& request, std::uint32_t& answer) {
    boxes_.push_back(request);
    answer = PAL::MessageBoxButton::OK;
    return true;
  });
  Lua::SetQuitRequestHandler([this] { ++quitRequests_; });
  std::string error;
  ASSERT_TRUE(Lua::Initialize(&error)) << error;
  main_ = Lua::GetMainState();
}

void ScriptTest::TearDown() {
  Lua::Shutdown();
  Lua::SetQuitRequestHandler(nullptr);
  PAL::SetMessageBoxHook(nullptr);
}

std::string ScriptTest::WriteScript(const std::string& name, const std::string& source) {
  return folder_.Write(name, source);
}

void ScriptTest::Run(lua_State* state, const std::string& source, int results) {
  ASSERT_EQ(luaL_loadbuffer(state, source.data(), source.size(), "=test"), 0) << lua_tostring(state, -1);
  std::string error;
  ASSERT_TRUE(Lua::ProtectedCall(state, 0, results, &error)) << error;
}

std::string ScriptTest::RunExpectingError(lua_State* state, const std::string& source) {
  if (luaL_loadbuffer(state, source.data(), source.size(), "=test") != 0) {
    std::string error = lua_tostring(state, -1);
    lua_pop(state, 1);
    return error;
  }
  std::string error;
  Lua::ProtectedCall(state, 0, 0, &error);
  return error;
}
