#pragma once

// Helpers shared by the 2D classification routines (not part of the public interface).
#include <cmath>

#include "math/Math_Circle2D.h"
#include "math/Math_Vector2D.h"

namespace Math {
namespace Detail {
// Parallel unless cross > Tolerance or cross < -Tolerance.
inline bool IsParallel(float cross) { return !(cross > Tolerance || cross < -Tolerance); }
inline bool InUnitRange(float t) { return t >= 0.0f && t <= 1.0f; }

// The dot product of two directions truncated toward zero; only -1 and +1 select an overlap, so
// values of magnitude 2 or more (and NaN) are folded before the conversion, which could overflow.
inline int TruncatedDot(float dot) {
  if (dot >= 2.0f) return 2;
  if (dot <= -2.0f) return -2;
  if (!(dot == dot)) return 0;
  return static_cast<int>(dot);
}

// Component chosen by the 0.0005 axis rule: x when |d.x| >= Tolerance, else y.
inline float AxisRatio(const Vector2D& offset, const Vector2D& d) {
  return std::fabs(d.x) >= Tolerance ? offset.x / d.x : offset.y / d.y;
}

// Degrees between two directions, each normalised with Normalized (rays and lines).
inline float DegreesBetween(const Vector2D& u, const Vector2D& v) {
  const Vector2D nu = Normalized(u);
  const Vector2D nv = Normalized(v);
  const float lengths = nu.Length() * nv.Length();
  // A zero direction has no angle: report 0 rather than NaN.
  if (lengths == 0.0f) return 0.0f;
  double cosine = nu.Dot(nv) / lengths;
  // Rounding can carry parallel directions just past +-1, where acos is NaN.
  cosine = cosine > 1.0 ? 1.0 : (cosine < -1.0 ? -1.0 : cosine);
  return static_cast<float>(std::acos(cosine)) * RadiansToDegrees;
}

// |S + t d - M|^2 = r^2 as a t^2 + b t + cc = 0.
struct CircleQuadratic {
  float a;
  float b;
  float discriminant;

  CircleQuadratic(const Vector2D& start, const Vector2D& d, const Circle2D& circle) {
    const Vector2D offset = start - circle.center;
    a = d.Dot(d);
    b = 2.0f * offset.Dot(d);
    const float cc = offset.Dot(offset) - circle.radius * circle.radius;
    discriminant = b * b - 4.0f * a * cc;
  }

  // A zero direction has no parameter to solve for.
  bool Degenerate() const { return a == 0.0f; }
  float TouchingT() const { return -b / (2.0f * a); }
  float FirstT(float root) const { return (-b - root) / (2.0f * a); }
  float SecondT(float root) const { return (root - b) / (2.0f * a); }
};
}  // namespace Detail
}  // namespace Math

struct lua_State;

namespace Math {
namespace Detail {
// Pushes a full userdata of one pointer word holding shape, with the registry metatable
// scriptName; returns 1. The pointer is the geometry class's own, not a Core::Object.
int PushGeometryToLua(lua_State* state, void* shape, const char* scriptName);
}  // namespace Detail
}  // namespace Math
