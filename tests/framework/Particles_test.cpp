// Particle emitters and systems: emission arithmetic, ageing and recycling, motion, the drawn
// records, the stored form and hostile streams.
#include <cmath>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "core/Core_File.h"
#include "framework/Quillon_Camera.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_ParticleEmitter.h"
#include "framework/Quillon_ParticleSystem.h"
#include "framework/Quillon_Viewport.h"
#include "tests/framework/FrameworkTestSupport.h"

namespace {

using Core::SmartPointer;
using Quillon::ParticleSystem;

class ParticlesTest : public FrameworkTest::FrameworkFixture {
 protected:
  void SetUp() override {
    FrameworkFixture::SetUp();
    std::srand(7);
  }
  std::string TexturePath() const { return services_.directory + "\\Resources\\ParticleSystems\\particle1.png"; }
  SmartPointer<ParticleSystem> MakeSystem(uint32_t count, const Math::Vector2D& gravity = Math::Vector2D()) {
    return SmartPointer<ParticleSystem>(new ParticleSystem(TexturePath(), count, 256.0f, gravity));
  }
  static uint32_t Alive(const ParticleSystem& system) {
    uint32_t alive = 0;
    for (const auto& particle : system.GetParticles()) alive += particle.alive;
    return alive;
  }
};

TEST_F(ParticlesTest, EmitterShapesSampleWhereAndWhichWayTheyShould) {
  Quillon::PointEmitter up;
  up.minimumAngle = up.maximumAngle = 90.0f;
  up.position = Math::Vector2D(3.0f, 4.0f);
  Math::Vector2D position, direction;
  up.GetPositionAndDirection(0.0f, position, direction);
  EXPECT_FLOAT_EQ(position.x, 3.0f);
  EXPECT_NEAR(direction.x, 0.0f, 1e-6f);
  EXPECT_NEAR(direction.y, 1.0f, 1e-6f);

  // Too short to normalise: the direction stays as given.
  Quillon::LineEmitter point;
  point.start = point.end = Math::Vector2D(7.0f, -2.0f);
  direction = Math::Vector2D();
  point.GetPositionAndDirection(0.0f, position, direction);
  EXPECT_EQ(position, Math::Vector2D(7.0f, -2.0f));
  EXPECT_EQ(direction, Math::Vector2D(0.0f, 0.0f));
  Quillon::LineEmitter line;
  line.end = Math::Vector2D(10.0f, 0.0f);
  line.GetPositionAndDirection(0.0f, position, direction);
  EXPECT_NEAR(direction.y, 1.0f, 1e-6f);  // left normal of a line running right

  Quillon::FilledRectangleEmitter filled(0.0f, 0.0f, 100.0f, 50.0f);
  int sides[4] = {0, 0, 0, 0};
  Quillon::RectangleEmitter outline(0.0f, 0.0f, 100.0f, 50.0f);
  for (int i = 0; i < 4000; ++i) {
    filled.GetPositionAndDirection(0.0f, position, direction);
    ASSERT_TRUE(position.x >= 0.0f && position.x <= 100.0f && position.y >= 0.0f && position.y <= 50.0f);
    ASSERT_NEAR(std::fabs(direction.x) + std::fabs(direction.y), 1.0f, 1e-6f);
    outline.GetPositionAndDirection(0.0f, position, direction);
    const int side = direction.y < 0 ? 0 : direction.x > 0 ? 1 : direction.y > 0 ? 2 : 3;
    ++sides[side];
    if (side == 0) {
      ASSERT_FLOAT_EQ(position.y, 0.0f);
    }
    if (side == 1) {
      ASSERT_FLOAT_EQ(position.x, 100.0f);
    }
  }
  // The rounded pick gives the bottom and left sides half the share of the other two.
  EXPECT_NEAR(sides[0] / 4000.0, 1.0 / 6.0, 0.03);
  EXPECT_NEAR(sides[1] / 4000.0, 1.0 / 3.0, 0.03);
  EXPECT_NEAR(sides[3] / 4000.0, 1.0 / 6.0, 0.03);

  Quillon::DiskEmitter disk;
  Quillon::CircleEmitter circle;
  for (int i = 0; i < 200; ++i) {
    disk.GetPositionAndDirection(0.0f, position, direction);
    ASSERT_LE(position.Length(), 100.001f);
    circle.GetPositionAndDirection(0.0f, position, direction);
    ASSERT_NEAR(position.Length(), 100.0f, 0.01f);
  }

  Quillon::ParticleEmitter plain;
  position = Math::Vector2D(1.0f, 2.0f);
  direction = Math::Vector2D(3.0f, 4.0f);
  plain.GetPositionAndDirection(0.1f, position, direction);
  EXPECT_EQ(position, Math::Vector2D(1.0f, 2.0f));
  EXPECT_EQ(direction, Math::Vector2D(3.0f, 4.0f));
}

TEST_F(ParticlesTest, ScriptedEmitterAnswersFromItsScriptAndIgnoresBadAnswers) {
  WriteScript("emit.lua", R"(
calls = 0
function Update(dt) calls = calls + 1 end
function GetPositionAndDirection(dt)
  if dt > 1 then return "nonsense", 5 end
  local p = CreatePoint(); p.X = 10; p.Y = dt * 100
  local v = CreateVector(); v.X = 0; v.Y = -1
  return p, v
end)");
  SmartPointer<Quillon::ParticleEmitter> emitter(new Quillon::ParticleEmitter());
  emitter->SetScriptFile("emit.lua");
  emitter->RunScript();
  Math::Vector2D position, direction;
  emitter->GetPositionAndDirection(0.5f, position, direction);
  EXPECT_EQ(position, Math::Vector2D(10.0f, 50.0f));
  EXPECT_EQ(direction, Math::Vector2D(0.0f, -1.0f));
  emitter->GetPositionAndDirection(2.0f, position, direction);
  EXPECT_EQ(position, Math::Vector2D(10.0f, 50.0f));
  emitter->Update(0.1f);

  // A copy runs the same chunk in its own script; the stored form restarts it.
  SmartPointer<Quillon::ParticleEmitter> copy(static_cast<Quillon::ParticleEmitter*>(emitter->Clone()));
  EXPECT_TRUE(copy->IsCloneWithScript());
  copy->GetPositionAndDirection(0.25f, position, direction);
  EXPECT_EQ(position, Math::Vector2D(10.0f, 25.0f));
  SmartPointer<Quillon::ParticleEmitter> reloaded = RoundTrip(emitter.Get());
  ASSERT_NE(reloaded.Get(), nullptr);
  reloaded->GetPositionAndDirection(0.1f, position, direction);
  EXPECT_EQ(position, Math::Vector2D(10.0f, 10.0f));
}

TEST_F(ParticlesTest, HalfAParticleCarriesOverAndThePoolCapsOneUpdate) {
  auto system = MakeSystem(30);
  system->SetEmissionRate(10.0f, 10.0f);
  system->SetParticleLifeTime(100.0f, 100.0f);
  system->Tick(0.05f);
  EXPECT_EQ(Alive(*system), 0u);
  EXPECT_FLOAT_EQ(system->GetEmissionRemainder(), 0.5f);
  system->Tick(0.05f);
  EXPECT_EQ(Alive(*system), 1u);
  system->Tick(0.05f);
  system->Tick(0.05f);
  EXPECT_EQ(Alive(*system), 2u);

  auto burst = MakeSystem(30);
  burst->SetEmissionRate(100000.0f, 100000.0f);
  burst->SetParticleLifeTime(100.0f, 100.0f);
  burst->Tick(1.0f);
  EXPECT_EQ(Alive(*burst), 30u);

  // The default rate equals the pool: about one particle every two 1/60 s updates.
  auto steady = MakeSystem(30);
  steady->SetParticleLifeTime(100.0f, 100.0f);
  for (int i = 0; i < 20; ++i) steady->Tick(1.0f / 60.0f);
  EXPECT_NEAR(static_cast<int>(Alive(*steady)), 10, 1);
}

TEST_F(ParticlesTest, OneShotPoolDestroysItselfOnlyWhenToldAndAfterEveryParticleDied) {
  for (bool destroy : {true, false}) {
    auto system = MakeSystem(3);
    system->SetRecycleParticles(false);
    system->SetDestroyIfNotRecycling(destroy);
    system->SetEmissionRate(1000.0f, 1000.0f);
    system->SetParticleLifeTime(0.1f, 0.1f);
    system->Tick(0.05f);
    EXPECT_EQ(Alive(*system), 3u);
    system->Tick(0.05f);  // age equals life time: still alive and drawn
    EXPECT_EQ(Alive(*system), 3u);
    EXPECT_GT(system->GetRecord(0)->scaleX, 0.0f);
    system->Tick(0.05f);
    EXPECT_EQ(Alive(*system), 0u);
    EXPECT_EQ(system->GetDeadCount(), 3u);
    EXPECT_EQ(system->GetRecord(0)->scaleX, 0.0f);
    EXPECT_FALSE(system->IsDestructionPending());
    system->Tick(0.05f);
    EXPECT_EQ(system->IsDestructionPending(), destroy) << destroy;
    EXPECT_EQ(Alive(*system), 0u);
    system->Tick(0.05f);
    EXPECT_EQ(Alive(*system), 0u) << "a one-shot pool emits each particle once";
  }
}

TEST_F(ParticlesTest, ParticlesFallUnderGravityAndTurnWithTheirMotion) {
  auto system = MakeSystem(1, Math::Vector2D(0.0f, -10.0f));
  system->SetParticleLifeTime(2.0f, 2.0f);
  system->SetEmissionRate(1000.0f, 1000.0f);
  for (int i = 0; i < 4; ++i) system->Tick(0.5f);
  const Engine::Particle* record = system->GetRecord(0);
  EXPECT_FLOAT_EQ(record->y, -20.0f);
  EXPECT_FLOAT_EQ(record->x, 0.0f);
  system->Tick(0.5f);
  EXPECT_EQ(Alive(*system), 0u);

  auto thrown = MakeSystem(1, Math::Vector2D(0.0f, -10.0f));
  auto* up = new Quillon::PointEmitter();
  up->minimumAngle = up->maximumAngle = 90.0f;
  thrown->SetEmitter(up);
  thrown->SetParticleSpeed(10.0f, 10.0f);
  thrown->SetParticleLifeTime(10.0f, 10.0f);
  thrown->SetEmissionRate(1000.0f, 1000.0f);
  thrown->Tick(0.1f);
  EXPECT_NEAR(thrown->GetParticles()[0].rotation, 90.0f, 0.01f);
  thrown->Tick(1.4f);
  EXPECT_NEAR(thrown->GetParticles()[0].rotation, -90.0f, 0.01f);
  // Null never replaces the emitter.
  thrown->SetEmitter(nullptr);
  EXPECT_EQ(thrown->GetEmitter(), up);
}

TEST_F(ParticlesTest, WorldParticlesInheritTheSystemsMoveAndColoursRunOverTheirLife) {
  auto system = MakeSystem(2);
  system->SetUseLocalCoordinates(false);
  system->SetEmissionRate(0.0f, 0.0f);
  system->SetParticleLifeTime(10.0f, 10.0f);
  system->SetParticleStartingColor(Math::Color(1, 0, 0, 1), Math::Color(1, 0, 0, 1));
  system->SetParticleEndingColor(Math::Color(0, 0, 1, 0), Math::Color(0, 0, 1, 0));
  system->Tick(0.1f);
  system->SetPosition(5.0f, 0.0f);
  system->SetEmissionRate(10.0f, 10.0f);
  system->Tick(0.1f);
  const Quillon::Particle& born = system->GetParticles()[0];
  ASSERT_EQ(born.alive, 1);
  EXPECT_EQ(born.velocity, Math::Vector2D(5.0f, 0.0f));
  EXPECT_EQ(born.origin, Math::Vector2D(5.0f, 0.0f));
  system->SetEmissionRate(0.0f, 0.0f);
  for (int i = 0; i < 49; ++i) system->Tick(0.1f);  // half its life
  const Engine::Particle* record = system->GetRecord(0);
  EXPECT_NEAR(record->r, 0.5f, 1e-4f);
  EXPECT_NEAR(record->b, 0.5f, 1e-4f);
  EXPECT_NEAR(record->a, 0.5f, 1e-4f);
}

TEST_F(ParticlesTest, WarmUpRunsWholeHundredthsOnly) {
  auto system = MakeSystem(4);
  system->SetLifeTime(1000.0f);
  system->WarmUp(0.5f);
  EXPECT_NEAR(system->GetAge(), 0.5f, 1e-4f);
  auto other = MakeSystem(4);
  other->SetLifeTime(1000.0f);
  other->WarmUp(0.004f);
  other->WarmUp(-1.0f);
  EXPECT_EQ(other->GetAge(), 0.0f);
}

TEST_F(ParticlesTest, SystemIsDrawnAndCulledThroughTheSceneGraph) {
  auto system = MakeSystem(8);
  system->SetParticleLifeTime(100.0f, 100.0f);
  system->Tick(0.5f);
  SmartPointer<Quillon::Viewport> viewport(new Quillon::Viewport(0, 0, 640, 480));
  SmartPointer<Quillon::Camera> camera(new Quillon::Camera(45.0f));
  viewport->SetCamera(camera.Get());
  system->SetZOrder(-100.0f);
  system->RefreshTransform();
  scene_->AddChild(system->GetNode());
  scene_->Update(0.0f);
  EXPECT_TRUE(system->IsInViewport(viewport.Get()));
  EXPECT_FALSE(system->IsInViewport(nullptr));
  renderer_->ClearLog();
  viewport->Render();
  EXPECT_FALSE(renderer_->draws.empty());
  system->SetPosition(100000.0f, 0.0f);
  scene_->Update(0.0f);
  EXPECT_FALSE(system->IsInViewport(viewport.Get()));
  scene_->RemoveChild(system->GetNode());
  camera->ReleaseResources();
}

TEST_F(ParticlesTest, StoredSystemComesBackWithItsPoolRecordsAndEmitter) {
  auto system = MakeSystem(5, Math::Vector2D(1.0f, -2.0f));
  auto* disk = new Quillon::DiskEmitter();
  disk->radius = 12.0f;
  disk->center = Math::Vector2D(3.0f, 4.0f);
  system->SetEmitter(disk);
  system->SetParticleSpeed(1.0f, 3.0f);
  system->SetParticleLifeTime(5.0f, 6.0f);
  system->SetParticleDirection(1);
  system->SetParticleRotationSpeed(2.0f, 4.0f);
  system->SetSrcBlendFactor(2);
  system->SetHUDObject(true);
  system->SetRecycleParticles(false);
  for (int i = 0; i < 5; ++i) system->Tick(0.1f);

  Core::MemoryFile out;
  out.WriteObject(system.Get());
  Core::MemoryFile in(out.GetBuffer().GetData(), out.GetBuffer().GetSize());
  SmartPointer<Core::Object> object(in.ReadObject());
  ASSERT_FALSE(in.HasFailed());
  auto* loaded = dynamic_cast<ParticleSystem*>(object.Get());
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->GetTextureName(), TexturePath());
  ASSERT_EQ(loaded->GetParticles().size(), 5u);
  for (uint32_t i = 0; i < 5; ++i) {
    EXPECT_EQ(loaded->GetParticles()[i].position, system->GetParticles()[i].position);
    EXPECT_EQ(loaded->GetParticles()[i].alive, system->GetParticles()[i].alive);
    EXPECT_EQ(loaded->GetRecord(i)->scaleX, system->GetRecord(i)->scaleX);
  }
  EXPECT_EQ(loaded->GetGravity(), Math::Vector2D(1.0f, -2.0f));
  EXPECT_EQ(loaded->GetSrcBlendFactor(), 2u);
  EXPECT_TRUE(loaded->IsHUDObject());
  EXPECT_FALSE(loaded->GetRecycleParticles());
  EXPECT_EQ(loaded->GetEmittedCount(), system->GetEmittedCount());
  auto* loadedDisk = dynamic_cast<Quillon::DiskEmitter*>(loaded->GetEmitter());
  ASSERT_NE(loadedDisk, nullptr);
  EXPECT_EQ(loadedDisk->radius, 12.0f);
  EXPECT_EQ(loadedDisk->center, Math::Vector2D(3.0f, 4.0f));

