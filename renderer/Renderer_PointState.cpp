#include "renderer/Renderer_PointState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer {

VELKOR_IMPLEMENT_UNREGISTERED_CLASS(PointState, "Renderer::PointState");

void PointState::Apply(IRenderer* renderer) {
  if (renderer) renderer->SetPointState(*this);
}

void PointState::Capture(IRenderer* renderer) {
  if (renderer) renderer->GetPointState(*this);
}

void PointState::Reset() {
  size = 1.0f;
}

bool PointState::operator==(const PointState& other) const {
  return size == other.size;
}

}  // namespace Renderer
