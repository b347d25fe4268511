#include "physics/Physics_Force.h"

#include "core/Core_File.h"
#include "math/Math_Matrix3x3.h"
#include "physics/Physics_RigidBody.h"

namespace Physics2D {

Force::Force(const Math::Vector2D& position, const Math::Vector2D& vector, float timeToLive)
    : m_position(position), m_vector(vector), m_timeToLive(timeToLive) {}

Force::Force(const Force& other)
    : Core::Object(other),
      m_position(other.m_position),
      m_vector(other.m_vector),
      m_time(other.m_time),
      m_timeToLive(other.m_timeToLive) {}

int Force::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, "Force"); }

void Force::Attach(RigidBody* body) {
  m_body = body;
  m_localPosition = body == nullptr ? m_position : body->GetInverseMatrix() * m_position;
}

bool Force::Update(float dt) {
  m_time = m_time + dt;
  if (m_body != nullptr) {
    m_position = m_body->GetMatrix() * m_localPosition;
    m_arm = m_position - m_body->GetWorldCenterOfMass();
  }
  Evaluate(dt);
  return m_timeToLive <= 0.0f || m_time < m_timeToLive;
}

void Force::Save(Core::File& file) {
  Math::WriteVector2D(file, m_position);
  Math::WriteVector2D(file, m_vector);
  Math::WriteVector2D(file, m_localPosition);
  Math::WriteVector2D(file, m_arm);
  Core::WriteValue<float>(file, m_time);
  Core::WriteValue<float>(file, m_timeToLive);
  Math::WriteVector2D(file, m_evaluatedForce);
  Core::WriteValue<float>(file, m_evaluatedTorque);
}

void Force::Load(Core::File& file) {
  Math::ReadVector2D(file, m_position);
  Math::ReadVector2D(file, m_vector);
  Math::ReadVector2D(file, m_localPosition);
  Math::ReadVector2D(file, m_arm);
  m_time = Core::ReadValue<float>(file);
  m_timeToLive = Core::ReadValue<float>(file);
  Math::ReadVector2D(file, m_evaluatedForce);
  m_evaluatedTorque = Core::ReadValue<float>(file);
}

VELKOR_IMPLEMENT_CLASS(ConstantForce, "Physics2D::ConstantForce");

int ConstantForce::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, "ConstantForce"); }

void ConstantForce::Evaluate(float) {
  switch (m_mode) {
    case PushMode:
      m_evaluatedForce = m_vector;
      m_evaluatedTorque = 0.0f;
      break;
    case TorqueMode:
      m_evaluatedForce = Math::Vector2D();
      m_evaluatedTorque = m_vector.x;
      break;
    case PushWithMomentMode:
      m_evaluatedForce = m_vector;
      m_evaluatedTorque = m_vector.y * m_arm.x - m_vector.x * m_arm.y;
      break;
    default:
      break;
  }
}

// The mode follows the common record: a torque must not come back from a saved game as a push.
void ConstantForce::Save(Core::File& file) {
  Force::Save(file);
  Core::WriteValue<uint32_t>(file, m_mode);
}

void ConstantForce::Load(Core::File& file) {
  Force::Load(file);
  m_mode = Core::ReadValue<uint32_t>(file);
}

VELKOR_IMPLEMENT_CLASS(GravityForce, "Physics2D::GravityForce");

GravityForce::GravityForce(const Math::Vector2D& direction, float magnitude)
    : Force(Math::Vector2D(), Math::Vector2D(), 0.0f), m_direction(direction), m_magnitude(magnitude) {
  m_direction.Normalize();
}

int GravityForce::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, "GravityForce"); }

void GravityForce::Evaluate(float) {
  if (m_body == nullptr) return;
  const float mass = m_body->GetMassProperties().GetMass();
  m_evaluatedForce = Math::Vector2D(mass * m_direction.x * m_magnitude, mass * m_direction.y * m_magnitude);
  m_evaluatedTorque = 0.0f;
}

void GravityForce::Save(Core::File& file) {
  Force::Save(file);
  Math::WriteVector2D(file, m_direction);
  Core::WriteValue<float>(file, m_magnitude);
}

void GravityForce::Load(Core::File& file) {
  Force::Load(file);
  Math::ReadVector2D(file, m_direction);
  m_magnitude = Core::ReadValue<float>(file);
}

VELKOR_IMPLEMENT_CLASS(DragForce, "Physics2D::DragForce");

int DragForce::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, "DragForce"); }

void DragForce::Evaluate(float) {
  if (m_body == nullptr) return;
  const Math::Vector2D& velocity = m_body->GetVelocity();
  m_evaluatedForce = Math::Vector2D(-velocity.x * m_linearCoefficient, -velocity.y * m_linearCoefficient);
  m_evaluatedTorque = -m_body->GetAngularVelocity() * m_angularCoefficient;
}

void DragForce::Save(Core::File& file) {
  Force::Save(file);
  Core::WriteValue<float>(file, m_linearCoefficient);
  Core::WriteValue<float>(file, m_angularCoefficient);
}

void DragForce::Load(Core::File& file) {
  Force::Load(file);
  m_linearCoefficient = Core::ReadValue<float>(file);
  m_angularCoefficient = Core::ReadValue<float>(file);
}

}  // namespace Physics2D
