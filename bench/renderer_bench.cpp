// Sprite throughput: N blended, textured 64 x 64 quads per 1280 x 720 frame, from one texture or
// from eight textures interleaved in submission order. Drawn through the renderer (one effect
// application per frame, one bind and one draw per texture after sorting by texture, as the render
// queue draws) and through plain GL with one vertex-array call per texture, in the same run.
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/Engine_Application.h"
#include "platform/PAL_Window.h"
#include "platform/PAL_WindowGL.h"
#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_RenderStates.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr int kTextureCount = 8;

struct Scene {
  std::unique_ptr<PAL::Window> window;
  Core::SmartPointer<Renderer::IRenderer> renderer;
  std::vector<Core::SmartPointer<Renderer::ITexture>> textures;
  Core::SmartPointer<Renderer::Effect> effect;
  std::string directory;
};

// A 64 x 64 RGBA picture written as a PNG file in a temporary folder.
std::string WriteTexturePng(const std::string& path, int index);

Scene* GetScene() {
  static Scene* scene = [] {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') return static_cast<Scene*>(nullptr);
    auto* s = new Scene();
    s->window = std::make_unique<PAL::Window>(kWidth, kHeight);
    s->window->SetVisible(true);
    Renderer::RendererDescriptor descriptor(kWidth, kHeight);
    descriptor.window = s->window.get();
    s->renderer = Renderer::IRenderer::Create(descriptor);
    s->renderer->SetVSync(false);
    s->renderer->SetProjectionMatrix(Math::Matrix4x4::MakeOrtho2D(0, kWidth, 0, kHeight));
    s->directory = (std::filesystem::temp_directory_path() / "velkor_renderer_bench").string();
    std::filesystem::create_directories(s->directory);
    for (int i = 0; i < kTextureCount; ++i)
      s->textures.push_back(Renderer::ITexture::Create(
          WriteTexturePng(s->directory + "/sprite" + std::to_string(i) + ".png", i), false));
    s->effect = Renderer::CreateSpriteEffect();
    return s;
  }();
  return scene;
}

// Positions and texture coordinates of N quads (two triangles each), laid out over the window.
struct Quads {
  std::vector<float> vertices;     // 3 per vertex
  std::vector<float> coordinates;  // 2 per vertex
  std::vector<int> texture;        // per quad
};

Quads MakeQuads(int count, int textures) {
  Quads quads;
  uint32_t seed = 12345;
  auto next = [&] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) & 0xFFFF;
  };
  for (int i = 0; i < count; ++i) {
    const float x = static_cast<float>(next() % (kWidth - 64)), y = static_cast<float>(next() % (kHeight - 64));
    const float corners[6][2] = {{0, 0}, {64, 0}, {64, 64}, {0, 0}, {64, 64}, {0, 64}};
    for (const auto& c : corners) {
      quads.vertices.insert(quads.vertices.end(), {x + c[0], y + c[1], 0.0f});
      quads.coordinates.insert(quads.coordinates.end(), {c[0] / 64.0f, c[1] / 64.0f});
    }
    quads.texture.push_back(i % textures);  // interleaved: every quad switches texture
  }
  return quads;
}

// Sorted by texture, as the render queue hands them over: the ranges of each texture's quads.
struct SortedQuads {
  std::vector<float> vertices, coordinates;
  std::vector<std::pair<uint32_t, uint32_t>> ranges;  // first vertex, vertex count per texture
};

SortedQuads SortByTexture(const Quads& quads, int textures) {
  SortedQuads sorted;
  for (int t = 0; t < textures; ++t) {
    const auto first = static_cast<uint32_t>(sorted.vertices.size() / 3);
    for (size_t q = 0; q < quads.texture.size(); ++q) {
      if (quads.texture[q] != t) continue;
      sorted.vertices.insert(sorted.vertices.end(), quads.vertices.begin() + q * 18, quads.vertices.begin() + q * 18 + 18);
      sorted.coordinates.insert(sorted.coordinates.end(), quads.coordinates.begin() + q * 12,
                                quads.coordinates.begin() + q * 12 + 12);
    }
    sorted.ranges.emplace_back(first, static_cast<uint32_t>(sorted.vertices.size() / 3) - first);
  }
  return sorted;
}

void ThroughRenderer(benchmark::State& state, int textures) {
  Scene* scene = GetScene();
  if (scene == nullptr) {
    state.SkipWithError("no X display (run under Xvfb)");
    return;
  }
  const SortedQuads sorted = SortByTexture(MakeQuads(static_cast<int>(state.range(0)), textures), textures);
  Renderer::IRenderer* renderer = scene->renderer.Get();
  auto technique = scene->effect->GetTechnique(0);
  auto pass = technique->GetPass(0);
  for (auto _ : state) {
    renderer->ClearBuffers(Math::Color(0.1f, 0.1f, 0.2f, 1.0f), 1.0f, 0);
    technique->SaveStates();
    renderer->SetVertexArray(sorted.vertices.data());
    renderer->SetTextureCoordinateArray(0, sorted.coordinates.data());
    renderer->SetPrimitiveType(Renderer::PrimitiveType::TriangleList);
    for (int t = 0; t < textures; ++t) {
      renderer->SetTexture(0, scene->textures[t]);
      pass->Apply();
      const auto& range = sorted.ranges[t];
      if (range.second > 0) renderer->DrawRange(range.first, range.first + range.second - 1);
    }
    technique->RestoreStates();
    renderer->SetVertexArray(nullptr);
    renderer->SetTextureCoordinateArray(0, nullptr);
    renderer->Present();
    glFinish();
  }
  state.counters["quads"] = static_cast<double>(state.range(0));
}

