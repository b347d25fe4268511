#include "game/Velkor_PlayerClass.h"

#include <algorithm>
#include <cstdio>

#include "collision/Collision_DynamicObject.h"
#include "framework/Quillon_Camera.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_Game.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_ParticleSystem.h"
#include "gui/Gui_Graphics.h"
#include "input/Internal_Keyboard.h"
#include "input/Internal_Mouse.h"
#include "game/Velkor_CharBullet.h"
#include "game/Velkor_CursorClass.h"
#include "game/Velkor_AiFriendClass.h"
#include "game/Velkor_FadingText.h"
#include "game/Velkor_FightSupport.h"
#include "game/Velkor_GameLevelClass.h"
#include "game/Velkor_HUD_Manager.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_PlatformManager.h"
#include "game/Velkor_LaserClass.h"
#include "game/Velkor_PlayerText.h"
#include "game/Velkor_SpHud.h"
#include "game/Velkor_SpecialAttackClass.h"
#include "game/Velkor_ScreenSupport.h"

VELKOR_IMPLEMENT_CLASS(PlayerClass, "PlayerClass");

namespace {

// Engine key codes and mouse buttons of the car's controls.
constexpr int32_t kKeySpace = Input::Key::Space;
constexpr int32_t kKeySpecial = Input::Key::A;
constexpr int32_t kKeyAiFriend = 71;  // S
constexpr int32_t kKeyPowerUp = 56;   // D
constexpr uint32_t kLeftButton = 0;
constexpr uint32_t kRightButton = 2;

// Both of the car's partners in a hit are shape-tested, so its contacts are in the shape list.
constexpr bool kShapeContacts = true;

const Math::Vector2D kGunOffset(50.0f, 0.0f);

struct Attacker {
  const char* name;
  int32_t damage;
};
// The first of these touching the car in a frame is the one hit that counts.
const Attacker kAttackers[] = {
    {"BulletClone", 15}, {"AlienClone", 10}, {"AlienBulletClone", 5}, {"LaserA", 50}, {"UFO3_hand", 50}};

constexpr int32_t kHeal = 30;
constexpr int32_t kLowDurability = 25;

void SetCollisionShapeTests(Quillon::GameObject* object, bool shapes) {
  if (object == nullptr) return;
  if (Collision2D::DynamicObject* body = object->GetCollisionObject()) body->SetCollisionType(shapes);
}

}  // namespace

int32_t PlayerClass::GetDamageDivisor() const { return std::max<int32_t>(1, m_armour.defense); }

int32_t PlayerClass::GetHoverCapacity() const { return std::max<int32_t>(1, m_armour.hoverTime); }

void PlayerClass::OnStart() {
  Quillon::Sprite::OnStart();
  m_horizontalSpeed = 0.0f;
  m_verticalSpeed = -kHoverSpeed;
  m_distanceSteps = 0.0f;
  m_durability = 100;
  m_maximumDurability = 100;
  m_hitCoolDown = kHitReady;
  m_barrierTime = m_multiBulletTime = m_speedBoostTime = m_deathTime = 0.0f;
  m_gears = 0;
  m_rescuedCivilians.clear();
  m_hoverLoad = 0;
  m_multiBulletOn = 0;
  m_invulnerable = 0;
  m_dead = 0;
  m_gameOver = 0;
  m_bulletDamage = 0;
  m_blinkFrames = kBlinkFrames;
  m_warningCounter = 0;
  m_armour = ArmourData();
  m_armour.itemId = -1;
  m_gunData = GunData();
  m_gunData.itemId = -1;
  m_special = SpecialData();
  m_special.itemId = -1;
  m_aiFriend = AiData();
  m_aiFriend.itemId = -1;
  m_heldPowerUp = kNoPowerUp;
  FindPartners();
  if (m_barrier != nullptr) {
    m_barrier->SetVisible(false);
    Mount(m_barrier);
  }
  if (m_gun != nullptr) {
    m_gun->SetPosition(GetPosition() + kGunOffset);
    Mount(m_gun);
  }
  if (m_lowDurabilityWarning != nullptr && m_lowDurabilityWarning->IsPlaying()) {
    m_lowDurabilityWarning->SetVisible(false);
  }
}

