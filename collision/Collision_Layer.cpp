#include "collision/Collision_Layer.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/Core_File.h"
#include "math/Math_Circle2D.h"
#include "math/Math_LineSegment2D.h"

namespace Collision2D {

namespace {

uint8_t g_layerCounter = 0;

// Slot growth: the stored capacity always stays above the count.
void GrowIfFull(int32_t count, int32_t& capacity, int32_t step) {
  if (count >= capacity) capacity += step;
}

// Truncation toward zero that is defined for any float; far values stay far outside any grid.
int32_t Truncate(float value) {
  constexpr float kLimit = 1073741824.0f;
  if (!(value > -kLimit)) return -(1 << 30);
  if (value >= kLimit) return 1 << 30;
  return static_cast<int32_t>(value);
}

bool InBox(const Math::Vector2D& p, float left, float right, float bottom, float top) {
  return p.x >= left && p.x <= right && p.y >= bottom && p.y <= top;
}

bool Contains(const std::vector<uint32_t>& list, uint32_t value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

}  // namespace

uint8_t GetLayerCounter() { return g_layerCounter; }
void SetLayerCounter(uint8_t value) { g_layerCounter = value; }

CollisionLayer::CollisionLayer() : m_layerIndex(g_layerCounter++) {
  m_dynamicObjects.objects.resize(kDynamicObjectGrowStep);
  m_circles.objects.resize(kStaticGrowStep);
  m_segments.objects.resize(kStaticGrowStep);
  m_tileMaps.objects.resize(kStaticGrowStep);
  m_grid.Create(Math::Vector2D(0.0f, 0.0f), 640, 480, 4, 6, 100);
}

CollisionLayer::CollisionLayer(LoadConstruction) {}

CollisionLayer::~CollisionLayer() { ReleaseAll(); }

void CollisionLayer::ReleaseAll() {
  m_dynamicObjects.objects.clear();
  m_circles.objects.clear();
  m_segments.objects.clear();
  m_tileMaps.objects.clear();
  m_dynamicFree.clear();
  m_circleFree.clear();
  m_segmentFree.clear();
  m_tileMapFree.clear();
  m_grid.Release();
}

int CollisionLayer::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, ScriptClassName); }

DynamicObject* CollisionLayer::GetDynamicObject(uint32_t slot) const {
  return slot == 0 || slot >= static_cast<uint32_t>(m_dynamicCount) ? nullptr : m_dynamicObjects.Get(slot);
}
StaticCollisionCircle* CollisionLayer::GetStaticCircle(uint32_t slot) const {
  return slot == 0 || slot >= static_cast<uint32_t>(m_circleCount) ? nullptr : m_circles.Get(slot);
}
StaticCollisionLineSegment* CollisionLayer::GetStaticLineSegment(uint32_t slot) const {
  return slot == 0 || slot >= static_cast<uint32_t>(m_segmentCount) ? nullptr : m_segments.Get(slot);
}
TileMap* CollisionLayer::GetTileMap(uint32_t slot) const {
  return slot == 0 || slot >= static_cast<uint32_t>(m_tileMapCount) ? nullptr : m_tileMaps.Get(slot);
}

void CollisionLayer::CreateGrid(const Math::Vector2D& origin, int32_t width, int32_t height, int32_t rows,
                                int32_t columns, int32_t cellSize) {
  m_grid.Create(origin, static_cast<uint32_t>(std::max(width, 0)), static_cast<uint32_t>(std::max(height, 0)), rows,
                columns, cellSize);
  m_filledCellsKnown = false;
  // Shapes added before the rebuild would otherwise vanish from the broad phase.
  for (int32_t slot = 1; slot < m_circleCount; ++slot) {
    if (m_circles.Get(static_cast<uint32_t>(slot))) InsertStaticCircle(static_cast<uint32_t>(slot));
  }
  for (int32_t slot = 1; slot < m_segmentCount; ++slot) {
    if (m_segments.Get(static_cast<uint32_t>(slot))) InsertStaticLineSegment(static_cast<uint32_t>(slot));
  }
}

// --- Grid registration of static shapes ----------------------------------------------------------

