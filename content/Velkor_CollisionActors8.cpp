// Collision actors 80 to 89.
#include "content/Velkor_CollisionActorData.h"

namespace {

constexpr const char* kSourceFile = "Velkor_CollisionActors8";

// Rocket body.
const CollisionSegmentRecord kRocketBoxSegments[] = {
    {-74, 23, 86, 23, 0},
    {-74, -26, -74, 23, 0},
    {86, 23, 86, -26, 0},
    {86, -26, -74, -26, 0},
};

// Boss 1 hull.
const CollisionCircleRecord kSaucerHullCircles[] = {
    {-2, -38, 66},
};

// Boss 2 hull.
const CollisionSegmentRecord kArmouredSaucerBoxSegments[] = {
    {-58, 18, 39, 18, 0},
    {-58, -27, -58, 18, 0},
    {39, 18, 39, -27, 0},
    {39, -27, -58, -27, 0},
};

// Boss 3 core.
const CollisionSegmentRecord kMothershipBoxSegments[] = {
    {-2, 265, 77, 265, 0},
    {-2, -246, -2, 265, 0},
    {77, 265, 77, -246, 0},
    {77, -246, -2, -246, 0},
};

// Alien shot.
const CollisionCircleRecord kAlienShotBallCircles[] = {
    {0, 0, 9},
};

// Boss shot, frame 0.
const CollisionCircleRecord kBossShotBall0Circles[] = {
    {-2, -2, 17},
};

// Boss shot, frames 1 and 2.
const CollisionCircleRecord kBossShotBall12Circles[] = {
    {-1, 0, 17},
};

const CollisionAnimationRecord kActor80[] = {Plain(2, 12, -121, 121, -12)};
const CollisionAnimationRecord kActor81[] = {Plain(1, 137, -480, 480, -137)};
const CollisionShapeRecord kActor82Frames[] = {Segments(kRocketBoxSegments), kNoShapes};
const CollisionAnimationRecord kActor82[] = {{2, 31, -95, 95, -31, kActor82Frames}};
const CollisionAnimationRecord kActor83[] = {Plain(1, 120, -120, 120, -120)};
const CollisionAnimationRecord kActor84[] = {Plain(1, 41, -107, 107, -41)};
const CollisionShapeRecord kActor85Frames[] = {Circles(kSaucerHullCircles)};
const CollisionAnimationRecord kActor85[] = {{1, 150, -200, 200, -150, kActor85Frames}};
const CollisionShapeRecord kActor86Frames[] = {Segments(kArmouredSaucerBoxSegments)};
const CollisionAnimationRecord kActor86[] = {{1, 51, -87, 87, -51, kActor86Frames}};
const CollisionShapeRecord kActor87Frames[] = {Segments(kMothershipBoxSegments)};
const CollisionAnimationRecord kActor87[] = {{1, 362, -256, 256, -362, kActor87Frames}};
const CollisionShapeRecord kActor88Frames[] = {Circles(kAlienShotBallCircles), Circles(kAlienShotBallCircles)};
const CollisionAnimationRecord kActor88[] = {{2, 20, -20, 20, -20, kActor88Frames}};
const CollisionShapeRecord kActor89Frames[] = {Circles(kBossShotBall0Circles), Circles(kBossShotBall12Circles), Circles(kBossShotBall12Circles)};
const CollisionAnimationRecord kActor89[] = {{3, 40, -40, 40, -40, kActor89Frames}};

}  // namespace

const CollisionActorRecord kCollisionActorGroup8[10] = {
    Animations(kActor80),
    Animations(kActor81),
    Animations(kActor82),
    Animations(kActor83),
    Animations(kActor84),
    Animations(kActor85),
    Animations(kActor86),
    Animations(kActor87),
    Animations(kActor88),
    Animations(kActor89),
};

void CreateCollisionActor80(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 80, kCollisionActorGroup8[0], kSourceFile, __LINE__);
}
void CreateCollisionActor81(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 81, kCollisionActorGroup8[1], kSourceFile, __LINE__);
}
void CreateCollisionActor82(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 82, kCollisionActorGroup8[2], kSourceFile, __LINE__);
}
void CreateCollisionActor83(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 83, kCollisionActorGroup8[3], kSourceFile, __LINE__);
}
void CreateCollisionActor84(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 84, kCollisionActorGroup8[4], kSourceFile, __LINE__);
}
void CreateCollisionActor85(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 85, kCollisionActorGroup8[5], kSourceFile, __LINE__);
}
void CreateCollisionActor86(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 86, kCollisionActorGroup8[6], kSourceFile, __LINE__);
}
void CreateCollisionActor87(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 87, kCollisionActorGroup8[7], kSourceFile, __LINE__);
}
void CreateCollisionActor88(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 88, kCollisionActorGroup8[8], kSourceFile, __LINE__);
}
void CreateCollisionActor89(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 89, kCollisionActorGroup8[9], kSourceFile, __LINE__);
}

void MyLevelFactory::CreateCollisionActors8() {
  CreateCollisionActor80(this);
  CreateCollisionActor81(this);
  CreateCollisionActor82(this);
  CreateCollisionActor83(this);
  CreateCollisionActor84(this);
  CreateCollisionActor85(this);
  CreateCollisionActor86(this);
  CreateCollisionActor87(this);
  CreateCollisionActor88(this);
  CreateCollisionActor89(this);
}
