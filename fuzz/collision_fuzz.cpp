// Feeds arbitrary bytes to the collision readers that saved games and replays reach: the results
// container, the grid, an actor, the contact records and the static shapes. The first byte picks
// the reader. What loads cleanly must save and load again to the same bytes, and its writers must
// stay inside their arrays.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "collision/Collision_Actor.h"
#include "collision/Collision_Contacts.h"
#include "collision/Collision_Grid.h"
#include "collision/Collision_Results.h"
#include "collision/Collision_Shapes.h"
#include "core/Core_File.h"

namespace {

std::vector<unsigned char> Bytes(const Core::MemoryFile& file) {
  const auto& buffer = file.GetBuffer();
  return std::vector<unsigned char>(buffer.GetData(), buffer.GetData() + buffer.GetSize());
}

template <typename Object, typename LoadFn, typename SaveFn>
void CheckRoundTrip(const uint8_t* data, size_t size, LoadFn load, SaveFn save) {
  Object first;
  Core::MemoryFile in(data, static_cast<uint32_t>(size));
  load(first, in);
  if (in.HasFailed()) return;
  Core::MemoryFile out;
  save(first, out);
  const auto saved = Bytes(out);
  Object second;
  Core::MemoryFile again(saved.data(), static_cast<uint32_t>(saved.size()));
  load(second, again);
  Core::MemoryFile outAgain;
  save(second, outAgain);
  if (again.HasFailed() || Bytes(outAgain) != saved) std::abort();
}

void Exercise(Collision2D::CollisionResults& results) {
  for (int i = 0; i < 3; ++i) {
    results.CurrentBoundingRectangleContact().id = 1;
    results.NextBoundingRectangleContact();
    Collision2D::DGEO_C& dgeo = results.CurrentDynamicObjectContact();
    dgeo.CurrentCircle().userId = 2;
    dgeo.NextCircle();
    dgeo.CurrentLineSegment().userId = 3;
    dgeo.NextLineSegment();
    results.NextDynamicObjectContact();
    results.CurrentStaticCircleContact().userId = 4;
    results.NextStaticCircle();
    results.CurrentStaticLineSegmentContact().userId = 5;
    results.NextStaticLineSegment();
    results.CurrentTileMapContact().AddStaticEntry(1, 2, 3, 4, 5);
    results.CurrentTileMapContact().AddNewEntry(Collision2D::TMAP_DATA());
    results.NextTileMapContact();
  }
  results.Reset();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > (1u << 20)) return 0;
  const uint8_t selector = data[0] % 7;
  ++data;
  --size;
  switch (selector) {
    case 0: {
      CheckRoundTrip<Collision2D::CollisionResults>(
          data, size, [](auto& r, Core::File& f) { r.Load(f); }, [](auto& r, Core::File& f) { r.Save(f); });
      Collision2D::CollisionResults results;
      Core::MemoryFile in(data, static_cast<uint32_t>(size));
      results.Load(in);
      Exercise(results);
      break;
    }
    case 1: {
      CheckRoundTrip<Collision2D::CollisionGrid>(
          data, size, [](auto& g, Core::File& f) { g.Load(f); }, [](auto& g, Core::File& f) { g.Save(f); });
      Collision2D::CollisionGrid grid;
      Core::MemoryFile in(data, static_cast<uint32_t>(size));
      grid.Load(in);
      int32_t column = 0, row = 0;
      grid.CellOf(123.0f, -45.0f, column, row);
      grid.ClearDynamic(column, row);
      grid.AddDynamicId(column, row, 9536);
      grid.AddCircleId(column + 1, row - 1, 536);
      grid.AddSegmentId(-1, 1000, 3536);
      break;
    }
    case 2:
      CheckRoundTrip<Collision2D::CollisionActor>(
          data, size, [](auto& a, Core::File& f) { a.Load(f); }, [](auto& a, Core::File& f) { a.Save(f); });
      break;
    case 3:
      CheckRoundTrip<Collision2D::DGEO_C>(
          data, size, [](auto& r, Core::File& f) { r.Read(f); }, [](auto& r, Core::File& f) { r.Write(f); });
      break;
    case 4:
      CheckRoundTrip<Collision2D::TMAP_C>(
          data, size, [](auto& r, Core::File& f) { r.Read(f); }, [](auto& r, Core::File& f) { r.Write(f); });
      break;
    case 5:
      CheckRoundTrip<Collision2D::LNS_C>(
          data, size, [](auto& r, Core::File& f) { r.Read(f); }, [](auto& r, Core::File& f) { r.Write(f); });
      break;
    default:
      CheckRoundTrip<Collision2D::StaticCollisionCircle>(
          data, size, [](auto& s, Core::File& f) { s.Load(f); }, [](auto& s, Core::File& f) { s.Save(f); });
      break;
  }
  return 0;
}
