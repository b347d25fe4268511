#include "framework/Quillon_Replay.h"

#include <cmath>

#include "core/Core_File.h"

namespace Quillon {

namespace {

// Two flags, the mouse position and dt: the least a stored frame takes.
constexpr uint64_t kSmallestFrameSize = 1 + 1 + 4 + 4 + 4;
// Sound bounds of a recorded frame: screen positions any desktop has (far from the int limits that
// window arithmetic would overflow), and a step no longer than a minute (a long load is recorded
// as one step; 1e30 seconds would run the whole simulation into nonsense).
constexpr int32_t kLargestScreenCoordinate = 1 << 24;
constexpr float kLongestFrame = 60.0f;

bool IsSoundPosition(int32_t coordinate) {
  return coordinate >= -kLargestScreenCoordinate && coordinate <= kLargestScreenCoordinate;
}

void WriteChanges(Core::File& file, const InputChanges& changes) {
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(changes.codes.size()));
  for (uint8_t code : changes.codes) Core::WriteValue<uint8_t>(file, code);
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(changes.records.size()));
  for (const Input::KeyRecord& record : changes.records) file.Write(&record, sizeof(record));
}

bool ReadChanges(Core::File& file, InputChanges& changes) {
  const uint32_t codeCount = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(codeCount, 1)) return false;
  changes.codes.resize(codeCount);
  if (codeCount != 0) file.Read(changes.codes.data(), codeCount);
  const uint32_t recordCount = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(recordCount, sizeof(Input::KeyRecord))) return false;
  changes.records.resize(recordCount);
  if (recordCount != 0) file.Read(changes.records.data(), recordCount * static_cast<uint32_t>(sizeof(Input::KeyRecord)));
  return !file.HasFailed();
}

}  // namespace

void WriteReplayFile(Core::File& file, const std::vector<ReplayFrame>& frames) {
  // Without a frame there is nothing to leave out: minus one would wrap round to four billion.
  const uint32_t count = frames.empty() ? 0 : static_cast<uint32_t>(frames.size() - 1);
  Core::WriteValue<uint32_t>(file, count);
  for (uint32_t i = 0; i < count; ++i) {
    const ReplayFrame& frame = frames[i];
    const bool keyboard = frame.keyboardChanged != 0 && frame.keyboardChanges;
    Core::WriteValue<uint8_t>(file, keyboard ? 1 : 0);
    if (keyboard) WriteChanges(file, *frame.keyboardChanges);
    const bool mouse = frame.mouseChanged != 0 && frame.mouseChanges;
    Core::WriteValue<uint8_t>(file, mouse ? 1 : 0);
    if (mouse) WriteChanges(file, *frame.mouseChanges);
    Core::WriteValue<int32_t>(file, frame.mouseHeader.currentX);
    Core::WriteValue<int32_t>(file, frame.mouseHeader.currentY);
    Core::WriteValue<float>(file, frame.dt);
  }
}

bool ReadReplayFile(Core::File& file, std::vector<ReplayFrame>& frames) {
  const uint32_t count = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(count, kSmallestFrameSize)) return false;
  std::vector<ReplayFrame> read(count);
  for (ReplayFrame& frame : read) {
    frame.keyboardChanged = Core::ReadValue<uint8_t>(file);
    if (frame.keyboardChanged > 1) file.Fail();
    if (frame.keyboardChanged == 1) {
      frame.keyboardChanges = std::make_unique<InputChanges>();
      if (!ReadChanges(file, *frame.keyboardChanges)) return false;
    }
    frame.mouseChanged = Core::ReadValue<uint8_t>(file);
    if (frame.mouseChanged > 1) file.Fail();
    if (frame.mouseChanged == 1) {
      frame.mouseChanges = std::make_unique<InputChanges>();
      if (!ReadChanges(file, *frame.mouseChanges)) return false;
    }
    frame.mouseHeader = Input::MousePositionHeader();
    frame.mouseHeader.currentX = Core::ReadValue<int32_t>(file);
    frame.mouseHeader.currentY = Core::ReadValue<int32_t>(file);
    frame.dt = Core::ReadValue<float>(file);
    // The rest of the step runs with this dt: a NaN, a negative or a huge one would poison the
    // simulation.
    if (!std::isfinite(frame.dt) || !(frame.dt > 0.0f) || frame.dt > kLongestFrame) file.Fail();
    if (!IsSoundPosition(frame.mouseHeader.currentX) || !IsSoundPosition(frame.mouseHeader.currentY)) file.Fail();
    if (file.HasFailed()) return false;
  }
  for (ReplayFrame& frame : read) frames.push_back(std::move(frame));
  return true;
}

}  // namespace Quillon
