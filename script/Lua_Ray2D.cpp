// Script methods of "Ray2D".
#include "script/Lua_Bootstrap.h"
#include "script/Lua_Geometry2D.h"

namespace {

using Math::Ray2D;
using namespace Lua::Detail;

Ray2D* Self(lua_State* state) { return CheckShape<Ray2D>(state, 1); }

int GetOrigin(lua_State* state) { return PushPoint(state, Self(state)->origin); }

int SetOrigin(lua_State* state) {
  Ray2D* self = Self(state);
  if (HasArgument(state)) self->origin = LuaScript::ToPoint2D(state, kFirstArgument);
  return 0;
}

int GetDirection(lua_State* state) { return PushVector(state, Self(state)->direction); }

int SetDirection(lua_State* state) {
  Ray2D* self = Self(state);
  if (HasArgument(state)) self->direction = LuaScript::ToVector2D(state, kFirstArgument);
  return 0;
}

// -> code, point, segment, ray.
int ClassifyToRay(lua_State* state) {
  Ray2D* self = Self(state);
  if (!HasArgument(state)) return 0;
  Math::Vector2D point;
  Math::LineSegment2D segment;
  Ray2D ray;
  PushCode(state, self->ClassifyToRay(*CheckShape<Ray2D>(state, kFirstArgument), point, segment, ray));
  PushPoint(state, point);
  Lua::PushCopy(state, segment, Math::LineSegment2D::ScriptClassName);
  Lua::PushCopy(state, ray, Ray2D::ScriptClassName);
  return 4;
}

int Perpendicular(lua_State* state) {
  Ray2D* self = Self(state);
  if (!HasArgument(state)) return 0;
  lua_pushboolean(state, self->Perpendicular(*CheckShape<Ray2D>(state, kFirstArgument)));
  return 1;
}

int Parallel(lua_State* state) {
  Ray2D* self = Self(state);
  if (!HasArgument(state)) return 0;
  lua_pushboolean(state, self->Parallel(*CheckShape<Ray2D>(state, kFirstArgument)));
  return 1;
}

// A ray or a line -> degrees.
int AngleBetween(lua_State* state) {
  Ray2D* self = Self(state);
  if (!HasArgument(state)) return 0;
  if (void* line = Lua::ToUserdata(state, kFirstArgument, Math::Line2D::ScriptClassName)) {
    lua_pushnumber(state, self->AngleBetween(*static_cast<Math::Line2D*>(line)));
  } else {
    lua_pushnumber(state, self->AngleBetween(*CheckShape<Ray2D>(state, kFirstArgument)));
  }
  return 1;
}

int ClassifyToCircle(lua_State* state) {
  Ray2D* self = Self(state);
  if (!HasArgument(state)) return 0;
  Math::Vector2D points[2];
  PushCode(state, self->ClassifyToCircle(*CheckShape<Math::Circle2D>(state, kFirstArgument), points));
  PushPoint(state, points[0]);
  PushPoint(state, points[1]);
  return 3;
}

int Tangent(lua_State* state) {
  Ray2D* self = Self(state);
  if (!HasArgument(state)) return 0;
  Math::Vector2D point;
  lua_pushboolean(state, self->Tangent(*CheckShape<Math::Circle2D>(state, kFirstArgument), point));
  PushPoint(state, point);
  return 2;
}

int ClassifyToLineSegment(lua_State* state) {
  Ray2D* self = Self(state);
  if (!HasArgument(state)) return 0;
  Math::Vector2D point;
  Math::LineSegment2D overlap;
  PushCode(state,
           self->ClassifyToLineSegment(*CheckShape<Math::LineSegment2D>(state, kFirstArgument), point, overlap));
  PushPoint(state, point);
  Lua::PushCopy(state, overlap, Math::LineSegment2D::ScriptClassName);
  return 3;
}

int ClassifyToLine(lua_State* state) {
  Ray2D* self = Self(state);
  if (!HasArgument(state)) return 0;
  Math::Vector2D point;
  PushCode(state, self->ClassifyToLine(*CheckShape<Math::Line2D>(state, kFirstArgument), point));
  PushPoint(state, point);
  return 2;
}

const Lua::Method kMethods[] = {
    {"GetOrigin", &GetOrigin},
    {"SetOrigin", &SetOrigin},
    {"GetDirection", &GetDirection},
    {"SetDirection", &SetDirection},
    {"ClassifyToRay", &ClassifyToRay},
    {"Perpendicular", &Perpendicular},
    {"Parallel", &Parallel},
    {"AngleBetween", &AngleBetween},
    {"ClassifyToCircle", &ClassifyToCircle},
    {"Tangent", &Tangent},
    {"ClassifyToLineSegment", &ClassifyToLineSegment},
    {"ClassifyToLine", &ClassifyToLine},
};

const Lua::MethodTable g_methodTable(Ray2D::ScriptClassName, kMethods, &PushShapeCopy<Ray2D>);

}  // namespace

void Lua::Detail::LinkRay2DBindings() {}