void PlainGL(benchmark::State& state, int textures) {
  Scene* scene = GetScene();
  if (scene == nullptr) {
    state.SkipWithError("no X display (run under Xvfb)");
    return;
  }
  const SortedQuads sorted = SortByTexture(MakeQuads(static_cast<int>(state.range(0)), textures), textures);
  std::vector<GLuint> handles;
  for (const auto& texture : scene->textures) handles.push_back(texture->GetHandle());
  for (auto _ : state) {
    glClearColor(0.1f, 0.1f, 0.2f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glColor4f(1, 1, 1, 1);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, sorted.vertices.data());
    glTexCoordPointer(2, GL_FLOAT, 0, sorted.coordinates.data());
    for (int t = 0; t < textures; ++t) {
      glBindTexture(GL_TEXTURE_2D, handles[t]);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
      glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
      const auto& range = sorted.ranges[t];
      if (range.second > 0) glDrawArrays(GL_TRIANGLES, static_cast<GLint>(range.first), static_cast<GLsizei>(range.second));
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    PAL::SwapGLBuffers(*scene->window);
    glFinish();
  }
  state.counters["quads"] = static_cast<double>(state.range(0));
}

// Each quad drawn on its own with the sprite effect, as unsorted items would be: for comparison.
void RendererPerQuad(benchmark::State& state, int textures) {
  Scene* scene = GetScene();
  if (scene == nullptr) {
    state.SkipWithError("no X display (run under Xvfb)");
    return;
  }
  const Quads quads = MakeQuads(static_cast<int>(state.range(0)), textures);
  Renderer::IRenderer* renderer = scene->renderer.Get();
  auto technique = scene->effect->GetTechnique(0);
  auto pass = technique->GetPass(0);
  for (auto _ : state) {
    renderer->ClearBuffers(Math::Color(0.1f, 0.1f, 0.2f, 1.0f), 1.0f, 0);
    renderer->SetVertexArray(quads.vertices.data());
    renderer->SetTextureCoordinateArray(0, quads.coordinates.data());
    renderer->SetPrimitiveType(Renderer::PrimitiveType::TriangleList);
    for (size_t q = 0; q < quads.texture.size(); ++q) {
      renderer->SetTexture(0, scene->textures[quads.texture[q]]);
      technique->SaveStates();
      pass->Apply();
      renderer->DrawRange(static_cast<uint32_t>(q * 6), static_cast<uint32_t>(q * 6 + 5));
      technique->RestoreStates();
    }
    renderer->SetVertexArray(nullptr);
    renderer->SetTextureCoordinateArray(0, nullptr);
    renderer->Present();
    glFinish();
  }
  state.counters["quads"] = static_cast<double>(state.range(0));
}

void BM_Renderer_OneTexture(benchmark::State& state) { ThroughRenderer(state, 1); }
void BM_Renderer_EightTextures(benchmark::State& state) { ThroughRenderer(state, kTextureCount); }
void BM_PlainGL_OneTexture(benchmark::State& state) { PlainGL(state, 1); }
void BM_PlainGL_EightTextures(benchmark::State& state) { PlainGL(state, kTextureCount); }
void BM_RendererPerQuad_EightTextures(benchmark::State& state) { RendererPerQuad(state, kTextureCount); }

#define VELKOR_SPRITE_SIZES ->Arg(500)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()
BENCHMARK(BM_PlainGL_OneTexture) VELKOR_SPRITE_SIZES;
BENCHMARK(BM_Renderer_OneTexture) VELKOR_SPRITE_SIZES;
BENCHMARK(BM_PlainGL_EightTextures) VELKOR_SPRITE_SIZES;
BENCHMARK(BM_Renderer_EightTextures) VELKOR_SPRITE_SIZES;
BENCHMARK(BM_RendererPerQuad_EightTextures) VELKOR_SPRITE_SIZES;

// 64 x 64 RGBA: a disc with a hard edge over a horizontal ramp, tinted by the index.
std::string WriteTexturePng(const std::string& path, int index) {
  std::vector<uint8_t> rgba;
  rgba.reserve(64 * 64 * 4);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      const int dx = x - 32, dy = y - 32;
      const bool inside = dx * dx + dy * dy < 30 * 30;
      rgba.push_back(static_cast<uint8_t>(40 + index * 25));
      rgba.push_back(static_cast<uint8_t>(200 - index * 20));
      rgba.push_back(static_cast<uint8_t>((x * 4) & 0xFF));
      rgba.push_back(static_cast<uint8_t>(inside ? 255 : 0));
    }
  }
  stbi_write_png(path.c_str(), 64, 64, 4, rgba.data(), 64 * 4);
  return path;
}

}  // namespace


BENCHMARK_MAIN();
