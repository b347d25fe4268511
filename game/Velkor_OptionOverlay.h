#pragma once
// What both options overlays are: the full screen, sound and music check boxes with their labels
// and a row of buttons with captions, shown and hidden together. While shown the overlay stands on
// the camera and answers the pointer. Each overlay names its cursor, its buttons and whether it
// keeps to the camera whatever it was shown with.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/Quillon_Sprite.h"
#include "framework/Quillon_Text.h"
#include "game/Velkor_OptionCheckBoxes.h"
#include "game/Velkor_ScreenSupport.h"

namespace Quillon {
class Camera;
}

class OptionOverlay : public Quillon::Sprite {
 public:
  enum class Action { kResume, kLeaveToMainMenu, kClose };
  struct Button {
    const char* plate;
    const char* caption;
    Action action;
  };
  struct Layout {
    const char* cursor;
    // Asked in this order: only the first one under the cursor is answered.
    const Button* buttons;
    size_t buttonCount;
    bool alwaysFollowsCamera;
  };

  void OnStart() override;
  void Update(float dt) override;
  void ReleaseResources() override;

  // Opens or closes the overlay with everything it carries; with followCamera 1 it keeps to the
  // camera while shown.
  void Show(bool visible, int32_t followCamera);
  bool IsShown() const { return m_shown != 0; }
  int32_t GetFollowCamera() const { return m_followCamera; }
  // What one frame does with the pointer over the overlay; a click is passed in.
  void HandleInput(bool click);

 protected:
  // The layout is the overlay class's own and outlives every overlay. An overlay read back from a
  // saved game is not started again, so its partners are named here and found on first use.
  explicit OptionOverlay(const Layout& layout);
  OptionOverlay(const Layout& layout, const std::vector<Quillon::SpriteAnimation*>& animations);
  OptionOverlay(const OptionOverlay& other) = default;

 private:
  void NameButtons();
  void Press(Action action);

  const Layout* m_layout;
  Partner<Quillon::Sprite> m_cursor;
  Partner<Quillon::Camera> m_camera{"camera0"};
  OptionCheckBoxes m_boxes;
  std::vector<Partner<Quillon::Sprite>> m_plates;
  std::vector<Partner<Quillon::Text>> m_captions;
  uint8_t m_shown = 0;
  // When the overlay was last opened, or the last press spent on opening it went down, on the
  // screens' clock.
  double m_spentUntil = 0.0;
  // The clock of the frame that opened the overlay, until a later frame has dated the opening.
  double m_openedAt = -1.0;
  int32_t m_followCamera = 1;
};
