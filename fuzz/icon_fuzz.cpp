// The window icon reader against arbitrary bytes: the directory, the ranking and each image decoder
// must stay inside the data, and a decoded image must be as large as it says and no larger than allowed.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/PAL_IconFile.h"

namespace {
void CheckImage(const PAL::IconImage& image) {
  if (image.width == 0 || image.height == 0 || image.width > PAL::kMaxIconSide || image.height > PAL::kMaxIconSide)
    std::abort();
  if (image.rgba.size() != static_cast<size_t>(image.width) * image.height * 4) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  std::vector<PAL::IconEntry> entries;
  if (PAL::ParseIconDirectory(data, size, entries, error)) {
    for (const PAL::IconEntry& entry : entries) {
      if (entry.size == 0 || static_cast<uint64_t>(entry.offset) + entry.size > size) std::abort();
    }
    if (PAL::RankIconEntries(entries, PAL::kWindowIconSize).size() != entries.size()) std::abort();
  } else if (!entries.empty()) {
    std::abort();
  }

  PAL::IconImage image;
  const bool decoded = PAL::DecodeIconFile(data, size, PAL::kWindowIconSize, image, error);
  if (decoded) CheckImage(image);
  if (decoded && entries.empty()) std::abort();

  // The same bytes as one entry on its own: a bitmap header or a PNG file.
  if (PAL::DecodeIconImage(data, size, image, error)) CheckImage(image);
  return 0;
}
