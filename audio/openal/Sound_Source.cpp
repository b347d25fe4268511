#include "audio/Sound_Source.h"

#include "audio/Sound_Data.h"
#include "audio/openal/Sound_OpenAL.h"
#include "math/Math_Vector3D.h"

namespace Sound {

namespace {

bool GetSourceInt(ALuint source, ALenum parameter, ALint& value) {
  value = 0;
  return CheckedAL([&] { alGetSourcei(source, parameter, &value); });
}

bool SetSourceInt(ALuint source, ALenum parameter, ALint value) {
  return CheckedAL([&] { alSourcei(source, parameter, value); });
}

bool SetSourceFloat(ALuint source, ALenum parameter, ALfloat value) {
  return CheckedAL([&] { alSourcef(source, parameter, value); });
}

bool CallOnSource(void (*call)(ALuint), ALuint source) {
  return CheckedAL([&] { call(source); });
}

// Unqueues `count` finished buffers; false on an OpenAL error.
bool UnqueueBuffers(ALuint source, ALint count) {
  if (count <= 0) return true;
  ALuint buffers[16];
  while (count > 0) {
    const ALint step = count < 16 ? count : 16;
    if (!CheckedAL([&] { alSourceUnqueueBuffers(source, step, buffers); })) return false;
    count -= step;
  }
  return true;
}

bool QueueBuffer(ALuint source, ALuint buffer) {
  return CheckedAL([&] { alSourceQueueBuffers(source, 1, &buffer); });
}

}  // namespace

SoundSource::~SoundSource() {
  DetachSound();
  if (m_sourceId != 0) {
    const ALuint id = m_sourceId;
    CheckedAL([&] { alDeleteSources(1, &id); });
  }
  m_sourceId = 0;
  m_created = false;
}

bool SoundSource::IsStarted(const SoundSource* source) {
  return source != nullptr && source->m_started.load(std::memory_order_acquire) != 0;
}

bool SoundSource::SetPosition(const float position[3]) {
  if (!CheckedAL([&] { alSource3f(m_sourceId, AL_POSITION, position[0], position[1], position[2]); })) return false;
  for (int i = 0; i < 3; ++i) m_position[i] = position[i];
  return true;
}

bool SoundSource::SetPosition(const Math::Vector3D& position) {
  const float values[3] = {position.x, position.y, position.z};
  return SetPosition(values);
}

bool SoundSource::SetLooping(bool looping) {
  if (m_kind == kSourceSingle) {
    if (!SetSourceInt(m_sourceId, AL_LOOPING, looping ? AL_TRUE : AL_FALSE)) return false;
  } else if (m_kind == kSourceIntroLoop) {
    // Once the intro is gone the loop part repeats through OpenAL's own looping, which has to
    // follow the wish both ways, or a sound told to stop looping would never end. The refill
    // thread switches to the loop part under the same lock, so it never acts on an old wish.
    std::lock_guard<std::mutex> lock(m_loopingMutex);
    ALint queued = 0;
    if (!looping) {
      if (!SetSourceInt(m_sourceId, AL_LOOPING, AL_FALSE)) return false;
    } else if (GetSourceInt(m_sourceId, AL_BUFFERS_QUEUED, queued) && queued == 1) {
      if (!SetSourceInt(m_sourceId, AL_LOOPING, AL_TRUE)) return false;
    }
    m_looping.store(looping ? 1 : 0, std::memory_order_release);
    return true;
  }
  m_looping.store(looping ? 1 : 0, std::memory_order_release);
  return true;
}

bool SoundSource::SetGain(float gain) {
  if (!SetSourceFloat(m_sourceId, AL_GAIN, gain)) return false;
  m_gain = gain;
  return true;
}

bool SoundSource::SetPitch(float pitch) {
  if (!SetSourceFloat(m_sourceId, AL_PITCH, pitch)) return false;
  m_pitch = pitch;
  return true;
}

bool SoundSource::SetReferenceDistance(float distance) {
  if (!SetSourceFloat(m_sourceId, AL_REFERENCE_DISTANCE, distance)) return false;
  m_referenceDistance = distance;
  return true;
}

bool SoundSource::Create(bool relative, bool looping) {
  if (m_created) return false;
  ALuint id = 0;
  if (!CheckedAL([&] { alGenSources(1, &id); }) || id == 0) return false;
  m_sourceId = id;
  if (!SetSourceInt(id, AL_SOURCE_RELATIVE, relative ? AL_TRUE : AL_FALSE) || !SetLooping(looping)) {
    CheckedAL([&] { alDeleteSources(1, &id); });
    m_sourceId = 0;
    return false;
  }
  m_relative = relative ? 1 : 0;
  m_created = true;
  return true;
}

bool SoundSource::AttachSound(SoundData* sound) {
  if (sound == nullptr) return DetachSound();
  StopAndRewind();
  if (m_sound != nullptr && !DetachSound()) return false;

  const std::vector<std::uint32_t>& buffers = sound->m_buffers;
  const ALuint id = m_sourceId;
  if (buffers.empty()) return false;
  if (buffers.size() == 1) {
    if (!SetSourceInt(id, AL_BUFFER, static_cast<ALint>(buffers[0]))) return false;
    m_kind = kSourceSingle;
    if (!SetLooping(m_looping.load() != 0)) {
      m_kind = kSourceNone;
      SetSourceInt(id, AL_BUFFER, 0);
      return false;
    }
  } else {
    if (!CheckedAL([&] { alSourceQueueBuffers(id, static_cast<ALsizei>(buffers.size()), buffers.data()); })) {
      return false;
    }
    m_kind = buffers.size() == 2 && sound->m_loopFraction != 0.0f ? kSourceIntroLoop : kSourceStreamed;
  }
  m_sound = sound;
  return true;
}

bool SoundSource::DetachSound() {
  if (!m_created) {
    m_kind = kSourceNone;
    m_sound = nullptr;
    return true;
  }
  StopAndRewind();
  m_kind = kSourceNone;
  // A looping flag left on the OpenAL source would make the next queued sound repeat its first buffer.
  SetSourceInt(m_sourceId, AL_LOOPING, AL_FALSE);
  const bool cleared = SetSourceInt(m_sourceId, AL_BUFFER, 0);
  m_sound = nullptr;
  return cleared;
}

bool SoundSource::StopAndRewind() {
  if (!CallOnSource(alSourceStop, m_sourceId)) return false;
  m_started.store(0, std::memory_order_release);
  if (m_kind == kSourceStreamed || m_kind == kSourceIntroLoop) return Rewind();
  return true;
}

bool SoundSource::FillAndQueue(std::uint32_t buffer) {
  std::uint32_t bytes = 0;
  if (m_sound->ReadChunk(bytes) != kResultOk || bytes == 0) return false;
  const WaveInfo& wave = m_sound->m_wave;
  const ALuint name = buffer;
  if (!CheckedAL([&] {
        alBufferData(name, static_cast<ALenum>(m_sound->m_format), wave.data.data(), static_cast<ALsizei>(bytes),
                     static_cast<ALsizei>(wave.samplesPerSecond));
      })) {
    return false;
  }
  return QueueBuffer(m_sourceId, name);
}

bool SoundSource::Rewind() {
  ALint state = 0;
  const bool wasPlaying = GetSourceInt(m_sourceId, AL_SOURCE_STATE, state) && state == AL_PLAYING;
  const ALuint id = m_sourceId;

  if ((m_kind == kSourceStreamed || m_kind == kSourceIntroLoop) && m_sound != nullptr) {
    // Unqueueing is refused while OpenAL loops the source.
    if (m_kind == kSourceIntroLoop && !SetSourceInt(id, AL_LOOPING, AL_FALSE)) return false;
    if (!CallOnSource(alSourceStop, id)) return false;
    ALint processed = 0;
    ALint queued = 0;
    if (!GetSourceInt(id, AL_BUFFERS_PROCESSED, processed) || !UnqueueBuffers(id, processed)) return false;
    if (!GetSourceInt(id, AL_BUFFERS_QUEUED, queued)) return false;
    if (queued == 0) {
      const std::vector<std::uint32_t>& buffers = m_sound->m_buffers;
      if (m_kind == kSourceStreamed) {
        m_sound->RewindData();
        for (std::uint32_t buffer : buffers) {
          if (!FillAndQueue(buffer)) break;
        }
      } else if (!CheckedAL([&] { alSourceQueueBuffers(id, 2, buffers.data()); })) {
        return false;
      }
    }
  }
  if (!CallOnSource(alSourceRewind, id)) return false;
  if (wasPlaying) {
    if (!CallOnSource(alSourcePlay, id)) return false;
    m_started.store(1, std::memory_order_release);
  }
  return true;
}

bool SoundSource::Play() {
  if (!CallOnSource(alSourcePlay, m_sourceId)) return false;
  m_started.store(1, std::memory_order_release);
  return true;
}

bool SoundSource::IsPlayingOrPaused() const {
  ALint state = 0;
  return GetSourceInt(m_sourceId, AL_SOURCE_STATE, state) && (state == AL_PLAYING || state == AL_PAUSED);
}

void SoundSource::Service() {
  if (m_started.load(std::memory_order_acquire) == 0) return;
  switch (m_kind) {
    case kSourceSingle: ServiceSingle(); break;
    case kSourceIntroLoop: ServiceIntroLoop(); break;
    case kSourceStreamed: ServiceStreamed(); break;
    default: break;
  }
}

void SoundSource::ServiceSingle() {
  if (IsPlayingOrPaused()) return;
  if (CallOnSource(alSourceStop, m_sourceId)) m_started.store(0, std::memory_order_release);
}

void SoundSource::ServiceIntroLoop() {
  const ALuint id = m_sourceId;
  std::lock_guard<std::mutex> lock(m_loopingMutex);
  if (m_looping.load(std::memory_order_acquire) == 0) {
    // Intro and loop part played once: the sound has ended; the next Play starts at the intro.
    if (!IsPlayingOrPaused()) StopAndRewind();
    return;
  }
  ALint processed = 0;
  ALint queued = 0;
  if (!GetSourceInt(id, AL_BUFFERS_PROCESSED, processed) || processed <= 0) return;
  if (!GetSourceInt(id, AL_BUFFERS_QUEUED, queued)) return;
  if (queued == 2 && processed == 1) {
    // The intro has played: from here OpenAL repeats the loop part on its own.
    if (UnqueueBuffers(id, 1)) SetSourceInt(id, AL_LOOPING, AL_TRUE);
    return;
  }
  // The source ran past everything queued before this pass: start the loop part alone.
  if (!UnqueueBuffers(id, processed)) return;
  const ALuint loopPart = m_sound->m_buffers[1];
  if (!QueueBuffer(id, loopPart) || !SetSourceInt(id, AL_LOOPING, AL_TRUE)) return;
  if (CallOnSource(alSourcePlay, id)) m_started.store(1, std::memory_order_release);
}

void SoundSource::ServiceStreamed() {
  const ALuint id = m_sourceId;
  const bool looping = m_looping.load(std::memory_order_acquire) != 0;
  ALint processed = 0;
  GetSourceInt(id, AL_BUFFERS_PROCESSED, processed);
  for (ALint i = 0; i < processed; ++i) {
    ALuint buffer = 0;
    if (!CheckedAL([&] { alSourceUnqueueBuffers(id, 1, &buffer); })) break;
    if (!FillAndQueue(buffer) && looping) {
      m_sound->RewindData();
      FillAndQueue(buffer);
    }
  }
  if (IsPlayingOrPaused()) return;

  ALint queued = 0;
  GetSourceInt(id, AL_BUFFERS_QUEUED, queued);
  if (queued > 0) {
    // Ran dry before this pass refilled it.
    if (CallOnSource(alSourcePlay, id)) m_started.store(1, std::memory_order_release);
    return;
  }
  if (looping) {
    m_sound->RewindData();
    for (std::uint32_t buffer : m_sound->m_buffers) {
      if (!FillAndQueue(buffer)) break;
    }
    if (CallOnSource(alSourcePlay, id)) m_started.store(1, std::memory_order_release);
    return;
  }
  // The stream has ended: stop, and refill from the start so that a later Play starts over.
  StopAndRewind();
}

}  // namespace Sound
