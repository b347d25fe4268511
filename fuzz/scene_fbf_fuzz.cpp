// The ".fbf" font metrics reader against arbitrary bytes: the in-memory parser and the file reader
// must agree, and neither may read past the data or allocate from the name length.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "scene/Engine_BitmapFont.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Engine::FontMetrics fromMemory;
  const bool parsed = Engine::ParseFontMetrics(data, size, fromMemory);

  static const std::string path = "/tmp/velkor_fbf_fuzz_" + std::to_string(getpid()) + ".fbf";
  if (FILE* file = std::fopen(path.c_str(), "wb")) {
    if (size > 0) std::fwrite(data, 1, size, file);
    std::fclose(file);
    Engine::FontMetrics fromFile;
    std::string error;
    const bool read = Engine::ReadFontMetricsFile(path, fromFile, error);
    if (read != parsed) std::abort();
    if (read && std::memcmp(fromFile.header, fromMemory.header, sizeof(fromFile.header)) != 0) std::abort();
    if (read && fromFile.glyphs[95].advance != fromMemory.glyphs[95].advance) std::abort();
  }
  return 0;
}
