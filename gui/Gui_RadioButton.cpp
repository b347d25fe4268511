#include "gui/Gui_RadioButton.h"

#include "core/Core_File.h"
#include "gui/Gui_HUD.h"
#include "gui/Gui_Paths.h"

namespace GUI {

namespace {
const Core::ClassRegistration g_radioRegistration("GUI::RadioButton", &RadioButton::Create);

bool Loading() {
  HUD* hud = HUD::GetInstance();
  return hud != nullptr && hud->IsLoading();
}
}  // namespace

Core::Object* RadioButton::Create() { return new ("Gui_RadioButton", __LINE__) RadioButton(); }

RadioButton::RadioButton() : Control(Math::Vector2D(0.0f, 0.0f), Math::Vector2D(64.0f, 64.0f)) {
  if (Loading()) return;
  m_checked = 0;
  m_width = 13.0f;
  m_height = 13.0f;
  UpdateRectangles();
  m_skin = new ("Gui_RadioButton", __LINE__) GuiImage(GetSkinPath("DefaultRadioButtonSkin"), Size{13.0f, 13.0f});
  m_skin->SetPosition(Math::Vector2D(0.0f, 0.0f));
  ShowLookForFlags();
}

RadioButton::~RadioButton() = default;

void RadioButton::ShowLook(uint32_t look) {
  if (m_skin) m_skin->SetRecordIndex(look + (m_checked ? kCheckedOffset : 0));
}

void RadioButton::ShowLookForFlags() {
  if (m_focused)
    ShowLook(FocusedLook);
  else if (IsEnabled())
    ShowLook(NormalLook);
  else
    ShowLook(DisabledLook);
}

void RadioButton::SetPosition(const Math::Vector2D& position) {
  Control::SetPosition(position);
  if (m_skin) m_skin->SetPosition(GetAbsolutePosition());
}

void RadioButton::SetVisible(bool visible) {
  Control::SetVisible(visible);
  if (m_skin) m_skin->SetVisible(visible);
}

void RadioButton::SetModulationColor(const Math::Color& color) {
  Control::SetModulationColor(color);
  if (m_skin) m_skin->SetColor(color);
}

void RadioButton::OnClick() {
  if (!IsEnabled()) return;
  SetChecked(true);
  Control::OnClick();
}
void RadioButton::RaiseThirdEvent() {
  if (IsEnabled()) Control::RaiseThirdEvent();
}
void RadioButton::OnSecondClick() {
  if (IsEnabled()) Control::OnSecondClick();
}
void RadioButton::OnSecondDoubleClick() {
  if (IsEnabled()) Control::OnSecondDoubleClick();
}
void RadioButton::OnMouseHover() {
  if (IsEnabled()) Control::OnMouseHover();
}
void RadioButton::OnMouseMove(const MouseEvent& event) {
  if (IsEnabled()) Control::OnMouseMove(event);
}

void RadioButton::OnMouseEnterEvent() {
  if (!IsEnabled()) return;
  ShowLook(MouseInsideLook);
  Control::OnMouseEnterEvent();
}

void RadioButton::OnMouseLeaveEvent() {
  if (!IsEnabled()) return;
  ShowLook(m_focused ? FocusedLook : NormalLook);
  Control::OnMouseLeaveEvent();
}

void RadioButton::OnMouseUp(const MouseEvent& event) {
  if (!IsEnabled()) return;
  ShowLook(MouseInsideLook);
  Control::OnMouseUp(event);
}

void RadioButton::OnMouseDown(const MouseEvent& event) {
  if (!IsEnabled()) return;
  ShowLook(MouseDownLook);
  Control::OnMouseDown(event);
}

void RadioButton::OnResize() {
  if (m_skin) {
    m_skin->SetWidth(m_width);
    m_skin->SetHeight(m_height);
  }
  Control::OnResize();
}

void RadioButton::OnSkinChanged() {
  if (m_skin) m_skin = m_skin->CloneWithSkin(GetSkinPath(m_skinName));
  if (m_skin) m_skin->SetPosition(GetAbsolutePosition());
}

void RadioButton::Draw(float) {
  if (!IsVisible() || !m_skin) return;
  m_skin->SetDepth(m_depthKey);
  m_skin->Draw(GetClipRectangle());
}

void RadioButton::UpdatePosition() {
  if (m_skin) m_skin->SetPosition(GetAbsolutePosition());
  for (const auto& child : m_children) child->UpdatePosition();
}

void RadioButton::OnEnabledChanged() { ShowLook(IsEnabled() ? NormalLook : DisabledLook); }

void RadioButton::OnOpacityChanged() {
  if (m_skin) m_skin->SetOpacity(GetEffectiveOpacity());
}

void RadioButton::OnGotFocus() {
  if (!IsEnabled()) return;
  Control::OnGotFocus();
  ShowLook(FocusedLook);
}

void RadioButton::OnLostFocus() {
  if (!IsEnabled()) return;
  Control::OnLostFocus();
  ShowLook(NormalLook);
}

void RadioButton::OnCheckedChanged() {
  const size_t count = m_checkedChangedHandlers.size();
  for (size_t i = 0; i < count && i < m_checkedChangedHandlers.size(); ++i)
    m_checkedChangedHandlers[i]->Invoke(this, nullptr);
}

void RadioButton::SetChecked(bool checked) {
  if (!m_checked && checked) {
    m_checked = 1;
    OnCheckedChanged();
    if (m_parent != nullptr) {
      const std::vector<Core::SmartPointer<Control>> siblings = m_parent->GetChildren();
      for (const auto& sibling : siblings) {
        auto* radio = dynamic_cast<RadioButton*>(sibling.Get());
        if (radio != nullptr && radio != this && radio->m_checked) radio->SetChecked(false);
      }
    }
  } else {
    m_checked = checked ? 1 : 0;
  }
  ShowLookForFlags();
}

void RadioButton::Save(Core::File& file) {
  Control::Save(file);
  file.WriteObject(m_skin.Get());
  Core::WriteValue(file, m_checked);
}

void RadioButton::Load(Core::File& file) {
  Control::Load(file);
  Core::ReadObjectPointer(file, m_skin);
  Core::ReadValue(file, m_checked);
}

}  // namespace GUI
