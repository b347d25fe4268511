#pragma once
// The check boxes both options overlays carry (full screen, sound, music) with their labels: found
// by name in the current level, set from the game's settings, mounted on the overlay, and a click
// on one toggles its setting.
#include <functional>

#include "framework/Quillon_Sprite.h"

class OptionCheckBoxes {
 public:
  // Finds the boxes, shows the game's settings on them and mounts them and their labels on the
  // overlay.
  void Attach(Quillon::Sprite& overlay);
  void SetVisible(bool visible) const;
  // The box under the cursor, if any, takes the frame's input: a click toggles the box and its
  // setting. False when the cursor is over none of them (underCursor is asked about present boxes
  // only).
  bool HandleInput(const std::function<bool(Quillon::Sprite* box)>& underCursor, bool click) const;

 private:
  Quillon::Sprite* m_fullScreenBox = nullptr;
  Quillon::Sprite* m_soundBox = nullptr;
  Quillon::Sprite* m_musicBox = nullptr;
};
