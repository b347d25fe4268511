#pragma once
// A message shown over the player for a while.
#include <string>

#include "framework/Quillon_Text.h"

class PlayerText : public Quillon::Text {
 public:
  PlayerText() = default;
  PlayerText(const std::string& caption, const std::string& fontPath) : Quillon::Text(caption, fontPath) {}
  PlayerText(const PlayerText& other) = default;
  VELKOR_DECLARE_CLASS(PlayerText);
};
