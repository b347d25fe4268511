#pragma once
// The playing level: the run's sounds and music, the start (equipment from the save data), the
// scrolling backdrop, pausing, the three hint pages at the start of a run and the game over, which
// records the run once and asks for the results screen.
#include <cstdint>
#include <string>

#include "framework/Quillon_Level.h"
#include "game/Velkor_ParallaxBackground.h"
#include "game/Velkor_RunSounds.h"
#include "game/Velkor_ScreenSupport.h"

namespace Quillon {
class JukeBox;
class Text;
}  // namespace Quillon
class BossObject;
class OptionMenu;
class PlayerClass;
class WarningSign;

class GameLevelClass : public Quillon::Level, public RunSoundsHolder {
 public:
  static constexpr float kStartDelay = 0.2f;
  static constexpr int32_t kSoundCount = RunSounds::kCount;
  static constexpr int32_t kHintPages = 3;

  VELKOR_DECLARE_LEVEL(GameLevelClass);

  void OnStart() override;
  void OnEnd() override;
  void Update(float dt) override;

  // Sets the game's pause flag, opens or closes the options overlay and pauses or resumes the
  // music (while the music is on).
  void SetPaused(bool paused);

  bool IsStarted() const { return m_started; }
  bool IsRunRecorded() const { return m_runRecorded; }
  int32_t GetHintPage() const { return m_hintPage; }
  int32_t GetUfoLevel() const { return m_ufoLevel; }

  // The UFO waves (Velkor_GameLevelWaves.cpp): a warning 3 seconds after the last wave ended, the
  // wave 2 seconds later, and every second a check whether any of its bosses is still up.
  struct UfoWave {
    int32_t ufos;
    int32_t ufo2s;
    int32_t ufo3s;
  };
  // The bosses of the wave of that number: 2r - 1 UFOs and r - 1 second UFOs for the r-th wave of
  // each five, the mothership alone for every fifth.
  static UfoWave GetWave(int32_t ufoLevel);
  // A boss's health grows by half every five waves (tier = UFO level / 5).
  static int32_t GetBossHealth(int32_t baseHealth, int32_t tier);
  static std::string GetWarningText(int32_t ufoLevel);
  void ResetWaves();
  void UpdateWaves(float dt);
  // Shows the warning sign with that text and plays the warning sound.
  void ShowWarning(const std::string& text, float seconds);
  void SpawnUfo();
  void SpawnUfo2();
  void SpawnUfo3();
  // The live bosses of one kind (0 UFO, 1 second UFO, 3 mothership); one left more than 5000
  // units from the car is replaced beside it.
  int32_t CountUfos(const std::string& name, int32_t kind);
  int32_t GetBossTier() const { return m_bossTier; }
  bool IsWaveActive() const { return m_waveActive; }
  bool IsWarningShown() const { return m_warningShown; }
  Quillon::Sound* GetSound(int32_t index) const { return m_runSounds.Get(index); }
  Quillon::JukeBox* GetMusic() const { return m_jukeBox; }
  ParallaxBackground& GetParallax() { return m_parallax; }

 private:
  // Once per run, after the start delay.
  void FirstUpdate();
  void ApplyEquipment(PlayerClass& car);
  void UpdateHints();
  void ShowOptionsOverlay(bool shown);
  void CheckGameOver();

  // The level's objects it works with, found when the run starts.
  void FindPartners();
  void ReleasePartners();
  template <typename Visit>
  void ForEachPartner(Visit visit);

  Partner<PlayerClass> m_car{"Player"};
  Partner<OptionMenu> m_optionsOverlay{"OptionMenuSprite"};
  Partner<WarningSign> m_warningSign{"WarningSign"};
  Partner<BossObject> m_ufo{"UFO"};
  Partner<BossObject> m_ufo2{"UFO2"};
  Partner<BossObject> m_mothership{"UFO3"};
  Partner<Quillon::Sprite> m_hintPictures[kHintPages] = {
      Partner<Quillon::Sprite>("tuh1Sprite"), Partner<Quillon::Sprite>("tuh2Sprite"), Partner<Quillon::Sprite>("tuh3Sprite")};
  Partner<Quillon::Sprite> m_hintBackdrop{"tutBg"};
  Partner<Quillon::Text> m_hintCaption{"tuhPrevTxt"};
  float m_startDelay = 0.0f;
  bool m_started = false;
  ParallaxBackground m_parallax;
  // The UFO wave reached: the run's score.
  int32_t m_ufoLevel = 0;
  int32_t m_bossTier = 0;
  int32_t m_ufoCount = 0;
  int32_t m_ufo2Count = 0;
  int32_t m_ufo3Count = 0;
  float m_waveTimer = 0.0f;
  bool m_waveActive = false;
  bool m_warningShown = false;
  Quillon::JukeBox* m_jukeBox = nullptr;
  int32_t m_hintPage = 0;
  bool m_runRecorded = false;
};
