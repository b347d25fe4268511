#include "game/Velkor_SpawnManager.h"

#include <list>
#include <string>

#include "framework/Quillon_Random.h"
#include "game/Velkor_AlienClass.h"
#include "game/Velkor_CivilianClass.h"
#include "game/Velkor_FightSupport.h"
#include "game/Velkor_HealthConsume.h"

VELKOR_IMPLEMENT_CLASS(SpawnManager, "SpawnManager");

namespace {

// Clones the archetype under its spawn name, tagged with the owner, falling under gravity, into
// the archetype's layer; null without the archetype.
template <typename T>
T* SpawnFrom(const char* archetypeName, const char* spawnName, uint8_t zCollision, int32_t ownerTag,
             const Math::Vector2D& position) {
  T* archetype = FindObjectByName<T>(archetypeName);
  if (archetype == nullptr) return nullptr;
  auto* spawn = static_cast<T*>(archetype->Clone());
  if (spawn == nullptr) return nullptr;
  Core::SmartPointer<T> keep(spawn);
  spawn->Spawn(ownerTag, spawnName, zCollision, position);
  AddGravity(spawn);
  Quillon::Layer* layer = archetype->GetLayer();
  if (layer == nullptr) return nullptr;
  layer->AddGameObject(spawn, false, nullptr);
  return spawn;
}

}  // namespace

void SpawnManager::SetUp(int32_t ownerTag) {
  m_ownerTag = ownerTag;
  m_enabled = 1;
  m_aliensSpawned = 0;
  m_healthPotsSpawned = 0;
  m_civiliansSpawned = 0;
}

void SpawnManager::Spawn(const Math::Vector2D& platformPosition) {
  if (Quillon::RandomInt(0, 10) >= 9 || m_enabled == 0) return;
  const float d = platformPosition.x / 10.0f;
  const int32_t r = Quillon::RandomInt(0, 10000);
  const Math::Vector2D position = platformPosition + Math::Vector2D(0.0f, 50.0f);
  if (r < 1000 && d > 1000.0f && m_healthPotsSpawned < kMaximumHealthPots) {
    SpawnHealthPot(position);
    ++m_healthPotsSpawned;
  } else if (r < 3000 && d > 200.0f && m_civiliansSpawned < kMaximumCivilians) {
    SpawnCivilian(position);
    ++m_civiliansSpawned;
  } else if (r < 7000 && d > 250.0f && m_aliensSpawned < kMaximumAliens) {
    SpawnAlien(position);
    ++m_aliensSpawned;
  }
}

void SpawnManager::SpawnAlien(const Math::Vector2D& position) {
  auto* alien = SpawnFrom<AlienClass>("Alien", "AlienClone", 6, m_ownerTag, position);
  if (alien == nullptr) return;
  if (Quillon::RandomInt(0, 10) < 3) {
    alien->SetUp(150, 2.0f, true);
  } else {
    alien->SetUp(100, 1.0f, false);
  }
}

void SpawnManager::SpawnHealthPot(const Math::Vector2D& position) {
  SpawnFrom<HealthConsume>("HealthPot", "HealthPotClone", 8, m_ownerTag, position);
}

void SpawnManager::SpawnCivilian(const Math::Vector2D& position) {
  SpawnFrom<CivilianClass>("Civilian", "CivilianClone", 8, m_ownerTag, position);
}

void SpawnManager::Clear() {
  for (const char* name : {"AlienClone", "CivilianClone", "HealthPotClone", "PowerConsuClone"}) {
    std::list<Quillon::GameObject*> found;
    Quillon::GameObject::GetGameObjectsByName(name, found);
    for (Quillon::GameObject* object : found) {
      auto* spawn = dynamic_cast<SpawnObject*>(object);
      if (spawn != nullptr && spawn->GetOwnerTag() == m_ownerTag) spawn->Destroy();
    }
  }
  m_aliensSpawned = 0;
  m_healthPotsSpawned = 0;
  m_civiliansSpawned = 0;
}
