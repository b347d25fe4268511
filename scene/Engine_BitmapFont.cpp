#include "scene/Engine_BitmapFont.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <vector>

#include "platform/PAL_Path.h"
#include "platform/PAL_Services.h"
#include "renderer/Renderer_ITexture.h"
#include "scene/Engine_TextureSource.h"

namespace Engine {
namespace {

int32_t ReadInt(const uint8_t* p) {
  uint32_t value = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
  int32_t result;
  std::memcpy(&result, &value, 4);
  return result;
}

float ReadFloat(const uint8_t* p) {
  const int32_t bits = ReadInt(p);
  float result;
  std::memcpy(&result, &bits, 4);
  return result;
}

// The header fields and glyph records (3296 bytes) that follow the name.
void ParseBody(const uint8_t* body, FontMetrics& metrics) {
  for (int i = 0; i < 8; ++i) metrics.header[i] = ReadInt(body + 4 * i);
  const uint8_t* record = body + 32;
  for (uint32_t i = 0; i < kGlyphCount; ++i, record += 34) {
    Glyph& glyph = metrics.glyphs[i];
    glyph.code = uint32_t(record[0]) | uint32_t(record[1]) << 8;
    glyph.width = ReadInt(record + 2);
    glyph.advance = ReadInt(record + 6);
    glyph.height = ReadInt(record + 10);
    glyph.unused4 = ReadInt(record + 14);
    glyph.unused5 = ReadInt(record + 18);
    glyph.leftBearing = ReadFloat(record + 22);
    glyph.horizontalOffset = ReadInt(record + 26);
    glyph.verticalOffset = ReadInt(record + 30);
  }
}

uint64_t ExpectedSize(uint32_t nameLength) { return kFontHeaderBytes + 2ull * nameLength + kFontGlyphBytes; }

struct Rectangle {
  float left, bottom, right, top;
};
}  // namespace

bool ParseFontMetrics(const uint8_t* data, size_t size, FontMetrics& metrics) {
  metrics = FontMetrics();
  if (data == nullptr || size < 4) return false;
  const uint32_t nameLength = static_cast<uint32_t>(ReadInt(data));
  if (static_cast<uint64_t>(size) != ExpectedSize(nameLength)) return false;
  ParseBody(data + 4 + 2ull * nameLength, metrics);
  return true;
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
  const uint32_t nameLength = static_cast<uint32_t>(ReadInt(lengthBytes));
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
  ParseBody(body.data(), metrics);
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
