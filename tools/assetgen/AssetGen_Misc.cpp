// The window icon, the layer collision files, the particle image, and the GUI's cursor, skins and overlays.
#include "AssetGen.h"

#include <cmath>
#include <cstring>

namespace AssetGen {
namespace {

cairo_surface_t* NewSurface(int w, int h) { return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h); }

void WritePicture(const std::string& root, const std::string& relative, cairo_surface_t* s,
                  std::vector<Thumbnail>& thumbs) {
  WriteFile(root + "/" + relative, EncodePng(s));
  thumbs.push_back(MakeThumbnail(relative, s, 240, 160));
}

// The red hover car on a round night-blue badge, drawn at any icon size.
cairo_surface_t* IconPicture(int size) {
  cairo_surface_t* s = NewSurface(size, size);
  cairo_t* cr = cairo_create(s);
  double k = size / 256.0;
  cairo_scale(cr, k, k);
  PathEllipse(cr, 128, 128, 120, 120);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 8, 0, 248);
  cairo_pattern_add_color_stop_rgb(p, 0, 0.16, 0.25, 0.45);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.05, 0.1, 0.17);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  SetColor(cr, Palette::Outline);
  cairo_set_line_width(cr, 10);
  cairo_stroke(cr);
  PathEllipse(cr, 128, 128, 108, 108);
  SetColor(cr, Hex(0xFFC928));
  cairo_set_line_width(cr, size <= 16 ? 14 : 6);
  cairo_stroke(cr);
  if (size >= 48) Stars(cr, 50, 40, 156, 60, 5, 10, 3);
  Car(cr, 28, 150, 200, 0, true, 1);
  cairo_destroy(cr);
  return s;
}

void MakeIcon(const std::string& root, std::vector<Thumbnail>& thumbs) {
  const int sizes[4] = {16, 32, 48, 256};
  std::vector<std::string> images;
  for (int size : sizes) {
    cairo_surface_t* s = IconPicture(size);
    images.push_back(EncodePng(s));
    if (size == 256) thumbs.push_back(MakeThumbnail("GameIcon/GameIcon.ico", s, 240, 160));
    cairo_surface_destroy(s);
  }
  std::string ico;
  auto u16 = [&](uint16_t v) { ico.push_back(static_cast<char>(v & 255)); ico.push_back(static_cast<char>(v >> 8)); };
  auto u32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) ico.push_back(static_cast<char>((v >> (8 * i)) & 255)); };
  u16(0);
  u16(1);  // icon
  u16(4);
  uint32_t offset = 6 + 16 * 4;
  for (int i = 0; i < 4; ++i) {
    ico.push_back(static_cast<char>(sizes[i] == 256 ? 0 : sizes[i]));  // 0 stands for 256
    ico.push_back(static_cast<char>(sizes[i] == 256 ? 0 : sizes[i]));
    ico.push_back(0);  // no palette
    ico.push_back(0);
    u16(1);   // planes
    u16(32);  // bits per pixel
    u32(static_cast<uint32_t>(images[i].size()));
    u32(offset);
    offset += static_cast<uint32_t>(images[i].size());
  }
  for (const std::string& png : images) ico += png;
  WriteFile(root + "/GameIcon/GameIcon.ico", ico);
}

void MakeCollisionFiles(const std::string& root) {
  // The game has no static geometry, but every level reads each of its layers' files.
  for (int level = 0; level <= 8; ++level) {
    int layers = level == 7 ? 4 : 3;
    for (int layer = 0; layer < layers; ++layer) {
      WriteFile(root + "/Layers Collisions/level" + std::to_string(level) + "_layer" + std::to_string(layer) + ".txt",
                "Segments 0\nCircles 0\n");
    }
  }
}

