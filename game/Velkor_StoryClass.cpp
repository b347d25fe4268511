#include "game/Velkor_StoryClass.h"

#include <algorithm>
#include <initializer_list>

#include "framework/Quillon_Game.h"
#include "framework/Quillon_Sprite.h"
#include "game/Velkor_ScreenSupport.h"

namespace {

using Names = std::initializer_list<const char*>;

const Names kFirstPanel = {"f1",     "child",  "adult",  "ufo1",   "ufo2",  "ufo3",
                           "laser",  "flame1", "flame2", "flame3", "flame4", "flame5"};
const Names kSecondPanel = {"f2",     "light",    "human1",   "human2",   "human3",   "human4",  "human5",  "f2ufo1",
                            "f2ufo2", "f2ufo3",   "f2flame1", "f2flame2", "f2flame3", "f2flame4", "f2flame5"};
const Names kThirdPanel = {"f3", "car", "platform", "speedLines"};
// What the scene cannot play without.
const Names kRequired = {"f1",   "f2",    "f3",     "car",    "platform", "child",  "adult",
                         "ufo1", "ufo2",  "laser",  "flame1", "flame2",   "flame3", "flame4", "flame5"};
// Everything that fades with the scene but the saucers, the laser and the fires of the first panel.
const Names kSceneObjects = {"f1",     "f2",     "f3",     "car",      "platform", "speedLines", "child",
                             "adult",  "f2ufo1", "f2ufo2", "f2ufo3",   "light",    "human1",     "human2",
                             "human3", "human4", "human5", "f2flame1", "f2flame2", "f2flame3",   "f2flame4",
                             "f2flame5"};
const Names kUfos = {"ufo1", "ufo2", "ufo3"};
const Names kFlames = {"flame1", "flame2", "flame3", "flame4", "flame5"};

}  // namespace

VELKOR_IMPLEMENT_LEVEL(StoryClass, "StoryClass");

Quillon::Sprite* StoryClass::Find(const char* name) { return m_parts.Get(name); }

void StoryClass::Move(const Names& names, float dx, float dy) {
  for (const char* name : names) {
    if (Quillon::Sprite* sprite = Find(name)) sprite->SetPosition(sprite->GetPositionX() + dx, sprite->GetPositionY() + dy);
  }
}

// The fades overshoot by one step (the timetable waits for "above 1"); a sprite only ever gets
// an opacity it can have.
void StoryClass::SetOpacity(const Names& names, float opacity) {
  const float shown = std::min(std::max(opacity, 0.0f), 1.0f);
  for (const char* name : names) {
    if (Quillon::Sprite* sprite = Find(name)) sprite->SetOpacity(shown);
  }
}

void StoryClass::OnStart() {
  // The scene's parts are found once and kept; a part missing now is looked for again each frame.
  m_parts.Release();
  for (const Names& names : {kFirstPanel, kSecondPanel, kThirdPanel}) {
    for (const char* name : names) Find(name);
  }
  m_storyTime = 0.0f;
  m_sceneOpacity = 1.0f;
  m_ufoOpacity = 0.0f;
  m_laserOpacity = 0.0f;
  m_flameOpacity = 0.0f;
  HideGuiCursor();
}

void StoryClass::Update(float dt) {
  m_fadeStep = 2.0f * dt;
  m_storyTime += dt;
  bool complete = true;
  for (const char* name : kRequired) complete = complete && Find(name) != nullptr;
  // The way on to the menu never depends on the pictures: a scene with missing parts still ends.
  if (m_storyTime >= kEndTime || IsLeftClick()) {
    Leave();
    return;
  }
  if (!complete) return;
  ApplyOpacities();
  const float t = m_storyTime;
  if (t >= kFadeOutTime) {
    if (m_sceneOpacity >= 0.0f) {
      m_sceneOpacity -= m_fadeStep;
      m_ufoOpacity -= m_fadeStep;
      m_laserOpacity -= m_fadeStep;
      m_flameOpacity -= m_fadeStep;
    }
  } else if (t >= kThirdPanelTime) {
    if (Find("f3")->GetPositionX() < -2.0f) Move(kThirdPanel, 20.0f, 0.0f);
  } else if (t >= kSecondPanelTime) {
    Quillon::Sprite* f2 = Find("f2");
    if (f2->GetPositionY() > 135.0f) Move(kSecondPanel, 0.0f, -10.0f);
  } else {
    PlayFirstPanel();
  }
}

void StoryClass::ApplyOpacities() {
  SetOpacity(kSceneObjects, m_sceneOpacity);
  SetOpacity(kUfos, m_ufoOpacity);
  SetOpacity({"laser"}, m_laserOpacity);
  SetOpacity(kFlames, m_flameOpacity);
}

void StoryClass::PlayFirstPanel() {
  if (Find("f1")->GetPositionY() > 135.0f) {
    Move(kFirstPanel, 0.0f, -10.0f);
    return;
  }
  Quillon::Sprite* child = Find("child");
  Quillon::Sprite* adult = Find("adult");
  if (child->GetPositionX() < -296.0f) {
    Move({"child", "adult"}, 5.0f, 0.0f);
    return;
  }
  if (m_ufoOpacity <= 1.0f) m_ufoOpacity += m_fadeStep;
  adult->SetCurrentFrameIndex(1, false);
  child->SetCurrentFrameIndex(1, false);
  Quillon::Sprite* ufo3 = Find("ufo3");
  if (ufo3 == nullptr || ufo3->GetPositionX() <= -107.0f || m_ufoOpacity <= 1.0f) return;
  if (m_laserOpacity <= 1.0f) {
    m_laserOpacity += m_fadeStep;
    return;
  }
  Move({"ufo3", "laser"}, -5.0f, 0.0f);
  if (m_flameOpacity <= 1.0f) m_flameOpacity += m_fadeStep;
}

void StoryClass::Leave() {
  if (Quillon::Game* game = Quillon::Game::GetInstance()) game->GoToLevel("MainOptionLevel");
}
