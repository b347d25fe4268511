#pragma once
// Smooth or flat shading.
#include "renderer/Renderer_State.h"

namespace Renderer {

class ShadingState : public State {
 public:
  uint32_t model = ShadeModel::Smooth;

  ShadingState() = default;
  ShadingState(const ShadingState&) = default;
  ShadingState& operator=(const ShadingState&) = default;
  VELKOR_DECLARE_CLASS(ShadingState);

  void Apply(IRenderer* renderer) override;
  void Capture(IRenderer* renderer) override;
  void Reset() override;

  bool operator==(const ShadingState& other) const;
  bool operator!=(const ShadingState& other) const { return !(*this == other); }
};

}  // namespace Renderer
