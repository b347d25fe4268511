// The generated Resources tree, checked against the sheets the game's content rows load.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <cstring>
#include <set>

#include "AssetsTestSupport.h"
#include "content/Velkor_LevelRows.h"
#include "content/Velkor_MyLevelFactory.h"
#include "framework/Quillon_LayerCollisionFile.h"
#include "tests/support/TestSupport.h"

using namespace AssetsTest;

namespace {

struct SheetSpec {
  std::string stem;
  int columns, rows, frames;
};

// Every sprite sheet the level content loads, with the grid its rows cut it into; a stem the rows
// cut two ways fails the test.
const std::vector<SheetSpec>& Sheets() {
  static const std::vector<SheetSpec> sheets = [] {
    std::vector<SheetSpec> list;
    for (uint32_t number = 0; number < MyLevelFactory::kLevelCount; ++number) {
      for (const Content::LayerRows& layer : MyLevelFactory::GetLevelRows(number)->layers) {
        for (const Content::ObjectRow& row : layer.objects) {
          for (const Content::AnimationRow& animation : row.look.animations) {
            const SheetSpec spec{animation.stem, static_cast<int>(animation.columns), static_cast<int>(animation.rows),
                                 static_cast<int>(animation.frames)};
            auto known = std::find_if(list.begin(), list.end(), [&](const SheetSpec& s) { return s.stem == spec.stem; });
            if (known == list.end()) {
              list.push_back(spec);
            } else {
              EXPECT_TRUE(known->columns == spec.columns && known->rows == spec.rows && known->frames == spec.frames)
                  << spec.stem << " is cut two ways (" << row.name << ")";
            }
          }
        }
      }
    }
    return list;
  }();
  return sheets;
}

std::string SheetPath(const std::string& stem) { return MapGamePath("\\Resources\\Animations\\" + stem + ".png"); }

const SheetSpec& Spec(const std::string& stem) {
  for (const SheetSpec& s : Sheets())
    if (stem == s.stem) return s;
  ADD_FAILURE() << "no row of the content loads " << stem;
  static SheetSpec none{"", 1, 1, 0};
  return none;
}

// Pixel rectangle of frame i: grid rows count from the bottom of the picture.
struct Cell { int x, y, w, h; };
Cell FrameCell(const SheetSpec& s, const Picture& p, int i) {
  const int column = i % s.columns, row = i / s.columns;
  const int width = p.width / s.columns, height = p.height / s.rows;
  return {column * width, (s.rows - 1 - row) * height, width, height};
}

int CountAlpha(const Picture& p, const Cell& c, int threshold) {
  int n = 0;
  for (int y = c.y; y < c.y + c.h; ++y)
    for (int x = c.x; x < c.x + c.w; ++x) n += p.Alpha(x, y) > threshold;
  return n;
}

}  // namespace

// Stems that differ only in case would name one file on a case-blind file system.
TEST(AssetSheets, TheContentCutsEverySheetOneWayAndNoTwoStemsDifferOnlyInCase) {
  ASSERT_FALSE(Sheets().empty());
  std::set<std::string> lower;
  for (const SheetSpec& s : Sheets()) {
    std::string l = s.stem;
    std::transform(l.begin(), l.end(), l.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    EXPECT_TRUE(lower.insert(l).second) << s.stem << " differs from another stem only in case";
  }
}

TEST(AssetSheets, EverySheetExistsWithExactCaseAndGrid) {
  std::set<std::string> onDisk;
  for (const auto& entry : std::filesystem::directory_iterator("./Resources/Animations"))
    onDisk.insert(entry.path().filename().string());
  for (const SheetSpec& s : Sheets()) {
    SCOPED_TRACE(s.stem);
    EXPECT_EQ(onDisk.count(s.stem + ".png"), 1u) << "no file with exactly this name";
    Picture p = LoadPicture(SheetPath(s.stem));
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.bitDepth, 8);
    EXPECT_EQ(p.colourType, 6) << "must be RGBA";
    EXPECT_EQ(p.interlace, 0);
    EXPECT_EQ(p.width % s.columns, 0);
    EXPECT_EQ(p.height % s.rows, 0);
    // Cells past the last frame are never shown and stay fully transparent; shown frames hold ink
    // (except the deliberately invisible HUD root).
    for (int i = 0; i < s.columns * s.rows; ++i) {
      int ink = CountAlpha(p, FrameCell(s, p, i), 0);
      if (i >= s.frames) {
        EXPECT_EQ(ink, 0) << "unused cell " << i << " has ink";
      } else if (s.stem != "HUD_Mounter") {
        EXPECT_GT(ink, 0) << "frame " << i << " is empty";
      }
    }
  }
}

