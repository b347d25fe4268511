#include <gtest/gtest.h>

#include "renderer/Renderer_Image.h"
#include "renderer/Renderer_Surface.h"
#include "tests/renderer/ImageFiles.h"
#include "tests/support/TestSupport.h"

using namespace Renderer;

namespace {

class ImageFilesTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) { return m_folder.Write(name, bytes); }
  static void ExpectFallback(const Surface& surface) {
    EXPECT_FALSE(surface.LoadedFromFile());
    ASSERT_EQ(surface.width, 256u);
    ASSERT_EQ(surface.height, 256u);
    EXPECT_EQ(surface.pitch, 1024u);
    const uint8_t* pixel = &surface.pixels[(5 * 256 + 3) * 4];  // column 3, row 5
    EXPECT_EQ(pixel[0], 3 ^ 5);
    EXPECT_EQ(pixel[2], 3 ^ 5);
    EXPECT_EQ(pixel[3], 255);
  }
  TestSupport::ScratchFolder m_folder{"velkor_images"};
  const std::string& m_directory = m_folder.Path();
};

const uint8_t* PixelAt(const Surface& surface, uint32_t column, uint32_t row) {
  return &surface.pixels[(static_cast<size_t>(row) * surface.width + column) * 4];
}

}  // namespace

TEST(PowerOfTwo, BoundariesOfTheFourFunctions) {
  EXPECT_FALSE(IsPowerOfTwo(0));
  EXPECT_TRUE(IsPowerOfTwo(1));
  EXPECT_TRUE(IsPowerOfTwo(0x80000000u));
  EXPECT_FALSE(IsPowerOfTwo(6));
  EXPECT_EQ(NextPowerOfTwo(0), 1u);
  EXPECT_EQ(NextPowerOfTwo(1), 2u);
  EXPECT_EQ(NextPowerOfTwo(5), 8u);
  EXPECT_EQ(NextPowerOfTwo(8), 16u);
  EXPECT_EQ(NextPowerOfTwo(0x80000001u), 0x80000000u);
  EXPECT_EQ(PreviousPowerOfTwo(0), 1u);
  EXPECT_EQ(PreviousPowerOfTwo(1), 1u);
  EXPECT_EQ(PreviousPowerOfTwo(8), 4u);
  EXPECT_EQ(PreviousPowerOfTwo(9), 8u);
  EXPECT_EQ(NearestPowerOfTwo(3), 4u);
  EXPECT_EQ(NearestPowerOfTwo(5), 4u);
  EXPECT_EQ(NearestPowerOfTwo(6), 8u);
  EXPECT_EQ(NearestPowerOfTwo(300), 256u);
  EXPECT_EQ(NearestPowerOfTwo(200), 256u);
  EXPECT_EQ(NearestPowerOfTwo(1), 1u);
  EXPECT_EQ(NearestPowerOfTwo(0), 1u);
}

TEST(ImageSuffix, OnlyPngBmpAndJpgInAnyCase) {
  EXPECT_TRUE(HasImageFileSuffix("a.png"));
  EXPECT_TRUE(HasImageFileSuffix("A.PNG"));
  EXPECT_TRUE(HasImageFileSuffix("dir/x.Bmp"));
  EXPECT_TRUE(HasImageFileSuffix("x.jpg"));
  EXPECT_FALSE(HasImageFileSuffix("x.jpeg"));
  EXPECT_FALSE(HasImageFileSuffix("x.gif"));
  EXPECT_FALSE(HasImageFileSuffix("x.tga"));
  EXPECT_FALSE(HasImageFileSuffix("png"));
  EXPECT_FALSE(HasImageFileSuffix(""));
}

