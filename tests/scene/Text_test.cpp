// Bitmap fonts and text: the ".fbf" reader against good and hostile files, glyph layout in the mesh,
// line breaks and tabs, MeasureText, the font cache and the item a text submits.
#include <gtest/gtest.h>

#include <filesystem>

#include "SceneTestHelpers.h"
#include "core/Core_File.h"
#include "tests/support/TestSupport.h"
#include "scene/Engine_BitmapFont.h"
#include "scene/Engine_SceneGraph.h"
#include "scene/Engine_Text.h"

namespace {

using Core::SmartPointer;

class TextTest : public SceneTest::SceneFixture {
 protected:
  TextTest() : SceneFixture(true) {}
  void SetUp() override {
    SceneFixture::SetUp();
    base = folder.Path() + "/TestFont";
    ASSERT_TRUE(SceneTest::WriteFont(base, spec));
  }
  SmartPointer<Engine::BitmapFont> LoadFont() { return new Engine::BitmapFont(base); }
  static Math::Vector3D Vertex(const Engine::Text& text, uint32_t index) {
    return text.GetGlyphMesh()->GetPositions()[index];
  }

  SceneTest::FontSpec spec;
  TestSupport::ScratchFolder folder{"velkor_text"};
  std::string base;
};

TEST_F(TextTest, FontReadsMetricsAndCellCoordinates) {
  auto font = LoadFont();
  ASSERT_TRUE(font->HasMetrics()) << font->GetError();
  EXPECT_EQ(font->GetLineHeight(), 20.0);
  EXPECT_EQ(font->GetHeaderField(3), 16);
  EXPECT_EQ(font->GetGlyph('A').code, static_cast<uint32_t>('A'));
  EXPECT_EQ(font->GetGlyph('A').advance, 10);
  EXPECT_EQ(font->GetGlyph(200).code, 32u);  // outside 32..127: the space glyph
  EXPECT_EQ(font->GetGlyph(-56).code, 32u);
  // Glyph 33 ('A' - 32) lies in column 3, row 3 of the 160-pixel sheet with 16-pixel cells.
  const float* t = font->GetGlyphTexCoords('A');
  EXPECT_FLOAT_EQ(t[0], 48.0f / 160.0f);
  EXPECT_FLOAT_EQ(t[1], (160.0f - 48.0f - 16.0f) / 160.0f);
  EXPECT_FLOAT_EQ(t[2], 64.0f / 160.0f);
  EXPECT_FLOAT_EQ(t[5], (160.0f - 48.0f) / 160.0f);
}

TEST_F(TextTest, HostileMetricsFilesLeaveEveryMetricZero) {
  const std::string good = SceneTest::MakeFontMetrics(spec);
  Engine::FontMetrics metrics;
  ASSERT_TRUE(Engine::ParseFontMetrics(reinterpret_cast<const uint8_t*>(good.data()), good.size(), metrics));
  std::vector<std::string> bad = {
      "",
      good.substr(0, 3),
      good.substr(0, good.size() - 1),  // one byte short
      good + "x",                       // one byte long
  };
  std::string hugeName = good;
  hugeName[0] = hugeName[1] = hugeName[2] = hugeName[3] = '\xFF';  // a name of 4 G units
  bad.push_back(hugeName);
  std::string zeroName = good;
  zeroName[0] = 0;  // claims no name, so the size no longer adds up
  bad.push_back(zeroName);
  // Metrics whose sums overflow while a text is measured, or a bearing that is not a number.
  const size_t header = 4 + 2 * spec.fontName.size();
  const size_t glyphA = header + 32 + 34 * ('A' - 32);
  auto with = [&](size_t offset, uint32_t bits) {
    std::string changed = good;
    for (int i = 0; i < 4; ++i) changed[offset + i] = static_cast<char>(bits >> (8 * i));
    return changed;
  };
  bad.push_back(with(glyphA + 6, 0x7FFFFFFF));   // advance
  bad.push_back(with(glyphA + 26, 0x80000000));  // horizontal offset
  bad.push_back(with(glyphA + 2, 0x7FFFFFF0));   // width
  bad.push_back(with(glyphA + 30, 0x80000001));  // vertical offset
  bad.push_back(with(glyphA + 22, 0x7FC00000));  // bearing NaN
  bad.push_back(with(glyphA + 22, 0xFF800000));  // bearing minus infinity
  bad.push_back(with(header + 4 * 6, 0x7FFFFFFF));  // line height
  for (size_t i = 0; i < bad.size(); ++i) {
    EXPECT_FALSE(Engine::ParseFontMetrics(reinterpret_cast<const uint8_t*>(bad[i].data()), bad[i].size(), metrics)) << i;
    EXPECT_EQ(metrics.header[6], 0);
    EXPECT_EQ(metrics.glyphs[33].advance, 0);
    ASSERT_TRUE(TestSupport::WriteWholeFile(base + ".fbf", bad[i]));
    auto font = LoadFont();
    EXPECT_FALSE(font->HasMetrics()) << i;
    EXPECT_FALSE(font->GetError().empty());
    EXPECT_EQ(font->GetLineHeight(), 0.0);
    EXPECT_EQ(font->GetGlyph('A').advance, 0);
  }
  // A missing file is the same: a font that draws 0 x 0 quads at a pen that never moves.
  std::filesystem::remove(base + ".fbf");
  SmartPointer<Engine::Text> text(new Engine::Text("AB", false));
  text->SetFont(LoadFont());
  EXPECT_FALSE(text->GetFont()->HasMetrics());
  Math::Vector2D minimum, maximum;
  text->Layout(minimum, maximum);
  for (uint32_t i = 0; i < 12; ++i) EXPECT_EQ(Vertex(*text, i).x, 0.0f);
}

TEST_F(TextTest, LayoutPlacesGlyphsLineBreaksAndTabs) {
  SmartPointer<Engine::Text> text(new Engine::Text("AB\nC \tD\r\xC8", false));
  text->SetFont(LoadFont());
  Math::Vector2D minimum, maximum;
  text->Layout(minimum, maximum);
  const auto& mesh = *text->GetGlyphMesh();
  ASSERT_EQ(mesh.GetPositionCount(), 6u * 9u);  // six vertices for every byte
  EXPECT_EQ(mesh.GetPart(0).lastIndex, 6u * 9u - 1u);
  // 'A' at pen 0: left = 0 - 0.5 (bearing); pen becomes 10 - 1 = 9.
  EXPECT_FLOAT_EQ(Vertex(*text, 0).x, -0.5f);
  EXPECT_FLOAT_EQ(Vertex(*text, 1).x, 15.5f);
  EXPECT_FLOAT_EQ(Vertex(*text, 2).y, 16.0f);
  // 'B': pen 9 + 1 = 10, left = 10 - ceil(0.5) = 9.
  EXPECT_FLOAT_EQ(Vertex(*text, 6).x, 9.0f);
  // Line feed: a blank quad; 'C' starts the next line 20 lower.
  EXPECT_EQ(Vertex(*text, 12).x, 0.0f);
  EXPECT_FLOAT_EQ(Vertex(*text, 18).x, -0.5f);
  EXPECT_FLOAT_EQ(Vertex(*text, 18).y, -20.0f);
  // Space (+10) and tab (+40): 'D' at pen 9 + 50 + 1, left = 60 - 1.
  EXPECT_FLOAT_EQ(Vertex(*text, 36).x, 59.0f);
  // The carriage return adds a blank quad only; the byte 200 draws the space glyph's cell after D.
  const auto& coordinates = mesh.GetTexCoords();
  EXPECT_FLOAT_EQ(coordinates[48].x, 0.0f);
  EXPECT_FLOAT_EQ(Vertex(*text, 48).x, 69.0f);  // pen 69 after D, plus 1, minus 1
  EXPECT_FLOAT_EQ(minimum.y, -20.0f);
  EXPECT_FLOAT_EQ(maximum.y, 16.0f);
}

TEST_F(TextTest, MeasureTextFollowsItsOwnLineRules) {
  auto font = LoadFont();
  struct Case {
    const char* text;
    float width, height;
  } cases[] = {
      {"", 0, 0},
      {"A", 8, 12},       // one glyph: rectangle (0, 16 - 5 + 4, 8, 12)
      {"AA", 18, 12},     // the second glyph starts at 9 + 1 = 10
      {"A\r\nB", 8, 32},  // carriage return and line feed: B at the start of the next line
      {"A\nB", 18, 32},   // line feed alone: B one line lower but after A (the pen stays at 9, plus 1)
      {"A\rB", 8, 12},    // carriage return alone: B over A
      {"\t", 40, 1},      // four space advances
  };
  for (const Case& c : cases) {
    float width = -1, height = -1;
    font->MeasureText(c.text, width, height);
    EXPECT_EQ(width, c.width) << c.text;
    EXPECT_EQ(height, c.height) << c.text;
  }
}

TEST_F(TextTest, TextSubmitsItsMeshWithTheFontSheetBound) {
  auto font = LoadFont();
  ASSERT_TRUE(font->GetTexture());
  SmartPointer<Engine::Text> text(new Engine::Text("Hi", false));
  text->SetFont(font);
  text->SetColor(Math::Color(1, 0, 0, 0.2f));
  text->SetOpacity(0.5f);
  text->SetWorldMatrix(Math::Matrix4x4::MakeTranslation(0, 0, -3));
  text->Render();
  const auto& items = scene->GetRenderQueue().GetBlendedItems();
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].mesh.Get(), text->GetGlyphMesh().Get());
  EXPECT_EQ(items[0].color, Math::Color(1, 0, 0, 0.5f));
  EXPECT_EQ(items[0].effect->GetTexture(1).Get(), font->GetTexture().Get());
  FlushFresh();
  ASSERT_EQ(renderer->draws.size(), 1u);
  EXPECT_EQ(renderer->draws[0].boundTexture, font->GetTexture()->GetHandle());

  // Empty, invisible and screen-object texts submit nothing.
  SmartPointer<Engine::Text> empty(new Engine::Text("", false));
  empty->SetFont(font);
  empty->Render();
  SmartPointer<Engine::Text> screenObject(new Engine::Text("x", true));
  screenObject->SetFont(font);
  screenObject->Render();
  EXPECT_TRUE(scene->GetRenderQueue().GetBlendedItems().empty());
}

