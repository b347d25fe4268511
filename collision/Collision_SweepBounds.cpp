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

bool BoxesApartByRounding(const Box& a, const Box& b, float gapX, float gapY) {
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
