// Whole-game loads from hostile save files, read as the game reads one: the save file from byte 0
// through the same path as a player's load. A refused file must leave the running game as it was
// (objects, positions and velocities bit for bit); an accepted one must run on for a few steps.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <list>
#include <string>
#include <vector>

#include "core/Core_File.h"
#include "core/Core_Time.h"
#include "framework/Quillon_Game.h"
#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_Saves.h"
#include "math/Math_Module.h"
#include "platform/PAL_Services.h"
#include "script/Lua_ScriptEngine.h"
#include "tests/framework/BoxLevelFactory.h"
#include "tests/input/FakeInputBackend.h"

namespace {

using Core::SmartPointer;
using Math::Vector2D;

double g_now = 0.0;
double FixedClock() { return g_now; }

std::vector<uint32_t> Snapshot(Quillon::Game& game) {
  std::vector<uint32_t> bits;
  std::list<Quillon::GameObject*> objects;
  if (game.GetCurrentLevel()) game.GetCurrentLevel()->GetGameObjects(objects);
  for (Quillon::GameObject* object : objects) {
    Vector2D velocity;
    object->GetVelocity(velocity);
    const float values[5] = {object->GetPosition().x, object->GetPosition().y, object->GetRotationAngle(), velocity.x,
                             velocity.y};
    for (float value : values) {
      uint32_t word = 0;
      std::memcpy(&word, &value, 4);
      bits.push_back(word);
    }
  }
  return bits;
}

struct World {
  TestInput::FakeInputBackend input;
  SmartPointer<Quillon::Game> game;
  Quillon::Saves* saves = nullptr;

  World() {
    setenv("ALSOFT_DRIVERS", "null", 0);
    PAL::SetMessageBoxHook([](const PAL::MessageBoxRequest&, std::uint32_t& answer) {
      answer = PAL::MessageBoxButton::OK;
      return true;
    });
    Math::Initialize();
    if (!Lua::Initialize(nullptr)) std::abort();
    Core::InstallClock(&FixedClock);
    Quillon::SetGameSavesFactory(&Quillon::CreateGameSaves);
    Engine::DisplaySettings settings;
    settings.width = 320;
    settings.height = 240;
    // Two boxes that meet, one of them moved by physics: the pieces a save holds.
    SmartPointer<Quillon::LevelFactory> factory(new FrameworkTest::BoxLevelFactory(
        {{"Left", Vector2D(0.0f, 0.0f), Vector2D(50.0f, 3.0f), true}, {"Right", Vector2D(40.0f, 0.0f), Vector2D(), false}}));
    game = new Quillon::Game(factory, settings, 0);
    saves = dynamic_cast<Quillon::Saves*>(game->GetSaves());
    if (saves == nullptr) std::abort();
    for (int i = 0; i < 3; ++i) Frame();
  }
  void Frame() {
    g_now += 16.0;
    game->Update();
  }
};

World& TheWorld() {
  static World world;
  return world;
}

}  // namespace

// The game starts once, before the first input, and lives for the whole run. A whole save of it
// is about 5 KB: inputs may be that long, whatever shorter limit the runner gives every target.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static std::vector<char*> arguments(*argv, *argv + *argc);
  static char longerInputs[] = "-max_len=8192";
  arguments.push_back(longerInputs);
  arguments.push_back(nullptr);
  *argc = static_cast<int>(arguments.size()) - 1;
  *argv = arguments.data();
  TheWorld();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  World* world = &TheWorld();
  static const std::string path = "/tmp/velkor_game_load_fuzz_" + std::to_string(getpid()) + ".sav";
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);

  // The game before the load, kept whole so every input starts from the same state.
  Core::MemoryFile before;
  world->saves->SaveGame(*world->game, before);
  const std::vector<uint32_t> snapshot = Snapshot(*world->game);
  if (!world->saves->LoadFromPath(*world->game, path)) {
    if (Snapshot(*world->game) != snapshot) __builtin_trap();  // a refused file changed the game
    return 0;
  }
  for (int i = 0; i < 3; ++i) world->Frame();
  world->game->ResetBeforeLoad();
  Core::MemoryFile restore(before.GetBuffer().GetData(), before.GetBuffer().GetSize());
  if (!world->saves->LoadGameChecked(*world->game, restore)) __builtin_trap();
  return 0;
}
