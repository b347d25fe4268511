// The "DynamicObject" script methods in a real main Lua state.
#include <gtest/gtest.h>

#include <string>

#include <lua.hpp>

#include "collision/Collision_DynamicObject.h"
#include "script/Lua_ScriptEngine.h"
#include "tests/collision/MainLuaState.h"
#include "tests/collision/NarrowScenes.h"

using namespace Collision2D;
using Math::Vector2D;

namespace {

using DynamicObjectScriptTest = CollisionTest::WithMainLuaState<>;

}  // namespace

TEST_F(DynamicObjectScriptTest, SettersAndGetters) {
  DynamicObject object;
  object.PushToLua(state_);
  lua_setglobal(state_, "object");
  Run("object:SetZCollision(300)");
  EXPECT_EQ(object.GetZCollision(), 44) << "low 8 bits";
  Run("object:SetZCollision(255.9)");
  EXPECT_EQ(object.GetZCollision(), 254);
  Run("object:SetCanCollid(5, true) object:SetCanCollid(255, true) "
      "assert(object:GetCanCollid(5) == true) assert(object:GetCanCollid(255) == false)");
  EXPECT_TRUE(object.GetCanCollid(5));
  Run("object:SetPosition({X = 3, Y = 4}) object:SetOrientation(30) object:SetCollisionType(true) "
      "object:SetUpdateOnIdle(true) object:SetCollisionThickness(0.5)");
  EXPECT_EQ(object.GetPosition(), Vector2D(3, 4));
  EXPECT_EQ(object.GetOrientation(), 30.0f);
  EXPECT_TRUE(object.GetCollisionType());
  EXPECT_TRUE(object.GetUpdateOnIdle());
  EXPECT_EQ(object.GetCollisionThickness(), 0.5f);
  Run("object:SetCurrentCollisionFrame(1, 2, true)");  // too few: nothing
  EXPECT_EQ(object.GetCurrentFrameIndex(), 0u);
  Run("object:SetCurrentCollisionFrame(1, 2, true, false)");
  EXPECT_EQ(object.GetCurrentAnimation(), 1u);
  EXPECT_EQ(object.GetCurrentFrameIndex(), 2u);
  EXPECT_TRUE(object.GetHFlip());
  Run("local t = object:GetLineSegments() assert(#t == 0)");
  Run("object:AddCollisionData(42) object:SetCollisionActor()");  // wrong kinds: nothing
}

TEST_F(DynamicObjectScriptTest, ActorBindingAndShapeLists) {
  auto actor = CollisionTest::MakeActor({{Vector2D(0, 0), Vector2D(1, 0), 1}}, {{Vector2D(0, 0), 2.0f, 2}},
                                        QlnRect(2, -2, 2, -2));
  DynamicObject object;
  object.PushToLua(state_);
  lua_setglobal(state_, "object");
  actor->PushToLua(state_);
  lua_setglobal(state_, "actor");
  Run("object:AddCollisionData(actor)");
  EXPECT_EQ(object.GetCollisionActor(), actor.get());
  EXPECT_EQ(object.GetOldLineSegments().size(), 1u);
  object.SetOldPosition(Vector2D(5, 0));
  object.SetPosition(Vector2D(5, 0));
  object.Update();
  Run("assert(#object:GetLineSegments() == 1) assert(#object:GetCircles() == 1) "
      "assert(#object:GetCurrentLineSegments() == 1) assert(#object:GetCurrentCircles() == 1) "
      "local r = object:GetCurrentBoundingRectangle() assert(r.left == 3 and r.right == 7)");
}
