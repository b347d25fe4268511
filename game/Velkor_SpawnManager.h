#pragma once
// A ground segment's spawner: it drops aliens, civilians and health pots onto the platforms its
// segment lays out, with caps per layout, and removes exactly its own spawns when the segment
// moves on.
#include <cstdint>

#include "core/Core_Object.h"
#include "math/Math_Vector2D.h"

class SpawnManager : public Core::Object {
 public:
  // Caps per layout.
  static constexpr int32_t kMaximumAliens = 10;
  static constexpr int32_t kMaximumCivilians = 3;
  static constexpr int32_t kMaximumHealthPots = 1;

  SpawnManager() = default;
  SpawnManager(const SpawnManager& other) = default;
  VELKOR_DECLARE_CLASS(SpawnManager);

  // Tags the spawns with the segment and starts spawning.
  void SetUp(int32_t ownerTag);
  // Perhaps one spawn above the platform at that place, by chance and by the distance driven.
  void Spawn(const Math::Vector2D& platformPosition);
  // Removes this spawner's aliens, civilians, health pots and dropped power-ups; the counts
  // start again.
  void Clear();
  void SpawnAlien(const Math::Vector2D& position);
  void SpawnHealthPot(const Math::Vector2D& position);
  void SpawnCivilian(const Math::Vector2D& position);

  int32_t GetOwnerTag() const { return m_ownerTag; }
  bool IsEnabled() const { return m_enabled != 0; }
  int32_t GetAliensSpawned() const { return m_aliensSpawned; }
  int32_t GetHealthPotsSpawned() const { return m_healthPotsSpawned; }
  int32_t GetCiviliansSpawned() const { return m_civiliansSpawned; }

 private:
  int32_t m_ownerTag = 0;
  uint8_t m_enabled = 0;
  int32_t m_aliensSpawned = 0;
  int32_t m_healthPotsSpawned = 0;
  int32_t m_civiliansSpawned = 0;
};
