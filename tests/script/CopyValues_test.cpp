#include <cstring>
#include <string>

#include "math/Math_Geometry2D.h"
#include "script/Lua_MethodTable.h"
#include "script/Lua_Script.h"
#include "script/Lua_ScriptEngine.h"
#include "tests/script/ScriptTestSupport.h"

namespace {

class CopyValuesTest : public ScriptTest {
 protected:
  void SetUp() override {
    ScriptTest::SetUp();
    from_ = LuaScript::Create()->GetThread();
    to_ = LuaScript::Create()->GetThread();
  }
  lua_State* from_ = nullptr;
  lua_State* to_ = nullptr;
};

// A Core::Object that remembers being pushed again (what happens across Lua universes).
class CountingObject : public Core::Object {
 public:
  int PushToLua(lua_State* state) override {
    ++pushes;
    return Core::PushObjectToLua(state, this, "Object");
  }
  int pushes = 0;
};

}  // namespace

TEST_F(CopyValuesTest, EveryValueKindAcrossTwoThreads) {
  static int marker = 0;
  Core::Object object;
  Math::LineSegment2D segment(Math::Vector2D(1, 2), Math::Vector2D(3, 4));

  lua_pushstring(from_, "FunctionName");  // what skip passes over
  lua_pushinteger(from_, 1);
  lua_pushnil(from_);                                   // 3: copied
  lua_pushboolean(from_, 1);                            // 4: copied
  lua_pushlightuserdata(from_, &marker);                // 5: copied
  lua_pushnumber(from_, 2.5);                           // 6: copied
  lua_pushlstring(from_, "a\0b", 3);                    // 7: copied with its zero byte
  LuaScript::PushPoint2D(from_, 1.0f, 2.0f);            // 8: rebuilt
  LuaScript::PushVector2D(from_, -3.0f, 4.0f);          // 9: rebuilt
  LuaScript::PushColor(from_, 0.1f, 0.2f, 0.3f, 0.4f);  // 10: rebuilt
  lua_newtable(from_);                                  // 11: skipped, no className
  lua_pushcfunction(from_, [](lua_State*) { return 0; });  // 12: skipped
  object.PushToLua(from_);                              // 13: copied (engine object)
  segment.PushToLua(from_);                             // 14: copied (engine shape)
  lua_newuserdata(from_, sizeof(void*));                // 15: skipped, foreign (no metatable)
  *static_cast<void**>(lua_touserdata(from_, -1)) = &object;
  lua_newuserdata(from_, sizeof(void*));                // 16: skipped, a script-made metatable
  *static_cast<void**>(lua_touserdata(from_, -1)) = &object;
  lua_newtable(from_);
  lua_pushvalue(from_, -1);
  lua_setfield(from_, -2, "__index");
  lua_setmetatable(from_, -2);
  Lua::PushPointer(from_, nullptr, "LineSegment2D");     // 17: skipped, holds null
  lua_newthread(from_);                                 // 18: skipped
  const int fromTop = lua_gettop(from_);

  int pushed = LuaScript::CopyValues(from_, to_, 1, 0);
  ASSERT_EQ(pushed, 10);
  ASSERT_EQ(lua_gettop(to_), 10);
  EXPECT_EQ(lua_gettop(from_), fromTop);  // the source is left as it was

  EXPECT_TRUE(lua_isnil(to_, 1));
  EXPECT_TRUE(lua_isboolean(to_, 2) && lua_toboolean(to_, 2));
  EXPECT_EQ(lua_touserdata(to_, 3), &marker);
  EXPECT_EQ(lua_tonumber(to_, 4), 2.5);
  std::size_t length = 0;
  const char* text = lua_tolstring(to_, 5, &length);
  ASSERT_EQ(length, 3u);
  EXPECT_EQ(std::memcmp(text, "a\0b", 3), 0);
  EXPECT_EQ(LuaScript::ToPoint2D(to_, 6), Math::Vector2D(1.0f, 2.0f));
  EXPECT_EQ(LuaScript::ToVector2D(to_, 7), Math::Vector2D(-3.0f, 4.0f));
  EXPECT_EQ(LuaScript::ToColor(to_, 8), Math::Color(0.1f, 0.2f, 0.3f, 0.4f));
  EXPECT_FALSE(lua_rawequal(to_, 6, 8)) << "a new table, not the source's";
  lua_getfield(to_, 7, "className");
  EXPECT_STREQ(lua_tostring(to_, -1), "Vector2D");
  lua_pop(to_, 1);
  EXPECT_EQ(Lua::ToUserdata(to_, 9, "Object"), &object);
  EXPECT_EQ(Lua::ToUserdata(to_, 10, "LineSegment2D"), &segment);

  // The copies belong to the target: its script methods see the same shape.
  lua_setglobal(to_, "copied");
  Run(to_, "local a = copied:GetPointA()\nassert(a.className == 'Point2D' and a.X == 1 and a.Y == 2)");
}

