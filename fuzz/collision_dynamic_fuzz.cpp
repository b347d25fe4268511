// Feeds arbitrary bytes to the dynamic collision object's reader, the part of saved games that
// restores moving bodies. What loads cleanly must save to bytes that load to the same bytes again,
// and the loaded object must survive a per-frame update and a pair test.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "collision/Collision_DynamicObject.h"
#include "core/Core_File.h"

namespace {

std::vector<unsigned char> Bytes(const Core::MemoryFile& file) {
  const auto& buffer = file.GetBuffer();
  return std::vector<unsigned char>(buffer.GetData(), buffer.GetData() + buffer.GetSize());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using Collision2D::DynamicObject;
  const int32_t cap = Collision2D::GetMaximumInterpolationValue();
  DynamicObject first{DynamicObject::LoadConstruction{}};
  Core::MemoryFile in(data, static_cast<uint32_t>(size));
  first.Load(in);
  if (!in.HasFailed()) {
    Core::MemoryFile out;
    first.Save(out);
    const auto saved = Bytes(out);
    DynamicObject second{DynamicObject::LoadConstruction{}};
    Core::MemoryFile again(saved.data(), static_cast<uint32_t>(saved.size()));
    second.Load(again);
    Core::MemoryFile outAgain;
    second.Save(outAgain);
    if (again.HasFailed() || Bytes(outAgain) != saved) std::abort();
    // No actor is bound: the object must stay inert rather than read its empty selections.
    second.Update();
    const uint8_t layer = 0;
    second.CollideGeometric(first, &layer);
    second.CollideBoundingRectangles(first, layer);
  }
  Collision2D::SetMaximumInterpolationValue(cap);
  return 0;
}
