#include "collision/Collision_Utilities.h"

#include <algorithm>

#include "core/Core_File.h"
#include "math/Math_Matrix3x3.h"
#include "math/Math_Stream.h"

namespace Collision2D {

void QlnRect::Write(Core::File& file) const {
  Math::WriteFloat(file, top);
  Math::WriteFloat(file, left);
  Math::WriteFloat(file, right);
  Math::WriteFloat(file, bottom);
}

void QlnRect::Read(Core::File& file) {
  Math::ReadFloat(file, top);
  Math::ReadFloat(file, left);
  Math::ReadFloat(file, right);
  Math::ReadFloat(file, bottom);
}

namespace {

bool InClosedRange(float value, float low, float high) { return value >= low && value <= high; }

// One axis of the overlap test: b's upper end in a, else b's lower end in a, else a inside b.
bool RangesOverlap(float aLow, float aHigh, float bLow, float bHigh) {
  if (InClosedRange(bHigh, aLow, aHigh)) return true;
  if (InClosedRange(bLow, aLow, aHigh)) return true;
  return aLow >= bLow && aHigh <= bHigh;
}

// Truncation toward zero that stays defined for values no int can hold (and for NaN).
bool AtLeastOneWholeUnit(float extent) { return extent >= 1.0f; }

}  // namespace

bool RectanglesOverlap(const QlnRect& a, const QlnRect& b) {
  return RangesOverlap(a.left, a.right, b.left, b.right) && RangesOverlap(a.bottom, a.top, b.bottom, b.top);
}

bool IntersectRectangles(const QlnRect& a, const QlnRect& b, QlnRect& out) {
  QlnRect result;
  result.top = std::min(a.top, b.top);
  result.bottom = std::max(a.bottom, b.bottom);
  result.left = std::max(a.left, b.left);
  result.right = std::min(a.right, b.right);
  out = result;  // a and b may be out itself
  return AtLeastOneWholeUnit(result.right - result.left) && AtLeastOneWholeUnit(result.top - result.bottom);
}

void UniteRectangles(const QlnRect& a, const QlnRect& b, QlnRect& out) {
  QlnRect result;
  result.top = std::max(a.top, b.top);
  result.bottom = std::min(a.bottom, b.bottom);
  result.left = std::min(a.left, b.left);
  result.right = std::max(a.right, b.right);
  out = result;
}

void ComputeBoundingRectangle(const QlnRect& local, QlnRect& out, Math::Vector2D translation, float angle) {
  QlnRect result;
  if (angle == 0.0f || angle == 360.0f) {
    result = local;
  } else {
    const Math::Matrix3x3 rotation = Math::Matrix3x3::MakeRotation(angle);
    const Math::Vector2D corners[4] = {Math::Vector2D(local.right, local.top), Math::Vector2D(local.left, local.top),
                                       Math::Vector2D(local.left, local.bottom),
                                       Math::Vector2D(local.right, local.bottom)};
    float minimumX = 99999.0f, minimumY = 99999.0f, maximumX = -99999.0f, maximumY = -99999.0f;
    for (const Math::Vector2D& corner : corners) {
      const Math::Vector2D turned = rotation * corner;
      minimumX = std::min(minimumX, turned.x);
      maximumX = std::max(maximumX, turned.x);
      minimumY = std::min(minimumY, turned.y);
      maximumY = std::max(maximumY, turned.y);
    }
    result.top = maximumY;
    result.bottom = minimumY;
    result.left = minimumX;
    result.right = maximumX;
  }
  result.left += translation.x;
  result.right += translation.x;
  result.top += translation.y;
  result.bottom += translation.y;
  out = result;
}

}  // namespace Collision2D
