#include "scene/Engine_TextureSource.h"

#include "renderer/Engine_RenderingApplication.h"
#include "renderer/Renderer_ITexture.h"

namespace Engine {
namespace {
TextureFactory g_factory = &Renderer::ITexture::Create;
std::string g_textureDirectory;
}  // namespace

void SetTextureFactory(TextureFactory factory) { g_factory = factory ? factory : &Renderer::ITexture::Create; }

Core::SmartPointer<Renderer::ITexture> LoadTexture(const std::string& fileName, bool mipmaps) {
  if (g_factory == nullptr) return Core::SmartPointer<Renderer::ITexture>();
  return g_factory(Core::String(fileName), mipmaps);
}

void SetTextureDirectory(const std::string& directory) { g_textureDirectory = directory; }

std::string GetTextureDirectory() {
  if (RenderingApplication* application = RenderingApplication::GetInstance()) return application->GetTextureDirectory();
  return g_textureDirectory;
}

}  // namespace Engine
