#pragma once
// The base of every GUI element: position relative to the parent's client area, size and the
// rectangles made from them, visibility, enabling and opacity combined with the ancestors', text,
// font, skin name, colours, cursor, owned children with a tab order, event-handler lists, mouse and
// keyboard handling, and Save and Load.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Core_Object.h"
#include "gui/Gui_Cursor.h"
#include "gui/Gui_Rectangle.h"
#include "gui/Gui_StringRenderContext.h"
#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"

namespace Engine {
class BitmapFont;
}

namespace GUI {

class Control;
class HUD;

// The longest time, in seconds, from one click to the next that still makes the two a double
// click, unless a control is given a window of its own.
inline constexpr float kDoubleClickTime = 0.5f;

// What mouse handlers receive as their argument. Button 3 means none.
struct MouseEvent {
  int32_t button = 3;
  int32_t reserved0 = 0;
  int32_t reserved1 = 0;
  Math::Vector2D position;
};

// One event handler; argument is a MouseEvent for the mouse move, up and down events.
template <typename Sender>
class MemberFunctionBase1Param {
 public:
  virtual ~MemberFunctionBase1Param() = default;
  virtual void Invoke(Sender sender, const void* argument) = 0;
  // Whether the other handler calls the same member function on the same object.
  virtual bool SameAs(const MemberFunctionBase1Param& other) const = 0;
};

using EventHandler = MemberFunctionBase1Param<Control*>;

template <typename Owner>
class MemberFunction1Param : public EventHandler {
 public:
  using Function = void (Owner::*)(Control*);
  MemberFunction1Param(Owner* object, Function function) : m_object(object), m_function(function) {}
  void Invoke(Control* sender, const void*) override { (m_object->*m_function)(sender); }
  bool SameAs(const EventHandler& other) const override {
    const auto* same = dynamic_cast<const MemberFunction1Param*>(&other);
    return same != nullptr && same->m_object == m_object && same->m_function == m_function;
  }

 private:
  Owner* m_object;
  Function m_function;
};

// A handler that also takes the event's argument (the MouseEvent of mouse move, up and down).
template <typename Owner>
class MemberFunction2Param : public EventHandler {
 public:
  using Function = void (Owner::*)(Control*, const MouseEvent*);
  MemberFunction2Param(Owner* object, Function function) : m_object(object), m_function(function) {}
  void Invoke(Control* sender, const void* argument) override {
    (m_object->*m_function)(sender, static_cast<const MouseEvent*>(argument));
  }
  bool SameAs(const EventHandler& other) const override {
    const auto* same = dynamic_cast<const MemberFunction2Param*>(&other);
    return same != nullptr && same->m_object == m_object && same->m_function == m_function;
  }

 private:
  Owner* m_object;
  Function m_function;
};

enum class Event : uint32_t {
  Click = 0,
  DoubleClick,
  Third,
  SecondClick,
  SecondDoubleClick,
  MouseEnter,
  MouseHover,
  MouseLeave,
  MouseMove,
  MouseUp,
  MouseDown,
  Twelfth,
  Resize,
  Count
};

// The depth counter every control update raises by one; later controls draw nearer and win hits.
float GetDepthCounter();
void SetDepthCounter(float value);

class Control : public Core::Object {
 public:
  static constexpr uint32_t kEventCount = static_cast<uint32_t>(Event::Count);

  Control(const Math::Vector2D& position = Math::Vector2D(), const Math::Vector2D& size = Math::Vector2D(64.0f, 64.0f));
  ~Control() override;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  static Core::Object* Create();
  int PushToLua(lua_State* state) override;
  Core::Object* Clone() const override { return nullptr; }
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;
  const char* GetClassName() const override { return "GUI::Control"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(Control)); }

  virtual void SetPosition(const Math::Vector2D& position);
  virtual void SetText(const std::string& text) { m_text = text; }
  virtual std::string GetText() const { return m_text; }
  virtual void SetVisible(bool visible);
  virtual void SetFont(const std::string& name);
  virtual void SetModulationColor(const Math::Color& color) { m_modulationColor = color; }
  virtual void SetOpacity(float opacity);
  virtual void SetEnabled(bool enabled);
  virtual void OnClick();
  virtual void OnDoubleClick();
  virtual void RaiseThirdEvent();
  virtual void OnSecondClick();
  virtual void OnSecondDoubleClick();
  virtual void OnMouseEnterEvent();
  virtual void OnMouseHover();
  virtual void OnMouseLeaveEvent();
  virtual void OnMouseMove(const MouseEvent& event);
  virtual void OnMouseUp(const MouseEvent& event);
  virtual void OnMouseDown(const MouseEvent& event);
  virtual void RaiseTwelfthEvent(const void* argument);
  virtual void OnResize();
  virtual void OnSkinChanged() {}
  virtual void OnFontChanged() {}
  virtual void OnPressWithoutParent() {}
  virtual void OnUpdate(float) {}
  virtual void Draw(float) {}
  virtual bool IsMouseOver() const { return m_mouseOver != 0; }
  virtual Math::Vector2D GetClientOffset() const { return Math::Vector2D(); }
  virtual void UpdatePosition();
  virtual void UpdateDepthKey();
  virtual void OnEnabledChanged() {}
  virtual void OnOpacityChanged() {}
  virtual void OnGotFocus();
  virtual void OnLostFocus();
  virtual void TabToNext();
  virtual bool SelectNextTab();
  virtual bool SelectTab(uint32_t index);
  virtual void ApplyTabFocus();
  virtual void FocusFirstTab();
  virtual void UpdateClientRectangle() { m_clientRectangle = m_rectangle; }

