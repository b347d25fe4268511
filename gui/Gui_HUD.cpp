#include "gui/Gui_HUD.h"

#include <algorithm>
#include <cmath>

#include "core/Core_File.h"
#include "gui/Gui_Control.h"
#include "gui/Gui_Form.h"
#include "input/Internal_Mouse.h"
#include "scene/Engine_RenderQueue.h"

namespace GUI {

namespace {

HUD* g_hud = nullptr;

template <typename T>
void EraseAll(std::vector<T>& list, const Control* control) {
  list.erase(std::remove_if(list.begin(), list.end(),
                            [control](const T& entry) { return static_cast<const Control*>(&*entry) == control; }),
             list.end());
}

void ShowSystemCursor(bool show) {
  if (Input::MouseImp* mouse = Input::Mouse::GetInstance()) mouse->ShowCursor(show);
}

bool CompareDepth(const Control* a, const Control* b) { return a->GetDepthKey() < b->GetDepthKey(); }

void RegisterTree(HUD& hud, Control* control) {
  hud.RegisterControl(control);
  for (const auto& child : control->GetChildren()) RegisterTree(hud, child.Get());
}

void UnregisterDescendants(HUD& hud, Control* control) {
  for (const auto& child : control->GetChildren()) {
    UnregisterDescendants(hud, child.Get());
    hud.UnregisterControl(child.Get());
  }
}

}  // namespace

HUD::HUD() : m_graphics(new Graphics()), m_cursorManager(new ("Gui_HUD", __LINE__) CursorManager()) {
  g_hud = this;
  Graphics::SetInstance(m_graphics.get());
  m_cursor = MakeArrowCursor();
  ShowSystemCursor(false);
  m_cursor->SetHotSpot(Math::Vector2D(0.0f, 32.0f));
}

HUD::~HUD() {
  // Forms going away below must not call back into a half-destroyed root.
  if (g_hud == this) g_hud = nullptr;
  m_controls.clear();
  m_closing.clear();
  m_forms.clear();
  m_removedForms.clear();
  if (Graphics::GetInstance() == m_graphics.get()) Graphics::SetInstance(nullptr);
}

HUD* HUD::GetInstance() { return g_hud; }

void HUD::FlashModalForm() {
  if (auto* form = dynamic_cast<Form*>(m_modal)) form->Flash();
}

void HUD::AddForm(const Core::SmartPointer<Form>& form) {
  if (!form) return;
  // A form closed or removed earlier comes back whole: its removal, if still pending, is taken
  // back, and its children are registered again with it.
  EraseAll(m_removedForms, form.Get());
  if (std::find(m_forms.begin(), m_forms.end(), form.Get()) == m_forms.end()) m_forms.push_back(form);
  RegisterTree(*this, form.Get());
  form->OnAddedToRoot();
  form->BringToFront();
}

void HUD::RemoveForm(Control* form) {
  if (form == nullptr) return;
  auto* typed = dynamic_cast<Form*>(form);
  if (typed != nullptr) m_removedForms.push_back(typed);
  // Its children leave the registry with it: they die with the form and must not stay pickable.
  UnregisterDescendants(*this, form);
  EraseAll(m_controls, form);
  ForgetControl(form);
}

void HUD::RegisterControl(Control* control) {
  if (control != nullptr && std::find(m_controls.begin(), m_controls.end(), control) == m_controls.end())
    m_controls.push_back(control);
}

void HUD::UnregisterControl(Control* control) {
  EraseAll(m_controls, control);
  ForgetControl(control);
}

void HUD::QueueClose(Control* control) {
  if (control != nullptr) m_closing.push_back(control);
}

void HUD::ForgetControl(Control* control) {
  Control** pointers[7] = {&m_focused, &m_activeControl, &m_keyboardFocus, &m_pressed,
                           &m_underMouse, &m_toFront, &m_modal};
  for (Control** pointer : pointers)
    if (*pointer == control) *pointer = nullptr;
}

void HUD::OnControlDestroyed(Control* control) {
  EraseAll(m_controls, control);
  EraseAll(m_closing, control);
  ForgetControl(control);
}

Form* HUD::FindFormByName(const std::string& name) const {
  for (const auto& form : m_forms)
    if (form->GetName() == name) return form.Get();
  return nullptr;
}

Control* HUD::PickControlUnderMouse() const {
  std::vector<Control*> hits;
  for (Control* control : m_controls)
    if (control->IsEnabled() && control->HitTest()) hits.push_back(control);
  std::stable_sort(hits.begin(), hits.end(), &CompareDepth);
  return hits.empty() ? nullptr : hits.back();
}

Control* HUD::GetTopmostActiveForm() const {
  std::vector<Control*> forms;
  for (Control* control : m_controls)
    if (control->GetParent() == nullptr && control->IsEnabled() && control->IsVisible()) forms.push_back(control);
  std::stable_sort(forms.begin(), forms.end(), &CompareDepth);
  return forms.empty() ? nullptr : forms.back();
}

void HUD::Update(float deltaTime) {
  Input::MouseImp* mouse = Input::Mouse::GetInstance();
  const bool inside = mouse != nullptr && mouse->IsInWindow();
  if (inside && m_systemCursorShown) {
    m_systemCursorShown = 0;
    ShowSystemCursor(false);
  } else if (!inside && !m_systemCursorShown) {
    m_systemCursorShown = 1;
    ShowSystemCursor(true);
  }

  if (!m_removedForms.empty()) {
    std::vector<Core::SmartPointer<Form>> removed;
    removed.swap(m_removedForms);
    for (const auto& form : removed) EraseAll(m_forms, form.Get());
  }

  SetDepthCounter(0.0f);

  if (m_toFront != nullptr) {
    auto found = std::find_if(m_forms.begin(), m_forms.end(),
                              [this](const Core::SmartPointer<Form>& form) { return form.Get() == m_toFront; });
    if (found != m_forms.end()) {
      Core::SmartPointer<Form> form = *found;
      EraseAll(m_forms, form.Get());
      m_forms.push_back(form);
    }
    m_toFront = nullptr;
  }

  // Handlers may add or remove forms while the forms update: walk a snapshot.
  const std::vector<Core::SmartPointer<Form>> forms = m_forms;
  for (const auto& form : forms) form->ResetDepthKeys();
  // A control's update ends with its own update hook, so the forms' hooks run once per frame.
  for (const auto& form : forms) form->Update(deltaTime);
  for (const auto& form : forms) form->UpdateRectangles();

  m_cursorManager->Draw(deltaTime);

  m_underMouse = PickControlUnderMouse();
  if (m_underMouse == nullptr) m_cursorManager->SetCursor(m_cursorVisible ? m_cursor : nullptr);

  const bool anyHeld =
      mouse != nullptr && (mouse->IsPressed(0) || mouse->IsPressed(1) || mouse->IsPressed(2));
  if (!anyHeld)
    m_pressed = nullptr;
  else if (m_pressed == nullptr)
    m_pressed = m_underMouse;

  if (!m_closing.empty()) {
    std::vector<Control*> closing;
    closing.swap(m_closing);
    // Closing only queues removals (the parent or the root keeps a reference until its next
    // update), so every entry is still alive here; an entry queued twice is closed once.
    for (size_t i = 0; i < closing.size(); ++i) {
      if (std::find(closing.begin(), closing.begin() + static_cast<std::ptrdiff_t>(i), closing[i]) !=
          closing.begin() + static_cast<std::ptrdiff_t>(i))
        continue;
      Core::SmartPointer<Control> keep(closing[i]);
      closing[i]->Close();
    }
  }
}

void HUD::Reset() {
  m_controls.clear();
  m_removedForms.clear();
  m_forms.clear();
  m_closing.clear();
  m_focused = m_activeControl = m_keyboardFocus = m_pressed = m_underMouse = m_toFront = m_modal = nullptr;
  m_systemCursorShown = 0;
  ShowSystemCursor(false);
  if (Engine::RenderQueue* queue = Engine::RenderQueue::GetInstance()) queue->ClearScreenObjects();
  m_loading = 0;
}

namespace {

void ReadForms(Core::File& file, std::vector<Core::SmartPointer<Form>>& forms) {
  uint32_t count = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(count, 1)) count = 0;
  for (uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
    Core::Object* object = file.ReadObject();
    if (object == nullptr) continue;
    auto* form = dynamic_cast<Form*>(object);
    const bool owned = object->GetReferenceCount() > 0;
    if (form != nullptr && form->GetParent() == nullptr)
      forms.push_back(form);
    else if (!owned && file.LastReadCreatedObject())
      file.DiscardCreatedObject(object);
  }
}

void RegisterTree(std::vector<Control*>& controls, Control* control) {
  controls.push_back(control);
  for (const auto& child : control->GetChildren()) RegisterTree(controls, child.Get());
}

}  // namespace