TEST(AssetSheets, PlainAndTransparentPicturesAreWhatTheObjectsExpect) {
  Picture mounter = LoadPicture(SheetPath("HUD_Mounter"));
  ASSERT_TRUE(mounter.ok);
  EXPECT_EQ(CountAlpha(mounter, {0, 0, 40, 40}, 0), 0);

  Picture dimmer = LoadPicture(SheetPath("Dimmer"));
  ASSERT_TRUE(dimmer.ok);
  for (int y = 0; y < dimmer.height; y += 37)
    for (int x = 0; x < dimmer.width; x += 41) {
      const uint8_t* px = dimmer.At(x, y);
      ASSERT_TRUE(px[0] == 0 && px[1] == 0 && px[2] == 0 && px[3] == 255) << "Dimmer must be opaque black";
    }

  Picture tut = LoadPicture(SheetPath("tutBg"));
  ASSERT_TRUE(tut.ok);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x)
      ASSERT_EQ(std::memcmp(tut.At(x, y), tut.At(0, 0), 4), 0) << "tutBg must be one flat colour";
  EXPECT_EQ(tut.Alpha(0, 0), 255);

  // The blue plate fills rows 0-33; the six rows under it stay empty.
  Picture blue = LoadPicture(SheetPath("BlueBtn"));
  ASSERT_TRUE(blue.ok);
  EXPECT_EQ(CountAlpha(blue, {0, 34, 166, 6}, 0), 0);
  EXPECT_GT(blue.Alpha(83, 17), 250);

  // Garage mask: a transparent window over the item list, opaque art elsewhere.
  Picture mask = LoadPicture(SheetPath("G_bgMAsk"));
  ASSERT_TRUE(mask.ok);
  EXPECT_EQ(CountAlpha(mask, {40, 30, 541, 690}, 0), 0);
  EXPECT_EQ(mask.Alpha(900, 400), 255);
  EXPECT_EQ(mask.Alpha(20, 400), 255);
  EXPECT_EQ(mask.Alpha(300, 10), 255);

  // HUD troughs let the bars underneath show.
  Picture hud = LoadPicture(SheetPath("Hud_Mg"));
  ASSERT_TRUE(hud.ok);
  EXPECT_EQ(CountAlpha(hud, {55, 88, 318, 33}, 0), 0);
  EXPECT_EQ(CountAlpha(hud, {581, 88, 324, 33}, 0), 0);
  EXPECT_GT(hud.Alpha(476, 40), 0);
}

TEST(AssetSheets, PicturesSitWhereTheScreensShowThem) {
  // The studio logo is drawn centred on the screen: its picture has even margins.
  Picture studio = LoadPicture(SheetPath("studio"));
  ASSERT_TRUE(studio.ok);
  int first = studio.width, last = -1;
  for (int x = 0; x < studio.width; ++x)
    if (CountAlpha(studio, {x, 0, 1, studio.height}, 200) > 0) {
      first = std::min(first, x);
      last = x;
    }
  ASSERT_GE(last, first);
  const int left = first, right = studio.width - 1 - last;
  EXPECT_LE(std::abs(left - right), 40) << "margins " << left << " and " << right;

  // The options panel hides the menu under it.
  Picture panel = LoadPicture(SheetPath("Op_bg"));
  ASSERT_TRUE(panel.ok);
  EXPECT_EQ(CountAlpha(panel, {4, 4, 42, 42}, 254), 42 * 42);

  // The story's road strip is the very slice of the third panel's road it lies on (rows 195 to
  // 225), so the lane markings of the two run on without a break.
  Picture panelRoad = LoadPicture(SheetPath("Animation4"));
  Picture strip = LoadPicture(SheetPath("Animation6"));
  ASSERT_TRUE(panelRoad.ok && strip.ok);
  int differing = 0;
  for (int y = 0; y < strip.height; ++y)
    for (int x = 20; x < 500; ++x)
      for (int c = 0; c < 3; ++c)
        differing += std::abs(strip.At(x, y)[c] - panelRoad.At(x, y + 195)[c]) > 3;
  EXPECT_EQ(differing, 0);

  // The searchlight's narrow end fades in below the top of each frame, inside its panel's border.
  Picture light = LoadPicture(SheetPath("Animation10"));
  ASSERT_TRUE(light.ok);
  for (int cell = 0; cell < 4; ++cell)
    EXPECT_EQ(CountAlpha(light, {(cell % 2) * 930, (cell / 2) * 900, 930, 190}, 0), 0) << cell;
}

