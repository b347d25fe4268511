// Boxes that rule out sub-steps and shape pairs of the swept tests before the exact tests run.
#include <algorithm>
#include <cmath>
#include <limits>

#include "collision/Collision_NarrowPhase.h"

namespace Collision2D {
namespace Narrow {

namespace {
bool g_shortcutsEnabled = true;
}  // namespace

bool ShortcutsEnabled() { return g_shortcutsEnabled; }
void SetShortcutsEnabled(bool enabled) { g_shortcutsEnabled = enabled; }

Box Box::Empty() {
  const float inf = std::numeric_limits<float>::infinity();
  Box box;
  box.left = box.bottom = inf;
  box.right = box.top = -inf;
  return box;
}

Box Box::Of(const Math::Vector2D& a, const Math::Vector2D& b) {
  Box box;
  box.left = std::min(a.x, b.x);
  box.right = std::max(a.x, b.x);
  box.bottom = std::min(a.y, b.y);
  box.top = std::max(a.y, b.y);
  return box;
}

Box Box::Of(const SegmentPose& pose) {
  Box box = Of(pose.a0, pose.b0);
  box.Add(pose.a1);
  box.Add(pose.b1);
  return box;
}

Box Box::Of(const CirclePose& pose) {
  Box box = Empty();
  box.Add(pose.c0, pose.radius);
  box.Add(pose.c1, pose.radius);
  return box;
}

Box Box::Of(const Math::Circle2D& circle) {
  Box box = Empty();
  box.Add(circle.center, circle.radius);
  return box;
}

void Box::Add(const Math::Vector2D& p) {
  left = std::min(left, p.x);
  right = std::max(right, p.x);
  bottom = std::min(bottom, p.y);
  top = std::max(top, p.y);
}

void Box::Add(const Math::Vector2D& p, float radius) {
  const float r = std::fabs(radius);
  Add(Math::Vector2D(p.x - r, p.y - r));
  Add(Math::Vector2D(p.x + r, p.y + r));
}

bool BoxesApart(const Box& a, const Box& b, float reachX, float reachY) {
  // Most boxes that reach the test are near: the rounding part of the margin, which only widens
  // it, is looked at once they lie apart by the rest.
  const float gapX = reachX + 1.0f, gapY = reachY + 1.0f;
  if (!(a.left > b.right + gapX || b.left > a.right + gapX || a.bottom > b.top + gapY || b.bottom > a.top + gapY))
    return false;
  float largest = 0.0f;
  for (float v : {a.left, a.right, a.bottom, a.top, b.left, b.right, b.bottom, b.top})
    largest = std::max(largest, std::fabs(v));
  const float rounding = largest * 1e-4f;
  return a.left > b.right + gapX + rounding || b.left > a.right + gapX + rounding ||
         a.bottom > b.top + gapY + rounding || b.bottom > a.top + gapY + rounding;
}

void SweepBounds::Of(const DynamicObject& object) {
  valid = false;
  if (object.GetFrameRotation() != 0.0f) return;
  extent = Box::Empty();
  frameStart = Box::Empty();
  const size_t segments = object.ActiveLineSegmentCount();
  for (size_t k = 0; k < segments; ++k) {
    const Math::LineSegment2D& local = *object.GetLocalLineSegments()[k];
    const Math::LineSegment2D& start = *object.GetOldLineSegments()[k];
    extent.Add(object.PointAt(local.pointA, 0.0f) - object.GetOldPosition());
    extent.Add(object.PointAt(local.pointB, 0.0f) - object.GetOldPosition());
    frameStart.Add(start.pointA);
    frameStart.Add(start.pointB);
  }
  const size_t circles = object.ActiveCircleCount();
  for (size_t k = 0; k < circles; ++k) {
    const Math::Circle2D& local = *object.GetLocalCircles()[k];
    const Math::Circle2D& start = *object.GetOldCircles()[k];
    extent.Add(object.PointAt(local.center, 0.0f) - object.GetOldPosition(), local.radius);
    frameStart.Add(start.center, start.radius);
  }
  const float thickness = std::max(0.0f, object.GetCollisionThickness());
  reachX = thickness + std::fabs(object.GetStepDisplacement().x);
  reachY = thickness + std::fabs(object.GetStepDisplacement().y);
  valid = true;
}

namespace {

Box Swept(const Box& extent, const Math::Vector2D& p0, const Math::Vector2D& p1) {
  Box box;
  box.left = std::min(p0.x, p1.x) + extent.left;
  box.right = std::max(p0.x, p1.x) + extent.right;
  box.bottom = std::min(p0.y, p1.y) + extent.bottom;
  box.top = std::max(p0.y, p1.y) + extent.top;
  return box;
}

Box Union(const Box& a, const Box& b) {
  Box box;
  box.left = std::min(a.left, b.left);
  box.right = std::max(a.right, b.right);
  box.bottom = std::min(a.bottom, b.bottom);
  box.top = std::max(a.top, b.top);
  return box;
}

}  // namespace

Box SweepBounds::SubStep(const DynamicObject& object, bool first, float t0, float t1) const {
  const Box box = Swept(extent, object.PositionAt(t0), object.PositionAt(t1));
  return first ? Union(box, frameStart) : box;
}

Box SweepBounds::Frame(const DynamicObject& object) const {
  return Union(Swept(extent, object.PositionAt(0.0f), object.PositionAt(1.0f)), frameStart);
}

void PlaceAtSubStepEnd(DynamicObject& object, float t1) {
  object.SetSubStepPosition(object.PositionAt(t1));
  const size_t segments = object.ActiveLineSegmentCount();
  for (size_t k = 0; k < segments; ++k) {
    const Math::LineSegment2D& local = *object.GetLocalLineSegments()[k];
    Math::LineSegment2D& stored = *object.GetSubStepLineSegments()[k];
    stored.pointA = object.PointAt(local.pointA, t1);
    stored.pointB = object.PointAt(local.pointB, t1);
  }
  const size_t circles = object.ActiveCircleCount();
  for (size_t k = 0; k < circles; ++k) {
    const Math::Circle2D& local = *object.GetLocalCircles()[k];
    Math::Circle2D& stored = *object.GetSubStepCircles()[k];
    stored.center = object.PointAt(local.center, t1);
    stored.radius = local.radius;
  }
}

}  // namespace Narrow
}  // namespace Collision2D
