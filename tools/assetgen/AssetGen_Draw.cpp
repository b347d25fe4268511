// The drawing toolkit every picture is made of: outlined gradient shapes, glows, text and plates.
#include "AssetGen.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace AssetGen {

Color Hex(uint32_t rgb, double alpha) {
  return Color{((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0, (rgb & 255) / 255.0, alpha};
}
Color Lighter(const Color& c, double t) { return Color{c.r + (1 - c.r) * t, c.g + (1 - c.g) * t, c.b + (1 - c.b) * t, c.a}; }
Color Darker(const Color& c, double t) { return Color{c.r * (1 - t), c.g * (1 - t), c.b * (1 - t), c.a}; }
Color Mix(const Color& a, const Color& b, double t) {
  return Color{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}
Color WithAlpha(const Color& c, double alpha) { return Color{c.r, c.g, c.b, alpha}; }

namespace Palette {
const Color Outline = Hex(0x12141F);
const Color NightTop = Hex(0x0E1A2B);
const Color NightBottom = Hex(0x2A3F66);
const Color Skyline = Hex(0x2B2D4A);
const Color Window = Hex(0xFFD66B);
const Color CarRed = Hex(0xE5433A);
const Color Jet = Hex(0x3FD2FF);
const Color Alien = Hex(0x5BD15B);
const Color Steel = Hex(0xB8C4D6);
const Color DomeCyan = Hex(0x6FE3FF);
const Color DomeGreen = Hex(0x8CF08C);
const Color Fire = Hex(0xFFE45C);
const Color Flame = Hex(0xFF8A1F);
const Color Smoke = Hex(0x5A5A64);
const Color PlateBlue = Hex(0x2F6FD6);
const Color PlateRed = Hex(0xD93B3B);
const Color PlateGreen = Hex(0x3BB273);
const Color Amber = Hex(0xFFC928);
const Color PanelDark = Hex(0x141C2E);
}  // namespace Palette

void SetColor(cairo_t* cr, const Color& c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

void PathRoundRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::max(0.0, std::min(r, std::min(w, h) / 2));
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void PathEllipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, std::max(rx, 0.01), std::max(ry, 0.01));
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_close_path(cr);
  cairo_restore(cr);
}

void PathPolygon(cairo_t* cr, const std::vector<double>& xy) {
  cairo_new_sub_path(cr);
  for (size_t i = 0; i + 1 < xy.size(); i += 2) cairo_line_to(cr, xy[i], xy[i + 1]);
  cairo_close_path(cr);
}

void FillShaded(cairo_t* cr, const Color& base, double x, double y, double w, double h, double outline,
                const Color& outlineColor) {
  cairo_pattern_t* p = cairo_pattern_create_linear(x, y, x + w * 0.35, y + h);
  Color top = Lighter(base, 0.35);
  Color bottom = Darker(base, 0.22);
  cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, top.a);
  cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, bottom.a);
  cairo_set_source(cr, p);
  if (outline > 0) {
    cairo_fill_preserve(cr);
    SetColor(cr, outlineColor);
    cairo_set_line_width(cr, outline);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
  } else {
    cairo_fill(cr);
  }
  cairo_pattern_destroy(p);
}

void FillFlat(cairo_t* cr, const Color& c, double outline, const Color& outlineColor) {
  SetColor(cr, c);
  if (outline > 0) {
    cairo_fill_preserve(cr);
    SetColor(cr, outlineColor);
    cairo_set_line_width(cr, outline);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
  } else {
    cairo_fill(cr);
  }
}

void Glow(cairo_t* cr, double cx, double cy, double radius, const Color& c, double strength) {
  GlowEllipse(cr, cx, cy, radius, radius, c, strength);
}

void GlowEllipse(cairo_t* cr, double cx, double cy, double rx, double ry, const Color& c, double strength) {
  if (rx <= 0 || ry <= 0) return;
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_pattern_t* p = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
  double a = std::min(1.0, c.a * strength);
  cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, a);
  cairo_pattern_add_color_stop_rgba(p, 0.35, c.r, c.g, c.b, a * 0.55);
  cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0);
  cairo_set_source(cr, p);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  cairo_restore(cr);
}

void VerticalGradient(cairo_t* cr, double x, double y, double w, double h, const Color& top, const Color& bottom) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
  cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, top.a);
  cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, bottom.a);
  cairo_set_source(cr, p);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

// ---------------------------------------------------------------- text

namespace {

const char* const kBoldPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
const char* const kRegularPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// cairo borrows the FreeType face for the life of the font face; each worker thread keeps its own
// pair so that no FreeType object is shared between threads.
struct ThreadFaces {
  FT_Library library = nullptr;
  FT_Face ftBold = nullptr, ftRegular = nullptr;
  cairo_font_face_t* bold = nullptr;
  cairo_font_face_t* regular = nullptr;
  ThreadFaces() {
    if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, kBoldPath, 0, &ftBold) != 0 ||
        FT_New_Face(library, kRegularPath, 0, &ftRegular) != 0) {
      std::fprintf(stderr, "velkor_assetgen: cannot open the DejaVu Sans fonts (fonts-dejavu-core)\n");
      std::exit(1);
    }
    bold = cairo_ft_font_face_create_for_ft_face(ftBold, 0);
    regular = cairo_ft_font_face_create_for_ft_face(ftRegular, 0);
  }
  ~ThreadFaces() {
    cairo_font_face_destroy(bold);
    cairo_font_face_destroy(regular);
    // cairo may keep the faces cached after the last reference; the process is ending anyway, so the
    // FreeType objects are left for the operating system rather than freed under cairo's feet.
  }
};

ThreadFaces& Faces() {
  thread_local ThreadFaces faces;
  return faces;
}

void SelectFont(cairo_t* cr, double size, bool bold) {
  cairo_set_font_face(cr, bold ? Faces().bold : Faces().regular);
  cairo_set_font_size(cr, size);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

}  // namespace

double TextWidth(cairo_t* cr, const std::string& text, double size, bool bold) {
  cairo_save(cr);
  SelectFont(cr, size, bold);
  cairo_text_extents_t e;
  cairo_text_extents(cr, text.c_str(), &e);
  cairo_restore(cr);
  return e.x_advance;
}

