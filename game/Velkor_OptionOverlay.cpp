#include "game/Velkor_OptionOverlay.h"

#include <algorithm>

#include "framework/Quillon_Camera.h"
#include "game/Velkor_MyGame.h"
#include "gui/Gui_Control.h"

OptionOverlay::OptionOverlay(const Layout& layout) : m_layout(&layout), m_cursor(layout.cursor) { NameButtons(); }

OptionOverlay::OptionOverlay(const Layout& layout, const std::vector<Quillon::SpriteAnimation*>& animations)
    : Quillon::Sprite(animations), m_layout(&layout), m_cursor(layout.cursor) {
  NameButtons();
}

void OptionOverlay::NameButtons() {
  for (size_t i = 0; i < m_layout->buttonCount; ++i) {
    m_plates.emplace_back(m_layout->buttons[i].plate);
    m_captions.emplace_back(m_layout->buttons[i].caption);
  }
}

void OptionOverlay::OnStart() {
  Quillon::Sprite::OnStart();
  m_shown = 0;
  m_cursor.Find();
  m_camera.Find();
  m_boxes.Attach(*this);
  for (Partner<Quillon::Sprite>& plate : m_plates) Mount(plate.Find());
  for (Partner<Quillon::Text>& caption : m_captions) Mount(caption.Find());
}

void OptionOverlay::ReleaseResources() {
  m_cursor.Release();
  m_camera.Release();
  m_boxes.Release();
  for (Partner<Quillon::Sprite>& plate : m_plates) plate.Release();
  for (Partner<Quillon::Text>& caption : m_captions) caption.Release();
  Quillon::Sprite::ReleaseResources();
}

void OptionOverlay::Show(bool visible, int32_t followCamera) {
  m_shown = visible ? 1 : 0;
  if (visible) m_spentUntil = m_openedAt = GetScreenTime();
  m_followCamera = followCamera;
  SetVisible(visible);
  m_boxes.SetVisible(visible);
  for (Partner<Quillon::Sprite>& plate : m_plates) {
    if (Quillon::Sprite* sprite = plate.Get()) sprite->SetVisible(visible);
  }
  for (Partner<Quillon::Text>& caption : m_captions) {
    if (Quillon::Text* text = caption.Get()) text->SetVisible(visible);
  }
}

void OptionOverlay::Update(float dt) {
  Quillon::Sprite::Update(dt);
  if (m_shown == 0) return;
  if (m_followCamera == 1 || m_layout->alwaysFollowsCamera) {
    if (Quillon::Camera* camera = m_camera.Get()) SetPosition(camera->GetPosition());
  }
  // A press that goes down within the time of a double click of the opening, or went down before
  // it and is answered only now, is spent on opening: a person's key and button "together", or the
  // second click of a double click on the opener, come frames apart and were meant for what lay
  // under the pointer before; the overlay's members still carry contacts from where they stood
  // hidden. A quick run of clicks on the opener is one such gesture however long it lasts, so each
  // press within that time of the last one spent is spent too. The clock reads the same whether
  // the opener updates before or after the overlay. The clock counts a frame's time only in the
  // frame after it, so the opening is dated by the first later frame: a stalled opening frame (its
  // input arriving during the stall) still has the whole time of a double click after it.
  if (m_openedAt >= 0.0 && GetScreenTime() > m_openedAt) {
    m_spentUntil = std::max(m_spentUntil, GetScreenTime());
    m_openedAt = -1.0;
  }
  bool click = false;
  if (IsCursorClick()) {
    const double pressedAt = GetCursorClickPressTime();
    click = pressedAt - m_spentUntil > GUI::kDoubleClickTime;
    if (!click) m_spentUntil = std::max(m_spentUntil, pressedAt);
  }
  HandleInput(click);
}

void OptionOverlay::HandleInput(bool click) {
  // The playing level's cursor is a game class of its own that may carry a contact on its side
  // only, so a contact is read from either side.
  Quillon::Sprite* cursor = m_cursor.Get();
  const char* cursorName = m_layout->cursor;
  const auto underCursor = [cursor, cursorName](Quillon::Sprite* object) {
    return IsTouchingCursor(object, cursor, cursorName);
  };
  // A caption is lit only while its own button is under the cursor: the pointer can pass from a
  // button straight onto the next one, or onto a box, without a frame over bare ground between.
  size_t lit = m_plates.size();
  const bool onBox = m_boxes.HandleInput(underCursor, click);
  if (!onBox) {
    lit = 0;
    while (lit < m_plates.size() && !underCursor(m_plates[lit].Get())) ++lit;
  }
  for (size_t i = 0; i < m_captions.size(); ++i) {
    if (i != lit) UnhighlightCaption(m_captions[i].Get());
  }
  if (lit == m_plates.size()) return;
  HighlightCaption(m_captions[lit].Get(), true, false);
  if (click) Press(m_layout->buttons[lit].action);
}

void OptionOverlay::Press(Action action) {
  switch (action) {
    case Action::kResume:
      SetGamePaused(false);
      Show(false, 1);
      return;
    case Action::kLeaveToMainMenu:
      if (MyGame* game = GetMyGame()) game->GoToLevel("MainOptionLevel");
      return;
    case Action::kClose:
      Show(false, 0);
      return;
  }
}
