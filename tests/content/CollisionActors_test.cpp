// The collision actors: the mirrored variants, the outlines (closed, inside the rectangle, no
// degenerate shape), user ids, registration in index order, and
// that rebuilding leaks nothing. How the actors fit the sprites that use them is held against the
// level rows in LevelContent_test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "collision/Collision_Actor.h"
#include "content/Velkor_CollisionActors.h"
#include "content/Velkor_MyLevelFactory.h"
#include "core/Core_File.h"
#include "core/Core_MemoryManager.h"
#include "framework/Quillon_Game.h"
#include "platform/PAL_Services.h"
#include "platform/PAL_Window.h"
#include "tests/support/GameSession.h"
#include "tests/support/TestSupport.h"

namespace {

using Collision2D::CollisionActor;
using Collision2D::CollisionAnimation;
using Collision2D::CollisionFrame;
using Collision2D::FlipVariant;
using Collision2D::QlnRect;
using Math::Vector2D;

constexpr uint32_t kActorCount = MyLevelFactory::kCollisionActorCount;

std::unique_ptr<CollisionActor> Build(uint32_t index) { return std::unique_ptr<CollisionActor>(BuildCollisionActor(index)); }

std::vector<const CollisionFrame*> Frames(const CollisionActor& actor) {
  std::vector<const CollisionFrame*> frames;
  for (uint32_t a = 0; a < actor.GetAnimationCount(); ++a) {
    const CollisionAnimation* animation = actor.GetAnimation(a);
    for (uint32_t f = 0; f < animation->GetFrameCount(); ++f) frames.push_back(animation->GetFrame(f));
  }
  return frames;
}

// What an animation or a whole actor saves.
template <typename Saved>
std::string Bytes(const Saved& saved) {
  Core::MemoryFile file;
  saved.Save(file);
  const Core::MemoryBuffer& buffer = file.GetBuffer();
  return std::string(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize());
}

bool Same(const Vector2D& a, const Vector2D& b) { return a.x == b.x && a.y == b.y; }

// Exact for the whole-number coordinates of the actors.
bool OnSegment(const Vector2D& p, const Math::LineSegment2D& s) {
  const Vector2D& a = s.pointA;
  const Vector2D& b = s.pointB;
  const float cross = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
  return cross == 0.0f && p.x >= std::min(a.x, b.x) && p.x <= std::max(a.x, b.x) && p.y >= std::min(a.y, b.y) &&
         p.y <= std::max(a.y, b.y);
}

// Whether two segments share a point (exact for whole-number coordinates).
bool Touch(const Math::LineSegment2D& s, const Math::LineSegment2D& t) {
  auto side = [](const Vector2D& a, const Vector2D& b, const Vector2D& p) {
    const float cross = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
    return cross > 0.0f ? 1 : (cross < 0.0f ? -1 : 0);
  };
  const int d1 = side(t.pointA, t.pointB, s.pointA), d2 = side(t.pointA, t.pointB, s.pointB);
  const int d3 = side(s.pointA, s.pointB, t.pointA), d4 = side(s.pointA, s.pointB, t.pointB);
  if (d1 * d2 < 0 && d3 * d4 < 0) return true;
  return OnSegment(s.pointA, t) || OnSegment(s.pointB, t) || OnSegment(t.pointA, s) || OnSegment(t.pointB, s);
}

void ExpectSegment(const CollisionFrame& frame, uint32_t index, float ax, float ay, float bx, float by) {
  ASSERT_LT(index, frame.GetLineSegments().size());
  const Math::LineSegment2D& s = frame.GetLineSegments()[index]->GetVariant(Collision2D::NoFlip);
  EXPECT_TRUE(Same(s.pointA, Vector2D(ax, ay)) && Same(s.pointB, Vector2D(bx, by)))
      << "segment " << index << ": (" << s.pointA.x << ", " << s.pointA.y << ") to (" << s.pointB.x << ", "
      << s.pointB.y << ")";
}

// Mirrored rectangles swap their sides, mirrored segments their end points.
TEST(CollisionActors, MirroredVariantsFollowTheFlipRules) {
  for (uint32_t k = 0; k < kActorCount; ++k) {
    auto actor = Build(k);
    for (const CollisionFrame* frame : Frames(*actor)) {
      const QlnRect r = frame->GetBoundingRectangle(Collision2D::NoFlip);
      EXPECT_EQ(frame->GetBoundingRectangle(Collision2D::HFlip), QlnRect(r.top, -r.right, -r.left, r.bottom)) << k;
      EXPECT_EQ(frame->GetBoundingRectangle(Collision2D::VFlip), QlnRect(-r.bottom, r.left, r.right, -r.top)) << k;
      EXPECT_EQ(frame->GetBoundingRectangle(Collision2D::HVFlip), QlnRect(-r.bottom, -r.right, -r.left, -r.top)) << k;
      for (const auto& segment : frame->GetLineSegments()) {
        const Vector2D a = segment->GetVariant(Collision2D::NoFlip).pointA;
        const Vector2D b = segment->GetVariant(Collision2D::NoFlip).pointB;
        const Math::LineSegment2D& h = segment->GetVariant(Collision2D::HFlip);
        const Math::LineSegment2D& v = segment->GetVariant(Collision2D::VFlip);
        const Math::LineSegment2D& hv = segment->GetVariant(Collision2D::HVFlip);
        EXPECT_TRUE(Same(h.pointA, Vector2D(-b.x, b.y)) && Same(h.pointB, Vector2D(-a.x, a.y))) << k;
        EXPECT_TRUE(Same(v.pointA, Vector2D(b.x, -b.y)) && Same(v.pointB, Vector2D(a.x, -a.y))) << k;
        EXPECT_TRUE(Same(hv.pointA, Vector2D(-b.x, -b.y)) && Same(hv.pointB, Vector2D(-a.x, -a.y))) << k;
      }
      for (const auto& circle : frame->GetCircles()) {
        const Math::Circle2D& c = circle->GetVariant(Collision2D::NoFlip);
        const Vector2D expected[] = {c.center, Vector2D(-c.center.x, -c.center.y), Vector2D(-c.center.x, c.center.y),
                                     Vector2D(c.center.x, -c.center.y)};
        for (uint32_t v = 0; v < 4; ++v) {
          const Math::Circle2D& mirrored = circle->GetVariant(static_cast<FlipVariant>(v));
          EXPECT_TRUE(Same(mirrored.center, expected[v])) << k << " variant " << v;
          EXPECT_EQ(mirrored.radius, c.radius) << k;
        }
      }
    }
  }
}

// No zero-length segment or empty circle, and every shape lies within its frame's rectangle.
TEST(CollisionActors, ShapesAreSoundAndInsideTheirRectangles) {
  for (uint32_t k = 0; k < kActorCount; ++k) {
    auto actor = Build(k);
    for (const CollisionFrame* frame : Frames(*actor)) {
      const QlnRect r = frame->GetBoundingRectangle(Collision2D::NoFlip);
      auto inside = [&r](const Vector2D& p, float margin) {
        return p.x - margin >= r.left && p.x + margin <= r.right && p.y - margin >= r.bottom && p.y + margin <= r.top;
      };
      for (const auto& segment : frame->GetLineSegments()) {
        const Math::LineSegment2D& s = segment->GetVariant(Collision2D::NoFlip);
        EXPECT_FALSE(Same(s.pointA, s.pointB)) << k;
        EXPECT_TRUE(inside(s.pointA, 0) && inside(s.pointB, 0)) << k;
      }
      for (const auto& circle : frame->GetCircles()) {
        const Math::Circle2D& c = circle->GetVariant(Collision2D::NoFlip);
        EXPECT_GT(c.radius, 0.0f) << k;
        EXPECT_TRUE(inside(c.center, c.radius)) << k;
        EXPECT_EQ(circle->GetUserId(), 0u) << k;
      }
    }
  }
}

// Every four-segment outline is a closed box: added as top edge, left side, right side, bottom
// edge, each side touches the two edges it meets at the corners.
TEST(CollisionActors, BoxOutlinesClose) {
  for (uint32_t k = 0; k < kActorCount; ++k) {
    auto actor = Build(k);
    for (const CollisionFrame* frame : Frames(*actor)) {
      const auto& segments = frame->GetLineSegments();
      if (segments.size() < 4) continue;
      ASSERT_EQ(segments.size() % 4, 0u) << k;
      for (size_t q = 0; q < segments.size(); q += 4) {
        const size_t corners[4][2] = {{0, 1}, {0, 2}, {1, 3}, {2, 3}};
        for (const auto& corner : corners) {
          EXPECT_TRUE(Touch(segments[q + corner[0]]->GetVariant(Collision2D::NoFlip),
                            segments[q + corner[1]]->GetVariant(Collision2D::NoFlip)))
              << "actor " << k << " box " << q / 4 << " sides " << corner[0] << " and " << corner[1];
        }
      }
    }
  }
}

TEST(CollisionActors, OnlyTheHealthPotsTopAndSidesCarryUserIdOne) {
  for (uint32_t k = 0; k < kActorCount; ++k) {
    auto actor = Build(k);
    for (const CollisionFrame* frame : Frames(*actor)) {
      const auto& segments = frame->GetLineSegments();
      for (size_t i = 0; i < segments.size(); ++i) {
        const bool marked = (k == 36 || k == 73) && i < 3;
        EXPECT_EQ(segments[i]->GetUserId(), marked ? 1u : 0u) << "actor " << k << " segment " << i;
      }
    }
  }
}

// The blast: nested axis-aligned boxes, all inside the first.
TEST(CollisionActors, BlastRingsAreNestedBoxes) {
  auto blast = Build(93);
  struct Box {
    float left, right, bottom, top;
  };
  for (uint32_t f = 0; f < 3; ++f) {
    SCOPED_TRACE("frame " + std::to_string(f));
    const CollisionFrame& frame = *blast->GetFrame(0, f);
    const auto& segments = frame.GetLineSegments();
    std::vector<Box> boxes;
    for (size_t q = 0; q < segments.size(); q += 4) {
      const Math::LineSegment2D& topEdge = segments[q]->GetVariant(Collision2D::NoFlip);
      const Math::LineSegment2D& bottomEdge = segments[q + 3]->GetVariant(Collision2D::NoFlip);
      const Box box{topEdge.pointA.x, topEdge.pointB.x, bottomEdge.pointA.y, topEdge.pointA.y};
      ExpectSegment(frame, static_cast<uint32_t>(q), box.left, box.top, box.right, box.top);
      ExpectSegment(frame, static_cast<uint32_t>(q + 1), box.left, box.bottom, box.left, box.top);
      ExpectSegment(frame, static_cast<uint32_t>(q + 2), box.right, box.top, box.right, box.bottom);
      ExpectSegment(frame, static_cast<uint32_t>(q + 3), box.right, box.bottom, box.left, box.bottom);
      boxes.push_back(box);
    }
    ASSERT_FALSE(boxes.empty());
    auto within = [](const Box& inner, const Box& outer) {
      return inner.left > outer.left && inner.right < outer.right && inner.bottom > outer.bottom &&
             inner.top < outer.top && inner.left < inner.right && inner.bottom < inner.top;
    };
    // Frames 0 and 2 shrink box by box; frame 1 puts its second largest box last.
    const size_t shrinking = f == 1 ? boxes.size() - 1 : boxes.size();
    for (size_t i = 1; i < shrinking; ++i) EXPECT_TRUE(within(boxes[i], boxes[i - 1])) << "box " << i;
    if (f == 1) {
      EXPECT_TRUE(within(boxes.back(), boxes.front()));
      EXPECT_TRUE(within(boxes[1], boxes.back()));
    }
  }
}

TEST(CollisionActors, IdenticalDataStaysInDistinctActors) {
  auto green = Build(63), red = Build(64);
  EXPECT_NE(green.get(), red.get());
  EXPECT_EQ(Bytes(*green), Bytes(*red));
  auto player = Build(96);
  EXPECT_EQ(Bytes(*player->GetAnimation(0)), Bytes(*player->GetAnimation(1)));
  EXPECT_NE(player->GetAnimation(0)->GetFrame(0), player->GetAnimation(1)->GetFrame(0));
  // The menu car shares the player's outline.
  EXPECT_EQ(Bytes(*Build(25)->GetAnimation(0)), Bytes(*player->GetAnimation(0)));
}

// The actors come from the engine's pool: rebuilding them must not make the pool grow.
TEST(CollisionActors, RebuildingAndReleasingLeaksNothing) {
  const uint32_t sizes[] = {sizeof(CollisionActor), sizeof(CollisionAnimation), sizeof(CollisionFrame),
                            sizeof(Collision2D::DynamicCollisionLineSegment), sizeof(Collision2D::DynamicCollisionCircle)};
  auto round = [] {
    for (uint32_t k = 0; k < kActorCount; ++k) delete BuildCollisionActor(k);
  };
  round();
  std::vector<uint32_t> before;
  for (uint32_t size : sizes) before.push_back(Core::MemoryManager::GetInstance()->GetBlockCount(size));
  for (int i = 0; i < 4; ++i) round();
  for (size_t i = 0; i < before.size(); ++i)
    EXPECT_EQ(Core::MemoryManager::GetInstance()->GetBlockCount(sizes[i]), before[i]) << "size " << sizes[i];
}

// Without a running game nothing can own the actors: none is kept and every slot is null.
TEST(CollisionActors, WithoutAGameNoActorIsKept) {
  ASSERT_EQ(Quillon::Game::GetInstance(), nullptr);
  Core::SmartPointer<MyLevelFactory> factory(new MyLevelFactory());
  factory->CreateCollisionActors();
  for (uint32_t k = 0; k < kActorCount; ++k) EXPECT_EQ(factory->collisionActors[k], nullptr) << k;
}

class CollisionActorsGameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VELKOR_REQUIRE_DISPLAY();
    ASSERT_NO_FATAL_FAILURE(session_.Open());
    factory_ = new MyLevelFactory();
    game_ = session_.Adopt(
        new Quillon::Game(Core::SmartPointer<Quillon::LevelFactory>(factory_), TestSupport::SmallDisplay(60), 0));
  }
  void TearDown() override { session_.Close(); }

  TestSupport::GameSession session_;
  MyLevelFactory* factory_ = nullptr;
  Quillon::Game* game_ = nullptr;
};

