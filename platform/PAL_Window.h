#pragma once
// One top-level window of the engine, the thirteen notifications it forwards, the message pump
// that ends the main loop and the quit request. The OpenGL context and display modes of a window
// are in PAL_WindowGL.h.
#include <cstdint>
#include <string>

namespace PAL {

class Window;

// Optional notifications; each receives the window first. A callback given a cancel flag
// (false on entry) may set it to stop the action.
struct WindowCallbacks {
  void (*minimizing)(Window* window, bool* cancel) = nullptr;
  void (*maximizing)(Window* window, bool* cancel) = nullptr;
  void (*restoring)(Window* window, bool* cancel) = nullptr;
  void (*minimized)(Window* window) = nullptr;
  void (*maximized)(Window* window) = nullptr;
  void (*restored)(Window* window) = nullptr;
  void (*sizing)(Window* window, std::int32_t clientWidth, std::int32_t clientHeight) = nullptr;
  void (*shown)(Window* window, bool shown) = nullptr;
  void (*paint)(Window* window) = nullptr;
  // Without a close callback, or when it does not cancel, closing posts the quit request.
  void (*close)(Window* window, bool* cancel) = nullptr;
  void (*create)(Window* window) = nullptr;
  void (*destroy)(Window* window) = nullptr;
  void (*activate)(Window* window, bool active) = nullptr;
};

// The OpenGL visual a window is made with; it cannot change afterwards. SDL is asked for these bits
// (and samples per pixel when above 0); on X11 a visual id from the display's frame-buffer
// configurations picks that exact visual.
struct WindowVisual {
  std::uint32_t redBits = 8, greenBits = 8, blueBits = 8, alphaBits = 8;
  std::uint32_t depthBits = 24, stencilBits = 8;
  std::uint32_t samples = 0;
  std::uint64_t x11VisualId = 0;  // 0: SDL chooses a visual by the bits
};

class Window {
 public:
  // The X11 window class of every engine window.
  static constexpr const char* kClassName = "QLN3DRenderingWindow";

  // Creates a hidden window with a client area of width x height, centred on the screen (at 0, 0
  // when the screen is not larger than that). Its OpenGL visual is fixed here: double buffered,
  // compatibility profile, with the visual asked for. A visual the display refuses is given up
  // step by step: the exact visual id, then the samples, then the default bits (RGBA 8-8-8-8,
  // depth 24, stencil 8). A window that cannot be created at all is reported in the "Error" box
  // and ends the process.
  Window(std::int32_t clientWidth, std::int32_t clientHeight, const WindowVisual& visual = WindowVisual());
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Calls the destroy callback and closes the window (releasing the current OpenGL context first
  // when it is on this window). Harmless when already closed.
  void Destroy();
  bool IsOpen() const { return m_native != nullptr; }

  void SetTitle(const char* title);
  const char* GetTitle() const { return m_title.c_str(); }
  // Stores the name; an .ico file (or a BMP picture) becomes the window icon, anything else is only stored.
  void SetIcon(const char* file);
  const char* GetIcon() const { return m_icon.c_str(); }

  // Style switches; the client size stays as it was. Minimise and maximise boxes and the caption
  // are kept as state only (the X11 window manager decides them).
  void SetMaximizeBox(bool on);
  void SetBorder(bool on);
  void SetResizable(bool on);
  void SetVisible(bool visible);
  void SetTopMost(bool on);
  bool HasMinimizeBox() const { return m_minimizeBox != 0; }
  bool HasMaximizeBox() const { return m_maximizeBox != 0; }
  bool HasCaption() const { return m_caption != 0; }
  bool HasBorder() const { return m_border != 0; }
  bool IsVisible() const { return m_visible != 0; }
  bool IsResizable() const { return m_resizable != 0; }
  bool IsTopMost() const { return m_topMost != 0; }

  void SetClientSize(std::int32_t width, std::int32_t height);
  void GetClientSize(std::int32_t* width, std::int32_t* height) const;
  // Top-left corner of the client area in screen pixels.
  void SetPosition(std::int32_t x, std::int32_t y);
  void GetPosition(std::int32_t* x, std::int32_t* y) const;

  // The visual is chosen at creation: this only records the pixel-format index the renderer found.
  void SetPixelFormat(std::int32_t index) { m_pixelFormat = index; }
  std::int32_t GetPixelFormat() const { return m_pixelFormat; }

  void SetCloseCallback(void (*close)(Window* window, bool* cancel)) { m_callbacks.close = close; }
  WindowCallbacks& GetCallbacks() { return m_callbacks; }

  void* GetUserPointer() const { return m_userPointer; }
  void SetUserPointer(void* pointer) { m_userPointer = pointer; }

  // The X11 window id (for outside tools and tests); 0 when closed or not on X11.
  std::uint64_t GetNativeId() const;

  // Backend handle; only the platform layer looks inside.
  struct Native;
  Native* GetNative() const { return m_native; }

 private:
  void ApplyStyle();

  Native* m_native = nullptr;
  void* m_userPointer;
  std::string m_title;
  std::string m_icon;
  std::uint8_t m_minimizeBox = 1;
  std::uint8_t m_maximizeBox = 1;
  std::uint8_t m_caption = 1;
  std::uint8_t m_border = 1;
  std::uint8_t m_visible = 0;
  std::uint8_t m_resizable = 1;
  std::uint8_t m_topMost = 0;
  WindowCallbacks m_callbacks;
  std::int32_t m_pixelFormat = 0;
};

// Dispatches every pending window event to its window's callbacks and updates the key and mouse
// state (a key or button pressed and released within one call counts as held until the next
// call, so no tap is lost between two frames); false once the quit request was posted (the request is consumed: the next call starts
// afresh). Works without any window (then only the quit request is looked at).
bool ProcessMessages();
// Posts the quit request; the pump answers false at its next call, after the pending events.
void PostQuit();

}  // namespace PAL
