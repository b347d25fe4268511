// Every sprite sheet under Resources/Animations: its grid, its frame size and how each frame is drawn.
#include "AssetGen.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace AssetGen {
namespace {

using DrawFrame = std::function<void(cairo_t* cr, int frame, double w, double h)>;

struct Sheet {
  const char* stem;
  int columns, rows, frames, frameWidth, frameHeight;
  DrawFrame draw;
};

// ---------------------------------------------------------------- small helpers

TextStyle Words(double size, const Color& fill = Hex(0xFFFFFF), double maxWidth = 0) {
  TextStyle s;
  s.size = size;
  s.fill = fill;
  s.outlineWidth = std::max(1.5, size * 0.07);
  s.maxWidth = maxWidth;
  return s;
}

void Clear(cairo_t* cr, double x, double y, double w, double h) {
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
  cairo_restore(cr);
}

// A night city backdrop: sky, far hazy skyline, near skyline.
void CityBackdrop(cairo_t* cr, double w, double h, uint32_t seed, bool moon, double darkness) {
  NightSky(cr, w, h, seed, static_cast<int>(w * h / 2600), moon, 0.78, 0.2, h * 0.07);
  Skyline(cr, w, h, h * 0.25, h * 0.5, 50, 120, Mix(Hex(0x3A3C62), Palette::NightBottom, 0.4), 0.12, seed + 1, false);
  Skyline(cr, w, h, h * 0.12, h * 0.35, 70, 160, Palette::Skyline, 0.3, seed + 2, false);
  if (darkness > 0) {
    cairo_rectangle(cr, 0, 0, w, h);
    SetColor(cr, Color{0.02, 0.03, 0.07, darkness});
    cairo_fill(cr);
  }
}

// A seamless road strip: dashes repeat with a period that divides the width.
void RoadStrip(cairo_t* cr, double w, double y, double h, double period) {
  VerticalGradient(cr, 0, y, w, h, Hex(0x3C3F52), Hex(0x23252F));
  cairo_rectangle(cr, 0, y, w, std::max(2.0, h * 0.1));
  SetColor(cr, Hex(0x9AA0B8));
  cairo_fill(cr);
  cairo_rectangle(cr, 0, y + h - std::max(2.0, h * 0.08), w, std::max(2.0, h * 0.08));
  SetColor(cr, Hex(0x15161E));
  cairo_fill(cr);
  for (double x = 0; x < w - 1; x += period) {
    cairo_rectangle(cr, x + period * 0.2, y + h * 0.46, period * 0.5, std::max(2.0, h * 0.1));
    SetColor(cr, Hex(0xF2D35B, 0.9));
    cairo_fill(cr);
  }
}

// A bright pixel of the building windows for story panels.
void StreetLamp(cairo_t* cr, double x, double baseY, double h) {
  cairo_rectangle(cr, x - 2, baseY - h, 4, h);
  SetColor(cr, Hex(0x1B1D2A));
  cairo_fill(cr);
  cairo_rectangle(cr, x - 2, baseY - h, 18, 4);
  cairo_fill(cr);
  GlowEllipse(cr, x + 14, baseY - h + 8, 40, 50, Hex(0xFFE9A0, 0.55));
  PathEllipse(cr, x + 14, baseY - h + 5, 6, 3);
  SetColor(cr, Hex(0xFFF4C8));
  cairo_fill(cr);
}

// Comic-panel frame with an optional caption strip along the top.
void PanelFrame(cairo_t* cr, double w, double h, const char* caption) {
  if (caption) {
    double size = 22, pad = 10;
    double tw = TextWidth(cr, caption, size);
    PathRoundRect(cr, 10, 8, tw + 2 * pad, size + 14, 4);
    FillFlat(cr, Hex(0xF6E7B0), 2);
    TextStyle s;
    s.size = size;
    s.fill = Hex(0x1A1A22);
    s.anchor = 0;
    DrawText(cr, caption, 10 + pad, 8 + size + 2, s);
  }
  cairo_rectangle(cr, 2.5, 2.5, w - 5, h - 5);
  SetColor(cr, Palette::Outline);
  cairo_set_line_width(cr, 5);
  cairo_stroke(cr);
}

// A page of lines: a title and body lines starting at y, wrapped inside width.
void TextPage(cairo_t* cr, double x, double y, double width, const std::string& title,
              const std::vector<std::string>& lines, double titleSize, double bodySize, double gap) {
  TextStyle t = Words(titleSize, Hex(0xFFD66B), width);
  DrawText(cr, title, x + width / 2, y + titleSize, t);
  double by = y + titleSize * 1.9 + bodySize;
  for (const std::string& line : lines) {
    TextStyle b = Words(bodySize, Hex(0xFFFFFF), width - 40);
    b.anchor = 0;
    // A line starting with '+' continues the previous point: no bullet, less space above.
    bool continuation = !line.empty() && line[0] == '+';
    if (continuation) {
      by -= gap * 0.6;
    } else {
      PathEllipse(cr, x + 26, by - bodySize * 0.35, bodySize * 0.18, bodySize * 0.18);
      SetColor(cr, Palette::Jet);
      cairo_fill(cr);
    }
    DrawText(cr, continuation ? line.substr(1) : line, x + 44, by, b);
    by += bodySize + gap;
  }
}

Color Clothes(int i) {
  const uint32_t c[] = {0xFF7A3D, 0x3DA5FF, 0xFFD23D, 0xC05BFF, 0x3DE08A, 0xFF5B9A};
  return Hex(c[i % 6]);
}

// Runs a person drawing squeezed horizontally (slim frames).
void SlimPerson(cairo_t* cr, double cx, double footY, double h, double squeeze, const Color& shirt,
                const Color& trousers, const Color& skin, int pose) {
  cairo_save(cr);
  cairo_translate(cr, cx, 0);
  cairo_scale(cr, squeeze, 1);
  Person(cr, 0, footY, h, shirt, trousers, skin, pose);
  cairo_restore(cr);
}

// Pixel position of a world offset from the frame centre (y up).
double PX(double w, double wx) { return w / 2 + wx; }
double PY(double h, double wy) { return h / 2 - wy; }

// ---------------------------------------------------------------- the sheets

std::vector<Sheet> AllSheets() {
  std::vector<Sheet> s;

  // ---- L0 logos
  s.push_back({"back", 1, 1, 1, 1280, 720, [](cairo_t* cr, int, double w, double h) {
    VerticalGradient(cr, 0, 0, w, h, Hex(0x070D18), Hex(0x17264A));
    Stars(cr, 0, 0, w, h, 11, 260, 1.3);
  }});
  s.push_back({"qln", 1, 1, 1, 800, 180, [](cairo_t* cr, int, double w, double) {
    // Quill emblem left of the word.
    cairo_save(cr);
    cairo_translate(cr, 150, 90);
    cairo_rotate(cr, -0.5);
    cairo_new_path(cr);
    cairo_move_to(cr, 0, 60);
    cairo_curve_to(cr, -30, 10, -18, -50, 0, -70);
    cairo_curve_to(cr, 18, -50, 30, 10, 0, 60);
    cairo_close_path(cr);
    FillShaded(cr, Hex(0x7FB8FF), -30, -70, 60, 130, 3);
    cairo_move_to(cr, 0, 60);
    cairo_line_to(cr, 0, -55);
    SetColor(cr, Palette::Outline);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    cairo_restore(cr);
    TextStyle t = Words(88, Hex(0xFFFFFF), 520);
    t.outlineWidth = 3;
    DrawText(cr, "QUILLON", w / 2 + 60, 100, t);
    TextStyle sub = Words(26, Hex(0x9CCBFF), 520);
    DrawText(cr, "2D GAME FRAMEWORK", w / 2 + 60, 146, sub);
  }});
  s.push_back({"studio", 1, 1, 1, 1280, 372, [](cairo_t* cr, int, double w, double h) {
    // Abstract emblem: a hexagon with a chevron, and the name beside it; the two together are
    // centred on the sheet, so the logo sits in the middle of the screen.
    const std::string name = "VELKOR STUDIO";
    TextStyle t = Words(96, Hex(0xFFFFFF), 800);
    t.anchor = 0;
    t.outlineWidth = 3;
    const double r = 130, emblemHalf = r * std::cos(M_PI / 6), gap = 55;
    // As wide as DrawText will draw it: the words shrink to fit their largest width.
    const double textWidth = std::min(TextWidth(cr, name, t.size, t.bold), t.maxWidth);
    const double left = (w - (2 * emblemHalf + gap + textWidth)) / 2;
    double cx = left + emblemHalf, cy = h / 2;
    std::vector<double> hex;
    for (int i = 0; i < 6; ++i) {
      hex.push_back(cx + r * std::cos(M_PI / 6 + i * M_PI / 3));
      hex.push_back(cy + r * std::sin(M_PI / 6 + i * M_PI / 3));
    }
    Glow(cr, cx, cy, r * 1.5, Hex(0x3FD2FF, 0.35));
    PathPolygon(cr, hex);
    FillShaded(cr, Hex(0x2F6FD6), cx - r, cy - r, 2 * r, 2 * r, 5);
    PathPolygon(cr, {cx - 70, cy - 55, cx - 30, cy - 55, cx, cy + 20, cx + 30, cy - 55, cx + 70, cy - 55, cx, cy + 75});
    FillShaded(cr, Hex(0xFFFFFF), cx - 70, cy - 55, 140, 130, 4);
    DrawText(cr, name, cx + emblemHalf + gap, cy + 35, t);
  }});
  s.push_back({"Logo", 1, 1, 1, 1286, 722, [](cairo_t* cr, int, double w, double h) {
    cairo_pattern_t* p = cairo_pattern_create_radial(w / 2, h * 0.42, 40, w / 2, h / 2, w * 0.7);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.16, 0.24, 0.42);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.03, 0.05, 0.1);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    double cx = w / 2, cy = 270, r = 150;
    Glow(cr, cx, cy, r * 1.6, Hex(0xE5433A, 0.35));
    PathEllipse(cr, cx, cy, r, r);
    FillShaded(cr, Hex(0x1B2A4A), cx - r, cy - r, 2 * r, 2 * r, 6);
    PathEllipse(cr, cx, cy, r - 14, r - 14);
    SetColor(cr, Hex(0xFFC928));
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
    Car(cr, cx - 120, cy + 35, 240, 2, true, 1);
    TextStyle t = Words(92, Hex(0xFFFFFF), 1100);
    t.outlineWidth = 3;
    DrawText(cr, "VELKOR TEAM", cx, 560, t);
    DrawText(cr, "presents", cx, 630, Words(40, Hex(0xA8C8FF)));
  }});

  // ---- L1 story
  s.push_back({"StoryBack", 1, 1, 1, 1280, 720, [](cairo_t* cr, int, double w, double h) {
    SetColor(cr, Hex(0x1C1A26));
    cairo_paint(cr);
    // Halftone dots, denser towards the bottom.
    for (double y = 6; y < h; y += 12)
      for (double x = 6 + (static_cast<int>(y / 12) % 2) * 6; x < w; x += 12) {
        double r = 0.8 + 2.2 * (y / h);
        cairo_arc(cr, x, y, r, 0, 2 * M_PI);
        SetColor(cr, Hex(0x2C2A3C));
        cairo_fill(cr);
      }
    // Panel gutters: light lines splitting the page.
    SetColor(cr, Hex(0x3A3650));
    cairo_set_line_width(cr, 10);
    cairo_move_to(cr, 0, 450);
    cairo_line_to(cr, w, 450);
    cairo_move_to(cr, 640, 0);
    cairo_line_to(cr, 640, 450);
    cairo_stroke(cr);
    cairo_rectangle(cr, 5, 5, w - 10, h - 10);
    cairo_stroke(cr);
  }});
  s.push_back({"Animation3", 1, 1, 1, 700, 414, [](cairo_t* cr, int, double w, double) {
    Saucer(cr, w / 2, 292, 335, 168, Palette::DomeCyan, 7);
  }});
  s.push_back({"Animation1", 1, 1, 1, 604, 404, [](cairo_t* cr, int, double w, double h) {
    NightSky(cr, w, h, 21, 120, true, 0.8, 0.25, 26);
    Skyline(cr, w, h - 70, 90, 230, 50, 110, Palette::Skyline, 0.35, 22, false);
    cairo_rectangle(cr, 0, h - 70, w, 70);
    SetColor(cr, Hex(0x2A2C3A));
    cairo_fill(cr);
    cairo_rectangle(cr, 0, h - 70, w, 6);
    SetColor(cr, Hex(0x6C7090));
    cairo_fill(cr);
    for (double x = 30; x < w; x += 150) StreetLamp(cr, x, h - 70, 120);
    PanelFrame(cr, w, h, "One quiet night...");
  }});
  s.push_back({"Animation4", 1, 1, 1, 1234, 242, [](cairo_t* cr, int, double w, double h) {
    NightSky(cr, w, h, 31, 160, false);
    Skyline(cr, w, 170, 30, 110, 40, 90, Mix(Palette::Skyline, Palette::NightBottom, 0.4), 0.2, 32, false);
    RoadStrip(cr, w, 170, h - 170, 123.4);
    PanelFrame(cr, w, h, "One driver fought back.");
  }});
  s.push_back({"Animation2", 1, 1, 1, 604, 404, [](cairo_t* cr, int, double w, double h) {
    VerticalGradient(cr, 0, 0, w, h, Hex(0x1A0E1E), Hex(0x6A2A2A));
    Stars(cr, 0, 0, w, h * 0.4, 41, 50);
    Glow(cr, w * 0.3, h * 0.55, 160, Hex(0xFF8A1F, 0.45));
    Skyline(cr, w, h - 60, 110, 250, 60, 120, Hex(0x2E2438), 0.25, 42, false);
    // Smoke columns.
    for (int i = 0; i < 3; ++i) {
      double x = 90 + i * 200;
      for (int k = 0; k < 5; ++k) {
        PathEllipse(cr, x + k * 12, h - 160 - k * 45, 30 + k * 8, 24 + k * 6);
        SetColor(cr, Color{0.3, 0.28, 0.32, 0.35});
        cairo_fill(cr);
      }
    }
    // Paved square.
    VerticalGradient(cr, 0, h - 60, w, 60, Hex(0x4A4050), Hex(0x2A2430));
    for (double x = -40; x < w + 40; x += 40) {
      cairo_move_to(cr, x, h - 60);
      cairo_line_to(cr, x - 30, h);
    }
    SetColor(cr, Color{0, 0, 0, 0.3});
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    PanelFrame(cr, w, h, "They came for everyone.");
  }});
  s.push_back({"Animation5", 2, 1, 2, 380, 100, [](cairo_t* cr, int f, double, double) {
    Car(cr, 20, 84, 340, 0, f == 1, f);
  }});
  s.push_back({"Animation7", 1, 1, 1, 500, 828, [](cairo_t* cr, int, double w, double h) {
    // Pale tractor glow below the saucer.
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 240, 0, h);
    cairo_pattern_add_color_stop_rgba(p, 0, 0.75, 1.0, 0.85, 0.55);
    cairo_pattern_add_color_stop_rgba(p, 1, 0.75, 1.0, 0.85, 0.0);
    cairo_set_source(cr, p);
    PathPolygon(cr, {w / 2 - 90, 250, w / 2 + 90, 250, w - 10, h, 10, h});
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    Saucer(cr, w / 2, 190, 240, 105, Palette::DomeGreen, 5);
  }});
  s.push_back({"Animation11", 1, 1, 1, 656, 700, [](cairo_t* cr, int, double w, double h) {
    Person(cr, w / 2, h - 10, 620, Clothes(0), Hex(0x2E4A8A), Hex(0xF0C090), 1);
  }});
  s.push_back({"Animation6", 1, 1, 1, 1234, 30, [](cairo_t* cr, int, double w, double) {
    // The story lays this strip over rows 195 to 225 of the third panel (Animation4), whose road
    // starts at row 170: it is that very slice of the road, so the two pieces meet without a seam
    // and their lane markings are one.
    RoadStrip(cr, w, 170 - 195, 242 - 170, 123.4);
  }});
  s.push_back({"Animation10", 2, 2, 4, 930, 900, [](cairo_t* cr, int f, double w, double h) {
    // The story turns this cone and sets it in its panel with its narrow end up: the cone starts
    // this far below the frame's top, fading in, so that end stays inside the panel's border.
    const double top = 200;
    const double bottom = h - 10;
    const double leftAtTop = w / 2 - 60 - (w / 2 - 80) * top / bottom;
    cairo_save(cr);
    PathPolygon(cr, {leftAtTop, top, w - leftAtTop, top, w - 20, bottom, 20, bottom});
    cairo_clip(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, top, 0, h);
    cairo_pattern_add_color_stop_rgba(p, 0, 0.7, 1.0, 0.85, 0.0);
    cairo_pattern_add_color_stop_rgba(p, 0.18, 0.7, 1.0, 0.85, 0.6);
    cairo_pattern_add_color_stop_rgba(p, 1, 0.55, 0.95, 1.0, 0.12);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    // Shimmer bands travelling down, below the faded narrow end.
    for (double y = -200 + f * 45; y < h; y += 180) {
      const double from = std::max(y, top + 60);
      if (y + 50 <= from) continue;
      cairo_rectangle(cr, 0, from, w, y + 50 - from);
      SetColor(cr, Color{1, 1, 1, 0.13});
      cairo_fill(cr);
    }
    Random rnd(100 + f);
    for (int i = 0; i < 40; ++i) {
      double y = rnd.Range(top + 60, h), x = w / 2 + (rnd.Uniform() - 0.5) * (120 + y * 0.9);
      Glow(cr, x, y, rnd.Range(5, 14), Color{1, 1, 1, 0.6});
    }
    cairo_restore(cr);
  }});
  s.push_back({"Animation12", 2, 1, 2, 1000, 168, [](cairo_t* cr, int f, double w, double h) {
    Random rnd(200 + f);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 22; ++i) {
      double y = rnd.Range(8, h - 8), len = rnd.Range(120, 420), x = rnd.Range(0, w - len);
      cairo_pattern_t* p = cairo_pattern_create_linear(x, 0, x + len, 0);
      cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 0);
      cairo_pattern_add_color_stop_rgba(p, 1, 1, 1, 1, rnd.Range(0.35, 0.8));
      cairo_set_source(cr, p);
      cairo_set_line_width(cr, rnd.Range(2, 6));
      cairo_move_to(cr, x, y);
      cairo_line_to(cr, x + len, y);
      cairo_stroke(cr);
      cairo_pattern_destroy(p);
    }
  }});
  s.push_back({"Animation8", 1, 1, 1, 510, 74, [](cairo_t* cr, int, double w, double h) {
    Beam(cr, 6, w - 6, h / 2, 9, 34, Hex(0xFF2A2A), false);
  }});
  s.push_back({"Animation9", 2, 2, 4, 588, 698, [](cairo_t* cr, int f, double w, double h) {
    Flame(cr, w / 2, h - 60, w * 0.82, h * 0.88, f);
  }});
  s.push_back({"child", 2, 1, 2, 98, 300, [](cairo_t* cr, int f, double w, double h) {
    SlimPerson(cr, w / 2, h - 6, 230, 0.8, Clothes(2), Hex(0x2E4A8A), Hex(0xF3C9A0), f == 0 ? 2 : 4);
  }});
  s.push_back({"adult", 2, 1, 2, 120, 368, [](cairo_t* cr, int f, double w, double h) {
    SlimPerson(cr, w / 2, h - 6, 290, 0.78, Clothes(1), Hex(0x3A3A48), Hex(0xD9A27A), f == 0 ? 2 : 4);
  }});

  // ---- L2 main menu
  s.push_back({"MenuBg", 1, 1, 1, 800, 600, [](cairo_t* cr, int, double w, double h) {
    NightSky(cr, w, h, 51, 260, true, 0.75, 0.22, 42);
  }});
  s.push_back({"MenuBuilding", 1, 1, 1, 800, 600, [](cairo_t* cr, int, double w, double h) {
    Skyline(cr, w, h, 160, 330, 50, 100, Mix(Palette::Skyline, Palette::NightBottom, 0.45), 0.15, 52, false);
    Skyline(cr, w, h, 90, 250, 70, 140, Palette::Skyline, 0.35, 53, false);
  }});
  s.push_back({"Dimmer", 1, 1, 1, 1280, 720, [](cairo_t* cr, int, double, double) {
    SetColor(cr, Hex(0x000000));
    cairo_paint(cr);
  }});
  s.push_back({"RedBtn", 1, 1, 1, 262, 72, [](cairo_t* cr, int, double w, double h) {
    Plate(cr, 0, 0, w, h, 22, Palette::PlateRed);
  }});
  s.push_back({"BlueBtn", 1, 1, 1, 166, 40, [](cairo_t* cr, int, double, double) {
    Plate(cr, 0, 0, 165, 34, 11, Palette::PlateBlue);
  }});
  s.push_back({"MenuPlatform", 1, 1, 1, 1280, 36, [](cairo_t* cr, int, double w, double h) {
    RoadStrip(cr, w, 0, h, 128);
  }});
  s.push_back({"Car", 2, 2, 3, 144, 100, [](cairo_t* cr, int f, double, double) {
    Car(cr, 34, 59, 89, f, false);
  }});
  s.push_back({"LoadingScreen", 1, 1, 1, 800, 600, [](cairo_t* cr, int, double w, double h) {
    CityBackdrop(cr, w, h, 61, true, 0.35);
    Panel(cr, 150, 150, 500, 300, 24, 0.8);
    TextStyle t = Words(84, Hex(0xFFFFFF), 440);
    t.outlineWidth = 4;
    DrawText(cr, "VELKOR", w / 2, 260, t);
    DrawText(cr, "LOADING...", w / 2, 330, Words(34, Hex(0xFFD66B)));
    DrawText(cr, "Tip: hold SPACE to hover", w / 2, 400, Words(22, Hex(0xA8D8FF), 440));
    Car(cr, w / 2 - 60, 505, 120, 0, true, 1);
  }});
  s.push_back({"Op_bg", 1, 1, 1, 50, 50, [](cairo_t* cr, int, double w, double h) {
    PathRoundRect(cr, 0.5, 0.5, w - 1, h - 1, 7);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, h);
    // Opaque: the menu under the overlay must not show through it.
    cairo_pattern_add_color_stop_rgba(p, 0, 0.16, 0.24, 0.42, 1.0);
    cairo_pattern_add_color_stop_rgba(p, 1, 0.07, 0.11, 0.22, 1.0);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    PathRoundRect(cr, 1.5, 1.5, w - 3, h - 3, 6);
    SetColor(cr, Color{0.65, 0.8, 1.0, 0.9});
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
  }});
  s.push_back({"Op_CheckBox", 2, 1, 2, 34, 34, [](cairo_t* cr, int f, double w, double h) {
    PathRoundRect(cr, 3, 3, w - 6, h - 6, 6);
    FillShaded(cr, Hex(0xE8EEF8), 3, 3, w - 6, h - 6, 2.5);
    if (f == 1) Checkmark(cr, w / 2, h / 2, 24, Palette::PlateGreen);
  }});
  s.push_back({"Op_SoundMuter", 2, 1, 2, 34, 34, [](cairo_t* cr, int f, double, double) {
    PathPolygon(cr, {4, 13, 10, 13, 18, 6, 18, 28, 10, 21, 4, 21});
    FillShaded(cr, Hex(0xE8EEF8), 4, 6, 14, 22, 2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    if (f == 0) {
      for (int i = 0; i < 2; ++i) {
        cairo_new_path(cr);
        cairo_arc(cr, 18, 17, 6 + i * 6, -0.9, 0.9);
        SetColor(cr, Palette::Outline);
        cairo_set_line_width(cr, 4.5);
        cairo_stroke_preserve(cr);
        SetColor(cr, Hex(0x8CE0FF));
        cairo_set_line_width(cr, 2.2);
        cairo_stroke(cr);
      }
    } else {
      for (int k = 0; k < 2; ++k) {
        cairo_new_path(cr);
        cairo_move_to(cr, 21, 11);
        cairo_line_to(cr, 31, 23);
        cairo_move_to(cr, 31, 11);
        cairo_line_to(cr, 21, 23);
        SetColor(cr, k == 0 ? Palette::Outline : Hex(0xFF5050));
        cairo_set_line_width(cr, k == 0 ? 5.5 : 3);
        cairo_stroke(cr);
      }
    }
  }});
  s.push_back({"MousePoint", 1, 1, 1, 32, 32, [](cairo_t* cr, int, double, double) {
    Arrow(cr, 0, 0, 32, Hex(0xFFFFFF));
  }});

  // ---- L3 instructions
  s.push_back({"InstBg", 1, 1, 1, 1280, 720, [](cairo_t* cr, int, double w, double h) {
    CityBackdrop(cr, w, h, 71, true, 0.45);
    cairo_rectangle(cr, 0, 0, w, 140);
    SetColor(cr, Color{0.03, 0.05, 0.1, 0.6});
    cairo_fill(cr);
    TextStyle t = Words(72, Hex(0xFFFFFF));
    t.outlineWidth = 4;
    DrawText(cr, "INSTRUCTIONS", w / 2, 98, t);
  }});
  s.push_back({"InstPagess", 1, 3, 3, 1062, 524, [](cairo_t* cr, int f, double w, double h) {
    (void)h;
    // The panel ends above the strip of the screen's three buttons, which lie under the page.
    Panel(cr, 4, 4, w - 8, 442, 26, 0.92);
    struct Page { const char* title; std::vector<std::string> lines; };
    const Page pages[3] = {
        {"CONTROLS",
         {"Hold SPACE: hover", "Mouse: aim", "Left click: shoot", "Hold right click: drop through platforms",
          "A: special attack", "S: AI friend", "D: use power-up", "P or Esc: pause"}},
        {"ON THE ROAD",
         {"Drive as far as you can.", "Shoot aliens before they shoot you.",
          "Drive into civilians to rescue them: +1 gear each.", "Health pots repair your car.",
          "Power-ups: Barrier, Multi Bullet, Speed Boost.", "+Press D to use one."}},
        {"UFOS AND THE GARAGE",
         {"A warning sign announces every UFO wave.", "Every fifth wave brings the mothership: 100 gears.",
          "Spend gears in the Garage on armour, guns,", "+special attacks and an AI friend.",
          "Some items need a best distance first."}}};
    const Page& p = pages[f];
    double body = f == 0 ? 27 : 28, gap = f == 0 ? 14 : 22;
    TextPage(cr, 40, 24, w - 80, p.title, p.lines, 50, body, gap);
    // Page number dots above the button strip (rows 450-523 stay plain).
    for (int i = 0; i < 3; ++i) {
      PathEllipse(cr, w - 120 + i * 30, 420, 7, 7);
      FillFlat(cr, i == f ? Hex(0xFFD66B) : Hex(0x4A5878), 2);
    }
  }});

  // ---- L4 credits
  s.push_back({"BG", 1, 1, 1, 1280, 720, [](cairo_t* cr, int, double w, double h) {
    CityBackdrop(cr, w, h, 81, true, 0.3);
  }});
  s.push_back({"CreditsPic", 1, 1, 1, 1280, 720, [](cairo_t* cr, int, double w, double h) {
    CityBackdrop(cr, w, h, 91, false, 0.55);
    Panel(cr, 190, 40, 900, 560, 30, 0.88);
    TextStyle title = Words(64, Hex(0xFFD66B));
    title.outlineWidth = 3;
    DrawText(cr, "CREDITS", w / 2, 120, title);
    TextStyle big = Words(56, Hex(0xFFFFFF));
    big.outlineWidth = 3;
    DrawText(cr, "VELKOR", w / 2, 210, big);
    const char* lines[] = {"A game by the Velkor team", "Built on the Quillon 2D framework",
                           "Pictures, fonts, sounds and music made", "by our own asset generator",
                           "Glyphs rasterised from DejaVu Sans"};
    double y = 280;
    for (const char* l : lines) {
      DrawText(cr, l, w / 2, y, Words(30, Hex(0xDDE8FF), 820));
      y += 50;
    }
    DrawText(cr, "Thank you for playing!", w / 2, 560, Words(36, Hex(0x8CF08C)));
  }});

  // ---- L5 tutorial
  s.push_back({"Animation13", 1, 1, 1, 1280, 720, [](cairo_t* cr, int, double w, double h) {
    VerticalGradient(cr, 0, 0, w, h, Hex(0x1A2A4A), Hex(0x4A3A66));
    Stars(cr, 0, 0, w, h * 0.4, 131, 120);
    // Training hangars and a grid floor.
    for (int i = 0; i < 4; ++i) {
      double x = 40 + i * 320, bw = 260, bh = 200 + (i % 2) * 60;
      cairo_new_path(cr);
      cairo_move_to(cr, x, h - 150);
      cairo_line_to(cr, x, h - 150 - bh * 0.7);
      cairo_curve_to(cr, x + bw * 0.1, h - 150 - bh, x + bw * 0.9, h - 150 - bh, x + bw, h - 150 - bh * 0.7);
      cairo_line_to(cr, x + bw, h - 150);
      cairo_close_path(cr);
      FillShaded(cr, Hex(0x3A4262), x, h - 150 - bh, bw, bh, 3);
      cairo_rectangle(cr, x + bw * 0.3, h - 150 - bh * 0.45, bw * 0.4, bh * 0.45);
      FillFlat(cr, Hex(0x22283E), 2);
      GlowEllipse(cr, x + bw / 2, h - 150 - bh * 0.5, 30, 14, Hex(0xFFD66B, 0.8));
    }
    VerticalGradient(cr, 0, h - 150, w, 150, Hex(0x2A3048), Hex(0x151826));
    SetColor(cr, Color{0.25, 0.85, 1.0, 0.25});
    cairo_set_line_width(cr, 2);
    for (double x = 0; x <= w; x += 80) {
      cairo_move_to(cr, x, h - 150);
      cairo_line_to(cr, w / 2 + (x - w / 2) * 2.2, h);
    }
    for (double y = h - 150; y < h; y += 30) {
      cairo_move_to(cr, 0, y);
      cairo_line_to(cr, w, y);
    }
    cairo_stroke(cr);
  }});
  s.push_back({"HealthPot0", 1, 1, 1, 54, 76, [](cairo_t* cr, int, double w, double h) {
    HealthPot(cr, PX(w, 0.5), PY(h, 0.5), 1.0);
  }});
  s.push_back({"Civil0", 2, 2, 3, 38, 80, [](cairo_t* cr, int f, double w, double h) {
    double lift = f == 2 ? 4 : 0;
    Person(cr, w / 2, PY(h, -27) - lift, 52, Clothes(3), Hex(0x2E3A5A), Hex(0xE8B890), f == 0 ? 4 : 3);
  }});
  s.push_back({"Animation17", 1, 1, 1, 60, 60, [](cairo_t* cr, int, double w, double h) {
    PowerUp(cr, w / 2, h / 2, 56, 0);
  }});
  s.push_back({"Animation14", 2, 1, 2, 360, 96, [](cairo_t* cr, int f, double w, double h) {
    Plate(cr, 6, 8, w - 12, h - 16, 20, f == 0 ? Palette::PlateBlue : Hex(0xFFC928));
    TextStyle t = Words(50, f == 0 ? Hex(0xFFFFFF) : Hex(0x1A2A5A), w - 50);
    t.outline = f == 0 ? Palette::Outline : Hex(0xFFF2C0);
    DrawTextCentred(cr, "TRAINING", w / 2, h / 2, t);
  }});
  s.push_back({"Animation18", 1, 1, 1, 600, 396, [](cairo_t* cr, int, double w, double h) {
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, w / 2, h - 4);
    cairo_scale(cr, w / 2 - 6, h - 10);
    cairo_arc(cr, 0, 0, 1, M_PI, 2 * M_PI);
    cairo_close_path(cr);
    cairo_restore(cr);
    cairo_pattern_t* p = cairo_pattern_create_radial(w / 2, h, 0, w / 2, h, w / 2);
    cairo_pattern_add_color_stop_rgba(p, 0, 0.25, 0.82, 1, 0.12);
    cairo_pattern_add_color_stop_rgba(p, 0.8, 0.25, 0.82, 1, 0.3);
    cairo_pattern_add_color_stop_rgba(p, 1, 0.6, 0.95, 1, 0.75);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    SetColor(cr, Color{0.7, 0.97, 1, 0.9});
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
    PathEllipse(cr, w * 0.33, h * 0.35, 70, 30);
    SetColor(cr, Color{1, 1, 1, 0.3});
    cairo_fill(cr);
  }});
  s.push_back({"Animation20", 2, 2, 3, 200, 64, [](cairo_t* cr, int f, double w, double h) {
    const char* a[3] = {"OUCH!", "+HEALTH", "RESCUED!"};
    const char* b[3] = {"-Durability", nullptr, "+1 GEAR"};
    const Color c[3] = {Hex(0xFF6A5A), Hex(0x8CF08C), Hex(0xFFD66B)};
    if (b[f]) {
      DrawText(cr, a[f], w / 2, 28, Words(26, c[f], w - 8));
      DrawText(cr, b[f], w / 2, 56, Words(20, Hex(0xFFFFFF), w - 8));
    } else {
      DrawTextCentred(cr, a[f], w / 2, h / 2, Words(32, c[f], w - 8));
    }
  }});
  s.push_back({"Animation21", 1, 1, 1, 1000, 64, [](cairo_t* cr, int, double w, double h) {
    TextStyle t = Words(50, Hex(0xFFD66B), w - 20);
    t.outlineWidth = 3;
    DrawTextCentred(cr, "TRAINING COMPLETE!", w / 2, h / 2, t);
  }});
  s.push_back({"Animation22", 2, 1, 2, 262, 72, [](cairo_t* cr, int f, double w, double h) {
    if (f == 1) Glow(cr, w / 2, h / 2, w * 0.5, Hex(0x8CFF8C, 0.6));
    Plate(cr, 6, 6, w - 12, h - 12, 18, f == 0 ? Palette::PlateBlue : Palette::PlateGreen);
    DrawTextCentred(cr, f == 0 ? "SKIP" : "PLAY", w / 2, h / 2, Words(34, Hex(0xFFFFFF)));
  }});
  auto floatingPlatform = [](cairo_t* cr, double x0, double x1, double h) {
    // Deck top at row 15, hull below with glowing lifters.
    for (double x = x0 + 40; x < x1 - 20; x += 120) GlowEllipse(cr, x, 48, 26, 12, Palette::Jet, 0.9);
    cairo_new_path(cr);
    cairo_move_to(cr, x0, 15);
    cairo_line_to(cr, x1, 15);
    cairo_line_to(cr, x1 - 14, 40);
    cairo_line_to(cr, x0 + 14, 40);
    cairo_close_path(cr);
    FillShaded(cr, Hex(0x6A7494), x0, 15, x1 - x0, 25, 2.5);
    Clear(cr, 0, 0, x1 + 20, 15);  // the deck top is the landing edge: nothing above row 15
    cairo_rectangle(cr, x0, 15, x1 - x0, 5);
    SetColor(cr, Hex(0xC8D4EE));
    cairo_fill(cr);
    for (double x = x0 + 20; x < x1 - 20; x += 40) {
      cairo_rectangle(cr, x, 26, 16, 4);
      SetColor(cr, Hex(0xFFC928, 0.9));
      cairo_fill(cr);
    }
    (void)h;
  };
  s.push_back({"Platform_float0", 1, 1, 1, 2000, 60, [floatingPlatform](cairo_t* cr, int, double w, double h) {
    floatingPlatform(cr, PX(w, -979), PX(w, 928), h);
  }});
  s.push_back({"Animation15", 2, 5, 9, 1000, 64, [](cairo_t* cr, int f, double w, double h) {
    const char* lines[9] = {"Welcome to training! Watch the road...",
                            "Press SPACE to hover and jump!",
                            "You were hit! Aim with the mouse and LEFT CLICK to shoot back.",
                            "Drive into the power-up to pick it up.",
                            "Press D to use your power-up.",
                            "Barrier on! Now grab the health pot.",
                            "Drive into the civilian to rescue them.",
                            "Well done! Click PLAY to start the game.",
                            ""};
    Panel(cr, 2, 2, w - 4, h - 4, 16, 0.85);
    if (lines[f][0]) DrawTextCentred(cr, lines[f], w / 2, h / 2, Words(26, Hex(0xFFFFFF), w - 40));
  }});
  auto playerShot = [](cairo_t* cr, int f, double w, double h) {
    double cx = PX(w, -0.5), cy = PY(h, 0);
    if (f == 0) {
      Bolt(cr, cx, cy, 30, 9, Palette::Jet);
    } else {
      Bolt(cr, cx, cy - 14, 24, 7, Hex(0xFF9A2E));
      Bolt(cr, cx, cy + 14, 24, 7, Hex(0xFF9A2E));
      Bolt(cr, cx, cy, 30, 9, Hex(0xFF9A2E));
    }
  };
  s.push_back({"charBullet0", 2, 1, 2, 80, 80, playerShot});
  s.push_back({"Animation19", 1, 1, 1, 40, 40, [](cairo_t* cr, int, double w, double h) {
    EnergyBall(cr, w / 2, h / 2, 10, Hex(0x6CFF4A));
  }});
  s.push_back({"Car0", 2, 1, 2, 144, 100, [](cairo_t* cr, int f, double, double) {
    Car(cr, 34, 59, 89, 0, f == 1);
  }});
  s.push_back({"Animation16", 1, 1, 1, 54, 74, [](cairo_t* cr, int, double w, double h) {
    Alien(cr, PX(w, 0.5), PY(h, 0.5), 1.0, false);
  }});

  // ---- L6 garage
  s.push_back({"G_bg", 1, 1, 1, 1280, 720, [](cairo_t* cr, int, double w, double h) {
    // Workshop wall: a roll-up door with ribs, warm strip lights, hazard paint along the floor.
    VerticalGradient(cr, 0, 0, w, h, Hex(0x1E2436), Hex(0x0E111C));
    cairo_rectangle(cr, 40, 60, 560, h - 120);
    FillShaded(cr, Hex(0x3A4466), 40, 60, 560, h - 120, 3);
    for (double y = 80; y < h - 70; y += 26) {
      cairo_rectangle(cr, 48, y, 544, 4);
      SetColor(cr, Color{0.05, 0.07, 0.12, 0.55});
      cairo_fill(cr);
      cairo_rectangle(cr, 48, y + 4, 544, 2);
      SetColor(cr, Color{0.75, 0.82, 1, 0.12});
      cairo_fill(cr);
    }
    for (double x = 0; x < w; x += 320) {
      cairo_rectangle(cr, x + 40, 24, 240, 8);
      SetColor(cr, Hex(0xFFD66B, 0.9));
      cairo_fill(cr);
      GlowEllipse(cr, x + 160, 30, 200, 60, Hex(0xFFD66B, 0.35));
    }
    HazardStripes(cr, 0, h - 40, w, 40, 30);
  }});
  s.push_back({"Banner", 1, 1, 1, 502, 120, [](cairo_t* cr, int, double w, double h) {
    // Ribbon tails.
    for (double side : {-1.0, 1.0}) {
      double x = side < 0 ? 4 : w - 4, inner = side < 0 ? 70 : w - 70;
      PathPolygon(cr, {x, 30, inner, 30, inner, 100, x, 100, x - side * -28, 65});
      FillShaded(cr, Darker(Palette::PlateBlue, 0.35), std::min(x, inner), 30, 66, 70, 3);
    }
    Plate(cr, 40, 12, w - 80, h - 34, 14, Palette::PlateBlue);
  }});
  s.push_back({"G_menu_n", 2, 2, 3, 438, 114, [](cairo_t* cr, int f, double w, double h) {
    Panel(cr, 1, 1, w - 2, h - 2, 12, 0.92);
    // Item window. A bought item's picture stands on the dark well in front of the plate; one not
    // yet bought lies behind the plate, seen through clear glass with a faint tint and a sheen, so
    // that the buyer still sees what is on sale.
    PathRoundRect(cr, 6, 6, 116, h - 12, 10);
    if (f == 0) {
      cairo_save(cr);
      cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
      cairo_fill_preserve(cr);
      cairo_restore(cr);
      FillFlat(cr, Color{0.55, 0.65, 0.8, 0.1}, 2, Color{0.8, 0.9, 1, 0.7});
      cairo_save(cr);
      PathRoundRect(cr, 7, 7, 114, h - 14, 9);
      cairo_clip(cr);
      PathPolygon(cr, {60, 7, 84, 7, 40, h - 7, 16, h - 7});
      SetColor(cr, Color{1, 1, 1, 0.12});
      cairo_fill(cr);
      cairo_restore(cr);
    } else {
      FillFlat(cr, Hex(0x0B0F1A), 2, Color{0.8, 0.9, 1, 0.7});
    }
    // State badge: not owned (the price is in the text beside it), owned, equipped.
    double bx = 336, bw = 94;
    if (f == 0) {
      PathRoundRect(cr, bx, 38, bw, 36, 10);
      FillFlat(cr, Hex(0x1A2236), 2, Color{0.62, 0.75, 0.95, 0.8});
      DrawTextCentred(cr, "NOT OWNED", bx + bw / 2, 56, Words(19, Hex(0xC8D4EC), bw - 10));
    } else if (f == 1) {
      PathRoundRect(cr, bx, 38, bw, 36, 10);
      FillShaded(cr, Palette::PlateBlue, bx, 38, bw, 36, 2);
      DrawTextCentred(cr, "OWNED", bx + bw / 2, 56, Words(19, Hex(0xFFFFFF), bw - 6));
    } else {
      Checkmark(cr, bx + bw / 2, 34, 36, Hex(0x8CF08C));
      DrawText(cr, "EQUIPPED", bx + bw / 2, 90, Words(19, Hex(0x8CF08C), 100));
      PathRoundRect(cr, 3, 3, w - 6, h - 6, 11);
      SetColor(cr, Hex(0xFFD66B));
      cairo_set_line_width(cr, 4);
      cairo_stroke(cr);
    }
  }});
  s.push_back({"_____Armour_Set_____", 2, 2, 3, 144, 100, [](cairo_t* cr, int f, double, double) {
    Car(cr, 34, 59, 89, f, false);
  }});
  s.push_back({"______Gun_Set______", 2, 2, 3, 108, 92, [](cairo_t* cr, int f, double, double h) {
    Gun(cr, 31, h / 2, 88, f + 1);
  }});
  s.push_back({"_____Special_Set____", 2, 1, 2, 142, 46, [](cairo_t* cr, int f, double w, double h) {
    if (f == 0) Rocket(cr, 6, w - 6, h / 2, 42);
    else LaserIcon(cr, 6, w - 6, h / 2, 40);
  }});
  s.push_back({"_______AI_Set_______", 1, 1, 1, 114, 114, [](cairo_t* cr, int, double w, double h) {
    Drone(cr, w / 2, h / 2 + 6, 54);
  }});
  s.push_back({"G_bgMAsk", 1, 1, 1, 1280, 720, [](cairo_t* cr, int, double w, double h) {
    // Showroom: dark wall, spotlights, a glossy floor; then the window for the item list is cut out.
    VerticalGradient(cr, 0, 0, w, h, Hex(0x161B2C), Hex(0x0C0F18));
    for (double x = 700; x < w; x += 190) {
      cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, 560);
      cairo_pattern_add_color_stop_rgba(p, 0, 1, 0.95, 0.8, 0.22);
      cairo_pattern_add_color_stop_rgba(p, 1, 1, 0.95, 0.8, 0.0);
      cairo_set_source(cr, p);
      PathPolygon(cr, {x - 10, 0, x + 10, 0, x + 90, 560, x - 90, 560});
      cairo_fill(cr);
      cairo_pattern_destroy(p);
      PathRoundRect(cr, x - 16, 0, 32, 14, 4);
      FillShaded(cr, Hex(0x8E98AE), x - 16, 0, 32, 14, 2);
    }
    VerticalGradient(cr, 600, 540, w - 600, h - 540, Hex(0x2A3048), Hex(0x10131E));
    cairo_rectangle(cr, 600, 540, w - 600, 3);
    SetColor(cr, Hex(0x6A7494));
    cairo_fill(cr);
    // The title stands left of the gear and distance banner, which lies over this picture.
    TextStyle t = Words(34, Hex(0xFFD66B));
    DrawText(cr, "GARAGE", 698, 94, t);
    // Frame around the window.
    PathRoundRect(cr, 30, 20, 560, h + 20, 18);
    SetColor(cr, Hex(0x3A4466));
    cairo_set_line_width(cr, 16);
    cairo_stroke(cr);
    PathRoundRect(cr, 30, 20, 560, h + 20, 18);
    SetColor(cr, Hex(0x8EA4D0));
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    Clear(cr, 40, 30, 541, h - 30);
  }});
  s.push_back({"arrow", 1, 1, 1, 38, 38, [](cairo_t* cr, int, double w, double h) {
    PathEllipse(cr, w / 2, h / 2, 17, 17);
    FillShaded(cr, Palette::PlateBlue, 2, 2, 34, 34, 2.5);
    PathPolygon(cr, {13, 9, 29, 19, 13, 29});
    FillFlat(cr, Hex(0xFFFFFF), 2);
  }});
  s.push_back({"G_carDemo", 2, 2, 3, 512, 362, [](cairo_t* cr, int f, double, double) {
    // Gun mount on a short pylon at (462, 166), where the gun preview hangs.
    cairo_new_path(cr);
    cairo_move_to(cr, 436, 200);
    cairo_line_to(cr, 462, 166);
    SetColor(cr, Palette::Outline);
    cairo_set_line_width(cr, 16);
    cairo_stroke(cr);
    cairo_move_to(cr, 436, 200);
    cairo_line_to(cr, 462, 166);
    SetColor(cr, Hex(0x8E98AE));
    cairo_set_line_width(cr, 10);
    cairo_stroke(cr);
    Car(cr, 26, 250, 450, f, true, 0);
    PathEllipse(cr, 462, 166, 12, 12);
    FillShaded(cr, Hex(0x8E98AE), 450, 154, 24, 24, 3);
  }});
  s.push_back({"CarStand", 1, 1, 1, 596, 142, [](cairo_t* cr, int, double w, double) {
    PathEllipse(cr, w / 2, 92, 290, 44);
    FillShaded(cr, Hex(0x3A4262), 8, 48, w - 16, 88, 3);
    cairo_rectangle(cr, 8, 52, w - 16, 40);
    FillShaded(cr, Hex(0x3A4262), 8, 52, w - 16, 40, 0);
    PathEllipse(cr, w / 2, 52, 290, 44);
    FillShaded(cr, Hex(0x6A7494), 8, 8, w - 16, 88, 3);
    PathEllipse(cr, w / 2, 52, 250, 34);
    SetColor(cr, Hex(0x3FD2FF, 0.8));
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
  }});
  s.push_back({"G_gunDemo", 2, 2, 3, 494, 370, [](cairo_t* cr, int f, double, double h) {
    Gun(cr, 130, h / 2, 460, f + 1);
  }});
  s.push_back({"hudGar", 1, 1, 1, 202, 120, [](cairo_t* cr, int, double w, double h) {
    Panel(cr, 0, 0, w, h, 14, 0.9);
    for (auto well : {std::pair<double, double>{54, 55}, {150, 61}}) {
      PathEllipse(cr, well.first, well.second, 38, 38);
      FillFlat(cr, Hex(0x0B0F1A), 2.5, Hex(0x8EA4D0));
    }
  }});
  s.push_back({"G_diagBox", 1, 1, 1, 420, 220, [](cairo_t* cr, int, double w, double h) {
    Panel(cr, 0, 0, w, h, 22, 0.95);
    cairo_rectangle(cr, 24, 20, w - 48, 4);
    SetColor(cr, Hex(0xFFD66B, 0.9));
    cairo_fill(cr);
  }});
  s.push_back({"G_GreenBtn", 1, 1, 1, 154, 32, [](cairo_t* cr, int, double w, double h) {
    Plate(cr, 0, 0, w, h, 10, Palette::PlateGreen);
  }});
  s.push_back({"G_RedBtn", 1, 1, 1, 154, 32, [](cairo_t* cr, int, double w, double h) {
    Plate(cr, 0, 0, w, h, 10, Palette::PlateRed);
  }});

  // ---- L7 game
  s.push_back({"backgroundMain", 1, 1, 1, 1920, 1080, [](cairo_t* cr, int, double w, double h) {
    NightSky(cr, w, h, 141, 900, true, 0.7, 0.2, 60);
  }});
  s.push_back({"layer3", 1, 1, 1, 1920, 1080, [](cairo_t* cr, int, double w, double h) {
    Skyline(cr, w, h, 300, 580, 70, 150, Mix(Hex(0x34365A), Palette::NightBottom, 0.5), 0.1, 151, true);
  }});
  s.push_back({"layer2", 1, 1, 1, 1920, 1080, [](cairo_t* cr, int, double w, double h) {
    Skyline(cr, w, h, 160, 420, 90, 200, Darker(Palette::Skyline, 0.15), 0.3, 161, true);
  }});
  s.push_back({"buildings", 3, 2, 5, 500, 800, [](cairo_t* cr, int f, double w, double h) {
    Random rnd(170 + f);
    const double widths[5] = {300, 380, 260, 440, 340};
    const double heights[5] = {620, 520, 640, 430, 700};
    const uint32_t colours[5] = {0x343757, 0x3B3252, 0x2E3A58, 0x3A3A4E, 0x33304A};
    Building(cr, (w - widths[f]) / 2, h, widths[f], heights[f], Hex(colours[f]), 0.38, rnd, f % 3);
    if (f % 3 == 2) return;  // the spire is its own antenna
    // Rooftop antenna with a red light.
    double ax = w / 2 + (f % 2 ? 40 : -50), top = h - heights[f] - (f % 3 == 2 ? heights[f] * 0.12 : 0);
    cairo_rectangle(cr, ax - 2, top - 40, 4, 40);
    SetColor(cr, Palette::Outline);
    cairo_fill(cr);
    Glow(cr, ax, top - 42, 9, Hex(0xFF3030), 1.0);
  }});
  s.push_back({"ground", 1, 1, 1, 1440, 224, [](cairo_t* cr, int, double w, double h) {
    // Road surface from row 2, solid ground below.
    RoadStrip(cr, w, 2, 60, 120);
    VerticalGradient(cr, 0, 62, w, h - 62, Hex(0x2A2634), Hex(0x15131C));
    for (double x = 0; x < w; x += 90) {
      cairo_rectangle(cr, x + 4, 74, 82, 36);
      FillShaded(cr, Hex(0x353146), x + 4, 74, 82, 36, 2);
    }
    for (double x = -45; x < w; x += 90) {
      cairo_rectangle(cr, x + 4, 118, 82, 36);
      FillShaded(cr, Hex(0x302C40), x + 4, 118, 82, 36, 2);
    }
    for (double x = 0; x < w; x += 90) {
      cairo_rectangle(cr, x + 4, 162, 82, 36);
      FillShaded(cr, Hex(0x2A2638), x + 4, 162, 82, 36, 2);
    }
  }});
  s.push_back({"HUD_Mounter", 1, 1, 1, 40, 40, [](cairo_t*, int, double, double) {}});
  s.push_back({"Alien", 2, 1, 2, 54, 76, [](cairo_t* cr, int f, double w, double h) {
    Alien(cr, PX(w, 0.5), PY(h, 0.5), 1.0, f == 1);
  }});
  s.push_back({"Platform_float", 1, 1, 1, 200, 60, [floatingPlatform](cairo_t* cr, int, double w, double h) {
    floatingPlatform(cr, PX(w, -80), PX(w, 80), h);
  }});
  s.push_back({"HealthPot", 1, 1, 1, 54, 76, [](cairo_t* cr, int, double w, double h) {
    HealthPot(cr, PX(w, 0.5), PY(h, 0.5), 1.0);
  }});
  s.push_back({"Civil", 2, 2, 3, 38, 80, [](cairo_t* cr, int f, double w, double h) {
    double lift = f == 2 ? 4 : 0;
    Person(cr, w / 2, PY(h, -27) - lift, 52, Clothes(3), Hex(0x2E3A5A), Hex(0xE8B890), f == 0 ? 4 : 3);
  }});
  s.push_back({"PowerConsAnim", 2, 2, 3, 60, 60, [](cairo_t* cr, int f, double w, double h) {
    PowerUp(cr, PX(w, 1), PY(h, -0.5), 56, f);
  }});
  s.push_back({"Explosion", 3, 2, 5, 200, 200, [](cairo_t* cr, int f, double w, double h) {
    double cx = w / 2, cy = h / 2;
    switch (f) {
      case 0:
        // Flash: a white-hot star with short rays.
        Glow(cr, cx, cy, 80, Hex(0xFFF6C0), 1.0);
        cairo_new_path(cr);
        for (int i = 0; i <= 16; ++i) {
          double a = i * M_PI / 8, rr = (i % 2) ? 22 : 58;
          cairo_line_to(cr, cx + std::cos(a) * rr, cy + std::sin(a) * rr);
        }
        cairo_close_path(cr);
        FillFlat(cr, Hex(0xFFFBE0), 2.5, Hex(0xFFB040));
        Glow(cr, cx, cy, 30, Hex(0xFFFFFF), 1.0);
        break;
      case 1: Fireball(cr, cx, cy, 62, 1.0, 0.0, 301); break;
      case 2: Fireball(cr, cx, cy, 82, 0.9, 0.9, 302); break;
      case 3: Fireball(cr, cx, cy, 84, 0.35, 1.0, 303); break;
      default: Fireball(cr, cx, cy - 6, 88, 0.0, 0.5, 304); break;
    }
  }});
  s.push_back({"charBullet", 2, 1, 2, 80, 80, playerShot});
  s.push_back({"warningSign", 1, 1, 1, 1280, 172, [](cairo_t* cr, int, double w, double h) {
    cairo_rectangle(cr, 0, 0, w, h);
    SetColor(cr, Color{0.07, 0.07, 0.09, 0.92});
    cairo_fill(cr);
    HazardStripes(cr, 0, 0, w, 30, 26);
    HazardStripes(cr, 0, h - 24, w, 24, 26);
    for (double cx : {70.0, w - 70}) {
      PathPolygon(cr, {cx, 40, cx + 30, 92, cx - 30, 92});
      FillFlat(cr, Palette::Amber, 3);
      cairo_rectangle(cr, cx - 3, 55, 6, 20);
      cairo_rectangle(cr, cx - 3, 80, 6, 6);
      SetColor(cr, Palette::Outline);
      cairo_fill(cr);
      DrawText(cr, "ALERT", cx, 128, Words(26, Palette::Amber, 120));
    }
    cairo_rectangle(cr, 140, 40, 1000, 105);
    SetColor(cr, Color{0.1, 0.08, 0.04, 0.9});
    cairo_fill(cr);
  }});
  s.push_back({"redBar1", 1, 1, 1, 238, 24, [](cairo_t* cr, int, double w, double h) {
    PathRoundRect(cr, 0, 0, w, h, 6);
    FillShaded(cr, Hex(0xE23838), 0, 0, w, h, 0);
    cairo_rectangle(cr, 3, 3, w - 6, 5);
    SetColor(cr, Color{1, 1, 1, 0.35});
    cairo_fill(cr);
  }});
  s.push_back({"HoverBar", 2, 1, 2, 242, 24, [](cairo_t* cr, int f, double w, double h) {
    PathRoundRect(cr, 0, 0, w, h, 6);
    FillShaded(cr, f == 0 ? Palette::Jet : Hex(0xFF8A1F), 0, 0, w, h, 0);
    cairo_rectangle(cr, 3, 3, w - 6, 5);
    SetColor(cr, Color{1, 1, 1, 0.35});
    cairo_fill(cr);
  }});
  s.push_back({"Hud_Mg", 1, 1, 1, 960, 274, [](cairo_t* cr, int, double w, double h) {
    Panel(cr, 0, 0, w, h, 30, 0.78);
    // Wells for the special attack, the power-up and the AI friend.
    PathRoundRect(cr, 351 - 48, 169 - 22, 96, 44, 10);
    FillFlat(cr, Color{0.02, 0.03, 0.06, 0.8}, 2, Hex(0x8EA4D0));
    PathRoundRect(cr, 588 - 36, 169 - 36, 72, 72, 14);
    FillFlat(cr, Color{0.02, 0.03, 0.06, 0.8}, 2, Hex(0x8EA4D0));
    PathRoundRect(cr, 476 - 40, 242 - 28, 80, 56, 12);
    FillFlat(cr, Color{0.02, 0.03, 0.06, 0.8}, 2, Hex(0x8EA4D0));
    // Trough rims, then the troughs themselves are cut out so the bars show through.
    for (auto t : {std::pair<double, double>{55, 372}, {581, 904}}) {
      PathRoundRect(cr, t.first - 4, 84, t.second - t.first + 8, 40, 8);
      FillFlat(cr, Hex(0x0B0F1A), 2.5, Hex(0xC8D4EE));
      Clear(cr, t.first, 88, t.second - t.first + 1, 33);
    }
    // Small gauge icons beside the troughs instead of words: a shield and a jet flame.
    PathPolygon(cr, {30, 92, 44, 96, 44, 108, 37, 116, 30, 108});
    FillFlat(cr, Hex(0xFF6A5A), 2);
    GlowEllipse(cr, 930, 104, 10, 16, Palette::Jet, 1.0);
    (void)h;
  }});
  s.push_back({"SpecialAtk", 2, 1, 2, 190, 62, [](cairo_t* cr, int f, double w, double h) {
    if (f == 0) Rocket(cr, PX(w, -74), PX(w, 86), PY(h, -1.5), 50);
    else LaserIcon(cr, 12, w - 12, h / 2, 48);
  }});
  s.push_back({"AiFriend", 1, 1, 1, 240, 240, [](cairo_t* cr, int, double w, double h) {
    Drone(cr, w / 2, h / 2 + 12, 114);
  }});
  s.push_back({"UFO_Float", 1, 1, 1, 214, 82, [](cairo_t* cr, int, double w, double h) {
    GlowEllipse(cr, w / 2, 62, 80, 18, Hex(0xB070FF, 0.8));
    PathRoundRect(cr, 6, 20, w - 12, 30, 14);
    FillShaded(cr, Palette::Steel, 6, 20, w - 12, 30, 3);
    for (double x = 30; x < w - 20; x += 38) {
      Glow(cr, x, 35, 7, Hex(0xB070FF), 1.0);
    }
    (void)h;
  }});
  s.push_back({"UFO_pic", 1, 1, 1, 400, 300, [](cairo_t* cr, int, double, double) {
    // Hull around the circle of radius 66 at pixel (198, 188).
    Saucer(cr, 198, 196, 176, 92, Palette::DomeCyan, 7);
  }});
  s.push_back({"UFO2", 1, 1, 1, 174, 102, [](cairo_t* cr, int, double w, double h) {
    double cx = PX(w, -9.5), cy = PY(h, -4.5);
    Saucer(cr, cx, cy + 6, 74, 34, Palette::DomeGreen, 5);
    // Armour plates on the hull.
    for (double dx : {-44.0, -10.0, 24.0}) {
      PathRoundRect(cr, cx + dx, cy + 1, 22, 10, 3);
      FillShaded(cr, Hex(0x6A7494), cx + dx, cy + 1, 22, 10, 2);
    }
  }});
  s.push_back({"UFO_boss", 1, 1, 1, 512, 724, [](cairo_t* cr, int, double w, double h) {
    // Tall mothership: a core tower (x -2..77, y -246..265) ringed by saucer decks.
    double cx = PX(w, 37.5), top = PY(h, 265), bottom = PY(h, -246);
    GlowEllipse(cr, cx, bottom + 10, 120, 60, Hex(0xB070FF, 0.7));
    cairo_new_path(cr);
    cairo_move_to(cr, cx - 40, bottom);
    cairo_line_to(cr, cx - 52, top + 120);
    cairo_curve_to(cr, cx - 50, top + 20, cx + 50, top + 20, cx + 52, top + 120);
    cairo_line_to(cr, cx + 40, bottom);
    cairo_close_path(cr);
    FillShaded(cr, Hex(0x8E98AE), cx - 52, top, 104, bottom - top, 4);
    for (int i = 0; i < 3; ++i) {
      double y = top + 150 + i * 150;
      Saucer(cr, cx, y, 200 - i * 20, 60, WithAlpha(i == 1 ? Palette::DomeGreen : Palette::DomeCyan, 0), 7);
    }
    PathEllipse(cr, cx, top + 60, 30, 40);
    FillShaded(cr, Hex(0xFF5050), cx - 30, top + 20, 60, 80, 4);
    Glow(cr, cx, top + 60, 40, Hex(0xFF5050, 0.6));
    (void)w;
  }});
  s.push_back({"AlienBullet", 2, 1, 2, 40, 40, [](cairo_t* cr, int f, double w, double h) {
    if (f == 1) Glow(cr, w / 2, h / 2, 19, Hex(0x6CFF4A, 0.8));
    EnergyBall(cr, w / 2, h / 2, 9, f == 0 ? Hex(0x6CFF4A) : Hex(0xB4FF8A));
  }});
  s.push_back({"UFO_Bullet", 2, 2, 3, 80, 80, [](cairo_t* cr, int f, double w, double h) {
    double cx = PX(w, -2), cy = PY(h, -2);
    if (f == 0) EnergyBall(cr, cx, cy, 17, Hex(0xFF4AD2));
    else if (f == 1) EnergyBall(cr, cx, cy, 17, Hex(0x6CFF4A));
    else {
      Glow(cr, cx, cy, 38, Hex(0xFF8A1F, 0.8));
      cairo_new_path(cr);
      for (int i = 0; i <= 16; ++i) {
        double a = i * M_PI / 8, r = (i % 2) ? 12 : 20;
        cairo_line_to(cr, cx + std::cos(a) * r, cy + std::sin(a) * r);
      }
      cairo_close_path(cr);
      FillFlat(cr, Palette::Fire, 2, Hex(0xB04010));
      Glow(cr, cx, cy, 10, Hex(0xFFFFFF), 1.0);
    }
  }});
  s.push_back({"UFO_hand", 1, 1, 1, 334, 254, [](cairo_t* cr, int, double w, double h) {
    // Arm from the hinge at (317, 17) down to the claw over x 38..120, y 118..202.
    double hx = 317, hy = 17, ex = 190, ey = 120, cx = PX(w, -88), cy = PY(h, -33);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (auto seg : {std::array<double, 4>{hx, hy, ex, ey}, std::array<double, 4>{ex, ey, cx + 20, cy}}) {
      cairo_move_to(cr, seg[0], seg[1]);
      cairo_line_to(cr, seg[2], seg[3]);
      SetColor(cr, Palette::Outline);
      cairo_set_line_width(cr, 30);
      cairo_stroke(cr);
      cairo_move_to(cr, seg[0], seg[1]);
      cairo_line_to(cr, seg[2], seg[3]);
      SetColor(cr, Hex(0x9AA6BC));
      cairo_set_line_width(cr, 24);
      cairo_stroke(cr);
    }
    for (auto j : {std::pair<double, double>{hx, hy}, {ex, ey}}) {
      PathEllipse(cr, j.first, j.second, 15, 15);
      FillShaded(cr, Hex(0x6A7494), j.first - 15, j.second - 15, 30, 30, 3);
    }
    // Claw: two curved fingers.
    for (double side : {-1.0, 1.0}) {
      cairo_new_path(cr);
      cairo_move_to(cr, cx + 24, cy + side * 10);
      cairo_curve_to(cr, cx - 10, cy + side * 50, cx - 40, cy + side * 30, cx - 42, cy + side * 6);
      cairo_line_to(cr, cx - 30, cy + side * 10);
      cairo_curve_to(cr, cx - 24, cy + side * 26, cx - 6, cy + side * 30, cx + 12, cy + side * 2);
      cairo_close_path(cr);
      FillShaded(cr, Hex(0xB8C4D6), cx - 42, cy - 50, 66, 100, 3);
    }
    PathEllipse(cr, cx + 22, cy, 20, 20);
    FillShaded(cr, Hex(0x6A7494), cx + 2, cy - 20, 40, 40, 3);
    Glow(cr, cx + 22, cy, 8, Hex(0xFF5050), 1.0);
  }});
  s.push_back({"HP_BG", 1, 1, 1, 100, 10, [](cairo_t* cr, int, double w, double h) {
    cairo_rectangle(cr, 0, 0, w, h);
    FillFlat(cr, Hex(0x4A1010), 0);
    cairo_rectangle(cr, 0.5, 0.5, w - 1, h - 1);
    SetColor(cr, Palette::Outline);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }});
  s.push_back({"HP_FG", 1, 1, 1, 100, 10, [](cairo_t* cr, int, double w, double h) {
    VerticalGradient(cr, 0, 0, w, h, Hex(0x8CF08C), Hex(0x2A9A4A));
  }});
  s.push_back({"Laser_A", 1, 1, 1, 1200, 100, [](cairo_t* cr, int, double w, double h) {
    Beam(cr, PX(w, -591), PX(w, 527), h / 2, 8, 30, Hex(0xB040FF), true);
    Glow(cr, PX(w, 550), h / 2, 48, Hex(0xE0A0FF), 1.0);
    PathEllipse(cr, PX(w, 550), h / 2, 16, 16);
    FillFlat(cr, Hex(0xFFFFFF), 2, Hex(0xB040FF));
  }});
  s.push_back({"Laser2", 1, 1, 1, 1200, 100, [](cairo_t* cr, int, double w, double h) {
    Beam(cr, PX(w, -519), PX(w, 600), h / 2, 14, 40, Hex(0xFF3B5C), false);
    Glow(cr, PX(w, -550), h / 2, 48, Hex(0xFFC0C8), 1.0);
    PathEllipse(cr, PX(w, -550), h / 2, 18, 18);
    FillFlat(cr, Hex(0xFFFFFF), 2, Hex(0xFF3B5C));
  }});
  s.push_back({"RadiusAttack", 2, 2, 3, 512, 512, [](cairo_t* cr, int f, double w, double h) {
    // Nested rings: the outermost fills the box the blast outline uses, the inner ones step inwards.
    struct Box { double x0, x1, y0, y1; int rings; Color c; };
    const Box boxes[3] = {{-85, 90, -81, 98, 5, Hex(0xFFB040)},
                          {-166, 168, -148, 186, 10, Hex(0xFF7A30)},
                          {-218, 223, -222, 220, 9, Hex(0x3FD2FF)}};
    const Box& b = boxes[f];
    double cx = PX(w, (b.x0 + b.x1) / 2), cy = PY(h, (b.y0 + b.y1) / 2);
    double rx = (b.x1 - b.x0) / 2, ry = (b.y1 - b.y0) / 2;
    GlowEllipse(cr, cx, cy, rx, ry, WithAlpha(b.c, 0.45));
    for (int i = 0; i < b.rings; ++i) {
      double k = 1.0 - i / static_cast<double>(b.rings);
      PathEllipse(cr, cx, cy, rx * k - 2, ry * k - 2);
      SetColor(cr, WithAlpha(Lighter(b.c, 0.3 * (1 - k)), 0.35 + 0.55 * k));
      cairo_set_line_width(cr, 3 + 3 * k);
      cairo_stroke(cr);
    }
  }});
  s.push_back({"dying", 1, 1, 1, 1280, 720, [](cairo_t* cr, int, double w, double h) {
    cairo_save(cr);
    cairo_translate(cr, w / 2, h / 2);
    cairo_scale(cr, w / 2, h / 2);
    cairo_pattern_t* p = cairo_pattern_create_radial(0, 0, 0.55, 0, 0, 1.42);
    cairo_pattern_add_color_stop_rgba(p, 0, 0.9, 0.05, 0.05, 0);
    cairo_pattern_add_color_stop_rgba(p, 1, 0.9, 0.05, 0.05, 0.85);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
  }});
  s.push_back({"CarHover", 2, 2, 3, 144, 100, [](cairo_t* cr, int f, double, double) {
    Car(cr, 34, 59, 89, f, true);
  }});
  s.push_back({"shieldAnim", 1, 1, 1, 150, 98, [](cairo_t* cr, int, double w, double h) {
    double cx = PX(w, 1), cy = PY(h, 2.5), rx = 65, ry = 33.5;
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, 1, ry / rx);
    cairo_arc(cr, 0, 0, rx - 1.5, 0, 2 * M_PI);
    cairo_pattern_t* p = cairo_pattern_create_radial(0, 0, 0, 0, 0, rx);
    cairo_pattern_add_color_stop_rgba(p, 0, 0.25, 0.82, 1, 0.08);
    cairo_pattern_add_color_stop_rgba(p, 0.75, 0.25, 0.82, 1, 0.25);
    cairo_pattern_add_color_stop_rgba(p, 1, 0.6, 0.95, 1, 0.75);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
    PathEllipse(cr, cx, cy, rx - 1.5, ry - 1.5);
    SetColor(cr, Color{0.7, 0.97, 1, 0.9});
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    PathEllipse(cr, cx - 25, cy - 16, 18, 6);
    SetColor(cr, Color{1, 1, 1, 0.35});
    cairo_fill(cr);
  }});
  s.push_back({"Gun", 2, 2, 3, 46, 34, [](cairo_t* cr, int f, double, double) {
    Gun(cr, 18, 17, 38, f + 1);
  }});
  s.push_back({"tutBg", 1, 1, 1, 64, 64, [](cairo_t* cr, int, double, double) {
    SetColor(cr, Hex(0x101626));
    cairo_paint(cr);
  }});
  // Hint pages. The game level shows them while its camera stands at (300, 300), each from a sprite
  // of its own position and scale, and draws the world about 3 % larger than its units. Each page is
  // drawn in screen pixels through that mapping, so the three panels cover the same part of the
  // screen, and it ends above the "Left Click - Next" caption, which lies under the pages (created
  // before them at the same depth) in the screen's lower right corner.
  struct Hint { const char* stem; double spriteX, spriteY, scale; const char* title; std::vector<std::string> lines; };
  const Hint hints[3] = {
      {"tuh1", 301, 255, 1.15, "HOW TO DRIVE",
       {"Hold SPACE to hover, let go to sink.", "Aim with the mouse, LEFT CLICK to shoot.",
        "Hold RIGHT CLICK to drop through platforms."}},
      {"tuh3", 388, 329, 1.0, "YOUR HUD",
       {"Red bar: durability. Below 25 the screen flashes red.",
        "Cyan bar: hover energy. Orange means low: let go of SPACE.", "Gears and distance at the top.",
        "A: special attack   S: AI friend   D: power-up"}},
      {"tuh2", 163, 391, 1.0, "UFO ALERT",
       {"A warning sign announces each UFO wave.", "Shoot the UFOs down. Every fifth wave is the mothership.",
        "P or Esc pauses the game."}}};
  for (const Hint& hint : hints) {
    s.push_back({hint.stem, 1, 1, 1, 1280, 720, [hint](cairo_t* cr, int, double w, double h) {
      const double cameraX = 300, cameraY = 300, pixelsPerUnit = 1.03;
      const double toImage = 1.0 / (pixelsPerUnit * hint.scale);
      cairo_save(cr);
      cairo_translate(cr, w / 2 + (cameraX - w / 2 / pixelsPerUnit - hint.spriteX) / hint.scale,
                      h / 2 - (cameraY + h / 2 / pixelsPerUnit - hint.spriteY) / hint.scale);
      cairo_scale(cr, toImage, toImage);
      // Every page's sprite covers this rectangle of the screen.
      const double x = 90, y = 20, pw = 1060, ph = 530;
      Panel(cr, x, y, pw, ph, 28, 0.9);
      TextPage(cr, x + 30, y + 26, pw - 60, hint.title, hint.lines, 48, 28, 20);
      // Picture row under the words: the car, an alien, a UFO.
      double py = y + ph - 115;
      Car(cr, x + 60, py + 60, 160, 0, true, 1);
      Alien(cr, x + 330, py + 20, 1.25, true);
      Saucer(cr, x + 480, py + 20, 62, 27, Palette::DomeCyan, 5);
      cairo_restore(cr);
    }});
  }
  s.push_back({"GameOverScn", 1, 1, 1, 1280, 720, [](cairo_t* cr, int, double w, double h) {
    Panel(cr, 200, 40, 880, 640, 36, 0.93);
    TextStyle t = Words(96, Hex(0xFFD66B));
    t.outlineWidth = 4;
    DrawText(cr, "RESULTS", w / 2, 200, t);
    cairo_rectangle(cr, 330, 250, 620, 4);
    SetColor(cr, Hex(0x8EA4D0));
    cairo_fill(cr);
    (void)h;
  }});
  return s;
}

