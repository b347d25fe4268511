#pragma once
// An alien's shot: aimed at the car or straight to the left, gone on a hit or after its life.
#include "framework/Quillon_Sprite.h"
#include "math/Math_Vector2D.h"

class AlienBullet : public Quillon::Sprite {
 public:
  using Quillon::Sprite::Sprite;
  VELKOR_DECLARE_CLASS(AlienBullet);
  void Update(float dt) override;

  // From `from` towards `to` at speed x 10 units per second.
  void FireAimed(const Math::Vector2D& from, const Math::Vector2D& to, float speed);
  // From `from` to the left at speed x 10 units per second.
  void FireStraight(const Math::Vector2D& from, float speed);
  void SetLife(float seconds) { m_life = seconds; }
  float GetLife() const { return m_life; }
  bool IsAimed() const { return m_aimed; }
  const Math::Vector2D& GetStoredVelocity() const { return m_velocity; }

 private:
  // Set when made and by the alien that fires it, never again when it starts.
  bool m_aimed = false;
  float m_life = 1.0f;
  Math::Vector2D m_velocity;
};
