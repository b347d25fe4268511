#include "renderer/Renderer_DepthBufferState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer {

VELKOR_IMPLEMENT_UNREGISTERED_CLASS(DepthBufferState, "Renderer::DepthBufferState");

void DepthBufferState::Apply(IRenderer* renderer) {
  if (renderer) renderer->SetDepthBufferState(*this);
}

void DepthBufferState::Capture(IRenderer* renderer) {
  if (renderer) renderer->GetDepthBufferState(*this);
}

void DepthBufferState::Reset() {
  function = CompareFunction::Less;
  testEnabled = 1;
  writeEnabled = 1;
}

bool DepthBufferState::operator==(const DepthBufferState& other) const {
  return function == other.function && testEnabled == other.testEnabled && writeEnabled == other.writeEnabled;
}

}  // namespace Renderer
