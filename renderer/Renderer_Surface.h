#pragma once
// A picture in memory: RGBA bytes, row 0 at the bottom. Made from image files (or the raw surface
// format) and drawn directly into the window by the renderer's surface copies.
#include <cstdint>
#include <vector>

#include "core/Core_Object.h"
#include "core/Core_String.h"

namespace Renderer {

class Surface : public Core::Object {
 public:
  uint32_t format = 0;
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t pitch = 0;  // bytes per row: width x 4
  std::vector<uint8_t> pixels;

  // Loads PNG, BMP or JPEG by the name's ending, else the raw surface file; anything unreadable
  // gives the 256 x 256 fallback pattern (see LoadedFromFile).
  explicit Surface(const Core::String& fileName);
  // A transparent black picture.
  Surface(uint32_t widthPixels, uint32_t heightPixels, uint32_t pixelFormat);
  Surface(const Surface&) = default;

  Core::Object* Clone() const override;
  const char* GetClassName() const override { return "Renderer::Surface"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(Surface)); }

  // False when the file could not be read and the fallback stands in; GetError says why.
  bool LoadedFromFile() const { return m_loaded; }
  const std::string& GetError() const { return m_error; }

 private:
  void MakeFallback();

  bool m_loaded = false;
  std::string m_error;
};

}  // namespace Renderer
