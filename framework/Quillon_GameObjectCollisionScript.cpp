// Script methods of a game object's collision body and its collision results.
#include "collision/Collision_ContactScript.h"
#include "collision/Collision_Engine.h"
#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_Results.h"
#include "collision/Collision_TileMap.h"
#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_GameServices.h"
#include "framework/Quillon_ScriptSupport.h"

namespace Quillon {
namespace Script {
namespace Attachment {

namespace {

constexpr int kArg = kFirstArgument;

int PushBoolean(lua_State* state, bool value) {
  lua_pushboolean(state, value);
  return 1;
}

int PushCount(lua_State* state, uint32_t value) {
  lua_pushnumber(state, value);
  return 1;
}

// A user id argument: a number truncated to a u32.
bool UserIdArgument(lua_State* state, int index, uint32_t& userId) {
  if (lua_gettop(state) < index) return false;
  userId = ToUnsigned(state, index);
  return true;
}

// (type, cellX, cellY, side, contact index, first entry): the entries of that tile-map contact from
// the first entry on that match every criterion given (type -1, negative cells and side 0 = any).
template <bool NewEntries>
int TileMapEntries(lua_State* state) {
  GameObject* self = SelfObject(state);
  if (!HasArguments(state, 6)) return 0;
  const int32_t type = ToInteger(state, kArg);
  const int32_t cellX = ToInteger(state, kArg + 1);
  const int32_t cellY = ToInteger(state, kArg + 2);
  const int32_t side = ToInteger(state, kArg + 3);
  const uint32_t contactIndex = ToUnsigned(state, kArg + 4);
  const uint32_t first = ToUnsigned(state, kArg + 5);
  const Collision2D::CollisionResults* results = self->GetCollisionResults();
  if (results == nullptr || contactIndex >= static_cast<uint32_t>(results->GetTileMapCount())) return 0;
  const Collision2D::TMAP_C& contact = results->GetTileMapContacts()[contactIndex];
  auto matches = [&](const Collision2D::TMAP_DATA_BASE& entry) {
    return (type < 0 || entry.id == static_cast<uint32_t>(type)) && (cellX < 0 || entry.cellX == static_cast<uint32_t>(cellX)) &&
           (cellY < 0 || entry.cellY == static_cast<uint32_t>(cellY)) &&
           (side == 0 || entry.collisionSide == static_cast<uint32_t>(side));
  };
  lua_newtable(state);
  int key = 1;
  const uint32_t count = NewEntries ? contact.currentNewIdsNumber : contact.currentStaticIdsNumber;
  for (uint32_t i = first; i < count; ++i) {
    const Collision2D::TMAP_DATA_BASE& entry =
        NewEntries ? static_cast<const Collision2D::TMAP_DATA_BASE&>(contact.newEntries[i]) : contact.staticEntries[i];
    if (!matches(entry)) continue;
    lua_pushnumber(state, i);
    lua_rawseti(state, -2, key++);
  }
  return 1;
}

}  // namespace

// A body already stored (it has an owner) cannot be handed over again: the engine would own it twice.
int AddCollision(lua_State* state) {
  GameObject* self = SelfObject(state);
  if (!HasArguments(state, 2)) return 0;
  auto* body = static_cast<Collision2D::DynamicObject*>(Lua::ToUserdata(state, kArg, "DynamicObject"));
  if (body == nullptr || body->GetTag().GetOwner() != nullptr) return 0;
  self->AddCollision(body, static_cast<uint8_t>(ToInteger(state, kArg + 1) & 0xFF));
  return 0;
}

int RemoveCollision(lua_State* state) {
  SelfObject(state)->RemoveCollision();
  return 0;
}

int ObjectInCollision(lua_State* state) { return PushBoolean(state, SelfObject(state)->ObjectInCollision()); }

int GetCollisionObject(lua_State* state) {
  Collision2D::DynamicObject* body = SelfObject(state)->GetCollisionObject();
  if (body == nullptr) return Lua::PushPointer(state, nullptr, "DynamicObject");
  return body->PushToLua(state);
}

int GetTileMapCollisionObject(lua_State* state) {
  Collision2D::TileMap* tileMap = SelfObject(state)->GetTileMapCollisionObject();
  if (tileMap == nullptr) {
    lua_pushnil(state);
    return 1;
  }
  return tileMap->PushToLua(state);
}

int GetNumberOfCollidedSprites(lua_State* state) {
  GameObject* self = SelfObject(state);
  if (!HasArguments(state, 1)) return 0;
  return PushCount(state, self->GetCollidedSpritesCount(ToBoolean(state, kArg)));
}

int GetNumberOfCollidedCircles(lua_State* state) { return PushCount(state, SelfObject(state)->GetCollidedCirclesCount()); }

int GetNumberOfCollidedLineSegments(lua_State* state) {
  return PushCount(state, SelfObject(state)->GetCollidedLineSegmentsCount());
}

int GetNumberOfCollidedTileMaps(lua_State* state) { return PushCount(state, SelfObject(state)->GetCollidedTileMapsCount()); }

int GetCollidedSprite(lua_State* state) {
  GameObject* self = SelfObject(state);
  if (!HasArguments(state, 2)) return 0;
  GameObject* partner = self->GetCollidedSprite(ToUnsigned(state, kArg), ToBoolean(state, kArg + 1));
  return partner ? PushObjectOrNil(state, partner) : 0;
}

int GetCollidedTileMap(lua_State* state) {
  GameObject* self = SelfObject(state);
  if (!HasArguments(state, 1)) return 0;
  const Collision2D::CollisionResults* results = self->GetCollisionResults();
  const uint32_t index = ToUnsigned(state, kArg);
  if (results == nullptr || index >= static_cast<uint32_t>(results->GetTileMapCount())) return 0;
  // The engine names the tile map's owner; the record's own link is not kept across loads.
  Collision2D::CollisionEngine* engine = GetGameServices().GetCollisionEngine();
  Collision2D::TileMap* tileMap = engine ? engine->GetTileMap(results->GetTileMapContacts()[index].id) : nullptr;
  GameObject* owner = tileMap ? tileMap->GetTag().GetOwner() : nullptr;
  return owner ? PushObjectOrNil(state, owner) : 0;
}

int IsCollidedWithSprite(lua_State* state) {
  GameObject* self = SelfObject(state);
  if (!HasArguments(state, 1)) return 0;
  const bool secondList = lua_gettop(state) > kArg && ToBoolean(state, kArg + 1);
  return PushBoolean(state, self->IsCollidedWithSprite(luaL_checkstring(state, kArg), secondList));
}

int IsCollidedWithSpriteLineSegment(lua_State* state) {
  GameObject* self = SelfObject(state);
  uint32_t userId = 0;
  if (!UserIdArgument(state, kArg, userId)) return 0;
  return PushBoolean(state, self->IsCollidedWithSpriteLineSegment(userId));
}

int IsCollidedWithSpriteCircle(lua_State* state) {
  GameObject* self = SelfObject(state);
  uint32_t userId = 0;
  if (!UserIdArgument(state, kArg, userId)) return 0;
  return PushBoolean(state, self->IsCollidedWithSpriteCircle(userId));
}

int IsCollidedWithLineSegment(lua_State* state) {
  GameObject* self = SelfObject(state);
  uint32_t userId = 0;
  if (!UserIdArgument(state, kArg, userId)) return 0;
  return PushBoolean(state, self->IsCollidedWithLineSegment(userId));
}

int IsCollidedWithCircle(lua_State* state) {
  GameObject* self = SelfObject(state);
  uint32_t userId = 0;
  if (!UserIdArgument(state, kArg, userId)) return 0;
  return PushBoolean(state, self->IsCollidedWithCircle(userId));
}

int IsCollidedWithTileMap(lua_State* state) {
  GameObject* self = SelfObject(state);
  if (!HasArguments(state, 1)) return 0;
  return PushBoolean(state, self->IsCollidedWithTileMap(luaL_checkstring(state, kArg)));
}

int IsMyLineSegmentCollided(lua_State* state) {
  GameObject* self = SelfObject(state);
  uint32_t userId = 0, partner = 0;
  if (!UserIdArgument(state, kArg, userId)) return 0;
  const bool withPartner = UserIdArgument(state, kArg + 1, partner);
  return PushBoolean(state, self->IsMyLineSegmentCollided(userId, withPartner ? &partner : nullptr));
}

int IsMyCircleCollided(lua_State* state) {
  GameObject* self = SelfObject(state);
  uint32_t userId = 0, partner = 0;
  if (!UserIdArgument(state, kArg, userId)) return 0;
  const bool withPartner = UserIdArgument(state, kArg + 1, partner);
  return PushBoolean(state, self->IsMyCircleCollided(userId, withPartner ? &partner : nullptr));
}

int GetTileMapNewEntries_UsingBoundingRectangle(lua_State* state) { return TileMapEntries<true>(state); }
int GetTileMapStaticEntries_UsingBoundingRectangle(lua_State* state) { return TileMapEntries<false>(state); }
int GetTileMapNewEntries_UsingHotSpot(lua_State* state) { return TileMapEntries<true>(state); }
int GetTileMapStaticEntries_UsingHotSpot(lua_State* state) { return TileMapEntries<false>(state); }

namespace {

// The record of that index of this frame's contacts, pushed as the collision engine's script table.
template <typename Push>
int PushContact(lua_State* state, Push push) {
  GameObject* self = SelfObject(state);
  if (!HasArguments(state, 1)) return 0;
  const Collision2D::CollisionResults* results = self->GetCollisionResults();
  if (results == nullptr) {
    lua_pushnil(state);
    return 1;
  }
  if (push(*results, ToUnsigned(state, kArg)) < 0) lua_pushnil(state);
  return 1;
}

}  // namespace

int GetCollidedCircleData(lua_State* state) {
  return PushContact(state, [state](const Collision2D::CollisionResults& results, uint32_t index) {
    if (index >= static_cast<uint32_t>(results.GetStaticCircleCount())) return -1;
    return Collision2D::PushCIR_C(state, &results.GetStaticCircleContacts()[index]);
  });
}

int GetCollidedLineSegmentData(lua_State* state) {
  return PushContact(state, [state](const Collision2D::CollisionResults& results, uint32_t index) {
    if (index >= static_cast<uint32_t>(results.GetStaticLineSegmentCount())) return -1;
    return Collision2D::PushLNS_C(state, &results.GetStaticLineSegmentContacts()[index]);
  });
}

int GetCollidedTileMapData(lua_State* state) {
  return PushContact(state, [state](const Collision2D::CollisionResults& results, uint32_t index) {
    if (index >= static_cast<uint32_t>(results.GetTileMapCount())) return -1;
    return Collision2D::PushTMAP_C(state, &results.GetTileMapContacts()[index]);
  });
}

int GetCollidedSpriteData(lua_State* state) {
  return PushContact(state, [state](const Collision2D::CollisionResults& results, uint32_t index) {
    if (index >= static_cast<uint32_t>(results.GetDynamicObjectCount())) return -1;
    return Collision2D::PushDGEO_C(state, &results.GetDynamicObjectContacts()[index]);
  });
}

}  // namespace Attachment
}  // namespace Script
}  // namespace Quillon
