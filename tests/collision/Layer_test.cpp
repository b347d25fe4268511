// Collision layers and the engine: a scene of moving and idle objects with static circles,
// segments and a tile map over several frames, the broad phase against a brute-force oracle,
// slot bookkeeping, stale ids, the stream round trip, and the script classes under Lua.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <lua.hpp>

#include "collision/Collision_Engine.h"
#include "core/Core_File.h"
#include "core/Core_Random.h"
#include "math/Math_Circle2D.h"
#include "math/Math_LineSegment2D.h"
#include "script/Lua_ScriptEngine.h"
#include "tests/collision/BoxActor.h"
#include "tests/collision/MainLuaState.h"
#include "tests/support/TestSupport.h"

using namespace Collision2D;
using Math::Vector2D;

namespace {

std::unique_ptr<CollisionActor> MakeBoxActor(float half) {
  auto actor = std::make_unique<CollisionActor>();
  CollisionTest::AddBoxAnimation(*actor, half);
  return actor;
}

DynamicObject* MakeObject(CollisionActor& actor, bool geometric = true) {
  auto* object = new DynamicObject();
  object->AddCollisionData(&actor, 0, 0);
  object->SetCurrentCollisionFrame(0, 0, false, false);
  object->SetCollisionType(geometric);
  for (int z = 0; z < 255; ++z) object->SetCanCollid(static_cast<uint8_t>(z), true);
  return object;
}

class LayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine_.Clear();
    actor_ = MakeBoxActor(16.0f);
  }
  void TearDown() override { engine_.Clear(); }

  CollisionEngine engine_;
  std::unique_ptr<CollisionActor> actor_;
};

}  // namespace

TEST_F(LayerTest, NewLayersGridsAndSlotGrowth) {
  ASSERT_EQ(engine_.AddLayer(), 0);
  CollisionLayer& layer = *engine_.GetLayer(0);
  EXPECT_EQ(layer.GetLayerIndex(), 0);
  EXPECT_EQ(layer.GetDynamicObjectsNumber(), 1);
  EXPECT_EQ(layer.GetCirclesNumber(), 1);
  EXPECT_EQ(layer.GetDynamicObjectCapacity(), 25);
  EXPECT_EQ(layer.GetCircleCapacity(), 10);
  EXPECT_EQ(layer.GetGrid().GetColumns(), 6);
  EXPECT_EQ(layer.GetGrid().GetRows(), 4);
  EXPECT_EQ(layer.GetGrid().GetCellSize(), 100.0f);

  engine_.CreateGrid(0, Vector2D(0, 0), 1000, 500, 30);
  EXPECT_EQ(layer.GetGrid().GetCellSize(), 50.0f);
  EXPECT_EQ(layer.GetGrid().GetColumns(), 21);
  EXPECT_EQ(layer.GetGrid().GetRows(), 11);
  engine_.CreateGrid(5, Vector2D(0, 0), 1000, 500, 30);  // no such layer: ignored

  Vector2D at(100, 100);
  std::unique_ptr<DynamicObject> refused(MakeObject(*actor_));
  EXPECT_EQ(engine_.AddCollision(refused.get(), 1, &at), 0u) << "a layer that does not exist: the caller keeps it";
  std::vector<CollisionId> ids;
  for (int i = 0; i < 24; ++i) ids.push_back(engine_.AddCollision(MakeObject(*actor_), 0, &at));
  EXPECT_EQ(ids[0], MakeCollisionId(kDynamicObjectIdBase + 1, 0, 0));
  EXPECT_EQ(layer.GetDynamicObjectsNumber(), 25);
  EXPECT_EQ(layer.GetDynamicObjectCapacity(), 50) << "the 24th object grows the array";
  for (CollisionId id : ids) EXPECT_NE(engine_.GetDynamicObject(id), nullptr);

  for (int i = 0; i < 9; ++i) {
    auto* circle = new StaticCollisionCircle();
    circle->SetCircle(Math::Circle2D(Vector2D(50.0f * i, 50), 10));
    EXPECT_EQ(engine_.AddCollision(circle, 0, nullptr), MakeCollisionId(kStaticCircleIdBase + 1 + i, 0, 0));
  }
  EXPECT_EQ(layer.GetCircleCapacity(), 20);

  // Removing a dynamic object twice frees its slot once; the next two additions take the freed
  // slot and then a new one.
  engine_.RemoveCollision(ids[3]);
  engine_.RemoveCollision(ids[3]);
  EXPECT_EQ(layer.GetDynamicObjectFreeList().size(), 1u);
  EXPECT_EQ(engine_.GetDynamicObject(ids[3]), nullptr);
  EXPECT_EQ(engine_.AddCollision(MakeObject(*actor_), 0, &at), ids[3]);
  EXPECT_EQ(engine_.AddCollision(MakeObject(*actor_), 0, &at), MakeCollisionId(kDynamicObjectIdBase + 25, 0, 0));

  // After a clear the next layer is 0 again and static shapes count from 1.
  engine_.Clear();
  EXPECT_EQ(engine_.AddLayer(), 0);
  EXPECT_EQ(engine_.GetLayer(0)->GetLayerIndex(), 0);
  auto* circle = new StaticCollisionCircle();
  EXPECT_EQ(circle->GetId(), 1u);
  EXPECT_EQ(engine_.AddCollision(circle, 0, nullptr), MakeCollisionId(kStaticCircleIdBase + 1, 0, 0));
}

