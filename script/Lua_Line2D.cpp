// Script methods of "Line2D".
#include "script/Lua_Bootstrap.h"
#include "script/Lua_Geometry2D.h"

namespace {

using Math::Line2D;
using namespace Lua::Detail;

Line2D* Self(lua_State* state) { return CheckShape<Line2D>(state, 1); }

int GetPoint(lua_State* state) { return PushPoint(state, Self(state)->point); }

int SetPoint(lua_State* state) {
  Line2D* self = Self(state);
  if (HasArgument(state)) self->point = LuaScript::ToPoint2D(state, kFirstArgument);
  return 0;
}

int GetDirection(lua_State* state) { return PushVector(state, Self(state)->direction); }

int SetDirection(lua_State* state) {
  Line2D* self = Self(state);
  if (HasArgument(state)) self->direction = LuaScript::ToVector2D(state, kFirstArgument);
  return 0;
}

int ClassifyToLine(lua_State* state) {
  Line2D* self = Self(state);
  if (!HasArgument(state)) return 0;
  Math::Vector2D point;
  PushCode(state, self->ClassifyToLine(*CheckShape<Line2D>(state, kFirstArgument), point));
  PushPoint(state, point);
  return 2;
}

int Perpendicular(lua_State* state) {
  Line2D* self = Self(state);
  if (!HasArgument(state)) return 0;
  lua_pushboolean(state, self->Perpendicular(*CheckShape<Line2D>(state, kFirstArgument)));
  return 1;
}

int Parallel(lua_State* state) {
  Line2D* self = Self(state);
  if (!HasArgument(state)) return 0;
  lua_pushboolean(state, self->Parallel(*CheckShape<Line2D>(state, kFirstArgument)));
  return 1;
}

// A line or a ray -> degrees.
int AngleBetween(lua_State* state) {
  Line2D* self = Self(state);
  if (!HasArgument(state)) return 0;
  if (void* ray = Lua::ToUserdata(state, kFirstArgument, Math::Ray2D::ScriptClassName)) {
    lua_pushnumber(state, self->AngleBetween(*static_cast<Math::Ray2D*>(ray)));
  } else {
    lua_pushnumber(state, self->AngleBetween(*CheckShape<Line2D>(state, kFirstArgument)));
  }
  return 1;
}

int ClassifyToCircle(lua_State* state) {
  Line2D* self = Self(state);
  if (!HasArgument(state)) return 0;
  Math::Vector2D points[2];
  PushCode(state, self->ClassifyToCircle(*CheckShape<Math::Circle2D>(state, kFirstArgument), points));
  PushPoint(state, points[0]);
  PushPoint(state, points[1]);
  return 3;
}

int Tangent(lua_State* state) {
  Line2D* self = Self(state);
  if (!HasArgument(state)) return 0;
  Math::Vector2D point;
  lua_pushboolean(state, self->Tangent(*CheckShape<Math::Circle2D>(state, kFirstArgument), point));
  PushPoint(state, point);
  return 2;
}

int ClassifyToRay(lua_State* state) {
  Line2D* self = Self(state);
  if (!HasArgument(state)) return 0;
  Math::Vector2D point;
  PushCode(state, self->ClassifyToRay(*CheckShape<Math::Ray2D>(state, kFirstArgument), point));
  PushPoint(state, point);
  return 2;
}

int ClassifyToLineSegment(lua_State* state) {
  Line2D* self = Self(state);
  if (!HasArgument(state)) return 0;
  Math::Vector2D point;
  PushCode(state, self->ClassifyToLineSegment(*CheckShape<Math::LineSegment2D>(state, kFirstArgument), point));
  PushPoint(state, point);
  return 2;
}

const Lua::Method kMethods[] = {
    {"GetPoint", &GetPoint},
    {"SetPoint", &SetPoint},
    {"GetDirection", &GetDirection},
    {"SetDirection", &SetDirection},
    {"ClassifyToLine", &ClassifyToLine},
    {"Perpendicular", &Perpendicular},
    {"Parallel", &Parallel},
    {"AngleBetween", &AngleBetween},
    {"ClassifyToCircle", &ClassifyToCircle},
    {"Tangent", &Tangent},
    {"ClassifyToRay", &ClassifyToRay},
    {"ClassifyToLineSegment", &ClassifyToLineSegment},
};

const Lua::MethodTable g_methodTable(Line2D::ScriptClassName, kMethods, &PushShapeCopy<Line2D>);

}  // namespace

void Lua::Detail::LinkLine2DBindings() {}
