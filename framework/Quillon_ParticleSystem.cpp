#include "framework/Quillon_ParticleSystem.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/Core_File.h"
#include "framework/Quillon_Camera.h"
#include "framework/Quillon_GameServices.h"
#include "framework/Quillon_Random.h"
#include "framework/Quillon_Viewport.h"
#include "math/Math_Frustum.h"
#include "renderer/Renderer_ITexture.h"

namespace Quillon {

namespace {

constexpr float kDegreesToRadians = 0.01745329238474369f;
constexpr float kRadiansToDegrees = 57.295780181884766f;

std::string BareFileName(const std::string& path) {
  const size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

bool IsBareName(const std::string& name) {
  return !name.empty() && name.find_first_of("\\/") == std::string::npos && name != ".." && name != ".";
}

Math::Vector2D Rotate(const Math::Vector2D& v, float degrees) {
  const float length = std::sqrt(v.x * v.x + v.y * v.y);
  const float angle = std::atan2(v.y, v.x) + degrees * kDegreesToRadians;
  return Math::Vector2D(std::cos(angle) * length, std::sin(angle) * length);
}

void WriteF32(Core::File& file, float value) { Core::WriteValue(file, value); }
float ReadF32(Core::File& file) { return Core::ReadValue<float>(file); }

}  // namespace

// ---- Base ---------------------------------------------------------------------------------------

VELKOR_IMPLEMENT_CLASS(ParticleSystemBase, "Quillon::ParticleSystemBase");

ParticleSystemBase::ParticleSystemBase(const std::string& texturePath, uint32_t particleCount, float boundingSize)
    : m_particleCount(particleCount), m_boundingSize(boundingSize) {
  BuildEngineSystem(texturePath, particleCount);
}

ParticleSystemBase::ParticleSystemBase(const ParticleSystemBase& other)
    : GameObject(other),
      m_particleCount(other.m_particleCount),
      m_useLocalCoordinates(other.m_useLocalCoordinates),
      m_boundingSize(other.m_boundingSize),
      m_srcBlendFactor(other.m_srcBlendFactor),
      m_dstBlendFactor(other.m_dstBlendFactor),
      m_textureName(other.m_textureName) {
  if (other.m_engineSystem) {
    m_engineSystem = static_cast<Engine::ParticleSystem*>(other.m_engineSystem->Clone());
    m_node->AddChild(m_engineSystem);
  }
}

void ParticleSystemBase::BuildEngineSystem(const std::string& texturePath, uint32_t particleCount) {
  if (m_engineSystem) {
    m_node->RemoveChild(m_engineSystem);
    m_engineSystem.Reset();
  }
  m_textureName = texturePath;
  m_particleCount = particleCount;
  // An empty pool has nothing to draw, and the engine node cannot describe an empty mesh part.
  if (particleCount == 0) return;
  Core::SmartPointer<Renderer::ITexture> texture = Renderer::ITexture::Create(texturePath, true);
  m_engineSystem = new (__FILE__, __LINE__) Engine::ParticleSystem(texture, particleCount);
  m_node->AddChild(m_engineSystem);
  m_engineSystem->SetBoundingSize(m_boundingSize);
  m_engineSystem->SetUseLocalCoordinates(m_useLocalCoordinates != 0);
  m_engineSystem->SetBlendFactors(m_srcBlendFactor, m_dstBlendFactor);
}

Engine::Particle* ParticleSystemBase::GetRecord(uint32_t index) {
  if (!m_engineSystem || index >= m_engineSystem->GetParticleCount()) return nullptr;
  return &m_engineSystem->GetParticles()[index];
}

void ParticleSystemBase::SetUseLocalCoordinates(bool use) {
  m_useLocalCoordinates = use ? 1 : 0;
  if (m_engineSystem) m_engineSystem->SetUseLocalCoordinates(use);
}

void ParticleSystemBase::SetSrcBlendFactor(uint32_t factor) {
  m_srcBlendFactor = factor;
  if (m_engineSystem) m_engineSystem->SetBlendFactors(m_srcBlendFactor, m_dstBlendFactor);
}

void ParticleSystemBase::SetDstBlendFactor(uint32_t factor) {
  m_dstBlendFactor = factor;
  if (m_engineSystem) m_engineSystem->SetBlendFactors(m_srcBlendFactor, m_dstBlendFactor);
}

void ParticleSystemBase::SetHUDObject(bool hud) {
  if (m_engineSystem) m_engineSystem->SetScreenSpace(hud);
}

bool ParticleSystemBase::IsHUDObject() const { return m_engineSystem && m_engineSystem->GetScreenSpace(); }

bool ParticleSystemBase::IsInViewport(Viewport* viewport) const {
  if (viewport == nullptr || viewport->GetCamera() == nullptr || !m_engineSystem) return false;
  Math::Frustum frustum;
  viewport->GetCamera()->BuildFrustum(frustum, static_cast<int>(viewport->GetWidth()),
                                      static_cast<int>(viewport->GetHeight()));
  Math::BoundingBox box;
  m_engineSystem->GetWorldBoundingBox(box);
  return frustum.ClassifyBox(box) != 2;
}

void ParticleSystemBase::Save(Core::File& file) {
  GameObject::Save(file);
  // Textures live in the game's particle folder on every machine: only the file's own name is kept.
  file << BareFileName(m_textureName);
  Core::WriteValue<uint32_t>(file, m_particleCount);
  for (uint32_t i = 0; i < m_particleCount; ++i) {
    const Engine::Particle* record = GetRecord(i);
    const Engine::Particle blank;
    const Engine::Particle& p = record != nullptr ? *record : blank;
    const float fields[10] = {p.x, p.y, p.z, p.scaleX, p.scaleY, p.rotation, p.r, p.g, p.b, p.a};
    file.Write(fields, sizeof(fields));
  }
  WriteF32(file, m_boundingSize);
  Core::WriteValue<uint32_t>(file, m_srcBlendFactor);
  Core::WriteValue<uint32_t>(file, m_dstBlendFactor);
  Core::WriteValue<uint8_t>(file, IsHUDObject() ? 1 : 0);
  Core::WriteValue<uint8_t>(file, m_useLocalCoordinates);
}

void ParticleSystemBase::LoadBase(Core::File& file) {
  GameObject::LoadBase(file);
  std::string name;
  file >> name;
  uint32_t count = Core::ReadValue<uint32_t>(file);
  // Each drawable record takes 40 bytes: a count the stream cannot hold is refused before any pool.
  if (!file.CheckCount(count, 40) || file.HasFailed()) return;
  std::vector<Engine::Particle> records(count);
  for (Engine::Particle& p : records) {
    float fields[10];
    file.Read(fields, sizeof(fields));
    p = Engine::Particle{fields[0], fields[1], fields[2], fields[3], fields[4],
                         fields[5], fields[6], fields[7], fields[8], fields[9]};
  }
  const float boundingSize = ReadF32(file);
  const uint32_t srcBlend = Core::ReadValue<uint32_t>(file);
  const uint32_t dstBlend = Core::ReadValue<uint32_t>(file);
  const uint8_t hud = Core::ReadValue<uint8_t>(file);
  const uint8_t local = Core::ReadValue<uint8_t>(file);
  if (file.HasFailed()) return;
  const std::string path =
      IsBareName(name) ? GetGameServices().GetDirectory() + "\\Resources\\ParticleSystems\\" + name : std::string();
  m_boundingSize = std::isfinite(boundingSize) ? boundingSize : 0.0f;
  m_useLocalCoordinates = local != 0 ? 1 : 0;
  m_srcBlendFactor = srcBlend;
  m_dstBlendFactor = dstBlend;
  BuildEngineSystem(path, count);
  m_textureName = path.empty() ? name : path;
  SetVisible(IsVisible());
  if (m_engineSystem) m_engineSystem->GetParticles() = records;
  SetHUDObject(hud != 0);
}

void ParticleSystemBase::Load(Core::File& file) { LoadBase(file); }

// ---- System -------------------------------------------------------------------------------------

VELKOR_IMPLEMENT_CLASS(ParticleSystem, "Quillon::ParticleSystem");

ParticleSystem::ParticleSystem()
    : m_startingColorA(0.0f, 0.0f, 0.0f, 1.0f),
      m_startingColorB(0.0f, 0.0f, 0.0f, 1.0f),
      m_endingColorA(0.0f, 0.0f, 0.0f, 1.0f),
      m_endingColorB(0.0f, 0.0f, 0.0f, 1.0f),
      m_startingScaleA(0.0f, 0.0f),
      m_startingScaleB(0.0f, 0.0f),
      m_endingScaleA(0.0f, 0.0f),
      m_endingScaleB(0.0f, 0.0f),
      m_lifeTimeMin(0.0f),
      m_lifeTimeMax(0.0f) {}

ParticleSystem::ParticleSystem(const std::string& texturePath, uint32_t particleCount, float boundingSize,
                               const Math::Vector2D& gravity)
    : ParticleSystemBase(texturePath, particleCount, boundingSize),
      m_particles(particleCount),
      m_gravity(gravity),
      m_emitter(new (__FILE__, __LINE__) PointEmitter()),
      m_emissionRateMin(static_cast<float>(particleCount)),
      m_emissionRateMax(static_cast<float>(particleCount)) {
  Reset();
}

ParticleSystem::ParticleSystem(const ParticleSystem& other)
    : ParticleSystemBase(other),
      m_particles(other.m_particles),
      m_gravity(other.m_gravity),
      m_previousPosition(other.m_previousPosition),
      m_startingColorA(other.m_startingColorA),
      m_startingColorB(other.m_startingColorB),
      m_endingColorA(other.m_endingColorA),
      m_endingColorB(other.m_endingColorB),
      m_startingScaleA(other.m_startingScaleA),
      m_startingScaleB(other.m_startingScaleB),
      m_endingScaleA(other.m_endingScaleA),
      m_endingScaleB(other.m_endingScaleB),
      m_directionMode(other.m_directionMode),
      m_deadCount(other.m_deadCount),
      m_emittedCount(other.m_emittedCount),
      m_lifeTimeMin(other.m_lifeTimeMin),
      m_lifeTimeMax(other.m_lifeTimeMax),
      m_rotationSpeedMin(other.m_rotationSpeedMin),
      m_rotationSpeedMax(other.m_rotationSpeedMax),
      m_speedMin(other.m_speedMin),
      m_speedMax(other.m_speedMax),
      m_emissionRateMin(other.m_emissionRateMin),
      m_emissionRateMax(other.m_emissionRateMax),
      m_emissionRemainder(other.m_emissionRemainder),
      m_recycleParticles(other.m_recycleParticles),
      m_destroyIfNotRecycling(other.m_destroyIfNotRecycling),
      m_resetPosition(other.m_resetPosition) {
  if (other.m_emitter) m_emitter = static_cast<ParticleEmitter*>(other.m_emitter->Clone());
  // The copy's script is empty until CloneWithScript loads its chunk; that runs "OnClone".
}

int ParticleSystem::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, ScriptClassName); }

