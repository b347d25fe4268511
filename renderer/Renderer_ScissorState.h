#pragma once
// The scissor box in window pixels, lower-left origin.
#include "renderer/Renderer_State.h"

namespace Renderer {

class ScissorState : public State {
 public:
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 640;
  int32_t height = 480;
  uint8_t enabled = 0;

  ScissorState() = default;
  ScissorState(const ScissorState&) = default;
  ScissorState& operator=(const ScissorState&) = default;
  VELKOR_DECLARE_CLASS(ScissorState);

  void Apply(IRenderer* renderer) override;
  void Capture(IRenderer* renderer) override;
  void Reset() override;

  bool operator==(const ScissorState& other) const;
  bool operator!=(const ScissorState& other) const { return !(*this == other); }
};

}  // namespace Renderer
