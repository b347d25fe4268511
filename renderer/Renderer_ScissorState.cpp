#include "renderer/Renderer_ScissorState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer {

VELKOR_IMPLEMENT_UNREGISTERED_CLASS(ScissorState, "Renderer::ScissorState");

void ScissorState::Apply(IRenderer* renderer) {
  if (renderer) renderer->SetScissorState(*this);
}

void ScissorState::Capture(IRenderer* renderer) {
  if (renderer) renderer->GetScissorState(*this);
}

void ScissorState::Reset() {
  x = 0;
  y = 0;
  width = 640;
  height = 480;
  enabled = 0;
}

bool ScissorState::operator==(const ScissorState& other) const {
  return x == other.x && y == other.y && width == other.width && height == other.height && enabled == other.enabled;
}

}  // namespace Renderer
