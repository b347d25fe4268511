#include "collision/Collision_DynamicObject.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "collision/Collision_NarrowPhase.h"
#include "core/Core_File.h"
#include "math/Math_Matrix3x3.h"

namespace Collision2D {

namespace {

int32_t g_maximumInterpolationValue = kDefaultMaximumInterpolationValue;

constexpr int32_t kCandidateGrowStep = 5;
// Selection-list sizes and candidate capacities a stream may give.
constexpr uint32_t kMaximumStoredListSize = 4096;

// trunc(value) clamped to [1, cap] without converting values an int cannot hold (or NaN).
int32_t StepCountOf(float value, int32_t cap) {
  if (!(value >= 1.0f)) return 1;
  if (value >= static_cast<float>(cap)) return cap;
  return std::max(1, std::min(cap, static_cast<int32_t>(value)));
}

Math::Vector2D Place(const Math::Matrix3x3& transform, const Math::Vector2D& point) { return transform * point; }

}  // namespace

int32_t GetMaximumInterpolationValue() { return g_maximumInterpolationValue; }
void SetMaximumInterpolationValue(int32_t value) { g_maximumInterpolationValue = std::max(1, value); }

DynamicObject::DynamicObject()
    : MainCollisionObject(DynamicObjectKind), m_candidateIds(new uint32_t[kCandidateGrowStep]()) {}

DynamicObject::DynamicObject(LoadConstruction)
    : MainCollisionObject(UnsetKind), m_candidateIds(new uint32_t[kCandidateGrowStep]()) {}

DynamicObject::DynamicObject(const DynamicObject& other) : MainCollisionObject(other) {
  m_tag.SetKind(DynamicObjectKind);
  m_index = 0;
  std::memcpy(m_canCollide, other.m_canCollide, sizeof(m_canCollide));
  m_candidateCapacity = std::max(other.m_candidateCapacity, 1);
  m_candidateCount = std::min(other.m_candidateCount, m_candidateCapacity - 1);
  m_candidateIds.reset(new uint32_t[static_cast<size_t>(m_candidateCapacity)]());
  for (int32_t i = 0; i < m_candidateCount; ++i) m_candidateIds[i] = other.m_candidateIds[i];
  m_frameDisplacement = other.m_frameDisplacement;
  m_frameRotation = other.m_frameRotation;
  m_stepDisplacement = other.m_stepDisplacement;
  m_stepRotation = other.m_stepRotation;
  m_zCollision = other.m_zCollision;
  m_oldPosition = other.m_oldPosition;
  m_position = other.m_position;
  m_subStepPosition = other.m_subStepPosition;
  m_centre = other.m_centre;
  m_oldOrientation = other.m_oldOrientation;
  m_orientation = other.m_orientation;
  m_updateOnIdle = other.m_updateOnIdle;
  m_sparePosition = other.m_sparePosition;
  m_spareOrientation = other.m_spareOrientation;
  m_moved = other.m_moved;
  m_stepCount = other.m_stepCount;
  std::memcpy(m_cellRange, other.m_cellRange, sizeof(m_cellRange));
  m_collisionType = other.m_collisionType;
  m_collisionThickness = other.m_collisionThickness;
  m_boundingRectangleCheckingTileMap = other.m_boundingRectangleCheckingTileMap;
  m_hasOwnRectangle = other.m_hasOwnRectangle;
  std::copy(std::begin(other.m_ownRectangles), std::end(other.m_ownRectangles), std::begin(m_ownRectangles));
  if (other.m_actor != nullptr) AddCollisionData(other.m_actor, 0, 0);
  m_currentAnimation = other.m_currentAnimation;
  m_currentFrameIndex = other.m_currentFrameIndex;
  m_hFlip = other.m_hFlip;
  m_vFlip = other.m_vFlip;
}

DynamicObject::~DynamicObject() {
  ClearWorldShapes();
  m_localSegments.clear();
  m_localCircles.clear();
  m_localHotSpots.clear();
  m_actor = nullptr;
  m_currentFrame = nullptr;
  m_selectedFrame = nullptr;
}

DynamicObject* DynamicObject::Clone() const { return new (__FILE__, __LINE__) DynamicObject(*this); }

void DynamicObject::SetZCollision(uint8_t z) { m_zCollision = std::min(z, kMaximumZCollision); }

void DynamicObject::SetCenter(const Math::Vector2D& centre) {
  m_position = m_position + m_centre - centre;
  m_centre = centre;
}

void DynamicObject::SetCanCollid(uint8_t z, bool value) {
  if (z < kCanCollideEntries) m_canCollide[z] = value;
}


void DynamicObject::SetCurrentCollisionFrame(uint32_t animation, uint32_t frame, bool hFlip, bool vFlip) {
  m_currentAnimation = animation;
  m_currentFrameIndex = frame;
  m_hFlip = hFlip;
  m_vFlip = vFlip;
}

Math::Vector2D DynamicObject::GetCurrentHotSpot(uint8_t index) const {
  if (index >= m_currentHotSpots.size()) return Math::Vector2D();
  return *m_currentHotSpots[index];
}

// --- Actor binding ---------------------------------------------------------------------------

void DynamicObject::ClearWorldShapes() {
  m_oldSegments.clear();
  m_currentSegments.clear();
  m_subStepSegments.clear();
  m_oldCircles.clear();
  m_currentCircles.clear();
  m_subStepCircles.clear();
  m_oldHotSpots.clear();
  m_currentHotSpots.clear();
  m_subStepHotSpots.clear();
}

void DynamicObject::AppendWorldShapes(const CollisionActor& actor) {
  const CollisionFrame* segmentFrame = nullptr;
  const CollisionFrame* circleFrame = nullptr;
  const CollisionFrame* hotSpotFrame = nullptr;
  size_t segmentMost = 0, circleMost = 0, hotSpotMost = 0;
  for (uint32_t a = 0; a < actor.GetAnimationCount(); ++a) {
    const CollisionAnimation* animation = actor.GetAnimation(a);
    for (uint32_t f = 0; f < animation->GetFrameCount(); ++f) {
      const CollisionFrame* frame = animation->GetFrame(f);
      // Strictly larger only: the first frame with the largest count wins.
      if (frame->GetLineSegments().size() > segmentMost) {
        segmentMost = frame->GetLineSegments().size();
        segmentFrame = frame;
      }
      if (frame->GetCircles().size() > circleMost) {
        circleMost = frame->GetCircles().size();
        circleFrame = frame;
      }
      if (frame->GetHotSpots().size() > hotSpotMost) {
        hotSpotMost = frame->GetHotSpots().size();
        hotSpotFrame = frame;
      }
    }
  }
  // One list at a time, so that each list's shapes lie close together in memory: the pair tests
  // walk the frame-start and sub-step lists of objects they meet cold.
  if (segmentFrame) {
    const auto& shapes = segmentFrame->GetLineSegments();
    for (auto* list : {&m_oldSegments, &m_subStepSegments, &m_currentSegments}) {
      list->reserve(list->size() + shapes.size());
      for (const auto& shape : shapes)
        list->push_back(std::make_unique<Math::LineSegment2D>(shape->GetVariant(NoFlip)));
    }
  }
  if (circleFrame) {
    const auto& shapes = circleFrame->GetCircles();
    for (auto* list : {&m_oldCircles, &m_subStepCircles, &m_currentCircles}) {
      list->reserve(list->size() + shapes.size());
      for (const auto& shape : shapes) list->push_back(std::make_unique<Math::Circle2D>(shape->GetVariant(NoFlip)));
    }
  }
  if (hotSpotFrame) {
    for (const auto& shape : hotSpotFrame->GetHotSpots()) {
      const Math::Vector2D& point = shape->GetVariant(NoFlip);
      m_oldHotSpots.push_back(std::make_unique<Math::Vector2D>(point));
      m_currentHotSpots.push_back(std::make_unique<Math::Vector2D>(point));
      m_subStepHotSpots.push_back(std::make_unique<Math::Vector2D>(point));
    }
  }
}

void DynamicObject::AddCollisionData(CollisionActor* actor, uint32_t animation, uint32_t frame) {
  if (actor == nullptr) return;
  CollisionFrame* selected = actor->GetFrame(animation, frame);
  if (selected == nullptr) return;
  m_actor = actor;
  m_currentFrame = selected;
  const QlnRect& rectangle = selected->GetBoundingRectangle(NoFlip);
  m_oldWorldRectangle = m_worldRectangle = m_sweptRectangle = m_subStepRectangle = rectangle;
  AppendWorldShapes(*actor);
}

void DynamicObject::SetCollisionActor(CollisionActor* actor, uint32_t animation, uint32_t frame) {
  ClearWorldShapes();
  m_selectedFrame = nullptr;
  m_actor = actor;
  m_currentFrame = actor ? actor->GetFrame(animation, frame) : nullptr;
  if (m_currentFrame) {
    const QlnRect& rectangle = m_currentFrame->GetBoundingRectangle(NoFlip);
    m_oldWorldRectangle = m_worldRectangle = m_sweptRectangle = m_subStepRectangle = rectangle;
  }
  if (actor) AppendWorldShapes(*actor);
}

// --- Per-frame operations --------------------------------------------------------------------

const Math::Matrix3x3& DynamicObject::PlacementRotation(float degrees) const {
  // Sines and cosines cost more than placing a box: most objects keep their angle frame to frame.
  uint32_t bits;
  std::memcpy(&bits, &degrees, sizeof(bits));
  for (const PlacementRotationEntry& entry : m_placementRotations) {
    if (entry.valid && entry.bits == bits) return entry.rotation;
  }
  // Round robin: the older entry goes, and the previous frame's current angle is this frame's old one.
  PlacementRotationEntry& entry = m_placementRotations[m_placementRotationNext];
  m_placementRotationNext ^= 1;
  entry.valid = true;
  entry.bits = bits;
  entry.rotation = Math::Matrix3x3::MakeRotation(degrees);
  return entry.rotation;
}

const Math::Matrix3x3& DynamicObject::PlacementTransform(const Math::Vector2D& position, float orientation) const {
  uint32_t key[5];
  const float values[5] = {position.x, position.y, orientation, m_centre.x, m_centre.y};
  std::memcpy(key, values, sizeof(key));
  for (const PlacementTransformEntry& entry : m_placementTransforms) {
    if (entry.valid && std::memcmp(entry.key, key, sizeof(key)) == 0) return entry.transform;
  }
  PlacementTransformEntry& entry = m_placementTransforms[m_placementTransformNext];
  m_placementTransformNext ^= 1;
  entry.valid = true;
  std::memcpy(entry.key, key, sizeof(key));
  // Rotation about the reference point: the centre offset is put back around the turn.
  entry.transform = Math::Matrix3x3::MakeTranslation(position + m_centre) * PlacementRotation(orientation) *
                    Math::Matrix3x3::MakeTranslation(-m_centre);
  return entry.transform;
}

void DynamicObject::SetOwnBoundingRectangle(const QlnRect& r) {
  m_hasOwnRectangle = true;
  m_ownRectangles[NoFlip] = r;
  m_ownRectangles[HVFlip] = QlnRect(-r.bottom, -r.right, -r.left, -r.top);
  m_ownRectangles[HFlip] = QlnRect(r.top, -r.right, -r.left, r.bottom);
  m_ownRectangles[VFlip] = QlnRect(-r.bottom, r.left, r.right, -r.top);
  m_localRectangle = m_ownRectangles[SelectFlipVariant(m_hFlip, m_vFlip)];
}

void DynamicObject::PlaceRectangle(const QlnRect& local, QlnRect& out, const Math::Vector2D& position,
                                   float orientation) const {
  // Turned about the centre, as the shapes are: the rectangle keeps holding them. Without a centre
  // or a turn the two ways agree, and the plain one keeps its exact values.
  if ((m_centre.x == 0.0f && m_centre.y == 0.0f) || orientation == 0.0f || orientation == 360.0f) {
    ComputeBoundingRectangle(local, out, position, orientation);
    return;
  }
  const QlnRect aroundCentre(local.top - m_centre.y, local.left - m_centre.x, local.right - m_centre.x,
                             local.bottom - m_centre.y);
  ComputeBoundingRectangle(aroundCentre, out, position + m_centre, orientation);
}

void DynamicObject::PlaceWorldShapes(const Math::Vector2D& position, float orientation,
                                     std::vector<std::unique_ptr<Math::LineSegment2D>>& segments,
                                     std::vector<std::unique_ptr<Math::Circle2D>>& circles,
                                     std::vector<std::unique_ptr<Math::Vector2D>>& hotSpots) const {
  const Math::Matrix3x3& transform = PlacementTransform(position, orientation);
  const size_t segmentCount = std::min(m_currentFrame->GetLineSegments().size(), segments.size());
  for (size_t k = 0; k < segmentCount; ++k) {
    segments[k]->pointA = Place(transform, m_localSegments[k]->pointA);
    segments[k]->pointB = Place(transform, m_localSegments[k]->pointB);
  }
  const size_t circleCount = std::min(m_currentFrame->GetCircles().size(), circles.size());
  for (size_t k = 0; k < circleCount; ++k) {
    circles[k]->center = Place(transform, m_localCircles[k]->center);
    circles[k]->radius = m_localCircles[k]->radius;
  }
  const size_t hotSpotCount = std::min(m_currentFrame->GetHotSpots().size(), hotSpots.size());
  for (size_t k = 0; k < hotSpotCount; ++k) *hotSpots[k] = Place(transform, *m_localHotSpots[k]);
}

bool DynamicObject::SelectCurrentFrame() {
  m_currentFrame = m_actor ? m_actor->GetFrame(m_currentAnimation, m_currentFrameIndex) : nullptr;
  return m_currentFrame != nullptr;
}

void DynamicObject::PlaceAtPoses() {
  const CollisionFrame& frame = *m_currentFrame;
  if (m_localSegments.size() < frame.GetLineSegments().size()) m_localSegments.resize(frame.GetLineSegments().size());
  if (m_localCircles.size() < frame.GetCircles().size()) m_localCircles.resize(frame.GetCircles().size());
  if (m_localHotSpots.size() < frame.GetHotSpots().size()) m_localHotSpots.resize(frame.GetHotSpots().size());
  const FlipVariant variant = SelectFlipVariant(m_hFlip, m_vFlip);
  for (size_t k = 0; k < frame.GetLineSegments().size(); ++k)
    m_localSegments[k] = &frame.GetLineSegments()[k]->GetVariant(variant);
  for (size_t k = 0; k < frame.GetCircles().size(); ++k) m_localCircles[k] = &frame.GetCircles()[k]->GetVariant(variant);
  for (size_t k = 0; k < frame.GetHotSpots().size(); ++k) m_localHotSpots[k] = &frame.GetHotSpots()[k]->GetVariant(variant);
  m_localRectangle = m_hasOwnRectangle ? m_ownRectangles[variant] : frame.GetBoundingRectangle(variant);
  m_selectedFrame = m_currentFrame;

  PlaceRectangle(m_localRectangle, m_oldWorldRectangle, m_oldPosition, m_oldOrientation);
  PlaceRectangle(m_localRectangle, m_worldRectangle, m_position, m_orientation);
  UniteRectangles(m_oldWorldRectangle, m_worldRectangle, m_sweptRectangle);

  PlaceWorldShapes(m_oldPosition, m_oldOrientation, m_oldSegments, m_oldCircles, m_oldHotSpots);
  PlaceWorldShapes(m_position, m_orientation, m_currentSegments, m_currentCircles, m_currentHotSpots);
}

void DynamicObject::Update() {
  if (!SelectCurrentFrame()) return;
  m_results.Reset();
  m_moved = m_oldPosition != m_position || m_oldOrientation != m_orientation;
  m_frameDisplacement = m_position - m_oldPosition;
  m_frameRotation = m_orientation - m_oldOrientation;
  const float measure = std::max(m_frameDisplacement.Length() + 0.5f, std::fabs(m_frameRotation) + 0.5f);
  m_stepCount = StepCountOf(measure, std::max(1, g_maximumInterpolationValue));
  const float reciprocal = 1.0f / static_cast<float>(m_stepCount);
  m_stepDisplacement = m_frameDisplacement * reciprocal;
  m_stepRotation = m_frameRotation * reciprocal;
  PlaceAtPoses();
  m_candidateCount = 0;
}

void DynamicObject::ResetMotion() {
  m_oldPosition = m_position;
  m_oldOrientation = m_orientation;
  m_frameDisplacement = Math::Vector2D();
  m_frameRotation = 0.0f;
  // Scripts read the placed shapes before the next pass: they must stand where the object now is,
  // in its current frame and flip, exactly as that pass will place them.
  if (SelectCurrentFrame()) PlaceAtPoses();
}

void DynamicObject::CommitMotion() {
  m_oldPosition = m_position;
  m_oldOrientation = m_orientation;
}

void DynamicObject::AddCandidate(uint32_t slot) {
  for (int32_t k = 0; k < m_candidateCount; ++k) {
    if (m_candidateIds[k] == slot) return;
  }
  m_candidateIds[m_candidateCount++] = slot;
  if (m_candidateCount >= m_candidateCapacity) {
    const int32_t capacity = m_candidateCapacity + kCandidateGrowStep;
    std::unique_ptr<uint32_t[]> grown(new uint32_t[static_cast<size_t>(capacity)]());
    std::copy(m_candidateIds.get(), m_candidateIds.get() + m_candidateCount, grown.get());
    m_candidateIds = std::move(grown);
    m_candidateCapacity = capacity;
  }
}

// --- Pose functions --------------------------------------------------------------------------

Math::Vector2D DynamicObject::Turn(float degrees, const Math::Vector2D& v) const {
  // The swept tests turn the same few angles many times over: sines and cosines dominate the
  // narrow phase without the kept ones.
  for (const RotationCacheEntry& entry : m_rotationCache) {
    if (entry.valid && entry.degrees == degrees) return entry.rotation * v;
  }
  RotationCacheEntry& entry = m_rotationCache[m_rotationCacheNext];
  m_rotationCacheNext = (m_rotationCacheNext + 1) % kRotationCacheSize;
  entry.valid = true;
  entry.degrees = degrees;
  entry.rotation = Math::Matrix3x3::MakeRotation(degrees);
  return entry.rotation * v;
}

Math::Vector2D DynamicObject::MotionOf(const Math::Vector2D& v, float f) const {
  return Rotate(f * m_frameRotation, v) + m_frameDisplacement * f;
}

Math::Vector2D DynamicObject::InverseMotionOf(const Math::Vector2D& v, float f) const {
  return Rotate(-(f * m_frameRotation), v) - m_frameDisplacement * f;
}

namespace {

using SegmentList = std::vector<std::unique_ptr<Math::LineSegment2D>>;

// The stages shared by the pair test's and the update's cache hints: 1 the arrays of the local
// segments and of the given lists, 2 the segments the lists point to.
void PrefetchSegments(int stage, const std::vector<const Math::LineSegment2D*>& local, const SegmentList& first,
                      const SegmentList& second) {
  for (const SegmentList* list : {&first, &second}) {
    if (stage == 1 && !list->empty()) PrefetchBytes(list->data(), list->size() * sizeof(list->front()));
    if (stage == 2) {
      for (const auto& segment : *list) __builtin_prefetch(segment.get());
    }
  }
  if (stage == 1 && !local.empty()) PrefetchBytes(local.data(), local.size() * sizeof(local.front()));
}

}  // namespace

void DynamicObject::PrefetchForPairTest(int stage) const {
  if (stage == 0) {
    // The pair tests' fields lead the object, up to and with the results.
    PrefetchBytes(this, static_cast<size_t>(reinterpret_cast<const char*>(&m_results + 1) -
                                            reinterpret_cast<const char*>(this)));
    return;
  }
  PrefetchSegments(stage, m_localSegments, m_oldSegments, m_subStepSegments);
  m_results.PrefetchCurrentDynamicObjectContact(stage == 2);
}

void DynamicObject::PrefetchForUpdate(int stage) const {
  if (stage == 0) {
    PrefetchBytes(this, sizeof(*this));
    return;
  }
  PrefetchSegments(stage, m_localSegments, m_oldSegments, m_currentSegments);
  m_results.PrefetchForReset(stage);
}

// --- Rectangle-only pair test ----------------------------------------------------------------

void DynamicObject::CollideBoundingRectangles(DynamicObject& other, uint8_t layerIndex) {
  DynamicObject& a = *this;
  DynamicObject& b = other;
  a.m_subStepRectangle = a.m_oldWorldRectangle;
  b.m_subStepRectangle = b.m_oldWorldRectangle;
  const int32_t count = std::max(a.m_stepCount, b.m_stepCount);
  for (int32_t i = 1; i <= count; ++i) {
    const float t = static_cast<float>(i) / static_cast<float>(count);
    a.m_subStepPosition = a.PositionAt(t);
    b.m_subStepPosition = b.PositionAt(t);
    // Placed from the local rectangle at the interpolated pose, so that a turning object turns
    // about its own reference point rather than about the world origin.
    a.PlaceRectangle(a.m_localRectangle, a.m_subStepRectangle, a.m_subStepPosition, a.OrientationAt(t));
    b.PlaceRectangle(b.m_localRectangle, b.m_subStepRectangle, b.m_subStepPosition, b.OrientationAt(t));
    QlnRect intersection;
    if (!IntersectRectangles(a.m_subStepRectangle, b.m_subStepRectangle, intersection)) continue;
    BRECT_C& recordA = a.m_results.CurrentBoundingRectangleContact();
    recordA.partnerOwner = b.m_tag.GetOwner();
    recordA.id = MakeCollisionId(kDynamicObjectIdBase + b.m_index, layerIndex, b.m_zCollision);
    recordA.rectangleIntersection = intersection;
    recordA.contactPosition = a.m_subStepPosition;
    recordA.contactOrientation = a.OrientationAt(t);
    BRECT_C& recordB = b.m_results.CurrentBoundingRectangleContact();
    recordB.partnerOwner = a.m_tag.GetOwner();
    recordB.id = MakeCollisionId(kDynamicObjectIdBase + a.m_index, layerIndex, a.m_zCollision);
    recordB.rectangleIntersection = intersection;
    recordB.contactPosition = b.m_subStepPosition;
    recordB.contactOrientation = b.OrientationAt(t);
    a.m_results.NextBoundingRectangleContact();
    b.m_results.NextBoundingRectangleContact();
    return;
  }
}

// --- Geometric pair driver -------------------------------------------------------------------

namespace {

void StampPose(DGEO_C& record, const DynamicObject& object, float f) {
  record.contactPosition = object.PositionAt(f);
  record.contactOrientation = object.OrientationAt(f);
}

void StampRest(DGEO_C& record, const DynamicObject& object) {
  record.contactPosition = object.GetOldPosition();
  record.contactOrientation = object.GetOldOrientation();
}

}  // namespace

void DynamicObject::CollideGeometric(DynamicObject& other, const uint8_t* layerIndex) {
  DynamicObject& a = *this;
  DynamicObject& b = other;
  const uint8_t layer = layerIndex ? *layerIndex : 0;
  bool hit = false;

  if (a.m_moved && b.m_moved) {
    int32_t count = std::max(a.m_stepCount, b.m_stepCount);
    if (count < 1) return;
    const float step = 1.0f / static_cast<float>(count);
    // Turned once for every sub-step of the pair test; the scratch keeps its storage.
    static thread_local Narrow::TranslatedShapes shapesA, shapesB;
    shapesA.Of(a);
    shapesB.Of(b);
    Narrow::SweepBounds boundsA, boundsB;
    if (Narrow::ShortcutsEnabled()) boundsA.Of(a, shapesA);
    if (boundsA.valid) boundsB.Of(b, shapesB);
    const bool bounded = boundsA.valid && boundsB.valid;
    // The rounding of the whole frame's boxes holds for every sub-step's.
    const float rounding = bounded ? Narrow::RoundingOf(boundsA.Frame(a), boundsB.Frame(b)) : 0.0f;
    const float gapX = Narrow::GapOf(boundsA.reachX + boundsB.reachX, rounding);
    const float gapY = Narrow::GapOf(boundsA.reachY + boundsB.reachY, rounding);
    bool lastSkipped = false;
    for (int32_t i = 1; i <= count && !hit; ++i) {
      float timeA = 2.0f, timeB = 2.0f;
      bool hitA = false, hitB = false;
      const float subStep = static_cast<float>(i);
      if (bounded) {
        const float t0 = (subStep - 1.0f) * step, t1 = subStep * step;
        lastSkipped =
            Narrow::BoxesApartBy(boundsA.SubStep(a, i == 1, t0, t1), boundsB.SubStep(b, i == 1, t0, t1), gapX, gapY);
        if (lastSkipped) continue;
      }
      {
        bool flagA = false, flagB = false;
        Narrow::CollideSegmentsMoving(a, b, shapesA, shapesB, step, subStep, &timeA, &timeB, count, &flagA, &flagB,
                                      bounded ? rounding : -1.0f);
        hitA |= flagA;
        hitB |= flagB;
      }
      // Without circles on either side the circle tests only place the segments again, as the
      // segment test just did.
      if (!Narrow::ShortcutsEnabled() || a.ActiveCircleCount() > 0 || b.ActiveCircleCount() > 0) {
        {
          bool flagA = false, flagB = false;
          CollideLineSegmentsCircles(a, b, layerIndex, step, subStep, &timeA, &timeB, &count, &flagA, &flagB);
          hitA |= flagA;
          hitB |= flagB;
        }
        {
          bool flagA = false, flagB = false;
          CollideLineSegmentsCircles(b, a, layerIndex, step, subStep, &timeB, &timeA, &count, &flagB, &flagA);
          hitA |= flagA;
          hitB |= flagB;
        }
        bool flagA = false, flagB = false;
        CollideCircles(a, b, layerIndex, step, subStep, &timeA, &timeB, &flagA, &flagB);
        hitA |= flagA;
        hitB |= flagB;
      }
      // The records are only reached on a contact: reaching one marks the container for the
      // next reset and allocates its records.
      if (!hitA && !hitB) continue;
      DGEO_C& currentA = a.m_results.CurrentDynamicObjectContact();
      DGEO_C& currentB = b.m_results.CurrentDynamicObjectContact();
      if (hitA) {
        const float f = (subStep - 1.0f) * step + step * timeA;
        StampPose(currentA, a, f);
        if (!hitB) StampPose(currentB, b, f);
        hit = true;
      }
      if (hitB) {
        const float f = (subStep - 1.0f) * step + step * timeB;
        StampPose(currentB, b, f);
        if (!hitA) StampPose(currentA, a, f);
        hit = true;
      }
    }
    if (lastSkipped) {
      // The skipped last sub-step still leaves its placements, as the tests would have.
      const float t1 = static_cast<float>(count) * step;
      Narrow::PlaceAtSubStepEnd(a, t1);
      Narrow::PlaceAtSubStepEnd(b, t1);
    }
    if (!hit) return;
  } else if (a.m_moved) {
    const int32_t count = a.m_stepCount;
    if (count < 1) return;
    const float step = 1.0f / static_cast<float>(count);
    static thread_local Narrow::TranslatedShapes shapesA;
    shapesA.Of(a);
    Narrow::SweepBounds boundsA, boundsB;
    if (Narrow::ShortcutsEnabled()) boundsA.Of(a, shapesA);
    if (boundsA.valid) boundsB.Of(b);  // B did not move: its box is its frame-start lists
    const bool bounded = boundsA.valid && boundsB.valid;
    const float restB = std::max(0.0f, b.m_collisionThickness);
    const float rounding = bounded ? Narrow::RoundingOf(boundsA.Frame(a), boundsB.frameStart) : 0.0f;
    const float gapX = Narrow::GapOf(boundsA.reachX + restB, rounding);
    const float gapY = Narrow::GapOf(boundsA.reachY + restB, rounding);
    bool lastSkipped = false;
    int32_t last = 0;
    for (int32_t i = 1; i <= a.m_stepCount && !hit; ++i) {
      const float subStep = static_cast<float>(i);
      last = i;
      if (bounded) {
        const float t0 = (subStep - 1.0f) * step, t1 = subStep * step;
        lastSkipped = Narrow::BoxesApartBy(boundsA.SubStep(a, i == 1, t0, t1), boundsB.frameStart, gapX, gapY);
        if (lastSkipped) continue;
      }
      float best = 2.0f;
      bool any = Narrow::CollideSegmentsAgainstIdle(a, b, shapesA, step, subStep, &best, bounded ? rounding : -1.0f);
      any = a.SweepLineSegmentsAgainstCircles(b, layer, step, subStep, &best) || any;
      any = a.SweepCirclesAgainstLineSegments(b, layer, step, subStep, &best) || any;
      any = a.SweepCirclesAgainstCircles(b, layer, step, subStep, &best) || any;
      if (any) {
        const float f = (subStep - 1.0f) * step + step * best;
        StampPose(a.m_results.CurrentDynamicObjectContact(), a, f);
        StampRest(b.m_results.CurrentDynamicObjectContact(), b);
        hit = true;
      }
    }
    if (lastSkipped) Narrow::PlaceAtSubStepEnd(a, static_cast<float>(last) * step);
    if (!hit) return;
  } else {
    if (!a.m_updateOnIdle) return;
    bool any = a.TouchLineSegments(b, layer);
    any = a.TouchLineSegmentsWithCircles(b, layer) || any;
    any = a.TouchCirclesWithLineSegments(b, layer) || any;
    any = a.TouchCircles(b, layer) || any;
    if (!any) return;
    StampRest(a.m_results.CurrentDynamicObjectContact(), a);
    StampRest(b.m_results.CurrentDynamicObjectContact(), b);
  }
  DGEO_C& finalA = a.m_results.CurrentDynamicObjectContact();
  DGEO_C& finalB = b.m_results.CurrentDynamicObjectContact();
  finalA.id = MakeCollisionId(b.m_index + kDynamicObjectIdBase, layer, b.m_zCollision);
  finalA.partnerOwner = b.m_tag.GetOwner();
  finalB.id = MakeCollisionId(a.m_index + kDynamicObjectIdBase, layer, a.m_zCollision);
  finalB.partnerOwner = a.m_tag.GetOwner();
  a.m_results.NextDynamicObjectContact();
  b.m_results.NextDynamicObjectContact();
}

// --- Stored form -----------------------------------------------------------------------------

void DynamicObject::Save(Core::File& file) const {
  m_tag.Save(file);
  Core::WriteValue<uint32_t>(file, m_currentAnimation);
  Core::WriteValue<uint32_t>(file, m_currentFrameIndex);
  Core::WriteValue<int32_t>(file, g_maximumInterpolationValue);
  Core::WriteValue<uint32_t>(file, m_index);
  Core::WriteValue<uint8_t>(file, m_zCollision);
  m_oldPosition.Write(file);
  m_position.Write(file);
  m_subStepPosition.Write(file);
  Core::WriteValue<float>(file, m_oldOrientation);
  Core::WriteValue<float>(file, m_orientation);
  m_sparePosition.Write(file);
  Core::WriteValue<float>(file, m_spareOrientation);
  m_frameDisplacement.Write(file);
  Core::WriteValue<float>(file, m_frameRotation);
  m_stepDisplacement.Write(file);
  Core::WriteValue<float>(file, m_stepRotation);
  Core::WriteValue<uint8_t>(file, m_updateOnIdle ? 1 : 0);
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(m_localSegments.size()));
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(m_localCircles.size()));
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(m_localHotSpots.size()));
  m_localRectangle.Write(file);
  Core::WriteValue<uint8_t>(file, m_hFlip ? 1 : 0);
  Core::WriteValue<uint8_t>(file, m_vFlip ? 1 : 0);
  Core::WriteValue<uint8_t>(file, m_moved ? 1 : 0);
  Core::WriteValue<int32_t>(file, m_stepCount);
  for (bool entry : m_canCollide) Core::WriteValue<uint8_t>(file, entry ? 1 : 0);
  for (int32_t value : m_cellRange) Core::WriteValue<int32_t>(file, value);
  Core::WriteValue<int32_t>(file, m_candidateCapacity);
  Core::WriteValue<int32_t>(file, m_candidateCount);
  for (int32_t k = 0; k < m_candidateCount; ++k) Core::WriteValue<uint32_t>(file, m_candidateIds[k]);
  Core::WriteValue<uint8_t>(file, m_collisionType ? 1 : 0);
  Core::WriteValue<float>(file, m_collisionThickness);
  m_results.Save(file);
  Core::WriteValue<uint8_t>(file, m_boundingRectangleCheckingTileMap ? 1 : 0);
}

