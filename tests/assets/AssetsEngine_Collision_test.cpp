// The generated layer collision files read back through the framework's layer reader, as every
// level build reads them: all 28 exist and parse, holding no segments and no circles.
#include <gtest/gtest.h>

#include <string>

#include "framework/Quillon_LayerCollisionFile.h"
#include "platform/PAL_Path.h"

TEST(AssetLayerCollisions, EveryLayerFileParsesEmpty) {
  // Levels 0-6 and 8 have three layers; level 7 has four.
  int files = 0;
  for (int level = 0; level <= 8; ++level) {
    const int layers = level == 7 ? 4 : 3;
    for (int layer = 0; layer < layers; ++layer) {
      const std::string path = PAL::ResourcePath("\\Resources\\Layers Collisions\\level" + std::to_string(level) +
                                                 "_layer" + std::to_string(layer) + ".txt");
      Quillon::LayerCollisionData data;
      std::string error;
      ASSERT_TRUE(Quillon::ReadLayerCollisionFile(path, data, error)) << error;
      EXPECT_TRUE(data.segments.empty()) << path;
      EXPECT_TRUE(data.circles.empty()) << path;
      ++files;
    }
  }
  EXPECT_EQ(files, 28);
}
