#include "renderer/Renderer_IRenderer.h"

#include "renderer/opengl/Renderer_Adapter.h"

namespace Renderer {

namespace {
// Holds no reference: the rendering application's pointer keeps the renderer alive.
IRenderer* g_renderer = nullptr;
}  // namespace

RendererDescriptor::RendererDescriptor(uint32_t widthPixels, uint32_t heightPixels)
    : width(widthPixels), height(heightPixels) {
  Core::SmartPointer<Adapter> adapter = Adapter::GetInstance();
  if (!adapter) return;
  const DisplayModeRecord desktop = adapter->GetDesktopMode();
  if (desktop.refreshRate != 0) refreshRate = desktop.refreshRate;
  if (desktop.colorBits != 0) colorBits = desktop.colorBits;
}

Core::SmartPointer<IRenderer> IRenderer::GetInstance() { return Core::SmartPointer<IRenderer>(g_renderer); }

void IRenderer::SetInstance(IRenderer* renderer) { g_renderer = renderer; }

// A destroyed renderer must not stay reachable through the singleton.
IRenderer::~IRenderer() {
  if (g_renderer == this) g_renderer = nullptr;
}

}  // namespace Renderer
