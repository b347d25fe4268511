// The layer's side in the game's collision engine: its collision layer, static shapes, the drawn
// collision data and the collision bodies of objects joining the layer.
#include "framework/Quillon_GameServices.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_LayerCollisionFile.h"
#include "framework/Quillon_Shapes.h"
#include "framework/Quillon_ScriptSupport.h"

namespace Quillon {

void Layer::CreateCollisionLayer() {}

void Layer::PrepareCollisionBody(GameObject* object) { (void)object; }

void Layer::ClearStaticCollisions() {}

void Layer::SetCollisionProperties(const Math::Vector2D& origin, uint32_t width, uint32_t height, uint32_t cellSize) {
  m_gridOrigin = origin;
  m_gridWidth = width;
  m_gridHeight = height;
  m_gridCellSize = cellSize;
}

bool Layer::AddStaticLineSegment(const Math::Vector2D& a, const Math::Vector2D& b, uint8_t zCollision,
                                 uint32_t userId) {
  (void)a;
  (void)b;
  (void)zCollision;
  (void)userId;
  return false;
}

bool Layer::AddStaticCircle(const Math::Vector2D& center, float radius, uint8_t zCollision, uint32_t userId) {
  (void)center;
  (void)radius;
  (void)zCollision;
  (void)userId;
  return false;
}

void Layer::DrawStaticShapes() {}

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
    return;
  }
  DrawStaticShapes();
}

}  // namespace Quillon

namespace Quillon {
namespace Script {

// The layer's collision layer, pushed with its own script class; nothing without a collision engine.
int GetLayerCollision(lua_State* state) {
  (void)state;
  return 0;
}

}  // namespace Script
}  // namespace Quillon
