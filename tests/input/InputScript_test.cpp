#include <gtest/gtest.h>

#include <lua.hpp>

#include "input/Internal_Keyboard.h"
#include "input/Internal_Mouse.h"
#include "script/Lua_ScriptEngine.h"
#include "tests/input/FakeInputBackend.h"

TEST(InputScriptTest, ScriptsAskTheDevicesThroughTheirMethodTables) {
  TestInput::FakeInputBackend backend;
  ASSERT_TRUE(Lua::Initialize());
  lua_State* state = Lua::GetMainState();

  auto keyboard = Input::KeyboardImp::CreateInstance();
  keyboard->ClearGuard();
  backend.Hold(0x41, true);
  keyboard->Update();
  auto mouse = Input::MouseImp::CreateInstance();
  mouse->SetWindow(TestInput::FakeWindow());
  backend.cursorX = 110;
  backend.cursorY = 50;
  mouse->Reset();
  mouse->Update();
  mouse->Update();

  keyboard->PushToLua(state);
  lua_setglobal(state, "keyboard");
  mouse->PushToLua(state);
  lua_setglobal(state, "mouse");
  const char* chunk =
      "local p = mouse:GetPosition()\n"
      "return keyboard:IsPressed(53), keyboard:IsTriggered(54), keyboard:IsPressed(1e12),\n"
      "       select('#', keyboard:IsPressed()), keyboard:GetPressed(), keyboard:GetKeyAsChar(53),\n"
      "       mouse:GetPositionX(), mouse:GetPositionY(), p.X, p.Y, mouse:IsPressed(-1), mouse:IsInWindow()";
  ASSERT_EQ(luaL_dostring(state, chunk), 0) << lua_tostring(state, -1);
  ASSERT_EQ(lua_gettop(state), 12);
  EXPECT_TRUE(lua_toboolean(state, 1));
  EXPECT_FALSE(lua_toboolean(state, 2));
  EXPECT_FALSE(lua_toboolean(state, 3));
  EXPECT_EQ(lua_tointeger(state, 4), 0);  // no key argument: no result
  EXPECT_EQ(lua_tointeger(state, 5), 53);
  EXPECT_EQ(lua_tointeger(state, 6), 'a');
  EXPECT_EQ(lua_tointeger(state, 7), 10);
  EXPECT_EQ(lua_tointeger(state, 8), 479);
  EXPECT_EQ(lua_tonumber(state, 9), 10.0);
  EXPECT_EQ(lua_tonumber(state, 10), 479.0);
  EXPECT_FALSE(lua_toboolean(state, 11));
  EXPECT_TRUE(lua_toboolean(state, 12));
  lua_settop(state, 0);
  Lua::Shutdown();
}
