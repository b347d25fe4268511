#include "physics/Physics_RigidBody.h"

#include <cmath>

#include "core/Core_File.h"

namespace Physics2D {

namespace {
constexpr size_t kStateSize = 3;
}  // namespace

VELKOR_IMPLEMENT_CLASS(RigidBody, "Physics2D::RigidBody");

RigidBody::RigidBody() { m_forces.SetBody(this); }

RigidBody::RigidBody(const MassProperties& massProperties, uint32_t solverKind, RigidBodyCallback integrationCallback,
                     RigidBodyCallback postCollisionCallback, void* data)
    : m_massProperties(massProperties),
      m_solverKind(solverKind),
      m_integrationCallback(integrationCallback),
      m_postCollisionCallback(postCollisionCallback),
      m_data(data) {
  m_forces.SetBody(this);
  CreateSolvers();
}

RigidBody::RigidBody(const RigidBody& source, void* data)
    : Core::Object(source),
      m_massProperties(source.m_massProperties),
      m_solverKind(source.m_solverKind),
      m_velocity(source.m_velocity),
      m_angularVelocity(source.m_angularVelocity),
      m_position(source.m_position),
      m_orientation(source.m_orientation),
      m_integrationCallback(source.m_integrationCallback),
      m_postCollisionCallback(source.m_postCollisionCallback),
      m_data(data) {
  m_forces.SetBody(this);
  CreateSolvers();
  // Clones go in id order, so the copy's ids are dense: free slots of the source are not copied.
  for (const auto& force : source.m_forces.GetForces()) {
    if (!force) continue;
    Core::SmartPointer<Force> clone(static_cast<Force*>(force->Clone()));
    if (clone->GetTimeToLive() < 0.0f) clone->SetTimeToLive(0.0f);
    m_forces.AddForce(clone);
  }
}

RigidBody::RigidBody(const RigidBody& source) : RigidBody(source, source.m_data) {}

int RigidBody::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, "RigidBody"); }

void RigidBody::CreateSolvers() {
  const std::vector<float> velocityState = {m_velocity.x, m_velocity.y, m_angularVelocity};
  const std::vector<float> positionState = {m_position.x, m_position.y, m_orientation};
  switch (m_solverKind) {
    case HeunSolver:
      m_velocitySolver = new (__FILE__, __LINE__) ODESolverHeun(&VelocityDerivative, velocityState, this);
      m_positionSolver = new (__FILE__, __LINE__) ODESolverHeun(&PositionDerivative, positionState, this);
      break;
    case RungeKuttaSolver:
      m_velocitySolver = new (__FILE__, __LINE__) ODESolverRungeKuttaN4(&VelocityDerivative, velocityState, this);
      m_positionSolver = new (__FILE__, __LINE__) ODESolverRungeKuttaN4(&PositionDerivative, positionState, this);
      break;
    case NoSolver:
      m_velocitySolver.Reset();
      m_positionSolver.Reset();
      break;
    default:
      m_velocitySolver = new (__FILE__, __LINE__) ODESolverEuler(&VelocityDerivative, velocityState, this);
      m_positionSolver = new (__FILE__, __LINE__) ODESolverEuler(&PositionDerivative, positionState, this);
      break;
  }
}

void RigidBody::WriteVelocityState() {
  if (!m_velocitySolver) return;
  std::vector<float>& state = m_velocitySolver->GetState();
  state[0] = m_velocity.x;
  state[1] = m_velocity.y;
  state[2] = m_angularVelocity;
}

void RigidBody::WritePositionState() {
  if (!m_positionSolver) return;
  std::vector<float>& state = m_positionSolver->GetState();
  state[0] = m_position.x;
  state[1] = m_position.y;
  state[2] = m_orientation;
}

void RigidBody::SetVelocity(const Math::Vector2D& velocity) {
  m_velocity = velocity;
  WriteVelocityState();
}

void RigidBody::SetAngularVelocity(float degreesPerSecond) {
  m_angularVelocity = degreesPerSecond * kDegreesToRadians;
  WriteVelocityState();
}

void RigidBody::SetPosition(const Math::Vector2D& position) {
  m_position = position;
  WritePositionState();
  RebuildMatrices();
}

void RigidBody::SetOrientation(float degrees) {
  m_orientation = degrees * kDegreesToRadians;
  WritePositionState();
  RebuildMatrices();
}

uint32_t RigidBody::AddForce(const Core::SmartPointer<Force>& force) {
  if (force && force->GetTimeToLive() < 0.0f) force->SetTimeToLive(0.0f);
  return m_forces.AddForce(force);
}

void RigidBody::AccumulateForces(float step) {
  m_force.SetZero();
  m_torque = 0.0f;
  m_forces.EvaluateAll(step, m_force, m_torque);
  const float scale = GetSettings().scale;
  m_force = m_force * scale;
  m_torque = m_torque * scale;
}

void RigidBody::VelocityDerivative(float, const std::vector<float>&, std::vector<float>& derivative, void* context) {
  const RigidBody* body = static_cast<const RigidBody*>(context);
  const float inverseMass = body->m_massProperties.GetInverseMass();
  derivative[0] = inverseMass * body->m_force.x;
  derivative[1] = inverseMass * body->m_force.y;
  derivative[2] = body->m_massProperties.GetInverseInertia() * body->m_torque;
  if (body->m_constraintTerm != nullptr) {
    derivative[0] += body->m_constraintTerm[0];
    derivative[1] += body->m_constraintTerm[1];
    derivative[2] += body->m_constraintTerm[2];
  }
}

