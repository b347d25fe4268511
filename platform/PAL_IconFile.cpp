#include "platform/PAL_IconFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/PAL_ByteOrder.h"
#include "platform/PAL_Path.h"

namespace PAL {
namespace {

// An icon file larger than this is not read at all.
constexpr std::uint64_t kMaxIconFileBytes = 16u * 1024u * 1024u;
constexpr std::size_t kDirectoryBytes = 6;
constexpr std::size_t kEntryBytes = 16;
constexpr std::size_t kBitmapHeaderBytes = 40;
constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool IsPng(const std::uint8_t* data, std::size_t size) {
  return size >= sizeof(kPngSignature) && std::memcmp(data, kPngSignature, sizeof(kPngSignature)) == 0;
}

// A bitmap entry: the info header, the colour rows bottom-up, then the 1-bit AND mask rows bottom-up.
bool DecodeIconBitmap(const std::uint8_t* data, std::size_t size, IconImage& image, std::string& error) {
  if (size < kBitmapHeaderBytes) {
    error = "icon bitmap header truncated";
    return false;
  }
  const std::uint32_t headerSize = ReadU32LE(data);
  const std::int32_t width = ReadI32LE(data + 4);
  const std::int32_t doubledHeight = ReadI32LE(data + 8);
  const std::uint16_t planes = ReadU16LE(data + 12);
  const std::uint16_t bitCount = ReadU16LE(data + 14);
  const std::uint32_t compression = ReadU32LE(data + 16);
  if (headerSize < kBitmapHeaderBytes || headerSize > size) {
    error = "icon bitmap header size out of range";
    return false;
  }
  // The stored height covers the colour rows and the mask rows together.
  if (width <= 0 || doubledHeight <= 0 || doubledHeight % 2 != 0 ||
      static_cast<std::uint32_t>(width) > kMaxIconSide ||
      static_cast<std::uint32_t>(doubledHeight / 2) > kMaxIconSide) {
    error = "icon bitmap size out of range";
    return false;
  }
  if (planes > 1 || compression != 0 || (bitCount != 32 && bitCount != 24)) {
    error = "icon bitmap format not supported (only uncompressed 24- and 32-bit)";
    return false;
  }
  const std::uint64_t w = static_cast<std::uint32_t>(width);
  const std::uint64_t h = static_cast<std::uint32_t>(doubledHeight / 2);
  const std::uint64_t colourStride = (w * bitCount + 31) / 32 * 4;
  const std::uint64_t maskStride = (w + 31) / 32 * 4;
  const std::uint64_t needed = headerSize + colourStride * h + maskStride * h;
  if (needed > size) {
    error = "icon bitmap pixels truncated";
    return false;
  }
  const std::uint8_t* colour = data + headerSize;
  const std::uint8_t* mask = colour + colourStride * h;
  const std::size_t bytesPerPixel = bitCount / 8;

  image.width = static_cast<std::uint32_t>(w);
  image.height = static_cast<std::uint32_t>(h);
  image.rgba.assign(static_cast<std::size_t>(w * h * 4), 0);
  bool anyAlpha = false;
  for (std::uint64_t y = 0; y < h; ++y) {
    const std::uint8_t* row = colour + (h - 1 - y) * colourStride;
    const std::uint8_t* maskRow = mask + (h - 1 - y) * maskStride;
    for (std::uint64_t x = 0; x < w; ++x) {
      const std::uint8_t* source = row + x * bytesPerPixel;
      std::uint8_t* target = &image.rgba[static_cast<std::size_t>((y * w + x) * 4)];
      target[0] = source[2];
      target[1] = source[1];
      target[2] = source[0];
      const bool masked = ((maskRow[x / 8] >> (7 - x % 8)) & 1) != 0;
      if (bitCount == 32) {
        target[3] = source[3];
        anyAlpha = anyAlpha || source[3] != 0;
      } else {
        target[3] = masked ? 0 : 255;
      }
    }
  }
  // Older 32-bit icons leave the alpha byte 0 and keep their shape in the mask alone.
  if (bitCount == 32 && !anyAlpha) {
    for (std::uint64_t y = 0; y < h; ++y) {
      const std::uint8_t* maskRow = mask + (h - 1 - y) * maskStride;
      for (std::uint64_t x = 0; x < w; ++x) {
        const bool masked = ((maskRow[x / 8] >> (7 - x % 8)) & 1) != 0;
        image.rgba[static_cast<std::size_t>((y * w + x) * 4 + 3)] = masked ? 0 : 255;
      }
    }
  }
  return true;
}

}  // namespace

bool ParseIconDirectory(const std::uint8_t* data, std::size_t size, std::vector<IconEntry>& entries,
                        std::string& error) {
  entries.clear();
  if (data == nullptr || size < kDirectoryBytes) {
    error = "icon file too short";
    return false;
  }
  if (ReadU16LE(data) != 0 || ReadU16LE(data + 2) != 1) {
    error = "not an icon file";
    return false;
  }
  const std::size_t count = ReadU16LE(data + 4);
  if (count == 0) {
    error = "icon file holds no images";
    return false;
  }
  const std::uint64_t directoryEnd = kDirectoryBytes + static_cast<std::uint64_t>(count) * kEntryBytes;
  if (directoryEnd > size) {
    error = "icon directory truncated";
    return false;
  }
  entries.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* record = data + kDirectoryBytes + i * kEntryBytes;
    IconEntry entry;
    entry.width = record[0] != 0 ? record[0] : 256u;
    entry.height = record[1] != 0 ? record[1] : 256u;
    entry.bitCount = ReadU16LE(record + 6);
    entry.size = ReadU32LE(record + 8);
    entry.offset = ReadU32LE(record + 12);
    // An image may not overlap the directory nor run past the end of the file.
    if (entry.size == 0 || entry.offset < directoryEnd ||
        static_cast<std::uint64_t>(entry.offset) + entry.size > size) {
      entries.clear();
      error = "icon image " + std::to_string(i) + " lies outside the file";
      return false;
    }
    entry.png = IsPng(data + entry.offset, entry.size);
    entries.push_back(entry);
  }
  return true;
}

