// GUI text layout: pen rules (spacing and offset, tab, carriage return and line feed), per-glyph
// clipping with dense indices, codes outside the glyph range, and contexts that must not stay ready.
#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "gui/Gui_Graphics.h"
#include "scene/Engine_BitmapFont.h"
#include "tests/support/TestSupport.h"

namespace {

class GuiTextTest : public GuiTest::GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    // Cells 16, advance 10, spacing (V7) 1, offset (V6) 0.5, line height 20.
    ASSERT_TRUE(SceneTest::WriteFont(directory + "/Font", SceneTest::FontSpec()));
    font = new Engine::BitmapFont(directory + "/Font");
    ASSERT_TRUE(font->HasMetrics());
    graphics = hud->GetGraphics();
    graphics->Reset();
    graphics->SetClipRectangle(GUI::NRectangle(-100, -100, 1000, 1000));
    context = new Engine::StringRenderContext();
  }
  float QuadLeft(uint32_t quad) const { return context->vertices[quad * 4].x; }
  float QuadBottom(uint32_t quad) const { return context->vertices[quad * 4].y; }

  TestSupport::ScratchFolder folder{"velkor_gui_text"};
  const std::string& directory = folder.Path();
  Core::SmartPointer<Engine::BitmapFont> font;
  GUI::Graphics* graphics = nullptr;
  Core::SmartPointer<Engine::StringRenderContext> context;
};

TEST_F(GuiTextTest, PenAdvancesByTheAdvanceAndQuadsShiftBySpacingAndOffset) {
  graphics->SetColor(Math::Color(0.2f, 0.4f, 0.6f, 0.1f));
  graphics->SetOpacity(0.5f);
  graphics->SetDepth(7);
  graphics->PrepareString(context, 100, 50, "AB", font);
  ASSERT_EQ(context->GetIndexCount(), 12u);
  EXPECT_EQ(QuadLeft(0), 100.0f);  // pen 100 + spacing 1 - ceil(0.5)
  EXPECT_EQ(QuadLeft(1), 110.0f);  // the pen moved by exactly one advance
  EXPECT_EQ(context->vertices[2].x - context->vertices[0].x, 16.0f);
  EXPECT_EQ(context->color.a, 0.5f);  // opacity, not the colour's alpha
  EXPECT_EQ(context->color.g, 0.4f);
  EXPECT_EQ(context->depth, 7.0f);
  const uint16_t expected[12] = {0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(context->indices[static_cast<size_t>(i)], expected[i]);
  EXPECT_TRUE(context->IsReady());
}

TEST_F(GuiTextTest, TabCarriageReturnAndLineFeed) {
  graphics->PrepareString(context, 100, 50, "A\tB", font);
  ASSERT_EQ(context->GetIndexCount(), 12u);
  EXPECT_EQ(QuadLeft(1), 150.0f);  // A ends at 110, four space advances later

  graphics->PrepareString(context, 100, 50, "A\r\nB", font);
  ASSERT_EQ(context->GetIndexCount(), 12u);
  EXPECT_EQ(QuadLeft(1), 100.0f);
  EXPECT_EQ(QuadBottom(1), 30.0f);  // one line height lower
}

TEST_F(GuiTextTest, FirstGlyphAtZeroKeepsItsOffsetAndSkipsTheSpacing) {
  graphics->PrepareString(context, 0, 0, "AB", font);
  ASSERT_EQ(context->GetIndexCount(), 12u);
  EXPECT_EQ(QuadLeft(0), -0.5f);
  EXPECT_EQ(QuadLeft(1), 9.0f);
}

TEST_F(GuiTextTest, GlyphsCutBelowOnePixelAreLeftOutAndIndicesStayDense) {
  graphics->SetClipRectangle(GUI::NRectangle(115.5f, 0, 500, 480));
  graphics->PrepareString(context, 100, 50, "AB", font);
  ASSERT_EQ(context->GetIndexCount(), 6u);
  EXPECT_EQ(QuadLeft(0), 115.5f);
  EXPECT_EQ(context->indices[0], 0);
  EXPECT_EQ(context->indices[5], 3);

  // Wholly outside: invisible, and the draw call drops it.
  graphics->SetClipRectangle(GUI::NRectangle(400, 400, 50, 50));
  graphics->PrepareString(context, 0, 0, "AB", font);
  EXPECT_FALSE(context->IsVisible());
  graphics->DrawString(context);
  EXPECT_EQ(queue->GetScreenObjectCount(), 0u);
}

TEST_F(GuiTextTest, CodesOutsideTheFontAndControlCodesUseTheSpaceGlyph) {
  graphics->PrepareString(context, 100, 50, std::string("\xC8\x01", 2), font);
  ASSERT_EQ(context->GetIndexCount(), 12u);
  const float* space = font->GetGlyphTexCoords(' ');
  for (int quad = 0; quad < 2; ++quad) {
    for (int corner = 0; corner < 4; ++corner) {
      EXPECT_EQ(context->texCoords[static_cast<size_t>(quad * 4 + corner)].x, space[corner * 2]);
      EXPECT_EQ(context->texCoords[static_cast<size_t>(quad * 4 + corner)].y, space[corner * 2 + 1]);
    }
  }
}

TEST_F(GuiTextTest, EmptyTextAfterAFullOneLeavesNothingToDraw) {
  graphics->PrepareString(context, 100, 50, "AB", font);
  ASSERT_TRUE(context->IsReady());
  graphics->PrepareString(context, 100, 50, "", font);
  EXPECT_EQ(context->GetIndexCount(), 0u);
  EXPECT_FALSE(context->IsReady());
  graphics->DrawString(context);
  EXPECT_EQ(queue->GetScreenObjectCount(), 0u);
}

}  // namespace