void HUD::Save(Core::File& file) {
  Core::WriteObjectVector(file, m_forms);
  Core::WriteObjectVector(file, m_removedForms);
  Core::WriteValue(file, static_cast<uint32_t>(m_controls.size()));
  for (Control* control : m_controls) file.WriteObject(control);
  Core::WriteValue(file, static_cast<uint32_t>(m_closing.size()));
  for (Control* control : m_closing) file.WriteObject(control);
  file.WriteObject(m_cursor.Get());
  Control* pointers[7] = {m_focused, m_activeControl, m_keyboardFocus, m_pressed, m_underMouse, m_toFront, m_modal};
  for (Control* pointer : pointers) file.WriteObject(pointer);
  Core::WriteValue(file, m_cursorVisible);
  Core::WriteValue(file, m_systemCursorShown);
  Core::WriteValue(file, GetDepthCounter());
  m_graphics->Save(file);
  m_cursorManager->Save(file);
  Math::WriteVector2D(file, GetMousePosition());
}

void HUD::Load(Core::File& file) {
  m_loading = 1;
  ReadForms(file, m_forms);
  ReadForms(file, m_removedForms);
  // The registry is rebuilt from the loaded tree: a stored list could name controls nobody owns.
  uint32_t count = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(count, 1)) count = 0;
  for (uint32_t i = 0; i < count && !file.HasFailed(); ++i) ReadPlainObject(file);
  m_controls.clear();
  for (const auto& form : m_forms)
    if (std::find_if(m_removedForms.begin(), m_removedForms.end(),
                     [&form](const Core::SmartPointer<Form>& removed) { return removed.Get() == form.Get(); }) ==
        m_removedForms.end())
      RegisterTree(m_controls, form.Get());
  count = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(count, 1)) count = 0;
  m_closing.clear();
  for (uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
    auto* control = dynamic_cast<Control*>(ReadPlainObject(file));
    if (control != nullptr && std::find(m_controls.begin(), m_controls.end(), control) != m_controls.end())
      m_closing.push_back(control);
  }
  Core::SmartPointer<Cursor> cursor;
  Core::ReadObjectPointer(file, cursor);
  if (cursor) m_cursor = cursor;
  Control** pointers[7] = {&m_focused, &m_activeControl, &m_keyboardFocus, &m_pressed,
                           &m_underMouse, &m_toFront, &m_modal};
  for (Control** pointer : pointers) {
    auto* control = dynamic_cast<Control*>(ReadPlainObject(file));
    *pointer = std::find(m_controls.begin(), m_controls.end(), control) != m_controls.end() ? control : nullptr;
  }
  Core::ReadValue(file, m_cursorVisible);
  Core::ReadValue(file, m_systemCursorShown);
  SetDepthCounter(Core::ReadValue<float>(file));
  m_graphics->Load(file);
  m_cursorManager->Load(file);
  Math::Vector2D mouse;
  Math::ReadVector2D(file, mouse);
  if (!std::isfinite(mouse.x) || !std::isfinite(mouse.y)) file.Fail();
  if (!file.HasFailed()) Control::SetMousePosition(mouse);
  m_loading = 0;
}

void FlushRenderQueue() {
  if (Engine::RenderQueue* queue = Engine::RenderQueue::GetInstance()) queue->DrawScreenObjects();
}

}  // namespace GUI
