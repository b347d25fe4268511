#pragma once
// The light model and whether lighting is on.
#include "renderer/Renderer_State.h"
#include "math/Math_Color.h"

namespace Renderer {

class LightingState : public State {
 public:
  Math::Color ambient = Math::Color(0.2f, 0.2f, 0.2f, 1.0f);
  uint8_t localViewer = 1;
  uint8_t enabled = 0;

  LightingState() = default;
  LightingState(const LightingState&) = default;
  LightingState& operator=(const LightingState&) = default;
  VELKOR_DECLARE_CLASS(LightingState);

  void Apply(IRenderer* renderer) override;
  void Capture(IRenderer* renderer) override;
  void Reset() override;

  bool operator==(const LightingState& other) const;
  bool operator!=(const LightingState& other) const { return !(*this == other); }
};

}  // namespace Renderer
