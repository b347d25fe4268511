// What must hold of every level's rows, read from the rows themselves: each object's collision
// actor has the animations and frames of its sprite and fits the frames of its picture (read from
// the generated pictures beside the tests), each can-collide entry names a group that an object of
// the level carries, each mount names objects of the level, and no two objects share a name.
#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <algorithm>

#include <map>
#include <memory>
#include <set>
#include <string>

#include "collision/Collision_Actor.h"
#include "content/Velkor_CollisionActors.h"
#include "content/Velkor_LevelRows.h"
#include "content/Velkor_MyLevelFactory.h"
#include "platform/PAL_Path.h"
#include "tests/support/ContentRows.h"

namespace {

using Content::LevelRows;
using Content::ObjectRow;

// Calls visit(level number, row) for every object row of every level.
template <typename Visit>
void ForEachRow(Visit visit) {
  for (uint32_t number = 0; number < MyLevelFactory::kLevelCount; ++number) {
    const LevelRows* rows = MyLevelFactory::GetLevelRows(number);
    ASSERT_NE(rows, nullptr) << number;
    for (const Content::LayerRows& layer : rows->layers) {
      for (const ObjectRow& row : layer.objects) visit(number, row);
    }
  }
}

TEST(LevelContent, EveryLevelHasRowsAndANameTheFactoryFindsItBy) {
  for (uint32_t number = 0; number < MyLevelFactory::kLevelCount; ++number) {
    const LevelRows* rows = MyLevelFactory::GetLevelRows(number);
    ASSERT_NE(rows, nullptr) << number;
    EXPECT_NE(rows->level, nullptr) << number;
    EXPECT_FALSE(rows->layers.empty()) << number;
    EXPECT_LE(rows->layers.size(), MyLevelFactory::kLayerSlotCount) << number;
    uint32_t found = 99;
    ASSERT_NE(MyLevelFactory::GetLevelName(number), nullptr);
    EXPECT_TRUE(MyLevelFactory().GetLevelIndex(MyLevelFactory::GetLevelName(number), found));
    EXPECT_EQ(found, number);
  }
  EXPECT_EQ(MyLevelFactory::GetLevelRows(MyLevelFactory::kLevelCount), nullptr);
}

TEST(LevelContent, EverySpritesActorHasTheAnimationsAndFramesOfItsSprite) {
  std::set<int32_t> used;
  ForEachRow([&used](uint32_t level, const ObjectRow& row) {
    if (row.type.sprite == nullptr) {
      if (row.type.text != nullptr) {
        EXPECT_EQ(row.actor, Content::kNoActor) << row.name;
      }
      return;
    }
    SCOPED_TRACE("level " + std::to_string(level) + " " + row.name);
    ASSERT_GE(row.actor, 0);
    ASSERT_LT(static_cast<uint32_t>(row.actor), MyLevelFactory::kCollisionActorCount);
    used.insert(row.actor);
    std::unique_ptr<Collision2D::CollisionActor> actor(BuildCollisionActor(static_cast<uint32_t>(row.actor)));
    ASSERT_NE(actor, nullptr);
    ASSERT_EQ(actor->GetAnimationCount(), row.look.animations.size());
    for (uint32_t a = 0; a < actor->GetAnimationCount(); ++a) {
      EXPECT_EQ(actor->GetAnimation(a)->GetFrameCount(), row.look.animations[a].frames) << "animation " << a;
      EXPECT_LE(row.look.animations[a].frames, row.look.animations[a].columns * row.look.animations[a].rows);
    }
  });
  // Every actor serves a sprite; past the last there is none.
  EXPECT_EQ(used.size(), MyLevelFactory::kCollisionActorCount);
  EXPECT_EQ(BuildCollisionActor(MyLevelFactory::kCollisionActorCount), nullptr);
}

// A frame is drawn centred on the sprite: the rectangle reaches the frame's edge on the farther
// side of each axis and never beyond it, the same rectangle in every frame of an animation.
TEST(LevelContent, EverySpritesActorFitsTheFramesOfItsPicture) {
  ForEachRow([](uint32_t level, const ObjectRow& row) {
    if (row.type.sprite == nullptr) return;
    SCOPED_TRACE("level " + std::to_string(level) + " " + row.name);
    std::unique_ptr<Collision2D::CollisionActor> actor(BuildCollisionActor(static_cast<uint32_t>(row.actor)));
    ASSERT_NE(actor, nullptr);
    for (uint32_t a = 0; a < actor->GetAnimationCount() && a < row.look.animations.size(); ++a) {
      const Content::AnimationRow& sheet = row.look.animations[a];
      int width = 0, height = 0, channels = 0;
      const std::string path = PAL::ResourcePath(std::string("Resources\\Animations\\") + sheet.stem + ".png");
      ASSERT_TRUE(stbi_info(path.c_str(), &width, &height, &channels)) << path;
      const Collision2D::CollisionAnimation* animation = actor->GetAnimation(a);
      const Collision2D::QlnRect first = animation->GetFrame(0)->GetBoundingRectangle(Collision2D::NoFlip);
      EXPECT_LT(first.left, first.right);
      EXPECT_LT(first.bottom, first.top);
      EXPECT_EQ(2.0f * std::max(-first.left, first.right), static_cast<float>(width / sheet.columns)) << sheet.stem;
      EXPECT_EQ(2.0f * std::max(first.top, -first.bottom), static_cast<float>(height / sheet.rows)) << sheet.stem;
      for (uint32_t f = 1; f < animation->GetFrameCount(); ++f) {
        EXPECT_EQ(animation->GetFrame(f)->GetBoundingRectangle(Collision2D::NoFlip), first) << "frame " << f;
      }
    }
  });
}

TEST(LevelContent, EveryCanCollideEntryNamesAGroupThatAnObjectOfTheLevelCarries) {
  std::map<uint32_t, std::multiset<uint8_t>> groups;
  ForEachRow([&groups](uint32_t level, const ObjectRow& row) {
    const TestSupport::RowBody body = TestSupport::BodyOf(row);
    if (body.body) groups[level].insert(body.group);
  });
  ForEachRow([&groups](uint32_t level, const ObjectRow& row) {
    const TestSupport::RowBody body = TestSupport::BodyOf(row);
    if (!body.body) return;
    for (uint8_t partner : body.partners) {
      // An object of the same group is another object: itself alone is not a partner.
      const size_t needed = partner == body.group ? 2 : 1;
      EXPECT_GE(groups[level].count(partner), needed)
          << "level " << level << " " << row.name << " is tested against group " << int(partner);
    }
  });
}

TEST(LevelContent, EveryMountNamesTwoObjectsOfItsLevel) {
  for (uint32_t number = 0; number < MyLevelFactory::kLevelCount; ++number) {
    std::set<std::string> names;
    for (const Content::LayerRows& layer : MyLevelFactory::GetLevelRows(number)->layers) {
      for (const ObjectRow& row : layer.objects) names.insert(row.name);
    }
    for (const Content::MountRow& mount : MyLevelFactory::GetLevelRows(number)->mounts) {
      EXPECT_EQ(names.count(mount.carrier), 1u) << "level " << number << " " << mount.carrier;
      EXPECT_EQ(names.count(mount.carried), 1u) << "level " << number << " " << mount.carried;
      EXPECT_STRNE(mount.carrier, mount.carried);
    }
  }
}

// The game finds its objects by name (the first of that name): two of one name in a level would
// leave the second out of every lookup.
TEST(LevelContent, NoTwoObjectsOfALevelShareAName) {
  std::map<uint32_t, std::map<std::string, int>> counts;
  ForEachRow([&counts](uint32_t level, const ObjectRow& row) { ++counts[level][row.name]; });
  for (const auto& [level, names] : counts) {
    for (const auto& [name, count] : names) {
      EXPECT_EQ(count, 1) << "level " << level << " " << name;
      EXPECT_NE(name, "camera0") << "level " << level << ": the builder names the camera so";
    }
  }
}

}  // namespace
