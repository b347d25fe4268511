#include "game/Velkor_UFO3Class.h"

#include "framework/Quillon_Random.h"
#include "game/Velkor_BulletClass.h"
#include "game/Velkor_FadingText.h"
#include "game/Velkor_FightSupport.h"
#include "game/Velkor_HoverCar.h"
#include "game/Velkor_LaserClass.h"
#include "game/Velkor_RunSounds.h"

VELKOR_IMPLEMENT_CLASS(UFO3Class, "UFO3Class");

namespace {

// Its health bar: twice a small UFO's, high above it.
constexpr float kHealthBarScale = 2.0f;
const Math::Vector2D kHealthBarOffset(0.0f, 300.0f);
// Where it waits out of the fight.
const Math::Vector2D kParking(-10000.0f, 10000.0f);

// Seconds between the starts of two attacks, and how long each attack lasts.
constexpr float kAttackInterval = 10.0f;
constexpr float kLaserSeconds = 5.0f;
constexpr float kSwoopSeconds = 1.0f;

// The swoop: it closes in on the car by this much a step until it is this near, swinging its hand
// round by this many degrees a step, one whole turn; after the swoop the hand swings back by
// kHandReturn degrees a step.
constexpr float kSwoopNearest = 250.0f;
const Math::Vector2D kSwoopStep(-30.0f, 0.0f);
constexpr float kHandSwing = 10.0f;
constexpr float kHandReturn = 3.0f;
constexpr float kWholeTurn = 360.0f;
constexpr int32_t kWholeTurnDegrees = 360;

// Between attacks, a burst of three shots by a chance of one in fifty a step while the car is
// within reach: from its gun port, at the car and a hundred and two hundred units higher.
constexpr int32_t kBurstChance = 50;
constexpr float kBurstReach = 800.0f;
constexpr uint32_t kBurstBulletFrame = 2;
const Math::Vector2D kGunPort(-175.0f, 0.0f);
const Math::Vector2D kBurstAimBelow(0.0f, 100.0f);
constexpr float kBurstSpread[] = {0.0f, 100.0f, 200.0f};

// Shot down: a big explosion and 100 gears.
constexpr float kExplosionScale = 5.0f;
constexpr int32_t kGearsForDefeat = 100;

}  // namespace

void UFO3Class::OnStart() {
  BossObject::OnStart();
  StartHealthBar(kHealthBarScale, kHealthBarOffset);
  Mount(m_hand.Find());
  Mount(m_float.Find());
  m_laser.Find();
  m_active = true;
  m_engaged = false;
  SetPosition(kParking);
  // Parked out of the fight, and out of sight with its parts until a wave engages it.
  ShowParts(false);
  m_attacking = false;
  m_attackTimer = m_attackInterval = kAttackInterval;
  m_phase = kSwoopPhase;
  m_actionTimer = 0.0f;
}

void UFO3Class::ReleaseResources() {
  m_hand.Release();
  m_float.Release();
  m_laser.Release();
  BossObject::ReleaseResources();
}

void UFO3Class::Engage(bool engaged) {
  m_engaged = engaged;
  if (!engaged) return;
  // A mothership read back from a saved game was not started again: the wave that engages it is
  // what brings it into the fight.
  m_active = true;
  m_phase = kSwoopPhase;
  m_attackTimer = m_attackInterval = kAttackInterval;
  m_actionTimer = 0.0f;
}

void UFO3Class::ShowParts(bool visible) {
  SetVisible(visible);
  if (Quillon::Sprite* hand = m_hand.Get()) hand->SetVisible(visible);
  if (Quillon::Sprite* floatPart = m_float.Get()) floatPart->SetVisible(visible);
  m_healthBar.SetVisible(visible);
}

void UFO3Class::SwoopStep() {
  Quillon::Sprite* hand = m_hand.Get();
  if (hand == nullptr) {
    if (GetOffset().x > kSwoopNearest) SetOffset(GetOffset() + kSwoopStep);
    return;
  }
  if (GetOffset().x > kSwoopNearest) {
    SetOffset(GetOffset() + kSwoopStep);
    hand->SetRotationAngle(hand->GetRotationAngle() + kHandSwing);
  } else if (hand->GetRotationAngle() < kWholeTurn) {
    hand->SetRotationAngle(hand->GetRotationAngle() + kHandSwing);
  }
}

void UFO3Class::StartPhaseAction() {
  m_attacking = true;
  if (m_phase == kLaserPhase) {
    if (LaserClass* laser = m_laser.Get()) {
      laser->SetBoss(this);
      laser->Switch(true, kLaserSeconds);
    }
    m_actionTimer = kLaserSeconds;
    PlayRunSound("ufoLaser", true);
  } else {
    SwoopStep();
    m_actionTimer = kSwoopSeconds;
  }
}

void UFO3Class::Burst() {
  HoverCar* car = GetCar();
  if (car == nullptr || car->IsDead()) return;
  if (Quillon::RandomInt(0, kBurstChance) >= 1 || GetPosition().Distance(car->GetPosition()) >= kBurstReach) return;
  for (float spread : kBurstSpread) {
    auto* bullet = CloneArchetype<BulletClass>("Bullet", "BulletClone");
    if (bullet == nullptr) return;
    bullet->SetCurrentFrameIndex(kBurstBulletFrame, false);
    bullet->SetPosition(GetPosition() + kGunPort);
    bullet->Fire(GetPosition(), car->GetPosition() - kBurstAimBelow + Math::Vector2D(0.0f, spread));
    AddToLayer(GetLayer(), bullet);
  }
}

void UFO3Class::SwingHandBack() {
  Quillon::Sprite* hand = m_hand.Get();
  if (hand == nullptr || hand->GetRotationAngle() <= 0.0f) return;
  const int32_t turned = static_cast<int32_t>(hand->GetRotationAngle() - kHandReturn);
  hand->SetRotationAngle(static_cast<float>(turned % kWholeTurnDegrees));
}

void UFO3Class::Update(float dt) {
  BossObject::Update(dt);
  if (!m_engaged || !m_active || IsGamePaused()) return;
  HoverCar* car = GetCar();
  const Math::Vector2D base(car != nullptr ? car->GetPositionX() : 0.0f, 0.0f);
  if (m_attacking && m_phase == kSwoopPhase) {
    SwoopStep();
  } else {
    Wander(dt);
    SwingHandBack();
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
    SpawnExplosion(GetPosition(), GetLayer(), kExplosionScale);
    PlayRunSound("ufoDie", true);
    FadingText::Spawn("100 Gears gained!!", GetPosition(), GetLayer());
    if (car != nullptr) car->AddGears(kGearsForDefeat);
    m_engaged = false;
  }
  ShowParts(m_engaged);
}
