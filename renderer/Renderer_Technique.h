#pragma once
// A sequence of passes and the restore records that put back every kind the passes touch.
#include <vector>

#include "renderer/Renderer_Pass.h"

namespace Renderer {

class Technique : public Core::Object {
 public:
  Technique() = default;
  // Clones every pass and every restore record, in order.
  Technique(const Technique& other);
  Technique& operator=(const Technique&) = delete;
  VELKOR_DECLARE_CLASS(Technique);

  void AddPass(const Core::SmartPointer<Pass>& pass);
  Core::SmartPointer<Pass> GetPass(uint32_t index) const;
  uint32_t GetPassCount() const { return static_cast<uint32_t>(m_passes.size()); }

  // One reset record per kind used by any pass; call after the last AddPass.
  void BuildRestoreStates();
  // Captures the renderer's current value of every restore kind.
  void SaveStates();
  // Sends those values back.
  void RestoreStates();

  uint32_t GetRestoreStateCount() const { return static_cast<uint32_t>(m_restoreStates.size()); }
  Core::SmartPointer<State> GetRestoreState(uint32_t index) const;

 private:
  std::vector<Core::SmartPointer<Pass>> m_passes;
  std::vector<Core::SmartPointer<State>> m_restoreStates;
};

}  // namespace Renderer
