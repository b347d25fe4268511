#include "renderer/Renderer_ColorMaskState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer {

VELKOR_IMPLEMENT_UNREGISTERED_CLASS(ColorMaskState, "Renderer::ColorMaskState");

void ColorMaskState::Apply(IRenderer* renderer) {
  if (renderer) renderer->SetColorMaskState(*this);
}

void ColorMaskState::Capture(IRenderer* renderer) {
  if (renderer) renderer->GetColorMaskState(*this);
}

void ColorMaskState::Reset() {
  red = 1;
  green = 1;
  blue = 1;
  alpha = 1;
}

bool ColorMaskState::operator==(const ColorMaskState& other) const {
  return red == other.red && green == other.green && blue == other.blue && alpha == other.alpha;
}

}  // namespace Renderer
