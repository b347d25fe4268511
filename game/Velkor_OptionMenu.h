#pragma once
// The options overlay of the playing level, shown while the game is paused: the check boxes, a Play
// button that resumes the run and a Main Menu button that leaves it.
#include <vector>

#include "game/Velkor_OptionOverlay.h"

class OptionMenu : public OptionOverlay {
 public:
  OptionMenu();
  explicit OptionMenu(const std::vector<Quillon::SpriteAnimation*>& animations);
  VELKOR_DECLARE_CLASS(OptionMenu);
};
