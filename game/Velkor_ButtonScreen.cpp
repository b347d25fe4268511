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
  size_t lit = 0;
  while (lit < m_captions.size() && !IsCursorOver(cursor, m_buttons[lit].plate)) ++lit;
  // The pointer can pass from one button straight onto the next without a frame over bare ground
  // between them, so the caption of the button it left goes back to white as this one lights.
  for (size_t i = 0; i < m_captions.size(); ++i) {
    if (i != lit) UnhighlightCaption(m_captions[i].Get());
  }
  if (lit == m_captions.size()) return nullptr;
  HighlightCaption(m_captions[lit].Get(), m_buttons[lit].clearsGreen, true);
  return IsCursorClick() ? m_buttons[lit].plate : nullptr;
}
