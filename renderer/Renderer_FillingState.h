#pragma once
// How both faces of polygons are rasterised.
#include "renderer/Renderer_State.h"

namespace Renderer {

class FillingState : public State {
 public:
  uint32_t mode = FillMode::Fill;

  FillingState() = default;
  FillingState(const FillingState&) = default;
  FillingState& operator=(const FillingState&) = default;
  VELKOR_DECLARE_CLASS(FillingState);

  void Apply(IRenderer* renderer) override;
  void Capture(IRenderer* renderer) override;
  void Reset() override;

  bool operator==(const FillingState& other) const;
  bool operator!=(const FillingState& other) const { return !(*this == other); }
};

}  // namespace Renderer
