#include "game/Velkor_FadingText.h"

#include "framework/Quillon_Layer.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_ScreenSupport.h"

VELKOR_IMPLEMENT_CLASS(FadingText, "FadingText");

void FadingText::OnStart() {
  Quillon::Text::OnStart();
  m_fade = 1.0f;
}

void FadingText::Update(float dt) {
  Quillon::Text::Update(dt);
  if (IsGamePaused() || !m_message) return;
  m_fade -= kFadeStep;
  if (m_fade > 0.0f) {
    SetOpacity(m_fade);
  } else if (!IsDestructionPending()) {
    // Gone from sight, it would only cost a draw and an update every frame until the level ends.
    Destroy();
  }
}

FadingText* FadingText::Spawn(const std::string& caption, const Math::Vector2D& position, Quillon::Layer* layer) {
  FadingText* model = FindObjectByName<FadingText>("FadingTxt");
  if (model == nullptr || layer == nullptr) return nullptr;
  Core::SmartPointer<FadingText> message(static_cast<FadingText*>(model->Clone()));
  message->SetText(caption);
  message->SetOpacity(1.0f);
  message->SetPosition(position);
  layer->AddGameObject(message.Get());
  return message.Get();
}
