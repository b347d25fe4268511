// The window icon, the layer collision files, the particle image and the GUI's cursor and white skin.
#include "AssetGen.h"

#include <cmath>

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

}  // namespace

void AddMiscJobs(std::vector<Job>& jobs) {
  jobs.push_back({"GameIcon", [](const std::string& root, std::vector<Thumbnail>& t) { MakeIcon(root, t); }});
  jobs.push_back({"Layers Collisions", [](const std::string& root, std::vector<Thumbnail>&) { MakeCollisionFiles(root); }});
  jobs.push_back({"ParticleSystems", [](const std::string& root, std::vector<Thumbnail>& t) { MakeParticle(root, t); }});
  jobs.push_back({"Cursors and Skins", [](const std::string& root, std::vector<Thumbnail>& t) { MakeGuiPictures(root, t); }});
}

}  // namespace AssetGen
