#include "renderer/Renderer_FillingState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer {

VELKOR_IMPLEMENT_UNREGISTERED_CLASS(FillingState, "Renderer::FillingState");

void FillingState::Apply(IRenderer* renderer) {
  if (renderer) renderer->SetFillingState(*this);
}

void FillingState::Capture(IRenderer* renderer) {
  if (renderer) renderer->GetFillingState(*this);
}

void FillingState::Reset() {
  mode = FillMode::Fill;
}

bool FillingState::operator==(const FillingState& other) const {
  return mode == other.mode;
}

}  // namespace Renderer