void PlayerClass::FindPartners() {
  m_hud = FindObjectByName<HUD_Manager>("hud_mgr");
  m_messageText = FindObjectByName<PlayerText>("PlayerStatsText");
  m_barrier = FindObjectByName<Quillon::Sprite>("pShieldImg");
  m_gun = FindObjectByName<Quillon::Sprite>("PlayerGunSprite");
  m_lowDurabilityWarning = FindObjectByName<Quillon::Sprite>("lowLife");
}

// ---- Equipment ----------------------------------------------------------------------------------

void PlayerClass::SetSpeedAndDurability(int32_t durability, float speed) {
  m_durability = m_maximumDurability = durability;
  m_horizontalSpeed = speed;
}

void PlayerClass::EquipArmour(int32_t index, int32_t damageDivisor, int32_t hoverCapacity) {
  m_armour.itemId = index;
  m_armour.defense = damageDivisor;
  m_armour.hoverTime = hoverCapacity;
  ShowLook("Car");
  m_hoverLoad = GetHoverCapacity();
}

void PlayerClass::EquipGun(int32_t index, int32_t fireInterval, int32_t bulletCount) {
  m_gunData.itemId = index;
  m_gunData.delay = fireInterval;
  m_gunData.multi = bulletCount;
  if (m_gun != nullptr && index >= 0 && static_cast<uint32_t>(index) < m_gun->GetFramesCount(0)) {
    m_gun->SetCurrentFrameIndex(static_cast<uint32_t>(index), false);
  }
}

void PlayerClass::EquipSpecial(int32_t index, int32_t stat, int32_t coolDown) {
  m_special.itemId = index;
  m_special.damage = stat;
  m_special.delay = coolDown;
}

void PlayerClass::EquipAiFriend(int32_t index, int32_t stat, int32_t coolDown) {
  m_aiFriend.itemId = index;
  m_aiFriend.damage = stat;
  m_aiFriend.delay = coolDown;
}

void PlayerClass::SetHeldPowerUp(int32_t type) {
  m_heldPowerUp = type;
  RefreshHudIcons();
}

SpHud* PlayerClass::FindSpecialPanel() const {
  return m_hud != nullptr ? m_hud->GetSpecialPanel() : FindObjectByName<SpHud>("SpHud");
}

void PlayerClass::RefreshHudIcons() {
  if (SpHud* panel = FindSpecialPanel()) panel->SetItems(m_special.itemId, m_aiFriend.itemId, m_heldPowerUp);
}

void PlayerClass::AddGears(int32_t gears) {
  m_gears += gears;
  if (m_hud != nullptr) m_hud->SetGears(m_gears);
}

void PlayerClass::ShowLook(const char* animation) {
  SetCurrentAnimationName(animation, false);
  const int32_t frame = m_armour.itemId;
  if (frame >= 0 && static_cast<uint32_t>(frame) < GetFramesCount(GetCurrentAnimationIndex())) {
    SetCurrentFrameIndex(static_cast<uint32_t>(frame), false);
  }
}

// ---- The frame ----------------------------------------------------------------------------------

void PlayerClass::Update(float dt) {
  Quillon::Sprite::Update(dt);
  UpdateHud();
  const bool paused = IsGamePaused();
  if (paused) {
    SetVelocity(Math::Vector2D(0.0f, 0.0f));
  } else {
    const Collision2D::CollisionResults* results = GetCollisionResults();
    RescueCivilians();
    ApplyContacts([results](const char* name) { return Quillon::IsCollidedWithSprite(results, name, kShapeContacts); });
    CheckDeath(dt);
    if (m_dead == 0) {
      Math::Vector2D velocity;
      if (GetVelocity(velocity)) m_verticalSpeed = velocity.y;
      Aim();
      ReadInput();
      RunBoostTimers(dt);
      Blink();
      WarnLowDurability();
    } else {
      m_horizontalSpeed = m_verticalSpeed = 0.0f;
    }
    const float speed = m_speedBoostOn != 0 ? m_horizontalSpeed + kSpeedBoost : m_horizontalSpeed;
    SetVelocity(Math::Vector2D(speed, m_verticalSpeed));
    if (m_messageText != nullptr) m_messageText->SetPositionX(GetPositionX() - 200.0f);
    CountDistance();
  }
  if (auto* trail = FindObjectByName<Quillon::ParticleSystem>("particleSystem0")) trail->SetVisible(!paused && m_dead == 0);
  if (auto* camera = FindObjectByName<Quillon::Camera>("camera0")) camera->SetPositionX(GetPositionX() + 250.0f);
  const int32_t screenHeight = GUI::GetScreenHeight();
  if (screenHeight > 0 && GetPositionY() >= static_cast<float>(screenHeight)) {
    SetPositionY(static_cast<float>(screenHeight) - 10.0f);
  }
}

