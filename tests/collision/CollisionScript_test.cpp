// Contact tables, rectangles and collision shapes as scripts see them, in a real main Lua state.
#include <gtest/gtest.h>

#include <string>

#include <lua.hpp>

#include "collision/Collision_Actor.h"
#include "collision/Collision_ContactScript.h"
#include "collision/Collision_Contacts.h"
#include "collision/Collision_Shapes.h"
#include "script/Lua_ScriptEngine.h"
#include "tests/collision/MainLuaState.h"

using namespace Collision2D;
using Math::Vector2D;

namespace {

class CollisionScriptTest : public CollisionTest::WithMainLuaState<> {
 protected:
  void SetGlobalFromTop(const char* name) { lua_setglobal(state_, name); }
};

}  // namespace

TEST_F(CollisionScriptTest, ShapeContactTable) {
  CIR_C record;
  record.id = 0xFFFFFFFEu;  // read back as a signed number
  record.contactPosition = Vector2D(1, 2);
  record.contactPoint[0] = Vector2D(5, 6);
  record.normal[3] = Vector2D(0, -1);
  record.numberOfIntersectedPoints = 1;
  record.userId = 0xFFFFFFFFu;
  record.myCircleUserId[0] = 8;
  const int top = lua_gettop(state_);
  const int index = PushCIR_C(state_, &record);
  EXPECT_EQ(index, top + 1);
  EXPECT_EQ(lua_gettop(state_), top + 1) << "only the record table stays on the stack";
  SetGlobalFromTop("contact");
  Run(R"lua(
    assert(contact.className == "CIR_C")
    assert(contact.id == -2, "id is signed: " .. tostring(contact.id))
    assert(contact.contactPosition.className == "Point2D" and contact.contactPosition.Y == 2)
    assert(#contact.contactPoint == 4, "all four points whatever the count")
    assert(contact.contactPoint[1].X == 5 and contact.contactPoint[1].className == "Point2D")
    assert(contact.normal[4].Y == -1 and contact.normal[4].className == "Vector2D")
    assert(contact.numberOfIntersectedPoints == 1)
    assert(contact.userId == 4294967295, "userId is unsigned")
    assert(contact.myCircleUserId[1] == 8 and contact.myCircleUserId[2] == 192038273)
    assert(contact.myLineSegmentUserId[4] == 192038273)
  )lua");
  EXPECT_EQ(PushLNS_C(state_, nullptr), -1);
  EXPECT_EQ(lua_gettop(state_), top) << "a null record pushes nothing";
}

TEST_F(CollisionScriptTest, DynamicObjectAndRectangleTables) {
  DGEO_C dgeo;
  dgeo.CurrentLineSegment().userId = 3;
  dgeo.NextLineSegment();
  const int top = lua_gettop(state_);
  PushDGEO_C(state_, &dgeo);
  EXPECT_EQ(lua_gettop(state_), top + 1);
  SetGlobalFromTop("dgeo");
  BRECT_C brect;
  brect.id = 12;
  brect.rectangleIntersection = QlnRect(4, 1, 3, 2);
  brect.contactOrientation = 45;
  PushBRECT_C(state_, &brect);
  SetGlobalFromTop("brect");
  Run(R"lua(
    assert(#dgeo.lineSegments == 5 and #dgeo.circles == 5, "every allocated entry")
    assert(dgeo.lineSegments[1].className == "LNS_C" and dgeo.lineSegments[1].userId == 3)
    assert(dgeo.circles[5].className == "CIR_C")
    assert(dgeo.currentLineSegmentsNumber == 1 and dgeo.currentCirclesNumber == 0)
    assert(dgeo.deltaBuffer == 5 and dgeo.buffer_LineSegments == 5 and dgeo.buffer_Circles == 5)
    assert(brect.id == 12 and brect.contactOrientation == 45)
    local r = brect.rectangleIntersection
    assert(r.top == 4 and r.left == 1 and r.right == 3 and r.bottom == 2)
  )lua");
}

TEST_F(CollisionScriptTest, TileMapTables) {
  TMAP_C tmap;
  tmap.AddStaticEntry(3, 10, 11, 2, 1);
  TMAP_DATA entry;
  entry.id = 7;
  entry.position = Vector2D(8, 9);
  entry.normal = Vector2D(1, 0);
  entry.zAngle = 30;
  tmap.AddNewEntry(entry);
  PushTMAP_C(state_, &tmap);
  SetGlobalFromTop("tmap");
  Run(R"lua(
    assert(tmap.className == "TMAP_C")
    assert(tmap.currentStaticIdsNumber == 1 and tmap.currentNewIdsNumber == 1)
    assert(#tmap.staticEntries == 20 and #tmap.newEntries == 20)
    local s = tmap.staticEntries[1]
    assert(s.className == "TMAP_DATA_BASE" and s.id == 3 and s.cellX == 10 and s.cellY == 11)
    assert(s.collisionSide == 2 and s.hotSpotIndex == 1)
    local n = tmap.newEntries[1]
    assert(n.className == "TMAP_DATA" and n.id == 7 and n.position.X == 8 and n.normal.className == "Vector2D")
    assert(n.zAngle == 30)
  )lua");
}

TEST_F(CollisionScriptTest, BrokenScriptConstructorsStillGiveTables) {
  Run(R"lua(
    CreateCIR_C = function() error("broken") end
    CreateArrayTable = nil
  )lua");
  CIR_C record;
  record.myCircleUserId[1] = 4;
  const int top = lua_gettop(state_);
  PushCIR_C(state_, &record);
  EXPECT_EQ(lua_gettop(state_), top + 1);
  SetGlobalFromTop("contact");
  Run(R"lua(
    assert(type(contact) == "table" and contact.myCircleUserId[2] == 4)
  )lua");
}

TEST_F(CollisionScriptTest, RectangleUserdataOwnsItsValue) {
  {
    QlnRect rectangle(4, -1, 3, -2);
    rectangle.PushToLua(state_);
    SetGlobalFromTop("rect");
  }  // the C++ rectangle is gone; the script's value must not be
  CollisionFrame frame;
  frame.PushToLua(state_);
  SetGlobalFromTop("frame");
  Run(R"lua(
    assert(rect.top == 4 and rect.left == -1 and rect.right == 3 and rect.bottom == -2)
    rect.top = 10
    assert(rect.top == 10)
    assert(not pcall(function() rect.width = 3 end), "unknown fields are refused")
    frame:SetBoundingRectangle(rect)
    frame:SetBoundingRectangle(42)  -- not a rectangle: nothing happens
    local point = CreatePoint(); point.X = 1; point.Y = 2
    local other = CreatePoint(); other.X = 3; other.Y = 4
    frame:AddCollisionData(point, other, 5, true)
    frame:AddCollisionData(point, 2.5, 6, false)
    frame:AddCollisionData(point, true)
    frame:AddCollisionData(point)
  )lua");
  EXPECT_EQ(frame.GetBoundingRectangle(NoFlip), QlnRect(10, -1, 3, -2));
  EXPECT_EQ(frame.GetBoundingRectangle(HFlip), QlnRect(10, -3, 1, -2));
  ASSERT_EQ(frame.GetLineSegments().size(), 1u);
  EXPECT_EQ(frame.GetLineSegments()[0]->GetUserId(), 5u);
  EXPECT_EQ(frame.GetLineSegments()[0]->GetVariant(HFlip).pointA, Vector2D(-3, 4));
  ASSERT_EQ(frame.GetCircles().size(), 1u);
  EXPECT_EQ(frame.GetCircles()[0]->GetVariant(HFlip).center, Vector2D(1, 2)) << "no flips asked";
  EXPECT_EQ(frame.GetCircles()[0]->GetVariant(NoFlip).radius, 2.5f);
  ASSERT_EQ(frame.GetHotSpots().size(), 1u);
  EXPECT_EQ(frame.GetHotSpots()[0]->GetVariant(VFlip), Vector2D(1, -2));
}

TEST_F(CollisionScriptTest, ShapeFieldsAndMethods) {
  DynamicCollisionCircle circle;
  circle.PushToLua(state_);
  SetGlobalFromTop("circle");
  DynamicCollisionHotSpot spot;
  spot.PushToLua(state_);
  SetGlobalFromTop("spot");
  ResetStaticShapeCounters();
  StaticCollisionLineSegment segment;
  segment.PushToLua(state_);
  SetGlobalFromTop("segment");
  Math::LineSegment2D source(Vector2D(1, 1), Vector2D(2, 2));
  source.PushToLua(state_);
  SetGlobalFromTop("source");
  Run(R"lua(
    circle:SetUserId(4294967295)
    assert(circle:GetUserId() == 4294967295)
    local variant = circle.circleHFlip
    variant:SetRadius(7)
    local v = CreateVector(); v.X = 3; v.Y = 4
    spot:SetHotSpotVFlip(v)
    assert(spot:GetHotSpotVFlip().Y == 4 and spot:GetHotSpotNoFlip().X == 0)
    assert(segment:GetLineSegment() == nil and segment.lineSegment == nil)
    segment:SetLineSegment(source)
    assert(segment:GetLineSegment():GetPointB().X == 2)
    segment:SetZCollision(300.7)
    assert(segment:GetZ_Collision() == 44, "truncated to a byte")
    assert(segment:GetId() == 1)
  )lua");
  EXPECT_EQ(circle.GetUserId(), 0xFFFFFFFFu);
  EXPECT_EQ(circle.GetVariant(HFlip).radius, 7);
  EXPECT_EQ(spot.GetVariant(VFlip), Vector2D(3, 4));
  ASSERT_NE(segment.GetLineSegment(), nullptr);
  EXPECT_NE(segment.GetLineSegment(), &source) << "the script's shape is copied, not adopted";
  EXPECT_EQ(segment.GetZCollision(), 44);
}
