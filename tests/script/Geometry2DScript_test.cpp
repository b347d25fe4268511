#include <string>

#include "math/Math_Geometry2D.h"
#include "script/Lua_MethodTable.h"
#include "script/Lua_Script.h"
#include "tests/script/ScriptTestSupport.h"

namespace {

class Geometry2DScriptTest : public ScriptTest {
 protected:
  template <typename Shape>
  void Publish(const char* name, Shape& shape) {
    shape.PushToLua(main_);
    lua_setglobal(main_, name);
  }

  // Helpers every test script uses: near-equality and point checks.
  void SetUp() override {
    ScriptTest::SetUp();
    Run(main_,
        "function Near(a, b) return math.abs(a - b) < 0.001 end\n"
        "function IsPoint(p, x, y)\n"
        "  return type(p) == 'table' and p.className == 'Point2D' and Near(p.X, x) and Near(p.Y, y)\n"
        "end\n");
  }
};

}  // namespace

TEST_F(Geometry2DScriptTest, LineSegmentMethods) {
  Math::LineSegment2D horizontal(Math::Vector2D(0, 0), Math::Vector2D(10, 0));
  Math::LineSegment2D vertical(Math::Vector2D(5, -5), Math::Vector2D(5, 5));
  Math::LineSegment2D inside(Math::Vector2D(2, 0), Math::Vector2D(4, 0));
  Math::LineSegment2D across(Math::Vector2D(-5, 0), Math::Vector2D(5, 0));
  Math::Circle2D unit(Math::Vector2D(0, 0), 1.0f);
  Math::Ray2D ray(Math::Vector2D(3, -1), Math::Vector2D(0, 1));
  Math::Line2D line(Math::Vector2D(7, 0), Math::Vector2D(0, 1));
  Publish("horizontal", horizontal);
  Publish("vertical", vertical);
  Publish("inside", inside);
  Publish("across", across);
  Publish("unit", unit);
  Publish("ray", ray);
  Publish("line", line);

  Run(main_, R"lua(
    assert(IsPoint(horizontal:GetPointA(), 0, 0) and IsPoint(horizontal:GetPointB(), 10, 0))

    local code, point, overlap = horizontal:ClassifyToLineSegment(vertical)
    assert(code == 0 and IsPoint(point, 5, 0), 'crossing')
    assert(IsPoint(overlap:GetPointA(), 0, 0), 'unwritten outputs come back as zeros')

    code, point, overlap = horizontal:ClassifyToLineSegment(inside)
    assert(code == 19, 'overlap ' .. code)
    assert(IsPoint(overlap:GetPointA(), 2, 0) and IsPoint(overlap:GetPointB(), 4, 0))

    local far = CreatePoint(); far.X = 11; far.Y = -5
    local far2 = CreatePoint(); far2.X = 11; far2.Y = 5
    assert(select('#', horizontal:ClassifyToLineSegment(far, far2)) == 3)
    assert(horizontal:ClassifyToLineSegment(far, far2) == 1, 'two points name the other segment')

    assert(horizontal:Perpendicular(vertical) and not horizontal:Parallel(vertical))
    assert(horizontal:Parallel(inside) and horizontal:Alligned(inside))
    assert(Near(horizontal:AngleBetween(vertical), math.pi / 2), 'radians')

    local c, p1, p2 = across:ClassifyToCircle(unit)
    assert(c == 15 and IsPoint(p1, -1, 0) and IsPoint(p2, 1, 0))
    local touches, at = horizontal:Tangent(unit)
    assert(touches == false and IsPoint(at, 0, 0))

    code, point, overlap = horizontal:ClassifyToRay(ray)
    assert(code == 0 and IsPoint(point, 3, 0))
    code, point = horizontal:ClassifyToLine(line)
    assert(code == 0 and IsPoint(point, 7, 0))

    local a = CreatePoint(); a.X = -1; a.Y = 2
    horizontal:SetPointA(a)
    assert(IsPoint(horizontal:GetPointA(), -1, 2))
    horizontal:SetPointA()
    assert(IsPoint(horizontal:GetPointA(), -1, 2), 'no argument changes nothing')
    assert(select('#', horizontal:Parallel()) == 0, 'no argument, no result')
  )lua");
  EXPECT_EQ(horizontal.pointA, Math::Vector2D(-1, 2));  // the script changed the engine's shape
}

