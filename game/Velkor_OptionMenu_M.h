#pragma once
// The options overlay of the main menu: full screen, sound and music check boxes and one button
// that closes it. While open it stands on the camera, carrying its boxes, labels and button.
#include <cstdint>

#include "framework/Quillon_Sprite.h"
#include "game/Velkor_OptionCheckBoxes.h"

class OptionMenu_M : public Quillon::Sprite {
 public:
  using Quillon::Sprite::Sprite;
  VELKOR_DECLARE_CLASS(OptionMenu_M);

  void OnStart() override;
  void Update(float dt) override;

  // Opens or closes the overlay with everything it carries.
  void Show(bool visible, int32_t followCamera);
  bool IsShown() const { return m_shown != 0; }
  // What one frame does with the pointer over the overlay; a click is passed in.
  void HandleInput(bool click);

 private:
  Quillon::Sprite* m_cursor = nullptr;
  OptionCheckBoxes m_boxes;
  Quillon::Sprite* m_mainMenuButton = nullptr;
  uint8_t m_shown = 0;
  int32_t m_followCamera = 0;
};
