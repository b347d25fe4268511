#pragma once
// Which faces are culled, and whether culling is on.
#include "renderer/Renderer_State.h"

namespace Renderer {

class CullingState : public State {
 public:
  uint32_t face = CullFace::Back;
  uint8_t enabled = 1;

  CullingState() = default;
  CullingState(const CullingState&) = default;
  CullingState& operator=(const CullingState&) = default;
  VELKOR_DECLARE_CLASS(CullingState);

  void Apply(IRenderer* renderer) override;
  void Capture(IRenderer* renderer) override;
  void Reset() override;

  bool operator==(const CullingState& other) const;
  bool operator!=(const CullingState& other) const { return !(*this == other); }
};

}  // namespace Renderer
