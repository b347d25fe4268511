#pragma once
// Holds the second body at its captured offset and angle relative to the first.
#include "physics/Physics_Joint.h"

namespace Physics2D {

class JointFixed : public Joint {
 public:
  VELKOR_DECLARE_CLASS(JointFixed);
  JointFixed() : JointFixed(0.7f) {}
  // errorReduction is clamped to 0..1.
  explicit JointFixed(float errorReduction);

  int PushToLua(lua_State* state) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;
  void Capture() override;
  void BuildRows() override;

 protected:
  uint32_t GetDeclaredRowCount() const override { return 3; }

 private:
  Math::Vector2D m_localOffset, m_offset, m_worldOffset;
  float m_restAngle = 0.0f;
};

}  // namespace Physics2D