TEST_F(LayerTest, StaleIdsAnswerNothing) {
  engine_.AddLayer();
  Vector2D at(100, 100);
  const CollisionId id = engine_.AddCollision(MakeObject(*actor_), 0, &at);
  ASSERT_NE(engine_.GetDynamicObject(id), nullptr);
  const CollisionId otherLayer = (id & 0x00FFFFFFu) | (7u << 24);
  const CollisionId emptySlot = MakeCollisionId(kDynamicObjectIdBase + 2, 0, 0);
  for (CollisionId stale : {otherLayer, emptySlot, MakeCollisionId(kTileMapIdBase + 1, 0, 0),
                            MakeCollisionId(kStaticCircleIdBase, 0, 0), CollisionId{12}}) {
    EXPECT_EQ(engine_.GetCollisionObject(stale), nullptr);
    EXPECT_EQ(engine_.GetCollisionData(stale), nullptr);
    EXPECT_FALSE(engine_.ObjectInCollision(stale));
    EXPECT_EQ(engine_.SetObjectZCollision(stale, 3), 0u);
    engine_.SetObjectPosition(stale, 1, 2);
    engine_.RemoveCollision(stale);
    EXPECT_EQ(engine_.GetObjectBoundingRectangle(stale), QlnRect());
  }
  EXPECT_EQ(engine_.GetDynamicObject(id)->GetPosition(), Vector2D(100, 100));
  // The z setter answers the id as it now reads, clamping 255 for dynamic objects.
  EXPECT_EQ(engine_.SetObjectZCollision(id, 255), MakeCollisionId(kDynamicObjectIdBase + 1, 0, 254));
  engine_.RemoveCollision(id);
  EXPECT_EQ(engine_.GetDynamicObject(id), nullptr) << "a removed object's id names nothing";
}

TEST_F(LayerTest, SceneOfMovingShapesReportsEveryKindOfContact) {
  engine_.AddLayer();
  engine_.CreateGrid(0, Vector2D(0, 0), 2000, 600, 100);
  // Static geometry: a floor segment, a circle, and a tile map with one used column at x 800..832.
  auto* floor = new StaticCollisionLineSegment();
  floor->SetLineSegment(Math::LineSegment2D(Vector2D(0, 100), Vector2D(2000, 100)));
  const CollisionId floorId = engine_.AddCollision(floor, 0, nullptr);
  auto* circle = new StaticCollisionCircle();
  circle->SetCircle(Math::Circle2D(Vector2D(500, 400), 20));
  const CollisionId circleId = engine_.AddCollision(circle, 0, nullptr);
  auto* tileMap = new TileMap();
  const std::string info =
      "C: 2\nR: 10\nDim: 32\nTileCount:  1\n\nT\nNbr: 1\nFrameTime: 1\nFrameImages: 1\nId: 5\n\nUsedCells:  10\n"
      "(1,0,0)\n(1,1,0)\n(1,2,0)\n(1,3,0)\n(1,4,0)\n(1,5,0)\n(1,6,0)\n(1,7,0)\n(1,8,0)\n(1,9,0)\n";
  ASSERT_TRUE(tileMap->ReadInformationFromText(info.data(), info.size()));
  tileMap->SetBoundingRectangle(QlnRect(320, 0, 64, 0));
  Vector2D mapAt(768, 200);
  const CollisionId mapId = engine_.AddCollision(tileMap, 0, &mapAt);
  ASSERT_EQ(mapId, MakeCollisionId(kTileMapIdBase + 1, 0, 0));

  // A moves right into idle B; C falls onto the floor; D rises into the circle; E runs into the
  // tile map. F idles far away.
  struct Mover {
    CollisionId id;
    Vector2D start, step;
  };
  Vector2D place;
  auto add = [&](Vector2D start) {
    place = start;
    return engine_.AddCollision(MakeObject(*actor_), 0, &place);
  };
  const Mover a{add(Vector2D(200, 300)), Vector2D(200, 300), Vector2D(10, 0)};
  const CollisionId b = add(Vector2D(300, 300));
  const Mover c{add(Vector2D(1200, 180)), Vector2D(1200, 180), Vector2D(0, -10)};
  const Mover d{add(Vector2D(500, 300)), Vector2D(500, 300), Vector2D(0, 10)};
  const Mover e{add(Vector2D(700, 300)), Vector2D(700, 300), Vector2D(10, 0)};
  const CollisionId f = add(Vector2D(1800, 500));
  const Mover movers[] = {a, c, d, e};

  int firstPair = -1, firstFloor = -1, firstCircle = -1, firstMap = -1;
  for (int frame = 1; frame <= 8; ++frame) {
    for (const Mover& m : movers) {
      const Vector2D p = m.start + m.step * static_cast<float>(frame);
      engine_.SetObjectPosition(m.id, p.x, p.y);
    }
    engine_.Update(1.0f / 60.0f);
    const CollisionResults& ra = *engine_.GetCollisionData(a.id);
    if (ra.GetDynamicObjectCount() > 0 && firstPair < 0) {
      firstPair = frame;
      EXPECT_EQ(ra.GetDynamicObjectCount(), 1) << "the pair is reported once";
      EXPECT_EQ(ra.GetDynamicObjectContacts()[0].id, b);
      const CollisionResults& rb = *engine_.GetCollisionData(b);
      ASSERT_EQ(rb.GetDynamicObjectCount(), 1) << "and mirrored into the partner";
      EXPECT_EQ(rb.GetDynamicObjectContacts()[0].id, a.id);
    }
    const CollisionResults& rc = *engine_.GetCollisionData(c.id);
    if (rc.GetStaticLineSegmentCount() > 0 && firstFloor < 0) {
      firstFloor = frame;
      EXPECT_EQ(rc.GetStaticLineSegmentContacts()[0].id, floorId);
    }
    const CollisionResults& rd = *engine_.GetCollisionData(d.id);
    if (rd.GetStaticCircleCount() > 0 && firstCircle < 0) {
      firstCircle = frame;
      EXPECT_EQ(rd.GetStaticCircleContacts()[0].id, circleId);
    }
    const CollisionResults& re = *engine_.GetCollisionData(e.id);
    if (re.GetTileMapCount() > 0 && firstMap < 0) {
      firstMap = frame;
      const TMAP_C& record = re.GetTileMapContacts()[0];
      EXPECT_EQ(record.id, mapId) << "tile-map contacts name the map's slot";
      ASSERT_GE(record.currentNewIdsNumber, 1u);
      EXPECT_EQ(record.newEntries[0].cellX, 1u);
      EXPECT_EQ(record.newEntries[0].collisionSide, 1u);
      EXPECT_EQ(record.newEntries[0].id, 5);
    }
    EXPECT_FALSE(engine_.ObjectInCollision(f)) << "an idle object far away meets nothing";
  }
  // A's right side (216 + 10 n) reaches B's left side (284) in frame 7; C's bottom (164 - 10 n)
  // reaches the floor in frame 7; D's top (316 + 10 n) reaches the circle (380) in frame 7; E's
  // right side (716 + 10 n) enters the used column at x 800 in frame 9 -- tested below.
  EXPECT_EQ(firstPair, 7);
  EXPECT_EQ(firstFloor, 7);
  // The circle is met as the box's top side first reaches it or, at the latest, the frame after.
  EXPECT_GE(firstCircle, 7);
  EXPECT_LE(firstCircle, 8);
  EXPECT_EQ(firstMap, -1);
  for (int frame = 9; frame <= 10 && firstMap < 0; ++frame) {
    const Vector2D p = e.start + e.step * static_cast<float>(frame);
    engine_.SetObjectPosition(e.id, p.x, p.y);
    engine_.Update(1.0f / 60.0f);
    if (engine_.GetCollisionData(e.id)->GetTileMapCount() > 0) firstMap = frame;
  }
  EXPECT_EQ(firstMap, 9);
}

