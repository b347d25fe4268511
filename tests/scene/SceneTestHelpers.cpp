#include "SceneTestHelpers.h"

#include <cstring>
#include <map>

#include "tests/support/TestSupport.h"
#include "platform/PAL_Path.h"
#include "renderer/Renderer_Image.h"
#include "scene/Engine_TextureSource.h"

namespace SceneTest {
namespace {
std::map<std::string, std::pair<int32_t, int32_t>>& Sizes() {
  static std::map<std::string, std::pair<int32_t, int32_t>> sizes;
  return sizes;
}
uint32_t g_nextHandle = 100;

Core::SmartPointer<Renderer::ITexture> MakeFakeTexture(const Core::String& name, bool) {
  auto found = Sizes().find(name);
  if (found != Sizes().end()) {
    return new Renderer::FakeTexture(name, found->second.first, found->second.second, g_nextHandle++);
  }
  std::vector<uint8_t> bytes;
  std::string error;
  if (!Renderer::ReadFileBytes(name, bytes, error)) return nullptr;
  Renderer::Image image;
  if (!Renderer::DecodeImage(bytes.data(), bytes.size(), image, error)) return nullptr;
  return new Renderer::FakeTexture(name, static_cast<int32_t>(image.width), static_cast<int32_t>(image.height),
                                   g_nextHandle++);
}

void Put32(std::string& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}
void PutFloat(std::string& out, float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, 4);
  Put32(out, bits);
}
}  // namespace

void RegisterTextureSize(const std::string& name, int32_t width, int32_t height) { Sizes()[name] = {width, height}; }

void InstallFakeTextures() { Engine::SetTextureFactory(&MakeFakeTexture); }

void UninstallFakeTextures() {
  Engine::SetTextureFactory(nullptr);
  Sizes().clear();
}

std::string MakeFontMetrics(const FontSpec& spec) {
  std::string out;
  Put32(out, static_cast<uint32_t>(spec.fontName.size()));
  for (char c : spec.fontName) {
    out.push_back(c);
    out.push_back('\0');
  }
  const int32_t header[8] = {7, spec.baseline, 9, spec.cellSize, 11, spec.secondOffset, spec.lineHeight, 13};
  for (int32_t value : header) Put32(out, static_cast<uint32_t>(value));
  for (uint32_t code = 32; code < 128; ++code) {
    out.push_back(static_cast<char>(code));
    out.push_back('\0');
    Put32(out, static_cast<uint32_t>(spec.glyphWidth));
    Put32(out, static_cast<uint32_t>(spec.advance));
    Put32(out, static_cast<uint32_t>(spec.glyphHeight));
    Put32(out, 0);
    Put32(out, 0);
    PutFloat(out, spec.leftBearing);
    Put32(out, static_cast<uint32_t>(spec.horizontalOffset));
    Put32(out, static_cast<uint32_t>(spec.verticalOffset));
  }
  return out;
}

bool WriteFont(const std::string& base, const FontSpec& spec) {
  const uint32_t side = 160;
  std::vector<uint8_t> rgba(side * side * 4, 0);
  const auto cell = static_cast<uint32_t>(spec.cellSize);
  for (uint32_t glyph = 0; glyph < 96; ++glyph) {
    const uint32_t left = (glyph % 10) * cell;
    const uint32_t top = (glyph / 10) * cell;
    for (uint32_t y = top + 2; y < top + cell - 2 && y < side; ++y) {
      for (uint32_t x = left + 2; x < left + cell - 2 && x < side; ++x) {
        uint8_t* p = &rgba[(y * side + x) * 4];
        p[0] = p[1] = p[2] = p[3] = 255;
      }
    }
  }
  return TestSupport::WriteWholeFile(PAL::MapPath(base + ".fbf"), MakeFontMetrics(spec)) &&
         TestSupport::WriteWholeFile(PAL::MapPath(base + ".png"), TestSupport::EncodePng(side, side, rgba));
}

}  // namespace SceneTest
