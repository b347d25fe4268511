#pragma once
// The moving collision body of one game object: its previous and current pose, the collision frame
// and flip its sprite shows, that frame's shapes placed in world space, its broad-phase settings and
// the contact container the collision pass fills. The narrow phase between two such bodies, and
// between one body and the static shapes of its layer, are operations of this class.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "collision/Collision_Actor.h"
#include "collision/Collision_Id.h"
#include "collision/Collision_Results.h"
#include "collision/Collision_Shapes.h"
#include "collision/Collision_Utilities.h"
#include "math/Math_Circle2D.h"
#include "math/Math_LineSegment2D.h"
#include "math/Math_Matrix3x3.h"
#include "math/Math_Vector2D.h"

namespace Collision2D {

// Cap of every object's sub-step count; the collision engine's "SetMaximumInterpolationValue" and a
// loaded object's stored word change it. Values below 1 are raised to 1.
int32_t GetMaximumInterpolationValue();
void SetMaximumInterpolationValue(int32_t value);
constexpr int32_t kDefaultMaximumInterpolationValue = 20;
// Largest sub-step count or cap a stream may give: a hostile word must not buy endless loops.
constexpr int32_t kMaximumStoredInterpolationValue = 65535;

// Number of can-collide entries: z values 0..254 (255 names none).
constexpr uint32_t kCanCollideEntries = 255;
constexpr uint8_t kMaximumZCollision = 254;

class DynamicObject : public MainCollisionObject {
 public:
  static constexpr const char* ScriptClassName = "DynamicObject";

  struct LoadConstruction {};

  DynamicObject();
  // Used by the layer before Load: tag kind unset, empty lists and results.
  explicit DynamicObject(LoadConstruction);
  // Contacts are not copied; the copy makes fresh working copies from the source's actor (none
  // when it has no actor) and keeps its animation, frame and flip selectors.
  DynamicObject(const DynamicObject& other);
  DynamicObject& operator=(const DynamicObject&) = delete;
  ~DynamicObject() override;

  DynamicObject* Clone() const;
  int PushToLua(lua_State* state) override;

  // --- Accessors ---------------------------------------------------------------------------
  uint32_t GetIndex() const { return m_index; }
  void SetIndex(uint32_t index) { m_index = index; }
  uint8_t GetZCollision() const { return m_zCollision; }
  // Stores min(z, 254).
  void SetZCollision(uint8_t z);

  // Positions are given and returned as world points; the stored value is the point minus the centre.
  void SetPosition(const Math::Vector2D& worldPoint) { m_position = worldPoint - m_centre; }
  void SetOldPosition(const Math::Vector2D& worldPoint) { m_oldPosition = worldPoint - m_centre; }
  // Keeps the world point.
  void SetCenter(const Math::Vector2D& centre);
  void SetOrientation(float degrees) { m_orientation = degrees; }
  void SetOldOrientation(float degrees) { m_oldOrientation = degrees; }
  const Math::Vector2D& GetPosition() const { return m_position; }  // stored (centre removed)
  const Math::Vector2D& GetOldPosition() const { return m_oldPosition; }
  const Math::Vector2D& GetSubStepPosition() const { return m_subStepPosition; }
  // Written by the swept tests: the reference point at the end of the sub-step under test.
  void SetSubStepPosition(const Math::Vector2D& position) { m_subStepPosition = position; }
  const Math::Vector2D& GetCenter() const { return m_centre; }
  float GetOrientation() const { return m_orientation; }
  float GetOldOrientation() const { return m_oldOrientation; }
  const Math::Vector2D& GetFrameDisplacement() const { return m_frameDisplacement; }
  float GetFrameRotation() const { return m_frameRotation; }
  const Math::Vector2D& GetStepDisplacement() const { return m_stepDisplacement; }
  float GetStepRotation() const { return m_stepRotation; }
  bool HasMoved() const { return m_moved; }
  int32_t GetStepCount() const { return m_stepCount; }