  // Handlers are owned by the control; AddClickHandler refuses a duplicate and a null object.
  void AddEventHandler(Event event, std::unique_ptr<EventHandler> handler);
  template <typename Owner>
  void AddClickHandler(Owner* object, void (Owner::*function)(Control*)) {
    if (object == nullptr) return;
    auto handler = std::make_unique<MemberFunction1Param<Owner>>(object, function);
    for (const auto& existing : m_handlers[static_cast<uint32_t>(Event::Click)])
      if (existing->SameAs(*handler)) return;
    AddEventHandler(Event::Click, std::move(handler));
  }
  size_t GetHandlerCount(Event event) const { return m_handlers[static_cast<uint32_t>(event)].size(); }
  void RaiseEvent(Event event, const void* argument = nullptr);

  const Math::Vector2D& GetPosition() const { return m_position; }
  float GetWidth() const { return m_width; }
  float GetHeight() const { return m_height; }
  Math::Vector2D GetSize2D() const { return Math::Vector2D(m_width, m_height); }
  void SetSize(const Math::Vector2D& size);
  void SetWidth(float width);
  void SetHeight(float height);
  void SetSkin(const std::string& name);
  const std::string& GetSkin() const { return m_skinName; }
  void SetClipMode(uint32_t mode) { m_clipMode = mode; }
  uint32_t GetClipMode() const { return m_clipMode; }
  void SetKeyboardActivation(bool on) { m_keyboardActivation = on ? 1 : 0; }
  bool GetKeyboardActivation() const { return m_keyboardActivation != 0; }
  void SetTabStop(bool on);
  bool GetTabStop() const { return m_tabStop != 0; }
  void SetTabIndex(int32_t index) { m_tabIndex = index; }
  int32_t GetTabIndex() const { return m_tabIndex; }
  void SetPressForwardsToParent(bool on) { m_pressForwardsToParent = on ? 1 : 0; }
  bool GetPressForwardsToParent() const { return m_pressForwardsToParent != 0; }
  void SetDoubleClickWindow(float minimum, float maximum) {
    m_doubleClickMin = minimum;
    m_doubleClickMax = maximum;
  }

  void AddControl(const Core::SmartPointer<Control>& child);
  Control* GetControl(uint32_t index) const;
  Control* GetControl(const std::string& name) const;
  uint32_t GetControlsCount() const { return static_cast<uint32_t>(m_children.size()); }
  const std::vector<Core::SmartPointer<Control>>& GetChildren() const { return m_children; }
  const std::vector<Core::SmartPointer<Control>>& GetTabOrder() const { return m_tabOrder; }
  Control* GetParent() const { return m_parent; }
  Control* GetLastAddedChild() const { return m_lastAddedChild; }
  Control* GetFocusedChild() const { return m_focusedChild; }
  int32_t GetCurrentTab() const { return m_currentTab; }

  bool HitTest() const;
  void Focus();
  void FocusChild();
  void BringToFront();
  void Close();
  void RequestClose();
  void Update(float deltaTime);
  void ResetDepthKeys();
  void UpdateRectangles();
  void UpdateVisibleRectangles();
  NRectangle GetClipRectangle() const;
  void ResetTabSelection() { m_currentTab = m_previousTab = -1; }
  void SetChildToFront(Control* child) { m_childToFront = child; }

  Math::Vector2D GetAbsolutePosition() const;
  bool IsVisible() const;
  bool IsEnabled() const;
  bool GetOwnVisible() const { return m_visible != 0; }
  bool GetOwnEnabled() const { return m_enabled != 0; }
  float GetOpacity() const { return m_opacity; }
  float GetEffectiveOpacity() const;
  bool IsFocused() const { return m_focused != 0; }
  bool IsPressed() const { return m_pressed != 0; }
  bool IsMouseInside() const { return m_mouseInside != 0; }

