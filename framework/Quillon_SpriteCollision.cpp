// A sprite's collision side: its body follows the picture's frame, its shapes can be drawn, a loaded
// sprite binds its collision actor again, and the level keeps the partners of its sprites' contacts.
#include <limits>

#include "collision/Collision_Engine.h"
#include "collision/Collision_Results.h"
#include "core/Core_File.h"
#include "framework/Quillon_GameServices.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_Shapes.h"
#include "framework/Quillon_Sprite.h"

namespace Quillon {

namespace {

constexpr uint32_t kNoPartner = std::numeric_limits<uint32_t>::max();

Collision2D::CollisionEngine* Collision() { return GetGameServices().GetCollisionEngine(); }

}  // namespace

void Sprite::UpdateCollisionFrame() {
  Collision2D::DynamicObject* body = GetCollisionObject();
  if (body == nullptr || !m_engineSprite) return;
  body->SetCurrentCollisionFrame(m_engineSprite->GetCurrentAnimationIndex(), m_engineSprite->GetCurrentFrameIndex(),
                                 m_engineSprite->GetFlipHorizontal(), m_engineSprite->GetFlipVertical());
}

void Sprite::UpdateCollisionDisplay() {
  if (m_collisionActorIndex == -1) return;
  Collision2D::DynamicObject* body = GetCollisionObject();
  Layer* layer = GetLayer();
  if (body == nullptr) return;
  if (m_visibleCollisionData != 0) {
    const auto& segments = body->GetCurrentLineSegments();
    for (size_t i = 0; i < segments.size(); ++i) {
      const Math::Vector2D a = segments[i]->GetPointA();
      const Math::Vector2D b = segments[i]->GetPointB();
      if (i < m_collisionLines.size()) {
        m_collisionLines[i]->SetPointA(a);
        m_collisionLines[i]->SetPointB(b);
        m_collisionLines[i]->SetVisible(true);
        m_collisionLines[i]->SetModulationColor(m_collisionDataColor);
        continue;
      }
      if (layer == nullptr) break;
      Core::SmartPointer<Line> line(new (__FILE__, __LINE__) Line(a, b));
      line->SetZOrder(m_zOrder + 0.1f);
      line->SetVisible(true);
      line->SetModulationColor(m_collisionDataColor);
      layer->AddGameObject(line.Get());
      m_collisionLines.push_back(line);
    }
    m_linesInUse = static_cast<int32_t>(segments.size());
    const auto& circles = body->GetCurrentCircles();
    for (size_t i = 0; i < circles.size(); ++i) {
      const float radius = circles[i]->GetRadius();
      const Math::Vector2D center = circles[i]->GetCenter();
      if (i < m_collisionCircles.size()) {
        m_collisionCircles[i]->SetRadius(radius);
        m_collisionCircles[i]->SetPosition(center);
        m_collisionCircles[i]->SetVisible(true);
        m_collisionCircles[i]->SetModulationColor(m_collisionDataColor);
        continue;
      }
      if (layer == nullptr) break;
      Core::SmartPointer<Circle> circle(new (__FILE__, __LINE__) Circle(radius));
      circle->SetPosition(center);
      circle->SetZOrder(m_zOrder + 0.1f);
      circle->SetVisible(true);
      circle->SetModulationColor(m_collisionDataColor);
      layer->AddGameObject(circle.Get());
      m_collisionCircles.push_back(circle);
    }
    m_circlesInUse = static_cast<int32_t>(circles.size());
  }
  if (m_visibleBoundingRectangle != 0) {
    Collision2D::QlnRect box;
    body->GetCurrentBoundingRectangle(box);
    const Math::Vector2D corners[4] = {Math::Vector2D(box.left, box.top), Math::Vector2D(box.right, box.top),
                                       Math::Vector2D(box.right, box.bottom), Math::Vector2D(box.left, box.bottom)};
    for (int edge = 0; edge < 4; ++edge) {
      Core::SmartPointer<Line>& line = m_boundingRectangleLines[edge];
      if (!line) {
        if (layer == nullptr) return;
        line = new (__FILE__, __LINE__) Line(corners[edge], corners[(edge + 1) % 4]);
        line->SetZOrder(m_zOrder + 0.1f);
        layer->AddGameObject(line.Get());
      }
      line->SetPointA(corners[edge]);
      line->SetPointB(corners[(edge + 1) % 4]);
      line->SetVisible(true);
      line->SetModulationColor(m_boundingRectangleColor);
    }
  }
}

void Sprite::BindCollisionActor() {
  Collision2D::DynamicObject* body = GetCollisionObject();
  if (body == nullptr) return;
  body->GetTag().SetOwner(this);
  if (Collision2D::CollisionActor* actor = GetGameServices().GetCollisionAsset(m_collisionActorIndex)) {
    body->AddCollisionData(actor, 0, 0);
  }
}

Sprite* FindSpriteById(uint32_t id) {
  Level* level = GetGameServices().GetCurrentLevel();
  return level ? dynamic_cast<Sprite*>(level->FindGameObjectById(id)) : nullptr;
}

void Sprite::WriteCollidedIds(Core::File& file) {
  const Collision2D::CollisionResults* results = GetCollisionResults();
  if (results == nullptr) return;
  Collision2D::CollisionEngine* engine = Collision();
  auto ownerId = [engine](uint32_t collisionId) {
    Collision2D::DynamicObject* partner = engine ? engine->GetDynamicObject(collisionId) : nullptr;
    GameObject* owner = partner ? partner->GetTag().GetOwner() : nullptr;
    // A partner body without an owning object is written as a number no object has.
    return owner ? owner->GetID() : kNoPartner;
  };
  const auto& rectangles = results->GetBoundingRectangleContacts();
  for (int32_t i = 0; i < results->GetBoundingRectangleCount(); ++i) {
    Core::WriteValue<uint32_t>(file, ownerId(rectangles[static_cast<size_t>(i)].id));
  }
  const auto& shapes = results->GetDynamicObjectContacts();
  for (int32_t i = 0; i < results->GetDynamicObjectCount(); ++i) {
    Core::WriteValue<uint32_t>(file, ownerId(shapes[static_cast<size_t>(i)].id));
  }
}

void Sprite::ReadCollidedIds(Core::File& file) {
  Collision2D::CollisionResults* results = GetCollisionResults();
  if (results == nullptr) return;
  // The records' partner links are the only thing written through the results' accessors here.
  auto& rectangles = const_cast<std::vector<Collision2D::BRECT_C>&>(results->GetBoundingRectangleContacts());
  for (int32_t i = 0; i < results->GetBoundingRectangleCount() && !file.HasFailed(); ++i) {
    const uint32_t id = Core::ReadValue<uint32_t>(file);
    rectangles[static_cast<size_t>(i)].partnerOwner = id == kNoPartner ? nullptr : FindSpriteById(id);
  }
  auto& shapes = const_cast<std::vector<Collision2D::DGEO_C>&>(results->GetDynamicObjectContacts());
  Layer* layer = GetLayer();
  for (int32_t i = 0; i < results->GetDynamicObjectCount() && !file.HasFailed(); ++i) {
    const uint32_t id = Core::ReadValue<uint32_t>(file);
    GameObject* found = layer != nullptr && id != kNoPartner ? layer->FindGameObjectById(id) : nullptr;
    shapes[static_cast<size_t>(i)].partnerOwner = dynamic_cast<Sprite*>(found);
  }
}

void Level::WriteSpriteContacts(Core::File& file) {
  std::list<GameObject*> objects;
  GetGameObjects(objects);
  for (GameObject* object : objects) {
    if (auto* sprite = dynamic_cast<Sprite*>(object)) sprite->WriteCollidedIds(file);
  }
}

void Level::ReadSpriteContacts(Core::File& file) {
  std::list<GameObject*> objects;
  GetGameObjects(objects);
  for (GameObject* object : objects) {
    if (file.HasFailed()) return;
    if (auto* sprite = dynamic_cast<Sprite*>(object)) sprite->ReadCollidedIds(file);
  }
}

}  // namespace Quillon
