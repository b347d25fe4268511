#pragma once
// A collision layer: one independent collision world holding dynamic objects, static circles,
// static line segments and tile maps in slot arrays, with a uniform grid as its broad phase. Its
// pass updates the objects, pairs the ones that share grid cells, and runs the narrow phase on the
// pairs, on the static shapes near each object and on the tile maps it overlaps.
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_Grid.h"
#include "collision/Collision_Id.h"
#include "collision/Collision_Shapes.h"
#include "collision/Collision_TileMap.h"
#include "collision/Collision_Utilities.h"
#include "core/Core_Object.h"
#include "math/Math_Vector2D.h"

namespace Collision2D {

// The engine-wide layer counter: a new layer takes its value as its index and raises it.
uint8_t GetLayerCounter();
void SetLayerCounter(uint8_t value);

class CollisionLayer : public Core::Object {
 public:
  static constexpr const char* ScriptClassName = "CollisionLayer";
  static constexpr int32_t kDynamicObjectGrowStep = 25;
  static constexpr int32_t kStaticGrowStep = 10;

  struct LoadConstruction {};

  CollisionLayer();
  // No slots, no counter change, an empty grid: Load fills it.
  explicit CollisionLayer(LoadConstruction);
  CollisionLayer(const CollisionLayer&) = delete;
  CollisionLayer& operator=(const CollisionLayer&) = delete;
  ~CollisionLayer() override;

  int PushToLua(lua_State* state) override;
  const char* GetClassName() const override { return "Collision2D::CollisionLayer"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(CollisionLayer)); }

  uint8_t GetLayerIndex() const { return m_layerIndex; }

  // Rebuilds the grid with exactly these values. Static shapes already added are registered again
  // in the new cells, so the order of grid creation and additions does not matter.
  void CreateGrid(const Math::Vector2D& origin, int32_t width, int32_t height, int32_t rows, int32_t columns,
                  int32_t cellSize);
  const CollisionGrid& GetGrid() const { return m_grid; }

  // Takes ownership of the object on success and answers its id; 0 (the caller keeps the object)
  // for null, an unknown or id-less kind, a tag whose kind does not match the object, or a kind
  // whose slots are exhausted. Dynamic objects start without motion at the given position.
  CollisionId AddCollision(MainCollisionObject* object, const Math::Vector2D* position);
  // A copy of the object in the kind-range index's slot; 0 for an index that names none.
  CollisionId DuplicateCollision(uint32_t kindRangeIndex, const Math::Vector2D* position,
                                 Quillon::GameObject* owner);

  // Delete the object in the slot; slots that are empty or out of range are left alone.
  void RemoveDynamicObject(uint32_t slot);
  void RemoveStaticCircle(uint32_t slot);
  void RemoveStaticLineSegment(uint32_t slot);
  void RemoveTileMap(uint32_t slot);
  // Delete every static circle (segment); their counts, free lists and grid lists start again.
  void ClearStaticCircles();
  void ClearStaticLineSegments();

  // Null for slot 0, an empty slot or one out of range.
  DynamicObject* GetDynamicObject(uint32_t slot) const;
  StaticCollisionCircle* GetStaticCircle(uint32_t slot) const;
  StaticCollisionLineSegment* GetStaticLineSegment(uint32_t slot) const;
  TileMap* GetTileMap(uint32_t slot) const;

  // The next free slot of each kind (one more than the number added since the last clear).
  int32_t GetDynamicObjectsNumber() const { return m_dynamicCount; }
  int32_t GetCirclesNumber() const { return m_circleCount; }
  int32_t GetLineSegmentsNumber() const { return m_segmentCount; }
  int32_t GetTileMapsNumber() const { return m_tileMapCount; }
  int32_t GetDynamicObjectCapacity() const { return m_dynamicCapacity; }
  int32_t GetCircleCapacity() const { return m_circleCapacity; }
  int32_t GetLineSegmentCapacity() const { return m_segmentCapacity; }
  int32_t GetTileMapCapacity() const { return m_tileMapCapacity; }
  const std::vector<uint32_t>& GetDynamicObjectFreeList() const { return m_dynamicFree; }