double DrawText(cairo_t* cr, const std::string& text, double x, double baseline, const TextStyle& style) {
  double size = style.size;
  double width = TextWidth(cr, text, size, style.bold);
  if (style.maxWidth > 0 && width > style.maxWidth) {
    size *= style.maxWidth / width;
    width = style.maxWidth;
  }
  cairo_save(cr);
  SelectFont(cr, size, style.bold);
  cairo_move_to(cr, x - width * style.anchor, baseline);
  cairo_text_path(cr, text.c_str());
  if (style.outlineWidth > 0) {
    SetColor(cr, style.outline);
    cairo_set_line_width(cr, style.outlineWidth * 2);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
  }
  SetColor(cr, style.fill);
  cairo_fill(cr);
  cairo_restore(cr);
  return size;
}

double DrawTextCentred(cairo_t* cr, const std::string& text, double cx, double cy, TextStyle style) {
  style.anchor = 0.5;
  double size = style.size;
  double width = TextWidth(cr, text, size, style.bold);
  if (style.maxWidth > 0 && width > style.maxWidth) size *= style.maxWidth / width;
  style.size = size;
  style.maxWidth = 0;
  // DejaVu's capitals stand 0.73 em tall.
  return DrawText(cr, text, cx, cy + size * 0.73 / 2, style);
}

// ---------------------------------------------------------------- plates and panels

void Plate(cairo_t* cr, double x, double y, double w, double h, double radius, const Color& base) {
  PathRoundRect(cr, x + 1.5, y + 1.5, w - 3, h - 3, radius);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
  Color top = Lighter(base, 0.3), bottom = Darker(base, 0.25);
  cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, 1);
  cairo_pattern_add_color_stop_rgba(p, 0.5, base.r, base.g, base.b, 1);
  cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, 1);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  SetColor(cr, Palette::Outline);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  // Light rim, brighter along the top edge.
  PathRoundRect(cr, x + 4, y + 4, w - 8, h - 8, std::max(0.0, radius - 2.5));
  cairo_pattern_t* rim = cairo_pattern_create_linear(0, y, 0, y + h);
  Color light = Lighter(base, 0.65);
  cairo_pattern_add_color_stop_rgba(rim, 0, light.r, light.g, light.b, 0.95);
  cairo_pattern_add_color_stop_rgba(rim, 1, light.r, light.g, light.b, 0.35);
  cairo_set_source(cr, rim);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  cairo_pattern_destroy(rim);
  // Gloss on the upper half.
  PathRoundRect(cr, x + 6, y + 5, w - 12, (h - 10) * 0.45, std::max(0.0, radius - 4));
  SetColor(cr, Color{1, 1, 1, 0.12});
  cairo_fill(cr);
}

void Panel(cairo_t* cr, double x, double y, double w, double h, double radius, double alpha) {
  PathRoundRect(cr, x + 1.5, y + 1.5, w - 3, h - 3, radius);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
  Color top = Hex(0x22304D), bottom = Hex(0x111827);
  cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, alpha);
  cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, alpha);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  SetColor(cr, Palette::Outline);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  PathRoundRect(cr, x + 4, y + 4, w - 8, h - 8, std::max(0.0, radius - 2.5));
  SetColor(cr, Color{0.62, 0.75, 0.95, 0.8});
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
}

// ---------------------------------------------------------------- scenery

void Stars(cairo_t* cr, double x, double y, double w, double h, uint32_t seed, int count, double maxSize) {
  Random rnd(seed);
  for (int i = 0; i < count; ++i) {
    double sx = x + rnd.Uniform() * w, sy = y + rnd.Uniform() * h;
    double size = 0.5 + rnd.Uniform() * rnd.Uniform() * maxSize;
    double a = 0.35 + 0.65 * rnd.Uniform();
    if (size > maxSize * 0.6) Glow(cr, sx, sy, size * 4, Color{0.8, 0.88, 1, 0.25 * a});
    cairo_arc(cr, sx, sy, size, 0, 2 * M_PI);
    SetColor(cr, Color{0.92, 0.95, 1, a});
    cairo_fill(cr);
  }
}

void Moon(cairo_t* cr, double cx, double cy, double r) {
  Glow(cr, cx, cy, r * 3.2, Color{0.85, 0.9, 1, 0.28});
  PathEllipse(cr, cx, cy, r, r);
  FillShaded(cr, Hex(0xEEF0E2), cx - r, cy - r, 2 * r, 2 * r, 0);
  // A few soft craters.
  const double craters[][3] = {{-0.3, -0.2, 0.22}, {0.28, 0.18, 0.16}, {-0.05, 0.42, 0.12}, {0.35, -0.35, 0.1}};
  for (const auto& c : craters) {
    PathEllipse(cr, cx + c[0] * r, cy + c[1] * r, c[2] * r, c[2] * r);
    SetColor(cr, Color{0.72, 0.74, 0.7, 0.45});
    cairo_fill(cr);
  }
}

void NightSky(cairo_t* cr, double w, double h, uint32_t seed, int stars, bool moon, double moonX, double moonY,
              double moonR) {
  VerticalGradient(cr, 0, 0, w, h, Palette::NightTop, Palette::NightBottom);
  Stars(cr, 0, 0, w, h * 0.8, seed, stars);
  if (moon) Moon(cr, w * moonX, h * moonY, moonR);
}

