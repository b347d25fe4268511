#include "renderer/Renderer_LightingState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer {

VELKOR_IMPLEMENT_UNREGISTERED_CLASS(LightingState, "Renderer::LightingState");

void LightingState::Apply(IRenderer* renderer) {
  if (renderer) renderer->SetLightingState(*this);
}

void LightingState::Capture(IRenderer* renderer) {
  if (renderer) renderer->GetLightingState(*this);
}

void LightingState::Reset() {
  ambient = Math::Color(0.2f, 0.2f, 0.2f, 1.0f);
  localViewer = 1;
  enabled = 0;
}

bool LightingState::operator==(const LightingState& other) const {
  return ambient == other.ambient && localViewer == other.localViewer && enabled == other.enabled;
}

}  // namespace Renderer
