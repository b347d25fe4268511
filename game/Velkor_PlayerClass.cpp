#include "game/Velkor_PlayerClass.h"

#include <algorithm>
#include <cstdio>

#include "collision/Collision_DynamicObject.h"
#include "framework/Quillon_Game.h"
#include "input/Internal_Keyboard.h"
#include "input/Internal_Mouse.h"
#include "game/Velkor_AiFriendClass.h"
#include "game/Velkor_CharBullet.h"
#include "game/Velkor_CursorClass.h"
#include "game/Velkor_FightSupport.h"
#include "game/Velkor_HUD_Manager.h"
#include "game/Velkor_LaserClass.h"
#include "game/Velkor_RunSounds.h"
#include "game/Velkor_SpHud.h"
#include "game/Velkor_SpecialAttackClass.h"

VELKOR_IMPLEMENT_CLASS(PlayerClass, "PlayerClass");

PlayerClass* FindPlayer() { return FindObjectByName<PlayerClass>("Player"); }

namespace {

// The weapon keys.
constexpr int32_t kKeySpecial = Input::Key::A;
constexpr int32_t kKeyAiFriend = Input::Key::S;
constexpr int32_t kKeyPowerUp = Input::Key::D;

const Math::Vector2D kGunOffset(50.0f, 0.0f);
constexpr int32_t kBulletSpeed = 10;
constexpr float kBulletLife = 1.0f;
// Degrees between the bullets of a multi-bullet volley.
constexpr float kVolleySpread = 10.0f;

// The power-ups' seconds.
constexpr float kBarrierSeconds = 10.0f;
constexpr float kMultiBulletSeconds = 30.0f;
constexpr float kSpeedBoostSeconds = 5.0f;
// A boost's end is counted down in the message over its last seconds.
constexpr float kBoostEndWarning = 3.0f;

// The special attacks by item number, and the drone's.
constexpr int32_t kRocket = 0;
constexpr int32_t kLaser = 1;
constexpr float kRocketFuse = 2.0f;
constexpr float kLaserSeconds = 3.0f;
constexpr int32_t kDrone = 0;
constexpr int32_t kDroneBlasts = 4;
constexpr float kDroneBlastInterval = 4.0f;
const Math::Vector2D kDroneBoxMinimum(-150.0f, 150.0f);
const Math::Vector2D kDroneBoxMaximum(800.0f, 650.0f);
const Math::Vector2D kDroneStart(-500.0f, 200.0f);
constexpr int32_t kDroneSlowest = 5;
constexpr int32_t kDroneFastest = 10;

void SetCollisionShapeTests(Quillon::GameObject* object, bool shapes) {
  if (object == nullptr) return;
  if (Collision2D::DynamicObject* body = object->GetCollisionObject()) body->SetCollisionType(shapes);
}

}  // namespace

void PlayerClass::OnStart() {
  HoverCar::OnStart();
  m_multiBulletTime = m_speedBoostTime = 0.0f;
  m_multiBulletOn = 0;
  m_bulletDamage = 0;
  m_gunData = GunData();
  m_gunData.itemId = -1;
  m_special = SpecialData();
  m_special.itemId = -1;
  m_aiFriend = AiData();
  m_aiFriend.itemId = -1;
  m_heldPowerUp = kNoPowerUp;
  m_barrier.Find();
  m_cursor.Find();
  m_bulletModel.Find();
  m_laser.Find();
  m_aiFriendDrone.Find();
  m_specialPanel.Find();
  if (Quillon::Sprite* barrier = m_barrier.Get()) {
    barrier->SetVisible(false);
    Mount(barrier);
  }
  if (Quillon::Sprite* gun = m_gun.Get()) {
    gun->SetPosition(GetPosition() + kGunOffset);
    Mount(gun);
  }
}

void PlayerClass::ReleaseResources() {
  m_barrier.Release();
  m_cursor.Release();
  m_bulletModel.Release();
  m_laser.Release();
  m_aiFriendDrone.Release();
  m_specialPanel.Release();
  HoverCar::ReleaseResources();
}

// ---- Equipment ----------------------------------------------------------------------------------

