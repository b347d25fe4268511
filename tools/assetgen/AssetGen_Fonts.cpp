// Bitmap fonts: a square glyph page (ten H3 x H3 cells per row from the top-left, codes 32..127) and
// the ".fbf" metrics file the engine's font loader reads, rasterised from DejaVu Sans with FreeType.
#include "AssetGen.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace AssetGen {
namespace {

struct FontSpec {
  const char* name;
  bool bold;
  int pixels;
  uint32_t colour;
  double outline;  // outline radius in pixels, 0 = none
  uint32_t outlineColour;
  int H3, H1, H6;
};

const uint32_t kDark = 0x12141F;

const FontSpec kFonts[] = {
    {"BtnText", true, 17, 0xFFFFFF, 1.5, kDark, 32, 14, 22},
    {"BigBtnText", true, 36, 0xFFFFFF, 2.0, kDark, 64, 23, 44},
    // Pale blue with a firm dark edge: a highlighted caption loses its green, and what is left
    // (bright violet) must still stand out on the blue button plate.
    {"BlueTxt", false, 24, 0xBEDCFF, 2.5, kDark, 40, 15, 30},
    {"ItemText", true, 20, 0xFFFFFF, 1.5, kDark, 32, 8, 26},
    {"ItemText2", false, 14, 0xE1E6F0, 1.0, kDark, 20, 5, 16},
    {"BtnTxtBold", true, 22, 0xFFFFFF, 1.5, kDark, 36, 13, 28},
    {"Agency_fb_25", false, 20, 0xFFFFFF, 1.5, kDark, 32, 8, 26},
    {"WarningFont", true, 64, 0xFFC828, 3.0, 0x0A0A0C, 96, 31, 80},
    {"SpTxt", true, 16, 0xFFFFFF, 1.5, kDark, 24, 6, 20},
    {"ag_fb_25_yelw", true, 19, 0xFFD740, 1.5, kDark, 32, 7, 28},
    {"ag_fb_25_gren", true, 19, 0x60E870, 1.5, kDark, 32, 7, 28},
    {"FadingTxt2", true, 24, 0xFFFFFF, 1.5, kDark, 32, 8, 30},
    {"YellowTxt", true, 24, 0xFFE65A, 1.5, kDark, 32, 8, 30},
    {"PlayerStatTxt", true, 20, 0xA0F0FF, 1.5, kDark, 32, 8, 26},
    {"ag_fb_15_red", true, 15, 0xFF5A5A, 1.5, kDark, 24, 5, 20},
    {"DefaultFont", false, 16, 0xFFFFFF, 0.0, kDark, 24, 5, 20},
};

struct GlyphRecord {
  uint16_t code = 0;
  int32_t V1 = 0, V2 = 0, V3 = 0, V4 = 0, V5 = 0;
  float V6 = 0;
  int32_t V7 = 0, V8 = 0;
};

void PutU16(std::string& out, uint16_t v) {
  out.push_back(static_cast<char>(v & 255));
  out.push_back(static_cast<char>(v >> 8));
}
void PutU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 255));
}
void PutI32(std::string& out, int32_t v) { PutU32(out, static_cast<uint32_t>(v)); }
void PutF32(std::string& out, float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, 4);
  PutU32(out, bits);
}

void Die(const char* what, const char* font) {
  std::fprintf(stderr, "velkor_assetgen: %s (%s)\n", what, font);
  std::exit(1);
}

