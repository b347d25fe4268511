#pragma once
// The collision actors as records: the eleven source groups hold their actors' values as constant
// tables, and one builder turns a record into an actor. Internal to the collision actor sources.
#include <cstddef>
#include <cstdint>

#include "content/Velkor_CollisionActors.h"

// Segment a to b with its user id.
struct CollisionSegmentRecord {
  float ax, ay, bx, by;
  uint32_t userId;
};

struct CollisionCircleRecord {
  float x, y, radius;
};

// The shapes of one frame.
struct CollisionShapeRecord {
  const CollisionSegmentRecord* segments;
  uint32_t segmentCount;
  const CollisionCircleRecord* circles;
  uint32_t circleCount;
};

// One animation: its frame count, the rectangle of every frame (top, left, right, bottom), and
// frameCount shape records, or null when no frame has shapes.
struct CollisionAnimationRecord {
  uint32_t frameCount;
  float top, left, right, bottom;
  const CollisionShapeRecord* frameShapes;
};

struct CollisionActorRecord {
  const CollisionAnimationRecord* animations;
  uint32_t animationCount;
};

constexpr CollisionShapeRecord kNoShapes = {nullptr, 0, nullptr, 0};

template <size_t N>
constexpr CollisionShapeRecord Segments(const CollisionSegmentRecord (&segments)[N]) {
  return {segments, static_cast<uint32_t>(N), nullptr, 0};
}

template <size_t N>
constexpr CollisionShapeRecord Circles(const CollisionCircleRecord (&circles)[N]) {
  return {nullptr, 0, circles, static_cast<uint32_t>(N)};
}

template <size_t N>
constexpr CollisionActorRecord Animations(const CollisionAnimationRecord (&animations)[N]) {
  return {animations, static_cast<uint32_t>(N)};
}

// One animation with one shape-free frame rectangle per frame.
constexpr CollisionAnimationRecord Plain(uint32_t frames, float top, float left, float right, float bottom) {
  return {frames, top, left, right, bottom, nullptr};
}

// Outlines that sprites of several groups share.
extern const CollisionSegmentRecord kCarEdgesSegments[2];
extern const CollisionSegmentRecord kPotBoxSegments[4];
extern const CollisionSegmentRecord kCivilianBoxSegments[4];
extern const CollisionSegmentRecord kBoltBoxSegments[4];

// Each group's actors, 10 per group (5 in group 10).
extern const CollisionActorRecord kCollisionActorGroup0[10];
extern const CollisionActorRecord kCollisionActorGroup1[10];
extern const CollisionActorRecord kCollisionActorGroup2[10];
extern const CollisionActorRecord kCollisionActorGroup3[10];
extern const CollisionActorRecord kCollisionActorGroup4[10];
extern const CollisionActorRecord kCollisionActorGroup5[10];
extern const CollisionActorRecord kCollisionActorGroup6[10];
extern const CollisionActorRecord kCollisionActorGroup7[10];
extern const CollisionActorRecord kCollisionActorGroup8[10];
extern const CollisionActorRecord kCollisionActorGroup9[10];
extern const CollisionActorRecord kCollisionActorGroup10[5];

// A new, unregistered actor from a record; allocations are tagged with the group's source name.
Collision2D::CollisionActor* BuildCollisionActor(const CollisionActorRecord& record, const char* sourceFile, int line);

// Builds actor index, registers it with the running game and stores it in the factory's slot.
void CreateCollisionActor(MyLevelFactory* factory, uint32_t index, const CollisionActorRecord& record,
                          const char* sourceFile, int line);
