#include "game/Velkor_HUD_Manager.h"

#include <cstdio>

#include "core/Core_String.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_ScreenSupport.h"
#include "game/Velkor_SpHud.h"

VELKOR_IMPLEMENT_CLASS(HUD_Manager, "HUD_Manager");

namespace {

float Ratio(int32_t current, int32_t maximum) {
  return static_cast<float>(current) / static_cast<float>(maximum > 0 ? maximum : 1);
}

}  // namespace

void HUD_Manager::OnStart() {
  Quillon::Sprite::OnStart();
  if (const Quillon::Sprite* car = m_car.Find()) SetPositionX(car->GetPositionX());
  m_lowDurabilityWarning = FindObjectByName<Quillon::Sprite>("lowLife");
  m_durabilityBar = FindObjectByName<Quillon::Sprite>("HP_Bar");
  m_hoverBar = FindObjectByName<Quillon::Sprite>("HoveEnerBar");
  m_specialPanel = FindObjectByName<SpHud>("SpHud");
  m_durabilityText = FindObjectByName<Quillon::Text>("DurabilityTxt");
  m_distanceText = FindObjectByName<Quillon::Text>("DistanceTxt");
  m_gearsText = FindObjectByName<Quillon::Text>("GearTxt");
  m_frameRateText = FindObjectByName<Quillon::Text>("FpsTxt");
  m_debugText = FindObjectByName<Quillon::Text>("MyDebugTxt");
  m_durabilityBarOffset = kDurabilityBarOffset;
  m_hoverBarOffset = kHoverBarOffset;
  const MyGame* game = GetMyGame();
  if (m_frameRateText != nullptr && (game == nullptr || game->counter < 2)) m_frameRateText->SetVisible(false);
  Quillon::GameObject* carried[] = {m_durabilityText, m_distanceText, m_gearsText,  m_frameRateText, m_lowDurabilityWarning,
                                    m_durabilityBar,  m_hoverBar,     m_specialPanel, m_debugText};
  for (Quillon::GameObject* part : carried) {
    if (part != nullptr) Mount(part);
  }
  if (m_debugText != nullptr) m_debugText->SetVisible(false);
  SetGears(0);
}

void HUD_Manager::ReleaseResources() {
  m_car.Release();
  Quillon::Sprite::ReleaseResources();
}

void HUD_Manager::Update(float dt) {
  Quillon::Sprite::Update(dt);
  if (const Quillon::Sprite* car = m_car.Get()) SetPositionX(car->GetPositionX());
  UpdateFrameRate();
}

float HUD_Manager::EndShift(const Quillon::Sprite& bar, float ratio) {
  const float width = static_cast<float>(bar.GetFrameWidth(0));
  return (width - width * ratio) * 0.5f;
}

void HUD_Manager::SetDurability(int32_t current, int32_t maximum) {
  const float ratio = Ratio(current, maximum);
  if (m_durabilityBar != nullptr) {
    m_durabilityBar->SetPositionX(GetPositionX() + EndShift(*m_durabilityBar, ratio) + m_durabilityBarOffset);
    m_durabilityBar->SetScaleX(ratio);
  }
  SetCaption(m_durabilityText, Core::ToString(current) + "/" + Core::ToString(maximum));
}

void HUD_Manager::SetHoverEnergy(int32_t current, int32_t maximum) {
  if (m_hoverBar == nullptr) return;
  const float ratio = Ratio(current, maximum);
  m_hoverBar->SetPositionX(GetPositionX() + m_hoverBarOffset - EndShift(*m_hoverBar, ratio));
  m_hoverBar->SetScaleX(ratio);
  const uint32_t frame = ratio < 0.5f ? 1 : 0;
  if (frame < m_hoverBar->GetFramesCount(m_hoverBar->GetCurrentAnimationIndex())) m_hoverBar->SetCurrentFrameIndex(frame, false);
}

void HUD_Manager::SetGears(int32_t gears) { SetCaption(m_gearsText, "Gears:\n" + Core::ToString(gears)); }

void HUD_Manager::SetDistance(int32_t distance) {
  SetCaption(m_distanceText, "Distance:\n" + Core::ToString(distance));
}

void HUD_Manager::UpdateFrameRate() {
  if (m_frameRateText == nullptr) return;
  const MyGame* game = GetMyGame();
  char rate[64];
  std::snprintf(rate, sizeof(rate), "%.16lf", game != nullptr ? game->GetCurrentFrameRate() : 0.0);
  m_frameRateText->SetText("Fps: " + std::string(rate).substr(0, 5));
}

void HUD_Manager::SetCaption(Quillon::Text* text, const std::string& caption) {
  if (text != nullptr) text->SetText(caption);
}
