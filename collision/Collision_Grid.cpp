#include "collision/Collision_Grid.h"

#include <algorithm>
#include <cmath>

#include "core/Core_File.h"
#include "math/Math_Stream.h"

namespace Collision2D {

namespace {

// Smallest stored cell: three empty lists (capacity and count each) and four edges.
constexpr uint64_t kStoredEmptyCellSize = 3 * 8 + 4 * 16;

// Truncation toward zero into [0, count - 1]; defined for any float, NaN included (it goes to 0).
int32_t ClampedIndex(float value, int32_t count) {
  if (!(value >= 1.0f)) return 0;
  if (value >= static_cast<float>(count)) return count - 1;
  return std::min(static_cast<int32_t>(value), count - 1);
}

int32_t ClampInt(int32_t value, int32_t count) { return value < 0 ? 0 : (value >= count ? count - 1 : value); }

}  // namespace

void GridIdList::Add(uint32_t id) {
  if (m_count >= m_ids.size()) m_ids.resize(static_cast<size_t>(m_count) + kGrowStep);
  m_ids[m_count] = id;
  ++m_count;
}

bool GridIdList::Contains(uint32_t id) const {
  return std::find(m_ids.begin(), m_ids.begin() + m_count, id) != m_ids.begin() + m_count;
}

void GridIdList::AddUnique(uint32_t id) {
  if (!Contains(id)) Add(id);
}

void GridIdList::Save(Core::File& file) const {
  Core::WriteValue<uint32_t>(file, GetCapacity());
  Core::WriteValue<uint32_t>(file, m_count);
  for (uint32_t i = 0; i < m_count; ++i) Core::WriteValue<uint32_t>(file, m_ids[i]);
}

void GridIdList::Load(Core::File& file, uint64_t& spareBudget) {
  m_ids.clear();
  m_count = 0;
  const uint32_t capacity = Core::ReadValue<uint32_t>(file);
  const uint32_t count = Core::ReadValue<uint32_t>(file);
  if (file.HasFailed()) return;
  if (count > capacity || capacity - count > spareBudget) {
    file.Fail();
    return;
  }
  if (!file.CheckCount(count, sizeof(uint32_t))) return;
  spareBudget -= capacity - count;
  m_ids.assign(capacity, 0u);
  for (uint32_t i = 0; i < count; ++i) m_ids[i] = Core::ReadValue<uint32_t>(file);
  if (!file.HasFailed()) m_count = count;
}

void CollisionGrid::Create(const Math::Vector2D& origin, uint32_t width, uint32_t height, int32_t rows,
                           int32_t columns, int32_t cellSize) {
  Release();
  m_origin = origin;
  m_width = width;
  m_height = height;
  m_cellSize = static_cast<float>(cellSize);
  if (rows <= 0 || columns <= 0) return;
  m_rows = rows;
  m_columns = columns;
  m_cells.resize(static_cast<size_t>(rows) * static_cast<size_t>(columns));
  SetEdges();
}

void CollisionGrid::SetEdges() {
  const float s = m_cellSize;
  for (int32_t c = 0; c < m_columns; ++c) {
    for (int32_t r = 0; r < m_rows; ++r) {
      const float x0 = static_cast<float>(c) * s, x1 = static_cast<float>(c + 1) * s;
      const float y0 = static_cast<float>(r) * s, y1 = static_cast<float>(r + 1) * s;
      Math::LineSegment2D* edges = CellAt(c, r).edges;
      edges[GridCell::TopEdge] = Math::LineSegment2D(Math::Vector2D(x0, y1), Math::Vector2D(x1, y1));
      edges[GridCell::LeftEdge] = Math::LineSegment2D(Math::Vector2D(x0, y0), Math::Vector2D(x0, y1));
      edges[GridCell::RightEdge] = Math::LineSegment2D(Math::Vector2D(x1, y1), Math::Vector2D(x1, y0));
      edges[GridCell::BottomEdge] = Math::LineSegment2D(Math::Vector2D(x1, y0), Math::Vector2D(x0, y0));
    }
  }
}

void CollisionGrid::Release() {
  std::vector<GridCell>().swap(m_cells);
  m_rows = 0;
  m_columns = 0;
}

void CollisionGrid::CellOf(float x, float y, int32_t& column, int32_t& row) const {
  if (m_cells.empty()) {
    column = -1;
    row = -1;
    return;
  }
  column = ClampedIndex((x - m_origin.x) / m_cellSize, m_columns);
  row = ClampedIndex((y - m_origin.y) / m_cellSize, m_rows);
}

void CollisionGrid::ClampCell(int32_t& column, int32_t& row) const {
  if (m_cells.empty()) {
    column = -1;
    row = -1;
    return;
  }
  column = ClampInt(column, m_columns);
  row = ClampInt(row, m_rows);
}

void CollisionGrid::ClearDynamic(int32_t column, int32_t row) {
  if (InGrid(column, row)) CellAt(column, row).dynamicIds.Clear();
}

void CollisionGrid::AddDynamicId(int32_t column, int32_t row, uint32_t id) {
  if (InGrid(column, row)) CellAt(column, row).dynamicIds.Add(id);
}

void CollisionGrid::AddCircleId(int32_t column, int32_t row, uint32_t id) {
  ClampCell(column, row);
  if (InGrid(column, row)) CellAt(column, row).circleIds.AddUnique(id);
}

void CollisionGrid::AddSegmentId(int32_t column, int32_t row, uint32_t id) {
  ClampCell(column, row);
  if (InGrid(column, row)) CellAt(column, row).segmentIds.AddUnique(id);
}

GridCell* CollisionGrid::GetCell(int32_t column, int32_t row) {
  return InGrid(column, row) ? &CellAt(column, row) : nullptr;
}

const GridCell* CollisionGrid::GetCell(int32_t column, int32_t row) const {
  return const_cast<CollisionGrid*>(this)->GetCell(column, row);
}

void CollisionGrid::Save(Core::File& file) const {
  Math::WriteFloat(file, m_origin.x);
  Math::WriteFloat(file, m_origin.y);
  Core::WriteValue<uint32_t>(file, m_width);
  Core::WriteValue<uint32_t>(file, m_height);
  Core::WriteValue<int32_t>(file, m_rows);
  Core::WriteValue<int32_t>(file, m_columns);
  Math::WriteFloat(file, m_cellSize);
  for (const GridCell& cell : m_cells) {  // column by column, rows inside
    cell.dynamicIds.Save(file);
    cell.circleIds.Save(file);
    cell.segmentIds.Save(file);
    for (const Math::LineSegment2D& edge : cell.edges) edge.Write(file);
  }
}

void CollisionGrid::Load(Core::File& file) {
  Release();
  Math::ReadFloat(file, m_origin.x);
  Math::ReadFloat(file, m_origin.y);
  Core::ReadValue(file, m_width);
  Core::ReadValue(file, m_height);
  const int32_t rows = Core::ReadValue<int32_t>(file);
  const int32_t columns = Core::ReadValue<int32_t>(file);
  Math::ReadFloat(file, m_cellSize);
  if (file.HasFailed()) return;
  if (rows < 0 || columns < 0 || (rows == 0) != (columns == 0)) {
    file.Fail();
    return;
  }
  if (rows == 0) return;  // a released grid
  // CellOf divides by the cell size.
  if (!std::isfinite(m_cellSize) || !(m_cellSize > 0.0f)) {
    file.Fail();
    return;
  }
  const uint64_t cellCount = static_cast<uint64_t>(rows) * static_cast<uint64_t>(columns);
  if (!file.CheckCount(cellCount, kStoredEmptyCellSize)) return;
  std::vector<GridCell> cells(static_cast<size_t>(cellCount));
  uint64_t spareBudget = kMaximumSpareIdsPerLoad;
  for (GridCell& cell : cells) {
    cell.dynamicIds.Load(file, spareBudget);
    cell.circleIds.Load(file, spareBudget);
    cell.segmentIds.Load(file, spareBudget);
    for (Math::LineSegment2D& edge : cell.edges) edge.Read(file);
    if (file.HasFailed()) return;
  }
  m_cells = std::move(cells);
  m_rows = rows;
  m_columns = columns;
}

}  // namespace Collision2D
