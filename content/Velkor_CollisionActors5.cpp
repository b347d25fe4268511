// Collision actors 50 to 59.
#include "content/Velkor_CollisionActorData.h"

namespace {

constexpr const char* kSourceFile = "Velkor_CollisionActors5";

const CollisionAnimationRecord kActor50[] = {Plain(1, 360, -640, 640, -360)};
const CollisionAnimationRecord kActor51[] = {Plain(1, 60, -251, 251, -60)};
const CollisionAnimationRecord kActor52[] = {Plain(3, 57, -213, 219, -46)};
const CollisionAnimationRecord kActor53[] = {Plain(3, 50, -72, 72, -50), Plain(3, 46, -54, 54, -46), Plain(2, 23, -71, 71, -23), Plain(1, 57, -57, 57, -57)};
const CollisionAnimationRecord kActor54[] = {Plain(1, 360, -640, 640, -360)};
const CollisionAnimationRecord kActor55[] = {Plain(1, 19, -19, 19, -19)};
const CollisionAnimationRecord kActor56[] = {Plain(3, 181, -256, 256, -181)};
const CollisionAnimationRecord kActor57[] = {Plain(1, 71, -298, 298, -71)};
const CollisionAnimationRecord kActor58[] = {Plain(3, 185, -247, 247, -185)};
const CollisionAnimationRecord kActor59[] = {Plain(1, 60, -101, 101, -60)};

}  // namespace

const CollisionActorRecord kCollisionActorGroup5[10] = {
    Animations(kActor50),
    Animations(kActor51),
    Animations(kActor52),
    Animations(kActor53),
    Animations(kActor54),
    Animations(kActor55),
    Animations(kActor56),
    Animations(kActor57),
    Animations(kActor58),
    Animations(kActor59),
};

void CreateCollisionActor50(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 50, kCollisionActorGroup5[0], kSourceFile, __LINE__);
}
void CreateCollisionActor51(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 51, kCollisionActorGroup5[1], kSourceFile, __LINE__);
}
void CreateCollisionActor52(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 52, kCollisionActorGroup5[2], kSourceFile, __LINE__);
}
void CreateCollisionActor53(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 53, kCollisionActorGroup5[3], kSourceFile, __LINE__);
}
void CreateCollisionActor54(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 54, kCollisionActorGroup5[4], kSourceFile, __LINE__);
}
void CreateCollisionActor55(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 55, kCollisionActorGroup5[5], kSourceFile, __LINE__);
}
void CreateCollisionActor56(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 56, kCollisionActorGroup5[6], kSourceFile, __LINE__);
}
void CreateCollisionActor57(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 57, kCollisionActorGroup5[7], kSourceFile, __LINE__);
}
void CreateCollisionActor58(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 58, kCollisionActorGroup5[8], kSourceFile, __LINE__);
}
void CreateCollisionActor59(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 59, kCollisionActorGroup5[9], kSourceFile, __LINE__);
}

void MyLevelFactory::CreateCollisionActors5() {
  CreateCollisionActor50(this);
  CreateCollisionActor51(this);
  CreateCollisionActor52(this);
  CreateCollisionActor53(this);
  CreateCollisionActor54(this);
  CreateCollisionActor55(this);
  CreateCollisionActor56(this);
  CreateCollisionActor57(this);
  CreateCollisionActor58(this);
  CreateCollisionActor59(this);
}
