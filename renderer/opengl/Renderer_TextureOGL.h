#pragma once
// OpenGL textures loaded from image files, and the cache that shares them by file name.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "renderer/Renderer_ITexture.h"
#include "renderer/Renderer_TexelCoverage.h"

namespace Renderer {

class Surface;
class TextureOGL;

// Knows every live texture (without owning any). Lives as long as the renderer; when it goes, the
// textures still held elsewhere are cut loose so that their release touches neither it nor GL.
class TextureManager {
 public:
  TextureManager();
  ~TextureManager();
  TextureManager(const TextureManager&) = delete;
  TextureManager& operator=(const TextureManager&) = delete;

  static TextureManager* GetInstance();
  TextureOGL* Find(const Core::String& name) const;
  void Add(TextureOGL* texture);
  void Store(const Core::String& name, TextureOGL* texture);
  void Remove(TextureOGL* texture);
  size_t GetCount() const { return m_textures.size(); }

 private:
  std::vector<TextureOGL*> m_textures;
  std::map<std::string, TextureOGL*> m_byName;
};

class TextureOGL : public ITexture {
 public:
  // Loads the file now (the fallback pattern when it cannot be read) and joins the manager.
  TextureOGL(const Core::String& fileName, bool mipmaps);
  ~TextureOGL() override;
  const char* GetClassName() const override { return "Renderer::TextureOGL"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(TextureOGL)); }

  int32_t GetWidth() const override { return m_width; }
  int32_t GetHeight() const override { return m_height; }
  int32_t GetDepth() const override { return m_depth; }
  int32_t GetType() const override { return 1; }
  uint32_t GetHandle() const override { return m_handle; }
  // Makes a new GL texture from the file; the old one is not deleted.
  void Reload() override;
  void ReleaseHandle() override;
  bool HasMipmaps() const override { return m_hasMipmaps != 0; }
  const Core::String& GetName() const override { return m_name; }
  const TexelCoverage* GetCoverage() const override { return m_coverage.get(); }

  // The size actually uploaded at level 0 (after any power-of-two rescaling).
  int32_t GetUploadedWidth() const { return m_uploadedWidth; }
  int32_t GetUploadedHeight() const { return m_uploadedHeight; }
  // Sizes of every uploaded level, level 0 first.
  const std::vector<std::pair<int32_t, int32_t>>& GetLevelSizes() const { return m_levels; }
  // Whether the file was read (false: the fallback pattern stands in).
  bool IsLoadedFromFile() const { return m_loadedFromFile; }

  // Called by the manager as it goes away.
  void Detach();
  // The stream form stays the object's own; named so that the private reload below does not hide it.
  using Core::Object::Load;

 private:
  void Load();
  bool LoadImageFile(bool npot, int32_t maximumSize);
  void UploadSurface(const Surface& surface);

  int32_t m_width = 0;
  int32_t m_height = 0;
  uint32_t m_handle = 0;
  int32_t m_depth = 0;
  Core::String m_name;
  uint8_t m_mipmapsRequested = 0;
  uint8_t m_hasMipmaps = 0;
  int32_t m_uploadedWidth = 0;
  int32_t m_uploadedHeight = 0;
  std::vector<std::pair<int32_t, int32_t>> m_levels;
  bool m_loadedFromFile = false;
  std::unique_ptr<TexelCoverage> m_coverage;
  TextureManager* m_manager = nullptr;
};

}  // namespace Renderer
