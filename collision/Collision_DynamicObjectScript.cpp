// Script form of the dynamic collision object ("DynamicObject"). Setters given too few arguments,
// or a value of the wrong kind where an actor or rectangle is expected, do nothing.
#include <cstdint>

#include <lua.hpp>

#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_ScriptSupport.h"
#include "script/Lua_MethodTable.h"
#include "script/Lua_Script.h"

namespace Collision2D {

namespace {

using namespace Script;

DynamicObject* Self(lua_State* state) { return Lua::CheckSelf<DynamicObject>(state, DynamicObject::ScriptClassName); }


int SetZCollision(lua_State* state) {
  DynamicObject* self = Self(state);
  if (ArgumentCount(state) >= 1) self->SetZCollision(ToLowByte(luaL_checknumber(state, kFirstArgument)));
  return 0;
}

// The point is read from the last argument.
template <void (DynamicObject::*Set)(const Math::Vector2D&)>
int SetPoint(lua_State* state) {
  DynamicObject* self = Self(state);
  if (ArgumentCount(state) >= 1) (self->*Set)(LuaScript::ToPoint2D(state, lua_gettop(state)));
  return 0;
}

int SetCanCollid(lua_State* state) {
  DynamicObject* self = Self(state);
  if (ArgumentCount(state) >= 2)
    self->SetCanCollid(ToLowByte(luaL_checknumber(state, kFirstArgument)), lua_toboolean(state, kFirstArgument + 1) != 0);
  return 0;
}

int GetCanCollid(lua_State* state) {
  DynamicObject* self = Self(state);
  if (ArgumentCount(state) < 1) return 0;
  lua_pushboolean(state, self->GetCanCollid(ToLowByte(luaL_checknumber(state, kFirstArgument))) ? 1 : 0);
  return 1;
}

int SetCurrentCollisionFrame(lua_State* state) {
  DynamicObject* self = Self(state);
  if (ArgumentCount(state) < 4) return 0;
  self->SetCurrentCollisionFrame(ToUnsigned32(luaL_checknumber(state, kFirstArgument)),
                                 ToUnsigned32(luaL_checknumber(state, kFirstArgument + 1)),
                                 lua_toboolean(state, kFirstArgument + 2) != 0,
                                 lua_toboolean(state, kFirstArgument + 3) != 0);
  return 0;
}

int GetBoundingRectangleCheckingTileMap(lua_State* state) {
  lua_pushboolean(state, Self(state)->GetBoundingRectangleCheckingTileMap() ? 1 : 0);
  return 1;
}

int GetCurrentBoundingRectangle(lua_State* state) {
  QlnRect rectangle;
  Self(state)->GetCurrentBoundingRectangle(rectangle);
  return rectangle.PushToLua(state);
}

int GetBoundingRectangle(lua_State* state) {
  QlnRect rectangle = Self(state)->GetLocalRectangle();
  return rectangle.PushToLua(state);
}

int SetBoundingRectangle(lua_State* state) {
  DynamicObject* self = Self(state);
  auto* rectangle = static_cast<QlnRect*>(Lua::ToUserdata(state, kFirstArgument, QlnRect::ScriptClassName));
  if (rectangle == nullptr || self->GetCurrentFrame() == nullptr) return 0;
  const bool makeFlips = lua_isnoneornil(state, kFirstArgument + 1) ? true : lua_toboolean(state, kFirstArgument + 1) != 0;
  self->GetCurrentFrame()->SetBoundingRectangle(*rectangle, makeFlips);
  return 0;
}

// A new table with keys 1, 2, ... holding each entry pushed by push.
template <typename List, typename Push>
int PushList(lua_State* state, const List& list, Push push) {
  lua_createtable(state, static_cast<int>(list.size()), 0);
  const int table = lua_gettop(state);
  int key = 1;
  for (const auto& entry : list) {
    if (!entry) continue;
    if (push(entry) != 1) {
      lua_settop(state, table);
      continue;
    }
    lua_rawseti(state, table, key++);
  }
  return 1;
}

// The current frame's shapes of one kind; an empty table without a frame.
template <auto List>
int GetFrameShapes(lua_State* state) {
  CollisionFrame* frame = Self(state)->GetCurrentFrame();
  if (frame == nullptr) {
    lua_newtable(state);
    return 1;
  }
  return PushList(state, (frame->*List)(), [state](const auto& shape) { return shape->PushToLua(state); });
}

int GetCurrentLineSegments(lua_State* state) {
  return PushList(state, Self(state)->GetCurrentLineSegments(),
                  [state](const auto& segment) { return segment->PushToLua(state); });
}

int GetCurrentCircles(lua_State* state) {
  return PushList(state, Self(state)->GetCurrentCircles(),
                  [state](const auto& circle) { return circle->PushToLua(state); });
}

int GetCurrentHotSpots(lua_State* state) {
  return PushList(state, Self(state)->GetCurrentHotSpots(), [state](const auto& point) {
    LuaScript::PushPoint2D(state, point->x, point->y);
    return 1;
  });
}

int GetCurrentHotSpot(lua_State* state) {
  DynamicObject* self = Self(state);
  if (ArgumentCount(state) < 1) return 0;
  const Math::Vector2D point = self->GetCurrentHotSpot(ToLowByte(luaL_checknumber(state, kFirstArgument)));
  LuaScript::PushPoint2D(state, point.x, point.y);
  return 1;
}

int AddCollisionData(lua_State* state) {
  DynamicObject* self = Self(state);
  auto* actor = static_cast<CollisionActor*>(Lua::ToUserdata(state, kFirstArgument, CollisionActor::ScriptClassName));
  if (actor == nullptr) return 0;
  const int count = ArgumentCount(state);
  const uint32_t animation = count >= 2 ? ToUnsigned32(luaL_checknumber(state, kFirstArgument + 1)) : 0;
  const uint32_t frame = count >= 3 ? ToUnsigned32(luaL_checknumber(state, kFirstArgument + 2)) : 0;
  self->AddCollisionData(actor, animation, frame);
  return 0;
}

int SetCollisionActor(lua_State* state) {
  DynamicObject* self = Self(state);
  if (ArgumentCount(state) < 3) return 0;
  auto* actor = static_cast<CollisionActor*>(Lua::ToUserdata(state, kFirstArgument, CollisionActor::ScriptClassName));
  if (actor == nullptr) return 0;
  self->SetCollisionActor(actor, ToUnsigned32(luaL_checknumber(state, kFirstArgument + 1)),
                          ToUnsigned32(luaL_checknumber(state, kFirstArgument + 2)));
  return 0;
}

const Lua::Method kMethods[] = {
    {"SetZCollision", &SetZCollision},
    {"SetPosition", &SetPoint<&DynamicObject::SetPosition>},
    {"SetOldPosition", &SetPoint<&DynamicObject::SetOldPosition>},
    {"SetOrientation", &SetFloat<DynamicObject, Self, &DynamicObject::SetOrientation>},
    {"SetOldOrientation", &SetFloat<DynamicObject, Self, &DynamicObject::SetOldOrientation>},
    {"SetUpdateOnIdle", &SetFlag<DynamicObject, Self, &DynamicObject::SetUpdateOnIdle>},
    {"SetCollisionType", &SetFlag<DynamicObject, Self, &DynamicObject::SetCollisionType>},
    {"SetCollisionThickness", &SetFloat<DynamicObject, Self, &DynamicObject::SetCollisionThickness>},
    {"SetCanCollid", &SetCanCollid},
    {"GetCanCollid", &GetCanCollid},
    {"SetCurrentCollisionFrame", &SetCurrentCollisionFrame},
    {"SetBoundingRectangleCheckingTileMap",
     &SetFlag<DynamicObject, Self, &DynamicObject::SetBoundingRectangleCheckingTileMap>},
    {"GetBoundingRectangleCheckingTileMap", &GetBoundingRectangleCheckingTileMap},
    {"GetCurrentBoundingRectangle", &GetCurrentBoundingRectangle},
    {"GetBoundingRectangle", &GetBoundingRectangle},
    {"SetBoundingRectangle", &SetBoundingRectangle},
    {"GetLineSegments", &GetFrameShapes<&CollisionFrame::GetLineSegments>},
    {"GetCircles", &GetFrameShapes<&CollisionFrame::GetCircles>},
    {"GetHotSpots", &GetFrameShapes<&CollisionFrame::GetHotSpots>},
    {"GetCurrentLineSegments", &GetCurrentLineSegments},
    {"GetCurrentCircles", &GetCurrentCircles},
    {"GetCurrentHotSpots", &GetCurrentHotSpots},
    {"GetCurrentHotSpot", &GetCurrentHotSpot},
    {"AddCollisionData", &AddCollisionData},
    {"SetCollisionActor", &SetCollisionActor},
};

const Lua::MethodTable g_dynamicObjectMethods(DynamicObject::ScriptClassName, kMethods, &PushBorrowed<DynamicObject>);

}  // namespace

int DynamicObject::PushToLua(lua_State* state) { return Lua::PushPointer(state, this, ScriptClassName); }

}  // namespace Collision2D
