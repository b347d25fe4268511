#include "renderer/Renderer_FogState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer {

VELKOR_IMPLEMENT_UNREGISTERED_CLASS(FogState, "Renderer::FogState");

void FogState::Apply(IRenderer* renderer) {
  if (renderer) renderer->SetFogState(*this);
}

void FogState::Capture(IRenderer* renderer) {
  if (renderer) renderer->GetFogState(*this);
}

void FogState::Reset() {
  mode = FogMode::Linear;
  start = 0.0f;
  end = 100.0f;
  density = 0.0f;
  enabled = 0;
}

bool FogState::operator==(const FogState& other) const {
  return mode == other.mode && color == other.color && start == other.start && end == other.end && density == other.density && enabled == other.enabled;
}

}  // namespace Renderer
