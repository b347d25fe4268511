#pragma once
// A square collision actor, for the tests, benchmarks and fuzz targets that need bodies of a known
// shape.
#include <cstdint>

#include "collision/Collision_Actor.h"

namespace CollisionTest {

// Gives the actor one animation of one frame: a square of half-side `half`, its bounding rectangle
// and its four sides as segments numbered from `firstSegment`.
inline void AddBoxAnimation(Collision2D::CollisionActor& actor, float half, uint32_t firstSegment = 10) {
  using Math::Vector2D;
  auto* animation = new Collision2D::CollisionAnimation();
  auto* frame = new Collision2D::CollisionFrame();
  frame->SetBoundingRectangle(Collision2D::QlnRect(half, -half, half, -half), true);
  const Vector2D corners[4] = {Vector2D(-half, -half), Vector2D(half, -half), Vector2D(half, half),
                               Vector2D(-half, half)};
  for (uint32_t k = 0; k < 4; ++k) {
    frame->AddCollisionLineSegment(corners[k], corners[(k + 1) % 4], firstSegment + k, true);
  }
  animation->AddCollisionFrame(frame);
  actor.AddCollisionAnimation(animation);
}

}  // namespace CollisionTest
