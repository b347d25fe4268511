#pragma once
// Window icon files (".ico"): the directory of images, the choice of one image for the window and
// its decoding to RGBA. Every field of the file is checked against the file's own size.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace PAL {

// Larger images are refused before any pixel memory is taken.
constexpr std::uint32_t kMaxIconSide = 1024;
// The size the window asks for; the nearest entry is taken when there is none of exactly that size.
constexpr std::uint32_t kWindowIconSize = 32;

struct IconEntry {
  std::uint32_t width = 0;   // as the directory states it (a stored 0 means 256)
  std::uint32_t height = 0;
  std::uint16_t bitCount = 0;
  std::uint32_t offset = 0;  // of the image's bytes in the file
  std::uint32_t size = 0;
  bool png = false;          // the image is a whole PNG file rather than a bitmap
};

struct IconImage {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> rgba;  // top row first, straight alpha
};

// Reads the file's directory; false with a reason for a file that is not an icon or whose entries
// point outside it.
bool ParseIconDirectory(const std::uint8_t* data, std::size_t size, std::vector<IconEntry>& entries,
                        std::string& error);

// Entry indices from the best to the worst for a square of wantedSize pixels: that size first,
// then by distance (the larger of two equally near sizes first), deeper colours before shallower.
std::vector<std::size_t> RankIconEntries(const std::vector<IconEntry>& entries, std::uint32_t wantedSize);

// Decodes one entry's bytes: a PNG image, or a 32-bit (alpha, or the AND mask when every alpha is 0)
// or 24-bit (AND mask) bitmap without its file header.
bool DecodeIconImage(const std::uint8_t* data, std::size_t size, IconImage& image, std::string& error);

// The whole way from file bytes to pixels: the best-ranked entry that decodes.
bool DecodeIconFile(const std::uint8_t* data, std::size_t size, std::uint32_t wantedSize, IconImage& image,
                    std::string& error);

// Reads and decodes the icon file at path (system backslashes allowed).
bool LoadIconFile(const std::string& path, std::uint32_t wantedSize, IconImage& image, std::string& error);

// PNG decoding for icon entries (in the backend, which owns the image library).
bool DecodeIconPng(const std::uint8_t* data, std::size_t size, IconImage& image, std::string& error);

}  // namespace PAL
