// The collision actors: the mirrored variants, the outlines (closed, inside the rectangle, no
// degenerate shape), user ids, the values the screens rely on, registration in index order, and
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

constexpr uint32_t kActorCount = 105;

std::unique_ptr<CollisionActor> Build(uint32_t index) { return std::unique_ptr<CollisionActor>(BuildCollisionActor(index)); }

std::vector<const CollisionFrame*> Frames(const CollisionActor& actor) {
  std::vector<const CollisionFrame*> frames;
  for (uint32_t a = 0; a < actor.GetAnimationCount(); ++a) {
    const CollisionAnimation* animation = actor.GetAnimation(a);
    for (uint32_t f = 0; f < animation->GetFrameCount(); ++f) frames.push_back(animation->GetFrame(f));
  }
  return frames;
}

std::string Bytes(const CollisionAnimation& animation) {
  Core::MemoryFile file;
  animation.Save(file);
  const Core::MemoryBuffer& buffer = file.GetBuffer();
  return std::string(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize());
}

std::string Bytes(const CollisionActor& actor) {
  Core::MemoryFile file;
  actor.Save(file);
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

void ExpectRect(const QlnRect& r, float top, float left, float right, float bottom) {
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.right, right);
  EXPECT_EQ(r.bottom, bottom);
}

void ExpectSegment(const CollisionFrame& frame, uint32_t index, float ax, float ay, float bx, float by) {
  ASSERT_LT(index, frame.GetLineSegments().size());
  const Math::LineSegment2D& s = frame.GetLineSegments()[index]->GetVariant(Collision2D::NoFlip);
  EXPECT_TRUE(Same(s.pointA, Vector2D(ax, ay)) && Same(s.pointB, Vector2D(bx, by)))
      << "segment " << index << ": (" << s.pointA.x << ", " << s.pointA.y << ") to (" << s.pointB.x << ", "
      << s.pointB.y << ")";
}

TEST(CollisionActors, UnevenRectanglesKeepTheirExactValues) {
  ExpectRect(Build(0)->GetFrame(0, 0)->GetBoundingRectangle(Collision2D::NoFlip), 360, -640, 640, -360);
  ExpectRect(Build(5)->GetFrame(0, 0)->GetBoundingRectangle(Collision2D::NoFlip), 206, -350, 350, -207);
  ExpectRect(Build(11)->GetFrame(0, 0)->GetBoundingRectangle(Collision2D::NoFlip), 350, -327, 328, -350);
  ExpectRect(Build(23)->GetFrame(0, 0)->GetBoundingRectangle(Collision2D::NoFlip), 20, -83, 82, -14);
  ExpectRect(Build(28)->GetFrame(0, 1)->GetBoundingRectangle(Collision2D::NoFlip), 17, -17, 15, -15);
  ExpectRect(Build(30)->GetFrame(0, 0)->GetBoundingRectangle(Collision2D::NoFlip), 16, -16, 1, -6);
  auto garage = Build(53);
  ExpectRect(garage->GetFrame(0, 2)->GetBoundingRectangle(Collision2D::NoFlip), 50, -72, 72, -50);
  ExpectRect(garage->GetFrame(1, 2)->GetBoundingRectangle(Collision2D::NoFlip), 46, -54, 54, -46);
  ExpectRect(garage->GetFrame(2, 1)->GetBoundingRectangle(Collision2D::NoFlip), 23, -71, 71, -23);
  ExpectRect(garage->GetFrame(3, 0)->GetBoundingRectangle(Collision2D::NoFlip), 57, -57, 57, -57);
  EXPECT_EQ(garage->GetFrame(2, 2), nullptr);
  EXPECT_EQ(garage->GetFrame(4, 0), nullptr);
}

TEST(CollisionActors, MirroredRectanglesFollowTheFlipRules) {
  auto label = Build(52);
  for (uint32_t f = 0; f < 3; ++f) {
    const CollisionFrame* frame = label->GetFrame(0, f);
    ExpectRect(frame->GetBoundingRectangle(Collision2D::NoFlip), 57, -213, 219, -46);
    ExpectRect(frame->GetBoundingRectangle(Collision2D::HFlip), 57, -219, 213, -46);
    ExpectRect(frame->GetBoundingRectangle(Collision2D::VFlip), 46, -213, 219, -57);
    ExpectRect(frame->GetBoundingRectangle(Collision2D::HVFlip), 46, -219, 213, -57);
  }
  for (uint32_t k = 0; k < kActorCount; ++k) {
    auto actor = Build(k);
    for (const CollisionFrame* frame : Frames(*actor)) {
      const QlnRect r = frame->GetBoundingRectangle(Collision2D::NoFlip);
      EXPECT_EQ(frame->GetBoundingRectangle(Collision2D::HFlip), QlnRect(r.top, -r.right, -r.left, r.bottom)) << k;
      EXPECT_EQ(frame->GetBoundingRectangle(Collision2D::VFlip), QlnRect(-r.bottom, r.left, r.right, -r.top)) << k;
      EXPECT_EQ(frame->GetBoundingRectangle(Collision2D::HVFlip), QlnRect(-r.bottom, -r.right, -r.left, -r.top)) << k;
    }
  }
}

