#include "scene/Engine_TextureSource.h"

#include "renderer/Renderer_ITexture.h"

namespace Engine {
namespace {
TextureFactory g_factory = nullptr;
std::string g_textureDirectory;
}  // namespace

void SetTextureFactory(TextureFactory factory) { g_factory = factory; }

Core::SmartPointer<Renderer::ITexture> LoadTexture(const std::string& fileName, bool mipmaps) {
  if (g_factory == nullptr) return Core::SmartPointer<Renderer::ITexture>();
  return g_factory(Core::String(fileName), mipmaps);
}

void SetTextureDirectory(const std::string& directory) { g_textureDirectory = directory; }

const std::string& GetTextureDirectory() { return g_textureDirectory; }

}  // namespace Engine
