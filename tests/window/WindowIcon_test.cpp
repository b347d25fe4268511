// The window icon on a real window (Xvfb in CI): an icon file's best image reaches the X server, and
// a broken or missing file leaves the icon as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/PAL_Window.h"
#include "tests/platform/IconTestFiles.h"
#include "tests/support/TestSupport.h"
#include "tests/window/WindowIconProperty.h"

namespace {

class WindowIconTest : public ::testing::Test {
 protected:
  void SetUp() override { VELKOR_REQUIRE_DISPLAY(); }
  std::string Write(const std::string& name, const std::string& bytes) { return folder.Write(name, bytes); }
  TestSupport::ScratchFolder folder{"velkor_window_icon"};
  const std::string& directory = folder.Path();
};

TEST_F(WindowIconTest, BestImageOfAnIconFileBecomesTheIconAndBrokenFilesChangeNothing) {
  PAL::Window window(200, 100);
  if (window.GetNativeId() == 0) GTEST_SKIP() << "not an X11 window: the icon property cannot be read back";

  // A 24-bit bitmap at 32 pixels among PNG entries of other sizes; its left column is masked out.
  std::vector<uint8_t> rgba = IconTest::Solid(32, 32, 200, 100, 50, 255);
  std::vector<bool> mask(32 * 32, false);
  for (uint32_t y = 0; y < 32; ++y) mask[y * 32] = true;
  const std::string good = IconTest::MakeIcon(
      {{16, 16, 32, TestSupport::EncodePng(16, 16, IconTest::Solid(16, 16, 1, 1, 1, 255))},
       {32, 32, 24, IconTest::EncodeBitmapEntry(32, 32, 24, rgba, mask)},
       {48, 48, 32, TestSupport::EncodePng(48, 48, IconTest::Solid(48, 48, 2, 2, 2, 255))}});
  // Through a system path with a backslash, as the game passes it.
  window.SetIcon((directory + "\\Game.ico").c_str());
  EXPECT_TRUE(WindowIconProbe::ReadWindowIconProperty(window.GetNativeId()).empty()) << "no file yet: no icon";
  Write("Game.ico", good);
  window.SetIcon((directory + "\\Game.ico").c_str());
  std::vector<unsigned long> icon = WindowIconProbe::ReadWindowIconProperty(window.GetNativeId());
  ASSERT_EQ(icon.size(), 2u + 32u * 32u);
  EXPECT_EQ(icon[0], 32u);
  EXPECT_EQ(icon[1], 32u);
  EXPECT_EQ(icon[2 + 5 * 32 + 0] & 0xFF000000ul, 0u) << "masked column";
  EXPECT_EQ(icon[2 + 5 * 32 + 1] & 0xFFFFFFFFul, 0xFFC86432ul) << "opaque (200, 100, 50)";

  std::string truncated = good.substr(0, good.size() - 10);
  std::string wrongType = good;
  wrongType[2] = 2;
  for (const std::string& bad : {truncated, wrongType, std::string("not an icon at all")}) {
    window.SetIcon(Write("Bad.ico", bad).c_str());
    EXPECT_EQ(std::string(window.GetIcon()), directory + "/Bad.ico");
    EXPECT_EQ(WindowIconProbe::ReadWindowIconProperty(window.GetNativeId()), icon);
  }
  window.SetIcon((directory + "/Missing.ico").c_str());
  EXPECT_EQ(WindowIconProbe::ReadWindowIconProperty(window.GetNativeId()), icon);
}

}  // namespace
