#include "renderer/Renderer_CurrentColorState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer {

VELKOR_IMPLEMENT_UNREGISTERED_CLASS(CurrentColorState, "Renderer::CurrentColorState");

void CurrentColorState::Apply(IRenderer* renderer) {
  if (renderer) renderer->SetColor(color);
}

void CurrentColorState::Capture(IRenderer* renderer) {
  if (renderer) color = renderer->GetColor();
}

void CurrentColorState::Reset() {
  color = Math::Color(1.0f, 1.0f, 1.0f, 1.0f);
}

bool CurrentColorState::operator==(const CurrentColorState& other) const {
  return color == other.color;
}

}  // namespace Renderer
