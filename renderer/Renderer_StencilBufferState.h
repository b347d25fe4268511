#pragma once
// The stencil test and what it writes.
#include "renderer/Renderer_State.h"

namespace Renderer {

class StencilBufferState : public State {
 public:
  uint32_t function = CompareFunction::Always;
  uint32_t failOperation = StencilOperation::Keep;
  uint32_t depthFailOperation = StencilOperation::Keep;
  uint32_t depthPassOperation = StencilOperation::Keep;
  int32_t reference = 0;
  uint32_t compareMask = 0xFFFFFFFFu;
  uint32_t writeMask = 0xFFFFFFFFu;
  uint8_t enabled = 0;

  StencilBufferState() = default;
  StencilBufferState(const StencilBufferState&) = default;
  StencilBufferState& operator=(const StencilBufferState&) = default;
  VELKOR_DECLARE_CLASS(StencilBufferState);

  void Apply(IRenderer* renderer) override;
  void Capture(IRenderer* renderer) override;
  void Reset() override;

  bool operator==(const StencilBufferState& other) const;
  bool operator!=(const StencilBufferState& other) const { return !(*this == other); }
};

}  // namespace Renderer
