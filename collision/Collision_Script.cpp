// Script forms of the collision data model: "QlnRect", the actor classes and the collision shapes.
#include <cmath>
#include <cstdint>
#include <cstring>

#include <lua.hpp>

#include "collision/Collision_Actor.h"
#include "collision/Collision_ScriptSupport.h"
#include "collision/Collision_Shapes.h"
#include "collision/Collision_Utilities.h"
#include "script/Lua_MethodTable.h"
#include "script/Lua_Script.h"

namespace Collision2D {

namespace {

using namespace Script;

// --- QlnRect ---------------------------------------------------------------------------------

float* RectangleField(QlnRect& rectangle, const char* key) {
  if (std::strcmp(key, "top") == 0) return &rectangle.top;
  if (std::strcmp(key, "left") == 0) return &rectangle.left;
  if (std::strcmp(key, "right") == 0) return &rectangle.right;
  if (std::strcmp(key, "bottom") == 0) return &rectangle.bottom;
  return nullptr;
}

int GetRectangleField(lua_State* state, void* object, const char* key) {
  float* field = RectangleField(*static_cast<QlnRect*>(object), key);
  if (!field) return 0;
  lua_pushnumber(state, *field);
  return 1;
}

bool SetRectangleField(lua_State* state, void* object, const char* key, int valueIndex) {
  float* field = RectangleField(*static_cast<QlnRect*>(object), key);
  if (!field) return false;
  *field = static_cast<float>(luaL_checknumber(state, valueIndex));
  return true;
}

const FieldAccess g_rectangleAccess{QlnRect::ScriptClassName, &GetRectangleField, &SetRectangleField};

int PushRectangleCopy(lua_State* target, void* rectangle) {
  return static_cast<QlnRect*>(rectangle)->PushToLua(target);
}

const Lua::MethodTable g_rectangleMethods(QlnRect::ScriptClassName, nullptr, 0, &PushRectangleCopy);

// --- Actors ----------------------------------------------------------------------------------

int AddCollisionAnimation(lua_State* state) {
  auto* self = Lua::CheckSelf<CollisionActor>(state, CollisionActor::ScriptClassName);
  auto* animation =
      static_cast<CollisionAnimation*>(Lua::ToUserdata(state, kFirstArgument, CollisionAnimation::ScriptClassName));
  if (animation) self->AddCollisionAnimation(animation);
  return 0;
}

int AddCollisionFrame(lua_State* state) {
  auto* self = Lua::CheckSelf<CollisionAnimation>(state, CollisionAnimation::ScriptClassName);
  auto* frame = static_cast<CollisionFrame*>(Lua::ToUserdata(state, kFirstArgument, CollisionFrame::ScriptClassName));
  if (frame) self->AddCollisionFrame(frame);
  return 0;
}

bool OptionalFlag(lua_State* state, int index) { return lua_isnoneornil(state, index) ? true : lua_toboolean(state, index) != 0; }

int SetBoundingRectangle(lua_State* state) {
  auto* self = Lua::CheckSelf<CollisionFrame>(state, CollisionFrame::ScriptClassName);
  auto* rectangle = static_cast<QlnRect*>(Lua::ToUserdata(state, kFirstArgument, QlnRect::ScriptClassName));
  if (rectangle) self->SetBoundingRectangle(*rectangle, OptionalFlag(state, kFirstArgument + 1));
  return 0;
}

// (point, makeFlips) adds a hot spot; (pointA, pointB, userId, makeFlips) a segment;
// (centre, radius, userId, makeFlips) a circle.
int AddCollisionData(lua_State* state) {
  auto* self = Lua::CheckSelf<CollisionFrame>(state, CollisionFrame::ScriptClassName);
  const int count = ArgumentCount(state);
  if (count == 2) {
    self->AddCollisionHotSpot(LuaScript::ToPoint2D(state, kFirstArgument), lua_toboolean(state, kFirstArgument + 1) != 0);
  } else if (count == 4) {
    const Math::Vector2D first = LuaScript::ToPoint2D(state, kFirstArgument);
    const uint32_t userId = ToUnsigned32(luaL_checknumber(state, kFirstArgument + 2));
    const bool makeFlips = lua_toboolean(state, kFirstArgument + 3) != 0;
    if (lua_istable(state, kFirstArgument + 1)) {
      self->AddCollisionLineSegment(first, LuaScript::ToPoint2D(state, kFirstArgument + 1), userId, makeFlips);
    } else {
      const float radius = static_cast<float>(luaL_checknumber(state, kFirstArgument + 1));
      self->AddCollisionCircle(first, radius, userId, makeFlips);
    }
  }
  return 0;
}

const Lua::Method kActorMethods[] = {{"AddCollisionAnimation", &AddCollisionAnimation}};
const Lua::Method kAnimationMethods[] = {{"AddCollisionFrame", &AddCollisionFrame}};
const Lua::Method kFrameMethods[] = {{"SetBoundingRectangle", &SetBoundingRectangle},
                                     {"AddCollisionData", &AddCollisionData}};

const Lua::MethodTable g_actorMethods(CollisionActor::ScriptClassName, kActorMethods, &PushBorrowed<CollisionActor>);
const Lua::MethodTable g_animationMethods(CollisionAnimation::ScriptClassName, kAnimationMethods,
                                          &PushBorrowed<CollisionAnimation>);
const Lua::MethodTable g_frameMethods(CollisionFrame::ScriptClassName, kFrameMethods, &PushBorrowed<CollisionFrame>);

// --- Dynamic shapes --------------------------------------------------------------------------

// The variant a field name such as "circleHFlip" names after its prefix; -1 for none.
int VariantOfField(const char* key, const char* prefix) {
  const size_t length = std::strlen(prefix);
  if (std::strncmp(key, prefix, length) != 0) return -1;
  static const char* const kNames[] = {"NoFlip", "HVFlip", "HFlip", "VFlip"};
  for (int variant = 0; variant < 4; ++variant) {
    if (std::strcmp(key + length, kNames[variant]) == 0) return variant;
  }
  return -1;
}

template <typename Shape, typename Geometry>
int GetVariantField(lua_State* state, void* object, const char* key, const char* prefix) {
  const int variant = VariantOfField(key, prefix);
  if (variant < 0) return 0;
  Geometry& geometry = static_cast<Shape*>(object)->GetVariant(static_cast<FlipVariant>(variant));
  return Lua::PushPointer(state, &geometry, Geometry::ScriptClassName);
}

template <typename Shape, typename Geometry>
bool SetVariantField(lua_State* state, void* object, const char* key, int valueIndex, const char* prefix) {
  const int variant = VariantOfField(key, prefix);
  if (variant < 0) return false;
  const auto* value = static_cast<const Geometry*>(Lua::CheckUserdata(state, valueIndex, Geometry::ScriptClassName));
  static_cast<Shape*>(object)->GetVariant(static_cast<FlipVariant>(variant)) = *value;
  return true;
}

int GetCircleVariant(lua_State* state, void* object, const char* key) {
  return GetVariantField<DynamicCollisionCircle, Math::Circle2D>(state, object, key, "circle");
}
bool SetCircleVariant(lua_State* state, void* object, const char* key, int valueIndex) {
  return SetVariantField<DynamicCollisionCircle, Math::Circle2D>(state, object, key, valueIndex, "circle");
}
int GetSegmentVariant(lua_State* state, void* object, const char* key) {
  return GetVariantField<DynamicCollisionLineSegment, Math::LineSegment2D>(state, object, key, "lineSegment");
}
bool SetSegmentVariant(lua_State* state, void* object, const char* key, int valueIndex) {
  return SetVariantField<DynamicCollisionLineSegment, Math::LineSegment2D>(state, object, key, valueIndex,
                                                                           "lineSegment");
}

const FieldAccess g_dynamicCircleAccess{DynamicCollisionCircle::ScriptClassName, &GetCircleVariant, &SetCircleVariant};
const FieldAccess g_dynamicSegmentAccess{DynamicCollisionLineSegment::ScriptClassName, &GetSegmentVariant,
                                         &SetSegmentVariant};

template <typename Shape>
int SetUserId(lua_State* state) {
  Shape* self = Lua::CheckSelf<Shape>(state, Shape::ScriptClassName);
  if (ArgumentCount(state) >= 1) self->SetUserId(ToUnsigned32(luaL_checknumber(state, kFirstArgument)));
  return 0;
}

template <typename Shape>
int GetUserId(lua_State* state) {
  Shape* self = Lua::CheckSelf<Shape>(state, Shape::ScriptClassName);
  lua_pushnumber(state, static_cast<lua_Number>(self->GetUserId()));
  return 1;
}

template <FlipVariant variant>
int GetHotSpot(lua_State* state) {
  auto* self = Lua::CheckSelf<DynamicCollisionHotSpot>(state, DynamicCollisionHotSpot::ScriptClassName);
  const Math::Vector2D& point = self->GetVariant(variant);
  LuaScript::PushVector2D(state, point.x, point.y);
  return 1;
}

template <FlipVariant variant>
int SetHotSpot(lua_State* state) {
  auto* self = Lua::CheckSelf<DynamicCollisionHotSpot>(state, DynamicCollisionHotSpot::ScriptClassName);
  if (ArgumentCount(state) >= 1) self->GetVariant(variant) = LuaScript::ToVector2D(state, kFirstArgument);
  return 0;
}

const Lua::Method kDynamicCircleMethods[] = {{"SetUserId", &SetUserId<DynamicCollisionCircle>},
                                             {"GetUserId", &GetUserId<DynamicCollisionCircle>}};
const Lua::Method kDynamicSegmentMethods[] = {{"SetUserId", &SetUserId<DynamicCollisionLineSegment>},
                                              {"GetUserId", &GetUserId<DynamicCollisionLineSegment>}};
const Lua::Method kHotSpotMethods[] = {
    {"GetHotSpotNoFlip", &GetHotSpot<NoFlip>}, {"GetHotSpotHVFlip", &GetHotSpot<HVFlip>},
    {"GetHotSpotHFlip", &GetHotSpot<HFlip>},   {"GetHotSpotVFlip", &GetHotSpot<VFlip>},
    {"SetHotSpotNoFlip", &SetHotSpot<NoFlip>}, {"SetHotSpotHVFlip", &SetHotSpot<HVFlip>},
    {"SetHotSpotHFlip", &SetHotSpot<HFlip>},   {"SetHotSpotVFlip", &SetHotSpot<VFlip>},
};

const Lua::MethodTable g_dynamicCircleMethods(DynamicCollisionCircle::ScriptClassName, kDynamicCircleMethods,
                                              &PushBorrowed<DynamicCollisionCircle>);
const Lua::MethodTable g_dynamicSegmentMethods(DynamicCollisionLineSegment::ScriptClassName, kDynamicSegmentMethods,
                                               &PushBorrowed<DynamicCollisionLineSegment>);
const Lua::MethodTable g_hotSpotMethods(DynamicCollisionHotSpot::ScriptClassName, kHotSpotMethods,
                                        &PushBorrowed<DynamicCollisionHotSpot>);

// --- Static shapes ---------------------------------------------------------------------------

template <typename Shape, typename Geometry>
int PushStaticShape(lua_State* state, Shape& shape, Geometry* geometry) {
  (void)shape;
  if (!geometry) return 0;
  return Lua::PushPointer(state, geometry, Geometry::ScriptClassName);
}

int GetStaticCircleField(lua_State* state, void* object, const char* key) {
  if (std::strcmp(key, "circle") != 0) return 0;
  auto* self = static_cast<StaticCollisionCircle*>(object);
  if (PushStaticShape(state, *self, self->GetCircle()) == 0) lua_pushnil(state);
  return 1;
}
bool SetStaticCircleField(lua_State* state, void* object, const char* key, int valueIndex) {
  if (std::strcmp(key, "circle") != 0) return false;
  const auto* value =
      static_cast<const Math::Circle2D*>(Lua::CheckUserdata(state, valueIndex, Math::Circle2D::ScriptClassName));
  static_cast<StaticCollisionCircle*>(object)->SetCircle(*value);
  return true;
}
int GetStaticSegmentField(lua_State* state, void* object, const char* key) {
  if (std::strcmp(key, "lineSegment") != 0) return 0;
  auto* self = static_cast<StaticCollisionLineSegment*>(object);
  if (PushStaticShape(state, *self, self->GetLineSegment()) == 0) lua_pushnil(state);
  return 1;
}
bool SetStaticSegmentField(lua_State* state, void* object, const char* key, int valueIndex) {
  if (std::strcmp(key, "lineSegment") != 0) return false;
  const auto* value = static_cast<const Math::LineSegment2D*>(
      Lua::CheckUserdata(state, valueIndex, Math::LineSegment2D::ScriptClassName));
  static_cast<StaticCollisionLineSegment*>(object)->SetLineSegment(*value);
  return true;
}

const FieldAccess g_staticCircleAccess{StaticCollisionCircle::ScriptClassName, &GetStaticCircleField,
                                       &SetStaticCircleField};
const FieldAccess g_staticSegmentAccess{StaticCollisionLineSegment::ScriptClassName, &GetStaticSegmentField,
                                        &SetStaticSegmentField};

template <typename Shape>
int SetZCollision(lua_State* state) {
  Shape* self = Lua::CheckSelf<Shape>(state, Shape::ScriptClassName);
  if (ArgumentCount(state) >= 1) self->SetZCollision(static_cast<uint8_t>(ToUnsigned32(luaL_checknumber(state, 2))));
  return 0;
}

template <typename Shape>
int GetZCollision(lua_State* state) {
  Shape* self = Lua::CheckSelf<Shape>(state, Shape::ScriptClassName);
  lua_pushinteger(state, self->GetZCollision());
  return 1;
}

template <typename Shape>
int GetRunningId(lua_State* state) {
  Shape* self = Lua::CheckSelf<Shape>(state, Shape::ScriptClassName);
  lua_pushnumber(state, static_cast<lua_Number>(self->GetId()));
  return 1;
}

// The script's shape is copied into the one the static shape owns: no shape is shared with Lua.
int SetCircle(lua_State* state) {
  auto* self = Lua::CheckSelf<StaticCollisionCircle>(state, StaticCollisionCircle::ScriptClassName);
  if (const auto* circle =
          static_cast<const Math::Circle2D*>(Lua::ToUserdata(state, kFirstArgument, Math::Circle2D::ScriptClassName)))
    self->SetCircle(*circle);
  return 0;
}

int GetCircle(lua_State* state) {
  auto* self = Lua::CheckSelf<StaticCollisionCircle>(state, StaticCollisionCircle::ScriptClassName);
  return PushStaticShape(state, *self, self->GetCircle());
}

int SetLineSegment(lua_State* state) {
  auto* self = Lua::CheckSelf<StaticCollisionLineSegment>(state, StaticCollisionLineSegment::ScriptClassName);
  if (const auto* segment = static_cast<const Math::LineSegment2D*>(
          Lua::ToUserdata(state, kFirstArgument, Math::LineSegment2D::ScriptClassName)))
    self->SetLineSegment(*segment);
  return 0;
}

int GetLineSegment(lua_State* state) {
  auto* self = Lua::CheckSelf<StaticCollisionLineSegment>(state, StaticCollisionLineSegment::ScriptClassName);
  return PushStaticShape(state, *self, self->GetLineSegment());
}

const Lua::Method kStaticCircleMethods[] = {
    {"SetZCollision", &SetZCollision<StaticCollisionCircle>},
    {"SetCircle", &SetCircle},
    {"GetCircle", &GetCircle},
    {"GetId", &GetRunningId<StaticCollisionCircle>},
    {"SetUserId", &SetUserId<StaticCollisionCircle>},
    {"GetUserId", &GetUserId<StaticCollisionCircle>},
    {"GetZ_Collision", &GetZCollision<StaticCollisionCircle>},
};
const Lua::Method kStaticSegmentMethods[] = {
    {"SetZCollision", &SetZCollision<StaticCollisionLineSegment>},
    {"SetLineSegment", &SetLineSegment},
    {"GetLineSegment", &GetLineSegment},
    {"GetId", &GetRunningId<StaticCollisionLineSegment>},
    {"SetUserId", &SetUserId<StaticCollisionLineSegment>},
    {"GetUserId", &GetUserId<StaticCollisionLineSegment>},
    {"GetZ_Collision", &GetZCollision<StaticCollisionLineSegment>},
};

const Lua::MethodTable g_staticCircleMethods(StaticCollisionCircle::ScriptClassName, kStaticCircleMethods,
                                             &PushBorrowed<StaticCollisionCircle>);
const Lua::MethodTable g_staticSegmentMethods(StaticCollisionLineSegment::ScriptClassName, kStaticSegmentMethods,
                                              &PushBorrowed<StaticCollisionLineSegment>);

}  // namespace

int QlnRect::PushToLua(lua_State* state) {
  Lua::PushCopy(state, *this, ScriptClassName);
  EnsureFieldAccess(state, g_rectangleAccess);
  return 1;
}

int PushRectangleTable(lua_State* state, const QlnRect& rectangle) {
  lua_newtable(state);
  const int table = lua_gettop(state);
  lua_pushnumber(state, rectangle.top);
  lua_setfield(state, table, "top");
  lua_pushnumber(state, rectangle.left);
  lua_setfield(state, table, "left");
  lua_pushnumber(state, rectangle.right);
  lua_setfield(state, table, "right");
  lua_pushnumber(state, rectangle.bottom);
  lua_setfield(state, table, "bottom");
  return table;
}

int CollisionActor::PushToLua(lua_State* state) { return Lua::PushPointer(state, this, ScriptClassName); }
int CollisionAnimation::PushToLua(lua_State* state) { return Lua::PushPointer(state, this, ScriptClassName); }
int CollisionFrame::PushToLua(lua_State* state) { return Lua::PushPointer(state, this, ScriptClassName); }

int DynamicCollisionCircle::PushToLua(lua_State* state) {
  Lua::PushPointer(state, this, ScriptClassName);
  EnsureFieldAccess(state, g_dynamicCircleAccess);
  return 1;
}

int DynamicCollisionLineSegment::PushToLua(lua_State* state) {
  Lua::PushPointer(state, this, ScriptClassName);
  EnsureFieldAccess(state, g_dynamicSegmentAccess);
  return 1;
}

int DynamicCollisionHotSpot::PushToLua(lua_State* state) { return Lua::PushPointer(state, this, ScriptClassName); }

int StaticCollisionCircle::PushToLua(lua_State* state) {
  Lua::PushPointer(state, this, ScriptClassName);
  EnsureFieldAccess(state, g_staticCircleAccess);
  return 1;
}

int StaticCollisionLineSegment::PushToLua(lua_State* state) {
  Lua::PushPointer(state, this, ScriptClassName);
  EnsureFieldAccess(state, g_staticSegmentAccess);
  return 1;
}

}  // namespace Collision2D
