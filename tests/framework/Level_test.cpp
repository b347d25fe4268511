// The level: its layer and viewport lists, the passes in order, destruction once, its script
// entries and its stored form.
#include <gtest/gtest.h>

#include "core/Core_File.h"
#include "framework/Quillon_Camera.h"
#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_Level.h"
#include "tests/framework/FrameworkTestSupport.h"

namespace {

using Core::SmartPointer;
using Quillon::GameObject;
using Quillon::Layer;
using Quillon::Level;

class LevelTest : public FrameworkTest::FrameworkFixture {};

class Music : public Quillon::LevelJukeBox {
 public:
  int updates = 0;
  int stops = 0;
  void Update(float) override { ++updates; }
  void StopMusic() override { ++stops; }
  const char* GetClassName() const override { return "Music"; }
};

TEST_F(LevelTest, ListsKeepOneEntryPerViewportButRepeatLayers) {
  SmartPointer<Level> level(new Level());
  SmartPointer<Layer> layer(new Layer(0.0f));
  SmartPointer<Quillon::Viewport> viewport(new Quillon::Viewport(0, 0, 320, 200));
  level->AddViewport(viewport.Get());
  level->AddViewport(viewport.Get());
  level->AddViewport(nullptr);
  EXPECT_EQ(level->GetViewportsCount(), 1u);
  level->AddLayer(layer);
  level->AddLayer(layer);
  EXPECT_EQ(level->GetLayersCount(), 2u);
  EXPECT_EQ(layer->GetIndex(), 1u);
  EXPECT_EQ(level->GetLayer(2), nullptr);
  EXPECT_EQ(level->GetViewport(1), nullptr);
  EXPECT_EQ(scene_->GetChildCount(), 2u);  // each addition hangs the layer's node under the root
}

TEST_F(LevelTest, SearchesByNameWalkLayersInOrder) {
  SmartPointer<Level> level(new Level());
  SmartPointer<Layer> back(new Layer(0.0f)), front(new Layer(1.0f));
  level->AddLayer(back);
  level->AddLayer(front);
  SmartPointer<GameObject> inFront(new GameObject()), inBack(new GameObject());
  inFront->SetName("Player");
  inBack->SetName("Player");
  front->AddGameObject(inFront.Get());
  back->AddGameObject(inBack.Get());
  level->UpdatePass(0.1f);
  std::list<GameObject*> found;
  level->GetGameObjectsByName("Player", found);
  EXPECT_EQ(std::vector<GameObject*>(found.begin(), found.end()), (std::vector<GameObject*>{inBack.Get(), inFront.Get()}));
  EXPECT_EQ(level->FindGameObjectById(inFront->GetID()), inFront.Get());
}

TEST_F(LevelTest, PassesRunTheJukeBoxAndDrawOnlyThroughViewportsWithCameras) {
  SmartPointer<Level> level(new Level());
  SmartPointer<Music> music(new Music());
  level->SetJukeBox(music.Get());
  level->UpdatePass(0.1f);
  EXPECT_EQ(music->updates, 1);
  renderer_->ClearLog();
  level->RenderPass(0.1f);
  EXPECT_TRUE(renderer_->calls.empty());
  EXPECT_EQ(scene_->GetViewportCount(), 0u);
  SmartPointer<Quillon::Viewport> first(new Quillon::Viewport(0, 0, 320, 200));
  SmartPointer<Quillon::Viewport> second(new Quillon::Viewport(320, 0, 320, 200));
  SmartPointer<Quillon::Camera> camera(new Quillon::Camera(45.0f));
  second->SetCamera(camera.Get());
  level->AddViewport(first.Get());
  level->AddViewport(second.Get());
  level->RenderPass(0.1f);
  EXPECT_EQ(scene_->GetViewportCount(), 2u);
  EXPECT_EQ(scene_->GetViewportIndex(), 1u);
  EXPECT_FALSE(renderer_->calls.empty());
  level->Destroy();
  level->Destroy();
  EXPECT_EQ(music->stops, 1);
  EXPECT_EQ(level->GetViewportsCount(), 0u);
  camera->ReleaseResources();
}

TEST_F(LevelTest, DestroyEndsEveryLayerAndEmptiesTheSceneRoot) {
  SmartPointer<Level> level(new Level());
  SmartPointer<Layer> layer(new Layer(0.0f));
  level->AddLayer(layer);
  SmartPointer<GameObject> object(new GameObject());
  layer->AddGameObject(object.Get());
  level->UpdatePass(0.1f);
  level->Destroy();
  EXPECT_TRUE(object->IsDestroyed());
  EXPECT_TRUE(layer->IsDestroyed());
  EXPECT_EQ(scene_->GetChildCount(), 0u);
  EXPECT_EQ(level->GetLayersCount(), 0u);
}

TEST_F(LevelTest, ScriptedLevelRunsItsEntriesAndScriptMethodsCheckTheirArguments) {
  SmartPointer<Level> level(new Level());
  level->SetName("Menu");
  level->SetScriptFile(WriteScript("menu.lua", R"(
function Constructor() _G.log = "C" .. self:GetName() end
function OnStart() _G.log = _G.log .. "S" end
function Update(dt) _G.log = _G.log .. "U" end
function OnEnd() _G.log = _G.log .. "E" end
)"));
  level->RunScript();
  level->OnStart();
  level->UpdatePass(0.1f);
  level->OnEnd();
  EXPECT_EQ(GlobalString("log"), "CMenuSUE");
  SetGlobal("level", level.Get());
  Run(R"(
level:SetClearColor(5)
_G.r = level:GetClearColor().R
level:SetClearColor({R = 0.5, G = 0, B = 0, A = 1})
_G.r2 = level:GetClearColor().R
_G.count = select('#', level:GetLayer(0))
)");
  EXPECT_EQ(GlobalNumber("r"), 0.0);
  EXPECT_EQ(GlobalNumber("r2"), 0.5);
  EXPECT_EQ(GlobalNumber("count"), 0.0);
  // Without a script the entries do nothing.
  SmartPointer<Level> plain(new Level());
  plain->OnStart();
  plain->UpdatePass(0.1f);
}

TEST_F(LevelTest, SavedLevelRebuildsLayersViewportsAndTheirObjects) {
  SmartPointer<Level> level(new Level());
  level->SetName("GameLevel");
  level->SetClearBackBuffer(true);
  level->SetClearColor(Math::Color(0.0f, 0.5f, 1.0f, 1.0f));
  SmartPointer<Layer> layer(new Layer(2.0f));
  layer->SetName("ground");
  level->AddLayer(layer);
  SmartPointer<Quillon::Camera> camera(new Quillon::Camera(45.0f));
  camera->SetName("camera0");
  layer->AddGameObject(camera.Get());
  level->UpdatePass(0.1f);
  SmartPointer<Quillon::Viewport> viewport(new Quillon::Viewport(0, 0, 1280, 720));
  viewport->SetCamera(camera.Get());
  level->AddViewport(viewport.Get());
  Core::MemoryFile file;
  file.WriteObject(level.Get());

  SmartPointer<Level> loaded;
  {
    Core::MemoryFile reader(file.GetBuffer().GetData(), file.GetBuffer().GetSize());
    loaded = dynamic_cast<Level*>(reader.ReadObject());
    EXPECT_FALSE(reader.HasFailed());
  }
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->GetName(), "GameLevel");
  EXPECT_TRUE(loaded->GetClearBackBuffer());
  ASSERT_EQ(loaded->GetLayersCount(), 1u);
  Layer* loadedLayer = loaded->GetLayerByName("ground");
  ASSERT_NE(loadedLayer, nullptr);
  EXPECT_EQ(loadedLayer->GetZOrder(), 2.0f);
  ASSERT_EQ(loaded->GetViewportsCount(), 1u);
  Quillon::Camera* loadedCamera = loaded->GetViewport(0)->GetCamera();
  ASSERT_NE(loadedCamera, nullptr);
  EXPECT_EQ(loadedCamera->GetName(), "camera0");
  EXPECT_EQ(loadedCamera->GetLayer(), loadedLayer);
  EXPECT_EQ(loadedLayer->FindGameObjectById(camera->GetID()), loadedCamera);
  loaded->Destroy();
  camera->ReleaseResources();

  for (uint32_t size = 0; size < file.GetBuffer().GetSize(); size += 7) {
    Core::MemoryFile reader(file.GetBuffer().GetData(), size);
    SmartPointer<Core::Object> partial(reader.ReadObject());
    EXPECT_TRUE(reader.HasFailed()) << size;
  }
}

}  // namespace

