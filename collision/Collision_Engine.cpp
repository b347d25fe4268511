#include "collision/Collision_Engine.h"

#include <algorithm>

#include "core/Core_File.h"

namespace Collision2D {

namespace {

constexpr int32_t kMinimumCellSize = 50;
// Layers a stream may hold: the layer byte of an id names at most 256.
constexpr uint32_t kMaximumLayers = 256;

}  // namespace

CollisionEngine::~CollisionEngine() { Clear(); }

int CollisionEngine::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, ScriptClassName); }

void CollisionEngine::Clear() {
  m_layers.clear();
  SetLayerCounter(0);
  ResetStaticShapeCounters();
  TileMap::ResetSerialCounter();
}

int32_t CollisionEngine::AddLayer() {
  m_layers.emplace_back(new (__FILE__, __LINE__) CollisionLayer());
  return static_cast<int32_t>(m_layers.size()) - 1;
}

CollisionLayer* CollisionEngine::GetLayer(uint32_t index) const {
  return index < m_layers.size() ? m_layers[index].Get() : nullptr;
}

void CollisionEngine::CreateGrid(uint32_t layer, const Math::Vector2D& origin, int32_t width, int32_t height,
                                 int32_t cellSize) {
  CollisionLayer* target = GetLayer(layer);
  if (!target) return;
  const int32_t cell = std::max(cellSize, kMinimumCellSize);
  const int32_t columns = std::max(width, 0) / cell + 1;
  const int32_t rows = std::max(height, 0) / cell + 1;
  target->CreateGrid(origin, width, height, rows, columns, cell);
}

void CollisionEngine::Update(float dt) {
  for (const auto& layer : m_layers) layer->Update(dt);
}

CollisionId CollisionEngine::AddCollision(MainCollisionObject* object, uint8_t layer, const Math::Vector2D* position) {
  CollisionLayer* target = GetLayer(layer);
  return target ? target->AddCollision(object, position) : 0;
}

CollisionId CollisionEngine::DuplicateCollision(CollisionId id, const Math::Vector2D* position,
                                                Quillon::GameObject* owner) {
  uint32_t index = 0;
  uint8_t layer = 0, z = 0;
  SplitCollisionId(id, index, layer, z);
  CollisionLayer* target = GetLayer(layer);
  return target ? target->DuplicateCollision(index, position, owner) : 0;
}

void CollisionEngine::RemoveCollision(CollisionId id) {
  Named named;
  if (!Resolve(id, named)) return;
  switch (named.decoded.kind) {
    case StaticCircleKind: named.layer->RemoveStaticCircle(named.decoded.slot); break;
    case StaticLineSegmentKind: named.layer->RemoveStaticLineSegment(named.decoded.slot); break;
    case TileMapKind: named.layer->RemoveTileMap(named.decoded.slot); break;
    case DynamicObjectKind: named.layer->RemoveDynamicObject(named.decoded.slot); break;
    default: break;
  }
}

void CollisionEngine::ClearStaticCollisions(uint32_t layer) {
  if (CollisionLayer* target = GetLayer(layer)) {
    target->ClearStaticCircles();
    target->ClearStaticLineSegments();
  }
}

// --- By id -------------------------------------------------------------------------------------

bool CollisionEngine::Resolve(CollisionId id, Named& named) const {
  if (!DecodeCollisionId(id, named.decoded)) return false;
  named.layer = GetLayer(named.decoded.layer);
  if (!named.layer) return false;
  const uint32_t slot = named.decoded.slot;
  switch (named.decoded.kind) {
    case StaticCircleKind: return named.layer->GetStaticCircle(slot) != nullptr;
    case StaticLineSegmentKind: return named.layer->GetStaticLineSegment(slot) != nullptr;
    case TileMapKind: return named.layer->GetTileMap(slot) != nullptr;
    case DynamicObjectKind: return named.layer->GetDynamicObject(slot) != nullptr;
    default: return false;
  }
}

MainCollisionObject* CollisionEngine::GetCollisionObject(CollisionId id) const {
  Named named;
  if (!Resolve(id, named)) return nullptr;
  const uint32_t slot = named.decoded.slot;
  switch (named.decoded.kind) {
    case StaticCircleKind: return named.layer->GetStaticCircle(slot);
    case StaticLineSegmentKind: return named.layer->GetStaticLineSegment(slot);
    case TileMapKind: return named.layer->GetTileMap(slot);
    case DynamicObjectKind: return named.layer->GetDynamicObject(slot);
    default: return nullptr;
  }
}

DynamicObject* CollisionEngine::GetDynamicObject(CollisionId id) const {
  Named named;
  if (!Resolve(id, named) || named.decoded.kind != DynamicObjectKind) return nullptr;
  return named.layer->GetDynamicObject(named.decoded.slot);
}

TileMap* CollisionEngine::GetTileMap(CollisionId id) const {
  Named named;
  if (!Resolve(id, named) || named.decoded.kind != TileMapKind) return nullptr;
  return named.layer->GetTileMap(named.decoded.slot);
}

CollisionResults* CollisionEngine::GetCollisionData(CollisionId id) const {
  DynamicObject* object = GetDynamicObject(id);
  return object ? object->GetCollisionData() : nullptr;
}

