#include <cstring>

#include "PhysicsTestSupport.h"
#include "core/Core_File.h"
#include "physics/Physics_Force.h"
#include "physics/Physics_JointAngularMotor.h"
#include "physics/Physics_JointFixed.h"
#include "physics/Physics_JointNail.h"
#include "physics/Physics_JointSlider.h"

using namespace Physics2D;

namespace {
constexpr float kStep = 1.0f / 60.0f;

// Bodies on every joint kind, every solver kind, gravity, drag and a timed push.
void BuildJointScene(PhysicsEngine& engine) {
  engine.SetAccuracy(40);
  std::vector<RigidBodyHandle> handles;
  for (int i = 0; i < 7; ++i) {
    auto body = MakeBody(1.0f + 0.25f * static_cast<float>(i), 0.3f, static_cast<uint32_t>(i % 3));
    body->SetPosition(Math::Vector2D(static_cast<float>(i) * 1.5f, 5.0f));
    const RigidBodyHandle handle = engine.AddRigidBody(body);
    uint32_t id;
    engine.AddRigidBodyForce(handle, new GravityForce(), id);
    engine.AddRigidBodyForce(handle, new DragForce(0.1f, 0.05f), id);
    handles.push_back(handle);
  }
  uint32_t id;
  engine.AddRigidBodyForce(handles[6], new ConstantForce(Math::Vector2D(9.0f, 5.2f), Math::Vector2D(0.0f, 4.0f), 1.5f,
                                                         ConstantForce::PushWithMomentMode),
                           id);
  engine.AddRigidBodyForce(handles[5], new ConstantForce(Math::Vector2D(), Math::Vector2D(2.0f, 0.0f), 0.0f,
                                                         ConstantForce::TorqueMode),
                           id);
  const Math::Vector2D nail(-1.0f, 6.0f);
  engine.AddJoint(0, handles[0], new JointNail(nail, nail, Math::Vector2D(1, 0), 0, 0, 360, 0.2f));
  engine.AddJoint(handles[0], handles[1],
                  new JointHinge(Math::Vector2D(0.75f, 5.0f), Math::Vector2D(0.75f, 5.0f), Math::Vector2D(1, 0), 0, 0,
                                 45.0f, 0.2f));
  engine.AddJoint(0, handles[2],
                  new JointSpring(Math::Vector2D(3.0f, 8.0f), Math::Vector2D(3.0f, 5.0f), Math::Vector2D(0, 1), 30.0f,
                                  0.5f, 360.0f, 0.2f));
  engine.AddJoint(0, handles[3], new JointSlider(Math::Vector2D(1.0f, 0.3f), 0.2f));
  engine.AddJoint(handles[3], handles[4], new JointFixed(0.5f));
  engine.AddJoint(0, handles[5], new JointSlider(Math::Vector2D(0.0f, 1.0f), 0.2f));
  engine.AddJoint(handles[5], handles[6], new JointAngularMotor(2.0f, 5.0f));
  // Leave two free handles behind so their order travels too.
  const RigidBodyHandle spare1 = engine.AddRigidBody(MakeBody(1.0f, 1.0f));
  const RigidBodyHandle spare2 = engine.AddRigidBody(MakeBody(1.0f, 1.0f));
  engine.RemoveRigidBody(spare2);
  engine.RemoveRigidBody(spare1);
}

uint64_t HashBodies(const PhysicsEngine& engine) {
  uint64_t hash = 14695981039346656037ull;
  for (uint32_t h = 1; h <= engine.GetRigidBodySlotCount(); ++h) {
    Core::SmartPointer<RigidBody> body = engine.GetRigidBody(h);
    if (!body) continue;
    for (float value : {body->GetPosition().x, body->GetPosition().y, body->GetOrientationRadians(),
                        body->GetVelocity().x, body->GetVelocity().y, body->GetAngularVelocityRadians()}) {
      uint32_t bits;
      std::memcpy(&bits, &value, sizeof(bits));
      hash = (hash ^ bits) * 1099511628211ull;
    }
  }
  return hash;
}
}  // namespace

