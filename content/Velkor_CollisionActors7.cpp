// Collision actors 70 to 79.
#include "content/Velkor_CollisionActorData.h"

namespace {

constexpr const char* kSourceFile = "Velkor_CollisionActors7";

// Alien body; the left side starts at the bottom corner so the box closes.
const CollisionSegmentRecord kAlienBoxSegments[] = {
    {-21, 28, 22, 28, 0},
    {-21, -27, -21, 29, 0},
    {22, 28, 22, -27, 0},
    {22, -26, -21, -27, 0},
};

// Landing deck.
const CollisionSegmentRecord kDeckEdgeSegments[] = {
    {-80, 15, 80, 15, 0},
};

// Power-up capsule.
const CollisionSegmentRecord kPowerUpBoxSegments[] = {
    {-27, 24, 29, 24, 0},
    {-27, -25, -27, 24, 0},
    {29, 24, 29, -25, 0},
    {29, -25, -27, -25, 0},
};

const CollisionAnimationRecord kActor70[] = {Plain(1, 20, -20, 20, -20)};
const CollisionShapeRecord kActor71Frames[] = {Segments(kAlienBoxSegments), Segments(kAlienBoxSegments)};
const CollisionAnimationRecord kActor71[] = {{2, 38, -27, 27, -38, kActor71Frames}};
const CollisionShapeRecord kActor72Frames[] = {Segments(kDeckEdgeSegments)};
const CollisionAnimationRecord kActor72[] = {{1, 30, -100, 100, -30, kActor72Frames}};
const CollisionShapeRecord kActor73Frames[] = {Segments(kPotBoxSegments)};
const CollisionAnimationRecord kActor73[] = {{1, 38, -27, 27, -38, kActor73Frames}};
const CollisionShapeRecord kActor74Frames[] = {Segments(kCivilianBoxSegments), Segments(kCivilianBoxSegments), Segments(kCivilianBoxSegments)};
const CollisionAnimationRecord kActor74[] = {{3, 40, -19, 19, -40, kActor74Frames}};
const CollisionShapeRecord kActor75Frames[] = {Segments(kPowerUpBoxSegments), Segments(kPowerUpBoxSegments), Segments(kPowerUpBoxSegments)};
const CollisionAnimationRecord kActor75[] = {{3, 30, -30, 30, -30, kActor75Frames}};
const CollisionAnimationRecord kActor76[] = {Plain(5, 100, -100, 100, -100)};
const CollisionShapeRecord kActor77Frames[] = {Segments(kBoltBoxSegments), Segments(kBoltBoxSegments)};
const CollisionAnimationRecord kActor77[] = {{2, 40, -40, 40, -40, kActor77Frames}};
const CollisionAnimationRecord kActor78[] = {Plain(1, 86, -640, 640, -86)};
const CollisionAnimationRecord kActor79[] = {Plain(1, 12, -119, 119, -12)};

}  // namespace

const CollisionActorRecord kCollisionActorGroup7[10] = {
    Animations(kActor70),
    Animations(kActor71),
    Animations(kActor72),
    Animations(kActor73),
    Animations(kActor74),
    Animations(kActor75),
    Animations(kActor76),
    Animations(kActor77),
    Animations(kActor78),
    Animations(kActor79),
};

void CreateCollisionActor70(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 70, kCollisionActorGroup7[0], kSourceFile, __LINE__);
}
void CreateCollisionActor71(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 71, kCollisionActorGroup7[1], kSourceFile, __LINE__);
}
void CreateCollisionActor72(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 72, kCollisionActorGroup7[2], kSourceFile, __LINE__);
}
void CreateCollisionActor73(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 73, kCollisionActorGroup7[3], kSourceFile, __LINE__);
}
void CreateCollisionActor74(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 74, kCollisionActorGroup7[4], kSourceFile, __LINE__);
}
void CreateCollisionActor75(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 75, kCollisionActorGroup7[5], kSourceFile, __LINE__);
}
void CreateCollisionActor76(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 76, kCollisionActorGroup7[6], kSourceFile, __LINE__);
}
void CreateCollisionActor77(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 77, kCollisionActorGroup7[7], kSourceFile, __LINE__);
}
void CreateCollisionActor78(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 78, kCollisionActorGroup7[8], kSourceFile, __LINE__);
}
void CreateCollisionActor79(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 79, kCollisionActorGroup7[9], kSourceFile, __LINE__);
}

void MyLevelFactory::CreateCollisionActors7() {
  CreateCollisionActor70(this);
  CreateCollisionActor71(this);
  CreateCollisionActor72(this);
  CreateCollisionActor73(this);
  CreateCollisionActor74(this);
  CreateCollisionActor75(this);
  CreateCollisionActor76(this);
  CreateCollisionActor77(this);
  CreateCollisionActor78(this);
  CreateCollisionActor79(this);
}
