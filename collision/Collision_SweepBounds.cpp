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

void TranslatedShapes::Of(const DynamicObject& object) {
  // The plain path places every point with its own transform, so that the equality test holds the
  // offsets to it.
  translating = ShortcutsEnabled() && object.GetFrameRotation() == 0.0f;
  if (!translating) return;
  const size_t segments = object.ActiveLineSegmentCount();
  segmentEnds.resize(2 * segments);
  for (size_t k = 0; k < segments; ++k) {
    const Math::LineSegment2D& local = *object.GetLocalLineSegments()[k];
    segmentEnds[2 * k] = object.TurnedOffset(local.pointA, 0.0f);
    segmentEnds[2 * k + 1] = object.TurnedOffset(local.pointB, 0.0f);
  }
  pivotAtOne = object.PivotAt(1.0f);
}

namespace {

// endAtStart(k, end): segment k's endpoint placed at the start of the frame.
template <typename EndAtStart>
void BoundsOf(SweepBounds& bounds, const DynamicObject& object, EndAtStart endAtStart) {
  bounds.valid = false;
  if (object.GetFrameRotation() != 0.0f) return;
  bounds.extent = Box::Empty();
  bounds.frameStart = Box::Empty();
  const size_t segments = object.ActiveLineSegmentCount();
  for (size_t k = 0; k < segments; ++k) {
    const Math::LineSegment2D& start = *object.GetOldLineSegments()[k];
    bounds.extent.Add(endAtStart(k, 0) - object.GetOldPosition());
    bounds.extent.Add(endAtStart(k, 1) - object.GetOldPosition());
    bounds.frameStart.Add(start.pointA);
    bounds.frameStart.Add(start.pointB);
  }
  const size_t circles = object.ActiveCircleCount();
  for (size_t k = 0; k < circles; ++k) {
    const Math::Circle2D& local = *object.GetLocalCircles()[k];
    const Math::Circle2D& start = *object.GetOldCircles()[k];
    bounds.extent.Add(object.PointAt(local.center, 0.0f) - object.GetOldPosition(), local.radius);
    bounds.frameStart.Add(start.center, start.radius);
  }
  const float thickness = std::max(0.0f, object.GetCollisionThickness());
  bounds.reachX = thickness + std::fabs(object.GetStepDisplacement().x);
  bounds.reachY = thickness + std::fabs(object.GetStepDisplacement().y);
  bounds.valid = true;
}

}  // namespace

void SweepBounds::Of(const DynamicObject& object) {
  BoundsOf(*this, object, [&object](size_t k, int end) {
    const Math::LineSegment2D& local = *object.GetLocalLineSegments()[k];
    return object.PointAt(end == 0 ? local.pointA : local.pointB, 0.0f);
  });
}

void SweepBounds::Of(const DynamicObject& object, const TranslatedShapes& shapes) {
  const Math::Vector2D pivot = object.PivotAt(0.0f);
  BoundsOf(*this, object, [&shapes, &pivot](size_t k, int end) { return shapes.End(k, end) + pivot; });
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
