// Collision actors 0 to 9.
#include "content/Velkor_CollisionActorData.h"

namespace {

constexpr const char* kSourceFile = "Velkor_CollisionActors0";

const CollisionAnimationRecord kActor0[] = {Plain(1, 360, -640, 640, -360)};
const CollisionAnimationRecord kActor1[] = {Plain(1, 90, -400, 400, -90)};
const CollisionAnimationRecord kActor2[] = {Plain(1, 186, -640, 640, -186)};
const CollisionAnimationRecord kActor3[] = {Plain(1, 361, -643, 643, -361)};
const CollisionAnimationRecord kActor4[] = {Plain(1, 360, -640, 640, -360)};
const CollisionAnimationRecord kActor5[] = {Plain(1, 206, -350, 350, -207)};
const CollisionAnimationRecord kActor6[] = {Plain(1, 202, -302, 302, -202)};
const CollisionAnimationRecord kActor7[] = {Plain(1, 121, -617, 617, -121)};
const CollisionAnimationRecord kActor8[] = {Plain(1, 202, -302, 302, -202)};
const CollisionAnimationRecord kActor9[] = {Plain(2, 50, -190, 190, -50)};

}  // namespace

const CollisionActorRecord kCollisionActorGroup0[10] = {
    Animations(kActor0),
    Animations(kActor1),
    Animations(kActor2),
    Animations(kActor3),
    Animations(kActor4),
    Animations(kActor5),
    Animations(kActor6),
    Animations(kActor7),
    Animations(kActor8),
    Animations(kActor9),
};

void CreateCollisionActor0(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 0, kCollisionActorGroup0[0], kSourceFile, __LINE__);
}
void CreateCollisionActor1(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 1, kCollisionActorGroup0[1], kSourceFile, __LINE__);
}
void CreateCollisionActor2(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 2, kCollisionActorGroup0[2], kSourceFile, __LINE__);
}
void CreateCollisionActor3(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 3, kCollisionActorGroup0[3], kSourceFile, __LINE__);
}
void CreateCollisionActor4(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 4, kCollisionActorGroup0[4], kSourceFile, __LINE__);
}
void CreateCollisionActor5(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 5, kCollisionActorGroup0[5], kSourceFile, __LINE__);
}
void CreateCollisionActor6(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 6, kCollisionActorGroup0[6], kSourceFile, __LINE__);
}
void CreateCollisionActor7(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 7, kCollisionActorGroup0[7], kSourceFile, __LINE__);
}
void CreateCollisionActor8(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 8, kCollisionActorGroup0[8], kSourceFile, __LINE__);
}
void CreateCollisionActor9(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 9, kCollisionActorGroup0[9], kSourceFile, __LINE__);
}

void MyLevelFactory::CreateCollisionActors0() {
  CreateCollisionActor0(this);
  CreateCollisionActor1(this);
  CreateCollisionActor2(this);
  CreateCollisionActor3(this);
  CreateCollisionActor4(this);
  CreateCollisionActor5(this);
  CreateCollisionActor6(this);
  CreateCollisionActor7(this);
  CreateCollisionActor8(this);
  CreateCollisionActor9(this);
}
