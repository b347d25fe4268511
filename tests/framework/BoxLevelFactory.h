#pragma once
// Levels of boxes that meet, for the whole-game save tests and the whole-game load fuzz target:
// every level adds collision actor 0 (a box of four segments) and one layer of the named boxes,
// each with its collision body and, when it moves, a rigid body and a velocity.
#include <string>
#include <vector>

#include "collision/Collision_Actor.h"
#include "collision/Collision_DynamicObject.h"
#include "framework/Quillon_Game.h"
#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_LevelFactory.h"
#include "physics/Physics_MassProperties.h"
#include "tests/collision/BoxActor.h"

namespace FrameworkTest {

using CollisionTest::AddBoxAnimation;

inline Collision2D::CollisionActor* MakeBoxActor(float half) {
  auto* actor = new Collision2D::CollisionActor();
  AddBoxAnimation(*actor, half);
  return actor;
}

struct Box {
  const char* name;
  Math::Vector2D position;
  Math::Vector2D velocity;
  bool moving;
};

class BoxLevelFactory : public Quillon::LevelFactory {
 public:
  // Levels "First" and "Second", each holding the same boxes.
  explicit BoxLevelFactory(std::vector<Box> boxes) : m_boxes(std::move(boxes)) {}
  uint32_t GetLevelCount() override { return 2; }
  bool GetLevelIndex(const std::string&, uint32_t&) override { return false; }
  void Reset() override {}
  Core::SmartPointer<Quillon::Level> CreateLevel(uint32_t index) override {
    Quillon::Game* game = Quillon::Game::GetInstance();
    game->AddCollisionAssets(MakeBoxActor(8.0f));
    Core::SmartPointer<Quillon::Level> level(new Quillon::Level());
    level->SetName(index == 0 ? "First" : "Second");
    Core::SmartPointer<Quillon::Layer> layer(new Quillon::Layer(0.0f));
    level->AddLayer(layer);
    for (const Box& box : m_boxes) AddBox(*layer, box);
    return level;
  }
  // Whether every box got its bodies.
  bool AllBodiesAdded() const { return m_allAdded; }

 private:
  void AddBox(Quillon::Layer& layer, const Box& box) {
    Core::SmartPointer<Quillon::GameObject> object(new Quillon::GameObject());
    object->SetName(box.name);
    object->SetPosition(box.position);
    auto* body = new Collision2D::DynamicObject();
    body->AddCollisionData(Quillon::Game::GetInstance()->GetCollisionAsset(0), 0, 0);
    body->SetCurrentCollisionFrame(0, 0, false, false);
    body->SetCollisionType(true);
    for (int z = 0; z < 255; ++z) body->SetCanCollid(static_cast<uint8_t>(z), true);
    m_allAdded = object->AddCollision(body, layer.GetCollisionLayerIndex()) && m_allAdded;
    if (box.moving) {
      m_allAdded = object->AddPhysicalProperties(Physics2D::MassProperties(1.0f, 1.0f, Math::Vector2D()), 0) && m_allAdded;
    }
    layer.AddGameObject(object.Get());
    if (box.moving) object->SetVelocity(box.velocity);
  }

  std::vector<Box> m_boxes;
  bool m_allAdded = true;
};

}  // namespace FrameworkTest
