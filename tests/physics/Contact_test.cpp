#include <cmath>

#include "PhysicsScenes.h"
#include "PhysicsTestSupport.h"
#include "physics/Physics_Force.h"
#include "physics/Physics_JointNail.h"

using namespace Physics2D;
using PhysicsScenes::BoxWorld;

namespace {
constexpr float kStep = 1.0f / 60.0f;
}

TEST_F(PhysicsTest, BoxRestingOnTheStaticBodyNeitherSinksNorBounces) {
  for (uint32_t kind : {0u, 1u, 2u}) {
    BoxWorld world;
    world.AddBox(0.0f, 0.5f, 0.5f, 0.5f, 1.0f, kind);
    RigidBody* body = world.GetBody(0);
    float lowest = 1.0f;
    float highest = 0.0f;
    for (int i = 0; i < 600; ++i) {
      world.Step(kStep);
      lowest = std::min(lowest, body->GetPosition().y);
      highest = std::max(highest, body->GetPosition().y);
    }
    EXPECT_GT(lowest, 0.49f) << "kind " << kind;
    EXPECT_LT(highest, 0.52f) << "kind " << kind;
    EXPECT_LT(std::fabs(body->GetVelocity().y), 0.05f) << "kind " << kind;
    EXPECT_NEAR(body->GetOrientation(), 0.0f, 0.1f);
  }
}

TEST_F(PhysicsTest, StackOfFiveBoxesStaysUp) {
  BoxWorld world;
  for (int i = 0; i < 5; ++i) world.AddBox(0.0f, 0.5f + static_cast<float>(i), 0.5f, 0.5f, 1.0f, 0);
  for (int i = 0; i < 600; ++i) world.Step(kStep);
  for (int i = 0; i < 5; ++i) {
    const RigidBody* body = world.GetBody(i);
    EXPECT_NEAR(body->GetPosition().y, 0.5f + static_cast<float>(i), 0.05f) << "box " << i;
    // Gauss-Seidel meets the corner rows in a fixed order: the stack leans very slowly (about a
    // tenth of a degree per second), far from toppling.
    EXPECT_NEAR(body->GetPosition().x, 0.0f, 0.1f) << "box " << i;
    EXPECT_NEAR(body->GetOrientation(), 0.0f, 2.0f) << "box " << i;
  }
}

TEST_F(PhysicsTest, RestitutionReturnsThreeTenthsOfTheImpactSpeed) {
  BoxWorld world;
  world.AddBox(0.0f, 3.0f, 0.5f, 0.5f, 1.0f, 0);
  RigidBody* body = world.GetBody(0);
  float impact = 0.0f;
  float rebound = 0.0f;
  for (int i = 0; i < 120 && rebound == 0.0f; ++i) {
    const float before = body->GetVelocity().y;
    world.Step(kStep);
    if (before < 0.0f && body->GetVelocity().y > 0.0f) {
      impact = before;
      rebound = body->GetVelocity().y;
    } else if (body->GetVelocity().y < 0.0f) {
      impact = body->GetVelocity().y;
    }
  }
  ASSERT_LT(impact, -5.0f);
  // The normal row turns the approach speed the step starts with into 0.3 of it, outward.
  EXPECT_NEAR(rebound / -impact, 0.3f, 1e-3f);
}

TEST_F(PhysicsTest, FrictionDeceleratesASlidingBoxByMuG) {
  BoxWorld world;
  world.AddBox(0.0f, 0.5f, 0.5f, 0.5f, 1.0f, 0);
  RigidBody* body = world.GetBody(0);
  for (int i = 0; i < 10; ++i) world.Step(kStep);
  body->SetVelocity(Math::Vector2D(5.0f, 0.0f));
  const float start = body->GetPosition().x;
  int steps = 0;
  while (body->GetVelocity().x > 1e-3f && steps < 300) {
    world.Step(kStep);
    ++steps;
  }
  const float distance = body->GetPosition().x - start;
  const float expected = 25.0f / (2.0f * 0.5f * 9.8f);
  EXPECT_NEAR(distance, expected, 0.05f * expected);
  EXPECT_NEAR(static_cast<float>(steps) * kStep, 5.0f / (0.5f * 9.8f), 0.05f);
  // Static friction then holds it.
  const float stopped = body->GetPosition().x;
  for (int i = 0; i < 120; ++i) world.Step(kStep);
  EXPECT_NEAR(body->GetPosition().x, stopped, 1e-3f);

  // Without friction nothing slows it.
  BoxWorld slippery;
  slippery.SetFriction(0.0f);
  slippery.AddBox(0.0f, 0.5f, 0.5f, 0.5f, 1.0f, 0);
  for (int i = 0; i < 10; ++i) slippery.Step(kStep);
  slippery.GetBody(0)->SetVelocity(Math::Vector2D(5.0f, 0.0f));
  for (int i = 0; i < 60; ++i) slippery.Step(kStep);
  EXPECT_NEAR(slippery.GetBody(0)->GetVelocity().x, 5.0f, 1e-3f);
}

