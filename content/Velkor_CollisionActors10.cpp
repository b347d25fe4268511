// Collision actors 100 to 104.
#include "content/Velkor_CollisionActorData.h"

namespace {

constexpr const char* kSourceFile = "Velkor_CollisionActors10";

const CollisionAnimationRecord kActor100[] = {Plain(1, 32, -32, 32, -32)};
const CollisionAnimationRecord kActor101[] = {Plain(1, 360, -640, 640, -360)};
const CollisionAnimationRecord kActor102[] = {Plain(1, 360, -640, 640, -360)};
const CollisionAnimationRecord kActor103[] = {Plain(1, 360, -640, 640, -360)};
const CollisionAnimationRecord kActor104[] = {Plain(1, 360, -640, 640, -360)};

}  // namespace

const CollisionActorRecord kCollisionActorGroup10[5] = {
    Animations(kActor100),
    Animations(kActor101),
    Animations(kActor102),
    Animations(kActor103),
    Animations(kActor104),
};

void CreateCollisionActor100(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 100, kCollisionActorGroup10[0], kSourceFile, __LINE__);
}
void CreateCollisionActor101(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 101, kCollisionActorGroup10[1], kSourceFile, __LINE__);
}
void CreateCollisionActor102(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 102, kCollisionActorGroup10[2], kSourceFile, __LINE__);
}
void CreateCollisionActor103(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 103, kCollisionActorGroup10[3], kSourceFile, __LINE__);
}
void CreateCollisionActor104(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 104, kCollisionActorGroup10[4], kSourceFile, __LINE__);
}
