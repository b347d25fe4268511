#pragma once
// The credits picture with one button back to the main menu.
#include "framework/Quillon_Level.h"
#include "framework/Quillon_Sprite.h"
#include "game/Velkor_ScreenSupport.h"

class CreditsLevel : public Quillon::Level {
 public:
  VELKOR_DECLARE_LEVEL(CreditsLevel);

  void OnStart() override;
  void OnEnd() override {}
  void Update(float dt) override;

 private:
  Quillon::Sprite* m_cursor = nullptr;
};
