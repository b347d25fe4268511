// Collision bodies of game objects and the layer's static geometry: attachment, bodies following
// the transform, copies and release, the contact queries over a scene of known outcome, the
// collision file into the engine, and the drawn collision data.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "collision/Collision_Engine.h"
#include "core/Core_File.h"
#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_Sprite.h"
#include "tests/framework/BoxLevelFactory.h"
#include "tests/framework/FrameworkTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using Collision2D::CollisionActor;
using Collision2D::DynamicObject;
using Core::SmartPointer;
using Math::Vector2D;
using Quillon::GameObject;
using Quillon::Layer;

class CollisionAttachmentTest : public FrameworkTest::FrameworkFixture {
 protected:
  void SetUp() override {
    FrameworkFixture::SetUp();
    actor_.reset(FrameworkTest::MakeBoxActor(16.0f));
    services_.collisionAssets.push_back(actor_.get());
    layer_ = new Layer(0.0f);
  }
  void TearDown() override {
    layer_->Destroy();
    layer_.Reset();
    collision_->Clear();
    FrameworkFixture::TearDown();
  }
  DynamicObject* MakeBody(bool geometric = true) {
    auto* body = new DynamicObject();
    body->AddCollisionData(actor_.get(), 0, 0);
    body->SetCurrentCollisionFrame(0, 0, false, false);
    body->SetCollisionType(geometric);
    for (int z = 0; z < 255; ++z) body->SetCanCollid(static_cast<uint8_t>(z), true);
    return body;
  }
  SmartPointer<GameObject> MakeObject(const std::string& name, const Vector2D& at, bool geometric = true) {
    SmartPointer<GameObject> object(new GameObject());
    object->SetName(name);
    object->SetPosition(at);
    EXPECT_TRUE(object->AddCollision(MakeBody(geometric), layer_->GetCollisionLayerIndex()));
    layer_->AddGameObject(object.Get());
    return object;
  }
  // One frame; the collision pass tests objects that moved, so the mover takes a small step.
  void Step(GameObject* mover) {
    layer_->Update(1.0f / 60.0f);
    mover->SetPosition(mover->GetPositionX() + 0.5f, mover->GetPositionY());
    collision_->Update(1.0f / 60.0f);
  }

  std::unique_ptr<CollisionActor> actor_;
  SmartPointer<Layer> layer_;
};

TEST_F(CollisionAttachmentTest, OverlappingObjectsFindEachOtherByName) {
  auto player = MakeObject("Player", Vector2D(0.0f, 0.0f));
  auto alien = MakeObject("AlienClone", Vector2D(20.0f, 0.0f));
  auto far = MakeObject("Far", Vector2D(500.0f, 0.0f));
  Step(player.Get());
  EXPECT_TRUE(player->ObjectInCollision());
  EXPECT_TRUE(player->IsCollidedWithSprite("AlienClone", true));
  EXPECT_FALSE(player->IsCollidedWithSprite("Alien", true));  // exact names only
  EXPECT_TRUE(Quillon::IsCollidedWithSprite(alien->GetCollisionResults(), "Player", true));
  EXPECT_EQ(player->GetCollidedSpritesCount(true), 1u);
  EXPECT_EQ(player->GetCollidedSprite(0, true), alien.Get());
  EXPECT_EQ(player->GetCollidedSprite(1, true), nullptr);
  EXPECT_TRUE(player->IsCollidedWithSpriteLineSegment(10) || player->IsCollidedWithSpriteLineSegment(11) ||
              player->IsCollidedWithSpriteLineSegment(12) || player->IsCollidedWithSpriteLineSegment(13));
  EXPECT_FALSE(far->ObjectInCollision());
  // A partner whose body is gone is skipped, though this frame's record still names it.
  alien->RemoveCollision();
  EXPECT_FALSE(player->IsCollidedWithSprite("AlienClone", true));
  EXPECT_NE(alien->GetCollisionId(), 0u);
  EXPECT_EQ(alien->GetCollisionResults(), nullptr);
  EXPECT_FALSE(alien->ObjectInCollision());
  EXPECT_FALSE(alien->IsCollidedWithSprite("Player", true));
}

TEST_F(CollisionAttachmentTest, RectangleOnlyBodiesFillTheFirstList) {
  auto a = MakeObject("A", Vector2D(0.0f, 0.0f), false);
  auto b = MakeObject("B", Vector2D(10.0f, 10.0f), false);
  Step(a.Get());
  EXPECT_TRUE(a->IsCollidedWithSprite("B", false));
  EXPECT_FALSE(a->IsCollidedWithSprite("B", true));
  EXPECT_EQ(a->GetCollidedSprite(0, false), b.Get());
  EXPECT_TRUE(a->ObjectInCollision());
}

