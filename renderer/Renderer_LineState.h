#pragma once
// Line width in pixels.
#include "renderer/Renderer_State.h"

namespace Renderer {

class LineState : public State {
 public:
  float width = 1.0f;

  LineState() = default;
  LineState(const LineState&) = default;
  LineState& operator=(const LineState&) = default;
  VELKOR_DECLARE_CLASS(LineState);

  void Apply(IRenderer* renderer) override;
  void Capture(IRenderer* renderer) override;
  void Reset() override;

  bool operator==(const LineState& other) const;
  bool operator!=(const LineState& other) const { return !(*this == other); }
};

}  // namespace Renderer
