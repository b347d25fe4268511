#pragma once
// The root of the in-game GUI: the top-level forms in stacking order, a registry of every live
// control, deferred removal, the drawing context, the cursor manager, and the pointers that say
// which form has the focus and which control is under the mouse, pressed, modal or focused.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Core_Object.h"
#include "gui/Gui_Cursor.h"
#include "gui/Gui_Graphics.h"

struct lua_State;

namespace Core {
class File;
}

namespace GUI {

class Control;
class Form;

class HUD {
 public:
  HUD();
  ~HUD();
  HUD(const HUD&) = delete;
  HUD& operator=(const HUD&) = delete;

  // The GUI root (null before it is made and after it is gone).
  static HUD* GetInstance();

  int PushToLua(lua_State* state);

  void ShowCursor(bool visible) { m_cursorVisible = visible ? 1 : 0; }
  bool IsCursorVisible() const { return m_cursorVisible != 0; }
  bool IsLoading() const { return m_loading != 0; }
  Control* GetFocusedControl() const { return m_focused; }
  void SetFocusedControl(Control* control) { m_focused = control; }
  Control* GetActiveControl() const { return m_activeControl; }
  void SetActiveControl(Control* control) { m_activeControl = control; }
  Control* GetKeyboardFocus() const { return m_keyboardFocus; }
  void SetKeyboardFocus(Control* control) { m_keyboardFocus = control; }
  Control* GetPressedControl() const { return m_pressed; }
  Control* GetControlUnderMouse() const { return m_underMouse; }
  void SetFormToFront(Control* form) { m_toFront = form; }
  Control* GetModalForm() const { return m_modal; }
  void SetModalForm(Control* form) { m_focused = m_toFront = m_modal = form; }
  void FlashModalForm();

  void AddForm(const Core::SmartPointer<Form>& form);
  void RemoveForm(Control* form);
  void RegisterControl(Control* control);
  void UnregisterControl(Control* control);
  void QueueClose(Control* control);
  void ForgetControl(Control* control);
  // A control being destroyed: no list or pointer of the root may keep naming it.
  void OnControlDestroyed(Control* control);
  Form* FindFormByName(const std::string& name) const;
  Control* PickControlUnderMouse() const;
  Control* GetTopmostActiveForm() const;

  void Update(float deltaTime);
  void Reset();
  void Save(Core::File& file);
  void Load(Core::File& file);

  const std::vector<Core::SmartPointer<Form>>& GetForms() const { return m_forms; }
  const std::vector<Control*>& GetControls() const { return m_controls; }
  size_t GetRemovedFormCount() const { return m_removedForms.size(); }
  size_t GetClosingCount() const { return m_closing.size(); }
  Graphics* GetGraphics() const { return m_graphics.get(); }
  CursorManager* GetCursorManager() const { return m_cursorManager.Get(); }
  const Core::SmartPointer<Cursor>& GetDefaultCursor() const { return m_cursor; }
  bool IsSystemCursorShown() const { return m_systemCursorShown != 0; }

 private:
  std::vector<Core::SmartPointer<Form>> m_forms;
  std::vector<Core::SmartPointer<Form>> m_removedForms;
  std::vector<Control*> m_controls;
  std::vector<Control*> m_closing;
  std::unique_ptr<Graphics> m_graphics;
  Core::SmartPointer<CursorManager> m_cursorManager;
  Core::SmartPointer<Cursor> m_cursor;
  Control* m_focused = nullptr;
  Control* m_activeControl = nullptr;
  Control* m_keyboardFocus = nullptr;
  Control* m_pressed = nullptr;
  Control* m_underMouse = nullptr;
  Control* m_toFront = nullptr;
  Control* m_modal = nullptr;
  uint8_t m_cursorVisible = 1;
  uint8_t m_systemCursorShown = 0;
  uint8_t m_loading = 0;
};

// Draws everything the controls queued this frame (the render queue's screen-object pass).
void FlushRenderQueue();

}  // namespace GUI
