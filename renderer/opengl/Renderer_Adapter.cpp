#include "renderer/opengl/Renderer_Adapter.h"

#include <algorithm>
#include <functional>

#include "platform/PAL_Window.h"
#include "platform/PAL_WindowGL.h"
#include "renderer/opengl/Renderer_OpenGL.h"

namespace Renderer {

namespace {
Adapter* g_adapter = nullptr;
int g_adapterUsers = 0;
Core::SmartPointer<Adapter>* g_adapterHolder = nullptr;
}  // namespace

void AddDisplayMode(DisplayModeTable& table, const DisplayModeRecord& mode) {
  table[mode.colorBits][{mode.width, mode.height}].insert(mode.refreshRate);
}

DisplayModeRecord ChooseClosestDisplayMode(const DisplayModeTable& table, const DisplayModeRecord& wanted) {
  DisplayModeRecord result;
  if (table.empty()) return result;
  auto depth = table.lower_bound(wanted.colorBits);
  if (depth == table.end()) depth = std::prev(table.end());
  result.colorBits = depth->first;
  const auto& resolutions = depth->second;
  if (resolutions.empty()) return result;
  auto resolution = std::find_if(resolutions.begin(), resolutions.end(), [&](const auto& entry) {
    const uint32_t w = entry.first.first, h = entry.first.second;
    return (w == wanted.width && h == wanted.height) || w > wanted.width || (w >= wanted.width && h > wanted.height);
  });
  if (resolution == resolutions.end()) resolution = std::prev(resolutions.end());
  result.width = resolution->first.first;
  result.height = resolution->first.second;
  const auto& rates = resolution->second;
  if (rates.empty()) return result;
  auto rate = rates.lower_bound(wanted.refreshRate);
  result.refreshRate = rate != rates.end() ? *rate : *rates.rbegin();
  return result;
}

namespace {

bool Fits(const PixelFormatRecord& f, const PixelFormatRecord& request, bool multisampled, uint32_t samples,
          uint32_t swapMethod) {
  return f.colorBits >= request.colorBits && f.redBits >= request.redBits && f.greenBits >= request.greenBits &&
         f.blueBits >= request.blueBits && f.alphaBits >= request.alphaBits && f.depthBits >= request.depthBits &&
         f.stencilBits >= request.stencilBits && f.multisampling == multisampled &&
         (!multisampled || f.samples >= samples) && f.swapMethod == swapMethod;
}

uint64_t SpareBits(const PixelFormatRecord& f, const PixelFormatRecord& request, uint32_t samples) {
  return uint64_t{f.colorBits - request.colorBits} + (f.depthBits - request.depthBits) +
         (f.stencilBits - request.stencilBits) + (f.samples - samples);
}

}  // namespace

int32_t ChoosePixelFormat(const std::vector<PixelFormatRecord>& formats, const PixelFormatRecord& request) {
  // The sample counts to try: the requested one, each smaller one offered, then no multisampling.
  std::vector<std::pair<bool, uint32_t>> tries;
  if (request.multisampling) {
    std::set<uint32_t, std::greater<uint32_t>> smaller;
    for (const auto& format : formats)
      if (format.multisampling && format.samples < request.samples) smaller.insert(format.samples);
    tries.emplace_back(true, request.samples);
    for (uint32_t samples : smaller) tries.emplace_back(true, samples);
  }
  tries.emplace_back(false, 0u);
  for (const auto& [multisampled, samples] : tries) {
    for (uint32_t swapMethod : {request.swapMethod, 1u, 2u, 3u, 0u}) {
      const PixelFormatRecord* best = nullptr;
      uint64_t bestSpare = 0;
      for (const auto& format : formats) {
        if (!Fits(format, request, multisampled, samples, swapMethod)) continue;
        const uint64_t spare = SpareBits(format, request, samples);
        if (best == nullptr || spare < bestSpare) {
          best = &format;
          bestSpare = spare;
        }
      }
      if (best != nullptr) return best->index;
    }
  }
  return 0;
}

Adapter::Adapter() {
  for (const PAL::DisplayMode& mode : PAL::GetDisplayModes())
    AddDisplayMode(m_modes, DisplayModeRecord{mode.width, mode.height, mode.colorBits, mode.refreshRate});
  m_desktopMode = GetCurrentDisplayMode();
  g_adapter = this;
  if (PAL::GetCurrentDisplayMode().width == 0) return;  // no display at all

  // The display is reached through a window: a hidden one of its own, for as long as the query takes.
  PAL::Window probe(100, 100);
  if (!ReadDisplayPixelFormats(PAL::GetX11Display(probe), m_pixelFormats, m_windowSystemExtensions)) return;
  m_listedByDisplay = true;
  ReadWindowSystemExtensions();
  for (auto& format : m_pixelFormats) {
    if (!m_multisampleAvailable) {
      format.multisampling = false;
      format.samples = 0;
    } else if (format.multisampling &&
               std::find(m_sampleCounts.begin(), m_sampleCounts.end(), format.samples) == m_sampleCounts.end()) {
      m_sampleCounts.push_back(format.samples);
    }
  }
  std::sort(m_sampleCounts.begin(), m_sampleCounts.end());
}

void Adapter::ReadWindowSystemExtensions() {
  const auto has = [this](const char* name) {
    return std::find(m_windowSystemExtensions.begin(), m_windowSystemExtensions.end(), name) !=
           m_windowSystemExtensions.end();
  };
  m_swapControlAvailable =
      (has("GLX_EXT_swap_control") || has("GLX_MESA_swap_control") || has("GLX_SGI_swap_control")) ? 1 : 0;
  m_multisampleAvailable = has("GLX_ARB_multisample") ? 1 : 0;
}

Adapter::~Adapter() {
  if (g_adapter == this) g_adapter = nullptr;
}

Core::SmartPointer<Adapter> Adapter::GetInstance() { return Core::SmartPointer<Adapter>(g_adapter); }

DisplayModeRecord Adapter::GetCurrentDisplayMode() const {
  const PAL::DisplayMode mode = PAL::GetCurrentDisplayMode();
  DisplayModeRecord record;
  if (mode.width == 0 || mode.height == 0) return record;  // no display: keep (100, 100, 16, 60)
  return DisplayModeRecord{mode.width, mode.height, mode.colorBits, mode.refreshRate};
}

std::vector<uint32_t> Adapter::GetColorDepths() const {
  std::vector<uint32_t> depths;
  for (const auto& entry : m_modes) depths.push_back(entry.first);
  return depths;
}

std::vector<std::pair<uint32_t, uint32_t>> Adapter::GetResolutions(uint32_t colorBits) const {
  std::vector<std::pair<uint32_t, uint32_t>> resolutions;
  auto depth = m_modes.find(colorBits);
  if (depth != m_modes.end())
    for (const auto& entry : depth->second) resolutions.push_back(entry.first);
  return resolutions;
}

std::vector<uint32_t> Adapter::GetRefreshRates(uint32_t colorBits, uint32_t width, uint32_t height) const {
  std::vector<uint32_t> rates;
  auto depth = m_modes.find(colorBits);
  if (depth == m_modes.end()) return rates;
  auto resolution = depth->second.find({width, height});
  if (resolution != depth->second.end()) rates.assign(resolution->second.begin(), resolution->second.end());
  return rates;
}

DisplayModeRecord Adapter::GetClosestDisplayMode(const DisplayModeRecord& wanted) const {
  return ChooseClosestDisplayMode(m_modes, wanted);
}

bool Adapter::TestFullScreenMode() const {
  if (m_modes.empty()) return false;
  // The table was read at start-up; the display, asked now, knows whether it still offers the
  // very mode that the switch will take.
  const DisplayModeRecord closest = GetClosestDisplayMode(m_wantedMode);
  return PAL::IsDisplayModeOffered(
      PAL::DisplayMode{closest.width, closest.height, closest.colorBits, closest.refreshRate});
}

void Adapter::SetFullScreen(bool fullScreen, PAL::Window* window) {
  if (window == nullptr) return;
  if (fullScreen) {
    if (m_fullScreenActive || !TestFullScreenMode()) return;
    const DisplayModeRecord closest = GetClosestDisplayMode(m_wantedMode);
    PAL::DisplayMode mode;
    mode.width = closest.width;
    mode.height = closest.height;
    mode.colorBits = closest.colorBits;
    mode.refreshRate = closest.refreshRate;
    m_fullScreenActive = PAL::SetFullScreen(*window, true, mode) ? 1 : 0;
  } else if (m_fullScreenActive) {
    if (PAL::SetFullScreen(*window, false, PAL::DisplayMode{})) m_fullScreenActive = 0;
  }
}

void Adapter::DescribeCurrentContext() {
  if (m_listedByDisplay) return;
  m_windowSystemExtensions = SplitExtensionString(GetWindowSystemExtensionString().c_str());
  ReadWindowSystemExtensions();
  PAL::GLPixelFormat obtained;
  m_pixelFormats.clear();
  m_sampleCounts.clear();
  if (!PAL::GetCurrentGLPixelFormat(obtained)) return;
  PixelFormatRecord record;
  record.index = 1;
  record.redBits = obtained.redBits;
  record.greenBits = obtained.greenBits;
  record.blueBits = obtained.blueBits;
  record.alphaBits = obtained.alphaBits;
  record.colorBits = obtained.redBits + obtained.greenBits + obtained.blueBits + obtained.alphaBits;
  record.depthBits = obtained.depthBits;
  record.stencilBits = obtained.stencilBits;
  record.multisampling = obtained.sampleBuffers != 0 && m_multisampleAvailable;
  record.samples = record.multisampling ? obtained.samples : 0;
  record.swapMethod = obtained.doubleBuffer ? 1 : 0;
  m_pixelFormats.push_back(record);
  if (record.multisampling) m_sampleCounts.push_back(record.samples);
}

int32_t Adapter::GetPixelFormat(const PixelFormatRecord& request) const {
  return ChoosePixelFormat(m_pixelFormats, request);
}

const PixelFormatRecord* Adapter::FindPixelFormat(int32_t index) const {
  for (const auto& format : m_pixelFormats)
    if (format.index == index) return &format;
  return nullptr;
}

int32_t Adapter::GetWindowPixelFormat(const PAL::Window& window, int32_t preferred) const {
  if (!m_listedByDisplay) return m_pixelFormats.empty() ? 0 : m_pixelFormats.front().index;
  const uint64_t visual = GetWindowVisualId(PAL::GetX11Display(window), window.GetNativeId());
  if (visual == 0) return 0;
  // Formats can share a visual: the one asked for wins among them.
  const PixelFormatRecord* wanted = FindPixelFormat(preferred);
  if (wanted != nullptr && wanted->visual == visual) return preferred;
  for (const auto& format : m_pixelFormats)
    if (format.visual == visual) return format.index;
  return 0;
}

AdapterUser::AdapterUser() {
  if (g_adapterUsers++ == 0) {
    g_adapterHolder = new Core::SmartPointer<Adapter>(new (__FILE__, __LINE__) Adapter());
  }
  m_adapter = Adapter::GetInstance();
}

AdapterUser::~AdapterUser() {
  m_adapter.Reset();
  if (--g_adapterUsers == 0) {
    delete g_adapterHolder;
    g_adapterHolder = nullptr;
  }
}

}  // namespace Renderer