void DynamicObject::ResetToLoadState() {
  m_tag.SetKind(UnsetKind);
  m_localSegments.clear();
  m_localCircles.clear();
  m_localHotSpots.clear();
  m_candidateCapacity = kCandidateGrowStep;
  m_candidateCount = 0;
  m_candidateIds.reset(new uint32_t[kCandidateGrowStep]());
  m_results = CollisionResults();
}

void DynamicObject::Load(Core::File& file) {
  auto readBool = [&file]() { return Core::ReadValue<uint8_t>(file) != 0; };
  m_tag.Load(file);
  if (m_tag.GetKind() != DynamicObjectKind) file.Fail();
  const uint32_t animation = Core::ReadValue<uint32_t>(file);
  const uint32_t frame = Core::ReadValue<uint32_t>(file);
  const int32_t cap = Core::ReadValue<int32_t>(file);
  if (cap < 1 || cap > kMaximumStoredInterpolationValue) file.Fail();
  Core::ReadValue(file, m_index);
  const uint8_t z = Core::ReadValue<uint8_t>(file);
  if (z > kMaximumZCollision) file.Fail();
  if (file.HasFailed()) {
    ResetToLoadState();
    return;
  }
  m_currentAnimation = animation;
  m_currentFrameIndex = frame;
  m_zCollision = z;
  m_oldPosition.Read(file);
  m_position.Read(file);
  m_subStepPosition.Read(file);
  Core::ReadValue(file, m_oldOrientation);
  Core::ReadValue(file, m_orientation);
  m_sparePosition.Read(file);
  Core::ReadValue(file, m_spareOrientation);
  m_frameDisplacement.Read(file);
  Core::ReadValue(file, m_frameRotation);
  m_stepDisplacement.Read(file);
  Core::ReadValue(file, m_stepRotation);
  m_updateOnIdle = readBool();
  uint32_t sizes[3];
  for (uint32_t& size : sizes) {
    size = Core::ReadValue<uint32_t>(file);
    if (size > kMaximumStoredListSize) file.Fail();
  }
  m_localRectangle.Read(file);
  m_hFlip = readBool();
  m_vFlip = readBool();
  m_moved = readBool();
  const int32_t stepCount = Core::ReadValue<int32_t>(file);
  if (stepCount < 1 || stepCount > kMaximumStoredInterpolationValue) file.Fail();
  for (bool& entry : m_canCollide) entry = readBool();
  for (int32_t& value : m_cellRange) Core::ReadValue(file, value);
  const int32_t capacity = Core::ReadValue<int32_t>(file);
  const int32_t count = Core::ReadValue<int32_t>(file);
  // AddCandidate grows the array as soon as it is full, so a sound stream has count < capacity.
  if (!file.HasFailed() && (count < 0 || capacity <= count || capacity > static_cast<int32_t>(kMaximumStoredListSize)))
    file.Fail();
  if (file.HasFailed() || !file.CheckCount(static_cast<uint64_t>(count), 4)) {
    ResetToLoadState();
    return;
  }
  std::unique_ptr<uint32_t[]> candidates(new uint32_t[static_cast<size_t>(capacity)]());
  for (int32_t k = 0; k < count; ++k) Core::ReadValue(file, candidates[k]);
  m_collisionType = readBool();
  Core::ReadValue(file, m_collisionThickness);
  m_results.Load(file);
  m_boundingRectangleCheckingTileMap = readBool();
  if (file.HasFailed()) {
    ResetToLoadState();
    return;
  }
  SetMaximumInterpolationValue(cap);
  m_stepCount = stepCount;
  m_candidateIds = std::move(candidates);
  m_candidateCapacity = capacity;
  m_candidateCount = count;
  m_localSegments.resize(m_localSegments.size() + sizes[0], nullptr);
  m_localCircles.resize(m_localCircles.size() + sizes[1], nullptr);
  m_localHotSpots.resize(m_localHotSpots.size() + sizes[2], nullptr);
}

}  // namespace Collision2D
