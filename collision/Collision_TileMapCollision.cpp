// The tests of dynamic objects against a tile map: cells entered become new entries of the object's
// tile-map record, cells touched static ones; and the cell queries scripts make around an object.
#include <algorithm>
#include <cmath>

#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_TileMap.h"

namespace Collision2D {

namespace {

enum Side : int32_t {
  RightSide = 1,  // the object's right edge meets a cell's left face
  LeftSide = 2,
  TopSide = 3,
  UpRight = 4,
  UpLeft = 5,
  BottomSide = 6,
  DownRight = 7,
  DownLeft = 8,
};

Math::Vector2D NormalOf(int32_t side) {
  switch (side) {
    case RightSide: return Math::Vector2D(-1.0f, 0.0f);
    case LeftSide: return Math::Vector2D(1.0f, 0.0f);
    case TopSide: return Math::Vector2D(0.0f, -1.0f);
    case BottomSide: return Math::Vector2D(0.0f, 1.0f);
    case UpRight: return Math::Vector2D(-1.0f, -1.0f);
    case UpLeft: return Math::Vector2D(1.0f, -1.0f);
    case DownRight: return Math::Vector2D(-1.0f, 1.0f);
    case DownLeft: return Math::Vector2D(1.0f, 1.0f);
    default: return Math::Vector2D();
  }
}

constexpr int32_t kFarOutside = 1 << 30;

// Hot spots of the current frame that both world lists hold.
size_t HotSpotCount(const DynamicObject& object) {
  const CollisionFrame* frame = object.GetCurrentFrame();
  if (!frame) return 0;
  return std::min({frame->GetHotSpots().size(), object.GetOldHotSpots().size(), object.GetCurrentHotSpots().size()});
}

}  // namespace

int32_t TileMap::IndexOf(float relative) const {
  const float cells = relative / static_cast<float>(m_dimension);
  // NaN and values no cell index can hold land far outside the map.
  if (!(cells > -static_cast<float>(kFarOutside))) return -kFarOutside;
  if (cells >= static_cast<float>(kFarOutside)) return kFarOutside;
  return static_cast<int32_t>(cells);
}

void TileMap::ClampCell(int32_t& column, int32_t& row) const {
  column = std::min(column, m_columns - 1);
  column = std::max(column, 0);
  row = std::min(row, m_rows - 1);
  row = std::max(row, 0);
}

void TileMap::AddNew(TMAP_C& record, int32_t column, int32_t row, int32_t side, const Math::Vector2D& position,
                     uint32_t hotSpotIndex, float zAngle, bool& hit) const {
  if (!Counts(column, row)) return;
  TMAP_DATA entry;
  entry.id = GetCell(column, row)->GetCurrentId();
  entry.cellX = static_cast<uint32_t>(column);
  entry.cellY = static_cast<uint32_t>(row);
  entry.collisionSide = static_cast<uint32_t>(side);
  entry.hotSpotIndex = hotSpotIndex;
  entry.position = position;
  entry.normal = NormalOf(side);
  entry.zAngle = zAngle;
  record.AddNewEntry(entry);
  hit = true;
}

void TileMap::TestDynamicObject(DynamicObject& object, uint8_t layerIndex) {
  CollisionResults& results = *object.GetCollisionData();
  const bool hit = object.GetBoundingRectangleCheckingTileMap() ? TestBoundingRectangle(object) : TestHotSpots(object);
  if (!hit) return;
  // The map's slot, not its serial: after a duplicate the two no longer agree, and the slot is
  // what names the map in its layer.
  results.CurrentTileMapContact().id = MakeCollisionId(kTileMapIdBase + m_slot, layerIndex, m_zCollision);
  results.NextTileMapContact();
}

void TileMap::TestSide(DynamicObject& object, int32_t side, bool& hit) {
  if (m_dimension <= 0) return;
  TMAP_C& record = object.GetCollisionData()->CurrentTileMapContact();
  const QlnRect& rectangle = object.GetWorldRectangle();
  const int32_t left = IndexOf(rectangle.left - m_position.x);
  const int32_t right = IndexOf(rectangle.right - m_position.x);
  const int32_t bottom = IndexOf(rectangle.bottom - m_position.y);
  const int32_t top = IndexOf(rectangle.top - m_position.y);
  auto add = [&](int32_t column, int32_t row) {
    if (!Counts(column, row)) return;
    record.AddStaticEntry(GetCell(column, row)->GetCurrentId(), static_cast<uint32_t>(column),
                          static_cast<uint32_t>(row), static_cast<uint32_t>(side), 0);
    hit = true;
  };
  // Ranges are cut to the grid: cells outside it never count, and a huge rectangle must not cost
  // a walk over cells that do not exist.
  const int32_t firstRow = std::max(bottom, 0), lastRow = std::min(top, m_rows - 1);
  const int32_t firstColumn = std::max(left, 0), lastColumn = std::min(right, m_columns - 1);
  switch (side) {
    case RightSide:
    case LeftSide: {
      const int32_t column = side == RightSide ? right : left;
      for (int32_t row = firstRow; row <= lastRow; ++row) add(column, row);
      break;
    }
    case TopSide:
    case BottomSide: {
      const int32_t row = side == TopSide ? top : bottom;
      for (int32_t column = firstColumn; column <= lastColumn; ++column) add(column, row);
      break;
    }
    default:
      break;
  }
}

bool TileMap::TestBoundingRectangle(DynamicObject& object) {
  TMAP_C& record = object.GetCollisionData()->CurrentTileMapContact();
  record.tileMapOwner = m_tag.GetOwner();
  if (m_dimension <= 0 || m_cells.empty()) return false;
  bool hit = false;
  const QlnRect& oldRectangle = object.GetOldWorldRectangle();
  const QlnRect& rectangle = object.GetWorldRectangle();
  const float px = m_position.x, py = m_position.y;
  const int32_t oldLeft = IndexOf(oldRectangle.left - px), oldRight = IndexOf(oldRectangle.right - px);
  const int32_t oldBottom = IndexOf(oldRectangle.bottom - py), oldTop = IndexOf(oldRectangle.top - py);
  const int32_t newLeft = IndexOf(rectangle.left - px), newRight = IndexOf(rectangle.right - px);
  const int32_t newBottom = IndexOf(rectangle.bottom - py), newTop = IndexOf(rectangle.top - py);

  const float ox = object.GetPosition().x, oy = object.GetPosition().y;
  const float offLeft = rectangle.left - ox - px, offRight = rectangle.right - ox - px;
  const float offTop = rectangle.top - oy - py, offBottom = rectangle.bottom - oy - py;

  const int32_t horizontal = oldRight < newRight ? RightSide : (oldLeft > newLeft ? LeftSide : 0);
  const int32_t vertical = oldTop < newTop ? TopSide : (oldBottom > newBottom ? BottomSide : 0);

  // New entries along one column (sides 1, 2) or one row (sides 3, 6) over a range cut to the grid.
  auto scanColumn = [&](int32_t column, int32_t firstRow, int32_t lastRow, int32_t side) {
    if (column < 0 || column >= m_columns) return;
    const float x = side == RightSide ? static_cast<float>(column * m_dimension) - offRight
                                      : static_cast<float>((column + 1) * m_dimension) - offLeft;
    for (int32_t row = std::max(firstRow, 0); row <= std::min(lastRow, m_rows - 1); ++row)
      AddNew(record, column, row, side, Math::Vector2D(x, oy), 0, 0.0f, hit);
  };
  auto scanRow = [&](int32_t row, int32_t firstColumn, int32_t lastColumn, int32_t side) {
    if (row < 0 || row >= m_rows) return;
    const float y = side == TopSide ? static_cast<float>(row * m_dimension) - offTop
                                    : static_cast<float>((row + 1) * m_dimension) - offBottom;
    for (int32_t column = std::max(firstColumn, 0); column <= std::min(lastColumn, m_columns - 1); ++column)
      AddNew(record, column, row, side, Math::Vector2D(ox, y), 0, 0.0f, hit);
  };
  switch (horizontal + vertical) {
    case 0:
      TestSide(object, BottomSide, hit);
      TestSide(object, TopSide, hit);
      TestSide(object, LeftSide, hit);
      TestSide(object, RightSide, hit);
      break;
    case RightSide:
      scanColumn(newRight, newBottom, newTop, RightSide);
      TestSide(object, TopSide, hit);
      TestSide(object, LeftSide, hit);
      TestSide(object, BottomSide, hit);
      break;
    case LeftSide:
      scanColumn(newLeft, newBottom, newTop, LeftSide);
      TestSide(object, TopSide, hit);
      TestSide(object, RightSide, hit);
      TestSide(object, BottomSide, hit);
      break;
    case TopSide:
      scanRow(newTop, newLeft, newRight, TopSide);
      TestSide(object, RightSide, hit);
      TestSide(object, LeftSide, hit);
      TestSide(object, BottomSide, hit);
      break;
    case BottomSide:
      scanRow(newBottom, newLeft, newRight, BottomSide);
      TestSide(object, TopSide, hit);
      TestSide(object, LeftSide, hit);
      TestSide(object, RightSide, hit);
      break;
    case UpRight:
      scanColumn(newRight, oldBottom, oldTop, RightSide);
      scanRow(newTop, oldLeft, oldRight, TopSide);
      TestSide(object, LeftSide, hit);
      TestSide(object, BottomSide, hit);
      break;
    case UpLeft:
      scanColumn(newLeft, oldBottom, oldTop, LeftSide);
      scanRow(newTop, oldLeft, oldRight, TopSide);
      TestSide(object, RightSide, hit);
      TestSide(object, BottomSide, hit);
      break;
    case DownRight:
      scanColumn(newRight, oldBottom, oldTop, RightSide);
      scanRow(newBottom, oldLeft, oldRight, BottomSide);
      TestSide(object, TopSide, hit);
      TestSide(object, LeftSide, hit);
      break;
    case DownLeft:
      scanColumn(newLeft, oldBottom, oldTop, LeftSide);
      scanRow(newBottom, oldLeft, oldRight, BottomSide);
      TestSide(object, TopSide, hit);
      TestSide(object, RightSide, hit);
      break;
    default:
      break;
  }
  return hit;
}

void TileMap::TestHotSpot(DynamicObject& object, uint32_t index, bool& hit) {
  if (m_dimension <= 0 || m_cells.empty() || index >= HotSpotCount(object)) return;
  const Math::Vector2D& point = *object.GetCurrentHotSpots()[index];
  int32_t column = IndexOf(point.x - m_position.x);
  int32_t row = IndexOf(point.y - m_position.y);
  ClampCell(column, row);
  if (!Counts(column, row)) return;
  object.GetCollisionData()->CurrentTileMapContact().AddStaticEntry(
      GetCell(column, row)->GetCurrentId(), static_cast<uint32_t>(column), static_cast<uint32_t>(row), 0, index);
  hit = true;
}

bool TileMap::TestHotSpots(DynamicObject& object) {
  TMAP_C& record = object.GetCollisionData()->CurrentTileMapContact();
  record.tileMapOwner = m_tag.GetOwner();
  if (m_dimension <= 0 || m_cells.empty()) return false;
  bool hit = false;
  const Math::Vector2D& position = object.GetPosition();
  const float x0 = object.GetOldPosition().x, y0 = object.GetOldPosition().y;
  const float x1 = position.x, y1 = position.y;
  const float dx = x1 - x0, dy = y1 - y0;
  const float zAngle = object.GetOldOrientation();
  const size_t count = HotSpotCount(object);
  for (size_t i = 0; i < count; ++i) {
    const uint32_t index = static_cast<uint32_t>(i);
    const Math::Vector2D& oldPoint = *object.GetOldHotSpots()[i];
    const Math::Vector2D& newPoint = *object.GetCurrentHotSpots()[i];
    const Math::Vector2D offset = newPoint - position;
    int32_t oldColumn = IndexOf(oldPoint.x - m_position.x), oldRow = IndexOf(oldPoint.y - m_position.y);
    int32_t newColumn = IndexOf(newPoint.x - m_position.x), newRow = IndexOf(newPoint.y - m_position.y);
    ClampCell(oldColumn, oldRow);
    ClampCell(newColumn, newRow);
    const int32_t horizontal = oldColumn < newColumn ? RightSide : (oldColumn > newColumn ? LeftSide : 0);
    const int32_t vertical = oldRow < newRow ? TopSide : (oldRow > newRow ? BottomSide : 0);
    const int32_t code = horizontal + vertical;

    // The object's position at which the hot spot lies on a vertical face x or a horizontal face y
    // of the map. Along a motion with no component across the face (the hot spot was carried over
    // by rotation alone) there is no such point on the path: the current position stands in.
    auto throughVerticalFace = [&](float faceX) {
      const float x = m_position.x + faceX - offset.x;
      return Math::Vector2D(x, dx != 0.0f ? y0 + (x - x0) * dy / dx : y1);
    };
    auto throughHorizontalFace = [&](float faceY) {
      const float y = m_position.y + faceY - offset.y;
      return Math::Vector2D(dy != 0.0f ? x0 + (y - y0) * dx / dy : x1, y);
    };
    const float columnFace = static_cast<float>(newColumn * m_dimension);
    const float nextColumnFace = static_cast<float>((newColumn + 1) * m_dimension);
    const float rowFace = static_cast<float>(newRow * m_dimension);
    const float nextRowFace = static_cast<float>((newRow + 1) * m_dimension);

    switch (code) {
      case 0:
        TestHotSpot(object, index, hit);
        break;
      case RightSide:
        AddNew(record, newColumn, newRow, code,
               Math::Vector2D(m_position.x + columnFace - offset.x, y1), index, zAngle, hit);
        break;
      case LeftSide:
        AddNew(record, newColumn, newRow, code,
               Math::Vector2D(m_position.x + nextColumnFace - offset.x, y1), index, zAngle, hit);
        break;
      case TopSide:
        AddNew(record, newColumn, newRow, code, Math::Vector2D(x1, m_position.y + rowFace - offset.y), index,
               zAngle, hit);
        break;
      case BottomSide:
        AddNew(record, newColumn, newRow, code, Math::Vector2D(x1, m_position.y + nextRowFace - offset.y), index,
               zAngle, hit);
        break;
      default: {
        const float cornerX = (code == UpRight || code == DownRight) ? columnFace : nextColumnFace;
        const float cornerY = (code == UpRight || code == UpLeft) ? rowFace : nextRowFace;
        // The corner in the object's position space, so that it compares with the object's path.
        const float cx = m_position.x + cornerX - offset.x, cy = m_position.y + cornerY - offset.y;
        const float cross = (cx - x0) * dy - (cy - y0) * dx;
        if (cross == 0.0f) {
          AddNew(record, newColumn, newRow, code, Math::Vector2D(cx, cy), index, zAngle, hit);
          break;
        }
        const int32_t verticalSide = vertical;      // through a horizontal face: 3 up, 6 down
        const int32_t horizontalSide = horizontal;  // through a vertical face: 1 right, 2 left
        const float faceX = horizontalSide == RightSide ? columnFace : nextColumnFace;
        const float faceY = verticalSide == TopSide ? rowFace : nextRowFace;
        // The horizontal face line is reached before the vertical one exactly when the path passes
        // the corner on the far side of it; without motion along an axis that axis's face is
        // crossed last.
        bool verticalFirst;
        if (dx == 0.0f) {
          verticalFirst = true;
        } else if (dy == 0.0f) {
          verticalFirst = false;
        } else {
          verticalFirst = (cross > 0.0f) == (dx * dy > 0.0f);
        }
        if (verticalFirst) {
          AddNew(record, oldColumn, newRow, verticalSide, throughHorizontalFace(faceY), index, zAngle, hit);
          AddNew(record, newColumn, newRow, horizontalSide, throughVerticalFace(faceX), index, zAngle, hit);
        } else {
          AddNew(record, newColumn, oldRow, horizontalSide, throughVerticalFace(faceX), index, zAngle, hit);
          AddNew(record, newColumn, newRow, verticalSide, throughHorizontalFace(faceY), index, zAngle, hit);
        }
        break;
      }
    }
  }
  return hit;
}

int8_t TileMap::GetNeighbourCellId(float x, float y, int32_t direction) const {
  if (m_dimension <= 0) return -1;
  int32_t column = IndexOf(x - m_position.x);
  int32_t row = IndexOf(y - m_position.y);
  switch (direction) {
    case 1: ++row; break;
    case 2: --row; break;
    case 3: --column; break;
    case 4: ++column; break;
    case 5: ++column, ++row; break;
    case 6: ++column, --row; break;
    case 7: --column, ++row; break;
    case 8: --column, --row; break;
    default: return -1;
  }
  if (!Counts(column, row)) return -1;
  return static_cast<int8_t>(GetCell(column, row)->GetCurrentId());
}

void TileMap::GetCollidedCellsIdWithHotSpots(const DynamicObject& object, int32_t direction,
                                             std::vector<uint8_t>& ids) const {
  const CollisionFrame* frame = object.GetCurrentFrame();
  if (!frame) return;
  const size_t count = std::min(frame->GetHotSpots().size(), object.GetCurrentHotSpots().size());
  for (size_t i = 0; i < count; ++i) {
    const Math::Vector2D& point = *object.GetCurrentHotSpots()[i];
    const uint8_t id = static_cast<uint8_t>(GetNeighbourCellId(point.x, point.y, direction));
    if (id != 255) ids.push_back(id);
  }
}

void TileMap::GetCollidedCellsIdWithBoundingRectangle(const DynamicObject& object, int32_t direction,
                                                      std::vector<uint8_t>& ids) const {
  ids.clear();
  if (m_dimension <= 0) return;
  const QlnRect& rectangle = object.GetWorldRectangle();
  const int32_t left = IndexOf(rectangle.left - m_position.x);
  const int32_t right = IndexOf(rectangle.right - m_position.x);
  const int32_t bottom = IndexOf(rectangle.bottom - m_position.y);
  const int32_t top = IndexOf(rectangle.top - m_position.y);
  auto add = [&](int32_t column, int32_t row) {
    if (Counts(column, row)) ids.push_back(GetCell(column, row)->GetCurrentId());
  };
  auto scanRow = [&](int32_t row) {
    if (row < 0 || row >= m_rows) return;
    for (int32_t column = std::max(left, 0); column <= std::min(right, m_columns - 1); ++column) add(column, row);
  };
  auto scanColumn = [&](int32_t column) {
    if (column < 0 || column >= m_columns) return;
    for (int32_t row = std::max(bottom, 0); row <= std::min(top, m_rows - 1); ++row) add(column, row);
  };
  switch (direction) {
    case 1: scanRow(top); break;
    case 2: scanRow(bottom); break;
    case 3: scanColumn(left); break;
    case 4: scanColumn(right); break;
    case 5: scanRow(top), scanColumn(right), add(right, top); break;
    case 6: scanRow(bottom), scanColumn(right), add(right, bottom); break;
    case 7: scanRow(top), scanColumn(left), add(left, top); break;
    case 8: scanRow(bottom), scanColumn(left), add(left, bottom); break;
    default: break;
  }
}

}  // namespace Collision2D
