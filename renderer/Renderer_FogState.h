#pragma once
// Fog; a reset keeps the fog colour.
#include "renderer/Renderer_State.h"
#include "math/Math_Color.h"

namespace Renderer {

class FogState : public State {
 public:
  uint32_t mode = FogMode::Linear;
  Math::Color color = Math::Color(1.0f, 1.0f, 1.0f, 1.0f);
  float start = 0.0f;
  float end = 100.0f;
  float density = 0.0f;
  uint8_t enabled = 0;

  FogState() = default;
  FogState(const FogState&) = default;
  FogState& operator=(const FogState&) = default;
  VELKOR_DECLARE_CLASS(FogState);

  void Apply(IRenderer* renderer) override;
  void Capture(IRenderer* renderer) override;
  void Reset() override;

  bool operator==(const FogState& other) const;
  bool operator!=(const FogState& other) const { return !(*this == other); }
};

}  // namespace Renderer
