#include "collision/Collision_Actor.h"

#include "core/Core_File.h"

namespace Collision2D {

namespace {

// Smallest stored forms, used to refuse counts the stream cannot hold.
constexpr uint64_t kStoredLineSegmentSize = 4 * 16 + 4;
constexpr uint64_t kStoredCircleSize = 4 * 12 + 4;
constexpr uint64_t kStoredHotSpotSize = 4 * 8;
constexpr uint64_t kStoredEmptyFrameSize = 64 + 3 * 4;
constexpr uint64_t kStoredEmptyAnimationSize = 4;

Math::Vector2D MirrorX(const Math::Vector2D& p) { return Math::Vector2D(-p.x, p.y); }
Math::Vector2D MirrorY(const Math::Vector2D& p) { return Math::Vector2D(p.x, -p.y); }
Math::Vector2D MirrorXY(const Math::Vector2D& p) { return Math::Vector2D(-p.x, -p.y); }

template <typename Shape>
void SaveShapes(Core::File& file, const std::vector<std::unique_ptr<Shape>>& shapes) {
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(shapes.size()));
  for (const auto& shape : shapes) shape->Save(file);
}

template <typename Shape>
void LoadShapes(Core::File& file, std::vector<std::unique_ptr<Shape>>& shapes, uint64_t storedSize) {
  uint32_t count = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(count, storedSize)) return;
  shapes.reserve(shapes.size() + count);
  for (uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
    std::unique_ptr<Shape> shape(new (__FILE__, __LINE__) Shape());
    shape->Load(file);
    shapes.push_back(std::move(shape));
  }
}

}  // namespace

void CollisionFrame::SetBoundingRectangle(const QlnRect& r, bool makeFlips) {
  m_boundingRectangles[NoFlip] = r;
  if (makeFlips) {
    m_boundingRectangles[HVFlip] = QlnRect(-r.bottom, -r.right, -r.left, -r.top);
    m_boundingRectangles[HFlip] = QlnRect(r.top, -r.right, -r.left, r.bottom);
    m_boundingRectangles[VFlip] = QlnRect(-r.bottom, r.left, r.right, -r.top);
  } else {
    m_boundingRectangles[HVFlip] = r;
    m_boundingRectangles[HFlip] = r;
    m_boundingRectangles[VFlip] = r;
  }
}

DynamicCollisionLineSegment& CollisionFrame::AddCollisionLineSegment(const Math::Vector2D& a, const Math::Vector2D& b,
                                                                     uint32_t userId, bool makeFlips) {
  std::unique_ptr<DynamicCollisionLineSegment> shape(new (__FILE__, __LINE__) DynamicCollisionLineSegment());
  shape->GetVariant(NoFlip) = Math::LineSegment2D(a, b);
  if (makeFlips) {
    shape->GetVariant(HVFlip) = Math::LineSegment2D(MirrorXY(b), MirrorXY(a));
    shape->GetVariant(HFlip) = Math::LineSegment2D(MirrorX(b), MirrorX(a));
    shape->GetVariant(VFlip) = Math::LineSegment2D(MirrorY(b), MirrorY(a));
  } else {
    for (FlipVariant variant : {HVFlip, HFlip, VFlip}) shape->GetVariant(variant) = Math::LineSegment2D(a, b);
  }
  shape->SetUserId(userId);
  m_lineSegments.push_back(std::move(shape));
  return *m_lineSegments.back();
}

DynamicCollisionCircle& CollisionFrame::AddCollisionCircle(const Math::Vector2D& centre, float radius, uint32_t userId,
                                                           bool makeFlips) {
  std::unique_ptr<DynamicCollisionCircle> shape(new (__FILE__, __LINE__) DynamicCollisionCircle());
  shape->GetVariant(NoFlip) = Math::Circle2D(centre, radius);
  if (makeFlips) {
    shape->GetVariant(HVFlip) = Math::Circle2D(MirrorXY(centre), radius);
    shape->GetVariant(HFlip) = Math::Circle2D(MirrorX(centre), radius);
    shape->GetVariant(VFlip) = Math::Circle2D(MirrorY(centre), radius);
  } else {
    for (FlipVariant variant : {HVFlip, HFlip, VFlip}) shape->GetVariant(variant) = Math::Circle2D(centre, radius);
  }
  shape->SetUserId(userId);
  m_circles.push_back(std::move(shape));
  return *m_circles.back();
}

DynamicCollisionHotSpot& CollisionFrame::AddCollisionHotSpot(const Math::Vector2D& point, bool makeFlips) {
  std::unique_ptr<DynamicCollisionHotSpot> shape(new (__FILE__, __LINE__) DynamicCollisionHotSpot());
  shape->GetVariant(NoFlip) = point;
  shape->GetVariant(HVFlip) = makeFlips ? MirrorXY(point) : point;
  shape->GetVariant(HFlip) = makeFlips ? MirrorX(point) : point;
  shape->GetVariant(VFlip) = makeFlips ? MirrorY(point) : point;
  m_hotSpots.push_back(std::move(shape));
  return *m_hotSpots.back();
}

void CollisionFrame::ClearShapes() {
  m_lineSegments.clear();
  m_circles.clear();
  m_hotSpots.clear();
}

void CollisionFrame::Save(Core::File& file) const {
  for (const QlnRect& rectangle : m_boundingRectangles) rectangle.Write(file);
  SaveShapes(file, m_lineSegments);
  SaveShapes(file, m_circles);
  SaveShapes(file, m_hotSpots);
}

void CollisionFrame::Load(Core::File& file) {
  for (QlnRect& rectangle : m_boundingRectangles) rectangle.Read(file);
  LoadShapes(file, m_lineSegments, kStoredLineSegmentSize);
  LoadShapes(file, m_circles, kStoredCircleSize);
  LoadShapes(file, m_hotSpots, kStoredHotSpotSize);
}

bool CollisionAnimation::AddCollisionFrame(CollisionFrame* frame) {
  if (frame == nullptr || frame->HasOwner()) return false;
  frame->SetHasOwner();
  m_frames.emplace_back(frame);
  return true;
}

void CollisionAnimation::Save(Core::File& file) const {
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(m_frames.size()));
  for (const auto& frame : m_frames) frame->Save(file);
}

void CollisionAnimation::Load(Core::File& file) {
  uint32_t count = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(count, kStoredEmptyFrameSize)) return;
  m_frames.reserve(m_frames.size() + count);
  for (uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
    auto* frame = new (__FILE__, __LINE__) CollisionFrame();
    AddCollisionFrame(frame);
    frame->Load(file);
  }
}

bool CollisionActor::AddCollisionAnimation(CollisionAnimation* animation) {
  if (animation == nullptr || animation->HasOwner()) return false;
  animation->SetHasOwner();
  m_animations.emplace_back(animation);
  return true;
}

CollisionFrame* CollisionActor::GetFrame(uint32_t animation, uint32_t frame) const {
  CollisionAnimation* owner = GetAnimation(animation);
  return owner ? owner->GetFrame(frame) : nullptr;
}

void CollisionActor::Save(Core::File& file) const {
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(m_animations.size()));
  for (const auto& animation : m_animations) animation->Save(file);
}

void CollisionActor::Load(Core::File& file) {
  uint32_t count = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(count, kStoredEmptyAnimationSize)) return;
  m_animations.reserve(m_animations.size() + count);
  for (uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
    auto* animation = new (__FILE__, __LINE__) CollisionAnimation();
    AddCollisionAnimation(animation);
    animation->Load(file);
  }
}

}  // namespace Collision2D
