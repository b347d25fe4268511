#pragma once
// The depth test and depth writes.
#include "renderer/Renderer_State.h"

namespace Renderer {

class DepthBufferState : public State {
 public:
  uint32_t function = CompareFunction::Less;
  uint8_t testEnabled = 1;
  uint8_t writeEnabled = 1;

  DepthBufferState() = default;
  DepthBufferState(const DepthBufferState&) = default;
  DepthBufferState& operator=(const DepthBufferState&) = default;
  VELKOR_DECLARE_CLASS(DepthBufferState);

  void Apply(IRenderer* renderer) override;
  void Capture(IRenderer* renderer) override;
  void Reset() override;

  bool operator==(const DepthBufferState& other) const;
  bool operator!=(const DepthBufferState& other) const { return !(*this == other); }
};

}  // namespace Renderer
