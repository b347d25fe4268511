#include "renderer/Renderer_Technique.h"

#include <algorithm>
#include <typeindex>
#include <typeinfo>

#include "renderer/Renderer_IRenderer.h"

namespace Renderer {

VELKOR_IMPLEMENT_UNREGISTERED_CLASS(Technique, "Renderer::Technique");

Technique::Technique(const Technique& other) : Core::Object(other) {
  for (const auto& pass : other.m_passes) m_passes.emplace_back(static_cast<Pass*>(pass->Clone()));
  for (const auto& state : other.m_restoreStates)
    m_restoreStates.emplace_back(static_cast<State*>(state->Clone()));
}

void Technique::AddPass(const Core::SmartPointer<Pass>& pass) {
  if (pass) m_passes.push_back(pass);
}

Core::SmartPointer<Pass> Technique::GetPass(uint32_t index) const {
  if (index >= m_passes.size()) return nullptr;
  return m_passes[index];
}

Core::SmartPointer<State> Technique::GetRestoreState(uint32_t index) const {
  if (index >= m_restoreStates.size()) return nullptr;
  return m_restoreStates[index];
}

void Technique::BuildRestoreStates() {
  for (const auto& pass : m_passes) {
    for (uint32_t i = 0; i < pass->GetStateCount(); ++i) {
      Core::SmartPointer<State> copy(static_cast<State*>(pass->GetState(i)->Clone()));
      copy->Reset();
      m_restoreStates.push_back(copy);
    }
  }
  auto kindOf = [](const Core::SmartPointer<State>& s) {
    const State& state = *s;
    return std::type_index(typeid(state));
  };
  std::stable_sort(m_restoreStates.begin(), m_restoreStates.end(),
                   [&](const auto& a, const auto& b) { return kindOf(a) < kindOf(b); });
  m_restoreStates.erase(std::unique(m_restoreStates.begin(), m_restoreStates.end(),
                                    [&](const auto& a, const auto& b) { return kindOf(a) == kindOf(b); }),
                        m_restoreStates.end());
}

void Technique::SaveStates() {
  Core::SmartPointer<IRenderer> renderer = IRenderer::GetInstance();
  if (!renderer) return;
  for (const auto& state : m_restoreStates) state->Capture(renderer.Get());
}

void Technique::RestoreStates() {
  Core::SmartPointer<IRenderer> renderer = IRenderer::GetInstance();
  if (!renderer) return;
  for (const auto& state : m_restoreStates) state->Apply(renderer.Get());
}

}  // namespace Renderer
