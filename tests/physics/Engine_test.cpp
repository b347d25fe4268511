#include <cmath>

#include "PhysicsTestSupport.h"
#include "physics/Physics_Force.h"
#include "physics/Physics_JointNail.h"

using namespace Physics2D;

TEST_F(PhysicsTest, FreeFallFollowsTheClosedForm) {
  for (uint32_t kind : {0u, 1u, 2u}) {
    PhysicsEngine engine;
    auto body = MakeBody(2.0f, 1.0f, kind);
    body->SetPosition(Math::Vector2D(0.0f, 100.0f));
    const RigidBodyHandle handle = engine.AddRigidBody(body);
    uint32_t id = 0;
    ASSERT_TRUE(engine.AddRigidBodyForce(handle, new GravityForce(), id));
    const float h = 1.0f / 60.0f;
    for (int i = 0; i < 120; ++i) Step(engine, h);
    const float t = 120.0f * h;
    EXPECT_NEAR(body->GetVelocity().y, -9.8f * t, 1e-3f) << "kind " << kind;
    // The position steps with the velocity already updated: it leads the exact curve by g h t / 2.
    EXPECT_NEAR(body->GetPosition().y, 100.0f - 0.5f * 9.8f * t * t - 0.5f * 9.8f * h * t, 2e-3f) << "kind " << kind;
    EXPECT_EQ(body->GetPosition().x, 0.0f);
  }
}

TEST_F(PhysicsTest, HandlesAreReusedMostRecentlyFreedFirst) {
  PhysicsEngine engine;
  for (int i = 0; i < 6; ++i) EXPECT_EQ(engine.AddRigidBody(MakeBody(1.0f, 1.0f)), static_cast<uint32_t>(i + 1));
  EXPECT_FALSE(engine.RemoveRigidBody(0));
  EXPECT_FALSE(engine.RemoveRigidBody(7));
  EXPECT_TRUE(engine.RemoveRigidBody(3));
  EXPECT_TRUE(engine.RemoveRigidBody(5));
  EXPECT_FALSE(engine.RemoveRigidBody(5));
  EXPECT_FALSE(engine.GetRigidBody(5));
  Math::Vector2D v;
  EXPECT_FALSE(engine.GetRigidBodyVelocity(5, v));
  EXPECT_EQ(engine.AddRigidBody(MakeBody(1.0f, 1.0f)), 5u);
  EXPECT_EQ(engine.AddRigidBody(MakeBody(1.0f, 1.0f)), 3u);
  EXPECT_EQ(engine.AddRigidBody(MakeBody(1.0f, 1.0f)), 7u);
  EXPECT_EQ(engine.AddRigidBody(Core::SmartPointer<RigidBody>()), 0u);
}

TEST_F(PhysicsTest, SettingsAndStepLength) {
  PhysicsEngine engine;
  engine.SetAccuracy(3);
  EXPECT_EQ(engine.GetAccuracy(), 10u);
  engine.SetAccuracy(150);
  EXPECT_EQ(engine.GetAccuracy(), 150u);
  engine.SetAccuracy(0xffffffffu);
  EXPECT_EQ(engine.GetAccuracy(), kMaximumIterations);
  // A scale of zero or less would turn every body's motion around: refused.
  engine.SetUnitScale(2.0f);
  for (float refused : {0.0f, -2.0f, std::nanf(""), INFINITY}) {
    engine.SetUnitScale(refused);
    EXPECT_EQ(engine.GetUnitScale(), 2.0f) << refused;
  }
  engine.SetUnitScale(1.0f);
  engine.Update(0.05f);
  EXPECT_FLOAT_EQ(engine.GetSimulationStep(), 0.02f);
  EXPECT_FLOAT_EQ(engine.GetSimulationInverseStep(), 50.0f);
  engine.Update(0.0f);
  EXPECT_EQ(engine.GetSimulationStep(), 0.0f);
  EXPECT_EQ(engine.GetSimulationInverseStep(), 0.0f);
  engine.SetMaximumSimulationStep(-1.0f);
  EXPECT_FLOAT_EQ(engine.GetMaximumSimulationStep(), 0.02f);
  EXPECT_EQ(engine.GetMinusInfinity(), -engine.GetPlusInfinity());
}

TEST_F(PhysicsTest, VelocitySettersScaleAndTinyVelocitiesAreCutInTheBodyOnly) {
  PhysicsEngine engine;
  engine.SetUnitScale(15.0f);
  auto body = MakeBody(1.0f, 1.0f);
  const RigidBodyHandle handle = engine.AddRigidBody(body);
  ASSERT_TRUE(engine.SetRigidBodyVelocity(handle, Math::Vector2D(1.0f, 2.0f)));
  EXPECT_FLOAT_EQ(body->GetVelocity().x, 15.0f);
  Math::Vector2D v;
  ASSERT_TRUE(engine.GetRigidBodyVelocity(handle, v));
  EXPECT_FLOAT_EQ(v.y, 2.0f);

  body->SetVelocity(Math::Vector2D(1e-11f, 5.0f));
  engine.Update(0.01f);
  EXPECT_EQ(body->GetVelocity().x, 0.0f);
  EXPECT_EQ(body->GetVelocitySolver()->GetState()[0], 1e-11f);

  // The angular velocity is capped at scale times 2 pi radians per second.
  body->SetAngularVelocity(1e6f);
  engine.Update(0.01f);
  EXPECT_NEAR(body->GetAngularVelocityRadians(), 94.24778f, 1e-3f);
}

