#pragma once
// The first screen: after a short wait the three logos fade in and out one after the other, then
// the story is requested.
#include "framework/Quillon_Level.h"
#include "framework/Quillon_Sprite.h"
#include "game/Velkor_ScreenSupport.h"

class LogoClass : public Quillon::Level {
 public:
  // The screen's timetable, in seconds.
  static constexpr float kWaitBeforeLogos = 2.0f;
  static constexpr float kLogoEnd = 6.0f;

  VELKOR_DECLARE_LEVEL(LogoClass);

  void OnStart() override;
  void OnEnd() override;
  void Update(float dt) override;

  float GetFirstOpacity() const { return m_firstOpacity; }
  float GetSecondOpacity() const { return m_secondOpacity; }
  float GetThirdOpacity() const { return m_thirdOpacity; }
  float GetLogoTime() const { return m_logoTime; }

 private:
  // Hides the three logos and asks for the story.
  void Leave();

  float m_firstOpacity = 0.0f;
  float m_secondOpacity = 0.0f;
  float m_thirdOpacity = 0.0f;
  float m_waitingTime = 0.0f;
  float m_logoTime = 0.0f;
  float m_fadeStep = 0.0f;
  // The three logos in the order they are shown, kept from the start of the level.
  Partner<Quillon::Sprite> m_logos[3] = {Partner<Quillon::Sprite>("StudioLogo"), Partner<Quillon::Sprite>("QlnLogo"),
                                         Partner<Quillon::Sprite>("TeamLogo")};
};