TEST_F(LayerTest, StaticContactsNameTheShapeByItsLayerSlot) {
  // Layer 0 takes the first running numbers; the shapes met are in layer 1.
  for (int layer = 0; layer < 2; ++layer) {
    engine_.AddLayer();
    engine_.CreateGrid(static_cast<uint32_t>(layer), Vector2D(0, 0), 1000, 600, 100);
  }
  auto addShapes = [&](uint32_t layer, CollisionId& floorId, CollisionId& circleId) {
    auto* floor = new StaticCollisionLineSegment();
    floor->SetLineSegment(Math::LineSegment2D(Vector2D(0, 100), Vector2D(1000, 100)));
    floorId = engine_.AddCollision(floor, layer, nullptr);
    auto* circle = new StaticCollisionCircle();
    circle->SetCircle(Math::Circle2D(Vector2D(500, 400), 20));
    circleId = engine_.AddCollision(circle, layer, nullptr);
  };
  CollisionId unused[2], floorId = 0, circleId = 0;
  addShapes(0, unused[0], unused[1]);
  addShapes(1, floorId, circleId);

  Vector2D at(200, 180);
  const CollisionId faller = engine_.AddCollision(MakeObject(*actor_), 1, &at);
  at = Vector2D(500, 300);
  const CollisionId riser = engine_.AddCollision(MakeObject(*actor_), 1, &at);
  // Runs the two movers until each meets its shape; answers the shapes their contacts name.
  auto meet = [&](MainCollisionObject*& floorMet, MainCollisionObject*& circleMet) {
    floorMet = circleMet = nullptr;
    engine_.SetObjectPosition(faller, 200, 180);
    engine_.SetObjectPosition(riser, 500, 300);
    engine_.Update(0.0f);
    for (int frame = 1; frame <= 10; ++frame) {
      engine_.SetObjectPosition(faller, 200, 180.0f - 10 * frame);
      engine_.SetObjectPosition(riser, 500, 300.0f + 10 * frame);
      engine_.Update(1.0f / 60.0f);
      const CollisionResults& fell = *engine_.GetCollisionData(faller);
      if (fell.GetStaticLineSegmentCount() > 0 && floorMet == nullptr)
        floorMet = engine_.GetCollisionObject(fell.GetStaticLineSegmentContacts()[0].id);
      const CollisionResults& rose = *engine_.GetCollisionData(riser);
      if (rose.GetStaticCircleCount() > 0 && circleMet == nullptr)
        circleMet = engine_.GetCollisionObject(rose.GetStaticCircleContacts()[0].id);
    }
  };
  MainCollisionObject* floorMet = nullptr;
  MainCollisionObject* circleMet = nullptr;
  meet(floorMet, circleMet);
  EXPECT_EQ(floorMet, engine_.GetCollisionObject(floorId));
  EXPECT_EQ(circleMet, engine_.GetCollisionObject(circleId));

  // Cleared and added again: the slots start over, the running numbers do not.
  engine_.ClearStaticCollisions(1);
  addShapes(1, floorId, circleId);
  meet(floorMet, circleMet);
  EXPECT_NE(floorMet, nullptr);
  EXPECT_EQ(floorMet, engine_.GetCollisionObject(floorId));
  EXPECT_EQ(circleMet, engine_.GetCollisionObject(circleId));

  // Duplicates take slots of their own; the originals go, so the copies are the ones met.
  const CollisionId floorCopy = engine_.DuplicateCollision(floorId, nullptr, nullptr);
  const CollisionId circleCopy = engine_.DuplicateCollision(circleId, nullptr, nullptr);
  ASSERT_NE(floorCopy, 0u);
  ASSERT_NE(circleCopy, 0u);
  engine_.RemoveCollision(floorId);
  engine_.RemoveCollision(circleId);
  meet(floorMet, circleMet);
  EXPECT_NE(floorMet, nullptr);
  EXPECT_EQ(floorMet, engine_.GetCollisionObject(floorCopy));
  EXPECT_EQ(circleMet, engine_.GetCollisionObject(circleCopy));

  // And after a save and load of the engine.
  Core::MemoryFile file;
  engine_.Save(file);
  engine_.Clear();
  engine_.Load(file);
  ASSERT_FALSE(file.HasFailed());
  meet(floorMet, circleMet);
  EXPECT_NE(floorMet, nullptr);
  EXPECT_EQ(floorMet, engine_.GetCollisionObject(floorCopy));
  EXPECT_EQ(circleMet, engine_.GetCollisionObject(circleCopy));
}

