#include "game/Velkor_PlayerText.h"

#include "game/Velkor_MyGame.h"

VELKOR_IMPLEMENT_CLASS(PlayerText, "PlayerText");

void PlayerText::Show(const std::string& text, float seconds) {
  SetText(text);
  m_displayTime = seconds;
  m_elapsed = 0.0f;
}

void PlayerText::Update(float dt) {
  Quillon::Text::Update(dt);
  // Until its first message (or after one of no time) the text has nothing to show.
  if (m_displayTime <= 0.0f) {
    SetOpacity(0.0f);
    return;
  }
  if (m_displayTime >= m_elapsed && !IsGamePaused()) {
    m_elapsed += dt;
    const float opacity = (m_displayTime - m_elapsed) / m_displayTime;
    SetOpacity(opacity > 0.0f ? opacity : 0.0f);
  }
}
