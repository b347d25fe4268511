#include "game/Velkor_BossObject.h"

#include "collision/Collision_DynamicObject.h"
#include "framework/Quillon_Random.h"
#include "game/Velkor_BulletClass.h"
#include "game/Velkor_FadingText.h"
#include "game/Velkor_FightSupport.h"
#include "game/Velkor_HoverCar.h"
#include "game/Velkor_RunSounds.h"

VELKOR_IMPLEMENT_CLASS(BossObject, "BossObject");

BossObject::BossObject(const BossObject& other)
    : Quillon::Sprite(other),
      m_active(other.m_active),
      m_engaged(other.m_engaged),
      m_minimumOffset(other.m_minimumOffset),
      m_offset(other.m_offset),
      m_maximumOffset(other.m_maximumOffset),
      m_minimumSpeed(other.m_minimumSpeed),
      m_maximumSpeed(other.m_maximumSpeed),
      m_directionTimer(other.m_directionTimer),
      m_maximumHealth(other.m_maximumHealth),
      m_health(other.m_health),
      m_directionX(other.m_directionX),
      m_directionY(other.m_directionY),
      m_speedX(other.m_speedX),
      m_speedY(other.m_speedY) {}

void BossObject::OnStart() {
  Quillon::Sprite::OnStart();
  m_car.Find();
}

HoverCar* BossObject::GetCar() { return m_car.Get(); }

void BossObject::ReleaseResources() {
  m_car.Release();
  Quillon::Sprite::ReleaseResources();
}

void BossObject::Destroy() {
  Quillon::Sprite::Destroy();
  m_healthBar.Destroy();
}

void BossObject::Initialise(const Math::Vector2D& position, int32_t health, uint8_t zCollision) {
  m_offset = position;
  SetPosition(position);
  m_maximumHealth = health;
  m_health = health;
  if (Collision2D::DynamicObject* body = GetCollisionObject()) body->SetZCollision(zCollision);
}

void BossObject::SetWanderingBox(const Math::Vector2D& minimumOffset, const Math::Vector2D& maximumOffset,
                                 const Math::Vector2D& minimumSpeed, const Math::Vector2D& maximumSpeed) {
  m_directionTimer = 0.0f;
  m_directionX = 1;
  m_directionY = 1;
  m_speedX = 0;
  m_speedY = 0;
  m_minimumOffset = minimumOffset;
  m_maximumOffset = maximumOffset;
  m_minimumSpeed = minimumSpeed;
  m_maximumSpeed = maximumSpeed;
}

void BossObject::Wander(float dt) {
  m_directionTimer += dt;
  if (m_directionTimer > 2.0f) {
    if (Quillon::RandomInt(0, 5) > 2) m_directionX = -m_directionX;
    if (Quillon::RandomInt(0, 5) > 2) m_directionY = -m_directionY;
    m_speedX = static_cast<int32_t>(Quillon::RandomFloat(m_minimumSpeed.x, m_maximumSpeed.x));
    m_speedY = static_cast<int32_t>(Quillon::RandomFloat(m_minimumSpeed.y, m_maximumSpeed.y));
    m_directionTimer = 0.0f;
  }
  if (m_offset.x < m_minimumOffset.x) {
    m_directionX = 1;
  } else if (m_offset.x > m_maximumOffset.x) {
    m_directionX = -1;
  }
  if (m_offset.y < m_minimumOffset.y) {
    m_directionY = 1;
  } else if (m_offset.y > m_maximumOffset.y) {
    m_directionY = -1;
  }
  m_offset += Math::Vector2D(static_cast<float>(m_speedX * m_directionX), static_cast<float>(m_speedY * m_directionY));
}

void BossObject::TakeHits() {
  const HoverCar* car = GetCar();
  if (car == nullptr) return;
  if (Touches(this, "charBulletClone")) m_health -= car->GetBulletDamage();
  if (Touches(this, "rAttackClone") || Touches(this, "Laser")) m_health -= car->GetSpecialDamage();
}

void BossObject::StartHealthBar(float scale, const Math::Vector2D& offset) {
  m_healthBar.Initialize();
  m_healthBar.AddToLayer(GetLayer());
  if (scale != 1.0f) m_healthBar.SetScale(scale);
  m_healthBar.SetOffset(offset);
}

void BossObject::UpdateEscort(float dt, const char* cloneName, int32_t bulletFrame, const char* downText,
                              float textLifeTime) {
  if (GetName() != cloneName || !m_active || IsGamePaused() || IsDestructionPending()) return;
  HoverCar* car = GetCar();
  Wander(dt);
  const float baseX = car != nullptr ? car->GetPositionX() : 0.0f;
  SetPosition(Math::Vector2D(baseX, 0.0f) + m_offset);
  if (car != nullptr && !car->IsDead() && Quillon::RandomInt(0, 50) < 1 &&
      GetPosition().Distance(car->GetPosition()) < 700.0f) {
    if (auto* bullet = CloneArchetype<BulletClass>("Bullet", "BulletClone")) {
      if (bulletFrame >= 0) bullet->SetCurrentFrameIndex(static_cast<uint32_t>(bulletFrame), false);
      bullet->SetPosition(GetPosition());
      bullet->Fire(GetPosition(), car->GetPosition());
      AddToLayer(GetLayer(), bullet);
    }
  }
  TakeHits();
  if (m_health > 0) {
    m_healthBar.SetHealth(m_health, m_maximumHealth);
    m_healthBar.Place(GetPosition());
    return;
  }
  SpawnExplosion(GetPosition(), GetLayer());
  PlayRunSound("ufoDie", true);
  if (FadingText* text = FadingText::Spawn(downText, GetPosition(), GetLayer())) {
    if (textLifeTime > 0.0f) text->SetLifeTime(textLifeTime);
  }
  Destroy();
}