TEST_F(LayerTest, LargeStaticCircleIsRegisteredInEveryCellItsOutlineCrosses) {
  engine_.AddLayer();
  engine_.CreateGrid(0, Vector2D(0, 0), 8000, 8000, 10);
  const CollisionGrid& grid = engine_.GetLayer(0)->GetGrid();
  const double s = grid.GetCellSize();
  ASSERT_GT(grid.GetColumns(), 140);
  ASSERT_GT(grid.GetRows(), 140);
  // Radius 60 cells, off the cell corners.
  const double cx = 71.3 * s, cy = 70.6 * s, r = 60.0 * s;
  auto* circle = new StaticCollisionCircle();
  circle->SetCircle(Math::Circle2D(Vector2D(static_cast<float>(cx), static_cast<float>(cy)), static_cast<float>(r)));
  const CollisionId id = engine_.AddCollision(circle, 0, nullptr);
  DecodedCollisionId decoded;
  ASSERT_TRUE(DecodeCollisionId(id, decoded));
  int crossed = 0, missed = 0, inside = 0, insideRegistered = 0;
  for (int32_t column = 1; column < grid.GetColumns() - 1; ++column) {
    for (int32_t row = 1; row < grid.GetRows() - 1; ++row) {
      const double left = column * s, right = left + s, bottom = row * s, top = bottom + s;
      const double nearest = std::hypot(std::clamp(cx, left, right) - cx, std::clamp(cy, bottom, top) - cy);
      const double farthest = std::hypot(std::max(cx - left, right - cx), std::max(cy - bottom, top - cy));
      const bool registered = grid.GetCell(column, row)->circleIds.Contains(decoded.slot);
      if (nearest < r - 0.01 && farthest > r + 0.01) {
        ++crossed;
        if (!registered) ++missed;
      } else if (farthest < r - 2.0) {
        ++inside;
        if (registered) ++insideRegistered;
      }
    }
  }
  EXPECT_GT(crossed, 400);
  EXPECT_EQ(missed, 0) << "of " << crossed << " cells the outline crosses";
  EXPECT_GT(inside, 10000);
  EXPECT_EQ(insideRegistered, 0) << "cells wholly inside stay out";

  // An object crossing the outline where the grid must offer the circle meets it.
  const double angle = 0.37;
  const Vector2D start(static_cast<float>(cx + (r + 40) * std::cos(angle)), static_cast<float>(cy + (r + 40) * std::sin(angle)));
  const Vector2D step(static_cast<float>(-10 * std::cos(angle)), static_cast<float>(-10 * std::sin(angle)));
  Vector2D at = start;
  const CollisionId mover = engine_.AddCollision(MakeObject(*actor_), 0, &at);
  engine_.Update(0.0f);
  bool met = false;
  for (int frame = 1; frame <= 8 && !met; ++frame) {
    const Vector2D p = start + step * static_cast<float>(frame);
    engine_.SetObjectPosition(mover, p.x, p.y);
    engine_.Update(1.0f / 60.0f);
    met = engine_.GetCollisionData(mover)->GetStaticCircleCount() > 0;
  }
  EXPECT_TRUE(met);
}

TEST_F(LayerTest, TurnedObjectWithACentreMeetsTheFloorWhereAndWhenItsPlacedShapeDoes) {
  engine_.AddLayer();
  engine_.CreateGrid(0, Vector2D(0, 0), 1000, 600, 100);
  auto* floor = new StaticCollisionLineSegment();
  floor->SetLineSegment(Math::LineSegment2D(Vector2D(0, 100), Vector2D(1000, 100)));
  engine_.AddCollision(floor, 0, nullptr);
  // The box of half size 16 turns about (16, 16) of its frame, as the game's objects do, held at
  // 30 degrees while it falls 4 units a frame.
  auto* object = MakeObject(*actor_);
  object->SetCenter(Vector2D(16, 16));
  object->SetOrientation(30.0f);
  object->SetOldOrientation(30.0f);
  Vector2D at(400, 160);
  const CollisionId id = engine_.AddCollision(object, 0, &at);
  engine_.Update(0.0f);
  for (int frame = 1; frame <= 30; ++frame) {
    engine_.SetObjectPosition(id, 400.0f, 160.0f - 4.0f * frame);
    engine_.Update(1.0f / 60.0f);
    const CollisionResults& results = *engine_.GetCollisionData(id);
    if (results.GetStaticLineSegmentCount() == 0) continue;
    const LNS_C& contact = results.GetStaticLineSegmentContacts()[0];
    ASSERT_GT(contact.numberOfIntersectedPoints, 0);
    const Vector2D point = contact.contactPoint[0];
    EXPECT_NEAR(point.y, 100.0f, 0.5f);
    // The contact is a corner of the placed box that crosses the floor in this very frame: the
    // sub-step copies lie on the way from the frame-start shape to the frame-end one.
    const DynamicObject& placed = *engine_.GetDynamicObject(id);
    bool corner = false;
    for (size_t k = 0; k < placed.GetCurrentLineSegments().size(); ++k) {
      const Vector2D before = placed.GetOldLineSegments()[k]->pointA;
      const Vector2D after = placed.GetCurrentLineSegments()[k]->pointA;
      if (std::fabs(after.x - point.x) < 0.5f && before.y >= 100.0f && after.y <= 100.0f) corner = true;
    }
    EXPECT_TRUE(corner) << "frame " << frame << ", contact at " << point.x << " " << point.y;
    return;
  }
  ADD_FAILURE() << "the box never met the floor";
}

