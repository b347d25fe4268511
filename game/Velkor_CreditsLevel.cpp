#include "game/Velkor_CreditsLevel.h"

#include "framework/Quillon_Game.h"
#include "game/Velkor_ScreenSupport.h"

namespace {
const Core::ClassRegistration g_creditsRegistration("CreditsLevel", &CreditsLevel::Create);
}

Core::Object* CreditsLevel::Create() { return new (__FILE__, __LINE__) CreditsLevel(); }

void CreditsLevel::OnStart() {
  m_cursor = FindObjectByName<Quillon::Sprite>("MousePt");
  HideGuiCursor();
}

void CreditsLevel::Update(float dt) {
  (void)dt;
  m_cursor = FindObjectByName<Quillon::Sprite>("MousePt");
  PlaceCursorAtMouse(m_cursor);
  if (IsCursorOver(m_cursor, "MainMenuBtn")) {
    HighlightCaption("MainMenuTxt", false, true);
    if (IsLeftClick()) {
      if (Quillon::Game* game = Quillon::Game::GetInstance()) game->GoToLevel("MainOptionLevel");
    }
    return;
  }
  UnhighlightCaption("MainMenuTxt");
}
