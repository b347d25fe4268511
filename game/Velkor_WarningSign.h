#pragma once
// The sign shown before a UFO wave or a boss: it stands at the camera and fades out with its
// caption over the time it is shown for.
#include <string>

#include "framework/Quillon_Sprite.h"
#include "framework/Quillon_Text.h"
#include "game/Velkor_ScreenSupport.h"

namespace Quillon {
class Camera;
}

class WarningSign : public Quillon::Sprite {
 public:
  using Quillon::Sprite::Sprite;
  VELKOR_DECLARE_CLASS(WarningSign);
  void OnStart() override;
  void Update(float dt) override;
  // Stands on the camera, once every update of the frame (the car's, which moves it) is done.
  void FirstFrameHook(float dt) override;
  void ReleaseResources() override;

  // Shows the caption with that text for that many seconds.
  void Show(const std::string& text, float seconds);
  float GetRemainingTime() const { return m_remaining; }
  Quillon::Text* GetCaption() { return m_caption.Get(); }

 private:
  // Found on first use: a sign read back from a saved game is not started again.
  Partner<Quillon::Text> m_caption{"WarningTxt"};
  // It stands at the camera while shown.
  Partner<Quillon::Camera> m_camera{"camera0"};
  float m_remaining = 0.0f;
  float m_duration = 0.0f;
};