namespace {

TEST_F(LevelTest, RegisteredClassesAreMadeByName) {
  const char* names[] = {"Quillon::GameObject", "Quillon::Sprite", "Quillon::Level",    "Quillon::Layer", "Quillon::Text",
                         "Quillon::Viewport",   "Quillon::Camera", "Quillon::Circle", "Quillon::Line"};
  for (const char* name : names) {
    SmartPointer<Core::Object> object(Core::CreateObject(name));
    ASSERT_TRUE(object) << name;
    EXPECT_STREQ(object->GetClassName(), name);
    if (auto* camera = dynamic_cast<Quillon::Camera*>(object.Get())) camera->ReleaseResources();
  }
  EXPECT_EQ(Core::CreateObject("Quillon::SpriteAnimation"), nullptr);
}

TEST_F(LevelTest, CurrentLevelAnswersTheNameSearchOfGameObjects) {
  SmartPointer<Level> level(new Level());
  SmartPointer<Layer> layer(new Layer(0.0f));
  level->AddLayer(layer);
  SmartPointer<GameObject> hud(new GameObject());
  hud->SetName("hud_mgr");
  layer->AddGameObject(hud.Get());
  level->UpdatePass(0.1f);
  std::list<GameObject*> found;
  GameObject::GetGameObjectsByName("hud_mgr", found);
  EXPECT_TRUE(found.empty());  // no current level
  services_.level = level.Get();
  GameObject::GetGameObjectsByName("hud_mgr", found);
  EXPECT_EQ(found.size(), 1u);
  services_.level = nullptr;
}

}  // namespace
