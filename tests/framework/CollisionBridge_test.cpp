// The collision-response bridge over a scene of known contacts: two overlapping boxes with rigid
// bodies lying across a static line, asked pair by pair and point by point.
#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <vector>

#include "collision/Collision_Actor.h"
#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_Results.h"
#include "framework/Quillon_CollisionBridge.h"
#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_Layer.h"
#include "physics/Physics_Contact.h"
#include "physics/Physics_MassProperties.h"
#include "physics/Physics_RigidBody.h"
#include "tests/framework/BoxLevelFactory.h"
#include "tests/framework/FrameworkTestSupport.h"

namespace {

using Collision2D::CollisionActor;
using Core::SmartPointer;
using Math::Vector2D;
using Quillon::GameObject;

// One question as the bridge asked it.
struct Question {
  GameObject* a;
  GameObject* b;
  float restitution;
  float friction;
  bool oneSidedAtEntry;
};

// A point the contact records say should become a contact.
struct ExpectedPoint {
  GameObject* a;
  GameObject* b;
  Vector2D position;
  Vector2D normal;
};

class CollisionBridgeTest : public FrameworkTest::FrameworkFixture {
 protected:
  void SetUp() override {
    FrameworkFixture::SetUp();
    actor_.reset(FrameworkTest::MakeBoxActor(16.0f));
    services_.collisionAssets.push_back(actor_.get());
    layer_ = new Quillon::Layer(0.0f);
    ASSERT_TRUE(layer_->AddStaticLineSegment(Vector2D(100.0f, 183.5f), Vector2D(400.0f, 183.5f), 0, 77));
    a_ = MakeObject("A", Vector2D(200.0f, 200.0f), true);
    b_ = MakeObject("B", Vector2D(220.0f, 200.0f), true);
    ghost_ = MakeObject("NoBody", Vector2D(180.0f, 200.0f), false);
    // Everything moves so that each is tested against the others and the line (the layer's grid
    // starts at the origin, so the scene stays at positive coordinates).
    layer_->Update(1.0f / 60.0f);
    for (GameObject* object : {a_.Get(), b_.Get(), ghost_.Get()}) {
      object->SetPosition(object->GetPositionX() + 0.5f, object->GetPositionY() - 1.0f);
    }
    collision_->Update(1.0f / 60.0f);
    SetUpExpectations();
    ASSERT_FALSE(expected_.empty());
  }
  void TearDown() override {
    layer_->Destroy();
    layer_.Reset();
    collision_->Clear();
    physics_->Clear();
    Quillon::SetOneSidedContact(false);
    FrameworkFixture::TearDown();
  }

  SmartPointer<GameObject> MakeObject(const std::string& name, const Vector2D& at, bool rigidBody) {
    SmartPointer<GameObject> object(new GameObject());
    object->SetName(name);
    object->SetPosition(at);
    auto* body = new Collision2D::DynamicObject();
    body->AddCollisionData(actor_.get(), 0, 0);
    body->SetCurrentCollisionFrame(0, 0, false, false);
    body->SetCollisionType(true);
    for (int z = 0; z < 255; ++z) body->SetCanCollid(static_cast<uint8_t>(z), true);
    EXPECT_TRUE(object->AddCollision(body, layer_->GetCollisionLayerIndex()));
    if (rigidBody) {
      EXPECT_TRUE(object->AddPhysicalProperties(Physics2D::MassProperties(1.0f, 1.0f, Vector2D()), 3));
    }
    layer_->AddGameObject(object.Get());
    return object;
  }

  GameObject* Owner(uint32_t id) {
    Collision2D::DynamicObject* body = collision_->GetDynamicObject(id);
    return body ? body->GetTag().GetOwner() : nullptr;
  }

