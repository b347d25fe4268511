#pragma once
// Fixtures of the scene tests: the recording fake renderer as the singleton, a texture factory that
// makes fake textures of known sizes, and a generator of small bitmap fonts (".png" and ".fbf").
#include <cstdint>
#include <string>
#include <vector>

#include "tests/renderer/FakeRenderer.h"
#include "scene/Engine_BitmapFont.h"

namespace SceneTest {

// Fake textures: a name registered here gets that size; any other name is decoded from its PNG
// file for the size; a file that cannot be read gives no texture.
void RegisterTextureSize(const std::string& name, int32_t width, int32_t height);
void InstallFakeTextures();
void UninstallFakeTextures();

// Metrics of a generated font: every glyph has the same width, advance and height.
struct FontSpec {
  int32_t cellSize = 16;     // H3
  int32_t baseline = 2;      // H1
  int32_t secondOffset = 3;  // H5
  int32_t lineHeight = 20;   // H6
  int32_t glyphWidth = 8;    // V1
  int32_t advance = 10;      // V2
  int32_t glyphHeight = 12;  // V3
  float leftBearing = 0.5f;  // V6
  int32_t horizontalOffset = 1;  // V7
  int32_t verticalOffset = 4;    // V8
  std::string fontName = "TestFont";
};

// The ".fbf" bytes of a font.
std::string MakeFontMetrics(const FontSpec& spec);
// Writes base + ".fbf" and base + ".png" (a 160 x 160 sheet whose glyph cells are white on
// transparent); returns false when a file cannot be written.
bool WriteFont(const std::string& base, const FontSpec& spec);

}  // namespace SceneTest
