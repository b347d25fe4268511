#include "gui/Gui_Button.h"

#include <algorithm>

#include "core/Core_File.h"
#include "gui/Gui_HUD.h"
#include "gui/Gui_Paths.h"
#include "input/Internal_Mouse.h"
#include "renderer/Renderer_ITexture.h"
#include "scene/Engine_BitmapFont.h"
#include "scene/Engine_TextureSource.h"

namespace GUI {

namespace {
const Core::ClassRegistration g_buttonRegistration("GUI::Button", &Button::Create);
const Math::Color kDisabledTextColor(172.0f / 255.0f, 168.0f / 255.0f, 153.0f / 255.0f, 1.0f);

bool Loading() {
  HUD* hud = HUD::GetInstance();
  return hud != nullptr && hud->IsLoading();
}
}  // namespace

Core::Object* Button::Create() { return new ("Gui_Button", __LINE__) Button(); }

Button::Button() : Control(Math::Vector2D(0.0f, 0.0f), Math::Vector2D(64.0f, 64.0f)) {
  if (Loading()) return;
  SetFont("DefaultFont");
  m_skinName = "DefaultButtonSkin";
  m_skin = new ("Gui_Button", __LINE__) GuiImage(GetSkinPath(m_skinName), Size{75.0f, 25.0f});
  m_skin->SetPosition(Math::Vector2D(0.0f, 0.0f));
  m_state = m_focused ? Focused : Normal;
  m_arrowTexture = Engine::LoadTexture(GetOverlayPath("ComboDown.png"), true);
  m_arrowDisabledTexture = Engine::LoadTexture(GetOverlayPath("ComboDownDisabled.png"), true);
  m_arrowContext = new ("Gui_Button", __LINE__) Engine::TextRenderContext();
}

Button::~Button() = default;

void Button::SetPosition(const Math::Vector2D& position) {
  Control::SetPosition(position);
  // The skin is drawn in screen space: it follows the absolute place, also inside a parent.
  if (m_skin) m_skin->SetPosition(GetAbsolutePosition());
}

void Button::SetVisible(bool visible) {
  Control::SetVisible(visible);
  if (m_skin) m_skin->SetVisible(visible);
}

void Button::SetModulationColor(const Math::Color& color) {
  Control::SetModulationColor(color);
  if (m_skin) m_skin->SetColor(color);
}

void Button::OnClick() {
  if (IsEnabled()) Control::OnClick();
}
void Button::RaiseThirdEvent() {
  if (IsEnabled()) Control::RaiseThirdEvent();
}
void Button::OnSecondClick() {
  if (IsEnabled()) Control::OnSecondClick();
}
void Button::OnSecondDoubleClick() {
  if (IsEnabled()) Control::OnSecondDoubleClick();
}
void Button::OnMouseHover() {
  if (IsEnabled()) Control::OnMouseHover();
}
void Button::OnMouseMove(const MouseEvent& event) {
  if (IsEnabled()) Control::OnMouseMove(event);
}

void Button::OnMouseEnterEvent() {
  if (!IsEnabled()) return;
  m_state = Hover;
  Control::OnMouseEnterEvent();
}

void Button::OnMouseLeaveEvent() {
  if (!IsEnabled()) return;
  m_state = m_focused ? Focused : Normal;
  Control::OnMouseLeaveEvent();
}

void Button::OnMouseUp(const MouseEvent& event) {
  if (!IsEnabled()) return;
  m_state = Hover;
  Control::OnMouseUp(event);
}

void Button::OnMouseDown(const MouseEvent& event) {
  if (!IsEnabled()) return;
  m_state = Down;
  Control::OnMouseDown(event);
}

void Button::OnResize() {
  if (m_skin) {
    m_skin->SetWidth(m_width);
    m_skin->SetHeight(m_height);
  }
  Control::OnResize();
}

void Button::OnSkinChanged() {
  if (m_skin) m_skin = m_skin->CloneWithSkin(GetSkinPath(m_skinName));
  if (m_skin) m_skin->SetPosition(GetAbsolutePosition());
}

void Button::UpdatePosition() {
  if (m_skin) m_skin->SetPosition(GetAbsolutePosition());
  for (const auto& child : m_children) child->UpdatePosition();
}

void Button::OnEnabledChanged() { m_state = IsEnabled() ? Normal : Disabled; }

void Button::OnOpacityChanged() {
  if (m_skin) m_skin->SetOpacity(GetEffectiveOpacity());
}

void Button::OnGotFocus() {
  if (!IsEnabled()) return;
  Control::OnGotFocus();
  Input::MouseImp* mouse = Input::Mouse::GetInstance();
  const bool heldOver = IsUnderMouse() && mouse != nullptr && mouse->IsPressed(0);
  if (!heldOver) m_state = Focused;
}

void Button::OnLostFocus() {
  if (!IsEnabled()) return;
  Control::OnLostFocus();
  m_state = Normal;
}

uint32_t Button::GetRecordOfState(uint32_t state) const {
  switch (state) {
    case Down: return m_downRecord;
    case Hover: return m_hoverRecord;
    case Disabled: return m_disabledRecord;
    case Focused: return m_focusedRecord;
    default: return m_normalRecord;
  }
}

void Button::ApplyStateImage() {
  if (m_skin) m_skin->SetRecordIndex(GetRecordOfState(m_state));
}

void Button::RefreshSkin() {
  ApplyStateImage();
  if (!m_skin) return;
  m_skin->PlaceParts();
  m_skin->Layout();
}

void Button::Draw(float) {
  if (!IsVisible() || !m_skin) return;
  Graphics* graphics = Graphics::GetInstance();
  ApplyStateImage();
  m_skin->SetDepth(m_depthKey);
  const NRectangle clip = GetClipRectangle();
  m_skin->Draw(clip);
  if (graphics == nullptr) return;

  if (!m_text.empty() && m_font) {
    graphics->Reset();
    graphics->SetOpacity(GetEffectiveOpacity());
    const TRectangle& centre = m_skin->GetPart(4);
    NRectangle textClip;
    NRectangle::Intersect(textClip, centre, clip);
    graphics->SetClipRectangle(textClip);
    graphics->SetColor(IsEnabled() ? m_textModulationColor : kDisabledTextColor);
    graphics->SetDepth(m_depthKey + 0.1f);
    float textWidth = 0.0f, textHeight = 0.0f;
    m_font->MeasureText(m_text, textWidth, textHeight);
    const float dx = centre.width - textWidth;
    const float dy = centre.height - static_cast<float>(m_font->GetLineHeight());
    float x = centre.left, y = centre.bottom;
    if (dx > 0.0f) x = centre.left + dx * 0.5f;
    if (dy > 0.0f) y = centre.bottom + dy * 0.5f;
    x += 2.0f;
    graphics->PrepareString(m_stringContext, x, y, m_text, m_font);
    graphics->DrawString(m_stringContext);
  }

  if (m_pressForwardsToParent && m_arrowContext) {
    graphics->Reset();
    graphics->SetOpacity(GetEffectiveOpacity());
    graphics->SetClipRectangle(clip);
    graphics->SetDepth(m_depthKey + 0.01f);
    graphics->SetSecondEffect(true);
    graphics->SetColor(m_modulationColor);
    float side = std::min(m_width, m_height);
    if (m_arrowTexture) side = std::min(side, static_cast<float>(m_arrowTexture->GetWidth()));
    const Math::Vector2D absolute = GetAbsolutePosition();
    const TRectangle arrow(absolute.x + (m_width - side) * 0.5f, absolute.y + (m_height - side) * 0.5f, side, side);
    graphics->PrepareImage(m_arrowContext, arrow, IsEnabled() ? m_arrowTexture : m_arrowDisabledTexture);
    graphics->DrawImage(m_arrowContext);
  }
}

void Button::Save(Core::File& file) {
  Control::Save(file);
  const uint32_t values[6] = {m_normalRecord, m_downRecord, m_hoverRecord, m_disabledRecord, m_focusedRecord, m_state};
  for (uint32_t value : values) Core::WriteValue(file, value);
  file.WriteObject(m_skin.Get());
}

void Button::Load(Core::File& file) {
  Control::Load(file);
  uint32_t* values[6] = {&m_normalRecord, &m_downRecord, &m_hoverRecord, &m_disabledRecord, &m_focusedRecord, &m_state};
  for (uint32_t* value : values) Core::ReadValue(file, *value);
  Core::ReadObjectPointer(file, m_skin);
  m_arrowTexture = Engine::LoadTexture(GetOverlayPath("ComboDown.png"), true);
  m_arrowDisabledTexture = Engine::LoadTexture(GetOverlayPath("ComboDownDisabled.png"), true);
  m_arrowContext = new ("Gui_Button", __LINE__) Engine::TextRenderContext();
}

}  // namespace GUI