  void SetUpdateOnIdle(bool value) { m_updateOnIdle = value; }
  bool GetUpdateOnIdle() const { return m_updateOnIdle; }
  void SetCollisionType(bool geometric) { m_collisionType = geometric; }
  bool GetCollisionType() const { return m_collisionType; }
  void SetCollisionThickness(float thickness) { m_collisionThickness = thickness; }
  float GetCollisionThickness() const { return m_collisionThickness; }
  // z = 255 names no entry: the store is ignored and the query answers false.
  void SetCanCollid(uint8_t z, bool value);
  bool GetCanCollid(uint8_t z) const { return z < kCanCollideEntries && m_canCollide[z]; }
  void SetCurrentCollisionFrame(uint32_t animation, uint32_t frame, bool hFlip, bool vFlip);
  uint32_t GetCurrentAnimation() const { return m_currentAnimation; }
  uint32_t GetCurrentFrameIndex() const { return m_currentFrameIndex; }
  bool GetHFlip() const { return m_hFlip; }
  bool GetVFlip() const { return m_vFlip; }
  void SetBoundingRectangleCheckingTileMap(bool value) { m_boundingRectangleCheckingTileMap = value; }
  bool GetBoundingRectangleCheckingTileMap() const { return m_boundingRectangleCheckingTileMap; }

  void GetCurrentBoundingRectangle(QlnRect& out) const { out = m_worldRectangle; }
  const QlnRect& GetLocalRectangle() const { return m_localRectangle; }
  // Gives this object a bounding rectangle of its own (flipped with the object as a frame's would
  // be), used from now on instead of its frames' rectangles; the actor's frames, which other
  // objects share, stay as they are.
  void SetOwnBoundingRectangle(const QlnRect& rectangle);
  bool HasOwnBoundingRectangle() const { return m_hasOwnRectangle; }
  const QlnRect& GetOldWorldRectangle() const { return m_oldWorldRectangle; }
  const QlnRect& GetWorldRectangle() const { return m_worldRectangle; }
  const QlnRect& GetSweptRectangle() const { return m_sweptRectangle; }
  const QlnRect& GetSubStepRectangle() const { return m_subStepRectangle; }

  CollisionActor* GetCollisionActor() const { return m_actor; }
  CollisionFrame* GetCurrentFrame() const { return m_currentFrame; }
  const std::vector<std::unique_ptr<Math::LineSegment2D>>& GetOldLineSegments() const { return m_oldSegments; }
  const std::vector<std::unique_ptr<Math::LineSegment2D>>& GetCurrentLineSegments() const { return m_currentSegments; }
  const std::vector<std::unique_ptr<Math::LineSegment2D>>& GetSubStepLineSegments() const { return m_subStepSegments; }
  const std::vector<std::unique_ptr<Math::Circle2D>>& GetOldCircles() const { return m_oldCircles; }
  const std::vector<std::unique_ptr<Math::Circle2D>>& GetCurrentCircles() const { return m_currentCircles; }
  const std::vector<std::unique_ptr<Math::Circle2D>>& GetSubStepCircles() const { return m_subStepCircles; }
  const std::vector<std::unique_ptr<Math::Vector2D>>& GetOldHotSpots() const { return m_oldHotSpots; }
  const std::vector<std::unique_ptr<Math::Vector2D>>& GetCurrentHotSpots() const { return m_currentHotSpots; }
  const std::vector<std::unique_ptr<Math::Vector2D>>& GetSubStepHotSpots() const { return m_subStepHotSpots; }
  // Flip variants of the current frame's shapes in the frame's order (grow-only; see Update).
  const std::vector<const Math::LineSegment2D*>& GetLocalLineSegments() const { return m_localSegments; }
  const std::vector<const Math::Circle2D*>& GetLocalCircles() const { return m_localCircles; }
  const std::vector<const Math::Vector2D*>& GetLocalHotSpots() const { return m_localHotSpots; }
  // (0, 0) past the end.
  Math::Vector2D GetCurrentHotSpot(uint8_t index) const;

  CollisionResults* GetCollisionData() { return &m_results; }
  const CollisionResults* GetCollisionData() const { return &m_results; }

