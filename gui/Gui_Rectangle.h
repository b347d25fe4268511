#pragma once
// The GUI's value types: sizes, rectangles (left, bottom, width, height; y up) and rectangles that
// carry texture coordinates and clip them in proportion.
#include <cstdint>

#include "math/Math_Vector2D.h"

struct lua_State;

namespace Core {
class File;
}

namespace GUI {

struct Size {
  float width = 0.0f;
  float height = 0.0f;
};

class NRectangle {
 public:
  NRectangle() = default;
  NRectangle(float leftValue, float bottomValue, float widthValue, float heightValue)
      : left(leftValue), bottom(bottomValue), width(widthValue), height(heightValue) {}

  Math::Vector2D GetPosition() const { return Math::Vector2D(left, bottom); }
  void SetPosition(const Math::Vector2D& position) {
    left = position.x;
    bottom = position.y;
  }
  float GetLeft() const { return left; }
  float GetBottom() const { return bottom; }
  float GetWidth() const { return width; }
  float GetHeight() const { return height; }
  void SetLeft(float value) { left = value; }
  void SetBottom(float value) { bottom = value; }
  void SetWidth(float value) { width = value; }
  void SetHeight(float value) { height = value; }
  float GetRight() const { return left + width; }
  float GetTop() const { return bottom + height; }

  // Edges included; a NaN coordinate is never inside.
  bool Contains(float x, float y) const;
  // At least one unit in both directions.
  bool IsValid() const { return width >= 1.0f && height >= 1.0f; }
  // out = a ∩ b (width or height may come out zero or negative); answers out.IsValid().
  static bool Intersect(NRectangle& out, const NRectangle& a, const NRectangle& b);

  bool operator!=(const NRectangle& other) const {
    return left != other.left || bottom != other.bottom || width != other.width || height != other.height;
  }
  bool operator==(const NRectangle& other) const { return !(*this != other); }

  // A copy owned by the script, with the "NRectangle" metatable.
  int PushToLua(lua_State* state) const;
  void Save(Core::File& file) const;
  void Load(Core::File& file);

  float left = 0.0f;
  float bottom = 0.0f;
  float width = 0.0f;
  float height = 0.0f;
};

// Corner 0 bottom-left, 1 bottom-right, 2 top-right, 3 top-left.
class TRectangle : public NRectangle {
 public:
  TRectangle() = default;
  TRectangle(float leftValue, float bottomValue, float widthValue, float heightValue)
      : NRectangle(leftValue, bottomValue, widthValue, heightValue) {}
  explicit TRectangle(const NRectangle& rectangle) : NRectangle(rectangle) {}

  void SetTexCoord(uint32_t corner, const Math::Vector2D& coordinate) {
    if (corner < 4) texCoords[corner] = coordinate;
  }
  Math::Vector2D GetTexCoord(uint32_t corner) const { return corner < 4 ? texCoords[corner] : Math::Vector2D(); }

  // out = a clipped by clip, the texture coordinates cut in the same proportion; false (out
  // untouched) when the intersection is not valid.
  static bool ClipTextured(TRectangle& out, const TRectangle& a, const NRectangle& clip);

  void Save(Core::File& file) const;
  void Load(Core::File& file);

  Math::Vector2D texCoords[4] = {Math::Vector2D(0.0f, 0.0f), Math::Vector2D(1.0f, 0.0f), Math::Vector2D(1.0f, 1.0f),
                                 Math::Vector2D(0.0f, 1.0f)};
};

// A size from the script table at index ("Width", "Height"); (0, 0) for anything but a table.
Size ToSize(lua_State* state, int index);
// A size table made by the script global "CreateSize" (a plain table when that is missing or
// fails) with "Width" and "Height" set; the table stays on the stack and its index is answered.
int PushSize(lua_State* state, float width, float height);

}  // namespace GUI
