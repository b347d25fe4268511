// Feeds arbitrary bytes to the WAV header walk: it must never read outside the input, and what
// it accepts must describe a playable block of whole frames inside the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "audio/Sound_WaveParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Sound::WaveFormat format;
  if (Sound::ParseWave(data, size, format) != Sound::kResultOk) return 0;
  const std::uint64_t end = static_cast<std::uint64_t>(format.dataOffset) + format.dataSize;
  if (end > size) std::abort();
  if (format.blockAlignment == 0 || format.dataSize % format.blockAlignment != 0) std::abort();
  if (Sound::ChooseFormatName(Sound::kKindWav, format) == nullptr) std::abort();
  // Touch every accepted byte so the sanitizer sees any slip in the offsets.
  volatile std::uint8_t sum = 0;
  for (std::uint64_t at = format.dataOffset; at < end; ++at) sum = static_cast<std::uint8_t>(sum + data[at]);
  return 0;
}
