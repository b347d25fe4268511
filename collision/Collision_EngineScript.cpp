// Script forms of the collision engine ("CollisionEngine") and of its layers ("CollisionLayer").
// Ids, layer indices and z values come as script numbers truncated to integers; a method returns
// nothing when an argument is missing or the object it names does not exist.
#include <algorithm>
#include <cstdint>

#include <lua.hpp>

#include "collision/Collision_Engine.h"
#include "collision/Collision_ScriptSupport.h"
#include "script/Lua_MethodTable.h"
#include "script/Lua_Script.h"

namespace Collision2D {

namespace {

using namespace Script;

// Ids keep their low 32 bits of the truncated number, so the signed ids of contact tables name the
// same objects.

bool NumberAt(lua_State* state, int argument) { return ArgumentCount(state) >= argument && lua_isnumber(state, argument + 1); }
int64_t IntegerAt(lua_State* state, int argument) { return ToInteger(lua_tonumber(state, argument + 1)); }
CollisionId IdAt(lua_State* state, int argument) { return static_cast<CollisionId>(IntegerAt(state, argument)); }
uint8_t ByteAt(lua_State* state, int argument) { return static_cast<uint8_t>(IntegerAt(state, argument) & 0xFF); }

CollisionEngine* SelfEngine(lua_State* state) {
  return Lua::CheckSelf<CollisionEngine>(state, CollisionEngine::ScriptClassName);
}

// The dynamic object the first argument names, or null.
DynamicObject* DynamicAt(lua_State* state) {
  CollisionEngine* self = SelfEngine(state);
  return NumberAt(state, 1) ? self->GetDynamicObject(IdAt(state, 1)) : nullptr;
}

// A new table {1 = first, 2 = ...} of the pushed entries.
template <typename List, typename Push>
int PushList(lua_State* state, const List& list, size_t count, Push push) {
  lua_createtable(state, static_cast<int>(count), 0);
  const int table = lua_gettop(state);
  int key = 1;
  for (size_t i = 0; i < count && i < list.size(); ++i) {
    if (!list[i] || push(list[i]) != 1) {
      lua_settop(state, table);
      continue;
    }
    lua_rawseti(state, table, key++);
  }
  return 1;
}

// The non-empty static slots of a layer, in slot order, as their own script objects.
template <typename Shape>
int PushStaticShapes(lua_State* state, const CollisionLayer& layer, int32_t count,
                     Shape* (CollisionLayer::*get)(uint32_t) const) {
  lua_newtable(state);
  const int table = lua_gettop(state);
  int key = 1;
  for (int32_t slot = 1; slot < count; ++slot) {
    Shape* shape = (layer.*get)(static_cast<uint32_t>(slot));
    if (!shape) continue;
    shape->PushToLua(state);
    lua_rawseti(state, table, key++);
  }
  return 1;
}

// --- CollisionEngine ---------------------------------------------------------------------------

int SetMaximumInterpolation(lua_State* state) {
  SelfEngine(state);
  if (NumberAt(state, 1)) {
    const int64_t value = IntegerAt(state, 1);
    if (value >= 2) SetMaximumInterpolationValue(static_cast<int32_t>(std::min<int64_t>(value, kMaximumStoredInterpolationValue)));
  }
  return 0;
}

int GetMaximumInterpolation(lua_State* state) {
  SelfEngine(state);
  lua_pushinteger(state, GetMaximumInterpolationValue());
  return 1;
}

int ObjectInCollision(lua_State* state) {
  CollisionEngine* self = SelfEngine(state);
  if (!NumberAt(state, 1) || !self->GetDynamicObject(IdAt(state, 1))) return 0;
  lua_pushboolean(state, self->ObjectInCollision(IdAt(state, 1)));
  return 1;
}

int SetObjectZCollision(lua_State* state) {
  CollisionEngine* self = SelfEngine(state);
  if (!NumberAt(state, 1) || !NumberAt(state, 2)) return 0;
  const CollisionId id = self->SetObjectZCollision(IdAt(state, 1), ByteAt(state, 2));
  if (id == 0) return 0;
  lua_pushnumber(state, static_cast<lua_Number>(id));
  return 1;
}

int GetObjectZCollision(lua_State* state) {
  SelfEngine(state);
  if (!NumberAt(state, 1)) return 0;
  lua_pushinteger(state, (IdAt(state, 1) >> 16) & 0xFF);
  return 1;
}

int SetDynamicObjectCanCollid(lua_State* state) {
  DynamicObject* object = DynamicAt(state);
  if (object && NumberAt(state, 2) && ArgumentCount(state) >= 3)
    object->SetCanCollid(ByteAt(state, 2), lua_toboolean(state, kFirstArgument + 2) != 0);
  return 0;
}

int GetDynamicObjectCanCollid(lua_State* state) {
  SelfEngine(state);
  if (!NumberAt(state, 1) || !NumberAt(state, 2)) return 0;
  DynamicObject* object = DynamicAt(state);
  lua_pushboolean(state, object != nullptr && object->GetCanCollid(ByteAt(state, 2)));
  return 1;
}

template <void (DynamicObject::*Set)(bool)>
int SetDynamicFlag(lua_State* state) {
  DynamicObject* object = DynamicAt(state);
  if (object && ArgumentCount(state) >= 2) (object->*Set)(lua_toboolean(state, kFirstArgument + 1) != 0);
  return 0;
}

template <bool (DynamicObject::*Get)() const>
int GetDynamicFlag(lua_State* state) {
  DynamicObject* object = DynamicAt(state);
  if (!object) return 0;
  lua_pushboolean(state, (object->*Get)());
  return 1;
}

int SetDynamicObjectUpdateOnIdle(lua_State* state) {
  DynamicObject* object = DynamicAt(state);
  if (object) object->SetUpdateOnIdle(lua_toboolean(state, kFirstArgument + 1) != 0);  // false when missing
  return 0;
}

int SetDynamicObjectCollisionThickness(lua_State* state) {
  DynamicObject* object = DynamicAt(state);
  if (object && NumberAt(state, 2)) object->SetCollisionThickness(static_cast<float>(lua_tonumber(state, kFirstArgument + 1)));
  return 0;
}

int GetDynamicObjectCollisionThickness(lua_State* state) {
  DynamicObject* object = DynamicAt(state);
  if (!object) return 0;
  lua_pushnumber(state, object->GetCollisionThickness());
  return 1;
}

CollisionLayer* LayerAt(lua_State* state) {
  CollisionEngine* self = SelfEngine(state);
  if (!NumberAt(state, 1)) return nullptr;
  const int64_t index = IntegerAt(state, 1);
  return index >= 0 && index <= UINT32_MAX ? self->GetLayer(static_cast<uint32_t>(index)) : nullptr;
}

int GetStaticLineSegments(lua_State* state) {
  CollisionLayer* layer = LayerAt(state);
  if (!layer) return 0;
  return PushStaticShapes(state, *layer, layer->GetLineSegmentsNumber(), &CollisionLayer::GetStaticLineSegment);
}

int GetStaticCircles(lua_State* state) {
  CollisionLayer* layer = LayerAt(state);
  if (!layer) return 0;
  return PushStaticShapes(state, *layer, layer->GetCirclesNumber(), &CollisionLayer::GetStaticCircle);
}

int GetStaticLineSegmentsNumber(lua_State* state) {
  CollisionLayer* layer = LayerAt(state);
  if (!layer) return 0;
  lua_pushinteger(state, layer->GetLineSegmentsNumber());
  return 1;
}

int GetStaticCirclesNumber(lua_State* state) {
  CollisionLayer* layer = LayerAt(state);
  if (!layer) return 0;
  lua_pushinteger(state, layer->GetCirclesNumber());
  return 1;
}

template <int Kind>
int GetFrameShapes(lua_State* state) {
  DynamicObject* object = DynamicAt(state);
  if (!object) return 0;
  const CollisionFrame* frame = object->GetCurrentFrame();
  if (!frame) {
    lua_newtable(state);
    return 1;
  }
  auto push = [state](const auto& shape) { return shape->PushToLua(state); };
  if constexpr (Kind == 0) return PushList(state, frame->GetLineSegments(), frame->GetLineSegments().size(), push);
  if constexpr (Kind == 1) return PushList(state, frame->GetCircles(), frame->GetCircles().size(), push);
  return PushList(state, frame->GetHotSpots(), frame->GetHotSpots().size(), push);
}

// World shapes go out as copies the script owns: the object's lists are rewritten every pass.
int GetCurrentLineSegments(lua_State* state) {
  DynamicObject* object = DynamicAt(state);
  if (!object) return 0;
  return PushList(state, object->GetCurrentLineSegments(), object->ActiveLineSegmentCount(), [state](const auto& segment) {
    return Lua::PushCopy(state, *segment, Math::LineSegment2D::ScriptClassName);
  });
}

int GetCurrentCircles(lua_State* state) {
  DynamicObject* object = DynamicAt(state);
  if (!object) return 0;
  return PushList(state, object->GetCurrentCircles(), object->ActiveCircleCount(),
                  [state](const auto& circle) { return Lua::PushCopy(state, *circle, Math::Circle2D::ScriptClassName); });
}

int GetCurrentHotSpots(lua_State* state) {
  DynamicObject* object = DynamicAt(state);
  if (!object) return 0;
  const CollisionFrame* frame = object->GetCurrentFrame();
  const size_t count = frame ? frame->GetHotSpots().size() : 0;
  return PushList(state, object->GetCurrentHotSpots(), count, [state](const auto& point) {
    return LuaScript::PushPoint2D(state, point->x, point->y);
  });
}

bool ObjectExists(CollisionEngine& engine, CollisionId id) {
  return engine.GetDynamicObject(id) != nullptr || engine.GetTileMap(id) != nullptr;
}

int SetObjectBoundingRectangle(lua_State* state) {
  CollisionEngine* self = SelfEngine(state);
  if (!NumberAt(state, 1)) return 0;
  const auto* rectangle = static_cast<const QlnRect*>(Lua::ToUserdata(state, kFirstArgument + 1, QlnRect::ScriptClassName));
  if (rectangle) self->SetObjectBoundingRectangle(IdAt(state, 1), *rectangle);
  return 0;
}

template <QlnRect (CollisionEngine::*Get)(CollisionId) const>
int GetRectangle(lua_State* state) {
  CollisionEngine* self = SelfEngine(state);
  if (!NumberAt(state, 1) || !ObjectExists(*self, IdAt(state, 1))) return 0;
  QlnRect rectangle = (self->*Get)(IdAt(state, 1));
  return rectangle.PushToLua(state);
}

const Lua::Method kEngineMethods[] = {
    {"SetMaximumInterpolationValue", &SetMaximumInterpolation},
    {"GetMaximumInterpolationValue", &GetMaximumInterpolation},
    {"ObjectInCollision", &ObjectInCollision},
    {"SetObjectZCollision", &SetObjectZCollision},
    {"GetObjectZCollision", &GetObjectZCollision},
    {"SetDynamicObjectCanCollid", &SetDynamicObjectCanCollid},
    {"GetDynamicObjectCanCollid", &GetDynamicObjectCanCollid},
    {"SetDynamicObjectCollisionType", &SetDynamicFlag<&DynamicObject::SetCollisionType>},
    {"GetDynamicObjectCollisionType", &GetDynamicFlag<&DynamicObject::GetCollisionType>},
    {"SetDynamicObjectUpdateOnIdle", &SetDynamicObjectUpdateOnIdle},
    {"GetDynamicObjectUpdateOnIdle", &GetDynamicFlag<&DynamicObject::GetUpdateOnIdle>},
    {"SetDynamicObjectCollisionThickness", &SetDynamicObjectCollisionThickness},
    {"GetDynamicObjectCollisionThickness", &GetDynamicObjectCollisionThickness},
    {"SetDynamicObjectBoundingRectangleCheckingTileMap",
     &SetDynamicFlag<&DynamicObject::SetBoundingRectangleCheckingTileMap>},
    {"GetDynamicObjectBoundingRectangleCheckingTileMap",
     &GetDynamicFlag<&DynamicObject::GetBoundingRectangleCheckingTileMap>},
    {"GetStaticLineSegments", &GetStaticLineSegments},
    {"GetStaticCircles", &GetStaticCircles},
    {"GetStaticLineSegmentsNumber", &GetStaticLineSegmentsNumber},
    {"GetStaticCirclesNumber", &GetStaticCirclesNumber},
    {"GetDynamicObjectLineSegments", &GetFrameShapes<0>},
    {"GetDynamicObjectCircles", &GetFrameShapes<1>},
    {"GetDynamicObjectHotSpots", &GetFrameShapes<2>},
    {"GetCurrentDynamicObjectLineSegments", &GetCurrentLineSegments},
    {"GetCurrentDynamicObjectCircles", &GetCurrentCircles},
    {"GetCurrentDynamicObjectHotSpots", &GetCurrentHotSpots},
    {"SetObjectBoundingRectangle", &SetObjectBoundingRectangle},
    {"GetObjectBoundingRectangle", &GetRectangle<&CollisionEngine::GetObjectBoundingRectangle>},
    {"GetCurrentObjectBoundingRectangle", &GetRectangle<&CollisionEngine::GetCurrentObjectBoundingRectangle>},
};

// --- CollisionLayer ----------------------------------------------------------------------------

CollisionLayer* SelfLayer(lua_State* state) {
  return Lua::CheckSelf<CollisionLayer>(state, CollisionLayer::ScriptClassName);
}

int LayerLineSegments(lua_State* state) {
  CollisionLayer* self = SelfLayer(state);
  return PushStaticShapes(state, *self, self->GetLineSegmentsNumber(), &CollisionLayer::GetStaticLineSegment);
}

int LayerCircles(lua_State* state) {
  CollisionLayer* self = SelfLayer(state);
  return PushStaticShapes(state, *self, self->GetCirclesNumber(), &CollisionLayer::GetStaticCircle);
}

int LayerLineSegmentsNumber(lua_State* state) {
  lua_pushinteger(state, SelfLayer(state)->GetLineSegmentsNumber());
  return 1;
}

int LayerCirclesNumber(lua_State* state) {
  lua_pushinteger(state, SelfLayer(state)->GetCirclesNumber());
  return 1;
}

const Lua::Method kLayerMethods[] = {
    {"GetLineSegments", &LayerLineSegments},
    {"GetCircles", &LayerCircles},
    {"GetLineSegmentsNumber", &LayerLineSegmentsNumber},
    {"GetCirclesNumber", &LayerCirclesNumber},
};

const Lua::MethodTable g_engineMethods(CollisionEngine::ScriptClassName, kEngineMethods);
const Lua::MethodTable g_layerMethods(CollisionLayer::ScriptClassName, kLayerMethods);

}  // namespace

}  // namespace Collision2D
