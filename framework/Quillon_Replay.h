#pragma once
// Replay frames: the keyboard's and the mouse's changes and the dt of every recorded frame step, and
// the replay file that holds them. The file is the player's data and hostile input at once: every
// count is checked against the bytes that remain, and a file that does not hold whole frames is
// refused as a whole.
#include <cstdint>
#include <memory>
#include <vector>

#include "input/Internal_KeyRecord.h"
#include "input/Internal_Mouse.h"

namespace Core {
class File;
}

namespace Quillon {

// What a device reported as changed: key codes (or button indices) and their 5-byte records.
struct InputChanges {
  std::vector<uint8_t> codes;
  std::vector<Input::KeyRecord> records;
};

struct ReplayFrame {
  uint8_t keyboardChanged = 0;
  uint8_t mouseChanged = 0;
  Input::MousePositionHeader mouseHeader;
  std::unique_ptr<InputChanges> keyboardChanges;  // null when unchanged
  std::unique_ptr<InputChanges> mouseChanges;     // null when unchanged
  float dt = 0.0f;
};

// Writes every frame but the last (the frame during which recording stopped); a count of 0 when
// there are none.
void WriteReplayFile(Core::File& file, const std::vector<ReplayFrame>& frames);
// Appends the file's frames; false (frames unchanged, the file failed) when the file is short,
// holds a count it cannot, a dt that is not a positive number of at most a minute, or a mouse
// position beyond any screen.
bool ReadReplayFile(Core::File& file, std::vector<ReplayFrame>& frames);

}  // namespace Quillon
