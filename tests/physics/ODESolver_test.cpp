#include <gtest/gtest.h>

#include "core/Core_File.h"
#include "PhysicsTestSupport.h"
#include "physics/Physics_ODESolver.h"

using namespace Physics2D;

namespace {
void Exponential(float, const std::vector<float>& state, std::vector<float>& derivative, void*) {
  for (size_t i = 0; i < state.size(); ++i) derivative[i] = state[i];
}
void Constant(float, const std::vector<float>&, std::vector<float>& derivative, void*) {
  derivative[0] = 3.0f;
  derivative[1] = -2.0f;
}
}  // namespace

TEST(ODESolver, OneStepOfExponentialGrowthMatchesEachMethod) {
  ODESolverEuler euler(&Exponential, {1.0f}, nullptr);
  ODESolverHeun heun(&Exponential, {1.0f}, nullptr);
  ODESolverRungeKuttaN4 rungeKutta(&Exponential, {1.0f}, nullptr);
  euler.Step(0.1f);
  heun.Step(0.1f);
  rungeKutta.Step(0.1f);
  EXPECT_NEAR(euler.GetState()[0], 1.1f, 1e-6f);
  EXPECT_NEAR(heun.GetState()[0], 1.105f, 1e-6f);
  EXPECT_NEAR(rungeKutta.GetState()[0], 1.10517f, 2e-6f);
  EXPECT_FLOAT_EQ(euler.GetTime(), 0.1f);
  EXPECT_FLOAT_EQ(rungeKutta.GetTime(), 0.1f);
}

TEST(ODESolver, ConstantDerivativeAndZeroStep) {
  ODESolverEuler euler(&Constant, {1.0f, 1.0f}, nullptr);
  ODESolverHeun heun(&Constant, {1.0f, 1.0f}, nullptr);
  ODESolverRungeKuttaN4 rungeKutta(&Constant, {1.0f, 1.0f}, nullptr);
  for (ODESolver* solver : std::initializer_list<ODESolver*>{&euler, &heun, &rungeKutta}) {
    solver->Step(0.0f);
    EXPECT_EQ(solver->GetState()[0], 1.0f);
    EXPECT_EQ(solver->GetTime(), 0.0f);
    solver->Step(0.5f);
    EXPECT_NEAR(solver->GetState()[0], 2.5f, 1e-5f);
    EXPECT_NEAR(solver->GetState()[1], 0.0f, 1e-5f);
  }
}

TEST(ODESolver, SaveLoadRoundTripAndMalformedVectors) {
  ODESolverRungeKuttaN4 source(&Exponential, {1.0f, 2.0f, 3.0f}, nullptr);
  source.Step(0.1f);
  Core::MemoryFile file;
  file.WriteObject(&source);
  auto input = Reopen(file);
  Core::SmartPointer<Core::Object> read(input->ReadObject());
  ASSERT_FALSE(input->HasFailed());
  auto* loaded = dynamic_cast<ODESolverRungeKuttaN4*>(read.Get());
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->GetState(), source.GetState());
  EXPECT_EQ(loaded->GetTime(), source.GetTime());
  loaded->SetDerivative(&Exponential);
  loaded->Step(0.1f);
  source.Step(0.1f);
  EXPECT_EQ(loaded->GetState(), source.GetState());

  // A work vector shorter than the state would be overrun by Step.
  Core::MemoryFile bad;
  Core::WriteValue<uint32_t>(bad, 2);
  Core::WriteValue<float>(bad, 1.0f);
  Core::WriteValue<float>(bad, 1.0f);
  Core::WriteValue<uint32_t>(bad, 1);
  Core::WriteValue<float>(bad, 1.0f);
  Core::WriteValue<float>(bad, 0.0f);
  ODESolverEuler target;
  target.Load(bad);
  EXPECT_TRUE(bad.HasFailed());

  // A count larger than the stream fails instead of allocating.
  Core::MemoryFile huge;
  Core::WriteValue<uint32_t>(huge, 0x7fffffffu);
  ODESolverEuler other;
  other.Load(huge);
  EXPECT_TRUE(huge.HasFailed());
}
