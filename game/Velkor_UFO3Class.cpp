#include "game/Velkor_UFO3Class.h"

#include "framework/Quillon_Random.h"
#include "game/Velkor_BulletClass.h"
#include "game/Velkor_FadingText.h"
#include "game/Velkor_FightSupport.h"
#include "game/Velkor_GameLevelClass.h"
#include "game/Velkor_LaserClass.h"
#include "game/Velkor_PlayerClass.h"

VELKOR_IMPLEMENT_CLASS(UFO3Class, "UFO3Class");

void UFO3Class::OnStart() {
  BossObject::OnStart();
  StartHealthBar(2.0f, Math::Vector2D(0.0f, 300.0f));
  m_hand = FindObjectByName<Quillon::Sprite>("UFO3_hand");
  m_float = FindObjectByName<Quillon::Sprite>("UFO3_float");
  if (m_hand != nullptr) Mount(m_hand);
  if (m_float != nullptr) Mount(m_float);
  m_active = true;
  m_engaged = false;
  SetPosition(Math::Vector2D(-10000.0f, 10000.0f));
  // Parked out of the fight, and out of sight with its parts until a wave engages it.
  ShowParts(false);
  m_attacking = false;
  m_attackTimer = m_attackInterval = 10.0f;
  m_phase = kSwoopPhase;
  m_actionTimer = 0.0f;
}

void UFO3Class::Engage(bool engaged) {
  m_engaged = engaged;
  if (!engaged) return;
  m_phase = kSwoopPhase;
  m_attackTimer = m_attackInterval = 10.0f;
  m_actionTimer = 0.0f;
}

void UFO3Class::ShowParts(bool visible) {
  SetVisible(visible);
  if (m_hand != nullptr) m_hand->SetVisible(visible);
  if (m_float != nullptr) m_float->SetVisible(visible);
  m_healthBar.SetVisible(visible);
}

void UFO3Class::SwoopStep() {
  if (m_hand == nullptr) {
    if (GetOffset().x > 250.0f) SetOffset(GetOffset() + Math::Vector2D(-30.0f, 0.0f));
    return;
  }
  if (GetOffset().x > 250.0f) {
    SetOffset(GetOffset() + Math::Vector2D(-30.0f, 0.0f));
    m_hand->SetRotationAngle(m_hand->GetRotationAngle() + 10.0f);
  } else if (m_hand->GetRotationAngle() < 360.0f) {
    m_hand->SetRotationAngle(m_hand->GetRotationAngle() + 10.0f);
  }
}

void UFO3Class::StartPhaseAction() {
  m_attacking = true;
  if (m_phase == kLaserPhase) {
    if (LaserClass* laser = FindObjectByName<LaserClass>("LaserA")) {
      laser->SetBossLaser(true);
      laser->Switch(true, 5.0f);
    }
    m_actionTimer = 5.0f;
    GameLevelClass::PlayRunSound("ufoLaser", true);
  } else {
    SwoopStep();
    m_actionTimer = 1.0f;
  }
}

void UFO3Class::Burst() {
  PlayerClass* player = FindPlayer();
  if (player == nullptr || player->IsDead()) return;
  if (Quillon::RandomInt(0, 50) >= 1 || GetPosition().Distance(player->GetPosition()) >= 800.0f) return;
  for (float k : {0.0f, 100.0f, 200.0f}) {
    auto* bullet = CloneArchetype<BulletClass>("Bullet", "BulletClone");
    if (bullet == nullptr) return;
    bullet->SetCurrentFrameIndex(2, false);
    bullet->SetPosition(GetPosition() + Math::Vector2D(-175.0f, 0.0f));
    bullet->Fire(GetPosition(), player->GetPosition() - Math::Vector2D(0.0f, 100.0f) + Math::Vector2D(0.0f, k));
    AddToLayer(GetLayer(), bullet);
  }
}

void UFO3Class::Update(float dt) {
  BossObject::Update(dt);
  if (!m_engaged || !m_active || IsGamePaused()) return;
  PlayerClass* player = FindPlayer();
  const Math::Vector2D base(player != nullptr ? player->GetPositionX() : 0.0f, 0.0f);
  if (m_attacking && m_phase == kSwoopPhase) {
    SwoopStep();
  } else {
    Wander(dt);
    if (m_hand != nullptr && m_hand->GetRotationAngle() > 0.0f) {
      const int32_t turned = static_cast<int32_t>(m_hand->GetRotationAngle() - 3.0f);
      m_hand->SetRotationAngle(static_cast<float>(turned % 360));
    }
  }
  SetPosition(base + GetOffset());
  if (m_attackTimer > 0.0f) {
    if (!m_attacking) Burst();
  } else {
    if (!m_attacking) StartPhaseAction();
    m_attackTimer = m_attackInterval;
  }
  m_attackTimer -= dt;
  if (m_attacking) {
    if (m_actionTimer > 0.0f) {
      m_actionTimer -= dt;
    } else {
      m_attacking = false;
      m_phase = m_phase == kSwoopPhase ? kLaserPhase : kSwoopPhase;
    }
  }
  TakeHits();
  if (GetHealth() > 0) {
    m_healthBar.SetHealth(GetHealth(), GetMaximumHealth());
    m_healthBar.Place(GetPosition());
  } else {
    SpawnExplosion(GetPosition(), GetLayer(), 5.0f);
    GameLevelClass::PlayRunSound("ufoDie", true);
    FadingText::Spawn("100 Gears gained!!", GetPosition(), GetLayer());
    if (player != nullptr) player->AddGears(100);
    m_engaged = false;
  }
  ShowParts(m_engaged);
}
