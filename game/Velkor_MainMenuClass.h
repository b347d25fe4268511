#pragma once
// The main menu: six buttons (play, instructions, garage, options, credits, exit) over a city
// backdrop with scrolling road platforms and a car bobbing on them.
#include <cstdint>
#include <string>

#include "framework/Quillon_Sprite.h"
#include "game/Velkor_ButtonScreen.h"

class OptionMenu_M;

class MainMenuClass : public ButtonScreen {
 public:
  static constexpr float kPlatformStep = 5.0f;
  static constexpr float kPlatformWidth = 1280.0f;
  static constexpr float kCarHighest = -175.0f;
  static constexpr float kCarLowest = -200.0f;

  MainMenuClass();
  VELKOR_DECLARE_LEVEL(MainMenuClass);

  void OnStart() override;
  void OnEnd() override;
  void Update(float dt) override;
  void Press(const std::string& button) override;

  int32_t GetCarSpeed() const { return m_carSpeed; }

 protected:
  // The open options overlay takes the pointer.
  bool AnswersButtons() override;

 private:
  void ScrollPlatform(Quillon::Sprite* platform);
  void BobCar();

  Partner<Quillon::Sprite> m_firstPlatform{"MenuPlatform1"};
  Partner<Quillon::Sprite> m_secondPlatform{"MenuPlatform2"};
  Partner<Quillon::Sprite> m_car{"MenuCar"};
  int32_t m_carSpeed = 1;
  Partner<Quillon::Sprite> m_loadingScreen{"LoadingScreen"};
  Partner<OptionMenu_M> m_options{"OptionMenuSprite"};
};
