// The ".gui" reader on valid and hostile files, the nine-part layout arithmetic, the refill rules of
// skin images, and the rectangles' intersection and texture-coordinate clipping.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "core/Core_File.h"
#include "gui/Gui_GuiImage.h"
#include "tests/support/TestSupport.h"

namespace {

using GUI::SkinRecord;

void Put32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 255));
}
void PutFloat(std::string& out, float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, 4);
  Put32(out, bits);
}
std::string SkinBytes(const std::vector<SkinRecord>& records, int32_t count) {
  std::string out;
  Put32(out, static_cast<uint32_t>(count));
  for (const SkinRecord& r : records) {
    for (float f : {r.x, r.y, r.width, r.height, r.innerLeft, r.innerRight, r.innerBottom, r.innerTop}) PutFloat(out, f);
  }
  return out;
}
std::string SkinBytes(const std::vector<SkinRecord>& records) {
  return SkinBytes(records, static_cast<int32_t>(records.size()));
}
bool Parse(const std::string& bytes, std::vector<SkinRecord>& records, std::string& error) {
  return GUI::ParseSkinRecords(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), records, error);
}

const SkinRecord kCaption{0, 32, 64, 32, 8, 56, 4, 26};
const SkinRecord kWhole{64, 0, 20, 20, 0, 20, 0, 20};

TEST(SkinFile, ValidFilesGiveTheirRecordsInOrder) {
  std::vector<SkinRecord> records;
  std::string error;
  ASSERT_TRUE(Parse(SkinBytes({kCaption, kWhole}), records, error)) << error;
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].innerTop, 26.0f);
  EXPECT_EQ(records[1].x, 64.0f);
  ASSERT_TRUE(Parse(SkinBytes({}), records, error));  // no record at all is a valid, empty skin
  EXPECT_TRUE(records.empty());
}

TEST(SkinFile, HostileFilesFailWithTheirCauseAndKeepNothing) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  std::string bad = SkinBytes({kCaption});
  struct Case {
    std::string bytes;
    const char* cause;
  } cases[] = {
      {std::string(), "too short"},
      {std::string("\x01\x00", 2), "too short"},
      {SkinBytes({kCaption}, -1), "negative"},
      {SkinBytes({kCaption}, INT32_MIN), "negative"},
      {SkinBytes({kCaption}, INT32_MAX), "above the limit"},
      {SkinBytes({kCaption}, 2), "needs 68 bytes"},               // count says more than the file holds
      {bad.substr(0, bad.size() - 1), "needs 36 bytes"},          // one byte short
      {bad + "x", "needs 36 bytes"},                              // trailing bytes
      {SkinBytes({SkinRecord{0, 0, nan, 8, 0, 0, 0, 8}}), "record 0"},
      {SkinBytes({kCaption, SkinRecord{inf, 0, 8, 8, 0, 8, 0, 8}}), "record 1"},
      {SkinBytes({SkinRecord{0, 0, -8, 8, 0, 0, 0, 8}}), "record 0"},        // negative width
      {SkinBytes({SkinRecord{0, 0, 8, 8, 6, 2, 0, 8}}), "record 0"},         // inner left past inner right
      {SkinBytes({SkinRecord{0, 0, 8, 8, 0, 8, 0, 9}}), "record 0"},         // inner top above the region
  };
  for (const Case& c : cases) {
    std::vector<SkinRecord> records = {kWhole};
    std::string error;
    EXPECT_FALSE(Parse(c.bytes, records, error)) << c.cause;
    EXPECT_TRUE(records.empty()) << c.cause;
    EXPECT_NE(error.find(c.cause), std::string::npos) << error;
  }
}

