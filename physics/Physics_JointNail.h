#pragma once
// Joints that hold an anchor of one body on an anchor of the other: two rows along an axis and its
// perpendicular, an optional spring along the axis, and an angle limit row when the relative angle
// leaves +-angleLimit. The nail, hinge and spring differ only by the parameters they are built with.
#include "physics/Physics_Joint.h"

namespace Physics2D {

class JointNail : public Joint {
 public:
  VELKOR_DECLARE_CLASS(JointNail);
  JointNail();
  // Anchors and axis in world coordinates at the moment the joint is added; angles in degrees.
  // errorReduction (clamped to 0..1) is the share of the positional error removed per step.
  JointNail(const Math::Vector2D& worldAnchor1, const Math::Vector2D& worldAnchor2, const Math::Vector2D& worldAxis,
            float stiffness, float damping, float angleLimit, float errorReduction);

  int PushToLua(lua_State* state) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;
  void Capture() override;
  void PrepareRows() override;
  void BuildRows() override;

  const Math::Vector2D& GetWorldAnchor1() const { return m_worldAnchor1; }
  const Math::Vector2D& GetWorldAnchor2() const { return m_worldAnchor2; }

 protected:
  uint32_t GetDeclaredRowCount() const override { return 2; }
  float RelativeAngle() const;

  Math::Vector2D m_n, m_p, m_localAxis, m_worldAxis;
  float m_stiffness = 0.0f;
  float m_damping = 0.0f;
  float m_angleLimit = 0.0f;
  Math::Vector2D m_localAnchor1, m_localAnchor2, m_worldAnchor1, m_worldAnchor2, m_r1, m_r2;
  float m_restAngle = 0.0f;
};

class JointHinge : public JointNail {
 public:
  VELKOR_DECLARE_CLASS(JointHinge);
  using JointNail::JointNail;
  JointHinge() = default;
  int PushToLua(lua_State* state) override;
};

class JointSpring : public JointNail {
 public:
  VELKOR_DECLARE_CLASS(JointSpring);
  using JointNail::JointNail;
  JointSpring() = default;
  int PushToLua(lua_State* state) override;
};

}  // namespace Physics2D
