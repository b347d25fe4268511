#pragma once
// Tile maps: a static collision object made of square cells, each of which may show an animated
// tile. The layer animates the tiles every pass and tests its dynamic objects against the used
// cells; the map is filled from a tile-map information text file and saved with its layer.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "collision/Collision_Contacts.h"
#include "collision/Collision_Id.h"
#include "collision/Collision_Utilities.h"
#include "math/Math_Vector2D.h"

namespace Core { class File; }

namespace Collision2D {

class DynamicObject;

// One animated tile: per frame an image number, a display time and the id reported in contacts.
class Tile {
 public:
  static constexpr const char* ScriptClassName = "Tile";

  Tile() = default;
  Tile(const Tile&) = default;
  Tile& operator=(const Tile&) = default;
  virtual ~Tile() = default;

  // Scripts reach a tile through its map ("MyTile" of a cell), by its index: never by address.
  virtual LuaScript* GetScript() { return nullptr; }

  // n frames from the three arrays; frame 0, elapsed 0, activated.
  void Initialize(int32_t frameCount, const uint32_t* images, const float* times, const uint8_t* ids);
  // At most one frame advances per call, and only for an activated tile of two frames or more.
  void Animate(float dt);

  int32_t GetFrameCount() const { return static_cast<int32_t>(m_images.size()); }
  int32_t GetCurrentFrame() const { return m_currentFrame; }
  float GetElapsed() const { return m_elapsed; }
  // 255 / 0 for a tile without frames.
  uint8_t CurrentId() const { return m_ids.empty() ? 255 : m_ids[static_cast<size_t>(m_currentFrame)]; }
  uint32_t CurrentImage() const { return m_images.empty() ? 0 : m_images[static_cast<size_t>(m_currentFrame)]; }
  const std::vector<uint32_t>& GetImages() const { return m_images; }
  const std::vector<float>& GetTimes() const { return m_times; }
  const std::vector<uint8_t>& GetIds() const { return m_ids; }

  // Exposed as the script property "isActivated" (one byte).
  bool activated = false;

  // n; n times {image, time, id}; current frame; elapsed; activated.
  void Save(Core::File& file) const;
  // A frame count or current frame the stream cannot hold fails it.
  void Load(Core::File& file);

 private:
  std::vector<uint32_t> m_images;
  std::vector<float> m_times;
  std::vector<uint8_t> m_ids;
  int32_t m_currentFrame = 0;
  float m_elapsed = 0.0f;
};

// One grid cell of a tile map.
class Cell {
 public:
  static constexpr const char* ScriptClassName = "Cell";

  Cell() = default;
  Cell(const Cell&) = default;
  Cell& operator=(const Cell&) = default;
  virtual ~Cell() = default;

  // Scripts reach a cell through its map ("GetCell"), by its place: never by address.
  virtual LuaScript* GetScript() { return nullptr; }

  // The tile's current id; 255 without a tile.
  uint8_t GetCurrentId() const { return tile ? tile->CurrentId() : 255; }

  Tile* tile = nullptr;  // a tile of the owning map, not owned
  bool used = false;
  int32_t tileIndex = -1;
};

// Bounds a tile-map information file or a saved map may not exceed: real maps stay far below
// them, and a hostile count cannot make a read allocate without bound.
constexpr int64_t kMaximumTileMapCells = 1 << 20;
constexpr int32_t kMaximumTileMapTiles = 65536;
constexpr int32_t kMaximumTileFrames = 4096;
constexpr size_t kMaximumInformationFileSize = 64u << 20;

// Serials of tile maps: one engine-wide counter starting at 1; the collision engine's clear resets it.
uint32_t GetTileMapSerialCounter();
void SetTileMapSerialCounter(uint32_t value);

class TileMap : public MainCollisionObject {
 public:
  static constexpr const char* ScriptClassName = "CollisionTileMap";

  TileMap();
  // The description of another map (sizes, rectangle, position, centre, z, tag) with a new serial,
  // default tiles and fresh cells: tile frames and cell contents are not copied.
  TileMap(const TileMap& other);
  TileMap& operator=(const TileMap&) = delete;
  ~TileMap() override = default;

  TileMap* Clone() const;
  int PushToLua(lua_State* state) override;

  static void ResetSerialCounter();

  // --- Placement and description -------------------------------------------------------------
  // position := point - centre.
  void SetPosition(const Math::Vector2D& point) { m_position = point - m_centre; }
  // Keeps the world point.
  void SetCenter(const Math::Vector2D& centre);
  const Math::Vector2D& GetPosition() const { return m_position; }
  const Math::Vector2D& GetCenter() const { return m_centre; }
  uint8_t GetZCollision() const { return m_zCollision; }
  void SetZCollision(uint8_t z) { m_zCollision = z; }
  uint32_t GetSerial() const { return m_serial; }
  // The slot the map occupies in its layer; contacts name the map by it.
  uint32_t GetSlot() const { return m_slot; }
  void SetSlot(uint32_t slot) { m_slot = slot; }

