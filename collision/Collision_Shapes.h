#pragma once
// The collision shapes: the dynamic ones of a collision frame, each prepared in the four flip
// variants, and the static ones a collision layer owns as its fixed geometry.
#include <cstdint>
#include <memory>

#include "collision/Collision_Id.h"
#include "collision/Collision_Utilities.h"
#include "core/Core_MemoryManager.h"
#include "math/Math_Circle2D.h"
#include "math/Math_LineSegment2D.h"
#include "math/Math_Vector2D.h"

namespace Collision2D {

// A line segment of a collision frame in the four flip variants (index by FlipVariant).
class DynamicCollisionLineSegment : public Core::Base {
 public:
  static constexpr const char* ScriptClassName = "DynamicCollisionLineSegment";

  DynamicCollisionLineSegment() = default;
  DynamicCollisionLineSegment(const DynamicCollisionLineSegment&) = default;
  DynamicCollisionLineSegment& operator=(const DynamicCollisionLineSegment&) = default;
  virtual ~DynamicCollisionLineSegment() = default;

  virtual LuaScript* GetScript() { return nullptr; }
  virtual int PushToLua(lua_State* state);

  Math::LineSegment2D& GetVariant(FlipVariant variant) { return m_variants[variant & 3u]; }
  const Math::LineSegment2D& GetVariant(FlipVariant variant) const { return m_variants[variant & 3u]; }
  uint32_t GetUserId() const { return m_userId; }
  void SetUserId(uint32_t userId) { m_userId = userId; }

  // The four segments in variant order (16 bytes each), then userId.
  void Save(Core::File& file) const;
  void Load(Core::File& file);

 private:
  Math::LineSegment2D m_variants[kFlipVariantCount];
  uint32_t m_userId = 0;
};

// A circle of a collision frame in the four flip variants.
class DynamicCollisionCircle : public Core::Base {
 public:
  static constexpr const char* ScriptClassName = "DynamicCollisionCircle";

  DynamicCollisionCircle() = default;
  DynamicCollisionCircle(const DynamicCollisionCircle&) = default;
  DynamicCollisionCircle& operator=(const DynamicCollisionCircle&) = default;
  virtual ~DynamicCollisionCircle() = default;

  virtual LuaScript* GetScript() { return nullptr; }
  virtual int PushToLua(lua_State* state);

  Math::Circle2D& GetVariant(FlipVariant variant) { return m_variants[variant & 3u]; }
  const Math::Circle2D& GetVariant(FlipVariant variant) const { return m_variants[variant & 3u]; }
  uint32_t GetUserId() const { return m_userId; }
  void SetUserId(uint32_t userId) { m_userId = userId; }

  // The four circles in variant order (12 bytes each), then userId.
  void Save(Core::File& file) const;
  void Load(Core::File& file);

 private:
  Math::Circle2D m_variants[kFlipVariantCount];
  uint32_t m_userId = 0;
};

// A marker point of a collision frame in the four flip variants; it has no userId.
class DynamicCollisionHotSpot : public Core::Base {
 public:
  static constexpr const char* ScriptClassName = "DynamicCollisionHotSpot";

  DynamicCollisionHotSpot() = default;
  DynamicCollisionHotSpot(const DynamicCollisionHotSpot&) = default;
  DynamicCollisionHotSpot& operator=(const DynamicCollisionHotSpot&) = default;
  virtual ~DynamicCollisionHotSpot() = default;

  virtual LuaScript* GetScript() { return nullptr; }
  virtual int PushToLua(lua_State* state);

  Math::Vector2D& GetVariant(FlipVariant variant) { return m_variants[variant & 3u]; }
  const Math::Vector2D& GetVariant(FlipVariant variant) const { return m_variants[variant & 3u]; }

  // Exactly the four points in variant order.
  void Save(Core::File& file) const;
  void Load(Core::File& file);