TEST_F(LayerTest, BoundingRectangleSetByIdBelongsToThatObjectOnly) {
  engine_.AddLayer();
  engine_.CreateGrid(0, Vector2D(0, 0), 1000, 600, 100);
  Vector2D at(300, 300);
  const CollisionId first = engine_.AddCollision(MakeObject(*actor_), 0, &at);
  const CollisionId second = engine_.AddCollision(MakeObject(*actor_), 0, &at);
  engine_.Update(0.0f);
  const QlnRect shared = engine_.GetObjectBoundingRectangle(second);
  const QlnRect own(40, -6, 10, -30);
  engine_.SetObjectBoundingRectangle(first, own);
  EXPECT_EQ(engine_.GetObjectBoundingRectangle(first), own);
  engine_.Update(0.0f);
  EXPECT_EQ(engine_.GetObjectBoundingRectangle(first), own) << "kept through the next update";
  EXPECT_EQ(engine_.GetObjectBoundingRectangle(second), shared) << "the other object of the actor keeps its own";
  EXPECT_EQ(actor_->GetFrame(0, 0)->GetBoundingRectangle(NoFlip), shared) << "the shared frame is untouched";
  const QlnRect current = engine_.GetCurrentObjectBoundingRectangle(first);
  EXPECT_EQ(current.top, 340.0f);
  EXPECT_EQ(current.left, 294.0f);
  // Flipped with the object, and kept by a copy.
  engine_.GetDynamicObject(first)->SetCurrentCollisionFrame(0, 0, true, false);
  engine_.Update(0.0f);
  EXPECT_EQ(engine_.GetObjectBoundingRectangle(first), QlnRect(40, -10, 6, -30));
  engine_.GetDynamicObject(first)->SetCurrentCollisionFrame(0, 0, false, true);
  engine_.Update(0.0f);
  EXPECT_EQ(engine_.GetObjectBoundingRectangle(first), QlnRect(30, -6, 10, -40));
  const CollisionId copy = engine_.DuplicateCollision(first, &at, nullptr);
  engine_.Update(0.0f);
  EXPECT_EQ(engine_.GetObjectBoundingRectangle(copy), QlnRect(30, -6, 10, -40));
}

TEST_F(LayerTest, PairsSharingSeveralCellsAndObjectsOutsideTheGrid) {
  engine_.AddLayer();
  engine_.CreateGrid(0, Vector2D(0, 0), 400, 400, 50);
  auto big = MakeBoxActor(60.0f);  // spans three cells each way
  Vector2D at(100, 100);
  const CollisionId a = engine_.AddCollision(MakeObject(*big, false), 0, &at);
  at = Vector2D(150, 100);
  const CollisionId b = engine_.AddCollision(MakeObject(*big, false), 0, &at);
  // Two objects far outside the grid, overlapping each other: both clamp to border cells.
  at = Vector2D(-500, -500);
  const CollisionId c = engine_.AddCollision(MakeObject(*actor_, false), 0, &at);
  at = Vector2D(-490, -505);
  const CollisionId d = engine_.AddCollision(MakeObject(*actor_, false), 0, &at);
  engine_.SetObjectPosition(a, 101, 100);
  engine_.SetObjectPosition(c, -499, -500);
  engine_.Update(0.0f);
  EXPECT_EQ(engine_.GetCollisionData(a)->GetBoundingRectangleCount(), 1) << "recorded once over six shared cells";
  EXPECT_EQ(engine_.GetCollisionData(b)->GetBoundingRectangleCount(), 1);
  EXPECT_EQ(engine_.GetCollisionData(c)->GetBoundingRectangleCount(), 1);
  EXPECT_EQ(engine_.GetCollisionData(d)->GetBoundingRectangleCount(), 1);
  EXPECT_EQ(engine_.GetCollisionData(a)->GetBoundingRectangleContacts()[0].id, b);
  EXPECT_EQ(engine_.GetCollisionData(c)->GetBoundingRectangleContacts()[0].id, d);

  // Two idle objects without UpdateOnIdle are never paired.
  engine_.Update(0.0f);
  EXPECT_FALSE(engine_.ObjectInCollision(a));
  EXPECT_FALSE(engine_.ObjectInCollision(b));
}

