#pragma once
// A bar's record: where it stands and three whole numbers of its own. Registered so that streams
// naming it can be read back; the game keeps its bars in the HUD instead.
#include <cstdint>

#include "core/Core_Object.h"
#include "math/Math_Vector2D.h"

class EnergyBar : public Core::Object {
 public:
  VELKOR_DECLARE_CLASS(EnergyBar);

  Math::Vector2D position;
  int32_t first = 0;
  int32_t second = 0;
  int32_t third = 0;
};
