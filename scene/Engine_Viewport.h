#pragma once
// A rectangle of the window with a clear colour and an optional background image; it replaces the
// renderer's viewport and scissor box while a view is drawn into it and puts them back afterwards.
#include <cstdint>
#include <string>

#include "core/Core_Object.h"
#include "math/Math_Color.h"
#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_ScissorState.h"

namespace Engine {

class Viewport : public Core::Object {
 public:
  Viewport(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t depthValue = 0);
  Viewport(const Viewport& other);
  ~Viewport() override;
  Core::Object* Clone() const override;

  void SetClearColor(const Math::Color& color) { m_clearColor = color; }
  const Math::Color& GetClearColor() const { return m_clearColor; }
  // Loads the image without mipmaps; an image that cannot be had leaves no background.
  void SetBackground(const std::string& fileName);
  const Core::SmartPointer<Renderer::ITexture>& GetBackground() const { return m_background; }

  void Apply(Renderer::IRenderer* renderer);
  void Restore(Renderer::IRenderer* renderer);
  void Clear(Renderer::IRenderer* renderer);
  void ClearColor(Renderer::IRenderer* renderer);
  void DrawBackground(Renderer::IRenderer* renderer);

  int32_t GetX() const { return m_x; }
  int32_t GetY() const { return m_y; }
  int32_t GetWidth() const { return m_width; }
  int32_t GetHeight() const { return m_height; }

 private:
  int32_t m_x, m_y, m_width, m_height;
  uint32_t m_depthValue;
  Math::Color m_clearColor{0.0f, 0.0f, 0.0f, 1.0f};
  Renderer::Viewport m_savedViewport;
  Renderer::ScissorState m_savedScissor;
  Core::SmartPointer<Renderer::ITexture> m_background;
};

}  // namespace Engine
