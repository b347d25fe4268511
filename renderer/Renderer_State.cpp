#include "renderer/Renderer_State.h"

namespace Renderer {

VELKOR_IMPLEMENT_UNREGISTERED_CLASS(State, "Renderer::State");

void State::Apply(IRenderer*) {}

void State::Capture(IRenderer*) {}

void State::Reset() {}

}  // namespace Renderer
