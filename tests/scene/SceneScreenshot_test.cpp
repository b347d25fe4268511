// A whole frame on the OpenGL renderer (Xvfb in CI): two viewports with their clear colours, an
// animated sprite, a line of text in a generated font and a screen-space sprite, checked by the
// colours of known pixels.
#include <gtest/gtest.h>


#include "SceneTestHelpers.h"
#include "platform/PAL_Window.h"
#include "renderer/Renderer_IRenderer.h"
#include "scene/Engine_Camera.h"
#include "scene/Engine_SceneGraph.h"
#include "scene/Engine_Sprite.h"
#include "scene/Engine_Text.h"
#include "scene/Engine_TextureSource.h"
#include "scene/Engine_Viewport.h"
#include "tests/support/Screenshots.h"
#include "tests/support/TestSupport.h"

namespace {

using Core::SmartPointer;

constexpr int32_t kWidth = 320;
constexpr int32_t kHeight = 240;

struct Pixel {
  int r, g, b;
};

class SceneScreenshotTest : public ::testing::Test, protected TestSupport::RenderWindow {
 protected:
  void SetUp() override {
    VELKOR_REQUIRE_DISPLAY();
    ASSERT_NO_FATAL_FAILURE(OpenWindow("velkor_scene_gl", kWidth, kHeight));
  }
  void TearDown() override { CloseWindow(); }
  Pixel At(const std::vector<uint8_t>& pixels, int x, int y) const {
    const size_t i = (static_cast<size_t>(y) * kWidth + static_cast<size_t>(x)) * 3;
    return Pixel{pixels[i], pixels[i + 1], pixels[i + 2]};
  }
};

void ExpectColor(const Pixel& pixel, int r, int g, int b, const char* what) {
  EXPECT_NEAR(pixel.r, r, 40) << what;
  EXPECT_NEAR(pixel.g, g, 40) << what;
  EXPECT_NEAR(pixel.b, b, 40) << what;
}

TEST_F(SceneScreenshotTest, TwoViewportsSpriteTextAndScreenItem) {
  // A sheet of two 32 x 32 frames: green, then yellow.
  std::vector<uint8_t> sheet(64 * 32 * 4);
  for (uint32_t y = 0; y < 32; ++y) {
    for (uint32_t x = 0; x < 64; ++x) {
      uint8_t* p = &sheet[(y * 64 + x) * 4];
      p[0] = x < 32 ? 0 : 255;
      p[1] = 255;
      p[2] = 0;
      p[3] = 255;
    }
  }
  const std::string sheetPath = directory + "/sheet.png";
  ASSERT_TRUE(TestSupport::WriteWholeFile(sheetPath, TestSupport::EncodePng(64, 32, sheet)));
  const std::string fontBase = directory + "/Font";
  ASSERT_TRUE(SceneTest::WriteFont(fontBase, SceneTest::FontSpec()));

  Engine::SceneGraph scene(renderer.Get());
  // One world unit is one pixel at this distance for a view 240 pixels high.
  const float distance = 240.0f / (2.0f * 0.41421356f);

  auto texture = Engine::LoadTexture(sheetPath, true);
  ASSERT_TRUE(texture);
  std::vector<Engine::SpriteFrame> frames = {{0, 0, 0.1f}, {1, 0, 0.1f}};
  SmartPointer<Engine::SpriteAnimation> animation(new Engine::SpriteAnimation(texture, 32, 32, frames));
  SmartPointer<Engine::TransformationGroup> spritePlace(new Engine::TransformationGroup());
  spritePlace->SetTransform(Math::Matrix4x4::MakeTranslation(0, 40, -distance));
  SmartPointer<Engine::Sprite> sprite(new Engine::Sprite({animation}));
  sprite->SetPlaying(true);
  spritePlace->AddChild(sprite);

  SmartPointer<Engine::TransformationGroup> screenPlace(new Engine::TransformationGroup());
  screenPlace->SetTransform(Math::Matrix4x4::MakeTranslation(60, -80, 0));
  SmartPointer<Engine::Sprite> screenSprite(new Engine::Sprite({animation}));
  screenSprite->SetScreenSpace(true);
  screenPlace->AddChild(screenSprite);

  SmartPointer<Engine::Text> text(new Engine::Text("AB", false));
  text->SetFont(SmartPointer<Engine::BitmapFont>(new Engine::BitmapFont(fontBase)));
  ASSERT_TRUE(text->GetFont()->HasMetrics());
  text->SetWorldMatrix(Math::Matrix4x4::MakeTranslation(-20, -40, -distance));

  SmartPointer<Engine::Camera> camera(new Engine::Camera(45.0f, 1.0f, 1000.0f));
  scene.AddChild(camera);
  scene.AddChild(spritePlace);
  scene.AddChild(screenPlace);
  scene.AddChild(text);

  SmartPointer<Engine::Viewport> left(new Engine::Viewport(0, 0, 160, 240));
  left->SetClearColor(Math::Color(1, 0, 0, 1));
  SmartPointer<Engine::Viewport> right(new Engine::Viewport(160, 0, 160, 240));
  right->SetClearColor(Math::Color(0, 0, 1, 1));

  scene.UpdateFrame(0.15f);  // the sprites step to their second (yellow) frame
  ASSERT_EQ(sprite->GetCurrentFrameIndex(), 1u);
  screenSprite->SetCurrentFrameIndex(0, true);  // the screen sprite stays green
  scene.SetViewportCount(2);
  scene.SetViewportIndex(0);
  scene.RenderView(camera, left);
  scene.SetViewportIndex(1);
  scene.RenderView(camera, right);

  std::vector<uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight * 3);
  renderer->ReadPixels(pixels.data());
  ExpectColor(At(pixels, 10, 10), 255, 0, 0, "left clear colour");
  ExpectColor(At(pixels, 310, 230), 0, 0, 255, "right clear colour");
  ExpectColor(At(pixels, 80, 160), 255, 255, 0, "sprite on its second frame");
  ExpectColor(At(pixels, 80 + 24, 160), 255, 0, 0, "beside the sprite: the clear colour");
  ExpectColor(At(pixels, 240, 160), 255, 255, 0, "the same sprite through the right view");
  // The text's first glyph covers x 219.5..235.5 and y 80..96 in the right view; its cell is white
  // inside a two-pixel margin.
  ExpectColor(At(pixels, 240 - 20 + 8, 120 - 40 + 8), 255, 255, 255, "glyph of the text");
  // The screen-space sprite in window pixels from the centre: (160 + 60, 120 - 80).
  ExpectColor(At(pixels, 220, 40), 0, 255, 0, "screen-space sprite");
}

}  // namespace
