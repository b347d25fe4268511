#include "game/Velkor_AiFriendClass.h"

#include "framework/Quillon_Random.h"
#include "game/Velkor_FightSupport.h"
#include "game/Velkor_HoverCar.h"
#include "game/Velkor_RadiusAttack.h"
#include "game/Velkor_RunSounds.h"

VELKOR_IMPLEMENT_CLASS(AiFriendClass, "AiFriendClass");

void AiFriendClass::OnStart() {
  Quillon::Sprite::OnStart();
  m_cooldown = 0.0f;
  m_directionX = 1;
  m_directionY = 1;
  m_minimumSpeed = 0;
  m_maximumSpeed = 0;
  m_attacksDone = 0;
  m_attackCount = 0;
  m_active = false;
  m_advancing = false;
  m_car.Find();
}

void AiFriendClass::ReleaseResources() {
  m_car.Release();
  Quillon::Sprite::ReleaseResources();
}

void AiFriendClass::SetBox(const Math::Vector2D& minimumOffset, const Math::Vector2D& maximumOffset) {
  m_minimumOffset = minimumOffset;
  m_maximumOffset = maximumOffset;
}

void AiFriendClass::SetUp(const Math::Vector2D& startOffset, int32_t kind, int32_t attackCount, float interval) {
  m_offset = startOffset;
  m_kind = kind;
  m_attackCount = attackCount;
  m_attackInterval = interval;
  m_attacksDone = 0;
  Steer(true);
  m_active = true;
}

void AiFriendClass::SetSpeedRange(int32_t minimum, int32_t maximum) {
  m_minimumSpeed = minimum;
  m_maximumSpeed = maximum;
}

void AiFriendClass::Steer(bool fresh) {
  bool changedX = false;
  bool changedY = false;
  if (m_offset.x < m_minimumOffset.x) {
    changedX = m_directionX < 0;
    m_directionX = 1;
  } else if (m_offset.x > m_maximumOffset.x) {
    changedX = m_directionX > 0;
    m_directionX = -1;
  }
  if (m_offset.y < m_minimumOffset.y) {
    changedY = m_directionY < 0;
    m_directionY = 1;
  } else if (m_offset.y > m_maximumOffset.y) {
    changedY = m_directionY > 0;
    m_directionY = -1;
  }
  if (fresh) {
    m_velocity.x = static_cast<float>(Quillon::RandomInt(2 * m_directionX, 5 * m_directionX));
    m_velocity.y = static_cast<float>(Quillon::RandomInt(2 * m_directionY, 5 * m_directionY));
    return;
  }
  if (changedX) {
    m_velocity.x = static_cast<float>(Quillon::RandomInt(m_minimumSpeed * m_directionX, m_maximumSpeed * m_directionX));
  }
  if (changedY) {
    m_velocity.y = static_cast<float>(Quillon::RandomInt(m_minimumSpeed * m_directionY, m_maximumSpeed * m_directionY));
  }
}

void AiFriendClass::Move() {
  const float fastest = static_cast<float>(m_maximumSpeed);
  if (m_attacksDone == m_attackCount) {
    m_velocity = Math::Vector2D(-fastest, -fastest);
  } else if (m_advancing) {
    m_velocity = Math::Vector2D(fastest, 0.0f);
  } else {
    Steer(false);
  }
  m_offset += m_velocity;
}

void AiFriendClass::ReleaseBlast() {
  m_cooldown = m_attackInterval;
  Steer(true);
  PlayRunSound("aiFriendAttack", true);
  if (auto* blast = CloneArchetype<RadiusAttack>("rAttack", "rAttackClone")) {
    blast->Start(GetPosition(), 3.0f, 2);
    AddToLayer(GetLayer(), blast);
  }
  ++m_attacksDone;
  m_advancing = false;
}

void AiFriendClass::Update(float dt) {
  Quillon::Sprite::Update(dt);
  if (!m_active || IsGamePaused()) return;
  HoverCar* car = m_car.Get();
  if (car == nullptr) return;
  Move();
  SetPosition(Math::Vector2D(car->GetPositionX() + m_offset.x, m_offset.y));
  if (m_attacksDone < m_attackCount) {
    if (m_cooldown > 0.0f) {
      m_cooldown -= dt;
    } else if (m_offset.x < 600.0f) {
      m_advancing = true;
    } else {
      ReleaseBlast();
    }
  }
  if (m_attacksDone >= m_attackCount && GetPosition().Distance(car->GetPosition()) > 1000.0f) m_active = false;
}
