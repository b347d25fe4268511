#include "game/Velkor_RadiusAttack.h"

#include "game/Velkor_FightSupport.h"

VELKOR_IMPLEMENT_CLASS(RadiusAttack, "RadiusAttack");

void RadiusAttack::Start(const Math::Vector2D& position, float lifeTime, uint32_t frame) {
  SetPosition(position);
  SetCurrentFrameIndex(frame, true);
  m_blastLifeTime = lifeTime;
}

void RadiusAttack::Update(float dt) {
  Quillon::Sprite::Update(dt);
  if (GetName() != "rAttackClone" || IsDestructionPending() || IsGamePaused()) return;
  if (m_age < m_blastLifeTime) {
    SetOpacity((m_blastLifeTime - m_age) / m_blastLifeTime);
    m_age += dt;
  } else {
    Destroy();
  }
}
