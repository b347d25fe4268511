#include "renderer/Renderer_Surface.h"

#include "renderer/Renderer_Image.h"

namespace Renderer {

Surface::Surface(const Core::String& fileName) {
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadFileBytes(fileName, bytes, error)) {
    m_error = error;
    MakeFallback();
    return;
  }
  if (HasImageFileSuffix(fileName)) {
    Image image;
    if (DecodeImage(bytes.data(), bytes.size(), image, error)) {
      width = image.width;
      height = image.height;
      pitch = width * 4;
      format = 0;
      ToSurfacePixels(image, pixels);
      m_loaded = true;
      return;
    }
  }
  // A name the decoder refuses is read as a raw surface file, as any other name is.
  if (ReadRawSurface(bytes.data(), bytes.size(), format, width, height, pixels, error)) {
    pitch = width * 4;
    m_loaded = true;
    return;
  }
  m_error = "\"" + fileName + "\": " + error;
  MakeFallback();
}

Surface::Surface(uint32_t widthPixels, uint32_t heightPixels, uint32_t pixelFormat)
    : format(pixelFormat), width(widthPixels), height(heightPixels), pitch(widthPixels * 4) {
  // Bounded like every picture from a file, so a bad caller cannot ask for gigabytes.
  if (width > kMaxImageSide || height > kMaxImageSide) width = height = pitch = 0;
  pixels.assign(static_cast<size_t>(width) * height * 4, 0);
  m_loaded = true;
}

Core::Object* Surface::Clone() const { return new (__FILE__, __LINE__) Surface(*this); }

void Surface::MakeFallback() {
  format = 0;
  width = height = kFallbackSide;
  pitch = kFallbackSide * 4;
  MakeFallbackPixels(pixels);
  m_loaded = false;
}

}  // namespace Renderer
