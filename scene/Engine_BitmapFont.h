#pragma once
// Bitmap fonts: a square texture sheet of 96 glyph cells (codes 32 to 127) and a binary ".fbf"
// metrics file, and the cache that shares one font object per name.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "core/Core_Object.h"
#include "renderer/Engine_RenderingApplication.h"

namespace Renderer {
class ITexture;
}

namespace Engine {

constexpr uint32_t kGlyphCount = 96;
constexpr uint32_t kFirstGlyphCode = 32;
// Bytes of the metrics file besides the name: the header fields and the glyph records.
constexpr uint64_t kFontHeaderBytes = 36;
constexpr uint64_t kFontGlyphBytes = 96 * 34;

// Nine words per glyph as the metrics file holds them.
struct Glyph {
  uint32_t code = 0;
  int32_t width = 0;          // V1
  int32_t advance = 0;        // V2
  int32_t height = 0;         // V3
  int32_t unused4 = 0;        // V4
  int32_t unused5 = 0;        // V5
  float leftBearing = 0.0f;   // V6
  int32_t horizontalOffset = 0;  // V7
  int32_t verticalOffset = 0;    // V8
};

struct FontMetrics {
  int32_t header[8] = {};  // H1 baseline, H3 cell size, H5 second vertical offset, H6 line height
  Glyph glyphs[kGlyphCount];
};

// Reads a whole ".fbf" file image. False (metrics all zero) unless the size is exactly
// 36 + 2n + 3264 bytes for the name length n that the file states; the name itself is skipped.
bool ParseFontMetrics(const uint8_t* data, size_t size, FontMetrics& metrics);
// Reads the ".fbf" file at path (system backslashes allowed) the same way, without reading the name.
bool ReadFontMetricsFile(const std::string& path, FontMetrics& metrics, std::string& error);

class BitmapFont : public Core::Object {
 public:
  // An empty name loads the default font beside the executable.
  explicit BitmapFont(const std::string& name);
  ~BitmapFont() override;
  const char* GetClassName() const override { return "Engine::BitmapFont"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(BitmapFont)); }

  Core::SmartPointer<Renderer::ITexture> GetTexture() const;
  double GetLineHeight() const { return m_metrics.header[6]; }
  int32_t GetHeaderField(uint32_t index) const { return index < 8 ? m_metrics.header[index] : 0; }
  // Codes outside 32..127 give the space glyph.
  const Glyph& GetGlyph(int32_t code) const;
  // (u0, v_bottom), (u1, v_bottom), (u1, v_top), (u0, v_top).
  const float* GetGlyphTexCoords(int32_t code) const;
  void MeasureText(const std::string& text, float& width, float& height) const;
  const std::string& GetPath() const { return m_path; }
  // Whether the metrics file was read (a missing or malformed one leaves every metric 0).
  bool HasMetrics() const { return m_hasMetrics; }
  const std::string& GetError() const { return m_error; }

 private:
  static uint32_t GlyphIndex(int32_t code);
  void BuildTexCoords();

  FontMetrics m_metrics;
  float m_texCoords[kGlyphCount][8] = {};
  std::string m_path;
  std::string m_error;
  bool m_hasMetrics = false;
  Core::SmartPointer<Core::Object> m_texture;
};

// The font of that name from the font cache, made and kept there under the name as given on a
// miss. The cache is the rendering application's unless another is handed in; without one the font
// is new and shared with nobody.
Core::SmartPointer<BitmapFont> GetFont(const std::string& name, FontCache* cache = GetFontCache());

}  // namespace Engine
