#include "game/Velkor_InstructionLevel.h"

#include "framework/Quillon_Game.h"
#include "game/Velkor_ScreenSupport.h"

namespace {

const CaptionButton kButtons[] = {{"prevBtn", "prevTxt", true}, {"nextBtn", "nextTxt", true}, {"homeBtn", "homeTxt", true}};

void GoHome() {
  if (Quillon::Game* game = Quillon::Game::GetInstance()) game->GoToLevel("MainOptionLevel");
}

}  // namespace

VELKOR_IMPLEMENT_LEVEL(InstructionLevel, "InstructionLevel");

void InstructionLevel::OnStart() {
  m_page = 0;
  m_cursor = FindObjectByName<Quillon::Sprite>("MousePt");
  HideGuiCursor();
}

void InstructionLevel::Update(float dt) {
  (void)dt;
  m_cursor = PlaceNamedCursorAtMouse("MousePt");
  if (const char* pressed = UpdateCaptionButtons(m_cursor, kButtons)) Press(pressed);
}

void InstructionLevel::Press(const std::string& button) {
  if (button == "prevBtn") {
    if (m_page <= 0) {
      GoHome();
    } else {
      --m_page;
      ShowPage();
    }
  } else if (button == "nextBtn") {
    if (m_page < kPageCount - 1) {
      ++m_page;
      ShowPage();
    } else {
      GoHome();
    }
  } else if (button == "homeBtn") {
    GoHome();
  }
}

void InstructionLevel::ShowPage() {
  if (Quillon::Sprite* pages = FindObjectByName<Quillon::Sprite>("InstPages")) {
    pages->SetCurrentFrameIndex(static_cast<uint32_t>(m_page), false);
  }
}
