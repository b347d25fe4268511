#include "collision/Collision_TileMap.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "core/Core_File.h"
#include "platform/PAL_Path.h"

namespace Collision2D {

namespace {

uint32_t g_tileMapSerialCounter = 1;

// Smallest stored forms, for checking counts against what a stream still holds.
constexpr uint64_t kStoredEmptyTileSize = 4 + 4 + 4 + 1;
constexpr uint64_t kStoredFrameSize = 4 + 4 + 1;
constexpr uint64_t kStoredCellSize = 4 + 1;

void Fail(std::string* error, const std::string& message) {
  if (error) *error = message;
}

}  // namespace

uint32_t GetTileMapSerialCounter() { return g_tileMapSerialCounter; }
void SetTileMapSerialCounter(uint32_t value) { g_tileMapSerialCounter = value; }

// --- Tile ------------------------------------------------------------------------------------

void Tile::Initialize(int32_t frameCount, const uint32_t* images, const float* times, const uint8_t* ids) {
  const size_t n = frameCount > 0 ? static_cast<size_t>(frameCount) : 0;
  m_images.assign(images, images + n);
  m_times.assign(times, times + n);
  m_ids.assign(ids, ids + n);
  m_currentFrame = 0;
  m_elapsed = 0.0f;
  activated = true;
}

void Tile::Animate(float dt) {
  if (!activated || m_images.size() < 2) return;
  m_elapsed += dt;
  if (m_times[static_cast<size_t>(m_currentFrame)] <= m_elapsed) {
    m_elapsed = 0.0f;
    m_currentFrame = (m_currentFrame + 1) % GetFrameCount();
  }
}

void Tile::Save(Core::File& file) const {
  Core::WriteValue<int32_t>(file, GetFrameCount());
  for (size_t i = 0; i < m_images.size(); ++i) {
    Core::WriteValue<uint32_t>(file, m_images[i]);
    Core::WriteValue<float>(file, m_times[i]);
    Core::WriteValue<uint8_t>(file, m_ids[i]);
  }
  Core::WriteValue<int32_t>(file, m_currentFrame);
  Core::WriteValue<float>(file, m_elapsed);
  Core::WriteValue<uint8_t>(file, activated ? 1 : 0);
}

void Tile::Load(Core::File& file) {
  const int32_t n = Core::ReadValue<int32_t>(file);
  if (file.HasFailed()) return;
  if (n < 0 || n > kMaximumTileFrames || !file.CheckCount(static_cast<uint64_t>(n), kStoredFrameSize)) {
    file.Fail();
    return;
  }
  std::vector<uint32_t> images(static_cast<size_t>(n));
  std::vector<float> times(static_cast<size_t>(n));
  std::vector<uint8_t> ids(static_cast<size_t>(n));
  for (size_t i = 0; i < images.size(); ++i) {
    images[i] = Core::ReadValue<uint32_t>(file);
    times[i] = Core::ReadValue<float>(file);
    ids[i] = Core::ReadValue<uint8_t>(file);
  }
  const int32_t currentFrame = Core::ReadValue<int32_t>(file);
  const float elapsed = Core::ReadValue<float>(file);
  const uint8_t activatedByte = Core::ReadValue<uint8_t>(file);
  if (file.HasFailed()) return;
  if (currentFrame < 0 || (n > 0 ? currentFrame >= n : currentFrame != 0)) {
    file.Fail();
    return;
  }
  m_images = std::move(images);
  m_times = std::move(times);
  m_ids = std::move(ids);
  m_currentFrame = currentFrame;
  m_elapsed = elapsed;
  activated = activatedByte != 0;
}

// --- Tile map --------------------------------------------------------------------------------

TileMap::TileMap() : MainCollisionObject(TileMapKind), m_serial(g_tileMapSerialCounter++) {}

TileMap::TileMap(const TileMap& other)
    : MainCollisionObject(other),
      m_tiles(other.m_tiles.size()),
      m_currentRectangle(other.m_currentRectangle),
      m_serial(g_tileMapSerialCounter++),
      m_localRectangle(other.m_localRectangle),
      m_position(other.m_position),
      m_centre(other.m_centre),
      m_zCollision(other.m_zCollision),
      m_dimension(other.m_dimension),
      m_width(other.m_width),
      m_height(other.m_height),
      m_rows(other.m_rows),
      m_columns(other.m_columns),
      m_cells(other.m_cells.size()) {}

TileMap* TileMap::Clone() const { return new (__FILE__, __LINE__) TileMap(*this); }

void TileMap::ResetSerialCounter() { g_tileMapSerialCounter = 1; }

void TileMap::SetCenter(const Math::Vector2D& centre) {
  m_position = m_position + m_centre - centre;
  m_centre = centre;
}

bool TileMap::IsCellUsed(int32_t column, int32_t row) const {
  const Cell* cell = GetCell(column, row);
  return cell != nullptr && cell->used;
}

Cell* TileMap::GetCell(int32_t column, int32_t row) {
  if (!IsValidCell(column, row)) return nullptr;
  return &m_cells[static_cast<size_t>(column) * static_cast<size_t>(m_rows) + static_cast<size_t>(row)];
}

const Cell* TileMap::GetCell(int32_t column, int32_t row) const {
  return const_cast<TileMap*>(this)->GetCell(column, row);
}

Tile* TileMap::GetTile(int32_t index) {
  if (index < 0 || index >= GetTileCount()) return nullptr;
  return &m_tiles[static_cast<size_t>(index)];
}

void TileMap::Animate(float dt) {
  for (Tile& tile : m_tiles) tile.Animate(dt);
  m_currentRectangle = QlnRect(m_localRectangle.top + m_position.y, m_localRectangle.left + m_position.x,
                               m_localRectangle.right + m_position.x, m_localRectangle.bottom + m_position.y);
}

void TileMap::Adopt(Content& content) {
  m_dimension = content.dimension;
  m_rows = content.rows;
  m_columns = content.columns;
  m_width = content.dimension * content.columns;
  m_height = content.dimension * content.rows;
  m_tiles = std::move(content.tiles);
  m_cells = std::move(content.cells);
  BindCells();
}

void TileMap::BindCells() {
  for (Cell& cell : m_cells) cell.tile = GetTile(cell.tileIndex);
}

// --- Information file ------------------------------------------------------------------------

namespace {

// The file's characters one at a time; a carriage return right before a line feed is dropped, so
// files written on Windows read as they do in the original text mode.
class InformationReader {
 public:
  static constexpr int kEnd = -1;

