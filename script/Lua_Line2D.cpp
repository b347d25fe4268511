// Script methods of "Line2D".
#include "script/Lua_Bootstrap.h"
#include "script/Lua_Geometry2D.h"

namespace {

using Math::Line2D;
using namespace Lua::Detail;

const Lua::Method kMethods[] = {
    {"GetPoint", &GetPointField<Line2D, &Line2D::point>},
    {"SetPoint", &SetPointField<Line2D, &Line2D::point>},
    {"GetDirection", &GetVectorField<Line2D, &Line2D::direction>},
    {"SetDirection", &SetVectorField<Line2D, &Line2D::direction>},
    {"ClassifyToLine", &ClassifyWithPoint<Line2D, Line2D, &Line2D::ClassifyToLine>},
    {"Perpendicular", &BooleanQuery<Line2D, Line2D, &Line2D::Perpendicular>},
    {"Parallel", &BooleanQuery<Line2D, Line2D, &Line2D::Parallel>},
    {"AngleBetween", &AngleBetweenLineOrRay<Line2D, Math::Ray2D>},
    {"ClassifyToCircle", &ClassifyWithTwoPoints<Line2D, Math::Circle2D, &Line2D::ClassifyToCircle>},
    {"Tangent", &Tangent<Line2D>},
    {"ClassifyToRay", &ClassifyWithPoint<Line2D, Math::Ray2D, &Line2D::ClassifyToRay>},
    {"ClassifyToLineSegment", &ClassifyWithPoint<Line2D, Math::LineSegment2D, &Line2D::ClassifyToLineSegment>},
};

const Lua::MethodTable g_methodTable(Line2D::ScriptClassName, kMethods, &PushShapeCopy<Line2D>);

}  // namespace

void Lua::Detail::LinkLine2DBindings() {}
