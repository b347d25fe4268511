#pragma once
// The alpha test.
#include "renderer/Renderer_State.h"

namespace Renderer {

class AlphaTestingState : public State {
 public:
  uint32_t function = CompareFunction::Always;
  float reference = 0.0f;
  uint8_t enabled = 0;

  AlphaTestingState() = default;
  AlphaTestingState(const AlphaTestingState&) = default;
  AlphaTestingState& operator=(const AlphaTestingState&) = default;
  VELKOR_DECLARE_CLASS(AlphaTestingState);

  void Apply(IRenderer* renderer) override;
  void Capture(IRenderer* renderer) override;
  void Reset() override;

  bool operator==(const AlphaTestingState& other) const;
  bool operator!=(const AlphaTestingState& other) const { return !(*this == other); }
};

}  // namespace Renderer