void RenderSheet(const Sheet& sheet, const std::string& root, std::vector<Thumbnail>& thumbs) {
  int width = sheet.columns * sheet.frameWidth, height = sheet.rows * sheet.frameHeight;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(surface);
  for (int i = 0; i < sheet.frames; ++i) {
    // Grid rows count from the bottom of the picture: frame 0 is the bottom-left cell.
    int column = i % sheet.columns, row = i / sheet.columns;
    double x = column * sheet.frameWidth, y = (sheet.rows - 1 - row) * sheet.frameHeight;
    cairo_save(cr);
    cairo_rectangle(cr, x, y, sheet.frameWidth, sheet.frameHeight);
    cairo_clip(cr);
    cairo_translate(cr, x, y);
    sheet.draw(cr, i, sheet.frameWidth, sheet.frameHeight);
    cairo_restore(cr);
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
      std::fprintf(stderr, "velkor_assetgen: drawing %s failed: %s\n", sheet.stem,
                   cairo_status_to_string(cairo_status(cr)));
      std::exit(1);
    }
  }
  cairo_destroy(cr);
  WriteFile(root + "/Animations/" + sheet.stem + ".png", EncodePng(surface));
  thumbs.push_back(MakeThumbnail(sheet.stem, surface, 240, 160));
  cairo_surface_destroy(surface);
}

}  // namespace

void AddSpriteJobs(std::vector<Job>& jobs) {
  for (const Sheet& sheet : AllSheets()) {
    jobs.push_back({std::string("Animations/") + sheet.stem,
                    [sheet](const std::string& root, std::vector<Thumbnail>& thumbs) { RenderSheet(sheet, root, thumbs); }});
  }
}

}  // namespace AssetGen
