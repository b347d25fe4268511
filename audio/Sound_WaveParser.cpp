#include "audio/Sound_WaveParser.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/PAL_ByteOrder.h"

namespace Sound {

namespace {

using PAL::ReadU16LE;
using PAL::ReadU32LE;

bool SameIgnoringCase(const std::uint8_t* bytes, const char* text) {
  for (int i = 0; i < 4; ++i) {
    if (std::toupper(bytes[i]) != std::toupper(static_cast<unsigned char>(text[i]))) return false;
  }
  return true;
}

constexpr std::uint16_t kTagPcm = 1;
constexpr std::uint16_t kTagExtensible = 0xFFFE;
// A "fmt " chunk larger than this is not a header we know and is skipped.
constexpr std::uint32_t kLargestFormatChunk = 44;
constexpr std::uint32_t kPlainFormatBytes = 16;
constexpr std::uint32_t kExtensibleFormatBytes = 40;

// Reads and checks one "fmt " chunk body; kResultOk when it describes PCM we can play.
std::int32_t ReadFormatChunk(ByteReader& reader, std::uint32_t size, WaveFormat& format) {
  std::uint8_t body[kLargestFormatChunk] = {};
  if (size < kPlainFormatBytes) return kResultFormatError;
  if (reader.Read(body, size) != size) return kResultFormatError;

  const std::uint16_t tag = ReadU16LE(body);
  if (tag == kTagPcm) {
    format.formatType = 1;
  } else if (tag == kTagExtensible) {
    if (size < kExtensibleFormatBytes) return kResultFormatError;
    format.formatType = 2;
  } else {
    return kResultFormatError;
  }
  format.formatTag = tag;
  format.channels = ReadU16LE(body + 2);
  format.samplesPerSecond = ReadU32LE(body + 4);
  format.averageBytesPerSecond = ReadU32LE(body + 8);
  format.blockAlignment = ReadU16LE(body + 12);
  format.bitsPerSample = ReadU16LE(body + 14);
  format.extraFormatSize = size >= 18 ? ReadU16LE(body + 16) : 0;
  if (tag == kTagExtensible) {
    format.validBitsPerSample = ReadU16LE(body + 18);
    format.channelMask = ReadU32LE(body + 20);
    std::memcpy(format.subFormat, body + 24, sizeof(format.subFormat));
  }

  // Every later size computation divides by or multiplies with these: check them here.
  if (format.bitsPerSample != 8 && format.bitsPerSample != 16) return kResultFormatError;
  if (format.channels == 0 || format.channels > 8) return kResultFormatError;
  if (format.blockAlignment != format.channels * (format.bitsPerSample / 8)) return kResultFormatError;
  if (format.samplesPerSecond == 0 || format.samplesPerSecond > kMaximumSampleRate) return kResultFormatError;
  // The declared byte rate is only a hint; the true one follows from the fields above.
  format.averageBytesPerSecond = format.samplesPerSecond * format.blockAlignment;
  return kResultOk;
}

}  // namespace

std::size_t MemoryByteReader::Read(void* destination, std::size_t bytes) {
  const std::size_t count = std::min(bytes, m_size - m_position);
  if (count > 0) std::memcpy(destination, m_bytes + m_position, count);
  m_position += count;
  return count;
}

bool MemoryByteReader::Skip(std::uint64_t bytes) {
  if (bytes > m_size - m_position) {
    m_position = m_size;
    return false;
  }
  m_position += static_cast<std::size_t>(bytes);
  return true;
}

std::int32_t ParseWave(ByteReader& reader, WaveFormat& format) {
  format = WaveFormat();
  std::uint8_t header[12];
  if (reader.Read(header, sizeof(header)) != sizeof(header)) return kResultFormatError;
  if (!SameIgnoringCase(header, "RIFF") || !SameIgnoringCase(header + 8, "WAVE")) return kResultFormatError;

  bool fmtSeen = false;
  std::uint8_t chunk[8];
  while (reader.Read(chunk, sizeof(chunk)) == sizeof(chunk)) {
    const std::uint32_t size = ReadU32LE(chunk + 4);
    if (SameIgnoringCase(chunk, "fmt ")) {
      if (size > kLargestFormatChunk) {
        if (!reader.Skip(size)) break;
      } else {
        const std::int32_t result = ReadFormatChunk(reader, size, format);
        if (result != kResultOk) return result;
        fmtSeen = true;
      }
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      // Without a format the data's length and layout are unknown.
      if (!fmtSeen) return kResultFormatError;
      const std::uint64_t offset = reader.Tell();
      if (offset > UINT32_MAX) return kResultFormatError;
      const std::uint64_t present = reader.Size() > offset ? reader.Size() - offset : 0;
      std::uint64_t bytes = std::min<std::uint64_t>(size, present);
      bytes -= bytes % format.blockAlignment;
      format.dataOffset = static_cast<std::uint32_t>(offset);
      format.dataSize = static_cast<std::uint32_t>(bytes);
      format.length = static_cast<double>(format.dataSize) / format.averageBytesPerSecond;
      // Everything needed is known; what follows the samples does not matter.
      return ChooseFormatName(kKindWav, format) != nullptr ? kResultOk : kResultFormatError;
    } else if (!reader.Skip(size)) {
      break;
    }
    if ((size & 1) != 0 && !reader.Skip(1)) break;
  }
  return kResultFormatError;
}

std::int32_t ParseWave(const std::uint8_t* bytes, std::size_t size, WaveFormat& format) {
  MemoryByteReader reader(bytes, bytes != nullptr ? size : 0);
  return ParseWave(reader, format);
}

std::int32_t DetectKind(const char* name, std::uint32_t& kind) {
  const std::size_t length = name != nullptr ? std::strlen(name) : 0;
  if (length < 3) return kResultFileError;
  char ending[4] = {};
  for (int i = 0; i < 3; ++i) ending[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[length - 3 + i])));
  if (std::strcmp(ending, "WAV") == 0) {
    kind = kKindWav;
    return kResultOk;
  }
  if (std::strcmp(ending, "OGG") == 0) {
    kind = kKindOgg;
    return kResultOk;
  }
  return kResultFormatError;
}

