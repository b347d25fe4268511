#pragma once
// Scenes for the narrow-phase tests and benchmarks: bodies with one collision frame, moved from one
// pose to another and updated as the collision layer would before its pair tests.
#include <memory>
#include <vector>

#include "collision/Collision_Actor.h"
#include "collision/Collision_DynamicObject.h"
#include "math/Math_Vector2D.h"

namespace CollisionTest {

struct SegmentSpec {
  Math::Vector2D a, b;
  uint32_t userId;
};
struct CircleSpec {
  Math::Vector2D centre;
  float radius;
  uint32_t userId;
};

// One actor with one animation of one frame, and a geometric dynamic object bound to it.
struct Body {
  std::unique_ptr<Collision2D::CollisionActor> actor;
  std::unique_ptr<Collision2D::DynamicObject> object;

  Collision2D::DynamicObject& operator*() { return *object; }
  Collision2D::DynamicObject* operator->() { return object.get(); }
};

inline std::unique_ptr<Collision2D::CollisionActor> MakeActor(const std::vector<SegmentSpec>& segments,
                                                              const std::vector<CircleSpec>& circles,
                                                              const Collision2D::QlnRect& rectangle) {
  auto actor = std::make_unique<Collision2D::CollisionActor>();
  auto* animation = new Collision2D::CollisionAnimation();
  auto* frame = new Collision2D::CollisionFrame();
  frame->SetBoundingRectangle(rectangle, true);
  for (const SegmentSpec& s : segments) frame->AddCollisionLineSegment(s.a, s.b, s.userId, true);
  for (const CircleSpec& c : circles) frame->AddCollisionCircle(c.centre, c.radius, c.userId, true);
  animation->AddCollisionFrame(frame);
  actor->AddCollisionAnimation(animation);
  return actor;
}

inline Body MakeBody(const std::vector<SegmentSpec>& segments, const std::vector<CircleSpec>& circles,
                     uint32_t slot = 1, float thickness = 0.0f) {
  Body body;
  body.actor = MakeActor(segments, circles, Collision2D::QlnRect(1, -1, 1, -1));
  body.object = std::make_unique<Collision2D::DynamicObject>();
  body.object->AddCollisionData(body.actor.get(), 0, 0);
  body.object->SetCollisionType(true);
  body.object->SetCollisionThickness(thickness);
  body.object->SetIndex(slot);
  return body;
}

// Old pose := from, pose := to, then the per-frame update.
inline void Move(Collision2D::DynamicObject& object, const Math::Vector2D& from, const Math::Vector2D& to,
                 float fromAngle = 0.0f, float toAngle = 0.0f) {
  object.SetOldPosition(from);
  object.SetPosition(to);
  object.SetOldOrientation(fromAngle);
  object.SetOrientation(toAngle);
  object.Update();
}

}  // namespace CollisionTest