  // A copy has its own pool, node and emitter.
  SmartPointer<ParticleSystem> copy(static_cast<ParticleSystem*>(system->Clone()));
  EXPECT_NE(copy->GetEmitter(), system->GetEmitter());
  EXPECT_NE(copy->GetEngineSystem().Get(), system->GetEngineSystem().Get());
  EXPECT_EQ(copy->GetParticles().size(), 5u);
  copy->Tick(0.1f);
}

TEST_F(ParticlesTest, HostileStoredSystemsFailWithoutGrowingOrOverrunning) {
  auto system = MakeSystem(4);
  Core::MemoryFile out;
  out.WriteObject(system.Get());
  const auto& bytes = out.GetBuffer();
  // Every cut fails cleanly.
  for (uint32_t size = 0; size < bytes.GetSize(); size += 7) {
    Core::MemoryFile in(bytes.GetData(), size);
    SmartPointer<Core::Object> object(in.ReadObject());
    EXPECT_TRUE(in.HasFailed() || object.Get() == nullptr) << size;
  }
  // The texture name is followed by the record count: find it and make it enormous, or make the
  // pool count disagree with the records.
  std::string data(reinterpret_cast<const char*>(bytes.GetData()), bytes.GetSize());
  const std::string name = "particle1.png";
  const size_t at = data.find(name);
  ASSERT_NE(at, std::string::npos);
  std::string huge = data;
  huge[at + name.size() + 3] = '\x7f';
  {
    Core::MemoryFile in(huge.data(), static_cast<uint32_t>(huge.size()));
    SmartPointer<Core::Object> object(in.ReadObject());
    EXPECT_TRUE(in.HasFailed());
  }
  // The pool count sits right after the last base field (blend factors, HUD, local flags).
  const size_t poolCount = at + name.size() + 4 + 4 * 40 + 4 + 4 + 4 + 1 + 1;
  std::string mismatch = data;
  ASSERT_EQ(mismatch[poolCount], '\x04');
  mismatch[poolCount] = '\x03';
  {
    Core::MemoryFile in(mismatch.data(), static_cast<uint32_t>(mismatch.size()));
    SmartPointer<Core::Object> object(in.ReadObject());
    EXPECT_TRUE(in.HasFailed());
    if (auto* loaded = dynamic_cast<ParticleSystem*>(object.Get())) {
      loaded->Tick(0.1f);  // never writes past the drawable records
    }
  }
  // A stored path may not climb out of the particle folder.
  std::string climbing = data;
  climbing.replace(at, name.size(), "../../../etc");
  climbing[at - 4] = static_cast<char>(12);
  Core::MemoryFile in(climbing.data(), static_cast<uint32_t>(climbing.size()));
  SmartPointer<Core::Object> object(in.ReadObject());
  auto* loaded = dynamic_cast<ParticleSystem*>(object.Get());
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->GetTextureName().find(services_.directory), std::string::npos);
}

