#include "gui/Gui_Form.h"

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
const Core::ClassRegistration g_formRegistration("GUI::Form", &Form::Create);
const Math::Color kActiveColor(2.0f / 255.0f, 106.0f / 255.0f, 254.0f / 255.0f, 1.0f);
const Math::Color kInactiveColor(129.0f / 255.0f, 169.0f / 255.0f, 232.0f / 255.0f, 1.0f);
constexpr char kFormSkin[] = "DefaultFormSkin";

bool Loading() {
  HUD* hud = HUD::GetInstance();
  return hud != nullptr && hud->IsLoading();
}

Core::SmartPointer<GuiImage> MakeFramePart(uint32_t record, float width, float height) {
  Core::SmartPointer<GuiImage> image(new ("Gui_Form", __LINE__) GuiImage(GetSkinPath(kFormSkin), Size{width, height}));
  image->SetRecordIndex(record);
  return image;
}
}  // namespace

Core::Object* Form::Create() { return new ("Gui_Form", __LINE__) Form(); }

Form::Form() : Control(Math::Vector2D(0.0f, 0.0f), Math::Vector2D(64.0f, 64.0f)) {
  if (Loading()) return;
  m_captionHeight = 32.0f;
  m_bottomBorderHeight = 8.0f;
  m_leftBorderWidth = 8.0f;
  m_rightBorderWidth = 8.0f;
  m_modal = 0;
  m_width = 256.0f;
  m_height = 256.0f;
  const float sideHeight = m_height - m_captionHeight - m_bottomBorderHeight;
  m_captionImage = MakeFramePart(0, m_width, m_captionHeight);
  m_bottomImage = MakeFramePart(3, m_width, m_bottomBorderHeight);
  m_leftImage = MakeFramePart(1, m_leftBorderWidth, sideHeight);
  m_rightImage = MakeFramePart(2, m_rightBorderWidth, sideHeight);

  m_closeButton = new ("Gui_Form", __LINE__) Button();
  SizeCloseButton();
  PlaceCloseButton();
  m_closeButton->SetSkin(kFormSkin);
  m_closeButton->SetNormalRecord(4);
  m_closeButton->SetDownRecord(5);
  m_closeButton->SetHoverRecord(6);
  m_closeButton->SetDisabledRecord(4);
  m_closeButton->SetFocusedRecord(4);
  m_closeButton->RefreshSkin();
  m_closeButton->SetTabStop(false);
  m_closeButton->SetClipMode(1);
  m_closeButton->SetName("CloseCloseClose");
  m_closeButton->SetKeyboardActivation(false);
  m_closeButton->AddClickHandler(this, &Form::OnCloseClicked);
  AddControl(m_closeButton.Get());

  m_pictureName = GetSkinFilePath("Gray.png");
  m_pictureTexture = Engine::LoadTexture(m_pictureName, true);
  m_pictureContext = new ("Gui_Form", __LINE__) Engine::TextRenderContext();

  SetPosition(Math::Vector2D(0.0f, 0.0f));
  SetFont("DefaultFont");
  m_flashTimer = 0.0f;
  m_flashElapsed = 0.0f;
  m_closeButtonVisible = 1;
  m_showOnlyControls = 0;
  m_flashing = 0;
  m_flashPhase = 1;
  m_modulationColor = kActiveColor;
  m_inactiveModulationColor = kInactiveColor;
}

Form::~Form() = default;

void Form::PlaceSkinImages() {
  const Math::Vector2D a = GetAbsolutePosition();
  if (m_captionImage) m_captionImage->SetPosition(Math::Vector2D(a.x, a.y + m_height - m_captionHeight));
  if (m_bottomImage) m_bottomImage->SetPosition(a);
  if (m_leftImage) m_leftImage->SetPosition(Math::Vector2D(a.x, a.y + m_bottomBorderHeight));
  if (m_rightImage)
    m_rightImage->SetPosition(Math::Vector2D(a.x + m_width - m_rightBorderWidth, a.y + m_bottomBorderHeight));
}

void Form::SetPosition(const Math::Vector2D& position) {
  Control::SetPosition(position);
  PlaceSkinImages();
}

