#pragma once

namespace Core {
class File;
}

namespace Math {
// Red, green, blue, alpha as 32-bit floats.
class Color {
 public:
  float r = 0.0f;
  float g = 0.0f;
  float b = 0.0f;
  float a = 1.0f;

  constexpr Color() = default;
  constexpr Color(float red, float green, float blue, float alpha = 1.0f)
      : r(red), g(green), b(blue), a(alpha) {}

  bool operator==(const Color& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
  bool operator!=(const Color& o) const { return !(*this == o); }
};

// r, g, b, a, one 4-byte float item each.
Core::File& WriteColor(Core::File& file, const Color& color);
Core::File& ReadColor(Core::File& file, Color& color);
}  // namespace Math