  InformationReader(const char* text, size_t size) : m_text(text), m_size(size) {}

  int Get() {
    if (m_position >= m_size) return kEnd;
    char c = m_text[m_position++];
    if (c == '\r' && m_position < m_size && m_text[m_position] == '\n') {
      c = '\n';
      ++m_position;
    }
    return static_cast<unsigned char>(c);
  }
  // False when the file ends first.
  bool Skip(int count) {
    for (int i = 0; i < count; ++i) {
      if (Get() == kEnd) return false;
    }
    return true;
  }
  // The rest of the line up to and including its line end.
  bool SkipLine() {
    for (;;) {
      const int c = Get();
      if (c == kEnd) return false;
      if (c == '\n') return true;
    }
  }

 private:
  const char* m_text;
  size_t m_size;
  size_t m_position = 0;
};

enum class FieldStatus { Converted, TooLong, Truncated };

constexpr int kFieldCharacters = 12;
constexpr int kCellPartCharacters = 11;

// Like the standard decimal conversion: leading blanks, a sign, digits up to the first non-digit;
// no digits give 0. Saturates far outside any count instead of overflowing.
int64_t ToInteger(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\v' || text[i] == '\f' ||
                             text[i] == '\r' || text[i] == '\n'))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value < (int64_t{1} << 40)) value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

float ToReal(const std::string& text) {
  const double value = std::strtod(text.c_str(), nullptr);
  if (std::isnan(value)) return 0.0f;
  if (value > FLT_MAX) return FLT_MAX;
  if (value < -FLT_MAX) return -FLT_MAX;
  return static_cast<float>(value);
}

// Up to 12 characters until a line end (header) or a blank or line end (list value). The end of
// the file ends a value that has begun; before its first character it is a truncation.
FieldStatus ReadField(InformationReader& reader, bool blankEnds, std::string& text) {
  text.clear();
  for (int i = 0; i < kFieldCharacters; ++i) {
    const int c = reader.Get();
    if (c == InformationReader::kEnd) return i == 0 ? FieldStatus::Truncated : FieldStatus::Converted;
    if (c == '\n' || (blankEnds && c == ' ')) return FieldStatus::Converted;
    text.push_back(static_cast<char>(c));
  }
  return FieldStatus::TooLong;
}

// A label of the given width, then a header value that must convert.
bool ReadHeader(InformationReader& reader, int labelWidth, int64_t& value) {
  std::string text;
  if (!reader.Skip(labelWidth) || ReadField(reader, false, text) != FieldStatus::Converted) return false;
  value = ToInteger(text);
  return true;
}

// Characters up to the terminator; a part longer than any number fails.
bool ReadCellPart(InformationReader& reader, char terminator, int64_t& value) {
  std::string text;
  for (;;) {
    const int c = reader.Get();
    if (c == InformationReader::kEnd) return false;
    if (c == terminator) break;
    if (static_cast<int>(text.size()) >= kCellPartCharacters) return false;
    text.push_back(static_cast<char>(c));
  }
  value = ToInteger(text);
  return true;
}

