#include "game/Velkor_BulletClass.h"

#include "game/Velkor_FightSupport.h"
#include "game/Velkor_HoverCar.h"

VELKOR_IMPLEMENT_CLASS(BulletClass, "BulletClass");

void BulletClass::Fire(const Math::Vector2D& from, const Math::Vector2D& to) {
  if (m_car.Find() == nullptr) return;
  const Math::Vector2D d = to - from;
  m_velocity = Math::Normalized(Math::Vector2D(d.x + 250.0f, d.y)) * 50.0f;
  SetVelocity(m_velocity);
  m_life = 3.0f;
}

void BulletClass::ReleaseResources() {
  m_car.Release();
  Quillon::Sprite::ReleaseResources();
}

void BulletClass::Update(float dt) {
  Quillon::Sprite::Update(dt);
  if (!IsShotMoving(*this, "BulletClone")) return;
  SetVelocity(m_velocity);
  m_life -= dt;
  const HoverCar* player = m_car.Get();
  if (m_life < 0.0f || (player != nullptr && GetPositionX() < player->GetPositionX() - 200.0f) ||
      Touches(this, "Player") || Touches(this, "pShieldImg")) {
    Destroy();
  }
}