void MakeParticle(const std::string& root, std::vector<Thumbnail>& thumbs) {
  cairo_surface_t* s = NewSurface(32, 32);
  cairo_t* cr = cairo_create(s);
  cairo_pattern_t* p = cairo_pattern_create_radial(16, 16, 0, 16, 16, 16);
  cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 1);
  cairo_pattern_add_color_stop_rgba(p, 0.4, 1, 1, 1, 0.6);
  cairo_pattern_add_color_stop_rgba(p, 1, 1, 1, 1, 0);
  cairo_set_source(cr, p);
  cairo_paint(cr);
  cairo_pattern_destroy(p);
  cairo_destroy(cr);
  WritePicture(root, "ParticleSystems/particle1.png", s, thumbs);
  cairo_surface_destroy(s);
}

void MakeGuiPictures(const std::string& root, std::vector<Thumbnail>& thumbs) {
  cairo_surface_t* arrow = NewSurface(32, 32);
  cairo_t* cr = cairo_create(arrow);
  Arrow(cr, 0, 0, 32, Hex(0xFFFFFF));
  cairo_destroy(cr);
  WritePicture(root, "Cursors/Arrow.png", arrow, thumbs);
  cairo_surface_destroy(arrow);

  cairo_surface_t* white = NewSurface(8, 8);
  cr = cairo_create(white);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_destroy(cr);
  WritePicture(root, "Skins/White.png", white, thumbs);
  cairo_surface_destroy(white);
}

// ---------------------------------------------------------------- GUI skins

// One ".gui" record: a region of the picture in pixels with y upward, and its inner edges measured
// from the region's left and lower sides.
struct SkinRegion {
  float x, y, width, height, innerLeft, innerRight, innerBottom, innerTop;
};

std::string SkinFile(const std::vector<SkinRegion>& regions) {
  std::string bytes;
  auto put = [&bytes](uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((v >> (8 * i)) & 255));
  };
  auto putFloat = [&put](float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    put(bits);
  };
  put(static_cast<uint32_t>(regions.size()));
  for (const SkinRegion& r : regions) {
    const float values[8] = {r.x, r.y, r.width, r.height, r.innerLeft, r.innerRight, r.innerBottom, r.innerTop};
    for (float v : values) putFloat(v);
  }
  return bytes;
}

// A region with the same border on every side.
SkinRegion Bordered(float x, float y, float w, float h, float border) {
  return SkinRegion{x, y, w, h, border, w - border, border, h - border};
}

// Moves the origin to the region's top-left corner in cairo's top-down coordinates and clips to it.
void EnterRegion(cairo_t* cr, int pictureHeight, const SkinRegion& r) {
  cairo_save(cr);
  cairo_translate(cr, r.x, pictureHeight - r.y - r.height);
  cairo_rectangle(cr, 0, 0, r.width, r.height);
  cairo_clip(cr);
}

void WriteSkin(const std::string& root, const std::string& name, cairo_surface_t* s,
               const std::vector<SkinRegion>& regions, std::vector<Thumbnail>& thumbs) {
  WritePicture(root, "Skins/" + name + "/" + name + ".png", s, thumbs);
  WriteFile(root + "/Skins/" + name + "/" + name + ".gui", SkinFile(regions));
}

// A bevelled cross for close buttons.
void CloseCross(cairo_t* cr, double cx, double cy, double half) {
  cairo_new_path(cr);
  cairo_move_to(cr, cx - half, cy - half);
  cairo_line_to(cr, cx + half, cy + half);
  cairo_move_to(cr, cx + half, cy - half);
  cairo_line_to(cr, cx - half, cy + half);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  SetColor(cr, Palette::Outline);
  cairo_set_line_width(cr, 4.5);
  cairo_stroke_preserve(cr);
  SetColor(cr, Hex(0xFFFFFF));
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
}

