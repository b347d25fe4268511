#pragma once
// The collision system's axis-aligned rectangle, the flip variants every shape is prepared in, and
// the rectangle operations of the broad and narrow phases.
#include <cstddef>
#include <cstdint>

#include "math/Math_Vector2D.h"

struct lua_State;
class LuaScript;

namespace Core { class File; }

namespace Collision2D {

// Order in which every shape and rectangle keeps its four mirrored variants.
enum FlipVariant : uint32_t { NoFlip = 0, HVFlip = 1, HFlip = 2, VFlip = 3 };
constexpr uint32_t kFlipVariantCount = 4;

// The variant a sprite drawn with these mirror flags uses.
inline FlipVariant SelectFlipVariant(bool hFlip, bool vFlip) {
  if (hFlip && vFlip) return HVFlip;
  if (hFlip) return HFlip;
  if (vFlip) return VFlip;
  return NoFlip;
}

// y grows upward: a well-formed rectangle has left <= right and bottom <= top.
class QlnRect {
 public:
  static constexpr const char* ScriptClassName = "QlnRect";

  float top = 0.0f;
  float left = 0.0f;
  float right = 0.0f;
  float bottom = 0.0f;

  QlnRect() = default;
  QlnRect(float topValue, float leftValue, float rightValue, float bottomValue)
      : top(topValue), left(leftValue), right(rightValue), bottom(bottomValue) {}
  QlnRect(const QlnRect&) = default;
  QlnRect& operator=(const QlnRect&) = default;
  ~QlnRect() = default;

  virtual LuaScript* GetScript() { return nullptr; }
  // Pushes a full userdata that owns a copy of this rectangle (metatable "QlnRect"): the script's
  // value stays valid whatever happens to the rectangle it was taken from.
  virtual int PushToLua(lua_State* state);

  // top, left, right, bottom: 16 bytes.
  void Write(Core::File& file) const;
  void Read(Core::File& file);

  bool operator==(const QlnRect& other) const {
    return top == other.top && left == other.left && right == other.right && bottom == other.bottom;
  }
  bool operator!=(const QlnRect& other) const { return !(*this == other); }
};

// Closed ranges: rectangles that only touch overlap.
// Asks the cache for the lines of [p, p + size): a hint, which changes no result. Passes over
// thousands of objects meet most of them cold and chase pointers through them; asking a few
// objects ahead overlaps the waits.
inline void PrefetchBytes(const void* p, size_t size) {
  const char* bytes = static_cast<const char*>(p);
  for (size_t offset = 0; offset < size; offset += 64) __builtin_prefetch(bytes + offset);
  __builtin_prefetch(bytes + size - 1);
}

bool RectanglesOverlap(const QlnRect& a, const QlnRect& b);
// Always writes the overlap into out; true only when it is at least one whole unit wide and high.
bool IntersectRectangles(const QlnRect& a, const QlnRect& b, QlnRect& out);
void UniteRectangles(const QlnRect& a, const QlnRect& b, QlnRect& out);
// The axis-aligned box of local turned by angle degrees about the local origin, then moved by
// translation. Angles of exactly 0 and 360 only move it.
void ComputeBoundingRectangle(const QlnRect& local, QlnRect& out, Math::Vector2D translation, float angle);

// A plain table {top, left, right, bottom} left on the stack; returns its absolute index.
int PushRectangleTable(lua_State* state, const QlnRect& rectangle);

}  // namespace Collision2D
