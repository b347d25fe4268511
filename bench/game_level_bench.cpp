// One frame of the game level in its running state: the car driving over the endless ground with
// its HUD, backdrop and trail. "Update" is the level's update passes (every actor's per-frame
// logic); "Frame" is the whole frame step (input, update, physics, collision, contacts, scene
// graph, render queue and drawing at 1280 x 720) and the buffer swap. The argument is how many
// copies of each of the level's sprites stand in view: 1 is the level as built, 4 four times as
// many (the copies keep their names, so the run's actors among them act). "WaveFive" is the
// fight at its fullest: the mothership with its laser on, a full set of aliens of both segments
// shooting at the car, their shots, and the AI friend, the car standing still among them.
// "MainMenu" is the menu screen as it opens, its platforms scrolling and its car bobbing.
//
// Every frame case also counts the fragments shaded per screen pixel ("fragments_per_pixel"): on a
// software renderer every shaded fragment is paid for, so this is the frame's fill cost whatever
// the machine. The driver's pipeline statistics give the fragment shader's invocations; without
// them an occlusion query gives the samples that passed, which misses the discarded ones.
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <list>
#include <string>
#include <vector>

#include "content/Velkor_MyLevelFactory.h"
#include "core/Core_Random.h"
#include "core/Core_Time.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_Sprite.h"
#include "game/Velkor_AiFriendClass.h"
#include "game/Velkor_GameLevelClass.h"
#include "game/Velkor_HUD_Manager.h"
#include "game/Velkor_LaserClass.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_PlatformManager.h"
#include "game/Velkor_PlayerClass.h"
#include "game/Velkor_ScreenSupport.h"
#include "game/Velkor_SpawnManager.h"
#include "game/Velkor_UFO3Class.h"
#include "math/Math_Module.h"
#include "platform/PAL_Services.h"
#include "platform/PAL_WindowGL.h"
#include "renderer/Renderer_IRenderer.h"
#include "scene/Engine_RenderQueue.h"
#include "script/Lua_ScriptEngine.h"

namespace {

constexpr uint32_t kMainMenu = 2;
constexpr uint32_t kGameLevel = 7;
constexpr double kFrameMilliseconds = 1000.0 / 60.0;
// Frames per run of a frame case: a fixed number, so that runs draw the same frames and their
// counts compare.
constexpr int kFramesPerRun = 240;

double g_now = 0.0;
double BenchClock() { return g_now; }

struct Run {
  Core::SmartPointer<Quillon::Game> holder;
  MyGame* game = nullptr;
  Quillon::Level* level = nullptr;
  PlayerClass* car = nullptr;
  int copies = 0;
  bool waveFive = false;
};

// One frame; returns the seconds spent presenting it (the buffer swap, where a software
// renderer finishes drawing and the X server takes the picture).
double Frame(Run& run) {
  g_now += kFrameMilliseconds;
  run.game->BeginFrame();
  run.game->Update();
  const auto presenting = std::chrono::steady_clock::now();
  run.game->EndFrame();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - presenting).count();
}

// Copies of every sprite of the main layer, spread over the view around the camera.
void AddCopies(Run& run, int copies) {
  Quillon::Level* level = run.game->GetCurrentLevel();
  Quillon::Layer* layer = level != nullptr ? level->GetLayerByName("GameLevelObjects") : nullptr;
  if (layer == nullptr || run.car == nullptr) return;
  std::list<Quillon::GameObject*> objects;
  layer->GetGameObjects(objects);
  for (Quillon::GameObject* object : objects) {
    auto* sprite = dynamic_cast<Quillon::Sprite*>(object);
    // The car, the ground segments and the HUD stay single: a second deadly ground in the air
    // would end the run, a second HUD would take the first one's parts.
    if (sprite == nullptr || sprite == run.car || sprite->GetMountSupport() != nullptr || sprite->GetMountsCount() > 0 ||
        dynamic_cast<PlatformManager*>(sprite) != nullptr || dynamic_cast<HUD_Manager*>(sprite) != nullptr) {
      continue;
    }
    for (int i = 1; i < copies; ++i) {
      Core::SmartPointer<Quillon::Sprite> copy(static_cast<Quillon::Sprite*>(sprite->Clone()));
      copy->SetPosition(run.car->GetPositionX() - 350.0f + static_cast<float>(Core::Random() % 1250),
                        static_cast<float>(100 + Core::Random() % 560));
      layer->AddGameObject(copy.Get());
    }
  }
}