TEST_F(CollisionAttachmentTest, BodiesFollowTheTransformCopiesAndRelease) {
  auto object = MakeObject("Mover", Vector2D(5.0f, 6.0f));
  DynamicObject* body = object->GetCollisionObject();
  ASSERT_NE(body, nullptr);
  EXPECT_EQ(body->GetTag().GetOwner(), object.Get());
  object->SetPosition(40.0f, -3.0f);
  EXPECT_EQ(body->GetPosition(), Vector2D(40.0f, -3.0f));
  object->SetRotationAngle(30.0f);
  EXPECT_EQ(body->GetOrientation(), 30.0f);
  object->SetOldPosition(Vector2D(1.0f, 1.0f));
  EXPECT_EQ(body->GetOldPosition(), Vector2D(1.0f, 1.0f));

  SmartPointer<GameObject> copy(static_cast<GameObject*>(object->Clone()));
  ASSERT_NE(copy->GetCollisionId(), 0u);
  EXPECT_NE(copy->GetCollisionId(), object->GetCollisionId());
  ASSERT_NE(copy->GetCollisionObject(), nullptr);
  EXPECT_EQ(copy->GetCollisionObject()->GetTag().GetOwner(), copy.Get());

  const uint32_t id = object->GetCollisionId();
  object->Destroy();
  Step(copy.Get());
  EXPECT_EQ(collision_->GetDynamicObject(id), nullptr);
  copy->ReleaseResources();
  EXPECT_EQ(copy->GetCollisionObject(), nullptr);
}

TEST_F(CollisionAttachmentTest, AddingASecondBodyRemovesTheFirst) {
  auto object = MakeObject("Twice", Vector2D(0.0f, 0.0f));
  const uint32_t first = object->GetCollisionId();
  ASSERT_TRUE(object->AddCollision(MakeBody(), layer_->GetCollisionLayerIndex()));
  EXPECT_NE(object->GetCollisionId(), first);
  EXPECT_EQ(collision_->GetDynamicObject(first), nullptr);
  // A layer that does not exist refuses the body, which stays the caller's.
  std::unique_ptr<DynamicObject> refused(MakeBody());
  EXPECT_FALSE(object->AddCollision(refused.get(), 200));
  EXPECT_EQ(refused->GetTag().GetOwner(), nullptr);
}

TEST_F(CollisionAttachmentTest, CollisionFileShapesMeetObjectsAndBadFilesAddNothing) {
  const std::string floor = services_.directory + "\\Resources\\floor.txt";
  ASSERT_TRUE(TestSupport::WriteWholeFile(services_.directory + "/Resources/floor.txt",
                                          "Segments 1\r\n100,183.5,300,183.5,0,7\r\nCircles 1\r\n200,400,5,0,9\r\n"));
  std::string error;
  ASSERT_TRUE(layer_->ReadInformation_StaticCollision(floor, &error)) << error;
  Collision2D::CollisionLayer* collisionLayer = collision_->GetLayer(layer_->GetCollisionLayerIndex());
  ASSERT_NE(collisionLayer, nullptr);
  EXPECT_EQ(collisionLayer->GetLineSegmentsNumber(), 2);
  EXPECT_EQ(collisionLayer->GetCirclesNumber(), 2);

  // The layer's grid starts at the origin: the scene stays at positive coordinates.
  auto object = MakeObject("Walker", Vector2D(200.0f, 200.0f));
  layer_->Update(1.0f / 60.0f);
  object->SetPosition(200.0f, 199.0f);  // the box's bottom side crosses the floor
  collision_->Update(1.0f / 60.0f);
  EXPECT_TRUE(object->IsCollidedWithLineSegment(7));
  EXPECT_FALSE(object->IsCollidedWithLineSegment(8));
  EXPECT_FALSE(object->IsCollidedWithCircle(9));
  EXPECT_TRUE(object->ObjectInCollision());

  ASSERT_TRUE(TestSupport::WriteWholeFile(services_.directory + "/Resources/bad.txt",
                                          "Segments 2\n0,0,1,1,0,1\n0,0,1\n"));
  EXPECT_FALSE(layer_->ReadInformation_StaticCollision(services_.directory + "\\Resources\\bad.txt", &error));
  EXPECT_NE(error.find("bad.txt"), std::string::npos);
  EXPECT_EQ(collisionLayer->GetLineSegmentsNumber(), 2);  // the good first record was not added either
  ASSERT_TRUE(layer_->ReadInformation_StaticCollision(floor, &error));
  EXPECT_EQ(collisionLayer->GetLineSegmentsNumber(), 3);  // read twice, added twice
}

