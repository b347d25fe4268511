#include "tests/support/Screenshots.h"

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "tests/support/TestSupport.h"

namespace TestSupport {

Picture ReadScreen(Renderer::IRenderer* renderer) {
  Picture picture;
  if (renderer == nullptr) {
    ADD_FAILURE() << "no renderer to read the screen from";
    return picture;
  }
  const Renderer::RendererDescriptor descriptor = renderer->GetDescriptor();
  picture.width = static_cast<int32_t>(descriptor.width);
  picture.height = static_cast<int32_t>(descriptor.height);
  std::vector<uint8_t> bottomUp(static_cast<size_t>(picture.width) * picture.height * 3);
  renderer->ReadPixels(bottomUp.data());
  // The renderer reads the bottom row first.
  picture.rgb.resize(bottomUp.size());
  const size_t row = static_cast<size_t>(picture.width) * 3;
  for (int32_t y = 0; y < picture.height; ++y) {
    std::copy_n(&bottomUp[(static_cast<size_t>(picture.height) - 1 - y) * row], row, &picture.rgb[y * row]);
  }
  return picture;
}

std::string ArtefactFolder(const std::string& name) {
  const std::string folder = std::string(VELKOR_ARTEFACT_DIR) + "/" + name;
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  EXPECT_FALSE(error) << folder << ": " << error.message();
  return folder;
}

void SavePicture(const Picture& picture, const std::string& folder, const std::string& name) {
  const std::string path = folder + "/" + name + ".png";
  EXPECT_NE(stbi_write_png(path.c_str(), picture.width, picture.height, 3, picture.rgb.data(), picture.width * 3), 0)
      << path;
}

Picture SaveScreen(Renderer::IRenderer* renderer, const std::string& folder, const std::string& name) {
  Picture picture = ReadScreen(renderer);
  SavePicture(picture, folder, name);
  return picture;
}

void RenderWindow::OpenWindow(const std::string& folderPrefix, int32_t width, int32_t height) {
  directory = MakeTempDirectory(folderPrefix);
  window = std::make_unique<PAL::Window>(width, height);
  Renderer::RendererDescriptor descriptor(width, height);
  descriptor.window = window.get();
  renderer = Renderer::IRenderer::Create(descriptor);
  ASSERT_TRUE(renderer);
}

void RenderWindow::CloseWindow() {
  renderer.Reset();
  window.reset();
  std::error_code ignored;
  if (!directory.empty()) std::filesystem::remove_all(directory, ignored);
  directory.clear();
}

}  // namespace TestSupport