void Building(cairo_t* cr, double x, double baseY, double w, double h, const Color& body, double windowChance,
              Random& rnd, int roofStyle) {
  double top = baseY - h;
  cairo_new_path(cr);
  if (roofStyle == 1) {  // stepped top
    PathPolygon(cr, {x, baseY, x, top + h * 0.08, x + w * 0.2, top + h * 0.08, x + w * 0.2, top, x + w * 0.8, top,
                     x + w * 0.8, top + h * 0.08, x + w, top + h * 0.08, x + w, baseY});
  } else if (roofStyle == 2) {  // spire
    PathPolygon(cr, {x, baseY, x, top, x + w * 0.45, top, x + w * 0.5, top - h * 0.12, x + w * 0.55, top, x + w, top,
                     x + w, baseY});
  } else {
    cairo_rectangle(cr, x, top, w, h);
  }
  // Night buildings stay dark: only a faint light from the top-left.
  cairo_pattern_t* shade = cairo_pattern_create_linear(x, top, x + w * 0.5, baseY);
  Color lit = Lighter(body, 0.1), dark = Darker(body, 0.3);
  cairo_pattern_add_color_stop_rgba(shade, 0, lit.r, lit.g, lit.b, body.a);
  cairo_pattern_add_color_stop_rgba(shade, 1, dark.r, dark.g, dark.b, body.a);
  cairo_set_source(cr, shade);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(shade);
  SetColor(cr, Palette::Outline);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  // Windows in a grid, some lit.
  double cell = std::max(8.0, w / std::max(3, static_cast<int>(w / 14)));
  double wx0 = x + cell * 0.35, ww = cell * 0.45, wh = cell * 0.6;
  for (double wy = top + cell * 0.6; wy + wh < baseY - cell * 0.4; wy += cell) {
    for (double wxx = wx0; wxx + ww < x + w - cell * 0.2; wxx += cell) {
      double roll = rnd.Uniform();
      if (roll < windowChance) {
        Color c = Mix(Palette::Window, Hex(0xFFF2C0), rnd.Uniform() * 0.5);
        if (rnd.Uniform() < 0.15) GlowEllipse(cr, wxx + ww / 2, wy + wh / 2, ww * 1.6, wh * 1.4, WithAlpha(c, 0.35));
        cairo_rectangle(cr, wxx, wy, ww, wh);
        SetColor(cr, c);
        cairo_fill(cr);
      } else if (roll < windowChance + 0.25) {
        cairo_rectangle(cr, wxx, wy, ww, wh);
        SetColor(cr, WithAlpha(Darker(body, 0.35), 0.8));
        cairo_fill(cr);
      }
    }
  }
}

void Skyline(cairo_t* cr, double w, double baseY, double minH, double maxH, double minW, double maxW,
             const Color& body, double windowChance, uint32_t seed, bool wrap) {
  Random rnd(seed);
  struct Block { double x, w, h; int roof; Color c; uint32_t seed; };
  std::vector<Block> blocks;
  double x = 0;
  while (x < w) {
    double bw = rnd.Range(minW, maxW);
    if (wrap && x + bw > w) bw = std::max(minW * 0.5, w - x);  // the row ends exactly at w to tile
    Block b{x, bw, rnd.Range(minH, maxH), rnd.Int(0, 4) == 0 ? 1 : (rnd.Int(0, 6) == 0 ? 2 : 0),
            Mix(body, Lighter(body, 0.15), rnd.Uniform()), rnd.Next()};
    blocks.push_back(b);
    x += bw - rnd.Range(0, minW * 0.15);
  }
  for (int copy = wrap ? -1 : 0; copy <= (wrap ? 1 : 0); ++copy) {
    for (const Block& b : blocks) {
      Random windows(b.seed);
      Building(cr, b.x + copy * w, baseY, b.w, b.h, b.c, windowChance, windows, b.roof);
    }
  }
}

void Road(cairo_t* cr, double x, double y, double w, double h, double dashOffset, bool wrap) {
  VerticalGradient(cr, x, y, w, h, Hex(0x3A3D4E), Hex(0x22242F));
  cairo_rectangle(cr, x, y, w, std::max(2.0, h * 0.08));
  SetColor(cr, Hex(0x8A90A8));
  cairo_fill(cr);
  double dash = 60, gap = 40;
  for (double dx = x - 100 + dashOffset; dx < x + w + 100; dx += dash + gap) {
    cairo_rectangle(cr, dx, y + h * 0.48, dash, std::max(2.0, h * 0.08));
    SetColor(cr, Hex(0xF2D35B, 0.9));
    cairo_fill(cr);
  }
  (void)wrap;
}

