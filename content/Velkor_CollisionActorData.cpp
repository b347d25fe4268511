// The collision actors of the game's sprites as data: the outlines that frames share, the shapes of
// each frame, and one table with a row per animation of each actor, in actor order.
#include "content/Velkor_CollisionActorData.h"

namespace {

// Car floor and roof.
const CollisionSegmentRecord kCarEdgesSegments[] = {
    {40, -9, -30, -9, 0},
    {-37, 12, 51, 12, 0},
};

// Health pot; top edge and sides carry user id 1; the left side starts at the bottom corner so the box closes.
const CollisionSegmentRecord kPotBoxSegments[] = {
    {-21, 28, 22, 28, 1},
    {-21, -27, -21, 29, 1},
    {22, 28, 22, -27, 1},
    {22, -27, -21, -27, 0},
};

// Civilian body; the left side starts at the bottom corner so the box closes.
const CollisionSegmentRecord kCivilianBoxSegments[] = {
    {-19, 28, 19, 28, 0},
    {-19, -27, -19, 29, 0},
    {19, 28, 19, -27, 0},
    {19, -27, -19, -27, 0},
};

// Player shot bolt.
const CollisionSegmentRecord kBoltBoxSegments[] = {
    {-15, 4, 14, 4, 0},
    {-15, -4, -15, 4, 0},
    {14, 4, 14, -4, 0},
    {14, -4, -15, -4, 0},
};

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

// Road surface.
const CollisionSegmentRecord kGroundEdgeSegments[] = {
    {-720, 110, 720, 110, 0},
};

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

// The shapes of each frame of the actors that have an outline, one entry per frame.
const CollisionShapeRecord kActor25Frames[] = {Segments(kCarEdgesSegments), Segments(kCarEdgesSegments), Segments(kCarEdgesSegments)};
const CollisionShapeRecord kActor30Frames[] = {Segments(kPointerBoxSegments)};
const CollisionShapeRecord kActor36Frames[] = {Segments(kPotBoxSegments)};
const CollisionShapeRecord kActor37Frames[] = {Segments(kCivilianBoxSegments), Segments(kCivilianBoxSegments), Segments(kCivilianBoxSegments)};
const CollisionShapeRecord kActor38Frames[] = {Segments(kCapsuleEdgesSegments)};
const CollisionShapeRecord kActor44Frames[] = {Segments(kLongDeckSegments)};
const CollisionShapeRecord kActor46Frames[] = {Segments(kBoltBoxSegments), Segments(kBoltBoxSegments)};
const CollisionShapeRecord kActor47Frames[] = {Circles(kAlienBallCircles)};
const CollisionShapeRecord kActor48Frames[] = {Segments(kCarBoxSegments), Segments(kCarBoxSegments)};
const CollisionShapeRecord kActor49Frames[] = {Segments(kTutorialAlienBoxSegments)};
const CollisionShapeRecord kActor69Frames[] = {Segments(kGroundEdgeSegments)};
const CollisionShapeRecord kActor71Frames[] = {Segments(kAlienBoxSegments), Segments(kAlienBoxSegments)};
const CollisionShapeRecord kActor72Frames[] = {Segments(kDeckEdgeSegments)};
const CollisionShapeRecord kActor73Frames[] = {Segments(kPotBoxSegments)};
const CollisionShapeRecord kActor74Frames[] = {Segments(kCivilianBoxSegments), Segments(kCivilianBoxSegments), Segments(kCivilianBoxSegments)};
const CollisionShapeRecord kActor75Frames[] = {Segments(kPowerUpBoxSegments), Segments(kPowerUpBoxSegments), Segments(kPowerUpBoxSegments)};
const CollisionShapeRecord kActor77Frames[] = {Segments(kBoltBoxSegments), Segments(kBoltBoxSegments)};
const CollisionShapeRecord kActor82Frames[] = {Segments(kRocketBoxSegments), kNoShapes};
const CollisionShapeRecord kActor85Frames[] = {Circles(kSaucerHullCircles)};
const CollisionShapeRecord kActor86Frames[] = {Segments(kArmouredSaucerBoxSegments)};
const CollisionShapeRecord kActor87Frames[] = {Segments(kMothershipBoxSegments)};
const CollisionShapeRecord kActor88Frames[] = {Circles(kAlienShotBallCircles), Circles(kAlienShotBallCircles)};
const CollisionShapeRecord kActor89Frames[] = {Circles(kBossShotBall0Circles), Circles(kBossShotBall12Circles), Circles(kBossShotBall12Circles)};
const CollisionShapeRecord kActor90Frames[] = {Segments(kClawBoxSegments)};
const CollisionShapeRecord kActor92Frames[] = {Segments(kBossLaserBoxSegments)};
const CollisionShapeRecord kActor93Frames[] = {Segments(kBlastRings0Segments), Segments(kBlastRings1Segments), Segments(kBlastRings2Segments)};
const CollisionShapeRecord kActor96Frames[] = {Segments(kCarEdgesSegments), Segments(kCarEdgesSegments), Segments(kCarEdgesSegments)};
const CollisionShapeRecord kActor97Frames[] = {Segments(kShieldBoxSegments)};
const CollisionShapeRecord kActor99Frames[] = {Segments(kPlayerLaserBoxSegments)};

}  // namespace

