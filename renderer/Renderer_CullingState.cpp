#include "renderer/Renderer_CullingState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer {

VELKOR_IMPLEMENT_UNREGISTERED_CLASS(CullingState, "Renderer::CullingState");

void CullingState::Apply(IRenderer* renderer) {
  if (renderer) renderer->SetCullingState(*this);
}

void CullingState::Capture(IRenderer* renderer) {
  if (renderer) renderer->GetCullingState(*this);
}

void CullingState::Reset() {
  face = CullFace::Back;
  enabled = 1;
}

bool CullingState::operator==(const CullingState& other) const {
  return face == other.face && enabled == other.enabled;
}

}  // namespace Renderer