TEST(AssetSheets, AnchorsTheGameLogicDependsOn) {
  // Decks of the floating platforms start at row 15.
  for (const char* stem : {"Platform_float", "Platform_float0"}) {
    SCOPED_TRACE(stem);
    Picture p = LoadPicture(SheetPath(stem));
    ASSERT_TRUE(p.ok);
    int left = p.width / 2 - (std::string(stem) == "Platform_float" ? 78 : 975);
    int right = p.width / 2 + (std::string(stem) == "Platform_float" ? 78 : 925);
    EXPECT_EQ(CountAlpha(p, {left, 0, right - left, 15}, 0), 0) << "nothing above the deck";
    EXPECT_EQ(CountAlpha(p, {left, 15, right - left, 1}, 200), right - left) << "deck top at row 15";
  }
  // The ground's road surface begins at row 2 and is solid below, across the whole width.
  Picture ground = LoadPicture(SheetPath("ground"));
  ASSERT_TRUE(ground.ok);
  EXPECT_EQ(CountAlpha(ground, {0, 0, ground.width, 2}, 0), 0);
  EXPECT_EQ(CountAlpha(ground, {0, 2, ground.width, ground.height - 2}, 254), ground.width * (ground.height - 2));

  // Strips that scroll and wrap continue across the seam: the step from the last column to the first
  // is no bigger than the picture's ordinary steps between neighbouring columns.
  auto columnStep = [](const Picture& p, int a, int b) {
    double sum = 0;
    for (int y = 0; y < p.height; ++y)
      for (int c = 0; c < 4; ++c) sum += std::abs(p.At(a, y)[c] - p.At(b, y)[c]);
    return sum / p.height;
  };
  for (const char* stem : {"ground", "MenuPlatform", "layer2", "layer3"}) {
    Picture p = LoadPicture(SheetPath(stem));
    ASSERT_TRUE(p.ok);
    double interior = 0;
    for (int x = 0; x + 1 < p.width; ++x) interior = std::max(interior, columnStep(p, x, x + 1));
    EXPECT_LE(columnStep(p, p.width - 1, 0), interior + 1) << stem;
  }
  // Skyline bands: transparent sky above, buildings reaching the bottom edge everywhere.
  for (const char* stem : {"layer2", "layer3"}) {
    Picture p = LoadPicture(SheetPath(stem));
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(CountAlpha(p, {0, 0, p.width, 100}, 0), 0) << stem;
    EXPECT_EQ(CountAlpha(p, {0, p.height - 1, p.width, 1}, 254), p.width) << stem;
  }
  // Each building stands on its frame's bottom edge.
  const SheetSpec& b = Spec("buildings");
  Picture buildings = LoadPicture(SheetPath("buildings"));
  ASSERT_TRUE(buildings.ok);
  for (int i = 0; i < b.frames; ++i) {
    Cell c = FrameCell(b, buildings, i);
    EXPECT_GT(CountAlpha(buildings, {c.x, c.y + c.h - 1, c.w, 1}, 254), 200) << "building " << i;
    EXPECT_EQ(CountAlpha(buildings, {c.x, c.y, c.w, 20}, 0), 0) << "building " << i << " touches the top";
  }
  // The car body lies between rows 38 and 59 and columns 34-123 of every car frame.
  for (const char* stem : {"Car", "CarHover", "Car0", "_____Armour_Set_____"}) {
    const SheetSpec& s = Spec(stem);
    Picture p = LoadPicture(SheetPath(stem));
    ASSERT_TRUE(p.ok);
    for (int i = 0; i < s.frames; ++i) {
      Cell c = FrameCell(s, p, i);
      EXPECT_GT(CountAlpha(p, {c.x + 34, c.y + 38, 90, 2}, 200), 0) << stem << " " << i << ": roof at row 38";
      EXPECT_GT(CountAlpha(p, {c.x + 34, c.y + 58, 90, 2}, 200), 0) << stem << " " << i << ": floor at row 59";
      EXPECT_EQ(CountAlpha(p, {c.x, c.y, c.w, 36}, 200), 0) << stem << " " << i << ": solid paint above the roof";
      EXPECT_EQ(CountAlpha(p, {c.x, c.y + 62, c.w, c.h - 62}, 250), 0) << stem << " " << i << ": solid paint below";
    }
  }
  // The mouse pointer's tip is the top-left corner.
  Picture mouse = LoadPicture(SheetPath("MousePoint"));
  ASSERT_TRUE(mouse.ok);
  EXPECT_GT(CountAlpha(mouse, {0, 0, 3, 3}, 128), 0);
  // Enemy bars pivot at their left end: the fill spans the whole width.
  for (const char* stem : {"HP_BG", "HP_FG"}) {
    Picture p = LoadPicture(SheetPath(stem));
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(CountAlpha(p, {0, 0, 100, 10}, 254), 1000) << stem;
  }
  // The gun pivots at pixel (18, 17).
  Picture gun = LoadPicture(SheetPath("Gun"));
  ASSERT_TRUE(gun.ok);
  for (int i = 0; i < Spec("Gun").frames; ++i) {
    Cell c = FrameCell(Spec("Gun"), gun, i);
    EXPECT_EQ(gun.Alpha(c.x + 18, c.y + 17), 255) << "gun " << i;
  }
}