void ParticleSystem::SetEmitter(ParticleEmitter* emitter) {
  if (emitter != nullptr) m_emitter = emitter;
}

void ParticleSystem::SetParticleStartingColor(const Math::Color& a, const Math::Color& b) {
  m_startingColorA = a;
  m_startingColorB = b;
}
void ParticleSystem::SetParticleEndingColor(const Math::Color& a, const Math::Color& b) {
  m_endingColorA = a;
  m_endingColorB = b;
}
void ParticleSystem::GetParticleStartingColor(Math::Color& a, Math::Color& b) const {
  a = m_startingColorA;
  b = m_startingColorB;
}
void ParticleSystem::GetParticleEndingColor(Math::Color& a, Math::Color& b) const {
  a = m_endingColorA;
  b = m_endingColorB;
}
void ParticleSystem::SetParticleStartingScale(const Math::Vector2D& a, const Math::Vector2D& b) {
  m_startingScaleA = a;
  m_startingScaleB = b;
}
void ParticleSystem::SetParticleEndingScale(const Math::Vector2D& a, const Math::Vector2D& b) {
  m_endingScaleA = a;
  m_endingScaleB = b;
}
void ParticleSystem::GetParticleStartingScale(Math::Vector2D& a, Math::Vector2D& b) const {
  a = m_startingScaleA;
  b = m_startingScaleB;
}
void ParticleSystem::GetParticleEndingScale(Math::Vector2D& a, Math::Vector2D& b) const {
  a = m_endingScaleA;
  b = m_endingScaleB;
}
void ParticleSystem::SetParticleLifeTime(float low, float high) {
  m_lifeTimeMin = low;
  m_lifeTimeMax = high;
}
void ParticleSystem::GetParticleLifeTime(float& low, float& high) const {
  low = m_lifeTimeMin;
  high = m_lifeTimeMax;
}
void ParticleSystem::SetParticleRotationSpeed(float low, float high) {
  m_rotationSpeedMin = low;
  m_rotationSpeedMax = high;
}
void ParticleSystem::GetParticleRotationSpeed(float& low, float& high) const {
  low = m_rotationSpeedMin;
  high = m_rotationSpeedMax;
}
void ParticleSystem::SetParticleSpeed(float low, float high) {
  m_speedMin = low;
  m_speedMax = high;
}
void ParticleSystem::GetParticleSpeed(float& low, float& high) const {
  low = m_speedMin;
  high = m_speedMax;
}
void ParticleSystem::SetEmissionRate(float low, float high) {
  m_emissionRateMin = low;
  m_emissionRateMax = high;
}
void ParticleSystem::GetEmissionRate(float& low, float& high) const {
  low = m_emissionRateMin;
  high = m_emissionRateMax;
}

