#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/PAL_IconFile.h"
#include "tests/platform/IconTestFiles.h"
#include "tests/support/TestSupport.h"

namespace {

const uint8_t* Bytes(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

bool Decode(const std::string& file, PAL::IconImage& image, std::string& error, uint32_t wanted = 32) {
  return PAL::DecodeIconFile(Bytes(file), file.size(), wanted, image, error);
}

void ExpectPixel(const PAL::IconImage& image, uint32_t x, uint32_t y, int r, int g, int b, int a) {
  ASSERT_LT(x, image.width);
  ASSERT_LT(y, image.height);
  const uint8_t* p = &image.rgba[(static_cast<size_t>(y) * image.width + x) * 4];
  EXPECT_EQ(p[0], r) << x << "," << y;
  EXPECT_EQ(p[1], g) << x << "," << y;
  EXPECT_EQ(p[2], b) << x << "," << y;
  EXPECT_EQ(p[3], a) << x << "," << y;
}

void Poke32(std::string& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 255);
}

std::string Poked(std::string s, size_t at, uint32_t v) {
  Poke32(s, at, v);
  return s;
}

TEST(IconFile, PicksThe32PixelEntryAmongPngEntries) {
  const std::string file = IconTest::MakePngIcon({16, 32, 48, 256});
  std::vector<PAL::IconEntry> entries;
  std::string error;
  ASSERT_TRUE(PAL::ParseIconDirectory(Bytes(file), file.size(), entries, error)) << error;
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[3].width, 256u);  // a stored 0 stands for 256
  for (const auto& e : entries) EXPECT_TRUE(e.png);

  PAL::IconImage image;
  ASSERT_TRUE(Decode(file, image, error)) << error;
  EXPECT_EQ(image.width, 32u);
  EXPECT_EQ(image.height, 32u);
  ExpectPixel(image, 0, 0, 32, 223, 224, 255);
  ExpectPixel(image, 31, 31, 32, 223, 224, 255);
}

TEST(IconFile, WithoutA32PixelEntryTheNearestWinsAndTiesGoToTheLarger) {
  PAL::IconImage image;
  std::string error;
  ASSERT_TRUE(Decode(IconTest::MakePngIcon({16, 48}), image, error)) << error;
  EXPECT_EQ(image.width, 48u);
  ASSERT_TRUE(Decode(IconTest::MakePngIcon({256, 16}), image, error)) << error;
  EXPECT_EQ(image.width, 16u);
  ASSERT_TRUE(Decode(IconTest::MakePngIcon({256}), image, error)) << error;
  EXPECT_EQ(image.width, 256u);
  ASSERT_TRUE(Decode(IconTest::MakePngIcon({16, 32, 48}), image, error, 48)) << error;
  EXPECT_EQ(image.width, 48u);

  // Equal sizes: the deeper colours first.
  std::vector<PAL::IconEntry> entries(2);
  entries[0].width = entries[0].height = entries[1].width = entries[1].height = 32;
  entries[0].bitCount = 24;
  entries[1].bitCount = 32;
  EXPECT_EQ(PAL::RankIconEntries(entries, 32), (std::vector<size_t>{1, 0}));
}

TEST(IconFile, Decodes32BitBitmapsBottomRowFirstWithAlpha) {
  // 3 x 2: top row red, green, blue; bottom row half-transparent white, black, clear.
  std::vector<uint8_t> rgba = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255,
                               255, 255, 255, 128, 0, 0, 0, 255, 9, 9, 9, 0};
  IconTest::Entry entry{3, 2, 32, IconTest::EncodeBitmapEntry(3, 2, 32, rgba, {})};
  PAL::IconImage image;
  std::string error;
  ASSERT_TRUE(Decode(IconTest::MakeIcon({entry}), image, error)) << error;
  ASSERT_EQ(image.width, 3u);
  ASSERT_EQ(image.height, 2u);
  EXPECT_EQ(image.rgba, rgba);
}