TEST(AssetSheets, RowOrderPutsFrameZeroInTheBottomBand) {
  // Pages of a 1x3 sheet: the instruction page 1 (frame 0) is the bottom band, so the top band is
  // page 3. Each page keeps its button strip (rows 450-523 of the page) free of words; compare the
  // bands' ink to make sure three different pages were drawn.
  Picture pages = LoadPicture(SheetPath("InstPagess"));
  ASSERT_TRUE(pages.ok);
  const SheetSpec& s = Spec("InstPagess");
  std::vector<int> bright;
  for (int i = 0; i < s.frames; ++i) {
    Cell c = FrameCell(s, pages, i);
    int n = 0;
    for (int y = c.y; y < c.y + 450; ++y)
      for (int x = c.x; x < c.x + c.w; ++x) n += pages.At(x, y)[0] > 230 && pages.At(x, y)[1] > 230;
    bright.push_back(n);
  }
  EXPECT_NE(bright[0], bright[1]);
  EXPECT_NE(bright[1], bright[2]);
}

TEST(AssetFiles, ParticleCursorAndWhiteSkin) {
  Picture particle = LoadPicture(MapGamePath("\\Resources\\ParticleSystems\\particle1.png"));
  ASSERT_TRUE(particle.ok) << particle.error;
  EXPECT_EQ(particle.width, 32);
  EXPECT_EQ(particle.height, 32);
  EXPECT_GT(particle.Alpha(16, 16), 240);
  EXPECT_EQ(particle.Alpha(0, 0), 0);
  const uint8_t* centre = particle.At(16, 16);
  EXPECT_TRUE(centre[0] > 250 && centre[1] > 250 && centre[2] > 250) << "the particle stays white";

  Picture arrow = LoadPicture(MapGamePath("\\Resources\\Cursors\\Arrow.png"));
  ASSERT_TRUE(arrow.ok) << arrow.error;
  EXPECT_EQ(arrow.width, 32);
  EXPECT_EQ(arrow.height, 32);
  EXPECT_EQ(arrow.colourType, 6);
  EXPECT_GT(CountAlpha(arrow, {0, 0, 3, 3}, 128), 0) << "tip at the top-left corner";

  Picture white = LoadPicture(MapGamePath("\\Resources\\Skins\\White.png"));
  ASSERT_TRUE(white.ok) << white.error;
  EXPECT_EQ(white.width, 8);
  EXPECT_EQ(white.height, 8);
  EXPECT_EQ(white.colourType, 6);
  for (int i = 0; i < 64; ++i)
    EXPECT_EQ(std::memcmp(white.At(i % 8, i / 8), "\xff\xff\xff\xff", 4), 0);
}

