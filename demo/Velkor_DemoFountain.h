#pragma once
// The demo's particle fountain: spawns particles at a steady rate from the system's origin, ages
// them under gravity, fades them out and recycles each slot when its particle has lived out.
#include <cstdint>
#include <vector>

#include "scene/Engine_ParticleSystem.h"

namespace Engine {

class ParticleFountain {
 public:
  struct Settings {
    float spawnRate = 120.0f;     // particles per second
    float lifetime = 2.0f;        // seconds
    float speed = 420.0f;         // units per second at launch
    float spreadDegrees = 30.0f;  // launch directions within this fan around straight up
    float gravity = -380.0f;      // units per second squared along y
  };

  ParticleFountain(const Core::SmartPointer<ParticleSystem>& system, const Settings& settings);

  // Ages every live particle by dt, frees those past their lifetime, then spawns the new ones due.
  void Update(float dt);

  uint32_t GetLiveCount() const;
  bool IsAlive(uint32_t index) const { return index < m_states.size() && m_states[index].alive; }
  float GetAge(uint32_t index) const { return index < m_states.size() ? m_states[index].age : 0.0f; }
  uint32_t GetSpawnedCount() const { return m_spawned; }

 private:
  struct State {
    float velocityX = 0.0f;
    float velocityY = 0.0f;
    float age = 0.0f;
    bool alive = false;
  };
  void Spawn(uint32_t index);

  Core::SmartPointer<ParticleSystem> m_system;
  Settings m_settings;
  std::vector<State> m_states;
  float m_spawnDebt = 0.0f;
  uint32_t m_spawned = 0;
};

}  // namespace Engine
