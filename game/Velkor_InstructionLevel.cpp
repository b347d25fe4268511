#include "game/Velkor_InstructionLevel.h"

#include "framework/Quillon_Game.h"

namespace {

const CaptionButton kButtons[] = {{"prevBtn", "prevTxt", true}, {"nextBtn", "nextTxt", true}, {"homeBtn", "homeTxt", true}};

void GoHome() {
  if (Quillon::Game* game = Quillon::Game::GetInstance()) game->GoToLevel("MainOptionLevel");
}

}  // namespace

VELKOR_IMPLEMENT_LEVEL(InstructionLevel, "InstructionLevel");

InstructionLevel::InstructionLevel() : ButtonScreen(kButtons) {}

void InstructionLevel::OnStart() {
  m_page = 0;
  ButtonScreen::OnStart();
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
