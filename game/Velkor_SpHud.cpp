#include "game/Velkor_SpHud.h"

#include "game/Velkor_FightSupport.h"

VELKOR_IMPLEMENT_CLASS(SpHud, "SpHud");

void SpHud::OnStart() {
  Quillon::Sprite::OnStart();
  for (float& countdown : m_countdowns) countdown = 0.0f;
  for (int i = 0; i < 3; ++i) {
    Mount(m_icons[i].Find());
    Mount(m_texts[i].Find());
  }
}

void SpHud::ReleaseResources() {
  for (int i = 0; i < 3; ++i) {
    m_icons[i].Release();
    m_texts[i].Release();
  }
  Quillon::Sprite::ReleaseResources();
}

void SpHud::SetItems(int32_t specialId, int32_t aiFriendId, int32_t usableId) {
  const int32_t ids[3] = {specialId, aiFriendId, usableId};
  for (int i = 0; i < 3; ++i) {
    const bool has = ids[i] >= 0;
    if (Quillon::Sprite* icon = m_icons[i].Get()) {
      icon->SetVisible(has);
      // The AI friend keeps its one picture.
      if (has && i != 1) icon->SetCurrentFrameIndex(static_cast<uint32_t>(ids[i]), false);
    }
    if (Quillon::Text* text = m_texts[i].Get()) text->SetText(has ? "" : "0");
  }
}

std::string SpHud::CountdownText(float seconds) {
  std::string text = std::to_string(static_cast<int32_t>(seconds));
  // Cut to three characters; a shorter count stays as it is (no filler characters).
  if (text.size() > 3) text.resize(3);
  return text;
}

void SpHud::Update(float dt) {
  Quillon::Sprite::Update(dt);
  if (IsGamePaused()) return;
  for (int i = 0; i < 3; ++i) {
    Quillon::Text* text = m_texts[i].Get();
    if (m_countdowns[i] > 0.0f) {
      m_countdowns[i] -= dt;
      if (text != nullptr) {
        text->SetVisible(true);
        text->SetText(CountdownText(m_countdowns[i]));
      }
    } else if (text != nullptr) {
      text->SetVisible(false);
    }
  }
}
