#include "scene/Engine_BitmapFont.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/PAL_ByteOrder.h"
#include "platform/PAL_Path.h"
#include "platform/PAL_Services.h"
#include "renderer/Renderer_ITexture.h"
#include "scene/Engine_TextureSource.h"

namespace Engine {
namespace {

// Text is measured and laid out by adding these sizes up, glyph after glyph: each kept well inside
// a pixel count any sheet could hold, so no sum of a long text can overflow or lose its meaning.
constexpr int32_t kMaximumMetric = 1 << 16;

bool InBounds(int32_t value) { return value >= -kMaximumMetric && value <= kMaximumMetric; }

// The header fields and glyph records (3296 bytes) that follow the name; false (metrics all zero)
// when a metric is out of bounds or a bearing is not a number.
bool ParseBody(const uint8_t* body, FontMetrics& metrics) {
  for (int i = 0; i < 8; ++i) metrics.header[i] = PAL::ReadI32LE(body + 4 * i);
  bool sound = std::all_of(std::begin(metrics.header), std::end(metrics.header), InBounds);
  const uint8_t* record = body + 32;
  for (uint32_t i = 0; i < kGlyphCount; ++i, record += 34) {
    Glyph& glyph = metrics.glyphs[i];
    glyph.code = PAL::ReadU16LE(record);
    glyph.width = PAL::ReadI32LE(record + 2);
    glyph.advance = PAL::ReadI32LE(record + 6);
    glyph.height = PAL::ReadI32LE(record + 10);
    glyph.unused4 = PAL::ReadI32LE(record + 14);
    glyph.unused5 = PAL::ReadI32LE(record + 18);
    glyph.leftBearing = PAL::ReadF32LE(record + 22);
    glyph.horizontalOffset = PAL::ReadI32LE(record + 26);
    glyph.verticalOffset = PAL::ReadI32LE(record + 30);
    sound = sound && InBounds(glyph.width) && InBounds(glyph.advance) && InBounds(glyph.height) &&
            InBounds(glyph.horizontalOffset) && InBounds(glyph.verticalOffset) && std::isfinite(glyph.leftBearing) &&
            std::fabs(glyph.leftBearing) <= static_cast<float>(kMaximumMetric);
  }
  if (!sound) metrics = FontMetrics();
  return sound;
}

uint64_t ExpectedSize(uint32_t nameLength) { return kFontHeaderBytes + 2ull * nameLength + kFontGlyphBytes; }

struct Rectangle {
  float left, bottom, right, top;
};
}  // namespace

bool ParseFontMetrics(const uint8_t* data, size_t size, FontMetrics& metrics) {
  metrics = FontMetrics();
  if (data == nullptr || size < 4) return false;
  const uint32_t nameLength = PAL::ReadU32LE(data);
  if (static_cast<uint64_t>(size) != ExpectedSize(nameLength)) return false;
  return ParseBody(data + 4 + 2ull * nameLength, metrics);
}

bool ReadFontMetricsFile(const std::string& path, FontMetrics& metrics, std::string& error) {
  metrics = FontMetrics();
  std::ifstream file(PAL::MapPath(path), std::ios::binary);
  if (!file) {
    error = "cannot open \"" + path + "\"";
    return false;
  }
  file.seekg(0, std::ios::end);
  const std::streamoff end = file.tellg();
  file.seekg(0, std::ios::beg);
  uint8_t lengthBytes[4];
  if (end < 4 || !file.read(reinterpret_cast<char*>(lengthBytes), 4)) {
    error = "\"" + path + "\" is too short for a font metrics file";
    return false;
  }
  const uint32_t nameLength = PAL::ReadU32LE(lengthBytes);
  if (static_cast<uint64_t>(end) != ExpectedSize(nameLength)) {
    error = "\"" + path + "\" is " + std::to_string(end) + " bytes; its name length asks for " +
            std::to_string(ExpectedSize(nameLength));
    return false;
  }
  std::vector<uint8_t> body(static_cast<size_t>(kFontHeaderBytes - 4 + kFontGlyphBytes));
  file.seekg(static_cast<std::streamoff>(4 + 2ull * nameLength), std::ios::beg);
  if (!file.read(reinterpret_cast<char*>(body.data()), static_cast<std::streamsize>(body.size()))) {
    error = "cannot read \"" + path + "\"";
    return false;
  }
  if (!ParseBody(body.data(), metrics)) {
    error = "\"" + path + "\" holds a glyph size, offset or bearing out of bounds";
    return false;
  }
  return true;
}

BitmapFont::BitmapFont(const std::string& name) {
  m_path = name.empty() ? std::string(PAL::GetExecutableDirectory()) + "\\Resources\\Fonts\\DefaultFont\\DefaultFont"
                        : name;
  m_texture = LoadTexture(m_path + ".png", true).Get();
  m_hasMetrics = ReadFontMetricsFile(m_path + ".fbf", m_metrics, m_error);
  BuildTexCoords();
}

BitmapFont::~BitmapFont() = default;

Core::SmartPointer<Renderer::ITexture> BitmapFont::GetTexture() const {
  return static_cast<Renderer::ITexture*>(m_texture.Get());
}

void BitmapFont::BuildTexCoords() {
  Renderer::ITexture* texture = static_cast<Renderer::ITexture*>(m_texture.Get());
  const float w = texture ? static_cast<float>(texture->GetWidth()) : 0.0f;
  const auto c = static_cast<float>(m_metrics.header[3]);
  // A sheet without a size has no cells to point into.
  if (w <= 0.0f) return;
  for (uint32_t i = 0; i < kGlyphCount; ++i) {
    const auto column = static_cast<float>(i % 10);
    const auto row = static_cast<float>(i / 10);
    const float u0 = column * c / w;
    const float u1 = (column * c + c) / w;
    const float vTop = (w - row * c) / w;
    const float vBottom = (w - row * c - c) / w;
    const float coordinates[8] = {u0, vBottom, u1, vBottom, u1, vTop, u0, vTop};
    std::memcpy(m_texCoords[i], coordinates, sizeof(coordinates));
  }
}

uint32_t BitmapFont::GlyphIndex(int32_t code) {
  if (code < static_cast<int32_t>(kFirstGlyphCode) || code > 127) return 0;
  return static_cast<uint32_t>(code) - kFirstGlyphCode;
}

const Glyph& BitmapFont::GetGlyph(int32_t code) const { return m_metrics.glyphs[GlyphIndex(code)]; }

const float* BitmapFont::GetGlyphTexCoords(int32_t code) const { return m_texCoords[GlyphIndex(code)]; }

void BitmapFont::MeasureText(const std::string& text, float& width, float& height) const {
  width = 0.0f;
  height = 0.0f;
  const float baseline = static_cast<float>(m_metrics.header[1]);
  const float secondOffset = static_cast<float>(m_metrics.header[5]);
  const float lineHeight = static_cast<float>(m_metrics.header[6]);
  const float spaceAdvance = static_cast<float>(m_metrics.glyphs[0].advance);
  float penX = 0.0f;
  float penY = static_cast<float>(m_metrics.header[3]);
  bool any = false;
  Rectangle bounds{0, 0, 0, 0};
  auto add = [&](float x, float y, float w, float h) {
    const Rectangle r{x, y, x + w, y + h};
    if (!any) {
      bounds = r;
      any = true;
      return;
    }
    bounds.left = std::min(bounds.left, r.left);
    bounds.bottom = std::min(bounds.bottom, r.bottom);
    bounds.right = std::max(bounds.right, r.right);
    bounds.top = std::max(bounds.top, r.top);
  };
  for (char byte : text) {
    const auto code = static_cast<int32_t>(static_cast<signed char>(byte));
    if (code == '\r') {
      penX = 0.0f;
      continue;
    }
    if (code == '\n') {
      add(penX, penY, 1.0f, lineHeight);
      penY += lineHeight;
      continue;
    }
    const Glyph& glyph = GetGlyph(code);
    if (penX != 0.0f) penX += static_cast<float>(glyph.horizontalOffset);
    if (code == ' ') {
      add(penX, penY - baseline, spaceAdvance, 1.0f);
      penX += spaceAdvance;
    } else if (code == '\t') {
      add(penX, penY - baseline, 4.0f * spaceAdvance, 1.0f);
      penX += 4.0f * spaceAdvance;
    } else {
      add(penX, penY - (secondOffset + baseline) + static_cast<float>(glyph.verticalOffset),
          static_cast<float>(glyph.width), static_cast<float>(glyph.height));
      penX += static_cast<float>(glyph.advance - glyph.horizontalOffset);
    }
  }
  if (!any) return;
  width = bounds.right - bounds.left;
  height = bounds.top - bounds.bottom;
}

Core::SmartPointer<BitmapFont> GetFont(const std::string& name, FontCache* cache) {
  if (cache != nullptr) {
    auto found = cache->find(name);
    if (found != cache->end()) {
      if (auto* font = dynamic_cast<BitmapFont*>(found->second.Get())) return font;
    }
  }
  Core::SmartPointer<BitmapFont> font(new ("Engine_BitmapFont", __LINE__) BitmapFont(name));
  if (cache != nullptr) (*cache)[name] = font.Get();
  return font;
}

}  // namespace Engine