  // The collision pass.
  void Update(float dt);

  // Free lists, then per kind its capacity, count and objects, the layer counter and index bytes,
  // the spare rectangle and vector, the grid.
  void Save(Core::File& file) override;
  // Reads that form into a load-constructed layer. A malformed stream fails and leaves the layer
  // empty (no objects, an empty grid).
  void Load(Core::File& file) override;

 private:
  template <typename T>
  struct Slots {
    std::vector<std::unique_ptr<T>> objects;  // index = slot; slot 0 stays empty
    T* Get(uint32_t slot) const { return slot < objects.size() ? objects[slot].get() : nullptr; }
  };

  // Registers a static shape in the cells it touches.
  void InsertStaticCircle(uint32_t slot);
  void InsertStaticLineSegment(uint32_t slot);
  CollisionId StoreDynamicObject(std::unique_ptr<DynamicObject> object, const Math::Vector2D* position);
  CollisionId StoreStaticCircle(std::unique_ptr<StaticCollisionCircle> circle);
  CollisionId StoreStaticLineSegment(std::unique_ptr<StaticCollisionLineSegment> segment);
  CollisionId StoreTileMap(std::unique_ptr<TileMap> tileMap, const Math::Vector2D* position);
  void ReleaseAll();

  // Narrow phase of one object against the static shapes of the cells it covers.
  void TestStaticShapes(DynamicObject& object, bool moving);

  Slots<DynamicObject> m_dynamicObjects;
  Slots<StaticCollisionCircle> m_circles;
  Slots<StaticCollisionLineSegment> m_segments;
  Slots<TileMap> m_tileMaps;
  int32_t m_dynamicCount = 1;
  int32_t m_circleCount = 1;
  int32_t m_segmentCount = 1;
  int32_t m_tileMapCount = 1;
  uint8_t m_layerIndex = 0;
  QlnRect m_spareRectangle;   // carried by Save and Load only
  Math::Vector2D m_spareVector;
  // Slots free for reuse (dynamic objects) or emptied by a removal (the others; their slots are
  // not reused, so a stale id of a removed shape never names a new one).
  std::vector<uint32_t> m_dynamicFree;
  std::vector<uint32_t> m_circleFree;
  std::vector<uint32_t> m_segmentFree;
  std::vector<uint32_t> m_tileMapFree;
  int32_t m_dynamicCapacity = kDynamicObjectGrowStep;
  int32_t m_circleCapacity = kStaticGrowStep;
  int32_t m_segmentCapacity = kStaticGrowStep;
  int32_t m_tileMapCapacity = kStaticGrowStep;
  CollisionGrid m_grid;

  // The cells whose dynamic lists the last pass filled, one bit per cell in the grid's order
  // (column-major); unknown after a new grid or a load.
  std::vector<uint64_t> m_filledCells;
  bool m_filledCellsKnown = false;
  template <typename Visit>
  void ForEachFilledCell(Visit visit) const {
    const int32_t rows = m_grid.GetRows();
    for (size_t word = 0; word < m_filledCells.size(); ++word) {
      for (uint64_t bits = m_filledCells[word]; bits != 0; bits &= bits - 1) {
        const size_t cell = word * 64 + static_cast<size_t>(__builtin_ctzll(bits));
        visit(static_cast<int32_t>(cell / static_cast<size_t>(rows)), static_cast<int32_t>(cell % static_cast<size_t>(rows)));
      }
    }
  }

  // Working lists of the pass, kept between passes so a steady scene allocates nothing.
  std::vector<uint32_t> m_activeSlots;
  std::vector<std::pair<DynamicObject*, DynamicObject*>> m_pairs;
  std::vector<StaticCollisionCircle*> m_testedCircles;
  std::vector<StaticCollisionLineSegment*> m_testedSegments;
};

}  // namespace Collision2D
