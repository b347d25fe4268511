#include "renderer/Renderer_AlphaTestingState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer {

VELKOR_IMPLEMENT_UNREGISTERED_CLASS(AlphaTestingState, "Renderer::AlphaTestingState");

void AlphaTestingState::Apply(IRenderer* renderer) {
  if (renderer) renderer->SetAlphaTestingState(*this);
}

void AlphaTestingState::Capture(IRenderer* renderer) {
  if (renderer) renderer->GetAlphaTestingState(*this);
}

void AlphaTestingState::Reset() {
  function = CompareFunction::Always;
  reference = 0.0f;
  enabled = 0;
}

bool AlphaTestingState::operator==(const AlphaTestingState& other) const {
  return function == other.function && reference == other.reference && enabled == other.enabled;
}

}  // namespace Renderer
