#pragma once
// A game object that plays one sound file through the game's sound engine. It can stay with the
// listener (unpositioned) or sit at its x and y at the depth of the listener camera's layer or of its
// own layer, so the engine's distance model attenuates it. It never receives callbacks: Tick polls
// its source once per frame and lets go of a source that has stopped.
#include <cstdint>
#include <string>

#include "framework/Quillon_GameObject.h"
// Headers that name the audio namespace's classes as "Sound::..." from inside Quillon must be read
// before the class Quillon::Sound hides that namespace.
#include "framework/Quillon_GameServices.h"

namespace Sound {
class SoundData;
class SoundEngine;
class SoundSource;
}

namespace Quillon {

class Sound : public GameObject {
 public:
  static constexpr const char* ScriptClassName = "Sound";
  // Files of this many PCM bytes or more are streamed unless loaded whole.
  static constexpr uint32_t kStreamLimit = 262144;

  enum PositionMode : uint32_t {
    kUnpositioned = 0,     // relative to the listener, at the listener
    kAtListenerLayer = 1,  // x, y of the object, depth of the active listener camera's layer
    kAtOwnLayer = 2,       // x, y of the object, depth of its own layer
  };

  // The registry's sound: no record and no source until Load.
  Sound() = default;
  Sound(const std::string& path, uint32_t positionMode, float intensity, bool looping, float loopFraction,
        bool loadWhole);
  VELKOR_DECLARE_CLASS(Sound);
  int PushToLua(lua_State* state) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;
  void Destroy() override;
  void Tick(float dt) override;
  void Update(float dt) override { GameObject::Update(dt); }

  // Finds or loads the record of the file; volume and pitch go back to 1 and there is no source.
  void Initialize(const std::string& path, uint32_t positionMode, float intensity, bool looping, float loopFraction,
                  bool loadWhole);

  // Creates the source when there is none (a restart stops and rewinds a present one), applies
  // volume, pitch and looping and starts it; false when it did not start (already playing, no
  // record, no engine).
  bool Play(bool restart);
  void Stop();
  void Pause();
  // Back to the start; a source that was playing plays on from there.
  void Rewind();
  bool IsPlaying() const;

  // Negative volumes are ignored.
  void SetVolume(float volume);
  float GetVolume() const;
  // Pitches of 0 or below are ignored.
  void SetPitch(float pitch);
  float GetPitch() const;
  void SetIntensity(float intensity) { m_intensity = intensity; }
  float GetIntensity() const { return m_intensity; }
  void SetLooping(bool looping);
  bool GetLooping() const { return m_looping != 0; }

  const std::string& GetFileName() const { return m_fileName; }
  uint32_t GetPositionMode() const { return m_positionMode; }
  float GetLoopFraction() const { return m_loopFraction; }
  bool GetLoadWhole() const { return m_loadWhole != 0; }
  ::Sound::SoundData* GetSoundData() const { return m_soundData; }
  ::Sound::SoundSource* GetSource() const { return m_source; }

  // The sound's part of a network record, after the game object's own: volume, pitch, intensity,
  // looping, playing.
  void NetworkSyncSend(NetworkFile& file) override;
  void NetworkSyncReceive(NetworkFile& file) override;

 private:
  // Stops the source and gives it back to the engine.
  void ReleaseSource();

  ::Sound::SoundData* m_soundData = nullptr;
  ::Sound::SoundSource* m_source = nullptr;
  std::string m_fileName;
  uint8_t m_looping = 0;
  float m_loopFraction = 0.0f;
  uint32_t m_positionMode = kUnpositioned;
  float m_volume = 1.0f;
  float m_pitch = 1.0f;
  float m_intensity = 0.0f;
  uint8_t m_loadWhole = 0;
};

// The game's sound engine, or null when there is none (no device, tests): every sound operation is
// then a no-op.
::Sound::SoundEngine* GetSoundEngine();

}  // namespace Quillon
