// The replay file reader over arbitrary bytes: it must refuse or accept without overrun, and what it
// accepts must write back to the same frames.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/Core_File.h"
#include "framework/Quillon_Replay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  Core::MemoryFile file(data, static_cast<uint32_t>(size));
  std::vector<Quillon::ReplayFrame> frames;
  if (!Quillon::ReadReplayFile(file, frames)) {
    if (!frames.empty()) __builtin_trap();
    return 0;
  }
  // Written back with one more (empty) frame, since the writer leaves out the last one.
  frames.emplace_back();
  Core::MemoryFile again;
  Quillon::WriteReplayFile(again, frames);
  Core::MemoryFile reader(again.GetBuffer().GetData(), again.GetBuffer().GetSize());
  std::vector<Quillon::ReplayFrame> reread;
  if (!Quillon::ReadReplayFile(reader, reread) || reread.size() + 1 != frames.size()) __builtin_trap();
  return 0;
}
