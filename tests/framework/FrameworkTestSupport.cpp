#include "tests/framework/FrameworkTestSupport.h"

#include <cstdlib>
#include <sys/stat.h>

#include "framework/Quillon_Camera.h"
#include "framework/Quillon_GameObject.h"
#include "script/Lua_ScriptEngine.h"
#include "tests/scene/SceneTestHelpers.h"
#include "tests/support/TestSupport.h"

namespace FrameworkTest {

void FrameworkFixture::SetUp() {
  ScriptTest::SetUp();
  if (HasFatalFailure()) return;
  renderer_ = Renderer::FakeRenderer::Install();
  SceneTest::InstallFakeTextures();
  scene_ = std::make_unique<Engine::SceneGraph>(renderer_.Get());
  physics_ = new Physics2D::PhysicsEngine();
  collision_ = new Collision2D::CollisionEngine();
  collision_->Clear();
  services_.directory = TestSupport::MakeTempDirectory("velkor_framework_");
  ::mkdir((services_.directory + "/Resources").c_str(), 0755);
  ::mkdir((services_.directory + "/Resources/Scripts").c_str(), 0755);
  services_.sceneGraph = scene_.get();
  services_.physics = physics_.Get();
  services_.collision = collision_.Get();
  Quillon::SetGameServices(&services_);
  Quillon::GameObject::ResetIdCounter();
  Quillon::Camera::ResetFreeFly();
}

void FrameworkFixture::TearDown() {
  Quillon::SetGameServices(nullptr);
  physics_.Reset();
  collision_.Reset();
  scene_.reset();
  SceneTest::UninstallFakeTextures();
  Renderer::IRenderer::SetInstance(nullptr);
  renderer_.Reset();
  ScriptTest::TearDown();
  if (!services_.directory.empty()) std::system(("rm -rf '" + services_.directory + "'").c_str());
}

std::string FrameworkFixture::WriteScript(const std::string& name, const std::string& source) {
  EXPECT_TRUE(TestSupport::WriteWholeFile(services_.directory + "/Resources/Scripts/" + name, source));
  return name;
}

void FrameworkFixture::Run(const std::string& source) {
  ASSERT_EQ(luaL_loadbuffer(main_, source.data(), source.size(), "=test"), 0) << lua_tostring(main_, -1);
  std::string error;
  ASSERT_TRUE(Lua::ProtectedCall(main_, 0, 0, &error)) << error;
}

double FrameworkFixture::GlobalNumber(const char* name) {
  lua_getglobal(main_, name);
  double value = lua_tonumber(main_, -1);
  lua_pop(main_, 1);
  return value;
}

std::string FrameworkFixture::GlobalString(const char* name) {
  lua_getglobal(main_, name);
  const char* value = lua_tostring(main_, -1);
  std::string text = value ? value : "";
  lua_pop(main_, 1);
  return text;
}

void FrameworkFixture::SetGlobal(const char* name, Core::Object* object) {
  object->PushToLua(main_);
  lua_setglobal(main_, name);
}

int FrameworkFixture::MethodCount(const char* scriptClass) {
  lua_getfield(main_, LUA_REGISTRYINDEX, scriptClass);
  lua_getfield(main_, -1, "__index");
  int count = 0;
  lua_pushnil(main_);
  while (lua_next(main_, -2) != 0) {
    ++count;
    lua_pop(main_, 1);
  }
  lua_pop(main_, 2);
  return count;
}

}  // namespace FrameworkTest
