#pragma once
// A UFO's shot: it leads the car by 250 units and goes on a hit, after its life, or once it has
// dropped well behind the car.
#include "framework/Quillon_Sprite.h"
#include "game/Velkor_ScreenSupport.h"
#include "math/Math_Vector2D.h"

class HoverCar;

class BulletClass : public Quillon::Sprite {
 public:
  using Quillon::Sprite::Sprite;
  VELKOR_DECLARE_CLASS(BulletClass);
  void Update(float dt) override;
  void ReleaseResources() override;

  // Aims at `to` shifted 250 units ahead in x, at 50 units per second; nothing without the car.
  void Fire(const Math::Vector2D& from, const Math::Vector2D& to);
  float GetLife() const { return m_life; }
  const Math::Vector2D& GetStoredVelocity() const { return m_velocity; }

 private:
  Math::Vector2D m_velocity;
  float m_life = 0.0f;
  // The car it is fired at.
  Partner<HoverCar> m_car{"Player"};
};
