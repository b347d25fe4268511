#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "renderer/Renderer_TexelCoverage.h"

using namespace Renderer;

namespace {

// A picture of width x height texels, transparent but for the given rectangle, whose alpha is set.
std::vector<uint8_t> Picture(uint32_t width, uint32_t height, const TexelRect& filled, uint8_t alpha) {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4, 0);
  for (int32_t y = filled.bottom; y < filled.top; ++y) {
    for (int32_t x = filled.left; x < filled.right; ++x) pixels[(static_cast<size_t>(y) * width + x) * 4 + 3] = alpha;
  }
  return pixels;
}

int64_t Area(const std::vector<TexelPiece>& pieces, bool opaque) {
  int64_t area = 0;
  for (const TexelPiece& piece : pieces) {
    if (piece.opaque == opaque) area += int64_t{piece.rect.right - piece.rect.left} * (piece.rect.top - piece.rect.bottom);
  }
  return area;
}

TEST(TexelCoverage, BoundsHoldTheVisibleTexelsAndTheReachOfASampleAcrossWordsAndCells) {
  // 150 texels wide: rows span three 64-bit words. A block at (70..90, 10..20), cells of 75.
  const std::vector<uint8_t> pixels = Picture(150, 40, TexelRect{70, 10, 90, 20}, 255);
  const TexelCoverage coverage(150, 40, pixels.data());
  const TexelRect bounds = coverage.GetVisibleBounds(TexelRect{0, 0, 150, 40}, 2);
  EXPECT_TRUE((bounds == TexelRect{68, 8, 92, 22}));
  // The left cell holds none of the block, yet its right edge samples the texels beside it.
  EXPECT_TRUE((coverage.GetVisibleBounds(TexelRect{0, 0, 75, 40}, 2) == TexelRect{68, 8, 75, 22}));
  EXPECT_TRUE((coverage.GetVisibleBounds(TexelRect{75, 0, 150, 40}, 2) == TexelRect{75, 8, 92, 22}));
  // Nothing within reach: nothing to draw.
  EXPECT_TRUE(coverage.GetVisibleBounds(TexelRect{0, 0, 60, 40}, 2).IsEmpty());
  // Asked again, the kept answer.
  EXPECT_TRUE((coverage.GetVisibleBounds(TexelRect{0, 0, 150, 40}, 2) == bounds));

  EXPECT_TRUE(coverage.IsOpaque(TexelRect{70, 10, 90, 20}));
  EXPECT_FALSE(coverage.IsOpaque(TexelRect{69, 10, 90, 20}));
  EXPECT_FALSE(coverage.IsUniformBlack());
}

TEST(TexelCoverage, PiecesSplitAColumnIntoItsOpaqueBandAndTheBlendedRest) {
  // A skyline: opaque from the bottom to row 30 on the left half, to row 50 on the right half,
  // a half-transparent texel row above the left half.
  std::vector<uint8_t> pixels = Picture(128, 64, TexelRect{0, 0, 64, 30}, 255);
  for (int32_t y = 0; y < 50; ++y) {
    for (int32_t x = 64; x < 128; ++x) pixels[(static_cast<size_t>(y) * 128 + x) * 4 + 3] = 255;
  }
  for (int32_t x = 0; x < 64; ++x) pixels[(static_cast<size_t>(30) * 128 + x) * 4 + 3] = 128;
  const TexelCoverage coverage(128, 64, pixels.data());
  const std::vector<TexelPiece>& pieces = coverage.GetPieces(TexelRect{0, 0, 128, 64}, 1, 64, 0);
  // Every visible texel lies in a piece; opaque pieces hold only texels that are opaque as far
  // as a sample reaches; pieces do not overlap.
  int64_t covered = 0;
  for (const TexelPiece& piece : pieces) {
    covered += int64_t{piece.rect.right - piece.rect.left} * (piece.rect.top - piece.rect.bottom);
    if (piece.opaque) {
      EXPECT_TRUE(coverage.IsOpaque(TexelRect{piece.rect.left, piece.rect.bottom - 1, piece.rect.right, piece.rect.top + 1}));
    }
  }
  // Each column samples one texel into the other: both are drawn up to the right half's top
  // (row 49) and a reach above it, and both are opaque only where the left half is, up to a reach
  // below its last opaque row (at the picture's bottom edge the band runs to the edge).
  EXPECT_EQ(Area(pieces, true), 2 * 64 * 29);
  EXPECT_EQ(covered, 2 * 64 * 51);
  EXPECT_LT(covered, 128 * 64);
}

