// Collision actors 10 to 19.
#include "content/Velkor_CollisionActorData.h"

namespace {

constexpr const char* kSourceFile = "Velkor_CollisionActors1";

const CollisionAnimationRecord kActor10[] = {Plain(1, 414, -250, 250, -414)};
const CollisionAnimationRecord kActor11[] = {Plain(1, 350, -327, 328, -350)};
const CollisionAnimationRecord kActor12[] = {Plain(1, 15, -617, 617, -15)};
const CollisionAnimationRecord kActor13[] = {Plain(4, 450, -465, 465, -450)};
const CollisionAnimationRecord kActor14[] = {Plain(2, 84, -500, 500, -84)};
const CollisionAnimationRecord kActor15[] = {Plain(1, 36, -255, 255, -37)};
const CollisionAnimationRecord kActor16[] = {Plain(4, 349, -294, 294, -349)};
const CollisionAnimationRecord kActor17[] = {Plain(2, 150, -49, 49, -150)};
const CollisionAnimationRecord kActor18[] = {Plain(2, 184, -60, 60, -184)};
const CollisionAnimationRecord kActor19[] = {Plain(1, 300, -400, 400, -300)};

}  // namespace

const CollisionActorRecord kCollisionActorGroup1[10] = {
    Animations(kActor10),
    Animations(kActor11),
    Animations(kActor12),
    Animations(kActor13),
    Animations(kActor14),
    Animations(kActor15),
    Animations(kActor16),
    Animations(kActor17),
    Animations(kActor18),
    Animations(kActor19),
};

void CreateCollisionActor10(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 10, kCollisionActorGroup1[0], kSourceFile, __LINE__);
}
void CreateCollisionActor11(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 11, kCollisionActorGroup1[1], kSourceFile, __LINE__);
}
void CreateCollisionActor12(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 12, kCollisionActorGroup1[2], kSourceFile, __LINE__);
}
void CreateCollisionActor13(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 13, kCollisionActorGroup1[3], kSourceFile, __LINE__);
}
void CreateCollisionActor14(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 14, kCollisionActorGroup1[4], kSourceFile, __LINE__);
}
void CreateCollisionActor15(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 15, kCollisionActorGroup1[5], kSourceFile, __LINE__);
}
void CreateCollisionActor16(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 16, kCollisionActorGroup1[6], kSourceFile, __LINE__);
}
void CreateCollisionActor17(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 17, kCollisionActorGroup1[7], kSourceFile, __LINE__);
}
void CreateCollisionActor18(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 18, kCollisionActorGroup1[8], kSourceFile, __LINE__);
}
void CreateCollisionActor19(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 19, kCollisionActorGroup1[9], kSourceFile, __LINE__);
}

void MyLevelFactory::CreateCollisionActors1() {
  CreateCollisionActor10(this);
  CreateCollisionActor11(this);
  CreateCollisionActor12(this);
  CreateCollisionActor13(this);
  CreateCollisionActor14(this);
  CreateCollisionActor15(this);
  CreateCollisionActor16(this);
  CreateCollisionActor17(this);
  CreateCollisionActor18(this);
  CreateCollisionActor19(this);
}