TEST_F(CopyValuesTest, SkipAndCountChooseTheValues) {
  lua_pushinteger(from_, 1);
  EXPECT_EQ(LuaScript::CopyValues(from_, to_, 1, 0), 0);  // a stack of one value copies nothing
  lua_pushinteger(from_, 2);
  EXPECT_EQ(LuaScript::CopyValues(from_, to_, 1, 0), 0);  // nothing after the first two
  lua_pushinteger(from_, 3);
  lua_pushinteger(from_, 4);
  EXPECT_EQ(LuaScript::CopyValues(from_, to_, 0, 0), 0);
  EXPECT_EQ(LuaScript::CopyValues(from_, to_, 0, -5), 0);
  EXPECT_EQ(lua_gettop(to_), 0);

  EXPECT_EQ(LuaScript::CopyValues(from_, to_, 1, 0), 2);
  EXPECT_EQ(lua_tointeger(to_, 1), 3);
  EXPECT_EQ(lua_tointeger(to_, 2), 4);
  lua_settop(to_, 0);
  EXPECT_EQ(LuaScript::CopyValues(from_, to_, 2, 0), 1);  // after the first three
  EXPECT_EQ(lua_tointeger(to_, 1), 4);
  lua_settop(to_, 0);
  EXPECT_EQ(LuaScript::CopyValues(from_, to_, 0xFFFFFFFFu, 0), 0);

  EXPECT_EQ(LuaScript::CopyValues(from_, to_, 0, 3), 3);  // the last three
  EXPECT_EQ(lua_tointeger(to_, 1), 2);
  lua_settop(to_, 0);
  EXPECT_EQ(LuaScript::CopyValues(from_, to_, 0, 100), 4);  // no more than there are
  EXPECT_EQ(lua_tointeger(to_, 1), 1);
  lua_settop(to_, 0);

  // A table without "className", a function and a table with a foreign class name count nothing.
  lua_settop(from_, 0);
  lua_newtable(from_);
  lua_pushcfunction(from_, [](lua_State*) { return 0; });
  lua_newtable(from_);
  lua_pushstring(from_, "Rectangle");
  lua_setfield(from_, -2, "className");
  EXPECT_EQ(LuaScript::CopyValues(from_, to_, 0, 3), 0);
  EXPECT_EQ(LuaScript::CopyValues(from_, from_, 0, 3), 0);
  EXPECT_EQ(lua_gettop(from_), 3);
  EXPECT_EQ(LuaScript::CopyValues(nullptr, to_, 0, 3), 0);
}

TEST_F(CopyValuesTest, SourceTablesAreReadRawly) {
  // A metamethod on the source table must not run while copying.
  Run(from_,
      "Source = setmetatable({ className = 'Point2D', X = 5 }, { __index = function() error('ran') end })");
  lua_getglobal(from_, "Source");
  ASSERT_EQ(LuaScript::CopyValues(from_, to_, 0, 1), 1);
  EXPECT_EQ(LuaScript::ToPoint2D(to_, 1), Math::Vector2D(5.0f, 0.0f));
}

TEST_F(CopyValuesTest, IntoAnotherLuaUniverseObjectsArePushedAgain) {
  lua_State* foreign = luaL_newstate();
  ASSERT_NE(foreign, nullptr);
  CountingObject object;
  Math::Circle2D circle(Math::Vector2D(1, 1), 4.0f);
  object.PushToLua(from_);
  circle.PushToLua(from_);
  LuaScript::PushColor(from_, 1.0f, 0.5f, 0.25f, 0.0f);
  object.pushes = 0;

  // The foreign state has no constructors: the tables are built directly.
  ASSERT_EQ(LuaScript::CopyValues(from_, foreign, 0, 3), 3);
  EXPECT_EQ(object.pushes, 1);
  EXPECT_EQ(*static_cast<Core::Object**>(lua_touserdata(foreign, 1)), &object);
  auto* copy = *static_cast<Math::Circle2D**>(lua_touserdata(foreign, 2));
  ASSERT_NE(copy, &circle);  // a copy owned by the foreign userdata
  EXPECT_EQ(copy->radius, 4.0f);
  EXPECT_EQ(LuaScript::ToColor(foreign, 3), Math::Color(1.0f, 0.5f, 0.25f, 0.0f));
  lua_close(foreign);
}
