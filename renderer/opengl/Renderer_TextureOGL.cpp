#include "renderer/opengl/Renderer_TextureOGL.h"

#include <algorithm>

#include "platform/PAL_WindowGL.h"
#include "renderer/Renderer_Image.h"
#include "renderer/Renderer_Surface.h"
#include "renderer/opengl/Renderer_OGLRenderer.h"
#include "renderer/opengl/Renderer_OpenGL.h"

namespace Renderer {

namespace {
TextureManager* g_manager = nullptr;
}  // namespace

TextureManager::TextureManager() { g_manager = this; }

TextureManager::~TextureManager() {
  for (TextureOGL* texture : m_textures) texture->Detach();
  if (g_manager == this) g_manager = nullptr;
}

TextureManager* TextureManager::GetInstance() { return g_manager; }

TextureOGL* TextureManager::Find(const Core::String& name) const {
  auto found = m_byName.find(name);
  return found != m_byName.end() ? found->second : nullptr;
}

void TextureManager::Add(TextureOGL* texture) { m_textures.push_back(texture); }

void TextureManager::Store(const Core::String& name, TextureOGL* texture) { m_byName[name] = texture; }

void TextureManager::Remove(TextureOGL* texture) {
  m_textures.erase(std::remove(m_textures.begin(), m_textures.end(), texture), m_textures.end());
  auto found = m_byName.find(texture->GetName());
  if (found != m_byName.end() && found->second == texture) m_byName.erase(found);
}

Core::SmartPointer<ITexture> ITexture::Create(const Core::String& fileName, bool mipmaps) {
  TextureManager* manager = TextureManager::GetInstance();
  if (manager == nullptr) return nullptr;  // no renderer, no context: nothing to upload to
  if (TextureOGL* cached = manager->Find(fileName)) return Core::SmartPointer<ITexture>(cached);
  Core::SmartPointer<ITexture> texture(new (__FILE__, __LINE__) TextureOGL(fileName, mipmaps));
  manager->Store(fileName, static_cast<TextureOGL*>(texture.Get()));
  return texture;
}

TextureOGL::TextureOGL(const Core::String& fileName, bool mipmaps) : m_name(fileName) {
  m_mipmapsRequested = mipmaps ? 1 : 0;
  Load();
  m_manager = TextureManager::GetInstance();
  if (m_manager) m_manager->Add(this);
}

TextureOGL::~TextureOGL() {
  if (m_manager == nullptr) return;  // the renderer and its context are gone: so is the GL texture
  m_manager->Remove(this);
  ReleaseHandle();
}

void TextureOGL::Detach() {
  m_manager = nullptr;
  m_handle = 0;
}

void TextureOGL::ReleaseHandle() {
  if (m_handle != 0 && PAL::GetCurrentGLWindow() != nullptr) glDeleteTextures(1, &m_handle);
  m_handle = 0;
}

void TextureOGL::Reload() {
  // Load makes a new GL texture: the old one would otherwise stay allocated with nobody to free it.
  ReleaseHandle();
  Load();
}

void TextureOGL::Load() {
  GLint maximumSize = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maximumSize);
  if (maximumSize <= 0) maximumSize = 1;
  OGLRenderer* renderer = OGLRenderer::GetCurrent();
  const bool npot = renderer != nullptr && renderer->HasGLExtension("GL_ARB_texture_non_power_of_two");
  m_hasMipmaps = m_mipmapsRequested;
  m_levels.clear();
  m_coverage.reset();
  if (LoadImageFile(npot, maximumSize)) {
    m_loadedFromFile = true;
    return;
  }
  Surface surface(m_name);
  m_loadedFromFile = surface.LoadedFromFile();
  UploadSurface(surface);
}

