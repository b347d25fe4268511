#pragma once
// One sound file prepared for playback: loaded whole into one buffer, split into an intro part
// and a loop part, or kept open and streamed chunk by chunk through a few buffers.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "audio/Sound_WaveParser.h"
#include "core/Core_MemoryManager.h"

namespace Sound {

class SoundEngine;
class SoundSource;
struct OggDecoder;

// The wave header of a sound plus its PCM bytes and the open file it streams from.
struct WaveInfo : WaveFormat {
  std::vector<std::uint8_t> data;  // PCM bytes: the whole sound, or one stream chunk
  std::FILE* file = nullptr;

  // Frees the PCM data, closes the file and forgets the header.
  void Reset();
};

// Turns Ogg Vorbis decoding on and off for the process. Every engine enables it while it
// lives; it stays on until the last one disables it.
void EnableOggDecoding();
void DisableOggDecoding();
bool IsOggDecodingEnabled();

class SoundData : public Core::Base {
 public:
  SoundData();
  ~SoundData();
  SoundData(const SoundData&) = delete;
  SoundData& operator=(const SoundData&) = delete;

  // Sets the kind from the name's last three letters; see Sound::DetectKind for the codes.
  std::int32_t DetectKind(const std::string& name);
  // Opens the file and reads its header; the file (or decoder) stays open.
  std::int32_t Open(const std::string& name);
  // Picks the OpenAL format for the open file; kResultNotOpen when nothing is open.
  std::int32_t ChooseFormat();
  // Reads the next chunk of the stream into the data buffer; `bytes` is what it holds.
  std::int32_t ReadChunk(std::uint32_t& bytes);
  std::int32_t RewindData();
  std::int32_t SeekData(std::uint32_t offset);
  std::int32_t CloseFile();
  // Open, read every PCM byte into memory, close.
  std::int32_t LoadWhole(const std::string& name);

  const std::string& GetName() const { return m_name; }
  double GetLength() const { return m_wave.length; }
  std::uint32_t GetKind() const { return m_kind; }
  const WaveInfo& GetWaveInfo() const { return m_wave; }
  std::uint32_t GetFormat() const { return m_format; }
  std::uint32_t GetBufferCount() const { return static_cast<std::uint32_t>(m_buffers.size()); }
  std::uint32_t GetChunkSize() const { return m_chunkSize; }
  float GetLoopFraction() const { return m_loopFraction; }

 private:
  friend class SoundEngine;
  friend class SoundSource;

  bool IsOpen() const;
  void ClearDecoder();

  std::uint32_t m_kind = kKindWav;
  WaveInfo m_wave;
  std::unique_ptr<OggDecoder> m_decoder;  // null when closed
  std::string m_name;
  std::uint32_t m_format = 0;
  std::vector<std::uint32_t> m_buffers;  // OpenAL buffer names
  std::uint32_t m_chunkSize = 0;
  float m_loopFraction = 0.0f;
};

// One row of the engine's table of shared, wholly loaded sounds.
struct LoadedSoundEntry {
  std::string name;
  float loopFraction = 0.0f;
  SoundData* sound = nullptr;
};

}  // namespace Sound
