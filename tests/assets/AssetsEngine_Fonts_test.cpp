// The generated fonts read back through the engine's font loader: the header fields the layout uses,
// the glyphs of known strings, and the room MeasureText gives them.
#include <gtest/gtest.h>

#include <string>

#include "AssetsTestSupport.h"
#include "platform/PAL_Services.h"
#include "renderer/Renderer_ITexture.h"
#include "scene/Engine_BitmapFont.h"
#include "scene/Engine_TextureSource.h"
#include "tests/support/TestSupport.h"

using namespace AssetsTest;

namespace {

// The metrics alone are under test: no renderer, so the glyph pages are not uploaded.
Core::SmartPointer<Renderer::ITexture> NoTexture(const Core::String&, bool) { return nullptr; }

class AssetFontMetrics : public ::testing::Test {
 protected:
  void SetUp() override { Engine::SetTextureFactory(NoTexture); }
  void TearDown() override { Engine::SetTextureFactory(nullptr); }
};

// The font path as the game builds it: the executable's folder and a backslash path.
std::string FontPath(const std::string& font) {
  return std::string(PAL::GetExecutableDirectory()) + "\\Resources\\Fonts\\" + font + "\\" + font;
}

// Header field i of a ".fbf" file: after the page count and the pages' names.
int32_t HeaderField(const std::string& fbf, int i) { return I32(fbf, 4 + 2 * U32(fbf, 0) + 4 * static_cast<size_t>(i)); }

struct Case {
  const char* font;
  const char* text;
};

TEST_F(AssetFontMetrics, LoadedFontsReadTheirHeaderAndMeasureKnownStringsWithinOneCellAByte) {
  const Case cases[] = {
      {"DefaultFont", "Hello, World 123"},
      {"DefaultFont", "Fps: 59.99"},
      {"BtnText", "Main Menu"},
      {"WarningFont", "WARNING: UFO Level 3"},
      {"ag_fb_25_yelw", "Gears:\n42"},
      {"Agency_fb_25", "Gear: 7\r\nDistance Travelled: 12345"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.font) + " \"" + c.text + "\"");
    const std::string fbf = TestSupport::ReadWholeFile(MapGamePath("\\Resources\\Fonts\\" + std::string(c.font) + "\\" +
                                                                   c.font + ".fbf"));
    ASSERT_GE(fbf.size(), 36u + 3264u);
    Core::SmartPointer<Engine::BitmapFont> font(new Engine::BitmapFont(FontPath(c.font)));
    ASSERT_TRUE(font->HasMetrics()) << font->GetError();
    for (int field : {1, 3, 5}) EXPECT_EQ(font->GetHeaderField(field), HeaderField(fbf, field)) << field;
    EXPECT_GT(HeaderField(fbf, 6), 0);
    EXPECT_EQ(font->GetLineHeight(), HeaderField(fbf, 6));
    // Every caption glyph has ink and moves the pen forward.
    for (const char* p = c.text; *p != '\0'; ++p) {
      if (*p == ' ' || *p == '\n' || *p == '\r') continue;
      EXPECT_GT(font->GetGlyph(*p).width, 0) << *p;
      EXPECT_GT(font->GetGlyph(*p).advance, 0) << *p;
    }
    float width = -1.0f;
    float height = -1.0f;
    font->MeasureText(c.text, width, height);
    // A measured line never takes more than one cell per byte.
    EXPECT_GT(width, 0.0f);
    EXPECT_GT(height, 0.0f);
    EXPECT_LT(width, static_cast<float>(HeaderField(fbf, 3)) * static_cast<float>(std::string(c.text).size()));
  }
}

TEST_F(AssetFontMetrics, AnEmptyNameLoadsTheDefaultFontBesideTheExecutable) {
  Core::SmartPointer<Engine::BitmapFont> byName(new Engine::BitmapFont(FontPath("DefaultFont")));
  Core::SmartPointer<Engine::BitmapFont> byDefault(new Engine::BitmapFont(""));
  ASSERT_TRUE(byDefault->HasMetrics()) << byDefault->GetError() << " at " << byDefault->GetPath();
  for (const std::string text : {"Hello, World 123", "P l a y", ""}) {
    float w1 = 0, h1 = 0, w2 = 0, h2 = 0;
    byName->MeasureText(text, w1, h1);
    byDefault->MeasureText(text, w2, h2);
    EXPECT_EQ(w1, w2) << text;
    EXPECT_EQ(h1, h2) << text;
  }
  float w = 1, h = 1;
  byDefault->MeasureText("", w, h);
  EXPECT_EQ(w, 0.0f);
  EXPECT_EQ(h, 0.0f);
}

// "Distance Travelled: 12345" fits the 304 pixels to the banner's edge; a multi-line description of
// 4 lines stays inside its label.
TEST_F(AssetFontMetrics, LayoutPromisesHoldThroughTheEngine) {
  Core::SmartPointer<Engine::BitmapFont> data(new Engine::BitmapFont(FontPath("Agency_fb_25")));
  float w = 0, h = 0;
  data->MeasureText("Distance Travelled: 12345", w, h);
  EXPECT_LE(w, 304.0f);
  Core::SmartPointer<Engine::BitmapFont> description(new Engine::BitmapFont(FontPath("ItemText2")));
  description->MeasureText("Line one\r\nLine two\r\nLine three\r\nLine four", w, h);
  EXPECT_LE(h, 114.0f);
  // The HUD writes "Distance:" at x 266 and the power-up slot's frame begins near x 352 (the
  // picture at 381 is about 56 wide): the caption ends before the slot.
  Core::SmartPointer<Engine::BitmapFont> hud(new Engine::BitmapFont(FontPath("ag_fb_25_gren")));
  hud->MeasureText("Distance:", w, h);
  EXPECT_GT(w, 0.0f);
  EXPECT_LE(w, 80.0f);
}

}  // namespace
