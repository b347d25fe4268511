// Feeds arbitrary bytes to the two tile-map readers: the information text file and the saved-game
// stream. A failed read must leave the map as it was; a map that reads must be consistent (every
// used cell inside the grid, every bound tile one of the map's own) and must save and load again
// to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "collision/Collision_TileMap.h"
#include "core/Core_File.h"

namespace {

std::vector<unsigned char> Saved(const Collision2D::TileMap& map) {
  Core::MemoryFile file;
  map.Save(file);
  const auto& buffer = file.GetBuffer();
  return std::vector<unsigned char>(buffer.GetData(), buffer.GetData() + buffer.GetSize());
}

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckConsistent(Collision2D::TileMap& map) {
  Require(map.GetWidth() == map.GetDimension() * map.GetNumberOfColumns());
  Require(map.GetHeight() == map.GetDimension() * map.GetNumberOfRows());
  for (int32_t c = 0; c < map.GetNumberOfColumns(); ++c) {
    for (int32_t r = 0; r < map.GetNumberOfRows(); ++r) {
      const Collision2D::Cell* cell = map.GetCell(c, r);
      Require(cell != nullptr);
      Require(cell->tile == map.GetTile(cell->tileIndex));
      cell->GetCurrentId();
    }
  }
  map.Animate(0.25f);
  map.GetNeighbourCellId(3.0f, 5.0f, 5);
}

void CheckRoundTrip(const Collision2D::TileMap& map) {
  const std::vector<unsigned char> first = Saved(map);
  Collision2D::TileMap again;
  Core::MemoryFile in(first.data(), static_cast<uint32_t>(first.size()));
  again.Load(in);
  Require(!in.HasFailed());
  Require(Saved(again) == first);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  {
    Collision2D::TileMap map;
    const std::vector<unsigned char> before = Saved(map);
    if (map.ReadInformationFromText(reinterpret_cast<const char*>(data), size)) {
      CheckConsistent(map);
      CheckRoundTrip(map);
    } else {
      Require(Saved(map) == before);
    }
  }
  {
    Collision2D::TileMap map;
    const std::vector<unsigned char> before = Saved(map);
    Core::MemoryFile in(data, static_cast<uint32_t>(size));
    map.Load(in);
    if (in.HasFailed()) {
      Require(Saved(map) == before);
    } else {
      CheckConsistent(map);
      CheckRoundTrip(map);
    }
  }
  return 0;
}
