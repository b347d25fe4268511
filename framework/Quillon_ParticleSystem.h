#pragma once
// Particle systems: a game object spraying a fixed pool of textured quads. The base owns the
// engine's drawable node (texture, records, bounding box, blend factors); the system simulates:
// emission from a rate, birth at its emitter, motion along a parabola under gravity, scale and colour
// over each particle's life. Dead slots are reused; nothing is allocated while it runs.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_ParticleEmitter.h"
#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"
#include "scene/Engine_ParticleSystem.h"

namespace Quillon {

class Viewport;

class ParticleSystemBase : public GameObject {
 public:
  // The registry's object: no engine system until Load.
  ParticleSystemBase() = default;
  ParticleSystemBase(const std::string& texturePath, uint32_t particleCount, float boundingSize);
  ParticleSystemBase(const ParticleSystemBase& other);
  VELKOR_DECLARE_CLASS(ParticleSystemBase);
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;

  void SetUseLocalCoordinates(bool use);
  bool GetUseLocalCoordinates() const { return m_useLocalCoordinates != 0; }
  void SetSrcBlendFactor(uint32_t factor);
  uint32_t GetSrcBlendFactor() const { return m_srcBlendFactor; }
  void SetDstBlendFactor(uint32_t factor);
  uint32_t GetDstBlendFactor() const { return m_dstBlendFactor; }
  // Drawn in screen space as a HUD element.
  void SetHUDObject(bool hud);
  bool IsHUDObject() const;
  bool IsInViewport(Viewport* viewport) const;

  uint32_t GetParticleCount() const { return m_particleCount; }
  float GetBoundingSize() const { return m_boundingSize; }
  const std::string& GetTextureName() const { return m_textureName; }
  const Core::SmartPointer<Engine::ParticleSystem>& GetEngineSystem() const { return m_engineSystem; }
  // The drawable record of that slot; null past the pool.
  Engine::Particle* GetRecord(uint32_t index);

 protected:
  // Makes the engine system (texture, count), hangs it under the node and applies the stored state.
  void BuildEngineSystem(const std::string& texturePath, uint32_t particleCount);
  void LoadBase(Core::File& file);

  uint32_t m_particleCount = 0;
  uint8_t m_useLocalCoordinates = 1;
  Core::SmartPointer<Engine::ParticleSystem> m_engineSystem;
  float m_boundingSize = 0.0f;
  // The engine node has no getters for these: the values given to it are kept here.
  uint32_t m_srcBlendFactor = 6;
  uint32_t m_dstBlendFactor = 7;
  std::string m_textureName;
};

struct Particle {
  Math::Color startingColor;
  Math::Color endingColor;
  Math::Vector2D position;  // where it is drawn
  Math::Vector2D origin;    // where it was born
  Math::Vector2D velocity;  // units per second
  Math::Vector2D startingScale;
  Math::Vector2D endingScale;
  float rotation = 0.0f;       // degrees
  float rotationSpeed = 0.0f;  // degrees per update
  float lifeTime = 0.0f;       // seconds
  float age = 0.0f;            // seconds
  uint8_t alive = 0;
};

class ParticleSystem : public ParticleSystemBase {
 public:
  static constexpr const char* ScriptClassName = "ParticleSystem";

  // The registry's system: empty pool and no emitter until Load.
  ParticleSystem();
  ParticleSystem(const std::string& texturePath, uint32_t particleCount, float boundingSize,
                 const Math::Vector2D& gravity);
  ParticleSystem(const ParticleSystem& other);
  VELKOR_DECLARE_CLASS(ParticleSystem);
  int PushToLua(lua_State* state) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;
  // The simulation step, then the game object's Tick.
  void Tick(float dt) override;
  void Update(float dt) override { GameObject::Update(dt); }

  // Restarts the pool: every particle dead, counters and carried emission cleared.
  void Reset();
  // Runs the simulation ahead in steps of 0.01 s.
  void WarmUp(float seconds);