void HazardStripes(cairo_t* cr, double x, double y, double w, double h, double stripe) {
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  SetColor(cr, Palette::Amber);
  cairo_paint(cr);
  SetColor(cr, Hex(0x15151A));
  for (double sx = x - h; sx < x + w + h; sx += stripe * 2) {
    PathPolygon(cr, {sx, y + h, sx + stripe, y + h, sx + stripe + h, y, sx + h, y});
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

// ---------------------------------------------------------------- subjects

void Car(cairo_t* cr, double x, double floorY, double L, int armour, bool hovering, int phase) {
  const double H = 0.236 * L;
  const double top = floorY - H;
  const double ow = std::max(1.5, L * 0.025);
  auto px = [&](double u) { return x + u * L; };
  auto py = [&](double v) { return top + v * H; };  // v 0 = roof, 1 = floor

  // Jets under the body: a glow always, long flames when hovering.
  for (double u : {0.22, 0.72}) {
    double jl = hovering ? H * (0.8 + 0.15 * phase) : H * 0.25;
    if (hovering) {
      GlowEllipse(cr, px(u), floorY + jl * 0.45, L * 0.085, jl * 0.75, Palette::Jet, 0.8);
      GlowEllipse(cr, px(u), floorY + jl * 0.2, L * 0.035, jl * 0.4, Hex(0xE0FAFF), 0.8);
    }
    GlowEllipse(cr, px(u), floorY + 1, L * 0.07, H * 0.22, Lighter(Palette::Jet, 0.5), 1.0);
  }
  // Fins for the elite plating (inside the roof line).
  if (armour == 2) {
    PathPolygon(cr, {px(0.03), py(0.45), px(0.07), py(0.03), px(0.14), py(0.0), px(0.27), py(0.42)});
    FillShaded(cr, Hex(0xE0B040), px(0.03), py(0), L * 0.24, H * 0.45, ow);
  }
  // Canopy: a glass bubble whose top is the roof line.
  cairo_new_path(cr);
  cairo_move_to(cr, px(0.33), py(0.55));
  cairo_curve_to(cr, px(0.38), py(-0.15), px(0.62), py(-0.15), px(0.75), py(0.55));
  cairo_close_path(cr);
  cairo_pattern_t* glass = cairo_pattern_create_linear(px(0.4), py(0), px(0.6), py(0.5));
  cairo_pattern_add_color_stop_rgba(glass, 0, 0.8, 0.97, 1, 1);
  cairo_pattern_add_color_stop_rgba(glass, 1, 0.1, 0.3, 0.55, 1);
  cairo_set_source(cr, glass);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(glass);
  SetColor(cr, Palette::Outline);
  cairo_set_line_width(cr, ow);
  cairo_stroke(cr);
  // Glint and the canopy frame bar.
  cairo_new_path(cr);
  cairo_move_to(cr, px(0.42), py(0.3));
  cairo_curve_to(cr, px(0.45), py(0.12), px(0.5), py(0.1), px(0.55), py(0.1));
  SetColor(cr, Color{1, 1, 1, 0.8});
  cairo_set_line_width(cr, std::max(1.0, H * 0.06));
  cairo_stroke(cr);
  cairo_move_to(cr, px(0.6), py(0.08));
  cairo_line_to(cr, px(0.6), py(0.5));
  SetColor(cr, Palette::Outline);
  cairo_set_line_width(cr, ow * 0.8);
  cairo_stroke(cr);
  // Body: a low wedge, rounded tail, pointed nose.
  cairo_new_path(cr);
  cairo_move_to(cr, px(0.02), py(0.36));
  cairo_curve_to(cr, px(0.2), py(0.42), px(0.6), py(0.4), px(0.82), py(0.48));
  cairo_curve_to(cr, px(0.94), py(0.54), px(1.0), py(0.66), px(0.995), py(0.8));
  cairo_line_to(cr, px(0.94), py(1.0));
  cairo_line_to(cr, px(0.06), py(1.0));
  cairo_curve_to(cr, px(0.0), py(0.95), px(-0.01), py(0.5), px(0.02), py(0.36));
  cairo_close_path(cr);
  FillShaded(cr, Palette::CarRed, x, top, L, H, ow);
  // Rear spoiler.
  PathPolygon(cr, {px(0.01), py(0.38), px(0.0), py(0.2), px(0.1), py(0.22), px(0.12), py(0.4)});
  FillShaded(cr, Darker(Palette::CarRed, 0.2), px(0), py(0.2), L * 0.12, H * 0.2, ow * 0.8);
  // White racing stripe along the side.
  cairo_new_path(cr);
  cairo_move_to(cr, px(0.04), py(0.56));
  cairo_line_to(cr, px(0.9), py(0.56));
  cairo_line_to(cr, px(0.95), py(0.65));
  cairo_line_to(cr, px(0.04), py(0.65));
  cairo_close_path(cr);
  SetColor(cr, Color{1, 1, 1, 0.95});
  cairo_fill(cr);
  // Skirt along the floor.
  PathRoundRect(cr, px(0.08), py(0.8), L * 0.84, H * 0.2, H * 0.08);
  FillShaded(cr, Hex(0x3A3E52), px(0.08), py(0.8), L * 0.84, H * 0.2, ow * 0.7);
  // Armour plates.
  if (armour >= 1) {
    Color plate = armour == 1 ? Hex(0x9AA3B5) : Hex(0xB9BFCC);
    for (double u : {0.14, 0.42, 0.68}) {
      PathRoundRect(cr, px(u), py(0.7), L * 0.18, H * 0.2, H * 0.05);
      FillShaded(cr, plate, px(u), py(0.7), L * 0.18, H * 0.2, ow * 0.6);
      if (armour == 2) {
        cairo_rectangle(cr, px(u), py(0.7), L * 0.18, std::max(1.0, H * 0.05));
        SetColor(cr, Hex(0xF2C94C));
        cairo_fill(cr);
      }
    }
  }
  if (armour == 2) {
    cairo_new_path(cr);
    cairo_move_to(cr, px(0.2), py(0.44));
    cairo_curve_to(cr, px(0.5), py(0.44), px(0.7), py(0.42), px(0.86), py(0.52));
    SetColor(cr, Hex(0xF2C94C));
    cairo_set_line_width(cr, std::max(1.2, H * 0.06));
    cairo_stroke(cr);
  }
  // Headlight and tail light.
  GlowEllipse(cr, px(0.985), py(0.72), L * 0.05, H * 0.16, Hex(0xFFF4C0), 1.0);
  PathEllipse(cr, px(0.035), py(0.55), L * 0.012, H * 0.08);
  SetColor(cr, Hex(0xFF3030));
  cairo_fill(cr);
}

void Alien(cairo_t* cr, double cx, double cy, double s, bool armed) {
  // Body box 44x58 centred on (cx, cy) at scale 1.
  auto X = [&](double u) { return cx + u * s; };
  auto Y = [&](double v) { return cy + v * s; };
  double ow = 2.2 * std::max(0.6, std::min(1.5, s));
  // Legs and body.
  PathRoundRect(cr, X(-10), Y(14), 8, 15, 3);
  FillShaded(cr, Darker(Palette::Alien, 0.2), X(-10), Y(14), 8 * s, 15 * s, ow);
  PathRoundRect(cr, X(2), Y(14), 8, 15, 3);
  FillShaded(cr, Darker(Palette::Alien, 0.2), X(2), Y(14), 8 * s, 15 * s, ow);
  PathEllipse(cr, X(0), Y(9), 14 * s, 11 * s);
  FillShaded(cr, Hex(0x6A4FB0), X(-14), Y(-2), 28 * s, 22 * s, ow);  // suit
  // Arms.
  PathRoundRect(cr, X(-21), Y(2), 8 * s, 14 * s, 3 * s);
  FillShaded(cr, Palette::Alien, X(-21), Y(2), 8 * s, 14 * s, ow);
  if (armed) {
    PathRoundRect(cr, X(8), Y(2), 14 * s, 7 * s, 2 * s);
    FillShaded(cr, Palette::Alien, X(8), Y(2), 14 * s, 7 * s, ow);
    // Blaster held forward.
    PathRoundRect(cr, X(13), Y(-1), 10 * s, 6 * s, 1.5 * s);
    FillShaded(cr, Hex(0x50586A), X(13), Y(-1), 10 * s, 6 * s, ow * 0.8);
    Glow(cr, X(22), Y(2), 4 * s, Hex(0xFF4040), 1.0);
  } else {
    PathRoundRect(cr, X(13), Y(2), 8 * s, 14 * s, 3 * s);
    FillShaded(cr, Palette::Alien, X(13), Y(2), 8 * s, 14 * s, ow);
  }
  // Head with antennae.
  cairo_new_path(cr);
  cairo_move_to(cr, X(-6), Y(-18));
  cairo_line_to(cr, X(-10), Y(-28));
  cairo_move_to(cr, X(6), Y(-18));
  cairo_line_to(cr, X(10), Y(-28));
  SetColor(cr, Palette::Outline);
  cairo_set_line_width(cr, ow);
  cairo_stroke(cr);
  for (double u : {-10.0, 10.0}) {
    PathEllipse(cr, X(u), Y(-27), 2.6 * s, 2.6 * s);
    FillFlat(cr, Hex(0xC8FF8A), ow * 0.6);
  }
  PathEllipse(cr, X(0), Y(-9), 15 * s, 12.5 * s);
  FillShaded(cr, Palette::Alien, X(-15), Y(-21), 30 * s, 25 * s, ow);
  // Big dark eyes (red when aiming).
  Color eye = armed ? Hex(0xE02828) : Hex(0x101018);
  for (double side : {-1.0, 1.0}) {
    cairo_save(cr);
    cairo_translate(cr, X(side * 6.5), Y(-9));
    cairo_rotate(cr, side * 0.45);
    PathEllipse(cr, 0, 0, 4.8 * s, 7 * s);
    cairo_restore(cr);
    SetColor(cr, eye);
    cairo_fill(cr);
    PathEllipse(cr, X(side * 6.5 - 1.5), Y(-11.5), 1.4 * s, 1.8 * s);
    SetColor(cr, Color{1, 1, 1, 0.85});
    cairo_fill(cr);
  }
}

void Person(cairo_t* cr, double cx, double footY, double h, const Color& shirt, const Color& trousers,
            const Color& skin, int pose) {
  // A bold figure in head units: 7 heads tall would be too thin to read small, so 5.
  double u = h / 5.0;
  double ow = std::max(1.5, u * 0.16);
  double hipY = footY - 2.1 * u, shoulderY = footY - 3.7 * u, headY = footY - 4.35 * u;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  auto limb = [&](double x0, double y0, double x1, double y1, double width, const Color& c) {
    cairo_new_path(cr);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    SetColor(cr, Palette::Outline);
    cairo_set_line_width(cr, width + 2 * ow);
    cairo_stroke(cr);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    SetColor(cr, c);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
  };
  double legW = u * 0.62, armW = u * 0.5;
  // Legs.
  if (pose == 2) {
    limb(cx - 0.15 * u, hipY, cx - 0.75 * u, footY - 0.2 * u, legW, trousers);
    limb(cx + 0.15 * u, hipY, cx + 0.7 * u, footY - 0.2 * u, legW, trousers);
  } else {
    limb(cx - 0.28 * u, hipY, cx - 0.4 * u, footY - 0.2 * u, legW, trousers);
    limb(cx + 0.28 * u, hipY, cx + 0.4 * u, footY - 0.2 * u, legW, trousers);
  }
  // Arms behind the torso outline only at the shoulders.
  double sx = 0.55 * u;
  struct Arm { double x, y; } left{}, right{};
  switch (pose) {
    case 1: case 3: left = {cx - 1.2 * u, shoulderY - 1.4 * u}; right = {cx + 1.2 * u, shoulderY - 1.4 * u}; break;
    case 4: left = {cx - 1.1 * u, shoulderY - 0.9 * u}; right = {cx + 0.7 * u, shoulderY - 1.3 * u}; break;
    case 2: left = {cx - 0.9 * u, shoulderY + 1.2 * u}; right = {cx + 0.9 * u, shoulderY + 1.2 * u}; break;
    default: left = {cx - 0.75 * u, shoulderY + 1.5 * u}; right = {cx + 0.75 * u, shoulderY + 1.5 * u}; break;
  }
  limb(cx - sx, shoulderY + 0.2 * u, left.x, left.y, armW, shirt);
  limb(cx + sx, shoulderY + 0.2 * u, right.x, right.y, armW, shirt);
  for (const Arm& a : {left, right}) {
    PathEllipse(cr, a.x, a.y, armW * 0.55, armW * 0.55);
    FillFlat(cr, skin, ow * 0.7);
  }
  // Torso.
  PathRoundRect(cr, cx - 0.62 * u, shoulderY - 0.1 * u, 1.24 * u, hipY - shoulderY + 0.45 * u, 0.35 * u);
  FillShaded(cr, shirt, cx - 0.62 * u, shoulderY, 1.24 * u, hipY - shoulderY, ow);
  // Head with hair.
  PathEllipse(cr, cx, headY, 0.5 * u, 0.55 * u);
  FillShaded(cr, skin, cx - 0.5 * u, headY - 0.55 * u, u, 1.1 * u, ow);
  cairo_new_path(cr);
  cairo_arc(cr, cx, headY - 0.05 * u, 0.5 * u, M_PI * 1.05, M_PI * 1.95);
  cairo_close_path(cr);
  SetColor(cr, Hex(0x3A2418));
  cairo_fill(cr);
  if (pose == 4 || pose == 1) {  // open mouth of fright / calling
    PathEllipse(cr, cx, headY + 0.25 * u, 0.12 * u, 0.14 * u);
    SetColor(cr, Palette::Outline);
    cairo_fill(cr);
  }
}

void Saucer(cairo_t* cr, double cx, double cy, double rx, double ry, const Color& dome, int lights) {
  double ow = std::max(2.0, rx * 0.02);
  // Underside glow.
  GlowEllipse(cr, cx, cy + ry * 0.7, rx * 0.6, ry * 0.9, WithAlpha(dome, 0.6 * (dome.a > 0)), 0.8);
  // Dome (a transparent dome colour leaves the deck open, as on the mothership's lower decks).
  if (dome.a > 0) {
  PathEllipse(cr, cx, cy - ry * 0.45, rx * 0.42, ry * 1.25);
  cairo_pattern_t* g = cairo_pattern_create_radial(cx - rx * 0.15, cy - ry * 1.2, rx * 0.02, cx, cy - ry * 0.5, rx * 0.45);
  Color hi = Lighter(dome, 0.7);
  cairo_pattern_add_color_stop_rgba(g, 0, hi.r, hi.g, hi.b, 0.95);
  cairo_pattern_add_color_stop_rgba(g, 1, dome.r * 0.6, dome.g * 0.6, dome.b * 0.6, 0.9);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  SetColor(cr, Palette::Outline);
  cairo_set_line_width(cr, ow);
  cairo_stroke(cr);
  }
  Color lightColour = dome.a > 0 ? dome : WithAlpha(dome, 1);
  // Hull disc.
  PathEllipse(cr, cx, cy, rx, ry * 0.55);
  FillShaded(cr, Palette::Steel, cx - rx, cy - ry * 0.55, 2 * rx, ry * 1.1, ow);
  // Lower ring.
  PathEllipse(cr, cx, cy + ry * 0.3, rx * 0.55, ry * 0.3);
  FillShaded(cr, Darker(Palette::Steel, 0.35), cx - rx * 0.55, cy, rx * 1.1, ry * 0.6, ow);
  // Rim lights.
  for (int i = 0; i < lights; ++i) {
    double t = (i + 0.5) / lights;
    double lx = cx - rx * 0.85 + t * rx * 1.7;
    double ly = cy + ry * 0.12 * std::sin(t * M_PI);
    Color c = (i % 2) ? Hex(0xFFE45C) : lightColour;
    Glow(cr, lx, ly, rx * 0.07, c, 1.0);
    PathEllipse(cr, lx, ly, rx * 0.025, rx * 0.025);
    SetColor(cr, Lighter(c, 0.6));
    cairo_fill(cr);
  }
}

void Flame(cairo_t* cr, double cx, double baseY, double w, double h, int phase) {
  const double sway[4] = {0.0, 0.12, -0.08, 0.06};
  const double tall[4] = {1.0, 0.9, 0.96, 0.86};
  double s = sway[phase & 3], t = tall[phase & 3];
  auto tongue = [&](double scale, const Color& c, double outline) {
    double hw = w * 0.5 * scale, hh = h * t * scale;
    cairo_new_path(cr);
    cairo_move_to(cr, cx - hw, baseY - hw * 0.6);
    cairo_curve_to(cr, cx - hw, baseY - hh * 0.45, cx + s * w - hw * 0.2, baseY - hh * 0.6, cx + s * w, baseY - hh);
    cairo_curve_to(cr, cx + s * w + hw * 0.25, baseY - hh * 0.55, cx + hw, baseY - hh * 0.5, cx + hw, baseY - hw * 0.6);
    cairo_curve_to(cr, cx + hw, baseY + hw * 0.05, cx - hw, baseY + hw * 0.05, cx - hw, baseY - hw * 0.6);
    cairo_close_path(cr);
    FillFlat(cr, c, outline);
  };
  Glow(cr, cx, baseY - h * 0.35, w * 0.9, WithAlpha(Palette::Flame, 0.5));
  tongue(1.0, Hex(0xE8461E), std::max(2.0, w * 0.03));
  tongue(0.72, Palette::Flame, 0);
  tongue(0.45, Palette::Fire, 0);
}

void Fireball(cairo_t* cr, double cx, double cy, double r, double heat, double smoke, uint32_t seed) {
  // Cartoon puffs: each layer is a cluster of circles, outlined by drawing the cluster a little
  // larger in the outline colour first, so only the outer edge of the cluster shows a rim.
  Random rnd(seed);
  struct Puff { double x, y, r; };
  auto cluster = [&](int count, double spread, double minR, double maxR, double rise) {
    std::vector<Puff> puffs;
    for (int i = 0; i < count; ++i) {
      double a = i * 2 * M_PI / count + rnd.Range(-0.4, 0.4);
      double d = r * spread * rnd.Range(0.3, 1.0);
      puffs.push_back({cx + std::cos(a) * d, cy + std::sin(a) * d * 0.85 - rise * r, r * rnd.Range(minR, maxR)});
    }
    puffs.push_back({cx, cy - rise * r, r * maxR});
    return puffs;
  };
  auto paint = [&](const std::vector<Puff>& puffs, Color fill, Color rim, double rimWidth) {
    // A translucent cluster is drawn opaque into a group and faded as a whole, so the puffs do not
    // show their overlaps.
    double alpha = fill.a;
    fill.a = 1;
    rim.a = rim.a > 0 ? 1 : 0;
    cairo_push_group(cr);
    if (rimWidth > 0) {
      for (const Puff& p : puffs) {
        PathEllipse(cr, p.x, p.y, p.r + rimWidth, p.r + rimWidth);
        SetColor(cr, rim);
        cairo_fill(cr);
      }
    }
    for (const Puff& p : puffs) {
      PathEllipse(cr, p.x, p.y, p.r, p.r);
      FillShaded(cr, fill, p.x - p.r, p.y - p.r, 2 * p.r, 2 * p.r, 0);
    }
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, alpha);
  };
  double rim = std::max(1.5, r * 0.035);
  if (smoke > 0) {
    paint(cluster(8, 0.55, 0.32, 0.45, heat > 0 ? 0.0 : 0.08), WithAlpha(Palette::Smoke, smoke),
          WithAlpha(Darker(Palette::Smoke, 0.5), smoke), rim);
  }
  if (heat > 0) {
    Glow(cr, cx, cy, r * 1.3, WithAlpha(Palette::Flame, 0.6 * heat));
    paint(cluster(9, 0.5, 0.3, 0.42, 0), WithAlpha(Hex(0xE8461E), heat), WithAlpha(Palette::Outline, heat), rim);
    paint(cluster(7, 0.35, 0.25, 0.34, 0), WithAlpha(Palette::Flame, heat), Color{0, 0, 0, 0}, 0);
    paint(cluster(5, 0.2, 0.18, 0.24, 0), WithAlpha(Palette::Fire, heat), Color{0, 0, 0, 0}, 0);
    Glow(cr, cx, cy, r * 0.35, WithAlpha(Hex(0xFFFFF0), heat));
  }
}

void Gun(cairo_t* cr, double mx, double my, double len, int barrels) {
  double s = len / 40.0;
  double ow = std::max(1.2, 1.6 * s);
  // Barrels first, so the housing covers their roots; a cooling shroud around their middle.
  double spacing = 5.2 * s, bh = 4.4 * s;
  for (int b = 0; b < barrels; ++b) {
    double off = (b - (barrels - 1) / 2.0) * spacing;
    PathRoundRect(cr, mx + 4 * s, my + off - bh / 2, 24 * s, bh, 1.2 * s);
    FillShaded(cr, Hex(0x5C6478), mx + 4 * s, my + off - bh / 2, 24 * s, bh, ow);
    PathRoundRect(cr, mx + 24.5 * s, my + off - bh * 0.65, 4.5 * s, bh * 1.3, 1 * s);
    FillShaded(cr, Hex(0x3A4050), mx + 24.5 * s, my + off - bh * 0.65, 4.5 * s, bh * 1.3, ow * 0.8);
  }
  double shroud = (barrels - 1) * spacing + bh + 2.4 * s;
  PathRoundRect(cr, mx + 10 * s, my - shroud / 2, 7 * s, shroud, 1.5 * s);
  FillShaded(cr, Hex(0xC8D0DE), mx + 10 * s, my - shroud / 2, 7 * s, shroud, ow);
  // Housing: a wedge that narrows towards the barrels, with a red pivot cap.
  double hh = 11 * s + (barrels - 1) * 2.5 * s;
  cairo_new_path(cr);
  cairo_move_to(cr, mx - 8 * s, my - hh / 2 + 2 * s);
  cairo_line_to(cr, mx + 4 * s, my - hh / 2);
  cairo_line_to(cr, mx + 10 * s, my - hh * 0.3);
  cairo_line_to(cr, mx + 10 * s, my + hh * 0.3);
  cairo_line_to(cr, mx + 4 * s, my + hh / 2);
  cairo_line_to(cr, mx - 8 * s, my + hh / 2 - 2 * s);
  cairo_close_path(cr);
  FillShaded(cr, Hex(0x8E98AE), mx - 8 * s, my - hh / 2, 18 * s, hh, ow);
  PathEllipse(cr, mx, my, 3.6 * s, 3.6 * s);
  FillShaded(cr, Palette::CarRed, mx - 3.6 * s, my - 3.6 * s, 7.2 * s, 7.2 * s, ow * 0.8);
}

void HealthPot(cairo_t* cr, double cx, double cy, double s) {
  // Canister 44x58 centred.
  double ow = 2.2 * s;
  PathRoundRect(cr, cx - 12 * s, cy - 29 * s, 24 * s, 9 * s, 2 * s);
  FillShaded(cr, Hex(0x9098A8), cx - 12 * s, cy - 29 * s, 24 * s, 9 * s, ow);
  PathRoundRect(cr, cx - 20 * s, cy - 22 * s, 40 * s, 50 * s, 9 * s);
  FillShaded(cr, Hex(0xF4F6FA), cx - 20 * s, cy - 22 * s, 40 * s, 50 * s, ow);
  cairo_rectangle(cr, cx - 5 * s, cy - 12 * s, 10 * s, 30 * s);
  cairo_rectangle(cr, cx - 15 * s, cy - 2 * s, 30 * s, 10 * s);
  FillFlat(cr, Hex(0xE23838), 0);
  Glow(cr, cx - 10 * s, cy - 14 * s, 6 * s, Color{1, 1, 1, 0.8});
}

void PowerUp(cairo_t* cr, double cx, double cy, double size, int kind) {
  const Color colours[3] = {Hex(0x3FD2FF), Hex(0xFF9A2E), Hex(0xFFE04A)};
  Color c = colours[kind % 3];
  double r = size / 2;
  Glow(cr, cx, cy, r * 1.05, WithAlpha(c, 0.55));
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, M_PI / 4);
  double side = r * 1.3;
  PathRoundRect(cr, -side / 2, -side / 2, side, side, side * 0.18);
  cairo_restore(cr);
  FillShaded(cr, c, cx - r, cy - r, 2 * r, 2 * r, std::max(2.0, r * 0.08));
  double s = r / 30.0;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  if (kind == 0) {  // shield
    cairo_new_path(cr);
    cairo_move_to(cr, cx, cy - 13 * s);
    cairo_line_to(cr, cx + 10 * s, cy - 8 * s);
    cairo_curve_to(cr, cx + 10 * s, cy + 4 * s, cx + 5 * s, cy + 10 * s, cx, cy + 14 * s);
    cairo_curve_to(cr, cx - 5 * s, cy + 10 * s, cx - 10 * s, cy + 4 * s, cx - 10 * s, cy - 8 * s);
    cairo_close_path(cr);
    FillFlat(cr, Color{1, 1, 1, 1}, 2 * s);
  } else if (kind == 1) {  // three bolts
    for (int i = -1; i <= 1; ++i) {
      PathRoundRect(cr, cx - 10 * s, cy + i * 7 * s - 2.2 * s, 20 * s, 4.4 * s, 2.2 * s);
      FillFlat(cr, Color{1, 1, 1, 1}, 1.5 * s);
    }
  } else {  // lightning
    PathPolygon(cr, {cx + 3 * s, cy - 15 * s, cx - 9 * s, cy + 2 * s, cx - 1 * s, cy + 2 * s, cx - 4 * s, cy + 15 * s,
                     cx + 9 * s, cy - 3 * s, cx + 1 * s, cy - 3 * s});
    FillFlat(cr, Color{1, 1, 1, 1}, 2 * s);
  }
}

