#include "physics/Physics_JointSlider.h"

#include <algorithm>

#include "core/Core_File.h"
#include "physics/Physics_Settings.h"

namespace Physics2D {

VELKOR_IMPLEMENT_CLASS(JointSlider, "Physics2D::JointSlider");

JointSlider::JointSlider(const Math::Vector2D& axis, float errorReduction) : m_axis(axis) {
  m_rowCount = 2;
  m_errorReduction = std::min(1.0f, std::max(0.0f, errorReduction));
}

int JointSlider::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, "JointSlider"); }

void JointSlider::Capture() {
  m_localAxis = Math::TransformDirection(m_body1->GetInverseMatrix(), m_axis);
  m_localAxis.Normalize();
  m_offset = m_body2->GetWorldCenterOfMass() - m_body1->GetWorldCenterOfMass();
  m_localOffset = Math::TransformDirection(m_body1->GetInverseMatrix(), m_offset);
  m_restAngle = m_body2->GetOrientation() - m_body1->GetOrientation();
}

void JointSlider::BuildRows() {
  const PhysicsSettings& settings = GetSettings();
  const float e = settings.simulationInverseStep * m_errorReduction;
  Math::Vector2D m = (m_body2->GetWorldCenterOfMass() - m_body1->GetWorldCenterOfMass()) * 0.5f;
  const Math::Vector2D axis = Math::TransformDirection(m_body1->GetRotationMatrix(), m_localAxis);
  m_axis = Math::Vector2D(-axis.y, axis.x);
  const Math::Vector2D& p = m_axis;
  SetRow(0, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, -1.0f);
  const float angular = p.y * m.x - p.x * m.y;
  SetRow(1, p.x, p.y, angular, -p.x, -p.y, angular);
  m = m * 2.0f;
  m_errorVector = m - Math::TransformDirection(m_body1->GetMatrix(), m_localOffset);
  m_error[0] = e * (m_body2->GetOrientation() - m_body1->GetOrientation() - m_restAngle) * 0.017453292f;
  m_error[1] = p.Dot(m_errorVector) * e;
  for (int r = 0; r < 2; ++r) {
    m_softness[r] = 0.0f;
    m_lower[r] = -settings.plusInfinity;
    m_upper[r] = settings.plusInfinity;
  }
}

void JointSlider::Save(Core::File& file) {
  Joint::Save(file);
  Math::WriteVector2D(file, m_localAxis);
  Math::WriteVector2D(file, m_axis);
  Math::WriteVector2D(file, m_localOffset);
  Math::WriteVector2D(file, m_offset);
  Math::WriteVector2D(file, m_errorVector);
  Core::WriteValue<float>(file, m_restAngle);
}

void JointSlider::Load(Core::File& file) {
  Joint::Load(file);
  Math::ReadVector2D(file, m_localAxis);
  Math::ReadVector2D(file, m_axis);
  Math::ReadVector2D(file, m_localOffset);
  Math::ReadVector2D(file, m_offset);
  Math::ReadVector2D(file, m_errorVector);
  m_restAngle = Core::ReadValue<float>(file);
}

}  // namespace Physics2D
