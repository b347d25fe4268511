#pragma once
// The framework's random helpers, over the engine's one random source (Core::Random, 0..32767), so
// a seeded run repeats.
#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"

namespace Quillon {

// A whole number between 0 and |n| with the sign of n (fractions above one half round up).
int RandomRound(float n);
int RandomInt(int low, int high);
float RandomFloat(float low, float high);
// One random fraction for both components.
Math::Vector2D RandomVector(const Math::Vector2D& a, const Math::Vector2D& b);
// One random fraction for every component.
Math::Color RandomColor(const Math::Color& a, const Math::Color& b);

}  // namespace Quillon