void CollisionLayer::InsertStaticCircle(uint32_t slot) {
  const StaticCollisionCircle* shape = m_circles.Get(slot);
  if (!shape || !shape->GetCircle() || m_grid.GetColumns() <= 0 || m_grid.GetRows() <= 0) return;
  const Math::Circle2D& circle = *shape->GetCircle();
  const Math::Vector2D c = circle.center - m_grid.GetOrigin();
  const double r = circle.radius;
  const double s = m_grid.GetCellSize();
  if (!(s > 0.0) || !(r >= 0.0) || !std::isfinite(c.x) || !std::isfinite(c.y) || !std::isfinite(r)) return;
  // Every cell the outline crosses, however large the circle: a cell is crossed when its nearest
  // point lies inside the outline and its farthest outside. Cells wholly inside stay out. Border
  // cells reach out without end, so an outline beyond the grid lands in the border cells, and a
  // unit of slack on both sides keeps every cell an outline point rounds into.
  constexpr double kSlack = 1.0;
  const int32_t columns = m_grid.GetColumns(), rows = m_grid.GetRows();
  auto range = [s](double low, double high, int32_t count, int32_t& first, int32_t& last) {
    const double lowCell = std::floor(low / s), highCell = std::floor(high / s);
    first = static_cast<int32_t>(std::min(std::max(lowCell, 0.0), static_cast<double>(count - 1)));
    last = static_cast<int32_t>(std::min(std::max(highCell, 0.0), static_cast<double>(count - 1)));
  };
  int32_t firstColumn, lastColumn, firstRow, lastRow;
  range(c.x - r - kSlack, c.x + r + kSlack, columns, firstColumn, lastColumn);
  range(c.y - r - kSlack, c.y + r + kSlack, rows, firstRow, lastRow);
  const double kFar = std::numeric_limits<double>::infinity();
  for (int32_t column = firstColumn; column <= lastColumn; ++column) {
    const double left = column == 0 ? -kFar : column * s;
    const double right = column == columns - 1 ? kFar : (column + 1) * s;
    const double nearX = std::min(std::max(static_cast<double>(c.x), left), right);
    const double farX = std::max(std::fabs(c.x - left), std::fabs(right - c.x));
    for (int32_t row = firstRow; row <= lastRow; ++row) {
      const double bottom = row == 0 ? -kFar : row * s;
      const double top = row == rows - 1 ? kFar : (row + 1) * s;
      const double nearY = std::min(std::max(static_cast<double>(c.y), bottom), top);
      const double farY = std::max(std::fabs(c.y - bottom), std::fabs(top - c.y));
      const double nearest = std::hypot(nearX - c.x, nearY - c.y);
      const double farthest = std::hypot(farX, farY);
      if (nearest <= r + kSlack && farthest >= r - kSlack) m_grid.AddCircleId(column, row, slot);
    }
  }
}

void CollisionLayer::InsertStaticLineSegment(uint32_t slot) {
  const StaticCollisionLineSegment* shape = m_segments.Get(slot);
  if (!shape || !shape->GetLineSegment() || m_grid.GetColumns() <= 0 || m_grid.GetRows() <= 0) return;
  const float s = m_grid.GetCellSize();
  if (!(s > 0.0f)) return;
  const Math::Vector2D a = shape->GetLineSegment()->pointA - m_grid.GetOrigin();
  const Math::Vector2D b = shape->GetLineSegment()->pointB - m_grid.GetOrigin();
  const Math::LineSegment2D relative(a, b);
  int32_t firstColumn = Truncate(a.x / s), lastColumn = Truncate(b.x / s);
  int32_t firstRow = Truncate(a.y / s), lastRow = Truncate(b.y / s);
  if (firstColumn > lastColumn) std::swap(firstColumn, lastColumn);
  if (firstRow > lastRow) std::swap(firstRow, lastRow);
  firstColumn = std::max(firstColumn, 0);
  firstRow = std::max(firstRow, 0);
  lastColumn = std::min(lastColumn, m_grid.GetColumns() - 1);
  lastRow = std::min(lastRow, m_grid.GetRows() - 1);
  for (int32_t column = firstColumn; column <= lastColumn; ++column) {
    for (int32_t row = firstRow; row <= lastRow; ++row) {
      const GridCell* cell = m_grid.GetCell(column, row);
      if (!cell) continue;
      const float left = static_cast<float>(column) * s, right = static_cast<float>(column + 1) * s;
      const float bottom = static_cast<float>(row) * s, top = static_cast<float>(row + 1) * s;
      bool touches = InBox(a, left, right, bottom, top) || InBox(b, left, right, bottom, top);
      for (int edge = 0; edge < 4 && !touches; ++edge) {
        const uint32_t code = Math::ClassifySegmentOverlap(relative, cell->edges[edge]);
        touches = code == 0 || code == 19;
      }
      if (touches) m_grid.AddSegmentId(column, row, slot);
    }
  }
}

