#include "game/Velkor_WarningSign.h"

#include "framework/Quillon_Camera.h"
#include "game/Velkor_FightSupport.h"

VELKOR_IMPLEMENT_CLASS(WarningSign, "WarningSign");

void WarningSign::OnStart() {
  Quillon::Sprite::OnStart();
  m_caption.Find();
  m_camera.Find();
  m_remaining = 0.0f;
  m_duration = 0.0f;
}

void WarningSign::ReleaseResources() {
  m_caption.Release();
  m_camera.Release();
  Quillon::Sprite::ReleaseResources();
}

void WarningSign::Show(const std::string& text, float seconds) {
  if (Quillon::Text* caption = m_caption.Get()) {
    caption->SetText(text);
    caption->SetVisible(true);
  }
  m_remaining = seconds;
  m_duration = seconds;
  SetVisible(true);
}

void WarningSign::FirstFrameHook(float dt) {
  Quillon::Sprite::FirstFrameHook(dt);
  // Placed in its own update, before the car's, the sign would stand where the camera was a
  // frame ago and stop short of the screen's right edge.
  if (m_remaining <= 0.0f) return;
  if (Quillon::Camera* camera = m_camera.Get()) SetPosition(camera->GetPosition());
}

void WarningSign::Update(float dt) {
  Quillon::Sprite::Update(dt);
  if (IsGamePaused()) return;
  Quillon::Text* caption = m_caption.Get();
  if (m_remaining > 0.0f) {
    m_remaining -= dt;
    const float opacity = m_remaining / m_duration;
    SetOpacity(opacity);
    if (caption != nullptr) caption->SetOpacity(opacity);
  }
  if (m_remaining <= 0.0f) {
    SetVisible(false);
    if (caption != nullptr) caption->SetVisible(false);
  }
}
