#include "renderer/Renderer_LineState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer {

VELKOR_IMPLEMENT_UNREGISTERED_CLASS(LineState, "Renderer::LineState");

void LineState::Apply(IRenderer* renderer) {
  if (renderer) renderer->SetLineState(*this);
}

void LineState::Capture(IRenderer* renderer) {
  if (renderer) renderer->GetLineState(*this);
}

void LineState::Reset() {
  width = 1.0f;
}

bool LineState::operator==(const LineState& other) const {
  return width == other.width;
}

}  // namespace Renderer
