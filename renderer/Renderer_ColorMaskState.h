#pragma once
// Which colour channels are written.
#include "renderer/Renderer_State.h"

namespace Renderer {

class ColorMaskState : public State {
 public:
  uint8_t red = 1;
  uint8_t green = 1;
  uint8_t blue = 1;
  uint8_t alpha = 1;

  ColorMaskState() = default;
  ColorMaskState(const ColorMaskState&) = default;
  ColorMaskState& operator=(const ColorMaskState&) = default;
  VELKOR_DECLARE_CLASS(ColorMaskState);

  void Apply(IRenderer* renderer) override;
  void Capture(IRenderer* renderer) override;
  void Reset() override;

  bool operator==(const ColorMaskState& other) const;
  bool operator!=(const ColorMaskState& other) const { return !(*this == other); }
};

}  // namespace Renderer
