#include "game/Velkor_MyGame.h"

#include <vector>

#include "framework/Quillon_JukeBox.h"
#include "framework/Quillon_Level.h"
#include "game/Velkor_ScreenSupport.h"
#include "physics/Physics_Engine.h"

MyGame::MyGame(const Core::SmartPointer<Quillon::LevelFactory>& levelFactory, const Engine::DisplaySettings& settings,
               uint32_t startingLevelIndex)
    : Quillon::Game(levelFactory, settings, startingLevelIndex) {
  SetDesiredFrameRate(60.0);
  LockFrameRate(true);
  SetMasterVolume(1.0f);
  if (Physics2D::PhysicsEngine* physics = GetPhysicsEngine()) {
    physics->SetUnitScale(15.0f);
    physics->SetAccuracy(150);
  }
  SetTitle("Velkor");
  SetIcon(GetDirectory() + "\\Resources\\GameIcon\\GameIcon.ico");
}

// The framework's shutdown still needs the game's hooks, so it runs while this part exists.
MyGame::~MyGame() { Shutdown(); }

std::string MyGame::GetSaveDirectory() const {
  const std::string data = DataManager::GetSaveDirectory();
  return data.empty() ? std::string() : data + "/Saves";
}

Engine::DisplaySettings MyGame::MakeDisplaySettings() { return Engine::DisplaySettings::Windowed720p(); }

void MyGame::OnGameStart() {
  counter = 0;
  paused = 0;
  soundOn = 1;
  musicOn = 1;
  showTutorialPages = 1;
  tutorialPlayed = 0;
  m_dataManager.SetDefaults();
  // A missing or damaged save leaves the defaults (or what could be read); the game runs on.
  m_dataManager.Load();
  AutoToggleFullScreen();
}

void MyGame::PreUpdate(float dt) { UpdateCursorClick(dt); }

bool MyGame::GetContactCoefficients(Quillon::GameObject* a, Quillon::GameObject* b, float& restitution,
                                    float& friction) {
  return DecideContact(GetCurrentLevelIndex(), a, b, restitution, friction);
}

MyGame* GetMyGame() { return dynamic_cast<MyGame*>(Quillon::Game::GetInstance()); }

bool IsGamePaused() {
  const MyGame* game = GetMyGame();
  return game != nullptr && game->paused != 0;
}

Quillon::JukeBox* StartLevelMusic(Quillon::Level& level, const std::string& track) {
  const std::vector<std::string> files = {Quillon::Game::GetDirectory() + "\\Resources\\MyJukeBoxes\\" + track};
  Core::SmartPointer<Quillon::JukeBox> music(new (__FILE__, __LINE__) Quillon::JukeBox(files));
  music->SetFadeTime(2.0f);
  // The one track plays in order: no shuffle, so nothing here draws random numbers.
  music->SetShuffle(false);
  music->SetRepeat(true);
  music->SetMusicVolume(0.5f, 0.0f);
  level.SetJukeBox(music.Get());
  const MyGame* game = GetMyGame();
  if (game != nullptr && game->musicOn != 0) music->PlayMusic(-1);
  return music.Get();
}

void SetGamePaused(bool paused) {
  MyGame* game = GetMyGame();
  if (game == nullptr) return;
  game->paused = paused ? 1 : 0;
  Quillon::Level* level = game->GetCurrentLevel();
  auto* music = level != nullptr ? dynamic_cast<Quillon::JukeBox*>(level->GetJukeBox()) : nullptr;
  if (game->musicOn == 0 || music == nullptr) return;
  if (paused) {
    music->PauseMusic();
  } else {
    music->PlayMusic(-1);
  }
}
