#pragma once
// An image the renderer can bind, shared by file name through the texture cache.
#include <cstdint>

#include "core/Core_Object.h"
#include "core/Core_String.h"

namespace Renderer {

class TexelCoverage;

class ITexture : public Core::Object {
 public:
  // The cached texture of that name, or a new one loaded from the file (an unreadable file gives the
  // fallback pattern). Needs the renderer and its current rendering context.
  static Core::SmartPointer<ITexture> Create(const Core::String& fileName, bool mipmaps);

  const char* GetClassName() const override { return "Renderer::ITexture"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(ITexture)); }

  // The image file's own size, also when the uploaded image was rescaled.
  virtual int32_t GetWidth() const = 0;
  virtual int32_t GetHeight() const = 0;
  virtual int32_t GetDepth() const = 0;
  // 1: two-dimensional.
  virtual int32_t GetType() const = 0;
  virtual uint32_t GetHandle() const = 0;
  virtual void Reload() = 0;
  virtual void ReleaseHandle() = 0;
  virtual bool HasMipmaps() const = 0;
  virtual const Core::String& GetName() const = 0;
  // Which texels can show, as uploaded at level 0; null when unknown (then every texel may).
  virtual const TexelCoverage* GetCoverage() const { return nullptr; }
};

}  // namespace Renderer
