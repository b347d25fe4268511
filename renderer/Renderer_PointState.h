#pragma once
// Point size in pixels.
#include "renderer/Renderer_State.h"

namespace Renderer {

class PointState : public State {
 public:
  float size = 1.0f;

  PointState() = default;
  PointState(const PointState&) = default;
  PointState& operator=(const PointState&) = default;
  VELKOR_DECLARE_CLASS(PointState);

  void Apply(IRenderer* renderer) override;
  void Capture(IRenderer* renderer) override;
  void Reset() override;

  bool operator==(const PointState& other) const;
  bool operator!=(const PointState& other) const { return !(*this == other); }
};

}  // namespace Renderer
