#pragma once
// The current vertex colour; the renderer keeps no cached record of this kind.
#include "renderer/Renderer_State.h"
#include "math/Math_Color.h"

namespace Renderer {

class CurrentColorState : public State {
 public:
  Math::Color color = Math::Color(1.0f, 1.0f, 1.0f, 1.0f);

  CurrentColorState() = default;
  CurrentColorState(const CurrentColorState&) = default;
  CurrentColorState& operator=(const CurrentColorState&) = default;
  VELKOR_DECLARE_CLASS(CurrentColorState);

  void Apply(IRenderer* renderer) override;
  void Capture(IRenderer* renderer) override;
  void Reset() override;

  bool operator==(const CurrentColorState& other) const;
  bool operator!=(const CurrentColorState& other) const { return !(*this == other); }
};

}  // namespace Renderer
