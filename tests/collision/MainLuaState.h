#pragma once
// A real main Lua state for the tests of the collision classes' script methods.
#include <string>

#include <gtest/gtest.h>
#include <lua.hpp>

#include "script/Lua_ScriptEngine.h"

namespace CollisionTest {

// Base is whatever else the fixture needs set up first (a layer engine), or a plain test.
template <typename Base = ::testing::Test>
class WithMainLuaState : public Base {
 protected:
  void SetUp() override {
    Base::SetUp();
    std::string error;
    ASSERT_TRUE(Lua::Initialize(&error)) << error;
    state_ = Lua::GetMainState();
    ASSERT_NE(state_, nullptr);
  }
  void TearDown() override {
    Lua::Shutdown();
    Base::TearDown();
  }

  // Runs Lua source protected; fails the test with the error when it raises.
  void Run(const std::string& source) {
    ASSERT_EQ(luaL_loadstring(state_, source.c_str()), 0) << lua_tostring(state_, -1);
    std::string error;
    EXPECT_TRUE(Lua::ProtectedCall(state_, 0, 0, &error)) << error;
  }

  lua_State* state_ = nullptr;
};

}  // namespace CollisionTest