void Bolt(cairo_t* cr, double cx, double cy, double length, double thick, const Color& c) {
  GlowEllipse(cr, cx, cy, length * 0.9, thick * 2.6, c, 0.9);
  PathRoundRect(cr, cx - length / 2, cy - thick / 2, length, thick, thick / 2);
  FillFlat(cr, Lighter(c, 0.35), 1.5, Darker(c, 0.4));
  PathRoundRect(cr, cx - length / 2 + thick * 0.4, cy - thick * 0.18, length - thick * 0.8, thick * 0.36, thick * 0.18);
  FillFlat(cr, Color{1, 1, 1, 0.95});
}

void EnergyBall(cairo_t* cr, double cx, double cy, double r, const Color& c) {
  Glow(cr, cx, cy, r * 2.0, WithAlpha(c, 0.8));
  PathEllipse(cr, cx, cy, r, r);
  cairo_pattern_t* p = cairo_pattern_create_radial(cx - r * 0.3, cy - r * 0.3, r * 0.1, cx, cy, r);
  Color hi = Lighter(c, 0.8);
  cairo_pattern_add_color_stop_rgba(p, 0, hi.r, hi.g, hi.b, 1);
  cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 1);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  SetColor(cr, Darker(c, 0.45));
  cairo_set_line_width(cr, std::max(1.5, r * 0.12));
  cairo_stroke(cr);
}

