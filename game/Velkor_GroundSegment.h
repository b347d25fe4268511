#pragma once
// A stretch of the ground as the car sees it: the car tells it each step of the road it passes
// (PlatformManager, the two segments "platMgr1" and "platMgr2", leapfrog on it).
#include "framework/Quillon_Sprite.h"

class GroundSegment : public Quillon::Sprite {
 public:
  using Quillon::Sprite::Sprite;

  // The car has passed a step of the road at x = threshold.
  virtual void TellPassed(float threshold) = 0;
};