  // What the records of the bodies' owners hold, in the order the bridge must walk them.
  void SetUpExpectations() {
    for (GameObject* a : {a_.Get(), b_.Get()}) {
      const Collision2D::CollisionResults* results = a->GetCollisionResults();
      ASSERT_NE(results, nullptr);
      for (int32_t i = 0; i < results->GetDynamicObjectCount(); ++i) {
        const auto& pair = results->GetDynamicObjectContacts()[i];
        GameObject* b = Owner(pair.id);
        for (int32_t s = 0; s < pair.currentLineSegmentsNumber; ++s) AddPoints(a, b, pair.lineSegments[s]);
        for (int32_t c = 0; c < pair.currentCirclesNumber; ++c) AddPoints(a, b, pair.circles[c]);
      }
      for (int32_t s = 0; s < results->GetStaticLineSegmentCount(); ++s) {
        AddPoints(a, nullptr, results->GetStaticLineSegmentContacts()[s]);
      }
      for (int32_t c = 0; c < results->GetStaticCircleCount(); ++c) {
        AddPoints(a, nullptr, results->GetStaticCircleContacts()[c]);
      }
    }
  }
  void AddPoints(GameObject* a, GameObject* b, const Collision2D::ShapeContact& record) {
    for (int32_t k = 0; k < record.numberOfIntersectedPoints; ++k) {
      expected_.push_back({a, b, record.contactPoint[k], record.normal[k]});
    }
  }

  // Runs the bridge with an answer chosen per question (by its number from 0).
  void Build(const std::function<bool(size_t, float&, float&)>& answer) {
    Quillon::BuildContacts(*physics_, [&](GameObject* a, GameObject* b, float& restitution, float& friction) {
      questions_.push_back({a, b, restitution, friction, Quillon::GetOneSidedContact()});
      return answer(questions_.size() - 1, restitution, friction);
    });
  }