TEST(SurfacePixels, RowsAreBottomFirstAndTransparentPixelsTakeTheirNeighboursColour) {
  Image image;
  image.width = 3;
  image.height = 2;
  // Top row: red, transparent blue, red. Bottom row: green, green, green.
  image.pixels = {255, 0, 0, 255, 0, 0, 255, 0, 255, 0, 0, 255,
                  0, 255, 0, 255, 0, 255, 0, 255, 0, 255, 0, 255};
  std::vector<uint8_t> pixels;
  ToSurfacePixels(image, pixels);
  ASSERT_EQ(pixels.size(), 24u);
  // Row 0 is the picture's bottom row.
  EXPECT_EQ(pixels[0], 0);
  EXPECT_EQ(pixels[1], 255);
  // The transparent pixel averages its five visible neighbours (two red, three green), rounded.
  const uint8_t* bled = &pixels[(1 * 3 + 1) * 4];
  EXPECT_EQ(bled[0], 102);  // 510 / 5
  EXPECT_EQ(bled[1], 153);  // 765 / 5
  EXPECT_EQ(bled[2], 0);
  EXPECT_EQ(bled[3], 0);

  // A transparent pixel between opaque red ones becomes red, still transparent; rounding to nearest.
  image.width = 3;
  image.height = 1;
  image.pixels = {254, 0, 0, 255, 9, 9, 9, 0, 255, 1, 0, 255};
  ToSurfacePixels(image, pixels);
  EXPECT_EQ(pixels[4], 255);  // (254 + 255) / 2 = 254.5 rounds up
  EXPECT_EQ(pixels[5], 1);    // (0 + 1) / 2 = 0.5 rounds up
  EXPECT_EQ(pixels[7], 0);

  // With no visible neighbour a pixel keeps its own colour.
  image.width = 2;
  image.height = 1;
  image.pixels = {10, 20, 30, 0, 40, 50, 60, 0};
  ToSurfacePixels(image, pixels);
  EXPECT_EQ(std::vector<uint8_t>(pixels.begin(), pixels.end()), image.pixels);
}

TEST(ResizeImage, PowerOfTwoTargetsKeepColourAndAlpha) {
  Image source;
  source.width = 3;
  source.height = 6;
  source.pixels = TestImages::Solid(3, 6, 200, 100, 50, 255);
  Image resized;
  ASSERT_TRUE(ResizeImage(source, NearestPowerOfTwo(3), NearestPowerOfTwo(6), resized));
  EXPECT_EQ(resized.width, 4u);
  EXPECT_EQ(resized.height, 8u);
  for (size_t i = 0; i < resized.pixels.size(); i += 4) {
    EXPECT_NEAR(resized.pixels[i], 200, 1);
    EXPECT_NEAR(resized.pixels[i + 1], 100, 1);
    EXPECT_NEAR(resized.pixels[i + 2], 50, 1);
    EXPECT_EQ(resized.pixels[i + 3], 255);
  }
  // Transparent pixels do not darken opaque ones when filtered together.
  source.width = 4;
  source.height = 1;
  source.pixels = {255, 255, 255, 255, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 0};
  ASSERT_TRUE(ResizeImage(source, 2, 1, resized));
  EXPECT_GE(resized.pixels[0], 250);
  EXPECT_GT(resized.pixels[3], 0);
  EXPECT_LT(resized.pixels[3], 255);
  // Mipmap chain: 256 x 64 down to 1 x 1.
  source.width = 5;
  source.height = 1;
  source.pixels = TestImages::Solid(5, 1, 1, 2, 3, 4);
  ASSERT_TRUE(ResizeImage(source, NearestPowerOfTwo(5), 1, resized));
  EXPECT_EQ(resized.width, 4u);
  EXPECT_FALSE(ResizeImage(source, 0, 1, resized));
  Image empty;
  EXPECT_FALSE(ResizeImage(empty, 4, 4, resized));
}

TEST_F(ImageFilesTest, PngDecodesToBottomFirstRgba) {
  // 2 x 2, top row red then green, bottom row blue then half-transparent white.
  const std::vector<uint8_t> rgba = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 128};
  const std::string path = Write("small.png", TestSupport::EncodePng(2, 2, rgba));
  Surface surface(path);
  ASSERT_TRUE(surface.LoadedFromFile()) << surface.GetError();
  EXPECT_EQ(surface.width, 2u);
  EXPECT_EQ(surface.height, 2u);
  EXPECT_EQ(surface.pitch, 8u);
  EXPECT_EQ(surface.format, 0u);
  EXPECT_EQ(PixelAt(surface, 0, 0)[2], 255);  // blue at bottom left
  EXPECT_EQ(PixelAt(surface, 1, 0)[3], 128);
  EXPECT_EQ(PixelAt(surface, 0, 1)[0], 255);  // red at top left
  EXPECT_EQ(PixelAt(surface, 1, 1)[1], 255);
  // The suffix test ignores case; the file name itself keeps it.
  Surface upper(Write("UPPER.PNG", TestSupport::EncodePng(2, 2, rgba)));
  EXPECT_TRUE(upper.LoadedFromFile());
  Surface wrongCase(m_directory + "/Small.png");
  ExpectFallback(wrongCase);
}