void Rocket(cairo_t* cr, double x0, double x1, double cy, double h) {
  double L = x1 - x0;
  double ow = std::max(1.5, h * 0.06);
  // Exhaust flame at the tail.
  GlowEllipse(cr, x0 + L * 0.08, cy, L * 0.12, h * 0.3, Palette::Flame, 1.0);
  // Fins.
  PathPolygon(cr, {x0 + L * 0.1, cy - h * 0.2, x0 + L * 0.02, cy - h * 0.5, x0 + L * 0.3, cy - h * 0.2});
  FillShaded(cr, Palette::PlateRed, x0, cy - h * 0.5, L * 0.3, h * 0.3, ow);
  PathPolygon(cr, {x0 + L * 0.1, cy + h * 0.2, x0 + L * 0.02, cy + h * 0.5, x0 + L * 0.3, cy + h * 0.2});
  FillShaded(cr, Palette::PlateRed, x0, cy + h * 0.2, L * 0.3, h * 0.3, ow);
  // Body and nose.
  cairo_new_path(cr);
  cairo_move_to(cr, x0 + L * 0.08, cy - h * 0.22);
  cairo_line_to(cr, x0 + L * 0.72, cy - h * 0.22);
  cairo_curve_to(cr, x0 + L * 0.88, cy - h * 0.22, x1, cy - h * 0.05, x1, cy);
  cairo_curve_to(cr, x1, cy + h * 0.05, x0 + L * 0.88, cy + h * 0.22, x0 + L * 0.72, cy + h * 0.22);
  cairo_line_to(cr, x0 + L * 0.08, cy + h * 0.22);
  cairo_close_path(cr);
  FillShaded(cr, Hex(0xE8ECF2), x0, cy - h * 0.22, L, h * 0.44, ow);
  cairo_rectangle(cr, x0 + L * 0.55, cy - h * 0.22, L * 0.06, h * 0.44);
  SetColor(cr, Palette::PlateRed);
  cairo_fill(cr);
  // Nose cone tint.
  cairo_new_path(cr);
  cairo_move_to(cr, x0 + L * 0.8, cy - h * 0.2);
  cairo_curve_to(cr, x0 + L * 0.9, cy - h * 0.18, x1, cy - h * 0.04, x1, cy);
  cairo_curve_to(cr, x1, cy + h * 0.04, x0 + L * 0.9, cy + h * 0.18, x0 + L * 0.8, cy + h * 0.2);
  cairo_close_path(cr);
  FillFlat(cr, Palette::PlateRed, ow, Palette::Outline);
}

