#include "renderer/Renderer_AlphaBlendingState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer {

VELKOR_IMPLEMENT_UNREGISTERED_CLASS(AlphaBlendingState, "Renderer::AlphaBlendingState");

void AlphaBlendingState::Apply(IRenderer* renderer) {
  if (renderer) renderer->SetAlphaBlendingState(*this);
}

void AlphaBlendingState::Capture(IRenderer* renderer) {
  if (renderer) renderer->GetAlphaBlendingState(*this);
}

void AlphaBlendingState::Reset() {
  source = BlendFactor::SourceAlpha;
  destination = BlendFactor::OneMinusSourceAlpha;
  enabled = 0;
}

bool AlphaBlendingState::operator==(const AlphaBlendingState& other) const {
  return source == other.source && destination == other.destination && enabled == other.enabled;
}

}  // namespace Renderer
