#pragma once
// Whether normals are rescaled to unit length.
#include "renderer/Renderer_State.h"

namespace Renderer {

class NormalizeNormalsState : public State {
 public:
  uint8_t enabled = 0;

  NormalizeNormalsState() = default;
  NormalizeNormalsState(const NormalizeNormalsState&) = default;
  NormalizeNormalsState& operator=(const NormalizeNormalsState&) = default;
  VELKOR_DECLARE_CLASS(NormalizeNormalsState);

  void Apply(IRenderer* renderer) override;
  void Capture(IRenderer* renderer) override;
  void Reset() override;

  bool operator==(const NormalizeNormalsState& other) const;
  bool operator!=(const NormalizeNormalsState& other) const { return !(*this == other); }
};

}  // namespace Renderer