  const uint32_t* GetCandidates() const { return m_candidateIds.get(); }
  int32_t GetCandidateCount() const { return m_candidateCount; }
  int32_t GetCandidateCapacity() const { return m_candidateCapacity; }
  // First column, last column, first row, last row of the grid cells the layer last put it in.
  int32_t* GetCellRange() { return m_cellRange; }
  const int32_t* GetCellRange() const { return m_cellRange; }
  // Carried along only (copied, saved, loaded).
  Math::Vector2D& GetSparePosition() { return m_sparePosition; }
  float& GetSpareOrientation() { return m_spareOrientation; }

  // --- Actor binding -------------------------------------------------------------------------
  // Binds the actor and appends working copies sized by its largest frame per shape kind (earlier
  // copies stay). Indices that name no frame leave the object unchanged.
  void AddCollisionData(CollisionActor* actor, uint32_t animation, uint32_t frame);
  // Replaces the working copies with fresh ones for this actor.
  void SetCollisionActor(CollisionActor* actor, uint32_t animation, uint32_t frame);

  // --- Per-frame operations (driven by the collision layer) ----------------------------------
  // Frame and flip selection, motion and step count, world rectangles and shapes, results reset,
  // candidate count 0. An object with no current frame stops after the selection.
  void Update();
  // Old pose := pose, no motion; the frame, rectangles and world shapes placed there as Update
  // would place them.
  void ResetMotion();
  // Old pose := pose (end of the pass).
  void CommitMotion();
  // Appends a partner's slot unless present; the array grows by 5 when full.
  void AddCandidate(uint32_t slot);

  // Cache hints for a pair test a few pairs ahead, in three stages, each reaching through what the
  // one before brought in: 0 the object's working data, 1 the arrays of its shape lists and its
  // current contact record, 2 the shapes and the record's first entries. No effect on results.
  void PrefetchForPairTest(int stage) const;
  // The same for Update a few objects ahead: 0 the object, 1 its lists and contact records, 2 the
  // shapes and the records' written entries.
  void PrefetchForUpdate(int stage) const;
  // The rectangle-only pair test: both objects get one BRECT_C at the first sub-step whose
  // rectangles intersect.
  void CollideBoundingRectangles(DynamicObject& other, uint8_t layerIndex);
  // The geometric pair test for a candidate partner (both objects CollisionType true).
  void CollideGeometric(DynamicObject& other, const uint8_t* layerIndex);

  // --- Against static geometry (one moving object, one static shape of its layer) ------------
  void SweepAgainstStaticLineSegment(const StaticCollisionLineSegment& segment, const uint8_t& layerIndex);
  void SweepAgainstStaticCircle(const StaticCollisionCircle& circle, const uint8_t& layerIndex);
  void TouchStaticLineSegment(const StaticCollisionLineSegment& segment, const uint8_t& layerIndex);
  void TouchStaticCircle(const StaticCollisionCircle& circle, const uint8_t& layerIndex);

  // --- Pose functions (frame fraction f: 0 start of frame, 1 end) ------------------------------
  // Where a local point is at fraction f: turned about the centre, as the frame-start and frame-end
  // placements turn it, so every sub-step copy lies on the path between the two.
  Math::Vector2D PointAt(const Math::Vector2D& local, float f) const { return TurnedOffset(local, f) + PivotAt(f); }
  // A local point turned about the centre to the orientation at f, relative to the pivot. An object
  // that does not turn this frame has the same one at every f.
  Math::Vector2D TurnedOffset(const Math::Vector2D& local, float f) const {
    return Rotate(OrientationAt(f), local - m_centre);
  }
  // The point the object turns about (position plus centre) at fraction f, and at the sub-step
  // under test; motions (MotionOf, InverseMotionOf) are taken relative to it.
  Math::Vector2D PivotAt(float f) const { return PositionAt(f) + m_centre; }
  // The world box of a local rectangle at a stored position and orientation, turned about the
  // centre as the shapes are.
  void PlaceRectangle(const QlnRect& local, QlnRect& out, const Math::Vector2D& position, float orientation) const;
  Math::Vector2D GetSubStepPivot() const { return m_subStepPosition + m_centre; }
  Math::Vector2D MotionOf(const Math::Vector2D& v, float f) const;
  Math::Vector2D InverseMotionOf(const Math::Vector2D& v, float f) const;
  Math::Vector2D PositionAt(float f) const { return m_oldPosition + m_frameDisplacement * f; }
  float OrientationAt(float f) const { return m_oldOrientation + m_frameRotation * f; }

