#include "renderer/Renderer_DitheringState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer {

VELKOR_IMPLEMENT_UNREGISTERED_CLASS(DitheringState, "Renderer::DitheringState");

void DitheringState::Apply(IRenderer* renderer) {
  if (renderer) renderer->SetDitheringState(*this);
}

void DitheringState::Capture(IRenderer* renderer) {
  if (renderer) renderer->GetDitheringState(*this);
}

void DitheringState::Reset() {
  enabled = 1;
}

bool DitheringState::operator==(const DitheringState& other) const {
  return enabled == other.enabled;
}

}  // namespace Renderer
