#include "game/Velkor_OptionMenu_M.h"

#include "framework/Quillon_Camera.h"
#include "framework/Quillon_Text.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_ScreenSupport.h"

VELKOR_IMPLEMENT_CLASS(OptionMenu_M, "OptionMenu_M");

namespace {

const char* const kLabels[] = {"opTxt1", "opTxt2", "opTxt3"};
constexpr const char* kButtonCaption = "opBtnTxt2";

// Frame 0 becomes 1, anything else 0; answers the new frame.
uint32_t ToggleFrame(Quillon::Sprite* box) {
  const uint32_t frame = box->GetCurrentFrameIndex() == 0 ? 1u : 0u;
  box->SetCurrentFrameIndex(frame, true);
  return frame;
}

}  // namespace

void OptionMenu_M::OnStart() {
  Quillon::Sprite::OnStart();
  m_shown = 0;
  m_cursor = FindObjectByName<Quillon::Sprite>("mouse");
  m_fullScreenBox = FindObjectByName<Quillon::Sprite>("Op_fsCheckBox");
  m_soundBox = FindObjectByName<Quillon::Sprite>("Op_SoundChkBox");
  m_musicBox = FindObjectByName<Quillon::Sprite>("Op_BgmChkBox");
  MyGame* game = GetMyGame();
  if (m_fullScreenBox != nullptr) {
    m_fullScreenBox->SetCurrentFrameIndex(game != nullptr && game->IsFullScreen() ? 1 : 0, true);
  }
  if (m_soundBox != nullptr) m_soundBox->SetCurrentFrameIndex(game == nullptr || game->soundOn ? 0 : 1, true);
  if (m_musicBox != nullptr) m_musicBox->SetCurrentFrameIndex(game == nullptr || game->musicOn ? 0 : 1, true);
  Mount(m_fullScreenBox);
  Mount(m_soundBox);
  Mount(m_musicBox);
  for (const char* label : kLabels) Mount(FindObjectByName<Quillon::Text>(label));
  m_mainMenuButton = FindObjectByName<Quillon::Sprite>("Op_MmBtn");
  Mount(m_mainMenuButton);
  Mount(FindObjectByName<Quillon::Text>(kButtonCaption));
}

void OptionMenu_M::Show(bool visible, int32_t followCamera) {
  m_shown = visible ? 1 : 0;
  m_followCamera = followCamera;
  SetVisible(visible);
  for (Quillon::GameObject* object :
       {static_cast<Quillon::GameObject*>(m_fullScreenBox), static_cast<Quillon::GameObject*>(m_soundBox),
        static_cast<Quillon::GameObject*>(m_musicBox), static_cast<Quillon::GameObject*>(m_mainMenuButton)}) {
    if (object != nullptr) object->SetVisible(visible);
  }
  for (const char* label : kLabels) {
    if (Quillon::Text* text = FindObjectByName<Quillon::Text>(label)) text->SetVisible(visible);
  }
  if (Quillon::Text* caption = FindObjectByName<Quillon::Text>(kButtonCaption)) caption->SetVisible(visible);
}

void OptionMenu_M::Update(float dt) {
  Quillon::Sprite::Update(dt);
  if (m_shown == 0) return;
  if (Quillon::Camera* camera = FindObjectByName<Quillon::Camera>("camera0")) SetPosition(camera->GetPosition());
  HandleInput(IsLeftClick());
}

void OptionMenu_M::HandleInput(bool click) {
  Quillon::Sprite* cursor = FindObjectByName<Quillon::Sprite>("MousePt");
  MyGame* game = GetMyGame();
  if (m_fullScreenBox != nullptr && IsCursorOver(cursor, "Op_fsCheckBox")) {
    if (click) {
      ToggleFrame(m_fullScreenBox);
      if (game != nullptr) game->AutoToggleFullScreen();
    }
  } else if (m_soundBox != nullptr && IsCursorOver(cursor, "Op_SoundChkBox")) {
    if (click) {
      const uint32_t frame = ToggleFrame(m_soundBox);
      if (game != nullptr) game->soundOn = frame == 0 ? 1 : 0;
    }
  } else if (m_musicBox != nullptr && IsCursorOver(cursor, "Op_BgmChkBox")) {
    if (click) {
      const uint32_t frame = ToggleFrame(m_musicBox);
      if (game != nullptr) game->musicOn = frame == 0 ? 1 : 0;
    }
  } else if (IsCursorOver(cursor, "Op_MmBtn")) {
    HighlightCaption(kButtonCaption, true, false);
    if (click) Show(false, 0);
  } else {
    UnhighlightCaption(kButtonCaption);
  }
}
