// A whole frame on the OpenGL renderer (Xvfb in CI): two viewports with their clear colours, an
// animated sprite, a line of text in a generated font and a screen-space sprite, checked by the
// colours of known pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>

#include "SceneTestHelpers.h"
#include "platform/PAL_Window.h"
#include "renderer/Renderer_IRenderer.h"
#include "scene/Engine_Camera.h"
#include "scene/Engine_RenderQueue.h"
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

// A picture like the game's layers: opaque towers of random heights rising from the bottom over
// empty sky, some with a soft half-transparent rim, and a half-transparent disc.
std::vector<uint8_t> LayerPicture(std::mt19937& random, uint32_t width, uint32_t height) {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4, 0);
  const auto set = [&](uint32_t x, uint32_t y, uint8_t alpha) {
    uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
    p[0] = static_cast<uint8_t>(40 + (x * 7) % 200);
    p[1] = static_cast<uint8_t>(30 + (y * 5) % 200);
    p[2] = static_cast<uint8_t>(random() % 256);
    p[3] = alpha;
  };
  for (uint32_t left = random() % 20; left < width; left += 10 + random() % 60) {
    const uint32_t right = std::min(width, left + 8 + static_cast<uint32_t>(random() % 50));
    const uint32_t top = static_cast<uint32_t>(random() % height);
    const bool soft = random() % 3 == 0;
    for (uint32_t y = 0; y < top; ++y) {
      for (uint32_t x = left; x < right; ++x) set(x, y, soft && (x == left || y + 1 == top) ? 128 : 255);
    }
  }
  const auto cx = static_cast<int32_t>(random() % width), cy = static_cast<int32_t>(random() % height);
  const auto radius = static_cast<int32_t>(10 + random() % 40);
  for (int32_t y = 0; y < static_cast<int32_t>(height); ++y) {
    for (int32_t x = 0; x < static_cast<int32_t>(width); ++x) {
      if ((x - cx) * (x - cx) + (y - cy) * (y - cy) < radius * radius) set(x, y, 90);
    }
  }
  return pixels;
}

TEST_F(SceneScreenshotTest, FillSavingDrawsRandomStacksOfLayersAsTheyWereSubmitted) {
  // Large layers (cut in columns) and small sprites at fractional places and sizes near one texel
  // a pixel, some flipped, one a fully opaque backdrop: every way of cutting must keep the picture.
  const float distance = 240.0f / (2.0f * 0.41421356f);
  for (uint32_t seed = 1; seed <= 6; ++seed) {
    std::mt19937 random(seed);
    Engine::SceneGraph scene(renderer.Get());
    SmartPointer<Engine::Camera> camera(new Engine::Camera(45.0f, 1.0f, 1000.0f));
    scene.AddChild(camera);
    for (int layer = 0; layer < 9; ++layer) {
      const bool large = layer < 5;
      const uint32_t width = large ? 300 + random() % 200 : 24 + random() % 60;
      const uint32_t height = large ? 240 + random() % 60 : 24 + random() % 60;
      std::vector<uint8_t> pixels = LayerPicture(random, width, height);
      if (layer == 0) {
        for (size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 255;
      }
      const std::string path = directory + "/layer" + std::to_string(seed) + "_" + std::to_string(layer) + ".png";
      ASSERT_TRUE(TestSupport::WriteWholeFile(path, TestSupport::EncodePng(width, height, pixels)));
      auto texture = Engine::LoadTexture(path, random() % 2 == 0);
      ASSERT_TRUE(texture);
      std::vector<Engine::SpriteFrame> frames = {{0, 0, 0.1f}};
      SmartPointer<Engine::SpriteAnimation> animation(
          new Engine::SpriteAnimation(texture, static_cast<int32_t>(width), static_cast<int32_t>(height), frames));
      SmartPointer<Engine::Sprite> sprite(new Engine::Sprite({animation}));
      sprite->SetFlipHorizontal(random() % 4 == 0);
      const float scale = 0.9f + static_cast<float>(random() % 300) / 1000.0f;
      SmartPointer<Engine::TransformationGroup> place(new Engine::TransformationGroup());
      place->SetTransform(Math::Matrix4x4::MakeTranslation(static_cast<float>(random() % 2000) / 10.0f - 100.0f,
                                                           static_cast<float>(random() % 1600) / 10.0f - 80.0f,
                                                           -distance + static_cast<float>(layer) * 0.5f) *
                          Math::Matrix4x4::MakeScale(scale, scale, 1.0f));
      place->AddChild(sprite);
      scene.AddChild(place);
    }
    SmartPointer<Engine::Viewport> view(new Engine::Viewport(0, 0, kWidth, kHeight));
    view->SetClearColor(Math::Color(0.2f, 0.1f, 0.3f, 1));
    scene.UpdateFrame(0.0f);
    scene.SetViewportCount(1);
    scene.SetViewportIndex(0);
    std::vector<uint8_t> pictures[2];
    for (const bool saving : {false, true}) {
      Engine::RenderQueue::SetFillSaving(saving);
      scene.RenderView(camera, view);
      pictures[saving].resize(static_cast<size_t>(kWidth) * kHeight * 3);
      renderer->ReadPixels(pictures[saving].data());
    }
    int worst = 0;
    for (size_t i = 0; i < pictures[0].size(); ++i) worst = std::max(worst, std::abs(pictures[0][i] - pictures[1][i]));
    EXPECT_LE(worst, 3) << "scene " << seed;
  }
}

}  // namespace
