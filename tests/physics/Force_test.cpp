#include "PhysicsTestSupport.h"
#include "core/Core_File.h"
#include "physics/Physics_Force.h"

using namespace Physics2D;

TEST_F(PhysicsTest, ForceIdsAreReusedMostRecentFirst) {
  auto body = MakeBody(1.0f, 1.0f);
  Forces& forces = body->GetForces();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(body->AddForce(new ConstantForce()), static_cast<uint32_t>(i));
  EXPECT_FALSE(body->RemoveForce(7));
  EXPECT_TRUE(body->RemoveForce(1));
  EXPECT_FALSE(body->RemoveForce(1));
  EXPECT_EQ(body->AddForce(new ConstantForce()), 1u);
  EXPECT_TRUE(body->RemoveForce(0));
  EXPECT_TRUE(body->RemoveForce(2));
  EXPECT_EQ(body->AddForce(new ConstantForce()), 2u);
  EXPECT_EQ(body->AddForce(new ConstantForce()), 0u);
  EXPECT_EQ(body->AddForce(new ConstantForce()), 3u);
  EXPECT_TRUE(body->RemoveAllForces());
  EXPECT_EQ(forces.GetForces().size(), 4u);
  EXPECT_EQ(body->AddForce(new ConstantForce()), 3u);
}

TEST_F(PhysicsTest, ForceExpiresAfterItsTimeToLiveButCountsInItsLastStep) {
  auto body = MakeBody(1.0f, 1.0f);
  Core::SmartPointer<Force> push(new ConstantForce(Math::Vector2D(), Math::Vector2D(2.0f, 0.0f), 0.5f, 0));
  const uint32_t id = body->AddForce(push);
  for (int step = 0; step < 3; ++step) {
    body->AccumulateForces(0.2f);
    EXPECT_EQ(body->GetForce().x, 2.0f) << "step " << step;
    EXPECT_EQ(body->GetForces().GetForce(id) != nullptr, step < 2) << "step " << step;
  }
  body->AccumulateForces(0.2f);
  EXPECT_EQ(body->GetForce().x, 0.0f);

  Core::SmartPointer<Force> forever(new ConstantForce(Math::Vector2D(), Math::Vector2D(1.0f, 0.0f), -1.0f, 0));
  body->AddForce(forever);
  EXPECT_EQ(forever->GetTimeToLive(), 0.0f);
  for (int step = 0; step < 100; ++step) body->AccumulateForces(1.0f);
  EXPECT_EQ(body->GetForce().x, 1.0f);
}

TEST_F(PhysicsTest, GravityScalesWithMassAndUnitScaleAndModesOfConstantForce) {
  PhysicsEngine engine;
  engine.SetUnitScale(15.0f);
  auto body = MakeBody(2.0f, 1.0f);
  body->AddForce(new GravityForce(Math::Vector2D(0.0f, -3.0f), 9.8f));
  body->AccumulateForces(0.01f);
  EXPECT_FLOAT_EQ(body->GetForce().x, 0.0f);
  EXPECT_FLOAT_EQ(body->GetForce().y, -19.6f * 15.0f);

  auto spun = MakeBody(1.0f, 1.0f);
  spun->AddForce(new ConstantForce(Math::Vector2D(), Math::Vector2D(4.0f, 0.0f), 0.0f, ConstantForce::TorqueMode));
  spun->AddForce(new ConstantForce(Math::Vector2D(0.0f, 1.0f), Math::Vector2D(2.0f, 0.0f), 0.0f,
                                   ConstantForce::PushWithMomentMode));
  spun->AccumulateForces(0.01f);
  // Torque 4, plus 2 pushed at arm (0, 1): 0 * 0 - 2 * 1 = -2.
  EXPECT_FLOAT_EQ(spun->GetTorque(), (4.0f - 2.0f) * 15.0f);
  EXPECT_FLOAT_EQ(spun->GetForce().x, 2.0f * 15.0f);
}

TEST_F(PhysicsTest, LoadedDragStillReadsItsBodysVelocity) {
  auto body = MakeBody(1.0f, 1.0f);
  body->AddForce(new DragForce(0.5f, 0.0f));
  body->SetVelocity(Math::Vector2D(2.0f, 0.0f));
  body->AccumulateForces(0.01f);
  Core::MemoryFile file;
  file.WriteObject(body.Get());
  auto input = Reopen(file);
  Core::SmartPointer<RigidBody> loaded(dynamic_cast<RigidBody*>(input->ReadObject()));
  ASSERT_TRUE(loaded);
  ASSERT_FALSE(input->HasFailed());
  loaded->SetVelocity(Math::Vector2D(-4.0f, 0.0f));
  loaded->AccumulateForces(0.01f);
  EXPECT_FLOAT_EQ(loaded->GetForce().x, 2.0f);
}

TEST_F(PhysicsTest, MalformedForceSetsFailTheStream) {
  // Free id 5 names no slot of a set of one.
  Core::MemoryFile file;
  Core::WriteValue<uint32_t>(file, 1);
  Core::WriteValue<uint32_t>(file, 5);
  Core::WriteValue<uint32_t>(file, 1);
  Core::WriteValue<uint8_t>(file, 0);
  Forces forces;
  forces.Load(file);
  EXPECT_TRUE(file.HasFailed());
  EXPECT_TRUE(forces.GetForces().empty());

  Core::MemoryFile huge;
  Core::WriteValue<uint32_t>(huge, 0xffffffffu);
  forces.Load(huge);
  EXPECT_TRUE(huge.HasFailed());
}