// --- Adding, duplicating and removing ------------------------------------------------------------

CollisionId CollisionLayer::StoreDynamicObject(std::unique_ptr<DynamicObject> object, const Math::Vector2D* position) {
  uint32_t slot;
  const bool reuse = !m_dynamicFree.empty();
  if (reuse) {
    slot = m_dynamicFree.front();
  } else {
    slot = static_cast<uint32_t>(m_dynamicCount);
    if (slot > kMaximumDynamicObjectSlot) return 0;
  }
  if (reuse) m_dynamicFree.erase(m_dynamicFree.begin());
  DynamicObject& stored = *object;
  stored.SetIndex(slot);
  if (position) stored.SetPosition(*position);
  // An object enters the layer at rest: it must not sweep from wherever it was before.
  stored.ResetMotion();
  if (slot >= m_dynamicObjects.objects.size()) m_dynamicObjects.objects.resize(slot + 1);
  m_dynamicObjects.objects[slot] = std::move(object);
  if (!reuse) {
    ++m_dynamicCount;
    GrowIfFull(m_dynamicCount, m_dynamicCapacity, kDynamicObjectGrowStep);
    m_dynamicObjects.objects.resize(static_cast<size_t>(m_dynamicCapacity));
  }
  return MakeCollisionId(kDynamicObjectIdBase + slot, m_layerIndex, stored.GetZCollision());
}

CollisionId CollisionLayer::StoreStaticCircle(std::unique_ptr<StaticCollisionCircle> circle) {
  const uint32_t slot = static_cast<uint32_t>(m_circleCount);
  if (slot > kMaximumStaticShapeSlot) return 0;
  const uint8_t z = circle->GetZCollision();
  circle->SetSlot(slot);
  m_circles.objects.resize(std::max<size_t>(m_circles.objects.size(), slot + 1));
  m_circles.objects[slot] = std::move(circle);
  InsertStaticCircle(slot);
  ++m_circleCount;
  GrowIfFull(m_circleCount, m_circleCapacity, kStaticGrowStep);
  m_circles.objects.resize(static_cast<size_t>(m_circleCapacity));
  return MakeCollisionId(kStaticCircleIdBase + slot, m_layerIndex, z);
}

CollisionId CollisionLayer::StoreStaticLineSegment(std::unique_ptr<StaticCollisionLineSegment> segment) {
  const uint32_t slot = static_cast<uint32_t>(m_segmentCount);
  if (slot > kMaximumStaticShapeSlot) return 0;
  const uint8_t z = segment->GetZCollision();
  segment->SetSlot(slot);
  m_segments.objects.resize(std::max<size_t>(m_segments.objects.size(), slot + 1));
  m_segments.objects[slot] = std::move(segment);
  InsertStaticLineSegment(slot);
  ++m_segmentCount;
  GrowIfFull(m_segmentCount, m_segmentCapacity, kStaticGrowStep);
  m_segments.objects.resize(static_cast<size_t>(m_segmentCapacity));
  return MakeCollisionId(kStaticLineSegmentIdBase + slot, m_layerIndex, z);
}

CollisionId CollisionLayer::StoreTileMap(std::unique_ptr<TileMap> tileMap, const Math::Vector2D* position) {
  const uint32_t slot = static_cast<uint32_t>(m_tileMapCount);
  if (slot > kMaximumTileMapSlot) return 0;
  const uint8_t z = tileMap->GetZCollision();
  if (position) tileMap->SetPosition(*position);
  tileMap->SetSlot(slot);
  m_tileMaps.objects.resize(std::max<size_t>(m_tileMaps.objects.size(), slot + 1));
  m_tileMaps.objects[slot] = std::move(tileMap);
  ++m_tileMapCount;
  GrowIfFull(m_tileMapCount, m_tileMapCapacity, kStaticGrowStep);
  m_tileMaps.objects.resize(static_cast<size_t>(m_tileMapCapacity));
  return MakeCollisionId(kTileMapIdBase + slot, m_layerIndex, z);
}

