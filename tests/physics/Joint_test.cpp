#include <cmath>

#include "PhysicsTestSupport.h"
#include "physics/Physics_Force.h"
#include "physics/Physics_JointFixed.h"
#include "physics/Physics_JointNail.h"
#include "physics/Physics_JointSlider.h"

using namespace Physics2D;

TEST_F(PhysicsTest, PendulumOnANailKeepsItsLength) {
  for (uint32_t kind : {0u, 1u, 2u}) {
    PhysicsEngine engine;
    auto bob = MakeBody(1.0f, 0.1f, kind);
    bob->SetPosition(Math::Vector2D(2.0f, 10.0f));
    const RigidBodyHandle handle = engine.AddRigidBody(bob);
    uint32_t id;
    engine.AddRigidBodyForce(handle, new GravityForce(), id);
    const Math::Vector2D nail(0.0f, 10.0f);
    ASSERT_NE(engine.AddJoint(0, handle, new JointNail(nail, nail, Math::Vector2D(1, 0), 0, 0, 360.0f, 0.2f)),
              nullptr);
    float lowest = 10.0f;
    float worst = 0.0f;
    for (int i = 0; i < 600; ++i) {
      Step(engine, 1.0f / 60.0f);
      const float length = (bob->GetPosition() - nail).Length();
      worst = std::max(worst, std::fabs(length - 2.0f));
      lowest = std::min(lowest, bob->GetPosition().y);
    }
    EXPECT_LT(worst, 0.02f) << "kind " << kind;
    EXPECT_LT(lowest, 8.1f) << "the pendulum swings through the bottom";
  }
}

TEST_F(PhysicsTest, SpringOscillatesWithItsPeriod) {
  PhysicsEngine engine;
  auto body = MakeBody(1.0f, 1.0f);
  body->SetPosition(Math::Vector2D(0.0f, -1.0f));
  const RigidBodyHandle handle = engine.AddRigidBody(body);
  const float stiffness = 40.0f;
  // Anchors one unit apart: the spring's rest length is 0, so it pulls the body up to the origin.
  engine.AddJoint(0, handle,
                  new JointSpring(Math::Vector2D(0, 0), Math::Vector2D(0, -1), Math::Vector2D(0, 1), stiffness, 0.0f,
                                  360.0f, 0.2f));
  const float h = 1.0f / 240.0f;
  std::vector<float> crossings;
  float previous = body->GetPosition().y;
  for (int i = 1; i <= 240 * 4; ++i) {
    Step(engine, h);
    const float y = body->GetPosition().y;
    if (previous < 0.0f && y >= 0.0f) crossings.push_back((static_cast<float>(i) - y / (y - previous)) * h);
    previous = y;
  }
  ASSERT_GE(crossings.size(), 3u);
  const float period = (crossings.back() - crossings.front()) / static_cast<float>(crossings.size() - 1);
  const float expected = 2.0f * 3.14159265f * std::sqrt(1.0f / stiffness);
  EXPECT_NEAR(period, expected, 0.01f * expected);
  EXPECT_NEAR(body->GetPosition().x, 0.0f, 1e-4f);
}

TEST_F(PhysicsTest, SpringWithoutNetSofteningNeverTurnsThePoseIntoNaN) {
  const float h = 1.0f / 240.0f;
  const float stiffness = 40.0f;
  // A zero step without damping, then q (step times stiffness) equal to minus the damping.
  for (float damping : {0.0f, -(h * stiffness)}) {
    PhysicsEngine engine;
    auto body = MakeBody(1.0f, 1.0f);
    body->SetPosition(Math::Vector2D(0.0f, -1.0f));
    const RigidBodyHandle handle = engine.AddRigidBody(body);
    engine.AddJoint(0, handle,
                    new JointSpring(Math::Vector2D(0, 0), Math::Vector2D(0, -1), Math::Vector2D(0, 1), stiffness,
                                    damping, 360.0f, 0.2f));
    Step(engine, damping == 0.0f ? 0.0f : h);
    for (int i = 0; i < 10; ++i) Step(engine, h);
    EXPECT_TRUE(std::isfinite(body->GetPosition().x) && std::isfinite(body->GetPosition().y)) << damping;
    EXPECT_TRUE(std::isfinite(body->GetOrientation())) << damping;
  }
}

