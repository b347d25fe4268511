#include "game/Velkor_OptionMenu.h"

#include "framework/Quillon_Camera.h"
#include "framework/Quillon_Game.h"
#include "framework/Quillon_Text.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_ScreenSupport.h"

VELKOR_IMPLEMENT_CLASS(OptionMenu, "OptionMenu");

namespace {

const char* const kCaptions[] = {"opBtnTxt1", "opBtnTxt2"};  // play, main menu
constexpr const char* kCursorName = "mouse";

// The playing level's cursor is a game class of its own ("mouse" is a CursorClass), so the
// contact is read from either side.
bool IsUnderCursor(Quillon::Sprite* object, Quillon::Sprite* cursor) {
  return IsTouchingCursor(object, cursor, kCursorName);
}

void SetCaptionGreen(const char* caption, float green) {
  Quillon::Text* text = FindObjectByName<Quillon::Text>(caption);
  if (text == nullptr) return;
  Math::Color color = text->GetModulationColor();
  color.g = green;
  text->SetModulationColor(color);
}

}  // namespace

void OptionMenu::OnStart() {
  Quillon::Sprite::OnStart();
  m_shown = 0;
  m_cursor = FindObjectByName<Quillon::Sprite>(kCursorName);
  m_boxes.Attach(*this);
  m_playButton = FindObjectByName<Quillon::Sprite>("Op_PlayBtn");
  m_mainMenuButton = FindObjectByName<Quillon::Sprite>("Op_MmBtn");
  Mount(m_playButton);
  Mount(m_mainMenuButton);
  for (const char* caption : kCaptions) Mount(FindObjectByName<Quillon::Text>(caption));
}

void OptionMenu::Show(bool visible, int32_t followCamera) {
  m_shown = visible ? 1 : 0;
  m_followCamera = followCamera;
  SetVisible(visible);
  m_boxes.SetVisible(visible);
  for (Quillon::Sprite* sprite : {m_playButton, m_mainMenuButton}) {
    if (sprite != nullptr) sprite->SetVisible(visible);
  }
  for (const char* caption : kCaptions) {
    if (Quillon::Text* text = FindObjectByName<Quillon::Text>(caption)) text->SetVisible(visible);
  }
}

void OptionMenu::Update(float dt) {
  Quillon::Sprite::Update(dt);
  if (m_shown == 0) return;
  if (m_followCamera == 1) {
    if (Quillon::Camera* camera = FindObjectByName<Quillon::Camera>("camera0")) SetPosition(camera->GetPosition());
  }
  HandleInput(IsCursorClick());
}

void OptionMenu::HandleInput(bool click) {
  // Looked up again: the cursor kept from the start may be gone.
  m_cursor = FindObjectByName<Quillon::Sprite>(kCursorName);
  MyGame* game = GetMyGame();
  if (m_boxes.HandleInput([this](Quillon::Sprite* box) { return IsUnderCursor(box, m_cursor); }, click)) return;
  if (IsUnderCursor(m_playButton, m_cursor)) {
    SetCaptionGreen("opBtnTxt1", 0.0f);
    if (click) {
      SetGamePaused(false);
      Show(false, 1);
    }
  } else if (IsUnderCursor(m_mainMenuButton, m_cursor)) {
    SetCaptionGreen("opBtnTxt2", 0.0f);
    if (click && game != nullptr) game->GoToLevel("MainOptionLevel");
  } else {
    for (const char* caption : kCaptions) SetCaptionGreen(caption, 1.0f);
  }
}