CollisionId CollisionLayer::AddCollision(MainCollisionObject* object, const Math::Vector2D* position) {
  if (!object) return 0;
  // Each case checks the slot first: ownership moves only when the object is stored.
  switch (object->GetTag().GetKind()) {
    case DynamicObjectKind: {
      auto* dynamicObject = dynamic_cast<DynamicObject*>(object);
      if (!dynamicObject || (m_dynamicFree.empty() && m_dynamicCount > static_cast<int32_t>(kMaximumDynamicObjectSlot)))
        return 0;
      return StoreDynamicObject(std::unique_ptr<DynamicObject>(dynamicObject), position);
    }
    case StaticCircleKind: {
      auto* circle = dynamic_cast<StaticCollisionCircle*>(object);
      if (!circle || m_circleCount > static_cast<int32_t>(kMaximumStaticShapeSlot)) return 0;
      return StoreStaticCircle(std::unique_ptr<StaticCollisionCircle>(circle));
    }
    case StaticLineSegmentKind: {
      auto* segment = dynamic_cast<StaticCollisionLineSegment*>(object);
      if (!segment || m_segmentCount > static_cast<int32_t>(kMaximumStaticShapeSlot)) return 0;
      return StoreStaticLineSegment(std::unique_ptr<StaticCollisionLineSegment>(segment));
    }
    case TileMapKind: {
      auto* tileMap = dynamic_cast<TileMap*>(object);
      if (!tileMap || m_tileMapCount > static_cast<int32_t>(kMaximumTileMapSlot)) return 0;
      return StoreTileMap(std::unique_ptr<TileMap>(tileMap), position);
    }
    default:
      // Dynamic circles and segments and unknown kinds have no slots of their own.
      return 0;
  }
}

CollisionId CollisionLayer::DuplicateCollision(uint32_t kindRangeIndex, const Math::Vector2D* position,
                                               Quillon::GameObject* owner) {
  DecodedCollisionId decoded;
  const bool names = DecodeCollisionId(MakeCollisionId(kindRangeIndex, 0, 0), decoded);
  if (!names) {
    // Range bases (and 0) name nothing; indices below the first base and the dynamic shape ranges
    // answer themselves without storing anything.
    if (decoded.slot == 0 && decoded.kind != UnsetKind) return 0;
    if (kindRangeIndex == 0) return 0;
    return MakeCollisionId(kindRangeIndex, m_layerIndex, 0);
  }
  switch (decoded.kind) {
    case StaticCircleKind: {
      const StaticCollisionCircle* source = GetStaticCircle(decoded.slot);
      if (!source || m_circleCount > static_cast<int32_t>(kMaximumStaticShapeSlot)) return 0;
      return StoreStaticCircle(std::unique_ptr<StaticCollisionCircle>(source->Clone()));
    }
    case StaticLineSegmentKind: {
      const StaticCollisionLineSegment* source = GetStaticLineSegment(decoded.slot);
      if (!source || m_segmentCount > static_cast<int32_t>(kMaximumStaticShapeSlot)) return 0;
      return StoreStaticLineSegment(std::unique_ptr<StaticCollisionLineSegment>(source->Clone()));
    }
    case TileMapKind: {
      const TileMap* source = GetTileMap(decoded.slot);
      if (!source || m_tileMapCount > static_cast<int32_t>(kMaximumTileMapSlot)) return 0;
      std::unique_ptr<TileMap> copy(source->Clone());
      copy->GetTag().SetOwner(owner);
      return StoreTileMap(std::move(copy), position);
    }
    case DynamicObjectKind: {
      const DynamicObject* source = GetDynamicObject(decoded.slot);
      if (!source || (m_dynamicFree.empty() && m_dynamicCount > static_cast<int32_t>(kMaximumDynamicObjectSlot)))
        return 0;
      std::unique_ptr<DynamicObject> copy(source->Clone());
      copy->GetTag().SetOwner(owner);
      return StoreDynamicObject(std::move(copy), position);
    }
    default:
      return 0;
  }
}

void CollisionLayer::RemoveDynamicObject(uint32_t slot) {
  if (!GetDynamicObject(slot)) return;  // a second removal must not free the slot twice
  m_dynamicObjects.objects[slot].reset();
  m_dynamicFree.push_back(slot);
}

void CollisionLayer::RemoveStaticCircle(uint32_t slot) {
  if (!GetStaticCircle(slot)) return;
  m_circles.objects[slot].reset();
  m_circleFree.push_back(slot);
}

void CollisionLayer::RemoveStaticLineSegment(uint32_t slot) {
  if (!GetStaticLineSegment(slot)) return;
  m_segments.objects[slot].reset();
  m_segmentFree.push_back(slot);
}

void CollisionLayer::RemoveTileMap(uint32_t slot) {
  if (!GetTileMap(slot)) return;
  m_tileMaps.objects[slot].reset();
  m_tileMapFree.push_back(slot);
}

