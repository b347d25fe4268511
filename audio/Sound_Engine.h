#pragma once
// The sound engine: one output device, the sources playing on it, the loaded sounds, and the
// refill thread that feeds streamed sources, turns intro-and-loop sounds into a repeating
// loop and notices sounds that have ended.
//
// When no output device opens, Initialize returns false and the engine stays silent: loaders
// return null, CreateSource returns null and every playback call returns false, so the game
// runs on without sound.
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "audio/Sound_Data.h"
#include "audio/Sound_Source.h"
#include "platform/PAL_ThreadManager.h"

namespace Math {
class Vector3D;
}

namespace Sound {

struct DeviceHandles;

class SoundEngine {
 public:
  // Streams of at least this many PCM bytes are streamed by LoadSoundOrStream.
  static constexpr std::uint32_t kDefaultStreamLimit = 0x40000;
  // Distance models 0..6: none, inverse, inverse clamped, linear, linear clamped, exponent,
  // exponent clamped.
  static constexpr std::uint32_t kDistanceInverseClamped = 2;

  // Lists the output devices and enables Ogg Vorbis decoding.
  SoundEngine();
  ~SoundEngine();
  SoundEngine(const SoundEngine&) = delete;
  SoundEngine& operator=(const SoundEngine&) = delete;

  // Opens the device (-1: the default one), starts the refill thread waking every `periodMs`.
  // False, with everything undone, when any step fails or when already initialised.
  bool Initialize(std::int32_t deviceIndex, std::uint32_t periodMs);
  // Stops the refill thread, frees every source and sound and closes the device.
  void Shutdown();
  bool IsInitialized() const { return m_initialised; }

  bool SetListenerPosition(const Math::Vector3D& position);
  const float* GetListenerPosition() const { return m_listenerPosition; }
  bool SetMasterVolume(float gain);
  float GetMasterVolume() const { return m_masterGain; }
  // 0..6 select a model; 7 and above are stored without calling OpenAL.
  bool SetDistanceModel(std::uint32_t index);
  std::uint32_t GetDistanceModel() const { return m_distanceModel; }

  SoundSource* CreateSource(SoundData* sound, bool relative, bool looping);
  bool DestroySource(SoundSource* source);
  bool Play(SoundSource* source);
  bool Stop(SoundSource* source);
  bool Rewind(SoundSource* source);
  // The framework's name for Rewind.
  bool RefillStream(SoundSource* source) { return Rewind(source); }
  bool Pause(SoundSource* source);
  bool IsPlaying(SoundSource* source);
  bool IsStarted(const SoundSource* source) const { return SoundSource::IsStarted(source); }
  // Stops and frees every source (handles become invalid) and releases every loaded sound.
  void Reset();

  // Loaded whole; a fraction other than 0 splits it into an intro and a loop part. Shared
  // through FindLoadedSound.
  SoundData* LoadSound(const std::string& name, float loopFraction);
  // Streamed (two buffers of half a second) when its PCM data holds at least `sizeLimit`
  // bytes, else loaded whole.
  SoundData* LoadSoundOrStream(const std::string& name, std::uint32_t sizeLimit);
  SoundData* LoadStream(const std::string& name, float secondsPerBuffer, std::uint32_t bufferCount);
  SoundData* FindLoadedSound(const std::string& name, float loopFraction) const;
  // Frees every loaded sound; sources playing them are stopped and left without a sound.
  void ReleaseAllSounds();

  const std::vector<std::string>& GetDeviceNames() const { return m_deviceNames; }
  std::uint32_t GetDefaultDeviceIndex() const { return m_defaultDevice; }
  const std::string& GetVendor() const { return m_vendor; }
  const std::string& GetVersion() const { return m_version; }
  const std::string& GetRenderer() const { return m_renderer; }
  float GetSpeedOfSound() const { return m_speedOfSound; }
  std::uint32_t GetUpdatePeriod() const { return m_updatePeriod; }
  // Sources in the list, the default source included.
  std::size_t GetSourceCount() const { return m_sources.size(); }
  std::size_t GetLoadedSoundCount() const { return m_sounds.size(); }

 private:
  static void RefillThread(PAL::Thread* thread);
  // Stops the refill thread and waits until it has left the engine for good.
  void StopRefillThread();
  void DestroyLocks();
  void CloseDevice();
  void DestroyAllSources();
  // Frees every loaded record; the caller keeps the refill thread out and no source uses them.
  void ReleaseSounds();

  bool m_initialised = false;
  PAL::ThreadManager m_threadManager;
  PAL::Thread* m_thread = nullptr;
  PAL::MutexHandle m_sourceMutex = nullptr;
  PAL::MutexHandle m_exitMutex = nullptr;
  PAL::ConditionHandle m_exitCondition = nullptr;
  bool m_threadExited = false;  // guarded by m_exitMutex
  std::vector<std::string> m_deviceNames;
  std::uint32_t m_defaultDevice = 0;
  DeviceHandles* m_device = nullptr;  // the ALC device and context; null when closed
  std::string m_vendor;
  std::string m_version;
  std::string m_renderer;
  std::vector<SoundData*> m_sounds;
  std::vector<LoadedSoundEntry> m_loadedSounds;
  float m_listenerPosition[3] = {0.0f, 0.0f, 0.0f};
  float m_masterGain = 1.0f;
  float m_speedOfSound = 0.0f;
  std::uint32_t m_distanceModel = kDistanceInverseClamped;
  SoundSource* m_defaultSource = nullptr;
  std::list<SoundSource> m_sources;
  std::uint32_t m_updatePeriod = 1;
};

}  // namespace Sound
