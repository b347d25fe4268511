#pragma once
// Which texels of a loaded picture can show, kept beside its texture so that the drawing code can
// shade only the part of a sprite's frame where something is: a software renderer pays for every
// fragment, and most pictures are largely empty.
#include <cstddef>
#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

namespace Renderer {

// Texels from (left, bottom) up to, not including, (right, top); row 0 is the picture's bottom row,
// as texture coordinates count them.
struct TexelRect {
  int32_t left = 0;
  int32_t bottom = 0;
  int32_t right = 0;
  int32_t top = 0;
  bool IsEmpty() const { return right <= left || top <= bottom; }
  bool operator<(const TexelRect& other) const {
    return std::tie(left, bottom, right, top) < std::tie(other.left, other.bottom, other.right, other.top);
  }
  bool operator==(const TexelRect& other) const {
    return left == other.left && bottom == other.bottom && right == other.right && top == other.top;
  }
};

// One part of a frame to draw: a rectangle of texels, and whether every texel a sample there can
// reach is fully opaque.
struct TexelPiece {
  TexelRect rect;
  bool opaque = false;
};

class TexelCoverage {
 public:
  // From surface pixels: R, G, B, A bytes, width x height, bottom row first.
  TexelCoverage(uint32_t width, uint32_t height, const uint8_t* pixels);

  uint32_t GetWidth() const { return m_width; }
  uint32_t GetHeight() const { return m_height; }

  // The part of `area` that a draw can change when a sample reaches `reach` texels round it: the
  // bounds of the visible texels (alpha above 0) within `reach` of the area, grown by `reach` and
  // cut to the area. Empty when nothing in reach is visible. Answers are kept: one scan per frame.
  TexelRect GetVisibleBounds(const TexelRect& area, int32_t reach) const;
  // Whether every texel of `area` (cut to the picture) is fully opaque.
  bool IsOpaque(const TexelRect& area) const;
  // The parts of `cell` to draw so that every texel within `reach` of a visible one is covered:
  // the cell cut in columns `columnWidth` texels wide, each cut to its visible bounds and, where
  // a band of rows is opaque as far as samples reach, split into that band and the blended rest;
  // column by column, from the bottom up. A column whose band leaves much of it blended is tried
  // in halves, up to `splits` times. Answers are kept.
  const std::vector<TexelPiece>& GetPieces(const TexelRect& cell, int32_t reach, int32_t columnWidth,
                                           int32_t splits) const;
  // Rows of texels folded into one: a texel of the fold is visible where any of the rows' is, and
  // opaque where all of them are. For the areas that move from frame to frame, whose answers are
  // not worth keeping: one fold serves every area along a band of rows.
  struct FoldedRows {
    std::vector<uint64_t> visible;
    std::vector<uint64_t> opaque;
    int32_t left = 0;
    int32_t right = 0;
  };
  // Folds the texels of `area`, cut to the picture.
  void FoldRows(const TexelRect& area, FoldedRows& folded) const;
  // What the folded texels from `left` up to `right`, cut to the fold, hold (Mixed when nothing
  // of the range is folded).
  enum class Kind { Empty, Opaque, Mixed };
  static Kind GetKind(const FoldedRows& folded, int32_t left, int32_t right) {
    left = left > folded.left ? left : folded.left;
    right = right < folded.right ? right : folded.right;
    if (left >= right) return Kind::Mixed;
    // Most ranges (those of a block of pixels) lie within one word; the fold counts from texel 0.
    const auto from = static_cast<uint32_t>(left);
    const auto to = static_cast<uint32_t>(right - 1);
    if (from / 64 != to / 64) return GetKindAcrossWords(folded, left, right);
    const size_t index = from / 64 - static_cast<uint32_t>(folded.left) / 64;
    const uint64_t mask = (~0ull >> (63 - to % 64)) & (~0ull << (from % 64));
    if ((folded.visible[index] & mask) == 0) return Kind::Empty;
    return (folded.opaque[index] & mask) == mask ? Kind::Opaque : Kind::Mixed;
  }
  // Whether every texel of the picture is black, with one alpha for all (a plain shade).
  bool IsUniformBlack() const { return m_uniformBlack; }
  uint8_t GetUniformAlpha() const { return m_uniformAlpha; }

 private:
  // GetKind of a range (already cut to the fold) over more than one word.
  static Kind GetKindAcrossWords(const FoldedRows& folded, int32_t left, int32_t right);
  bool AnyVisible(int32_t row, int32_t left, int32_t right, int32_t& first, int32_t& last) const;
  bool IsRowOpaque(int32_t row, int32_t left, int32_t right) const;
  void AddColumnPieces(const TexelRect& column, int32_t reach, int32_t splits, std::vector<TexelPiece>& pieces) const;

  static constexpr int32_t kNarrowestColumn = 16;
  TexelRect Clip(const TexelRect& area) const;

  uint32_t m_width = 0;
  uint32_t m_height = 0;
  uint32_t m_wordsPerRow = 0;
  std::vector<uint64_t> m_visible;
  std::vector<uint64_t> m_opaque;
  bool m_uniformBlack = false;
  uint8_t m_uniformAlpha = 0;
  mutable std::map<std::pair<TexelRect, int32_t>, TexelRect> m_bounds;
  mutable std::map<TexelRect, bool> m_opaqueAreas;
  mutable std::map<std::tuple<TexelRect, int32_t, int32_t, int32_t>, std::vector<TexelPiece>> m_pieces;
};

}  // namespace Renderer
