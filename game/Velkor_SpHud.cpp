#include "game/Velkor_SpHud.h"

#include <list>

#include "game/Velkor_FightSupport.h"

VELKOR_IMPLEMENT_CLASS(SpHud, "SpHud");

namespace {

const char* const kIconNames[3] = {"SpAtkUi", "AiFriendUi", "UsableImg"};
const char* const kTextNames[3] = {"SpAtkTxt", "aiFrTxt", "usableTxt"};

}  // namespace

void SpHud::OnStart() {
  Quillon::Sprite::OnStart();
  for (int i = 0; i < 3; ++i) {
    m_countdowns[i] = 0.0f;
    // The usable item's icon is a power-up picture; the others are plain sprites.
    m_icons[i] = nullptr;
    std::list<Quillon::GameObject*> found;
    Quillon::GameObject::GetGameObjectsByName(kIconNames[i], found);
    for (Quillon::GameObject* object : found) {
      if (auto* sprite = dynamic_cast<Quillon::Sprite*>(object)) {
        m_icons[i] = sprite;
        break;
      }
    }
    m_texts[i] = FindObjectByName<Quillon::Text>(kTextNames[i]);
  }
  for (int i = 0; i < 3; ++i) {
    if (m_icons[i] != nullptr) Mount(m_icons[i]);
    if (m_texts[i] != nullptr) Mount(m_texts[i]);
  }
}

void SpHud::SetItems(int32_t specialId, int32_t aiFriendId, int32_t usableId) {
  const int32_t ids[3] = {specialId, aiFriendId, usableId};
  for (int i = 0; i < 3; ++i) {
    const bool has = ids[i] >= 0;
    if (Quillon::Sprite* icon = m_icons[i]) {
      icon->SetVisible(has);
      // The AI friend keeps its one picture.
      if (has && i != 1) icon->SetCurrentFrameIndex(static_cast<uint32_t>(ids[i]), false);
    }
    if (Quillon::Text* text = m_texts[i]) text->SetText(has ? "" : "0");
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
    Quillon::Text* text = m_texts[i];
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
