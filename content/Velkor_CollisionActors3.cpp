// Collision actors 30 to 39.
#include "content/Velkor_CollisionActorData.h"

namespace {

constexpr const char* kSourceFile = "Velkor_CollisionActors3";

// Click box of the arrow tip.
const CollisionSegmentRecord kPointerBoxSegments[] = {
    {-16, 16, 1, 16, 0},
    {-16, -6, -16, 16, 0},
    {1, 16, 1, -6, 0},
    {1, -6, -16, -6, 0},
};

// Power-up capsule, two diagonal edges.
const CollisionSegmentRecord kCapsuleEdgesSegments[] = {
    {15, 26, -26, -18, 0},
    {-15, -29, 27, 14, 0},
};

const CollisionShapeRecord kActor30Frames[] = {Segments(kPointerBoxSegments)};
const CollisionAnimationRecord kActor30[] = {{1, 16, -16, 1, -6, kActor30Frames}};
const CollisionAnimationRecord kActor31[] = {Plain(1, 360, -640, 640, -360)};
const CollisionAnimationRecord kActor32[] = {Plain(3, 262, -531, 531, -262)};
const CollisionAnimationRecord kActor33[] = {Plain(1, 360, -640, 640, -360)};
const CollisionAnimationRecord kActor34[] = {Plain(1, 360, -640, 640, -360)};
const CollisionAnimationRecord kActor35[] = {Plain(1, 360, -640, 640, -360)};
const CollisionShapeRecord kActor36Frames[] = {Segments(kPotBoxSegments)};
const CollisionAnimationRecord kActor36[] = {{1, 38, -27, 27, -38, kActor36Frames}};
const CollisionShapeRecord kActor37Frames[] = {Segments(kCivilianBoxSegments), Segments(kCivilianBoxSegments), Segments(kCivilianBoxSegments)};
const CollisionAnimationRecord kActor37[] = {{3, 40, -19, 19, -40, kActor37Frames}};
const CollisionShapeRecord kActor38Frames[] = {Segments(kCapsuleEdgesSegments)};
const CollisionAnimationRecord kActor38[] = {{1, 30, -30, 30, -30, kActor38Frames}};
const CollisionAnimationRecord kActor39[] = {Plain(2, 48, -180, 180, -48)};

}  // namespace

const CollisionActorRecord kCollisionActorGroup3[10] = {
    Animations(kActor30),
    Animations(kActor31),
    Animations(kActor32),
    Animations(kActor33),
    Animations(kActor34),
    Animations(kActor35),
    Animations(kActor36),
    Animations(kActor37),
    Animations(kActor38),
    Animations(kActor39),
};

void CreateCollisionActor30(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 30, kCollisionActorGroup3[0], kSourceFile, __LINE__);
}
void CreateCollisionActor31(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 31, kCollisionActorGroup3[1], kSourceFile, __LINE__);
}
void CreateCollisionActor32(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 32, kCollisionActorGroup3[2], kSourceFile, __LINE__);
}
void CreateCollisionActor33(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 33, kCollisionActorGroup3[3], kSourceFile, __LINE__);
}
void CreateCollisionActor34(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 34, kCollisionActorGroup3[4], kSourceFile, __LINE__);
}
void CreateCollisionActor35(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 35, kCollisionActorGroup3[5], kSourceFile, __LINE__);
}
void CreateCollisionActor36(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 36, kCollisionActorGroup3[6], kSourceFile, __LINE__);
}
void CreateCollisionActor37(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 37, kCollisionActorGroup3[7], kSourceFile, __LINE__);
}
void CreateCollisionActor38(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 38, kCollisionActorGroup3[8], kSourceFile, __LINE__);
}
void CreateCollisionActor39(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 39, kCollisionActorGroup3[9], kSourceFile, __LINE__);
}

void MyLevelFactory::CreateCollisionActors3() {
  CreateCollisionActor30(this);
  CreateCollisionActor31(this);
  CreateCollisionActor32(this);
  CreateCollisionActor33(this);
  CreateCollisionActor34(this);
  CreateCollisionActor35(this);
  CreateCollisionActor36(this);
  CreateCollisionActor37(this);
  CreateCollisionActor38(this);
  CreateCollisionActor39(this);
}