// Records 0 normal, 1 down, 2 hover, 3 focused, 4 disabled: 64 x 32 plates, borders of 8.
void MakeButtonSkin(const std::string& root, std::vector<Thumbnail>& thumbs) {
  const int w = 64, h = 160;
  cairo_surface_t* s = NewSurface(w, h);
  cairo_t* cr = cairo_create(s);
  const Color plates[5] = {Palette::PlateBlue, Darker(Palette::PlateBlue, 0.3), Lighter(Palette::PlateBlue, 0.25),
                           Palette::PlateBlue, Hex(0x7C808C)};
  std::vector<SkinRegion> regions;
  for (int i = 0; i < 5; ++i) {
    const SkinRegion r = Bordered(0, static_cast<float>(i * 32), 64, 32, 8);
    regions.push_back(r);
    EnterRegion(cr, h, r);
    Plate(cr, 0, 0, 64, 32, 7, plates[i]);
    if (i == 3) {  // focused: an amber ring inside the rim
      PathRoundRect(cr, 3.5, 3.5, 57, 25, 5);
      SetColor(cr, Palette::Amber);
      cairo_set_line_width(cr, 2);
      cairo_stroke(cr);
    }
    cairo_restore(cr);
  }
  cairo_destroy(cr);
  WriteSkin(root, "DefaultButtonSkin", s, regions, thumbs);
  cairo_surface_destroy(s);
}

// Records 0..4 unchecked (focused, normal, disabled, mouse inside, mouse down), 5..9 the same checked:
// 13 x 13 cells drawn whole, in a 5 x 2 grid of 16-pixel cells (checked in the lower row).
void MakeRadioButtonSkin(const std::string& root, std::vector<Thumbnail>& thumbs) {
  const int w = 80, h = 32;
  cairo_surface_t* s = NewSurface(w, h);
  cairo_t* cr = cairo_create(s);
  const Color faces[5] = {Hex(0xFFFFFF), Hex(0xE8EEF8), Hex(0x9A9EA8), Hex(0xFFFFFF), Hex(0xC4D2EA)};
  std::vector<SkinRegion> regions(10);
  for (int checked = 0; checked < 2; ++checked) {
    for (int look = 0; look < 5; ++look) {
      const SkinRegion r{static_cast<float>(look * 16), checked ? 0.0f : 16.0f, 13, 13, 0, 13, 0, 13};
      regions[static_cast<size_t>(checked * 5 + look)] = r;
      EnterRegion(cr, h, r);
      PathEllipse(cr, 6.5, 6.5, 5.5, 5.5);
      FillShaded(cr, faces[look], 1, 1, 11, 11, 1.5);
      if (look == 0 || look == 3) {  // focused and hovered: a coloured ring
        PathEllipse(cr, 6.5, 6.5, 4.2, 4.2);
        SetColor(cr, look == 0 ? Palette::Amber : Palette::PlateBlue);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
      }
      if (checked) {
        PathEllipse(cr, 6.5, 6.5, 2.6, 2.6);
        FillFlat(cr, look == 2 ? Hex(0x5A5E68) : Palette::PanelDark);
      }
      cairo_restore(cr);
    }
  }
  cairo_destroy(cr);
  WriteSkin(root, "DefaultRadioButtonSkin", s, regions, thumbs);
  cairo_surface_destroy(s);
}

