#include "game/Velkor_OptionMenu_M.h"

#include "framework/Quillon_Camera.h"
#include "framework/Quillon_Text.h"
#include "game/Velkor_ScreenSupport.h"

VELKOR_IMPLEMENT_CLASS(OptionMenu_M, "OptionMenu_M");

namespace {
constexpr const char* kButtonCaption = "opBtnTxt2";
}  // namespace

void OptionMenu_M::OnStart() {
  Quillon::Sprite::OnStart();
  m_shown = 0;
  m_cursor = FindObjectByName<Quillon::Sprite>("mouse");
  m_boxes.Attach(*this);
  m_mainMenuButton = FindObjectByName<Quillon::Sprite>("Op_MmBtn");
  Mount(m_mainMenuButton);
  Mount(FindObjectByName<Quillon::Text>(kButtonCaption));
}

void OptionMenu_M::Show(bool visible, int32_t followCamera) {
  m_shown = visible ? 1 : 0;
  m_followCamera = followCamera;
  SetVisible(visible);
  m_boxes.SetVisible(visible);
  if (m_mainMenuButton != nullptr) m_mainMenuButton->SetVisible(visible);
  if (Quillon::Text* caption = FindObjectByName<Quillon::Text>(kButtonCaption)) caption->SetVisible(visible);
}

void OptionMenu_M::Update(float dt) {
  Quillon::Sprite::Update(dt);
  if (m_shown == 0) return;
  if (Quillon::Camera* camera = FindObjectByName<Quillon::Camera>("camera0")) SetPosition(camera->GetPosition());
  HandleInput(IsCursorClick());
}

void OptionMenu_M::HandleInput(bool click) {
  Quillon::Sprite* cursor = FindObjectByName<Quillon::Sprite>("MousePt");
  if (m_boxes.HandleInput([cursor](Quillon::Sprite* box) { return IsCursorOver(cursor, box->GetName()); }, click)) {
    return;
  }
  if (IsCursorOver(cursor, "Op_MmBtn")) {
    HighlightCaption(kButtonCaption, true, false);
    if (click) Show(false, 0);
  } else {
    UnhighlightCaption(kButtonCaption);
  }
}
