#include "scene/Engine_Viewport.h"

#include "scene/Engine_SceneGraph.h"
#include "scene/Engine_ScreenObject.h"
#include "scene/Engine_TextureSource.h"

namespace Engine {

Viewport::Viewport(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t depthValue)
    : m_x(x), m_y(y), m_width(width), m_height(height), m_depthValue(depthValue) {
  m_savedViewport.x = x;
  m_savedViewport.y = y;
  m_savedViewport.width = width;
  m_savedViewport.height = height;
  m_savedViewport.nearDepth = 0.0f;
  m_savedViewport.farDepth = 1.0f;
  m_savedScissor.x = 0;
  m_savedScissor.y = 0;
  m_savedScissor.width = 640;
  m_savedScissor.height = 480;
  m_savedScissor.enabled = 0;
}

Viewport::Viewport(const Viewport& other)
    : Core::Object(other),
      m_x(other.m_x),
      m_y(other.m_y),
      m_width(other.m_width),
      m_height(other.m_height),
      m_depthValue(other.m_depthValue),
      m_clearColor(other.m_clearColor),
      m_savedViewport(other.m_savedViewport),
      m_savedScissor(other.m_savedScissor),
      m_background(other.m_background) {}

Viewport::~Viewport() = default;

Core::Object* Viewport::Clone() const { return new ("Engine_Viewport", __LINE__) Viewport(*this); }

void Viewport::SetBackground(const std::string& fileName) { m_background = LoadTexture(fileName, false); }

void Viewport::Apply(Renderer::IRenderer* renderer) {
  m_savedViewport = renderer->GetViewport();
  renderer->GetScissorState(m_savedScissor);
  Renderer::Viewport viewport;
  viewport.x = m_x;
  viewport.y = m_y;
  viewport.width = m_width;
  viewport.height = m_height;
  viewport.nearDepth = 0.0f;
  viewport.farDepth = 1.0f;
  renderer->SetViewport(viewport);
  Renderer::ScissorState scissor;
  scissor.x = m_x;
  scissor.y = m_y;
  scissor.width = m_width;
  scissor.height = m_height;
  scissor.enabled = 1;
  renderer->SetScissorState(scissor);
}

void Viewport::Restore(Renderer::IRenderer* renderer) {
  renderer->SetViewport(m_savedViewport);
  renderer->SetScissorState(m_savedScissor);
}

void Viewport::Clear(Renderer::IRenderer* renderer) { renderer->ClearBuffers(m_clearColor, 1.0f, 0); }

void Viewport::ClearColor(Renderer::IRenderer* renderer) { renderer->ClearColorBuffer(m_clearColor); }

void Viewport::DrawBackground(Renderer::IRenderer* renderer) {
  (void)renderer;
  if (!m_background) return;
  RenderQueue* queue = SceneGraph::GetActiveQueue();
  if (queue == nullptr) return;
  // The queue keeps a copy: a record on the stack spares an allocation per view.
  TextRenderContext record;
  TextRenderContext* context = &record;
  const auto x = static_cast<float>(m_x);
  const auto y = static_cast<float>(m_y);
  const auto right = static_cast<float>(m_x + m_width);
  const auto top = static_cast<float>(m_y + m_height);
  context->corners[0] = Math::Vector3D(x, y, 0.0f);
  context->corners[1] = Math::Vector3D(right, y, 0.0f);
  context->corners[2] = Math::Vector3D(right, top, 0.0f);
  context->corners[3] = Math::Vector3D(x, top, 0.0f);
  context->texCoords[0] = Math::Vector2D(0.0f, 0.0f);
  context->texCoords[1] = Math::Vector2D(1.0f, 0.0f);
  context->texCoords[2] = Math::Vector2D(1.0f, 1.0f);
  context->texCoords[3] = Math::Vector2D(0.0f, 1.0f);
  context->color = Math::Color(1.0f, 1.0f, 1.0f, 1.0f);
  context->SetTexture(m_background);
  queue->AddTextRenderContext(*context);
}

}  // namespace Engine
