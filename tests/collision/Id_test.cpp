#include <gtest/gtest.h>

#include "collision/Collision_Id.h"
#include "core/Core_File.h"

using namespace Collision2D;

TEST(CollisionId, PackingAndSplitting) {
  EXPECT_EQ(MakeCollisionId(9535 + 1, 0, 0), 9536u);
  EXPECT_EQ(MakeCollisionId(535 + 1, 2, 5), (2u << 24) | (5u << 16) | 536u);
  uint32_t index = 0;
  uint8_t layer = 0, z = 0;
  SplitCollisionId((1u << 24) | (5u << 16) | (3535u + 342u), index, layer, z);
  EXPECT_EQ(index, 3535u + 342u);
  EXPECT_EQ(layer, 1);
  EXPECT_EQ(z, 5);
  SplitCollisionId(MakeCollisionId(65535, 255, 255), index, layer, z);
  EXPECT_EQ(index, 65535u);
  EXPECT_EQ(layer, 255);
  EXPECT_EQ(z, 255);
  // An oversized index cannot spill into the z and layer bytes.
  SplitCollisionId(MakeCollisionId(0x12345, 3, 4), index, layer, z);
  EXPECT_EQ(layer, 3);
  EXPECT_EQ(z, 4);
}

TEST(CollisionId, DecodingAtEveryRangeBoundary) {
  struct Case {
    uint32_t index;
    bool namesObject;
    CollisionKind kind;
    uint32_t slot;
  };
  const Case cases[] = {
      {0, false, UnsetKind, 0},
      {534, false, UnsetKind, 0},
      {535, false, StaticCircleKind, 0},
      {536, true, StaticCircleKind, 1},
      {3534, true, StaticCircleKind, 2999},
      {3535, false, StaticLineSegmentKind, 0},
      {3536, true, StaticLineSegmentKind, 1},
      {6534, true, StaticLineSegmentKind, 2999},
      {6535, false, DynamicCircleKind, 0},
      {6536, false, DynamicCircleKind, 1},  // dynamic circles are never stored objects
      {7535, false, DynamicLineSegmentKind, 0},
      {8534, false, DynamicLineSegmentKind, 999},
      {8535, false, TileMapKind, 0},
      {8536, true, TileMapKind, 1},
      {9534, true, TileMapKind, 999},
      {9535, false, DynamicObjectKind, 0},
      {9536, true, DynamicObjectKind, 1},
      {65535, true, DynamicObjectKind, kMaximumDynamicObjectSlot},
  };
  for (const Case& c : cases) {
    DecodedCollisionId decoded;
    EXPECT_EQ(DecodeCollisionId(MakeCollisionId(c.index, 7, 9), decoded), c.namesObject) << c.index;
    EXPECT_EQ(decoded.kind, c.kind) << c.index;
    EXPECT_EQ(decoded.slot, c.slot) << c.index;
    EXPECT_EQ(decoded.layer, 7);
    EXPECT_EQ(decoded.z, 9);
  }
}

TEST(CollisionTag, SaveKeepsTheKindOnlyAndLoadClearsTheOwner) {
  CollisionTag tag(TileMapKind);
  int owner = 0;
  tag.SetOwner(reinterpret_cast<Quillon::GameObject*>(&owner));
  CollisionTag copy = tag;
  EXPECT_EQ(copy.GetOwner(), tag.GetOwner());
  Core::MemoryFile file;
  tag.Save(file);
  EXPECT_EQ(file.GetBuffer().GetSize(), 4u);
  Core::MemoryFile in(file.GetBuffer().GetData(), 4);
  copy.Load(in);
  EXPECT_EQ(copy.GetKind(), TileMapKind);
  EXPECT_EQ(copy.GetOwner(), nullptr);
  EXPECT_EQ(CollisionTag().GetKind(), UnsetKind);
}
