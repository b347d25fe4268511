#pragma once
// The player's car as it drives: right at constant speed, hovering while Space is held and
// sinking otherwise, dropping through floating platforms while the right button is held. It takes
// hits, heals and rescues civilians on contact, dies, and counts the distance in steps of 1440
// units, telling the two ground segments at each step; the camera, the trail and the HUD's bars go
// with it. Its weapons and equipment are PlayerClass's, which arms it (Velkor_PlayerClass.h).
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "framework/Quillon_Sprite.h"
#include "game/Velkor_ItemData.h"
#include "game/Velkor_ScreenSupport.h"

namespace Quillon {
class Camera;
class ParticleSystem;
}  // namespace Quillon
class HUD_Manager;
class GroundSegment;
class PlayerText;

class HoverCar : public Quillon::Sprite {
 public:
  static constexpr float kHitReady = 100.0f;
  static constexpr int32_t kBlinkFrames = 100;
  static constexpr float kStepLength = 1440.0f;
  static constexpr float kHoverSpeed = 15.0f;
  static constexpr float kDropThroughHeight = 150.0f;
  static constexpr float kSpeedBoost = 30.0f;
  static constexpr float kDeathToGameOver = 2.0f;
  // The camera looks this far ahead of the car.
  static constexpr float kCameraLead = 250.0f;

  HoverCar() = default;
  explicit HoverCar(const std::vector<Quillon::SpriteAnimation*>& animations) : Quillon::Sprite(animations) {}
  // A copy is a car of the same look; its own state comes from its start.
  HoverCar(const HoverCar& other) : Quillon::Sprite(other) {}

  void OnStart() override;
  void Update(float dt) override;
  void ReleaseResources() override;

  // Set by the game level after the car's start.
  void SetSpeedAndDurability(int32_t durability, float speed);
  // The armour is the car's body: its look (the frame of its number), its defence against hits and
  // how long it can hover.
  void EquipArmour(int32_t index, int32_t damageDivisor, int32_t hoverCapacity);

  // The names touching the car this frame, asked in the car's own order.
  using ContactQuery = std::function<bool(const char* name)>;
  // Healing, the deadly ground and the hits of one frame.
  void ApplyContacts(const ContactQuery& touches);
  // One frame of the hover load: Space held, Space released this frame.
  void Hover(bool held, bool released);
  // One frame of the drop-through flag: right button held, released this frame.
  void DropThrough(bool held, bool released);

  // Gears earned in this run: rescued civilians and defeated bosses; the HUD shows them and the
  // run's record takes them.
  void AddGears(int32_t gears);
  int32_t GetGears() const { return m_gears; }

  // What the car's shots deal to what they hit: one bullet, and the special attack (the rocket's
  // blast, the laser, the drone's blasts). A car without weapons deals nothing.
  virtual int32_t GetBulletDamage() const { return 0; }
  virtual int32_t GetSpecialDamage() const { return 0; }

  bool IsDroppingThrough() const { return m_dropThrough != 0; }
  bool IsDead() const { return m_dead != 0; }
  bool IsGameOver() const { return m_gameOver != 0; }
  bool IsInvulnerable() const { return m_invulnerable != 0; }
  bool IsHoverExhausted() const { return m_hoverExhausted != 0; }
  bool IsSpeedBoostOn() const { return m_speedBoostOn != 0; }
  int32_t GetDurability() const { return m_durability; }
  int32_t GetMaximumDurability() const { return m_maximumDurability; }
  float GetHorizontalSpeed() const { return m_horizontalSpeed; }
  // Where the car puts the camera in this frame's update (it looks ahead of the car).
  float GetCameraX() const { return GetPositionX() + kCameraLead; }
  float GetVerticalSpeed() const { return m_verticalSpeed; }
  float GetHitCoolDown() const { return m_hitCoolDown; }
  float GetBarrierTime() const { return m_barrierTime; }
  int32_t GetHoverLoad() const { return m_hoverLoad; }
  float GetDistanceSteps() const { return m_distanceSteps; }
  const ArmourData& GetArmour() const { return m_armour; }
  // The armour's defence and hover time as the car uses them: 0 or less counts as 1, so that a
  // crafted save can neither divide by zero nor make an empty bar.
  int32_t GetDamageDivisor() const;
  int32_t GetHoverCapacity() const;

 protected:
  // The car's controls of one frame while it is alive, before the hit blink and the warning: here
  // the hover (Space) and the drop-through (right button); PlayerClass adds its weapons.
  virtual void Steer(float dt);
  void ShowMessage(const std::string& text, float seconds);
  HUD_Manager* GetHud();

  // The gun picture is the weapons', mounted on the car: it blinks and goes with it.
  Partner<Quillon::Sprite> m_gun{"PlayerGunSprite"};
  // Seconds of barrier left: no hit counts while it is up (PlayerClass raises it).
  float m_barrierTime = 0.0f;
  uint8_t m_speedBoostOn = 0;

 private:
  void UpdateHud();
  void CheckDeath(float dt);
  void RescueCivilians();
  void Blink();
  void WarnLowDurability();
  void CountDistance();
  // The look: that animation at the armour's frame.
  void ShowLook(const char* animation);

  float m_horizontalSpeed = 0.0f;
  float m_verticalSpeed = -kHoverSpeed;
  float m_distanceSteps = 0.0f;
  int32_t m_durability = 100;
  int32_t m_maximumDurability = 100;
  float m_hitCoolDown = kHitReady;
  float m_deathTime = 0.0f;
  int32_t m_gears = 0;
  int32_t m_hoverLoad = 0;
  uint8_t m_dropThrough = 0;
  uint8_t m_invulnerable = 0;
  uint8_t m_hoverExhausted = 0;
  uint8_t m_dead = 0;
  uint8_t m_gameOver = 0;
  int32_t m_blinkFrames = kBlinkFrames;
  int32_t m_warningCounter = 0;
  ArmourData m_armour;
  // The civilians already paid for: a rescue touches the car for several frames.
  std::set<uint32_t> m_rescuedCivilians;

  Partner<HUD_Manager> m_hud{"hud_mgr"};
  Partner<PlayerText> m_messageText{"PlayerStatsText"};
  Partner<Quillon::Sprite> m_lowDurabilityWarning{"lowLife"};
  Partner<Quillon::ParticleSystem> m_trail{"particleSystem0"};
  Partner<Quillon::Camera> m_camera{"camera0"};
  Partner<GroundSegment> m_groundSegments[2] = {Partner<GroundSegment>("platMgr1"),
                                                Partner<GroundSegment>("platMgr2")};
};
