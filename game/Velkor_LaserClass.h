#pragma once
// A laser beam, switched on for a while: the car's ("Laser") follows the cursor from the gun, the
// mothership's ("LaserA") hangs under the mothership and ends with it.
#include <vector>

#include "framework/Quillon_Sprite.h"

class LaserClass : public Quillon::Sprite {
 public:
  LaserClass() = default;
  explicit LaserClass(const std::vector<Quillon::SpriteAnimation*>& animations) : Quillon::Sprite(animations) {}
  LaserClass(const LaserClass& other) = default;
  VELKOR_DECLARE_CLASS(LaserClass);
  void OnStart() override;
  void Update(float dt) override;

  // On for `duration` seconds from now, or off.
  void Switch(bool active, float duration);
  void SetBossLaser(bool boss) { m_bossLaser = boss; }
  bool IsBossLaser() const { return m_bossLaser; }
  bool IsActive() const { return m_active; }
  float GetElapsed() const { return m_elapsed; }

 private:
  bool m_active = false;
  float m_duration = 0.0f;
  float m_elapsed = 0.0f;
  bool m_bossLaser = false;
};