Run g_run;

// This process's own folder for the runs' saves.
const std::filesystem::path& DataHome() {
  static const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("velkor_game_level_bench." + std::to_string(getpid()));
  return folder;
}

// Counts the fragments of the frames between Begin and End through the driver's queries; the bench
// reaches GL itself so that the game's renderer carries no measuring code.
class FragmentCounter {
 public:
  // Call with the game's context current.
  void SetUp() {
    if (m_ready) return;
    m_ready = true;
    const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    const std::string list = extensions != nullptr ? std::string(" ") + extensions + " " : std::string();
    m_genQueries = reinterpret_cast<GenQueries>(PAL::GetGLProcAddress("glGenQueries"));
    m_beginQuery = reinterpret_cast<BeginQuery>(PAL::GetGLProcAddress("glBeginQuery"));
    m_endQuery = reinterpret_cast<EndQuery>(PAL::GetGLProcAddress("glEndQuery"));
    m_getResult = reinterpret_cast<GetQueryResult>(PAL::GetGLProcAddress("glGetQueryObjectui64v"));
    if (m_genQueries == nullptr || m_beginQuery == nullptr || m_endQuery == nullptr || m_getResult == nullptr) return;
    m_target = list.find(" GL_ARB_pipeline_statistics_query ") != std::string::npos ? kFragmentShaderInvocations
                                                                                      : kSamplesPassed;
    m_genQueries(1, &m_query);
  }
  bool Available() const { return m_query != 0; }
  const char* Source() const { return m_target == kFragmentShaderInvocations ? "shader invocations" : "samples passed"; }
  void Begin() {
    if (m_query != 0) m_beginQuery(m_target, m_query);
  }
  // The fragments counted since Begin (waits for the frame to finish).
  uint64_t End() {
    if (m_query == 0) return 0;
    m_endQuery(m_target);
    uint64_t count = 0;
    m_getResult(m_query, kQueryResult, &count);
    return count;
  }

 private:
  using GenQueries = void (*)(GLsizei, GLuint*);
  using BeginQuery = void (*)(GLenum, GLuint);
  using EndQuery = void (*)(GLenum);
  using GetQueryResult = void (*)(GLuint, GLenum, uint64_t*);
  static constexpr GLenum kFragmentShaderInvocations = 0x82F4;
  static constexpr GLenum kSamplesPassed = 0x8914;
  static constexpr GLenum kQueryResult = 0x8866;
  bool m_ready = false;
  GLuint m_query = 0;
  GLenum m_target = kSamplesPassed;
  GenQueries m_genQueries = nullptr;
  BeginQuery m_beginQuery = nullptr;
  EndQuery m_endQuery = nullptr;
  GetQueryResult m_getResult = nullptr;
};
FragmentCounter g_fragments;

void EndRun() {
  if (g_run.game == nullptr) return;
  g_run.game->Shutdown();
  g_run.holder.Reset();
  g_run.game = nullptr;
  g_run.car = nullptr;
  g_fragments = FragmentCounter();
}

// The fight of the fifth wave around the car: the mothership engaged with its laser, twenty
// aliens (two segments' worth) ahead of and behind the car within their range, the AI friend.
void SetUpWaveFive(Run& run) {
  auto* level = dynamic_cast<GameLevelClass*>(run.game->GetCurrentLevel());
  if (level == nullptr || run.car == nullptr) return;
  run.car->SetSpeedAndDurability(100, 0.0f);
  level->SpawnUfo3();
  SpawnManager spawners[2];
  for (int tag = 0; tag < 2; ++tag) {
    spawners[tag].SetUp(tag);
    for (int i = 0; i < SpawnManager::kMaximumAliens; ++i) {
      spawners[tag].SpawnAlien(Math::Vector2D(run.car->GetPositionX() - 600.0f + static_cast<float>(i * 130 + tag * 60),
                                              static_cast<float>(150 + (i % 4) * 120)));
    }
  }
}