TEST_F(LayerTest, BroadPhaseMissesNoOverlappingPair) {
  engine_.AddLayer();
  engine_.CreateGrid(0, Vector2D(0, 0), 2000, 720, 100);
  CollisionLayer& layer = *engine_.GetLayer(0);
  auto small = MakeBoxActor(8.0f);
  auto large = MakeBoxActor(70.0f);
  std::vector<CollisionId> ids;
  for (int i = 0; i < 150; ++i) {
    Vector2D at(static_cast<float>(Core::Random() % 2400) - 200.0f, static_cast<float>(Core::Random() % 1000) - 140.0f);
    ids.push_back(engine_.AddCollision(MakeObject(i % 5 == 0 ? *large : *small, false), 0, &at));
  }
  for (int frame = 0; frame < 5; ++frame) {
    for (size_t i = 0; i < ids.size(); ++i) {
      if (i % 3 == 0) continue;  // a third stays idle
      const DynamicObject& object = *engine_.GetDynamicObject(ids[i]);
      const Vector2D p = object.GetPosition() + Vector2D(static_cast<float>(Core::Random() % 81) - 40.0f,
                                                         static_cast<float>(Core::Random() % 81) - 40.0f);
      engine_.SetObjectPosition(ids[i], p.x, p.y);
    }
    engine_.Update(0.0f);
    // The oracle: every pair whose swept rectangles overlap, with one of them moved.
    std::set<std::pair<CollisionId, CollisionId>> expected, reported;
    for (size_t i = 0; i < ids.size(); ++i) {
      const DynamicObject& p = *engine_.GetDynamicObject(ids[i]);
      for (size_t j = i + 1; j < ids.size(); ++j) {
        const DynamicObject& q = *engine_.GetDynamicObject(ids[j]);
        if ((p.HasMoved() || q.HasMoved()) && RectanglesOverlap(p.GetSweptRectangle(), q.GetSweptRectangle()))
          expected.insert({ids[i], ids[j]});
      }
      const int32_t candidates = p.GetCandidateCount();
      for (int32_t k = 0; k < candidates; ++k) {
        const CollisionId other = MakeCollisionId(kDynamicObjectIdBase + p.GetCandidates()[k], 0, 0);
        const auto pair = std::minmax(ids[i], other);
        EXPECT_TRUE(reported.insert({pair.first, pair.second}).second) << "a pair recorded twice";
      }
    }
    EXPECT_EQ(reported, expected) << "frame " << frame;
    EXPECT_GT(expected.size(), 10u) << "the scene must actually have pairs";
  }
  (void)layer;
}

TEST_F(LayerTest, RemovedAndClearedStaticShapesAreNeverReadAgain) {
  engine_.AddLayer();
  engine_.CreateGrid(0, Vector2D(0, 0), 1000, 500, 100);
  std::vector<CollisionId> segments;
  for (int i = 0; i < 3; ++i) {
    auto* segment = new StaticCollisionLineSegment();
    segment->SetLineSegment(Math::LineSegment2D(Vector2D(0, 100.0f + 50 * i), Vector2D(1000, 100.0f + 50 * i)));
    segments.push_back(engine_.AddCollision(segment, 0, nullptr));
  }
  Vector2D at(500, 300);
  const CollisionId mover = engine_.AddCollision(MakeObject(*actor_), 0, &at);
  engine_.RemoveCollision(segments[1]);
  EXPECT_EQ(engine_.GetCollisionObject(segments[1]), nullptr);
  for (int frame = 1; frame <= 25; ++frame) {
    engine_.SetObjectPosition(mover, 500, 300.0f - 10 * frame);
    engine_.Update(0.0f);
    const CollisionResults& results = *engine_.GetCollisionData(mover);
    for (int32_t k = 0; k < results.GetStaticLineSegmentCount(); ++k)
      EXPECT_NE(results.GetStaticLineSegmentContacts()[static_cast<size_t>(k)].id, segments[1]);
  }
  // The stream skips the removed slot and brings it back empty.
  Core::MemoryFile file;
  engine_.Save(file);
  engine_.Clear();
  engine_.Load(file);
  ASSERT_FALSE(file.HasFailed());
  EXPECT_EQ(engine_.GetCollisionObject(segments[1]), nullptr);
  EXPECT_NE(engine_.GetCollisionObject(segments[2]), nullptr);

  engine_.ClearStaticCollisions(0);
  EXPECT_EQ(engine_.GetLayer(0)->GetLineSegmentsNumber(), 1);
  EXPECT_EQ(engine_.GetCollisionObject(segments[0]), nullptr);
  engine_.SetObjectPosition(mover, 500, 600);
  engine_.Update(0.0f);
  engine_.SetObjectPosition(mover, 500, 0);
  engine_.Update(0.0f);
  EXPECT_EQ(engine_.GetCollisionData(mover)->GetStaticLineSegmentCount(), 0);
  Core::MemoryFile again;
  engine_.Save(again);
  EXPECT_FALSE(again.HasFailed());
}

