#include "game/Velkor_LaserClass.h"

#include "collision/Collision_DynamicObject.h"
#include "game/Velkor_BossObject.h"
#include "game/Velkor_CursorClass.h"
#include "game/Velkor_FightSupport.h"
#include "game/Velkor_HoverCar.h"

VELKOR_IMPLEMENT_CLASS(LaserClass, "LaserClass");

namespace {

// Where the beam starts: under the boss, or at the car's gun.
const Math::Vector2D kUnderBoss(-170.0f, 30.0f);
const Math::Vector2D kFromGun(50.0f, 0.0f);

}  // namespace

void LaserClass::OnStart() {
  Quillon::Sprite::OnStart();
  m_active = false;
  m_boss.Reset();
  m_car.Find();
  m_cursor.Find();
  // Off from the start as after a shot: out of sight and no shape contacts.
  SetVisible(false);
  if (Collision2D::DynamicObject* body = GetCollisionObject()) body->SetCollisionType(false);
}

void LaserClass::ReleaseResources() {
  m_boss.Reset();
  m_car.Release();
  m_cursor.Release();
  Quillon::Sprite::ReleaseResources();
}

void LaserClass::Switch(bool active, float duration) {
  m_duration = duration;
  m_active = active;
  m_elapsed = 0.0f;
}

void LaserClass::SetBoss(BossObject* boss) { m_boss = boss; }

BossObject* LaserClass::GetBoss() const {
  auto* boss = static_cast<BossObject*>(m_boss.Get());
  return boss != nullptr && !boss->IsDestructionPending() && boss->GetLayer() != nullptr ? boss : nullptr;
}

void LaserClass::HangUnderBoss() {
  BossObject* boss = GetBoss();
  // Without its boss, or once the boss is out of the fight, the beam ends in this step.
  if (boss == nullptr || !boss->IsEngaged()) m_elapsed = m_duration;
  if (boss == nullptr) return;
  const Math::Vector2D place = boss->GetPosition() + kUnderBoss;
  SetOldPosition(place);
  SetPosition(place);
}

void LaserClass::FollowCursor() {
  HoverCar* car = m_car.Get();
  CursorClass* cursor = m_cursor.Get();
  if (car == nullptr || cursor == nullptr) return;
  const Math::Vector2D start = car->GetPosition() + kFromGun;
  SetRotationAngle(Math::AngleOfDirection(Math::Normalized(cursor->GetPosition() - start)));
  SetOldPosition(start);
  SetPosition(start);
}

void LaserClass::Update(float dt) {
  Quillon::Sprite::Update(dt);
  if (!m_active || IsGamePaused()) return;
  if (IsBossLaser()) {
    HangUnderBoss();
  } else {
    FollowCursor();
  }
  m_elapsed += dt;
  if (m_elapsed >= m_duration) {
    m_active = false;
    m_duration = 0.0f;
    m_elapsed = 0.0f;
  }
  SetVisible(m_active);
  if (Collision2D::DynamicObject* body = GetCollisionObject()) body->SetCollisionType(m_active);
}
