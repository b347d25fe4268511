#pragma once
// The results screen: the last run's figures beside the best ones, and three buttons (main menu,
// play again, garage). It only reads the player's record: the game level has already recorded
// the run before asking for this screen.
#include <string>

#include "game/Velkor_ButtonScreen.h"

class PlayerData;

class GameOverLevel : public ButtonScreen {
 public:
  GameOverLevel();
  VELKOR_DECLARE_LEVEL(GameOverLevel);

  void OnStart() override;
  void Press(const std::string& button) override;

  // The figures of "ResTxt", one line beside each caption of "CatTxt": best and last distance,
  // gears owned and earned in the run, best and last UFO level; a new or equalled best distance
  // and a strictly better score are marked.
  static std::string FormatResults(const PlayerData& player);
};
