// Glyph pages, font metrics, sounds and music of the generated Resources tree.
#include <gtest/gtest.h>

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "AssetsTestSupport.h"
#include "audio/Sound_WaveParser.h"
#include "tests/support/TestSupport.h"

using namespace AssetsTest;

namespace {

struct FontSpec {
  const char* name;
  int H3, H1, H6;
  size_t fbfBytes;
};

const FontSpec kFonts[] = {
    {"BtnText", 32, 14, 22, 3314},       {"BigBtnText", 64, 23, 44, 3320},    {"BlueTxt", 40, 15, 30, 3314},
    {"ItemText", 32, 8, 26, 3316},       {"ItemText2", 20, 5, 16, 3318},      {"BtnTxtBold", 36, 13, 28, 3320},
    {"Agency_fb_25", 32, 8, 26, 3324},   {"WarningFont", 96, 31, 80, 3322},   {"SpTxt", 24, 6, 20, 3310},
    {"ag_fb_25_yelw", 32, 7, 28, 3326},  {"ag_fb_25_gren", 32, 7, 28, 3326},  {"FadingTxt2", 32, 8, 30, 3320},
    {"YellowTxt", 32, 8, 30, 3318},      {"PlayerStatTxt", 32, 8, 26, 3326},  {"ag_fb_15_red", 24, 5, 20, 3324},
    {"DefaultFont", 24, 5, 20, 3322},
};

struct Glyph {
  int code, V1, V2, V3, V4, V5;
  float V6;
  int V7, V8;
};

// Ink box of one cell of the page, in cell pixels; width 0 when the cell is blank.
struct Ink { int left = 0, top = 0, width = 0, height = 0; };
Ink CellInk(const Picture& page, int cell, int index) {
  int x0 = (index % 10) * cell, y0 = (index / 10) * cell;
  int minX = cell, maxX = -1, minY = cell, maxY = -1;
  for (int y = 0; y < cell; ++y)
    for (int x = 0; x < cell; ++x)
      if (page.Alpha(x0 + x, y0 + y) > 0) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
      }
  Ink ink;
  if (maxX >= 0) ink = {minX, minY, maxX - minX + 1, maxY - minY + 1};
  return ink;
}

}  // namespace

