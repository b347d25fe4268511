#pragma once
// The physics settings are process-wide: every test starts from the defaults.
#include <gtest/gtest.h>

#include <memory>

#include "core/Core_File.h"
#include "physics/Physics_Engine.h"

class PhysicsTest : public ::testing::Test {
 protected:
  void SetUp() override { Physics2D::GetSettings() = Physics2D::PhysicsSettings(); }
};

inline Core::SmartPointer<Physics2D::RigidBody> MakeBody(float mass, float inertia, uint32_t kind = 0) {
  return Core::SmartPointer<Physics2D::RigidBody>(new Physics2D::RigidBody(
      Physics2D::MassProperties(mass, inertia, Math::Vector2D()), kind, nullptr, nullptr, nullptr));
}

// One frame of the engine with no collision step between its two halves.
inline void Step(Physics2D::PhysicsEngine& engine, float dt) {
  engine.Update(dt);
  engine.PostCollisionUpdate(dt);
}

// A stream's object table spans writing and reading: read back through a fresh stream over the bytes.
inline std::unique_ptr<Core::MemoryFile> Reopen(const Core::MemoryFile& written) {
  return std::make_unique<Core::MemoryFile>(written.GetBuffer().GetData(), written.GetBuffer().GetSize());
}