 private:
  Math::Vector2D m_variants[kFlipVariantCount];
};

// The running numbers static shapes take at construction; they start at 1 and the collision
// engine's clear puts them back to 1. They only number shapes, they are not collision ids.
uint32_t GetStaticCircleCounter();
void SetStaticCircleCounter(uint32_t value);
uint32_t GetStaticLineSegmentCounter();
void SetStaticLineSegmentCounter(uint32_t value);
void ResetStaticShapeCounters();

// A fixed circle of a collision layer, in world coordinates.
class StaticCollisionCircle : public MainCollisionObject {
 public:
  static constexpr const char* ScriptClassName = "StaticCollisionCircle";

  StaticCollisionCircle();
  // Takes a new running id and a shape of its own equal to the source's.
  StaticCollisionCircle(const StaticCollisionCircle& other);
  StaticCollisionCircle& operator=(const StaticCollisionCircle&) = delete;
  ~StaticCollisionCircle() override = default;

  StaticCollisionCircle* Clone() const;
  int PushToLua(lua_State* state) override;

  // Null until a shape is set or loaded.
  Math::Circle2D* GetCircle() { return m_circle.get(); }
  const Math::Circle2D* GetCircle() const { return m_circle.get(); }
  // Copies the value into the shape this object owns (creating it when there is none).
  void SetCircle(const Math::Circle2D& circle);

  uint32_t GetId() const { return m_id; }
  // The slot the shape occupies in its layer; contacts name the shape by it (0 outside a layer).
  uint32_t GetSlot() const { return m_slot; }
  void SetSlot(uint32_t slot) { m_slot = slot; }
  uint32_t GetUserId() const { return m_userId; }
  void SetUserId(uint32_t userId) { m_userId = userId; }
  uint8_t GetZCollision() const { return m_zCollision; }
  void SetZCollision(uint8_t z) { m_zCollision = z; }
  uint8_t GetTestedThisPass() const { return m_testedThisPass; }
  void SetTestedThisPass(uint8_t tested) { m_testedThisPass = tested; }

  // Tag kind, circle, running counter, id, userId, z, testedThisPass.
  void Save(Core::File& file) const;
  // Restores the engine-wide counter from the stored value.
  void Load(Core::File& file);

 private:
  std::unique_ptr<Math::Circle2D> m_circle;
  uint32_t m_id;
  uint32_t m_slot = 0;
  uint32_t m_userId = 0;
  uint8_t m_zCollision = 0;
  uint8_t m_testedThisPass = 0;
};

// A fixed line segment of a collision layer, in world coordinates.
class StaticCollisionLineSegment : public MainCollisionObject {
 public:
  static constexpr const char* ScriptClassName = "StaticCollisionLineSegment";

  StaticCollisionLineSegment();
  StaticCollisionLineSegment(const StaticCollisionLineSegment& other);
  StaticCollisionLineSegment& operator=(const StaticCollisionLineSegment&) = delete;
  ~StaticCollisionLineSegment() override = default;

  StaticCollisionLineSegment* Clone() const;
  int PushToLua(lua_State* state) override;

  Math::LineSegment2D* GetLineSegment() { return m_lineSegment.get(); }
  const Math::LineSegment2D* GetLineSegment() const { return m_lineSegment.get(); }
  void SetLineSegment(const Math::LineSegment2D& lineSegment);

  uint32_t GetId() const { return m_id; }
  // The slot the shape occupies in its layer; contacts name the shape by it (0 outside a layer).
  uint32_t GetSlot() const { return m_slot; }
  void SetSlot(uint32_t slot) { m_slot = slot; }
  uint32_t GetUserId() const { return m_userId; }
  void SetUserId(uint32_t userId) { m_userId = userId; }
  uint8_t GetZCollision() const { return m_zCollision; }
  void SetZCollision(uint8_t z) { m_zCollision = z; }
  uint8_t GetTestedThisPass() const { return m_testedThisPass; }
  void SetTestedThisPass(uint8_t tested) { m_testedThisPass = tested; }

  void Save(Core::File& file) const;
  void Load(Core::File& file);

 private:
  std::unique_ptr<Math::LineSegment2D> m_lineSegment;
  uint32_t m_id;
  uint32_t m_slot = 0;
  uint32_t m_userId = 0;
  uint8_t m_zCollision = 0;
  uint8_t m_testedThisPass = 0;
};

}  // namespace Collision2D