TEST(SkinFile, FileReaderNamesThePathAndRefusesOversizedFiles) {
  const std::string directory = TestSupport::MakeTempDirectory("velkor_gui_skin");
  std::vector<SkinRecord> records;
  std::string error;
  EXPECT_FALSE(GUI::ReadSkinFile(directory + "/Missing", records, error));
  EXPECT_NE(error.find("Missing.gui"), std::string::npos) << error;

  // A huge file is refused before it is read, whatever its count says.
  std::string huge = SkinBytes({kCaption}, 100000);
  huge.resize(4 + 100000 * 32, '\0');
  ASSERT_TRUE(TestSupport::WriteWholeFile(directory + "/Huge.gui", huge));
  EXPECT_FALSE(GUI::ReadSkinFile(directory + "/Huge", records, error));
  EXPECT_NE(error.find("not a skin file"), std::string::npos) << error;

  ASSERT_TRUE(TestSupport::WriteWholeFile(directory + "/Good.gui", SkinBytes({kCaption})));
  EXPECT_TRUE(GUI::ReadSkinFile(directory + "/Good", records, error)) << error;
  EXPECT_EQ(records.size(), 1u);
  std::filesystem::remove_all(directory);
}

class SkinImageTest : public GuiTest::GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    skin = directory + "/Skin";
    ASSERT_TRUE(TestSupport::WriteWholeFile(skin + ".gui", SkinBytes({kCaption, kWhole})));
    SceneTest::RegisterTextureSize(skin + ".png", 128, 64);
  }
  TestSupport::ScratchFolder folder{"velkor_gui_image"};
  const std::string& directory = folder.Path();
  std::string skin;
};

TEST_F(SkinImageTest, NinePartLayoutKeepsCornersAndStretchesTheRest) {
  GUI::GuiImage image(skin, GUI::Size{200, 40});
  image.SetPosition(Math::Vector2D(10, 20));
  EXPECT_EQ(image.GetBorderLeft(), 8.0f);
  EXPECT_EQ(image.GetBorderRight(), 8.0f);
  EXPECT_EQ(image.GetBorderTop(), 6.0f);
  EXPECT_EQ(image.GetBorderBottom(), 4.0f);
  const float widths[3] = {8, 184, 8}, heights[3] = {6, 30, 4};
  const float lefts[3] = {10, 18, 202}, bottoms[3] = {54, 24, 20};
  for (uint32_t k = 0; k < 9; ++k) {
    EXPECT_EQ(image.GetPart(k).width, widths[k % 3]) << k;
    EXPECT_EQ(image.GetPart(k).height, heights[k / 3]) << k;
    EXPECT_EQ(image.GetPart(k).left, lefts[k % 3]) << k;
    EXPECT_EQ(image.GetPart(k).bottom, bottoms[k / 3]) << k;
  }
  // Texture coordinates: the region's centre column and middle row, offset by its corner.
  const GUI::TRectangle& centre = image.GetPart(4);
  EXPECT_FLOAT_EQ(centre.texCoords[0].x, 8.0f / 128);
  EXPECT_FLOAT_EQ(centre.texCoords[0].y, 36.0f / 64);
  EXPECT_FLOAT_EQ(centre.texCoords[2].x, 56.0f / 128);
  EXPECT_FLOAT_EQ(centre.texCoords[2].y, 58.0f / 64);
  const GUI::TRectangle& topLeft = image.GetPart(0);
  EXPECT_FLOAT_EQ(topLeft.texCoords[3].y, 1.0f);
  EXPECT_FLOAT_EQ(topLeft.texCoords[1].x, 8.0f / 128);

  image.Draw(GUI::GetScreenRectangle());
  EXPECT_EQ(queue->GetScreenObjectCount(), 9u);
}

TEST_F(SkinImageTest, NarrowImageDropsTheCentreColumnButKeepsTheRightEdgeInPlace) {
  GUI::GuiImage image(skin, GUI::Size{10, 40});
  EXPECT_EQ(image.GetPart(4).width, 0.0f);
  EXPECT_EQ(image.GetPart(2).width, 8.0f);
  EXPECT_EQ(image.GetPart(2).left, 2.0f);  // position.x + width - borderRight
  image.Draw(GUI::GetScreenRectangle());
  EXPECT_EQ(queue->GetScreenObjectCount(), 6u);  // three rows of left and right parts
}

