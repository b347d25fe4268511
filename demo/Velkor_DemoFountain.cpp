#include "demo/Velkor_DemoFountain.h"

#include <cmath>

#include "core/Core_Random.h"

namespace Engine {
namespace {
float RandomUnit() { return static_cast<float>(Core::Random()) / static_cast<float>(Core::kRandomMaximum); }
}  // namespace

ParticleFountain::ParticleFountain(const Core::SmartPointer<ParticleSystem>& system, const Settings& settings)
    : m_system(system), m_settings(settings), m_states(system ? system->GetParticleCount() : 0) {
  if (!m_system) return;
  for (Particle& particle : m_system->GetParticles()) particle = Particle();  // all slots free and unseen
}

uint32_t ParticleFountain::GetLiveCount() const {
  uint32_t live = 0;
  for (const State& state : m_states) live += state.alive ? 1 : 0;
  return live;
}

void ParticleFountain::Spawn(uint32_t index) {
  const float degrees = 90.0f + (RandomUnit() - 0.5f) * m_settings.spreadDegrees;
  const float radians = degrees * 0.0174532924f;
  const float speed = m_settings.speed * (0.8f + 0.2f * RandomUnit());
  State& state = m_states[index];
  state = State{speed * std::cos(radians), speed * std::sin(radians), 0.0f, true};
  Particle& particle = m_system->GetParticles()[index];
  particle = Particle{0.0f, 0.0f, 0.0f, 1.0f, 1.0f, RandomUnit() * 360.0f, 1.0f, 0.6f + 0.4f * RandomUnit(), 0.2f, 1.0f};
  ++m_spawned;
}

void ParticleFountain::Update(float dt) {
  if (!m_system || dt <= 0.0f) return;
  std::vector<Particle>& particles = m_system->GetParticles();
  for (uint32_t i = 0; i < m_states.size(); ++i) {
    State& state = m_states[i];
    if (!state.alive) continue;
    state.age += dt;
    Particle& particle = particles[i];
    if (state.age >= m_settings.lifetime) {
      // Its slot is free again; a dead particle is drawn as nothing.
      state.alive = false;
      particle.a = 0.0f;
      particle.scaleX = particle.scaleY = 0.0f;
      continue;
    }
    state.velocityY += m_settings.gravity * dt;
    particle.x += state.velocityX * dt;
    particle.y += state.velocityY * dt;
    particle.a = 1.0f - state.age / m_settings.lifetime;
  }

  m_spawnDebt += m_settings.spawnRate * dt;
  for (uint32_t i = 0; i < m_states.size() && m_spawnDebt >= 1.0f; ++i) {
    if (m_states[i].alive) continue;
    Spawn(i);
    m_spawnDebt -= 1.0f;
  }
  // With every slot busy the fountain waits rather than saving up a burst.
  if (m_spawnDebt > 1.0f) m_spawnDebt = 1.0f;
}

}  // namespace Engine
