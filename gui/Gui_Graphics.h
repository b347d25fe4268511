#pragma once
// The GUI's one drawing context: colour, opacity, depth, clip rectangle, mirroring and font, turned
// into clipped screen objects (image quads and glyph strings) that the render queue draws at the
// end of the frame, sorted by depth.
#include <cstdint>
#include <string>

#include "core/Core_Object.h"
#include "gui/Gui_ImageEffect.h"
#include "gui/Gui_Rectangle.h"
#include "gui/Gui_StringRenderContext.h"
#include "math/Math_Color.h"
#include "scene/Engine_ScreenObject.h"

namespace Engine {
class BitmapFont;
}

namespace GUI {

// One textured quad whose effect takes the context's mode value just before it is drawn.
class ImageRenderContext : public Engine::TextRenderContext {
 public:
  ImageRenderContext() = default;
  explicit ImageRenderContext(uint32_t mode) : modeValue(mode) {}
  const char* GetClassName() const override { return "GUI::ImageRenderContext"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(ImageRenderContext)); }
  Core::Object* Clone() const override;

  void Reset() override;
  // Ready only with both an effect and a texture.
  bool IsReady() const override;
  void PrepareDraw() override;

  uint32_t modeValue = 0;
};

// The screen size of the renderer's current display mode (0 without a renderer).
int32_t GetScreenWidth();
int32_t GetScreenHeight();
NRectangle GetScreenRectangle();

class Graphics {
 public:
  Graphics();
  ~Graphics();
  Graphics(const Graphics&) = delete;
  Graphics& operator=(const Graphics&) = delete;

  // The context of the GUI root (null while there is none).
  static Graphics* GetInstance();
  static void SetInstance(Graphics* graphics);

  void Reset();
  void SetColor(const Math::Color& newColor) { color = newColor; }
  void SetOpacity(float value) { opacity = value; }
  void SetDepth(float value) { depth = value; }
  void SetSecondEffect(bool on) { secondEffect = on ? 1 : 0; }
  void SetClipRectangle(const NRectangle& rectangle) { clip = rectangle; }
  void SetFont(const Core::SmartPointer<Engine::BitmapFont>& newFont);
  void SetMirror(bool x, bool y) {
    mirrorX = x ? 1 : 0;
    mirrorY = y ? 1 : 0;
  }

  // Clips target against the clip rectangle and fills the context; a target wholly outside
  // leaves the context invisible and otherwise untouched.
  void PrepareImage(const Core::SmartPointer<Engine::TextRenderContext>& context, const TRectangle& target,
                    const Core::SmartPointer<Renderer::ITexture>& texture);
  // Queues a visible context that has a texture.
  void DrawImage(const Core::SmartPointer<Engine::TextRenderContext>& context);
  // Lays text out from the pen (x, y) glyph by glyph, each glyph clipped.
  void PrepareString(const Core::SmartPointer<Engine::StringRenderContext>& context, float x, float y,
                     const std::string& text, const Core::SmartPointer<Engine::BitmapFont>& font);
  void DrawString(const Core::SmartPointer<Engine::StringRenderContext>& context);

  void Save(Core::File& file) const;
  void Load(Core::File& file);

  const Core::SmartPointer<ImageEffect>& GetEffectA() const { return effectA; }
  const Core::SmartPointer<ImageEffect>& GetEffectB() const { return effectB; }

  Math::Color color{1.0f, 1.0f, 1.0f, 1.0f};
  Core::SmartPointer<ImageEffect> effectA;
  Core::SmartPointer<ImageEffect> effectB;
  Core::SmartPointer<Renderer::Effect> texturedAlphaEffect;
  Core::SmartPointer<Engine::BitmapFont> font;
  Core::SmartPointer<Renderer::ITexture> whiteTexture;
  NRectangle clip;
  float depth = 0.0f;
  float opacity = 1.0f;
  uint32_t lineWidth = 1;
  uint16_t stipple = 0xAAAA;
  uint8_t flag0 = 0;
  uint8_t mirrorX = 0;
  uint8_t mirrorY = 0;
  uint8_t secondEffect = 0;
};

}  // namespace GUI
