#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "collision/Collision_Grid.h"
#include "core/Core_File.h"
#include "tests/collision/CollisionTestSupport.h"

using namespace Collision2D;
using CollisionTest::Stored;
using CollisionTest::StreamBuilder;
using Math::Vector2D;

TEST(CollisionGrid, CellOfAPointAtTheEdgesAndOutside) {
  CollisionGrid grid;
  grid.Create(Vector2D(0, 0), 500, 400, 8, 10, 50);
  CollisionGrid shifted;
  shifted.Create(Vector2D(-100, 100), 200, 200, 3, 3, 100);
  const float kNaN = std::numeric_limits<float>::quiet_NaN();
  const float kInfinity = std::numeric_limits<float>::infinity();
  struct Case {
    const CollisionGrid& grid;
    float x, y;
    int32_t column, row;
  } cases[] = {
      {grid, 49.9f, 0, 0, 0},     {grid, 50, 0, 1, 0},         {grid, -20, 30, 0, 0},
      {grid, 1000, 1000, 9, 7},   {grid, 500, 400, 9, 7},      // the far edge belongs to the last cell
      {grid, kNaN, -1e30f, 0, 0}, {grid, 1e30f, kInfinity, 9, 7},
      {shifted, -1, 199, 0, 0},   {shifted, 0, 200, 1, 1},
  };
  for (const Case& c : cases) {
    int32_t column = -1, row = -1;
    c.grid.CellOf(c.x, c.y, column, row);
    EXPECT_EQ(column, c.column) << c.x << "," << c.y;
    EXPECT_EQ(row, c.row) << c.x << "," << c.y;
  }
}

TEST(CollisionGrid, CellEdgesAreRelativeToTheOrigin) {
  CollisionGrid grid;
  grid.Create(Vector2D(1000, 1000), 100, 100, 2, 2, 50);
  const GridCell* cell = grid.GetCell(1, 0);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->edges[GridCell::TopEdge].pointA, Vector2D(50, 50));
  EXPECT_EQ(cell->edges[GridCell::TopEdge].pointB, Vector2D(100, 50));
  EXPECT_EQ(cell->edges[GridCell::LeftEdge].pointA, Vector2D(50, 0));
  EXPECT_EQ(cell->edges[GridCell::LeftEdge].pointB, Vector2D(50, 50));
  EXPECT_EQ(cell->edges[GridCell::RightEdge].pointA, Vector2D(100, 50));
  EXPECT_EQ(cell->edges[GridCell::RightEdge].pointB, Vector2D(100, 0));
  EXPECT_EQ(cell->edges[GridCell::BottomEdge].pointA, Vector2D(100, 0));
  EXPECT_EQ(cell->edges[GridCell::BottomEdge].pointB, Vector2D(50, 0));
  EXPECT_EQ(grid.GetCell(2, 0), nullptr);
  EXPECT_EQ(grid.GetCell(0, -1), nullptr);
}

TEST(CollisionGrid, ListsDedupeStaticIdsClampAndGrowByTen) {
  CollisionGrid grid;
  grid.Create(Vector2D(0, 0), 640, 480, 4, 6, 100);
  grid.AddCircleId(2, 1, 536);
  grid.AddCircleId(2, 1, 536);
  EXPECT_EQ(grid.GetCell(2, 1)->circleIds.GetCount(), 1u);
  grid.AddSegmentId(-3, 99, 3536);  // clamped into the corner cell
  grid.AddSegmentId(0, 3, 3536);
  EXPECT_EQ(grid.GetCell(0, 3)->segmentIds.GetCount(), 1u);
  grid.AddDynamicId(1, 1, 9536);
  grid.AddDynamicId(1, 1, 9536);
  EXPECT_EQ(grid.GetCell(1, 1)->dynamicIds.GetCount(), 2u) << "the dynamic list allows duplicates";
  grid.AddDynamicId(6, 0, 9537);  // outside: ignored, not written past the grid
  grid.AddDynamicId(-1, 0, 9537);

  for (uint32_t id = 0; id < 10; ++id) grid.AddCircleId(3, 3, 600 + id);
  EXPECT_EQ(grid.GetCell(3, 3)->circleIds.GetCapacity(), 10u);
  grid.AddCircleId(3, 3, 700);
  EXPECT_EQ(grid.GetCell(3, 3)->circleIds.GetCapacity(), 20u);
  EXPECT_EQ(grid.GetCell(3, 3)->circleIds[10], 700u);

  grid.ClearDynamic(1, 1);
  EXPECT_EQ(grid.GetCell(1, 1)->dynamicIds.GetCount(), 0u);
  EXPECT_EQ(grid.GetCell(1, 1)->dynamicIds.GetCapacity(), 10u) << "clearing keeps the storage";
}

