#pragma once
// The options overlay of the main menu: the check boxes and one button that closes it.
#include <vector>

#include "game/Velkor_OptionOverlay.h"

class OptionMenu_M : public OptionOverlay {
 public:
  OptionMenu_M();
  explicit OptionMenu_M(const std::vector<Quillon::SpriteAnimation*>& animations);
  VELKOR_DECLARE_CLASS(OptionMenu_M);
};