void ParticleSystem::DrawRanges(Particle& particle) {
  particle.lifeTime = RandomFloat(m_lifeTimeMin, m_lifeTimeMax);
  particle.startingScale = RandomVector(m_startingScaleA, m_startingScaleB);
  particle.endingScale = RandomVector(m_endingScaleA, m_endingScaleB);
  particle.startingColor = RandomColor(m_startingColorA, m_startingColorB);
  particle.endingColor = RandomColor(m_endingColorA, m_endingColorB);
}

void ParticleSystem::WriteRecord(uint32_t index) {
  Engine::Particle* record = GetRecord(index);
  if (record == nullptr) return;
  const Particle& particle = m_particles[index];
  if (particle.alive == 0) {
    record->scaleX = 0.0f;
    record->scaleY = 0.0f;
    return;
  }
  // A particle of no life time is drawn as born rather than with undefined fractions.
  const float t = particle.lifeTime > 0.0f ? particle.age / particle.lifeTime : 0.0f;
  record->x = particle.position.x;
  record->y = particle.position.y;
  record->z = 0.0f;
  record->scaleX = particle.startingScale.x + (particle.endingScale.x - particle.startingScale.x) * t;
  record->scaleY = particle.startingScale.y + (particle.endingScale.y - particle.startingScale.y) * t;
  record->rotation = particle.rotation;
  const Math::Color& a = particle.startingColor;
  const Math::Color& b = particle.endingColor;
  record->r = a.r + (b.r - a.r) * t;
  record->g = a.g + (b.g - a.g) * t;
  record->b = a.b + (b.b - a.b) * t;
  record->a = a.a + (b.a - a.a) * t;
}

