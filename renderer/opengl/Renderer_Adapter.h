#pragma once
// The process-wide description of the display and the graphics driver: display modes, the pixel
// formats the window system offers, the window-system extensions, and the full-screen switch.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/Core_Object.h"

namespace PAL {
class Window;
}

namespace Renderer {

struct DisplayModeRecord {
  uint32_t width = 100;
  uint32_t height = 100;
  uint32_t colorBits = 16;
  uint32_t refreshRate = 60;
  bool operator==(const DisplayModeRecord& o) const {
    return width == o.width && height == o.height && colorBits == o.colorBits && refreshRate == o.refreshRate;
  }
};

// Colour bits -> (width, height) -> refresh rates, all ascending.
using DisplayModeTable = std::map<uint32_t, std::map<std::pair<uint32_t, uint32_t>, std::set<uint32_t>>>;

void AddDisplayMode(DisplayModeTable& table, const DisplayModeRecord& mode);
// The first depth at least as deep as wanted (else the deepest); in it the first resolution that
// equals or exceeds the wanted one (else the largest); in it the first rate at least the wanted
// one (else the highest). An empty table answers (100, 100, 16, 60).
DisplayModeRecord ChooseClosestDisplayMode(const DisplayModeTable& table, const DisplayModeRecord& wanted);

struct PixelFormatRecord {
  int32_t index = 0;
  uint32_t colorBits = 0;
  uint32_t redBits = 0, greenBits = 0, blueBits = 0, alphaBits = 0;  // 0 in a request: any
  uint32_t depthBits = 0;
  uint32_t stencilBits = 0;
  uint32_t samples = 0;
  bool multisampling = false;
  uint32_t swapMethod = 0;  // 0 none given, 1 exchange, 2 copy, 3 undefined
  uint64_t visual = 0;      // the X11 visual a window needs for this format; 0 when not known
};

// The format for a request: at least the requested colour, channel, depth and stencil bits (0 in
// a request: any), multisampled with at least the requested samples exactly when the request asks
// for multisampling, and of the requested swap method, then exchange, copy, undefined and none
// given, in that order. Among the formats that fit, the one with the fewest bits to spare (the
// first listed on a tie). When none fits, the request is tried again with fewer samples: each
// smaller count the list offers, then none. 0 when nothing fits at all.
int32_t ChoosePixelFormat(const std::vector<PixelFormatRecord>& formats, const PixelFormatRecord& request);

// X11 through GLX, in the backend: the display's frame-buffer configurations that can draw to a
// window (RGBA, double buffered, not slow, on a visual of the screen's depth) and the display's GLX
// extensions; false when the display has no GLX 1.3 (then both lists are empty).
bool ReadDisplayPixelFormats(void* x11Display, std::vector<PixelFormatRecord>& formats,
                             std::vector<std::string>& extensions);
// The X11 visual a window was created with; 0 when it cannot be read.
uint64_t GetWindowVisualId(void* x11Display, uint64_t windowId);

class Adapter : public Core::Object {
 public:
  // Reads the display modes and the desktop mode and, through a hidden probe window, the pixel
  // formats the display offers. Works without a display (one empty mode, no formats).
  Adapter();
  ~Adapter() override;
  const char* GetClassName() const override { return "Renderer::Adapter"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(Adapter)); }

  static Core::SmartPointer<Adapter> GetInstance();

  DisplayModeRecord GetCurrentDisplayMode() const;
  DisplayModeRecord GetDesktopMode() const { return m_desktopMode; }
  void SetWantedDisplayMode(const DisplayModeRecord& mode) { m_wantedMode = mode; }
  DisplayModeRecord GetWantedDisplayMode() const { return m_wantedMode; }
  std::vector<uint32_t> GetColorDepths() const;
  std::vector<std::pair<uint32_t, uint32_t>> GetResolutions(uint32_t colorBits) const;
  std::vector<uint32_t> GetRefreshRates(uint32_t colorBits, uint32_t width, uint32_t height) const;
  DisplayModeRecord GetClosestDisplayMode(const DisplayModeRecord& wanted) const;
  // Whether the display, asked now, offers a mode for the closest one to the wanted mode.
  bool TestFullScreenMode() const;
  // Switches the window to the closest mode in full screen or back; a refusal keeps it as it was.
  void SetFullScreen(bool fullScreen, PAL::Window* window);
  bool IsFullScreen() const { return m_fullScreenActive != 0; }

  // Called with the rendering context current. When the display could not list its formats (no GLX,
  // not X11), the list becomes the one format the window obtained, and the window-system extensions
  // are read from the context.
  void DescribeCurrentContext();
  // The display's formats were listed at construction (not only the window's own).
  bool IsListedByDisplay() const { return m_listedByDisplay; }
  int32_t GetPixelFormat(const PixelFormatRecord& request) const;
  // The record of a format index; null when the list has no such format.
  const PixelFormatRecord* FindPixelFormat(int32_t index) const;
  // The index of the format the window was created with; 0 when that cannot be told.
  // Formats that share the window's visual answer `preferred` when it is one of them.
  int32_t GetWindowPixelFormat(const PAL::Window& window, int32_t preferred = 0) const;
  const std::vector<PixelFormatRecord>& GetPixelFormats() const { return m_pixelFormats; }
  const std::vector<uint32_t>& GetSampleCounts() const { return m_sampleCounts; }
  const std::vector<std::string>& GetWindowSystemExtensions() const { return m_windowSystemExtensions; }
  bool IsSwapControlAvailable() const { return m_swapControlAvailable != 0; }
  bool IsMultisampleAvailable() const { return m_multisampleAvailable != 0; }

 private:
  void ReadWindowSystemExtensions();

  uint8_t m_swapControlAvailable = 0;
  uint8_t m_fullScreenActive = 0;
  uint8_t m_multisampleAvailable = 0;
  DisplayModeTable m_modes;
  DisplayModeRecord m_wantedMode;
  DisplayModeRecord m_desktopMode;
  std::vector<PixelFormatRecord> m_pixelFormats;
  std::vector<uint32_t> m_sampleCounts;
  std::vector<std::string> m_windowSystemExtensions;
  bool m_listedByDisplay = false;
};

// Keeps the adapter alive: the first holder creates it, the last one releases it.
class AdapterUser {
 public:
  AdapterUser();
  ~AdapterUser();
  AdapterUser(const AdapterUser&) = delete;
  AdapterUser& operator=(const AdapterUser&) = delete;
  Adapter* GetAdapter() const { return m_adapter.Get(); }

 private:
  Core::SmartPointer<Adapter> m_adapter;
};

}  // namespace Renderer
