#pragma once
// The 105 collision actors of the game's sprites: per sprite animation and frame a bounding
// rectangle (with its three mirrored variants) and, for some sprites, an outline of line segments
// or circles. Every level build creates all of them anew, in index order
// (MyLevelFactory::CreateCollisionActors), and registers each with the game, so that an actor's
// index is also its position in the game's collision assets. The factory's slots only refer to the
// actors: the game owns them from registration on.
#include <cstdint>

namespace Collision2D {
class CollisionActor;
}

// A new actor with the data of that index (Velkor_CollisionActorData.cpp), owned by the caller and
// not registered; null for an index that no row of the table names. Throws std::bad_alloc when
// memory runs out (nothing leaks).
Collision2D::CollisionActor* BuildCollisionActor(uint32_t index);
