// Tile maps: the information-file reader on valid, Windows, truncated and hostile files, tile
// animation, copies, the stream form, and the tests of moving objects against the used cells.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <fstream>
#include <string>
#include <vector>

#include "collision/Collision_Actor.h"
#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_TileMap.h"
#include "core/Core_File.h"
#include "tests/support/TestSupport.h"

using namespace Collision2D;
using Math::Vector2D;

namespace {

// Three columns, two rows of 32; two tiles; three used cells, one of them naming the second tile.
const char kValidFile[] =
    "C: 3\n"
    "R: 2\n"
    "Dim: 32\n"
    "TileCount:  2\n"
    "\n"
    "Tile 0\n"
    "Nbr: 2\n"
    "FrameTime: 0.5 0.25\n"
    "FrameImages: 7 8\n"
    "Id: 3 4\n"
    "\n"
    "Tile 1\n"
    "Nbr: 1\n"
    "FrameTime: 1\n"
    "FrameImages: 9\n"
    "Id: 260\n"
    "\n"
    "UsedCells:  3\n"
    "(0,0,0)\n"
    "(2,1,1)\n"
    "(1,0,0)\n";

bool Parse(TileMap& map, const std::string& text, std::string* error = nullptr) {
  return map.ReadInformationFromText(text.data(), text.size(), error);
}

std::string WithCrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
  return out;
}

std::vector<unsigned char> Saved(const TileMap& map) {
  Core::MemoryFile file;
  map.Save(file);
  const auto& buffer = file.GetBuffer();
  return std::vector<unsigned char>(buffer.GetData(), buffer.GetData() + buffer.GetSize());
}

// The stream form without the serials, which differ from map to map.
std::vector<unsigned char> SavedContent(const TileMap& map) {
  std::vector<unsigned char> bytes = Saved(map);
  bytes.erase(bytes.begin(), bytes.begin() + 12);
  return bytes;
}

void ExpectValidContent(const TileMap& map) {
  EXPECT_EQ(map.GetNumberOfColumns(), 3);
  EXPECT_EQ(map.GetNumberOfRows(), 2);
  EXPECT_EQ(map.GetDimension(), 32);
  EXPECT_EQ(map.GetWidth(), 96);
  EXPECT_EQ(map.GetHeight(), 64);
  ASSERT_EQ(map.GetTileCount(), 2);
  TileMap& mutableMap = const_cast<TileMap&>(map);
  const Tile& first = *mutableMap.GetTile(0);
  EXPECT_EQ(first.GetImages(), (std::vector<uint32_t>{7, 8}));
  EXPECT_EQ(first.GetTimes(), (std::vector<float>{0.5f, 0.25f}));
  EXPECT_EQ(first.GetIds(), (std::vector<uint8_t>{3, 4}));
  EXPECT_TRUE(first.activated);
  EXPECT_EQ(mutableMap.GetTile(1)->GetIds(), (std::vector<uint8_t>{4})) << "ids keep their low byte";
  EXPECT_TRUE(map.IsCellUsed(0, 0));
  EXPECT_TRUE(map.IsCellUsed(1, 0));
  EXPECT_TRUE(map.IsCellUsed(2, 1));
  EXPECT_FALSE(map.IsCellUsed(0, 1));
  EXPECT_EQ(map.GetCell(2, 1)->tileIndex, 1);
  EXPECT_EQ(map.GetCell(2, 1)->GetCurrentId(), 4);
  EXPECT_EQ(map.GetCell(0, 1)->tileIndex, -1);
  EXPECT_EQ(map.GetCell(0, 1)->GetCurrentId(), 255);
}

}  // namespace

