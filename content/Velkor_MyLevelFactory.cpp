#include "content/Velkor_MyLevelFactory.h"

#include "content/Velkor_LevelObjects.h"
#include "framework/Quillon_Camera.h"
#include "framework/Quillon_Game.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_Viewport.h"
#include "math/Math_Color.h"

namespace {

constexpr const char* kSource = "Velkor_MyLevelFactory";

// Number order: the position in this table is the level number.
const char* const kLevelNames[MyLevelFactory::kLevelCount] = {
    "Logos", "Story", "MainOptionLevel", "InstructionLevel", "CreditLevel",
    "Tutorial", "GarLevel", "GameLevel", "GameOverLevel"};

constexpr uint32_t kGridCellSize = 100;
constexpr float kCameraFieldOfView = 45.0f;
// 64/255 grey, opaque.
const Math::Color kViewportClearColor(0.2509804f, 0.2509804f, 0.2509804f, 1.0f);

}  // namespace

const char* MyLevelFactory::GetLevelName(uint32_t index) { return index < kLevelCount ? kLevelNames[index] : nullptr; }

bool MyLevelFactory::IsLevelAvailable(uint32_t index) { return index <= 4; }

bool MyLevelFactory::GetLevelIndex(const std::string& name, uint32_t& index) {
  for (uint32_t number = 0; number < kLevelCount; ++number) {
    if (name == kLevelNames[number]) {
      index = number;
      return true;
    }
  }
  return false;
}

Core::SmartPointer<Quillon::Level> MyLevelFactory::CreateLevel(uint32_t index) {
  CreateCollisionActors();
  switch (index) {
    case 0:
      return BuildLevel0();
    case 1:
      return BuildLevel1();
    case 2:
      return BuildLevel2();
    case 3:
      return BuildLevel3();
    case 4:
      return BuildLevel4();
    default:
      // Levels 5 to 8 have no content in this build yet; the game runs on without a level.
      return nullptr;
  }
}

void MyLevelFactory::Reset() {
  Content::ResetLevel0Objects();
  Content::ResetLevel1Objects();
  Content::ResetLevel2Objects();
  Content::ResetLevel3Objects();
  Content::ResetLevel4Objects();
  for (auto& camera : cameras) camera = nullptr;
  viewport = nullptr;
  for (auto& layer : layers) layer = nullptr;
  for (auto& level : levels) level = nullptr;
}

void MyLevelFactory::AssembleLevel(uint32_t number, Quillon::Level* level, const char* name,
                                   const LayerLayout* layouts, uint32_t layerCount, float cameraX, float cameraY) {
  levels[number] = level;
  level->SetName(name);
  level->SetClearBackBuffer(false);
  for (uint32_t slot = 0; slot < layerCount && slot < kLayerSlotCount; ++slot) {
    const LayerLayout& layout = layouts[slot];
    Quillon::Layer* layer = new (kSource, __LINE__) Quillon::Layer(layout.zOrder);
    layers[slot] = layer;
    layer->SetName(layout.name);
    // The first layer keeps the defaults without setting them.
    if (slot > 0) {
      layer->SetScale(1.0f, 1.0f);
      layer->SetRotation(0.0f);
    }
    layer->SetCollisionProperties(Math::Vector2D(layout.originX, layout.originY), layout.width, layout.height,
                                  kGridCellSize);
  }
  Quillon::Layer* lastLayer = layers[layerCount - 1];
  Quillon::Camera* camera = new (kSource, __LINE__) Quillon::Camera(kCameraFieldOfView);
  cameras[number] = camera;
  camera->SetName("camera0");
  camera->SetPosition(Math::Vector2D(cameraX, cameraY));
  lastLayer->AddGameObject(camera, false, nullptr);
  viewport = new (kSource, __LINE__) Quillon::Viewport(0, 0, 1280, 720);
  viewport->SetClearColor(kViewportClearColor);
  viewport->SetCamera(camera);
  for (uint32_t slot = 0; slot < layerCount; ++slot) level->AddLayer(layers[slot]);
  level->AddViewport(viewport);
}

void MyLevelFactory::LoadLayerCollision(uint32_t level, uint32_t layer) {
  if (layer >= kLayerSlotCount || layers[layer] == nullptr) return;
  const std::string path = Quillon::Game::GetDirectory() + "\\Resources\\Layers Collisions\\level" +
                           std::to_string(level) + "_layer" + std::to_string(layer) + ".txt";
  layers[layer]->ReadInformation_StaticCollision(path);
}