TEST_F(ParticlesTest, ScriptClassesHaveTheirMethodTables) {
  EXPECT_EQ(MethodCount("ParticleSystem"), 146);
  for (const char* name : {"ParticleEmitter", "PointEmitter", "LineEmitter", "CircleEmitter", "DiskEmitter",
                           "RectangleEmitter", "FilledRectangleEmitter"}) {
    EXPECT_EQ(MethodCount(name), 6) << name;
  }
  auto system = MakeSystem(3);
  SetGlobal("ps", system.Get());
  Run(R"(
    ps:SetEmissionRate(5)
    ps:SetEmissionRate(2, 8)
    lo, hi = ps:GetEmissionRate()
    local a = CreateColor(); a.R = 1; a.G = 0; a.B = 0; a.A = 1
    ps:SetParticleStartingColor(a)
    ps:SetParticleStartingColor(a, a)
    c1, c2 = ps:GetParticleStartingColor()
    red = c2.R
    ps:SetEmitter(5)
    e = ps:GetEmitter()
    pos, dir = e:GetPositionAndDirection(0)
    ps:SetEmitter(e:Clone())
    count = #tostring(ps:GetEmitter())
    ps:WarmUp(0.05)
  )");
  EXPECT_EQ(GlobalNumber("lo"), 2.0);
  EXPECT_EQ(GlobalNumber("hi"), 8.0);
  EXPECT_EQ(GlobalNumber("red"), 1.0);
  EXPECT_NE(system->GetEmitter(), nullptr);
}

}  // namespace
