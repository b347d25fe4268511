#pragma once
// One playing voice: an OpenAL source with the sound attached to it. Sources live in the
// engine's list and their address is the handle clients hold.
#include <atomic>
#include <cstdint>
#include <mutex>

namespace Math {
class Vector3D;
}

namespace Sound {

class SoundData;
class SoundEngine;

enum SourceKind : std::uint32_t {
  kSourceNone = 0,       // no sound attached
  kSourceSingle = 1,     // the sound's one buffer
  kSourceIntroLoop = 2,  // an intro buffer, then a loop buffer
  kSourceStreamed = 3,   // the sound's buffers refilled from its stream
};

class SoundSource {
 public:
  SoundSource() = default;
  // Detaches the sound and deletes the OpenAL source.
  ~SoundSource();
  SoundSource(const SoundSource&) = delete;
  SoundSource& operator=(const SoundSource&) = delete;

  bool SetPosition(const float position[3]);
  bool SetPosition(const Math::Vector3D& position);
  // A single-buffer source loops in OpenAL; the other kinds loop through the refill thread.
  bool SetLooping(bool looping);
  bool SetGain(float gain);
  float GetGain() const { return m_gain; }
  bool SetPitch(float pitch);
  float GetPitch() const { return m_pitch; }
  bool SetReferenceDistance(float distance);
  SoundData* GetSoundData() const { return m_sound; }
  SourceKind GetKind() const { return m_kind; }
  bool IsLooping() const { return m_looping != 0; }
  const float* GetPosition() const { return m_position; }

  // True from Play until Stop or until the refill thread finds the sound ended; false for null.
  static bool IsStarted(const SoundSource* source);

 private:
  friend class SoundEngine;

  bool Create(bool relative, bool looping);
  bool AttachSound(SoundData* sound);
  bool DetachSound();
  // Back to the start, keeping the play state: a streamed source is refilled from the data's
  // start, an intro-and-loop source gets its intro back.
  bool Rewind();
  bool Play();
  bool IsPlayingOrPaused() const;
  // Stops the source; clears started and rewinds the kinds that need it. False on an error.
  bool StopAndRewind();
  // The refill thread's work on this source for one pass.
  void Service();
  void ServiceSingle();
  void ServiceIntroLoop();
  void ServiceStreamed();
  // Reads the next chunk into `buffer` and queues it; false when there was nothing to read.
  bool FillAndQueue(std::uint32_t buffer);

  bool m_created = false;
  SourceKind m_kind = kSourceNone;
  float m_position[3] = {0.0f, 0.0f, 0.0f};
  std::uint8_t m_relative = 0;
  std::atomic<std::uint8_t> m_looping{0};  // set by clients, read by the refill thread
  // An intro-and-loop source's looping wish and OpenAL's looping flag change together under it.
  std::mutex m_loopingMutex;
  // Written by the refill thread, read by clients without the engine's lock.
  std::atomic<std::uint8_t> m_started{0};
  float m_gain = 1.0f;
  float m_pitch = 1.0f;
  float m_referenceDistance = 0.0f;
  std::uint32_t m_sourceId = 0;
  SoundData* m_sound = nullptr;
};

}  // namespace Sound
