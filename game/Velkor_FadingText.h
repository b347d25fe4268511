#pragma once
// A text that rises and fades, then goes.
#include <string>

#include "framework/Quillon_Text.h"

class FadingText : public Quillon::Text {
 public:
  FadingText() = default;
  FadingText(const std::string& caption, const std::string& fontPath) : Quillon::Text(caption, fontPath) {}
  FadingText(const FadingText& other) = default;
  VELKOR_DECLARE_CLASS(FadingText);
};