// Records 0 caption bar, 1 left border, 2 right border, 3 bottom border, 4..6 the close button
// (normal, down, hover). The frame is pale so the form's modulation colour gives it its hue.
void MakeFormSkin(const std::string& root, std::vector<Thumbnail>& thumbs) {
  const int w = 128, h = 64;
  cairo_surface_t* s = NewSurface(w, h);
  cairo_t* cr = cairo_create(s);
  const Color frame = Hex(0xF2F5FA);
  std::vector<SkinRegion> regions;
  const SkinRegion caption{0, 32, 64, 32, 8, 56, 4, 26};
  regions.push_back(caption);
  EnterRegion(cr, h, caption);
  PathRoundRect(cr, 1, 1, 62, 40, 6);
  FillShaded(cr, frame, 0, 0, 64, 32, 2);
  PathRoundRect(cr, 3.5, 3.5, 57, 40, 4);
  SetColor(cr, Color{1, 1, 1, 0.8});
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  cairo_restore(cr);

  const SkinRegion left{64, 32, 8, 32, 0, 8, 4, 28};
  const SkinRegion right{72, 32, 8, 32, 0, 8, 4, 28};
  for (const SkinRegion& side : {left, right}) {
    regions.push_back(side);
    EnterRegion(cr, h, side);
    cairo_rectangle(cr, 0, -4, 8, 40);
    FillShaded(cr, Darker(frame, 0.08), 0, 0, 8, 32, 0);
    cairo_rectangle(cr, side.x == 64 ? 1 : 5, -4, 2, 40);
    FillFlat(cr, Palette::Outline);
    cairo_restore(cr);
  }

  const SkinRegion bottom{0, 20, 64, 8, 8, 56, 0, 8};
  EnterRegion(cr, h, bottom);
  PathRoundRect(cr, 1, -8, 62, 15, 4);
  FillShaded(cr, Darker(frame, 0.08), 0, 0, 64, 8, 2);
  cairo_restore(cr);

  const Color closes[3] = {Palette::PlateRed, Darker(Palette::PlateRed, 0.3), Lighter(Palette::PlateRed, 0.25)};
  std::vector<SkinRegion> closeRegions;
  for (int i = 0; i < 3; ++i) {
    const SkinRegion r = Bordered(static_cast<float>(64 + i * 20), 0, 20, 20, 6);
    closeRegions.push_back(r);
    EnterRegion(cr, h, r);
    Plate(cr, 0, 0, 20, 20, 4, closes[i]);
    CloseCross(cr, 10, 10, 4);
    cairo_restore(cr);
  }
  regions.push_back(bottom);
  for (const SkinRegion& r : closeRegions) regions.push_back(r);
  cairo_destroy(cr);
  WriteSkin(root, "DefaultFormSkin", s, regions, thumbs);
  cairo_surface_destroy(s);
}

// The drop-down arrow of buttons that open a list, and its disabled look.
void MakeOverlay(const std::string& root, const std::string& file, const Color& fill,
                 std::vector<Thumbnail>& thumbs) {
  cairo_surface_t* s = NewSurface(16, 16);
  cairo_t* cr = cairo_create(s);
  PathPolygon(cr, {2.5, 5, 13.5, 5, 8, 12});
  FillFlat(cr, fill, 1.5, Palette::Outline);
  cairo_destroy(cr);
  WritePicture(root, "Skins/Overlays/" + file, s, thumbs);
  cairo_surface_destroy(s);
}

void MakeGuiSkins(const std::string& root, std::vector<Thumbnail>& thumbs) {
  MakeButtonSkin(root, thumbs);
  MakeRadioButtonSkin(root, thumbs);
  MakeFormSkin(root, thumbs);
  // The form's picture behind its controls: an opaque neutral grey.
  cairo_surface_t* gray = NewSurface(8, 8);
  cairo_t* cr = cairo_create(gray);
  SetColor(cr, Hex(0x808080));
  cairo_paint(cr);
  cairo_destroy(cr);
  WritePicture(root, "Skins/Gray.png", gray, thumbs);
  cairo_surface_destroy(gray);
  MakeOverlay(root, "ComboDown.png", Hex(0xFFFFFF), thumbs);
  MakeOverlay(root, "ComboDownDisabled.png", Hex(0x8A8E98), thumbs);
}

}  // namespace

void AddMiscJobs(std::vector<Job>& jobs) {
  jobs.push_back({"GameIcon", [](const std::string& root, std::vector<Thumbnail>& t) { MakeIcon(root, t); }});
  jobs.push_back({"Layers Collisions", [](const std::string& root, std::vector<Thumbnail>&) { MakeCollisionFiles(root); }});
  jobs.push_back({"ParticleSystems", [](const std::string& root, std::vector<Thumbnail>& t) { MakeParticle(root, t); }});
  jobs.push_back({"Cursors and Skins", [](const std::string& root, std::vector<Thumbnail>& t) { MakeGuiPictures(root, t); }});
  jobs.push_back({"GUI skins", [](const std::string& root, std::vector<Thumbnail>& t) { MakeGuiSkins(root, t); }});
}

}  // namespace AssetGen