void PlayerClass::UpdateHud() {
  if (m_hud == nullptr) return;
  m_hud->SetDurability(m_durability, std::max<int32_t>(1, m_maximumDurability));
  m_hud->SetDistance(static_cast<int32_t>(GetPositionX() / 100.0f));
  m_hud->SetHoverEnergy(GetHoverCapacity() - m_hoverLoad, GetHoverCapacity());
}

void PlayerClass::RescueCivilians() {
  for (uint32_t i = 0; i < GetCollidedSpritesCount(kShapeContacts); ++i) {
    Quillon::GameObject* other = GetCollidedSprite(i, kShapeContacts);
    if (other == nullptr || other->GetName() != "CivilianClone") continue;
    if (m_rescuedCivilians.insert(other->GetID()).second) AddGears(1);
  }
}

void PlayerClass::ApplyContacts(const ContactQuery& touches) {
  if (touches("HealthPotClone") && m_durability < m_maximumDurability) {
    GameLevelClass::PlayRunSound("playerHeal", false);
    FadingText::Spawn("+Health", GetPosition(), GetLayer());
    m_durability = std::min(m_durability + kHeal, m_maximumDurability);
  }
  if (touches("platMgr1") || touches("platMgr2")) m_durability = 0;
  if (m_hitCoolDown == kHitReady && m_invulnerable == 0 && m_barrierTime <= 0.0f) {
    for (const Attacker& attacker : kAttackers) {
      if (!touches(attacker.name)) continue;
      if (m_blinkFrames <= 0) m_blinkFrames = kBlinkFrames;
      m_durability = std::max<int32_t>(0, m_durability - attacker.damage / GetDamageDivisor());
      m_invulnerable = 1;
      m_hitCoolDown -= 1.0f;
      break;
    }
  } else if (m_hitCoolDown != kHitReady) {
    if (m_hitCoolDown == 0.0f) {
      m_hitCoolDown = kHitReady;
      m_invulnerable = 0;
    } else {
      m_hitCoolDown -= 1.0f;
    }
  }
}

void PlayerClass::CheckDeath(float dt) {
  if (m_dead != 0) {
    m_deathTime += dt;
    if (m_deathTime > kDeathToGameOver) m_gameOver = 1;
    return;
  }
  if (m_durability > 0) return;
  GameLevelClass::PlayRunSound("playerDie", false);
  m_dead = 1;
  SpawnExplosion(GetPosition(), GetLayer());
  SetVisible(false);
  if (m_gun != nullptr) m_gun->SetVisible(false);
  if (auto* trail = FindObjectByName<Quillon::ParticleSystem>("particleSystem0")) trail->SetVisible(false);
  if (m_lowDurabilityWarning != nullptr) m_lowDurabilityWarning->SetVisible(false);
}

void PlayerClass::Aim() {
  auto* cursor = FindObjectByName<CursorClass>("mouse");
  if (cursor == nullptr || m_gun == nullptr) return;
  const Math::Vector2D toCursor = cursor->GetPosition() - (GetPosition() + kGunOffset);
  if (toCursor.x != 0.0f || toCursor.y != 0.0f) m_gun->SetDirection(toCursor.x, toCursor.y);
}

void PlayerClass::ReadInput() {
  Quillon::Game* game = Quillon::Game::GetInstance();
  if (game == nullptr) return;
  if (Input::Keyboard* keyboard = game->GetKeyboard()) {
    Hover(keyboard->IsPressed(kKeySpace), keyboard->IsUp(kKeySpace));
    if (keyboard->IsTriggered(kKeySpecial)) UseSpecialAttack();
    if (keyboard->IsTriggered(kKeyAiFriend)) CallAiFriend();
    if (keyboard->IsTriggered(kKeyPowerUp)) UsePowerUp();
  }
  Input::Mouse* mouse = game->GetMouse();
  if (mouse == nullptr) return;
  const int32_t interval = m_gunData.delay;
  if (mouse->IsPressed(kLeftButton)) {
    if (m_shotTimer >= interval) {
      Shoot();
      m_shotTimer = 0;
    } else {
      ++m_shotTimer;
    }
  } else if (m_shotTimer < interval) {
    ++m_shotTimer;
  }
  if (mouse->IsTriggered(kLeftButton)) Shoot();
  DropThrough(mouse->IsPressed(kRightButton), mouse->IsUp(kRightButton));
}

