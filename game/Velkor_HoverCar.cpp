#include "game/Velkor_HoverCar.h"

#include <algorithm>

#include "collision/Collision_DynamicObject.h"
#include "framework/Quillon_Camera.h"
#include "framework/Quillon_Game.h"
#include "framework/Quillon_ParticleSystem.h"
#include "gui/Gui_Graphics.h"
#include "input/Internal_Keyboard.h"
#include "input/Internal_Mouse.h"
#include "game/Velkor_ContactTables.h"
#include "game/Velkor_FadingText.h"
#include "game/Velkor_FightSupport.h"
#include "game/Velkor_HUD_Manager.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_GroundSegment.h"
#include "game/Velkor_PlayerText.h"
#include "game/Velkor_RunSounds.h"

namespace {

// Both of the car's partners in a hit are shape-tested, so its contacts are in the shape list.
constexpr bool kShapeContacts = true;

constexpr int32_t kHeal = 30;
constexpr int32_t kLowDurability = 25;
// The message floats behind the car.
constexpr float kMessageLag = 200.0f;
// The HUD counts the distance in hundreds of units.
constexpr float kDistanceUnit = 100.0f;
// A step counts once the car is this far past it.
constexpr float kStepMargin = 250.0f;
// Below the top of the screen by this much at most.
constexpr float kTopMargin = 10.0f;

}  // namespace

int32_t HoverCar::GetDamageDivisor() const { return std::max<int32_t>(1, m_armour.defense); }

int32_t HoverCar::GetHoverCapacity() const { return std::max<int32_t>(1, m_armour.hoverTime); }

void HoverCar::OnStart() {
  Quillon::Sprite::OnStart();
  m_horizontalSpeed = 0.0f;
  m_verticalSpeed = -kHoverSpeed;
  m_distanceSteps = 0.0f;
  m_durability = 100;
  m_maximumDurability = 100;
  m_hitCoolDown = kHitReady;
  m_barrierTime = m_deathTime = 0.0f;
  m_gears = 0;
  m_rescuedCivilians.clear();
  m_hoverLoad = 0;
  m_invulnerable = 0;
  m_dead = 0;
  m_gameOver = 0;
  m_blinkFrames = kBlinkFrames;
  m_warningCounter = 0;
  m_armour = ArmourData();
  m_armour.itemId = -1;
  m_hud.Find();
  m_messageText.Find();
  m_gun.Find();
  m_lowDurabilityWarning.Find();
  m_trail.Find();
  m_camera.Find();
  for (auto& segment : m_groundSegments) segment.Find();
  Quillon::Sprite* warning = m_lowDurabilityWarning.Get();
  if (warning != nullptr && warning->IsPlaying()) warning->SetVisible(false);
}

void HoverCar::ReleaseResources() {
  m_hud.Release();
  m_messageText.Release();
  m_gun.Release();
  m_lowDurabilityWarning.Release();
  m_trail.Release();
  m_camera.Release();
  for (auto& segment : m_groundSegments) segment.Release();
  Quillon::Sprite::ReleaseResources();
}

HUD_Manager* HoverCar::GetHud() { return m_hud.Get(); }

void HoverCar::SetSpeedAndDurability(int32_t durability, float speed) {
  m_durability = m_maximumDurability = durability;
  m_horizontalSpeed = speed;
}

void HoverCar::EquipArmour(int32_t index, int32_t damageDivisor, int32_t hoverCapacity) {
  m_armour.itemId = index;
  m_armour.defense = damageDivisor;
  m_armour.hoverTime = hoverCapacity;
  ShowLook("Car");
  m_hoverLoad = GetHoverCapacity();
}

void HoverCar::AddGears(int32_t gears) {
  m_gears += gears;
  if (HUD_Manager* hud = m_hud.Get()) hud->SetGears(m_gears);
}

void HoverCar::ShowLook(const char* animation) {
  SetCurrentAnimationName(animation, false);
  const int32_t frame = m_armour.itemId;
  if (frame >= 0 && static_cast<uint32_t>(frame) < GetFramesCount(GetCurrentAnimationIndex())) {
    SetCurrentFrameIndex(static_cast<uint32_t>(frame), false);
  }
}

void HoverCar::ShowMessage(const std::string& text, float seconds) {
  if (PlayerText* message = m_messageText.Get()) message->Show(text, seconds);
}

// ---- The frame ----------------------------------------------------------------------------------

