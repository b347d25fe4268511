#include "game/Velkor_GameOverLevel.h"

#include "framework/Quillon_Game.h"
#include "framework/Quillon_Text.h"
#include "game/Velkor_DataManager.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_ScreenSupport.h"

namespace {

const Core::ClassRegistration g_registration("GameOverLevel", &GameOverLevel::Create);

constexpr const char* kNewHighScore = " **NEW HIGHSCORE**";

struct Button {
  const char* plate;
  const char* caption;
  const char* level;
};
const Button kButtons[] = {
    {"mmBtn", "mmTxt", "MainOptionLevel"}, {"pgBtn", "pgTxt", "GameLevel"}, {"garBtn", "garTxt", "GarLevel"}};

}  // namespace

Core::Object* GameOverLevel::Create() { return new (__FILE__, __LINE__) GameOverLevel(); }

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

void GameOverLevel::OnStart() {
  m_cursor = FindObjectByName<Quillon::Sprite>("MousePt");
  HideGuiCursor();
  MyGame* game = GetMyGame();
  Quillon::Text* results = FindObjectByName<Quillon::Text>("ResTxt");
  if (game != nullptr && results != nullptr) results->SetText(FormatResults(game->GetDataManager().player));
}

void GameOverLevel::Update(float dt) {
  (void)dt;
  // Looked up again: the pointer kept from the start may belong to an object already gone.
  m_cursor = FindObjectByName<Quillon::Sprite>("MousePt");
  PlaceCursorAtMouse(m_cursor);
  for (const Button& button : kButtons) {
    if (IsCursorOver(m_cursor, button.plate)) {
      HighlightCaption(button.caption, true, true);
      if (IsLeftClick()) Press(button.plate);
      return;
    }
  }
  for (const Button& button : kButtons) UnhighlightCaption(button.caption);
}

void GameOverLevel::Press(const std::string& button) {
  Quillon::Game* game = Quillon::Game::GetInstance();
  if (game == nullptr) return;
  for (const Button& known : kButtons) {
    if (button == known.plate) {
      game->GoToLevel(known.level);
      return;
    }
  }
}
