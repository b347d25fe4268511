#pragma once
// The results screen: the last run's figures beside the best ones, and three buttons (main menu,
// play again, garage). It only reads the player's record: the game level has already recorded
// the run before asking for this screen.
#include <string>

#include "framework/Quillon_Level.h"
#include "framework/Quillon_Sprite.h"
#include "game/Velkor_ScreenSupport.h"

class PlayerData;

class GameOverLevel : public Quillon::Level {
 public:
  VELKOR_DECLARE_LEVEL(GameOverLevel);

  void OnStart() override;
  void OnEnd() override {}
  void Update(float dt) override;

  // What a click on the named button does (a button the screen does not have does nothing).
  void Press(const std::string& button);

  // The figures of "ResTxt", one line beside each caption of "CatTxt": best and last distance,
  // gears owned and earned in the run, best and last UFO level; a new or equalled best distance
  // and a strictly better score are marked.
  static std::string FormatResults(const PlayerData& player);

 private:
  Quillon::Sprite* m_cursor = nullptr;
};
