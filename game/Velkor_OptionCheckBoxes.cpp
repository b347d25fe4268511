#include "game/Velkor_OptionCheckBoxes.h"

#include "game/Velkor_MyGame.h"

namespace {

// Frame 0 becomes 1, anything else 0; answers the new frame.
uint32_t ToggleFrame(Quillon::Sprite* box) {
  const uint32_t frame = box->GetCurrentFrameIndex() == 0 ? 1u : 0u;
  box->SetCurrentFrameIndex(frame, true);
  return frame;
}

}  // namespace

void OptionCheckBoxes::Attach(Quillon::Sprite& overlay) {
  Quillon::Sprite* fullScreenBox = m_fullScreenBox.Find();
  Quillon::Sprite* soundBox = m_soundBox.Find();
  Quillon::Sprite* musicBox = m_musicBox.Find();
  MyGame* game = GetMyGame();
  if (fullScreenBox != nullptr) {
    fullScreenBox->SetCurrentFrameIndex(game != nullptr && game->IsFullScreen() ? 1 : 0, true);
  }
  if (soundBox != nullptr) soundBox->SetCurrentFrameIndex(game == nullptr || game->soundOn ? 0 : 1, true);
  if (musicBox != nullptr) musicBox->SetCurrentFrameIndex(game == nullptr || game->musicOn ? 0 : 1, true);
  overlay.Mount(fullScreenBox);
  overlay.Mount(soundBox);
  overlay.Mount(musicBox);
  for (Partner<Quillon::Text>& label : m_labels) overlay.Mount(label.Find());
}

void OptionCheckBoxes::SetVisible(bool visible) {
  for (Partner<Quillon::Sprite>* box : {&m_fullScreenBox, &m_soundBox, &m_musicBox}) {
    if (Quillon::Sprite* sprite = box->Get()) sprite->SetVisible(visible);
  }
  for (Partner<Quillon::Text>& label : m_labels) {
    if (Quillon::Text* text = label.Get()) text->SetVisible(visible);
  }
}

bool OptionCheckBoxes::HandleInput(const std::function<bool(Quillon::Sprite* box)>& underCursor, bool click) {
  MyGame* game = GetMyGame();
  Quillon::Sprite* fullScreenBox = m_fullScreenBox.Get();
  Quillon::Sprite* soundBox = m_soundBox.Get();
  Quillon::Sprite* musicBox = m_musicBox.Get();
  if (fullScreenBox != nullptr && underCursor(fullScreenBox)) {
    if (click) {
      ToggleFrame(fullScreenBox);
      if (game != nullptr) game->AutoToggleFullScreen();
    }
  } else if (soundBox != nullptr && underCursor(soundBox)) {
    if (click) {
      const uint32_t frame = ToggleFrame(soundBox);
      if (game != nullptr) game->soundOn = frame == 0 ? 1 : 0;
    }
  } else if (musicBox != nullptr && underCursor(musicBox)) {
    // The music itself is left alone: whoever plays it looks at the flag.
    if (click) {
      const uint32_t frame = ToggleFrame(musicBox);
      if (game != nullptr) game->musicOn = frame == 0 ? 1 : 0;
    }
  } else {
    return false;
  }
  return true;
}

void OptionCheckBoxes::Release() {
  for (Partner<Quillon::Sprite>* box : {&m_fullScreenBox, &m_soundBox, &m_musicBox}) box->Release();
  for (Partner<Quillon::Text>& label : m_labels) label.Release();
}
