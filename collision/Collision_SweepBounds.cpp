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