void Form::UpdateCloseButtonVisibility() {
  if (!m_closeButton) return;
  m_closeButton->SetVisible(IsVisible() && !m_showOnlyControls && m_closeButtonVisible);
}

void Form::SetVisible(bool visible) {
  Control::SetVisible(visible);
  UpdateCloseButtonVisibility();
}

void Form::SetShowOnlyControls(bool on) {
  m_showOnlyControls = on ? 1 : 0;
  UpdateCloseButtonVisibility();
}

void Form::SetCloseButtonVisible(bool on) {
  m_closeButtonVisible = on ? 1 : 0;
  UpdateCloseButtonVisibility();
}

void Form::OnMouseUp(const MouseEvent& event) {
  if (m_dragging) {
    m_dragging = 0;
    m_grabOffset = Math::Vector2D();
  }
  Control::OnMouseUp(event);
}

void Form::OnMouseDown(const MouseEvent& event) {
  if (IsInCaption() && !m_showOnlyControls) {
    m_dragging = 1;
    m_grabOffset = GetMousePosition() - m_position;
  } else {
    m_dragging = 0;
    m_grabOffset = Math::Vector2D();
  }
  Control::OnMouseDown(event);
}

void Form::OnResize() {
  LayoutParts();
  SizeCloseButton();
  PlaceCloseButton();
  SetPosition(m_position);
  Control::OnResize();
}

void Form::OnSkinChanged() {
  const std::string path = GetSkinPath(m_skinName);
  if (m_captionImage) m_captionImage = m_captionImage->CloneWithSkin(path);
  if (m_bottomImage) m_bottomImage = m_bottomImage->CloneWithSkin(path);
  if (m_leftImage) m_leftImage = m_leftImage->CloneWithSkin(path);
  if (m_rightImage) m_rightImage = m_rightImage->CloneWithSkin(path);
  SetPosition(m_position);
}

void Form::Drag() {
  if (!m_dragging) return;
  Input::MouseImp* mouse = Input::Mouse::GetInstance();
  // A release the form never saw (another form turned modal meanwhile) must not leave it stuck
  // to the mouse.
  if (mouse == nullptr || !(mouse->IsPressed(0) || mouse->IsPressed(1) || mouse->IsPressed(2))) {
    m_dragging = 0;
    m_grabOffset = Math::Vector2D();
    return;
  }
  if (mouse->IsMoved()) SetPosition(GetMousePosition() - m_grabOffset);
}

void Form::OnUpdate(float) { Drag(); }

void Form::Refresh() {
  PlaceSkinImages();
  for (const auto& child : m_children) {
    if (auto* form = dynamic_cast<Form*>(child.Get()))
      form->Refresh();
    else
      child->UpdatePosition();
  }
}

void Form::OnOpacityChanged() {
  const float opacity = GetEffectiveOpacity();
  GuiImage* images[4] = {m_captionImage.Get(), m_bottomImage.Get(), m_leftImage.Get(), m_rightImage.Get()};
  for (GuiImage* image : images)
    if (image) image->SetOpacity(opacity);
  if (m_closeButton) m_closeButton->OnOpacityChanged();
}

void Form::OnLostFocus() {
  if (!IsEnabled()) return;
  m_currentTab = m_previousTab = -1;
  for (const auto& child : m_children) child->OnLostFocus();
}

void Form::UpdateClientRectangle() {
  m_clientRectangle = NRectangle(m_rectangle.left + m_leftBorderWidth, m_rectangle.bottom + m_bottomBorderHeight,
                                 m_rectangle.width - m_leftBorderWidth - m_rightBorderWidth,
                                 m_rectangle.height - m_captionHeight - m_bottomBorderHeight);
}

void Form::SetModal(bool modal) {
  const uint8_t value = modal ? 1 : 0;
  if (value == m_modal) return;
  m_modal = value;
  HUD* hud = HUD::GetInstance();
  if (hud == nullptr) return;
  if (value) {
    if (auto* previous = dynamic_cast<Form*>(hud->GetModalForm())) previous->m_modal = 0;
    hud->SetModalForm(this);
  } else if (hud->GetModalForm() == this) {
    hud->SetModalForm(nullptr);
  }
}

