#include "game/Velkor_AlienClass.h"

#include "framework/Quillon_Random.h"
#include "game/Velkor_AlienBullet.h"
#include "game/Velkor_FadingText.h"
#include "game/Velkor_FightSupport.h"
#include "game/Velkor_HoverCar.h"
#include "game/Velkor_PowerConsume.h"

VELKOR_IMPLEMENT_CLASS(AlienClass, "AlienClass");

namespace {

constexpr float kShotRange = 800.0f;

}  // namespace

AlienClass::AlienClass(const AlienClass& other)
    : SpawnObject(other),
      m_maximumHealth(other.m_maximumHealth),
      m_health(other.m_health),
      m_shotInterval(other.m_shotInterval),
      m_aimed(other.m_aimed),
      m_shotTimer(other.m_shotTimer),
      m_noDrop(other.m_noDrop) {}

void AlienClass::SetUp(int32_t health, float shotInterval, bool aimed) {
  m_maximumHealth = health;
  m_health = health;
  m_shotInterval = shotInterval;
  m_aimed = aimed;
  if (aimed) SetCurrentFrameIndex(1, false);
}

void AlienClass::OnStart() {
  SpawnObject::OnStart();
  m_shotTimer = Quillon::RandomFloat(0.0f, 3.0f);
  m_healthBar.Initialize();
  m_healthBar.AddToLayer(GetLayer());
  m_healthBar.SetOffset(Math::Vector2D(-40.0f, 50.0f));
  m_noDrop = false;
  m_car.Find();
}

void AlienClass::ReleaseResources() {
  m_car.Release();
  SpawnObject::ReleaseResources();
}

void AlienClass::Destroy() {
  SpawnObject::Destroy();
  m_healthBar.Destroy();
}

void AlienClass::TakeHits() {
  if (Touches(this, "Player")) {
    // Ramming the car costs the alien its life and its drop.
    m_health = 0;
    m_noDrop = true;
  }
  const HoverCar* player = m_car.Get();
  if (player == nullptr) return;
  // Shots from far off (the car's stray bullets) do nothing.
  if (Touches(this, "charBulletClone") && GetPosition().Distance(player->GetPosition()) < kShotRange) {
    m_health -= player->GetBulletDamage();
  }
  if (Touches(this, "rAttackClone") || Touches(this, "Laser")) m_health -= player->GetSpecialDamage();
}

void AlienClass::Explode() {
  SpawnExplosion(GetPosition(), GetLayer());
  if (!m_noDrop) DropPowerUp();
  Destroy();
}

void AlienClass::DropPowerUp() {
  const int32_t kind = Quillon::RandomInt(0, 2);
  const int32_t roll = Quillon::RandomInt(0, 10);
  if (roll <= 3) return;
  auto* powerUp = CloneArchetype<PowerConsume>("PowerConsumeSprite", "PowerConsuClone");
  if (powerUp == nullptr) return;
  Quillon::Layer* archetypeLayer = nullptr;
  if (PowerConsume* archetype = FindObjectByName<PowerConsume>("PowerConsumeSprite")) archetypeLayer = archetype->GetLayer();
  powerUp->Spawn(GetOwnerTag(), "PowerConsuClone", 8, GetPosition());
  powerUp->SetType(kind);
  AddGravity(powerUp);
  AddToLayer(archetypeLayer, powerUp);
  static const char* const kCaptions[] = {"Barrier Boost!!!", "Multi Bullet Boost!!!", "Speed Boost!!!"};
  FadingText::Spawn(kCaptions[kind], GetPosition() + Math::Vector2D(-50.0f, 0.0f), GetLayer());
}

void AlienClass::Shoot(float dt) {
  m_shotTimer += dt;
  if (m_shotTimer <= m_shotInterval || GetName() != "AlienClone") return;
  const HoverCar* player = m_car.Get();
  if (player == nullptr || player->IsDead()) return;
  const Math::Vector2D& target = player->GetPosition();
  // Only at a car within range that has passed it.
  if (GetPosition().Distance(target) < kShotRange && target.x < GetPosition().x) {
    if (auto* bullet = CloneArchetype<AlienBullet>("AlienBullet", "AlienBulletClone")) {
      if (m_aimed) {
        bullet->FireAimed(GetPosition(), target, 2.0f);
        bullet->SetLoop(true);
        bullet->SetPlaying(true);
      } else {
        bullet->FireStraight(GetPosition(), 3.0f);
      }
      bullet->SetLife(3.0f);
      AddToLayer(GetLayer(), bullet);
    }
  }
  m_shotTimer = 0.0f;
}

void AlienClass::Update(float dt) {
  SpawnObject::Update(dt);
  if (IsGamePaused() || IsDestructionPending()) return;
  if (IsSpawned()) TakeHits();
  if (GetName() == "AlienClone") {
    if (m_health < 1) {
      Explode();
      return;
    }
    m_healthBar.SetHealth(m_health, m_maximumHealth);
  }
  Shoot(dt);
  m_healthBar.Place(GetPosition());
}