// Keeps the fifth wave's fight going: the laser on, the friend flying, the boss in the fight.
void KeepFighting(Run& run) {
  UFO3Class* boss = FindObjectByName<UFO3Class>("UFO3");
  if (boss != nullptr && !boss->IsEngaged()) {
    if (auto* level = dynamic_cast<GameLevelClass*>(run.game->GetCurrentLevel())) level->SpawnUfo3();
  }
  if (LaserClass* laser = FindObjectByName<LaserClass>("LaserA")) {
    if (!laser->IsActive()) {
      laser->SetBoss(boss);
      laser->Switch(true, 5.0f);
    }
  }
  if (AiFriendClass* drone = FindObjectByName<AiFriendClass>("AiFriend")) {
    if (!drone->IsActive()) {
      drone->SetBox(Math::Vector2D(-150.0f, 150.0f), Math::Vector2D(800.0f, 650.0f));
      drone->SetUp(Math::Vector2D(-500.0f, 200.0f), 0, 4, 4.0f);
      drone->SetSpeedRange(5, 10);
    }
  }
}

// The game level in its running state: past its start delay and hint pages, the car alive.
// With copies 0, the main menu instead. A fresh run starts a new game even where one of the kind
// runs, so that what a case draws does not depend on the cases run before it.
Run* GetRun(int copies, bool waveFive = false, bool fresh = false) {
  Run& run = g_run;
  if (!fresh && run.game != nullptr && run.copies == copies && run.waveFive == waveFive) return &run;
  EndRun();
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') return nullptr;
  // The run's save must not touch the user's, nor carry over from an earlier run or another
  // process: what the car owns changes what the level draws.
  const std::filesystem::path& dataHome = DataHome();
  std::error_code ignored;
  std::filesystem::remove_all(dataHome, ignored);
  std::filesystem::create_directories(dataHome, ignored);
  setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
  setenv("ALSOFT_DRIVERS", "null", 0);
  const uint32_t startLevel = copies == 0 ? kMainMenu : kGameLevel;
  if (!MyLevelFactory::IsLevelAvailable(startLevel)) return nullptr;
  g_now = 0.0;
  Core::InstallClock(&BenchClock);
  Core::SeedRandom(12345u);
  run.game = new MyGame(Core::SmartPointer<Quillon::LevelFactory>(new MyLevelFactory()),
                        MyGame::MakeDisplaySettings(), startLevel);
  run.holder = run.game;
  run.game->LockFrameRate(false);
  // The frame's own cost, not the display's refresh.
  if (run.game->GetRenderer() != nullptr) run.game->GetRenderer()->SetVSync(false);
  run.copies = copies;
  run.waveFive = waveFive;
  g_fragments.SetUp();
  Frame(run);
  if (copies == 0) {
    for (int i = 0; i < 30; ++i) Frame(run);
    run.level = run.game->GetCurrentLevel();
    return &run;
  }
  run.game->showTutorialPages = 0;
  for (int i = 0; i < 30; ++i) Frame(run);
  std::list<Quillon::GameObject*> found;
  Quillon::GameObject::GetGameObjectsByName("Player", found);
  run.car = found.empty() ? nullptr : dynamic_cast<PlayerClass*>(found.front());
  run.level = run.game->GetCurrentLevel();
  AddCopies(run, copies);
  if (waveFive) SetUpWaveFive(run);
  Frame(run);
  return &run;
}

// The car hovers at one height, clear of the deadly ground, so the run never ends; false when it
// ended all the same.
bool KeepDriving(Run& run) {
  if (run.copies == 0) return run.game->GetCurrentLevel() == run.level;
  if (run.car == nullptr || run.game->GetCurrentLevel() != run.level || run.car->IsDead()) {
    run.car = nullptr;
    return false;
  }
  run.car->SetPositionY(400.0f);
  run.car->SetSpeedAndDurability(100, run.car->GetHorizontalSpeed());
  run.game->SetLevelIndices(kGameLevel, kGameLevel, kGameLevel, false);
  if (run.waveFive) KeepFighting(run);
  return true;
}

