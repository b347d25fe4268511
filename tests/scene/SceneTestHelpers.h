#pragma once
// Fixtures of the scene tests: the recording fake renderer as the singleton, a texture factory that
// makes fake textures of known sizes, and a generator of small bitmap fonts (".png" and ".fbf").
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/renderer/FakeRenderer.h"
#include "scene/Engine_BitmapFont.h"
#include "scene/Engine_SceneGraph.h"

namespace SceneTest {

// Fake textures: a name registered here gets that size; any other name is decoded from its PNG
// file for the size; a file that cannot be read gives no texture.
void RegisterTextureSize(const std::string& name, int32_t width, int32_t height);
void InstallFakeTextures();
void UninstallFakeTextures();

// Metrics of a generated font: every glyph has the same width, advance and height.
struct FontSpec {
  int32_t cellSize = 16;     // H3
  int32_t baseline = 2;      // H1
  int32_t secondOffset = 3;  // H5
  int32_t lineHeight = 20;   // H6
  int32_t glyphWidth = 8;    // V1
  int32_t advance = 10;      // V2
  int32_t glyphHeight = 12;  // V3
  float leftBearing = 0.5f;  // V6
  int32_t horizontalOffset = 1;  // V7
  int32_t verticalOffset = 4;    // V8
  std::string fontName = "TestFont";
};

// The ".fbf" bytes of a font.
std::string MakeFontMetrics(const FontSpec& spec);
// Writes base + ".fbf" and base + ".png" (a 160 x 160 sheet whose glyph cells are white on
// transparent); returns false when a file cannot be written.
bool WriteFont(const std::string& base, const FontSpec& spec);

// A scene of one viewport drawn by the recording fake renderer, with the fake texture factory when
// the tests load textures by name. The scene goes before the renderer it draws with.
class SceneFixture : public ::testing::Test {
 protected:
  explicit SceneFixture(bool fakeTextures = false, uint32_t width = 640, uint32_t height = 480)
      : m_fakeTextures(fakeTextures), m_descriptor(width, height) {}
  void SetUp() override {
    renderer = Renderer::FakeRenderer::Install(m_descriptor);
    if (m_fakeTextures) InstallFakeTextures();
    scene = std::make_unique<Engine::SceneGraph>(renderer.Get());
    scene->SetViewportCount(1);
  }
  void TearDown() override {
    scene.reset();
    if (m_fakeTextures) UninstallFakeTextures();
    Renderer::IRenderer::SetInstance(nullptr);
  }
  Engine::RenderQueue& Queue() { return scene->GetRenderQueue(); }
  // Draws what is queued with an empty call log, so the log holds this draw only.
  void FlushFresh() {
    renderer->ClearLog();
    scene->FlushRenderQueue();
  }

  Core::SmartPointer<Renderer::FakeRenderer> renderer;
  std::unique_ptr<Engine::SceneGraph> scene;

 private:
  bool m_fakeTextures;
  Renderer::RendererDescriptor m_descriptor;
};

}  // namespace SceneTest
