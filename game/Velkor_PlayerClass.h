#pragma once
// The player's armed car: the hovering car of Velkor_HoverCar.h with its weapons and equipment.
// It aims its gun at the cursor and shoots on the left button, fires its special attack (A), calls
// its AI friend (S) and uses the power-up it holds (D): a barrier, multi bullets or a speed boost.
#include <cstdint>
#include <vector>

#include "game/Velkor_HoverCar.h"

class AiFriendClass;
class CharBullet;
class CursorClass;
class LaserClass;
class SpHud;

class PlayerClass : public HoverCar {
 public:
  // Held power-ups.
  static constexpr int32_t kNoPowerUp = -1;
  static constexpr int32_t kBarrier = 0;
  static constexpr int32_t kMultiBullet = 1;
  static constexpr int32_t kSpeedUp = 2;

  PlayerClass() = default;
  explicit PlayerClass(const std::vector<Quillon::SpriteAnimation*>& animations) : HoverCar(animations) {}
  // A copy is a car of the same look; its own state comes from its start.
  PlayerClass(const PlayerClass& other) : HoverCar(other) {}
  VELKOR_DECLARE_CLASS(PlayerClass);

  void OnStart() override;
  void ReleaseResources() override;

  // The equipment, applied by the game level after the car's start.
  void EquipGun(int32_t index, int32_t fireInterval, int32_t bulletCount);
  void EquipSpecial(int32_t index, int32_t stat, int32_t coolDown);
  void EquipAiFriend(int32_t index, int32_t stat, int32_t coolDown);
  void SetBulletDamage(int32_t damage) { m_bulletDamage = damage; }
  void SetHeldPowerUp(int32_t type);
  // The special-attack panel shows the equipped special attack, AI friend and held power-up.
  void RefreshHudIcons();

  // The power-up held, used now.
  void UsePowerUp();
  // The equipped special attack (rocket or laser), unless its cool-down is still running.
  void UseSpecialAttack();
  // The equipped AI friend, unless its cool-down is still running.
  void CallAiFriend();
  // The angles of one volley (degrees): one shot at the aim, or with multi-bullet on one per
  // bullet of the gun, 10 degrees apart around the aim.
  static std::vector<float> VolleyAngles(float aim, int32_t bulletCount, bool multiBullet);

  int32_t GetBulletDamage() const override { return m_bulletDamage; }
  int32_t GetSpecialDamage() const override { return m_special.damage; }
  bool IsMultiBulletOn() const { return m_multiBulletOn != 0; }
  int32_t GetHeldPowerUp() const { return m_heldPowerUp; }
  const GunData& GetGun() const { return m_gunData; }
  const SpecialData& GetSpecial() const { return m_special; }
  const AiData& GetAiFriend() const { return m_aiFriend; }

 protected:
  // The hover and drop-through, then the gun's aim, the weapon keys and buttons and the boosts.
  void Steer(float dt) override;

 private:
  SpHud* FindSpecialPanel();
  void Aim();
  void UseWeapons();
  void Shoot();
  void RunBoostTimers(float dt);

  float m_multiBulletTime = 0.0f;
  float m_speedBoostTime = 0.0f;
  uint8_t m_multiBulletOn = 0;
  int32_t m_bulletDamage = 0;
  int32_t m_shotTimer = 0;
  GunData m_gunData;
  SpecialData m_special;
  AiData m_aiFriend;
  int32_t m_heldPowerUp = kNoPowerUp;

  Partner<Quillon::Sprite> m_barrier{"pShieldImg"};
  Partner<CursorClass> m_cursor{"mouse"};
  Partner<CharBullet> m_bulletModel{"charBullet"};
  Partner<LaserClass> m_laser{"Laser"};
  Partner<AiFriendClass> m_aiFriendDrone{"AiFriend"};
  Partner<SpHud> m_specialPanel{"SpHud"};
};

// The player's car of the current level, or null.
PlayerClass* FindPlayer();
