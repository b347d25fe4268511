// Collision actors 20 to 29.
#include "content/Velkor_CollisionActorData.h"

namespace {

constexpr const char* kSourceFile = "Velkor_CollisionActors2";

const CollisionAnimationRecord kActor20[] = {Plain(1, 300, -400, 400, -300)};
const CollisionAnimationRecord kActor21[] = {Plain(1, 360, -640, 640, -360)};
const CollisionAnimationRecord kActor22[] = {Plain(1, 35, -129, 131, -36)};
const CollisionAnimationRecord kActor23[] = {Plain(1, 20, -83, 82, -14)};
const CollisionAnimationRecord kActor24[] = {Plain(1, 18, -640, 640, -18)};
const CollisionShapeRecord kActor25Frames[] = {Segments(kCarEdgesSegments), Segments(kCarEdgesSegments), Segments(kCarEdgesSegments)};
const CollisionAnimationRecord kActor25[] = {{3, 50, -72, 72, -50, kActor25Frames}};
const CollisionAnimationRecord kActor26[] = {Plain(1, 300, -400, 400, -300)};
const CollisionAnimationRecord kActor27[] = {Plain(1, 25, -25, 25, -25)};
const CollisionAnimationRecord kActor28[] = {Plain(2, 17, -17, 15, -15)};
const CollisionAnimationRecord kActor29[] = {Plain(2, 17, -17, 17, -17)};

}  // namespace

const CollisionActorRecord kCollisionActorGroup2[10] = {
    Animations(kActor20),
    Animations(kActor21),
    Animations(kActor22),
    Animations(kActor23),
    Animations(kActor24),
    Animations(kActor25),
    Animations(kActor26),
    Animations(kActor27),
    Animations(kActor28),
    Animations(kActor29),
};

void CreateCollisionActor20(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 20, kCollisionActorGroup2[0], kSourceFile, __LINE__);
}
void CreateCollisionActor21(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 21, kCollisionActorGroup2[1], kSourceFile, __LINE__);
}
void CreateCollisionActor22(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 22, kCollisionActorGroup2[2], kSourceFile, __LINE__);
}
void CreateCollisionActor23(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 23, kCollisionActorGroup2[3], kSourceFile, __LINE__);
}
void CreateCollisionActor24(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 24, kCollisionActorGroup2[4], kSourceFile, __LINE__);
}
void CreateCollisionActor25(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 25, kCollisionActorGroup2[5], kSourceFile, __LINE__);
}
void CreateCollisionActor26(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 26, kCollisionActorGroup2[6], kSourceFile, __LINE__);
}
void CreateCollisionActor27(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 27, kCollisionActorGroup2[7], kSourceFile, __LINE__);
}
void CreateCollisionActor28(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 28, kCollisionActorGroup2[8], kSourceFile, __LINE__);
}
void CreateCollisionActor29(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 29, kCollisionActorGroup2[9], kSourceFile, __LINE__);
}

void MyLevelFactory::CreateCollisionActors2() {
  CreateCollisionActor20(this);
  CreateCollisionActor21(this);
  CreateCollisionActor22(this);
  CreateCollisionActor23(this);
  CreateCollisionActor24(this);
  CreateCollisionActor25(this);
  CreateCollisionActor26(this);
  CreateCollisionActor27(this);
  CreateCollisionActor28(this);
  CreateCollisionActor29(this);
}
