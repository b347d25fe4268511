#pragma once
// The collision actors as records: one row per animation of each actor, with the rectangle of its
// frames and, for some sprites, the outline (line segments or circles) of each frame. The table
// is in Velkor_CollisionActorData.cpp; Velkor_CollisionActors.cpp turns an actor's rows into an
// actor. Internal to the collision actor sources.
#include <cstddef>
#include <cstdint>

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

// One animation of an actor: the actor's index, its frame count, the rectangle of every frame
// (top, left, right, bottom), and frameCount shape records, or null when no frame has shapes.
// An actor's animations are its rows in table order.
struct CollisionAnimationRow {
  uint32_t actor;
  uint32_t frameCount;
  float top, left, right, bottom;
  const CollisionShapeRecord* frameShapes = nullptr;
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

// Every animation of every actor, in actor order.
extern const CollisionAnimationRow kCollisionAnimations[];
extern const uint32_t kCollisionAnimationCount;
