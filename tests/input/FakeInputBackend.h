#pragma once
// A scriptable stand-in for the system's key table and cursor, installed for one test.
#include <cstring>

#include "platform/PAL_Input.h"

namespace TestInput {

class FakeInputBackend : public PAL::InputBackend {
 public:
  FakeInputBackend() { PAL::SetInputBackend(this); }
  ~FakeInputBackend() override { PAL::SetInputBackend(nullptr); }

  void Hold(std::uint8_t key, bool held) {
    keys[key] = static_cast<std::uint8_t>(held ? (keys[key] | PAL::kKeyHeldBit) : (keys[key] & ~PAL::kKeyHeldBit));
  }
  // Holds or releases the key, then lets the device read it, as the next frame would.
  template <typename Device>
  void HoldAndUpdate(std::uint8_t key, bool held, Device& device) {
    Hold(key, held);
    device.Update();
  }
  // A client area of that size in the screen's top-left corner.
  void CoverWindow(std::int32_t width, std::int32_t height) {
    clientLeft = clientTop = 0;
    clientWidth = width;
    clientHeight = height;
  }
  void Toggle(std::uint8_t key, bool on) {
    keys[key] = static_cast<std::uint8_t>(on ? (keys[key] | PAL::kKeyToggledBit) : (keys[key] & ~PAL::kKeyToggledBit));
  }

  void GetKeyboardState(std::uint8_t state[256]) override { std::memcpy(state, keys, sizeof(keys)); }
  bool IsKeyHeld(std::uint8_t key) override { return (keys[key] & PAL::kKeyHeldBit) != 0; }
  bool IsKeyToggled(std::uint8_t key) override { return (keys[key] & PAL::kKeyToggledBit) != 0; }
  void GetCursorPosition(std::int32_t& x, std::int32_t& y) override {
    x = cursorX;
    y = cursorY;
  }
  void SetCursorPosition(std::int32_t x, std::int32_t y) override {
    cursorX = x;
    cursorY = y;
  }
  bool GetClientArea(PAL::Window* window, std::int32_t& left, std::int32_t& top, std::int32_t& width,
                     std::int32_t& height) override {
    left = top = width = height = 0;
    if (window == nullptr) return false;
    left = clientLeft;
    top = clientTop;
    width = clientWidth;
    height = clientHeight;
    return true;
  }
  std::int32_t ShowCursor(bool show) override {
    cursorCount += show ? 1 : -1;
    ++showCursorCalls;
    return cursorCount;
  }
  bool IsCursorShowing() override { return cursorCount >= 0; }

  std::uint8_t keys[256] = {};
  std::int32_t cursorX = 0, cursorY = 0;
  std::int32_t clientLeft = 100, clientTop = 50, clientWidth = 640, clientHeight = 480;
  std::int32_t cursorCount = 0;
  int showCursorCalls = 0;
};

// The devices only pass the window on to the backend, which never looks inside.
inline PAL::Window* FakeWindow() {
  static int token;
  return reinterpret_cast<PAL::Window*>(&token);
}

}  // namespace TestInput
