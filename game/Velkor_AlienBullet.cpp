#include "game/Velkor_AlienBullet.h"

#include "game/Velkor_FightSupport.h"

VELKOR_IMPLEMENT_CLASS(AlienBullet, "AlienBullet");

void AlienBullet::FireAimed(const Math::Vector2D& from, const Math::Vector2D& to, float speed) {
  SetPosition(from);
  m_velocity = Math::Normalized(to - from) * (speed * 10.0f);
  SetVelocity(m_velocity);
  m_aimed = true;
}

void AlienBullet::FireStraight(const Math::Vector2D& from, float speed) {
  SetPosition(from);
  m_velocity = Math::Vector2D(speed * -10.0f, 0.0f);
  SetVelocity(m_velocity);
}

void AlienBullet::Update(float dt) {
  Quillon::Sprite::Update(dt);
  if (GetName() != "AlienBulletClone" || IsDestructionPending()) return;
  if (IsGamePaused()) {
    SetVelocity(Math::Vector2D(0.0f, 0.0f));
    Pause();
    return;
  }
  SetVelocity(m_velocity);
  if (Touches(this, "Player") || Touches(this, "pShieldImg")) {
    Destroy();
    return;
  }
  if (m_aimed) SetPlaying(true);
  m_life -= dt;
  if (m_life < 0.0f) Destroy();
}
