#include "game/Velkor_LogoClass.h"

#include <algorithm>

#include "framework/Quillon_Sprite.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_ScreenSupport.h"

namespace {

// A fade overshoots by at most one step; the opacity the sprite gets stays within 0..1.
float Rise(float opacity, float step) { return opacity <= 1.0f ? std::min(opacity + step, 1.0f) : opacity; }
float Fall(float opacity, float step) { return opacity >= 0.0f ? std::max(opacity - step, 0.0f) : opacity; }

}  // namespace

VELKOR_IMPLEMENT_LEVEL(LogoClass, "LogoClass");

void LogoClass::OnStart() {
  HideGuiCursor();
  for (Partner<Quillon::Sprite>& logo : m_logos) logo.Find();
}

void LogoClass::OnEnd() {
  for (Partner<Quillon::Sprite>& logo : m_logos) logo.Release();
}

void LogoClass::Update(float dt) {
  Quillon::Sprite* first = m_logos[0].Get();
  Quillon::Sprite* second = m_logos[1].Get();
  Quillon::Sprite* third = m_logos[2].Get();
  m_fadeStep = 2.0f * dt;
  if (first != nullptr && second != nullptr && third != nullptr) {
    first->SetOpacity(m_firstOpacity);
    second->SetOpacity(m_secondOpacity);
    third->SetOpacity(m_thirdOpacity);
    m_waitingTime += dt;
    if (m_waitingTime >= kWaitBeforeLogos) {
      m_logoTime += dt;
      const float t = m_logoTime;
      if (t < 1.3f) {
        m_firstOpacity = Rise(m_firstOpacity, m_fadeStep);
      } else if (t < 2.0f) {
        m_firstOpacity = Fall(m_firstOpacity, m_fadeStep);
      } else if (t < 3.3f) {
        m_firstOpacity = 0.0f;
        m_secondOpacity = Rise(m_secondOpacity, m_fadeStep);
      } else if (t < 4.0f) {
        m_secondOpacity = Fall(m_secondOpacity, m_fadeStep);
      } else if (t < 5.3f) {
        m_secondOpacity = 0.0f;
        m_thirdOpacity = Rise(m_thirdOpacity, m_fadeStep);
      } else if (t < kLogoEnd) {
        m_thirdOpacity = Fall(m_thirdOpacity, m_fadeStep);
      } else {
        Leave();
      }
    }
  }
  MyGame* game = GetMyGame();
  if (game != nullptr && game->counter > 0 && IsLeftClick()) Leave();
}

void LogoClass::Leave() {
  for (Partner<Quillon::Sprite>& partner : m_logos) {
    if (Quillon::Sprite* logo = partner.Get()) logo->SetVisible(false);
  }
  if (Quillon::Game* game = Quillon::Game::GetInstance()) game->GoToLevel("Story");
}