TEST_F(PhysicsTest, BodiesWithoutSolversStayPutAndStaticBodyNeverMoves) {
  PhysicsEngine engine;
  auto body = MakeBody(1.0f, 1.0f, RigidBody::NoSolver);
  body->SetVelocity(Math::Vector2D(3.0f, 0.0f));
  const RigidBodyHandle handle = engine.AddRigidBody(body);
  uint32_t id;
  engine.AddRigidBodyForce(handle, new GravityForce(), id);
  auto still = MakeBody(0.0f, 0.0f);
  const RigidBodyHandle stillHandle = engine.AddRigidBody(still);
  engine.AddRigidBodyForce(stillHandle, new GravityForce(), id);
  engine.AddJoint(stillHandle, handle, new JointNail(Math::Vector2D(), Math::Vector2D(), Math::Vector2D(1, 0), 0, 0,
                                                       360.0f, 0.2f));
  for (int i = 0; i < 10; ++i) Step(engine, 0.01f);
  EXPECT_EQ(body->GetPosition().x, 0.0f);
  EXPECT_EQ(still->GetPosition().y, 0.0f);
  EXPECT_EQ(engine.GetStaticBody()->GetPosition().y, 0.0f);
}

TEST_F(PhysicsTest, RemovingABodyRebindsItsJointsToTheStaticBody) {
  PhysicsEngine engine;
  const RigidBodyHandle a = engine.AddRigidBody(MakeBody(1.0f, 1.0f));
  const RigidBodyHandle b = engine.AddRigidBody(MakeBody(1.0f, 1.0f));
  Joint* ab = engine.AddJoint(a, b, new JointNail());
  Joint* bb = engine.AddJoint(b, b, new JointNail());
  ASSERT_NE(ab, nullptr);
  EXPECT_EQ(engine.AddJoint(0, 9, new JointNail()), nullptr);
  Contact* contact = engine.AddContact(b, 0, new Contact(Math::Vector2D(), Math::Vector2D(0, 1), Math::Vector2D(1, 1),
                                                         Math::Vector2D(1, 1), 0, 0.3f, 0.5f, 0));
  ASSERT_NE(contact, nullptr);
  EXPECT_EQ(contact->GetBody2(), engine.GetStaticBody());
  EXPECT_EQ(engine.AddContact(0, 0, new Contact()), nullptr);
  ASSERT_TRUE(engine.RemoveRigidBody(b));
  EXPECT_EQ(ab->GetBody2(), engine.GetStaticBody());
  EXPECT_EQ(bb->GetBody1(), engine.GetStaticBody());
  EXPECT_NE(bb->GetBody2(), engine.GetStaticBody());
  EXPECT_TRUE(engine.GetContacts().empty());
  // The removed body's joints still step without touching freed memory.
  Step(engine, 0.01f);
}

TEST_F(PhysicsTest, NoBodyKeepsAPointerIntoTheSolverBetweenSteps) {
  PhysicsEngine engine;
  const RigidBodyHandle a = engine.AddRigidBody(MakeBody(1.0f, 1.0f));
  const RigidBodyHandle b = engine.AddRigidBody(MakeBody(1.0f, 1.0f));
  engine.AddJoint(a, 0, new JointNail(Math::Vector2D(), Math::Vector2D(), Math::Vector2D(1, 0), 0, 0, 360, 0.2f));
  Step(engine, 0.01f);
  // Many more rows and bodies move the solver's arrays; nothing may still point at the old ones.
  for (int i = 0; i < 50; ++i) {
    const RigidBodyHandle c = engine.AddRigidBody(MakeBody(1.0f, 1.0f));
    engine.AddJoint(b, c, new JointNail(Math::Vector2D(), Math::Vector2D(), Math::Vector2D(1, 0), 0, 0, 360, 0.2f));
  }
  Step(engine, 0.01f);
  for (uint32_t h = 1; h <= engine.GetRigidBodySlotCount(); ++h)
    EXPECT_EQ(engine.GetRigidBody(h)->GetConstraintTerm(), nullptr);
}

TEST_F(PhysicsTest, ClearingTheEngineReleasesTheBodiesOfTheLastStep) {
  PhysicsEngine engine;
  Core::SmartPointer<RigidBody> a = MakeBody(1.0f, 1.0f);
  Core::SmartPointer<RigidBody> b = MakeBody(1.0f, 1.0f);
  const RigidBodyHandle ha = engine.AddRigidBody(a);
  const RigidBodyHandle hb = engine.AddRigidBody(b);
  engine.AddJoint(ha, hb, new JointNail(Math::Vector2D(), Math::Vector2D(), Math::Vector2D(1, 0), 0, 0, 360, 0.2f));
  Step(engine, 0.01f);
  engine.Clear();
  // Only this test holds them now: the next level's engine would otherwise keep them allocated.
  EXPECT_EQ(a->GetReferenceCount(), 1u);
  EXPECT_EQ(b->GetReferenceCount(), 1u);
}