std::vector<std::size_t> RankIconEntries(const std::vector<IconEntry>& entries, std::uint32_t wantedSize) {
  std::vector<std::size_t> order(entries.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  auto distance = [wantedSize](const IconEntry& e) {
    const std::uint32_t side = std::max(e.width, e.height);
    return side > wantedSize ? side - wantedSize : wantedSize - side;
  };
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const IconEntry& ea = entries[a];
    const IconEntry& eb = entries[b];
    if (distance(ea) != distance(eb)) return distance(ea) < distance(eb);
    // Scaling down looks better than scaling up.
    const std::uint32_t sideA = std::max(ea.width, ea.height);
    const std::uint32_t sideB = std::max(eb.width, eb.height);
    if (sideA != sideB) return sideA > sideB;
    return ea.bitCount > eb.bitCount;
  });
  return order;
}

bool DecodeIconImage(const std::uint8_t* data, std::size_t size, IconImage& image, std::string& error) {
  image = IconImage();
  if (data == nullptr || size == 0) {
    error = "empty icon image";
    return false;
  }
  const bool ok = IsPng(data, size) ? DecodeIconPng(data, size, image, error)
                                    : DecodeIconBitmap(data, size, image, error);
  if (!ok) image = IconImage();
  return ok;
}

bool DecodeIconFile(const std::uint8_t* data, std::size_t size, std::uint32_t wantedSize, IconImage& image,
                    std::string& error) {
  image = IconImage();
  std::vector<IconEntry> entries;
  if (!ParseIconDirectory(data, size, entries, error)) return false;
  // A damaged entry does not cost the window its icon while another one decodes.
  std::string firstError;
  for (std::size_t index : RankIconEntries(entries, wantedSize)) {
    const IconEntry& entry = entries[index];
    std::string entryError;
    if (DecodeIconImage(data + entry.offset, entry.size, image, entryError)) return true;
    if (firstError.empty()) firstError = "icon image " + std::to_string(index) + ": " + entryError;
  }
  error = firstError;
  return false;
}

bool LoadIconFile(const std::string& path, std::uint32_t wantedSize, IconImage& image, std::string& error) {
  image = IconImage();
  const std::string mapped = MapPath(path);
  std::FILE* file = std::fopen(mapped.c_str(), "rb");
  if (file == nullptr) {
    error = "cannot open " + mapped;
    return false;
  }
  std::vector<std::uint8_t> bytes;
  bool ok = std::fseek(file, 0, SEEK_END) == 0;
  const long length = ok ? std::ftell(file) : -1;
  ok = ok && length >= 0 && static_cast<std::uint64_t>(length) <= kMaxIconFileBytes && std::fseek(file, 0, SEEK_SET) == 0;
  if (ok) {
    bytes.resize(static_cast<std::size_t>(length));
    ok = bytes.empty() || std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
  }
  std::fclose(file);
  if (!ok) {
    error = length > 0 && static_cast<std::uint64_t>(length) > kMaxIconFileBytes ? "icon file too large: " + mapped
                                                                                  : "cannot read " + mapped;
    return false;
  }
  return DecodeIconFile(bytes.data(), bytes.size(), wantedSize, image, error);
}

}  // namespace PAL
