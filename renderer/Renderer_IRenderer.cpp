#include "renderer/Renderer_IRenderer.h"

namespace Renderer {

namespace {
// Holds no reference: the rendering application's pointer keeps the renderer alive.
IRenderer* g_renderer = nullptr;
}  // namespace

RendererDescriptor::RendererDescriptor(uint32_t widthPixels, uint32_t heightPixels)
    : width(widthPixels), height(heightPixels) {}

Core::SmartPointer<IRenderer> IRenderer::GetInstance() { return Core::SmartPointer<IRenderer>(g_renderer); }

void IRenderer::SetInstance(IRenderer* renderer) { g_renderer = renderer; }

// A destroyed renderer must not stay reachable through the singleton.
IRenderer::~IRenderer() {
  if (g_renderer == this) g_renderer = nullptr;
}

}  // namespace Renderer
