#pragma once
// The credits picture with one button back to the main menu.
#include <string>

#include "game/Velkor_ButtonScreen.h"

class CreditsLevel : public ButtonScreen {
 public:
  CreditsLevel();
  VELKOR_DECLARE_LEVEL(CreditsLevel);

  void Press(const std::string& button) override;
};
