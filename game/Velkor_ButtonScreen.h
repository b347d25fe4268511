#pragma once
// A screen of captioned buttons under the sprite cursor "MousePt" (the main menu, the instruction
// pages, the credits, the results): each frame the cursor follows the mouse, the first button under
// it has its caption lit and a click on it goes to Press. The cursor and the captions are found when
// the screen starts and kept.
#include <cstddef>
#include <string>
#include <vector>

#include "framework/Quillon_Level.h"
#include "framework/Quillon_Sprite.h"
#include "framework/Quillon_Text.h"
#include "game/Velkor_ScreenSupport.h"

// A screen button: the plate the cursor touches and the caption that lights up while it does.
struct CaptionButton {
  const char* plate;
  const char* caption;
  bool clearsGreen;  // highlighting clears green as well as blue
};

class ButtonScreen : public Quillon::Level {
 public:
  void OnStart() override;
  void OnEnd() override;
  void Update(float dt) override;

  // What a click on the named button does (a button the screen does not have does nothing).
  virtual void Press(const std::string& button) = 0;

 protected:
  // The table is the screen class's own and outlives every screen. A screen read back from a saved
  // game is not started again, so what it needs is named here and found on first use.
  template <size_t N>
  explicit ButtonScreen(const CaptionButton (&buttons)[N]) : m_buttons(buttons) {
    for (const CaptionButton& button : buttons) m_captions.emplace_back(button.caption);
  }

  Quillon::Sprite* GetCursor() { return m_cursor.Get(); }
  // False while something else has the pointer: the buttons are then not looked at.
  virtual bool AnswersButtons() { return true; }

 private:
  // The first button under the cursor has its caption lit, every other caption goes back to white,
  // and the button is answered when this frame answers a click. Null when nothing was clicked.
  const char* UpdateButtons();

  const CaptionButton* m_buttons;
  Partner<Quillon::Sprite> m_cursor{"MousePt"};
  std::vector<Partner<Quillon::Text>> m_captions;
};
