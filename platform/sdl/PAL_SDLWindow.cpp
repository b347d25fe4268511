// PAL::Window, the message pump and the OpenGL context over SDL2.
#include <SDL.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/PAL_IconFile.h"
#include "platform/PAL_Input.h"
#include "platform/PAL_Path.h"
#include "platform/PAL_Services.h"
#include "platform/PAL_Window.h"
#include "platform/PAL_WindowGL.h"
#include "platform/sdl/PAL_SDLInternal.h"
#include "platform/sdl/PAL_SDLKeyMap.h"

namespace PAL {
namespace {

constexpr const char kWindowDataName[] = "PAL::Window";
constexpr const char kSourceFile[] = "PAL_Window";

bool g_quitPosted = false;
int g_videoState = 0;  // 0 not tried, 1 started, -1 failed
// Every open engine window, to recognise ours in the window system's destroy notices.
std::vector<Window*> g_openWindows;
bool g_lossReported = false;

// A window or display taken away from outside ends the program as a close does: the main loop ends
// and the program's shutdown runs (saving what it saves).
void EndAfterLoss(const char* what) {
  if (!g_lossReported) {
    g_lossReported = true;
    std::fprintf(stderr, "%s: %s; ending as if the window had been closed.\n", program_invocation_short_name, what);
  }
  PostQuit();
}

// Reports a failed SDL call in the "Error" box with SDL's own explanation and ends the process.
[[noreturn]] void ReportFatalSDLError(const char* function, const char* enclosingFunction, int line) {
  const int errorCode = errno != 0 ? errno : 1;
  const char* reason = SDL_GetError();
  ShowMessageBox("Error",
                 ComposeErrorText(function, errorCode, reason != nullptr ? reason : "", enclosingFunction,
                                  kSourceFile, line),
                 MessageBoxIcon::Error, MessageBoxButton::OK);
  ExitAfterFatalError(errorCode);
}

bool ShowSDLMessageBox(const MessageBoxRequest& request, std::uint32_t& answer) {
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if ((display == nullptr || *display == '\0') && (wayland == nullptr || *wayland == '\0')) return false;
  static const struct {
    std::uint32_t button;
    const char* text;
  } kNames[] = {{MessageBoxButton::OK, "OK"},       {MessageBoxButton::Cancel, "Cancel"},
                {MessageBoxButton::Abort, "Abort"}, {MessageBoxButton::Retry, "Retry"},
                {MessageBoxButton::Ignore, "Ignore"}, {MessageBoxButton::Yes, "Yes"},
                {MessageBoxButton::No, "No"},       {MessageBoxButton::TryAgain, "Try Again"},
                {MessageBoxButton::Continue, "Continue"}};
  std::vector<SDL_MessageBoxButtonData> buttons;
  for (std::uint32_t button : request.buttons) {
    SDL_MessageBoxButtonData data{};
    data.buttonid = static_cast<int>(button);
    data.text = "OK";
    for (const auto& name : kNames) {
      if (name.button == button) data.text = name.text;
    }
    buttons.push_back(data);
  }
  if (buttons.empty()) buttons.push_back(SDL_MessageBoxButtonData{0, static_cast<int>(MessageBoxButton::OK), "OK"});
  buttons.front().flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
  buttons.back().flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;

  SDL_MessageBoxData box{};
  box.flags = request.icon == MessageBoxIcon::Error     ? SDL_MESSAGEBOX_ERROR
              : request.icon == MessageBoxIcon::Warning ? SDL_MESSAGEBOX_WARNING
                                                        : SDL_MESSAGEBOX_INFORMATION;
  box.title = request.caption.c_str();
  box.message = request.text.c_str();
  box.numbuttons = static_cast<int>(buttons.size());
  box.buttons = buttons.data();
  int pressed = -1;
  if (SDL_ShowMessageBox(&box, &pressed) != 0 || pressed < 0) return false;
  answer = static_cast<std::uint32_t>(pressed);
  return true;
}

void SetGLAttributes(const WindowVisual& visual) {
  SDL_GL_ResetAttributes();
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, static_cast<int>(visual.redBits));
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, static_cast<int>(visual.greenBits));
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, static_cast<int>(visual.blueBits));
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, static_cast<int>(visual.alphaBits));
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, static_cast<int>(visual.depthBits));
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, static_cast<int>(visual.stencilBits));
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  // No profile is named: SDL then makes a classic context, which draws with the fixed-function
  // pipeline and takes the window's own visual. Naming a profile makes SDL pick a frame-buffer
  // configuration of its own by these bits, which can differ from the visual the window has.
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, 0);
  SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, visual.samples > 0 ? 1 : 0);
  SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, static_cast<int>(visual.samples));
}

