// Script methods of "LineSegment2D".
#include "script/Lua_Bootstrap.h"
#include "script/Lua_Geometry2D.h"

namespace {

using Math::LineSegment2D;
using namespace Lua::Detail;

// (segment) or (point A, point B) of the other segment -> code, point, overlap segment.
int ClassifyToLineSegment(lua_State* state) {
  LineSegment2D* self = CheckShape<LineSegment2D>(state, 1);
  if (!HasArgument(state)) return 0;
  LineSegment2D other;
  if (HasArgument(state, 2)) {
    other = LineSegment2D(LuaScript::ToPoint2D(state, kFirstArgument), LuaScript::ToPoint2D(state, kFirstArgument + 1));
  } else {
    other = *CheckShape<LineSegment2D>(state, kFirstArgument);
  }
  Math::Vector2D point;
  LineSegment2D overlap;
  PushCode(state, self->ClassifyToLineSegment(other, point, overlap));
  PushPoint(state, point);
  Lua::PushCopy(state, overlap, LineSegment2D::ScriptClassName);
  return 3;
}

// Radians, unlike the rays' and lines' degrees.
int AngleBetween(lua_State* state) {
  LineSegment2D* self = CheckShape<LineSegment2D>(state, 1);
  if (!HasArgument(state)) return 0;
  lua_pushnumber(state, self->AngleBetween(*CheckShape<LineSegment2D>(state, kFirstArgument)));
  return 1;
}

const Lua::Method kMethods[] = {
    {"GetPointA", &GetPointField<LineSegment2D, &LineSegment2D::pointA>},
    {"SetPointA", &SetPointField<LineSegment2D, &LineSegment2D::pointA>},
    {"GetPointB", &GetPointField<LineSegment2D, &LineSegment2D::pointB>},
    {"SetPointB", &SetPointField<LineSegment2D, &LineSegment2D::pointB>},
    {"ClassifyToLineSegment", &ClassifyToLineSegment},
    {"Perpendicular", &BooleanQuery<LineSegment2D, LineSegment2D, &LineSegment2D::Perpendicular>},
    {"Parallel", &BooleanQuery<LineSegment2D, LineSegment2D, &LineSegment2D::Parallel>},
    {"Alligned", &BooleanQuery<LineSegment2D, LineSegment2D, &LineSegment2D::Alligned>},
    {"AngleBetween", &AngleBetween},
    {"ClassifyToCircle", &ClassifyWithTwoPoints<LineSegment2D, Math::Circle2D, &LineSegment2D::ClassifyToCircle>},
    {"Tangent", &Tangent<LineSegment2D>},
    {"ClassifyToRay", &ClassifyWithPointAndOverlap<LineSegment2D, Math::Ray2D, &LineSegment2D::ClassifyToRay>},
    {"ClassifyToLine", &ClassifyWithPoint<LineSegment2D, Math::Line2D, &LineSegment2D::ClassifyToLine>},
};

const Lua::MethodTable g_methodTable(LineSegment2D::ScriptClassName, kMethods, &PushShapeCopy<LineSegment2D>);

}  // namespace

void Lua::Detail::LinkLineSegment2DBindings() {}