bool CollisionEngine::ObjectInCollision(CollisionId id) const {
  const CollisionResults* results = GetCollisionData(id);
  if (!results) return false;
  return results->GetStaticCircleCount() != 0 || results->GetStaticLineSegmentCount() != 0 ||
         results->GetTileMapCount() != 0 || results->GetBoundingRectangleCount() != 0 ||
         results->GetDynamicObjectCount() != 0;
}

void CollisionEngine::SetObjectPosition(CollisionId id, float x, float y) {
  if (DynamicObject* object = GetDynamicObject(id)) {
    object->SetPosition(Math::Vector2D(x, y));
  } else if (TileMap* tileMap = GetTileMap(id)) {
    tileMap->SetPosition(Math::Vector2D(x, y));
  }
}

// A tile map has no previous-frame position of its own: its position stands for both.
void CollisionEngine::SetObjectOldPosition(CollisionId id, float x, float y) {
  if (DynamicObject* object = GetDynamicObject(id)) {
    object->SetOldPosition(Math::Vector2D(x, y));
  } else if (TileMap* tileMap = GetTileMap(id)) {
    tileMap->SetPosition(Math::Vector2D(x, y));
  }
}

void CollisionEngine::SetObjectOrientation(CollisionId id, float degrees) {
  if (DynamicObject* object = GetDynamicObject(id)) object->SetOrientation(degrees);
}

void CollisionEngine::SetObjectOldOrientation(CollisionId id, float degrees) {
  if (DynamicObject* object = GetDynamicObject(id)) object->SetOldOrientation(degrees);
}

void CollisionEngine::SetObjectCenter(CollisionId id, float x, float y) {
  if (DynamicObject* object = GetDynamicObject(id)) {
    object->SetCenter(Math::Vector2D(x, y));
  } else if (TileMap* tileMap = GetTileMap(id)) {
    tileMap->SetCenter(Math::Vector2D(x, y));
  }
}

CollisionId CollisionEngine::SetObjectZCollision(CollisionId id, uint8_t z) {
  Named named;
  if (!Resolve(id, named)) return 0;
  const uint32_t slot = named.decoded.slot;
  uint8_t stored = z;
  uint32_t base = 0;
  switch (named.decoded.kind) {
    case StaticCircleKind:
      named.layer->GetStaticCircle(slot)->SetZCollision(z);
      base = kStaticCircleIdBase;
      break;
    case StaticLineSegmentKind:
      named.layer->GetStaticLineSegment(slot)->SetZCollision(z);
      base = kStaticLineSegmentIdBase;
      break;
    case TileMapKind:
      named.layer->GetTileMap(slot)->SetZCollision(z);
      base = kTileMapIdBase;
      break;
    case DynamicObjectKind: {
      DynamicObject* object = named.layer->GetDynamicObject(slot);
      object->SetZCollision(z);
      stored = object->GetZCollision();
      base = kDynamicObjectIdBase;
      break;
    }
    default:
      return 0;
  }
  return MakeCollisionId(base + slot, named.decoded.layer, stored);
}

// A dynamic object takes its local rectangle from its current frame at every update, so the frame
// is where the new rectangle must go to last (as the object's own script method does).
void CollisionEngine::SetObjectBoundingRectangle(CollisionId id, const QlnRect& rectangle) {
  if (DynamicObject* object = GetDynamicObject(id)) {
    // The object's own rectangle: the actor's frame is shared by every object of that actor.
    object->SetOwnBoundingRectangle(rectangle);
  } else if (TileMap* tileMap = GetTileMap(id)) {
    tileMap->SetCurrentBoundingRectangle(rectangle);
  }
}

QlnRect CollisionEngine::GetObjectBoundingRectangle(CollisionId id) const {
  if (const DynamicObject* object = GetDynamicObject(id)) return object->GetLocalRectangle();
  if (const TileMap* tileMap = GetTileMap(id)) return tileMap->GetBoundingRectangle();
  return QlnRect();
}

QlnRect CollisionEngine::GetCurrentObjectBoundingRectangle(CollisionId id) const {
  if (const DynamicObject* object = GetDynamicObject(id)) return object->GetWorldRectangle();
  if (const TileMap* tileMap = GetTileMap(id)) return tileMap->GetCurrentBoundingRectangle();
  return QlnRect();
}

// --- Stream form ---------------------------------------------------------------------------------

void CollisionEngine::Save(Core::File& file) {
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(m_layers.size()));
  for (const auto& layer : m_layers) layer->Save(file);
}

void CollisionEngine::Load(Core::File& file) {
  const uint32_t count = Core::ReadValue<uint32_t>(file);
  if (file.HasFailed()) return;
  if (count > kMaximumLayers || !file.CheckCount(count, 16)) {
    file.Fail();
    return;
  }
  std::vector<Core::SmartPointer<CollisionLayer>> loaded;
  for (uint32_t i = 0; i < count; ++i) {
    Core::SmartPointer<CollisionLayer> layer(new (__FILE__, __LINE__)
                                                 CollisionLayer(CollisionLayer::LoadConstruction{}));
    layer->Load(file);
    if (file.HasFailed()) return;
    loaded.push_back(layer);
  }
  m_layers.insert(m_layers.end(), loaded.begin(), loaded.end());
}

}  // namespace Collision2D
