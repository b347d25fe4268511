// Script methods of a game object's collision body and its collision results.
#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_ScriptSupport.h"

namespace Quillon {
namespace Script {
namespace Attachment {

// Without the game's collision engine an object has no collision body: nothing to add, no results.
#define VELKOR_NO_COLLISION_METHOD(name) \
  int name(lua_State* state) {          \
    SelfObject(state);                  \
    return 0;                           \
  }

VELKOR_NO_COLLISION_METHOD(AddCollision)
VELKOR_NO_COLLISION_METHOD(RemoveCollision)
VELKOR_NO_COLLISION_METHOD(ObjectInCollision)
VELKOR_NO_COLLISION_METHOD(GetCollisionObject)
VELKOR_NO_COLLISION_METHOD(GetTileMapCollisionObject)
VELKOR_NO_COLLISION_METHOD(GetNumberOfCollidedSprites)
VELKOR_NO_COLLISION_METHOD(GetNumberOfCollidedCircles)
VELKOR_NO_COLLISION_METHOD(GetNumberOfCollidedLineSegments)
VELKOR_NO_COLLISION_METHOD(GetNumberOfCollidedTileMaps)
VELKOR_NO_COLLISION_METHOD(GetCollidedSprite)
VELKOR_NO_COLLISION_METHOD(GetCollidedTileMap)
VELKOR_NO_COLLISION_METHOD(IsCollidedWithSprite)
VELKOR_NO_COLLISION_METHOD(IsCollidedWithSpriteLineSegment)
VELKOR_NO_COLLISION_METHOD(IsCollidedWithSpriteCircle)
VELKOR_NO_COLLISION_METHOD(IsCollidedWithLineSegment)
VELKOR_NO_COLLISION_METHOD(IsCollidedWithCircle)
VELKOR_NO_COLLISION_METHOD(IsCollidedWithTileMap)
VELKOR_NO_COLLISION_METHOD(IsMyLineSegmentCollided)
VELKOR_NO_COLLISION_METHOD(IsMyCircleCollided)
VELKOR_NO_COLLISION_METHOD(GetTileMapNewEntries_UsingBoundingRectangle)
VELKOR_NO_COLLISION_METHOD(GetTileMapStaticEntries_UsingBoundingRectangle)
VELKOR_NO_COLLISION_METHOD(GetTileMapNewEntries_UsingHotSpot)
VELKOR_NO_COLLISION_METHOD(GetTileMapStaticEntries_UsingHotSpot)
VELKOR_NO_COLLISION_METHOD(GetCollidedCircleData)
VELKOR_NO_COLLISION_METHOD(GetCollidedLineSegmentData)
VELKOR_NO_COLLISION_METHOD(GetCollidedTileMapData)
VELKOR_NO_COLLISION_METHOD(GetCollidedSpriteData)

}  // namespace Attachment
}  // namespace Script
}  // namespace Quillon
