#pragma once
// Collision actors: the authored collision description of one kind of sprite. An actor holds one
// animation per sprite animation, an animation one frame per sprite frame, and a frame its bounding
// rectangle and shapes, each already mirrored into the four flip variants.
#include <cstdint>
#include <memory>
#include <vector>

#include "collision/Collision_Shapes.h"
#include "collision/Collision_Utilities.h"
#include "core/Core_MemoryManager.h"
#include "math/Math_Vector2D.h"

namespace Collision2D {

class CollisionFrame : public Core::Base {
 public:
  static constexpr const char* ScriptClassName = "CollisionFrame";

  CollisionFrame() = default;
  CollisionFrame(const CollisionFrame&) = delete;
  CollisionFrame& operator=(const CollisionFrame&) = delete;
  virtual ~CollisionFrame() = default;  // the frame owns its shapes

  virtual LuaScript* GetScript() { return nullptr; }
  virtual int PushToLua(lua_State* state);

  // NoFlip := rectangle; the mirrored variants are derived from it with makeFlips, copies without.
  void SetBoundingRectangle(const QlnRect& rectangle, bool makeFlips);
  const QlnRect& GetBoundingRectangle(FlipVariant variant) const { return m_boundingRectangles[variant & 3u]; }

  // Mirroring reverses each segment's direction (the mirrored end points are exchanged), so that
  // an outline keeps its winding in every variant.
  DynamicCollisionLineSegment& AddCollisionLineSegment(const Math::Vector2D& a, const Math::Vector2D& b,
                                                       uint32_t userId, bool makeFlips);
  DynamicCollisionCircle& AddCollisionCircle(const Math::Vector2D& centre, float radius, uint32_t userId,
                                             bool makeFlips);
  DynamicCollisionHotSpot& AddCollisionHotSpot(const Math::Vector2D& point, bool makeFlips);
  void ClearShapes();

  // Shapes in insertion order.
  const std::vector<std::unique_ptr<DynamicCollisionLineSegment>>& GetLineSegments() const { return m_lineSegments; }
  const std::vector<std::unique_ptr<DynamicCollisionCircle>>& GetCircles() const { return m_circles; }
  const std::vector<std::unique_ptr<DynamicCollisionHotSpot>>& GetHotSpots() const { return m_hotSpots; }

  // The four rectangles (64 bytes), then count and shapes of each kind.
  void Save(Core::File& file) const;
  // Appends the stored shapes to this frame; counts the stream cannot hold fail it.
  void Load(Core::File& file);

  bool HasOwner() const { return m_hasOwner; }
  void SetHasOwner() { m_hasOwner = true; }

 private:
  QlnRect m_boundingRectangles[kFlipVariantCount];
  std::vector<std::unique_ptr<DynamicCollisionLineSegment>> m_lineSegments;
  std::vector<std::unique_ptr<DynamicCollisionCircle>> m_circles;
  std::vector<std::unique_ptr<DynamicCollisionHotSpot>> m_hotSpots;
  bool m_hasOwner = false;
};

class CollisionAnimation : public Core::Base {
 public:
  static constexpr const char* ScriptClassName = "CollisionAnimation";

  CollisionAnimation() = default;
  CollisionAnimation(const CollisionAnimation&) = delete;
  CollisionAnimation& operator=(const CollisionAnimation&) = delete;
  virtual ~CollisionAnimation() = default;  // the animation owns its frames

  virtual LuaScript* GetScript() { return nullptr; }
  virtual int PushToLua(lua_State* state);

  // Takes ownership of a frame that nothing owns yet; false (nothing changes) for null or a frame
  // already in an animation, so that no frame can be deleted twice.
  bool AddCollisionFrame(CollisionFrame* frame);

  uint32_t GetFrameCount() const { return static_cast<uint32_t>(m_frames.size()); }
  // Null for an index out of range.
  CollisionFrame* GetFrame(uint32_t index) const { return index < m_frames.size() ? m_frames[index].get() : nullptr; }

  void Save(Core::File& file) const;
  void Load(Core::File& file);

  bool HasOwner() const { return m_hasOwner; }
  void SetHasOwner() { m_hasOwner = true; }

 private:
  std::vector<std::unique_ptr<CollisionFrame>> m_frames;
  bool m_hasOwner = false;
};

class CollisionActor : public Core::Base {
 public:
  static constexpr const char* ScriptClassName = "CollisionActor";

  CollisionActor() = default;
  CollisionActor(const CollisionActor&) = delete;
  CollisionActor& operator=(const CollisionActor&) = delete;
  virtual ~CollisionActor() = default;  // the actor owns its animations and, through them, the frames

  virtual LuaScript* GetScript() { return nullptr; }
  virtual int PushToLua(lua_State* state);

  // Takes ownership of an animation that nothing owns yet; false for null or one already owned.
  bool AddCollisionAnimation(CollisionAnimation* animation);

  uint32_t GetAnimationCount() const { return static_cast<uint32_t>(m_animations.size()); }
  CollisionAnimation* GetAnimation(uint32_t index) const {
    return index < m_animations.size() ? m_animations[index].get() : nullptr;
  }
  // The frame a dynamic object shows; null when either index is out of range.
  CollisionFrame* GetFrame(uint32_t animation, uint32_t frame) const;

  // Animation count, then per animation its frame count and frames.
  void Save(Core::File& file) const;
  // Appends the stored animations; counts the stream cannot hold fail it.
  void Load(Core::File& file);

 private:
  std::vector<std::unique_ptr<CollisionAnimation>> m_animations;
};

}  // namespace Collision2D