TEST_F(PhysicsTest, SliderStaysOnItsAxis) {
  PhysicsEngine engine;
  auto body = MakeBody(1.0f, 0.2f);
  body->SetPosition(Math::Vector2D(1.0f, 1.0f));
  const RigidBodyHandle handle = engine.AddRigidBody(body);
  uint32_t id;
  engine.AddRigidBodyForce(handle, new GravityForce(), id);
  // A push off the axis and a spin must both be taken up by the joint.
  engine.AddRigidBodyForce(handle, new ConstantForce(Math::Vector2D(1.0f, 1.5f), Math::Vector2D(3.0f, 0.0f), 0.0f,
                                                     ConstantForce::PushWithMomentMode),
                           id);
  const float s = std::sqrt(0.5f);
  ASSERT_NE(engine.AddJoint(0, handle, new JointSlider(Math::Vector2D(s, s), 0.2f)), nullptr);
  for (int i = 0; i < 120; ++i) {
    Step(engine, 1.0f / 60.0f);
    const Math::Vector2D p = body->GetPosition() - Math::Vector2D(1.0f, 1.0f);
    ASSERT_NEAR(p.x * -s + p.y * s, 0.0f, 2e-3f) << "step " << i;
    ASSERT_NEAR(body->GetOrientation(), 0.0f, 0.2f) << "step " << i;
  }
  // Gravity and the push along the axis: (3 - 9.8) / sqrt(2) per second squared along (s, s).
  const float along = (body->GetPosition() - Math::Vector2D(1.0f, 1.0f)).Dot(Math::Vector2D(s, s));
  EXPECT_NEAR(along, 0.5f * (3.0f - 9.8f) * s * 4.0f, 0.1f);
}

TEST_F(PhysicsTest, NailUsesALimitRowOnlyOutsideItsAngle) {
  PhysicsEngine engine;
  const RigidBodyHandle a = engine.AddRigidBody(MakeBody(1.0f, 1.0f));
  engine.AddJoint(0, a, new JointNail(Math::Vector2D(), Math::Vector2D(), Math::Vector2D(1, 0), 0, 0, 30.0f, 0.2f));
  engine.Update(0.01f);
  EXPECT_EQ(engine.GetSolver().GetRowCount(), 2u);
  engine.SetRigidBodyOrientation(a, 40.0f);
  engine.Update(0.01f);
  EXPECT_EQ(engine.GetSolver().GetRowCount(), 3u);
  // The limit row brings the body back inside the limit.
  for (int i = 0; i < 200; ++i) engine.Update(0.01f);
  EXPECT_LT(engine.GetRigidBody(a)->GetOrientation(), 30.5f);

  JointNail locked;
  PhysicsEngine other;
  const RigidBodyHandle b = other.AddRigidBody(MakeBody(1.0f, 1.0f));
  other.AddJoint(0, b, new JointNail());
  other.Update(0.01f);
  EXPECT_EQ(other.GetSolver().GetRowCount(), 3u) << "an angle limit of 0 always locks the angle";
}

TEST_F(PhysicsTest, FixedJointClampsErrorReductionAndHoldsItsOffset) {
  EXPECT_FLOAT_EQ(JointFixed().GetErrorReduction(), 0.7f);
  EXPECT_FLOAT_EQ(JointFixed(1.5f).GetErrorReduction(), 1.0f);
  EXPECT_FLOAT_EQ(JointFixed(-0.2f).GetErrorReduction(), 0.0f);
  EXPECT_EQ(JointFixed().GetKind(), 5u);

  PhysicsEngine engine;
  auto a = MakeBody(1.0f, 0.2f);
  auto b = MakeBody(1.0f, 0.2f);
  b->SetPosition(Math::Vector2D(1.0f, 0.0f));
  const RigidBodyHandle ha = engine.AddRigidBody(a);
  const RigidBodyHandle hb = engine.AddRigidBody(b);
  uint32_t id;
  engine.AddRigidBodyForce(hb, new GravityForce(), id);
  engine.AddJoint(0, ha, new JointNail(Math::Vector2D(), Math::Vector2D(), Math::Vector2D(1, 0), 0, 0, 360, 0.2f));
  engine.AddJoint(ha, hb, new JointFixed(0.5f));
  for (int i = 0; i < 300; ++i) Step(engine, 1.0f / 60.0f);
  EXPECT_NEAR((b->GetWorldCenterOfMass() - a->GetWorldCenterOfMass()).Length(), 1.0f, 0.02f);
  EXPECT_NEAR(b->GetOrientation() - a->GetOrientation(), 0.0f, 1.0f);
}
