#include "physics/Physics_JointAngularMotor.h"

#include "core/Core_File.h"

namespace Physics2D {

VELKOR_IMPLEMENT_CLASS(JointAngularMotor, "Physics2D::JointAngularMotor");

int JointAngularMotor::PushToLua(lua_State* state) {
  return Core::PushObjectToLua(state, this, "JointAngularMotor");
}

void JointAngularMotor::BuildRows() {
  SetRow(0, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, -1.0f);
  m_error[0] = m_motorValue;
  m_softness[0] = 0.0f;
  m_lower[0] = -m_maxImpulse;
  m_upper[0] = m_maxImpulse;
}

void JointAngularMotor::Save(Core::File& file) {
  Joint::Save(file);
  Core::WriteValue<float>(file, m_motorValue);
  Core::WriteValue<float>(file, m_maxImpulse);
}

void JointAngularMotor::Load(Core::File& file) {
  Joint::Load(file);
  m_motorValue = Core::ReadValue<float>(file);
  m_maxImpulse = Core::ReadValue<float>(file);
}

}  // namespace Physics2D