TEST_F(CollisionActorsGameTest, ActorsAreRegisteredInIndexOrderAndReplacedOnEveryBuild) {
  factory_->CreateCollisionActors();
  ASSERT_EQ(game_->GetCollisionAssetCount(), kActorCount);
  for (uint32_t k = 0; k < kActorCount; ++k) {
    ASSERT_NE(factory_->collisionActors[k], nullptr) << k;
    EXPECT_EQ(game_->GetCollisionAsset(k), factory_->collisionActors[k]) << k;
  }
  EXPECT_EQ(Bytes(*game_->GetCollisionAsset(52)), Bytes(*Build(52)));
  // A level switch: the game drops the old actors, the next build registers 105 fresh ones.
  game_->ClearCollisionAssets();
  factory_->CreateCollisionActors();
  EXPECT_EQ(game_->GetCollisionAssetCount(), kActorCount);
  EXPECT_EQ(game_->GetCollisionAsset(104), factory_->collisionActors[104]);
  // Building again without a clear appends another 105 after the first: the slots point at the newest.
  factory_->CreateCollisionActors();
  EXPECT_EQ(game_->GetCollisionAssetCount(), 2 * kActorCount);
  EXPECT_EQ(game_->GetCollisionAsset(kActorCount + 7), factory_->collisionActors[7]);
}

}  // namespace