TEST(AssetFonts, MetricsFilesFollowTheFbfLayout) {
  for (const FontSpec& f : kFonts) {
    SCOPED_TRACE(f.name);
    std::string base = std::string("\\Resources\\Fonts\\") + f.name + "\\" + f.name;
    std::string fbf = TestSupport::ReadWholeFile(MapGamePath(base + ".fbf"));
    ASSERT_EQ(fbf.size(), f.fbfBytes);
    uint32_t n = U32(fbf, 0);
    ASSERT_EQ(fbf.size(), 36 + 2 * static_cast<size_t>(n) + 3264);
    std::string name;
    for (uint32_t i = 0; i < n; ++i) name.push_back(static_cast<char>(U16(fbf, 4 + 2 * i)));
    EXPECT_EQ(name, f.name);
    size_t h = 4 + 2 * static_cast<size_t>(n);
    int H[8];
    for (int i = 0; i < 8; ++i) H[i] = I32(fbf, h + 4 * i);
    EXPECT_EQ(H[1], f.H1);
    EXPECT_EQ(H[3], f.H3);
    EXPECT_EQ(H[5], f.H3 - f.H1);
    EXPECT_EQ(H[6], f.H6);

    Picture page = LoadPicture(MapGamePath(base + ".png"));
    ASSERT_TRUE(page.ok) << page.error;
    EXPECT_EQ(page.colourType, 6);
    EXPECT_EQ(page.width, page.height) << "texture coordinates use the width on both axes";
    EXPECT_EQ(page.width, 10 * H[3]);

    for (int i = 0; i < 96; ++i) {
      size_t r = h + 32 + 34 * static_cast<size_t>(i);
      Glyph g{U16(fbf, r), I32(fbf, r + 2), I32(fbf, r + 6), I32(fbf, r + 10), I32(fbf, r + 14),
              I32(fbf, r + 18), F32(fbf, r + 22), I32(fbf, r + 26), I32(fbf, r + 30)};
      ASSERT_EQ(g.code, 32 + i) << "codes 32..127 in order";
      Ink ink = CellInk(page, f.H3, i);
      if (g.code == 32 || g.code == 127) {
        EXPECT_EQ(ink.width, 0) << "code " << g.code << " is a blank cell";
        EXPECT_GT(g.V2, 0) << "the space advances the pen";
        continue;
      }
      SCOPED_TRACE(static_cast<char>(g.code));
      EXPECT_GT(g.V2, 0);
      EXPECT_EQ(g.V7, 0);
      // Text measuring reads the ink box from V1, V3 and V8: they must match the page.
      EXPECT_EQ(g.V1, ink.width);
      EXPECT_EQ(g.V3, ink.height);
      EXPECT_EQ(g.V8, ink.top);
      // The pen stands V6 columns into the cell and the ink never leaves the cell on the left.
      EXPECT_EQ(g.V6, static_cast<float>(static_cast<int>(g.V6))) << "whole-pixel bearing";
      EXPECT_GE(g.V6, 0.0f);
      EXPECT_LT(g.V6, f.H3 / 2.0f);
      EXPECT_LE(static_cast<int>(g.V6) + g.V2 / 2, f.H3) << "the glyph's advance fits its cell";
    }
    // The four cells after code 127 are unused.
    for (int i = 96; i < 100; ++i) EXPECT_EQ(CellInk(page, f.H3, i).width, 0) << "cell " << i;
  }
}

TEST(AssetFonts, CaptionsFitTheirLines) {
  // Multi-line texts stay inside their panels only if the tallest glyph fits the line height.
  for (const FontSpec& f : kFonts) {
    std::string base = std::string("\\Resources\\Fonts\\") + f.name + "\\" + f.name;
    std::string fbf = TestSupport::ReadWholeFile(MapGamePath(base + ".fbf"));
    ASSERT_EQ(fbf.size(), f.fbfBytes);
    size_t h = 4 + 2 * static_cast<size_t>(U32(fbf, 0));
    int capital = I32(fbf, h + 32 + 34 * ('H' - 32) + 10);  // V3 of 'H'
    EXPECT_GT(capital, 0) << f.name;
    EXPECT_LT(capital, f.H6) << f.name;
  }
}

namespace {

struct OggInfo {
  bool ok = false;
  int channels = 0;
  long rate = 0;
  long long frames = 0;
  double peak = 0;
};

OggInfo ReadOgg(const std::string& path) {
  OggInfo info;
  OggVorbis_File vf;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return info;
  if (ov_open_callbacks(f, &vf, nullptr, 0, OV_CALLBACKS_DEFAULT) != 0) {
    std::fclose(f);
    return info;
  }
  vorbis_info* vi = ov_info(&vf, -1);
  info.channels = vi->channels;
  info.rate = vi->rate;
  info.frames = ov_pcm_total(&vf, -1);
  // Decode it all: a stream that stops early or holds silence is as broken as a bad header.
  float** pcm;
  int section = 0;
  long decoded = 0, got;
  while ((got = ov_read_float(&vf, &pcm, 4096, &section)) > 0) {
    for (int c = 0; c < vi->channels; ++c)
      for (long i = 0; i < got; ++i) info.peak = std::max(info.peak, static_cast<double>(std::fabs(pcm[c][i])));
    decoded += got;
  }
  info.ok = got == 0 && decoded == info.frames;
  ov_clear(&vf);
  return info;
}

}  // namespace

