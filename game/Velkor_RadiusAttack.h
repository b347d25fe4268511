#pragma once
// The blast of a rocket or of the AI friend: it hurts what it touches and fades over its life.
#include <cstdint>

#include "framework/Quillon_Sprite.h"
#include "math/Math_Vector2D.h"

class RadiusAttack : public Quillon::Sprite {
 public:
  using Quillon::Sprite::Sprite;
  VELKOR_DECLARE_CLASS(RadiusAttack);
  void Update(float dt) override;

  // Moves there, shows that frame and keeps the life time; called before the blast joins its layer.
  void Start(const Math::Vector2D& position, float lifeTime, uint32_t frame);
  float GetBlastAge() const { return m_age; }
  float GetBlastLifeTime() const { return m_blastLifeTime; }

 private:
  float m_age = 0.0f;
  float m_blastLifeTime = 0.0f;
};
