#include "renderer/Renderer_Pass.h"

#include <typeinfo>

#include "renderer/Renderer_IRenderer.h"

namespace Renderer {

VELKOR_IMPLEMENT_UNREGISTERED_CLASS(Pass, "Renderer::Pass");

bool IsSameKind(const State& a, const State& b) { return typeid(a) == typeid(b); }

Pass::Pass(const Pass& other) : Core::Object(other) {
  m_states.reserve(other.m_states.size());
  for (const auto& state : other.m_states) m_states.emplace_back(static_cast<State*>(state->Clone()));
}

uint32_t Pass::AddState(const Core::SmartPointer<State>& state) {
  if (!state) return GetStateCount();  // callers never pass null; adding nothing keeps the pass whole
  for (size_t i = 0; i < m_states.size(); ++i) {
    if (IsSameKind(*m_states[i], *state)) {
      m_states[i] = state;
      return static_cast<uint32_t>(i);
    }
  }
  m_states.push_back(state);
  return static_cast<uint32_t>(m_states.size() - 1);
}

Core::SmartPointer<State> Pass::GetState(uint32_t index) const {
  if (index >= m_states.size()) return nullptr;
  return m_states[index];
}

void Pass::Apply() {
  Core::SmartPointer<IRenderer> renderer = IRenderer::GetInstance();
  if (!renderer) return;
  for (const auto& state : m_states) state->Apply(renderer.Get());
}

}  // namespace Renderer