TEST(IconFile, A32BitBitmapWithoutAlphaTakesItsShapeFromTheMask) {
  std::vector<uint8_t> rgba = IconTest::Solid(2, 2, 10, 20, 30, 0);
  IconTest::Entry entry{2, 2, 32, IconTest::EncodeBitmapEntry(2, 2, 32, rgba, {true, false, false, true})};
  PAL::IconImage image;
  std::string error;
  ASSERT_TRUE(Decode(IconTest::MakeIcon({entry}), image, error)) << error;
  ExpectPixel(image, 0, 0, 10, 20, 30, 0);
  ExpectPixel(image, 1, 0, 10, 20, 30, 255);
  ExpectPixel(image, 0, 1, 10, 20, 30, 255);
  ExpectPixel(image, 1, 1, 10, 20, 30, 0);
}

TEST(IconFile, Decodes24BitBitmapsWithRowPaddingAndTheMask) {
  // 5 pixels of 3 bytes leave a padded row of 16 bytes; the mask row is 4 bytes.
  std::vector<uint8_t> rgba(5 * 3 * 4);
  std::vector<bool> transparent(15, false);
  for (uint32_t i = 0; i < 15; ++i) {
    rgba[i * 4] = static_cast<uint8_t>(i * 10);
    rgba[i * 4 + 1] = static_cast<uint8_t>(200 - i);
    rgba[i * 4 + 2] = static_cast<uint8_t>(i);
    rgba[i * 4 + 3] = 255;
  }
  transparent[4] = transparent[10] = true;
  IconTest::Entry entry{5, 3, 24, IconTest::EncodeBitmapEntry(5, 3, 24, rgba, transparent)};
  PAL::IconImage image;
  std::string error;
  ASSERT_TRUE(Decode(IconTest::MakeIcon({entry}), image, error)) << error;
  ASSERT_EQ(image.width, 5u);
  ASSERT_EQ(image.height, 3u);
  for (uint32_t i = 0; i < 15; ++i) {
    ExpectPixel(image, i % 5, i / 5, rgba[i * 4], rgba[i * 4 + 1], rgba[i * 4 + 2], transparent[i] ? 0 : 255);
  }
}

TEST(IconFile, ADamagedBestEntryFallsBackToTheNextOne) {
  IconTest::Entry broken{32, 32, 32, std::string("\x89PNG\r\n\x1a\n garbage", 17)};
  IconTest::Entry good{16, 16, 32, TestSupport::EncodePng(16, 16, IconTest::Solid(16, 16, 1, 2, 3, 255))};
  PAL::IconImage image;
  std::string error;
  ASSERT_TRUE(Decode(IconTest::MakeIcon({broken, good}), image, error)) << error;
  EXPECT_EQ(image.width, 16u);
  ExpectPixel(image, 5, 5, 1, 2, 3, 255);

  EXPECT_FALSE(Decode(IconTest::MakeIcon({broken}), image, error));
  EXPECT_NE(error.find("icon image 0"), std::string::npos) << error;
  EXPECT_TRUE(image.rgba.empty());
}

