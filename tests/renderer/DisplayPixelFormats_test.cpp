// The pixel formats of a real display (Xvfb in CI): the adapter lists what the display offers, a
// window made for a descriptor has the descriptor's bits and samples (or the closest the display
// offers), and the full-screen test asks the display.
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "platform/PAL_Window.h"
#include "platform/PAL_WindowGL.h"
#include "renderer/Renderer_IRenderer.h"
#include "renderer/opengl/Renderer_Adapter.h"
#include "tests/support/TestSupport.h"

// Last: its macros must not meet the engine's headers.
#include <GL/glx.h>

using namespace Renderer;

namespace {

// The software driver's multisampled context leaves state behind that crashes the leak checker's
// own tracer at exit under a long-running X server; a process that made one skips that check.
bool g_skipLeakCheckAtExit = false;

// The configurations that draw to a window in RGBA, double buffered, as the display's own matching
// picks them on a connection of the test's own (the adapter walks the whole list instead).
std::map<int32_t, PixelFormatRecord> WindowConfigurationsOfTheDisplay() {
  std::map<int32_t, PixelFormatRecord> found;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return found;
  const int screen = DefaultScreen(display);
  const int wanted[] = {GLX_DRAWABLE_TYPE, GLX_WINDOW_BIT, GLX_RENDER_TYPE, GLX_RGBA_BIT, GLX_DOUBLEBUFFER, True,
                        GLX_X_RENDERABLE, True, 0};
  int count = 0;
  GLXFBConfig* configs = glXChooseFBConfig(display, screen, wanted, &count);
  for (int i = 0; i < count; ++i) {
    auto read = [&](int name) {
      int value = 0;
      glXGetFBConfigAttrib(display, configs[i], name, &value);
      return value;
    };
    XVisualInfo* visual = glXGetVisualFromFBConfig(display, configs[i]);
    const bool onScreenDepth = visual != nullptr && visual->depth == DefaultDepth(display, screen);
    if (visual != nullptr) XFree(visual);
    const int type = read(GLX_X_VISUAL_TYPE);
    const bool colourVisual = type == GLX_TRUE_COLOR || type == GLX_DIRECT_COLOR;
    if (!onScreenDepth || !colourVisual || read(GLX_CONFIG_CAVEAT) == GLX_SLOW_CONFIG) continue;
    PixelFormatRecord record;
    record.index = read(GLX_FBCONFIG_ID);
    record.depthBits = static_cast<uint32_t>(read(GLX_DEPTH_SIZE));
    record.stencilBits = static_cast<uint32_t>(read(GLX_STENCIL_SIZE));
    record.alphaBits = static_cast<uint32_t>(read(GLX_ALPHA_SIZE));
    record.samples = read(GLX_SAMPLE_BUFFERS) > 0 ? static_cast<uint32_t>(read(GLX_SAMPLES)) : 0;
    found[record.index] = record;
  }
  if (configs != nullptr) XFree(configs);
  XCloseDisplay(display);
  return found;
}

GLint Integer(GLenum name) {
  GLint value = 0;
  glGetIntegerv(name, &value);
  return value;
}

class DisplayPixelFormatsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VELKOR_REQUIRE_DISPLAY();
    m_adapterUser = std::make_unique<AdapterUser>();
    m_adapter = m_adapterUser->GetAdapter();
    if (!m_adapter->IsListedByDisplay()) GTEST_SKIP() << "the display cannot list its pixel formats (no GLX)";
  }
  void TearDown() override {
    m_renderer.Reset();
    m_window.reset();
    m_adapterUser.reset();
  }
  // A window made for the descriptor as the rendering application makes it, and its renderer.
  void Open(RendererDescriptor descriptor) {
    m_window = std::make_unique<PAL::Window>(64, 48, IRenderer::GetWindowVisual(descriptor));
    descriptor.window = m_window.get();
    m_renderer = IRenderer::Create(descriptor);
  }
  const PixelFormatRecord& WindowFormat() {
    const PixelFormatRecord* format = m_adapter->FindPixelFormat(m_window->GetPixelFormat());
    EXPECT_NE(format, nullptr) << "the window's format " << m_window->GetPixelFormat() << " is not in the list";
    static const PixelFormatRecord none;
    return format != nullptr ? *format : none;
  }

  std::unique_ptr<AdapterUser> m_adapterUser;
  Adapter* m_adapter = nullptr;
  std::unique_ptr<PAL::Window> m_window;
  Core::SmartPointer<IRenderer> m_renderer;
};

}  // namespace

extern "C" int __lsan_is_turned_off() { return g_skipLeakCheckAtExit ? 1 : 0; }

