#pragma once
// Colour dithering.
#include "renderer/Renderer_State.h"

namespace Renderer {

class DitheringState : public State {
 public:
  uint8_t enabled = 1;

  DitheringState() = default;
  DitheringState(const DitheringState&) = default;
  DitheringState& operator=(const DitheringState&) = default;
  VELKOR_DECLARE_CLASS(DitheringState);

  void Apply(IRenderer* renderer) override;
  void Capture(IRenderer* renderer) override;
  void Reset() override;

  bool operator==(const DitheringState& other) const;
  bool operator!=(const DitheringState& other) const { return !(*this == other); }
};

}  // namespace Renderer
