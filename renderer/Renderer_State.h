#pragma once
// A render state is one group of fixed-function drawing settings that forwards itself to the
// renderer's setter and getter of its kind. Records know nothing of OpenGL.
#include <cstdint>

#include "core/Core_Object.h"

namespace Renderer {

class IRenderer;

// The numbers records store; the renderer maps them (and treats values outside the lists as stated).
namespace CompareFunction {
enum : uint32_t { Never = 0, Less = 1, Equal = 2, LessOrEqual = 3, Greater = 4, GreaterOrEqual = 5, NotEqual = 6, Always = 7 };
}
namespace StencilOperation {
enum : uint32_t { Keep = 0, Zero = 1, Replace = 2, Increment = 3, Decrement = 4, Invert = 5 };
}
namespace BlendFactor {
enum : uint32_t {
  Zero = 0, One = 1, SourceColor = 2, OneMinusSourceColor = 3, DestinationColor = 4,
  OneMinusDestinationColor = 5, SourceAlpha = 6, OneMinusSourceAlpha = 7, DestinationAlpha = 8,
  OneMinusDestinationAlpha = 9, SourceAlphaSaturate = 10
};
}
namespace TextureApplyMode {
enum : uint32_t { Replace = 0, Decal = 1, Modulate = 2, Blend = 3 };
}
namespace TextureFilter {
enum : uint32_t { Nearest = 0, Linear = 1 };
}
namespace TextureWrap {
enum : uint32_t { Repeat = 0, Clamp = 1, ClampToEdge = 2, ClampToBorder = 3 };
}
namespace FogMode {
enum : uint32_t { Linear = 0, Exponential = 1, SquaredExponential = 2 };
}
namespace FillMode {
enum : uint32_t { Points = 0, Lines = 1, Fill = 2 };
}
namespace ShadeModel {
enum : uint32_t { Flat = 0, Smooth = 1 };
}
namespace CullFace {
enum : uint32_t { Back = 0, Front = 1 };
}

class State : public Core::Object {
 public:
  State() = default;
  State(const State&) = default;
  State& operator=(const State&) = default;
  VELKOR_DECLARE_CLASS(State);

  // Hands this record to the renderer's setter for its kind.
  virtual void Apply(IRenderer* renderer);
  // Fills this record from the renderer's cached settings of its kind.
  virtual void Capture(IRenderer* renderer);
  // Back to the kind's reset values.
  virtual void Reset();
};

}  // namespace Renderer