void LaserIcon(cairo_t* cr, double x0, double x1, double cy, double h) {
  double L = x1 - x0;
  Beam(cr, x0 + L * 0.32, x1, cy, h * 0.1, h * 0.32, Hex(0xFF3B5C), false);
  PathRoundRect(cr, x0, cy - h * 0.3, L * 0.36, h * 0.6, h * 0.12);
  FillShaded(cr, Hex(0x8E98AE), x0, cy - h * 0.3, L * 0.36, h * 0.6, std::max(1.5, h * 0.06));
  Glow(cr, x0 + L * 0.36, cy, h * 0.3, Hex(0xFFB0C0), 1.0);
}

void Drone(cairo_t* cr, double cx, double cy, double r) {
  double ow = std::max(1.5, r * 0.04);
  // Side rotors.
  for (double side : {-1.0, 1.0}) {
    double rx = cx + side * r * 0.75;
    cairo_new_path(cr);
    cairo_move_to(cr, cx + side * r * 0.3, cy);
    cairo_line_to(cr, rx, cy - r * 0.25);
    SetColor(cr, Palette::Outline);
    cairo_set_line_width(cr, r * 0.1);
    cairo_stroke(cr);
    PathEllipse(cr, rx, cy - r * 0.3, r * 0.28, r * 0.07);
    FillFlat(cr, Color{0.8, 0.9, 1, 0.7}, ow);
    Glow(cr, rx, cy - r * 0.05, r * 0.22, Palette::Jet, 0.9);
  }
  // Body sphere with a cyan eye.
  PathEllipse(cr, cx, cy, r * 0.42, r * 0.38);
  FillShaded(cr, Hex(0xDDE4EE), cx - r * 0.42, cy - r * 0.38, r * 0.84, r * 0.76, ow);
  PathEllipse(cr, cx, cy + r * 0.08, r * 0.42, r * 0.1);
  SetColor(cr, Hex(0x5B6C88));
  cairo_fill(cr);
  Glow(cr, cx + r * 0.1, cy - r * 0.05, r * 0.22, Palette::Jet, 1.0);
  PathEllipse(cr, cx + r * 0.1, cy - r * 0.05, r * 0.12, r * 0.12);
  FillFlat(cr, Hex(0xCFF6FF), ow * 0.8);
}