void Form::SetPicture(const std::string& path) {
  m_pictureName = path;
  m_pictureTexture = Engine::LoadTexture(path, true);
  m_pictureContext = new ("Gui_Form", __LINE__) Engine::TextRenderContext();
}

void Form::Flash() {
  if (HoldsFocus() && !m_flashing) m_flashing = 1;
}

bool Form::IsInCaption() const {
  const Math::Vector2D a = GetAbsolutePosition();
  NRectangle caption(a.x, a.y + m_height - m_captionHeight, m_width, m_captionHeight);
  if (m_parent != nullptr) {
    NRectangle clipped;
    if (!NRectangle::Intersect(clipped, caption, m_parent->GetVisibleClientRectangle())) return false;
    caption = clipped;
  }
  const Math::Vector2D mouse = GetMousePosition();
  return caption.Contains(mouse.x, mouse.y);
}

void Form::LayoutParts() {
  const float sideHeight = m_height - m_captionHeight - m_bottomBorderHeight;
  if (m_captionImage) {
    m_captionImage->SetWidth(m_width);
    m_captionImage->SetHeight(m_captionHeight);
  }
  if (m_bottomImage) {
    m_bottomImage->SetWidth(m_width);
    m_bottomImage->SetHeight(m_bottomBorderHeight);
  }
  if (m_leftImage) {
    m_leftImage->SetWidth(m_leftBorderWidth);
    m_leftImage->SetHeight(sideHeight);
  }
  if (m_rightImage) {
    m_rightImage->SetWidth(m_rightBorderWidth);
    m_rightImage->SetHeight(sideHeight);
  }
}

void Form::SizeCloseButton() {
  if (!m_closeButton) return;
  float side = m_captionHeight - 2.0f;
  if (side < 2.0f) side = 2.0f;
  if (side > 20.0f) side = 20.0f;
  m_closeButton->SetSize(Math::Vector2D(side, side));
}

void Form::PlaceCloseButton() {
  if (!m_closeButton) return;
  m_closeButton->SetPosition(Math::Vector2D(m_width - m_leftBorderWidth - m_closeButton->GetWidth() - 2.0f,
                                            m_height - m_bottomBorderHeight - m_closeButton->GetHeight() - 2.0f));
}

void Form::OnCloseClicked(Control*) {
  OnClosing();
  RequestClose();
}

void Form::AfterBorderChange() {
  SetPosition(m_position);
  LayoutParts();
  SizeCloseButton();
  PlaceCloseButton();
  Refresh();
}

void Form::SetCaptionHeight(float value) {
  m_captionHeight = value;
  AfterBorderChange();
}
void Form::SetBottomBorderHeight(float value) {
  m_bottomBorderHeight = value;
  AfterBorderChange();
}
void Form::SetLeftBorderWidth(float value) {
  m_leftBorderWidth = value;
  AfterBorderChange();
}
void Form::SetRightBorderWidth(float value) {
  m_rightBorderWidth = value;
  AfterBorderChange();
}

