#include "game/Velkor_G_MenuLabel.h"

#include "framework/Quillon_Layer.h"
#include "game/Velkor_ScreenSupport.h"

VELKOR_IMPLEMENT_CLASS(G_MenuLabel, "G_MenuLabel");

namespace {

constexpr uint32_t kFrameNotOwned = 0;
constexpr uint32_t kFrameOwned = 1;
constexpr uint32_t kFrameEquipped = 2;

// A clone of the template of that name and exact class in the label's layer; null without one.
template <typename T>
Core::SmartPointer<T> CloneInto(Quillon::Layer* layer, const std::string& name) {
  T* source = FindObjectByName<T>(name);
  if (source == nullptr || layer == nullptr) return Core::SmartPointer<T>();
  Core::SmartPointer<T> clone(static_cast<T*>(source->Clone()));
  layer->AddGameObject(clone.Get(), false, nullptr);
  return clone;
}

}  // namespace

void G_MenuLabel::Destroy() {
  Quillon::Sprite::Destroy();
  if (m_image) m_image->Destroy();
  if (m_nameText) m_nameText->Destroy();
  if (m_descriptionText) m_descriptionText->Destroy();
}

void G_MenuLabel::OnStart() {
  Quillon::Sprite::OnStart();
  m_arrived = 1;
  Quillon::Layer* layer = GetLayer();
  m_image = CloneInto<Quillon::Sprite>(layer, "ItemImage");
  m_nameText = CloneInto<Quillon::Text>(layer, "ItemText");
  m_descriptionText = CloneInto<Quillon::Text>(layer, "ItemText2");
  // The plate's text zone is opaque: the name and description are drawn on it, not behind it, and
  // still under the shop's mask so that they leave the window with their label.
  if (m_nameText) m_nameText->SetZOrder(GetZOrder() + kTextAbovePlate);
  if (m_descriptionText) m_descriptionText->SetZOrder(GetZOrder() + kTextAbovePlate);
}

void G_MenuLabel::Update(float dt) {
  Quillon::Sprite::Update(dt);
  Slide(dt);
  const Math::Vector2D& position = GetPosition();
  if (m_nameText) m_nameText->SetPosition(position + m_nameOffset);
  if (m_descriptionText) m_descriptionText->SetPosition(position + m_descriptionOffset);
  if (m_image) m_image->SetPosition(position + m_imageOffset);
  const bool shown = m_shown != 0;
  if (m_image) m_image->SetVisible(shown);
  if (m_nameText) m_nameText->SetVisible(shown);
  if (m_descriptionText) m_descriptionText->SetVisible(shown);
  SetVisible(shown);
}

void G_MenuLabel::StartSlide(int32_t mode, float delay, float dx) {
  m_delay = delay;
  m_slideMode = mode;
  m_arrived = 0;
  m_velocity = Math::Vector2D(dx, 0.0f);
  const float y = GetPositionY();
  if (mode == kSlideOut) {
    m_target = Math::Vector2D(dx < 0.0f ? -kOutsideX : kOutsideX, y);
  } else if (mode == kSlideIn) {
    SetPositionX(dx < 0.0f ? kOutsideX : -kOutsideX);
    m_target = Math::Vector2D(kShownX, y);
  }
}

void G_MenuLabel::Slide(float dt) {
  m_delay -= dt;
  if (m_delay >= 0.0f || m_arrived != 0) return;
  // A label with no slide asked for (or no speed) has nowhere to go.
  if (m_velocity.x == 0.0f || (m_slideMode != kSlideOut && m_slideMode != kSlideIn)) {
    m_arrived = 1;
    return;
  }
  // Frames, not seconds: the screen's animations count frames at the capped 60 per second.
  const float x = GetPositionX() + m_velocity.x;
  SetPositionX(x);
  const bool passed = (m_velocity.x < 0.0f && x < m_target.x) || (m_velocity.x > 0.0f && x > m_target.x);
  if (!passed) return;
  SetPositionX(m_target.x);
  m_arrived = 1;
  if (m_slideMode == kSlideOut) TurnAround();
}

void G_MenuLabel::TurnAround() {
  StartSlide(kSlideIn, 0.2f, static_cast<float>(static_cast<int32_t>(m_velocity.x)));
  // A set has as many items as its picture has frames: a label beyond them stays hidden.
  bool hasItem = false;
  if (m_image) {
    m_image->SetCurrentAnimationName(m_setHeader, false);
    hasItem = m_image->GetCurrentAnimationName() == m_setHeader && m_index >= 0 &&
              static_cast<uint32_t>(m_index) < m_image->GetFramesCount(m_image->GetCurrentAnimationIndex());
  }
  if (!hasItem) {
    m_shown = 0;
    return;
  }
  m_shown = 1;
  if (m_descriptionText) m_descriptionText->SetText(m_pendingDescription);
  if (m_nameText) m_nameText->SetText(m_pendingName);
  SetPurchased(m_purchased != 0);
  SetEquipped(m_equipped != 0);
  m_image->SetCurrentFrameIndex(static_cast<uint32_t>(m_index), false);
}

void G_MenuLabel::SetPurchased(bool purchased) {
  m_purchased = purchased ? 1 : 0;
  SetCurrentFrameIndex(purchased ? kFrameOwned : kFrameNotOwned, true);
  // An owned item's picture shows above the plate, an unowned one behind the glass of its window.
  if (m_image) m_image->SetZOrder(purchased ? 11.0f : 9.0f);
}

void G_MenuLabel::SetEquipped(bool equipped) {
  m_equipped = equipped ? 1 : 0;
  SetCurrentFrameIndex(equipped ? kFrameEquipped : (m_purchased != 0 ? kFrameOwned : kFrameNotOwned), true);
}
