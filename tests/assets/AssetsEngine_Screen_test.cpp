// The generated pictures on the real OpenGL renderer (Xvfb in CI), and the generated window icon on a
// real window: sheet rows count from the bottom, the first instruction page is frame 0, and the
// icon the game sets is the icon file's 32-pixel image.
#include <gtest/gtest.h>

#include <stb/stb_image_write.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/window/WindowIconProperty.h"
#include "AssetsTestSupport.h"
#include "platform/PAL_IconFile.h"
#include "platform/PAL_Services.h"
#include "platform/PAL_Window.h"
#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_Image.h"
#include "scene/Engine_Camera.h"
#include "scene/Engine_SceneGraph.h"
#include "scene/Engine_Sprite.h"
#include "scene/Engine_TextureSource.h"
#include "scene/Engine_Viewport.h"
#include "tests/support/Screenshots.h"
#include "tests/support/TestSupport.h"

namespace {

using Core::SmartPointer;

// Wide enough for a whole instruction page at one pixel per texel.
constexpr int32_t kWidth = 1100;
constexpr int32_t kHeight = 560;

std::string GamePath(const std::string& relative) { return std::string(PAL::GetExecutableDirectory()) + relative; }

using Rgb = TestSupport::Picture;

class AssetScreen : public ::testing::Test, protected TestSupport::RenderWindow {
 protected:
  void SetUp() override {
    VELKOR_REQUIRE_DISPLAY();
    ASSERT_NO_FATAL_FAILURE(OpenWindow("velkor_assets_screen", kWidth, kHeight));
  }
  void TearDown() override { CloseWindow(); }

  // Draws one frame of a one-column sheet centred at one pixel per texel over a magenta clear and
  // returns the window's pixels, top row first.
  Rgb DrawFrame(const std::string& sheetPath, uint32_t frameWidth, uint32_t frameHeight, uint32_t rows,
                 uint32_t frame) {
    Engine::SceneGraph scene(renderer.Get());
    // One world unit is one pixel at this distance for a 45-degree view kHeight pixels high.
    const float distance = static_cast<float>(kHeight) / (2.0f * 0.41421356f);
    auto texture = Engine::LoadTexture(sheetPath, true);
    EXPECT_TRUE(texture) << sheetPath;
    std::vector<Engine::SpriteFrame> frames;
    for (uint32_t r = 0; r < rows; ++r) frames.push_back({0, r, 1.0f});
    SmartPointer<Engine::SpriteAnimation> animation(
        new Engine::SpriteAnimation(texture, frameWidth, frameHeight, frames));
    SmartPointer<Engine::TransformationGroup> place(new Engine::TransformationGroup());
    place->SetTransform(Math::Matrix4x4::MakeTranslation(0, 0, -distance));
    SmartPointer<Engine::Sprite> sprite(new Engine::Sprite({animation}));
    sprite->SetCurrentFrameIndex(frame, true);
    place->AddChild(sprite);
    SmartPointer<Engine::Camera> camera(new Engine::Camera(45.0f, 1.0f, 2000.0f));
    scene.AddChild(camera);
    scene.AddChild(place);
    SmartPointer<Engine::Viewport> view(new Engine::Viewport(0, 0, kWidth, kHeight));
    view->SetClearColor(Math::Color(1, 0, 1, 1));
    scene.UpdateFrame(0.0f);
    scene.SetViewportCount(1);
    scene.SetViewportIndex(0);
    scene.RenderView(camera, view);
    return TestSupport::ReadScreen(renderer.Get());
  }
};

void Fill(std::vector<uint8_t>& rgba, uint32_t width, uint32_t fromRow, uint32_t toRow, uint8_t r, uint8_t g,
          uint8_t b) {
  for (uint32_t y = fromRow; y < toRow; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
      p[0] = r;
      p[1] = g;
      p[2] = b;
      p[3] = 255;
    }
  }
}

TEST_F(AssetScreen, FrameZeroOfAOneColumnSheetIsItsBottomBand) {
  // A 1x3 sheet of 64 x 48 frames; in the file, from the top: red, green, blue.
  std::vector<uint8_t> sheet(64 * 144 * 4);
  Fill(sheet, 64, 0, 48, 255, 0, 0);
  Fill(sheet, 64, 48, 96, 0, 255, 0);
  Fill(sheet, 64, 96, 144, 0, 0, 255);
  const std::string path = directory + "/bands.png";
  ASSERT_NE(stbi_write_png(path.c_str(), 64, 144, 4, sheet.data(), 64 * 4), 0);
  const int expected[3][3] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}};
  for (uint32_t frame = 0; frame < 3; ++frame) {
    const Rgb screen = DrawFrame(path, 64, 48, 3, frame);
    // The frame covers window columns 518..581 and rows 256..303; look well inside and just outside.
    for (const auto& [x, y] : {std::pair<uint32_t, uint32_t>{550, 280}, {525, 262}, {575, 298}}) {
      const uint8_t* p = screen.At(x, y);
      EXPECT_NEAR(p[0], expected[frame][0], 8) << "frame " << frame << " at " << x << "," << y;
      EXPECT_NEAR(p[1], expected[frame][1], 8) << "frame " << frame << " at " << x << "," << y;
      EXPECT_NEAR(p[2], expected[frame][2], 8) << "frame " << frame << " at " << x << "," << y;
    }
    const uint8_t* outside = screen.At(550, 250);
    EXPECT_EQ(outside[0], 255);
    EXPECT_EQ(outside[1], 0);
    EXPECT_EQ(outside[2], 255);
  }
}

