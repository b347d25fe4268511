#include "renderer/Renderer_NormalizeNormalsState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer {

VELKOR_IMPLEMENT_UNREGISTERED_CLASS(NormalizeNormalsState, "Renderer::NormalizeNormalsState");

void NormalizeNormalsState::Apply(IRenderer* renderer) {
  if (renderer) renderer->SetNormalizeNormalsState(*this);
}

void NormalizeNormalsState::Capture(IRenderer* renderer) {
  if (renderer) renderer->GetNormalizeNormalsState(*this);
}

void NormalizeNormalsState::Reset() {
  enabled = 0;
}

bool NormalizeNormalsState::operator==(const NormalizeNormalsState& other) const {
  return enabled == other.enabled;
}

}  // namespace Renderer
