#pragma once
// The options overlay of the playing level, shown while the game is paused: full screen, sound
// and music check boxes, a Play button that resumes the run and a Main Menu button that leaves
// it. While shown it stands on the camera, carrying its boxes, labels, buttons and captions.
#include <cstdint>

#include "framework/Quillon_Sprite.h"
#include "game/Velkor_OptionCheckBoxes.h"

class OptionMenu : public Quillon::Sprite {
 public:
  using Quillon::Sprite::Sprite;
  VELKOR_DECLARE_CLASS(OptionMenu);

  void OnStart() override;
  void Update(float dt) override;

  // Opens or closes the overlay with everything it carries; with followCamera 1 it keeps to the
  // camera while shown.
  void Show(bool visible, int32_t followCamera);
  bool IsShown() const { return m_shown != 0; }
  int32_t GetFollowCamera() const { return m_followCamera; }
  // What one frame does with the pointer over the overlay; a click is passed in.
  void HandleInput(bool click);

 private:
  Quillon::Sprite* m_cursor = nullptr;
  OptionCheckBoxes m_boxes;
  Quillon::Sprite* m_playButton = nullptr;
  Quillon::Sprite* m_mainMenuButton = nullptr;
  uint8_t m_shown = 0;
  int32_t m_followCamera = 1;
};