TEST_F(PhysicsTest, SaveLoadAndContinueFollowsTheSameTrajectoryBitForBit) {
  Core::MemoryFile file;
  std::vector<uint64_t> expected;
  {
    Core::SmartPointer<PhysicsEngine> engine(new PhysicsEngine());
    BuildJointScene(*engine);
    for (int i = 0; i < 100; ++i) Step(*engine, kStep);
    file.WriteObject(engine.Get());
    for (int i = 0; i < 200; ++i) {
      Step(*engine, kStep);
      expected.push_back(HashBodies(*engine));
    }
  }
  Physics2D::GetSettings() = Physics2D::PhysicsSettings();
  auto input = Reopen(file);
  Core::SmartPointer<PhysicsEngine> loaded(dynamic_cast<PhysicsEngine*>(input->ReadObject()));
  ASSERT_FALSE(input->HasFailed());
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->GetAccuracy(), 40u);
  ASSERT_EQ(loaded->GetFreeHandles().size(), 2u);
  EXPECT_EQ(loaded->GetFreeHandles().back(), 8u);
  EXPECT_EQ(loaded->GetFreeHandles().front(), 9u);
  // Joints act on the very bodies the engine integrates.
  for (const auto& joint : loaded->GetJoints()) {
    for (RigidBody* body : {joint->GetBody1(), joint->GetBody2()}) {
      bool found = body == loaded->GetStaticBody();
      for (uint32_t h = 1; h <= loaded->GetRigidBodySlotCount(); ++h) found = found || loaded->GetRigidBody(h) == body;
      EXPECT_TRUE(found);
    }
  }
  for (int i = 0; i < 200; ++i) {
    Step(*loaded, kStep);
    ASSERT_EQ(HashBodies(*loaded), expected[i]) << "step " << i;
  }
}

TEST_F(PhysicsTest, TruncatedOrCorruptEnginesFailAndLeaveTheEngineAlone) {
  Core::MemoryFile source;
  {
    PhysicsEngine engine;
    BuildJointScene(engine);
    for (int i = 0; i < 10; ++i) Step(engine, kStep);
    engine.Save(source);
  }
  const auto& bytes = source.GetBuffer();
  // Every prefix must fail cleanly.
  for (uint32_t length = 0; length < bytes.GetSize(); length += 7) {
    Physics2D::GetSettings() = Physics2D::PhysicsSettings();
    PhysicsEngine target;
    const RigidBodyHandle kept = target.AddRigidBody(MakeBody(1.0f, 1.0f));
    Core::MemoryFile file(bytes.GetData(), length);
    target.Load(file);
    ASSERT_TRUE(file.HasFailed()) << "length " << length;
    ASSERT_TRUE(target.GetRigidBody(kept)) << "length " << length;
    ASSERT_EQ(target.GetRigidBodySlotCount(), 1u);
    target.Update(kStep);
  }
  // Flipped bytes either fail or load something that steps without harm.
  for (uint32_t offset = 0; offset < bytes.GetSize(); offset += 3) {
    Physics2D::GetSettings() = Physics2D::PhysicsSettings();
    std::vector<unsigned char> copy(bytes.GetData(), bytes.GetData() + bytes.GetSize());
    copy[offset] ^= 0xff;
    Core::MemoryFile file(copy.data(), static_cast<uint32_t>(copy.size()));
    PhysicsEngine target;
    target.Load(file);
    if (!file.HasFailed()) {
      target.SetMaximumSimulationStep(0.02f);
      Step(target, kStep);
    }
  }
}

TEST_F(PhysicsTest, FreeHandlesThatNameLiveOrMissingSlotsAreRefused) {
  auto write = [](uint32_t freeHandle, uint32_t iterations) {
    PhysicsEngine engine;
    Core::MemoryFile file;
    Core::WriteValue<uint32_t>(file, 245);
    file.WriteObject(engine.GetStaticBody());
    Core::WriteValue<uint32_t>(file, 1);
    Core::WriteValue<uint32_t>(file, freeHandle);
    Core::WriteValue<uint32_t>(file, 2);
    file.WriteObject(nullptr);
    file.WriteObject(MakeBody(1.0f, 1.0f).Get());
    Core::WriteValue<uint32_t>(file, 0);
    Core::WriteValue<uint32_t>(file, 0);
    Core::WriteValue<uint32_t>(file, iterations);
    Core::WriteValue<uint8_t>(file, 0);
    Core::WriteValue<float>(file, 1.0f);
    Core::WriteValue<uint32_t>(file, 500);
    Core::WriteValue<uint32_t>(file, 25);
    for (float value : {3.4028235e38f, 0.0f, 0.0f, 0.02f, 1.0f, 1e-10f}) Core::WriteValue<float>(file, value);
    return file.GetBuffer();
  };
  struct Case {
    uint32_t handle;
    uint32_t iterations;
    bool ok;
  };
  for (const Case& c : {Case{1, 75, true}, Case{2, 75, false}, Case{3, 75, false}, Case{0, 75, false},
                        Case{1, 0, false}, Case{1, 0xffffffffu, false}}) {
    const Core::MemoryBuffer bytes = write(c.handle, c.iterations);
    Core::MemoryFile file(bytes.GetData(), bytes.GetSize());
    PhysicsEngine engine;
    engine.Load(file);
    EXPECT_EQ(!file.HasFailed(), c.ok) << c.handle << " " << c.iterations;
    if (c.ok) {
      EXPECT_EQ(engine.AddRigidBody(MakeBody(1.0f, 1.0f)), 1u);
      EXPECT_EQ(engine.AddRigidBody(MakeBody(1.0f, 1.0f)), 3u);
    }
  }
}
