// How the render queue spares fragments without changing the picture. On a software renderer every
// shaded fragment is paid for, and a frame of large, mostly empty layer pictures shades the screen
// several times over. So, for the sprites' shared quads, keeping the lists' order:
// - a sprite is drawn as the parts of its frame that a sample can draw from (the visible texels
//   and the reach of filtering round them); a frame with nothing visible is not drawn;
// - a part whose every sampled texel is opaque, drawn at full alpha, is drawn without blending;
// - what a later opaque part covers is cut from the parts drawn before it;
// - a plain black shade is not drawn: the parts under it take its darkening in their colour, and
//   the view's clear, where it shows, in its colour (blending is linear in the colour, so the
//   result is the same); where the shade does not reach, those parts are drawn a second time,
//   undarkened, each pass held to its region by the scissor (applied before shading).
// With fill saving off every item is drawn as it was submitted: the plain path the tests compare.
#include <algorithm>
#include <cmath>

#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_ScissorState.h"
#include "renderer/Renderer_TexelCoverage.h"
#include "scene/Engine_RenderQueue.h"

namespace Engine {
namespace {

bool g_fillSaving = true;

// Frames smaller than this many texels are drawn as one part: the renderer shades the 4 x 4 blocks
// that a part's edges cross whole, so more parts would cost about what they spare.
constexpr int32_t kSplitTexels = 256 * 256;
constexpr int32_t kColumns = 16;
// How often a column may be halved where its opaque band leaves much of it blended: never, as the
// blended rest is sorted block by block, and every seam between parts costs the blocks it crosses.
constexpr int32_t kSplits = 0;
constexpr int32_t kMinimumColumnWidth = 64;

// Window position of the quad's point (x, y, 0) through clip = matrix; false behind the eye.
bool ToWindow(const Math::Matrix4x4& matrix, const Renderer::Viewport& viewport, double x, double y, double& windowX,
              double& windowY) {
  const float* m = matrix.m;
  const double clipX = m[0] * x + m[4] * y + m[12];
  const double clipY = m[1] * x + m[5] * y + m[13];
  const double clipW = m[3] * x + m[7] * y + m[15];
  if (clipW <= 1e-6) return false;
  windowX = viewport.x + (clipX / clipW + 1.0) * 0.5 * viewport.width;
  windowY = viewport.y + (clipY / clipW + 1.0) * 0.5 * viewport.height;
  return true;
}

// The integer nearest to value, when value is within a thousandth of it.
bool AsInteger(double value, int32_t& integer) {
  const double rounded = std::floor(value + 0.5);
  if (std::fabs(value - rounded) > 1e-3 || std::fabs(rounded) > 1e8) return false;
  integer = static_cast<int32_t>(rounded);
  return true;
}

// Whether the matrix keeps a quad in a plane facing the eye and adds no turn (scale and translation
// only, as sprites are placed): then its depth stays and texels map to window pixels by scale and
// offset alone.
bool IsAxisAligned(const Math::Matrix4x4& m) {
  return m.m[1] == 0.0f && m.m[4] == 0.0f && m.m[2] == 0.0f && m.m[6] == 0.0f && m.m[3] == 0.0f && m.m[7] == 0.0f;
}

// A centre this near a part's edge may be drawn or not: counted in for what a part may draw, out
// for what it surely covers.
constexpr double kEdge = 0.05;

// The pixels (inclusive indices) whose centres the window rectangle surely covers, or may cover.
RenderQueue::PixelRect SurelyCovered(const RenderQueue::WindowRect& r) {
  return {static_cast<int32_t>(std::ceil(r.left - 0.5 + kEdge)), static_cast<int32_t>(std::ceil(r.bottom - 0.5 + kEdge)),
          static_cast<int32_t>(std::floor(r.right - 0.5 - kEdge)), static_cast<int32_t>(std::floor(r.top - 0.5 - kEdge))};
}
RenderQueue::PixelRect MayCover(const RenderQueue::WindowRect& r) {
  return {static_cast<int32_t>(std::ceil(r.left - 0.5 - kEdge)), static_cast<int32_t>(std::ceil(r.bottom - 0.5 - kEdge)),
          static_cast<int32_t>(std::floor(r.right - 0.5 + kEdge)), static_cast<int32_t>(std::floor(r.top - 0.5 + kEdge))};
}

// The renderer shades 4 x 4 pixel blocks; a block's mask holds its pixel (x, y) at bit
// 4 * (y % 4) + x % 4.
constexpr int32_t kBlock = 4;
// Below this many pixels a part is drawn whole: its few saved fragments cost more in quads to cut
// and set up than they save in shading (measured on the software renderer).
constexpr int32_t kMinimumCutPixels = 64 * 64;
int32_t BlockOf(int32_t pixel) { return pixel >= 0 ? pixel / kBlock : -((kBlock - 1 - pixel) / kBlock); }

// The bits of a block's mask that hold the pixels from..to (inclusive, cut to the block) of the
// block's column (`across`) or row of blocks starting at pixel `start`.
uint32_t BlockBits(int32_t from, int32_t to, int32_t start, bool across) {
  const int32_t low = std::max(from - start, 0);
  const int32_t high = std::min(to - start, kBlock - 1);
  if (low > high) return 0;
  // Columns: their bits repeated in every row; rows: whole rows of four.
  if (across) return (((1u << (high - low + 1)) - 1u) << low) * 0x1111u;
  return ((1u << (kBlock * (high - low + 1))) - 1u) << (kBlock * low);
}

// The first of the bits from..last (counted from 0) that is set (or clear); last + 1 if none is.
int32_t NextBit(const uint64_t* bits, int32_t from, int32_t last, bool set) {
  while (from <= last) {
    const uint64_t word = (set ? bits[from / 64] : ~bits[from / 64]) >> (from % 64);
    if (word != 0) return std::min(from + __builtin_ctzll(word), last + 1);
    from = (from / 64 + 1) * 64;
  }
  return last + 1;
}

// Calls visit(first, last) for each run of clear bits from..last.
template <typename Visit>
void ForEachClearRun(const uint64_t* bits, int32_t from, int32_t last, Visit visit) {
  for (int32_t first = NextBit(bits, from, last, false); first <= last;) {
    const int32_t end = NextBit(bits, first, last, true);
    visit(first, end - 1);
    first = NextBit(bits, end, last, false);
  }
}

// Sets the bits from..last.
void SetBits(uint64_t* bits, int32_t from, int32_t last) {
  for (int32_t word = from / 64; word <= last / 64; ++word) {
    const int32_t low = std::max(from - word * 64, 0);
    const int32_t high = std::min(last - word * 64, 63);
    bits[word] |= (~0ull >> (63 - high)) & (~0ull << low);
  }
}

}  // namespace

void RenderQueue::SetFillSaving(bool enabled) { g_fillSaving = enabled; }

bool RenderQueue::IsFillSaving() { return g_fillSaving; }

void RenderQueue::SetViewClearColor(const Math::Color& color) {
  m_viewClearColor = color;
  m_viewCleared = true;
}

void RenderQueue::SplitSpriteQuad(const RenderItem& item, const Math::Matrix4x4& viewProjection,
                                  const Renderer::Viewport& viewport) {
  const size_t source = m_sourceCount++;
  const auto keep = [this, &item, source]() {
    m_pieces.push_back(item);
    m_pieceInfo.push_back(PieceInfo());
    m_pieceInfo.back().source = source;
  };
  if (!item.useSharedQuad || item.customBlend || !item.texture || item.effect.Get() != m_spriteEffect.Get()) {
    keep();
    return;
  }
  const Renderer::TexelCoverage* coverage = item.texture->GetCoverage();
  const Math::Matrix4x4& model = item.modelMatrix;
  const Math::Matrix4x4& texture = item.textureMatrix;
  if (coverage == nullptr || !IsAxisAligned(model) || texture.m[1] != 0.0f || texture.m[4] != 0.0f ||
      texture.m[0] <= 0.0f || texture.m[5] <= 0.0f) {
    keep();
    return;
  }
  // The frame's cell in texels, from the texture matrix that maps the quad's (0, 0)-(1, 1) onto it.
  const auto width = static_cast<double>(coverage->GetWidth());
  const auto height = static_cast<double>(coverage->GetHeight());
  Renderer::TexelRect cell;
  int32_t cellWidth = 0;
  int32_t cellHeight = 0;
  if (!AsInteger(texture.m[12] * width, cell.left) || !AsInteger(texture.m[13] * height, cell.bottom) ||
      !AsInteger(texture.m[0] * width, cellWidth) || !AsInteger(texture.m[5] * height, cellHeight)) {
    keep();
    return;
  }
  cell.right = cell.left + cellWidth;
  cell.top = cell.bottom + cellHeight;
  if (cell.IsEmpty() || cell.left < 0 || cell.bottom < 0 || cell.right > static_cast<int32_t>(width) ||
      cell.top > static_cast<int32_t>(height)) {
    keep();
    return;
  }

  // Texel (u, v) of the cell lands at window (x0 + u * scaleX, y0 + v * scaleY).
  const Math::Matrix4x4 toClip = viewProjection * model;
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  if (!ToWindow(toClip, viewport, -0.5, -0.5, x0, y0) || !ToWindow(toClip, viewport, 0.5, 0.5, x1, y1)) {
    keep();
    return;
  }
  const double scaleX = (x1 - x0) / cellWidth;
  const double scaleY = (y1 - y0) / cellHeight;
  if (std::fabs(scaleX) < 1e-6 || std::fabs(scaleY) < 1e-6) {
    keep();
    return;
  }

  // How far a sample reaches: bilinear filtering at one level takes the texels within one of the
  // sample; a mipmap level doubles that per level, and each level was drawn from the picture with
  // a filter two of its texels wide. The deepest level used follows from the texels per window
  // pixel, as the driver finds it (with a margin for its rounding).
  const double texelsPerPixel = std::max(1.0 / std::fabs(scaleX), 1.0 / std::fabs(scaleY));
  int32_t level = 0;
  if (item.texture->HasMipmaps() && texelsPerPixel > 0.95) {
    level = static_cast<int32_t>(std::floor(std::log2(texelsPerPixel) + 0.05)) + 1;
  }
  if (level > 4) {  // a small picture far away: little to spare, much to reach
    keep();
    return;
  }
  const int32_t reach = level == 0 ? 1 : 4 << level;
  const bool split = cellWidth * cellHeight >= kSplitTexels;
  const int32_t columnWidth = split ? std::max(kMinimumColumnWidth, (cellWidth + kColumns - 1) / kColumns) : cellWidth;
  const std::vector<Renderer::TexelPiece>& pieces = coverage->GetPieces(cell, reach, columnWidth, split ? kSplits : 0);
  const bool fullAlpha = item.color.a >= 1.0f;
  const bool black = coverage->IsUniformBlack();

  const size_t firstPiece = m_pieces.size();
  for (const Renderer::TexelPiece& piece : pieces) {
    const bool opaque = piece.opaque && fullAlpha;
    // Blended parts of neighbouring columns over the same rows are drawn as one.
    if (!opaque && m_pieces.size() > firstPiece) {
      PieceInfo& last = m_pieceInfo.back();
      if (!last.opaque && last.texelRight == piece.rect.left - cell.left &&
          last.texelBottom == piece.rect.bottom - cell.bottom && last.texelTop == piece.rect.top - cell.bottom) {
        last.texelRight = piece.rect.right - cell.left;
        continue;
      }
    }
    PieceInfo info;
    info.source = source;
    info.sprite = true;
    info.opaque = opaque;
    info.black = black;
    info.texelLeft = piece.rect.left - cell.left;
    info.texelBottom = piece.rect.bottom - cell.bottom;
    info.texelRight = piece.rect.right - cell.left;
    info.texelTop = piece.rect.top - cell.bottom;
    info.cellWidth = cellWidth;
    info.cellHeight = cellHeight;
    info.originX = x0;
    info.originY = y0;
    info.scaleX = scaleX;
    info.scaleY = scaleY;
    if (!opaque) {
      info.coverage = coverage;
      info.cellLeft = cell.left;
      info.cellBottom = cell.bottom;
      info.reach = reach;
      info.fullAlpha = fullAlpha;
    }
    m_pieces.push_back(item);
    m_pieceInfo.push_back(info);
  }
}

RenderQueue::WindowRect RenderQueue::PieceInfo::Window() const {
  WindowRect rect;
  const double ax = originX + texelLeft * scaleX;
  const double bx = originX + texelRight * scaleX;
  const double ay = originY + texelBottom * scaleY;
  const double by = originY + texelTop * scaleY;
  rect.left = std::min(ax, bx);
  rect.right = std::max(ax, bx);
  rect.bottom = std::min(ay, by);
  rect.top = std::max(ay, by);
  return rect;
}

void RenderQueue::PieceInfo::TexelsAt(double from, double to, bool across, int32_t& low, int32_t& high) const {
  const double origin = across ? originX : originY;
  const double scale = across ? scaleX : scaleY;
  const double a = (from - origin) / scale;
  const double b = (to - origin) / scale;
  const int32_t cellOrigin = across ? cellLeft : cellBottom;
  low = cellOrigin + static_cast<int32_t>(std::floor(std::min(a, b))) - reach;
  high = cellOrigin + static_cast<int32_t>(std::ceil(std::max(a, b))) + reach;
}

void RenderQueue::PieceInfo::SetWindow(const WindowRect& rect) {
  // Back from window pixels to texels of the cell, whichever way the sprite is flipped.
  const double u0 = (rect.left - originX) / scaleX;
  const double u1 = (rect.right - originX) / scaleX;
  const double v0 = (rect.bottom - originY) / scaleY;
  const double v1 = (rect.top - originY) / scaleY;
  texelLeft = std::max(texelLeft, std::min(u0, u1));
  texelRight = std::min(texelRight, std::max(u0, u1));
  texelBottom = std::max(texelBottom, std::min(v0, v1));
  texelTop = std::min(texelTop, std::max(v0, v1));
}

void RenderQueue::CutCovered(const Renderer::Viewport& viewport) {
  // From the last part back to the first: a block whose pixels of the part opaque parts drawn after
  // it cover is not drawn for it. The cuts run along block boundaries, where the renderer's blocks
  // end anyway, so they add no partly covered block.
  m_gridLeft = BlockOf(viewport.x);
  m_gridBottom = BlockOf(viewport.y);
  m_gridWidth = BlockOf(viewport.x + viewport.width - 1) - m_gridLeft + 1;
  m_gridHeight = BlockOf(viewport.y + viewport.height - 1) - m_gridBottom + 1;
  if (m_gridWidth <= 0 || m_gridHeight <= 0) return;
  m_covered.assign(static_cast<size_t>(m_gridWidth) * static_cast<size_t>(m_gridHeight), 0);
  m_wholeWords = (static_cast<size_t>(m_gridWidth) + 63) / 64;
  m_whole.assign(m_wholeWords * static_cast<size_t>(m_gridHeight), 0);
  m_coveredValid = true;
  m_cutPieces.clear();
  m_cutInfo.clear();
  const WindowRect view{static_cast<double>(viewport.x), static_cast<double>(viewport.y),
                        static_cast<double>(viewport.x) + viewport.width, static_cast<double>(viewport.y) + viewport.height};
  m_pendingOccluders.clear();
  for (size_t n = m_pieces.size(); n-- > 0;) {
    const PieceInfo& info = m_pieceInfo[n];
    // The parts of one sprite never overlap: what they cover hides only the parts drawn before it.
    if (n + 1 < m_pieces.size() && m_pieceInfo[n + 1].source != info.source) ApplyOccluders();
    // A shade stays whole: it is folded into what lies under it.
    if (!info.sprite || info.skip || (info.black && !info.opaque)) {
      m_cutPieces.push_back(m_pieces[n]);
      m_cutInfo.push_back(info);
      continue;
    }
    WindowRect rect = info.Window();
    rect.left = std::max(rect.left, view.left);
    rect.bottom = std::max(rect.bottom, view.bottom);
    rect.right = std::min(rect.right, view.right);
    rect.top = std::min(rect.top, view.top);
    const PixelRect drawn = MayCover(rect);
    if (rect.left >= rect.right || rect.bottom >= rect.top || drawn.left > drawn.right || drawn.bottom > drawn.top) {
      continue;
    }
    if ((drawn.right - drawn.left + 1) * (drawn.top - drawn.bottom + 1) < kMinimumCutPixels) {
      m_cutPieces.push_back(m_pieces[n]);
      m_cutInfo.push_back(info);
    } else {
      AddUncovered(n, rect, drawn);
    }
    if (!info.opaque) continue;
    // Neighbouring columns over the same rows cover their seam together, though a pixel centred on
    // it is not surely covered by either: they hide as one.
    if (!m_pendingOccluders.empty()) {
      Occluder& last = m_pendingOccluders.back();
      if (last.piece == n + 1 && last.texelBottom == info.texelBottom && last.texelTop == info.texelTop &&
          (last.texelLeft == info.texelRight || last.texelRight == info.texelLeft)) {
        last.rect.left = std::min(last.rect.left, rect.left);
        last.rect.right = std::max(last.rect.right, rect.right);
        last.texelLeft = std::min(last.texelLeft, info.texelLeft);
        last.texelRight = std::max(last.texelRight, info.texelRight);
        last.piece = n;
        continue;
      }
    }
    m_pendingOccluders.push_back(Occluder{rect, n, info.texelLeft, info.texelBottom, info.texelRight, info.texelTop});
  }
  ApplyOccluders();
  std::reverse(m_cutPieces.begin(), m_cutPieces.end());
  std::reverse(m_cutInfo.begin(), m_cutInfo.end());
  m_pieces.swap(m_cutPieces);
  m_pieceInfo.swap(m_cutInfo);
}

void RenderQueue::ApplyOccluders() {
  for (const Occluder& occluder : m_pendingOccluders) {
    const PixelRect covered = SurelyCovered(occluder.rect);
    if (covered.left > covered.right || covered.bottom > covered.top) continue;
    const int32_t firstX = std::max(BlockOf(covered.left), m_gridLeft) - m_gridLeft;
    const int32_t lastX = std::min(BlockOf(covered.right), m_gridLeft + m_gridWidth - 1) - m_gridLeft;
    const int32_t firstY = std::max(BlockOf(covered.bottom), m_gridBottom);
    const int32_t lastY = std::min(BlockOf(covered.top), m_gridBottom + m_gridHeight - 1);
    for (int32_t y = firstY; y <= lastY; ++y) {
      const auto row = static_cast<size_t>(y - m_gridBottom);
      uint16_t* blocks = &m_covered[row * static_cast<size_t>(m_gridWidth)];
      uint64_t* whole = &m_whole[row * m_wholeWords];
      const uint32_t rowBits = BlockBits(covered.bottom, covered.top, y * kBlock, false);
      const auto cover = [&](int32_t x, uint32_t mask) {
        blocks[x] = static_cast<uint16_t>(blocks[x] | mask);
        if (blocks[x] == 0xFFFFu) whole[x / 64] |= 1ull << (x % 64);
      };
      cover(firstX, rowBits & BlockBits(covered.left, covered.right, (firstX + m_gridLeft) * kBlock, true));
      if (lastX == firstX) continue;
      // The blocks between the first and the last column are whole across.
      if (rowBits == 0xFFFFu && lastX > firstX + 1) {
        std::fill(blocks + firstX + 1, blocks + lastX, static_cast<uint16_t>(0xFFFFu));
        SetBits(whole, firstX + 1, lastX - 1);
      } else {
        for (int32_t x = firstX + 1; x < lastX; ++x) cover(x, rowBits);
      }
      cover(lastX, rowBits & BlockBits(covered.left, covered.right, (lastX + m_gridLeft) * kBlock, true));
    }
  }
  m_pendingOccluders.clear();
}

template <typename Visit>
void RenderQueue::ForEachOpenBlock(const PixelRect& pixels, Visit visit) const {
  const int32_t firstX = std::max(BlockOf(pixels.left), m_gridLeft);
  const int32_t lastX = std::min(BlockOf(pixels.right), m_gridLeft + m_gridWidth - 1);
  const int32_t firstY = std::max(BlockOf(pixels.bottom), m_gridBottom);
  const int32_t lastY = std::min(BlockOf(pixels.top), m_gridBottom + m_gridHeight - 1);
  for (int32_t y = firstY; y <= lastY; ++y) {
    const auto row = static_cast<size_t>(y - m_gridBottom);
    const uint32_t rowBits = BlockBits(pixels.bottom, pixels.top, y * kBlock, false);
    // Inner blocks are whole; only the first and last column are cut.
    ForEachClearRun(&m_whole[row * m_wholeWords], firstX - m_gridLeft, lastX - m_gridLeft, [&](int32_t from, int32_t to) {
      for (int32_t column = from; column <= to; ++column) {
        const int32_t x = column + m_gridLeft;
        const uint32_t columnBits = x == firstX || x == lastX ? BlockBits(pixels.left, pixels.right, x * kBlock, true) : 0xFFFFu;
        visit(row, column, static_cast<uint16_t>(rowBits & columnBits));
      }
    });
  }
}

void RenderQueue::AddUncovered(size_t piece, const WindowRect& rect, const PixelRect& drawn) {
  // Row of blocks by row, the runs of blocks still to draw; a run that repeats in the next row grows
  // into a rectangle, any other ends there and is drawn as it stands. Of a blended part, blocks
  // that samples find empty are left out and those they find opaque are drawn unblended (and hide
  // what lies under them): a column's blended rest is mostly sky beside one roof.
  const PieceInfo& whole = m_pieceInfo[piece];
  const bool sort = whole.coverage != nullptr && !whole.opaque;
  m_texelColumns.clear();
  std::vector<BlockRun>& open = m_openRuns;
  std::vector<BlockRun>& next = m_nextRuns;
  open.clear();
  const auto emit = [&](const BlockRun& run, int32_t top) {
    WindowRect part = rect;
    part.left = std::max(part.left, static_cast<double>(run.first * kBlock));
    part.right = std::min(part.right, static_cast<double>((run.last + 1) * kBlock));
    part.bottom = std::max(part.bottom, static_cast<double>(run.bottom * kBlock));
    part.top = std::min(part.top, static_cast<double>((top + 1) * kBlock));
    PieceInfo info = m_pieceInfo[piece];
    info.SetWindow(part);
    if (info.texelLeft >= info.texelRight || info.texelBottom >= info.texelTop) return;
    m_cutPieces.push_back(m_pieces[piece]);
    m_cutInfo.push_back(info);
    if (run.opaque && !whole.opaque) {
      m_cutInfo.back().opaque = true;
      m_pendingOccluders.push_back(Occluder{part, SIZE_MAX, 0, 0, 0, 0});
    }
  };
  const int32_t firstX = std::max(BlockOf(drawn.left), m_gridLeft);
  const int32_t lastX = std::min(BlockOf(drawn.right), m_gridLeft + m_gridWidth - 1);
  const int32_t firstY = std::max(BlockOf(drawn.bottom), m_gridBottom);
  const int32_t lastY = std::min(BlockOf(drawn.top), m_gridBottom + m_gridHeight - 1);
  if (sort) {
    // The texel columns that samples in each column of blocks reach.
    for (int32_t x = firstX; x <= lastX; ++x) {
      int32_t low = 0, high = 0;
      whole.TexelsAt(std::max(rect.left, static_cast<double>(x * kBlock)),
                     std::min(rect.right, static_cast<double>((x + 1) * kBlock)), true, low, high);
      m_texelColumns.emplace_back(low, high);
    }
  }
  int32_t foldLeft = INT32_MAX, foldRight = INT32_MIN;
  for (const auto& texels : m_texelColumns) {
    foldLeft = std::min(foldLeft, texels.first);
    foldRight = std::max(foldRight, texels.second);
  }
  for (int32_t y = firstY; y <= lastY; ++y) {
    next.clear();
    const uint16_t* covered = &m_covered[static_cast<size_t>(y - m_gridBottom) * static_cast<size_t>(m_gridWidth)];
    const uint64_t* hidden = &m_whole[static_cast<size_t>(y - m_gridBottom) * m_wholeWords];
    if (sort && !m_texelColumns.empty()) {
      // The texel rows that samples in this row of blocks reach, folded into one.
      int32_t low = 0, high = 0;
      whole.TexelsAt(std::max(rect.bottom, static_cast<double>(y * kBlock)),
                     std::min(rect.top, static_cast<double>((y + 1) * kBlock)), false, low, high);
      whole.coverage->FoldRows(Renderer::TexelRect{foldLeft, low, foldRight, high}, m_folded);
    }
    const uint32_t rowBits = BlockBits(drawn.bottom, drawn.top, y * kBlock, false);
    const auto add = [&](int32_t first, int32_t last, bool opaque) {
      if (!next.empty() && next.back().last == first - 1 && next.back().opaque == opaque) {
        next.back().last = last;
      } else {
        next.push_back(BlockRun{first, last, y, opaque, false});
      }
    };
    // A block that shows: of a blended part, left out where samples find it empty, drawn unblended
    // where they find it opaque.
    const auto show = [&](int32_t x) {
      if (!sort) {
        add(x, x, whole.opaque);
        return;
      }
      const std::pair<int32_t, int32_t>& texels = m_texelColumns[static_cast<size_t>(x - firstX)];
      const Renderer::TexelCoverage::Kind kind = Renderer::TexelCoverage::GetKind(m_folded, texels.first, texels.second);
      if (kind != Renderer::TexelCoverage::Kind::Empty) add(x, x, kind == Renderer::TexelCoverage::Kind::Opaque && whole.fullAlpha);
    };
    const auto visit = [&](int32_t x) {
      const uint32_t columnBits = x == firstX || x == lastX ? BlockBits(drawn.left, drawn.right, x * kBlock, true) : 0xFFFFu;
      if ((rowBits & columnBits & ~static_cast<uint32_t>(covered[x - m_gridLeft])) != 0) show(x);
    };
    // Blocks covered whole are passed over a run at a time. In a row of the part's whole rows, only
    // the first and the last column may be cut: the blocks between show, and of a part drawn as it
    // stands they are drawn a run at a time.
    ForEachClearRun(hidden, firstX - m_gridLeft, lastX - m_gridLeft, [&](int32_t from, int32_t to) {
      from += m_gridLeft;
      to += m_gridLeft;
      if (rowBits != 0xFFFFu) {
        for (int32_t x = from; x <= to; ++x) visit(x);
        return;
      }
      if (from == firstX) visit(from++);
      const bool lastToo = to == lastX && from <= to;
      if (lastToo) --to;
      if (!sort) {
        if (from <= to) add(from, to, whole.opaque);
      } else {
        for (int32_t x = from; x <= to; ++x) show(x);
      }
      if (lastToo) visit(lastX);
    });
    for (BlockRun& run : next) {
      for (BlockRun& was : open) {
        if (was.first == run.first && was.last == run.last && was.opaque == run.opaque) {
          run.bottom = was.bottom;
          was.continued = true;
          break;
        }
      }
    }
    for (const BlockRun& was : open) {
      if (!was.continued) emit(was, y - 1);
    }
    open.swap(next);
  }
  for (const BlockRun& was : open) emit(was, lastY);
}

RenderQueue::PixelRect RenderQueue::UncoveredBounds(const PixelRect& region) const {
  if (!m_coveredValid) return region;
  // Pixels inclusive, block by block: what the opaque parts leave of the region.
  PixelRect bounds{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  ForEachOpenBlock(region, [&](size_t row, int32_t column, uint16_t mask) {
    const uint32_t open = mask & ~static_cast<uint32_t>(m_covered[row * static_cast<size_t>(m_gridWidth) + static_cast<size_t>(column)]);
    if (open == 0) return;
    const int32_t x = (m_gridLeft + column) * kBlock;
    const int32_t y = (m_gridBottom + static_cast<int32_t>(row)) * kBlock;
    const uint32_t columns = (open | open >> 4 | open >> 8 | open >> 12) & 0xFu;
    bounds.left = std::min(bounds.left, x + __builtin_ctz(columns));
    bounds.right = std::max(bounds.right, x + 31 - __builtin_clz(columns));
    for (int32_t row = 0; row < kBlock; ++row) {
      if (((open >> (kBlock * row)) & 0xFu) == 0) continue;
      bounds.bottom = std::min(bounds.bottom, y + row);
      bounds.top = std::max(bounds.top, y + row);
    }
  });
  return bounds;
}

void RenderQueue::SpareFill(std::vector<RenderItem>& items, bool mayFold) {
  m_fold = Fold();
  if (!g_fillSaving || items.empty() || m_renderer == nullptr) return;
  const Math::Matrix4x4 view = m_renderer->GetViewMatrix();
  const Math::Matrix4x4 projection = m_renderer->GetProjectionMatrix();
  const Math::Matrix4x4 viewProjection = projection * view;
  const Renderer::Viewport viewport = m_renderer->GetViewport();

  m_pieces.clear();
  m_pieceInfo.clear();
  m_sourceCount = 0;
  m_coveredValid = false;
  for (const RenderItem& item : items) SplitSpriteQuad(item, item.ignoreView ? projection : viewProjection, viewport);
  // Depth writes by opaque-list items could hide an occluder's fragments.
  if (m_opaque.empty()) CutCovered(viewport);

  // A black shade over sprites only: those under it take its darkening.
  if (mayFold && m_viewCleared && m_opaque.empty() && m_textContexts.empty()) {
    for (size_t i = 0; i < m_pieces.size(); ++i) {
      const PieceInfo& info = m_pieceInfo[i];
      if (info.skip) continue;
      if (!info.sprite) break;
      if (!info.black || info.opaque) continue;
      // The shade must be one part, left out whole.
      const bool whole = (i == 0 || m_pieceInfo[i - 1].source != info.source) &&
                         (i + 1 == m_pieces.size() || m_pieceInfo[i + 1].source != info.source);
      if (!whole) break;
      const WindowRect shade = info.Window();
      m_fold.active = true;
      m_fold.count = i;
      m_fold.keep = 1.0f - (static_cast<float>(m_pieces[i].texture->GetCoverage()->GetUniformAlpha()) / 255.0f) *
                               std::clamp(m_pieces[i].color.a, 0.0f, 1.0f);
      // The pixels whose centres the shade's quad covers.
      m_fold.left = static_cast<int32_t>(std::ceil(shade.left - 0.5));
      m_fold.bottom = static_cast<int32_t>(std::ceil(shade.bottom - 0.5));
      m_fold.right = static_cast<int32_t>(std::ceil(shade.right - 0.5));
      m_fold.top = static_cast<int32_t>(std::ceil(shade.top - 0.5));
      m_pieceInfo[i].skip = true;
      m_fold.left = std::clamp(m_fold.left, viewport.x, viewport.x + viewport.width);
      m_fold.right = std::clamp(m_fold.right, viewport.x, viewport.x + viewport.width);
      m_fold.bottom = std::clamp(m_fold.bottom, viewport.y, viewport.y + viewport.height);
      m_fold.top = std::clamp(m_fold.top, viewport.y, viewport.y + viewport.height);
      m_fold.clear = UncoveredBounds(PixelRect{m_fold.left, m_fold.bottom, m_fold.right - 1, m_fold.top - 1});
      break;
    }
  }

  // The parts that show, item by item: one quad for a lone part, else one batch of quads for the
  // opaque parts and one for the blended ones (parts of one item never overlap, so their order
  // among themselves does not matter).
  items.clear();
  m_foldColors.clear();
  m_batchesUsed = 0;
  const size_t shade = m_fold.count;
  m_fold.count = 0;
  for (size_t first = 0; first < m_pieces.size();) {
    size_t end = first + 1;
    while (end < m_pieces.size() && m_pieceInfo[end].source == m_pieceInfo[first].source) ++end;
    const size_t before = items.size();
    if (!m_pieceInfo[first].sprite) {
      if (!m_pieceInfo[first].skip) items.push_back(m_pieces[first]);
    } else {
      for (const bool opaque : {true, false}) EmitParts(first, end, opaque, items);
    }
    if (m_fold.active && first < shade) m_fold.count += items.size() - before;
    first = end;
  }
  if (m_fold.active) {
    for (size_t i = 0; i < m_fold.count; ++i) {
      m_foldColors.push_back(items[i].color);
      items[i].color.r *= m_fold.keep;
      items[i].color.g *= m_fold.keep;
      items[i].color.b *= m_fold.keep;
    }
  }
}

void RenderQueue::EmitParts(size_t first, size_t end, bool opaque, std::vector<RenderItem>& items) {
  size_t count = 0;
  size_t lone = first;
  for (size_t i = first; i < end; ++i) {
    if (m_pieceInfo[i].skip || m_pieceInfo[i].opaque != opaque) continue;
    ++count;
    lone = i;
  }
  if (count == 0) return;
  RenderItem item = m_pieces[lone];
  if (opaque) item.effect = m_opaqueSpriteEffect;
  // A part's quad spans its texels of the cell: the quad (-0.5..0.5) maps to the cell's texels
  // (u = (x + 0.5) * cellWidth), a mapping each part keeps, so each fragment samples where it did.
  const auto span = [](const PieceInfo& info, float& left, float& bottom, float& right, float& top) {
    left = static_cast<float>(info.texelLeft / info.cellWidth);
    right = static_cast<float>(info.texelRight / info.cellWidth);
    bottom = static_cast<float>(info.texelBottom / info.cellHeight);
    top = static_cast<float>(info.texelTop / info.cellHeight);
  };
  float left = 0, bottom = 0, right = 1, top = 1;
  if (count == 1) {
    span(m_pieceInfo[lone], left, bottom, right, top);
    if (left != 0.0f || bottom != 0.0f || right != 1.0f || top != 1.0f) {
      const Math::Matrix4x4 part = Math::Matrix4x4::MakeScale(right - left, top - bottom, 1.0f);
      item.modelMatrix = item.modelMatrix *
                         Math::Matrix4x4::MakeTranslation((left + right) * 0.5f - 0.5f, (bottom + top) * 0.5f - 0.5f, 0.0f) *
                         part;
      item.textureMatrix = item.textureMatrix * Math::Matrix4x4::MakeTranslation(left, bottom, 0.0f) * part;
    }
    items.push_back(item);
    return;
  }
  // Several parts: one draw of their quads, in the item's own quad and cell coordinates.
  if (m_batchesUsed == m_batches.size()) m_batches.emplace_back(new ("Internal_RenderQueue", __LINE__) Mesh());
  Mesh* batch = m_batches[m_batchesUsed++].Get();
  batch->Clear();
  uint32_t vertices = 0;
  uint32_t indices = 0;
  for (size_t i = first; i < end; ++i) {
    if (m_pieceInfo[i].skip || m_pieceInfo[i].opaque != opaque) continue;
    span(m_pieceInfo[i], left, bottom, right, top);
    // Four corners shared by the quad's two triangles: the renderer transforms each vertex once.
    const float corners[4][2] = {{left, bottom}, {right, bottom}, {right, top}, {left, top}};
    for (const auto& corner : corners) {
      batch->AddPosition(Math::Vector3D(corner[0] - 0.5f, corner[1] - 0.5f, 0.0f));
      batch->AddTexCoord(Math::Vector2D(corner[0], corner[1]));
    }
    for (const uint32_t corner : {0u, 1u, 2u, 2u, 3u, 0u}) batch->AddIndex(vertices + corner);
    vertices += 4;
    indices += 6;
  }
  batch->AddPart(MeshPart{0, indices - 1, -1, 1});
  item.mesh = batch;
  item.meshPart = 0;
  items.push_back(item);
}

void RenderQueue::DrawFolded(std::vector<RenderItem>& items) {
  if (!m_fold.active) {
    DrawItems(items, 0, items.size());
    return;
  }
  Renderer::IRenderer* renderer = m_renderer;
  Renderer::ScissorState saved;
  renderer->GetScissorState(saved);
  const Renderer::Viewport viewport = renderer->GetViewport();
  // The region drawn now: the scissor's, else the viewport's.
  int32_t left = viewport.x, bottom = viewport.y, right = viewport.x + viewport.width, top = viewport.y + viewport.height;
  if (saved.enabled) {
    left = std::max(left, saved.x);
    bottom = std::max(bottom, saved.y);
    right = std::min(right, saved.x + saved.width);
    top = std::min(top, saved.y + saved.height);
  }
  const auto region = [&](int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    Renderer::ScissorState scissor;
    scissor.x = x0;
    scissor.y = y0;
    scissor.width = std::max(x1 - x0, 0);
    scissor.height = std::max(y1 - y0, 0);
    scissor.enabled = 1;
    renderer->SetScissorState(scissor);
  };
  const int32_t inLeft = std::clamp(m_fold.left, left, right);
  const int32_t inRight = std::clamp(m_fold.right, left, right);
  const int32_t inBottom = std::clamp(m_fold.bottom, bottom, top);
  const int32_t inTop = std::clamp(m_fold.top, bottom, top);
  if (inLeft < inRight && inBottom < inTop) {
    // Under the shade: the clear and the parts darkened.
    region(inLeft, inBottom, inRight, inTop);
    // Only where opaque parts leave the clear showing: a clear held by the scissor is drawn, and
    // the renderer shades every pixel the scissor lets through.
    const PixelRect& shown = m_fold.clear;
    const int32_t clearLeft = std::max(shown.left, inLeft), clearRight = std::min(shown.right + 1, inRight);
    const int32_t clearBottom = std::max(shown.bottom, inBottom), clearTop = std::min(shown.top + 1, inTop);
    if (clearLeft < clearRight && clearBottom < clearTop) {
      region(clearLeft, clearBottom, clearRight, clearTop);
      const Math::Color clear(m_viewClearColor.r * m_fold.keep, m_viewClearColor.g * m_fold.keep,
                              m_viewClearColor.b * m_fold.keep, m_viewClearColor.a);
      renderer->ClearColorBuffer(clear);
      region(inLeft, inBottom, inRight, inTop);
    }
    DrawItems(items, 0, m_fold.count);
  }
  // Round it, where the shade does not reach: the parts as they were.
  for (size_t i = 0; i < m_fold.count; ++i) std::swap(items[i].color, m_foldColors[i]);
  const int32_t strips[4][4] = {{left, bottom, right, inBottom},
                                {left, inTop, right, top},
                                {left, inBottom, inLeft, inTop},
                                {inRight, inBottom, right, inTop}};
  for (const auto& strip : strips) {
    if (strip[0] >= strip[2] || strip[1] >= strip[3]) continue;
    region(strip[0], strip[1], strip[2], strip[3]);
    DrawItems(items, 0, m_fold.count);
  }
  renderer->SetScissorState(saved);
  DrawItems(items, m_fold.count, items.size());
}

}  // namespace Engine
