#pragma once
// What tests see of a drawn frame: the window's pixels read back top row first, kept as pictures
// in the build folder for a person to look at, and a real window with the OpenGL renderer for the
// tests that draw without a game.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Core_Object.h"
#include "platform/PAL_Window.h"
#include "renderer/Renderer_IRenderer.h"

namespace TestSupport {

// A picture of the window: RGB, top row first.
struct Picture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> rgb;
  const uint8_t* At(int32_t x, int32_t y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
  bool Empty() const { return rgb.empty(); }
};

// The frame the renderer has drawn, read before it is shown; empty (and a test failure) without a
// renderer.
Picture ReadScreen(Renderer::IRenderer* renderer);
// <build folder>/<name>, made when missing: where pictures are kept after the run.
std::string ArtefactFolder(const std::string& name);
// Writes the picture as <folder>/<name>.png; a picture that cannot be written fails the test.
void SavePicture(const Picture& picture, const std::string& folder, const std::string& name);
// Reads the drawn frame and keeps it as <folder>/<name>.png.
Picture SaveScreen(Renderer::IRenderer* renderer, const std::string& folder, const std::string& name);

// A real window of the given size with the OpenGL renderer on it, and a fresh scratch folder.
// Open it under ASSERT_NO_FATAL_FAILURE.
class RenderWindow {
 public:
  ~RenderWindow() { CloseWindow(); }
  void OpenWindow(const std::string& folderPrefix, int32_t width, int32_t height);
  void CloseWindow();

  std::string directory;
  std::unique_ptr<PAL::Window> window;
  Core::SmartPointer<Renderer::IRenderer> renderer;
};

}  // namespace TestSupport
