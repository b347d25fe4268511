#include "game/Velkor_ButtonScreen.h"

void ButtonScreen::OnStart() {
  m_cursor.Find();
  for (Partner<Quillon::Text>& caption : m_captions) caption.Find();
  HideGuiCursor();
}

void ButtonScreen::OnEnd() {
  m_cursor.Release();
  for (Partner<Quillon::Text>& caption : m_captions) caption.Release();
}

void ButtonScreen::Update(float dt) {
  (void)dt;
  PlaceCursorAtMouse(m_cursor.Get());
  if (!AnswersButtons()) return;
  if (const char* pressed = UpdateButtons()) Press(pressed);
}

const char* ButtonScreen::UpdateButtons() {
  Quillon::Sprite* cursor = m_cursor.Get();
  for (size_t i = 0; i < m_captions.size(); ++i) {
    if (IsCursorOver(cursor, m_buttons[i].plate)) {
      HighlightCaption(m_captions[i].Get(), m_buttons[i].clearsGreen, true);
      return IsCursorClick() ? m_buttons[i].plate : nullptr;
    }
  }
  for (Partner<Quillon::Text>& caption : m_captions) UnhighlightCaption(caption.Get());
  return nullptr;
}
