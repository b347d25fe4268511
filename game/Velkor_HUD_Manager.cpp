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

template <typename Visit>
void HUD_Manager::ForEachPart(Visit visit) {
  visit(m_durabilityText);
  visit(m_distanceText);
  visit(m_gearsText);
  visit(m_frameRateText);
  visit(m_lowDurabilityWarning);
  visit(m_durabilityBar);
  visit(m_hoverBar);
  visit(m_specialPanel);
  visit(m_debugText);
}

void HUD_Manager::OnStart() {
  Quillon::Sprite::OnStart();
  if (const Quillon::Sprite* car = m_car.Find()) SetPositionX(car->GetPositionX());
  ForEachPart([this](auto& part) { Mount(part.Find()); });
  m_durabilityBarOffset = kDurabilityBarOffset;
  m_hoverBarOffset = kHoverBarOffset;
  const MyGame* game = GetMyGame();
  Quillon::Text* frameRateText = m_frameRateText.Get();
  if (frameRateText != nullptr && (game == nullptr || game->counter < 2)) frameRateText->SetVisible(false);
  if (Quillon::Text* debugText = m_debugText.Get()) debugText->SetVisible(false);
  SetGears(0);
}

void HUD_Manager::ReleaseResources() {
  m_car.Release();
  ForEachPart([](auto& part) { part.Release(); });
  Quillon::Sprite::ReleaseResources();
}

SpHud* HUD_Manager::GetSpecialPanel() { return m_specialPanel.Get(); }

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
  if (Quillon::Sprite* bar = m_durabilityBar.Get()) {
    bar->SetPositionX(GetPositionX() + EndShift(*bar, ratio) + m_durabilityBarOffset);
    bar->SetScaleX(ratio);
  }
  SetCaption(m_durabilityText.Get(), Core::ToString(current) + "/" + Core::ToString(maximum));
}

void HUD_Manager::SetHoverEnergy(int32_t current, int32_t maximum) {
  Quillon::Sprite* bar = m_hoverBar.Get();
  if (bar == nullptr) return;
  const float ratio = Ratio(current, maximum);
  bar->SetPositionX(GetPositionX() + m_hoverBarOffset - EndShift(*bar, ratio));
  bar->SetScaleX(ratio);
  const uint32_t frame = ratio < 0.5f ? 1 : 0;
  if (frame < bar->GetFramesCount(bar->GetCurrentAnimationIndex())) bar->SetCurrentFrameIndex(frame, false);
}

void HUD_Manager::SetGears(int32_t gears) { SetCaption(m_gearsText.Get(), "Gears:\n" + Core::ToString(gears)); }

void HUD_Manager::SetDistance(int32_t distance) {
  SetCaption(m_distanceText.Get(), "Distance:\n" + Core::ToString(distance));
}

void HUD_Manager::UpdateFrameRate() {
  Quillon::Text* frameRateText = m_frameRateText.Get();
  if (frameRateText == nullptr) return;
  const MyGame* game = GetMyGame();
  char rate[64];
  std::snprintf(rate, sizeof(rate), "%.16lf", game != nullptr ? game->GetCurrentFrameRate() : 0.0);
  frameRateText->SetText("Fps: " + std::string(rate).substr(0, 5));
}

void HUD_Manager::SetCaption(Quillon::Text* text, const std::string& caption) {
  if (text != nullptr) text->SetText(caption);
}
