#pragma once
// Build-time generator of the game's Resources tree: shared declarations.
#include <cairo.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace AssetGen {

// ---------------------------------------------------------------- output

// Creates the parent folders and writes the bytes; aborts the generator on failure (a build step
// that half-writes the tree must fail loudly).
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFileOrDie(const std::string& path);

// Encodes an ARGB32 cairo surface as an 8-bit RGBA PNG (straight alpha, not interlaced).
std::string EncodePng(cairo_surface_t* surface);

// A small picture of every image, gathered for the contact sheet.
struct Thumbnail {
  std::string label;
  cairo_surface_t* surface = nullptr;  // owned
  int sourceWidth = 0;
  int sourceHeight = 0;
};
Thumbnail MakeThumbnail(const std::string& label, cairo_surface_t* source, int maxWidth, int maxHeight);

// One job writes one or more files; jobs run in parallel and each owns what it writes.
struct Job {
  std::string name;
  std::function<void(const std::string& root, std::vector<Thumbnail>& thumbs)> run;
};

void AddSpriteJobs(std::vector<Job>& jobs);
void AddFontJobs(std::vector<Job>& jobs);
void AddSoundJobs(std::vector<Job>& jobs);
void AddMiscJobs(std::vector<Job>& jobs);

// ---------------------------------------------------------------- deterministic randomness

class Random {
 public:
  explicit Random(uint32_t seed) : state_(seed * 2654435761u + 0x9E3779B9u) {}
  uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  double Uniform() { return (Next() >> 8) * (1.0 / 16777216.0); }
  double Range(double low, double high) { return low + (high - low) * Uniform(); }
  int Int(int low, int high) { return low + static_cast<int>(Next() % static_cast<uint32_t>(high - low + 1)); }

 private:
  uint32_t state_;
};

// ---------------------------------------------------------------- drawing toolkit

struct Color {
  double r = 0, g = 0, b = 0, a = 1;
};
Color Hex(uint32_t rgb, double alpha = 1.0);
Color Lighter(const Color& c, double amount);  // towards white
Color Darker(const Color& c, double amount);   // towards black
Color Mix(const Color& a, const Color& b, double t);
Color WithAlpha(const Color& c, double alpha);

namespace Palette {
extern const Color Outline, NightTop, NightBottom, Skyline, Window, CarRed, Jet, Alien, Steel,
    DomeCyan, DomeGreen, Fire, Flame, Smoke, PlateBlue, PlateRed, PlateGreen, Amber, PanelDark;
}

void SetColor(cairo_t* cr, const Color& c);

// Paths (they only build the path).
void PathRoundRect(cairo_t* cr, double x, double y, double w, double h, double radius);
void PathEllipse(cairo_t* cr, double cx, double cy, double rx, double ry);
void PathPolygon(cairo_t* cr, const std::vector<double>& xy);

// Fills the current path with a two-stop gradient lit from the top-left over the box, then strokes a
// dark outline of the given width (0 = none). The path is consumed.
void FillShaded(cairo_t* cr, const Color& base, double x, double y, double w, double h, double outline = 2.5,
                const Color& outlineColor = Palette::Outline);
void FillFlat(cairo_t* cr, const Color& c, double outline = 0, const Color& outlineColor = Palette::Outline);

// Soft radial glow: colour at the centre fading to transparent at the radius.
void Glow(cairo_t* cr, double cx, double cy, double radius, const Color& c, double strength = 1.0);
void GlowEllipse(cairo_t* cr, double cx, double cy, double rx, double ry, const Color& c, double strength = 1.0);

void VerticalGradient(cairo_t* cr, double x, double y, double w, double h, const Color& top, const Color& bottom);