TEST(IconFile, RejectsMalformedDirectories) {
  const std::string good = IconTest::MakePngIcon({16, 32});
  std::vector<std::pair<std::string, std::string>> cases;
  cases.push_back({"empty", ""});
  cases.push_back({"short", good.substr(0, 5)});
  std::string s = good;
  s[0] = 1;
  cases.push_back({"reserved word set", s});
  s = good;
  s[2] = 2;
  cases.push_back({"a cursor file", s});
  s = good;
  s[4] = 0;
  cases.push_back({"no images", s});
  s = good;
  s[4] = static_cast<char>(0xFF);
  s[5] = static_cast<char>(0xFF);
  cases.push_back({"count beyond the file", s});
  cases.push_back({"zero image size", Poked(good, 6 + 8, 0)});
  cases.push_back({"offset and size wrap around", Poked(Poked(good, 6 + 8, 0x20), 6 + 12, 0xFFFFFFF0u)});
  cases.push_back({"image over the directory", Poked(good, 6 + 12, 4)});
  cases.push_back({"second image past the end", Poked(good, 6 + 16 + 8, 0x7FFFFFFF)});
  for (const auto& [what, file] : cases) {
    std::vector<PAL::IconEntry> entries;
    std::string error;
    EXPECT_FALSE(PAL::ParseIconDirectory(Bytes(file), file.size(), entries, error)) << what;
    EXPECT_FALSE(error.empty()) << what;
    EXPECT_TRUE(entries.empty()) << what;
    PAL::IconImage image;
    EXPECT_FALSE(Decode(file, image, error)) << what;
  }
  // Every cut of a whole file leaves an entry running past the end.
  for (size_t length = 0; length < good.size(); ++length) {
    PAL::IconImage image;
    std::string error;
    EXPECT_FALSE(Decode(good.substr(0, length), image, error)) << length;
  }
}

TEST(IconFile, RejectsMalformedImages) {
  const std::vector<uint8_t> rgba = IconTest::Solid(4, 4, 1, 2, 3, 255);
  const std::string bitmap = IconTest::EncodeBitmapEntry(4, 4, 32, rgba, {});
  std::vector<std::pair<std::string, std::string>> cases;
  cases.push_back({"header cut", bitmap.substr(0, 39)});
  cases.push_back({"mask cut", bitmap.substr(0, bitmap.size() - 1)});
  cases.push_back({"header longer than the image", Poked(bitmap, 0, 1000)});
  cases.push_back({"zero width", Poked(bitmap, 4, 0)});
  cases.push_back({"negative width", Poked(bitmap, 4, 0x80000000u)});
  cases.push_back({"huge width", Poked(bitmap, 4, 100000)});
  cases.push_back({"odd stored height", Poked(bitmap, 8, 7)});
  cases.push_back({"negative height", Poked(bitmap, 8, 0xFFFFFFF8u)});
  std::string palette = bitmap;
  palette[14] = 8;
  cases.push_back({"palette bitmap", palette});
  cases.push_back({"compressed bitmap", Poked(bitmap, 16, 3)});
  // A PNG whose header claims far more pixels than an icon may have.
  std::string png = TestSupport::EncodePng(4, 4, rgba);
  png[16] = 0x00;
  png[17] = 0x01;
  png[18] = 0x00;
  png[19] = 0x00;
  cases.push_back({"huge PNG", png});
  cases.push_back({"PNG signature only", png.substr(0, 8)});
  for (const auto& [what, bytes] : cases) {
    PAL::IconImage image;
    std::string error;
    EXPECT_FALSE(PAL::DecodeIconImage(Bytes(bytes), bytes.size(), image, error)) << what;
    EXPECT_FALSE(error.empty()) << what;
    EXPECT_TRUE(image.rgba.empty()) << what;
    IconTest::Entry entry{4, 4, 32, bytes};
    EXPECT_FALSE(Decode(IconTest::MakeIcon({entry}), image, error)) << what;
  }
}

TEST(IconFile, LoadsFromBackslashPathsAndReportsMissingFiles) {
  const std::string directory = TestSupport::MakeTempDirectory("velkor_icon");
  ASSERT_TRUE(TestSupport::WriteWholeFile(directory + "/Game.ico", IconTest::MakePngIcon({16, 32})));
  std::string system = directory + "\\Game.ico";
  PAL::IconImage image;
  std::string error;
  EXPECT_TRUE(PAL::LoadIconFile(system, 32, image, error)) << error;
  EXPECT_EQ(image.width, 32u);
  EXPECT_FALSE(PAL::LoadIconFile(directory + "\\game.ico", 32, image, error));
  EXPECT_NE(error.find("game.ico"), std::string::npos) << error;
  EXPECT_FALSE(PAL::LoadIconFile(directory, 32, image, error));  // a folder is no icon
  std::filesystem::remove_all(directory);
}

}  // namespace
