// Time per step of box pyramids (bases 10, 20, 40) resting on the static body, for each ODE solver,
// beside Box2D on the same pyramids. Each run is the first 600 steps at 1/60 s from the start
// position; the counter "stands" says whether the pyramid is still up after them.
#include <benchmark/benchmark.h>

#include <box2d/box2d.h>

#include <cmath>
#include <vector>

#include "PhysicsScenes.h"

namespace {

constexpr int kSteps = 600;
constexpr float kStep = 1.0f / 60.0f;

void VelkorPyramid(benchmark::State& state) {
  const uint32_t base = static_cast<uint32_t>(state.range(0));
  const uint32_t solverKind = static_cast<uint32_t>(state.range(1));
  Physics2D::GetSettings() = Physics2D::PhysicsSettings();
  PhysicsScenes::BoxWorld world;
  if (state.range(2) > 0) world.GetEngine().SetAccuracy(static_cast<uint32_t>(state.range(2)));
  PhysicsScenes::BuildPyramid(world, base, solverKind);
  std::vector<float> startX, startY;
  PhysicsScenes::RecordPositions(world, startX, startY);
  for (auto _ : state) world.Step(kStep);
  state.counters["bodies"] = static_cast<double>(world.GetBoxes().size());
  state.counters["contacts"] = static_cast<double>(world.GetEngine().GetContacts().size());
  state.counters["stands"] = PhysicsScenes::PyramidStands(world, startX, startY) ? 1.0 : 0.0;
  state.counters["iterations"] = world.GetEngine().GetAccuracy();
}

void Box2DPyramid(benchmark::State& state) {
  const int base = static_cast<int>(state.range(0));
  b2World world(b2Vec2(0.0f, -9.8f));
  // Sleeping bodies cost nothing: the comparable figure is the one with sleeping off.
  world.SetAllowSleeping(state.range(1) != 0);
  b2BodyDef groundDefinition;
  b2Body* ground = world.CreateBody(&groundDefinition);
  b2EdgeShape edge;
  edge.SetTwoSided(b2Vec2(-200.0f, 0.0f), b2Vec2(200.0f, 0.0f));
  ground->CreateFixture(&edge, 0.0f);
  std::vector<b2Body*> bodies;
  std::vector<float> startX, startY;
  for (int row = 0; row < base; ++row) {
    const int inRow = base - row;
    for (int i = 0; i < inRow; ++i) {
      b2BodyDef definition;
      definition.type = b2_dynamicBody;
      definition.position.Set((static_cast<float>(i) - 0.5f * static_cast<float>(inRow - 1)) * 1.05f,
                              0.5f + static_cast<float>(row));
      b2Body* body = world.CreateBody(&definition);
      b2PolygonShape box;
      box.SetAsBox(0.5f, 0.5f);
      b2FixtureDef fixture;
      fixture.shape = &box;
      fixture.density = 1.0f;
      fixture.friction = 0.5f;
      fixture.restitution = 0.3f;
      body->CreateFixture(&fixture);
      bodies.push_back(body);
      startX.push_back(definition.position.x);
      startY.push_back(definition.position.y);
    }
  }
  for (auto _ : state) world.Step(kStep, 8, 3);
  bool stands = bodies.back()->GetPosition().y >= 0.9f * startY.back();
  for (size_t i = 0; i < bodies.size(); ++i)
    stands = stands && std::fabs(bodies[i]->GetPosition().x - startX[i]) <= 0.5f;
  state.counters["bodies"] = static_cast<double>(bodies.size());
  state.counters["contacts"] = static_cast<double>(world.GetContactCount());
  state.counters["stands"] = stands ? 1.0 : 0.0;
}

// Arguments: base, solver kind (0 Euler, 1 Heun, 2 Runge-Kutta 4), iterations (0: the engine's default).
BENCHMARK(VelkorPyramid)
    ->ArgsProduct({{10, 20, 40}, {0, 1, 2}, {0}})
    ->Iterations(kSteps)
    ->Unit(benchmark::kMillisecond);
// The game's accuracy (150) and the lowest the engine accepts (10), Euler only.
BENCHMARK(VelkorPyramid)
    ->ArgsProduct({{10, 20, 40}, {0}, {10, 150}})
    ->Iterations(kSteps)
    ->Unit(benchmark::kMillisecond);
// Arguments: base, sleeping allowed (Box2D's default is 1).
BENCHMARK(Box2DPyramid)->ArgsProduct({{10, 20, 40}, {0, 1}})->Iterations(kSteps)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
