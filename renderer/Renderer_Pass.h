#pragma once
// A set of render-state records, at most one per kind, applied together.
#include <vector>

#include "renderer/Renderer_State.h"

namespace Renderer {

class Pass : public Core::Object {
 public:
  Pass() = default;
  // Clones every record of the other pass, in order.
  Pass(const Pass& other);
  Pass& operator=(const Pass&) = delete;
  VELKOR_DECLARE_CLASS(Pass);

  // Replaces the record of the same kind in place (returning its position) or appends.
  uint32_t AddState(const Core::SmartPointer<State>& state);
  Core::SmartPointer<State> GetState(uint32_t index) const;
  uint32_t GetStateCount() const { return static_cast<uint32_t>(m_states.size()); }
  // Applies every record, in order, to the renderer singleton.
  void Apply();

 private:
  std::vector<Core::SmartPointer<State>> m_states;
};

// Records are of one kind exactly when their concrete classes are equal.
bool IsSameKind(const State& a, const State& b);

}  // namespace Renderer