TEST_F(SkinImageTest, OnlyRealChangesAndClipMovesRefillTheParts) {
  GUI::GuiImage image(skin, GUI::Size{100, 40});
  const GUI::NRectangle screen = GUI::GetScreenRectangle();
  image.Draw(screen);
  EXPECT_FALSE(image.IsDirty());
  image.SetWidth(100);
  image.SetHeight(40);
  image.SetPosition(Math::Vector2D(0, 0));
  image.SetDepth(0);
  image.SetOpacity(1);
  image.SetColor(Math::Color(1, 1, 1, 1));
  image.SetRecordIndex(0);
  image.SetRecordIndex(7);  // no such record
  EXPECT_FALSE(image.IsDirty());
  EXPECT_EQ(image.GetRecordIndex(), 0u);

  // Half the image clipped away: the context is cut, texture coordinates in proportion.
  const float rightBefore = image.GetContext(4)->corners[1].x;
  image.Draw(GUI::NRectangle(0, 0, 50, 480));
  EXPECT_EQ(image.GetContext(4)->corners[1].x, 50.0f);
  EXPECT_LT(image.GetContext(4)->corners[1].x, rightBefore);
  EXPECT_FLOAT_EQ(image.GetContext(4)->texCoords[1].x, (8.0f + (50.0f - 8.0f) / 84.0f * 48.0f) / 128.0f);

  image.SetColor(Math::Color(1, 0, 0, 1));
  EXPECT_TRUE(image.IsDirty());
  image.SetRecordIndex(1);  // the whole 20 x 20 region stretched in the centre, no borders
  EXPECT_EQ(image.GetPart(4).width, 100.0f);
  EXPECT_EQ(image.GetPart(0).width, 0.0f);
}

TEST_F(SkinImageTest, SkinWithoutRecordsOrTextureDrawsNothingAndStaysFinite) {
  ASSERT_TRUE(TestSupport::WriteWholeFile(directory + "/Bad.gui", SkinBytes({kCaption}, 9)));
  GUI::GuiImage image(directory + "/Bad", GUI::Size{100, 40});
  EXPECT_EQ(image.GetRecordCount(), 0u);
  EXPECT_FALSE(image.GetError().empty());
  image.Draw(GUI::GetScreenRectangle());
  EXPECT_EQ(queue->GetScreenObjectCount(), 0u);

  // Records but no picture: coordinates are 0, not infinities, and nothing is queued untextured.
  ASSERT_TRUE(TestSupport::WriteWholeFile(directory + "/NoPicture.gui", SkinBytes({kCaption})));
  GUI::GuiImage bare(directory + "/NoPicture", GUI::Size{100, 40});
  for (uint32_t k = 0; k < 9; ++k)
    for (int c = 0; c < 4; ++c) EXPECT_TRUE(std::isfinite(bare.GetPart(k).texCoords[c].x));
  bare.Draw(GUI::GetScreenRectangle());
  EXPECT_EQ(queue->GetScreenObjectCount(), 0u);
}

TEST_F(SkinImageTest, CloneWithSkinKeepsStateButNotPlace) {
  GUI::GuiImage image(skin, GUI::Size{100, 40});
  image.SetRecordIndex(1);
  image.SetPosition(Math::Vector2D(30, 30));
  image.SetOpacity(0.5f);
  Core::SmartPointer<GUI::GuiImage> copy = image.CloneWithSkin(skin);
  EXPECT_EQ(copy->GetRecordIndex(), 1u);
  EXPECT_EQ(copy->GetOpacity(), 0.5f);
  EXPECT_EQ(copy->GetWidth(), 100.0f);
  EXPECT_EQ(copy->GetPosition(), Math::Vector2D(0, 0));
}

