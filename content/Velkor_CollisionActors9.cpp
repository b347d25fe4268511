// Collision actors 90 to 99.
#include "content/Velkor_CollisionActorData.h"

namespace {

constexpr const char* kSourceFile = "Velkor_CollisionActors9";

// Claw of the boss arm.
const CollisionSegmentRecord kClawBoxSegments[] = {
    {-129, 9, -47, 9, 0},
    {-129, -75, -129, 9, 0},
    {-47, 9, -47, -75, 0},
    {-47, -75, -129, -75, 0},
};

// Boss laser core.
const CollisionSegmentRecord kBossLaserBoxSegments[] = {
    {-591, 8, 527, 8, 0},
    {-591, -8, -591, 8, 0},
    {527, 8, 527, -8, 0},
    {527, -8, -591, -8, 0},
};

// Blast rings, frame 0: nested boxes following the drawn rings, outermost first;
// each box: top edge, left side, right side, bottom edge, all running clockwise.
const CollisionSegmentRecord kBlastRings0Segments[] = {
    {-85, 98, 90, 98, 0},
    {-85, -81, -85, 98, 0},
    {90, 98, 90, -81, 0},
    {90, -81, -85, -81, 0},
    {-65, 81, 72, 81, 0},
    {-65, -62, -65, 81, 0},
    {72, 81, 72, -62, 0},
    {72, -62, -65, -62, 0},
    {-45, 64, 53, 64, 0},
    {-45, -44, -45, 64, 0},
    {53, 64, 53, -44, 0},
    {53, -44, -45, -44, 0},
    {-25, 47, 34, 47, 0},
    {-25, -25, -25, 47, 0},
    {34, 47, 34, -25, 0},
    {34, -25, -25, -25, 0},
    {-5, 30, 16, 30, 0},
    {-5, -6, -5, 30, 0},
    {16, 30, 16, -6, 0},
    {16, -6, -5, -6, 0},
};

// Blast rings, frame 1: nested boxes following the drawn rings, outermost first (the second largest last);
// each box: top edge, left side, right side, bottom edge, all running clockwise.
const CollisionSegmentRecord kBlastRings1Segments[] = {
    {-166, 186, 168, 186, 0},
    {-166, -148, -166, 186, 0},
    {168, 186, 168, -148, 0},
    {168, -148, -166, -148, 0},
    {-137, 156, 141, 156, 0},
    {-137, -118, -137, 156, 0},
    {141, 156, 141, -118, 0},
    {141, -118, -137, -118, 0},
    {-120, 138, 123, 138, 0},
    {-120, -101, -120, 138, 0},
    {123, 138, 123, -101, 0},
    {123, -101, -120, -101, 0},
    {-102, 121, 105, 121, 0},
    {-102, -84, -102, 121, 0},
    {105, 121, 105, -84, 0},
    {105, -84, -102, -84, 0},
    {-84, 104, 88, 104, 0},
    {-84, -66, -84, 104, 0},
    {88, 104, 88, -66, 0},
    {88, -66, -84, -66, 0},
    {-67, 86, 70, 86, 0},
    {-67, -48, -67, 86, 0},
    {70, 86, 70, -48, 0},
    {70, -48, -67, -48, 0},
    {-49, 69, 52, 69, 0},
    {-49, -31, -49, 69, 0},
    {52, 69, 52, -31, 0},
    {52, -31, -49, -31, 0},
    {-32, 51, 34, 51, 0},
    {-32, -14, -32, 51, 0},
    {34, 51, 34, -14, 0},
    {34, -14, -32, -14, 0},
    {-14, 34, 16, 34, 0},
    {-14, 4, -14, 34, 0},
    {16, 34, 16, 4, 0},
    {16, 4, -14, 4, 0},
    {-155, 173, 159, 173, 0},
    {-155, -136, -155, 173, 0},
    {159, 173, 159, -136, 0},
    {159, -136, -155, -136, 0},
};

// Blast rings, frame 2: nested boxes following the drawn rings, outermost first;
// each box: top edge, left side, right side, bottom edge, all running clockwise.
const CollisionSegmentRecord kBlastRings2Segments[] = {
    {-218, 220, 223, 220, 0},
    {-218, -222, -218, 220, 0},
    {223, 220, 223, -222, 0},
    {223, -222, -218, -222, 0},
    {-192, 196, 199, 196, 0},
    {-192, -198, -192, 196, 0},
    {199, 196, 199, -198, 0},
    {199, -198, -192, -198, 0},
    {-166, 172, 176, 172, 0},
    {-166, -173, -166, 172, 0},
    {176, 172, 176, -173, 0},
    {176, -173, -166, -173, 0},
    {-140, 148, 152, 148, 0},
    {-140, -149, -140, 148, 0},
    {152, 148, 152, -149, 0},
    {152, -149, -140, -149, 0},
    {-114, 124, 128, 124, 0},
    {-114, -124, -114, 124, 0},
    {128, 124, 128, -124, 0},
    {128, -124, -114, -124, 0},
    {-88, 101, 104, 101, 0},
    {-88, -100, -88, 101, 0},
    {104, 101, 104, -100, 0},
    {104, -100, -88, -100, 0},
    {-62, 77, 80, 77, 0},
    {-62, -76, -62, 77, 0},
    {80, 77, 80, -76, 0},
    {80, -76, -62, -76, 0},
    {-36, 53, 57, 53, 0},
    {-36, -51, -36, 53, 0},
    {57, 53, 57, -51, 0},
    {57, -51, -36, -51, 0},
    {-10, 29, 33, 29, 0},
    {-10, -27, -10, 29, 0},
    {33, 29, 33, -27, 0},
    {33, -27, -10, -27, 0},
};

// Barrier bubble.
const CollisionSegmentRecord kShieldBoxSegments[] = {
    {-64, 36, 66, 36, 0},
    {-64, -31, -64, 36, 0},
    {66, 36, 66, -31, 0},
    {66, -31, -64, -31, 0},
};

// Player laser core.
const CollisionSegmentRecord kPlayerLaserBoxSegments[] = {
    {-519, 14, 600, 14, 0},
    {-519, -14, -519, 14, 0},
    {600, 14, 600, -14, 0},
    {600, -14, -519, -14, 0},
};

const CollisionShapeRecord kActor90Frames[] = {Segments(kClawBoxSegments)};
const CollisionAnimationRecord kActor90[] = {{1, 127, -167, 167, -127, kActor90Frames}};
const CollisionAnimationRecord kActor91[] = {Plain(1, 5, -50, 50, -5)};
const CollisionShapeRecord kActor92Frames[] = {Segments(kBossLaserBoxSegments)};
const CollisionAnimationRecord kActor92[] = {{1, 50, -600, 600, -50, kActor92Frames}};
const CollisionShapeRecord kActor93Frames[] = {Segments(kBlastRings0Segments), Segments(kBlastRings1Segments), Segments(kBlastRings2Segments)};
const CollisionAnimationRecord kActor93[] = {{3, 256, -256, 256, -256, kActor93Frames}};
const CollisionAnimationRecord kActor94[] = {Plain(1, 5, -50, 50, -5)};
const CollisionAnimationRecord kActor95[] = {Plain(1, 360, -640, 640, -360)};
const CollisionShapeRecord kActor96Frames0[] = {Segments(kCarEdgesSegments), Segments(kCarEdgesSegments), Segments(kCarEdgesSegments)};
const CollisionShapeRecord kActor96Frames1[] = {Segments(kCarEdgesSegments), Segments(kCarEdgesSegments), Segments(kCarEdgesSegments)};
const CollisionAnimationRecord kActor96[] = {{3, 50, -72, 72, -50, kActor96Frames0}, {3, 50, -72, 72, -50, kActor96Frames1}};
const CollisionShapeRecord kActor97Frames[] = {Segments(kShieldBoxSegments)};
const CollisionAnimationRecord kActor97[] = {{1, 49, -75, 75, -49, kActor97Frames}};
const CollisionAnimationRecord kActor98[] = {Plain(3, 17, -23, 23, -17)};
const CollisionShapeRecord kActor99Frames[] = {Segments(kPlayerLaserBoxSegments)};
const CollisionAnimationRecord kActor99[] = {{1, 50, -600, 600, -50, kActor99Frames}};

}  // namespace

