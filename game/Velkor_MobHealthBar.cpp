#include "game/Velkor_MobHealthBar.h"

#include "framework/Quillon_Layer.h"
#include "game/Velkor_ScreenSupport.h"

VELKOR_IMPLEMENT_CLASS(MobHealthBar, "MobHealthBar");

namespace {

Quillon::Sprite* CopyOf(const char* name) {
  const Quillon::Sprite* model = FindObjectByName<Quillon::Sprite>(name);
  return model != nullptr ? static_cast<Quillon::Sprite*>(model->Clone()) : nullptr;
}

}  // namespace

bool MobHealthBar::Initialize() {
  m_scale = 1.0f;
  m_greenBar = CopyOf("greenBar");
  m_redBar = CopyOf("redBar");
  return m_greenBar || m_redBar;
}

void MobHealthBar::AddToLayer(Quillon::Layer* layer) {
  if (layer == nullptr) return;
  if (m_redBar) layer->AddGameObject(m_redBar.Get());
  if (m_greenBar) layer->AddGameObject(m_greenBar.Get());
}

void MobHealthBar::SetHealth(int32_t current, int32_t maximum) {
  const float ratio = static_cast<float>(current) / static_cast<float>(maximum > 0 ? maximum : 1);
  if (m_redBar) m_redBar->SetScale(m_scale, m_scale);
  if (m_greenBar) m_greenBar->SetScale(m_scale, m_scale);
  const float width = m_redBar ? static_cast<float>(m_redBar->GetFrameWidth(0)) : 0.0f;
  m_greenShift = (width - width * ratio) * 0.5f * m_scale;
  if (m_greenBar) m_greenBar->SetScaleX(ratio * m_scale);
}

void MobHealthBar::Place(const Math::Vector2D& position) {
  const Math::Vector2D at = position + m_offset;
  if (m_redBar) m_redBar->SetPosition(at);
  if (m_greenBar) m_greenBar->SetPosition(at - Math::Vector2D(m_greenShift, 0.0f));
}

void MobHealthBar::SetVisible(bool visible) {
  if (m_redBar) m_redBar->SetVisible(visible);
  if (m_greenBar) m_greenBar->SetVisible(visible);
}

void MobHealthBar::Destroy() {
  if (m_redBar && !m_redBar->IsDestructionPending()) m_redBar->Destroy();
  if (m_greenBar && !m_greenBar->IsDestructionPending()) m_greenBar->Destroy();
}
