#include "game/Velkor_OptionCheckBoxes.h"

#include "framework/Quillon_Text.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_ScreenSupport.h"

namespace {

const char* const kLabels[] = {"opTxt1", "opTxt2", "opTxt3"};

// Frame 0 becomes 1, anything else 0; answers the new frame.
uint32_t ToggleFrame(Quillon::Sprite* box) {
  const uint32_t frame = box->GetCurrentFrameIndex() == 0 ? 1u : 0u;
  box->SetCurrentFrameIndex(frame, true);
  return frame;
}

}  // namespace

void OptionCheckBoxes::Attach(Quillon::Sprite& overlay) {
  m_fullScreenBox = FindObjectByName<Quillon::Sprite>("Op_fsCheckBox");
  m_soundBox = FindObjectByName<Quillon::Sprite>("Op_SoundChkBox");
  m_musicBox = FindObjectByName<Quillon::Sprite>("Op_BgmChkBox");
  MyGame* game = GetMyGame();
  if (m_fullScreenBox != nullptr) {
    m_fullScreenBox->SetCurrentFrameIndex(game != nullptr && game->IsFullScreen() ? 1 : 0, true);
  }
  if (m_soundBox != nullptr) m_soundBox->SetCurrentFrameIndex(game == nullptr || game->soundOn ? 0 : 1, true);
  if (m_musicBox != nullptr) m_musicBox->SetCurrentFrameIndex(game == nullptr || game->musicOn ? 0 : 1, true);
  overlay.Mount(m_fullScreenBox);
  overlay.Mount(m_soundBox);
  overlay.Mount(m_musicBox);
  for (const char* label : kLabels) overlay.Mount(FindObjectByName<Quillon::Text>(label));
}

void OptionCheckBoxes::SetVisible(bool visible) const {
  for (Quillon::Sprite* box : {m_fullScreenBox, m_soundBox, m_musicBox}) {
    if (box != nullptr) box->SetVisible(visible);
  }
  for (const char* label : kLabels) {
    if (Quillon::Text* text = FindObjectByName<Quillon::Text>(label)) text->SetVisible(visible);
  }
}

bool OptionCheckBoxes::HandleInput(const std::function<bool(Quillon::Sprite* box)>& underCursor, bool click) const {
  MyGame* game = GetMyGame();
  if (m_fullScreenBox != nullptr && underCursor(m_fullScreenBox)) {
    if (click) {
      ToggleFrame(m_fullScreenBox);
      if (game != nullptr) game->AutoToggleFullScreen();
    }
  } else if (m_soundBox != nullptr && underCursor(m_soundBox)) {
    if (click) {
      const uint32_t frame = ToggleFrame(m_soundBox);
      if (game != nullptr) game->soundOn = frame == 0 ? 1 : 0;
    }
  } else if (m_musicBox != nullptr && underCursor(m_musicBox)) {
    // The music itself is left alone: whoever plays it looks at the flag.
    if (click) {
      const uint32_t frame = ToggleFrame(m_musicBox);
      if (game != nullptr) game->musicOn = frame == 0 ? 1 : 0;
    }
  } else {
    return false;
  }
  return true;
}
