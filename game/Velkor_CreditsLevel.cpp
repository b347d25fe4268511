#include "game/Velkor_CreditsLevel.h"

#include "framework/Quillon_Game.h"
#include "game/Velkor_ScreenSupport.h"

namespace {
const CaptionButton kButtons[] = {{"MainMenuBtn", "MainMenuTxt", false}};
}  // namespace

VELKOR_IMPLEMENT_LEVEL(CreditsLevel, "CreditsLevel");

void CreditsLevel::OnStart() {
  m_cursor = FindObjectByName<Quillon::Sprite>("MousePt");
  HideGuiCursor();
}

void CreditsLevel::Update(float dt) {
  (void)dt;
  m_cursor = PlaceNamedCursorAtMouse("MousePt");
  if (UpdateCaptionButtons(m_cursor, kButtons) != nullptr) {
    if (Quillon::Game* game = Quillon::Game::GetInstance()) game->GoToLevel("MainOptionLevel");
  }
}