// One try at the window with the visual's bits; SDL takes the exact X11 visual when one is named.
SDL_Window* CreateSDLWindow(const WindowVisual& visual, int x, int y, int width, int height, Uint32 flags) {
  SetGLAttributes(visual);
  if (visual.x11VisualId != 0) {
    const std::string id = std::to_string(visual.x11VisualId);
    SDL_SetHintWithPriority(SDL_HINT_VIDEO_X11_WINDOW_VISUALID, id.c_str(), SDL_HINT_OVERRIDE);
  }
  SDL_Window* window = SDL_CreateWindow("", x, y, width, height, flags);
  if (visual.x11VisualId != 0) SDL_ResetHint(SDL_HINT_VIDEO_X11_WINDOW_VISUALID);
  return window;
}

// Null also for a window destroyed from outside and on a lost display: SDL would wait there for
// notices that never come.
SDL_Window* GetSDLWindow(const Window* window) {
  if (window == nullptr || window->GetNative() == nullptr || window->GetNative()->lost) return nullptr;
  if (SDLBackend::IsDisplayLost()) return nullptr;
  return window->GetNative()->window;
}

void NoticeDestroyedWindow(const SDL_SysWMmsg* message) {
  const std::uint64_t id = SDLBackend::GetDestroyedX11Window(message);
  if (id == 0) return;
  for (Window* window : g_openWindows) {
    if (window->GetNative()->lost || window->GetNativeId() != id) continue;
    window->GetNative()->lost = true;
    EndAfterLoss("the window was destroyed by another program");
  }
}

std::uint8_t MouseButtonToVirtualKey(std::uint8_t button) {
  switch (button) {
    case SDL_BUTTON_LEFT: return VirtualKey::LeftButton;
    case SDL_BUTTON_RIGHT: return VirtualKey::RightButton;
    case SDL_BUTTON_MIDDLE: return VirtualKey::MiddleButton;
    case SDL_BUTTON_X1: return VirtualKey::ExtraButton1;
    case SDL_BUTTON_X2: return VirtualKey::ExtraButton2;
    default: return 0;
  }
}

void DispatchWindowEvent(const SDL_WindowEvent& event) {
  SDL_Window* native = SDL_GetWindowFromID(event.windowID);
  Window* window = SDLBackend::FindWindow(native);
  if (event.event == SDL_WINDOWEVENT_FOCUS_LOST) SDLBackend::ReleaseAllKeys();
  if (window == nullptr) return;
  const WindowCallbacks& callbacks = window->GetCallbacks();
  bool cancel = false;
  switch (event.event) {
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_HIDDEN:
      if (callbacks.shown) callbacks.shown(window, event.event == SDL_WINDOWEVENT_SHOWN);
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      if (callbacks.paint) callbacks.paint(window);
      break;
    // SDL reports these after the fact, so a cancel undoes them.
    case SDL_WINDOWEVENT_MINIMIZED:
      if (callbacks.minimizing) callbacks.minimizing(window, &cancel);
      if (cancel) {
        SDL_RestoreWindow(native);
      } else if (callbacks.minimized) {
        callbacks.minimized(window);
      }
      break;
    case SDL_WINDOWEVENT_MAXIMIZED:
      if (callbacks.maximizing) callbacks.maximizing(window, &cancel);
      if (cancel) {
        SDL_RestoreWindow(native);
      } else if (callbacks.maximized) {
        callbacks.maximized(window);
      }
      break;
    case SDL_WINDOWEVENT_RESTORED:
      if (callbacks.restoring) callbacks.restoring(window, &cancel);
      if (!cancel && callbacks.restored) callbacks.restored(window);
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      if (callbacks.sizing) callbacks.sizing(window, event.data1, event.data2);
      break;
    case SDL_WINDOWEVENT_CLOSE:
      if (callbacks.close) callbacks.close(window, &cancel);
      // The window stays: the main loop ends and its owner destroys it.
      if (!cancel) PostQuit();
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_FOCUS_LOST:
      if (callbacks.activate) callbacks.activate(window, event.event == SDL_WINDOWEVENT_FOCUS_GAINED);
      break;
    default:
      break;
  }
}

void DispatchEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_WINDOWEVENT:
      DispatchWindowEvent(event.window);
      break;
    case SDL_SYSWMEVENT:
      NoticeDestroyedWindow(event.syswm.msg);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      if (event.key.repeat == 0) {
        const std::uint8_t key = MapScancodeToVirtualKey(event.key.keysym.scancode);
        if (key != 0) SDLBackend::SetKeyHeld(key, event.type == SDL_KEYDOWN);
      }
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const std::uint8_t key = MouseButtonToVirtualKey(event.button.button);
      if (key != 0) SDLBackend::SetKeyHeld(key, event.type == SDL_MOUSEBUTTONDOWN);
      break;
    }
    default:
      // SDL_QUIT is not ours to act on: with the hints set at start-up it never means "the
      // main window was closed", and a helper window must never end the program.
      break;
  }
}

}  // namespace

namespace SDLBackend {

bool StartVideo() {
  if (g_videoState != 0) return g_videoState == 1;
  // Closing a window must never end the program by itself (the close callback decides), and
  // signals keep their usual meaning.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  setenv("SDL_VIDEO_X11_WMCLASS", Window::kClassName, 0);
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    g_videoState = -1;
    return false;
  }
  // With no display to reach, the video layer falls back to drawing off screen: the game would run
  // on unseen. Only a driver asked for by name may be one without a screen.
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  const bool unseen = driver != nullptr && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
  if (unseen && (asked == nullptr || std::strcmp(asked, driver) != 0)) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SDL_SetError("no display could be opened (is DISPLAY set to a running X server?)");
    g_videoState = -1;
    return false;
  }
  g_videoState = 1;
  InstallX11ErrorHandlers();
  // The window system's own events tell when another program destroys one of our windows.
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  // Keys are read as keys; no text input method may swallow them.
  SDL_StopTextInput();
  // SDL is never shut down: the process exit closes the display connection, and unloading the
  // OpenGL driver at exit would leave its allocations unaccounted for.
  SetMessageBoxBackend(ShowSDLMessageBox);
  return true;
}

bool IsVideoStarted() { return g_videoState == 1; }

Window* FindWindow(SDL_Window* window) {
  if (window == nullptr) return nullptr;
  return static_cast<Window*>(SDL_GetWindowData(window, kWindowDataName));
}

}  // namespace SDLBackend

Window::Window(std::int32_t clientWidth, std::int32_t clientHeight, const WindowVisual& visual)
    : m_userPointer(this) {
  SetErrorContext("SDL_InitSubSystem", "PAL::Window::Window", __LINE__, kSourceFile);
  if (!SDLBackend::StartVideo()) ReportFatalSDLError("SDL_InitSubSystem", "PAL::Window::Window", __LINE__);

  const int width = clientWidth > 0 ? clientWidth : 1;
  const int height = clientHeight > 0 ? clientHeight : 1;
  int x = 0;
  int y = 0;
  SDL_DisplayMode desktop{};
  if (SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w > width && desktop.h > height) {
    x = (desktop.w - width) / 2;
    y = (desktop.h - height) / 2;
  }

  const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE;
  SetErrorContext("SDL_CreateWindow", "PAL::Window::Window", __LINE__, kSourceFile);
  // What the display refuses is given up one step at a time: a plain visual still runs the game.
  WindowVisual tried = visual;
  SDL_Window* window = CreateSDLWindow(tried, x, y, width, height, flags);
  if (window == nullptr && tried.x11VisualId != 0) {
    tried.x11VisualId = 0;
    window = CreateSDLWindow(tried, x, y, width, height, flags);
  }
  if (window == nullptr && tried.samples > 0) {
    tried.samples = 0;
    window = CreateSDLWindow(tried, x, y, width, height, flags);
  }
  if (window == nullptr) window = CreateSDLWindow(WindowVisual(), x, y, width, height, flags);
  if (window == nullptr) ReportFatalSDLError("SDL_CreateWindow", "PAL::Window::Window", __LINE__);

  m_native = new Native;
  m_native->window = window;
  SDL_SetWindowData(window, kWindowDataName, this);
  SDLBackend::WatchX11Display(window);
  g_openWindows.push_back(this);
  if (m_callbacks.create) m_callbacks.create(this);
}

Window::~Window() { Destroy(); }

