#pragma once
// The aiming cursor "mouse" of the game level: it follows the mouse over the moving world.
#include "framework/Quillon_Sprite.h"
#include "game/Velkor_ScreenSupport.h"

class HoverCar;

class CursorClass : public Quillon::Sprite {
 public:
  using Quillon::Sprite::Sprite;
  VELKOR_DECLARE_CLASS(CursorClass);

  void OnStart() override;
  void Update(float dt) override;
  void ReleaseResources() override;

 private:
  // The car whose view it moves over.
  Partner<HoverCar> m_car{"Player"};
};
