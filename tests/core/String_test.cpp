#include <gtest/gtest.h>

#include "core/Core_String.h"

TEST(CoreString, NumbersFormatWithoutLimits) {
  EXPECT_EQ(Core::ToString(-7), "-7");
  EXPECT_EQ(Core::ToString(0.5f), "0.500000");
  EXPECT_EQ(Core::ToString(0.5), "0.5000000000000000");
  // 1e300 prints 301 digits before the point: far past any fixed buffer.
  Core::String huge = Core::ToString(1e300);
  EXPECT_EQ(huge.size(), 301u + 1u + 16u);
  EXPECT_EQ(huge.substr(0, 4), "1000");
  EXPECT_EQ(Core::ToString(-3.0e38f).substr(0, 4), "-300");
}

TEST(CoreString, EraseOnlyWholeRangesInside) {
  Core::String text("abcdef");
  EXPECT_EQ(Core::String(text).Erase(4, 2), "abcd");
  EXPECT_EQ(Core::String(text).Erase(1, 2), "adef");
  EXPECT_EQ(Core::String(text).Erase(2, 0), "abcdef");
  EXPECT_EQ(Core::String(text).Erase(6, 1), "abcdef");
  EXPECT_EQ(Core::String(text).Erase(4, 3), "abcdef");
  EXPECT_EQ(Core::String(text).Erase(0, -1), "abcdef");
  EXPECT_EQ(Core::String().Erase(0, 1), "");
  EXPECT_EQ(Core::String(text).Erase(0xFFFFFFFFu, 0x7FFFFFFF), "abcdef");
}

TEST(CoreString, TailsAndFileNames) {
  EXPECT_EQ(Core::String("abc").SubstringFrom(1), "bc");
  EXPECT_EQ(Core::String("abc").SubstringFrom(3), "");
  EXPECT_EQ(Core::String().SubstringFrom(0), "");
  EXPECT_EQ(Core::GetFileName("a\\b\\c.png"), "c.png");
  EXPECT_EQ(Core::GetFileName("c.png"), "c.png");
  EXPECT_EQ(Core::GetFileName("a\\b\\"), "");
}

TEST(CoreString, WideningSignExtendsBytes) {
  Core::String text("Az");
  text.push_back(static_cast<char>(0xE9));
  std::u16string wide = text.ToWide();
  ASSERT_EQ(wide.size(), 3u);
  EXPECT_EQ(wide[0], u'A');
  EXPECT_EQ(wide[1], u'z');
  EXPECT_EQ(static_cast<uint16_t>(wide[2]), 0xFFE9);
}