TEST_F(SkinImageTest, SaveAndLoadRoundTripAndRefuseAHugeRecordCount) {
  GUI::GuiImage image(skin, GUI::Size{120, 40});
  image.SetPosition(Math::Vector2D(5, 6));
  image.SetRecordIndex(1);
  Core::MemoryFile file;
  image.Save(file);
  GUI::GuiImage loaded;
  Core::MemoryFile reader(file.GetBuffer().GetData(), file.GetBuffer().GetSize());
  loaded.Load(reader);
  EXPECT_FALSE(reader.HasFailed());
  EXPECT_EQ(loaded.GetRecordCount(), 2u);
  EXPECT_EQ(loaded.GetRecordIndex(), 1u);
  EXPECT_EQ(loaded.GetPart(4).width, image.GetPart(4).width);
  EXPECT_EQ(loaded.GetPosition(), Math::Vector2D(5, 6));

  // Patch the stored record count to a huge value: the load fails instead of allocating.
  std::string bytes(reinterpret_cast<const char*>(file.GetBuffer().GetData()), file.GetBuffer().GetSize());
  const size_t countAt = bytes.size() - 16 - 2 * 32 - 4;
  bytes[countAt + 3] = 0x7F;
  GUI::GuiImage hostile;
  Core::MemoryFile hostileReader(bytes.data(), static_cast<uint32_t>(bytes.size()));
  hostile.Load(hostileReader);
  EXPECT_TRUE(hostileReader.HasFailed());
  EXPECT_EQ(hostile.GetRecordCount(), 0u);
}

TEST(GuiRectangles, IntersectionNeedsOneUnitEachWayAndContainsIncludesEdges) {
  GUI::NRectangle out;
  EXPECT_FALSE(GUI::NRectangle::Intersect(out, {0, 0, 10, 10}, {10, 0, 10, 10}));  // touching edges
  EXPECT_EQ(out.width, 0.0f);
  EXPECT_FALSE(GUI::NRectangle::Intersect(out, {0, 0, 10, 10}, {9.5f, 0, 10, 10}));
  EXPECT_TRUE(GUI::NRectangle::Intersect(out, {0, 0, 10, 10}, {9, 2, 10, 10}));
  EXPECT_EQ(out, GUI::NRectangle(9, 2, 1, 8));
  const GUI::NRectangle r(0, 0, 10, 5);
  EXPECT_TRUE(r.Contains(0, 0));
  EXPECT_TRUE(r.Contains(10, 5));
  EXPECT_FALSE(r.Contains(10.01f, 5));
  EXPECT_FALSE(r.Contains(std::nanf(""), 1));
}

TEST(GuiRectangles, ClippingCutsTextureCoordinatesInProportionAlsoWhenMirrored) {
  GUI::TRectangle out;
  const GUI::TRectangle a(0, 0, 100, 50);
  ASSERT_TRUE(GUI::TRectangle::ClipTextured(out, a, {25, 0, 100, 100}));
  EXPECT_FLOAT_EQ(out.texCoords[0].x, 0.25f);
  EXPECT_FLOAT_EQ(out.texCoords[1].x, 1.0f);
  ASSERT_TRUE(GUI::TRectangle::ClipTextured(out, a, {0, 0, 50, 25}));
  EXPECT_FLOAT_EQ(out.texCoords[2].x, 0.5f);
  EXPECT_FLOAT_EQ(out.texCoords[2].y, 0.5f);

  GUI::TRectangle mirrored(0, 0, 100, 50);
  mirrored.texCoords[0] = {1, 0};
  mirrored.texCoords[1] = {0, 0};
  mirrored.texCoords[2] = {0, 1};
  mirrored.texCoords[3] = {1, 1};
  ASSERT_TRUE(GUI::TRectangle::ClipTextured(out, mirrored, {25, 0, 100, 100}));
  EXPECT_FLOAT_EQ(out.texCoords[0].x, 0.75f);
  EXPECT_FLOAT_EQ(out.texCoords[1].x, 0.0f);

  GUI::TRectangle untouched(1, 2, 3, 4);
  EXPECT_FALSE(GUI::TRectangle::ClipTextured(untouched, a, {200, 0, 10, 10}));
  EXPECT_EQ(untouched.left, 1.0f);
}

}  // namespace
