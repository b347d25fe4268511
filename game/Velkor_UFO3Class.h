#pragma once
// The mothership, boss of every fifth wave: one object of the level, parked and hidden until a
// wave engages it. It fires three-shot bursts, swoops at the car swinging its hand, and sweeps
// the car with its laser, until it is shot down for 100 gears.
#include <cstdint>

#include "game/Velkor_BossObject.h"

class LaserClass;

class UFO3Class : public BossObject {
 public:
  static constexpr int32_t kLaserPhase = 0;
  static constexpr int32_t kSwoopPhase = 1;

  using BossObject::BossObject;
  VELKOR_DECLARE_CLASS(UFO3Class);
  void OnStart() override;
  void Update(float dt) override;
  void ReleaseResources() override;

  // In the fight (from its next step, starting with the swoop ten seconds on) or out of it.
  void Engage(bool engaged) override;
  bool IsAttacking() const { return m_attacking; }
  int32_t GetPhase() const { return m_phase; }
  float GetAttackTimer() const { return m_attackTimer; }

 private:
  void SwoopStep();
  void StartPhaseAction();
  void Burst();
  void SwingHandBack();
  void ShowParts(bool visible);

  bool m_attacking = false;
  // Its parts, found on first use: a mothership read back from a saved game is not started again.
  // The saved game keeps them mounted.
  Partner<Quillon::Sprite> m_hand{"UFO3_hand"};
  Partner<Quillon::Sprite> m_float{"UFO3_float"};
  // Its laser, hung under it for the laser attack.
  Partner<LaserClass> m_laser{"LaserA"};
  int32_t m_phase = kSwoopPhase;
  float m_attackTimer = 10.0f;
  float m_attackInterval = 10.0f;
  float m_actionTimer = 0.0f;
};
