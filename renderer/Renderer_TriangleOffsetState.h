#pragma once
// Depth offset of filled polygons.
#include "renderer/Renderer_State.h"

namespace Renderer {

class TriangleOffsetState : public State {
 public:
  float factor = 0.0f;
  float units = 0.0f;
  uint8_t enabled = 0;

  TriangleOffsetState() = default;
  TriangleOffsetState(const TriangleOffsetState&) = default;
  TriangleOffsetState& operator=(const TriangleOffsetState&) = default;
  VELKOR_DECLARE_CLASS(TriangleOffsetState);

  void Apply(IRenderer* renderer) override;
  void Capture(IRenderer* renderer) override;
  void Reset() override;

  bool operator==(const TriangleOffsetState& other) const;
  bool operator!=(const TriangleOffsetState& other) const { return !(*this == other); }
};

}  // namespace Renderer
