#pragma once
// The check boxes both options overlays carry (full screen, sound, music) with their labels: set
// from the game's settings and mounted on the overlay when it starts, and a click on one toggles
// its setting. They are partners of the overlay, found by name on first use.
#include <functional>

#include "framework/Quillon_Sprite.h"
#include "framework/Quillon_Text.h"
#include "game/Velkor_ScreenSupport.h"

class OptionCheckBoxes {
 public:
  // Finds the boxes, shows the game's settings on them and mounts them and their labels on the
  // overlay.
  void Attach(Quillon::Sprite& overlay);
  void SetVisible(bool visible);
  // The box under the cursor, if any, takes the frame's input: a click toggles the box and its
  // setting. False when the cursor is over none of them (underCursor is asked about present boxes
  // only).
  bool HandleInput(const std::function<bool(Quillon::Sprite* box)>& underCursor, bool click);
  void Release();

 private:
  Partner<Quillon::Sprite> m_fullScreenBox{"Op_fsCheckBox"};
  Partner<Quillon::Sprite> m_soundBox{"Op_SoundChkBox"};
  Partner<Quillon::Sprite> m_musicBox{"Op_BgmChkBox"};
  Partner<Quillon::Text> m_labels[3] = {Partner<Quillon::Text>("opTxt1"), Partner<Quillon::Text>("opTxt2"),
                                        Partner<Quillon::Text>("opTxt3")};
};
