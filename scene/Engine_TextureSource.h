#pragma once
// Where the scene's nodes get their textures: one factory (the renderer's texture cache by default;
// headless tests hand in their own) and the directory that saved sprite animations load from.
#include <string>

#include "core/Core_Object.h"
#include "core/Core_String.h"

namespace Renderer {
class ITexture;
}

namespace Engine {

using TextureFactory = Core::SmartPointer<Renderer::ITexture> (*)(const Core::String& fileName, bool mipmaps);

// Null restores the default.
void SetTextureFactory(TextureFactory factory);
// The texture of that file through the factory; null when there is none to be had.
Core::SmartPointer<Renderer::ITexture> LoadTexture(const std::string& fileName, bool mipmaps);

// Prefixed (with a "\" separator) to the texture names that sprite animations read from a stream:
// the rendering application's texture directory, or the one set here while there is no application.
void SetTextureDirectory(const std::string& directory);
std::string GetTextureDirectory();

}  // namespace Engine
