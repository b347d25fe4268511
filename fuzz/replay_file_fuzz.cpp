// A replay file over arbitrary bytes, read and played back as the game does: the reader must refuse
// or accept without overrun, what it accepts must write back to the same frames, and every frame
// played into the game's keyboard and mouse must give positions inside the window and a sound dt.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/Core_File.h"
#include "framework/Quillon_Replay.h"
#include "input/Internal_Keyboard.h"
#include "input/Internal_Mouse.h"
#include "tests/input/FakeInputBackend.h"

namespace {

void Play(const std::vector<Quillon::ReplayFrame>& frames) {
  static TestInput::FakeInputBackend backend;  // a 640 x 480 client area at (100, 50)
  static Core::SmartPointer<Input::Mouse> mouse = [] {
    Core::SmartPointer<Input::Mouse> live = Input::MouseImp::CreateInstance();
    live->SetWindow(TestInput::FakeWindow());
    return live;
  }();
  static Core::SmartPointer<Input::Keyboard> keyboard = Input::KeyboardImp::CreateInstance();
  for (const Quillon::ReplayFrame& frame : frames) {
    if (!std::isfinite(frame.dt) || !(frame.dt > 0.0f) || frame.dt > 60.0f) __builtin_trap();
    if (frame.keyboardChanges) {
      keyboard->SetChanges(frame.keyboardChanges->codes, frame.keyboardChanges->records);
    } else {
      keyboard->Reset();
      keyboard->ClearGuard();
    }
    if (frame.mouseChanges) {
      mouse->SetChanges(frame.mouseHeader, frame.mouseChanges->codes, frame.mouseChanges->records);
    } else {
      mouse->SetChanges(frame.mouseHeader, Input::ButtonList(), Input::RecordList());
    }
    int32_t x = -1, y = -1;
    mouse->GetPositionXY(x, y);
    if (x < 0 || x >= backend.clientWidth || y < 0 || y >= backend.clientHeight) __builtin_trap();
    mouse->IsInWindow();
    mouse->GetPosition();
    for (uint32_t button = 0; button < 4; ++button) mouse->IsTriggered(button);
    for (uint32_t key = 0; key < 256; ++key) keyboard->IsPressed(static_cast<int32_t>(key));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  Core::MemoryFile file(data, static_cast<uint32_t>(size));
  std::vector<Quillon::ReplayFrame> frames;
  if (!Quillon::ReadReplayFile(file, frames)) {
    if (!frames.empty()) __builtin_trap();
    return 0;
  }
  Play(frames);
  // Written back with one more (empty) frame, since the writer leaves out the last one.
  frames.emplace_back();
  Core::MemoryFile again;
  Quillon::WriteReplayFile(again, frames);
  Core::MemoryFile reader(again.GetBuffer().GetData(), again.GetBuffer().GetSize());
  std::vector<Quillon::ReplayFrame> reread;
  if (!Quillon::ReadReplayFile(reader, reread) || reread.size() + 1 != frames.size()) __builtin_trap();
  return 0;
}
