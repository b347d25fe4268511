#include "physics/Physics_JointNail.h"

#include <algorithm>
#include <cmath>

#include "core/Core_File.h"
#include "physics/Physics_Settings.h"

namespace Physics2D {

namespace {
constexpr float kAngleToRadians = 0.017453292f;
}

VELKOR_IMPLEMENT_CLASS(JointNail, "Physics2D::JointNail");
VELKOR_IMPLEMENT_CLASS(JointHinge, "Physics2D::JointHinge");
VELKOR_IMPLEMENT_CLASS(JointSpring, "Physics2D::JointSpring");

JointNail::JointNail() { m_rowCount = 2; }

JointNail::JointNail(const Math::Vector2D& worldAnchor1, const Math::Vector2D& worldAnchor2,
                     const Math::Vector2D& worldAxis, float stiffness, float damping, float angleLimit,
                     float errorReduction)
    : m_worldAxis(worldAxis),
      m_stiffness(stiffness),
      m_damping(damping),
      m_angleLimit(angleLimit),
      m_worldAnchor1(worldAnchor1),
      m_worldAnchor2(worldAnchor2) {
  m_rowCount = 2;
  m_errorReduction = std::min(1.0f, std::max(0.0f, errorReduction));
}

int JointNail::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, "JointNail"); }
int JointHinge::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, "JointHinge"); }
int JointSpring::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, "JointSpring"); }

float JointNail::RelativeAngle() const {
  return std::fmod(m_body2->GetOrientation() - m_body1->GetOrientation() - m_restAngle, 360.0f);
}

void JointNail::Capture() {
  if (IsStatic(m_body1.Get()) || IsStatic(m_body2.Get()))
    m_localAxis = m_worldAxis;
  else
    m_localAxis = Math::TransformDirection(m_body1->GetInverseMatrix(), m_worldAxis);
  m_localAxis.Normalize();
  m_localAnchor1 = m_body1->GetInverseMatrix() * m_worldAnchor1;
  m_localAnchor2 = m_body2->GetInverseMatrix() * m_worldAnchor2;
  m_restAngle = m_body2->GetOrientation() - m_body1->GetOrientation();
}

void JointNail::PrepareRows() {
  const float a = RelativeAngle();
  m_activeRowCount = (a < 0.01f - m_angleLimit || a > m_angleLimit - 0.01f) ? m_rowCount + 1 : m_rowCount;
}

void JointNail::BuildRows() {
  const PhysicsSettings& settings = GetSettings();
  const float e = settings.simulationInverseStep * m_errorReduction;
  if (IsStatic(m_body1.Get()) || IsStatic(m_body2.Get()))
    m_worldAxis = m_localAxis;
  else
    m_worldAxis = Math::TransformDirection(m_body1->GetRotationMatrix(), m_localAxis);
  m_worldAnchor1 = m_body1->GetMatrix() * m_localAnchor1;
  m_worldAnchor2 = m_body2->GetMatrix() * m_localAnchor2;
  m_n = m_worldAxis;
  m_p = Math::Vector2D(-m_n.y, m_n.x);
  m_r1 = m_worldAnchor1 - m_body1->GetWorldCenterOfMass();
  m_r2 = m_worldAnchor2 - m_body2->GetWorldCenterOfMass();

  // The limit decision repeats PrepareRows' test on the same poses, so the row count agrees.
  float a = RelativeAngle();
  int limitSide = 0;
  if (a < 0.01f - m_angleLimit) {
    limitSide = -1;
    a = a + m_angleLimit;
  } else if (a > m_angleLimit - 0.01f) {
    limitSide = 1;
    a = a - m_angleLimit;
  }
  const Math::Vector2D& n = m_n;
  const Math::Vector2D& p = m_p;
  const Math::Vector2D& r1 = m_r1;
  const Math::Vector2D& r2 = m_r2;
  SetRow(0, n.x, n.y, r1.x * n.y - n.x * r1.y, -n.x, -n.y, -(r2.x * n.y - r2.y * n.x));
  SetRow(1, p.x, p.y, p.y * r1.x - r1.y * p.x, -p.x, -p.y, -(r2.x * p.y - r2.y * p.x));

  const float f1 = e;
  float f0 = e;
  float softness0 = 0.0f;
  // A spring whose stiffness and damping add up to nothing this step (a step of 0 without damping,
  // or q equal to minus the damping) has no sound softness: its row pushes nothing this step
  // rather than turning the bodies' poses into NaN for good.
  bool springIdle = false;
  if (m_stiffness != 0.0f) {
    const float q = settings.simulationStep * m_stiffness;
    const float s = q + m_damping;
    if (s > 0.0f && std::isfinite(s)) {
      f0 = settings.simulationInverseStep * q / s;
      softness0 = 1.0f / s;
      if (!std::isfinite(f0) || !std::isfinite(softness0)) springIdle = true;
    } else {
      springIdle = true;
    }
    if (springIdle) f0 = softness0 = 0.0f;
  }
  m_r1 = m_worldAnchor2 - m_worldAnchor1;
  m_error[0] = m_r1.Dot(n) * f0;
  m_error[1] = m_r1.Dot(p) * f1;
  m_softness[0] = softness0;
  m_softness[1] = 0.0f;
  m_lower[0] = m_lower[1] = -settings.plusInfinity;
  m_upper[0] = m_upper[1] = settings.plusInfinity;
  if (springIdle) m_lower[0] = m_upper[0] = 0.0f;
  if (limitSide != 0 && m_activeRowCount > 2) {
    SetRow(2, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, -1.0f);
    m_error[2] = a * e * kAngleToRadians;
    m_softness[2] = 0.0f;
    m_lower[2] = limitSide < 0 ? -settings.plusInfinity : 0.0f;
    m_upper[2] = limitSide < 0 ? 0.0f : settings.plusInfinity;
  }
}

void JointNail::Save(Core::File& file) {
  Joint::Save(file);
  Math::WriteVector2D(file, m_n);
  Math::WriteVector2D(file, m_p);
  Math::WriteVector2D(file, m_localAxis);
  Math::WriteVector2D(file, m_worldAxis);
  Core::WriteValue<float>(file, m_stiffness);
  Core::WriteValue<float>(file, m_damping);
  Core::WriteValue<float>(file, m_angleLimit);
  Math::WriteVector2D(file, m_localAnchor1);
  Math::WriteVector2D(file, m_localAnchor2);
  Math::WriteVector2D(file, m_worldAnchor1);
  Math::WriteVector2D(file, m_worldAnchor2);
  Math::WriteVector2D(file, m_r1);
  Math::WriteVector2D(file, m_r2);
  Core::WriteValue<float>(file, m_restAngle);
}

void JointNail::Load(Core::File& file) {
  Joint::Load(file);
  Math::ReadVector2D(file, m_n);
  Math::ReadVector2D(file, m_p);
  Math::ReadVector2D(file, m_localAxis);
  Math::ReadVector2D(file, m_worldAxis);
  m_stiffness = Core::ReadValue<float>(file);
  m_damping = Core::ReadValue<float>(file);
  m_angleLimit = Core::ReadValue<float>(file);
  Math::ReadVector2D(file, m_localAnchor1);
  Math::ReadVector2D(file, m_localAnchor2);
  Math::ReadVector2D(file, m_worldAnchor1);
  Math::ReadVector2D(file, m_worldAnchor2);
  Math::ReadVector2D(file, m_r1);
  Math::ReadVector2D(file, m_r2);
  m_restAngle = Core::ReadValue<float>(file);
}

}  // namespace Physics2D
