#pragma once
// Drives the relative angular velocity of two bodies with a bounded impulse.
#include "physics/Physics_Joint.h"

namespace Physics2D {

class JointAngularMotor : public Joint {
 public:
  VELKOR_DECLARE_CLASS(JointAngularMotor);
  JointAngularMotor() { m_rowCount = 1; }
  // motorValue is the row's target; maxImpulse bounds the row's impulse both ways.
  JointAngularMotor(float motorValue, float maxImpulse) : m_motorValue(motorValue), m_maxImpulse(maxImpulse) {
    m_rowCount = 1;
  }

  int PushToLua(lua_State* state) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;
  void BuildRows() override;

 protected:
  uint32_t GetDeclaredRowCount() const override { return 1; }

 private:
  float m_motorValue = 0.0f;
  float m_maxImpulse = 0.0f;
};

}  // namespace Physics2D
