#pragma once
// A laser beam, switched on for a while: the car's ("Laser") follows the cursor from the gun, a
// boss's ("LaserA", the mothership's) hangs under its boss and ends with the boss's fight.
#include "framework/Quillon_Sprite.h"
#include "game/Velkor_ScreenSupport.h"

class BossObject;
class CursorClass;
class HoverCar;

class LaserClass : public Quillon::Sprite {
 public:
  using Quillon::Sprite::Sprite;
  VELKOR_DECLARE_CLASS(LaserClass);
  void OnStart() override;
  void Update(float dt) override;
  void ReleaseResources() override;

  // On for `duration` seconds from now, or off.
  void Switch(bool active, float duration);
  // The boss it hangs under from now on.
  void SetBoss(BossObject* boss);
  bool IsBossLaser() const { return m_boss != nullptr; }
  bool IsActive() const { return m_active; }
  float GetElapsed() const { return m_elapsed; }

 private:
  // The boss that is still in the level, or null.
  BossObject* GetBoss() const;
  void HangUnderBoss();
  void FollowCursor();

  bool m_active = false;
  float m_duration = 0.0f;
  float m_elapsed = 0.0f;
  Core::SmartPointer<Quillon::GameObject> m_boss;
  Partner<HoverCar> m_car{"Player"};
  Partner<CursorClass> m_cursor{"mouse"};
};
