// Script methods of "LineSegment2D".
#include "script/Lua_Bootstrap.h"
#include "script/Lua_Geometry2D.h"

namespace {

using Math::LineSegment2D;
using namespace Lua::Detail;

LineSegment2D* Self(lua_State* state) { return CheckShape<LineSegment2D>(state, 1); }

int GetPointA(lua_State* state) { return PushPoint(state, Self(state)->pointA); }

int SetPointA(lua_State* state) {
  LineSegment2D* self = Self(state);
  if (HasArgument(state)) self->pointA = LuaScript::ToPoint2D(state, kFirstArgument);
  return 0;
}

int GetPointB(lua_State* state) { return PushPoint(state, Self(state)->pointB); }

int SetPointB(lua_State* state) {
  LineSegment2D* self = Self(state);
  if (HasArgument(state)) self->pointB = LuaScript::ToPoint2D(state, kFirstArgument);
  return 0;
}

// (segment) or (point A, point B) of the other segment -> code, point, overlap segment.
int ClassifyToLineSegment(lua_State* state) {
  LineSegment2D* self = Self(state);
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

int Perpendicular(lua_State* state) {
  LineSegment2D* self = Self(state);
  if (!HasArgument(state)) return 0;
  lua_pushboolean(state, self->Perpendicular(*CheckShape<LineSegment2D>(state, kFirstArgument)));
  return 1;
}

int Parallel(lua_State* state) {
  LineSegment2D* self = Self(state);
  if (!HasArgument(state)) return 0;
  lua_pushboolean(state, self->Parallel(*CheckShape<LineSegment2D>(state, kFirstArgument)));
  return 1;
}

int Alligned(lua_State* state) {
  LineSegment2D* self = Self(state);
  if (!HasArgument(state)) return 0;
  lua_pushboolean(state, self->Alligned(*CheckShape<LineSegment2D>(state, kFirstArgument)));
  return 1;
}

int AngleBetween(lua_State* state) {
  LineSegment2D* self = Self(state);
  if (!HasArgument(state)) return 0;
  lua_pushnumber(state, self->AngleBetween(*CheckShape<LineSegment2D>(state, kFirstArgument)));
  return 1;
}

int ClassifyToCircle(lua_State* state) {
  LineSegment2D* self = Self(state);
  if (!HasArgument(state)) return 0;
  Math::Vector2D points[2];
  PushCode(state, self->ClassifyToCircle(*CheckShape<Math::Circle2D>(state, kFirstArgument), points));
  PushPoint(state, points[0]);
  PushPoint(state, points[1]);
  return 3;
}

int Tangent(lua_State* state) {
  LineSegment2D* self = Self(state);
  if (!HasArgument(state)) return 0;
  Math::Vector2D point;
  lua_pushboolean(state, self->Tangent(*CheckShape<Math::Circle2D>(state, kFirstArgument), point));
  PushPoint(state, point);
  return 2;
}

int ClassifyToRay(lua_State* state) {
  LineSegment2D* self = Self(state);
  if (!HasArgument(state)) return 0;
  Math::Vector2D point;
  LineSegment2D overlap;
  PushCode(state, self->ClassifyToRay(*CheckShape<Math::Ray2D>(state, kFirstArgument), point, overlap));
  PushPoint(state, point);
  Lua::PushCopy(state, overlap, LineSegment2D::ScriptClassName);
  return 3;
}

int ClassifyToLine(lua_State* state) {
  LineSegment2D* self = Self(state);
  if (!HasArgument(state)) return 0;
  Math::Vector2D point;
  PushCode(state, self->ClassifyToLine(*CheckShape<Math::Line2D>(state, kFirstArgument), point));
  PushPoint(state, point);
  return 2;
}

const Lua::Method kMethods[] = {
    {"GetPointA", &GetPointA},
    {"SetPointA", &SetPointA},
    {"GetPointB", &GetPointB},
    {"SetPointB", &SetPointB},
    {"ClassifyToLineSegment", &ClassifyToLineSegment},
    {"Perpendicular", &Perpendicular},
    {"Parallel", &Parallel},
    {"Alligned", &Alligned},
    {"AngleBetween", &AngleBetween},
    {"ClassifyToCircle", &ClassifyToCircle},
    {"Tangent", &Tangent},
    {"ClassifyToRay", &ClassifyToRay},
    {"ClassifyToLine", &ClassifyToLine},
};

const Lua::MethodTable g_methodTable(LineSegment2D::ScriptClassName, kMethods, &PushShapeCopy<LineSegment2D>);

}  // namespace

void Lua::Detail::LinkLineSegment2DBindings() {}