void Window::Destroy() {
  m_pixelFormat = 0;
  if (m_native == nullptr) return;
  g_openWindows.erase(std::remove(g_openWindows.begin(), g_openWindows.end(), this), g_openWindows.end());
  SDL_Window* window = GetSDLWindow(this);
  if (window == nullptr) {
    // Gone already (or its display is): SDL keeps its record of it until the process ends.
    if (m_callbacks.destroy) m_callbacks.destroy(this);
    delete m_native;
    m_native = nullptr;
    return;
  }
  if (SDL_GL_GetCurrentWindow() == window) {
    SetErrorContext("SDL_GL_MakeCurrent", "PAL::Window::Destory", __LINE__, kSourceFile);
    if (SDL_GL_MakeCurrent(window, nullptr) != 0) {
      ReportFatalSDLError("SDL_GL_MakeCurrent", "PAL::Window::Destory", __LINE__);
    }
  }
  if (m_callbacks.destroy) m_callbacks.destroy(this);
  SDL_SetWindowData(window, kWindowDataName, nullptr);
  SDL_DestroyWindow(window);
  delete m_native;
  m_native = nullptr;
}

void Window::SetTitle(const char* title) {
  m_title = title != nullptr ? title : "";
  if (SDL_Window* window = GetSDLWindow(this)) SDL_SetWindowTitle(window, m_title.c_str());
}

void Window::SetIcon(const char* file) {
  m_icon = file != nullptr ? file : "";
  SDL_Window* window = GetSDLWindow(this);
  if (window == nullptr || m_icon.empty()) return;
  IconImage icon;
  std::string error;
  if (LoadIconFile(m_icon, kWindowIconSize, icon, error)) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        icon.rgba.data(), static_cast<int>(icon.width), static_cast<int>(icon.height), 32,
        static_cast<int>(icon.width * 4), SDL_PIXELFORMAT_RGBA32);
    if (surface == nullptr) return;
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
    return;
  }
  // Not an icon file: a plain BMP picture still serves.
  SDL_Surface* image = SDL_LoadBMP(MapPath(m_icon).c_str());
  if (image == nullptr) return;
  SDL_SetWindowIcon(window, image);
  SDL_FreeSurface(image);
}

void Window::SetMaximizeBox(bool on) {
  m_maximizeBox = on ? 1 : 0;
  ApplyStyle();
}

void Window::SetBorder(bool on) {
  m_border = on ? 1 : 0;
  ApplyStyle();
}

void Window::SetResizable(bool on) {
  m_resizable = on ? 1 : 0;
  ApplyStyle();
}

void Window::ApplyStyle() {
  SDL_Window* window = GetSDLWindow(this);
  if (window == nullptr) return;
  // SDL keeps the client size when the frame changes.
  SDL_SetWindowBordered(window, (m_border && m_caption) ? SDL_TRUE : SDL_FALSE);
  SDL_SetWindowResizable(window, (m_border && m_resizable) ? SDL_TRUE : SDL_FALSE);
}

void Window::SetVisible(bool visible) {
  m_visible = visible ? 1 : 0;
  SDL_Window* window = GetSDLWindow(this);
  if (window == nullptr) return;
  if (visible) {
    SDL_ShowWindow(window);
  } else {
    SDL_HideWindow(window);
  }
}

void Window::SetTopMost(bool on) {
  m_topMost = on ? 1 : 0;
  if (SDL_Window* window = GetSDLWindow(this)) SDL_SetWindowAlwaysOnTop(window, on ? SDL_TRUE : SDL_FALSE);
}

void Window::SetClientSize(std::int32_t width, std::int32_t height) {
  if (SDL_Window* window = GetSDLWindow(this)) SDL_SetWindowSize(window, width > 0 ? width : 1, height > 0 ? height : 1);
}

void Window::GetClientSize(std::int32_t* width, std::int32_t* height) const {
  int w = 0;
  int h = 0;
  if (SDL_Window* window = GetSDLWindow(this)) SDL_GetWindowSize(window, &w, &h);
  if (width != nullptr) *width = w;
  if (height != nullptr) *height = h;
}

void Window::SetPosition(std::int32_t x, std::int32_t y) {
  if (SDL_Window* window = GetSDLWindow(this)) SDL_SetWindowPosition(window, x, y);
}

