#include "game/Velkor_CharBullet.h"

#include "game/Velkor_FightSupport.h"

VELKOR_IMPLEMENT_CLASS(CharBullet, "CharBullet");

namespace {

// Shots and their targets are all shape-tested, so the hits are in the shape-contact list.
constexpr bool kShapeContacts = true;
const char* const kTargets[] = {"UFOClone", "UFO2Clone", "UFO3", "AlienClone"};

}  // namespace

void CharBullet::Fire(const Math::Vector2D& position, const Math::Vector2D& direction, int32_t speed) {
  SetRotationAngle(Math::AngleOfDirection(direction));
  SetPosition(position);
  m_velocity = direction * static_cast<float>(speed * 10);
  SetVelocity(m_velocity);
}

void CharBullet::Update(float dt) {
  Quillon::Sprite::Update(dt);
  if (!IsShotMoving(*this, "charBulletClone")) return;
  SetVelocity(m_velocity);
  for (const char* target : kTargets) {
    if (Quillon::IsCollidedWithSprite(GetCollisionResults(), target, kShapeContacts)) {
      Destroy();
      return;
    }
  }
  m_life -= dt;
  if (m_life <= 0.0f) Destroy();
}