TEST_F(LayerTest, SaveClearLoadKeepsEveryId) {
  engine_.AddLayer();
  engine_.AddLayer();
  engine_.CreateGrid(1, Vector2D(-100, 0), 3000, 720, 64);
  Vector2D at(100, 100);
  std::vector<CollisionId> ids;
  for (int i = 0; i < 5; ++i) ids.push_back(engine_.AddCollision(MakeObject(*actor_), 1, &at));
  engine_.RemoveCollision(ids[2]);
  auto* circle = new StaticCollisionCircle();
  circle->SetCircle(Math::Circle2D(Vector2D(10, 20), 5));
  circle->SetZCollision(4);
  ids.push_back(engine_.AddCollision(circle, 1, nullptr));
  auto* segment = new StaticCollisionLineSegment();
  segment->SetLineSegment(Math::LineSegment2D(Vector2D(0, 0), Vector2D(50, 50)));
  ids.push_back(engine_.AddCollision(segment, 1, nullptr));
  auto* tileMap = new TileMap();
  ids.push_back(engine_.AddCollision(tileMap, 1, &at));
  ids.push_back(engine_.DuplicateCollision(ids[1], &at, nullptr));
  EXPECT_EQ(ids.back(), ids[2]) << "a duplicate takes the freed slot";
  ids.push_back(engine_.DuplicateCollision(ids[7], &at, nullptr));
  EXPECT_EQ(ids.back(), MakeCollisionId(kTileMapIdBase + 2, 1, 0));
  EXPECT_EQ(engine_.DuplicateCollision(MakeCollisionId(kTileMapIdBase + 9, 1, 0), &at, nullptr), 0u);
  ids.erase(ids.begin() + 2);

  Core::MemoryFile file;
  engine_.Save(file);
  const uint8_t counter = GetLayerCounter();
  engine_.Clear();
  for (CollisionId id : ids) EXPECT_EQ(engine_.GetCollisionObject(id), nullptr);
  Core::MemoryFile in(file.GetBuffer().GetData(), file.GetBuffer().GetSize());
  engine_.Load(in);
  ASSERT_FALSE(in.HasFailed());
  EXPECT_EQ(in.GetRemaining(), 0u);
  EXPECT_EQ(engine_.GetLayerCount(), 2u);
  EXPECT_EQ(GetLayerCounter(), counter);
  for (CollisionId id : ids) EXPECT_NE(engine_.GetCollisionObject(id), nullptr) << std::hex << id;
  EXPECT_EQ(engine_.GetLayer(1)->GetGrid().GetCellSize(), 64.0f);
  EXPECT_EQ(engine_.GetLayer(1)->GetGrid().GetOrigin(), Vector2D(-100, 0));
  Core::MemoryFile resaved;
  engine_.Save(resaved);
  EXPECT_EQ(resaved.GetBuffer().GetSize(), file.GetBuffer().GetSize());

  // Every truncation fails and appends no layer.
  for (uint32_t length = 0; length < file.GetBuffer().GetSize(); length += 7) {
    CollisionEngine target;
    Core::MemoryFile cut(file.GetBuffer().GetData(), length);
    target.Load(cut);
    EXPECT_TRUE(cut.HasFailed()) << length;
    EXPECT_EQ(target.GetLayerCount(), 0u) << length;
  }
}

// --- Script classes ------------------------------------------------------------------------------

namespace {

using LayerScriptTest = CollisionTest::WithMainLuaState<LayerTest>;

}  // namespace

TEST_F(LayerScriptTest, CellAndTileHandlesFindTheirPlaceAfterTheMapIsReadAgain) {
  engine_.AddLayer();
  auto* tileMap = new TileMap();
  const std::string first = "C: 3\nR: 2\nDim: 32\nTileCount:  1\n\nT\nNbr: 1\nFrameTime: 1\nFrameImages: 4\nId: 7\n\n"
                            "UsedCells:  1\n(2,1,0)\n";
  ASSERT_TRUE(tileMap->ReadInformationFromText(first.data(), first.size()));
  const CollisionId map = engine_.AddCollision(tileMap, 0, nullptr);
  const std::string directory = TestSupport::MakeTempDirectory("tilemap_handles");
  ASSERT_TRUE(TestSupport::WriteWholeFile(
      directory + "/larger.txt",
      "C: 4\nR: 3\nDim: 16\nTileCount:  2\n\nT\nNbr: 1\nFrameTime: 1\nFrameImages: 5\nId: 8\n\n"
      "T\nNbr: 1\nFrameTime: 1\nFrameImages: 6\nId: 9\n\nUsedCells:  1\n(2,1,0)\n"));
  ASSERT_TRUE(TestSupport::WriteWholeFile(directory + "/smaller.txt",
                                          "C: 1\nR: 1\nDim: 16\nTileCount:  0\n\nUsedCells:  0\n"));
  engine_.GetTileMap(map)->PushToLua(state_);
  lua_setglobal(state_, "map");
  lua_pushstring(state_, directory.c_str());
  lua_setglobal(state_, "directory");
  Run(R"lua(
    local cell = map:GetCell(2, 1)
    local tile = cell.MyTile
    assert(cell:Id() == 7 and tile:CurrentId() == 7)
    -- Read again: the handles name the same places of the new content.
    map:ReadInformation(directory .. "/larger.txt")
    assert(map:NumberOfColumns() == 4)
    assert(cell:Id() == 8 and cell:MyImage() == 5 and cell.isUsed == true)
    assert(tile:CurrentId() == 8 and tile.isActivated == true)
    -- A place the map no longer has is a clear script error, not freed memory.
    map:ReadInformation(directory .. "/smaller.txt")
    assert(map:NumberOfColumns() == 1)
    local ok, message = pcall(function() return cell:Id() end)
    assert(not ok and message:find("no longer has the cell"), message)
    assert(pcall(function() return cell.isUsed end) == false)
    assert(pcall(function() cell.isUsed = true end) == false)
    assert(pcall(function() return tile:CurrentImage() end) == false)
    assert(pcall(function() tile.isActivated = false end) == false)
    assert(map:GetCell(0, 0):Id() == 255)
  )lua");
  std::filesystem::remove_all(directory);
}

