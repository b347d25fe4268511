#pragma once
// Where the input devices read the keyboard, the mouse buttons and the cursor. Keys are numbered by
// the Windows virtual-key codes that replays and network packets carry. The system backend (over
// the window layer) is used unless a test installs its own.
#include <cstdint>

namespace PAL {

class Window;

// The virtual-key codes the engine names; every other code 0..255 is still tracked.
namespace VirtualKey {
constexpr std::uint8_t LeftButton = 0x01;
constexpr std::uint8_t RightButton = 0x02;
constexpr std::uint8_t MiddleButton = 0x04;
constexpr std::uint8_t ExtraButton1 = 0x05;
constexpr std::uint8_t ExtraButton2 = 0x06;
constexpr std::uint8_t Back = 0x08;
constexpr std::uint8_t Tab = 0x09;
constexpr std::uint8_t Return = 0x0D;
constexpr std::uint8_t Shift = 0x10;
constexpr std::uint8_t Control = 0x11;
constexpr std::uint8_t Menu = 0x12;
constexpr std::uint8_t Pause = 0x13;
constexpr std::uint8_t CapsLock = 0x14;
constexpr std::uint8_t Escape = 0x1B;
constexpr std::uint8_t Space = 0x20;
constexpr std::uint8_t Left = 0x25;
constexpr std::uint8_t Up = 0x26;
constexpr std::uint8_t Right = 0x27;
constexpr std::uint8_t Down = 0x28;
constexpr std::uint8_t Key0 = 0x30;  // '0'..'9' are 0x30..0x39
constexpr std::uint8_t KeyA = 0x41;  // 'A'..'Z' are 0x41..0x5A
constexpr std::uint8_t Numpad0 = 0x60;
constexpr std::uint8_t F1 = 0x70;
constexpr std::uint8_t NumLock = 0x90;
constexpr std::uint8_t ScrollLock = 0x91;
constexpr std::uint8_t LeftShift = 0xA0;
constexpr std::uint8_t RightShift = 0xA1;
constexpr std::uint8_t LeftControl = 0xA2;
constexpr std::uint8_t RightControl = 0xA3;
constexpr std::uint8_t LeftMenu = 0xA4;
constexpr std::uint8_t RightMenu = 0xA5;
}  // namespace VirtualKey

// Bits of a key-state byte.
constexpr std::uint8_t kKeyHeldBit = 0x80;
constexpr std::uint8_t kKeyToggledBit = 0x01;

class InputBackend {
 public:
  virtual ~InputBackend() = default;

  // 256 bytes indexed by virtual key: kKeyHeldBit while held (mouse buttons at 1, 2, 4, 5, 6
  // included), kKeyToggledBit while Caps Lock, Num Lock or Scroll Lock is on.
  virtual void GetKeyboardState(std::uint8_t state[256]) = 0;
  // The held bit of one key, as the table has it now.
  virtual bool IsKeyHeld(std::uint8_t virtualKey) = 0;
  // The toggle bit of one key (Caps Lock, Num Lock, Scroll Lock).
  virtual bool IsKeyToggled(std::uint8_t virtualKey) = 0;

  // The cursor in screen pixels (origin top-left of the screen).
  virtual void GetCursorPosition(std::int32_t& x, std::int32_t& y) = 0;
  virtual void SetCursorPosition(std::int32_t x, std::int32_t y) = 0;
  // The window's client area: its top-left corner in screen pixels and its size. False (all 0)
  // when the window is null or closed.
  virtual bool GetClientArea(Window* window, std::int32_t& left, std::int32_t& top, std::int32_t& width,
                             std::int32_t& height) = 0;

  // The cursor display count: +1 or -1, returning the new count; the cursor shows while it is >= 0.
  virtual std::int32_t ShowCursor(bool show) = 0;
  virtual bool IsCursorShowing() = 0;
};

// The backend in use: the installed one, else the system one.
InputBackend& GetInputBackend();
// Installs a backend (borrowed, not owned); null restores the system one.
void SetInputBackend(InputBackend* backend);

}  // namespace PAL