  const QlnRect& GetBoundingRectangle() const { return m_localRectangle; }
  void SetBoundingRectangle(const QlnRect& rectangle) { m_localRectangle = rectangle; }
  const QlnRect& GetCurrentBoundingRectangle() const { return m_currentRectangle; }
  void SetCurrentBoundingRectangle(const QlnRect& rectangle) { m_currentRectangle = rectangle; }

  int32_t GetDimension() const { return m_dimension; }
  int32_t GetWidth() const { return m_width; }
  int32_t GetHeight() const { return m_height; }
  int32_t GetNumberOfRows() const { return m_rows; }
  int32_t GetNumberOfColumns() const { return m_columns; }
  int32_t GetTileCount() const { return static_cast<int32_t>(m_tiles.size()); }

  bool IsValidCell(int32_t column, int32_t row) const {
    return column >= 0 && row >= 0 && column < m_columns && row < m_rows;
  }
  // False outside the grid.
  bool IsCellUsed(int32_t column, int32_t row) const;
  // Null outside the grid.
  Cell* GetCell(int32_t column, int32_t row);
  const Cell* GetCell(int32_t column, int32_t row) const;
  Tile* GetTile(int32_t index);

  // Advances the tiles and places the current bounding rectangle at the position.
  void Animate(float dt);

  // --- Information file ------------------------------------------------------------------------
  // Fills the map from a tile-map information file (path mapped through PAL::MapPath). A file that
  // cannot be opened or does not parse leaves the map unchanged; false, with the cause in error.
  bool ReadInformation(const std::string& path, std::string* error = nullptr);
  // The same from the file's bytes.
  bool ReadInformationFromText(const char* text, size_t size, std::string* error = nullptr);

  // --- Collision tests (run by the layer for each dynamic object) ------------------------------
  // Fills the object's current tile-map record and closes it when any entry was added.
  void TestDynamicObject(DynamicObject& object, uint8_t layerIndex);
  bool TestBoundingRectangle(DynamicObject& object);
  bool TestHotSpots(DynamicObject& object);
  void TestSide(DynamicObject& object, int32_t side, bool& hit);
  void TestHotSpot(DynamicObject& object, uint32_t index, bool& hit);

  // --- Script queries --------------------------------------------------------------------------
  // The id of the used neighbour cell of (x, y) in direction 1..8; -1 when there is none.
  int8_t GetNeighbourCellId(float x, float y, int32_t direction) const;
  void GetCollidedCellsIdWithBoundingRectangle(const DynamicObject& object, int32_t direction,
                                               std::vector<uint8_t>& ids) const;
  void GetCollidedCellsIdWithHotSpots(const DynamicObject& object, int32_t direction,
                                      std::vector<uint8_t>& ids) const;

  // --- Stream form -----------------------------------------------------------------------------
  // Kind, serial counter, serial, rectangle, position, z, sizes, tiles, cells.
  void Save(Core::File& file) const;
  // A stream that is short, sizes that disagree or cannot be right, or tile indices outside the
  // map fail the stream and leave the map unchanged; success sets the serial counter.
  void Load(Core::File& file);

 private:
  struct Content {
    int32_t dimension = 0;
    int32_t rows = 0;
    int32_t columns = 0;
    std::vector<Tile> tiles;
    std::vector<Cell> cells;  // column-major: (c, r) at c * rows + r
  };
  void Adopt(Content& content);
  void BindCells();
  // Cell index of a map-relative coordinate: truncation toward zero, bounded far outside any map.
  int32_t IndexOf(float relative) const;
  bool Counts(int32_t column, int32_t row) const { return IsCellUsed(column, row); }
  void ClampCell(int32_t& column, int32_t& row) const;
  // A new entry for a counting cell.
  void AddNew(TMAP_C& record, int32_t column, int32_t row, int32_t side, const Math::Vector2D& position,
              uint32_t hotSpotIndex, float zAngle, bool& hit) const;

  std::vector<Tile> m_tiles;
  QlnRect m_currentRectangle;
  uint32_t m_serial;
  uint32_t m_slot = 0;
  QlnRect m_localRectangle;
  Math::Vector2D m_position;
  Math::Vector2D m_centre;
  uint8_t m_zCollision = 0;
  int32_t m_dimension = 0;
  int32_t m_width = 0;
  int32_t m_height = 0;
  int32_t m_rows = 0;
  int32_t m_columns = 0;
  std::vector<Cell> m_cells;
};

}  // namespace Collision2D
