// The GUI's skins, form picture and overlays in the generated Resources tree: every file exists with
// its exact case, decodes as 8-bit RGBA, and each ".gui" holds the records its controls select,
// each a region inside its picture with its inner edges inside the region and not transparent.
#include <gtest/gtest.h>

#include "AssetsTestSupport.h"
#include "tests/support/WholeFiles.h"

using namespace AssetsTest;

namespace {

struct SkinSpec {
  const char* name;
  int records;  // what the controls select: button 0..4, radio button 0..9, form 0..6
};

TEST(AssetGui, PicturesExistAndDecodeAsRgba) {
  for (const char* path : {"\\Resources\\Skins\\Gray.png", "\\Resources\\Skins\\Overlays\\ComboDown.png",
                           "\\Resources\\Skins\\Overlays\\ComboDownDisabled.png"}) {
    const Picture picture = LoadPicture(MapGamePath(path));
    ASSERT_TRUE(picture.ok) << path << ": " << picture.error;
    EXPECT_EQ(picture.bitDepth, 8) << path;
    EXPECT_EQ(picture.colourType, 6) << path;
    EXPECT_EQ(picture.interlace, 0) << path;
  }
  const Picture gray = LoadPicture(MapGamePath("\\Resources\\Skins\\Gray.png"));
  ASSERT_TRUE(gray.ok);
  EXPECT_EQ(gray.Alpha(0, 0), 255);  // the form's picture is opaque
  const Picture arrow = LoadPicture(MapGamePath("\\Resources\\Skins\\Overlays\\ComboDown.png"));
  ASSERT_TRUE(arrow.ok);
  EXPECT_GT(arrow.Alpha(arrow.width / 2, arrow.height / 2), 0);  // the arrow sits in the middle
  EXPECT_EQ(arrow.Alpha(0, 0), 0);
}

TEST(AssetGui, SkinRecordsCutSoundRegionsOutOfTheirPictures) {
  const SkinSpec skins[] = {{"DefaultButtonSkin", 5}, {"DefaultRadioButtonSkin", 10}, {"DefaultFormSkin", 7}};
  for (const SkinSpec& skin : skins) {
    const std::string base = std::string("\\Resources\\Skins\\") + skin.name + "\\" + skin.name;
    const Picture picture = LoadPicture(MapGamePath(base + ".png"));
    ASSERT_TRUE(picture.ok) << skin.name << ": " << picture.error;
    EXPECT_EQ(picture.colourType, 6) << skin.name;
    const std::string gui = TestSupport::ReadWholeFile(MapGamePath(base + ".gui"));
    ASSERT_GE(gui.size(), 4u) << skin.name;
    const int32_t count = I32(gui, 0);
    EXPECT_EQ(count, skin.records) << skin.name;
    ASSERT_EQ(gui.size(), 4u + 32u * static_cast<uint32_t>(count)) << skin.name;
    for (int32_t i = 0; i < count; ++i) {
      const size_t at = 4 + 32 * static_cast<size_t>(i);
      const float x = F32(gui, at), y = F32(gui, at + 4), w = F32(gui, at + 8), h = F32(gui, at + 12);
      const float innerLeft = F32(gui, at + 16), innerRight = F32(gui, at + 20);
      const float innerBottom = F32(gui, at + 24), innerTop = F32(gui, at + 28);
      const std::string what = std::string(skin.name) + " record " + std::to_string(i);
      EXPECT_GE(x, 0) << what;
      EXPECT_GE(y, 0) << what;
      EXPECT_LE(x + w, picture.width) << what;
      EXPECT_LE(y + h, picture.height) << what;
      EXPECT_TRUE(0 <= innerLeft && innerLeft <= innerRight && innerRight <= w) << what;
      EXPECT_TRUE(0 <= innerBottom && innerBottom <= innerTop && innerTop <= h) << what;
      // y counts from the picture's bottom row; the region's middle must be drawn.
      const int cx = static_cast<int>(x + w / 2), cy = picture.height - 1 - static_cast<int>(y + h / 2);
      EXPECT_GT(picture.Alpha(cx, cy), 0) << what;
    }
  }
}

TEST(AssetGui, SkinRecordsDoNotOverlap) {
  for (const char* name : {"DefaultButtonSkin", "DefaultRadioButtonSkin", "DefaultFormSkin"}) {
    const std::string gui =
        TestSupport::ReadWholeFile(MapGamePath(std::string("\\Resources\\Skins\\") + name + "\\" + name + ".gui"));
    ASSERT_GE(gui.size(), 4u);
    const int32_t count = I32(gui, 0);
    for (int32_t a = 0; a < count; ++a) {
      for (int32_t b = a + 1; b < count; ++b) {
        const size_t pa = 4 + 32 * static_cast<size_t>(a), pb = 4 + 32 * static_cast<size_t>(b);
        const bool apart = F32(gui, pa) + F32(gui, pa + 8) <= F32(gui, pb) ||
                           F32(gui, pb) + F32(gui, pb + 8) <= F32(gui, pa) ||
                           F32(gui, pa + 4) + F32(gui, pa + 12) <= F32(gui, pb + 4) ||
                           F32(gui, pb + 4) + F32(gui, pb + 12) <= F32(gui, pa + 4);
        EXPECT_TRUE(apart) << name << " records " << a << " and " << b;
      }
    }
  }
}

}  // namespace