const char* ChooseFormatName(std::uint32_t kind, const WaveFormat& format) {
  const std::uint16_t channels = format.channels;
  const bool eight = format.bitsPerSample == 8;
  const bool sixteen = format.bitsPerSample == 16;
  if (kind == kKindOgg) {
    switch (channels) {
      case 1: return "AL_FORMAT_MONO16";
      case 2: return "AL_FORMAT_STEREO16";
      case 4: return "AL_FORMAT_QUAD16";
      case 6: return "AL_FORMAT_51CHN16";
      default: return nullptr;
    }
  }
  if (kind != kKindWav || (!eight && !sixteen)) return nullptr;
  if (format.formatType == 1) {
    if (channels == 1) return eight ? "AL_FORMAT_MONO8" : "AL_FORMAT_MONO16";
    if (channels == 2) return eight ? "AL_FORMAT_STEREO8" : "AL_FORMAT_STEREO16";
    if (channels == 4 && sixteen) return "AL_FORMAT_QUAD16";
    return nullptr;
  }
  if (format.formatType != 2) return nullptr;
  const std::uint32_t mask = format.channelMask;
  if (channels == 1 && mask == 4) return eight ? "AL_FORMAT_MONO8" : "AL_FORMAT_MONO16";
  if (channels == 2 && mask == 3) return eight ? "AL_FORMAT_STEREO8" : "AL_FORMAT_STEREO16";
  if (!sixteen) return nullptr;
  if (channels == 2 && mask == 48) return "AL_FORMAT_REAR16";
  if (channels == 4 && mask == 51) return "AL_FORMAT_QUAD16";
  if (channels == 6 && mask == 63) return "AL_FORMAT_51CHN16";
  if (channels == 7 && mask == 319) return "AL_FORMAT_61CHN16";
  if (channels == 8 && mask == 1599) return "AL_FORMAT_71CHN16";
  return nullptr;
}

void ReorderSixChannels(std::uint8_t* bytes, std::size_t byteCount) {
  static const int kFrom[6] = {0, 2, 1, 5, 3, 4};
  constexpr std::size_t kFrame = 12;
  for (std::size_t at = 0; at + kFrame <= byteCount; at += kFrame) {
    std::uint8_t old[kFrame];
    std::memcpy(old, bytes + at, kFrame);
    for (int k = 0; k < 6; ++k) std::memcpy(bytes + at + 2 * k, old + 2 * kFrom[k], 2);
  }
}

}  // namespace Sound