void PlayerClass::Hover(bool held, bool released) {
  const int32_t capacity = GetHoverCapacity();
  if (m_hoverLoad < 0) m_hoverLoad = 0;
  if (m_hoverExhausted == 0) {
    if (held) {
      m_verticalSpeed = kHoverSpeed;
      ShowLook("CarHover");
      ++m_hoverLoad;
      if (m_hoverLoad >= capacity) m_hoverExhausted = 1;
    } else {
      m_verticalSpeed = -kHoverSpeed;
      ShowLook("Car");
      --m_hoverLoad;
    }
  } else {
    ShowLook("Car");
    if (m_hoverLoad > 0) --m_hoverLoad;
    m_verticalSpeed = -kHoverSpeed;
  }
  if (released) {
    ShowLook("Car");
    if (m_hoverLoad < capacity / 2) m_hoverExhausted = 0;
    m_verticalSpeed = -kHoverSpeed;
  }
}

void PlayerClass::DropThrough(bool held, bool released) {
  if (held) m_dropThrough = GetPositionY() > kDropThroughHeight ? 1 : 0;
  if (released) m_dropThrough = 0;
}

std::vector<float> PlayerClass::VolleyAngles(float aim, int32_t bulletCount, bool multiBullet) {
  if (!multiBullet) return {aim};
  // A gun without a bullet count still fires its one shot.
  const int32_t count = std::max<int32_t>(1, bulletCount);
  const float first = count > 1 ? aim - static_cast<float>(count / 2) * 10.0f : aim;
  std::vector<float> angles;
  for (int32_t i = 0; i < count; ++i) angles.push_back(first + 10.0f * static_cast<float>(i));
  return angles;
}

void PlayerClass::Shoot() {
  auto* cursor = FindObjectByName<CursorClass>("mouse");
  if (cursor == nullptr || FindObjectByName<CharBullet>("charBullet") == nullptr) return;
  GameLevelClass::PlayRunSound("playerShoot", false);
  const Math::Vector2D origin = GetPosition() + kGunOffset;
  const float aim = Math::AngleOfDirection(Math::Normalized(cursor->GetPosition() - origin));
  const bool multi = m_multiBulletOn != 0;
  for (float angle : VolleyAngles(aim, m_gunData.multi, multi)) {
    CharBullet* bullet = CloneArchetype<CharBullet>("charBullet", "charBulletClone");
    if (bullet->GetFramesCount(0) > 1) bullet->SetCurrentFrameIndex(multi ? 1 : 0, true);
    bullet->Fire(origin, Math::DirectionFromAngle(angle), 10);
    bullet->SetLife(1.0f);
    AddToLayer(GetLayer(), bullet);
  }
}

void PlayerClass::UsePowerUp() {
  switch (m_heldPowerUp) {
    case kBarrier:
      if (m_barrier != nullptr) {
        m_barrier->SetVisible(true);
        SetCollisionShapeTests(m_barrier, true);
      }
      m_barrierTime = 10.0f;
      ShowMessage("Barrier for 10 seconds!", 1.5f);
      break;
    case kMultiBullet:
      m_multiBulletTime = 30.0f;
      m_multiBulletOn = 1;
      ShowMessage("Multi Bullet for 30 seconds!", 1.5f);
      break;
    case kSpeedUp:
      m_speedBoostTime = 5.0f;
      m_speedBoostOn = 1;
      ShowMessage("Speed boost for 5 seconds!", 1.5f);
      break;
    default:
      break;
  }
  m_heldPowerUp = kNoPowerUp;
  RefreshHudIcons();
}