void MakeFont(const FontSpec& spec, const std::string& root, std::vector<Thumbnail>& thumbs) {
  FT_Library library;
  FT_Face face;
  const char* path = spec.bold ? "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
                               : "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  if (FT_Init_FreeType(&library) != 0) Die("FreeType does not start", spec.name);
  if (FT_New_Face(library, path, 0, &face) != 0) Die("cannot open the DejaVu Sans font", spec.name);
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(spec.pixels)) != 0) Die("cannot size the font", spec.name);
  // The HUD's and the garage's counters ("ag_fb_..." and "Agency_fb_...") are narrow faces: the HUD
  // places "Distance:" just left of the power-up slot, which a face of full width runs into.
  if (std::strncmp(spec.name, "ag_fb_", 6) == 0 || std::strncmp(spec.name, "Agency_fb_", 10) == 0) {
    FT_Matrix narrow = {static_cast<FT_Fixed>(0.78 * 0x10000), 0, 0, 0x10000};
    FT_Set_Transform(face, &narrow, nullptr);
  }

  const int cell = spec.H3, side = 10 * cell;
  const int pad = static_cast<int>(std::ceil(spec.outline));
  cairo_surface_t* page = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, side, side);
  cairo_surface_flush(page);
  unsigned char* pixels = cairo_image_surface_get_data(page);
  const int stride = cairo_image_surface_get_stride(page);
  const Color fill = Hex(spec.colour), rim = Hex(spec.outlineColour);

  int spaceAdvance = 0;
  std::vector<GlyphRecord> records(96);
  std::vector<float> coverage(static_cast<size_t>(cell * cell)), outline(coverage.size());
  for (int i = 0; i < 96; ++i) {
    const int code = 32 + i;
    GlyphRecord& g = records[i];
    g.code = static_cast<uint16_t>(code);
    if (code == 127) {  // blank cell
      g.V2 = spaceAdvance;
      continue;
    }
    if (FT_Load_Char(face, static_cast<FT_ULong>(code), FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0)
      Die("cannot render a glyph", spec.name);
    FT_GlyphSlot slot = face->glyph;
    g.V2 = static_cast<int32_t>((slot->advance.x + 32) >> 6);
    if (code == 32) {
      spaceAdvance = g.V2;
      continue;
    }
    // The glyph origin sits at column p of the cell, the baseline H1 rows above the cell's bottom.
    const int p = std::max(pad, pad - slot->bitmap_left);
    const int originRow = cell - spec.H1;
    std::fill(coverage.begin(), coverage.end(), 0.0f);
    const FT_Bitmap& bm = slot->bitmap;
    for (unsigned r = 0; r < bm.rows; ++r)
      for (unsigned c = 0; c < bm.width; ++c) {
        int x = p + slot->bitmap_left + static_cast<int>(c), y = originRow - slot->bitmap_top + static_cast<int>(r);
        if (x < 0 || y < 0 || x >= cell || y >= cell) continue;  // no ink outside the glyph's own cell
        coverage[static_cast<size_t>(y * cell + x)] = bm.buffer[r * static_cast<unsigned>(bm.pitch) + c] / 255.0f;
      }
    // Outline: the coverage dilated by a disc of the outline radius, soft at its edge.
    std::fill(outline.begin(), outline.end(), 0.0f);
    if (spec.outline > 0) {
      for (int y = 0; y < cell; ++y)
        for (int x = 0; x < cell; ++x) {
          float best = 0;
          for (int dy = -pad - 1; dy <= pad + 1; ++dy)
            for (int dx = -pad - 1; dx <= pad + 1; ++dx) {
              int sx = x + dx, sy = y + dy;
              if (sx < 0 || sy < 0 || sx >= cell || sy >= cell) continue;
              double weight = std::min(1.0, std::max(0.0, spec.outline + 0.5 - std::sqrt(dx * dx + dy * dy)));
              best = std::max(best, static_cast<float>(coverage[static_cast<size_t>(sy * cell + sx)] * weight));
            }
          outline[static_cast<size_t>(y * cell + x)] = best;
        }
    }
    const int cellX = (i % 10) * cell, cellY = (i / 10) * cell;
    int minX = cell, maxX = -1, minY = cell, maxY = -1;
    for (int y = 0; y < cell; ++y)
      for (int x = 0; x < cell; ++x) {
        double a = coverage[static_cast<size_t>(y * cell + x)], o = outline[static_cast<size_t>(y * cell + x)];
        double alpha = a + o * (1 - a);
        int a8 = static_cast<int>(std::lround(alpha * 255));
        if (a8 == 0) continue;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
        // Premultiplied ARGB for cairo: colour = fill over outline.
        double r = fill.r * a + rim.r * o * (1 - a), gr = fill.g * a + rim.g * o * (1 - a), b = fill.b * a + rim.b * o * (1 - a);
        double scale = a8 / 255.0 / alpha;
        uint32_t argb = (static_cast<uint32_t>(a8) << 24) |
                        (static_cast<uint32_t>(std::lround(std::min(255.0, r * scale * 255))) << 16) |
                        (static_cast<uint32_t>(std::lround(std::min(255.0, gr * scale * 255))) << 8) |
                        static_cast<uint32_t>(std::lround(std::min(255.0, b * scale * 255)));
        std::memcpy(pixels + (cellY + y) * stride + (cellX + x) * 4, &argb, 4);
      }
    g.V6 = static_cast<float>(p);
    if (maxX >= 0) {
      g.V1 = maxX - minX + 1;
      g.V3 = maxY - minY + 1;
      g.V8 = minY;
    }
  }
  cairo_surface_mark_dirty(page);

  std::string fbf;
  const std::string name = spec.name;
  PutU32(fbf, static_cast<uint32_t>(name.size()));
  for (char c : name) PutU16(fbf, static_cast<uint16_t>(static_cast<unsigned char>(c)));
  const int32_t header[8] = {spec.pixels, spec.H1, 0, spec.H3, 0, spec.H3 - spec.H1, spec.H6, 0};
  for (int32_t h : header) PutI32(fbf, h);
  for (const GlyphRecord& g : records) {
    PutU16(fbf, g.code);
    PutI32(fbf, g.V1);
    PutI32(fbf, g.V2);
    PutI32(fbf, g.V3);
    PutI32(fbf, g.V4);
    PutI32(fbf, g.V5);
    PutF32(fbf, g.V6);
    PutI32(fbf, g.V7);
    PutI32(fbf, g.V8);
  }
  const std::string base = root + "/Fonts/" + name + "/" + name;
  WriteFile(base + ".fbf", fbf);
  WriteFile(base + ".png", EncodePng(page));
  thumbs.push_back(MakeThumbnail("Fonts/" + name, page, 240, 160));
  cairo_surface_destroy(page);
  FT_Done_Face(face);
  FT_Done_FreeType(library);
}

}  // namespace

void AddFontJobs(std::vector<Job>& jobs) {
  for (const FontSpec& spec : kFonts) {
    jobs.push_back({std::string("Fonts/") + spec.name,
                    [&spec](const std::string& root, std::vector<Thumbnail>& thumbs) { MakeFont(spec, root, thumbs); }});
  }
}

}  // namespace AssetGen
