#include "gui/Gui_Control.h"

#include <algorithm>
#include <cmath>

#include "core/Core_File.h"
#include "gui/Gui_Graphics.h"
#include "gui/Gui_HUD.h"
#include "gui/Gui_Paths.h"
#include "gui/Gui_RadioButton.h"
#include "input/Internal_Keyboard.h"
#include "input/Internal_Mouse.h"
#include "scene/Engine_BitmapFont.h"

namespace GUI {

namespace {

float g_depthCounter = 0.0f;
const Core::ClassRegistration g_controlRegistration("GUI::Control", &Control::Create);

constexpr int32_t kTabKey = 7;
constexpr int32_t kReturnKey = 9;

Input::MouseImp* Mouse() { return Input::Mouse::GetInstance(); }
bool MouseIsDown(uint32_t button) { return Mouse() != nullptr && Mouse()->IsDown(button); }
bool MouseIsUp(uint32_t button) { return Mouse() != nullptr && Mouse()->IsUp(button); }
bool MouseIsPressed(uint32_t button) { return Mouse() != nullptr && Mouse()->IsPressed(button); }
MouseEvent MouseEventAt(int32_t button, const Math::Vector2D& position) {
  MouseEvent event;
  event.button = button;
  event.position = position;
  return event;
}
bool KeyTriggered(int32_t key) {
  Input::KeyboardImp* keyboard = Input::Keyboard::GetInstance();
  return keyboard != nullptr && keyboard->IsTriggered(key);
}

template <typename T>
void EraseAll(std::vector<T>& list, const Control* control) {
  list.erase(std::remove_if(list.begin(), list.end(), [control](const T& entry) { return entry == control; }),
             list.end());
}

void WriteRectangle(Core::File& file, const NRectangle& rectangle) { rectangle.Save(file); }

// Controls whose user data names another control: cleared when that control is destroyed. Never
// freed, so a control that outlives the other globals can still take itself out.
std::vector<Control*>& UserControlHolders() {
  static auto* holders = new std::vector<Control*>();
  return *holders;
}

}  // namespace

float GetDepthCounter() { return g_depthCounter; }
void SetDepthCounter(float value) { g_depthCounter = value; }

Core::Object* Control::Create() { return new ("Gui_Control", __LINE__) Control(); }

Control::Control(const Math::Vector2D& position, const Math::Vector2D& size)
    : m_position(position),
      m_cursor(MakeArrowCursor()),
      m_stringContext(new ("Gui_Control", __LINE__) Engine::StringRenderContext()),
      m_width(size.x),
      m_height(size.y) {
  UpdateRectangles();
  m_depthKey = 0.0f;
}

Control::~Control() {
  // The root keeps plain pointers: a control that goes away must take itself out of them.
  if (HUD* hud = HUD::GetInstance()) hud->OnControlDestroyed(this);
  EraseAll(UserControlHolders(), this);
  for (Control* holder : UserControlHolders())
    if (holder->m_userControl == this) holder->m_userControl = nullptr;
  for (const auto& child : m_children)
    if (child && child->m_parent == this) child->m_parent = nullptr;
}

void Control::SetUserData(Core::Object* object) {
  m_userData.Reset();
  m_userControl = dynamic_cast<Control*>(object);
  if (m_userControl == nullptr) {
    m_userData = object;
    EraseAll(UserControlHolders(), this);
  } else if (std::find(UserControlHolders().begin(), UserControlHolders().end(), this) == UserControlHolders().end()) {
    UserControlHolders().push_back(this);
  }
}

Core::Object* Control::GetUserData() const {
  if (m_userControl != nullptr) return m_userControl;
  return m_userData.Get();
}

void Control::AddEventHandler(Event event, std::unique_ptr<EventHandler> handler) {
  const auto index = static_cast<uint32_t>(event);
  if (index < kEventCount && handler) m_handlers[index].push_back(std::move(handler));
}

void Control::RaiseEvent(Event event, const void* argument) {
  const auto index = static_cast<uint32_t>(event);
  if (index >= kEventCount) return;
  // A handler may add handlers to this very list; only those present now run.
  const size_t count = m_handlers[index].size();
  for (size_t i = 0; i < count && i < m_handlers[index].size(); ++i) m_handlers[index][i]->Invoke(this, argument);
}

Math::Vector2D Control::GetAbsolutePosition() const {
  if (m_parent == nullptr) return m_position;
  return m_parent->GetAbsolutePosition() + m_parent->GetClientOffset() + m_position;
}

bool Control::IsVisible() const { return m_visible != 0 && (m_parent == nullptr || m_parent->IsVisible()); }
bool Control::IsEnabled() const { return m_enabled != 0 && (m_parent == nullptr || m_parent->IsEnabled()); }

float Control::GetEffectiveOpacity() const {
  if (m_parent == nullptr) return m_opacity;
  const float parentOpacity = m_parent->GetEffectiveOpacity();
  return parentOpacity < 1.0f ? m_opacity * parentOpacity : m_opacity;
}

void Control::SetPosition(const Math::Vector2D& position) {
  m_position = position;
  for (const auto& child : m_children) child->UpdatePosition();
  m_rectangle = NRectangle(GetAbsolutePosition().x, GetAbsolutePosition().y, m_width, m_height);
  UpdateClientRectangle();
  UpdateVisibleRectangles();
  for (const auto& child : m_children) child->UpdateRectangles();
}

// The position is relative to the parent, so following the parent only recomputes what depends
// on the parent's place; the relative position itself stays.
void Control::UpdatePosition() { SetPosition(m_position); }

void Control::UpdateDepthKey() { m_depthKey = g_depthCounter; }

void Control::SetVisible(bool visible) {
  m_visible = visible ? 1 : 0;
  if (m_focused && m_enabled && m_parent != nullptr && m_parent->IsEnabled()) {
    if (m_parent->SelectNextTab()) m_parent->ApplyTabFocus();
  }
}

void Control::SetFont(const std::string& name) {
  if (name == m_fontName) return;
  m_fontName = name;
  m_font = Engine::GetFont(GetFontPath(name));
  OnFontChanged();
}

namespace {
void NotifyOpacity(Control* control) {
  control->OnOpacityChanged();
  for (const auto& child : control->GetChildren()) NotifyOpacity(child.Get());
}
void NotifyEnabled(Control* control) {
  control->OnEnabledChanged();
  for (const auto& child : control->GetChildren()) NotifyEnabled(child.Get());
}
}  // namespace

void Control::SetOpacity(float opacity) {
  if (opacity > 1.0f) opacity = 1.0f;
  if (!(opacity >= 0.0f)) opacity = 0.0f;  // NaN as well
  m_opacity = opacity;
  NotifyOpacity(this);
}

void Control::SetEnabled(bool enabled) {
  m_enabled = enabled ? 1 : 0;
  if (m_parent != nullptr && m_focused) {
    if (!(enabled && m_parent->IsEnabled())) {
      if (m_parent->SelectNextTab()) m_parent->ApplyTabFocus();
    }
  }
  NotifyEnabled(this);
}

void Control::OnClick() { RaiseEvent(Event::Click); }
void Control::OnDoubleClick() { RaiseEvent(Event::DoubleClick); }
void Control::RaiseThirdEvent() { RaiseEvent(Event::Third); }
void Control::OnSecondClick() { RaiseEvent(Event::SecondClick); }
void Control::OnSecondDoubleClick() { RaiseEvent(Event::SecondDoubleClick); }
void Control::OnMouseEnterEvent() { RaiseEvent(Event::MouseEnter); }
void Control::OnMouseHover() { RaiseEvent(Event::MouseHover); }
void Control::OnMouseLeaveEvent() { RaiseEvent(Event::MouseLeave); }
void Control::OnMouseMove(const MouseEvent& event) { RaiseEvent(Event::MouseMove, &event); }
void Control::OnMouseUp(const MouseEvent& event) { RaiseEvent(Event::MouseUp, &event); }
void Control::RaiseTwelfthEvent(const void* argument) { RaiseEvent(Event::Twelfth, argument); }
void Control::OnResize() { RaiseEvent(Event::Resize); }

void Control::OnMouseDown(const MouseEvent& event) {
  // A control that forwards its presses acts on its parent; without one it acts on itself.
  Control* target = (m_pressForwardsToParent && m_parent != nullptr) ? m_parent : this;
  HUD* hud = HUD::GetInstance();
  if (target->m_parent != nullptr) {
    Control* parent = target->m_parent;
    // Select the target's own place in the tab order (its tab index is only a sort key).
    const auto found = std::find(parent->m_tabOrder.begin(), parent->m_tabOrder.end(), target);
    if (found != parent->m_tabOrder.end() &&
        parent->SelectTab(static_cast<uint32_t>(found - parent->m_tabOrder.begin())))
      parent->ApplyTabFocus();
  } else if (!m_pressForwardsToParent && hud != nullptr && hud->GetKeyboardFocus() != nullptr) {
    hud->GetKeyboardFocus()->OnPressWithoutParent();
  }
  target->BringToFront();
  if (target->m_parent != nullptr)
    target->Focus();
  else
    target->FocusChild();
  RaiseEvent(Event::MouseDown, &event);
}

void Control::OnGotFocus() {
  if (!IsEnabled()) return;
  m_focused = 1;
  if (HUD* hud = HUD::GetInstance()) hud->SetKeyboardFocus(this);
}

void Control::OnLostFocus() {
  if (!IsEnabled()) return;
  m_focused = 0;
  HUD* hud = HUD::GetInstance();
  if (hud != nullptr && hud->GetKeyboardFocus() == this) hud->SetKeyboardFocus(nullptr);
}

bool Control::IsSelectable(const Control* control) {
  return control != nullptr && control->IsEnabled() && control->IsVisible();
}

void Control::TabToNext() {
  if (SelectNextTab()) ApplyTabFocus();
}

bool Control::SelectNextTab() {
  const auto count = static_cast<int32_t>(m_tabOrder.size());
  bool any = false;
  for (const auto& entry : m_tabOrder) any = any || IsSelectable(entry.Get());
  if (!any) return false;
  m_previousTab = m_currentTab;
  int32_t current = m_currentTab;
  do {
    current = (current + 1) % count;
  } while (!IsSelectable(m_tabOrder[static_cast<size_t>(current)].Get()));
  m_currentTab = current;
  return m_currentTab != m_previousTab;
}

bool Control::SelectTab(uint32_t index) {
  if (m_tabOrder.empty() || index >= m_tabOrder.size()) return false;
  if (static_cast<int32_t>(index) == m_currentTab) return false;
  if (!IsSelectable(m_tabOrder[index].Get())) return false;
  m_previousTab = m_currentTab;
  m_currentTab = static_cast<int32_t>(index);
  return true;
}

void Control::ApplyTabFocus() {
  if (m_tabOrder.empty() || m_currentTab < 0 || m_currentTab >= static_cast<int32_t>(m_tabOrder.size())) return;
  Control* current = m_tabOrder[static_cast<size_t>(m_currentTab)].Get();
  if (!IsSelectable(current)) return;
  if (m_previousTab != m_currentTab && m_previousTab >= 0 && m_previousTab < static_cast<int32_t>(m_tabOrder.size()))
    m_tabOrder[static_cast<size_t>(m_previousTab)]->OnLostFocus();
  current->OnGotFocus();
}

void Control::FocusFirstTab() {
  for (size_t i = 0; i < m_tabOrder.size(); ++i) {
    if (!IsSelectable(m_tabOrder[i].Get())) continue;
    m_currentTab = m_previousTab = static_cast<int32_t>(i);
    m_tabOrder[i]->OnGotFocus();
    return;
  }
}

void Control::SetSize(const Math::Vector2D& size) {
  m_width = size.x;
  m_height = size.y;
  OnResize();
}

void Control::SetWidth(float width) {
  m_width = width;
  OnResize();
}

void Control::SetHeight(float height) {
  m_height = height;
  OnResize();
}

void Control::SetSkin(const std::string& name) {
  if (name == m_skinName) return;
  m_skinName = name;
  OnSkinChanged();
}

void Control::SortTabOrder() {
  std::sort(m_tabOrder.begin(), m_tabOrder.end(),
            [](const Core::SmartPointer<Control>& a, const Core::SmartPointer<Control>& b) {
              return a->m_tabIndex < b->m_tabIndex;
            });
}

void Control::SetTabStop(bool on) {
  const uint8_t value = on ? 1 : 0;
  if (value == m_tabStop) return;
  m_tabStop = value;
  if (m_parent == nullptr) return;
  if (value)
    m_parent->m_tabOrder.push_back(this);
  else
    EraseAll(m_parent->m_tabOrder, this);
  m_parent->SortTabOrder();
}

void Control::AddControl(const Core::SmartPointer<Control>& child) {
  if (!child || child.Get() == this) return;
  // Closed but not yet dropped by this parent: adding it again takes the removal back.
  auto pending = std::find(m_pendingRemovals.begin(), m_pendingRemovals.end(), child.Get());
  if (child->m_parent == this && pending != m_pendingRemovals.end()) {
    EraseAll(m_pendingRemovals, child.Get());
    child->RegisterTree();
    return;
  }
  // A control lives in one parent: a second add would leave it in two child lists.
  if (child->m_parent != nullptr) return;
  child->m_parent = this;
  m_children.push_back(child);
  if (child->m_tabStop) m_tabOrder.push_back(child);
  SortTabOrder();
  child->UpdatePosition();
  m_lastAddedChild = child.Get();
  m_refocusPending = 1;
  // A control closed earlier comes back with its whole subtree, or its children would be drawn
  // but never hovered or clicked.
  child->RegisterTree();
}

Control* Control::GetControl(uint32_t index) const {
  return index < m_children.size() ? m_children[index].Get() : nullptr;
}

Control* Control::GetControl(const std::string& name) const {
  for (const auto& child : m_children)
    if (child->m_name == name) return child.Get();
  return nullptr;
}

void Control::UpdateRectangles() {
  const Math::Vector2D absolute = GetAbsolutePosition();
  m_rectangle = NRectangle(absolute.x, absolute.y, m_width, m_height);
  UpdateClientRectangle();
  UpdateVisibleRectangles();
  for (const auto& child : m_children) child->UpdateRectangles();
}

void Control::UpdateVisibleRectangles() {
  m_visibleRectangle = m_rectangle;
  m_visibleClientRectangle = m_clientRectangle;
  if (m_clipMode == 0 || m_parent == nullptr) return;
  const NRectangle clip =
      m_clipMode == 2 ? m_parent->m_visibleClientRectangle : m_parent->m_visibleRectangle;
  if (!NRectangle::Intersect(m_visibleRectangle, clip, m_rectangle)) m_visibleRectangle = NRectangle();
  if (!NRectangle::Intersect(m_visibleClientRectangle, clip, m_clientRectangle)) m_visibleClientRectangle = NRectangle();
}

NRectangle Control::GetClipRectangle() const {
  if (m_parent == nullptr) return GetScreenRectangle();
  return m_clipMode == 2 ? m_parent->m_visibleClientRectangle : m_parent->m_visibleRectangle;
}

bool Control::HitTest() const {
  if (!IsVisible()) return false;
  const Math::Vector2D mouse = GetMousePosition();
  const Math::Vector2D absolute = GetAbsolutePosition();
  const NRectangle test(absolute.x, absolute.y, m_width, m_height);
  if (m_parent == nullptr || m_clipMode == 0) return test.Contains(mouse.x, mouse.y);
  NRectangle clipped;
  const NRectangle& clip = m_clipMode == 2 ? m_parent->m_visibleClientRectangle : m_parent->m_visibleRectangle;
  if (!NRectangle::Intersect(clipped, test, clip)) return false;
  return clipped.Contains(mouse.x, mouse.y);
}

void Control::Focus() {
  if (!IsEnabled() || !IsVisible()) return;
  if (HUD* hud = HUD::GetInstance()) hud->SetActiveControl(this);
  if (m_parent != nullptr) m_parent->m_focusedChild = this;
}

void Control::FocusChild() {
  if (m_focusedChild == nullptr) return;
  const bool isChild = std::find(m_children.begin(), m_children.end(), m_focusedChild) != m_children.end();
  if (!isChild) {
    m_focusedChild = nullptr;
    return;
  }
  if (IsSelectable(m_focusedChild)) m_focusedChild->Focus();
}

void Control::BringToFront() {
  Control* root = this;
  while (root->m_parent != nullptr) root = root->m_parent;
  HUD* hud = HUD::GetInstance();
  if (hud == nullptr || hud->GetFocusedControl() == root) return;
  if (hud->GetTopmostActiveForm() != nullptr) hud->SetFormToFront(root);
  if (Control* previous = hud->GetFocusedControl()) previous->OnLostFocus();
  hud->SetFocusedControl(root);
  root->OnGotFocus();
}

void Control::RegisterTree() {
  HUD* hud = HUD::GetInstance();
  if (hud == nullptr) return;
  hud->RegisterControl(this);
  for (const auto& child : m_children) child->RegisterTree();
}

void Control::UnregisterTree() {
  for (const auto& child : m_children) child->UnregisterTree();
  if (HUD* hud = HUD::GetInstance()) hud->UnregisterControl(this);
}

void Control::Close() {
  HUD* hud = HUD::GetInstance();
  // Descendants first, then the control; children stay owned by it so they go with it.
  for (const auto& child : m_children) child->UnregisterTree();
  if (hud != nullptr) hud->UnregisterControl(this);
  if (m_parent != nullptr) {
    m_parent->m_pendingRemovals.push_back(this);
    if (hud != nullptr) hud->ForgetControl(this);
  } else if (hud != nullptr) {
    hud->RemoveForm(this);
  }
  if (hud != nullptr) hud->ForgetControl(this);
}

void Control::RequestClose() {
  if (HUD* hud = HUD::GetInstance()) hud->QueueClose(this);
}

void Control::ResetDepthKeys() {
  m_depthKey = 0.0f;
  for (const auto& child : m_children) child->ResetDepthKeys();
}

bool Control::IsUnderMouse() const {
  HUD* hud = HUD::GetInstance();
  return hud != nullptr && hud->GetControlUnderMouse() == this;
}

bool Control::HoldsFocus() const {
  HUD* hud = HUD::GetInstance();
  return hud != nullptr && hud->GetFocusedControl() == this;
}

Math::Vector2D Control::GetMousePosition() { return GUI::GetMousePosition(); }

void Control::SetMousePosition(const Math::Vector2D& position) {
  // Saves and scripts hand positions in: one no pixel can hold is not a place to move to.
  constexpr float kLimit = 1.0e9f;
  if (!(std::fabs(position.x) <= kLimit && std::fabs(position.y) <= kLimit)) return;
  if (Input::MouseImp* mouse = Mouse())
    mouse->SetPosition(static_cast<int32_t>(position.x), static_cast<int32_t>(position.y));
}

bool Control::ModalBlocks() const {
  HUD* hud = HUD::GetInstance();
  const Control* modal = hud != nullptr ? hud->GetModalForm() : nullptr;
  if (modal == nullptr) return false;
  // Anything inside the modal form, at any depth, is not blocked by it.
  for (const Control* control = this; control != nullptr; control = control->m_parent)
    if (control == modal) return false;
  return true;
}

void Control::Update(float deltaTime) {
  HUD* hud = HUD::GetInstance();
  // Keeps this control alive through handlers that close or drop it.
  Core::SmartPointer<Control> self(this);
  BringAskedChildToFront();
  g_depthCounter += 1.0f;
  UpdateDepthKey();
  DropPendingChildren(hud);
  RefocusIfAsked();
  Control* underMouse = hud != nullptr ? hud->GetControlUnderMouse() : nullptr;
  TrackMouseOver(underMouse);
  if (m_parent == nullptr && HoldsFocus() && KeyTriggered(kTabKey)) TabToNext();
  const bool blocked = ModalBlocks();
  if (!blocked && m_focused && m_keyboardActivation && KeyTriggered(kReturnKey)) OnClick();
  AnswerPointer(hud, underMouse, blocked);
  RunClickTimer(deltaTime);
  AnswerRelease(hud);
  m_previousMousePosition = m_mousePosition;
  OnUpdate(deltaTime);
  UpdateChildren(deltaTime);
  Draw(deltaTime);
}

void Control::BringAskedChildToFront() {
  if (!m_childToFront) return;
  auto found = std::find(m_children.begin(), m_children.end(), m_childToFront.Get());
  if (found != m_children.end()) {
    Core::SmartPointer<Control> child = *found;
    m_children.erase(found);
    m_children.push_back(child);
  }
  m_childToFront.Reset();
}

void Control::DropPendingChildren(HUD* hud) {
  if (m_pendingRemovals.empty()) return;
  std::vector<Core::SmartPointer<Control>> removals;
  removals.swap(m_pendingRemovals);
  for (const auto& entry : removals) {
    if (entry.Get() == this) continue;
    EraseAll(m_children, entry.Get());
    EraseAll(m_tabOrder, entry.Get());
    SortTabOrder();
    if (m_focusedChild == entry.Get()) m_focusedChild = nullptr;
    if (m_lastAddedChild == entry.Get()) m_lastAddedChild = nullptr;
    m_currentTab = m_previousTab = -1;
    if (entry->m_parent == this) entry->m_parent = nullptr;
    if (hud != nullptr) hud->UnregisterControl(entry.Get());
  }
}

void Control::RefocusIfAsked() {
  if (!m_refocusPending) return;
  FocusFirstTab();
  std::vector<RadioButton*> radios;
  for (const auto& child : m_children)
    if (auto* radio = dynamic_cast<RadioButton*>(child.Get())) radios.push_back(radio);
  bool anyChecked = false;
  for (RadioButton* radio : radios) anyChecked = anyChecked || radio->IsChecked();
  if (!anyChecked) {
    for (RadioButton* radio : radios) {
      if (radio->IsEnabled()) {
        radio->SetChecked(true);
        break;
      }
    }
  }
  m_refocusPending = 0;
}

void Control::TrackMouseOver(const Control* underMouse) {
  bool over = underMouse == this;
  if (over && IsVisible()) {
    for (const auto& child : m_children)
      if (child.Get() == underMouse) over = false;
  }
  m_mouseOver = over ? 1 : 0;
  m_mousePosition = GetMousePosition();
}

void Control::AnswerPointer(HUD* hud, const Control* underMouse, bool blocked) {
  Control* pressed = hud != nullptr ? hud->GetPressedControl() : nullptr;
  const bool active = underMouse == this && (pressed == nullptr || pressed == this);
  if (active) {
    if (!blocked && IsEnabled() && m_mouseOver) {
      if (CursorManager* manager = CursorManager::GetInstance()) manager->SetCursor(m_cursor);
    }
    if (m_mouseOver && !m_mouseInside && !blocked) {
      m_mouseInside = 1;
      OnMouseEnterEvent();
    }
  }
  if (!blocked && !m_mouseOver && m_mouseInside) {
    m_mouseInside = 0;
    OnMouseLeaveEvent();
  }
  if (!active) return;
  if (!blocked && m_mouseOver && m_mousePosition == m_previousMousePosition) OnMouseHover();
  if (!blocked && m_mouseOver && m_mousePosition != m_previousMousePosition) {
    OnMouseMove(MouseEventAt(MouseIsPressed(0) ? 0 : MouseIsDown(2) ? 2 : MouseIsDown(1) ? 1 : 3, m_mousePosition));
  }
  if (m_mouseOver && (MouseIsDown(0) || MouseIsDown(1) || MouseIsDown(2))) {
    if (blocked) {
      hud->FlashModalForm();
    } else {
      m_pressed = 1;
      OnMouseDown(MouseEventAt(MouseIsDown(0) ? 0 : MouseIsDown(1) ? 1 : 2, m_mousePosition));
    }
  }
}

void Control::RunClickTimer(float deltaTime) {
  if (m_clickTimer > m_doubleClickMax) {
    m_clickTimerRunning = 0;
    m_clickTimer = 0.0f;
  } else if (m_clickTimerRunning) {
    m_clickTimer += deltaTime;
  }
}

void Control::AnswerRelease(HUD* hud) {
  if (hud == nullptr || hud->GetPressedControl() != this || ModalBlocks() || !m_pressed ||
      !(MouseIsUp(0) || MouseIsUp(1) || MouseIsUp(2))) {
    return;
  }
  m_pressed = 0;
  if (m_mouseInside) {
    if (m_clickTimerRunning && m_doubleClickMin <= m_clickTimer && m_clickTimer <= m_doubleClickMax) {
      m_clickTimerRunning = 0;
      OnDoubleClick();
      OnSecondDoubleClick();
    } else {
      m_clickTimerRunning = 1;
      OnClick();
      OnSecondClick();
    }
    m_clickTimer = 0.0f;
  }
  OnMouseUp(MouseEventAt(MouseIsUp(0) ? 0 : MouseIsUp(1) ? 1 : 2, m_mousePosition));
}

void Control::UpdateChildren(float deltaTime) {
  // Handlers may add or drop children while they update: walk a snapshot.
  const std::vector<Core::SmartPointer<Control>> children = m_children;
  for (const auto& child : children)
    if (child->m_parent == this) child->Update(deltaTime);
}

void Control::Save(Core::File& file) {
  Math::WriteVector2D(file, m_position);
  WriteRectangle(file, m_rectangle);
  WriteRectangle(file, m_clientRectangle);
  WriteRectangle(file, m_visibleRectangle);
  WriteRectangle(file, m_visibleClientRectangle);
  Core::WriteObjectVector(file, m_children);
  Core::WriteObjectVector(file, m_pendingRemovals);
  file.WriteObject(m_parent);
  file.WriteObject(m_lastAddedChild);
  file.WriteObject(m_focusedChild);
  file << m_name;
  file.WriteObject(m_cursor.Get());
  Math::WriteColor(file, m_modulationColor);
  Math::WriteColor(file, m_textModulationColor);
  Core::WriteValue(file, m_opacity);
  Core::WriteValue(file, m_visible);
  Core::WriteValue(file, m_enabled);
  Core::WriteValue(file, m_tabStop);
  Core::WriteValue(file, m_focused);
  Core::WriteValue(file, m_refocusPending);
  Core::WriteValue(file, m_tabIndex);
  file << m_text << m_fontName << m_skinName;
  Core::WriteValue(file, m_depthKey);
  Core::WriteValue(file, m_clipMode);
  Core::WriteValue(file, m_currentTab);
  Core::WriteValue(file, m_previousTab);
  file.WriteObject(GetUserData());
  Core::WriteObjectVector(file, m_tabOrder);
  Core::WriteValue(file, m_width);
  Core::WriteValue(file, m_height);
  Math::WriteVector2D(file, m_previousMousePosition);
  Core::WriteValue(file, m_mouseInside);
  Core::WriteValue(file, m_pressed);
  Core::WriteValue(file, m_pressForwardsToParent);
  Core::WriteValue(file, m_clickTimerRunning);
  Core::WriteValue(file, m_doubleClickMin);
  Core::WriteValue(file, m_doubleClickMax);
  Core::WriteValue(file, m_clickTimer);
  Core::WriteValue(file, m_keyboardActivation);
  Core::WriteValue(file, m_mouseOver);
  Math::WriteVector2D(file, m_mousePosition);
  file.WriteObject(m_childToFront.Get());
}

Core::Object* ReadPlainObject(Core::File& file) {
  Core::Object* object = file.ReadObject();
  if (object != nullptr && file.LastReadCreatedObject() && object->GetReferenceCount() == 0) {
    file.DiscardCreatedObject(object);
    return nullptr;
  }
  return object;
}

namespace {

Control* FindChild(const std::vector<Core::SmartPointer<Control>>& children, const Core::Object* object) {
  for (const auto& child : children)
    if (child.Get() == object) return child.Get();
  return nullptr;
}

// Children are first met in their parent's list: a control the stream names again there (an
// ancestor, a control of another branch) would make a cycle or a second owner, and is dropped.
void ReadOwnedChildren(Core::File& file, std::vector<Core::SmartPointer<Control>>& children) {
  children.clear();
  uint32_t count = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(count, 1)) count = 0;
  for (uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
    Core::Object* object = file.ReadObject();
    if (object == nullptr) continue;
    const bool created = file.LastReadCreatedObject();
    auto* control = dynamic_cast<Control*>(object);
    if (created && control != nullptr && control->GetReferenceCount() == 0) {
      children.push_back(control);
    } else if (created) {
      file.DiscardCreatedObject(object);
    }
  }
}

// A list of plain references that may only name the control's own children.
void ReadChildReferences(Core::File& file, const std::vector<Core::SmartPointer<Control>>& children,
                         std::vector<Core::SmartPointer<Control>>& list) {
  list.clear();
  uint32_t count = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(count, 1)) count = 0;
  for (uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
    Control* child = FindChild(children, ReadPlainObject(file));
    if (child != nullptr && std::find(list.begin(), list.end(), child) == list.end()) list.push_back(child);
  }
}
}  // namespace