void ParticleSystem::Reset() {
  m_emissionRemainder = 0.0f;
  m_deadCount = 0;
  m_emittedCount = 0;
  m_previousPosition = GetPosition();
  m_resetPosition = 1;
  for (uint32_t i = 0; i < m_particles.size(); ++i) {
    Particle& particle = m_particles[i];
    particle.age = 0.0f;
    particle.alive = 0;
    particle.rotation = 0.0f;
    particle.rotationSpeed = 0.0f;
    Math::Vector2D direction;
    particle.origin = Math::Vector2D();
    if (m_emitter) m_emitter->GetPositionAndDirection(0.0f, particle.origin, direction);
    const float speed = RandomFloat(m_speedMin, m_speedMax);
    particle.velocity = Math::Vector2D(direction.x * speed, direction.y * speed);
    DrawRanges(particle);
    WriteRecord(i);
  }
}

void ParticleSystem::WarmUp(float seconds) {
  if (!(seconds > 0.0f)) return;
  const double steps = std::floor(static_cast<double>(seconds) * 100.0);
  const int64_t count = steps < 2147483647.0 ? static_cast<int64_t>(steps) : 2147483647;
  for (int64_t i = 0; i < count && !IsDestructionPending() && !IsDestroyed(); ++i) Tick(0.01f);
}

