#pragma once
// The message shown over the player's car for a while, fading out as its time runs.
#include <string>

#include "framework/Quillon_Text.h"

class PlayerText : public Quillon::Text {
 public:
  PlayerText() = default;
  PlayerText(const std::string& caption, const std::string& fontPath) : Quillon::Text(caption, fontPath) {}
  PlayerText(const PlayerText& other) = default;
  VELKOR_DECLARE_CLASS(PlayerText);

  void Update(float dt) override;

  // Shows the text at full opacity and fades it out over that many seconds.
  void Show(const std::string& text, float seconds);
  float GetDisplayTime() const { return m_displayTime; }
  float GetElapsed() const { return m_elapsed; }

 private:
  float m_displayTime = 0.0f;
  float m_elapsed = 0.0f;
};