TEST(TexelCoverage, APlainBlackPictureIsAShadeAndANullPictureCoversNothing) {
  std::vector<uint8_t> black(8 * 4 * 4, 0);
  for (size_t i = 3; i < black.size(); i += 4) black[i] = 200;
  const TexelCoverage shade(8, 4, black.data());
  EXPECT_TRUE(shade.IsUniformBlack());
  EXPECT_EQ(shade.GetUniformAlpha(), 200);
  black[0] = 1;
  EXPECT_FALSE(TexelCoverage(8, 4, black.data()).IsUniformBlack());

  const TexelCoverage none(8, 4, nullptr);
  EXPECT_TRUE(none.GetVisibleBounds(TexelRect{0, 0, 8, 4}, 1).IsEmpty());
  EXPECT_FALSE(none.IsUniformBlack());
}

TEST(TexelCoverage, FoldedRowsTellEmptyOpaqueAndMixedAsTexelByTexelChecksDo) {
  // Random alpha of 0, 128 or 255 in clumps, 150 texels wide (three words a row); every band of
  // rows folded from a column on (in any word), every range of columns, cut at the picture's and
  // the fold's edges, against a texel-by-texel look.
  const uint32_t width = 150, height = 24;
  std::mt19937 random(7);
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4, 0);
  for (size_t texel = 0; texel < static_cast<size_t>(width) * height; texel += 1 + random() % 9) {
    const uint8_t alpha = std::array<uint8_t, 3>{0, 128, 255}[random() % 3];
    for (size_t i = texel; i < std::min<size_t>(texel + random() % 40, static_cast<size_t>(width) * height); ++i) {
      pixels[i * 4 + 3] = alpha;
    }
  }
  const TexelCoverage coverage(width, height, pixels.data());
  TexelCoverage::FoldedRows folded;
  for (int trial = 0; trial < 2000; ++trial) {
    const int32_t bottom = static_cast<int32_t>(random() % (height + 4)) - 2;
    const int32_t top = bottom + 1 + static_cast<int32_t>(random() % 6);
    const int32_t left = static_cast<int32_t>(random() % (width + 4)) - 2;
    const int32_t right = left + 1 + static_cast<int32_t>(random() % 70);
    const int32_t foldLeft = static_cast<int32_t>(random() % 140) - 3;
    coverage.FoldRows(TexelRect{foldLeft, bottom, static_cast<int32_t>(width) + 3, top}, folded);
    bool visible = false, opaque = true, any = false;
    for (int32_t y = std::max(bottom, 0); y < std::min<int32_t>(top, height); ++y) {
      for (int32_t x = std::max({left, foldLeft, 0}); x < std::min<int32_t>(right, width); ++x) {
        const uint8_t alpha = pixels[(static_cast<size_t>(y) * width + x) * 4 + 3];
        any = true;
        visible = visible || alpha != 0;
        opaque = opaque && alpha == 255;
      }
    }
    const TexelCoverage::Kind expected = !any       ? TexelCoverage::Kind::Mixed
                                         : !visible ? TexelCoverage::Kind::Empty
                                         : opaque   ? TexelCoverage::Kind::Opaque
                                                    : TexelCoverage::Kind::Mixed;
    ASSERT_EQ(TexelCoverage::GetKind(folded, left, right), expected)
        << "rows " << bottom << ".." << top << " from column " << foldLeft << ", columns " << left << ".." << right;
  }
}

}  // namespace