void ParticleSystem::Tick(float dt) {
  const uint32_t poolSize = static_cast<uint32_t>(m_particles.size());
  // 1. How many particles are due; the fraction carries over.
  const float rate = RandomFloat(m_emissionRateMin, m_emissionRateMax);
  float due = rate * dt + m_emissionRemainder;
  if (!std::isfinite(due)) due = 0.0f;
  const float whole = std::floor(due);
  m_emissionRemainder = due - whole;
  uint32_t toEmit = whole <= 0.0f ? 0u : whole >= static_cast<float>(poolSize) ? poolSize : static_cast<uint32_t>(whole);

  // 2. Recycling, or the pool emitted once and then gone.
  if (m_recycleParticles != 0) {
    m_deadCount = 0;
    m_emittedCount = 0;
  } else if (m_emittedCount >= poolSize) {
    toEmit = 0;
    if (m_destroyIfNotRecycling != 0 && m_deadCount >= poolSize) {
      Destroy();
      return;
    }
  }

  // 3. and 4.
  if (m_emitter) m_emitter->Update(dt);
  const Math::Vector2D p = GetPosition();
  if (m_resetPosition != 0) {
    m_previousPosition = p;
    m_resetPosition = 0;
  }
  const Math::Vector2D delta(p.x - m_previousPosition.x, p.y - m_previousPosition.y);
  m_previousPosition = p;
  const bool local = m_useLocalCoordinates != 0;
  const float angle = GetRotationAngle();

  // 5. Every slot in pool order.
  for (uint32_t i = 0; i < poolSize; ++i) {
    Particle& particle = m_particles[i];
    if (particle.alive == 0 && toEmit > 0) {
      Math::Vector2D origin = particle.origin;
      Math::Vector2D direction;
      if (m_emitter) m_emitter->GetPositionAndDirection(dt, origin, direction);
      const float speed = RandomFloat(m_speedMin, m_speedMax);
      if (local) {
        particle.origin = origin;
        particle.velocity = Math::Vector2D(direction.x * speed, direction.y * speed);
      } else {
        const Math::Vector2D turned = Rotate(origin, angle);
        particle.origin = Math::Vector2D(turned.x + p.x, turned.y + p.y);
        direction = Rotate(direction, angle);
        // The object's displacement since the last update is added as it is, not per second.
        particle.velocity = Math::Vector2D(direction.x * speed + delta.x, direction.y * speed + delta.y);
      }
      DrawRanges(particle);
      particle.alive = 1;
      if (m_directionMode == 1) particle.rotationSpeed = RandomFloat(m_rotationSpeedMin, m_rotationSpeedMax);
      --toEmit;
      ++m_emittedCount;
    }
    if (particle.alive != 0) {
      particle.age += dt;
      if (particle.age > particle.lifeTime) {
        particle.alive = 0;
        particle.age = 0.0f;
        particle.startingScale = Math::Vector2D();
        particle.endingScale = Math::Vector2D();
        ++m_deadCount;
      } else {
        const float age = particle.age;
        particle.position = Math::Vector2D(
            particle.origin.x + particle.velocity.x * age + 0.5f * m_gravity.x * age * age,
            particle.origin.y + particle.velocity.y * age + 0.5f * m_gravity.y * age * age);
        if (m_directionMode == 0) {
          const float vx = particle.velocity.x + m_gravity.x * age;
          const float vy = particle.velocity.y + m_gravity.y * age;
          particle.rotation = std::atan2(vy, vx) * kRadiansToDegrees;
        } else {
          particle.rotation += particle.rotationSpeed;
        }
      }
    }
    WriteRecord(i);
  }

  // 6.
  GameObject::Tick(dt);
}