void Window::GetPosition(std::int32_t* x, std::int32_t* y) const {
  int left = 0;
  int top = 0;
  if (SDL_Window* window = GetSDLWindow(this)) SDL_GetWindowPosition(window, &left, &top);
  if (x != nullptr) *x = left;
  if (y != nullptr) *y = top;
}

bool ProcessMessages() {
  if (SDLBackend::IsDisplayLost()) {
    EndAfterLoss("the connection to the display was lost");
  } else if (SDLBackend::IsVideoStarted()) {
    SDLBackend::BeginDrain();
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) DispatchEvent(event);
  }
  if (g_quitPosted) {
    g_quitPosted = false;
    return false;
  }
  return true;
}

void PostQuit() { g_quitPosted = true; }

GLContextHandle CreateGLContext(Window& window) {
  SDL_Window* native = GetSDLWindow(&window);
  SetErrorContext("SDL_GL_CreateContext", "PAL::CreateGLContext", __LINE__, kSourceFile);
  if (native == nullptr) {
    SDL_SetError("the window is closed");
    ReportFatalSDLError("SDL_GL_CreateContext", "PAL::CreateGLContext", __LINE__);
  }
  SDL_GLContext context = SDL_GL_CreateContext(native);
  if (context == nullptr) ReportFatalSDLError("SDL_GL_CreateContext", "PAL::CreateGLContext", __LINE__);
  return context;
}

bool MakeGLContextCurrent(Window* window, GLContextHandle context) {
  if (!SDLBackend::IsVideoStarted() || SDLBackend::IsDisplayLost()) return false;
  if (context == nullptr) return SDL_GL_MakeCurrent(SDL_GL_GetCurrentWindow(), nullptr) == 0;
  SDL_Window* native = GetSDLWindow(window);
  if (native == nullptr) return false;
  return SDL_GL_MakeCurrent(native, static_cast<SDL_GLContext>(context)) == 0;
}

void DeleteGLContext(GLContextHandle context) {
  if (context == nullptr || !SDLBackend::IsVideoStarted() || SDLBackend::IsDisplayLost()) return;
  if (SDL_GL_GetCurrentContext() == context) SDL_GL_MakeCurrent(SDL_GL_GetCurrentWindow(), nullptr);
  SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
}

Window* GetCurrentGLWindow() {
  if (!SDLBackend::IsVideoStarted() || SDL_GL_GetCurrentContext() == nullptr) return nullptr;
  return SDLBackend::FindWindow(SDL_GL_GetCurrentWindow());
}

void SwapGLBuffers(Window& window) {
  if (SDL_Window* native = GetSDLWindow(&window)) SDL_GL_SwapWindow(native);
}

bool SetGLSwapInterval(std::int32_t interval) {
  return SDLBackend::IsVideoStarted() && !SDLBackend::IsDisplayLost() && SDL_GL_SetSwapInterval(interval) == 0;
}

std::int32_t GetGLSwapInterval() { return SDLBackend::IsVideoStarted() ? SDL_GL_GetSwapInterval() : 0; }

void* GetGLProcAddress(const char* name) {
  if (name == nullptr || !SDLBackend::IsVideoStarted()) return nullptr;
  return SDL_GL_GetProcAddress(name);
}

bool GetCurrentGLPixelFormat(GLPixelFormat& format) {
  if (!SDLBackend::IsVideoStarted() || SDL_GL_GetCurrentContext() == nullptr) return false;
  auto read = [](SDL_GLattr attribute) {
    int value = 0;
    return SDL_GL_GetAttribute(attribute, &value) == 0 && value > 0 ? static_cast<std::uint32_t>(value) : 0u;
  };
  format.redBits = read(SDL_GL_RED_SIZE);
  format.greenBits = read(SDL_GL_GREEN_SIZE);
  format.blueBits = read(SDL_GL_BLUE_SIZE);
  format.alphaBits = read(SDL_GL_ALPHA_SIZE);
  format.depthBits = read(SDL_GL_DEPTH_SIZE);
  format.stencilBits = read(SDL_GL_STENCIL_SIZE);
  format.sampleBuffers = read(SDL_GL_MULTISAMPLEBUFFERS);
  format.samples = read(SDL_GL_MULTISAMPLESAMPLES);
  format.doubleBuffer = read(SDL_GL_DOUBLEBUFFER);
  return true;
}