void CollisionLayer::ClearStaticCircles() {
  m_circles.objects.clear();
  m_circles.objects.resize(kStaticGrowStep);
  m_circleCount = 1;
  m_circleCapacity = kStaticGrowStep;
  m_circleFree.clear();
  for (int32_t column = 0; column < m_grid.GetColumns(); ++column)
    for (int32_t row = 0; row < m_grid.GetRows(); ++row) m_grid.GetCell(column, row)->circleIds.Clear();
}

void CollisionLayer::ClearStaticLineSegments() {
  m_segments.objects.clear();
  m_segments.objects.resize(kStaticGrowStep);
  m_segmentCount = 1;
  m_segmentCapacity = kStaticGrowStep;
  m_segmentFree.clear();
  for (int32_t column = 0; column < m_grid.GetColumns(); ++column)
    for (int32_t row = 0; row < m_grid.GetRows(); ++row) m_grid.GetCell(column, row)->segmentIds.Clear();
}

// --- The collision pass --------------------------------------------------------------------------

void CollisionLayer::TestStaticShapes(DynamicObject& object, bool moving) {
  // A layer without static shapes (most of the game's are sprites only) has no cells to walk.
  if (m_circleCount <= 1 && m_segmentCount <= 1) return;
  const int32_t* range = object.GetCellRange();
  const uint8_t layer = m_layerIndex;
  for (int32_t column = range[0]; column <= range[1]; ++column) {
    for (int32_t row = range[2]; row <= range[3]; ++row) {
      const GridCell* cell = m_grid.GetCell(column, row);
      if (!cell) continue;
      for (uint32_t k = 0; k < cell->circleIds.GetCount(); ++k) {
        StaticCollisionCircle* circle = GetStaticCircle(cell->circleIds[k]);
        if (!circle || circle->GetTestedThisPass() || !circle->GetCircle() ||
            !object.GetCanCollid(circle->GetZCollision()))
          continue;
        if (moving) {
          object.SweepAgainstStaticCircle(*circle, layer);
        } else {
          object.TouchStaticCircle(*circle, layer);
        }
        circle->SetTestedThisPass(1);
        m_testedCircles.push_back(circle);
      }
      for (uint32_t k = 0; k < cell->segmentIds.GetCount(); ++k) {
        StaticCollisionLineSegment* segment = GetStaticLineSegment(cell->segmentIds[k]);
        if (!segment || segment->GetTestedThisPass() || !segment->GetLineSegment() ||
            !object.GetCanCollid(segment->GetZCollision()))
          continue;
        if (moving) {
          object.SweepAgainstStaticLineSegment(*segment, layer);
        } else {
          object.TouchStaticLineSegment(*segment, layer);
        }
        segment->SetTestedThisPass(1);
        m_testedSegments.push_back(segment);
      }
    }
  }
  // Only the shapes this object met carry the flag: clearing them is the per-object reset.
  for (StaticCollisionCircle* circle : m_testedCircles) circle->SetTestedThisPass(0);
  for (StaticCollisionLineSegment* segment : m_testedSegments) segment->SetTestedThisPass(0);
  m_testedCircles.clear();
  m_testedSegments.clear();
}

