#pragma once
// The run's sounds: the car's, the bosses', the drone's and the special attacks', made by the game
// level when it starts and played by name by the actors of the run.
#include <cstdint>
#include <string>

#include "core/Core_Object.h"
#include "framework/Quillon_Game.h"  // before the sound object, whose class shadows the sound namespace
#include "framework/Quillon_SoundObject.h"

namespace Quillon {
class Layer;
}

class RunSounds {
 public:
  static constexpr int32_t kCount = 11;

  // Makes the sounds from the game's sound folder into that layer, which owns them from then on; a
  // file that fails to load leaves a sound without data, which plays nothing.
  void Create(Quillon::Layer* layer);
  // Lets them go: the level has ended.
  void Release();
  // Plays the sound of that name while the game's sound is on; other names play nothing.
  void Play(const std::string& name, bool restart) const;
  Quillon::Sound* Get(int32_t index) const { return index >= 0 && index < kCount ? m_sounds[index].Get() : nullptr; }

 private:
  Core::SmartPointer<Quillon::Sound> m_sounds[kCount];
};

// A level whose run has sounds (the game level) holds them here: it fills them when it starts and
// lets them go when it ends.
class RunSoundsHolder {
 public:
  const RunSounds& GetRunSounds() const { return m_runSounds; }

 protected:
  ~RunSoundsHolder() = default;

  RunSounds m_runSounds;
};

// Plays the run's sound of that name when the current level holds the run's sounds; elsewhere (a
// screen, a test's plain level) nothing.
void PlayRunSound(const std::string& name, bool restart);
