#include "renderer/Renderer_TexelCoverage.h"

#include <algorithm>

namespace Renderer {

namespace {
// Bits [from, to) of a 64-bit word.
uint64_t BitRange(int32_t from, int32_t to) {
  const uint64_t high = to >= 64 ? ~0ull : (1ull << to) - 1;
  const uint64_t low = (1ull << from) - 1;
  return high & ~low;
}
}  // namespace

TexelCoverage::TexelCoverage(uint32_t width, uint32_t height, const uint8_t* pixels)
    : m_width(width), m_height(height), m_wordsPerRow((width + 63) / 64) {
  m_visible.assign(static_cast<size_t>(m_wordsPerRow) * height, 0);
  m_opaque.assign(m_visible.size(), 0);
  m_uniformBlack = width > 0 && height > 0 && pixels != nullptr;
  m_uniformAlpha = m_uniformBlack ? pixels[3] : 0;
  if (pixels == nullptr) return;
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* row = pixels + static_cast<size_t>(y) * width * 4;
    uint64_t* visible = &m_visible[static_cast<size_t>(y) * m_wordsPerRow];
    uint64_t* opaque = &m_opaque[static_cast<size_t>(y) * m_wordsPerRow];
    for (uint32_t x = 0; x < width; ++x) {
      const uint8_t* texel = row + static_cast<size_t>(x) * 4;
      const uint64_t bit = 1ull << (x % 64);
      if (texel[3] != 0) visible[x / 64] |= bit;
      if (texel[3] == 255) opaque[x / 64] |= bit;
      if (texel[0] != 0 || texel[1] != 0 || texel[2] != 0 || texel[3] != m_uniformAlpha) m_uniformBlack = false;
    }
  }
}

TexelRect TexelCoverage::Clip(const TexelRect& area) const {
  TexelRect clipped;
  clipped.left = std::max(area.left, 0);
  clipped.bottom = std::max(area.bottom, 0);
  clipped.right = std::min(area.right, static_cast<int32_t>(m_width));
  clipped.top = std::min(area.top, static_cast<int32_t>(m_height));
  return clipped;
}

bool TexelCoverage::AnyVisible(int32_t row, int32_t left, int32_t right, int32_t& first, int32_t& last) const {
  const uint64_t* words = &m_visible[static_cast<size_t>(row) * m_wordsPerRow];
  bool found = false;
  for (int32_t word = left / 64; word * 64 < right; ++word) {
    const int32_t base = word * 64;
    const uint64_t bits = words[word] & BitRange(std::max(left - base, 0), std::min(right - base, 64));
    if (bits == 0) continue;
    const int32_t low = base + __builtin_ctzll(bits);
    const int32_t high = base + 63 - __builtin_clzll(bits);
    if (!found) first = low;
    last = high;
    found = true;
  }
  return found;
}

TexelRect TexelCoverage::GetVisibleBounds(const TexelRect& area, int32_t reach) const {
  const auto key = std::make_pair(area, reach);
  auto known = m_bounds.find(key);
  if (known != m_bounds.end()) return known->second;

  TexelRect search = area;
  search.left -= reach;
  search.bottom -= reach;
  search.right += reach;
  search.top += reach;
  search = Clip(search);
  TexelRect found{search.right, search.top, search.left, search.bottom};
  for (int32_t y = search.bottom; y < search.top; ++y) {
    int32_t first = 0;
    int32_t last = 0;
    if (search.IsEmpty() || !AnyVisible(y, search.left, search.right, first, last)) continue;
    found.left = std::min(found.left, first);
    found.right = std::max(found.right, last + 1);
    found.bottom = std::min(found.bottom, y);
    found.top = std::max(found.top, y + 1);
  }
  TexelRect bounds;
  if (!found.IsEmpty()) {
    bounds.left = std::max(found.left - reach, area.left);
    bounds.bottom = std::max(found.bottom - reach, area.bottom);
    bounds.right = std::min(found.right + reach, area.right);
    bounds.top = std::min(found.top + reach, area.top);
    if (bounds.IsEmpty()) bounds = TexelRect();
  }
  m_bounds.emplace(key, bounds);
  return bounds;
}

bool TexelCoverage::IsRowOpaque(int32_t row, int32_t left, int32_t right) const {
  const uint64_t* words = &m_opaque[static_cast<size_t>(row) * m_wordsPerRow];
  for (int32_t word = left / 64; word * 64 < right; ++word) {
    const int32_t base = word * 64;
    const uint64_t mask = BitRange(std::max(left - base, 0), std::min(right - base, 64));
    if ((words[word] & mask) != mask) return false;
  }
  return true;
}

bool TexelCoverage::IsOpaque(const TexelRect& area) const {
  const TexelRect clipped = Clip(area);
  if (clipped.IsEmpty()) return false;
  auto known = m_opaqueAreas.find(clipped);
  if (known != m_opaqueAreas.end()) return known->second;
  bool opaque = true;
  for (int32_t y = clipped.bottom; y < clipped.top && opaque; ++y) opaque = IsRowOpaque(y, clipped.left, clipped.right);
  m_opaqueAreas.emplace(clipped, opaque);
  return opaque;
}