// Text in DejaVu Sans Bold (or Regular). Anchors: 0 left, 0.5 centre, 1 right of x; y is the baseline.
struct TextStyle {
  double size = 24;
  Color fill = Hex(0xFFFFFF);
  Color outline = Palette::Outline;
  double outlineWidth = 0;  // 0 = no outline
  bool bold = true;
  double anchor = 0.5;
  double maxWidth = 0;      // shrink to fit when > 0
};
double TextWidth(cairo_t* cr, const std::string& text, double size, bool bold = true);
// Returns the size actually used.
double DrawText(cairo_t* cr, const std::string& text, double x, double baseline, const TextStyle& style);
// Centres the text's cap height on y.
double DrawTextCentred(cairo_t* cr, const std::string& text, double cx, double cy, TextStyle style);

// Rounded UI plate with a lighter top, a 2 px light rim and a dark outline.
void Plate(cairo_t* cr, double x, double y, double w, double h, double radius, const Color& base);
// Dark translucent panel with a light rim.
void Panel(cairo_t* cr, double x, double y, double w, double h, double radius, double alpha = 0.85);

// Scenery.
void NightSky(cairo_t* cr, double w, double h, uint32_t seed, int stars, bool moon, double moonX = 0.8,
              double moonY = 0.2, double moonR = 40);
void Stars(cairo_t* cr, double x, double y, double w, double h, uint32_t seed, int count, double maxSize = 1.6);
void Moon(cairo_t* cr, double cx, double cy, double r);
// A row of buildings standing on baseY across [0, w); with wrap, the picture tiles left-right.
void Skyline(cairo_t* cr, double w, double baseY, double minH, double maxH, double minW, double maxW,
             const Color& body, double windowChance, uint32_t seed, bool wrap);
void Building(cairo_t* cr, double x, double baseY, double w, double h, const Color& body, double windowChance,
              Random& rnd, int roofStyle);
void Road(cairo_t* cr, double x, double y, double w, double h, double dashOffset, bool wrap);
void HazardStripes(cairo_t* cr, double x, double y, double w, double h, double stripe);

// Subjects. Coordinates are in pixels of the surface being drawn on.
// The car: body from (x, floorY - 0.236 * length) to (x + length, floorY), facing right.
void Car(cairo_t* cr, double x, double floorY, double length, int armour, bool hovering, int phase = 0);
void Alien(cairo_t* cr, double cx, double cy, double scale, bool armed);  // body box 44x58 at scale 1
void Person(cairo_t* cr, double cx, double footY, double height, const Color& shirt, const Color& trousers,
            const Color& skin, int pose);  // 0 standing, 1 arms raised, 2 walking, 3 cheering, 4 fright
void Saucer(cairo_t* cr, double cx, double cy, double rx, double ry, const Color& dome, int lights);
void Flame(cairo_t* cr, double cx, double baseY, double w, double h, int phase);
void Fireball(cairo_t* cr, double cx, double cy, double r, double heat, double smoke, uint32_t seed);
void Gun(cairo_t* cr, double mountX, double mountY, double length, int barrels);
void HealthPot(cairo_t* cr, double cx, double cy, double scale);
void PowerUp(cairo_t* cr, double cx, double cy, double size, int kind);  // 0 barrier, 1 multi, 2 speed
void Bolt(cairo_t* cr, double cx, double cy, double length, double thick, const Color& c);
void EnergyBall(cairo_t* cr, double cx, double cy, double r, const Color& c);
void Rocket(cairo_t* cr, double x0, double x1, double cy, double h);
void LaserIcon(cairo_t* cr, double x0, double x1, double cy, double h);
void Drone(cairo_t* cr, double cx, double cy, double r);
void Beam(cairo_t* cr, double x0, double x1, double cy, double halfCore, double halfGlow, const Color& c,
          bool emitterAtRight);
void Arrow(cairo_t* cr, double x, double y, double size, const Color& fill);  // mouse pointer, tip at (x, y)
void Checkmark(cairo_t* cr, double cx, double cy, double s, const Color& c);

}  // namespace AssetGen
