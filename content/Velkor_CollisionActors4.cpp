// Collision actors 40 to 49.
#include "content/Velkor_CollisionActorData.h"

namespace {

constexpr const char* kSourceFile = "Velkor_CollisionActors4";

// Landing deck of the long platform.
const CollisionSegmentRecord kLongDeckSegments[] = {
    {-979, 15, 928, 14, 0},
};

// Alien shot.
const CollisionCircleRecord kAlienBallCircles[] = {
    {0, 0, 10},
};

// Tutorial car body.
const CollisionSegmentRecord kCarBoxSegments[] = {
    {-38, 12, 50, 12, 0},
    {-38, -9, -38, 12, 0},
    {50, 12, 50, -9, 0},
    {50, -9, -38, -9, 0},
};

// Tutorial alien body.
const CollisionSegmentRecord kTutorialAlienBoxSegments[] = {
    {-19, 28, 22, 28, 0},
    {-19, -28, -19, 28, 0},
    {22, 28, 22, -28, 0},
    {22, -28, -19, -28, 0},
};

const CollisionAnimationRecord kActor40[] = {Plain(1, 198, -300, 300, -198)};
const CollisionAnimationRecord kActor41[] = {Plain(3, 32, -100, 100, -32)};
const CollisionAnimationRecord kActor42[] = {Plain(1, 32, -500, 500, -32)};
const CollisionAnimationRecord kActor43[] = {Plain(2, 35, -129, 131, -36)};
const CollisionShapeRecord kActor44Frames[] = {Segments(kLongDeckSegments)};
const CollisionAnimationRecord kActor44[] = {{1, 30, -1000, 1000, -30, kActor44Frames}};
const CollisionAnimationRecord kActor45[] = {Plain(9, 32, -500, 500, -32)};
const CollisionShapeRecord kActor46Frames[] = {Segments(kBoltBoxSegments), Segments(kBoltBoxSegments)};
const CollisionAnimationRecord kActor46[] = {{2, 40, -40, 40, -40, kActor46Frames}};
const CollisionShapeRecord kActor47Frames[] = {Circles(kAlienBallCircles)};
const CollisionAnimationRecord kActor47[] = {{1, 20, -20, 20, -20, kActor47Frames}};
const CollisionShapeRecord kActor48Frames[] = {Segments(kCarBoxSegments), Segments(kCarBoxSegments)};
const CollisionAnimationRecord kActor48[] = {{2, 50, -72, 72, -50, kActor48Frames}};
const CollisionShapeRecord kActor49Frames[] = {Segments(kTutorialAlienBoxSegments)};
const CollisionAnimationRecord kActor49[] = {{1, 37, -27, 27, -37, kActor49Frames}};

}  // namespace

const CollisionActorRecord kCollisionActorGroup4[10] = {
    Animations(kActor40),
    Animations(kActor41),
    Animations(kActor42),
    Animations(kActor43),
    Animations(kActor44),
    Animations(kActor45),
    Animations(kActor46),
    Animations(kActor47),
    Animations(kActor48),
    Animations(kActor49),
};

void CreateCollisionActor40(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 40, kCollisionActorGroup4[0], kSourceFile, __LINE__);
}
void CreateCollisionActor41(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 41, kCollisionActorGroup4[1], kSourceFile, __LINE__);
}
void CreateCollisionActor42(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 42, kCollisionActorGroup4[2], kSourceFile, __LINE__);
}
void CreateCollisionActor43(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 43, kCollisionActorGroup4[3], kSourceFile, __LINE__);
}
void CreateCollisionActor44(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 44, kCollisionActorGroup4[4], kSourceFile, __LINE__);
}
void CreateCollisionActor45(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 45, kCollisionActorGroup4[5], kSourceFile, __LINE__);
}
void CreateCollisionActor46(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 46, kCollisionActorGroup4[6], kSourceFile, __LINE__);
}
void CreateCollisionActor47(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 47, kCollisionActorGroup4[7], kSourceFile, __LINE__);
}
void CreateCollisionActor48(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 48, kCollisionActorGroup4[8], kSourceFile, __LINE__);
}
void CreateCollisionActor49(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 49, kCollisionActorGroup4[9], kSourceFile, __LINE__);
}

void MyLevelFactory::CreateCollisionActors4() {
  CreateCollisionActor40(this);
  CreateCollisionActor41(this);
  CreateCollisionActor42(this);
  CreateCollisionActor43(this);
  CreateCollisionActor44(this);
  CreateCollisionActor45(this);
  CreateCollisionActor46(this);
  CreateCollisionActor47(this);
  CreateCollisionActor48(this);
  CreateCollisionActor49(this);
}
