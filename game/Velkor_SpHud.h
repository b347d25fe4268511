#pragma once
// The HUD panel of the special attack, the AI friend and the usable power-up: their icons, and
// the cool-down counters that the car starts and this panel counts down and shows.
#include <cstdint>
#include <string>

#include "framework/Quillon_Sprite.h"
#include "framework/Quillon_Text.h"
#include "game/Velkor_ScreenSupport.h"

class SpHud : public Quillon::Sprite {
 public:
  using Quillon::Sprite::Sprite;
  VELKOR_DECLARE_CLASS(SpHud);
  void OnStart() override;
  void Update(float dt) override;
  void ReleaseResources() override;

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
  // Found on first use: a panel read back from a saved game is not started again. The saved game
  // keeps them mounted. The usable item's icon is a power-up picture; the others are plain sprites.
  Partner<Quillon::Sprite> m_icons[3] = {Partner<Quillon::Sprite>("SpAtkUi"), Partner<Quillon::Sprite>("AiFriendUi"),
                                         Partner<Quillon::Sprite>("UsableImg")};
  Partner<Quillon::Text> m_texts[3] = {Partner<Quillon::Text>("SpAtkTxt"), Partner<Quillon::Text>("aiFrTxt"),
                                       Partner<Quillon::Text>("usableTxt")};
  float m_countdowns[3] = {0.0f, 0.0f, 0.0f};
};