bool TextureOGL::LoadImageFile(bool npot, int32_t maximumSize) {
  m_width = m_height = m_depth = 0;
  if (!HasImageFileSuffix(m_name)) return false;
  std::vector<uint8_t> bytes;
  std::string error;
  Image source;
  if (!ReadFileBytes(m_name, bytes, error) || !DecodeImage(bytes.data(), bytes.size(), source, error)) return false;
  m_width = static_cast<int32_t>(source.width);
  m_height = static_cast<int32_t>(source.height);
  uint32_t targetWidth = npot ? source.width : NearestPowerOfTwo(source.width);
  uint32_t targetHeight = npot ? source.height : NearestPowerOfTwo(source.height);
  targetWidth = std::min<uint32_t>(targetWidth, static_cast<uint32_t>(maximumSize));
  targetHeight = std::min<uint32_t>(targetHeight, static_cast<uint32_t>(maximumSize));

  GLint alignment = 4;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glGenTextures(1, &m_handle);
  glBindTexture(GL_TEXTURE_2D, m_handle);
  std::vector<uint8_t> pixels;
  for (int level = 0;; ++level) {
    const uint32_t levelWidth = std::max<uint32_t>(1, targetWidth >> level);
    const uint32_t levelHeight = std::max<uint32_t>(1, targetHeight >> level);
    // Every level is drawn from the decoded picture, not from the level before it.
    Image scaled;
    if (!ResizeImage(source, levelWidth, levelHeight, scaled)) break;
    ToSurfacePixels(scaled, pixels);
    // Texture coordinates are fractions of the picture: coverage read at the file's own size only.
    if (level == 0 && levelWidth == source.width && levelHeight == source.height) {
      m_coverage = std::make_unique<TexelCoverage>(levelWidth, levelHeight, pixels.data());
    }
    glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA, static_cast<GLsizei>(levelWidth), static_cast<GLsizei>(levelHeight), 0,
                 GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    m_levels.emplace_back(static_cast<int32_t>(levelWidth), static_cast<int32_t>(levelHeight));
    if (!m_mipmapsRequested || (levelWidth == 1 && levelHeight == 1)) break;
  }
  glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
  if (!m_levels.empty()) {
    m_uploadedWidth = m_levels.front().first;
    m_uploadedHeight = m_levels.front().second;
  }
  return true;
}

void TextureOGL::UploadSurface(const Surface& surface) {
  m_width = static_cast<int32_t>(surface.width);
  m_height = static_cast<int32_t>(surface.height);
  m_depth = 0;
  GLint alignment = 4;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glGenTextures(1, &m_handle);
  glBindTexture(GL_TEXTURE_2D, m_handle);
  if (m_mipmapsRequested) {
    m_hasMipmaps = 1;
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, m_width, m_height, GL_RGBA, GL_UNSIGNED_BYTE, surface.pixels.data());
    m_uploadedWidth = m_width;
    m_uploadedHeight = m_height;
  } else {
    m_hasMipmaps = 0;
    GLint maximumSize = 1;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maximumSize);
    OGLRenderer* renderer = OGLRenderer::GetCurrent();
    const bool npot = renderer != nullptr && renderer->HasGLExtension("GL_ARB_texture_non_power_of_two");
    const bool fits = m_width <= maximumSize && m_height <= maximumSize;
    if (fits && (npot || (IsPowerOfTwo(surface.width) && IsPowerOfTwo(surface.height)))) {
      glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, m_width, m_height, 0, GL_RGBA, GL_UNSIGNED_BYTE, surface.pixels.data());
      if (surface.pixels.size() >= static_cast<size_t>(surface.width) * surface.height * 4) {
        m_coverage = std::make_unique<TexelCoverage>(surface.width, surface.height, surface.pixels.data());
      }
      m_uploadedWidth = m_width;
      m_uploadedHeight = m_height;
    } else {
      const GLint newWidth = std::min<GLint>(static_cast<GLint>(NearestPowerOfTwo(surface.width)), maximumSize);
      const GLint newHeight = std::min<GLint>(static_cast<GLint>(NearestPowerOfTwo(surface.height)), maximumSize);
      std::vector<uint8_t> scaled(static_cast<size_t>(newWidth) * newHeight * 4);
      gluScaleImage(GL_RGBA, m_width, m_height, GL_UNSIGNED_BYTE, surface.pixels.data(), newWidth, newHeight,
                    GL_UNSIGNED_BYTE, scaled.data());
      glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, newWidth, newHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, scaled.data());
      m_uploadedWidth = newWidth;
      m_uploadedHeight = newHeight;
    }
  }
  m_levels.emplace_back(m_uploadedWidth, m_uploadedHeight);
  glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

}  // namespace Renderer