void CollisionLayer::Update(float dt) {
  // 1. Per-object update, with the objects a few slots ahead asked of the cache; 2. tile animation.
  // Each of the three stages reaches through what the one before brought in, kStride objects
  // earlier. A few hundred objects stay in the cache, and the requests would only cost.
  constexpr int32_t kStages = 3, kStride = 2, kHintedFrom = 256;
  const int32_t stages = m_dynamicCount > kHintedFrom ? kStages : 0;
  for (int32_t slot = 1; slot < m_dynamicCount; ++slot) {
    for (int32_t stage = 0; stage < stages; ++stage) {
      const int32_t ahead = slot + (kStages - stage) * kStride;
      if (const DynamicObject* object = m_dynamicObjects.Get(static_cast<uint32_t>(ahead)))
        object->PrefetchForUpdate(stage);
    }
    if (DynamicObject* object = m_dynamicObjects.Get(static_cast<uint32_t>(slot))) object->Update();
  }
  for (int32_t slot = 1; slot < m_tileMapCount; ++slot) {
    if (TileMap* tileMap = m_tileMaps.Get(static_cast<uint32_t>(slot))) tileMap->Animate(dt);
  }

  // 3. and 4. Refill the grid's dynamic lists from each object's swept rectangle. Only the cells
  // the last pass filled hold dynamic ids (after a new grid or a load, any may).
  const size_t cellCount = static_cast<size_t>(std::max(m_grid.GetColumns(), 0)) * std::max(m_grid.GetRows(), 0);
  const size_t cellWords = (cellCount + 63) / 64;
  if (!m_filledCellsKnown || m_filledCells.size() != cellWords) {
    for (int32_t column = 0; column < m_grid.GetColumns(); ++column)
      for (int32_t row = 0; row < m_grid.GetRows(); ++row) m_grid.ClearDynamic(column, row);
    m_filledCells.assign(cellWords, 0);
    m_filledCellsKnown = true;
  } else {
    ForEachFilledCell([this](int32_t column, int32_t row) { m_grid.ClearDynamic(column, row); });
    std::fill(m_filledCells.begin(), m_filledCells.end(), 0);
  }
  m_activeSlots.clear();
  const bool hasGrid = m_grid.GetColumns() > 0 && m_grid.GetRows() > 0;
  for (int32_t slot = 1; slot < m_dynamicCount; ++slot) {
    DynamicObject* object = m_dynamicObjects.Get(static_cast<uint32_t>(slot));
    if (!object || !object->GetCurrentFrame()) continue;
    m_activeSlots.push_back(static_cast<uint32_t>(slot));
    int32_t* range = object->GetCellRange();
    if (!hasGrid) {
      range[0] = range[2] = 0;
      range[1] = range[3] = -1;
      continue;
    }
    const QlnRect& swept = object->GetSweptRectangle();
    m_grid.CellOf(swept.left, swept.bottom, range[0], range[2]);
    m_grid.CellOf(swept.right, swept.top, range[1], range[3]);
    if (range[0] > range[1]) std::swap(range[0], range[1]);
    if (range[2] > range[3]) std::swap(range[2], range[3]);
    for (int32_t column = range[0]; column <= range[1]; ++column) {
      for (int32_t row = range[2]; row <= range[3]; ++row) {
        m_grid.AddDynamicId(column, row, static_cast<uint32_t>(slot));
        const size_t cell = static_cast<size_t>(column) * static_cast<size_t>(m_grid.GetRows()) + static_cast<size_t>(row);
        if (cell < cellCount) m_filledCells[cell / 64] |= uint64_t{1} << (cell % 64);
      }
    }
  }

  // 5. Candidate pairs: objects listed in the same cell whose swept rectangles overlap. Lists are
  // filled in slot order, so a pair meets in the same order in every cell it shares and the
  // candidate list's own check keeps it once.
  // Cells are met columns outer, rows inner, as the filled-cell bits run.
  ForEachFilledCell([this](int32_t column, int32_t row) {
    const GridIdList& list = m_grid.GetCell(column, row)->dynamicIds;
    const uint32_t count = list.GetCount();
    for (uint32_t i = 0; i + 1 < count; ++i) {
      DynamicObject& a = *m_dynamicObjects.Get(list[i]);
      for (uint32_t j = i + 1; j < count; ++j) {
        DynamicObject& b = *m_dynamicObjects.Get(list[j]);
        if (!a.GetCanCollid(b.GetZCollision())) continue;
        if (!RectanglesOverlap(a.GetSweptRectangle(), b.GetSweptRectangle())) continue;
        if (a.HasMoved()) {
          a.AddCandidate(list[j]);
        } else if (b.HasMoved()) {
          b.AddCandidate(list[i]);
        } else if (a.GetUpdateOnIdle()) {
          a.AddCandidate(list[j]);
        } else if (b.GetUpdateOnIdle()) {
          b.AddCandidate(list[i]);
        }
      }
    }
  });

  // 6. Pair tests, listed first so that the objects of the next few pairs can be asked of the
  // cache while one is tested (the order of the tests is that of the lists).
  m_pairs.clear();
  for (uint32_t slot : m_activeSlots) {
    DynamicObject* a = m_dynamicObjects.Get(slot);
    const int32_t candidates = a->GetCandidateCount();
    for (int32_t k = 0; k < candidates; ++k) {
      if (DynamicObject* b = m_dynamicObjects.Get(a->GetCandidates()[k])) m_pairs.emplace_back(a, b);
    }
  }
  for (size_t p = 0; p < m_pairs.size(); ++p) {
    for (int32_t stage = 0; stage < stages; ++stage) {
      const size_t ahead = p + static_cast<size_t>((kStages - stage) * kStride);
      if (ahead >= m_pairs.size()) continue;
      m_pairs[ahead].first->PrefetchForPairTest(stage);
      m_pairs[ahead].second->PrefetchForPairTest(stage);
    }
    DynamicObject& a = *m_pairs[p].first;
    DynamicObject& b = *m_pairs[p].second;
    if (a.GetCollisionType() && b.GetCollisionType()) {
      a.CollideGeometric(b, &m_layerIndex);
    } else {
      a.CollideBoundingRectangles(b, m_layerIndex);
    }
  }

  // 7. Static shapes near each object, and the tile maps its swept rectangle overlaps.
  for (uint32_t slot : m_activeSlots) {
    DynamicObject& object = *m_dynamicObjects.Get(slot);
    if (object.GetCollisionType()) {
      if (object.HasMoved()) {
        TestStaticShapes(object, true);
      } else if (object.GetUpdateOnIdle()) {
        TestStaticShapes(object, false);
      }
    }
    for (int32_t mapSlot = 1; mapSlot < m_tileMapCount; ++mapSlot) {
      TileMap* tileMap = m_tileMaps.Get(static_cast<uint32_t>(mapSlot));
      if (!tileMap || !object.GetCanCollid(tileMap->GetZCollision())) continue;
      if (!RectanglesOverlap(tileMap->GetCurrentBoundingRectangle(), object.GetSweptRectangle())) continue;
      tileMap->TestDynamicObject(object, m_layerIndex);
    }
  }

  // 8. The current pose becomes the next pass's previous one.
  for (uint32_t slot : m_activeSlots) m_dynamicObjects.Get(slot)->CommitMotion();
}

