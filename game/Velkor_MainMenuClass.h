#pragma once
// The main menu: six buttons (play, instructions, garage, options, credits, exit) over a city
// backdrop with scrolling road platforms and a car bobbing on them.
#include <cstdint>
#include <string>

#include "framework/Quillon_Level.h"
#include "framework/Quillon_Sprite.h"
#include "game/Velkor_ScreenSupport.h"

class MainMenuClass : public Quillon::Level {
 public:
  static constexpr float kPlatformStep = 5.0f;
  static constexpr float kPlatformWidth = 1280.0f;
  static constexpr float kCarHighest = -175.0f;
  static constexpr float kCarLowest = -200.0f;

  VELKOR_DECLARE_LEVEL(MainMenuClass);

  void OnStart() override;
  void OnEnd() override {}
  void Update(float dt) override;

  // What a click on the named button does (a button the menu does not have does nothing).
  void Press(const std::string& button);
  int32_t GetCarSpeed() const { return m_carSpeed; }

 private:
  // Looks the sprites up again: the ones found at the start may be gone.
  void FindSprites();
  void HandleButtons();
  void ScrollPlatform(Quillon::Sprite* platform);
  void BobCar();

  Quillon::Sprite* m_cursor = nullptr;
  Quillon::Sprite* m_firstPlatform = nullptr;
  Quillon::Sprite* m_secondPlatform = nullptr;
  Quillon::Sprite* m_car = nullptr;
  int32_t m_carSpeed = 1;
  Quillon::Sprite* m_loadingScreen = nullptr;
};
