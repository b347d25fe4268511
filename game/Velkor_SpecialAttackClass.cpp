#include "game/Velkor_SpecialAttackClass.h"

#include "framework/Quillon_Sprite.h"
#include "game/Velkor_CursorClass.h"
#include "game/Velkor_FightSupport.h"
#include "game/Velkor_HoverCar.h"
#include "game/Velkor_RadiusAttack.h"
#include "game/Velkor_RunSounds.h"
#include "math/Math_Vector2D.h"

VELKOR_IMPLEMENT_CLASS(SpecialAttackClass, "SpecialAttackClass");

void SpecialAttackClass::SetUp(int32_t kind, float fuse) {
  m_timer = 0.0f;
  m_kind = kind;
  m_fuse = fuse;
}

void SpecialAttackClass::OnStart() {
  Quillon::Sprite::OnStart();
  m_launchPending = true;
}

void SpecialAttackClass::Launch() {
  if (m_kind != kRocket) return;
  PlayRunSound("rocketLaunch", true);
  const HoverCar* player = FindObjectByName<HoverCar>("Player");
  if (player == nullptr) return;
  const float speed = player->IsSpeedBoostOn() ? 80.0f : 50.0f;
  SetPosition(player->GetPosition());
  CursorClass* cursor = FindObjectByName<CursorClass>("mouse");
  if (cursor == nullptr) return;
  const Math::Vector2D direction = Math::Normalized(cursor->GetPosition() - player->GetPosition());
  SetRotationAngle(Math::AngleOfDirection(direction));
  m_velocity = direction * speed;
}

void SpecialAttackClass::Burst() {
  if (m_kind == kRocket) {
    PlayRunSound("rocketExplode", true);
    if (auto* blast = CloneArchetype<RadiusAttack>("rAttack", "rAttackClone")) {
      blast->Start(GetPosition(), 3.0f, 1);
      AddToLayer(GetLayer(), blast);
    }
  }
  Destroy();
}

void SpecialAttackClass::Update(float dt) {
  Quillon::Sprite::Update(dt);
  if (!IsShotMoving(*this, "SpecialAttackClone")) return;
  // The timer is still 0 in the first step after the set-up: the launch comes in the second.
  if (m_timer > 0.0f && m_launchPending) {
    Launch();
    m_launchPending = false;
  }
  SetVelocity(m_velocity);
  m_timer += dt;
  if (m_timer > m_fuse) Burst();
}