// Pixels of the drawn frame (window area) that differ clearly from one band of the sheet file; where
// the sheet is see-through the screen shows what lies behind, so those pixels are not compared.
double MismatchShare(const Rgb& screen, const Renderer::Image& sheet, uint32_t bandTop, uint32_t frameWidth,
                     uint32_t frameHeight) {
  const uint32_t left = (kWidth - frameWidth) / 2;
  const uint32_t top = (kHeight - frameHeight) / 2;
  size_t differing = 0;
  size_t total = 0;
  for (uint32_t y = 4; y + 4 < frameHeight; y += 2) {
    for (uint32_t x = 4; x + 4 < frameWidth; x += 2) {
      const uint8_t* s = screen.At(left + x, top + y);
      const uint8_t* f = &sheet.pixels[(static_cast<size_t>(bandTop + y) * sheet.width + x) * 4];
      if (f[3] == 0) continue;
      int worst = 0;
      for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(int{s[c]} - int{f[c]}));
      differing += worst > 64 ? 1 : 0;
      ++total;
    }
  }
  return static_cast<double>(differing) / static_cast<double>(total);
}

TEST_F(AssetScreen, InstructionPagesShowPageOneAsFrameZero) {
  const std::string sheetPath = GamePath("\\Resources\\Animations\\InstPagess.png");
  const std::string bytes = TestSupport::ReadWholeFile(AssetsTest::MapGamePath("\\Resources\\Animations\\InstPagess.png"));
  Renderer::Image sheet;
  std::string error;
  ASSERT_TRUE(Renderer::DecodeImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), sheet, error))
      << error;
  // Three pages stacked in one column.
  ASSERT_EQ(sheet.height % 3, 0u);
  const uint32_t frameWidth = sheet.width;
  const uint32_t frameHeight = sheet.height / 3;

  const Rgb first = DrawFrame(sheetPath, frameWidth, frameHeight, 3, 0);
  const double bottom = MismatchShare(first, sheet, 2 * frameHeight, frameWidth, frameHeight);
  const double middle = MismatchShare(first, sheet, frameHeight, frameWidth, frameHeight);
  const double top = MismatchShare(first, sheet, 0, frameWidth, frameHeight);
  RecordProperty("mismatch_bottom_band", std::to_string(bottom));
  RecordProperty("mismatch_top_band", std::to_string(top));
  std::printf("frame 0 against the bands: bottom %.4f, middle %.4f, top %.4f\n", bottom, middle, top);
  EXPECT_LT(bottom, 0.01);
  EXPECT_GT(middle, 3 * bottom + 0.005);
  EXPECT_GT(top, 3 * bottom + 0.005);

  // The last frame is the top band.
  const Rgb last = DrawFrame(sheetPath, frameWidth, frameHeight, 3, 2);
  EXPECT_LT(MismatchShare(last, sheet, 0, frameWidth, frameHeight), 0.01);

  // Frame 0 as the screen shows it, for a person to read "CONTROLS" on.
  const uint32_t left = (kWidth - frameWidth) / 2;
  const uint32_t topRow = (kHeight - frameHeight) / 2;
  Rgb crop;
  crop.width = static_cast<int32_t>(frameWidth);
  crop.height = static_cast<int32_t>(frameHeight);
  for (uint32_t y = 0; y < frameHeight; ++y) {
    crop.rgb.insert(crop.rgb.end(), first.At(left, topRow + y), first.At(left, topRow + y) + frameWidth * 3);
  }
  TestSupport::SavePicture(crop, VELKOR_ARTEFACT_DIR, "InstPagess_frame0");
}

TEST_F(AssetScreen, TheGameIconBecomesTheWindowsIcon) {
  const std::string path = GamePath("\\Resources\\GameIcon\\GameIcon.ico");
  PAL::IconImage image;
  std::string error;
  ASSERT_TRUE(PAL::LoadIconFile(path, PAL::kWindowIconSize, image, error)) << error;
  ASSERT_EQ(image.width, 32u);
  ASSERT_EQ(image.height, 32u);

  window->SetIcon(path.c_str());
  EXPECT_EQ(std::string(window->GetIcon()), path);
  const uint64_t id = window->GetNativeId();
  if (id == 0) GTEST_SKIP() << "not an X11 window: the icon property cannot be read back";
  const std::vector<unsigned long> property = WindowIconProbe::ReadWindowIconProperty(id);
  ASSERT_GE(property.size(), 2u) << "no _NET_WM_ICON on the window";
  ASSERT_EQ(property[0], 32u);
  ASSERT_EQ(property[1], 32u);
  ASSERT_EQ(property.size(), 2u + 32u * 32u);
  size_t opaque = 0;
  for (uint32_t i = 0; i < 32u * 32u; ++i) {
    const unsigned long argb = property[2 + i] & 0xFFFFFFFFul;
    const uint8_t* p = &image.rgba[static_cast<size_t>(i) * 4];
    EXPECT_EQ((argb >> 24) & 255, p[3]) << "pixel " << i;
    if (p[3] == 255) {
      ++opaque;
      EXPECT_EQ((argb >> 16) & 255, p[0]) << "pixel " << i;
      EXPECT_EQ((argb >> 8) & 255, p[1]) << "pixel " << i;
      EXPECT_EQ(argb & 255, p[2]) << "pixel " << i;
    }
  }
  // A round badge fills most of the square.
  EXPECT_GT(opaque, 32u * 32u / 2);
}

}  // namespace