TEST(TileMapInformation, ReadsValidAndWindowsFilesAlike) {
  TileMap map;
  std::string error;
  ASSERT_TRUE(Parse(map, kValidFile, &error)) << error;
  ExpectValidContent(map);

  TileMap windows;
  ASSERT_TRUE(Parse(windows, WithCrLf(kValidFile), &error)) << error;
  ExpectValidContent(windows);
  EXPECT_EQ(Saved(map).size(), Saved(windows).size());

  // The same through a file on disk, with the system's backslashes in the path.
  // A folder of its own: the system's temporary folder is shared with every other test run here.
  const TestSupport::ScratchFolder folder("velkor_tilemap_");
  const std::string path = folder.Path() + "/tilemap_info.txt";
  { std::ofstream(path, std::ios::binary) << WithCrLf(kValidFile); }
  TileMap fromDisk;
  ASSERT_TRUE(fromDisk.ReadInformation(path, &error)) << error;
  ExpectValidContent(fromDisk);
  std::remove(path.c_str());

  TileMap missing;
  EXPECT_FALSE(missing.ReadInformation("/nonexistent\\tilemap.txt", &error));
  EXPECT_NE(error.find("tilemap.txt"), std::string::npos) << "the cause names the path: " << error;
  EXPECT_EQ(missing.GetNumberOfColumns(), 0);
}

TEST(TileMapInformation, EmptyMapsAndFieldOrder) {
  TileMap map;
  ASSERT_TRUE(Parse(map, "C: 3\nR: 2\nDim: 10\nTileCount:  0\n\nUsedCells:  0\n"));
  EXPECT_EQ(map.GetNumberOfColumns(), 3) << "columns come first";
  EXPECT_EQ(map.GetNumberOfRows(), 2);
  EXPECT_EQ(map.GetWidth(), 30);
  EXPECT_EQ(map.GetHeight(), 20);
  EXPECT_EQ(map.GetTileCount(), 0);
  for (int c = 0; c < 3; ++c)
    for (int r = 0; r < 2; ++r) EXPECT_FALSE(map.IsCellUsed(c, r));
  // A last entry without its line end still reads.
  ASSERT_TRUE(Parse(map, "C: 1\nR: 1\nDim: 8\nTileCount:  1\n\nT\nNbr: 1\nFrameTime: 2\nFrameImages: 5\nId: 6\n\n"
                         "UsedCells:  1\n(0,0,0)"));
  EXPECT_TRUE(map.IsCellUsed(0, 0));
}