// The level's update passes of each frame; the rest of the frame runs untimed.
void TimeUpdates(benchmark::State& state, Run* run) {
  if (run == nullptr || run->car == nullptr) {
    state.SkipWithError("needs an X display and the game level's content");
    return;
  }
  const float dt = static_cast<float>(kFrameMilliseconds / 1000.0);
  for (auto _ : state) {
    Quillon::Level* level = run->game->GetCurrentLevel();
    level->UpdatePass(dt);
    level->FirstHookPass(dt);
    level->SecondHookPass(dt);
    state.PauseTiming();
    Frame(*run);
    const bool driving = KeepDriving(*run);
    state.ResumeTiming();
    if (!driving) {
      state.SkipWithError("the run ended");
      break;
    }
  }
}

// Whole frames, with the share spent presenting them and the fragments shaded per screen pixel.
void TimeFrames(benchmark::State& state, Run* run) {
  if (run == nullptr || (run->car == nullptr && run->copies != 0)) {
    state.SkipWithError("needs an X display and the game level's content");
    return;
  }
  double presenting = 0.0;
  double fragments = 0.0;
  for (auto _ : state) {
    g_fragments.Begin();
    presenting += Frame(*run);
    state.PauseTiming();
    fragments += static_cast<double>(g_fragments.End());
    const bool driving = KeepDriving(*run);
    state.ResumeTiming();
    if (!driving) {
      state.SkipWithError("the run ended");
      break;
    }
  }
  state.counters["present_ms"] = benchmark::Counter(presenting * 1000.0, benchmark::Counter::kAvgIterations);
  if (g_fragments.Available()) {
    const double pixels = static_cast<double>(run->game->GetResolutionWidth()) * run->game->GetResolutionHeight();
    state.counters["fragments_per_pixel"] =
        benchmark::Counter(pixels > 0.0 ? fragments / pixels : 0.0, benchmark::Counter::kAvgIterations);
    state.SetLabel(g_fragments.Source());
  }
}

void BM_GameLevelUpdate(benchmark::State& state) { TimeUpdates(state, GetRun(static_cast<int>(state.range(0)))); }
BENCHMARK(BM_GameLevelUpdate)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

void BM_GameLevelFrame(benchmark::State& state) {
  TimeFrames(state, GetRun(static_cast<int>(state.range(0)), false, true));
}
BENCHMARK(BM_GameLevelFrame)->Arg(1)->Arg(4)->Iterations(kFramesPerRun)->Unit(benchmark::kMillisecond);

void BM_WaveFiveUpdate(benchmark::State& state) { TimeUpdates(state, GetRun(1, true)); }
BENCHMARK(BM_WaveFiveUpdate)->Unit(benchmark::kMillisecond);

void BM_WaveFiveFrame(benchmark::State& state) { TimeFrames(state, GetRun(1, true, true)); }
BENCHMARK(BM_WaveFiveFrame)->Iterations(kFramesPerRun)->Unit(benchmark::kMillisecond);

void BM_MainMenuFrame(benchmark::State& state) { TimeFrames(state, GetRun(0, false, true)); }
BENCHMARK(BM_MainMenuFrame)->Iterations(kFramesPerRun)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  PAL::SetMessageBoxHook([](const PAL::MessageBoxRequest&, std::uint32_t& answer) {
    answer = PAL::MessageBoxButton::OK;
    return true;
  });
  // VELKOR_PLAIN_DRAWING=1 draws every item as submitted, as the game drew before fill saving.
  if (const char* plain = std::getenv("VELKOR_PLAIN_DRAWING"); plain != nullptr && std::string(plain) == "1") {
    Engine::RenderQueue::SetFillSaving(false);
  }
  Math::Initialize();
  std::string error;
  if (!Lua::Initialize(&error)) return 1;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  EndRun();
  std::error_code ignored;
  std::filesystem::remove_all(DataHome(), ignored);
  benchmark::Shutdown();
  Lua::Shutdown();
  Math::Shutdown();
  return 0;
}
