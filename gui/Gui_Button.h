#pragma once
// The push button: a control drawn with a skin image whose record follows its state (normal, down,
// hover, disabled, focused), its text centred on the skin's centre part, and a drop-down arrow for
// a button that forwards its presses to its parent.
#include <cstdint>

#include "gui/Gui_Control.h"
#include "gui/Gui_GuiImage.h"

namespace GUI {

class Button : public Control {
 public:
  enum State : uint32_t { Normal = 0, Down = 1, Hover = 2, Disabled = 3, Focused = 4 };

  Button();
  ~Button() override;
  static Core::Object* Create();
  int PushToLua(lua_State* state) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;
  const char* GetClassName() const override { return "GUI::Button"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(Button)); }

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

  void SetNormalRecord(uint32_t record) { m_normalRecord = record; }
  void SetDownRecord(uint32_t record) { m_downRecord = record; }
  void SetHoverRecord(uint32_t record) { m_hoverRecord = record; }
  void SetDisabledRecord(uint32_t record) { m_disabledRecord = record; }
  void SetFocusedRecord(uint32_t record) { m_focusedRecord = record; }
  uint32_t GetRecordOfState(uint32_t state) const;
  void ApplyStateImage();
  void RefreshSkin();

  uint32_t GetState() const { return m_state; }
  const Core::SmartPointer<GuiImage>& GetSkinImage() const { return m_skin; }
  const Core::SmartPointer<Engine::TextRenderContext>& GetArrowContext() const { return m_arrowContext; }

 private:
  uint32_t m_normalRecord = 0;
  uint32_t m_downRecord = 1;
  uint32_t m_hoverRecord = 2;
  uint32_t m_disabledRecord = 4;
  uint32_t m_focusedRecord = 3;
  uint32_t m_state = Normal;
  Core::SmartPointer<GuiImage> m_skin;
  Core::SmartPointer<Engine::TextRenderContext> m_arrowContext;
  Core::SmartPointer<Renderer::ITexture> m_arrowTexture;
  Core::SmartPointer<Renderer::ITexture> m_arrowDisabledTexture;
};

}  // namespace GUI
