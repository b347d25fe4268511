// The game object: ageing and life time, transform refresh, mounts, copies, the rigid body
// attachment and the stored record.
#include <gtest/gtest.h>

#include "core/Core_File.h"
#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_Layer.h"
#include "physics/Physics_MassProperties.h"
#include "tests/framework/FrameworkTestSupport.h"

namespace {

using Core::SmartPointer;
using Quillon::GameObject;

class GameObjectTest : public FrameworkTest::FrameworkFixture {};

class CountingObject : public GameObject {
 public:
  int updates = 0;
  void Update(float dt) override {
    ++updates;
    GameObject::Update(dt);
  }
};

Math::Vector3D Transformed(const GameObject& object, const Math::Vector3D& point) {
  return *object.GetNode()->GetTransform() * point;
}

TEST_F(GameObjectTest, LifeTimeEndsTheObjectOnlyOnceItsAgeIsGreaterAndZeroNeverAges) {
  SmartPointer<Quillon::Layer> layer(new Quillon::Layer(0.0f));
  SmartPointer<CountingObject> object(new CountingObject());
  object->SetLifeTime(2.0f);
  layer->AddGameObject(object.Get());
  layer->Update(1.0f);  // enters the live set and ticks: age 1
  EXPECT_EQ(object->updates, 1);
  layer->Update(1.0f);  // age 2 is not greater than 2
  EXPECT_EQ(object->updates, 2);
  EXPECT_FALSE(object->IsDestructionPending());
  layer->Update(1.0f);  // age 3: destroyed, no Update
  EXPECT_EQ(object->updates, 2);
  EXPECT_TRUE(object->IsDestructionPending());
  EXPECT_FALSE(object->IsDestroyed());
  EXPECT_EQ(layer->GetGameObjectsCount(), 1u);
  layer->Update(1.0f);  // taken out and released
  EXPECT_TRUE(object->IsDestroyed());
  EXPECT_EQ(layer->GetGameObjectsCount(), 0u);
  EXPECT_EQ(object->GetLayer(), nullptr);

  // A life time of zero never ages.
  CountingObject endless;
  for (int i = 0; i < 5; ++i) endless.Tick(1.0f);
  EXPECT_EQ(endless.GetAge(), 0.0f);
  EXPECT_EQ(endless.updates, 5);
}

TEST_F(GameObjectTest, TransformTurnsAndScalesAboutTheCentreThenMovesAndTakesZ) {
  GameObject object;
  object.SetZOrder(-3.0f);
  object.SetCenter(Math::Vector2D(5.0f, 0.0f));
  object.SetScale(2.0f, 2.0f);
  object.SetRotationAngle(90.0f);
  object.SetPosition(10.0f, 20.0f);
  // Scale first, then a quarter turn about the centre, then the shift by position - centre:
  // (5, 0) -> (10, 0) -> (5, 0) about the centre -> (0, 5) -> (5, 5) -> (10, 25).
  Math::Vector3D a = Transformed(object, Math::Vector3D(5.0f, 0.0f, 0.0f));
  EXPECT_NEAR(a.x, 10.0f, 1e-4f);
  EXPECT_NEAR(a.y, 25.0f, 1e-4f);
  EXPECT_NEAR(a.z, -3.0f, 1e-4f);
  // The local point that scales onto the centre, (2.5, 0), ends exactly at the position.
  Math::Vector3D b = Transformed(object, Math::Vector3D(2.5f, 0.0f, 0.0f));
  EXPECT_NEAR(b.x, 10.0f, 1e-4f);
  EXPECT_NEAR(b.y, 20.0f, 1e-4f);
}

TEST_F(GameObjectTest, TheNodeTakesZOrderAtTheNextTransformChangeAndNothingWithoutAutoTransform) {
  GameObject object;
  object.SetPosition(1.0f, 2.0f);
  const Math::Matrix4x4 before = *object.GetNode()->GetTransform();
  object.SetZOrder(7.0f);
  EXPECT_EQ(*object.GetNode()->GetTransform(), before);
  object.SetScale(1.0f, 1.0f);
  EXPECT_EQ(object.GetNode()->GetTransform()->m[14], 7.0f);
  // Without the automatic transform the node keeps its own matrix.
  GameObject manual;
  const Math::Matrix4x4 own = Math::Matrix4x4::MakeTranslation(3.0f, 4.0f, 5.0f);
  manual.SetAutoTransform(false);
  manual.GetNode()->SetTransform(own);
  manual.SetPosition(100.0f, 100.0f);
  manual.SetRotationAngle(45.0f);
  EXPECT_EQ(*manual.GetNode()->GetTransform(), own);
  EXPECT_EQ(manual.GetPositionX(), 100.0f);
}

TEST_F(GameObjectTest, MountedChainsMoveByTheSameDeltaAndTurnAboutTheCarrier) {
  GameObject carrier, middle, top;
  middle.SetPosition(5.0f, 5.0f);
  top.SetPosition(-1.0f, 2.0f);
  carrier.Mount(&middle);
  middle.Mount(&top);
  carrier.SetPosition(3.0f, -4.0f);
  EXPECT_EQ(middle.GetPosition(), Math::Vector2D(8.0f, 1.0f));
  EXPECT_EQ(top.GetPosition(), Math::Vector2D(2.0f, -2.0f));
  // The carried object's node follows too.
  EXPECT_EQ(top.GetNode()->GetTransform()->m[12], 2.0f);
  // Turning a carrier swings what it carries about it.
  GameObject pivot, swung;
  swung.SetPosition(10.0f, 0.0f);
  pivot.Mount(&swung);
  pivot.SetRotationAngle(90.0f);
  EXPECT_NEAR(swung.GetPositionX(), 0.0f, 1e-4f);
  EXPECT_NEAR(swung.GetPositionY(), 10.0f, 1e-4f);
  EXPECT_EQ(swung.GetRotationAngle(), 90.0f);
}

TEST_F(GameObjectTest, MountRefusesItselfCyclesAndDuplicatesAndMovesBetweenSupports) {
  GameObject a, b, c;
  a.Mount(&a);
  EXPECT_EQ(a.GetMountsCount(), 0u);
  a.Mount(&b);
  a.Mount(&b);
  EXPECT_EQ(a.GetMountsCount(), 1u);
  b.Mount(&c);
  c.Mount(&a);  // a carries c through b: this would recurse forever
  EXPECT_EQ(c.GetMountsCount(), 0u);
  EXPECT_EQ(a.GetMountSupport(), nullptr);
  // Mounting a carried object elsewhere takes it from its old support.
  c.Mount(&b);
  EXPECT_EQ(c.GetMountsCount(), 0u);  // b carries c: refused as a cycle
  GameObject d;
  d.Mount(&c);
  EXPECT_EQ(b.GetMountsCount(), 0u);
  EXPECT_EQ(c.GetMountSupport(), &d);
  a.SetPosition(10.0f, 0.0f);
  EXPECT_EQ(c.GetPositionX(), 0.0f);
  a.UnMount(&b);
  EXPECT_EQ(b.GetMountSupport(), nullptr);
}

TEST_F(GameObjectTest, ReleasingAnObjectUnlinksItsMounts) {
  GameObject carrier, carried, rider;
  {
    SmartPointer<GameObject> middle(new GameObject());
    carrier.Mount(middle.Get());
    middle->Mount(&rider);
    middle->ReleaseResources();
    EXPECT_EQ(carrier.GetMountsCount(), 0u);
    EXPECT_EQ(rider.GetMountSupport(), nullptr);
  }
  carrier.SetPosition(5.0f, 5.0f);  // nothing dangling is moved
  EXPECT_EQ(rider.GetPositionX(), 0.0f);
}

TEST_F(GameObjectTest, CopyKeepsNameAndTransformButNotIdentityLayerOrMounts) {
  SmartPointer<Quillon::Layer> layer(new Quillon::Layer(0.0f));
  SmartPointer<GameObject> source(new GameObject());
  GameObject carried;
  source->SetName("Alien");
  source->SetPosition(4.0f, 5.0f);
  source->SetRotationAngle(30.0f);
  source->SetScale(2.0f, 3.0f);
  source->SetVisible(false);
  source->Mount(&carried);
  layer->AddGameObject(source.Get());
  SmartPointer<GameObject> copy(static_cast<GameObject*>(source->Clone()));
  EXPECT_EQ(copy->GetName(), "Alien");
  EXPECT_EQ(copy->GetPosition(), source->GetPosition());
  EXPECT_EQ(copy->GetRotationAngle(), 30.0f);
  EXPECT_EQ(copy->GetScaleY(), 3.0f);
  EXPECT_FALSE(copy->IsVisible());
  EXPECT_NE(copy->GetID(), source->GetID());
  EXPECT_EQ(copy->GetLayer(), nullptr);
  EXPECT_EQ(copy->GetMountsCount(), 0u);
  EXPECT_EQ(copy->GetNetworkName(), "0");
  EXPECT_EQ(*copy->GetNode()->GetTransform(), *source->GetNode()->GetTransform());
}

TEST_F(GameObjectTest, DirectionFollowsTheAngle) {
  GameObject object;
  object.SetDirection(0.0f, -2.0f);
  EXPECT_NEAR(object.GetRotationAngle(), -90.0f, 1e-3f);
  object.SetDirectionX(-1.0f);  // (-1, -1)
  EXPECT_NEAR(object.GetRotationAngle(), -135.0f, 1e-3f);
  EXPECT_NEAR(object.GetDirection().x, -0.70710678f, 1e-4f);
}

TEST_F(GameObjectTest, RigidBodyAttachmentAndVelocityForwarders) {
  GameObject object;
  object.SetPosition(7.0f, 8.0f);
  EXPECT_FALSE(object.SetSpeed(3.0f));
  Physics2D::MassProperties mass(1.0f, 1.0f, Math::Vector2D());
  ASSERT_TRUE(object.AddPhysicalProperties(mass, 0));
  EXPECT_FALSE(object.AddPhysicalProperties(mass, 0));
  const uint32_t handle = object.GetPhysicsId();
  ASSERT_NE(handle, 0u);
  EXPECT_EQ(physics_->GetRigidBody(handle)->GetPosition(), Math::Vector2D(7.0f, 8.0f));
  object.SetPosition(1.0f, 2.0f);
  EXPECT_EQ(physics_->GetRigidBody(handle)->GetPosition(), Math::Vector2D(1.0f, 2.0f));
  ASSERT_TRUE(object.SetVelocity(Math::Vector2D(3.0f, 4.0f)));
  EXPECT_NEAR(object.GetSpeed(), 5.0f, 1e-4f);
  ASSERT_TRUE(object.SetVelocityDirection(Math::Vector2D(0.0f, 5.0f)));
  Math::Vector2D velocity;
  ASSERT_TRUE(object.GetVelocity(velocity));
  EXPECT_NEAR(velocity.x, 0.0f, 1e-4f);
  EXPECT_NEAR(velocity.y, 5.0f, 1e-4f);
  ASSERT_TRUE(object.SetSpeed(2.0f));
  ASSERT_TRUE(object.GetVelocity(velocity));
  EXPECT_NEAR(velocity.y, 2.0f, 1e-4f);
  object.SetCenter(Math::Vector2D(1.0f, 1.0f));
  Physics2D::MassProperties stored;
  ASSERT_TRUE(object.GetMassProperties(stored));
  EXPECT_EQ(stored.GetCenterOfMass(), Math::Vector2D(1.0f, 1.0f));
  // Copies get a body of their own.
  SmartPointer<GameObject> copy(static_cast<GameObject*>(object.Clone()));
  EXPECT_NE(copy->GetPhysicsId(), 0u);
  EXPECT_NE(copy->GetPhysicsId(), handle);
  object.ReleaseResources();
  EXPECT_EQ(object.GetPhysicsId(), 0u);
  EXPECT_EQ(physics_->GetRigidBody(handle), nullptr);
}

TEST_F(GameObjectTest, SavedRecordWithoutScriptEndsAfterTheScriptFlags) {
  SmartPointer<GameObject> object(new GameObject());
  object->SetName("Crate");
  object->SetPosition(1.5f, -2.0f);
  object->SetLifeTime(4.0f);
  object->SetVisible(false);
  Core::MemoryFile file;
  file.WriteObject(object.Get());
  // Header: u8 1, the class name, the object number; then 2 vectors, angle, count, two null
  // references, the name, 3 floats, colour, u8, 3 floats, 3 u32, 5 u8, script file, 2 u8.
  const uint32_t header = 1 + 4 + 19 + 4;
  const uint32_t record = 16 + 4 + 4 + 1 + 1 + (4 + 5) + 12 + 16 + 1 + 12 + 12 + 5 + 4 + 2;
  EXPECT_EQ(file.GetBuffer().GetSize(), header + record);

  Core::MemoryFile reader(file.GetBuffer().GetData(), file.GetBuffer().GetSize());
  SmartPointer<GameObject> loaded(dynamic_cast<GameObject*>(reader.ReadObject()));
  ASSERT_TRUE(loaded);
  EXPECT_FALSE(reader.HasFailed());
  EXPECT_EQ(loaded->GetName(), "Crate");
  EXPECT_EQ(loaded->GetPosition(), Math::Vector2D(1.5f, -2.0f));
  EXPECT_EQ(loaded->GetLifeTime(), 4.0f);
  EXPECT_EQ(loaded->GetID(), object->GetID());
  EXPECT_FALSE(loaded->IsVisible());
  EXPECT_EQ(loaded->GetNode()->GetTransform()->m[12], 1.5f);
}

TEST_F(GameObjectTest, MountedObjectSavedTwiceIsWrittenOnceAndSharedOnLoad) {
  SmartPointer<GameObject> carrier(new GameObject()), carried(new GameObject());
  carrier->Mount(carried.Get());
  carried->SetName("Shared");
  Core::MemoryFile file;
  file.WriteObject(carrier.Get());
  const uint32_t first = file.GetBuffer().GetSize();
  file.WriteObject(carried.Get());
  // The second time only the presence flag, the class name and the number are written.
  EXPECT_EQ(file.GetBuffer().GetSize() - first, 1u + 4u + 19u + 4u);
  Core::MemoryFile reader(file.GetBuffer().GetData(), file.GetBuffer().GetSize());
  SmartPointer<GameObject> loadedCarrier(dynamic_cast<GameObject*>(reader.ReadObject()));
  SmartPointer<GameObject> loadedCarried(dynamic_cast<GameObject*>(reader.ReadObject()));
  ASSERT_TRUE(loadedCarrier && loadedCarried);
  ASSERT_EQ(loadedCarrier->GetMountsCount(), 1u);
  EXPECT_EQ(loadedCarrier->GetMount(0), loadedCarried.Get());
  EXPECT_EQ(loadedCarried->GetMountSupport(), loadedCarrier.Get());
  EXPECT_EQ(loadedCarried->GetName(), "Shared");
}

TEST_F(GameObjectTest, ContradictoryMountLinksLoadConsistently) {
  // Two carriers both list one object: a hand-made (or hostile) file. The object ends up carried
  // by one of them only, so releasing it leaves nothing dangling.
  SmartPointer<GameObject> a(new GameObject()), b(new GameObject()), carried(new GameObject());
  a->Mount(carried.Get());
  Core::MemoryFile file;
  file.WriteObject(a.Get());
  a->UnMount(carried.Get());
  b->Mount(carried.Get());
  file.WriteObject(b.Get());
  SmartPointer<GameObject> loadedA, loadedB;
  {
    Core::MemoryFile reader(file.GetBuffer().GetData(), file.GetBuffer().GetSize());
    loadedA = dynamic_cast<GameObject*>(reader.ReadObject());
    loadedB = dynamic_cast<GameObject*>(reader.ReadObject());
    ASSERT_TRUE(loadedA && loadedB);
    EXPECT_EQ(loadedA->GetMountsCount() + loadedB->GetMountsCount(), 1u);
  }
  // Nothing but the stream held the carried object: it went with it, and no link names it.
  EXPECT_EQ(loadedA->GetMountsCount() + loadedB->GetMountsCount(), 0u);
}

TEST_F(GameObjectTest, LoadedIdsAreNeverGivenToNewObjects) {
  for (int i = 0; i < 5; ++i) GameObject spare;
  SmartPointer<GameObject> object(new GameObject());  // ID 5
  Core::MemoryFile file;
  file.WriteObject(object.Get());
  GameObject::ResetIdCounter();  // as a whole-game load does before it reads
  Core::MemoryFile reader(file.GetBuffer().GetData(), file.GetBuffer().GetSize());
  SmartPointer<GameObject> loaded(dynamic_cast<GameObject*>(reader.ReadObject()));
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->GetID(), 5u);
  GameObject fresh;
  EXPECT_GT(fresh.GetID(), 5u);
}

TEST_F(GameObjectTest, TruncatedRecordsFailWithoutCrashing) {
  SmartPointer<GameObject> object(new GameObject());
  object->SetName("Truncated");
  Core::MemoryFile file;
  file.WriteObject(object.Get());
  for (uint32_t size = 0; size < file.GetBuffer().GetSize(); ++size) {
    Core::MemoryFile reader(file.GetBuffer().GetData(), size);
    SmartPointer<Core::Object> loaded(reader.ReadObject());
    EXPECT_TRUE(reader.HasFailed()) << size;
  }
}

}  // namespace