TEST_F(Geometry2DScriptTest, CircleMethods) {
  Math::Circle2D a(Math::Vector2D(0, 0), 1.0f);
  Math::Circle2D b(Math::Vector2D(2, 0), 1.0f);
  Math::Circle2D big(Math::Vector2D(0, 0), 3.0f);
  Math::LineSegment2D segment(Math::Vector2D(-5, 1), Math::Vector2D(5, 1));
  Publish("a", a);
  Publish("b", b);
  Publish("big", big);
  Publish("segment", segment);

  Run(main_, R"lua(
    assert(IsPoint(a:GetCenter(), 0, 0) and a:GetRadius() == 1)
    local code, p1, p2 = a:ClassifyToCircle(b)
    assert(code == 28 and IsPoint(p1, 1, 0) and IsPoint(p2, 0, 0), 'external tangency')
    assert(big:ClassifyToCircle(a) == 26 and a:ClassifyToCircle(big) == 3)
    assert(a:ClassifyToCircle(a) == 19)

    local centre = CreatePoint(); centre.X = 1; centre.Y = 0
    code, p1, p2 = a:ClassifyToCircle(centre, 1)
    assert(code == 15 and IsPoint(p1, 0.5, 0.866) and IsPoint(p2, 0.5, -0.866), 'centre and radius')

    code, p1 = a:ClassifyToLineSegment(segment)
    assert(code == 13 and IsPoint(p1, 0, 1), 'tangent segment')

    a:SetRadius(2.5)
    local moved = CreatePoint(); moved.X = 4; moved.Y = -4
    a:SetCenter(moved)
    assert(a:GetRadius() == 2.5 and IsPoint(a:GetCenter(), 4, -4))
  )lua");
  EXPECT_EQ(a.radius, 2.5f);
  EXPECT_EQ(a.center, Math::Vector2D(4, -4));
  std::string error = RunExpectingError(main_, "a:SetRadius('wide')");
  EXPECT_NE(error.find("number expected"), std::string::npos) << error;
}

