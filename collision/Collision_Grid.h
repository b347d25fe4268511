#pragma once
// The broad-phase grid of a collision layer: square cells that list the dynamic objects, static
// circles and static line segments touching them. Only objects that share a cell become pairs.
#include <cstdint>
#include <memory>
#include <vector>

#include "math/Math_LineSegment2D.h"
#include "math/Math_Vector2D.h"

namespace Core { class File; }

namespace Collision2D {

// A list of slot indices that keeps its storage when cleared and grows 10 entries at a time.
class GridIdList {
 public:
  static constexpr uint32_t kGrowStep = 10;

  void Add(uint32_t id);
  // Adds the id unless the list holds it already.
  void AddUnique(uint32_t id);
  bool Contains(uint32_t id) const;
  void Clear() { m_count = 0; }

  uint32_t GetCapacity() const { return static_cast<uint32_t>(m_ids.size()); }
  uint32_t GetCount() const { return m_count; }
  const uint32_t* GetIds() const { return m_ids.data(); }
  uint32_t operator[](uint32_t index) const { return m_ids[index]; }

  // capacity, count, the counted ids.
  void Save(Core::File& file) const;
  // A count above the capacity, or a capacity the load budget cannot pay, fails the stream.
  void Load(Core::File& file, uint64_t& spareBudget);

 private:
  std::vector<uint32_t> m_ids;  // its size is the capacity
  uint32_t m_count = 0;
};

class GridCell {
 public:
  enum Edge : uint32_t { TopEdge = 0, LeftEdge = 1, RightEdge = 2, BottomEdge = 3 };

  GridIdList dynamicIds;
  GridIdList circleIds;
  GridIdList segmentIds;
  // The border relative to the grid origin: top (left to right), left (bottom to top), right (top
  // to bottom), bottom (right to left).
  Math::LineSegment2D edges[4];
};

class CollisionGrid {
 public:
  // Spare id slots (capacity beyond count) one load may allocate over the whole grid.
  static constexpr uint64_t kMaximumSpareIdsPerLoad = 1u << 20;

  CollisionGrid() = default;
  CollisionGrid(const CollisionGrid&) = delete;
  CollisionGrid& operator=(const CollisionGrid&) = delete;

  // Replaces any previous cells with columns x rows empty ones. A non-positive row or column
  // count makes an empty grid.
  void Create(const Math::Vector2D& origin, uint32_t width, uint32_t height, int32_t rows, int32_t columns,
              int32_t cellSize);
  // Frees every cell; the grid then has no rows and columns (and saves as empty).
  void Release();

  // The cell holding a point, clamped into the grid: points outside map to the nearest border
  // cell. An empty grid answers (-1, -1), which the add operations ignore.
  void CellOf(float x, float y, int32_t& column, int32_t& row) const;
  // Clamps column and row into the grid as CellOf does.
  void ClampCell(int32_t& column, int32_t& row) const;

  // The dynamic list takes cells from CellOf unchanged; out-of-grid cells are ignored.
  void ClearDynamic(int32_t column, int32_t row);
  void AddDynamicId(int32_t column, int32_t row, uint32_t id);  // duplicates allowed
  // The static lists clamp the cell into the grid and keep each id once.
  void AddCircleId(int32_t column, int32_t row, uint32_t id);
  void AddSegmentId(int32_t column, int32_t row, uint32_t id);

  // Null outside the grid.
  GridCell* GetCell(int32_t column, int32_t row);
  const GridCell* GetCell(int32_t column, int32_t row) const;

  const Math::Vector2D& GetOrigin() const { return m_origin; }
  uint32_t GetWidth() const { return m_width; }
  uint32_t GetHeight() const { return m_height; }
  int32_t GetRows() const { return m_rows; }
  int32_t GetColumns() const { return m_columns; }
  float GetCellSize() const { return m_cellSize; }

  // origin, width, height, rows, columns, cell size, then every cell column by column.
  void Save(Core::File& file) const;
  // Counts the stream cannot hold, a cell size that is not a positive finite number, or a list
  // whose count exceeds its capacity fail the stream and leave the grid empty.
  void Load(Core::File& file);

 private:
  bool InGrid(int32_t column, int32_t row) const {
    return column >= 0 && row >= 0 && column < m_columns && row < m_rows;
  }
  GridCell& CellAt(int32_t column, int32_t row) {
    return m_cells[static_cast<size_t>(column) * static_cast<size_t>(m_rows) + static_cast<size_t>(row)];
  }
  void SetEdges();

  Math::Vector2D m_origin;
  uint32_t m_width = 0;
  uint32_t m_height = 0;
  int32_t m_rows = 0;
  int32_t m_columns = 0;
  float m_cellSize = 0.0f;
  std::vector<GridCell> m_cells;  // column-major: cell (c, r) at c * rows + r
};

}  // namespace Collision2D
