// Script methods of "Circle2D".
#include "script/Lua_Bootstrap.h"
#include "script/Lua_Geometry2D.h"

namespace {

using Math::Circle2D;
using namespace Lua::Detail;

Circle2D* Self(lua_State* state) { return CheckShape<Circle2D>(state, 1); }

int GetRadius(lua_State* state) {
  lua_pushnumber(state, Self(state)->radius);
  return 1;
}

int SetRadius(lua_State* state) {
  Circle2D* self = Self(state);
  if (HasArgument(state)) self->radius = static_cast<float>(luaL_checknumber(state, kFirstArgument));
  return 0;
}

// (circle) or (centre point, radius) of the other circle -> code, two points.
int ClassifyToCircle(lua_State* state) {
  Circle2D* self = Self(state);
  if (!HasArgument(state)) return 0;
  Circle2D other;
  if (HasArgument(state, 2)) {
    other = Circle2D(LuaScript::ToPoint2D(state, kFirstArgument),
                     static_cast<float>(luaL_checknumber(state, kFirstArgument + 1)));
  } else {
    other = *CheckShape<Circle2D>(state, kFirstArgument);
  }
  Math::Vector2D points[2];
  PushCode(state, self->ClassifyToCircle(other, points));
  PushPoint(state, points[0]);
  PushPoint(state, points[1]);
  return 3;
}

const Lua::Method kMethods[] = {
    {"GetCenter", &GetPointField<Circle2D, &Circle2D::center>},
    {"SetCenter", &SetPointField<Circle2D, &Circle2D::center>},
    {"GetRadius", &GetRadius},
    {"SetRadius", &SetRadius},
    {"ClassifyToCircle", &ClassifyToCircle},
    {"ClassifyToLineSegment", &ClassifyWithTwoPoints<Circle2D, Math::LineSegment2D, &Circle2D::ClassifyToLineSegment>},
};

const Lua::MethodTable g_methodTable(Circle2D::ScriptClassName, kMethods, &PushShapeCopy<Circle2D>);

}  // namespace

void Lua::Detail::LinkCircle2DBindings() {}