TEST(AssetFiles, IconHoldsA32PixelPngEntry) {
  std::string ico = TestSupport::ReadWholeFile(MapGamePath("\\Resources\\GameIcon\\GameIcon.ico"));
  ASSERT_GE(ico.size(), 6u);
  EXPECT_EQ(U16(ico, 0), 0);
  EXPECT_EQ(U16(ico, 2), 1) << "type 1 = icon";
  size_t count = U16(ico, 4);
  ASSERT_GE(ico.size(), 6 + 16 * count);
  std::set<int> sizes;
  for (size_t i = 0; i < count; ++i) {
    size_t e = 6 + 16 * i;
    int w = static_cast<uint8_t>(ico[e]) ? static_cast<uint8_t>(ico[e]) : 256;
    int h = static_cast<uint8_t>(ico[e + 1]) ? static_cast<uint8_t>(ico[e + 1]) : 256;
    EXPECT_EQ(U16(ico, e + 6), 32) << "32-bit entries";
    uint32_t length = U32(ico, e + 8), offset = U32(ico, e + 12);
    ASSERT_LE(static_cast<uint64_t>(offset) + length, ico.size());
    Picture p = DecodePicture(ico.substr(offset, length));
    ASSERT_TRUE(p.ok) << "entry " << i << ": " << p.error;
    EXPECT_EQ(p.width, w);
    EXPECT_EQ(p.height, h);
    EXPECT_EQ(p.colourType, 6);
    sizes.insert(w);
  }
  EXPECT_EQ(sizes, (std::set<int>{16, 32, 48, 256}));
}

// Each level build reads a collision file for every layer of the level's rows, through the
// framework's reader: every one is there and holds no segments and no circles, and no other is.
TEST(AssetFiles, EveryLayerOfEveryLevelHasAnEmptyCollisionFile) {
  size_t files = 0;
  for (uint32_t level = 0; level < MyLevelFactory::kLevelCount; ++level) {
    for (size_t layer = 0; layer < MyLevelFactory::GetLevelRows(level)->layers.size(); ++layer) {
      const std::string path = MapGamePath("\\Resources\\Layers Collisions\\level" + std::to_string(level) +
                                           "_layer" + std::to_string(layer) + ".txt");
      Quillon::LayerCollisionData data;
      std::string error;
      EXPECT_TRUE(Quillon::ReadLayerCollisionFile(path, data, error)) << error;
      EXPECT_TRUE(data.segments.empty() && data.circles.empty()) << path;
      ++files;
    }
  }
  const std::filesystem::directory_iterator folder("./Resources/Layers Collisions");
  EXPECT_EQ(static_cast<size_t>(std::distance(folder, std::filesystem::directory_iterator())), files);
}

TEST(AssetFiles, GeneratorIsDeterministic) {
  // A second run of a few jobs into a fresh folder writes the same bytes as the build did.
  std::string dir = TestSupport::MakeTempDirectory("velkor_assets_");
  std::string command = "./velkor_assetgen '" + dir + "' --only Animations/Car > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  command = "./velkor_assetgen '" + dir + "' --only Fonts/BtnText > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  command = "./velkor_assetgen '" + dir + "' --only gamBgm > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  for (const char* file : {"Animations/Car.png", "Animations/CarHover.png", "Fonts/BtnText/BtnText.png",
                           "Fonts/BtnText/BtnText.fbf", "MyJukeBoxes/GameBgm/gamBgm.ogg"}) {
    std::string fresh = TestSupport::ReadWholeFile(dir + "/" + file);
    EXPECT_FALSE(fresh.empty()) << file;
    EXPECT_TRUE(fresh == TestSupport::ReadWholeFile(std::string("./Resources/") + file)) << file << " differs";
  }
  std::filesystem::remove_all(dir);
}
