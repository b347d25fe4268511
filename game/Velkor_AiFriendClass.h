#pragma once
// The friendly drone the car calls in: it flies along with the car inside a box of offsets,
// advances to its attack line and releases its blasts at an interval, then leaves down and to the
// left and switches itself off once it is far from the car.
#include <cstdint>

#include "framework/Quillon_Sprite.h"
#include "game/Velkor_ScreenSupport.h"
#include "math/Math_Vector2D.h"

class HoverCar;

class AiFriendClass : public Quillon::Sprite {
 public:
  using Quillon::Sprite::Sprite;
  VELKOR_DECLARE_CLASS(AiFriendClass);
  void OnStart() override;
  void Update(float dt) override;
  void ReleaseResources() override;

  void SetBox(const Math::Vector2D& minimumOffset, const Math::Vector2D& maximumOffset);
  // Calls it in at that offset from the car with that many blasts, `interval` seconds apart.
  void SetUp(const Math::Vector2D& startOffset, int32_t kind, int32_t attackCount, float interval);
  void SetSpeedRange(int32_t minimum, int32_t maximum);

  bool IsActive() const { return m_active; }
  bool IsAdvancing() const { return m_advancing; }
  int32_t GetAttacksDone() const { return m_attacksDone; }
  int32_t GetAttackCount() const { return m_attackCount; }
  float GetCooldown() const { return m_cooldown; }
  const Math::Vector2D& GetOffset() const { return m_offset; }
  const Math::Vector2D& GetStepVelocity() const { return m_velocity; }

 private:
  void Steer(bool fresh);
  void Move();
  void ReleaseBlast();

  Math::Vector2D m_offset;
  Math::Vector2D m_velocity;
  Math::Vector2D m_minimumOffset;
  Math::Vector2D m_maximumOffset;
  int32_t m_kind = -1;
  int32_t m_attackCount = 0;
  int32_t m_attacksDone = 0;
  int32_t m_directionX = 1;
  int32_t m_directionY = 1;
  float m_attackInterval = 0.0f;
  float m_cooldown = 0.0f;
  bool m_active = false;
  bool m_advancing = false;
  int32_t m_minimumSpeed = 0;
  int32_t m_maximumSpeed = 0;
  // The car it flies along with.
  Partner<HoverCar> m_car{"Player"};
};