// --- Stream form ---------------------------------------------------------------------------------

namespace {

void WriteList(Core::File& file, const std::vector<uint32_t>& list) {
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(list.size()));
  for (uint32_t value : list) Core::WriteValue<uint32_t>(file, value);
}

void ReadList(Core::File& file, std::vector<uint32_t>& list) {
  list.clear();
  const uint32_t count = Core::ReadValue<uint32_t>(file);
  if (file.HasFailed() || !file.CheckCount(count, 4)) return;
  list.resize(count);
  for (uint32_t& value : list) value = Core::ReadValue<uint32_t>(file);
}

// A count and capacity as a layer can hold them, with the free list naming distinct used slots.
bool ValidSlots(int32_t count, int32_t capacity, uint32_t maximumSlot, const std::vector<uint32_t>& freeList) {
  if (count < 1 || static_cast<int64_t>(count) > static_cast<int64_t>(maximumSlot) + 1 || capacity < count ||
      static_cast<int64_t>(capacity) > static_cast<int64_t>(maximumSlot) + 64)
    return false;
  std::vector<uint32_t> sorted(freeList);
  std::sort(sorted.begin(), sorted.end());
  if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) return false;
  return sorted.empty() || (sorted.front() >= 1 && sorted.back() < static_cast<uint32_t>(count));
}

}  // namespace

void CollisionLayer::Save(Core::File& file) {
  WriteList(file, m_dynamicFree);
  WriteList(file, m_circleFree);
  WriteList(file, m_segmentFree);
  WriteList(file, m_tileMapFree);
  // Empty slots write nothing: the free lists tell Load which ones they are.
  Core::WriteValue<int32_t>(file, m_dynamicCapacity);
  Core::WriteValue<int32_t>(file, m_dynamicCount);
  for (int32_t slot = 1; slot < m_dynamicCount; ++slot)
    if (const DynamicObject* object = m_dynamicObjects.Get(static_cast<uint32_t>(slot))) object->Save(file);
  Core::WriteValue<int32_t>(file, m_circleCapacity);
  Core::WriteValue<int32_t>(file, m_circleCount);
  for (int32_t slot = 1; slot < m_circleCount; ++slot)
    if (const StaticCollisionCircle* circle = m_circles.Get(static_cast<uint32_t>(slot))) circle->Save(file);
  Core::WriteValue<int32_t>(file, m_segmentCapacity);
  Core::WriteValue<int32_t>(file, m_segmentCount);
  for (int32_t slot = 1; slot < m_segmentCount; ++slot)
    if (const StaticCollisionLineSegment* segment = m_segments.Get(static_cast<uint32_t>(slot))) segment->Save(file);
  Core::WriteValue<int32_t>(file, m_tileMapCapacity);
  Core::WriteValue<int32_t>(file, m_tileMapCount);
  for (int32_t slot = 1; slot < m_tileMapCount; ++slot)
    if (const TileMap* tileMap = m_tileMaps.Get(static_cast<uint32_t>(slot))) tileMap->Save(file);
  Core::WriteValue<uint8_t>(file, g_layerCounter);
  Core::WriteValue<uint8_t>(file, m_layerIndex);
  m_spareRectangle.Write(file);
  Core::WriteValue<float>(file, m_spareVector.x);
  Core::WriteValue<float>(file, m_spareVector.y);
  m_grid.Save(file);
}

