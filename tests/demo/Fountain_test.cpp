// The demo's particle fountain: spawning at its rate, ageing under gravity, fading, and recycling
// the slots of particles that have lived out.
#include <gtest/gtest.h>

#include "demo/Velkor_DemoFountain.h"
#include "core/Core_Random.h"
#include "tests/renderer/FakeRenderer.h"

namespace {

using Core::SmartPointer;

SmartPointer<Engine::ParticleSystem> MakeSystem(uint32_t count) {
  SmartPointer<Renderer::ITexture> texture(new Renderer::FakeTexture("spark.png", 8, 8, 1));
  return new Engine::ParticleSystem(texture, count);
}

TEST(ParticleFountainTest, SpawnsAtItsRateAndAgesUnderGravity) {
  Core::SeedRandom(7);
  auto system = MakeSystem(100);
  Engine::ParticleFountain::Settings settings;
  settings.spawnRate = 10.0f;
  settings.lifetime = 1.0f;
  settings.speed = 100.0f;
  settings.spreadDegrees = 0.0f;  // straight up
  settings.gravity = -100.0f;
  Engine::ParticleFountain fountain(system, settings);
  EXPECT_EQ(fountain.GetLiveCount(), 0u);
  EXPECT_EQ(system->GetParticles()[0].a, 0.0f);  // free slots are not seen

  fountain.Update(0.05f);  // half a particle is due: none yet
  EXPECT_EQ(fountain.GetLiveCount(), 0u);
  fountain.Update(0.05f);
  EXPECT_EQ(fountain.GetLiveCount(), 1u);
  EXPECT_EQ(fountain.GetAge(0), 0.0f);
  const float launch = system->GetParticles()[0].y;
  EXPECT_EQ(launch, 0.0f);

  fountain.Update(0.1f);
  const Engine::Particle& first = system->GetParticles()[0];
  EXPECT_FLOAT_EQ(fountain.GetAge(0), 0.1f);
  EXPECT_GT(first.y, 0.0f);               // rising
  EXPECT_NEAR(first.x, 0.0f, 1e-3f);      // no spread: no sideways drift
  EXPECT_NEAR(first.a, 0.9f, 1e-5f);      // fading with age
  EXPECT_EQ(fountain.GetLiveCount(), 2u);

  // Gravity turns it round: after 0.9 s it is falling.
  float previous = first.y;
  for (int i = 0; i < 8; ++i) {
    previous = first.y;
    fountain.Update(0.1f);
  }
  EXPECT_LT(first.y, previous);
}

TEST(ParticleFountainTest, RecyclesLivedOutSlotsAndNeverExceedsTheSystem) {
  auto system = MakeSystem(5);
  Engine::ParticleFountain::Settings settings;
  settings.spawnRate = 100.0f;
  settings.lifetime = 0.25f;
  Engine::ParticleFountain fountain(system, settings);
  fountain.Update(0.1f);  // ten due, five slots
  EXPECT_EQ(fountain.GetLiveCount(), 5u);
  EXPECT_EQ(fountain.GetSpawnedCount(), 5u);
  fountain.Update(0.1f);  // all busy: nothing saved up
  fountain.Update(0.1f);
  EXPECT_EQ(fountain.GetSpawnedCount(), 5u);
  EXPECT_FLOAT_EQ(fountain.GetAge(0), 0.2f);
  fountain.Update(0.1f);  // all five live out (0.3 s) and their slots are taken again at once
  EXPECT_EQ(fountain.GetSpawnedCount(), 10u);
  EXPECT_EQ(fountain.GetLiveCount(), 5u);
  for (uint32_t i = 0; i < 5; ++i) EXPECT_EQ(fountain.GetAge(i), 0.0f);

  // Without new particles, every slot dies out and is drawn as nothing.
  Engine::ParticleFountain::Settings quiet = settings;
  quiet.spawnRate = 0.0f;
  auto other = MakeSystem(3);
  Engine::ParticleFountain still(other, quiet);
  still.Update(1.0f);
  EXPECT_EQ(still.GetLiveCount(), 0u);
  for (const auto& particle : other->GetParticles()) EXPECT_EQ(particle.a, 0.0f);
}

}  // namespace
