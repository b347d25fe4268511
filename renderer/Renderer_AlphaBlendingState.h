#pragma once
// Blending with the frame buffer.
#include "renderer/Renderer_State.h"

namespace Renderer {

class AlphaBlendingState : public State {
 public:
  uint32_t source = BlendFactor::SourceAlpha;
  uint32_t destination = BlendFactor::OneMinusSourceAlpha;
  uint8_t enabled = 0;

  AlphaBlendingState() = default;
  AlphaBlendingState(const AlphaBlendingState&) = default;
  AlphaBlendingState& operator=(const AlphaBlendingState&) = default;
  VELKOR_DECLARE_CLASS(AlphaBlendingState);

  void Apply(IRenderer* renderer) override;
  void Capture(IRenderer* renderer) override;
  void Reset() override;

  bool operator==(const AlphaBlendingState& other) const;
  bool operator!=(const AlphaBlendingState& other) const { return !(*this == other); }
};

}  // namespace Renderer