void CollisionLayer::Load(Core::File& file) {
  ReleaseAll();
  m_dynamicCount = m_circleCount = m_segmentCount = m_tileMapCount = 1;
  ReadList(file, m_dynamicFree);
  ReadList(file, m_circleFree);
  ReadList(file, m_segmentFree);
  ReadList(file, m_tileMapFree);

  // Reads one kind's capacity, count and objects; false when the stream cannot be right.
  auto readKind = [&](auto& slots, int32_t& count, int32_t& capacity, uint32_t maximumSlot,
                      const std::vector<uint32_t>& freeList, auto create) -> bool {
    capacity = Core::ReadValue<int32_t>(file);
    count = Core::ReadValue<int32_t>(file);
    if (file.HasFailed() || !ValidSlots(count, capacity, maximumSlot, freeList) ||
        !file.CheckCount(static_cast<uint64_t>(count - 1) - freeList.size(), 4)) {
      file.Fail();
      count = 1;
      return false;
    }
    slots.objects.clear();
    slots.objects.resize(static_cast<size_t>(capacity));
    for (int32_t slot = 1; slot < count; ++slot) {
      if (Contains(freeList, static_cast<uint32_t>(slot))) continue;
      auto object = create();
      object->Load(file);
      if (file.HasFailed()) {
        count = 1;
        return false;
      }
      slots.objects[static_cast<size_t>(slot)] = std::move(object);
    }
    return true;
  };

  const bool loaded =
      !file.HasFailed() &&
      readKind(m_dynamicObjects, m_dynamicCount, m_dynamicCapacity, kMaximumDynamicObjectSlot, m_dynamicFree,
               [] { return std::make_unique<DynamicObject>(DynamicObject::LoadConstruction{}); }) &&
      readKind(m_circles, m_circleCount, m_circleCapacity, kMaximumStaticShapeSlot, m_circleFree,
               [] { return std::make_unique<StaticCollisionCircle>(); }) &&
      readKind(m_segments, m_segmentCount, m_segmentCapacity, kMaximumStaticShapeSlot, m_segmentFree,
               [] { return std::make_unique<StaticCollisionLineSegment>(); }) &&
      readKind(m_tileMaps, m_tileMapCount, m_tileMapCapacity, kMaximumTileMapSlot, m_tileMapFree,
               [] { return std::make_unique<TileMap>(); });
  const uint8_t counter = Core::ReadValue<uint8_t>(file);
  const uint8_t index = Core::ReadValue<uint8_t>(file);
  m_spareRectangle.Read(file);
  m_spareVector.x = Core::ReadValue<float>(file);
  m_spareVector.y = Core::ReadValue<float>(file);
  if (loaded && !file.HasFailed()) m_grid.Load(file);
  m_filledCellsKnown = false;
  if (!loaded || file.HasFailed()) {
    file.Fail();
    ReleaseAll();
    m_dynamicCount = m_circleCount = m_segmentCount = m_tileMapCount = 1;
    return;
  }
  g_layerCounter = counter;
  m_layerIndex = index;
  for (int32_t slot = 1; slot < m_dynamicCount; ++slot)
    if (DynamicObject* object = m_dynamicObjects.Get(static_cast<uint32_t>(slot))) object->SetIndex(static_cast<uint32_t>(slot));
  for (int32_t slot = 1; slot < m_tileMapCount; ++slot)
    if (TileMap* tileMap = m_tileMaps.Get(static_cast<uint32_t>(slot))) tileMap->SetSlot(static_cast<uint32_t>(slot));
  for (int32_t slot = 1; slot < m_circleCount; ++slot)
    if (StaticCollisionCircle* circle = m_circles.Get(static_cast<uint32_t>(slot))) circle->SetSlot(static_cast<uint32_t>(slot));
  for (int32_t slot = 1; slot < m_segmentCount; ++slot)
    if (StaticCollisionLineSegment* segment = m_segments.Get(static_cast<uint32_t>(slot)))
      segment->SetSlot(static_cast<uint32_t>(slot));
}

}  // namespace Collision2D
