// Script methods of "Ray2D".
#include "script/Lua_Bootstrap.h"
#include "script/Lua_Geometry2D.h"

namespace {

using Math::Ray2D;
using namespace Lua::Detail;

// -> code, point, segment, ray.
int ClassifyToRay(lua_State* state) {
  Ray2D* self = CheckShape<Ray2D>(state, 1);
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

const Lua::Method kMethods[] = {
    {"GetOrigin", &GetPointField<Ray2D, &Ray2D::origin>},
    {"SetOrigin", &SetPointField<Ray2D, &Ray2D::origin>},
    {"GetDirection", &GetVectorField<Ray2D, &Ray2D::direction>},
    {"SetDirection", &SetVectorField<Ray2D, &Ray2D::direction>},
    {"ClassifyToRay", &ClassifyToRay},
    {"Perpendicular", &BooleanQuery<Ray2D, Ray2D, &Ray2D::Perpendicular>},
    {"Parallel", &BooleanQuery<Ray2D, Ray2D, &Ray2D::Parallel>},
    {"AngleBetween", &AngleBetweenLineOrRay<Ray2D, Math::Line2D>},
    {"ClassifyToCircle", &ClassifyWithTwoPoints<Ray2D, Math::Circle2D, &Ray2D::ClassifyToCircle>},
    {"Tangent", &Tangent<Ray2D>},
    {"ClassifyToLineSegment",
     &ClassifyWithPointAndOverlap<Ray2D, Math::LineSegment2D, &Ray2D::ClassifyToLineSegment>},
    {"ClassifyToLine", &ClassifyWithPoint<Ray2D, Math::Line2D, &Ray2D::ClassifyToLine>},
};

const Lua::MethodTable g_methodTable(Ray2D::ScriptClassName, kMethods, &PushShapeCopy<Ray2D>);

}  // namespace

void Lua::Detail::LinkRay2DBindings() {}