void Beam(cairo_t* cr, double x0, double x1, double cy, double halfCore, double halfGlow, const Color& c,
          bool emitterAtRight) {
  double L = x1 - x0;
  cairo_pattern_t* p = cairo_pattern_create_linear(0, cy - halfGlow, 0, cy + halfGlow);
  cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, 0);
  cairo_pattern_add_color_stop_rgba(p, 0.5, c.r, c.g, c.b, 0.75);
  cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0);
  cairo_set_source(cr, p);
  cairo_rectangle(cr, x0, cy - halfGlow, L, 2 * halfGlow);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  PathRoundRect(cr, x0, cy - halfCore, L, 2 * halfCore, halfCore);
  SetColor(cr, Lighter(c, 0.45));
  cairo_fill(cr);
  PathRoundRect(cr, x0 + 2, cy - halfCore * 0.45, L - 4, halfCore * 0.9, halfCore * 0.45);
  SetColor(cr, Color{1, 1, 1, 0.95});
  cairo_fill(cr);
  (void)emitterAtRight;
}

void Arrow(cairo_t* cr, double x, double y, double s, const Color& fill) {
  double k = s / 32.0;
  PathPolygon(cr, {x + 1 * k, y + 1 * k, x + 1 * k, y + 24 * k, x + 7 * k, y + 18.5 * k, x + 11.5 * k, y + 28 * k,
                   x + 16 * k, y + 26 * k, x + 11.5 * k, y + 17 * k, x + 19 * k, y + 17 * k});
  FillFlat(cr, fill, 2 * k, Palette::Outline);
}

void Checkmark(cairo_t* cr, double cx, double cy, double s, const Color& c) {
  cairo_new_path(cr);
  cairo_move_to(cr, cx - s * 0.4, cy);
  cairo_line_to(cr, cx - s * 0.1, cy + s * 0.3);
  cairo_line_to(cr, cx + s * 0.45, cy - s * 0.35);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  SetColor(cr, Palette::Outline);
  cairo_set_line_width(cr, s * 0.26);
  cairo_stroke_preserve(cr);
  SetColor(cr, c);
  cairo_set_line_width(cr, s * 0.15);
  cairo_stroke(cr);
}

}  // namespace AssetGen
