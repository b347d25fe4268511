#pragma once
// One rigid body of the 2D world: mass description, accumulated force and torque, velocity and
// pose with the matrices derived from them, its own forces, and two ODE solvers that integrate its
// velocity and its pose.
#include <cstdint>

#include "core/Core_Object.h"
#include "math/Math_Matrix3x3.h"
#include "math/Math_Vector2D.h"
#include "physics/Physics_Forces.h"
#include "physics/Physics_MassProperties.h"
#include "physics/Physics_ODESolver.h"
#include "physics/Physics_Settings.h"

namespace Physics2D {

class RigidBody;
using RigidBodyCallback = void (*)(RigidBody* body, void* data);

class RigidBody : public Core::Object {
 public:
  VELKOR_DECLARE_CLASS(RigidBody);
  enum SolverKind : uint32_t { EulerSolver = 0, HeunSolver = 1, RungeKuttaSolver = 2, NoSolver = 3 };

  // The registry's body, filled by Load: no solvers.
  RigidBody();
  RigidBody(const MassProperties& massProperties, uint32_t solverKind, RigidBodyCallback integrationCallback,
            RigidBodyCallback postCollisionCallback, void* data);
  // A copy for the engine's clone: same state and callbacks, fresh solvers, clones of the forces.
  RigidBody(const RigidBody& source, void* data);
  RigidBody(const RigidBody& source);

  int PushToLua(lua_State* state) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;
  virtual void Integrate(float step);

  void SetMassProperties(const MassProperties& massProperties) { m_massProperties.CopyValues(massProperties); }
  const MassProperties& GetMassProperties() const { return m_massProperties; }
  MassProperties& GetMassProperties() { return m_massProperties; }
  uint32_t GetSolverKind() const { return m_solverKind; }

  void SetVelocity(const Math::Vector2D& velocity);
  const Math::Vector2D& GetVelocity() const { return m_velocity; }
  void SetAngularVelocity(float degreesPerSecond);
  float GetAngularVelocity() const { return m_angularVelocity * kRadiansToDegreesValue; }
  float GetAngularVelocityRadians() const { return m_angularVelocity; }
  void SetPosition(const Math::Vector2D& position);
  const Math::Vector2D& GetPosition() const { return m_position; }
  void SetOrientation(float degrees);
  float GetOrientation() const { return m_orientation * kRadiansToDegreesValue; }
  float GetOrientationRadians() const { return m_orientation; }
  const Math::Matrix3x3& GetRotationMatrix() const { return m_rotation; }
  const Math::Matrix3x3& GetMatrix() const { return m_transform; }
  const Math::Matrix3x3& GetInverseMatrix() const { return m_inverseTransform; }
  const Math::Vector2D& GetWorldCenterOfMass() const { return m_worldCenterOfMass; }
  const Math::Vector2D& GetForce() const { return m_force; }
  float GetTorque() const { return m_torque; }
  void ClearForceAndTorque() {
    m_force.SetZero();
    m_torque = 0.0f;
  }

  void SetIntegrationCallback(RigidBodyCallback callback) { m_integrationCallback = callback; }
  void SetPostCollisionCallback(RigidBodyCallback callback) { m_postCollisionCallback = callback; }
  void SetData(void* data) { m_data = data; }
  void* GetData() const { return m_data; }

  // A negative time to live becomes 0 (the force lives until removed).
  uint32_t AddForce(const Core::SmartPointer<Force>& force);
  bool RemoveForce(uint32_t id) { return m_forces.RemoveForce(id); }
  bool RemoveAllForces() { return m_forces.RemoveAllForces(); }
  Forces& GetForces() { return m_forces; }

  void AccumulateForces(float step);
  void UpdateMatrices(bool postCollision);

  // The solver's (x, y, angle) term of this body during a step; null outside one.
  void SetConstraintTerm(float* term) { m_constraintTerm = term; }
  float* GetConstraintTerm() const { return m_constraintTerm; }

  // Moves the pose by the post-collision correction without touching the position solver, whose
  // state the next integration continues from.
  void ApplyCorrection(float dx, float dy, float dAngle);

  ODESolver* GetVelocitySolver() const { return m_velocitySolver.Get(); }
  ODESolver* GetPositionSolver() const { return m_positionSolver.Get(); }

  // Scratch mark of the engine's list building (not saved).
  uint32_t m_listMark = 0;
  // Scratch of the engine's contact matching (not saved): the group of previous contacts whose
  // first (index 0) or second (index 1) body this is, valid while the mark is the current one.
  uint32_t m_matchMark[2] = {0, 0};
  uint32_t m_matchGroup[2] = {0, 0};

 private:
  static constexpr float kRadiansToDegreesValue = 57.29578f;
  static void VelocityDerivative(float time, const std::vector<float>& state, std::vector<float>& derivative,
                                 void* context);
  static void PositionDerivative(float time, const std::vector<float>& state, std::vector<float>& derivative,
                                 void* context);
  void CreateSolvers();
  void RebuildMatrices();
  void WriteVelocityState();
  void WritePositionState();

  Core::SmartPointer<ODESolver> m_velocitySolver;
  Core::SmartPointer<ODESolver> m_positionSolver;
  MassProperties m_massProperties;
  uint32_t m_solverKind = EulerSolver;
  Forces m_forces;
  Math::Vector2D m_force;
  float m_torque = 0.0f;
  float* m_constraintTerm = nullptr;
  Math::Vector2D m_velocity;
  float m_angularVelocity = 0.0f;
  Math::Vector2D m_position;
  float m_orientation = 0.0f;
  Math::Matrix3x3 m_rotation;
  Math::Matrix3x3 m_transform;
  Math::Matrix3x3 m_inverseTransform;
  Math::Vector2D m_worldCenterOfMass;
  RigidBodyCallback m_integrationCallback = nullptr;
  RigidBodyCallback m_postCollisionCallback = nullptr;
  void* m_data = nullptr;
};

}  // namespace Physics2D
