#include "renderer/Renderer_ShadingState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer {

VELKOR_IMPLEMENT_UNREGISTERED_CLASS(ShadingState, "Renderer::ShadingState");

void ShadingState::Apply(IRenderer* renderer) {
  if (renderer) renderer->SetShadingState(*this);
}

void ShadingState::Capture(IRenderer* renderer) {
  if (renderer) renderer->GetShadingState(*this);
}

void ShadingState::Reset() {
  model = ShadeModel::Smooth;
}

bool ShadingState::operator==(const ShadingState& other) const {
  return model == other.model;
}

}  // namespace Renderer