void PlayerClass::EquipGun(int32_t index, int32_t fireInterval, int32_t bulletCount) {
  m_gunData.itemId = index;
  m_gunData.delay = fireInterval;
  m_gunData.multi = bulletCount;
  Quillon::Sprite* gun = m_gun.Get();
  if (gun != nullptr && index >= 0 && static_cast<uint32_t>(index) < gun->GetFramesCount(0)) {
    gun->SetCurrentFrameIndex(static_cast<uint32_t>(index), false);
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

SpHud* PlayerClass::FindSpecialPanel() {
  HUD_Manager* hud = GetHud();
  return hud != nullptr ? hud->GetSpecialPanel() : m_specialPanel.Get();
}

void PlayerClass::RefreshHudIcons() {
  if (SpHud* panel = FindSpecialPanel()) panel->SetItems(m_special.itemId, m_aiFriend.itemId, m_heldPowerUp);
}

// ---- The frame ----------------------------------------------------------------------------------

void PlayerClass::Steer(float dt) {
  Aim();
  HoverCar::Steer(dt);
  UseWeapons();
  RunBoostTimers(dt);
}

void PlayerClass::Aim() {
  CursorClass* cursor = m_cursor.Get();
  Quillon::Sprite* gun = m_gun.Get();
  if (cursor == nullptr || gun == nullptr) return;
  const Math::Vector2D toCursor = cursor->GetPosition() - (GetPosition() + kGunOffset);
  if (toCursor.x != 0.0f || toCursor.y != 0.0f) gun->SetDirection(toCursor.x, toCursor.y);
}

void PlayerClass::UseWeapons() {
  Quillon::Game* game = Quillon::Game::GetInstance();
  if (game == nullptr) return;
  if (Input::Keyboard* keyboard = game->GetKeyboard()) {
    if (keyboard->IsTriggered(kKeySpecial)) UseSpecialAttack();
    if (keyboard->IsTriggered(kKeyAiFriend)) CallAiFriend();
    if (keyboard->IsTriggered(kKeyPowerUp)) UsePowerUp();
  }
  Input::Mouse* mouse = game->GetMouse();
  if (mouse == nullptr) return;
  // Held, the gun fires once every fire interval (in frames); a click fires at once as well.
  const int32_t interval = m_gunData.delay;
  if (mouse->IsPressed(Input::Button::Left)) {
    if (m_shotTimer >= interval) {
      Shoot();
      m_shotTimer = 0;
    } else {
      ++m_shotTimer;
    }
  } else if (m_shotTimer < interval) {
    ++m_shotTimer;
  }
  if (mouse->IsTriggered(Input::Button::Left)) Shoot();
}

std::vector<float> PlayerClass::VolleyAngles(float aim, int32_t bulletCount, bool multiBullet) {
  if (!multiBullet) return {aim};
  // A gun without a bullet count still fires its one shot.
  const int32_t count = std::max<int32_t>(1, bulletCount);
  const float first = count > 1 ? aim - static_cast<float>(count / 2) * kVolleySpread : aim;
  std::vector<float> angles;
  for (int32_t i = 0; i < count; ++i) angles.push_back(first + kVolleySpread * static_cast<float>(i));
  return angles;
}

void PlayerClass::Shoot() {
  CursorClass* cursor = m_cursor.Get();
  CharBullet* model = m_bulletModel.Get();
  if (cursor == nullptr || model == nullptr) return;
  PlayRunSound("playerShoot", false);
  const Math::Vector2D origin = GetPosition() + kGunOffset;
  const float aim = Math::AngleOfDirection(Math::Normalized(cursor->GetPosition() - origin));
  const bool multi = m_multiBulletOn != 0;
  for (float angle : VolleyAngles(aim, m_gunData.multi, multi)) {
    CharBullet* bullet = CloneArchetype(model, "charBulletClone");
    if (bullet->GetFramesCount(0) > 1) bullet->SetCurrentFrameIndex(multi ? 1 : 0, true);
    bullet->Fire(origin, Math::DirectionFromAngle(angle), kBulletSpeed);
    bullet->SetLife(kBulletLife);
    AddToLayer(GetLayer(), bullet);
  }
}

void PlayerClass::UsePowerUp() {
  switch (m_heldPowerUp) {
    case kBarrier:
      if (Quillon::Sprite* barrier = m_barrier.Get()) {
        barrier->SetVisible(true);
        SetCollisionShapeTests(barrier, true);
      }
      m_barrierTime = kBarrierSeconds;
      ShowMessage("Barrier for 10 seconds!", 1.5f);
      break;
    case kMultiBullet:
      m_multiBulletTime = kMultiBulletSeconds;
      m_multiBulletOn = 1;
      ShowMessage("Multi Bullet for 30 seconds!", 1.5f);
      break;
    case kSpeedUp:
      m_speedBoostTime = kSpeedBoostSeconds;
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
  if (m_special.itemId == kRocket) {
    if (auto* rocket = CloneArchetype<SpecialAttackClass>("SpecialAtk", "SpecialAttackClone")) {
      rocket->SetUp(SpecialAttackClass::kRocket, kRocketFuse);
      AddToLayer(GetLayer(), rocket);
    }
    ShowMessage("Rocket!!", 2.0f);
  } else if (m_special.itemId == kLaser) {
    if (LaserClass* laser = m_laser.Get()) laser->Switch(true, kLaserSeconds);
    PlayRunSound("playerLaser", false);
  }
}

void PlayerClass::CallAiFriend() {
  if (m_aiFriend.itemId < 0) return;
  SpHud* panel = FindSpecialPanel();
  if (panel == nullptr || panel->GetAiFriendCountdown() > 0.0f) return;
  panel->SetAiFriendCountdown(static_cast<float>(m_aiFriend.delay));
  if (m_aiFriend.itemId != kDrone) return;
  if (AiFriendClass* drone = m_aiFriendDrone.Get()) {
    drone->SetBox(kDroneBoxMinimum, kDroneBoxMaximum);
    drone->SetUp(kDroneStart, m_aiFriend.itemId, kDroneBlasts, kDroneBlastInterval);
    drone->SetSpeedRange(kDroneSlowest, kDroneFastest);
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
    if (time > 0.0f && time < kBoostEndWarning) {
      char remaining[64];
      std::snprintf(remaining, sizeof(remaining), "%f", static_cast<double>(time));
      lines += std::string(boosts[i].endLine) + std::string(remaining).substr(0, 3) + "\n";
    }
    if (time <= 0.0f) {
      if (i == 0) {
        if (Quillon::Sprite* barrier = m_barrier.Get()) {
          barrier->SetVisible(false);
          SetCollisionShapeTests(barrier, false);
        }
      }
      if (i == 1) m_multiBulletOn = 0;
      if (i == 2) m_speedBoostOn = 0;
    }
    time -= dt;
  }
  if (!lines.empty()) ShowMessage(lines, 1.0f);
}
