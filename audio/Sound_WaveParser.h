#pragma once
// The device-free part of reading sound files: result codes, the RIFF WAVE chunk walk over any
// byte source, the choice of an output format name and the six-channel reorder. Nothing here
// touches a device, so the parser can be tested and fuzzed on plain bytes.
#include <cstddef>
#include <cstdint>

namespace Sound {

// Result codes of the sound-file routines.
constexpr std::int32_t kResultOk = 0;
constexpr std::int32_t kResultFileError = -1;
constexpr std::int32_t kResultFormatError = -2;
constexpr std::int32_t kResultNotOpen = -13;
constexpr std::int32_t kResultOggDisabled = -16;

constexpr std::uint32_t kKindWav = 0;
constexpr std::uint32_t kKindOgg = 1;

// Highest sample rate accepted; keeps the byte-rate arithmetic far from overflow.
constexpr std::uint32_t kMaximumSampleRate = 768000;

// The fields of the extensible wave format header plus where the PCM data lies.
struct WaveFormat {
  std::uint32_t formatType = 1;  // 1 plain PCM header, 2 extensible header
  std::uint16_t formatTag = 0;
  std::uint16_t channels = 0;
  std::uint32_t samplesPerSecond = 0;
  std::uint32_t averageBytesPerSecond = 0;
  std::uint16_t blockAlignment = 0;
  std::uint16_t bitsPerSample = 0;
  std::uint16_t extraFormatSize = 0;
  std::uint16_t validBitsPerSample = 0;
  std::uint32_t channelMask = 0;
  std::uint8_t subFormat[16] = {};
  std::uint32_t dataSize = 0;    // bytes of PCM present, a whole number of frames
  std::uint32_t dataOffset = 0;  // position of the first PCM byte
  double length = 0.0;           // seconds
};

// What the chunk walk reads from: a file or a block of memory.
class ByteReader {
 public:
  virtual ~ByteReader() = default;
  // Bytes actually read (fewer at the end).
  virtual std::size_t Read(void* destination, std::size_t bytes) = 0;
  // False when the position would pass the end.
  virtual bool Skip(std::uint64_t bytes) = 0;
  virtual std::uint64_t Tell() = 0;
  // Total size of the source in bytes.
  virtual std::uint64_t Size() = 0;
};

class MemoryByteReader : public ByteReader {
 public:
  MemoryByteReader(const std::uint8_t* bytes, std::size_t size) : m_bytes(bytes), m_size(size) {}
  std::size_t Read(void* destination, std::size_t bytes) override;
  bool Skip(std::uint64_t bytes) override;
  std::uint64_t Tell() override { return m_position; }
  std::uint64_t Size() override { return m_size; }

 private:
  const std::uint8_t* m_bytes;
  std::size_t m_size;
  std::size_t m_position = 0;
};

// Walks the chunks of a RIFF WAVE file and fills `format`. Rejects (kResultFormatError) a
// missing RIFF/WAVE header, a "fmt " chunk too short for its tag, tags other than PCM and
// extensible PCM, bit depths other than 8 and 16, inconsistent block alignment, a "data" chunk
// before "fmt " and a file without both. A data size larger than the bytes present is clamped
// to them. The reader is left just after the walk; the caller seeks to dataOffset itself.
std::int32_t ParseWave(ByteReader& reader, WaveFormat& format);
std::int32_t ParseWave(const std::uint8_t* bytes, std::size_t size, WaveFormat& format);

// "WAV" gives kKindWav, "OGG" kKindOgg (last three characters, any letter case); other
// endings kResultFormatError; names under 3 characters kResultFileError.
std::int32_t DetectKind(const char* name, std::uint32_t& kind);

// The OpenAL format name for a sound of this kind and header ("AL_FORMAT_MONO16" ...), or null
// when the combination is not supported.
const char* ChooseFormatName(std::uint32_t kind, const WaveFormat& format);

// Rewrites frames of six 16-bit samples from vorbis order (FL, C, FR, RL, RR, LFE) into
// OpenAL order (FL, FR, C, LFE, RL, RR). A trailing partial frame is left alone.
void ReorderSixChannels(std::uint8_t* bytes, std::size_t byteCount);

}  // namespace Sound