void TexelCoverage::FoldRows(const TexelRect& area, FoldedRows& folded) const {
  const TexelRect clipped = Clip(area);
  folded.visible.clear();
  folded.opaque.clear();
  folded.left = clipped.left;
  folded.right = clipped.left;
  if (clipped.IsEmpty()) return;
  folded.right = clipped.right;
  // Whole words, from the one that holds the left texel; a range's bits are picked out later.
  const int32_t firstWord = clipped.left / 64;
  const int32_t words = (clipped.right - 1) / 64 - firstWord + 1;
  folded.visible.assign(static_cast<size_t>(words), 0);
  folded.opaque.assign(static_cast<size_t>(words), ~0ull);
  for (int32_t y = clipped.bottom; y < clipped.top; ++y) {
    const size_t row = static_cast<size_t>(y) * m_wordsPerRow + static_cast<size_t>(firstWord);
    for (size_t word = 0; word < static_cast<size_t>(words); ++word) {
      folded.visible[word] |= m_visible[row + word];
      folded.opaque[word] &= m_opaque[row + word];
    }
  }
}

TexelCoverage::Kind TexelCoverage::GetKindAcrossWords(const FoldedRows& folded, int32_t left, int32_t right) {
  const int32_t firstWord = folded.left / 64;
  bool visible = false;
  bool opaque = true;
  for (int32_t word = left / 64; word * 64 < right; ++word) {
    const int32_t base = word * 64;
    const uint64_t mask = BitRange(std::max(left - base, 0), std::min(right - base, 64));
    const auto index = static_cast<size_t>(word - firstWord);
    visible = visible || (folded.visible[index] & mask) != 0;
    opaque = opaque && (folded.opaque[index] & mask) == mask;
  }
  if (!visible) return Kind::Empty;
  return opaque ? Kind::Opaque : Kind::Mixed;
}

void TexelCoverage::AddColumnPieces(const TexelRect& column, int32_t reach, int32_t splits,
                                    std::vector<TexelPiece>& pieces) const {
  const TexelRect visible = GetVisibleBounds(column, reach);
  if (visible.IsEmpty()) return;
  // The longest run of rows whose texels are opaque as far as a sample in the column reaches
  // (the picture's edge repeats itself, so rows past it count as opaque).
  const TexelRect sampled =
      Clip(TexelRect{visible.left - reach, visible.bottom - reach, visible.right + reach, visible.top + reach});
  int32_t bestBottom = 0;
  int32_t bestTop = 0;
  for (int32_t row = sampled.bottom; row < sampled.top;) {
    if (!IsRowOpaque(row, sampled.left, sampled.right)) {
      ++row;
      continue;
    }
    int32_t end = row;
    while (end < sampled.top && IsRowOpaque(end, sampled.left, sampled.right)) ++end;
    const int32_t bottom = row == 0 ? visible.bottom : std::max(row + reach, visible.bottom);
    const int32_t top = end == static_cast<int32_t>(m_height) ? visible.top : std::min(end - reach, visible.top);
    if (top - bottom > bestTop - bestBottom) {
      bestBottom = bottom;
      bestTop = top;
    }
    row = end;
  }
  const int32_t band = std::max(bestTop - bestBottom, 0);
  const int32_t height = visible.top - visible.bottom;
  // A column whose opaque band leaves a quarter of it blended is tried again in halves: where a
  // skyline steps, each half's band reaches its own roof.
  if (splits > 0 && (height - band) * 4 > height && column.right - column.left >= 2 * kNarrowestColumn) {
    const int32_t middle = column.left + (column.right - column.left) / 2;
    AddColumnPieces(TexelRect{column.left, column.bottom, middle, column.top}, reach, splits - 1, pieces);
    AddColumnPieces(TexelRect{middle, column.bottom, column.right, column.top}, reach, splits - 1, pieces);
    return;
  }
  const auto add = [&pieces](const TexelRect& rect, bool opaque) {
    if (!rect.IsEmpty()) pieces.push_back(TexelPiece{rect, opaque});
  };
  if (band == 0) {
    add(visible, false);
    return;
  }
  add(TexelRect{visible.left, visible.bottom, visible.right, bestBottom}, false);
  add(TexelRect{visible.left, bestBottom, visible.right, bestTop}, true);
  add(TexelRect{visible.left, bestTop, visible.right, visible.top}, false);
}

const std::vector<TexelPiece>& TexelCoverage::GetPieces(const TexelRect& cell, int32_t reach, int32_t columnWidth,
                                                        int32_t splits) const {
  const auto key = std::make_tuple(cell, reach, columnWidth, splits);
  auto known = m_pieces.find(key);
  if (known != m_pieces.end()) return known->second;

  std::vector<TexelPiece> pieces;
  const int32_t width = std::max(columnWidth, 1);
  for (int32_t left = cell.left; left < cell.right; left += width) {
    AddColumnPieces(TexelRect{left, cell.bottom, std::min(left + width, cell.right), cell.top}, reach, splits, pieces);
  }
  return m_pieces.emplace(key, std::move(pieces)).first->second;
}

}  // namespace Renderer
