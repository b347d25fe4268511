#include "renderer/Renderer_StencilBufferState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer {

VELKOR_IMPLEMENT_UNREGISTERED_CLASS(StencilBufferState, "Renderer::StencilBufferState");

void StencilBufferState::Apply(IRenderer* renderer) {
  if (renderer) renderer->SetStencilBufferState(*this);
}

void StencilBufferState::Capture(IRenderer* renderer) {
  if (renderer) renderer->GetStencilBufferState(*this);
}

void StencilBufferState::Reset() {
  function = CompareFunction::Always;
  failOperation = StencilOperation::Keep;
  depthFailOperation = StencilOperation::Keep;
  depthPassOperation = StencilOperation::Keep;
  reference = 0;
  compareMask = 0xFFFFFFFFu;
  writeMask = 0xFFFFFFFFu;
  enabled = 0;
}

bool StencilBufferState::operator==(const StencilBufferState& other) const {
  return function == other.function && failOperation == other.failOperation && depthFailOperation == other.depthFailOperation && depthPassOperation == other.depthPassOperation && reference == other.reference && compareMask == other.compareMask && writeMask == other.writeMask && enabled == other.enabled;
}

}  // namespace Renderer