// actor, frames, the rectangle of every frame (top, left, right, bottom), the shapes of each frame
// (none: the rectangle alone)
const CollisionAnimationRow kCollisionAnimations[] = {
    {0, 1, 360, -640, 640, -360},
    {1, 1, 90, -400, 400, -90},
    {2, 1, 186, -640, 640, -186},
    {3, 1, 361, -643, 643, -361},
    {4, 1, 360, -640, 640, -360},
    {5, 1, 206, -350, 350, -207},
    {6, 1, 202, -302, 302, -202},
    {7, 1, 121, -617, 617, -121},
    {8, 1, 202, -302, 302, -202},
    {9, 2, 50, -190, 190, -50},
    {10, 1, 414, -250, 250, -414},
    {11, 1, 350, -327, 328, -350},
    {12, 1, 15, -617, 617, -15},
    {13, 4, 450, -465, 465, -450},
    {14, 2, 84, -500, 500, -84},
    {15, 1, 36, -255, 255, -37},
    {16, 4, 349, -294, 294, -349},
    {17, 2, 150, -49, 49, -150},
    {18, 2, 184, -60, 60, -184},
    {19, 1, 300, -400, 400, -300},
    {20, 1, 300, -400, 400, -300},
    {21, 1, 360, -640, 640, -360},
    {22, 1, 35, -129, 131, -36},
    {23, 1, 20, -83, 82, -14},
    {24, 1, 18, -640, 640, -18},
    {25, 3, 50, -72, 72, -50, kActor25Frames},
    {26, 1, 300, -400, 400, -300},
    {27, 1, 25, -25, 25, -25},
    {28, 2, 17, -17, 15, -15},
    {29, 2, 17, -17, 17, -17},
    {30, 1, 16, -16, 1, -6, kActor30Frames},
    {31, 1, 360, -640, 640, -360},
    {32, 3, 262, -531, 531, -262},
    {33, 1, 360, -640, 640, -360},
    {34, 1, 360, -640, 640, -360},
    {35, 1, 360, -640, 640, -360},
    {36, 1, 38, -27, 27, -38, kActor36Frames},
    {37, 3, 40, -19, 19, -40, kActor37Frames},
    {38, 1, 30, -30, 30, -30, kActor38Frames},
    {39, 2, 48, -180, 180, -48},
    {40, 1, 198, -300, 300, -198},
    {41, 3, 32, -100, 100, -32},
    {42, 1, 32, -500, 500, -32},
    {43, 2, 35, -129, 131, -36},
    {44, 1, 30, -1000, 1000, -30, kActor44Frames},
    {45, 9, 32, -500, 500, -32},
    {46, 2, 40, -40, 40, -40, kActor46Frames},
    {47, 1, 20, -20, 20, -20, kActor47Frames},
    {48, 2, 50, -72, 72, -50, kActor48Frames},
    {49, 1, 37, -27, 27, -37, kActor49Frames},
    {50, 1, 360, -640, 640, -360},
    {51, 1, 60, -251, 251, -60},
    {52, 3, 57, -213, 219, -46},
    {53, 3, 50, -72, 72, -50},
    {53, 3, 46, -54, 54, -46},
    {53, 2, 23, -71, 71, -23},
    {53, 1, 57, -57, 57, -57},
    {54, 1, 360, -640, 640, -360},
    {55, 1, 19, -19, 19, -19},
    {56, 3, 181, -256, 256, -181},
    {57, 1, 71, -298, 298, -71},
    {58, 3, 185, -247, 247, -185},
    {59, 1, 60, -101, 101, -60},
    {60, 2, 23, -71, 71, -23},
    {61, 1, 57, -57, 57, -57},
    {62, 1, 110, -210, 210, -110},
    {63, 1, 16, -77, 77, -16},
    {64, 1, 16, -77, 77, -16},
    {65, 1, 540, -960, 960, -540},
    {66, 1, 540, -960, 960, -540},
    {67, 1, 540, -960, 960, -540},
    {68, 5, 400, -250, 250, -400},
    {69, 1, 112, -720, 720, -112, kActor69Frames},
    {70, 1, 20, -20, 20, -20},
    {71, 2, 38, -27, 27, -38, kActor71Frames},
    {72, 1, 30, -100, 100, -30, kActor72Frames},
    {73, 1, 38, -27, 27, -38, kActor73Frames},
    {74, 3, 40, -19, 19, -40, kActor74Frames},
    {75, 3, 30, -30, 30, -30, kActor75Frames},
    {76, 5, 100, -100, 100, -100},
    {77, 2, 40, -40, 40, -40, kActor77Frames},
    {78, 1, 86, -640, 640, -86},
    {79, 1, 12, -119, 119, -12},
    {80, 2, 12, -121, 121, -12},
    {81, 1, 137, -480, 480, -137},
    {82, 2, 31, -95, 95, -31, kActor82Frames},
    {83, 1, 120, -120, 120, -120},
    {84, 1, 41, -107, 107, -41},
    {85, 1, 150, -200, 200, -150, kActor85Frames},
    {86, 1, 51, -87, 87, -51, kActor86Frames},
    {87, 1, 362, -256, 256, -362, kActor87Frames},
    {88, 2, 20, -20, 20, -20, kActor88Frames},
    {89, 3, 40, -40, 40, -40, kActor89Frames},
    {90, 1, 127, -167, 167, -127, kActor90Frames},
    {91, 1, 5, -50, 50, -5},
    {92, 1, 50, -600, 600, -50, kActor92Frames},
    {93, 3, 256, -256, 256, -256, kActor93Frames},
    {94, 1, 5, -50, 50, -5},
    {95, 1, 360, -640, 640, -360},
    {96, 3, 50, -72, 72, -50, kActor96Frames},
    {96, 3, 50, -72, 72, -50, kActor96Frames},
    {97, 1, 49, -75, 75, -49, kActor97Frames},
    {98, 3, 17, -23, 23, -17},
    {99, 1, 50, -600, 600, -50, kActor99Frames},
    {100, 1, 32, -32, 32, -32},
    {101, 1, 360, -640, 640, -360},
    {102, 1, 360, -640, 640, -360},
    {103, 1, 360, -640, 640, -360},
    {104, 1, 360, -640, 640, -360},
};

const uint32_t kCollisionAnimationCount = sizeof(kCollisionAnimations) / sizeof(kCollisionAnimations[0]);
