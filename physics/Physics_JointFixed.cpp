#include "physics/Physics_JointFixed.h"

#include <algorithm>

#include "core/Core_File.h"
#include "physics/Physics_Settings.h"

namespace Physics2D {

VELKOR_IMPLEMENT_CLASS(JointFixed, "Physics2D::JointFixed");

JointFixed::JointFixed(float errorReduction) {
  m_kind = 5;
  m_rowCount = 3;
  m_flag = 0;
  m_errorReduction = std::min(1.0f, std::max(0.0f, errorReduction));
}

int JointFixed::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, "JointFixed"); }

void JointFixed::Capture() {
  m_offset = m_body2->GetWorldCenterOfMass() - m_body1->GetWorldCenterOfMass();
  m_localOffset = Math::TransformDirection(m_body1->GetInverseMatrix(), m_offset);
  m_restAngle = m_body2->GetOrientation() - m_body1->GetOrientation();
}

void JointFixed::BuildRows() {
  const PhysicsSettings& settings = GetSettings();
  const float e = settings.simulationInverseStep * m_errorReduction;
  m_worldOffset = Math::TransformDirection(m_body1->GetRotationMatrix(), m_localOffset);
  SetRow(0, 1.0f, 0.0f, 0.0f, -1.0f, 0.0f, -m_worldOffset.y);
  SetRow(1, 0.0f, 1.0f, 0.0f, 0.0f, -1.0f, m_worldOffset.x);
  SetRow(2, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, -1.0f);
  m_offset = m_body2->GetWorldCenterOfMass() - m_body1->GetWorldCenterOfMass();
  const Math::Vector2D v = m_offset - Math::TransformDirection(m_body1->GetMatrix(), m_localOffset);
  m_error[0] = e * v.x;
  m_error[1] = e * v.y;
  m_error[2] = (m_body2->GetOrientation() - m_body1->GetOrientation() - m_restAngle) * e * 0.017453292f;
  for (int r = 0; r < 3; ++r) {
    m_softness[r] = 0.0f;
    m_lower[r] = -settings.plusInfinity;
    m_upper[r] = settings.plusInfinity;
  }
}

void JointFixed::Save(Core::File& file) {
  Joint::Save(file);
  Math::WriteVector2D(file, m_localOffset);
  Math::WriteVector2D(file, m_offset);
  Math::WriteVector2D(file, m_worldOffset);
  Core::WriteValue<float>(file, m_restAngle);
}

void JointFixed::Load(Core::File& file) {
  Joint::Load(file);
  Math::ReadVector2D(file, m_localOffset);
  Math::ReadVector2D(file, m_offset);
  Math::ReadVector2D(file, m_worldOffset);
  m_restAngle = Core::ReadValue<float>(file);
}

}  // namespace Physics2D
