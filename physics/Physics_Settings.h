#pragma once
// Values every part of the physics engine reads: the step of the current update, the unit scale,
// the static body. They are process-wide because bodies, joints and the solver read them without a
// path back to their engine; one engine at a time is assumed.
#include <cstdint>

namespace Physics2D {

class RigidBody;

struct PhysicsSettings {
  float plusInfinity = 3.4028235e38f;
  float simulationStep = 0.0f;
  float simulationInverseStep = 0.0f;
  float maximumSimulationStep = 0.02f;
  float scale = 1.0f;
  float epsilon = 1e-10f;
  // The angular velocity cap is scale times this value; bodies save and load it.
  float twoPi = 6.2831855f;
  RigidBody* staticBody = nullptr;
  // True only while the engine runs its post-collision correction.
  bool postCollision = false;
};

PhysicsSettings& GetSettings();

// Degrees to radians and back, as the body stores angles in radians and answers in degrees.
constexpr float kDegreesToRadians = 0.01745329238474369f;
constexpr float kRadiansToDegrees = 57.29578f;

// Highest solver iteration count accepted from a setter or a saved engine.
constexpr uint32_t kMaximumIterations = 100000;

}  // namespace Physics2D
