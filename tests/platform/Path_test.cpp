#include <gtest/gtest.h>

#include <string>

#include "platform/PAL_Path.h"
#include "platform/PAL_Services.h"

namespace {

TEST(MapPath, TurnsBackslashesIntoSeparatorsAndCollapsesRuns) {
  EXPECT_EQ(PAL::MapPath("\\Resources\\Fonts\\DefaultFont\\DefaultFont.png"),
            "/Resources/Fonts/DefaultFont/DefaultFont.png");
  EXPECT_EQ(PAL::MapPath("Resources\\Animations\\Car.png"), "Resources/Animations/Car.png");
  EXPECT_EQ(PAL::MapPath("scoreData.txt"), "scoreData.txt");
  EXPECT_EQ(PAL::MapPath("\\Resources\\Layers Collisions\\level0_layer0.txt"),
            "/Resources/Layers Collisions/level0_layer0.txt");
  EXPECT_EQ(PAL::MapPath("a\\\\b//c\\/d"), "a/b/c/d");
  EXPECT_EQ(PAL::MapPath("\\\\Saves\\"), "/Saves/");
  EXPECT_EQ(PAL::MapPath("/usr//lib/"), "/usr/lib/");
  EXPECT_EQ(PAL::MapPath(""), "");
  EXPECT_EQ(PAL::MapPath("\\"), "/");
  // Case is kept: Linux file names are case-sensitive.
  EXPECT_EQ(PAL::MapPath("Resources\\MyJukeBoxes\\GameBgm\\gamBgm.ogg"), "Resources/MyJukeBoxes/GameBgm/gamBgm.ogg");
}

TEST(MapPath, MappingTwiceChangesNothing) {
  for (const std::string path : {"\\Resources\\\\Fonts\\", "a/b\\c", "", "x", "//"}) {
    const std::string once = PAL::MapPath(path);
    EXPECT_EQ(PAL::MapPath(once), once) << path;
  }
}

TEST(ResourcePath, JoinsTheExecutableDirectoryWithOrWithoutALeadingSeparator) {
  const std::string directory = PAL::GetExecutableDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_EQ(PAL::ResourcePath("\\Resources\\Fonts\\DefaultFont\\DefaultFont.png"),
            directory + "/Resources/Fonts/DefaultFont/DefaultFont.png");
  EXPECT_EQ(PAL::ResourcePath("Resources\\Animations\\Car.png"), directory + "/Resources/Animations/Car.png");
  EXPECT_EQ(PAL::ResourcePath("scoreData.txt"), directory + "/scoreData.txt");
  // What callers build by hand comes out the same once mapped.
  EXPECT_EQ(PAL::MapPath(directory + "\\Saves\\"), directory + "/Saves/");
}

}  // namespace