  // Null is refused: a system always needs an emitter.
  void SetEmitter(ParticleEmitter* emitter);
  ParticleEmitter* GetEmitter() const { return m_emitter.Get(); }
  void SetGravity(const Math::Vector2D& gravity) { m_gravity = gravity; }
  const Math::Vector2D& GetGravity() const { return m_gravity; }
  void SetParticleStartingColor(const Math::Color& a, const Math::Color& b);
  void SetParticleEndingColor(const Math::Color& a, const Math::Color& b);
  void GetParticleStartingColor(Math::Color& a, Math::Color& b) const;
  void GetParticleEndingColor(Math::Color& a, Math::Color& b) const;
  void SetParticleStartingScale(const Math::Vector2D& a, const Math::Vector2D& b);
  void SetParticleEndingScale(const Math::Vector2D& a, const Math::Vector2D& b);
  void GetParticleStartingScale(Math::Vector2D& a, Math::Vector2D& b) const;
  void GetParticleEndingScale(Math::Vector2D& a, Math::Vector2D& b) const;
  void SetParticleLifeTime(float low, float high);
  void GetParticleLifeTime(float& low, float& high) const;
  void SetParticleRotationSpeed(float low, float high);
  void GetParticleRotationSpeed(float& low, float& high) const;
  void SetParticleSpeed(float low, float high);
  void GetParticleSpeed(float& low, float& high) const;
  void SetEmissionRate(float low, float high);
  void GetEmissionRate(float& low, float& high) const;
  // 0: rotation follows the direction of motion; 1: each particle spins at its own speed.
  void SetParticleDirection(int32_t mode) { m_directionMode = mode; }
  int32_t GetParticleDirection() const { return m_directionMode; }
  void SetRecycleParticles(bool recycle) { m_recycleParticles = recycle ? 1 : 0; }
  bool GetRecycleParticles() const { return m_recycleParticles != 0; }
  void SetDestroyIfNotRecycling(bool destroy) { m_destroyIfNotRecycling = destroy ? 1 : 0; }
  bool GetDestroyIfNotRecycling() const { return m_destroyIfNotRecycling != 0; }

  const std::vector<Particle>& GetParticles() const { return m_particles; }
  uint32_t GetDeadCount() const { return m_deadCount; }
  uint32_t GetEmittedCount() const { return m_emittedCount; }
  float GetEmissionRemainder() const { return m_emissionRemainder; }
  const Math::Vector2D& GetPreviousPosition() const { return m_previousPosition; }

 private:
  // Draws a new particle's ranges (not its origin and velocity).
  void DrawRanges(Particle& particle);
  void WriteRecord(uint32_t index);

  std::vector<Particle> m_particles;
  Math::Vector2D m_gravity;
  Math::Vector2D m_previousPosition;
  Math::Color m_startingColorA{1.0f, 1.0f, 1.0f, 1.0f};
  Math::Color m_startingColorB{1.0f, 1.0f, 1.0f, 1.0f};
  Math::Color m_endingColorA{1.0f, 1.0f, 1.0f, 1.0f};
  Math::Color m_endingColorB{1.0f, 1.0f, 1.0f, 1.0f};
  Math::Vector2D m_startingScaleA{1.0f, 1.0f};
  Math::Vector2D m_startingScaleB{1.0f, 1.0f};
  Math::Vector2D m_endingScaleA{1.0f, 1.0f};
  Math::Vector2D m_endingScaleB{1.0f, 1.0f};
  Core::SmartPointer<ParticleEmitter> m_emitter;
  int32_t m_directionMode = 0;
  uint32_t m_deadCount = 0;
  uint32_t m_emittedCount = 0;
  float m_lifeTimeMin = 1.0f;
  float m_lifeTimeMax = 1.0f;
  float m_rotationSpeedMin = 0.0f;
  float m_rotationSpeedMax = 0.0f;
  float m_speedMin = 0.0f;
  float m_speedMax = 0.0f;
  float m_emissionRateMin = 0.0f;
  float m_emissionRateMax = 0.0f;
  float m_emissionRemainder = 0.0f;
  uint8_t m_recycleParticles = 1;
  uint8_t m_destroyIfNotRecycling = 1;
  uint8_t m_resetPosition = 1;
};

}  // namespace Quillon