TEST_F(PhysicsTest, PostCollisionCorrectionPushesOutThePenetration) {
  BoxWorld world;
  world.AddBox(0.0f, 0.4f, 0.5f, 0.5f, 1.0f, 0);  // 0.1 into the ground
  world.GetEngine().PostCollisionUpdate(kStep);
  EXPECT_NEAR(world.GetBody(0)->GetPosition().y, 0.5f, 1e-4f);
  // Only the pose moved: the solver's state is untouched and the velocity too.
  EXPECT_FLOAT_EQ(world.GetBody(0)->GetPositionSolver()->GetState()[1], 0.4f);
  EXPECT_EQ(world.GetBody(0)->GetVelocity().y, 0.0f);
  for (const auto& contact : world.GetEngine().GetContacts()) EXPECT_EQ(contact->GetPenetration(), 0.0f);
}

TEST_F(PhysicsTest, SceneOfFallingRestingAndHangingBodies) {
  BoxWorld world;
  world.AddBox(-3.0f, 2.0f, 0.5f, 0.5f, 1.0f, 0);
  world.AddBox(0.0f, 4.0f, 0.5f, 0.25f, 2.0f, 1);
  world.AddBox(3.0f, 6.0f, 0.25f, 0.5f, 0.5f, 2);
  world.SetGround(true);
  PhysicsEngine& engine = world.GetEngine();
  // A chain of two boxes hanging from the static body, far above the rest.
  const RigidBodyHandle link1 = world.AddBox(10.0f, 18.0f, 0.2f, 0.2f, 1.0f, 0);
  const RigidBodyHandle link2 = world.AddBox(12.0f, 18.0f, 0.2f, 0.2f, 1.0f, 0);
  const Math::Vector2D nail(10.0f, 20.0f);
  const Math::Vector2D knot(11.0f, 18.0f);
  engine.AddJoint(0, link1, new JointNail(nail, nail, Math::Vector2D(1, 0), 0, 0, 360, 0.3f));
  engine.AddJoint(link1, link2, new JointHinge(knot, knot, Math::Vector2D(1, 0), 0, 0, 360, 0.3f));
  RigidBody* first = engine.GetRigidBody(link1).Get();
  RigidBody* second = engine.GetRigidBody(link2).Get();
  const float length1 = (first->GetPosition() - nail).Length();
  for (int i = 0; i < 600; ++i) {
    world.Step(kStep);
    ASSERT_NEAR((first->GetPosition() - nail).Length(), length1, 0.05f) << "step " << i;
  }
  EXPECT_NEAR(world.GetBody(0)->GetPosition().y, 0.5f, 0.02f);
  EXPECT_NEAR(world.GetBody(1)->GetPosition().y, 0.25f, 0.02f);
  EXPECT_NEAR(world.GetBody(2)->GetPosition().y, 0.5f, 0.02f);
  for (int i = 0; i < 3; ++i) EXPECT_LT(world.GetBody(i)->GetVelocity().Length(), 0.05f) << "box " << i;
  EXPECT_GT(second->GetPosition().y, 10.0f);
  EXPECT_LT(second->GetPosition().y, 18.5f);
}

TEST_F(PhysicsTest, FixedSceneHashesToTheGoldenValue) {
  auto run = [] {
    BoxWorld world;
    PhysicsScenes::BuildPyramid(world, 3, 0);
    world.AddBox(0.3f, 6.0f, 0.5f, 0.5f, 1.0f, 2);
    world.AddBox(-2.0f, 8.0f, 0.5f, 0.25f, 1.0f, 1);
    world.GetBody(7)->SetAngularVelocity(90.0f);
    for (int i = 0; i < 1000; ++i) world.Step(kStep);
    return world.Hash();
  };
  const uint64_t first = run();
  EXPECT_EQ(run(), first);
  // Physics and replays depend on bit-for-bit repeatable stepping across builds and runs.
  EXPECT_EQ(first, 1120891724683494431ull) << first;
}

TEST_F(PhysicsTest, AMatchedContactLivesOneMoreFrameOnly) {
  BoxWorld world;
  world.AddBox(0.0f, 0.5f, 0.5f, 0.5f, 1.0f, 0);
  for (int i = 0; i < 50; ++i) {
    world.Step(kStep);
    // Two corner contacts of this frame, plus the two of the previous frame that they keep.
    ASSERT_EQ(world.GetLastContactCount(), 2u);
    ASSERT_EQ(world.GetEngine().GetContacts().size(), i == 0 ? 2u : 4u) << "step " << i;
  }
}