TEST(TileMapInformation, ListValuesAndSeparators) {
  TileMap map;
  // A time too long to convert repeats the previous one; its 12 characters are consumed.
  ASSERT_TRUE(Parse(map, "C: 1\nR: 1\nDim: 8\nTileCount:  1\n\nT\nNbr: 3\nFrameTime: 0.5 1234567890122\n"
                         "FrameImages: 1 2 3\nId: 1 2 3\n\nUsedCells:  0\n"));
  EXPECT_EQ(map.GetTile(0)->GetTimes(), (std::vector<float>{0.5f, 0.5f, 2.0f}));
  // ... but a first value has nothing to repeat.
  std::string error;
  EXPECT_FALSE(Parse(map, "C: 1\nR: 1\nDim: 8\nTileCount:  1\n\nT\nNbr: 1\nFrameTime: 1234567890123\n"
                          "FrameImages: 1\nId: 1\n\nUsedCells:  0\n",
                     &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(map.GetTile(0)->GetFrameCount(), 3) << "a failed read leaves the map as it was";
}

TEST(TileMapInformation, TruncatedFilesLeaveTheMapUnchanged) {
  TileMap map;
  ASSERT_TRUE(Parse(map, kValidFile));
  const std::vector<unsigned char> before = SavedContent(map);
  const std::string full = kValidFile;
  int failures = 0;
  for (size_t length = 0; length < full.size(); ++length) {
    TileMap probe;
    ASSERT_TRUE(Parse(probe, kValidFile));
    const std::string prefix = full.substr(0, length);
    if (!Parse(probe, prefix)) {
      ++failures;
      EXPECT_EQ(SavedContent(probe), SavedContent(map)) << "prefix of " << length << " bytes changed the map";
    }
  }
  // Only the final line end may be missing.
  EXPECT_EQ(failures, static_cast<int>(full.size()) - 1);
  EXPECT_EQ(SavedContent(map), before);
}

TEST(TileMapInformation, HostileValuesAreRejected) {
  const char* const kRejected[] = {
      "C: -3\nR: 2\nDim: 32\nTileCount:  0\n\nUsedCells:  0\n",         // negative columns
      "C: 3\nR: -1\nDim: 32\nTileCount:  0\n\nUsedCells:  0\n",         // negative rows
      "C: 3\nR: 2\nDim: 0\nTileCount:  0\n\nUsedCells:  0\n",           // no cell size
      "C: 99999\nR: 99999\nDim: 1\nTileCount:  0\n\nUsedCells:  0\n",   // billions of cells
      "C: 2000000000\nR: 0\nDim: 1\nTileCount:  0\n\nUsedCells:  0\n",  // no cell, endless columns
      "C: 3\nR: 2\nDim: 2000000000\nTileCount:  0\n\nUsedCells:  0\n",  // width overflows
      "C: 3\nR: 2\nDim: 32\nTileCount:  -1\n\nUsedCells:  0\n",         // negative tile count
      "C: 3\nR: 2\nDim: 32\nTileCount:  99999999\n\nUsedCells:  0\n",   // huge tile count
      "C: 3\nR: 2\nDim: 32\nTileCount:  0\n\nUsedCells:  -4\n",         // negative entry count
      "C: 123456789012345\nR: 2\nDim: 32\nTileCount:  0\n\nUsedCells:  0\n",  // header too long
      "C: 1\nR: 1\nDim: 8\nTileCount:  1\n\nT\nNbr: -1\nFrameTime: \nFrameImages: \nId: \n\nUsedCells:  0\n",
      "C: 1\nR: 1\nDim: 8\nTileCount:  1\n\nT\nNbr: 99999\nFrameTime: 1\n",  // frames beyond the file
      "C: 1\nR: 1\nDim: 8\nTileCount:  0\n\nUsedCells:  1\n(123456789012,0,0)\n",  // part too long
      "C: 1\nR: 1\nDim: 8\nTileCount:  0\n\nUsedCells:  5\n(0,0,0)\n",  // entries beyond the file
      "",
  };
  for (const char* text : kRejected) {
    TileMap map;
    ASSERT_TRUE(Parse(map, kValidFile));
    const std::vector<unsigned char> before = SavedContent(map);
    std::string error;
    EXPECT_FALSE(Parse(map, text, &error)) << text;
    EXPECT_FALSE(error.empty()) << text;
    EXPECT_EQ(SavedContent(map), before) << text;
  }

  // Entries naming cells or tiles the map does not have are skipped; the rest still apply.
  TileMap map;
  ASSERT_TRUE(Parse(map, "C: 2\nR: 2\nDim: 8\nTileCount:  1\n\nT\nNbr: 1\nFrameTime: 1\nFrameImages: 1\nId: 9\n\n"
                         "UsedCells:  6\n(2,0,0)\n(0,2,0)\n(-1,0,0)\n(0,0,1)\n(0,0,-1)\n(1,1,0)\n"));
  EXPECT_TRUE(map.IsCellUsed(1, 1));
  EXPECT_FALSE(map.IsCellUsed(0, 0));
  EXPECT_EQ(map.GetCell(1, 1)->GetCurrentId(), 9);
}

TEST(TileMap, AnimationRectangleAndCopies) {
  TileMap map;
  ASSERT_TRUE(Parse(map, kValidFile));
  Tile& tile = *map.GetTile(0);
  map.Animate(0.3f);
  EXPECT_EQ(tile.GetCurrentFrame(), 0);
  map.Animate(0.3f);
  EXPECT_EQ(tile.GetCurrentFrame(), 1) << "0.6 >= 0.5 advances";
  EXPECT_EQ(tile.GetElapsed(), 0.0f) << "elapsed restarts at 0, not 0.1";
  EXPECT_EQ(map.GetCell(0, 0)->GetCurrentId(), 4);
  map.Animate(100.0f);
  EXPECT_EQ(tile.GetCurrentFrame(), 0) << "one frame per call at most, wrapping";
  const Tile& single = *map.GetTile(1);
  for (int i = 0; i < 5; ++i) map.Animate(10.0f);
  EXPECT_EQ(single.GetCurrentFrame(), 0) << "a single frame never changes";
  tile.activated = false;
  const int32_t frozen = tile.GetCurrentFrame();
  map.Animate(10.0f);
  map.Animate(10.0f);
  EXPECT_EQ(tile.GetCurrentFrame(), frozen) << "a deactivated tile stays";

  TileMap empty;
  empty.SetBoundingRectangle(QlnRect(10, 1, 5, 2));
  empty.SetPosition(Vector2D(100, 200));
  empty.Animate(0.1f);
  EXPECT_EQ(empty.GetCurrentBoundingRectangle(), QlnRect(210, 101, 105, 202));

  map.SetCenter(Vector2D(4, 4));
  map.SetPosition(Vector2D(50, 60));
  EXPECT_EQ(map.GetPosition(), Vector2D(46, 56));
  map.SetCenter(Vector2D(0, 0));
  EXPECT_EQ(map.GetPosition(), Vector2D(50, 60)) << "the world point stays";

  TileMap::ResetSerialCounter();
  TileMap first;
  EXPECT_EQ(first.GetSerial(), 1u);
  std::unique_ptr<TileMap> copy(map.Clone());
  EXPECT_EQ(copy->GetSerial(), 2u);
  EXPECT_EQ(copy->GetNumberOfColumns(), 3);
  EXPECT_EQ(copy->GetTileCount(), 2);
  EXPECT_EQ(copy->GetTile(0)->GetFrameCount(), 0) << "tile frames are not copied";
  EXPECT_FALSE(copy->IsCellUsed(0, 0)) << "nor are cell uses";
  EXPECT_EQ(copy->GetPosition(), map.GetPosition());
}

TEST(TileMap, StreamRoundTripAndHostileStreams) {
  TileMap map;
  ASSERT_TRUE(Parse(map, kValidFile));
  map.SetZCollision(7);
  map.SetBoundingRectangle(QlnRect(64, 0, 96, 0));
  map.SetPosition(Vector2D(5, 6));
  map.Animate(0.6f);
  const std::vector<unsigned char> bytes = Saved(map);
  SetTileMapSerialCounter(40);
  const std::vector<unsigned char> withCounter = Saved(map);

  SetTileMapSerialCounter(1);
  TileMap loaded;
  Core::MemoryFile in(withCounter.data(), static_cast<uint32_t>(withCounter.size()));
  loaded.Load(in);
  ASSERT_FALSE(in.HasFailed());
  EXPECT_EQ(in.GetRemaining(), 0u);
  EXPECT_EQ(GetTileMapSerialCounter(), 40u) << "the serial counter continues from the stored value";
  EXPECT_EQ(loaded.GetSerial(), map.GetSerial());
  EXPECT_EQ(Saved(loaded), withCounter);
  EXPECT_EQ(loaded.GetTile(0)->GetCurrentFrame(), 1);
  EXPECT_EQ(loaded.GetCell(2, 1)->tile, loaded.GetTile(1)) << "cells point into the loaded map's tiles";
  (void)bytes;

  // Every truncation fails and leaves the target as it was.
  TileMap target;
  const std::vector<unsigned char> empty = Saved(target);
  for (size_t length = 0; length < withCounter.size(); ++length) {
    Core::MemoryFile cut(withCounter.data(), static_cast<uint32_t>(length));
    target.Load(cut);
    EXPECT_TRUE(cut.HasFailed()) << length;
    EXPECT_EQ(Saved(target), empty) << length;
  }

  // A cell naming a tile the map does not have, a width that disagrees, a huge tile count.
  auto patched = [&](size_t offset, int32_t value) {
    std::vector<unsigned char> copy = withCounter;
    std::memcpy(copy.data() + offset, &value, 4);
    return copy;
  };
  const size_t sizes = 4 + 4 + 4 + 16 + 8 + 1;  // kind, counter, serial, rectangle, position, z
  const std::vector<std::vector<unsigned char>> hostile = {
      patched(withCounter.size() - 5, 2),       // last cell's tile index
      patched(sizes + 4, 95),                   // width
      patched(sizes + 20, 0x7FFFFFFF),          // tile count
      patched(sizes + 12, -2),                  // rows
      patched(0, 5),                            // kind
  };
  // No rows but two billion columns: no cell to store, yet every walk over the columns takes minutes.
  std::vector<unsigned char> endless = empty;
  for (const auto& [offset, value] : {std::pair<size_t, int32_t>{sizes, 1}, {sizes + 4, 0x7FFFFFFF}, {sizes + 16, 0x7FFFFFFF}})
    std::memcpy(endless.data() + offset, &value, 4);
  std::vector<std::vector<unsigned char>> all = hostile;
  all.push_back(endless);
  for (const auto& stream : all) {
    TileMap probe;
    Core::MemoryFile file(stream.data(), static_cast<uint32_t>(stream.size()));
    probe.Load(file);
    EXPECT_TRUE(file.HasFailed());
    EXPECT_EQ(Saved(probe).size(), empty.size());
  }
}

// --- Moving objects against the used cells ------------------------------------------------------

namespace {

// Which cell an entry names and the side of it that was crossed.
void ExpectCell(const TMAP_DATA_BASE& entry, uint32_t cellX, uint32_t cellY, uint32_t side) {
  EXPECT_EQ(entry.cellX, cellX);
  EXPECT_EQ(entry.cellY, cellY);
  EXPECT_EQ(entry.collisionSide, side);
}

// One frame: a box of the given size with its lower-left corner at the position, and hot spots.
class TileMapCollision : public ::testing::Test {
 protected:
  void SetUp() override {
    // A 10 x 10 map of cells of 10, every cell of column 5 and row 5 used, cell ids 1 + column.
    std::string text = "C: 10\nR: 10\nDim: 10\nTileCount:  10\n\n";
    for (int t = 0; t < 10; ++t)
      text += "T\nNbr: 1\nFrameTime: 1\nFrameImages: 0\nId: " + std::to_string(t + 1) + "\n\n";
    std::string cells;
    int count = 0;
    for (int i = 0; i < 10; ++i) {
      cells += "(5," + std::to_string(i) + ",5)\n";
      ++count;
      if (i != 5) {
        cells += "(" + std::to_string(i) + ",5," + std::to_string(i) + ")\n";
        ++count;
      }
    }
    text += "UsedCells:  " + std::to_string(count) + "\n" + cells;
    std::string error;
    ASSERT_TRUE(map_.ReadInformationFromText(text.data(), text.size(), &error)) << error;
    map_.SetSlot(3);
    map_.SetZCollision(9);
  }

  DynamicObject& MakeObject(const QlnRect& box, const std::vector<Vector2D>& hotSpots = {}) {
    auto* animation = new CollisionAnimation();
    auto* frame = new CollisionFrame();
    frame->SetBoundingRectangle(box, false);
    for (const Vector2D& point : hotSpots) frame->AddCollisionHotSpot(point, false);
    animation->AddCollisionFrame(frame);
    actor_.AddCollisionAnimation(animation);
    objects_.emplace_back(new DynamicObject());
    DynamicObject& object = *objects_.back();
    object.AddCollisionData(&actor_, actor_.GetAnimationCount() - 1, 0);
    object.SetCurrentCollisionFrame(actor_.GetAnimationCount() - 1, 0, false, false);
    return object;
  }

  // One pass for the object: moved from `from` to `to` (and turned).
  static void Move(DynamicObject& object, Vector2D from, Vector2D to, float fromAngle = 0, float toAngle = 0) {
    object.SetOldPosition(from);
    object.SetPosition(to);
    object.SetOldOrientation(fromAngle);
    object.SetOrientation(toAngle);
    object.Update();
  }

  static const TMAP_C& Record(const DynamicObject& object, int index = 0) {
    return object.GetCollisionData()->GetTileMapContacts()[static_cast<size_t>(index)];
  }

  TileMap map_;
  CollisionActor actor_;
  std::vector<std::unique_ptr<DynamicObject>> objects_;
};

}  // namespace

TEST_F(TileMapCollision, ResidentObjectsGetStaticEntriesInSideOrder) {
  // A 10 x 10 box covering the crossing of column 5 and row 5 cell by cell: it stays put.
  DynamicObject& object = MakeObject(QlnRect(5, -5, 5, -5));
  Move(object, Vector2D(55, 55), Vector2D(55, 55));
  map_.TestDynamicObject(object, 2);
  ASSERT_EQ(object.GetCollisionData()->GetTileMapCount(), 1);
  const TMAP_C& record = Record(object);
  EXPECT_EQ(record.id, MakeCollisionId(kTileMapIdBase + 3, 2, 9)) << "contacts name the map's slot";
  EXPECT_EQ(record.currentNewIdsNumber, 0u);
  // Box 50..60 on both axes: bottom row 5 (cols 5, 6), top row 6 (col 5), left col 5, right col 6.
  std::vector<uint32_t> sides;
  for (uint32_t i = 0; i < record.currentStaticIdsNumber; ++i) sides.push_back(record.staticEntries[i].collisionSide);
  EXPECT_EQ(sides, (std::vector<uint32_t>{6, 6, 3, 2, 2, 1})) << "side order 6, 3, 2, 1";
  EXPECT_EQ(record.staticEntries[0].cellX, 5u);
  EXPECT_EQ(record.staticEntries[1].cellX, 6u);
  EXPECT_EQ(record.staticEntries[1].id, 7) << "cell id is the tile's current id";
}

TEST_F(TileMapCollision, MovingRightIntoAUsedColumn) {
  DynamicObject& object = MakeObject(QlnRect(8, 0, 8, 0));  // an 8 x 8 box at its lower-left corner
  // From column 4 into column 5 at rows 1..1 (y 11..19).
  Move(object, Vector2D(41, 11), Vector2D(47, 11));
  map_.TestDynamicObject(object, 0);
  ASSERT_EQ(object.GetCollisionData()->GetTileMapCount(), 1);
  const TMAP_C& record = Record(object);
  ASSERT_EQ(record.currentNewIdsNumber, 1u);
  const TMAP_DATA& entry = record.newEntries[0];
  ExpectCell(entry, 5, 1, 1);
  EXPECT_EQ(entry.normal, Vector2D(-1, 0));
  EXPECT_EQ(entry.position, Vector2D(42, 11)) << "where its right edge meets the face at x = 50";
  EXPECT_EQ(entry.id, 6);
  // Then the top, left and bottom edges, which only touch cells of column 5 in the rows they span:
  // the top edge (row 1) over columns 4..5, the bottom edge likewise, the left edge in column 4.
  std::vector<uint32_t> sides;
  for (uint32_t i = 0; i < record.currentStaticIdsNumber; ++i) sides.push_back(record.staticEntries[i].collisionSide);
  EXPECT_EQ(sides, (std::vector<uint32_t>{3, 6}));

  // Nothing used on the way: no record is closed.
  DynamicObject& clear = MakeObject(QlnRect(8, 0, 8, 0));
  Move(clear, Vector2D(11, 11), Vector2D(21, 11));
  map_.TestDynamicObject(clear, 0);
  EXPECT_EQ(clear.GetCollisionData()->GetTileMapCount(), 0);
}

TEST_F(TileMapCollision, DiagonalMovesScanOldRowsAndColumnsOnly) {
  DynamicObject& object = MakeObject(QlnRect(8, 0, 8, 0));
  // Up and right from cell (4, 4) to cell (5, 5) region: right column 5, top row 5.
  Move(object, Vector2D(41, 41), Vector2D(51, 51));
  map_.TestDynamicObject(object, 0);
  const TMAP_C& record = Record(object);
  ASSERT_EQ(record.currentNewIdsNumber, 2u);
  // Column 5 over old row 4, then row 5 over old column 4; the corner cell (5, 5) is not scanned.
  ExpectCell(record.newEntries[0], 5, 4, 1);
  ExpectCell(record.newEntries[1], 4, 5, 3);
  EXPECT_EQ(record.newEntries[1].normal, Vector2D(0, -1));
}

TEST_F(TileMapCollision, HotSpotsCornersClampingAndRotation) {
  DynamicObject& object = MakeObject(QlnRect(1, -1, 1, -1), {Vector2D(0, 0)});
  object.SetBoundingRectangleCheckingTileMap(false);
  // Exactly through the corner (50, 50) of cell (5, 5), up and to the right.
  Move(object, Vector2D(45, 45), Vector2D(55, 55));
  map_.TestDynamicObject(object, 1);
  ASSERT_EQ(object.GetCollisionData()->GetTileMapCount(), 1);
  {
    const TMAP_C& record = Record(object);
    ASSERT_EQ(record.currentNewIdsNumber, 1u);
    EXPECT_EQ(record.newEntries[0].collisionSide, 4u);
    EXPECT_EQ(record.newEntries[0].normal, Vector2D(-1, -1));
    EXPECT_EQ(record.newEntries[0].position, Vector2D(50, 50));
  }

  // Passing above the corner: the cell above (4, 5) is entered first through its bottom face.
  Move(object, Vector2D(45, 47), Vector2D(51, 53));
  map_.TestDynamicObject(object, 1);
  {
    const TMAP_C& record = Record(object);
    ASSERT_EQ(record.currentNewIdsNumber, 2u);
    ExpectCell(record.newEntries[0], 4, 5, 3);
    EXPECT_FLOAT_EQ(record.newEntries[0].position.x, 48.0f);
    EXPECT_EQ(record.newEntries[1].collisionSide, 1u);
    EXPECT_EQ(record.newEntries[1].cellX, 5u);
  }

  // Outside the map the hot spot is tested against the nearest border cell: (5, 0) from below.
  Move(object, Vector2D(55, -30), Vector2D(55, -30));
  map_.TestDynamicObject(object, 1);
  {
    const TMAP_C& record = Record(object);
    ASSERT_EQ(record.currentStaticIdsNumber, 1u);
    ExpectCell(record.staticEntries[0], 5, 0, 0);
  }

  // Turned half a circle about its position, the hot spot crosses the corner (50, 50) while the
  // position stays, or moves along one axis only: nothing divides by a zero motion.
  DynamicObject& turning = MakeObject(QlnRect(1, -1, 1, -1), {Vector2D(-3, -3)});
  turning.SetBoundingRectangleCheckingTileMap(false);
  for (const Vector2D& to : {Vector2D(50, 50), Vector2D(50, 52), Vector2D(52, 50)}) {
    Move(turning, Vector2D(50, 50), to, 0.0f, 180.0f);
    map_.TestDynamicObject(turning, 1);
    const TMAP_C& record = Record(turning);
    EXPECT_GE(record.currentNewIdsNumber, 1u);
    for (uint32_t i = 0; i < record.currentNewIdsNumber; ++i) {
      EXPECT_TRUE(std::isfinite(record.newEntries[i].position.x)) << to.x << "," << to.y;
      EXPECT_TRUE(std::isfinite(record.newEntries[i].position.y)) << to.x << "," << to.y;
    }
  }
}

TEST_F(TileMapCollision, ScriptQueriesAroundAnObject) {
  EXPECT_EQ(map_.GetNeighbourCellId(45, 15, 4), 6) << "right of (4, 1) is (5, 1)";
  EXPECT_EQ(map_.GetNeighbourCellId(45, 15, 3), -1) << "(3, 1) is not used";
  EXPECT_EQ(map_.GetNeighbourCellId(45, 15, 0), -1);
  EXPECT_EQ(map_.GetNeighbourCellId(45, 15, 9), -1);
  EXPECT_EQ(map_.GetNeighbourCellId(95, 95, 5), -1) << "outside the grid";

  DynamicObject& object = MakeObject(QlnRect(8, 0, 8, 0), {Vector2D(1, 1), Vector2D(7, 7)});
  Move(object, Vector2D(41, 41), Vector2D(41, 41));
  std::vector<uint8_t> ids{99};
  map_.GetCollidedCellsIdWithBoundingRectangle(object, 5, ids);
  // Direction 5: top row (4) over columns 4..4, right column (4) over rows 4..4, then (4, 4) again:
  // none of them used.
  EXPECT_TRUE(ids.empty()) << "the list is emptied first";
  Move(object, Vector2D(51, 41), Vector2D(51, 41));
  map_.GetCollidedCellsIdWithBoundingRectangle(object, 5, ids);
  EXPECT_EQ(ids, (std::vector<uint8_t>{6, 6, 6})) << "the corner cell can appear three times";
  map_.GetCollidedCellsIdWithBoundingRectangle(object, 0, ids);
  EXPECT_TRUE(ids.empty());

  ids = {42};
  map_.GetCollidedCellsIdWithHotSpots(object, 1, ids);
  EXPECT_EQ(ids, (std::vector<uint8_t>{42, 6, 6})) << "appended, one per hot spot with a used neighbour above";
}
