// The layer's side in the game's collision engine: its collision layer, static shapes, the drawn
// collision data and the collision bodies of objects joining the layer.
#include <algorithm>
#include <climits>

#include "collision/Collision_Engine.h"
#include "collision/Collision_Shapes.h"
#include "framework/Quillon_GameServices.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_LayerCollisionFile.h"
#include "framework/Quillon_Shapes.h"
#include "framework/Quillon_ScriptSupport.h"

namespace Quillon {

namespace {
Collision2D::CollisionEngine* Collision() { return GetGameServices().GetCollisionEngine(); }
}  // namespace

void Layer::CreateCollisionLayer() {
  if (Collision2D::CollisionEngine* engine = Collision()) m_collisionLayerIndex = static_cast<uint8_t>(engine->AddLayer());
}

void Layer::PrepareCollisionBody(GameObject* object) {
  Collision2D::CollisionEngine* engine = Collision();
  const uint32_t id = object->GetCollisionId();
  if (engine == nullptr || id == 0) return;
  engine->SetObjectPosition(id, object->GetPositionX(), object->GetPositionY());
  engine->SetObjectOrientation(id, object->GetRotationAngle());
  // A body joining the layer must not sweep from wherever it was before.
  if (Collision2D::DynamicObject* body = engine->GetDynamicObject(id)) body->ResetMotion();
}

void Layer::ClearStaticCollisions() {
  if (Collision2D::CollisionEngine* engine = Collision()) engine->ClearStaticCollisions(m_collisionLayerIndex);
  m_drawnCircleSlots = 0;
  m_drawnSegmentSlots = 0;
}

void Layer::SetCollisionProperties(const Math::Vector2D& origin, uint32_t width, uint32_t height, uint32_t cellSize) {
  if (Collision2D::CollisionEngine* engine = Collision()) {
    engine->CreateGrid(m_collisionLayerIndex, origin, static_cast<int32_t>(std::min<uint32_t>(width, INT32_MAX)),
                       static_cast<int32_t>(std::min<uint32_t>(height, INT32_MAX)),
                       static_cast<int32_t>(std::min<uint32_t>(cellSize, INT32_MAX)));
  }
  m_gridOrigin = origin;
  m_gridWidth = width;
  m_gridHeight = height;
  m_gridCellSize = cellSize;
}

bool Layer::AddStaticLineSegment(const Math::Vector2D& a, const Math::Vector2D& b, uint8_t zCollision,
                                 uint32_t userId) {
  Collision2D::CollisionEngine* engine = Collision();
  if (engine == nullptr) return false;
  auto* segment = new (__FILE__, __LINE__) Collision2D::StaticCollisionLineSegment();
  segment->SetLineSegment(Math::LineSegment2D(a, b));
  segment->SetZCollision(zCollision);
  segment->SetUserId(userId);
  const Math::Vector2D origin;
  if (engine->AddCollision(segment, m_collisionLayerIndex, &origin) == 0) {
    delete segment;  // refused: still ours
    return false;
  }
  return true;
}

bool Layer::AddStaticCircle(const Math::Vector2D& center, float radius, uint8_t zCollision, uint32_t userId) {
  Collision2D::CollisionEngine* engine = Collision();
  if (engine == nullptr) return false;
  auto* circle = new (__FILE__, __LINE__) Collision2D::StaticCollisionCircle();
  circle->SetCircle(Math::Circle2D(center, radius));
  circle->SetZCollision(zCollision);
  circle->SetUserId(userId);
  const Math::Vector2D origin;
  if (engine->AddCollision(circle, m_collisionLayerIndex, &origin) == 0) {
    delete circle;  // refused: still ours
    return false;
  }
  return true;
}

void Layer::DrawStaticShapes() {
  Collision2D::CollisionEngine* engine = Collision();
  Collision2D::CollisionLayer* collisionLayer = engine ? engine->GetLayer(m_collisionLayerIndex) : nullptr;
  if (collisionLayer == nullptr) return;
  // Slot 0 stays empty; slots already drawn are not drawn again; removed shapes leave empty slots.
  const int32_t circleEnd = collisionLayer->GetCirclesNumber();
  for (int32_t slot = std::max<int32_t>(m_drawnCircleSlots + 1, 1); slot < circleEnd; ++slot) {
    m_drawnCircleSlots = slot;
    const Collision2D::StaticCollisionCircle* shape = collisionLayer->GetStaticCircle(static_cast<uint32_t>(slot));
    if (shape == nullptr || shape->GetCircle() == nullptr) continue;
    Core::SmartPointer<Circle> circle(new (__FILE__, __LINE__) Circle(shape->GetCircle()->GetRadius()));
    circle->SetPosition(shape->GetCircle()->GetCenter());
    circle->SetVisible(true);
    circle->SetModulationColor(m_collisionDataColor);
    m_collisionCircles.push_back(circle);
    AddGameObject(circle.Get());
  }
  const int32_t segmentEnd = collisionLayer->GetLineSegmentsNumber();
  for (int32_t slot = std::max<int32_t>(m_drawnSegmentSlots + 1, 1); slot < segmentEnd; ++slot) {
    m_drawnSegmentSlots = slot;
    const Collision2D::StaticCollisionLineSegment* shape =
        collisionLayer->GetStaticLineSegment(static_cast<uint32_t>(slot));
    if (shape == nullptr || shape->GetLineSegment() == nullptr) continue;
    Core::SmartPointer<Line> line(
        new (__FILE__, __LINE__) Line(shape->GetLineSegment()->GetPointA(), shape->GetLineSegment()->GetPointB()));
    line->SetVisible(true);
    line->SetModulationColor(m_collisionDataColor);
    m_collisionLines.push_back(line);
    AddGameObject(line.Get());
  }
}

bool Layer::AddStaticCollisionData(const LayerCollisionData& data) {
  bool allTaken = true;
  for (const auto& segment : data.segments) {
    allTaken = AddStaticLineSegment(segment.a, segment.b, segment.zCollision, segment.userId) && allTaken;
  }
  for (const auto& circle : data.circles) {
    allTaken = AddStaticCircle(circle.center, circle.radius, circle.zCollision, circle.userId) && allTaken;
  }
  return allTaken;
}

bool Layer::ReadInformation_StaticCollision(const std::string& path, std::string* error) {
  LayerCollisionData data;
  std::string reason;
  if (!ReadLayerCollisionFile(path, data, reason)) {
    if (error) *error = reason;
    return false;
  }
  if (!AddStaticCollisionData(data)) {
    if (error) *error = path + ": the collision engine did not take every shape";
    return false;
  }
  return true;
}

void Layer::SetVisibleCollisionData(bool visible) {
  m_collisionDataVisible = visible ? 1 : 0;
  if (!visible) {
    for (auto& line : m_collisionLines) line->Destroy();
    for (auto& circle : m_collisionCircles) circle->Destroy();
    m_collisionLines.clear();
    m_collisionCircles.clear();
    m_drawnCircleSlots = 0;
    m_drawnSegmentSlots = 0;
    return;
  }
  DrawStaticShapes();
}

}  // namespace Quillon

namespace Quillon {
namespace Script {

// The layer's collision layer, pushed with its own script class; nothing without a collision engine.
int GetLayerCollision(lua_State* state) {
  Layer* self = CheckSelf<Layer>(state, Layer::ScriptClassName);
  Collision2D::CollisionEngine* engine = Collision();
  Collision2D::CollisionLayer* collisionLayer = engine ? engine->GetLayer(self->GetCollisionLayerIndex()) : nullptr;
  if (collisionLayer == nullptr) return 0;
  return collisionLayer->PushToLua(state);
}

}  // namespace Script
}  // namespace Quillon