TEST_F(CollisionAttachmentTest, DrawnCollisionDataShowsEachStaticShapeOnce) {
  layer_->AddStaticLineSegment(Vector2D(0.0f, 0.0f), Vector2D(10.0f, 0.0f), 0, 1);
  layer_->AddStaticCircle(Vector2D(5.0f, 5.0f), 2.0f, 0, 2);
  layer_->SetVisibleCollisionData(true);
  layer_->SetVisibleCollisionData(true);
  EXPECT_EQ(layer_->GetCollisionLinesCount(), 1u);
  EXPECT_EQ(layer_->GetCollisionCirclesCount(), 1u);
  layer_->AddStaticLineSegment(Vector2D(0.0f, 1.0f), Vector2D(10.0f, 1.0f), 0, 3);
  layer_->SetVisibleCollisionData(true);
  EXPECT_EQ(layer_->GetCollisionLinesCount(), 2u);
  layer_->Update(0.1f);
  EXPECT_EQ(layer_->GetGameObjectsCount(), 3u);
  layer_->SetVisibleCollisionData(false);
  layer_->SetVisibleCollisionData(true);
  EXPECT_EQ(layer_->GetCollisionLinesCount(), 2u);
  layer_->Update(0.1f);
  EXPECT_EQ(layer_->GetGameObjectsCount(), 3u);  // the old drawings left, new ones came
}

TEST_F(CollisionAttachmentTest, SpriteBodyFollowsTheFrameAndDrawsItsShapes) {
  SmartPointer<Quillon::Sprite> sprite(new Quillon::Sprite());
  sprite->SetCollisionActorIndex(0);
  ASSERT_TRUE(sprite->AddCollision(MakeBody(), layer_->GetCollisionLayerIndex()));
  layer_->AddGameObject(sprite.Get());
  sprite->SetVisibleCollisionData(true);
  sprite->SetVisibleBoundingRectangle(true);
  layer_->Update(0.1f);
  collision_->Update(0.1f);
  layer_->Update(0.1f);
  EXPECT_EQ(sprite->GetCollisionLinesCount(), 4u);
  // Four drawn sides and four bounding-rectangle edges joined the layer.
  layer_->Update(0.1f);
  EXPECT_EQ(layer_->GetGameObjectsCount(), 9u);
  sprite->SetVisibleCollisionData(false);
  sprite->SetVisibleBoundingRectangle(false);
  layer_->Update(0.1f);
  EXPECT_EQ(layer_->GetGameObjectsCount(), 1u);
}

}  // namespace

namespace {

TEST_F(CollisionAttachmentTest, LevelSaveKeepsThePartnersOfSpriteContacts) {
  SmartPointer<Quillon::Level> level(new Quillon::Level());
  level->AddLayer(layer_);
  services_.level = level.Get();
  SmartPointer<Quillon::Sprite> a(new Quillon::Sprite()), b(new Quillon::Sprite());
  a->SetName("A");
  b->SetName("B");
  a->SetPosition(100.0f, 100.0f);
  b->SetPosition(120.0f, 100.0f);
  ASSERT_TRUE(a->AddCollision(MakeBody(), layer_->GetCollisionLayerIndex()));
  ASSERT_TRUE(b->AddCollision(MakeBody(), layer_->GetCollisionLayerIndex()));
  layer_->AddGameObject(a.Get());
  layer_->AddGameObject(b.Get());
  Step(a.Get());
  ASSERT_EQ(a->GetCollidedSpritesCount(true), 1u);

  Core::MemoryFile ids;
  a->WriteCollidedIds(ids);
  ASSERT_EQ(ids.GetBuffer().GetSize(), 4u);  // one contact in the second list, none in the first
  uint32_t written = 0;
  std::memcpy(&written, ids.GetBuffer().GetData(), 4);
  EXPECT_EQ(written, b->GetID());

  auto& records = const_cast<std::vector<Collision2D::DGEO_C>&>(a->GetCollisionResults()->GetDynamicObjectContacts());
  records[0].partnerOwner = nullptr;
  Core::MemoryFile reader(ids.GetBuffer().GetData(), ids.GetBuffer().GetSize());
  a->ReadCollidedIds(reader);
  EXPECT_EQ(records[0].partnerOwner, b.Get());
  EXPECT_EQ(Quillon::FindSpriteById(b->GetID()), b.Get());
  EXPECT_EQ(Quillon::FindSpriteById(999), nullptr);
  services_.level = nullptr;
  level.Reset();
}

}  // namespace