// A label, then n list values. A value too long to convert repeats the last converted one; when
// the first value cannot convert there is none to repeat and the list fails.
template <typename Convert, typename Value>
bool ReadList(InformationReader& reader, int labelWidth, int64_t count, Convert convert, std::vector<Value>& values) {
  values.clear();
  if (!reader.Skip(labelWidth)) return false;
  std::string text;
  for (int64_t i = 0; i < count; ++i) {
    const FieldStatus status = ReadField(reader, true, text);
    if (status == FieldStatus::Truncated) return false;
    if (status == FieldStatus::TooLong) {
      if (values.empty()) return false;
      values.push_back(values.back());
    } else {
      values.push_back(convert(text));
    }
  }
  return true;
}

}  // namespace

bool TileMap::ReadInformation(const std::string& path, std::string* error) {
  const std::string mapped = PAL::MapPath(path);
  std::ifstream file(mapped, std::ios::binary);
  if (!file) {
    Fail(error, "cannot open tile-map information file \"" + mapped + "\"");
    return false;
  }
  std::string text;
  char block[65536];
  while (file.read(block, sizeof(block)) || file.gcount() > 0) {
    text.append(block, static_cast<size_t>(file.gcount()));
    if (text.size() > kMaximumInformationFileSize) {
      Fail(error, "tile-map information file \"" + mapped + "\" is too large");
      return false;
    }
  }
  if (!ReadInformationFromText(text.data(), text.size(), error)) {
    if (error) *error = "\"" + mapped + "\": " + *error;
    return false;
  }
  return true;
}

bool TileMap::ReadInformationFromText(const char* text, size_t size, std::string* error) {
  InformationReader reader(text, size);
  int64_t columns = 0, rows = 0, dimension = 0, tileCount = 0;
  if (!ReadHeader(reader, 3, columns) || !ReadHeader(reader, 3, rows) || !ReadHeader(reader, 5, dimension) ||
      !ReadHeader(reader, 12, tileCount)) {
    Fail(error, "the header is truncated or holds a value that is not a number");
    return false;
  }
  if (columns < 0 || rows < 0 || dimension < 1 || tileCount < 0 || tileCount > kMaximumTileMapTiles) {
    Fail(error, "the map's size or tile count is out of range");
    return false;
  }
  // Each side is bounded too: a grid of no rows and two billion columns holds no cell, but every
  // walk over its columns would still take minutes.
  if (columns * rows > kMaximumTileMapCells || columns > kMaximumTileMapCells || rows > kMaximumTileMapCells ||
      dimension * columns > INT32_MAX || dimension * rows > INT32_MAX) {
    Fail(error, "the map is too large");
    return false;
  }

  Content content;
  content.columns = static_cast<int32_t>(columns);
  content.rows = static_cast<int32_t>(rows);
  content.dimension = static_cast<int32_t>(dimension);
  content.tiles.resize(static_cast<size_t>(tileCount));
  content.cells.resize(static_cast<size_t>(columns * rows));

  reader.Get();
  std::vector<float> times;
  std::vector<uint32_t> images;
  std::vector<uint8_t> ids;
  for (int64_t t = 0; t < tileCount; ++t) {
    int64_t frames = 0;
    if (!reader.SkipLine() || !ReadHeader(reader, 5, frames)) {
      Fail(error, "tile " + std::to_string(t) + " is truncated");
      return false;
    }
    if (frames < 0 || frames > kMaximumTileFrames) {
      Fail(error, "tile " + std::to_string(t) + " has a frame count out of range");
      return false;
    }
    if (!ReadList(reader, 11, frames, &ToReal, times) ||
        !ReadList(reader, 13, frames, [](const std::string& value) { return static_cast<uint32_t>(ToInteger(value)); },
                  images) ||
        !ReadList(reader, 4, frames, [](const std::string& value) { return static_cast<uint8_t>(ToInteger(value)); },
                  ids)) {
      Fail(error, "the frame lists of tile " + std::to_string(t) + " are truncated or unreadable");
      return false;
    }
    content.tiles[static_cast<size_t>(t)].Initialize(static_cast<int32_t>(frames), images.data(), times.data(),
                                                     ids.data());
    reader.Get();
  }

  int64_t entries = 0;
  if (!ReadHeader(reader, 12, entries) || entries < 0) {
    Fail(error, "the used-cell count is missing or out of range");
    return false;
  }
  for (int64_t e = 0; e < entries; ++e) {
    int64_t column = 0, row = 0, tileIndex = 0;
    if (!reader.Skip(1) || !ReadCellPart(reader, ',', column) || !ReadCellPart(reader, ',', row) ||
        !ReadCellPart(reader, ')', tileIndex)) {
      Fail(error, "used-cell entry " + std::to_string(e) + " is truncated or malformed");
      return false;
    }
    reader.Get();
    // Entries naming a cell or tile the map does not have are skipped.
    if (column < 0 || column >= columns || row < 0 || row >= rows || tileIndex < 0 || tileIndex >= tileCount) continue;
    Cell& cell = content.cells[static_cast<size_t>(column * rows + row)];
    cell.tileIndex = static_cast<int32_t>(tileIndex);
    cell.used = true;
  }
  Adopt(content);
  return true;
}

