// The layer collision file: the grammar's freedoms (line breaks anywhere, any delimiter, CR-LF) and
// hostile input (bad counts, truncation, non-numbers, out-of-range values) that must fail whole.
#include <gtest/gtest.h>

#include <string>

#include "framework/Quillon_LayerCollisionFile.h"
#include "tests/support/TestSupport.h"

namespace {

using Quillon::LayerCollisionData;

bool Parse(const std::string& text, LayerCollisionData& data, std::string* error = nullptr) {
  std::string reason;
  const bool ok = Quillon::ParseLayerCollisionText(text.data(), text.size(), data, reason);
  if (error) *error = reason;
  return ok;
}

TEST(LayerCollisionFileTest, MinimalFormAndTheDocumentedExample) {
  LayerCollisionData data;
  ASSERT_TRUE(Parse("Segments 0\nCircles 0\n", data));
  EXPECT_TRUE(data.segments.empty());
  EXPECT_TRUE(data.circles.empty());
  ASSERT_TRUE(Parse("Segments 1\n0.0 , 100.0 , 640.0 , 100.0 , 1 , 7\nCircles 0", data));
  ASSERT_EQ(data.segments.size(), 1u);
  EXPECT_EQ(data.segments[0].a, Math::Vector2D(0.0f, 100.0f));
  EXPECT_EQ(data.segments[0].b, Math::Vector2D(640.0f, 100.0f));
  EXPECT_EQ(data.segments[0].zCollision, 1);
  EXPECT_EQ(data.segments[0].userId, 7u);
}

TEST(LayerCollisionFileTest, LineBreaksDelimitersAndWindowsLineEndsReadAlike) {
  LayerCollisionData perLine, split;
  ASSERT_TRUE(Parse("Segments 2\r\n1,2,3,4,5,6\r\n-1;-2;-3;-4;0;0\r\nCircles 1\r\n7/8/9.5/2/11\r\n", perLine));
  ASSERT_TRUE(Parse("Seg 2 1,\n2,3\t,4,5,6 -1;-2;-3;-4;0;0 C 1 7/\r\n8/9.5/2/11", split));
  ASSERT_EQ(perLine.segments.size(), 2u);
  ASSERT_EQ(split.segments.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(perLine.segments[i].a, split.segments[i].a);
    EXPECT_EQ(perLine.segments[i].b, split.segments[i].b);
  }
  ASSERT_EQ(split.circles.size(), 1u);
  EXPECT_EQ(split.circles[0].center, Math::Vector2D(7.0f, 8.0f));
  EXPECT_EQ(split.circles[0].radius, 9.5f);
  EXPECT_EQ(split.circles[0].userId, 11u);
}

TEST(LayerCollisionFileTest, ZIsTruncatedAndItsLowByteKeptAndNegativeCountsStandForNone) {
  LayerCollisionData data;
  ASSERT_TRUE(Parse("S 4 0,0,1,1,1.9,0 0,0,1,1,256,0 0,0,1,1,-1,0 0,0,1,1,2e2,0 C 0", data));
  ASSERT_EQ(data.segments.size(), 4u);
  EXPECT_EQ(data.segments[0].zCollision, 1);
  EXPECT_EQ(data.segments[1].zCollision, 0);
  EXPECT_EQ(data.segments[2].zCollision, 255);
  EXPECT_EQ(data.segments[3].zCollision, 200);
  // Negative counts stand for none.
  ASSERT_TRUE(Parse("Segments -3 Circles 1 1,2,3,4,5", data));
  EXPECT_TRUE(data.segments.empty());
  EXPECT_EQ(data.circles.size(), 1u);
  ASSERT_TRUE(Parse("Segments 0 Circles -2147483648", data));
}

TEST(LayerCollisionFileTest, HostileInputFailsWholeWithAReason) {
  const char* cases[] = {
      "",                                          // nothing at all
      "Segments",                                  // no count
      "Segments x Circles 0",                      // count is no number
      "Segments 1.5 Circles 0",                    // count is no integer
      "Segments 2 1,2,3,4,5,6 Circles 0",          // one record short (the header is read as one)
      "Segments 1 1,2,3,4,5,6",                    // no circle section
      "Segments 1 1,2,3,4,5,6 Circles",            // no circle count
      "Segments 1 1,2,3,4,5",                      // truncated record
      "Segments 1 1 2,3,4,5,6 Circles 0",          // blank is no delimiter
      "Segments 1 1,a,3,4,5,6 Circles 0",          // not a number
      "Segments 1 1,2,3,4,5,-6 Circles 0",         // negative user id
      "Segments 1 1,2,3,4,5,4294967296 Circles 0", // user id beyond 32 bits
      "Segments 1 1e39,2,3,4,5,6 Circles 0",       // beyond a float
      "Segments 1 inf,2,3,4,5,6 Circles 0",        // not finite
      "Segments 1 nan,2,3,4,5,6 Circles 0",
      "Segments 1 0x10,2,3,4,5,6 Circles 0",       // hexadecimal
      "Segments 1 1,2,3,4,1e300,6 Circles 0",      // z no integer can hold
      "Segments 2147483647 Circles 0",             // a count the file cannot hold
      "Segments 99999999999999999999 Circles 0",   // a count beyond 32 bits
      "Segments 0 Circles 1 1,2,3,4",              // truncated circle
  };
  for (const char* text : cases) {
    LayerCollisionData data;
    data.segments.resize(3);  // a failed parse leaves nothing behind
    std::string error;
    EXPECT_FALSE(Parse(text, data, &error)) << text;
    EXPECT_TRUE(data.segments.empty() && data.circles.empty()) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
}

TEST(LayerCollisionFileTest, ReadingAFileNamesItsPathInErrors) {
  const std::string directory = TestSupport::MakeTempDirectory("velkor_layer_file_");
  const std::string good = directory + "/level0_layer0.txt";
  const std::string bad = directory + "/level0_layer1.txt";
  ASSERT_TRUE(TestSupport::WriteWholeFile(good, "Segments 1\r\n0,0,10,0,1,2\r\nCircles 0\r\n"));
  ASSERT_TRUE(TestSupport::WriteWholeFile(bad, "Segments 1\r\n0,0,10\r\n"));
  LayerCollisionData data;
  std::string error;
  EXPECT_TRUE(Quillon::ReadLayerCollisionFile(good, data, error)) << error;
  EXPECT_EQ(data.segments.size(), 1u);
  EXPECT_FALSE(Quillon::ReadLayerCollisionFile(bad, data, error));
  EXPECT_NE(error.find(bad), std::string::npos);
  EXPECT_NE(error.find("segment record 1"), std::string::npos) << error;
  EXPECT_FALSE(Quillon::ReadLayerCollisionFile(directory + "/missing.txt", data, error));
  EXPECT_NE(error.find("missing.txt"), std::string::npos);
  EXPECT_FALSE(Quillon::ReadLayerCollisionFile(directory, data, error));
  std::system(("rm -rf '" + directory + "'").c_str());
}

}  // namespace
