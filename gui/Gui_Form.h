#pragma once
// The GUI's window: a control with a skinned frame (caption bar, bottom, left and right borders), a
// close button in the top-right corner, a picture filling the client area, a caption text, dragging
// by the caption, an inactive colour without the focus, a flash for a modal form and a modal mode.
#include <cstdint>
#include <string>

#include "gui/Gui_Button.h"
#include "gui/Gui_Control.h"
#include "gui/Gui_GuiImage.h"

namespace GUI {

class Form : public Control {
 public:
  Form();
  ~Form() override;
  static Core::Object* Create();
  int PushToLua(lua_State* state) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;
  const char* GetClassName() const override { return "GUI::Form"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(Form)); }

  void SetPosition(const Math::Vector2D& position) override;
  void SetVisible(bool visible) override;
  void OnMouseUp(const MouseEvent& event) override;
  void OnMouseDown(const MouseEvent& event) override;
  void OnResize() override;
  void OnSkinChanged() override;
  void Draw(float deltaTime) override;
  Math::Vector2D GetClientOffset() const override { return Math::Vector2D(m_leftBorderWidth, m_bottomBorderHeight); }
  void OnOpacityChanged() override;
  void OnLostFocus() override;
  void UpdateClientRectangle() override;
  void OnUpdate(float deltaTime) override;
  virtual void OnAddedToRoot() {}
  virtual void OnClosing() {}

  void Drag();
  void Refresh();
  void SetModal(bool modal);
  bool GetModal() const { return m_modal != 0; }
  void SetPicture(const std::string& path);
  const std::string& GetPicture() const { return m_pictureName; }
  void Flash();
  bool IsFlashing() const { return m_flashing != 0; }
  bool IsInCaption() const;
  bool IsDragging() const { return m_dragging != 0; }
  void LayoutParts();
  void SizeCloseButton();
  void PlaceCloseButton();
  void OnCloseClicked(Control* sender);

  void SetShowOnlyControls(bool on);
  bool GetShowOnlyControls() const { return m_showOnlyControls != 0; }
  void SetCloseButtonVisible(bool on);
  bool GetCloseButtonVisible() const { return m_closeButtonVisible != 0; }
  void SetInactiveModulationColor(const Math::Color& color) { m_inactiveModulationColor = color; }
  const Math::Color& GetInactiveModulationColor() const { return m_inactiveModulationColor; }
  void SetCaptionHeight(float value);
  void SetBottomBorderHeight(float value);
  void SetLeftBorderWidth(float value);
  void SetRightBorderWidth(float value);
  float GetCaptionHeight() const { return m_captionHeight; }
  float GetBottomBorderHeight() const { return m_bottomBorderHeight; }
  float GetLeftBorderWidth() const { return m_leftBorderWidth; }
  float GetRightBorderWidth() const { return m_rightBorderWidth; }

  Button* GetCloseButton() const { return m_closeButton.Get(); }
  GuiImage* GetCaptionImage() const { return m_captionImage.Get(); }
  GuiImage* GetBottomImage() const { return m_bottomImage.Get(); }
  GuiImage* GetLeftImage() const { return m_leftImage.Get(); }
  GuiImage* GetRightImage() const { return m_rightImage.Get(); }
  // The colour the frame is drawn in now.
  const Math::Color& GetFrameColor() const { return m_frameColor; }

 private:
  void PlaceSkinImages();
  void UpdateCloseButtonVisibility();
  void AfterBorderChange();

  Core::SmartPointer<GuiImage> m_captionImage;
  Core::SmartPointer<GuiImage> m_bottomImage;
  Core::SmartPointer<GuiImage> m_leftImage;
  Core::SmartPointer<GuiImage> m_rightImage;
  Core::SmartPointer<Button> m_closeButton;
  std::string m_pictureName;
  Core::SmartPointer<Engine::TextRenderContext> m_pictureContext;
  Core::SmartPointer<Renderer::ITexture> m_pictureTexture;
  uint8_t m_closeButtonVisible = 1;
  uint8_t m_showOnlyControls = 0;
  uint8_t m_flashing = 0;
  uint8_t m_flashPhase = 1;
  uint8_t m_modal = 0;
  float m_flashTimer = 0.0f;
  float m_flashElapsed = 0.0f;
  float m_captionHeight = 32.0f;
  float m_bottomBorderHeight = 8.0f;
  float m_leftBorderWidth = 8.0f;
  float m_rightBorderWidth = 8.0f;
  Math::Color m_inactiveModulationColor{0.0f, 0.0f, 0.0f, 1.0f};
  uint8_t m_dragging = 0;
  Math::Vector2D m_grabOffset;
  Math::Color m_frameColor{1.0f, 1.0f, 1.0f, 1.0f};
};

}  // namespace GUI