void HoverCar::Update(float dt) {
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
      Steer(dt);
      Blink();
      WarnLowDurability();
    } else {
      m_horizontalSpeed = m_verticalSpeed = 0.0f;
    }
    const float speed = m_speedBoostOn != 0 ? m_horizontalSpeed + kSpeedBoost : m_horizontalSpeed;
    SetVelocity(Math::Vector2D(speed, m_verticalSpeed));
    if (PlayerText* message = m_messageText.Get()) message->SetPositionX(GetPositionX() - kMessageLag);
    CountDistance();
  }
  if (Quillon::ParticleSystem* trail = m_trail.Get()) trail->SetVisible(!paused && m_dead == 0);
  if (Quillon::Camera* camera = m_camera.Get()) camera->SetPositionX(GetPositionX() + kCameraLead);
  const int32_t screenHeight = GUI::GetScreenHeight();
  if (screenHeight > 0 && GetPositionY() >= static_cast<float>(screenHeight)) {
    SetPositionY(static_cast<float>(screenHeight) - kTopMargin);
  }
}

void HoverCar::Steer(float /*dt*/) {
  Quillon::Game* game = Quillon::Game::GetInstance();
  if (game == nullptr) return;
  if (Input::Keyboard* keyboard = game->GetKeyboard()) {
    Hover(keyboard->IsPressed(Input::Key::Space), keyboard->IsUp(Input::Key::Space));
  }
  if (Input::Mouse* mouse = game->GetMouse()) {
    DropThrough(mouse->IsPressed(Input::Button::Right), mouse->IsUp(Input::Button::Right));
  }
}

void HoverCar::UpdateHud() {
  HUD_Manager* hud = m_hud.Get();
  if (hud == nullptr) return;
  hud->SetDurability(m_durability, std::max<int32_t>(1, m_maximumDurability));
  hud->SetDistance(static_cast<int32_t>(GetPositionX() / kDistanceUnit));
  hud->SetHoverEnergy(GetHoverCapacity() - m_hoverLoad, GetHoverCapacity());
}

void HoverCar::RescueCivilians() {
  for (uint32_t i = 0; i < GetCollidedSpritesCount(kShapeContacts); ++i) {
    Quillon::GameObject* other = GetCollidedSprite(i, kShapeContacts);
    if (other == nullptr || other->GetName() != "CivilianClone") continue;
    if (m_rescuedCivilians.insert(other->GetID()).second) AddGears(1);
  }
}

void HoverCar::ApplyContacts(const ContactQuery& touches) {
  if (touches("HealthPotClone") && m_durability < m_maximumDurability) {
    PlayRunSound("playerHeal", false);
    FadingText::Spawn("+Health", GetPosition(), GetLayer());
    m_durability = std::min(m_durability + kHeal, m_maximumDurability);
  }
  if (touches("platMgr1") || touches("platMgr2")) m_durability = 0;
  if (m_hitCoolDown == kHitReady && m_invulnerable == 0 && m_barrierTime <= 0.0f) {
    for (const ContactTables::Attacker& attacker : ContactTables::kCarAttackers) {
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

void HoverCar::CheckDeath(float dt) {
  if (m_dead != 0) {
    m_deathTime += dt;
    if (m_deathTime > kDeathToGameOver) m_gameOver = 1;
    return;
  }
  if (m_durability > 0) return;
  PlayRunSound("playerDie", false);
  m_dead = 1;
  SpawnExplosion(GetPosition(), GetLayer());
  SetVisible(false);
  if (Quillon::Sprite* gun = m_gun.Get()) gun->SetVisible(false);
  if (Quillon::ParticleSystem* trail = m_trail.Get()) trail->SetVisible(false);
  if (Quillon::Sprite* warning = m_lowDurabilityWarning.Get()) warning->SetVisible(false);
}

void HoverCar::Hover(bool held, bool released) {
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

void HoverCar::DropThrough(bool held, bool released) {
  if (held) m_dropThrough = GetPositionY() > kDropThroughHeight ? 1 : 0;
  if (released) m_dropThrough = 0;
}

void HoverCar::Blink() {
  Quillon::Sprite* gun = m_gun.Get();
  if (m_blinkFrames < 1) {
    SetVisible(true);
    if (gun != nullptr) gun->SetVisible(true);
    return;
  }
  if (m_blinkFrames % 5 == 0 && gun != nullptr) gun->SetVisible(!IsVisible());
  SetVisible(!IsVisible());
  --m_blinkFrames;
}

void HoverCar::WarnLowDurability() {
  Quillon::Sprite* warning = m_lowDurabilityWarning.Get();
  if (warning == nullptr) return;
  if (m_durability > kLowDurability) {
    m_warningCounter = 0;
    warning->SetVisible(false);
    return;
  }
  warning->SetVisible(true);
  if (m_warningCounter % 10 == 0) warning->SetVisible(!IsVisible());
  ++m_warningCounter;
  PlayRunSound("playerDying", false);
}

void HoverCar::CountDistance() {
  if (GetPositionX() <= m_distanceSteps * kStepLength + kStepMargin) return;
  m_distanceSteps += 1.0f;
  const float threshold = m_distanceSteps * kStepLength;
  for (auto& segment : m_groundSegments) {
    if (GroundSegment* ground = segment.Get()) ground->TellPassed(threshold);
  }
}
