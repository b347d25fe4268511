#include "content/Velkor_CollisionActors.h"

#include <memory>

#include "collision/Collision_Actor.h"
#include "content/Velkor_CollisionActorData.h"
#include "framework/Quillon_Game.h"

// Car floor and roof.
const CollisionSegmentRecord kCarEdgesSegments[2] = {
    {40, -9, -30, -9, 0},
    {-37, 12, 51, 12, 0},
};

// Health pot; top edge and sides carry user id 1; the left side starts at the bottom corner so the box closes.
const CollisionSegmentRecord kPotBoxSegments[4] = {
    {-21, 28, 22, 28, 1},
    {-21, -27, -21, 29, 1},
    {22, 28, 22, -27, 1},
    {22, -27, -21, -27, 0},
};

// Civilian body; the left side starts at the bottom corner so the box closes.
const CollisionSegmentRecord kCivilianBoxSegments[4] = {
    {-19, 28, 19, 28, 0},
    {-19, -27, -19, 29, 0},
    {19, 28, 19, -27, 0},
    {19, -27, -19, -27, 0},
};

// Player shot bolt.
const CollisionSegmentRecord kBoltBoxSegments[4] = {
    {-15, 4, 14, 4, 0},
    {-15, -4, -15, 4, 0},
    {14, 4, 14, -4, 0},
    {14, -4, -15, -4, 0},
};

namespace {

struct GroupTable {
  const CollisionActorRecord* records;
  const char* sourceFile;
};

constexpr GroupTable kGroups[] = {
    {kCollisionActorGroup0, "Velkor_CollisionActors0"}, {kCollisionActorGroup1, "Velkor_CollisionActors1"},
    {kCollisionActorGroup2, "Velkor_CollisionActors2"}, {kCollisionActorGroup3, "Velkor_CollisionActors3"},
    {kCollisionActorGroup4, "Velkor_CollisionActors4"}, {kCollisionActorGroup5, "Velkor_CollisionActors5"},
    {kCollisionActorGroup6, "Velkor_CollisionActors6"}, {kCollisionActorGroup7, "Velkor_CollisionActors7"},
    {kCollisionActorGroup8, "Velkor_CollisionActors8"}, {kCollisionActorGroup9, "Velkor_CollisionActors9"},
    {kCollisionActorGroup10, "Velkor_CollisionActors10"},
};

}  // namespace

Collision2D::CollisionActor* BuildCollisionActor(const CollisionActorRecord& record, const char* sourceFile,
                                                 int line) {
  using namespace Collision2D;
  // Each part is held until its owner has taken it, so a failed allocation frees what was built.
  std::unique_ptr<CollisionActor> actor(new (sourceFile, line) CollisionActor());
  for (uint32_t a = 0; a < record.animationCount; ++a) {
    const CollisionAnimationRecord& animationRecord = record.animations[a];
    std::unique_ptr<CollisionAnimation> animation(new (sourceFile, line) CollisionAnimation());
    for (uint32_t f = 0; f < animationRecord.frameCount; ++f) {
      std::unique_ptr<CollisionFrame> frame(new (sourceFile, line) CollisionFrame());
      const QlnRect rectangle(animationRecord.top, animationRecord.left, animationRecord.right,
                              animationRecord.bottom);
      frame->SetBoundingRectangle(rectangle, true);
      if (animationRecord.frameShapes != nullptr) {
        const CollisionShapeRecord& shapes = animationRecord.frameShapes[f];
        for (uint32_t s = 0; s < shapes.segmentCount; ++s) {
          const CollisionSegmentRecord& segment = shapes.segments[s];
          frame->AddCollisionLineSegment(Math::Vector2D(segment.ax, segment.ay), Math::Vector2D(segment.bx, segment.by),
                                         segment.userId, true);
        }
        for (uint32_t c = 0; c < shapes.circleCount; ++c) {
          const CollisionCircleRecord& circle = shapes.circles[c];
          frame->AddCollisionCircle(Math::Vector2D(circle.x, circle.y), circle.radius, 0, true);
        }
      }
      if (animation->AddCollisionFrame(frame.get())) frame.release();
    }
    if (actor->AddCollisionAnimation(animation.get())) animation.release();
  }
  return actor.release();
}

void CreateCollisionActor(MyLevelFactory* factory, uint32_t index, const CollisionActorRecord& record,
                          const char* sourceFile, int line) {
  std::unique_ptr<Collision2D::CollisionActor> actor(BuildCollisionActor(record, sourceFile, line));
  // The slot refers to the actor only once the game owns it: an actor nobody owns would either
  // leak or leave the slot pointing at freed memory.
  Quillon::Game* game = Quillon::Game::GetInstance();
  Collision2D::CollisionActor* registered = nullptr;
  if (game != nullptr && game->AddCollisionAssets(actor.get())) registered = actor.release();
  if (factory != nullptr && index < MyLevelFactory::kCollisionActorCount) factory->collisionActors[index] = registered;
}

Collision2D::CollisionActor* BuildCollisionActor(uint32_t index) {
  if (index >= MyLevelFactory::kCollisionActorCount) return nullptr;
  const GroupTable& group = kGroups[index / 10];
  return BuildCollisionActor(group.records[index % 10], group.sourceFile, __LINE__);
}

void MyLevelFactory::CreateCollisionActors() {
  CreateCollisionActors0();
  CreateCollisionActors1();
  CreateCollisionActors2();
  CreateCollisionActors3();
  CreateCollisionActors4();
  CreateCollisionActors5();
  CreateCollisionActors6();
  CreateCollisionActors7();
  CreateCollisionActors8();
  CreateCollisionActors9();
  CreateCollisionActor100(this);
  CreateCollisionActor101(this);
  CreateCollisionActor102(this);
  CreateCollisionActor103(this);
  CreateCollisionActor104(this);
}
