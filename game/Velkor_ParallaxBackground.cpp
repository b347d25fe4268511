#include "game/Velkor_ParallaxBackground.h"

#include "framework/Quillon_Camera.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_Game.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Random.h"
#include "game/Velkor_HoverCar.h"

VELKOR_IMPLEMENT_CLASS(ParallaxBackground, "ParallaxBackground");

namespace {

int32_t ViewWidth() {
  const Quillon::Game* game = Quillon::Game::GetInstance();
  const uint32_t width = game != nullptr ? game->GetResolutionWidth() : 0;
  return width > 0 ? static_cast<int32_t>(width) : 1280;
}

}  // namespace

uint32_t ParallaxBackground::RandomFrame(const Quillon::Sprite& sprite) {
  const uint32_t frames = sprite.GetFramesCount(sprite.GetCurrentAnimationIndex());
  return frames > 1 ? static_cast<uint32_t>(Quillon::RandomInt(0, static_cast<int>(frames) - 1)) : 0;
}

void ParallaxBackground::SetUp() {
  m_sky = FindObjectByName<Quillon::Sprite>("bgMain");
  m_nearBand = FindObjectByName<Quillon::Sprite>("bgLayer2");
  m_nearBandSecond = FindObjectByName<Quillon::Sprite>("bgLayer2_2");
  m_farBand = FindObjectByName<Quillon::Sprite>("bgLayer3");
  m_farBandSecond = FindObjectByName<Quillon::Sprite>("bgLayer3_2");
  m_dimmer = FindObjectByName<Quillon::Sprite>("DimmerSprite");
  m_camera.Find();
  m_car.Find();
  const Quillon::Sprite* model = FindObjectByName<Quillon::Sprite>("Buildings");
  for (int32_t i = 0; i < kBuildingCount; ++i) {
    m_buildings[i].Reset();
    if (model == nullptr || model->GetLayer() == nullptr) continue;
    m_buildings[i] = static_cast<Quillon::Sprite*>(model->Clone());
    m_buildings[i]->SetPosition(static_cast<float>(model->GetFrameWidth(0)) * static_cast<float>(i) - 300.0f, 150.0f);
    m_buildings[i]->SetCurrentFrameIndex(RandomFrame(*model), true);
    model->GetLayer()->AddGameObject(m_buildings[i].Get());
  }
}

bool ParallaxBackground::Wrap(Quillon::Sprite& sprite, float left, float shift, int32_t viewWidth) {
  const int32_t width = static_cast<int32_t>(sprite.GetFrameWidth(0));
  if (left <= sprite.GetPositionX() + static_cast<float>(width / 2)) {
    sprite.SetPositionX(sprite.GetPositionX() - shift);
    return false;
  }
  sprite.SetPositionX(left + static_cast<float>(viewWidth + width / 2));
  return true;
}

void ParallaxBackground::Release() {
  for (auto* sprite : {&m_sky, &m_nearBand, &m_nearBandSecond, &m_farBand, &m_farBandSecond, &m_dimmer}) {
    sprite->Reset();
  }
  for (auto& building : m_buildings) building.Reset();
  m_camera.Release();
  m_car.Release();
}

void ParallaxBackground::Update() {
  const Quillon::Camera* camera = m_camera.Get();
  if (camera == nullptr) return;
  const int32_t viewWidth = ViewWidth();
  const HoverCar* car = m_car.Get();
  // The backdrop stands round the camera as it is drawn this frame. The car moves the camera in
  // its own update, which comes after this one: read from the camera now, the sky and the dimmer
  // would trail it by a frame of the drive and leave a strip at the screen's right edge bare.
  const float center = car != nullptr ? car->GetCameraX() : camera->GetPositionX();
  const float left = center - static_cast<float>(viewWidth / 2);
  if (m_sky) m_sky->SetPositionX(center);
  if (m_dimmer) m_dimmer->SetPositionX(center);
  const float shift = car != nullptr ? car->GetHorizontalSpeed() / 10.0f : 0.0f;
  for (Quillon::Sprite* band : {m_nearBand.Get(), m_nearBandSecond.Get()}) {
    if (band != nullptr) Wrap(*band, left, shift * 0.5f, viewWidth);
  }
  for (Quillon::Sprite* band : {m_farBand.Get(), m_farBandSecond.Get()}) {
    if (band != nullptr) Wrap(*band, left, 0.0f, viewWidth);
  }
  for (auto& building : m_buildings) {
    if (building && Wrap(*building, left, shift, viewWidth)) building->SetCurrentFrameIndex(RandomFrame(*building), true);
  }
}
