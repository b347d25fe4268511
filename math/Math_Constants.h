#pragma once

#include <cstdint>

namespace Math {
// The general near-zero tolerance of every math routine.
constexpr float Tolerance = 0.0005f;
// Components of DirectionFromAngle closer to zero than this snap to exactly 0.
constexpr float DirectionSnap = 0.0001f;
// Degrees to radians for the 3x3 and 4x4 rotations (the float nearest pi/180).
constexpr float DegreesToRadians = 0.0174532924f;
// Half-angle factor of the quaternion construction (the float nearest pi/360).
constexpr float HalfDegreesToRadians = 0.0087266462f;
constexpr float RadiansToDegrees = 57.29578f;
constexpr double Pi = 3.14159265358979323846;

// One numbering shared by every classification routine; collision code branches on these values.
namespace Classification {
constexpr uint32_t Crossing = 0;      // one meeting point; a line against a circle: two points
constexpr uint32_t OnCircle = 0;      // a point exactly on a circle
constexpr uint32_t OnPlane = 0;       // a point on (or near the stored point of) a plane
constexpr uint32_t Intersecting = 0;  // a box crossing the frustum
constexpr uint32_t NoContact = 1;
constexpr uint32_t Outside = 2;
constexpr uint32_t Inside = 3;
constexpr uint32_t InFront = 8;
constexpr uint32_t Behind = 9;
constexpr uint32_t Tangent = 13;
constexpr uint32_t OneIntersection = 14;
constexpr uint32_t TwoIntersections = 15;
constexpr uint32_t Overlap = 19;
constexpr uint32_t ParallelApart = 20;
constexpr uint32_t CollinearDisjoint = 21;
constexpr uint32_t RaysOverlapInSegment = 22;
constexpr uint32_t RaysOverlapInRay = 23;
constexpr uint32_t OtherInside = 26;
constexpr uint32_t InternalTangency = 27;
constexpr uint32_t ExternalTangency = 28;
}  // namespace Classification

// Inclusive: center - tolerance <= value <= center + tolerance.
inline bool IsInRange(float value, float center, float tolerance) {
  return center - tolerance <= value && value <= center + tolerance;
}
}  // namespace Math
