#pragma once
// Fixtures of the framework tests: the script tests' real main Lua state (message boxes and quit
// requests caught), the recording fake renderer with fake textures, and game services whose
// directory is a fresh temporary folder holding "Resources/Scripts" and whose physics engine is a
// real one.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <lua.hpp>

#include "collision/Collision_Engine.h"
#include "core/Core_File.h"
#include "framework/Quillon_GameServices.h"
#include "physics/Physics_Engine.h"
#include "platform/PAL_Services.h"
#include "scene/Engine_SceneGraph.h"
#include "tests/renderer/FakeRenderer.h"
#include "tests/script/ScriptTestSupport.h"

namespace FrameworkTest {

class TestServices : public Quillon::GameServices {
 public:
  std::string directory;
  Quillon::Level* level = nullptr;
  Engine::SceneGraph* sceneGraph = nullptr;
  Physics2D::PhysicsEngine* physics = nullptr;
  Collision2D::CollisionEngine* collision = nullptr;
  std::vector<Collision2D::CollisionActor*> collisionAssets;

  std::string GetDirectory() const override { return directory; }
  Quillon::Level* GetCurrentLevel() const override { return level; }
  Engine::SceneGraph* GetSceneGraph() const override { return sceneGraph; }
  Physics2D::PhysicsEngine* GetPhysicsEngine() const override { return physics; }
  Collision2D::CollisionEngine* GetCollisionEngine() const override { return collision; }
  Collision2D::CollisionActor* GetCollisionAsset(int32_t index) const override {
    return index >= 0 && static_cast<size_t>(index) < collisionAssets.size() ? collisionAssets[index] : nullptr;
  }
};

class FrameworkFixture : public ScriptTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes a script under the services' "Resources/Scripts" folder; returns the file name to give
  // SetScriptFile.
  std::string WriteScript(const std::string& name, const std::string& source);
  // Runs Lua source in the main state, protected; fails the test when it raises.
  void Run(const std::string& source);
  // Reads a global of the main state as a number (0 when it is none).
  double GlobalNumber(const char* name);
  std::string GlobalString(const char* name);
  // The object written to a stream and read back, as a saved game stores it; a read that fails
  // fails the test.
  template <typename T>
  Core::SmartPointer<T> RoundTrip(T* object) {
    Core::MemoryFile file;
    file.WriteObject(object);
    Core::MemoryFile reader(file.GetBuffer().GetData(), file.GetBuffer().GetSize());
    Core::SmartPointer<T> loaded(dynamic_cast<T*>(reader.ReadObject()));
    EXPECT_FALSE(reader.HasFailed());
    return loaded;
  }
  // Makes the object the main state's global of that name.
  void SetGlobal(const char* name, Core::Object* object);
  // How many methods the metatable registered under a script class name offers.
  int MethodCount(const char* scriptClass);

  TestServices services_;
  Core::SmartPointer<Renderer::FakeRenderer> renderer_;
  std::unique_ptr<Engine::SceneGraph> scene_;
  Core::SmartPointer<Physics2D::PhysicsEngine> physics_;
  Core::SmartPointer<Collision2D::CollisionEngine> collision_;
};

}  // namespace FrameworkTest