void Control::Load(Core::File& file) {
  Math::ReadVector2D(file, m_position);
  m_rectangle.Load(file);
  m_clientRectangle.Load(file);
  m_visibleRectangle.Load(file);
  m_visibleClientRectangle.Load(file);
  ReadOwnedChildren(file, m_children);
  ReadChildReferences(file, m_children, m_pendingRemovals);
  for (const auto& child : m_children) child->m_parent = this;
  // The parent is whoever holds this control in its children list: it sets the link itself.
  ReadPlainObject(file);
  m_lastAddedChild = FindChild(m_children, ReadPlainObject(file));
  m_focusedChild = FindChild(m_children, ReadPlainObject(file));
  file >> m_name;
  Core::ReadObjectPointer(file, m_cursor);
  if (!m_cursor) m_cursor = MakeArrowCursor();
  Math::ReadColor(file, m_modulationColor);
  Math::ReadColor(file, m_textModulationColor);
  Core::ReadValue(file, m_opacity);
  Core::ReadValue(file, m_visible);
  Core::ReadValue(file, m_enabled);
  Core::ReadValue(file, m_tabStop);
  Core::ReadValue(file, m_focused);
  Core::ReadValue(file, m_refocusPending);
  Core::ReadValue(file, m_tabIndex);
  file >> m_text >> m_fontName >> m_skinName;
  Core::ReadValue(file, m_depthKey);
  Core::ReadValue(file, m_clipMode);
  Core::ReadValue(file, m_currentTab);
  Core::ReadValue(file, m_previousTab);
  // userData is the script's business; a control read here may be half-built or owned by nobody.
  SetUserData(nullptr);
  if (Core::Object* data = file.ReadObject()) {
    if (dynamic_cast<Control*>(data) == nullptr)
      SetUserData(data);
    else if (file.LastReadCreatedObject())
      file.DiscardCreatedObject(data);
  }
  ReadChildReferences(file, m_children, m_tabOrder);
  if (m_currentTab >= static_cast<int32_t>(m_tabOrder.size()) || m_currentTab < -1) m_currentTab = -1;
  if (m_previousTab >= static_cast<int32_t>(m_tabOrder.size()) || m_previousTab < -1) m_previousTab = -1;
  Core::ReadValue(file, m_width);
  Core::ReadValue(file, m_height);
  Math::ReadVector2D(file, m_previousMousePosition);
  Core::ReadValue(file, m_mouseInside);
  Core::ReadValue(file, m_pressed);
  Core::ReadValue(file, m_pressForwardsToParent);
  Core::ReadValue(file, m_clickTimerRunning);
  Core::ReadValue(file, m_doubleClickMin);
  Core::ReadValue(file, m_doubleClickMax);
  Core::ReadValue(file, m_clickTimer);
  Core::ReadValue(file, m_keyboardActivation);
  Core::ReadValue(file, m_mouseOver);
  Math::ReadVector2D(file, m_mousePosition);
  m_childToFront = FindChild(m_children, ReadPlainObject(file));
  m_font = m_fontName.empty() ? nullptr : Engine::GetFont(GetFontPath(m_fontName));
}

}  // namespace GUI
