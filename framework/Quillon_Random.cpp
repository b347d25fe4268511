#include "framework/Quillon_Random.h"

#include <cmath>

#include "core/Core_Random.h"

namespace Quillon {

namespace {
float Fraction() { return static_cast<float>(Core::Random()) / static_cast<float>(Core::kRandomMaximum); }
}  // namespace

int RandomRound(float n) {
  const float value = Fraction() * std::fabs(n);
  float whole = std::floor(value);
  if (value - whole > 0.5f) whole += 1.0f;
  const int result = static_cast<int>(whole);
  return n < 0.0f ? -result : result;
}

int RandomInt(int low, int high) { return low + RandomRound(static_cast<float>(high - low)); }

float RandomFloat(float low, float high) { return low + Fraction() * (high - low); }

Math::Vector2D RandomVector(const Math::Vector2D& a, const Math::Vector2D& b) {
  const float r = Fraction();
  return Math::Vector2D(a.x + (b.x - a.x) * r, a.y + (b.y - a.y) * r);
}

Math::Color RandomColor(const Math::Color& a, const Math::Color& b) {
  const float r = Fraction();
  return Math::Color(a.r + (b.r - a.r) * r, a.g + (b.g - a.g) * r, a.b + (b.b - a.b) * r, a.a + (b.a - a.a) * r);
}

}  // namespace Quillon