  // --- Pair tests, both objects moved (hit times are fractions of the sub-step, 2.0 none) ------
  static void CollideLineSegmentsMoving(DynamicObject& a, DynamicObject& b, const uint8_t* layerIndex, float step,
                                        float i, float* timeA, float* timeB, int32_t* count, bool* hitA, bool* hitB);
  static void CollideLineSegmentsCircles(DynamicObject& x, DynamicObject& y, const uint8_t* layerIndex, float step,
                                         float i, float* timeX, float* timeY, int32_t* count, bool* hitX, bool* hitY);
  static void CollideCircles(DynamicObject& a, DynamicObject& b, const uint8_t* layerIndex, float step, float i,
                             float* timeA, float* timeB, bool* hitA, bool* hitB);

  // --- Pair tests, only the first object moved (this = the moving one) -------------------------
  static bool CollideLineSegmentsAgainstIdle(DynamicObject& a, DynamicObject& b, const uint8_t* layerIndex,
                                             float step, float i, float* time);
  bool SweepLineSegmentsAgainstCircles(DynamicObject& other, const uint8_t& layerIndex, float step, float subStep,
                                       float* bestFraction);
  bool SweepCirclesAgainstLineSegments(DynamicObject& other, const uint8_t& layerIndex, float step, float subStep,
                                       float* bestFraction);
  bool SweepCirclesAgainstCircles(DynamicObject& other, const uint8_t& layerIndex, float step, float subStep,
                                  float* bestFraction);

  // --- Pair tests without motion (old-pose shapes as they stand) -------------------------------
  bool TouchLineSegments(DynamicObject& other, const uint8_t& layerIndex);
  bool TouchLineSegmentsWithCircles(DynamicObject& other, const uint8_t& layerIndex);
  bool TouchCirclesWithLineSegments(DynamicObject& other, const uint8_t& layerIndex);
  bool TouchCircles(DynamicObject& other, const uint8_t& layerIndex);

  // Stored form (the centre, the actor, the frame and the world shapes are not part of it). Load
  // restores the engine-wide interpolation cap; a malformed stream fails and leaves the object
  // as a load-constructed one.
  void Save(Core::File& file) const;
  void Load(Core::File& file);

  // Shapes of the current frame that the narrow phase walks: the frame's count, bounded by the
  // selection and world lists so that a frame larger than the working copies is never overrun.
  size_t ActiveLineSegmentCount() const {
    if (m_currentFrame == nullptr || m_currentFrame != m_selectedFrame) return 0;
    return std::min({m_currentFrame->GetLineSegments().size(), m_localSegments.size(), m_oldSegments.size()});
  }
  size_t ActiveCircleCount() const {
    if (m_currentFrame == nullptr || m_currentFrame != m_selectedFrame) return 0;
    return std::min({m_currentFrame->GetCircles().size(), m_localCircles.size(), m_oldCircles.size()});
  }

 private:
  void ClearWorldShapes();
  void AppendWorldShapes(const CollisionActor& actor);
  void PlaceWorldShapes(const Math::Vector2D& position, float orientation,
                        std::vector<std::unique_ptr<Math::LineSegment2D>>& segments,
                        std::vector<std::unique_ptr<Math::Circle2D>>& circles,
                        std::vector<std::unique_ptr<Math::Vector2D>>& hotSpots) const;
  // The actor's frame at the selectors becomes the current one; false when it has none.
  bool SelectCurrentFrame();
  // Selection lists and local rectangle for the flip, then rectangles and world shapes at both poses.
  void PlaceAtPoses();
  void ResetToLoadState();
  // v turned by degrees (Matrix3x3::MakeRotation), with the last few angles kept. Most objects only
  // translate: no turn is the case the pair tests meet at every point.
  Math::Vector2D Rotate(float degrees, const Math::Vector2D& v) const { return degrees == 0.0f ? v : Turn(degrees, v); }
  Math::Vector2D Turn(float degrees, const Math::Vector2D& v) const;

