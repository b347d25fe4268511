#pragma once
// The HUD panel of the special attack, the AI friend and the usable power-up: their icons, and
// the cool-down counters that the car starts and this panel counts down and shows.
#include <cstdint>
#include <string>

#include "framework/Quillon_Sprite.h"
#include "framework/Quillon_Text.h"

class SpHud : public Quillon::Sprite {
 public:
  using Quillon::Sprite::Sprite;
  VELKOR_DECLARE_CLASS(SpHud);
  void OnStart() override;
  void Update(float dt) override;

  // The equipped special attack, AI friend and held power-up (-1 for none): an icon per item, or
  // no icon and "0".
  void SetItems(int32_t specialId, int32_t aiFriendId, int32_t usableId);

  // Seconds left before the item can be used again.
  float GetSpecialCountdown() const { return m_countdowns[0]; }
  void SetSpecialCountdown(float seconds) { m_countdowns[0] = seconds; }
  float GetAiFriendCountdown() const { return m_countdowns[1]; }
  void SetAiFriendCountdown(float seconds) { m_countdowns[1] = seconds; }
  float GetUsableCountdown() const { return m_countdowns[2]; }
  void SetUsableCountdown(float seconds) { m_countdowns[2] = seconds; }

  // The whole seconds of a countdown as the panel shows them: at most three characters.
  static std::string CountdownText(float seconds);

 private:
  Quillon::Sprite* m_icons[3] = {nullptr, nullptr, nullptr};
  Quillon::Text* m_texts[3] = {nullptr, nullptr, nullptr};
  float m_countdowns[3] = {0.0f, 0.0f, 0.0f};
};
