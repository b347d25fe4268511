#pragma once
// A real main Lua state per test, with the message box and the quit request caught.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <lua.hpp>

#include "platform/PAL_Services.h"
#include "tests/support/TestSupport.h"

class ScriptTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes a script into the test's temporary folder and returns its path.
  std::string WriteScript(const std::string& name, const std::string& source);
  // Runs Lua source in the state, protected; fails the test (with the error) when it raises.
  void Run(lua_State* state, const std::string& source, int results = 0);
  // Runs Lua source and returns the error text (empty when it did not raise).
  std::string RunExpectingError(lua_State* state, const std::string& source);

  lua_State* main_ = nullptr;
  TestSupport::ScratchFolder folder_{"velkor_script_"};
  const std::string& directory_ = folder_.Path();
  std::vector<PAL::MessageBoxRequest> boxes_;
  int quitRequests_ = 0;
};
