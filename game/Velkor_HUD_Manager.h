#pragma once
// The HUD root "hud_mgr": it travels with the car in x, carrying the durability and hover bars,
// the gears, distance and frame-rate counters, the debug text and the special-attack panel.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/Quillon_Sprite.h"
#include "framework/Quillon_Text.h"
#include "game/Velkor_ScreenSupport.h"

class SpHud;

class HUD_Manager : public Quillon::Sprite {
 public:
  static constexpr float kDurabilityBarOffset = 50.0f;
  static constexpr float kHoverBarOffset = 448.0f;

  HUD_Manager() = default;
  explicit HUD_Manager(const std::vector<Quillon::SpriteAnimation*>& animations) : Quillon::Sprite(animations) {}
  // A copy finds its own parts.
  HUD_Manager(const HUD_Manager& other) : Quillon::Sprite(other) {}
  VELKOR_DECLARE_CLASS(HUD_Manager);

  void OnStart() override;
  void Update(float dt) override;
  void ReleaseResources() override;

  // The bars scale by current / maximum (a maximum of 0 or less counts as 1); the durability bar
  // keeps its right end, the hover bar its left end and turns to its second frame below half.
  void SetDurability(int32_t current, int32_t maximum);
  void SetHoverEnergy(int32_t current, int32_t maximum);
  void SetGears(int32_t gears);
  void SetDistance(int32_t distance);
  void UpdateFrameRate();

  SpHud* GetSpecialPanel();

 private:
  // The shift that keeps one end of a bar in place at ratio r.
  static float EndShift(const Quillon::Sprite& bar, float ratio);
  static void SetCaption(Quillon::Text* text, const std::string& caption);
  template <typename Visit>
  void ForEachPart(Visit visit);

  // Its parts, found on first use: a HUD read back from a saved game is not started again. The
  // saved game keeps them mounted.
  Partner<Quillon::Text> m_gearsText{"GearTxt"};
  Partner<Quillon::Text> m_durabilityText{"DurabilityTxt"};
  Partner<Quillon::Text> m_distanceText{"DistanceTxt"};
  Partner<Quillon::Text> m_debugText{"MyDebugTxt"};
  Partner<Quillon::Text> m_frameRateText{"FpsTxt"};
  Partner<Quillon::Sprite> m_lowDurabilityWarning{"lowLife"};
  Partner<Quillon::Sprite> m_durabilityBar{"HP_Bar"};
  Partner<Quillon::Sprite> m_hoverBar{"HoveEnerBar"};
  Partner<SpHud> m_specialPanel{"SpHud"};
  // The car it travels with.
  Partner<Quillon::Sprite> m_car{"Player"};
  float m_durabilityBarOffset = kDurabilityBarOffset;
  float m_hoverBarOffset = kHoverBarOffset;
};