// ---- Persistence --------------------------------------------------------------------------------

namespace {

constexpr uint32_t kParticleRecordSize = 89;

void WriteColorValue(Core::File& file, const Math::Color& c) {
  const float values[4] = {c.r, c.g, c.b, c.a};
  file.Write(values, sizeof(values));
}
Math::Color ReadColorValue(Core::File& file) {
  float values[4];
  file.Read(values, sizeof(values));
  return Math::Color(values[0], values[1], values[2], values[3]);
}
void WriteVector(Core::File& file, const Math::Vector2D& v) {
  WriteF32(file, v.x);
  WriteF32(file, v.y);
}
Math::Vector2D ReadVector(Core::File& file) {
  const float x = ReadF32(file);
  const float y = ReadF32(file);
  return Math::Vector2D(x, y);
}

}  // namespace

void ParticleSystem::Save(Core::File& file) {
  ParticleSystemBase::Save(file);
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(m_particles.size()));
  for (const Particle& particle : m_particles) {
    WriteColorValue(file, particle.startingColor);
    WriteColorValue(file, particle.endingColor);
    WriteVector(file, particle.position);
    WriteVector(file, particle.origin);
    WriteVector(file, particle.velocity);
    WriteVector(file, particle.startingScale);
    WriteVector(file, particle.endingScale);
    WriteF32(file, particle.rotation);
    WriteF32(file, particle.rotationSpeed);
    WriteF32(file, particle.lifeTime);
    WriteF32(file, particle.age);
    Core::WriteValue<uint8_t>(file, particle.alive);
  }
  WriteVector(file, m_gravity);
  WriteVector(file, m_previousPosition);
  WriteColorValue(file, m_startingColorA);
  WriteColorValue(file, m_startingColorB);
  WriteColorValue(file, m_endingColorA);
  WriteColorValue(file, m_endingColorB);
  WriteVector(file, m_startingScaleA);
  WriteVector(file, m_startingScaleB);
  WriteVector(file, m_endingScaleA);
  WriteVector(file, m_endingScaleB);
  file.WriteObject(m_emitter.Get());
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(m_directionMode));
  Core::WriteValue<uint32_t>(file, m_deadCount);
  Core::WriteValue<uint32_t>(file, m_emittedCount);
  const float ranges[9] = {m_lifeTimeMin,     m_lifeTimeMax, m_rotationSpeedMin, m_rotationSpeedMax,
                           m_speedMin,        m_speedMax,    m_emissionRateMin,  m_emissionRateMax,
                           m_emissionRemainder};
  for (float value : ranges) WriteF32(file, value);
  Core::WriteValue<uint8_t>(file, m_recycleParticles);
  Core::WriteValue<uint8_t>(file, m_destroyIfNotRecycling);
  Core::WriteValue<uint8_t>(file, m_resetPosition);
}

