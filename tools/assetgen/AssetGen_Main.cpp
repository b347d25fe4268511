// velkor_assetgen: draws the whole Resources tree the game reads, deterministically.
//   velkor_assetgen <output Resources folder> [--contact-sheet <png>] [--only <substring>]
#include "AssetGen.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include <stb/stb_image_write.h>

namespace AssetGen {

void WriteFile(const std::string& path, const std::string& bytes) {
  std::filesystem::path p(path);
  std::error_code ec;
  std::filesystem::create_directories(p.parent_path(), ec);
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "velkor_assetgen: cannot write %s\n", path.c_str());
    std::exit(1);
  }
}

std::string ReadFileOrDie(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "velkor_assetgen: cannot read %s\n", path.c_str());
    std::exit(1);
  }
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string EncodePng(cairo_surface_t* surface) {
  // Always colour type 6 (8-bit RGBA, straight alpha), even for opaque pictures: cairo's own writer
  // drops the alpha channel of opaque surfaces. cairo keeps premultiplied ARGB words.
  cairo_surface_flush(surface);
  const int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  std::vector<uint8_t> rgba(static_cast<size_t>(w) * h * 4);
  for (int y = 0; y < h; ++y) {
    const uint32_t* src = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < w; ++x) {
      const uint32_t argb = src[x];
      const uint32_t a = argb >> 24;
      uint8_t* d = &rgba[(static_cast<size_t>(y) * w + x) * 4];
      if (a == 0) {
        d[0] = d[1] = d[2] = d[3] = 0;
      } else {
        d[0] = static_cast<uint8_t>((((argb >> 16) & 255) * 255 + a / 2) / a);
        d[1] = static_cast<uint8_t>((((argb >> 8) & 255) * 255 + a / 2) / a);
        d[2] = static_cast<uint8_t>(((argb & 255) * 255 + a / 2) / a);
        d[3] = static_cast<uint8_t>(a);
      }
    }
  }
  std::string out;
  auto append = [](void* context, void* bytes, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(bytes), static_cast<size_t>(size));
  };
  if (stbi_write_png_to_func(append, &out, w, h, 4, rgba.data(), w * 4) == 0) {
    std::fprintf(stderr, "velkor_assetgen: PNG encoding failed\n");
    std::exit(1);
  }
  return out;
}

Thumbnail MakeThumbnail(const std::string& label, cairo_surface_t* source, int maxWidth, int maxHeight) {
  int w = cairo_image_surface_get_width(source), h = cairo_image_surface_get_height(source);
  double scale = std::min(1.0, std::min(maxWidth / static_cast<double>(w), maxHeight / static_cast<double>(h)));
  int tw = std::max(1, static_cast<int>(std::lround(w * scale)));
  int th = std::max(1, static_cast<int>(std::lround(h * scale)));
  Thumbnail t;
  t.label = label;
  t.sourceWidth = w;
  t.sourceHeight = h;
  t.surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, tw, th);
  cairo_t* cr = cairo_create(t.surface);
  cairo_scale(cr, scale, scale);
  cairo_set_source_surface(cr, source, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_paint(cr);
  cairo_destroy(cr);
  return t;
}

namespace {

// Lays every thumbnail on a grey checkerboard (so transparency shows) with its name under it.
void WriteContactSheet(const std::string& path, const std::vector<Thumbnail>& thumbs) {
  const int cellW = 260, cellH = 200, columns = 8;
  int rows = static_cast<int>((thumbs.size() + columns - 1) / columns);
  cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, columns * cellW, std::max(1, rows) * cellH);
  cairo_t* cr = cairo_create(sheet);
  SetColor(cr, Hex(0x202020));
  cairo_paint(cr);
  for (size_t i = 0; i < thumbs.size(); ++i) {
    const Thumbnail& t = thumbs[i];
    double x = (i % columns) * cellW, y = (i / columns) * cellH;
    int tw = cairo_image_surface_get_width(t.surface), th = cairo_image_surface_get_height(t.surface);
    double ox = x + (cellW - tw) / 2.0, oy = y + 6 + (cellH - 40 - th) / 2.0;
    for (int cy = 0; cy < th; cy += 8)
      for (int cx = 0; cx < tw; cx += 8) {
        cairo_rectangle(cr, ox + cx, oy + cy, std::min(8, tw - cx), std::min(8, th - cy));
        SetColor(cr, ((cx / 8 + cy / 8) % 2) ? Hex(0x8A8A8A) : Hex(0x6A6A6A));
        cairo_fill(cr);
      }
    cairo_set_source_surface(cr, t.surface, ox, oy);
    cairo_paint(cr);
    TextStyle style;
    style.size = 12;
    style.maxWidth = cellW - 8;
    style.fill = Hex(0xFFFFFF);
    DrawText(cr, t.label, x + cellW / 2.0, y + cellH - 20, style);
    style.size = 10;
    style.fill = Hex(0xAAAAAA);
    DrawText(cr, std::to_string(t.sourceWidth) + "x" + std::to_string(t.sourceHeight), x + cellW / 2.0,
             y + cellH - 6, style);
  }
  cairo_destroy(cr);
  WriteFile(path, EncodePng(sheet));
  cairo_surface_destroy(sheet);
}

}  // namespace
}  // namespace AssetGen

int main(int argc, char** argv) {
  using namespace AssetGen;
  if (argc < 2) {
    std::fprintf(stderr, "usage: velkor_assetgen <Resources folder> [--contact-sheet <png>] [--only <text>]\n");
    return 2;
  }
  std::string root = argv[1];
  std::string contactSheet, only;
  for (int i = 2; i + 1 < argc; i += 2) {
    std::string option = argv[i];
    if (option == "--contact-sheet") contactSheet = argv[i + 1];
    else if (option == "--only") only = argv[i + 1];
    else {
      std::fprintf(stderr, "velkor_assetgen: unknown option %s\n", option.c_str());
      return 2;
    }
  }
  while (!root.empty() && root.back() == '/') root.pop_back();

  auto started = std::chrono::steady_clock::now();
  std::vector<Job> jobs;
  AddSpriteJobs(jobs);
  AddFontJobs(jobs);
  AddSoundJobs(jobs);
  AddMiscJobs(jobs);
  if (!only.empty()) {
    jobs.erase(std::remove_if(jobs.begin(), jobs.end(),
                              [&](const Job& j) { return j.name.find(only) == std::string::npos; }),
               jobs.end());
  }

  // Each job writes its own files, so the order in which threads pick them does not change a byte.
  std::vector<std::vector<Thumbnail>> thumbs(jobs.size());
  std::atomic<size_t> next{0};
  unsigned workers = std::max(1u, std::min(16u, std::thread::hardware_concurrency()));
  std::vector<std::thread> threads;
  for (unsigned w = 0; w < workers; ++w) {
    threads.emplace_back([&] {
      for (size_t i = next++; i < jobs.size(); i = next++) jobs[i].run(root, thumbs[i]);
    });
  }
  for (std::thread& t : threads) t.join();

  if (!contactSheet.empty()) {
    std::vector<Thumbnail> all;
    for (auto& list : thumbs)
      for (auto& t : list) all.push_back(t);
    WriteContactSheet(contactSheet, all);
  }
  for (auto& list : thumbs)
    for (auto& t : list) cairo_surface_destroy(t.surface);

  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("velkor_assetgen: %zu jobs written to %s in %.2f s\n", jobs.size(), root.c_str(), seconds);
  return 0;
}
