#include "game/Velkor_GameOverLevel.h"

#include <iterator>

#include "framework/Quillon_Game.h"
#include "framework/Quillon_Text.h"
#include "game/Velkor_DataManager.h"
#include "game/Velkor_MyGame.h"

namespace {

constexpr const char* kNewHighScore = " **NEW HIGHSCORE**";

const CaptionButton kButtons[] = {{"mmBtn", "mmTxt", true}, {"pgBtn", "pgTxt", true}, {"garBtn", "garTxt", true}};
// Where each button leads, in the buttons' order.
const char* const kLevels[] = {"MainOptionLevel", "GameLevel", "GarLevel"};
static_assert(std::size(kLevels) == std::size(kButtons), "one level a button");

}  // namespace

VELKOR_IMPLEMENT_LEVEL(GameOverLevel, "GameOverLevel");

std::string GameOverLevel::FormatResults(const PlayerData& player) {
  std::string text = std::to_string(player.bestDistance);
  if (player.lastDistance >= player.bestDistance) text += kNewHighScore;
  text += "\n" + std::to_string(player.lastDistance) + "\n\n";
  text += std::to_string(player.totalGears) + "\n" + std::to_string(player.lastGears) + "\n\n";
  text += std::to_string(player.bestScore);
  if (player.newHighScore != 0) text += kNewHighScore;
  text += "\n" + std::to_string(player.lastScore) + "\n\n";
  return text;
}

GameOverLevel::GameOverLevel() : ButtonScreen(kButtons) {}

void GameOverLevel::OnStart() {
  ButtonScreen::OnStart();
  MyGame* game = GetMyGame();
  Quillon::Text* results = FindObjectByName<Quillon::Text>("ResTxt");
  if (game != nullptr && results != nullptr) results->SetText(FormatResults(game->GetDataManager().player));
}

void GameOverLevel::Press(const std::string& button) {
  Quillon::Game* game = Quillon::Game::GetInstance();
  if (game == nullptr) return;
  for (size_t i = 0; i < std::size(kButtons); ++i) {
    if (button == kButtons[i].plate) {
      game->GoToLevel(kLevels[i]);
      return;
    }
  }
}