TEST(AssetSounds, EffectsDecodeLoadWholeAndStayQuiet) {
  struct Effect { const char* name; double seconds; };
  const Effect wavs[] = {{"playerDie.wav", 1.5}, {"playerDying.wav", 0.8}, {"playerHeal.wav", 0.5},
                         {"playerShoot.wav", 0.1}, {"ufoComing.wav", 2.0}, {"ufoDie.wav", 1.5}};
  for (const Effect& e : wavs) {
    SCOPED_TRACE(e.name);
    std::string bytes = TestSupport::ReadWholeFile(MapGamePath(std::string("\\Resources\\Sounds\\") + e.name));
    Sound::WaveFormat w;
    ASSERT_EQ(Sound::ParseWave(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), w), Sound::kResultOk);
    EXPECT_EQ(w.formatTag, 1);
    EXPECT_EQ(w.channels, 1);
    EXPECT_EQ(w.samplesPerSecond, 44100u);
    EXPECT_EQ(w.bitsPerSample, 16);
    EXPECT_LT(bytes.size(), 262144u) << "effects load whole";
    EXPECT_NEAR(w.dataSize / 2.0 / 44100.0, e.seconds, e.seconds * 0.25);
    // Peak at or below -1 dBFS; the first and last samples are silent enough not to click.
    int peak = 0;
    const size_t data = w.dataOffset;
    const size_t count = w.dataSize / 2;
    for (size_t i = 0; i < count; ++i) peak = std::max(peak, std::abs(static_cast<int16_t>(U16(bytes, data + 2 * i))));
    EXPECT_LE(peak, 29205) << "-1 dBFS";
    EXPECT_GT(peak, 8000) << "audible";
    EXPECT_LT(std::abs(static_cast<int16_t>(U16(bytes, data))), 300);
    EXPECT_LT(std::abs(static_cast<int16_t>(U16(bytes, data + 2 * (count - 1)))), 300);
  }
  const Effect oggs[] = {{"aiFriendAttack.ogg", 1.0}, {"playerLaser.ogg", 3.0}, {"rocketExplode.ogg", 1.2},
                         {"rocketLaunch.ogg", 0.8},   {"ufoLaser.ogg", 3.0},    {"MouseClick.ogg", 0.05}};
  for (const Effect& e : oggs) {
    SCOPED_TRACE(e.name);
    std::string path = MapGamePath(std::string("\\Resources\\Sounds\\") + e.name);
    OggInfo o = ReadOgg(path);
    ASSERT_TRUE(o.ok);
    EXPECT_EQ(o.channels, 1);
    EXPECT_EQ(o.rate, 44100);
    EXPECT_GT(o.frames, 0);
    EXPECT_NEAR(o.frames / 44100.0, e.seconds, e.seconds * 0.25 + 0.01);
    EXPECT_LT(TestSupport::ReadWholeFile(path).size(), 262144u);
    EXPECT_GT(o.peak, 0.2);
  }
}

TEST(AssetSounds, MusicStreamsInStereo) {
  struct Track { const char* path; double minSeconds, maxSeconds; };
  const Track tracks[] = {{"\\Resources\\MyJukeBoxes\\GameBgm\\gamBgm.ogg", 60, 90},
                          {"\\Resources\\MyJukeBoxes\\GarageBgm\\garBgm.ogg", 45, 60}};
  for (const Track& t : tracks) {
    SCOPED_TRACE(t.path);
    std::string path = MapGamePath(t.path);
    EXPECT_GE(TestSupport::ReadWholeFile(path).size(), 262144u) << "music is streamed";
    OggInfo o = ReadOgg(path);
    ASSERT_TRUE(o.ok);
    EXPECT_EQ(o.channels, 2);
    EXPECT_EQ(o.rate, 44100);
    EXPECT_GE(o.frames / 44100.0, t.minSeconds);
    EXPECT_LE(o.frames / 44100.0, t.maxSeconds);
    EXPECT_GT(o.peak, 0.3);
  }
}
