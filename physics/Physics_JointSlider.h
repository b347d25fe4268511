#pragma once
// Lets the second body move along an axis fixed in the first body, without relative rotation.
#include "physics/Physics_Joint.h"

namespace Physics2D {

class JointSlider : public Joint {
 public:
  VELKOR_DECLARE_CLASS(JointSlider);
  JointSlider() { m_rowCount = 2; }
  // axis in world coordinates when the joint is added; errorReduction is clamped to 0..1.
  JointSlider(const Math::Vector2D& axis, float errorReduction);

  int PushToLua(lua_State* state) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;
  void Capture() override;
  void BuildRows() override;

 protected:
  uint32_t GetDeclaredRowCount() const override { return 2; }

 private:
  Math::Vector2D m_localAxis, m_axis, m_localOffset, m_offset, m_errorVector;
  float m_restAngle = 0.0f;
};

}  // namespace Physics2D
