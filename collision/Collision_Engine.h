#pragma once
// The collision world of the game: one collision layer per framework layer, and the one entry point
// through which the framework and scripts add, copy, remove, move and query collision objects by
// their collision ids. It only detects: contacts stay in each dynamic object's results.
#include <cstdint>
#include <vector>

#include "collision/Collision_Layer.h"
#include "core/Core_Object.h"

namespace Collision2D {

class CollisionEngine : public Core::Object {
 public:
  static constexpr const char* ScriptClassName = "CollisionEngine";

  CollisionEngine() = default;
  CollisionEngine(const CollisionEngine&) = delete;
  CollisionEngine& operator=(const CollisionEngine&) = delete;
  ~CollisionEngine() override;

  int PushToLua(lua_State* state) override;
  const char* GetClassName() const override { return "Collision2D::CollisionEngine"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(CollisionEngine)); }

  // Deletes every layer and starts the layer counter and the shape and tile-map counters again.
  void Clear();
  // Appends a new layer; answers its index.
  int32_t AddLayer();
  uint32_t GetLayerCount() const { return static_cast<uint32_t>(m_layers.size()); }
  // Null for an index at or beyond the count.
  CollisionLayer* GetLayer(uint32_t index) const;

  // Cell size max(cellSize, 50); columns width / cell + 1, rows height / cell + 1. Ignored for a
  // layer that does not exist.
  void CreateGrid(uint32_t layer, const Math::Vector2D& origin, int32_t width, int32_t height, int32_t cellSize);
  void Update(float dt);

  // 0 for a layer that does not exist; see CollisionLayer::AddCollision.
  CollisionId AddCollision(MainCollisionObject* object, uint8_t layer, const Math::Vector2D* position);
  CollisionId DuplicateCollision(CollisionId id, const Math::Vector2D* position, Quillon::GameObject* owner);
  void RemoveCollision(CollisionId id);
  void ClearStaticCollisions(uint32_t layer);

  // --- By id: an id that names no stored object of a kind the operation serves (a stale id, a
  // wrong layer byte, an empty slot) answers none and changes nothing. -------------------------
  MainCollisionObject* GetCollisionObject(CollisionId id) const;
  DynamicObject* GetDynamicObject(CollisionId id) const;
  TileMap* GetTileMap(CollisionId id) const;
  CollisionResults* GetCollisionData(CollisionId id) const;
  bool ObjectInCollision(CollisionId id) const;
  void SetObjectPosition(CollisionId id, float x, float y);
  void SetObjectOldPosition(CollisionId id, float x, float y);
  void SetObjectOrientation(CollisionId id, float degrees);
  void SetObjectOldOrientation(CollisionId id, float degrees);
  void SetObjectCenter(CollisionId id, float x, float y);
  // Stores z in the object; answers the object's id made anew with the z it now has (0 for none).
  CollisionId SetObjectZCollision(CollisionId id, uint8_t z);
  void SetObjectBoundingRectangle(CollisionId id, const QlnRect& rectangle);
  // A zero rectangle for an id that names no dynamic object or tile map.
  QlnRect GetObjectBoundingRectangle(CollisionId id) const;
  QlnRect GetCurrentObjectBoundingRectangle(CollisionId id) const;

  // Layer count, then each layer.
  void Save(Core::File& file) override;
  // Appends the stored layers to those already here (the framework clears first). A malformed
  // stream fails and appends nothing.
  void Load(Core::File& file) override;

 private:
  struct Named {
    CollisionLayer* layer = nullptr;
    DecodedCollisionId decoded;
  };
  // The layer and slot the id names when it names a stored object; false otherwise.
  bool Resolve(CollisionId id, Named& named) const;

  std::vector<Core::SmartPointer<CollisionLayer>> m_layers;
};

}  // namespace Collision2D