void PlayerClass::UseSpecialAttack() {
  if (m_special.itemId < 0) return;
  SpHud* panel = FindSpecialPanel();
  if (panel == nullptr) return;
  if (panel->GetSpecialCountdown() > 0.0f) {
    ShowMessage("Not Ready", 2.0f);
    return;
  }
  panel->SetSpecialCountdown(static_cast<float>(m_special.delay));
  if (m_special.itemId == 0) {
    if (auto* rocket = CloneArchetype<SpecialAttackClass>("SpecialAtk", "SpecialAttackClone")) {
      rocket->SetUp(SpecialAttackClass::kRocket, 2.0f);
      AddToLayer(GetLayer(), rocket);
    }
    ShowMessage("Rocket!!", 2.0f);
  } else if (m_special.itemId == 1) {
    if (auto* laser = FindObjectByName<LaserClass>("Laser")) laser->Switch(true, 3.0f);
    GameLevelClass::PlayRunSound("playerLaser", false);
  }
}

void PlayerClass::CallAiFriend() {
  if (m_aiFriend.itemId < 0) return;
  SpHud* panel = FindSpecialPanel();
  if (panel == nullptr || panel->GetAiFriendCountdown() > 0.0f) return;
  panel->SetAiFriendCountdown(static_cast<float>(m_aiFriend.delay));
  if (m_aiFriend.itemId != 0) return;
  if (auto* drone = FindObjectByName<AiFriendClass>("AiFriend")) {
    drone->SetBox(Math::Vector2D(-150.0f, 150.0f), Math::Vector2D(800.0f, 650.0f));
    drone->SetUp(Math::Vector2D(-500.0f, 200.0f), m_aiFriend.itemId, 4, 4.0f);
    drone->SetSpeedRange(5, 10);
  }
  ShowMessage("AI Friend is coming!!", 2.0f);
}

void PlayerClass::RunBoostTimers(float dt) {
  struct Boost {
    float& time;
    const char* endLine;
  };
  Boost boosts[] = {{m_barrierTime, "Barrier end: "},
                    {m_multiBulletTime, "Multi Bullets end: "},
                    {m_speedBoostTime, "Speed Boost end: "}};
  std::string lines;
  for (int i = 0; i < 3; ++i) {
    float& time = boosts[i].time;
    if (time > 0.0f && time < 3.0f) {
      char remaining[64];
      std::snprintf(remaining, sizeof(remaining), "%f", static_cast<double>(time));
      lines += std::string(boosts[i].endLine) + std::string(remaining).substr(0, 3) + "\n";
    }
    if (time <= 0.0f) {
      if (i == 0 && m_barrier != nullptr) {
        m_barrier->SetVisible(false);
        SetCollisionShapeTests(m_barrier, false);
      }
      if (i == 1) m_multiBulletOn = 0;
      if (i == 2) m_speedBoostOn = 0;
    }
    time -= dt;
  }
  if (!lines.empty()) ShowMessage(lines, 1.0f);
}

void PlayerClass::Blink() {
  if (m_blinkFrames < 1) {
    SetVisible(true);
    if (m_gun != nullptr) m_gun->SetVisible(true);
    return;
  }
  if (m_blinkFrames % 5 == 0 && m_gun != nullptr) m_gun->SetVisible(!IsVisible());
  SetVisible(!IsVisible());
  --m_blinkFrames;
}

void PlayerClass::WarnLowDurability() {
  if (m_lowDurabilityWarning == nullptr) return;
  if (m_durability > kLowDurability) {
    m_warningCounter = 0;
    m_lowDurabilityWarning->SetVisible(false);
    return;
  }
  m_lowDurabilityWarning->SetVisible(true);
  if (m_warningCounter % 10 == 0) m_lowDurabilityWarning->SetVisible(!IsVisible());
  ++m_warningCounter;
  GameLevelClass::PlayRunSound("playerDying", false);
}

void PlayerClass::CountDistance() {
  if (GetPositionX() <= m_distanceSteps * kStepLength + 250.0f) return;
  m_distanceSteps += 1.0f;
  const float threshold = m_distanceSteps * kStepLength;
  for (const char* name : {"platMgr1", "platMgr2"}) {
    if (auto* segment = FindObjectByName<PlatformManager>(name)) segment->TellPassed(threshold);
  }
}

void PlayerClass::ShowMessage(const std::string& text, float seconds) {
  if (m_messageText != nullptr) m_messageText->Show(text, seconds);
}