TEST_F(TextTest, FontCacheSharesFontsAndLoadedTextsGetTheirOwn) {
  Engine::FontCache cache;
  auto first = Engine::GetFont(base, &cache);
  auto second = Engine::GetFont(base, &cache);
  EXPECT_EQ(first.Get(), second.Get());
  EXPECT_EQ(cache.size(), 1u);
  // Without a cache every font is its own.
  EXPECT_NE(Engine::GetFont(base, nullptr).Get(), first.Get());

  SmartPointer<Engine::Text> text(new Engine::Text("saved", false));
  text->SetFont(first);
  Core::MemoryFile file;
  file.WriteObject(text.Get());
  Core::MemoryFile reader(file.GetBuffer().GetData(), file.GetBuffer().GetSize());
  SmartPointer<Core::Object> loaded(reader.ReadObject());
  auto* loadedText = dynamic_cast<Engine::Text*>(loaded.Get());
  ASSERT_NE(loadedText, nullptr);
  EXPECT_EQ(loadedText->GetText(), "saved");
  ASSERT_TRUE(loadedText->GetFont());
  EXPECT_NE(loadedText->GetFont().Get(), first.Get());
  EXPECT_EQ(loadedText->GetFont()->GetPath(), base);
  EXPECT_TRUE(loadedText->GetFont()->HasMetrics());
}

}  // namespace