const CollisionActorRecord kCollisionActorGroup9[10] = {
    Animations(kActor90),
    Animations(kActor91),
    Animations(kActor92),
    Animations(kActor93),
    Animations(kActor94),
    Animations(kActor95),
    Animations(kActor96),
    Animations(kActor97),
    Animations(kActor98),
    Animations(kActor99),
};

void CreateCollisionActor90(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 90, kCollisionActorGroup9[0], kSourceFile, __LINE__);
}
void CreateCollisionActor91(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 91, kCollisionActorGroup9[1], kSourceFile, __LINE__);
}
void CreateCollisionActor92(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 92, kCollisionActorGroup9[2], kSourceFile, __LINE__);
}
void CreateCollisionActor93(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 93, kCollisionActorGroup9[3], kSourceFile, __LINE__);
}
void CreateCollisionActor94(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 94, kCollisionActorGroup9[4], kSourceFile, __LINE__);
}
void CreateCollisionActor95(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 95, kCollisionActorGroup9[5], kSourceFile, __LINE__);
}
void CreateCollisionActor96(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 96, kCollisionActorGroup9[6], kSourceFile, __LINE__);
}
void CreateCollisionActor97(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 97, kCollisionActorGroup9[7], kSourceFile, __LINE__);
}
void CreateCollisionActor98(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 98, kCollisionActorGroup9[8], kSourceFile, __LINE__);
}
void CreateCollisionActor99(MyLevelFactory* factory) {
  CreateCollisionActor(factory, 99, kCollisionActorGroup9[9], kSourceFile, __LINE__);
}

void MyLevelFactory::CreateCollisionActors9() {
  CreateCollisionActor90(this);
  CreateCollisionActor91(this);
  CreateCollisionActor92(this);
  CreateCollisionActor93(this);
  CreateCollisionActor94(this);
  CreateCollisionActor95(this);
  CreateCollisionActor96(this);
  CreateCollisionActor97(this);
  CreateCollisionActor98(this);
  CreateCollisionActor99(this);
}