void Form::Draw(float deltaTime) {
  if (m_showOnlyControls || !IsVisible()) return;
  Graphics* graphics = Graphics::GetInstance();
  const float key = m_depthKey;
  const bool focused = HoldsFocus();
  Math::Color frame = focused ? m_modulationColor : m_inactiveModulationColor;
  if (focused && m_flashing) {
    m_flashTimer += deltaTime;
    if (m_flashTimer > 0.1f) {
      m_flashTimer = 0.0f;
      m_flashPhase = m_flashPhase ? 0 : 1;
    }
    frame = m_flashPhase == 0 ? m_modulationColor : m_inactiveModulationColor;
    m_flashElapsed += deltaTime;
    if (m_flashElapsed > 0.8f) {
      frame = m_modulationColor;
      m_flashElapsed = 0.0f;
      m_flashTimer = 0.0f;
      m_flashing = 0;
      m_flashPhase = 1;
    }
  }
  m_frameColor = frame;
  const NRectangle clip = m_parent == nullptr ? GetScreenRectangle() : m_parent->GetVisibleClientRectangle();
  GuiImage* images[4] = {m_captionImage.Get(), m_bottomImage.Get(), m_leftImage.Get(), m_rightImage.Get()};
  for (GuiImage* image : images) {
    if (image == nullptr) continue;
    image->SetDepth(key);
    image->SetColor(frame);
    image->Draw(clip);
  }
  if (graphics == nullptr) return;

  graphics->Reset();
  graphics->SetOpacity(m_captionImage ? m_captionImage->GetOpacity() : 1.0f);
  graphics->SetDepth(key);
  graphics->SetSecondEffect(true);
  if (m_pictureContext) {
    graphics->PrepareImage(m_pictureContext, TRectangle(m_visibleClientRectangle), m_pictureTexture);
    graphics->DrawImage(m_pictureContext);
  }
  graphics->SetSecondEffect(false);

  if (m_font && !m_text.empty()) {
    const Math::Vector2D a = GetAbsolutePosition();
    const NRectangle caption(a.x, a.y + m_height - m_captionHeight, m_width, m_captionHeight);
    graphics->SetClipRectangle(caption);
    graphics->SetDepth(key + 0.1f);
    graphics->SetColor(m_textModulationColor);
    float y = caption.bottom;
    const auto lineHeight = static_cast<float>(m_font->GetLineHeight());
    if (lineHeight < m_captionHeight) y += (m_captionHeight - lineHeight) / 2.0f;
    graphics->PrepareString(m_stringContext, caption.left, y, m_text, m_font);
    graphics->DrawString(m_stringContext);
  }
}

void Form::Save(Core::File& file) {
  Control::Save(file);
  file.WriteObject(m_captionImage.Get());
  file.WriteObject(m_bottomImage.Get());
  file.WriteObject(m_leftImage.Get());
  file.WriteObject(m_rightImage.Get());
  file.WriteObject(m_closeButton.Get());
  file << m_pictureName;
  const uint8_t flags[5] = {m_closeButtonVisible, m_showOnlyControls, m_flashing, m_flashPhase, m_modal};
  for (uint8_t flag : flags) Core::WriteValue(file, flag);
  const float values[6] = {m_flashTimer,         m_flashElapsed,    m_captionHeight,
                           m_bottomBorderHeight, m_leftBorderWidth, m_rightBorderWidth};
  for (float value : values) Core::WriteValue(file, value);
  Math::WriteColor(file, m_inactiveModulationColor);
  Core::WriteValue(file, m_dragging);
  Math::WriteVector2D(file, m_grabOffset);
}

void Form::Load(Core::File& file) {
  Control::Load(file);
  Core::ReadObjectPointer(file, m_captionImage);
  Core::ReadObjectPointer(file, m_bottomImage);
  Core::ReadObjectPointer(file, m_leftImage);
  Core::ReadObjectPointer(file, m_rightImage);
  // The close button is one of the children, written there first.
  Core::Object* button = file.ReadObject();
  m_closeButton = nullptr;
  for (const auto& child : m_children)
    if (child.Get() == button) m_closeButton = dynamic_cast<Button*>(button);
  if (m_closeButton == nullptr && file.LastReadCreatedObject()) file.DiscardCreatedObject(button);
  file >> m_pictureName;
  uint8_t* flags[5] = {&m_closeButtonVisible, &m_showOnlyControls, &m_flashing, &m_flashPhase, &m_modal};
  for (uint8_t* flag : flags) Core::ReadValue(file, *flag);
  float* values[6] = {&m_flashTimer,         &m_flashElapsed,    &m_captionHeight,
                      &m_bottomBorderHeight, &m_leftBorderWidth, &m_rightBorderWidth};
  for (float* value : values) Core::ReadValue(file, *value);
  Math::ReadColor(file, m_inactiveModulationColor);
  Core::ReadValue(file, m_dragging);
  Math::ReadVector2D(file, m_grabOffset);
  m_pictureTexture = m_pictureName.empty() ? nullptr : Engine::LoadTexture(m_pictureName, true);
  m_pictureContext = new ("Gui_Form", __LINE__) Engine::TextRenderContext();
  if (m_closeButton) m_closeButton->AddClickHandler(this, &Form::OnCloseClicked);
}

}  // namespace GUI