TEST_F(DisplayPixelFormatsTest, TheListIsWhatTheDisplayOffers) {
  const std::map<int32_t, PixelFormatRecord> offered = WindowConfigurationsOfTheDisplay();
  const std::vector<PixelFormatRecord>& listed = m_adapter->GetPixelFormats();
  ASSERT_FALSE(listed.empty());
  EXPECT_EQ(listed.size(), offered.size());
  for (const PixelFormatRecord& format : listed) {
    SCOPED_TRACE(format.index);
    auto match = offered.find(format.index);
    ASSERT_NE(match, offered.end());
    EXPECT_EQ(format.depthBits, match->second.depthBits);
    EXPECT_EQ(format.stencilBits, match->second.stencilBits);
    EXPECT_EQ(format.alphaBits, match->second.alphaBits);
    if (m_adapter->IsMultisampleAvailable()) {
      EXPECT_EQ(format.samples, match->second.samples);
    }
    EXPECT_NE(format.visual, 0u);
  }
}

TEST_F(DisplayPixelFormatsTest, TheDescriptorsBitsReachTheWindow) {
  // The game's descriptor keeps the window it always had.
  Open(RendererDescriptor(64, 48));
  EXPECT_EQ(Integer(GL_ALPHA_BITS), 8);
  EXPECT_EQ(Integer(GL_DEPTH_BITS), 24);
  EXPECT_EQ(Integer(GL_STENCIL_BITS), 8);
  m_renderer.Reset();
  m_window.reset();

  // Other bits: the window gets them, or the closest format the display offers above them.
  RendererDescriptor descriptor(64, 48);
  descriptor.colorBits = 24;
  descriptor.depthBits = 16;
  descriptor.stencilBits = 0;
  Open(descriptor);
  const PixelFormatRecord& format = WindowFormat();
  EXPECT_GE(format.depthBits, 16u);
  EXPECT_EQ(Integer(GL_DEPTH_BITS), static_cast<GLint>(format.depthBits));
  EXPECT_EQ(Integer(GL_STENCIL_BITS), static_cast<GLint>(format.stencilBits));
  EXPECT_EQ(Integer(GL_ALPHA_BITS), static_cast<GLint>(format.alphaBits));
  PixelFormatRecord request;
  request.colorBits = 24;
  request.depthBits = 16;
  request.swapMethod = 1;
  EXPECT_EQ(m_window->GetPixelFormat(), m_adapter->GetPixelFormat(request));
}

TEST_F(DisplayPixelFormatsTest, MoreSamplesThanOfferedGiveTheMostTheDisplayHas) {
  const std::vector<uint32_t>& counts = m_adapter->GetSampleCounts();
  if (counts.empty()) GTEST_SKIP() << "the display offers no multisampling";
  g_skipLeakCheckAtExit = true;
  RendererDescriptor descriptor(64, 48);
  descriptor.samples = counts.back() * 2;
  Open(descriptor);
  const PixelFormatRecord& format = WindowFormat();
  EXPECT_TRUE(format.multisampling);
  EXPECT_EQ(format.samples, counts.back());
  EXPECT_EQ(Integer(GL_SAMPLES), static_cast<GLint>(counts.back()));
}

TEST_F(DisplayPixelFormatsTest, TheFullScreenTestAsksTheDisplay) {
  const PAL::DisplayMode desktop = PAL::GetCurrentDisplayMode();
  PAL::DisplayMode closest;
  ASSERT_TRUE(PAL::GetClosestDisplayMode(PAL::DisplayMode{desktop.width / 2, desktop.height / 2, 32, 60}, closest));
  EXPECT_GE(closest.width, desktop.width / 2);
  EXPECT_GE(closest.height, desktop.height / 2);
  EXPECT_FALSE(PAL::GetClosestDisplayMode(PAL::DisplayMode{desktop.width * 4, desktop.height * 4, 32, 60}, closest));

  m_adapter->SetWantedDisplayMode(m_adapter->GetDesktopMode());
  EXPECT_TRUE(m_adapter->TestFullScreenMode());
  // The switch takes the tested mode itself: the desktop's size in another depth is not offered.
  const DisplayModeRecord mode = m_adapter->GetClosestDisplayMode(m_adapter->GetDesktopMode());
  EXPECT_TRUE(PAL::IsDisplayModeOffered({mode.width, mode.height, mode.colorBits, mode.refreshRate}));
  EXPECT_FALSE(PAL::IsDisplayModeOffered({mode.width, mode.height, mode.colorBits + 1, mode.refreshRate}));
}