namespace {
DisplayMode ToDisplayMode(const SDL_DisplayMode& mode) {
  DisplayMode result;
  result.width = static_cast<std::uint32_t>(mode.w > 0 ? mode.w : 0);
  result.height = static_cast<std::uint32_t>(mode.h > 0 ? mode.h : 0);
  // 32-bit formats with an unused byte report 24 bits per pixel; the engine counts the storage.
  result.colorBits = SDL_BYTESPERPIXEL(mode.format) * 8u;
  result.refreshRate = static_cast<std::uint32_t>(mode.refresh_rate > 0 ? mode.refresh_rate : 0);
  return result;
}
}  // namespace

std::vector<DisplayMode> GetDisplayModes() {
  std::vector<DisplayMode> modes;
  if (!SDLBackend::StartVideo()) return modes;
  const int count = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode{};
    if (SDL_GetDisplayMode(0, i, &mode) == 0) modes.push_back(ToDisplayMode(mode));
  }
  if (modes.empty()) modes.push_back(GetCurrentDisplayMode());
  return modes;
}

DisplayMode GetCurrentDisplayMode() {
  SDL_DisplayMode mode{};
  if (!SDLBackend::StartVideo() || SDL_GetDesktopDisplayMode(0, &mode) != 0) return DisplayMode{};
  return ToDisplayMode(mode);
}

namespace {
bool FindClosestSDLMode(const DisplayMode& wanted, SDL_DisplayMode& closest) {
  SDL_DisplayMode asked{};
  asked.w = static_cast<int>(wanted.width);
  asked.h = static_cast<int>(wanted.height);
  asked.refresh_rate = static_cast<int>(wanted.refreshRate);
  return SDL_GetClosestDisplayMode(0, &asked, &closest) != nullptr;
}
}  // namespace

bool GetClosestDisplayMode(const DisplayMode& wanted, DisplayMode& closest) {
  SDL_DisplayMode offered{};
  if (!SDLBackend::StartVideo() || SDLBackend::IsDisplayLost() || !FindClosestSDLMode(wanted, offered)) return false;
  closest = ToDisplayMode(offered);
  return true;
}

int FindDisplayMode(const std::vector<DisplayMode>& modes, const DisplayMode& mode) {
  for (std::size_t i = 0; i < modes.size(); ++i) {
    const DisplayMode& offered = modes[i];
    if (offered.width == mode.width && offered.height == mode.height && offered.colorBits == mode.colorBits &&
        offered.refreshRate == mode.refreshRate)
      return static_cast<int>(i);
  }
  return -1;
}

namespace {
// The display's own record of exactly this mode, pixel format included, so that SDL switches to
// the mode that was tested and not to another one at least as large.
bool FindExactSDLMode(const DisplayMode& mode, SDL_DisplayMode& found) {
  std::vector<SDL_DisplayMode> native;
  std::vector<DisplayMode> modes;
  const int count = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode offered{};
    if (SDL_GetDisplayMode(0, i, &offered) != 0) continue;
    native.push_back(offered);
    modes.push_back(ToDisplayMode(offered));
  }
  // As GetDisplayModes: a display that lists no modes offers its current one.
  SDL_DisplayMode desktop{};
  if (native.empty() && SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
    native.push_back(desktop);
    modes.push_back(ToDisplayMode(desktop));
  }
  const int index = FindDisplayMode(modes, mode);
  if (index < 0) return false;
  found = native[static_cast<std::size_t>(index)];
  return true;
}
}  // namespace

bool IsDisplayModeOffered(const DisplayMode& mode) {
  SDL_DisplayMode found{};
  return SDLBackend::StartVideo() && !SDLBackend::IsDisplayLost() && FindExactSDLMode(mode, found);
}

bool SetFullScreen(Window& window, bool fullScreen, const DisplayMode& mode) {
  SDL_Window* native = GetSDLWindow(&window);
  if (native == nullptr) return false;
  if (!fullScreen) return SDL_SetWindowFullscreen(native, 0) == 0;
  SDL_DisplayMode exact{};
  if (!FindExactSDLMode(mode, exact) || SDL_SetWindowDisplayMode(native, &exact) != 0) return false;
  return SDL_SetWindowFullscreen(native, SDL_WINDOW_FULLSCREEN) == 0;
}

}  // namespace PAL

#if defined(VELKOR_SANITIZE)
// Allocations the system libraries keep for the life of the process: D-Bus's read buffer (SDL opens
// it when video starts) and the software OpenGL driver's multisample buffers. Not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\nleak:swrast_dri.so\n"; }
#endif
