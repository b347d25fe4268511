#include "content/Velkor_CollisionActors.h"

#include <memory>

#include "collision/Collision_Actor.h"
#include "content/Velkor_CollisionActorData.h"

namespace {

constexpr const char* kSource = "Velkor_CollisionActors";

std::unique_ptr<Collision2D::CollisionFrame> BuildFrame(const CollisionAnimationRow& row, uint32_t frameIndex) {
  using namespace Collision2D;
  std::unique_ptr<CollisionFrame> frame(new (kSource, __LINE__) CollisionFrame());
  frame->SetBoundingRectangle(QlnRect(row.top, row.left, row.right, row.bottom), true);
  if (row.frameShapes == nullptr) return frame;
  const CollisionShapeRecord& shapes = row.frameShapes[frameIndex];
  for (uint32_t s = 0; s < shapes.segmentCount; ++s) {
    const CollisionSegmentRecord& segment = shapes.segments[s];
    frame->AddCollisionLineSegment(Math::Vector2D(segment.ax, segment.ay), Math::Vector2D(segment.bx, segment.by),
                                   segment.userId, true);
  }
  for (uint32_t c = 0; c < shapes.circleCount; ++c) {
    const CollisionCircleRecord& circle = shapes.circles[c];
    frame->AddCollisionCircle(Math::Vector2D(circle.x, circle.y), circle.radius, 0, true);
  }
  return frame;
}

}  // namespace

Collision2D::CollisionActor* BuildCollisionActor(uint32_t index) {
  using namespace Collision2D;
  // Each part is held until its owner has taken it, so a failed allocation frees what was built.
  std::unique_ptr<CollisionActor> actor;
  for (uint32_t r = 0; r < kCollisionAnimationCount; ++r) {
    const CollisionAnimationRow& row = kCollisionAnimations[r];
    if (row.actor != index) continue;
    if (!actor) actor.reset(new (kSource, __LINE__) CollisionActor());
    std::unique_ptr<CollisionAnimation> animation(new (kSource, __LINE__) CollisionAnimation());
    for (uint32_t f = 0; f < row.frameCount; ++f) {
      std::unique_ptr<CollisionFrame> frame = BuildFrame(row, f);
      if (animation->AddCollisionFrame(frame.get())) frame.release();
    }
    if (actor->AddCollisionAnimation(animation.get())) animation.release();
  }
  return actor.release();
}