  // What the pair tests read of both objects comes first, together: a layer's pass meets most
  // objects cold, and every cache line of them costs.
  Math::Vector2D m_oldPosition;
  Math::Vector2D m_subStepPosition;
  Math::Vector2D m_centre;
  float m_oldOrientation = 0.0f;
  float m_frameRotation = 0.0f;
  Math::Vector2D m_frameDisplacement;
  Math::Vector2D m_stepDisplacement;
  int32_t m_stepCount = 10;
  float m_collisionThickness = 0.0f;
  bool m_moved = false;
  bool m_collisionType = false;
  uint8_t m_zCollision = 0;
  uint32_t m_index = 0;
  CollisionFrame* m_currentFrame = nullptr;  // not owned
  // The frame the selection lists were last filled for: they are only read while it is current.
  const CollisionFrame* m_selectedFrame = nullptr;
  std::vector<const Math::LineSegment2D*> m_localSegments;
  std::vector<std::unique_ptr<Math::LineSegment2D>> m_oldSegments, m_subStepSegments;
  std::vector<const Math::Circle2D*> m_localCircles;
  std::vector<std::unique_ptr<Math::Circle2D>> m_oldCircles, m_subStepCircles;
  CollisionResults m_results;

  Math::Vector2D m_position;
  float m_orientation = 0.0f;
  Math::Vector2D m_sparePosition;
  float m_spareOrientation = 0.0f;
  float m_stepRotation = 0.0f;
  bool m_updateOnIdle = false;
  CollisionActor* m_actor = nullptr;  // not owned
  std::vector<const Math::Vector2D*> m_localHotSpots;
  QlnRect m_localRectangle;
  bool m_hasOwnRectangle = false;
  QlnRect m_ownRectangles[kFlipVariantCount];
  uint32_t m_currentAnimation = 0;
  uint32_t m_currentFrameIndex = 0;
  bool m_hFlip = false;
  bool m_vFlip = false;
  QlnRect m_oldWorldRectangle{0.0f, 0.0f, 1.0f, 1.0f};
  QlnRect m_worldRectangle{0.0f, 0.0f, 1.0f, 1.0f};
  QlnRect m_sweptRectangle{0.0f, 0.0f, 1.0f, 1.0f};
  QlnRect m_subStepRectangle{0.0f, 0.0f, 1.0f, 1.0f};
  std::vector<std::unique_ptr<Math::LineSegment2D>> m_currentSegments;
  std::vector<std::unique_ptr<Math::Circle2D>> m_currentCircles;
  std::vector<std::unique_ptr<Math::Vector2D>> m_oldHotSpots, m_currentHotSpots, m_subStepHotSpots;
  bool m_canCollide[kCanCollideEntries] = {};
  int32_t m_cellRange[4] = {};
  std::unique_ptr<uint32_t[]> m_candidateIds;
  int32_t m_candidateCapacity = 5;
  int32_t m_candidateCount = 0;
  bool m_boundingRectangleCheckingTileMap = true;

  struct RotationCacheEntry {
    bool valid = false;
    float degrees = 0.0f;
    Math::Matrix3x3 rotation;
  };
  static constexpr int kRotationCacheSize = 6;
  // MakeRotation(degrees) for the per-frame placement, kept for the old and the current pose's
  // angle; keyed by the float's bits so that -0 and 0 keep their own matrices.
  const Math::Matrix3x3& PlacementRotation(float degrees) const;
  struct PlacementRotationEntry {
    bool valid = false;
    uint32_t bits = 0;
    Math::Matrix3x3 rotation;
  };
  mutable PlacementRotationEntry m_placementRotations[2];
  mutable int m_placementRotationNext = 0;
  // The whole placement transform of a pose, keyed by the bits of position, angle and centre: the
  // frame-start pose is nearly always the pose placed as current one pass earlier.
  const Math::Matrix3x3& PlacementTransform(const Math::Vector2D& position, float orientation) const;
  struct PlacementTransformEntry {
    bool valid = false;
    uint32_t key[5] = {};
    Math::Matrix3x3 transform;
  };
  mutable PlacementTransformEntry m_placementTransforms[2];
  mutable int m_placementTransformNext = 0;
  mutable RotationCacheEntry m_rotationCache[kRotationCacheSize];
  mutable int m_rotationCacheNext = 0;
};

}  // namespace Collision2D
