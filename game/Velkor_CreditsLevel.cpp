#include "game/Velkor_CreditsLevel.h"

#include "framework/Quillon_Game.h"

namespace {
const CaptionButton kButtons[] = {{"MainMenuBtn", "MainMenuTxt", false}};
}  // namespace

VELKOR_IMPLEMENT_LEVEL(CreditsLevel, "CreditsLevel");

CreditsLevel::CreditsLevel() : ButtonScreen(kButtons) {}

void CreditsLevel::Press(const std::string& button) {
  if (button != kButtons[0].plate) return;
  if (Quillon::Game* game = Quillon::Game::GetInstance()) game->GoToLevel("MainOptionLevel");
}
