#include "content/Velkor_MyLevelFactory.h"

#include <list>
#include <memory>

#include "collision/Collision_Actor.h"
#include "content/Velkor_CollisionActors.h"
#include "content/Velkor_LevelRows.h"
#include "framework/Quillon_Camera.h"
#include "framework/Quillon_Game.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_Viewport.h"
#include "math/Math_Color.h"

namespace {

constexpr const char* kSource = "Velkor_MyLevelFactory";

// The levels in number order: the position in this table is the level number.
struct LevelEntry {
  const char* name;
  const Content::LevelRows& (*rows)();
};
const LevelEntry kLevels[MyLevelFactory::kLevelCount] = {
    {"Logos", &Content::Level0Rows},         {"Story", &Content::Level1Rows},
    {"MainOptionLevel", &Content::Level2Rows}, {"InstructionLevel", &Content::Level3Rows},
    {"CreditLevel", &Content::Level4Rows},   {"Tutorial", &Content::Level5Rows},
    {"GarLevel", &Content::Level6Rows},      {"GameLevel", &Content::Level7Rows},
    {"GameOverLevel", &Content::Level8Rows},
};

constexpr uint32_t kGridCellSize = 100;
constexpr float kCameraFieldOfView = 45.0f;
// 64/255 grey, opaque.
const Math::Color kViewportClearColor(0.2509804f, 0.2509804f, 0.2509804f, 1.0f);

}  // namespace

const char* MyLevelFactory::GetLevelName(uint32_t index) { return index < kLevelCount ? kLevels[index].name : nullptr; }

const Content::LevelRows* MyLevelFactory::GetLevelRows(uint32_t index) {
  return index < kLevelCount ? &kLevels[index].rows() : nullptr;
}

bool MyLevelFactory::IsLevelAvailable(uint32_t index) { return GetLevelRows(index) != nullptr; }

bool MyLevelFactory::GetLevelIndex(const std::string& name, uint32_t& index) {
  for (uint32_t number = 0; number < kLevelCount; ++number) {
    if (name == kLevels[number].name) {
      index = number;
      return true;
    }
  }
  return false;
}

Core::SmartPointer<Quillon::Level> MyLevelFactory::CreateLevel(uint32_t index) {
  // The actors are made anew whatever the number: after the game has dropped the last build's
  // actors, the slots must not be left pointing at them.
  CreateCollisionActors();
  const Content::LevelRows* rows = GetLevelRows(index);
  if (rows == nullptr) return nullptr;
  return BuildLevel(index, *rows);
}

void MyLevelFactory::CreateCollisionActors() {
  Quillon::Game* game = Quillon::Game::GetInstance();
  for (uint32_t index = 0; index < kCollisionActorCount; ++index) {
    std::unique_ptr<Collision2D::CollisionActor> actor(BuildCollisionActor(index));
    // The slot refers to the actor only once the game owns it: an actor nobody owns would either
    // leak or leave the slot pointing at freed memory.
    collisionActors[index] = nullptr;
    if (actor && game != nullptr && game->AddCollisionAssets(actor.get())) collisionActors[index] = actor.release();
  }
}

void MyLevelFactory::Reset() {
  for (auto& camera : cameras) camera = nullptr;
  viewport = nullptr;
  for (auto& layer : layers) layer = nullptr;
  for (auto& level : levels) level = nullptr;
}

Quillon::Level* MyLevelFactory::BuildLevel(uint32_t number, const Content::LevelRows& rows) {
  if (number >= kLevelCount || rows.level == nullptr || rows.layers.empty() ||
      rows.layers.size() > kLayerSlotCount) {
    return nullptr;
  }
  Quillon::Level* level = rows.level(Content::Source{rows.source, 0});
  levels[number] = level;
  level->SetName(kLevels[number].name);
  level->SetClearBackBuffer(false);
  const auto layerCount = static_cast<uint32_t>(rows.layers.size());
  for (uint32_t slot = 0; slot < layerCount; ++slot) {
    const Content::LayerRows& layout = rows.layers[slot];
    Quillon::Layer* layer = new (kSource, __LINE__) Quillon::Layer(layout.z);
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
  Quillon::Camera* camera = new (kSource, __LINE__) Quillon::Camera(kCameraFieldOfView);
  cameras[number] = camera;
  camera->SetName("camera0");
  camera->SetPosition(Math::Vector2D(rows.cameraX, rows.cameraY));
  layers[layerCount - 1]->AddGameObject(camera, false, nullptr);
  viewport = new (kSource, __LINE__) Quillon::Viewport(0, 0, 1280, 720);
  viewport->SetClearColor(kViewportClearColor);
  viewport->SetCamera(camera);
  for (uint32_t slot = 0; slot < layerCount; ++slot) level->AddLayer(layers[slot]);
  level->AddViewport(viewport);
  for (uint32_t slot = 0; slot < layerCount; ++slot) {
    int line = 0;
    for (const Content::ObjectRow& row : rows.layers[slot].objects) {
      const bool known = row.actor >= 0 && static_cast<uint32_t>(row.actor) < kCollisionActorCount;
      Content::BuildObject(*layers[slot], known ? collisionActors[row.actor] : nullptr,
                           Content::Source{rows.source, ++line}, row);
    }
    LoadLayerCollision(number, slot);
  }
  for (const Content::MountRow& mount : rows.mounts) {
    Quillon::GameObject* carrier = FindBuiltObject(mount.carrier);
    Quillon::GameObject* carried = FindBuiltObject(mount.carried);
    if (carrier != nullptr && carried != nullptr) carrier->Mount(carried);
  }
  OnLevelCreated(number);
  return level;
}

Quillon::GameObject* MyLevelFactory::FindBuiltObject(const std::string& name) const {
  for (Quillon::Layer* layer : layers) {
    if (layer == nullptr) continue;
    std::list<Quillon::GameObject*> found;
    layer->GetGameObjectsByName(name, found);
    if (!found.empty()) return found.front();
  }
  return nullptr;
}

void MyLevelFactory::LoadLayerCollision(uint32_t level, uint32_t layer) {
  if (layer >= kLayerSlotCount || layers[layer] == nullptr) return;
  const std::string path = Quillon::Game::GetDirectory() + "\\Resources\\Layers Collisions\\level" +
                           std::to_string(level) + "_layer" + std::to_string(layer) + ".txt";
  layers[layer]->ReadInformation_StaticCollision(path);
}