// --- Stream form -----------------------------------------------------------------------------

void TileMap::Save(Core::File& file) const {
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(TileMapKind));
  Core::WriteValue<uint32_t>(file, g_tileMapSerialCounter);
  Core::WriteValue<uint32_t>(file, m_serial);
  m_localRectangle.Write(file);
  Core::WriteValue<float>(file, m_position.x);
  Core::WriteValue<float>(file, m_position.y);
  Core::WriteValue<uint8_t>(file, m_zCollision);
  Core::WriteValue<int32_t>(file, m_dimension);
  Core::WriteValue<int32_t>(file, m_width);
  Core::WriteValue<int32_t>(file, m_height);
  Core::WriteValue<int32_t>(file, m_rows);
  Core::WriteValue<int32_t>(file, m_columns);
  Core::WriteValue<int32_t>(file, GetTileCount());
  for (const Tile& tile : m_tiles) tile.Save(file);
  for (int32_t c = 0; c < m_columns; ++c) {
    for (int32_t r = 0; r < m_rows; ++r) {
      const Cell& cell = *GetCell(c, r);
      Core::WriteValue<int32_t>(file, cell.tileIndex);
      Core::WriteValue<uint8_t>(file, cell.used ? 1 : 0);
    }
  }
}

void TileMap::Load(Core::File& file) {
  const uint32_t kind = Core::ReadValue<uint32_t>(file);
  const uint32_t counter = Core::ReadValue<uint32_t>(file);
  const uint32_t serial = Core::ReadValue<uint32_t>(file);
  QlnRect rectangle;
  rectangle.Read(file);
  Math::Vector2D position;
  position.x = Core::ReadValue<float>(file);
  position.y = Core::ReadValue<float>(file);
  const uint8_t z = Core::ReadValue<uint8_t>(file);
  const int32_t dimension = Core::ReadValue<int32_t>(file);
  const int32_t width = Core::ReadValue<int32_t>(file);
  const int32_t height = Core::ReadValue<int32_t>(file);
  const int32_t rows = Core::ReadValue<int32_t>(file);
  const int32_t columns = Core::ReadValue<int32_t>(file);
  const int32_t tileCount = Core::ReadValue<int32_t>(file);
  if (file.HasFailed()) return;
  const int64_t cellCount = static_cast<int64_t>(rows) * columns;
  if (kind != static_cast<uint32_t>(TileMapKind) || dimension < 0 || rows < 0 || columns < 0 ||
      static_cast<int64_t>(dimension) * columns != width || static_cast<int64_t>(dimension) * rows != height ||
      cellCount > kMaximumTileMapCells || rows > kMaximumTileMapCells || columns > kMaximumTileMapCells ||
      tileCount < 0 || tileCount > kMaximumTileMapTiles ||
      !file.CheckCount(static_cast<uint64_t>(tileCount) * kStoredEmptyTileSize + static_cast<uint64_t>(cellCount) *
                                                                                   kStoredCellSize,
                       1)) {
    file.Fail();
    return;
  }
  Content content;
  content.dimension = dimension;
  content.rows = rows;
  content.columns = columns;
  content.tiles.resize(static_cast<size_t>(tileCount));
  for (Tile& tile : content.tiles) {
    tile.Load(file);
    if (file.HasFailed()) return;
  }
  content.cells.resize(static_cast<size_t>(cellCount));
  for (Cell& cell : content.cells) {
    cell.tileIndex = Core::ReadValue<int32_t>(file);
    cell.used = Core::ReadValue<uint8_t>(file) != 0;
    if (cell.tileIndex < -1 || cell.tileIndex >= tileCount) file.Fail();
    if (file.HasFailed()) return;
  }
  m_tag.SetOwner(nullptr);
  g_tileMapSerialCounter = counter;
  m_serial = serial;
  m_localRectangle = rectangle;
  m_position = position;
  m_zCollision = z;
  Adopt(content);
}

}  // namespace Collision2D