void ParticleSystem::Load(Core::File& file) {
  ParticleSystemBase::LoadBase(file);
  if (file.HasFailed()) return;
  uint32_t count = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(count, kParticleRecordSize)) return;
  // The pool and the drawable records go slot for slot: a pool of another size would write past
  // the records.
  if (count != m_particleCount) {
    file.Fail();
    return;
  }
  std::vector<Particle> particles(count);
  for (Particle& particle : particles) {
    particle.startingColor = ReadColorValue(file);
    particle.endingColor = ReadColorValue(file);
    particle.position = ReadVector(file);
    particle.origin = ReadVector(file);
    particle.velocity = ReadVector(file);
    particle.startingScale = ReadVector(file);
    particle.endingScale = ReadVector(file);
    particle.rotation = ReadF32(file);
    particle.rotationSpeed = ReadF32(file);
    particle.lifeTime = ReadF32(file);
    particle.age = ReadF32(file);
    particle.alive = Core::ReadValue<uint8_t>(file) != 0 ? 1 : 0;
  }
  const Math::Vector2D gravity = ReadVector(file);
  const Math::Vector2D previousPosition = ReadVector(file);
  const Math::Color startingColorA = ReadColorValue(file);
  const Math::Color startingColorB = ReadColorValue(file);
  const Math::Color endingColorA = ReadColorValue(file);
  const Math::Color endingColorB = ReadColorValue(file);
  const Math::Vector2D startingScaleA = ReadVector(file);
  const Math::Vector2D startingScaleB = ReadVector(file);
  const Math::Vector2D endingScaleA = ReadVector(file);
  const Math::Vector2D endingScaleB = ReadVector(file);
  Core::SmartPointer<ParticleEmitter> emitter;
  Core::ReadObjectPointer(file, emitter);
  const uint32_t directionMode = Core::ReadValue<uint32_t>(file);
  const uint32_t deadCount = Core::ReadValue<uint32_t>(file);
  const uint32_t emittedCount = Core::ReadValue<uint32_t>(file);
  float ranges[9];
  for (float& value : ranges) value = ReadF32(file);
  const uint8_t recycle = Core::ReadValue<uint8_t>(file);
  const uint8_t destroy = Core::ReadValue<uint8_t>(file);
  const uint8_t resetPosition = Core::ReadValue<uint8_t>(file);
  if (file.HasFailed()) return;
  m_particles.swap(particles);
  m_gravity = gravity;
  m_previousPosition = previousPosition;
  m_startingColorA = startingColorA;
  m_startingColorB = startingColorB;
  m_endingColorA = endingColorA;
  m_endingColorB = endingColorB;
  m_startingScaleA = startingScaleA;
  m_startingScaleB = startingScaleB;
  m_endingScaleA = endingScaleA;
  m_endingScaleB = endingScaleB;
  // A system is never left without an emitter: a stored "none" keeps the present one or a point.
  if (emitter) {
    m_emitter = emitter;
  } else if (!m_emitter) {
    m_emitter = new (__FILE__, __LINE__) PointEmitter();
  }
  m_directionMode = static_cast<int32_t>(directionMode);
  m_deadCount = deadCount;
  m_emittedCount = emittedCount;
  m_lifeTimeMin = ranges[0];
  m_lifeTimeMax = ranges[1];
  m_rotationSpeedMin = ranges[2];
  m_rotationSpeedMax = ranges[3];
  m_speedMin = ranges[4];
  m_speedMax = ranges[5];
  m_emissionRateMin = ranges[6];
  m_emissionRateMax = ranges[7];
  m_emissionRemainder = std::isfinite(ranges[8]) ? ranges[8] : 0.0f;
  m_recycleParticles = recycle != 0 ? 1 : 0;
  m_destroyIfNotRecycling = destroy != 0 ? 1 : 0;
  m_resetPosition = resetPosition != 0 ? 1 : 0;
}

}  // namespace Quillon