  std::unique_ptr<CollisionActor> actor_;
  SmartPointer<Quillon::Layer> layer_;
  SmartPointer<GameObject> a_, b_, ghost_;
  std::vector<ExpectedPoint> expected_;
  std::vector<Question> questions_;
};

TEST_F(CollisionBridgeTest, EveryIntersectedPointIsAskedAndDefaultsMakeContactsBothWays) {
  Build([](size_t, float&, float&) { return true; });
  ASSERT_EQ(questions_.size(), expected_.size());
  const auto& contacts = physics_->GetContacts();
  ASSERT_EQ(contacts.size(), expected_.size());
  bool askedAB = false, askedBA = false, askedStatic = false;
  for (size_t i = 0; i < expected_.size(); ++i) {
    SCOPED_TRACE(i);
    const Question& question = questions_[i];
    EXPECT_EQ(question.a, expected_[i].a);
    EXPECT_EQ(question.b, expected_[i].b);
    EXPECT_FLOAT_EQ(question.restitution, 0.3f);
    EXPECT_FLOAT_EQ(question.friction, 0.5f);
    EXPECT_FALSE(question.oneSidedAtEntry);
    askedAB |= question.a == a_.Get() && question.b == b_.Get();
    askedBA |= question.a == b_.Get() && question.b == a_.Get();
    askedStatic |= question.b == nullptr;

    const Physics2D::Contact& contact = *contacts[i];
    EXPECT_EQ(contact.GetPosition(), expected_[i].position);
    EXPECT_EQ(contact.GetNormal(), expected_[i].normal);
    EXPECT_FLOAT_EQ(contact.GetRestitution(), 0.3f);
    EXPECT_FLOAT_EQ(contact.GetFriction(), 0.5f);
    EXPECT_EQ(contact.GetBody1(), physics_->GetRigidBody(expected_[i].a->GetPhysicsId()).Get());
    if (expected_[i].b != nullptr) {
      EXPECT_EQ(contact.GetContactFlag(), 1);
      // A partner without a rigid body leaves the static body in its place.
      EXPECT_EQ(contact.GetBody2(), expected_[i].b == ghost_.Get()
                                        ? physics_->GetStaticBody()
                                        : physics_->GetRigidBody(expected_[i].b->GetPhysicsId()).Get());
    } else {
      EXPECT_EQ(contact.GetContactFlag(), 0);
      EXPECT_EQ(contact.GetBody2(), physics_->GetStaticBody());
    }
  }
  EXPECT_TRUE(askedAB);
  EXPECT_TRUE(askedBA);
  EXPECT_TRUE(askedStatic);
  // The box without a rigid body is never the first object of a question.
  for (const Question& question : questions_) EXPECT_NE(question.a, ghost_.Get());
}

TEST_F(CollisionBridgeTest, RefusedPointsMakeNoContactAndTheAnswerCarriesItsCoefficients) {
  // Every other question is refused; the others answer with their own coefficients.
  Build([](size_t n, float& restitution, float& friction) {
    restitution = 0.1f * static_cast<float>(n % 7);
    friction = 0.9f;
    return n % 2 == 1;
  });
  ASSERT_EQ(questions_.size(), expected_.size());  // a refusal does not stop later points
  const auto& contacts = physics_->GetContacts();
  ASSERT_EQ(contacts.size(), expected_.size() / 2);
  for (size_t i = 0; i < contacts.size(); ++i) {
    const size_t n = 2 * i + 1;
    EXPECT_EQ(contacts[i]->GetPosition(), expected_[n].position);
    EXPECT_FLOAT_EQ(contacts[i]->GetRestitution(), 0.1f * static_cast<float>(n % 7));
    EXPECT_FLOAT_EQ(contacts[i]->GetFriction(), 0.9f);
  }
}

TEST_F(CollisionBridgeTest, OneSidedAnswerBindsOnlyTheFirstBodyForThatContact) {
  // Find a question about the pair (not the line); set the flag only there.
  size_t pairQuestion = expected_.size();
  for (size_t i = 0; i < expected_.size() && pairQuestion == expected_.size(); ++i) {
    if (expected_[i].b != nullptr && expected_[i].b != ghost_.Get()) pairQuestion = i;
  }
  ASSERT_LT(pairQuestion, expected_.size());
  Build([&](size_t n, float&, float&) {
    if (n == pairQuestion) Quillon::SetOneSidedContact(true);
    return true;
  });
  const auto& contacts = physics_->GetContacts();
  ASSERT_EQ(contacts.size(), expected_.size());
  for (size_t i = 0; i < contacts.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_FALSE(questions_[i].oneSidedAtEntry);  // every question starts with the flag down
    if (expected_[i].b == nullptr || expected_[i].b == ghost_.Get()) continue;
    if (i == pairQuestion) {
      EXPECT_EQ(contacts[i]->GetBody2(), physics_->GetStaticBody());
      EXPECT_EQ(contacts[i]->GetContactFlag(), 1);
    } else {
      EXPECT_EQ(contacts[i]->GetBody2(), physics_->GetRigidBody(expected_[i].b->GetPhysicsId()).Get());
    }
  }
}

TEST_F(CollisionBridgeTest, BodiesWithoutOwnerAndOwnersThatLostTheirBodyAreSkipped) {
  // A body nobody owns, and a body whose owner has moved on to another one.
  Core::SmartPointer<Physics2D::RigidBody> stray(new Physics2D::RigidBody(
      Physics2D::MassProperties(1.0f, 1.0f, Vector2D()), 3, nullptr, nullptr, nullptr));
  physics_->AddRigidBody(stray);
  Core::SmartPointer<Physics2D::RigidBody> stale(new Physics2D::RigidBody(
      Physics2D::MassProperties(1.0f, 1.0f, Vector2D()), 3, nullptr, nullptr, ghost_.Get()));
  physics_->AddRigidBody(stale);
  Build([](size_t, float&, float&) { return true; });
  EXPECT_EQ(questions_.size(), expected_.size());
  for (const Question& question : questions_) EXPECT_NE(question.a, ghost_.Get());
}

TEST_F(CollisionBridgeTest, AnAnswerThatRemovesTheFirstBodyEndsItsContacts) {
  size_t asked = 0;
  Build([&](size_t, float&, float&) {
    ++asked;
    if (questions_.back().a == a_.Get()) a_->RemovePhysicalProperties();
    return true;
  });
  // A's first question removed its body: nothing of A is bound, B's side still is.
  for (const auto& contact : physics_->GetContacts()) {
    EXPECT_NE(contact->GetBody1(), physics_->GetStaticBody());
    EXPECT_NE(contact->GetBody1(), nullptr);
  }
  size_t questionsAboutA = 0;
  for (const Question& question : questions_) questionsAboutA += question.a == a_.Get() ? 1 : 0;
  EXPECT_EQ(questionsAboutA, 1u);
  EXPECT_GT(asked, 1u);
}

}  // namespace
