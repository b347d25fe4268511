// The game level's UFO waves: a warning, then a wave of bosses that keep pace with the car, and
// the next warning once every boss of the wave is down. Every fifth wave brings the mothership.
#include <list>
#include <string>

#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Random.h"
#include "game/Velkor_BossObject.h"
#include "game/Velkor_GameLevelClass.h"
#include "game/Velkor_PlayerClass.h"
#include "game/Velkor_WarningSign.h"

namespace {

constexpr float kWaveCheckPeriod = 1.0f;
constexpr float kWarningDelay = 3.0f;
constexpr float kWaveDelay = 5.0f;
constexpr float kWarningSeconds = 5.0f;
// A boss further than this from the car has been left behind and is replaced.
constexpr float kLeftBehind = 5000.0f;
constexpr uint8_t kBossZCollision = 5;
constexpr const char* kMainLayer = "GameLevelObjects";

const Math::Vector2D kSpeedMinimum(2.0f, 2.0f);
const Math::Vector2D kSpeedMaximum(5.0f, 5.0f);

// A new boss like that archetype beside the car, at the wave's health, into the main layer.
void SpawnEscort(Quillon::Layer* layer, BossObject* archetype, const char* cloneName, int32_t health,
                 const Math::Vector2D& minimumOffset) {
  if (archetype == nullptr || layer == nullptr) return;
  const Math::Vector2D start(800.0f, static_cast<float>(Quillon::RandomInt(1000, 900)));
  auto* boss = static_cast<BossObject*>(archetype->Clone());
  if (boss == nullptr) return;
  Core::SmartPointer<BossObject> keep(boss);
  boss->SetName(cloneName);
  boss->Initialise(start, health, kBossZCollision);
  boss->SetWanderingBox(minimumOffset, Math::Vector2D(800.0f, 600.0f), kSpeedMinimum, kSpeedMaximum);
  layer->AddGameObject(boss, false, nullptr);
}

}  // namespace

GameLevelClass::UfoWave GameLevelClass::GetWave(int32_t ufoLevel) {
  const int32_t r = ufoLevel % 5;
  if (ufoLevel > 0 && r == 0) return UfoWave{0, 0, 1};
  return UfoWave{2 * r - 1, r - 1, 0};
}

int32_t GameLevelClass::GetBossHealth(int32_t baseHealth, int32_t tier) {
  return static_cast<int32_t>(static_cast<double>(baseHealth) * (static_cast<double>(tier) * 0.5 + 1.0));
}

std::string GameLevelClass::GetWarningText(int32_t ufoLevel) {
  if (ufoLevel > 0 && ufoLevel % 5 == 0) return "WARNING: BOSS OF UFO!!";
  return "WARNING: UFO Level " + std::to_string(ufoLevel);
}

void GameLevelClass::ResetWaves() {
  m_ufoLevel = 0;
  m_bossTier = 0;
  m_ufoCount = 0;
  m_ufo2Count = 0;
  m_ufo3Count = 0;
  m_waveActive = false;
  m_warningShown = false;
}

void GameLevelClass::UpdateWaves(float dt) {
  m_waveTimer += dt;
  if (m_waveActive) {
    if (m_waveTimer < kWaveCheckPeriod) return;
    const int32_t live = CountUfos("UFOClone", 0) + CountUfos("UFO2Clone", 1) + CountUfos("UFO3", 3);
    if (live <= 0) {
      m_waveActive = false;
      m_warningShown = false;
    }
    m_waveTimer = 0.0f;
    return;
  }
  if (m_waveTimer > kWarningDelay && !m_warningShown) {
    ++m_ufoLevel;
    m_bossTier = m_ufoLevel / 5;
    ShowWarning(GetWarningText(m_ufoLevel), kWarningSeconds);
    m_warningShown = true;
  } else if (m_waveTimer > kWaveDelay) {
    const UfoWave wave = GetWave(m_ufoLevel);
    m_ufoCount = wave.ufos;
    m_ufo2Count = wave.ufo2s;
    m_ufo3Count = wave.ufo3s;
    for (int32_t i = 0; i < m_ufoCount; ++i) SpawnUfo();
    for (int32_t i = 0; i < m_ufo2Count; ++i) SpawnUfo2();
    for (int32_t i = 0; i < m_ufo3Count; ++i) SpawnUfo3();
    m_waveActive = true;
    m_waveTimer = 0.0f;
  }
}

void GameLevelClass::ShowWarning(const std::string& text, float seconds) {
  if (WarningSign* sign = m_warningSign.Get()) sign->Show(text, seconds);
  m_runSounds.Play("ufoComing", false);
}

void GameLevelClass::SpawnUfo() {
  SpawnEscort(GetLayerByName(kMainLayer), m_ufo.Get(), "UFOClone", GetBossHealth(1000, m_bossTier), Math::Vector2D(300.0f, 300.0f));
}

void GameLevelClass::SpawnUfo2() {
  SpawnEscort(GetLayerByName(kMainLayer), m_ufo2.Get(), "UFO2Clone", GetBossHealth(5000, m_bossTier), Math::Vector2D(250.0f, 150.0f));
}

void GameLevelClass::SpawnUfo3() {
  BossObject* mothership = m_mothership.Get();
  if (mothership == nullptr) return;
  mothership->Engage(true);
  const Math::Vector2D start(static_cast<float>(Quillon::RandomInt(900, 1300)),
                             static_cast<float>(Quillon::RandomInt(1000, 1400)));
  mothership->Initialise(start, GetBossHealth(20000, m_bossTier), kBossZCollision);
  mothership->SetWanderingBox(Math::Vector2D(450.0f, 50.0f), Math::Vector2D(800.0f, 450.0f), kSpeedMinimum,
                              kSpeedMaximum);
}

int32_t GameLevelClass::CountUfos(const std::string& name, int32_t kind) {
  PlayerClass* player = m_car.Get();
  if (player == nullptr) return 0;
  const Math::Vector2D car = player->GetPosition();
  std::list<Quillon::GameObject*> found;
  GetGameObjectsByName(name, found);
  int32_t count = 0;
  for (Quillon::GameObject* object : found) {
    if (object == nullptr || object->IsDestructionPending()) continue;
    const bool farBehind = object->GetPosition().Distance(car) > kLeftBehind;
    if (kind == 3) {
      // The mothership stands in the level all along: it counts only while in the fight.
      auto* mothership = dynamic_cast<BossObject*>(object);
      if (mothership == nullptr || !mothership->IsEngaged() || !mothership->IsVisible()) continue;
      if (farBehind) SpawnUfo3();
      ++count;
    } else if (farBehind && kind == 0) {
      object->Destroy();
      SpawnUfo();
      ++count;
    } else if (farBehind && kind == 1) {
      object->Destroy();
      SpawnUfo2();
      ++count;
    } else {
      ++count;
    }
  }
  return count;
}
