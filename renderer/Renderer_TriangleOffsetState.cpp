#include "renderer/Renderer_TriangleOffsetState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer {

VELKOR_IMPLEMENT_UNREGISTERED_CLASS(TriangleOffsetState, "Renderer::TriangleOffsetState");

void TriangleOffsetState::Apply(IRenderer* renderer) {
  if (renderer) renderer->SetTriangleOffsetState(*this);
}

void TriangleOffsetState::Capture(IRenderer* renderer) {
  if (renderer) renderer->GetTriangleOffsetState(*this);
}

void TriangleOffsetState::Reset() {
  factor = 0.0f;
  units = 0.0f;
  enabled = 0;
}

bool TriangleOffsetState::operator==(const TriangleOffsetState& other) const {
  return factor == other.factor && units == other.units && enabled == other.enabled;
}

}  // namespace Renderer
