#pragma once
// The game's application object: the one framework game of the process, holding the save data
// and the process-wide flags that screens and actors read through GetMyGame.
#include <cstdint>
#include <string>

#include "framework/Quillon_Game.h"
#include "framework/Quillon_Level.h"
#include "game/Velkor_DataManager.h"

namespace Quillon {
class JukeBox;
}

class MyGame : public Quillon::Game {
 public:
  MyGame(const Core::SmartPointer<Quillon::LevelFactory>& levelFactory, const Engine::DisplaySettings& settings,
         uint32_t startingLevelIndex);
  ~MyGame() override;
  const char* GetClassName() const override { return "MyGame"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(MyGame)); }

  void OnGameStart() override;
  void PreUpdate(float dt) override;
  // The game's contact rules for the current level (DecideContact).
  bool GetContactCoefficients(Quillon::GameObject* a, Quillon::GameObject* b, float& restitution,
                              float& friction) override;

  // Whole-game saves and replays are the player's data: "Saves" in the user's data folder, beside
  // the save file; empty (saves refused) when there is no home to keep them in.
  std::string GetSaveDirectory() const override;

  DataManager& GetDataManager() { return m_dataManager; }

  // The settings record the game starts with: 1280 x 720, windowed.
  static Engine::DisplaySettings MakeDisplaySettings();

  int32_t counter = 0;
  uint8_t paused = 0;
  uint8_t soundOn = 1;
  uint8_t musicOn = 1;
  uint8_t showTutorialPages = 1;
  uint8_t tutorialPlayed = 0;

 private:
  DataManager m_dataManager;
};

// The running game as the game's own class; null when no game runs (or it is not a MyGame).
MyGame* GetMyGame();

// True while a game runs with its paused flag set.
bool IsGamePaused();

// Sets the game's pause flag and pauses or resumes the current level's music (while the music is
// on); nothing when no game runs.
void SetGamePaused(bool paused);

// Gives the level its music: the one track (a file of the jukebox folder, "GameBgm\\gamBgm.ogg")
// repeated at half volume, fading over two seconds, played at once while the game's music is on.
// The level owns the jukebox; it is answered for the level to keep.
Quillon::JukeBox* StartLevelMusic(Quillon::Level& level, const std::string& track);

// Whether two touching objects respond physically in level `levelIndex`, and with which
// coefficients (they arrive holding the framework's defaults). b is null for static geometry. A
// rule may set the framework's one-sided-contact flag: the contact then moves only a's body.
bool DecideContact(uint32_t levelIndex, Quillon::GameObject* a, Quillon::GameObject* b, float& restitution,
                   float& friction);