TEST_F(LayerScriptTest, EngineLayerAndTileMapMethods) {
  engine_.AddLayer();
  engine_.CreateGrid(0, Vector2D(0, 0), 1000, 500, 100);
  Vector2D at(100, 100);
  const CollisionId object = engine_.AddCollision(MakeObject(*actor_), 0, &at);
  auto* segment = new StaticCollisionLineSegment();
  segment->SetLineSegment(Math::LineSegment2D(Vector2D(0, 0), Vector2D(50, 50)));
  engine_.AddCollision(segment, 0, nullptr);
  auto* tileMap = new TileMap();
  const std::string info = "C: 3\nR: 2\nDim: 32\nTileCount:  1\n\nT\nNbr: 1\nFrameTime: 1\nFrameImages: 4\nId: 7\n\n"
                           "UsedCells:  1\n(2,1,0)\n";
  ASSERT_TRUE(tileMap->ReadInformationFromText(info.data(), info.size()));
  const CollisionId map = engine_.AddCollision(tileMap, 0, &at);
  engine_.Update(0.0f);

  engine_.PushToLua(state_);
  lua_setglobal(state_, "engine");
  engine_.GetLayer(0)->PushToLua(state_);
  lua_setglobal(state_, "layer");
  engine_.GetTileMap(map)->PushToLua(state_);
  lua_setglobal(state_, "map");
  lua_pushnumber(state_, object);
  lua_setglobal(state_, "object");
  const int previous = GetMaximumInterpolationValue();
  Run(R"lua(
    engine:SetMaximumInterpolationValue(1)
    assert(engine:GetMaximumInterpolationValue() ~= 1, "1 is refused")
    engine:SetMaximumInterpolationValue(2)
    assert(engine:GetMaximumInterpolationValue() == 2)
    assert(engine:ObjectInCollision(object) == false)
    assert(engine:ObjectInCollision(123) == nil, "nothing for an id that names nothing")
    local newId = engine:SetObjectZCollision(object, 9)
    assert(engine:GetObjectZCollision(newId) == 9 and engine:GetObjectZCollision(object) == 0,
           "the z byte of the id itself")
    engine:SetDynamicObjectCanCollid(object, 3, false)
    assert(engine:GetDynamicObjectCanCollid(object, 3) == false)
    assert(engine:GetDynamicObjectCanCollid(object, 4) == true)
    engine:SetDynamicObjectUpdateOnIdle(object, true)
    assert(engine:GetDynamicObjectUpdateOnIdle(object) == true)
    engine:SetDynamicObjectUpdateOnIdle(object)
    assert(engine:GetDynamicObjectUpdateOnIdle(object) == false, "missing means false")
    engine:SetDynamicObjectCollisionThickness(object, 2.5)
    assert(engine:GetDynamicObjectCollisionThickness(object) == 2.5)
    engine:SetDynamicObjectCollisionType(object, false)
    assert(engine:GetDynamicObjectCollisionType(object) == false)
    assert(engine:GetDynamicObjectBoundingRectangleCheckingTileMap(object) == true)
    assert(#engine:GetStaticLineSegments(0) == 1 and engine:GetStaticLineSegmentsNumber(0) == 2)
    assert(#engine:GetStaticCircles(0) == 0 and engine:GetStaticCirclesNumber(0) == 1)
    assert(engine:GetStaticCircles(5) == nil)
    assert(#engine:GetDynamicObjectLineSegments(object) == 4)
    assert(#engine:GetCurrentDynamicObjectLineSegments(object) == 4)
    assert(#engine:GetDynamicObjectHotSpots(object) == 0)
    local current = engine:GetCurrentObjectBoundingRectangle(object)
    assert(current.left == 84 and current.top == 116, current.left .. " " .. current.top)
    assert(engine:GetObjectBoundingRectangle(4242) == nil)
    assert(#layer:GetLineSegments() == 1 and layer:GetLineSegmentsNumber() == 2)
    assert(#layer:GetCircles() == 0 and layer:GetCirclesNumber() == 1)

    assert(map:Dimension() == 32 and map:NumberOfColumns() == 3 and map:NumberOfRows() == 2)
    assert(map:Width() == 96 and map:Height() == 64)
    local cell = map:GetCell(2, 1)
    assert(cell.isUsed == true and cell.myTileIndex == 0 and cell:Id() == 7 and cell:MyImage() == 4)
    assert(cell.MyTile:CurrentId() == 7 and cell.MyTile.isActivated == true)
    cell.MyTile.isActivated = false
    assert(cell.MyTile.isActivated == false)
    assert(map:GetCell(3, 0) == nil and map:GetCell(-1, 0) == nil, "GetCell checks its indices")
    assert(map:GetCell(0, 0):Id() == 255)
    assert(map:GetCellUsed(2, 1) == true and map:GetCellUsed(9, 9) == false)
    assert(map:GetCollidedCellId({X = 100 + 40, Y = 100 + 40}, 4) == 7)
    assert(map:GetCollidedCellId({X = 100 + 40, Y = 100 + 40}, 9) == 255)
    map:SetBoundingRectangle(64, 0, 96, 0)
    assert(map:GetBoundingRectangle().right == 96)
    map:SetPosition({X = 5, Y = 6})
    map:SetZCollision(3)
    map:GetCell(0, 0).myTileIndex = 0
    assert(map:GetCell(0, 0):Id() == 7 and map:GetCell(0, 0).MyTile:CurrentImage() == 4, "the tile follows")
    cell.myTileIndex = -1
    assert(cell:Id() == 255 and cell.MyTile == nil and cell:MyImage() == 0)
    assert(pcall(function() cell.myTileIndex = 1 end) == false and cell.myTileIndex == -1, "no tile 1")
    assert(pcall(function() cell.myTileIndex = 3 end) == false, "nor tile 3")
    map:ReadInformation("/nonexistent/file.txt")
    assert(map:NumberOfColumns() == 3, "a missing file leaves the map")
  )lua");
  SetMaximumInterpolationValue(previous);
  EXPECT_EQ(engine_.GetTileMap(map)->GetPosition(), Vector2D(5, 6));
  EXPECT_EQ(engine_.GetTileMap(map)->GetZCollision(), 3);
  Core::MemoryFile file;
  engine_.GetTileMap(map)->Save(file);
  Core::MemoryFile in(file.GetBuffer().GetData(), file.GetBuffer().GetSize());
  TileMap loaded;
  loaded.Load(in);
  EXPECT_EQ(loaded.GetCell(0, 0)->tile, loaded.GetTile(0));
  EXPECT_EQ(loaded.GetCell(2, 1)->tile, nullptr);
}
