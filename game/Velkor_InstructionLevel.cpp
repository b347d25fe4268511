#include "game/Velkor_InstructionLevel.h"

#include "framework/Quillon_Game.h"
#include "game/Velkor_ScreenSupport.h"

namespace {

const Core::ClassRegistration g_instructionRegistration("InstructionLevel", &InstructionLevel::Create);

struct Button {
  const char* plate;
  const char* caption;
};
const Button kButtons[] = {{"prevBtn", "prevTxt"}, {"nextBtn", "nextTxt"}, {"homeBtn", "homeTxt"}};

void GoHome() {
  if (Quillon::Game* game = Quillon::Game::GetInstance()) game->GoToLevel("MainOptionLevel");
}

}  // namespace

Core::Object* InstructionLevel::Create() { return new (__FILE__, __LINE__) InstructionLevel(); }

void InstructionLevel::OnStart() {
  m_page = 0;
  m_cursor = FindObjectByName<Quillon::Sprite>("MousePt");
  HideGuiCursor();
}

void InstructionLevel::Update(float dt) {
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