TEST_F(ImageFilesTest, BackslashPathsAreMapped) {
  const std::string path = Write("mapped.png", TestSupport::EncodePng(1, 1, {1, 2, 3, 255}));
  std::string backslashed = path;
  for (char& c : backslashed)
    if (c == '/') c = '\\';
  Surface surface(backslashed);
  EXPECT_TRUE(surface.LoadedFromFile()) << surface.GetError();
}

TEST_F(ImageFilesTest, HostileFilesGiveTheFallbackPattern) {
  const std::string png = TestSupport::EncodePng(4, 4, TestImages::Solid(4, 4, 9, 9, 9, 255));
  ExpectFallback(Surface(m_directory + "/missing.png"));
  ExpectFallback(Surface(""));
  ExpectFallback(Surface(Write("empty.png", "")));
  ExpectFallback(Surface(Write("truncated.png", png.substr(0, png.size() / 2))));
  ExpectFallback(Surface(Write("header-only.png", png.substr(0, 20))));
  std::string corrupt = png;
  for (size_t i = 40; i < corrupt.size() - 12; i += 3) corrupt[i] = static_cast<char>(corrupt[i] ^ 0x5A);
  ExpectFallback(Surface(Write("corrupt.png", corrupt)));
  // A header declaring an enormous picture is refused before anything is allocated for it.
  std::string huge = png;
  huge[16] = '\x7f';  // width 0x7f000004
  huge[20] = '\x7f';
  ExpectFallback(Surface(Write("huge.png", huge)));
  ExpectFallback(Surface(Write("text.jpg", "not a picture at all")));
  ExpectFallback(Surface(m_directory));  // a directory opens but does not read
}

TEST_F(ImageFilesTest, RawSurfaceFilesAreReadOnlyWhenTheHeaderTellsTheTruth) {
  const std::vector<uint8_t> pixels = TestImages::Solid(3, 2, 7, 8, 9, 10);
  Surface good(Write("good.raw", TestImages::EncodeRawSurface(0, 3, 2, 12, pixels)));
  ASSERT_TRUE(good.LoadedFromFile()) << good.GetError();
  EXPECT_EQ(good.width, 3u);
  EXPECT_EQ(good.height, 2u);
  EXPECT_EQ(good.pixels, pixels);
  // A file with a picture suffix that the decoder refuses falls through to the raw reader.
  Surface renamed(Write("raw.png", TestImages::EncodeRawSurface(0, 3, 2, 12, pixels)));
  EXPECT_TRUE(renamed.LoadedFromFile());
  // Names the decoder does not take (.jpeg) go straight to the raw reader.
  Surface jpeg(Write("picture.jpeg", TestImages::EncodeRawSurface(0, 3, 2, 12, pixels)));
  EXPECT_TRUE(jpeg.LoadedFromFile());

  ExpectFallback(Surface(Write("short.raw", TestImages::EncodeRawSurface(0, 3, 2, 12, TestImages::Solid(3, 1, 1, 1, 1, 1)))));
  ExpectFallback(Surface(Write("pitch.raw", TestImages::EncodeRawSurface(0, 3, 2, 4, pixels))));
  ExpectFallback(Surface(Write("zero.raw", TestImages::EncodeRawSurface(0, 0, 2, 0, {}))));
  ExpectFallback(Surface(Write("wrap.raw", TestImages::EncodeRawSurface(0, 0x40000000u, 4, 0, pixels))));
  ExpectFallback(Surface(Write("large.raw", TestImages::EncodeRawSurface(0, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFCu, pixels))));
  ExpectFallback(Surface(Write("tiny.raw", "abc")));
}

TEST(SurfaceSized, ZeroFilledAndBounded) {
  Surface surface(5, 3, 0);
  EXPECT_EQ(surface.pitch, 20u);
  EXPECT_EQ(surface.pixels.size(), 60u);
  EXPECT_EQ(surface.pixels[59], 0);
  Surface tooLarge(100000, 100000, 0);
  EXPECT_TRUE(tooLarge.pixels.empty());
}