TEST(CollisionGrid, SaveLoadRoundTripAndReleasedGridSavesEmpty) {
  CollisionGrid grid;
  grid.Create(Vector2D(-5, 7), 300, 200, 3, 4, 100);
  grid.AddCircleId(1, 2, 540);
  grid.AddSegmentId(3, 0, 3600);
  for (uint32_t id = 0; id < 12; ++id) grid.AddDynamicId(2, 1, 9536 + id);
  const auto bytes = Stored(grid);
  const size_t cellBytes = 3 * 8 + 64;
  EXPECT_EQ(bytes.size(), 28u + 12 * cellBytes + 4 + 4 + 12 * 4);

  CollisionGrid back;
  Core::MemoryFile in(bytes.data(), static_cast<uint32_t>(bytes.size()));
  back.Load(in);
  ASSERT_FALSE(in.HasFailed());
  EXPECT_EQ(back.GetRows(), 3);
  EXPECT_EQ(back.GetColumns(), 4);
  EXPECT_EQ(back.GetCell(2, 1)->dynamicIds.GetCapacity(), 20u);
  EXPECT_EQ(back.GetCell(2, 1)->dynamicIds[11], 9547u);
  EXPECT_EQ(Stored(back), bytes);

  grid.Release();
  EXPECT_EQ(grid.GetRows(), 0);
  EXPECT_EQ(grid.GetColumns(), 0);
  int32_t column = 0, row = 0;
  grid.CellOf(10, 10, column, row);
  EXPECT_EQ(column, -1);
  grid.AddDynamicId(column, row, 1);
  grid.AddCircleId(0, 0, 1);
  const auto released = Stored(grid);
  EXPECT_EQ(released.size(), 28u) << "no cells after a release";
  CollisionGrid empty;
  Core::MemoryFile emptyIn(released.data(), static_cast<uint32_t>(released.size()));
  empty.Load(emptyIn);
  EXPECT_FALSE(emptyIn.HasFailed());
  EXPECT_EQ(empty.GetCell(0, 0), nullptr);
}

TEST(CollisionGrid, HostileStreamsFailCleanly) {
  auto header = [](int32_t rows, int32_t columns, float cellSize) {
    StreamBuilder stream;
    stream.F32(0).F32(0).U32(100).U32(100).I32(rows).I32(columns).F32(cellSize);
    return stream;
  };
  {
    auto stream = header(1 << 20, 1 << 20, 50);
    Core::MemoryFile in = stream.File();
    CollisionGrid grid;
    grid.Load(in);
    EXPECT_TRUE(in.HasFailed()) << "more cells than the stream holds";
    EXPECT_EQ(grid.GetRows(), 0);
  }
  for (auto stream : {header(-1, 2, 50), header(2, 0, 50), header(1, 1, 0), header(1, 1, -50),
                      header(1, 1, std::numeric_limits<float>::quiet_NaN())}) {
    stream.Zeros(88);
    Core::MemoryFile in = stream.File();
    CollisionGrid grid;
    grid.Load(in);
    EXPECT_TRUE(in.HasFailed());
    EXPECT_EQ(grid.GetCell(0, 0), nullptr);
  }
  {
    auto stream = header(1, 1, 50);
    stream.U32(10).U32(11).Zeros(44).U32(0).U32(0).U32(0).U32(0).Zeros(64);
    Core::MemoryFile in = stream.File();
    CollisionGrid grid;
    grid.Load(in);
    EXPECT_TRUE(in.HasFailed()) << "count above capacity";
    EXPECT_EQ(grid.GetCell(0, 0), nullptr);
  }
  {
    auto stream = header(1, 1, 50);
    stream.U32(0xFFFFFFFFu).U32(0).U32(0).U32(0).U32(0).U32(0).Zeros(64);
    Core::MemoryFile in = stream.File();
    CollisionGrid grid;
    grid.Load(in);
    EXPECT_TRUE(in.HasFailed()) << "a capacity no scene reaches";
  }
  {
    auto stream = header(1, 1, 50);
    stream.U32(10).U32(0x40000000u).Zeros(64);
    Core::MemoryFile in = stream.File();
    CollisionGrid grid;
    grid.Load(in);
    EXPECT_TRUE(in.HasFailed()) << "huge count";
  }
}
