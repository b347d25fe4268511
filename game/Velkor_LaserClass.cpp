#include "game/Velkor_LaserClass.h"

#include "collision/Collision_DynamicObject.h"
#include "game/Velkor_CursorClass.h"
#include "game/Velkor_FightSupport.h"
#include "game/Velkor_PlayerClass.h"
#include "game/Velkor_UFO3Class.h"

VELKOR_IMPLEMENT_CLASS(LaserClass, "LaserClass");

void LaserClass::OnStart() {
  Quillon::Sprite::OnStart();
  m_active = false;
  m_bossLaser = false;
  // Off from the start as after a shot: out of sight and no shape contacts.
  SetVisible(false);
  if (Collision2D::DynamicObject* body = GetCollisionObject()) body->SetCollisionType(false);
}

void LaserClass::Switch(bool active, float duration) {
  m_duration = duration;
  m_active = active;
  m_elapsed = 0.0f;
}

void LaserClass::Update(float dt) {
  Quillon::Sprite::Update(dt);
  if (!m_active || IsGamePaused()) return;
  if (m_bossLaser) {
    UFO3Class* mothership = FindObjectByName<UFO3Class>("UFO3");
    // Without its mothership, or once it is beaten, the beam ends in this step.
    if (mothership == nullptr || !mothership->IsEngaged()) m_elapsed = m_duration;
    if (mothership != nullptr) {
      const Math::Vector2D place = mothership->GetPosition() + Math::Vector2D(-170.0f, 30.0f);
      SetOldPosition(place);
      SetPosition(place);
    }
  } else {
    PlayerClass* player = FindPlayer();
    CursorClass* cursor = FindObjectByName<CursorClass>("mouse");
    if (player != nullptr && cursor != nullptr) {
      const Math::Vector2D start = player->GetPosition() + Math::Vector2D(50.0f, 0.0f);
      SetRotationAngle(Math::AngleOfDirection(Math::Normalized(cursor->GetPosition() - start)));
      SetOldPosition(start);
      SetPosition(start);
    }
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
