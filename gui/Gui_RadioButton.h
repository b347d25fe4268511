#pragma once
// A control with a checked flag; the radio buttons among one parent's children form a group in
// which checking one unchecks the others. Drawn by a skin of ten records: five looks unchecked
// (0..4) and the same five checked (5..9).
#include <cstdint>
#include <memory>
#include <vector>

#include "gui/Gui_Control.h"
#include "gui/Gui_GuiImage.h"

namespace GUI {

class RadioButton : public Control {
 public:
  enum Look : uint32_t { FocusedLook = 0, NormalLook = 1, DisabledLook = 2, MouseInsideLook = 3, MouseDownLook = 4 };
  static constexpr uint32_t kCheckedOffset = 5;

  RadioButton();
  ~RadioButton() override;
  static Core::Object* Create();
  int PushToLua(lua_State* state) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;
  const char* GetClassName() const override { return "GUI::RadioButton"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(RadioButton)); }

  void SetPosition(const Math::Vector2D& position) override;
  void SetVisible(bool visible) override;
  void SetModulationColor(const Math::Color& color) override;
  void OnClick() override;
  void RaiseThirdEvent() override;
  void OnSecondClick() override;
  void OnSecondDoubleClick() override;
  void OnMouseHover() override;
  void OnMouseMove(const MouseEvent& event) override;
  void OnMouseEnterEvent() override;
  void OnMouseLeaveEvent() override;
  void OnMouseUp(const MouseEvent& event) override;
  void OnMouseDown(const MouseEvent& event) override;
  void OnResize() override;
  void OnSkinChanged() override;
  void Draw(float deltaTime) override;
  void UpdatePosition() override;
  void OnEnabledChanged() override;
  void OnOpacityChanged() override;
  void OnGotFocus() override;
  void OnLostFocus() override;
  virtual void OnCheckedChanged();

  void SetChecked(bool checked);
  bool IsChecked() const { return m_checked != 0; }
  void AddCheckedChangedHandler(std::unique_ptr<EventHandler> handler) {
    if (handler) m_checkedChangedHandlers.push_back(std::move(handler));
  }
  const Core::SmartPointer<GuiImage>& GetSkinImage() const { return m_skin; }

 private:
  void ShowLook(uint32_t look);
  void ShowLookForFlags();

  std::vector<std::unique_ptr<EventHandler>> m_checkedChangedHandlers;
  Core::SmartPointer<GuiImage> m_skin;
  uint8_t m_checked = 0;
};

}  // namespace GUI
