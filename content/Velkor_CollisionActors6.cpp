// Collision actors 60 to 69.
#include "content/Velkor_CollisionActorData.h"

namespace {

constexpr const char* kSourceFile = "Velkor_CollisionActors6";

// Road surface.
const CollisionSegmentRecord kGroundEdgeSegments[] = {
    {-720, 110, 720, 110, 0},
};

const CollisionAnimationRecord kActor60[] = {Plain(2, 23, -71, 71, -23)};
const CollisionAnimationRecord kActor61[] = {Plain(1, 57, -57, 57, -57)};
const CollisionAnimationRecord kActor62[] = {Plain(1, 110, -210, 210, -110)};
const CollisionAnimationRecord kActor63[] = {Plain(1, 16, -77, 77, -16)};
const CollisionAnimationRecord kActor64[] = {Plain(1, 16, -77, 77, -16)};
const CollisionAnimationRecord kActor65[] = {Plain(1, 540, -960, 960, -540)};
const CollisionAnimationRecord kActor66[] = {Plain(1, 540, -960, 960, -540)};
const CollisionAnimationRecord kActor67[] = {Plain(1, 540, -960, 960, -540)};
const CollisionAnimationRecord kActor68[] = {Plain(5, 400, -250, 250, -400)};
const CollisionShapeRecord kActor69Frames[] = {Segments(kGroundEdgeSegments)};
const CollisionAnimationRecord kActor69[] = {{1, 112, -720, 720, -112, kActor69Frames}};

}  // namespace

const CollisionActorRecord kCollisionActorGroup6[10] = {
    Animations(kActor60),
    Animations(kActor61),
    Animations(kActor62),
    Animations(kActor63),
    Animations(kActor64),
    Animations(kActor65),
    Animations(kActor66),
    Animations(kActor67),
    Animations(kActor68),
    Animations(kActor69),
};

void CreateCollisionActor60(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 60, kCollisionActorGroup6[0], kSourceFile, __LINE__);
}
void CreateCollisionActor61(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 61, kCollisionActorGroup6[1], kSourceFile, __LINE__);
}
void CreateCollisionActor62(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 62, kCollisionActorGroup6[2], kSourceFile, __LINE__);
}
void CreateCollisionActor63(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 63, kCollisionActorGroup6[3], kSourceFile, __LINE__);
}
void CreateCollisionActor64(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 64, kCollisionActorGroup6[4], kSourceFile, __LINE__);
}
void CreateCollisionActor65(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 65, kCollisionActorGroup6[5], kSourceFile, __LINE__);
}
void CreateCollisionActor66(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 66, kCollisionActorGroup6[6], kSourceFile, __LINE__);
}
void CreateCollisionActor67(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 67, kCollisionActorGroup6[7], kSourceFile, __LINE__);
}
void CreateCollisionActor68(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 68, kCollisionActorGroup6[8], kSourceFile, __LINE__);
}
void CreateCollisionActor69(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 69, kCollisionActorGroup6[9], kSourceFile, __LINE__);
}

void MyLevelFactory::CreateCollisionActors6() {
  CreateCollisionActor60(this);
  CreateCollisionActor61(this);
  CreateCollisionActor62(this);
  CreateCollisionActor63(this);
  CreateCollisionActor64(this);
  CreateCollisionActor65(this);
  CreateCollisionActor66(this);
  CreateCollisionActor67(this);
  CreateCollisionActor68(this);
  CreateCollisionActor69(this);
}
