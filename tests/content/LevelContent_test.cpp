// What must hold of every level's rows, read from the rows themselves: each object's collision
// actor has the animations and frames of its sprite and fits the frames of its picture (read from
// the generated pictures beside the tests), each can-collide entry names a group that an object of
// the level carries, each mount names objects of the level, no two objects share a name, and the
// game's contact rules name objects the levels have.
#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <algorithm>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "collision/Collision_Actor.h"
#include "content/Velkor_CollisionActors.h"
#include "content/Velkor_LevelRows.h"
#include "content/Velkor_MyLevelFactory.h"
#include "framework/Quillon_Sprite.h"
#include "game/Velkor_ContactTables.h"
#include "game/Velkor_MyGame.h"
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

TEST(LevelContent, EveryLevelHasRowsAndTheFactoryFindsItByItsExactNameOnly) {
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
  EXPECT_EQ(MyLevelFactory::GetLevelName(MyLevelFactory::kLevelCount), nullptr);
  // Case, a trailing blank, a prefix, an embedded NUL and the empty name name nothing and leave
  // the output alone.
  for (const std::string& name : {std::string("gamelevel"), std::string("GameLevel "), std::string("Game"),
                                  std::string("Logos\0x", 7), std::string(""), std::string("LOGOS")}) {
    uint32_t index = 42;
    EXPECT_FALSE(MyLevelFactory().GetLevelIndex(name, index)) << name;
    EXPECT_EQ(index, 42u);
  }
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
  std::map<uint32_t, std::set<std::string>> names;
  ForEachRow([&names](uint32_t level, const ObjectRow& row) { names[level].insert(row.name); });
  for (uint32_t number = 0; number < MyLevelFactory::kLevelCount; ++number) {
    for (const Content::MountRow& mount : MyLevelFactory::GetLevelRows(number)->mounts) {
      EXPECT_EQ(names[number].count(mount.carrier), 1u) << "level " << number << " " << mount.carrier;
      EXPECT_EQ(names[number].count(mount.carried), 1u) << "level " << number << " " << mount.carried;
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

// The contact rules find objects by their exact names: a row renamed without them would
// silently lose its rule. Names ending in "Clone" are given by the game to copies it makes.
TEST(LevelContent, TheContactRulesAndTheCarsHitsNameObjectsOfTheirLevels) {
  using namespace ContactTables;
  std::map<uint32_t, std::set<std::string>> names;
  ForEachRow([&names](uint32_t level, const ObjectRow& row) { names[level].insert(row.name); });
  auto expectRow = [&names](uint32_t level, const std::string& name) {
    const std::string clone = "Clone";
    const bool made = name.size() > clone.size() && name.compare(name.size() - clone.size(), clone.size(), clone) == 0;
    EXPECT_TRUE(made || names[level].count(name) == 1) << "level " << level << " has no " << name;
  };
  std::vector<const char*> game(std::begin(kCarPassesThrough), std::end(kCarPassesThrough));
  for (const Attacker& attacker : kCarAttackers) game.push_back(attacker.name);
  for (const NamePair& pair : kGameFrictionless) game.insert(game.end(), {pair.first, pair.second});
  for (const NamePair& pair : kGamePassThrough) game.insert(game.end(), {pair.first, pair.second});
  for (const NamePairValue& rule : kGameRestitution) game.insert(game.end(), {rule.first, rule.second});
  for (const char* name : game) expectRow(kGameLevel, name);
  for (const char* name : kTutorialPlatforms) expectRow(kTutorialLevel, name);
  for (const char* name : kTutorialPassThrough) expectRow(kTutorialLevel, name);
}

// A mouse cursor that pushed would stop whatever rolls into it where the player leaves the mouse:
// every sprite drawn with the cursor's picture passes through every object of its level.
TEST(LevelContent, EveryMouseCursorPassesThroughEveryObjectOfItsLevel) {
  std::map<uint32_t, std::vector<std::string>> names;
  ForEachRow([&names](uint32_t level, const ObjectRow& row) { names[level].push_back(row.name); });
  int cursors = 0;
  ForEachRow([&](uint32_t level, const ObjectRow& row) {
    if (row.look.animations.empty() || std::string(row.look.animations[0].stem) != "MousePoint") return;
    ++cursors;
    Core::SmartPointer<Quillon::Sprite> cursor(new Quillon::Sprite());
    cursor->SetName(row.name);
    for (const std::string& name : names[level]) {
      Core::SmartPointer<Quillon::Sprite> other(new Quillon::Sprite());
      other->SetName(name);
      float restitution = 0.0f, friction = 0.0f;
      EXPECT_FALSE(DecideContact(level, cursor.Get(), other.Get(), restitution, friction)) << row.name << "/" << name;
      EXPECT_FALSE(DecideContact(level, other.Get(), cursor.Get(), restitution, friction)) << name << "/" << row.name;
    }
  });
  EXPECT_GT(cursors, 0);
}

}  // namespace
