#pragma once
// An alien soldier on a platform: it shoots at the car behind it, takes damage from the car's
// shots, blasts and laser, rams the car at the cost of its life, and may leave a power-up.
#include <cstdint>
#include <vector>

#include "game/Velkor_MobHealthBar.h"
#include "game/Velkor_ScreenSupport.h"
#include "game/Velkor_SpawnObject.h"

class HoverCar;

class AlienClass : public SpawnObject {
 public:
  AlienClass() = default;
  explicit AlienClass(const std::vector<Quillon::SpriteAnimation*>& animations) : SpawnObject(animations) {}
  // A copy gets a bar of its own when it starts.
  AlienClass(const AlienClass& other);
  VELKOR_DECLARE_CLASS(AlienClass);
  void Destroy() override;
  void OnStart() override;
  void Update(float dt) override;
  void ReleaseResources() override;

  // Health, the time between shots, and whether it aims at the car (showing its second look) or
  // shoots straight to the left.
  void SetUp(int32_t health, float shotInterval, bool aimed);

  int32_t GetHealth() const { return m_health; }
  int32_t GetMaximumHealth() const { return m_maximumHealth; }
  float GetShotTimer() const { return m_shotTimer; }
  void SetShotTimer(float seconds) { m_shotTimer = seconds; }
  float GetShotInterval() const { return m_shotInterval; }
  bool IsAimed() const { return m_aimed; }
  bool IsNoDrop() const { return m_noDrop; }

 private:
  void TakeHits();
  void Explode();
  void DropPowerUp();
  void Shoot(float dt);

  int32_t m_maximumHealth = 0;
  int32_t m_health = 0;
  float m_shotInterval = 0.0f;
  bool m_aimed = false;
  float m_shotTimer = 0.0f;
  MobHealthBar m_healthBar;
  bool m_noDrop = false;
  // The car it shoots at and is hit by.
  Partner<HoverCar> m_car{"Player"};
};