void RigidBody::PositionDerivative(float, const std::vector<float>&, std::vector<float>& derivative, void* context) {
  const RigidBody* body = static_cast<const RigidBody*>(context);
  derivative[0] = body->m_velocity.x;
  derivative[1] = body->m_velocity.y;
  derivative[2] = body->m_angularVelocity;
}

void RigidBody::Integrate(float step) {
  // A body without solvers (kind 3, or a loaded body that lacks one) stays where it is.
  if (!m_velocitySolver || !m_positionSolver) return;
  const PhysicsSettings& settings = GetSettings();
  m_velocitySolver->Step(step);
  std::vector<float>& velocityState = m_velocitySolver->GetState();
  m_velocity = Math::Vector2D(velocityState[0], velocityState[1]);
  m_angularVelocity = velocityState[2];

  // Tiny velocities are dropped in the body only; the solver keeps them for the next step.
  if (std::fabs(m_velocity.x) <= settings.epsilon) m_velocity.x = 0.0f;
  if (std::fabs(m_velocity.y) <= settings.epsilon) m_velocity.y = 0.0f;
  if (std::fabs(m_angularVelocity) <= settings.epsilon) m_angularVelocity = 0.0f;

  const float cap = settings.scale * settings.twoPi;
  if (m_angularVelocity < -cap || m_angularVelocity > cap) {
    const float degrees = (m_angularVelocity < -cap ? -cap : cap) * kRadiansToDegreesValue;
    m_angularVelocity = degrees * kDegreesToRadians;
    velocityState[2] = m_angularVelocity;
  }

  m_positionSolver->Step(step);
  const std::vector<float>& positionState = m_positionSolver->GetState();
  m_position = Math::Vector2D(positionState[0], positionState[1]);
  m_orientation = positionState[2];
  UpdateMatrices(false);
}

void RigidBody::ApplyCorrection(float dx, float dy, float dAngle) {
  m_position.x += dx;
  m_position.y += dy;
  m_orientation += dAngle;
}

void RigidBody::RebuildMatrices() {
  m_rotation = Math::Matrix3x3::MakeRotation(m_orientation * kRadiansToDegreesValue);
  const Math::Vector2D& c = m_massProperties.GetCenterOfMass();
  m_transform = Math::Matrix3x3::MakeTranslation(m_position.x - c.x, m_position.y - c.y) *
                Math::Matrix3x3::MakeTranslation(c.x, c.y) * m_rotation *
                Math::Matrix3x3::MakeTranslation(-c.x, -c.y);
  m_transform.GetInverse(m_inverseTransform);
  m_worldCenterOfMass = m_transform * c;
}

void RigidBody::UpdateMatrices(bool postCollision) {
  RebuildMatrices();
  if (!postCollision) {
    if (m_integrationCallback != nullptr)
      m_integrationCallback(this, m_data);
    else if (m_postCollisionCallback != nullptr)
      m_postCollisionCallback(this, m_data);
  } else if (m_postCollisionCallback != nullptr) {
    m_postCollisionCallback(this, m_data);
  }
}

void RigidBody::Save(Core::File& file) {
  m_massProperties.Save(file);
  m_forces.Save(file);
  Math::WriteVector2D(file, m_force);
  Core::WriteValue<float>(file, m_torque);
  Math::WriteVector2D(file, m_velocity);
  Core::WriteValue<float>(file, m_angularVelocity);
  Math::WriteVector2D(file, m_position);
  Core::WriteValue<float>(file, m_orientation);
  m_rotation.Write(file);
  m_transform.Write(file);
  m_inverseTransform.Write(file);
  Math::WriteVector2D(file, m_worldCenterOfMass);
  Core::WriteValue<float>(file, GetSettings().twoPi);
  Core::WriteValue<uint32_t>(file, m_solverKind);
  // A body without solvers writes two null objects.
  file.WriteObject(m_velocitySolver.Get());
  file.WriteObject(m_positionSolver.Get());
}

void RigidBody::Load(Core::File& file) {
  m_massProperties.Load(file);
  m_forces.Load(file);
  Math::ReadVector2D(file, m_force);
  m_torque = Core::ReadValue<float>(file);
  Math::ReadVector2D(file, m_velocity);
  m_angularVelocity = Core::ReadValue<float>(file);
  Math::ReadVector2D(file, m_position);
  m_orientation = Core::ReadValue<float>(file);
  m_rotation.Read(file);
  m_transform.Read(file);
  m_inverseTransform.Read(file);
  Math::ReadVector2D(file, m_worldCenterOfMass);
  const float twoPi = Core::ReadValue<float>(file);
  m_solverKind = Core::ReadValue<uint32_t>(file);
  Core::SmartPointer<ODESolver> velocitySolver;
  Core::SmartPointer<ODESolver> positionSolver;
  Core::ReadObjectPointer(file, velocitySolver);
  Core::ReadObjectPointer(file, positionSolver);
  if (file.HasFailed()) return;
  // Both derivatives index three state entries; a solver over any other length cannot be a body's.
  if ((velocitySolver && velocitySolver->GetState().size() != kStateSize) ||
      (positionSolver && positionSolver->GetState().size() != kStateSize) ||
      (velocitySolver && velocitySolver == positionSolver.Get())) {
    file.Fail();
    return;
  }
  GetSettings().twoPi = twoPi;
  m_velocitySolver = velocitySolver;
  m_positionSolver = positionSolver;
  if (m_velocitySolver) {
    m_velocitySolver->SetDerivative(&VelocityDerivative);
    m_velocitySolver->SetContext(this);
  }
  if (m_positionSolver) {
    m_positionSolver->SetDerivative(&PositionDerivative);
    m_positionSolver->SetContext(this);
  }
}

}  // namespace Physics2D
