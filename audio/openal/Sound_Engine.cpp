#include "audio/Sound_Engine.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "audio/openal/Sound_OpenAL.h"
#include "math/Math_Vector3D.h"

namespace Sound {

namespace {

constexpr std::uint32_t kSleepStepMs = 10;

std::string ALString(ALenum name) {
  const ALchar* text = alGetString(name);
  return text != nullptr ? std::string(text) : std::string();
}

}  // namespace

SoundEngine::SoundEngine() {
  const ALCchar* names = alcGetString(nullptr, ALC_DEVICE_SPECIFIER);
  const ALCchar* defaultName = alcGetString(nullptr, ALC_DEFAULT_DEVICE_SPECIFIER);
  for (const ALCchar* name = names; name != nullptr && *name != '\0'; name += std::strlen(name) + 1) {
    if (defaultName != nullptr && std::strcmp(name, defaultName) == 0) {
      m_defaultDevice = static_cast<std::uint32_t>(m_deviceNames.size());
    }
    m_deviceNames.emplace_back(name);
  }
  EnableOggDecoding();
}

SoundEngine::~SoundEngine() {
  Shutdown();
  ReleaseSounds();
  DisableOggDecoding();
  m_sources.clear();
}

bool SoundEngine::Initialize(std::int32_t deviceIndex, std::uint32_t periodMs) {
  if (m_initialised) return false;
  m_updatePeriod = periodMs;

  m_sourceMutex = m_threadManager.CreateMutex(0);
  m_exitMutex = m_sourceMutex != nullptr ? m_threadManager.CreateMutex(0) : nullptr;
  m_exitCondition = m_exitMutex != nullptr ? m_threadManager.CreateCondition() : nullptr;
  if (m_exitCondition == nullptr) {
    DestroyLocks();
    return false;
  }

  m_threadExited = false;
  m_thread = m_threadManager.CreateThread(&SoundEngine::RefillThread, nullptr, this,
                                          PAL::ThreadManager::GetNormalPriority(), false);
  if (m_thread == nullptr) {
    DestroyLocks();
    return false;
  }

  // An empty list (no device enumerated) still lets OpenAL try its default device.
  const char* deviceName = nullptr;
  std::uint32_t chosen = m_defaultDevice;
  if (deviceIndex >= 0 && static_cast<std::size_t>(deviceIndex) < m_deviceNames.size()) {
    chosen = static_cast<std::uint32_t>(deviceIndex);
  }
  if (chosen < m_deviceNames.size()) deviceName = m_deviceNames[chosen].c_str();

  m_device = new DeviceHandles();
  m_device->device = alcOpenDevice(deviceName);
  bool ready = m_device->device != nullptr;
  if (ready) {
    m_device->context = alcCreateContext(m_device->device, nullptr);
    ready = m_device->context != nullptr && alcMakeContextCurrent(m_device->context) == ALC_TRUE;
  }
  if (ready && PAL::ThreadManager::LockMutex(m_sourceMutex)) {
    m_sources.emplace_back();
    m_defaultSource = &m_sources.back();
    ready = m_defaultSource->Create(true, false);
    if (!ready) {
      m_sources.pop_back();
      m_defaultSource = nullptr;
    }
    PAL::ThreadManager::UnlockMutex(m_sourceMutex);
  } else {
    ready = false;
  }
  if (!ready) {
    // Undo in reverse: the thread first, so nothing walks the list while it goes.
    StopRefillThread();
    DestroyAllSources();
    DestroyLocks();
    CloseDevice();
    return false;
  }

  ALfloat speed = 0.0f;
  if (CheckedAL([&] { alGetFloatv(AL_SPEED_OF_SOUND, &speed); })) m_speedOfSound = speed;
  SetDistanceModel(m_distanceModel);
  m_vendor = ALString(AL_VENDOR);
  m_version = ALString(AL_VERSION);
  m_renderer = ALString(AL_RENDERER);
  m_initialised = true;
  return true;
}

void SoundEngine::StopRefillThread() {
  if (m_thread == nullptr) return;
  if (PAL::ThreadManager::LockMutex(m_exitMutex)) {
    m_threadManager.StopThread(m_thread, false);
    // The flag, not the wake-up, says the thread is gone: wake-ups may be spurious.
    while (!m_threadExited) {
      if (!PAL::ThreadManager::WaitCondition(m_exitCondition, m_exitMutex)) {
        PAL::ThreadManager::UnlockMutex(m_exitMutex);
        PAL::ThreadManager::Sleep(1, nullptr);
        PAL::ThreadManager::LockMutex(m_exitMutex);
      }
    }
    PAL::ThreadManager::UnlockMutex(m_exitMutex);
  }
  m_thread = nullptr;
}

void SoundEngine::DestroyLocks() {
  if (m_exitCondition != nullptr) m_threadManager.DestroyCondition(m_exitCondition);
  if (m_exitMutex != nullptr) m_threadManager.DestroyMutex(m_exitMutex);
  if (m_sourceMutex != nullptr) m_threadManager.DestroyMutex(m_sourceMutex);
  m_exitCondition = nullptr;
  m_exitMutex = nullptr;
  m_sourceMutex = nullptr;
}

void SoundEngine::CloseDevice() {
  if (m_device == nullptr) return;
  alcMakeContextCurrent(nullptr);
  if (m_device->context != nullptr) alcDestroyContext(m_device->context);
  if (m_device->device != nullptr) alcCloseDevice(m_device->device);
  delete m_device;
  m_device = nullptr;
}

void SoundEngine::DestroyAllSources() {
  for (SoundSource& source : m_sources) source.StopAndRewind();
  m_sources.clear();
  m_defaultSource = nullptr;
}

void SoundEngine::Shutdown() {
  if (!m_initialised) return;
  StopRefillThread();
  // Sources and buffers go while their context still exists.
  DestroyAllSources();
  ReleaseSounds();
  DestroyLocks();
  m_vendor.clear();
  m_version.clear();
  m_renderer.clear();
  m_speedOfSound = 0.0f;
  CloseDevice();
  m_initialised = false;
}

void SoundEngine::RefillThread(PAL::Thread* thread) {
  SoundEngine* engine = static_cast<SoundEngine*>(thread->GetUserData());
  const std::uint32_t period = engine->m_updatePeriod;
  while (thread->IsRunning()) {
    if (PAL::ThreadManager::LockMutex(engine->m_sourceMutex)) {
      for (SoundSource& source : engine->m_sources) source.Service();
      PAL::ThreadManager::UnlockMutex(engine->m_sourceMutex);
    }
    // The platform's cancellable sleep wakes every millisecond, which alone would cost more
    // than the refilling; steps of a few milliseconds still answer a stop request promptly.
    for (std::uint32_t slept = 0; slept < period && thread->IsRunning(); slept += kSleepStepMs) {
      PAL::ThreadManager::Sleep(std::min(kSleepStepMs, period - slept), nullptr);
    }
  }
  PAL::ThreadManager::LockMutex(engine->m_exitMutex);
  engine->m_threadExited = true;
  PAL::ThreadManager::SignalCondition(engine->m_exitCondition, false);
  PAL::ThreadManager::UnlockMutex(engine->m_exitMutex);
}

bool SoundEngine::SetListenerPosition(const Math::Vector3D& position) {
  if (!m_initialised) return false;
  if (!CheckedAL([&] { alListener3f(AL_POSITION, position.x, position.y, position.z); })) return false;
  m_listenerPosition[0] = position.x;
  m_listenerPosition[1] = position.y;
  m_listenerPosition[2] = position.z;
  return true;
}

bool SoundEngine::SetMasterVolume(float gain) {
  if (!m_initialised) return false;
  if (!CheckedAL([&] { alListenerf(AL_GAIN, gain); })) return false;
  m_masterGain = gain;
  return true;
}

bool SoundEngine::SetDistanceModel(std::uint32_t index) {
  static const ALenum kModels[7] = {AL_NONE,
                                    AL_INVERSE_DISTANCE,
                                    AL_INVERSE_DISTANCE_CLAMPED,
                                    AL_LINEAR_DISTANCE,
                                    AL_LINEAR_DISTANCE_CLAMPED,
                                    AL_EXPONENT_DISTANCE,
                                    AL_EXPONENT_DISTANCE_CLAMPED};
  if (index < 7) {
    // Without a context the model is only remembered; Initialize applies it.
    if (m_device != nullptr && !CheckedAL([&] { alDistanceModel(kModels[index]); })) return false;
  }
  m_distanceModel = index;
  return true;
}

SoundSource* SoundEngine::CreateSource(SoundData* sound, bool relative, bool looping) {
  if (sound == nullptr || !m_initialised || !PAL::ThreadManager::LockMutex(m_sourceMutex)) return nullptr;
  m_sources.emplace_back();
  SoundSource* source = &m_sources.back();
  const bool made = source->Create(relative, looping) && source->AttachSound(sound);
  if (!made) m_sources.pop_back();
  PAL::ThreadManager::UnlockMutex(m_sourceMutex);
  return made ? source : nullptr;
}

bool SoundEngine::DestroySource(SoundSource* source) {
  if (source == nullptr || !m_initialised || !PAL::ThreadManager::LockMutex(m_sourceMutex)) return false;
  auto found = std::find_if(m_sources.begin(), m_sources.end(), [&](const SoundSource& s) { return &s == source; });
  const bool present = found != m_sources.end();
  if (present) {
    found->StopAndRewind();
    if (source == m_defaultSource) m_defaultSource = nullptr;
    m_sources.erase(found);
  }
  PAL::ThreadManager::UnlockMutex(m_sourceMutex);
  return present;
}

bool SoundEngine::Play(SoundSource* source) {
  if (source == nullptr || !m_initialised || !PAL::ThreadManager::LockMutex(m_sourceMutex)) return false;
  ALint state = 0;
  const bool playing = CheckedAL([&] { alGetSourcei(source->m_sourceId, AL_SOURCE_STATE, &state); }) &&
                       state == AL_PLAYING;
  const bool played = !playing && source->Play();
  PAL::ThreadManager::UnlockMutex(m_sourceMutex);
  return played;
}

bool SoundEngine::Stop(SoundSource* source) {
  if (source == nullptr || !m_initialised || !PAL::ThreadManager::LockMutex(m_sourceMutex)) return false;
  const bool stopped = source->StopAndRewind();
  PAL::ThreadManager::UnlockMutex(m_sourceMutex);
  return stopped;
}

bool SoundEngine::Rewind(SoundSource* source) {
  if (source == nullptr || !m_initialised || !PAL::ThreadManager::LockMutex(m_sourceMutex)) return false;
  const bool rewound = source->Rewind();
  PAL::ThreadManager::UnlockMutex(m_sourceMutex);
  return rewound;
}

bool SoundEngine::Pause(SoundSource* source) {
  if (source == nullptr || !m_initialised) return false;
  const ALuint id = source->m_sourceId;
  return CheckedAL([&] { alSourcePause(id); });
}

bool SoundEngine::IsPlaying(SoundSource* source) {
  if (source == nullptr || !m_initialised) return false;
  ALint state = 0;
  const ALuint id = source->m_sourceId;
  return CheckedAL([&] { alGetSourcei(id, AL_SOURCE_STATE, &state); }) && state == AL_PLAYING;
}

void SoundEngine::Reset() {
  if (!m_initialised || !PAL::ThreadManager::LockMutex(m_sourceMutex)) return;
  DestroyAllSources();
  ReleaseSounds();
  PAL::ThreadManager::UnlockMutex(m_sourceMutex);
}

SoundData* SoundEngine::LoadSound(const std::string& name, float loopFraction) {
  if (!m_initialised) return nullptr;
  SoundData* sound = CORE_NEW SoundData();
  if (sound->LoadWhole(name) != kResultOk) {
    delete sound;
    return nullptr;
  }
  const WaveInfo& wave = sound->m_wave;
  const ALenum format = static_cast<ALenum>(sound->m_format);
  const ALsizei rate = static_cast<ALsizei>(wave.samplesPerSecond);
  bool ok = true;
  float stored = 0.0f;
  if (loopFraction == 0.0f) {
    sound->m_buffers.assign(1, 0);
    ok = CheckedAL([&] { alGenBuffers(1, sound->m_buffers.data()); }) &&
         CheckedAL([&] {
           alBufferData(sound->m_buffers[0], format, wave.data.data(), static_cast<ALsizei>(wave.dataSize), rate);
         });
  } else {
    stored = std::isnan(loopFraction) ? 0.0f : std::min(1.0f, std::max(0.0f, loopFraction));
    sound->m_loopFraction = stored;
    std::uint32_t split = static_cast<std::uint32_t>(static_cast<double>(wave.dataSize) * stored);
    split -= split % wave.blockAlignment;
    split = std::min(split, wave.dataSize);
    sound->m_buffers.assign(2, 0);
    ok = CheckedAL([&] { alGenBuffers(2, sound->m_buffers.data()); }) &&
         CheckedAL([&] {
           alBufferData(sound->m_buffers[0], format, wave.data.data(), static_cast<ALsizei>(split), rate);
         }) &&
         CheckedAL([&] {
           alBufferData(sound->m_buffers[1], format, wave.data.data() + split,
                        static_cast<ALsizei>(wave.dataSize - split), rate);
         });
  }
  if (!ok) {
    delete sound;
    return nullptr;
  }
  std::vector<std::uint8_t>().swap(sound->m_wave.data);
  m_sounds.push_back(sound);
  m_loadedSounds.push_back(LoadedSoundEntry{name, stored, sound});
  return sound;
}

SoundData* SoundEngine::LoadStream(const std::string& name, float secondsPerBuffer, std::uint32_t bufferCount) {
  if (!m_initialised) return nullptr;
  SoundData* sound = CORE_NEW SoundData();
  if (sound->Open(name) != kResultOk) {
    delete sound;
    return nullptr;
  }
  const std::uint32_t count = std::max<std::uint32_t>(bufferCount, 2);
  sound->m_buffers.assign(count, 0);
  if (!CheckedAL([&] { alGenBuffers(static_cast<ALsizei>(count), sound->m_buffers.data()); })) {
    sound->m_buffers.clear();
    delete sound;
    return nullptr;
  }
  const WaveInfo& wave = sound->m_wave;
  const double seconds = std::isfinite(secondsPerBuffer) ? std::min(std::max(secondsPerBuffer, 0.0f), 60.0f) : 0.5;
  std::uint32_t chunk = static_cast<std::uint32_t>(wave.averageBytesPerSecond * seconds);
  chunk -= chunk % wave.blockAlignment;
  if (chunk == 0) chunk = wave.blockAlignment;
  sound->m_chunkSize = chunk;
  sound->m_wave.data.assign(chunk, 0);

  bool ok = true;
  for (std::uint32_t buffer : sound->m_buffers) {
    std::uint32_t bytes = 0;
    sound->ReadChunk(bytes);
    ok = ok && CheckedAL([&] {
           alBufferData(buffer, static_cast<ALenum>(sound->m_format), wave.data.data(), static_cast<ALsizei>(bytes),
                        static_cast<ALsizei>(wave.samplesPerSecond));
         });
  }
  if (!ok) {
    delete sound;
    return nullptr;
  }
  m_sounds.push_back(sound);
  return sound;
}

SoundData* SoundEngine::LoadSoundOrStream(const std::string& name, std::uint32_t sizeLimit) {
  if (!m_initialised) return nullptr;
  std::uint32_t dataSize = 0;
  {
    SoundData probe;
    if (probe.Open(name) != kResultOk) return nullptr;
    dataSize = probe.m_wave.dataSize;
    probe.CloseFile();
  }
  if (dataSize >= sizeLimit) return LoadStream(name, 0.5f, 2);
  return LoadSound(name, 0.0f);
}

SoundData* SoundEngine::FindLoadedSound(const std::string& name, float loopFraction) const {
  for (const LoadedSoundEntry& entry : m_loadedSounds) {
    if (entry.name == name && entry.loopFraction == loopFraction) return entry.sound;
  }
  return nullptr;
}

void SoundEngine::ReleaseAllSounds() {
  // The refill thread reads streamed sounds: they may only go while it is kept out, and no
  // source may keep playing from a freed record.
  const bool locked = m_sourceMutex != nullptr && PAL::ThreadManager::LockMutex(m_sourceMutex);
  if (m_sourceMutex != nullptr && !locked) return;
  for (SoundSource& source : m_sources) {
    if (source.m_sound != nullptr) source.DetachSound();
  }
  ReleaseSounds();
  if (locked) PAL::ThreadManager::UnlockMutex(m_sourceMutex);
}

void SoundEngine::ReleaseSounds() {
  for (SoundData* sound : m_sounds) delete sound;
  m_sounds.clear();
  m_loadedSounds.clear();
}

}  // namespace Sound
