#pragma once
// The player's shot. The level's "charBullet" is a model that stays inert; the car fires copies
// named "charBulletClone", which fly at their own velocity until they hit a boss or an alien or
// their life runs out, and stand still while the game is paused.
#include <vector>

#include "framework/Quillon_Sprite.h"
#include "math/Math_Vector2D.h"

class CharBullet : public Quillon::Sprite {
 public:
  static constexpr float kDefaultLife = 3.0f;

  CharBullet() = default;
  explicit CharBullet(const std::vector<Quillon::SpriteAnimation*>& animations) : Quillon::Sprite(animations) {}
  // A fresh shot: standing, with the default life. The car sets its own life after copying, and
  // OnStart (a frame later) keeps it.
  CharBullet(const CharBullet& other) : Quillon::Sprite(other) {}
  VELKOR_DECLARE_CLASS(CharBullet);

  void Update(float dt) override;

  // Turns to the direction, stands at the position and flies at speed x 10 along it.
  void Fire(const Math::Vector2D& position, const Math::Vector2D& direction, int32_t speed);
  void SetLife(float seconds) { m_life = seconds; }
  float GetLife() const { return m_life; }
  const Math::Vector2D& GetStoredVelocity() const { return m_velocity; }

 private:
  Math::Vector2D m_velocity;
  float m_life = kDefaultLife;
};