TEST(CollisionActors, MirroredShapesSwapTheirEndPoints) {
  for (uint32_t k = 0; k < kActorCount; ++k) {
    auto actor = Build(k);
    for (const CollisionFrame* frame : Frames(*actor)) {
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
  // The player's car mirrored left to right: its floor (40, -9) to (-30, -9) becomes (30, -9) to (-40, -9).
  auto car = Build(96);
  const Math::LineSegment2D& floor = car->GetFrame(1, 2)->GetLineSegments()[0]->GetVariant(Collision2D::HFlip);
  EXPECT_TRUE(Same(floor.pointA, Vector2D(30, -9)) && Same(floor.pointB, Vector2D(-40, -9)));
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
  // The closed boxes keep the authored sides otherwise: the alien's left side still reaches y 29.
  auto alien = Build(71);
  ExpectSegment(*alien->GetFrame(0, 1), 1, -21, -27, -21, 29);
  ExpectSegment(*alien->GetFrame(0, 1), 3, 22, -26, -21, -27);
  ExpectSegment(*Build(37)->GetFrame(0, 2), 1, -19, -27, -19, 29);
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
  auto pot = Build(73);
  ExpectSegment(*pot->GetFrame(0, 0), 0, -21, 28, 22, 28);
  ExpectSegment(*pot->GetFrame(0, 0), 3, 22, -27, -21, -27);
}

TEST(CollisionActors, OutlinesKeepTheirAuthoredValues) {
  ExpectSegment(*Build(44)->GetFrame(0, 0), 0, -979, 15, 928, 14);
  ExpectSegment(*Build(69)->GetFrame(0, 0), 0, -720, 110, 720, 110);
  ExpectSegment(*Build(72)->GetFrame(0, 0), 0, -80, 15, 80, 15);
  ExpectSegment(*Build(38)->GetFrame(0, 0), 1, -15, -29, 27, 14);
  ExpectSegment(*Build(30)->GetFrame(0, 0), 2, 1, 16, 1, -6);
  ExpectSegment(*Build(25)->GetFrame(0, 1), 0, 40, -9, -30, -9);
  ExpectSegment(*Build(82)->GetFrame(0, 0), 3, 86, -26, -74, -26);
  EXPECT_TRUE(Build(82)->GetFrame(0, 1)->GetLineSegments().empty());
  ExpectSegment(*Build(92)->GetFrame(0, 0), 0, -591, 8, 527, 8);
  ExpectSegment(*Build(99)->GetFrame(0, 0), 3, 600, -14, -519, -14);

  auto circleOf = [](uint32_t k, uint32_t frame) {
    return Build(k)->GetFrame(0, frame)->GetCircles().at(0)->GetVariant(Collision2D::NoFlip);
  };
  const Math::Circle2D hull = circleOf(85, 0);
  EXPECT_TRUE(Same(hull.center, Vector2D(-2, -38)));
  EXPECT_EQ(hull.radius, 66.0f);
  EXPECT_EQ(circleOf(47, 0).radius, 10.0f);
  EXPECT_EQ(circleOf(88, 1).radius, 9.0f);
  EXPECT_TRUE(Same(circleOf(89, 0).center, Vector2D(-2, -2)));
  EXPECT_TRUE(Same(circleOf(89, 1).center, Vector2D(-1, 0)));
  EXPECT_TRUE(Same(circleOf(89, 2).center, Vector2D(-1, 0)));
  EXPECT_EQ(circleOf(89, 2).radius, 17.0f);
}

// The blast: nested axis-aligned boxes, the given first and last ones, all inside the first.
TEST(CollisionActors, BlastRingsAreNestedBoxes) {
  auto blast = Build(93);
  struct Box {
    float left, right, bottom, top;
  };
  const Box firsts[3] = {{-85, 90, -81, 98}, {-166, 168, -148, 186}, {-218, 223, -222, 220}};
  const Box lasts[3] = {{-5, 16, -6, 30}, {-155, 159, -136, 173}, {-10, 33, -27, 29}};
  for (uint32_t f = 0; f < 3; ++f) {
    SCOPED_TRACE("frame " + std::to_string(f));
    const CollisionFrame& frame = *blast->GetFrame(0, f);
    ExpectRect(frame.GetBoundingRectangle(Collision2D::NoFlip), 256, -256, 256, -256);
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
    EXPECT_EQ(boxes.front().left, firsts[f].left);
    EXPECT_EQ(boxes.front().right, firsts[f].right);
    EXPECT_EQ(boxes.front().bottom, firsts[f].bottom);
    EXPECT_EQ(boxes.front().top, firsts[f].top);
    EXPECT_EQ(boxes.back().left, lasts[f].left);
    EXPECT_EQ(boxes.back().right, lasts[f].right);
    EXPECT_EQ(boxes.back().bottom, lasts[f].bottom);
    EXPECT_EQ(boxes.back().top, lasts[f].top);
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
  const std::string full = Bytes(*Build(0));
  for (uint32_t k : {4u, 21u, 31u, 33u, 34u, 35u, 50u, 54u, 95u, 101u, 102u, 103u, 104u}) EXPECT_EQ(Bytes(*Build(k)), full) << k;
  EXPECT_NE(Bytes(*Build(3)), full);
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