  void SetName(const std::string& name) { m_name = name; }
  const std::string& GetName() const { return m_name; }
  float GetDepthKey() const { return m_depthKey; }
  const Math::Color& GetModulationColor() const { return m_modulationColor; }
  const Math::Color& GetTextModulationColor() const { return m_textModulationColor; }
  void SetTextModulationColor(const Math::Color& color) { m_textModulationColor = color; }
  const std::string& GetFontName() const { return m_fontName; }
  const Core::SmartPointer<Engine::BitmapFont>& GetFont() const { return m_font; }
  const Core::SmartPointer<Engine::StringRenderContext>& GetStringContext() const { return m_stringContext; }
  const Core::SmartPointer<Cursor>& GetCursor() const { return m_cursor; }
  const NRectangle& GetRectangle() const { return m_rectangle; }
  const NRectangle& GetClientRectangle() const { return m_clientRectangle; }
  const NRectangle& GetVisibleRectangle() const { return m_visibleRectangle; }
  const NRectangle& GetVisibleClientRectangle() const { return m_visibleClientRectangle; }
  // An object of the game is held with a reference, so a script's object cannot vanish under the
  // control. A control is only named: a button holding its own form would otherwise keep the form
  // alive for ever; the name is cleared when that control goes away.
  void SetUserData(Core::Object* object);
  Core::Object* GetUserData() const;

  bool IsUnderMouse() const;
  bool HoldsFocus() const;
  bool HasNoParent() const { return m_parent == nullptr; }
  static Math::Vector2D GetMousePosition();
  static void SetMousePosition(const Math::Vector2D& position);

 protected:
  // True when a modal control other than this control or one of its ancestors is set.
  bool ModalBlocks() const;
  // Selectable for tab navigation: effectively enabled and effectively visible.
  static bool IsSelectable(const Control* control);
  void SortTabOrder();
  void UnregisterTree();
  // Registers this control and every descendant with the root (each once).
  void RegisterTree();

  std::vector<std::unique_ptr<EventHandler>> m_handlers[kEventCount];
  Math::Vector2D m_position;
  NRectangle m_rectangle;
  NRectangle m_clientRectangle;
  NRectangle m_visibleRectangle;
  NRectangle m_visibleClientRectangle;
  std::vector<Core::SmartPointer<Control>> m_children;
  std::vector<Core::SmartPointer<Control>> m_pendingRemovals;
  Control* m_parent = nullptr;
  Control* m_lastAddedChild = nullptr;
  Control* m_focusedChild = nullptr;
  std::string m_name;
  Core::SmartPointer<Cursor> m_cursor;
  Math::Color m_modulationColor{1.0f, 1.0f, 1.0f, 1.0f};
  Math::Color m_textModulationColor{1.0f, 1.0f, 1.0f, 1.0f};
  float m_opacity = 1.0f;
  uint8_t m_visible = 1;
  uint8_t m_enabled = 1;
  uint8_t m_tabStop = 1;
  uint8_t m_focused = 0;
  uint8_t m_refocusPending = 1;
  int32_t m_tabIndex = 0;
  std::string m_text;
  std::string m_fontName;
  Core::SmartPointer<Engine::BitmapFont> m_font;
  Core::SmartPointer<Engine::StringRenderContext> m_stringContext;
  std::string m_skinName;
  float m_depthKey = 0.0f;
  uint32_t m_clipMode = 2;
  int32_t m_currentTab = -1;
  int32_t m_previousTab = -1;
  Core::SmartPointer<Core::Object> m_userData;
  Control* m_userControl = nullptr;
  std::vector<Core::SmartPointer<Control>> m_tabOrder;
  float m_width = 0.0f;
  float m_height = 0.0f;
  Math::Vector2D m_previousMousePosition;
  uint8_t m_mouseInside = 0;
  uint8_t m_pressed = 0;
  uint8_t m_pressForwardsToParent = 0;
  uint8_t m_clickTimerRunning = 0;
  float m_doubleClickMin = 0.1f;
  float m_doubleClickMax = kDoubleClickTime;
  float m_clickTimer = 0.0f;
  uint8_t m_keyboardActivation = 1;
  uint8_t m_mouseOver = 0;
  Math::Vector2D m_mousePosition;
  Core::SmartPointer<Control> m_childToFront;

 private:
  // The steps of Update, in their order.
  void BringAskedChildToFront();
  void DropPendingChildren(HUD* hud);
  // After a focus reset: the first tab stop takes the focus and, where no radio button among the
  // children is checked, the first enabled one is.
  void RefocusIfAsked();
  void TrackMouseOver(const Control* underMouse);
  // Cursor, enter, hover, move and press for the control under the mouse; leave for any.
  void AnswerPointer(HUD* hud, const Control* underMouse, bool blocked);
  void RunClickTimer(float deltaTime);
  // A button let go over the pressed control: a click or a double click, then the mouse-up event.
  void AnswerRelease(HUD* hud);
  void UpdateChildren(float deltaTime);
};

// A plain (not owning) pointer read back from a stream of controls and forms. An object the stream
// names a second time may still be loading further up with no reference yet, so it must not be
// touched through a smart pointer; one that this read created and nobody owns cannot be kept by a
// plain pointer, so it is freed and null is answered.
Core::Object* ReadPlainObject(Core::File& file);

}  // namespace GUI
