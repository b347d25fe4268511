#pragma once
// The player's hovering, armed car: it drives right at constant speed, hovers while Space is held,
// aims its gun at the cursor and shoots on the left button, drops through floating platforms while
// the right button is held, takes hits, heals and rescues civilians on contact, and counts the
// distance in steps of 1440 units, telling the two ground segments at each step.
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "framework/Quillon_Sprite.h"
#include "game/Velkor_ItemData.h"

class HUD_Manager;
class PlayerText;
class SpHud;

class PlayerClass : public Quillon::Sprite {
 public:
  static constexpr float kHitReady = 100.0f;
  static constexpr int32_t kBlinkFrames = 100;
  static constexpr float kStepLength = 1440.0f;
  static constexpr float kHoverSpeed = 15.0f;
  static constexpr float kDropThroughHeight = 150.0f;
  static constexpr float kSpeedBoost = 30.0f;
  static constexpr float kDeathToGameOver = 2.0f;
  // Held power-ups.
  static constexpr int32_t kNoPowerUp = -1;
  static constexpr int32_t kBarrier = 0;
  static constexpr int32_t kMultiBullet = 1;
  static constexpr int32_t kSpeedUp = 2;

  PlayerClass() = default;
  explicit PlayerClass(const std::vector<Quillon::SpriteAnimation*>& animations) : Quillon::Sprite(animations) {}
  // A copy is a car of the same look; its own state comes from its start.
  PlayerClass(const PlayerClass& other) : Quillon::Sprite(other) {}
  VELKOR_DECLARE_CLASS(PlayerClass);

  void OnStart() override;
  void Update(float dt) override;

  // The equipment, applied by the game level after the car's start.
  void SetSpeedAndDurability(int32_t durability, float speed);
  void EquipArmour(int32_t index, int32_t damageDivisor, int32_t hoverCapacity);
  void EquipGun(int32_t index, int32_t fireInterval, int32_t bulletCount);
  void EquipSpecial(int32_t index, int32_t stat, int32_t coolDown);
  void EquipAiFriend(int32_t index, int32_t stat, int32_t coolDown);
  void SetBulletDamage(int32_t damage) { m_bulletDamage = damage; }
  void SetHeldPowerUp(int32_t type);
  // The special-attack panel shows the equipped special attack, AI friend and held power-up.
  void RefreshHudIcons();

  // The names touching the car this frame, asked in the car's own order.
  using ContactQuery = std::function<bool(const char* name)>;
  // Healing, the deadly ground and the hits of one frame.
  void ApplyContacts(const ContactQuery& touches);
  // One frame of the hover load: Space held, Space released this frame.
  void Hover(bool held, bool released);
  // One frame of the drop-through flag: right button held, released this frame.
  void DropThrough(bool held, bool released);
  // The power-up held, used now.
  void UsePowerUp();
  // The equipped special attack (rocket or laser), unless its cool-down is still running.
  void UseSpecialAttack();
  // The equipped AI friend, unless its cool-down is still running.
  void CallAiFriend();
  // The angles of one volley (degrees): one shot at the aim, or with multi-bullet on one per
  // bullet of the gun, 10 degrees apart around the aim.
  static std::vector<float> VolleyAngles(float aim, int32_t bulletCount, bool multiBullet);

  // Gears earned in this run: rescued civilians and defeated bosses; the HUD shows them and the
  // run's record takes them.
  void AddGears(int32_t gears);
  int32_t GetGears() const { return m_gears; }

  bool IsDroppingThrough() const { return m_dropThrough != 0; }
  bool IsDead() const { return m_dead != 0; }
  bool IsGameOver() const { return m_gameOver != 0; }
  bool IsInvulnerable() const { return m_invulnerable != 0; }
  bool IsHoverExhausted() const { return m_hoverExhausted != 0; }
  bool IsMultiBulletOn() const { return m_multiBulletOn != 0; }
  bool IsSpeedBoostOn() const { return m_speedBoostOn != 0; }
  int32_t GetDurability() const { return m_durability; }
  int32_t GetMaximumDurability() const { return m_maximumDurability; }
  float GetHorizontalSpeed() const { return m_horizontalSpeed; }
  float GetVerticalSpeed() const { return m_verticalSpeed; }
  float GetHitCoolDown() const { return m_hitCoolDown; }
  float GetBarrierTime() const { return m_barrierTime; }
  int32_t GetHoverLoad() const { return m_hoverLoad; }
  int32_t GetBulletDamage() const { return m_bulletDamage; }
  int32_t GetHeldPowerUp() const { return m_heldPowerUp; }
  float GetDistanceSteps() const { return m_distanceSteps; }
  const ArmourData& GetArmour() const { return m_armour; }
  const GunData& GetGun() const { return m_gunData; }
  const SpecialData& GetSpecial() const { return m_special; }
  const AiData& GetAiFriend() const { return m_aiFriend; }
  // The armour's defence and hover time as the car uses them: 0 or less counts as 1, so that a
  // crafted save can neither divide by zero nor make an empty bar.
  int32_t GetDamageDivisor() const;
  int32_t GetHoverCapacity() const;

 private:
  void FindPartners();
  SpHud* FindSpecialPanel() const;
  void UpdateHud();
  void CheckDeath(float dt);
  void RescueCivilians();
  void Aim();
  void ReadInput();
  void Shoot();
  void RunBoostTimers(float dt);
  void Blink();
  void WarnLowDurability();
  void CountDistance();
  void ShowMessage(const std::string& text, float seconds);
  // The car's look: that animation at the armour's frame.
  void ShowLook(const char* animation);

  float m_horizontalSpeed = 0.0f;
  float m_verticalSpeed = -kHoverSpeed;
  float m_distanceSteps = 0.0f;
  int32_t m_durability = 100;
  int32_t m_maximumDurability = 100;
  HUD_Manager* m_hud = nullptr;
  float m_hitCoolDown = kHitReady;
  float m_barrierTime = 0.0f;
  float m_multiBulletTime = 0.0f;
  float m_speedBoostTime = 0.0f;
  float m_deathTime = 0.0f;
  int32_t m_gears = 0;
  int32_t m_hoverLoad = 0;
  uint8_t m_dropThrough = 0;
  uint8_t m_multiBulletOn = 0;
  uint8_t m_speedBoostOn = 0;
  uint8_t m_invulnerable = 0;
  uint8_t m_hoverExhausted = 0;
  uint8_t m_dead = 0;
  uint8_t m_gameOver = 0;
  Quillon::Sprite* m_gun = nullptr;
  Quillon::Sprite* m_lowDurabilityWarning = nullptr;
  Quillon::Sprite* m_barrier = nullptr;
  int32_t m_bulletDamage = 0;
  int32_t m_shotTimer = 0;
  int32_t m_blinkFrames = kBlinkFrames;
  int32_t m_warningCounter = 0;
  ArmourData m_armour;
  GunData m_gunData;
  SpecialData m_special;
  int32_t m_heldPowerUp = kNoPowerUp;
  PlayerText* m_messageText = nullptr;
  AiData m_aiFriend;
  // The civilians already paid for: a rescue touches the car for several frames.
  std::set<uint32_t> m_rescuedCivilians;
};