TEST_F(Geometry2DScriptTest, RayAndLineMethods) {
  Math::Ray2D first(Math::Vector2D(0, 0), Math::Vector2D(1, 0));
  Math::Ray2D second(Math::Vector2D(5, 0), Math::Vector2D(1, 0));
  Math::Ray2D upward(Math::Vector2D(2, -3), Math::Vector2D(0, 1));
  Math::Line2D diagonal(Math::Vector2D(0, 0), Math::Vector2D(1, 1));
  Math::Line2D vertical(Math::Vector2D(4, 0), Math::Vector2D(0, 1));
  Math::Circle2D unit(Math::Vector2D(0, 0), 1.0f);
  Math::LineSegment2D segment(Math::Vector2D(0, -1), Math::Vector2D(0, 1));
  Publish("first", first);
  Publish("second", second);
  Publish("upward", upward);
  Publish("diagonal", diagonal);
  Publish("vertical", vertical);
  Publish("unit", unit);
  Publish("segment", segment);

  Run(main_, R"lua(
    local d = first:GetDirection()
    assert(d.className == 'Vector2D' and d.X == 1 and d.Y == 0, 'directions are vectors')
    assert(IsPoint(first:GetOrigin(), 0, 0))

    local code, point, seg, ray = first:ClassifyToRay(second)
    assert(select('#', first:ClassifyToRay(second)) == 4)
    assert(code == 23 and IsPoint(ray:GetOrigin(), 5, 0), 'collinear rays overlap in a ray ' .. code)
    code, point = first:ClassifyToRay(upward)
    assert(code == 0 and IsPoint(point, 2, 0))

    assert(first:Perpendicular(upward) and not first:Parallel(upward) and first:Parallel(second))
    assert(Near(first:AngleBetween(upward), 90), 'degrees for rays')
    assert(Near(first:AngleBetween(diagonal), 45), 'a ray against a line')

    local c, p1, p2 = first:ClassifyToCircle(unit)
    assert(c == 14 and IsPoint(p1, 1, 0), 'ray from the centre leaves once')
    code, point = first:ClassifyToLineSegment(segment)
    assert(code == 0 and IsPoint(point, 0, 0))
    code, point = first:ClassifyToLine(vertical)
    assert(code == 0 and IsPoint(point, 4, 0))

    code, point = diagonal:ClassifyToLine(vertical)
    assert(code == 0 and IsPoint(point, 4, 4))
    code, point = vertical:ClassifyToRay(first)
    assert(code == 0 and IsPoint(point, 4, 0))
    c, p1, p2 = diagonal:ClassifyToCircle(unit)
    assert(c == 0 and Near(p1.X, -math.sqrt(0.5)) and Near(p2.X, math.sqrt(0.5)), 'a line crosses twice')
    local touches, at = vertical:Tangent(unit)
    assert(touches == false)
    code, point = diagonal:ClassifyToLineSegment(segment)
    assert(code == 0 and IsPoint(point, 0, 0))
    assert(Near(vertical:AngleBetween(diagonal), 45) and Near(vertical:AngleBetween(first), 90))
    assert(not vertical:Parallel(diagonal) and vertical:Parallel(vertical))

    local dir = CreateVector(); dir.X = 0; dir.Y = -1
    upward:SetDirection(dir)
    local o = CreatePoint(); o.X = 9; o.Y = 9
    diagonal:SetPoint(o)
    assert(IsPoint(diagonal:GetPoint(), 9, 9))
  )lua");
  EXPECT_EQ(upward.direction, Math::Vector2D(0, -1));
  EXPECT_EQ(diagonal.point, Math::Vector2D(9, 9));
}

TEST_F(Geometry2DScriptTest, WrongArgumentsAreScriptErrors) {
  Math::LineSegment2D segment;
  Math::Circle2D circle;
  Publish("segment", segment);
  Publish("circle", circle);
  std::string error = RunExpectingError(main_, "segment:ClassifyToCircle(segment)");
  EXPECT_NE(error.find("Circle2D expected, got userdata"), std::string::npos) << error;
  error = RunExpectingError(main_, "segment.GetPointA(circle)");
  EXPECT_NE(error.find("LineSegment2D expected"), std::string::npos) << error;
  error = RunExpectingError(main_, "segment:Perpendicular({})");
  EXPECT_NE(error.find("LineSegment2D expected, got table"), std::string::npos) << error;
  error = RunExpectingError(main_, "local p = CreatePoint(); p.X = 'x'; segment:SetPointB(p)");
  EXPECT_NE(error.find("\"X\" must be a number"), std::string::npos) << error;
  EXPECT_EQ(lua_gettop(main_), 0);
}

TEST_F(Geometry2DScriptTest, ResultShapesAreOwnedCopies) {
  Math::LineSegment2D horizontal(Math::Vector2D(0, 0), Math::Vector2D(10, 0));
  Math::LineSegment2D inside(Math::Vector2D(2, 0), Math::Vector2D(4, 0));
  Publish("horizontal", horizontal);
  Publish("inside", inside);
  // Thousands of result shapes are collected with their userdata; each stays valid while held.
  Run(main_, R"lua(
    local kept
    for i = 1, 5000 do
      local code, point, overlap = horizontal:ClassifyToLineSegment(inside)
      if i == 1 then kept = overlap end
    end
    collectgarbage('collect')
    assert(kept:GetPointB().X == 4)
    local moved = CreatePoint(); moved.X = 7; moved.Y = 7
    kept:SetPointB(moved)
  )lua");
  EXPECT_EQ(inside.pointB, Math::Vector2D(4, 0));  // the copy, not the argument, was changed
}
