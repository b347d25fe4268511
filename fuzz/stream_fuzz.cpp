// The object stream reader over arbitrary bytes, read as the engine writes a stream: one object
// reference after another until the bytes end or the stream fails. The registered class below reads
// a string, a reference and a vector of references, so ids can repeat and graphs can close cycles.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "core/Core_File.h"

namespace {

class FuzzNode;
std::set<FuzzNode*>& LiveNodes() {
  static std::set<FuzzNode*> nodes;
  return nodes;
}

class FuzzNode : public Core::Object {
 public:
  FuzzNode() { LiveNodes().insert(this); }
  FuzzNode(const FuzzNode& other) : Core::Object(other) { LiveNodes().insert(this); }
  ~FuzzNode() override { LiveNodes().erase(this); }
  VELKOR_DECLARE_CLASS(FuzzNode);
  void Save(Core::File& file) override {
    file << name;
    file.WriteObject(child.Get());
    Core::WriteObjectVector(file, list);
  }
  void Load(Core::File& file) override {
    file >> name;
    Core::ReadObjectPointer(file, child);
    Core::ReadObjectVector(file, list);
  }
  std::string name;
  Core::SmartPointer<Core::Object> child;
  std::vector<Core::SmartPointer<Core::Object>> list;
};

VELKOR_IMPLEMENT_CLASS(FuzzNode, "FuzzNode");

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  {
    Core::MemoryFile file(data, static_cast<uint32_t>(size));
    std::vector<Core::SmartPointer<Core::Object>> objects;
    while (file.GetRemaining() != 0 && !file.HasFailed()) objects.emplace_back(file.ReadObject());
    // What was read whole writes out and reads back to the same number of objects.
    if (!file.HasFailed()) {
      Core::MemoryFile again;
      for (auto& object : objects) again.WriteObject(object.Get());
      Core::MemoryFile reader(again.GetBuffer().GetData(), again.GetBuffer().GetSize());
      // Kept until the end: a later reference may name an earlier object by its id.
      std::vector<Core::SmartPointer<Core::Object>> reread;
      while (reader.GetRemaining() != 0 && !reader.HasFailed()) reread.emplace_back(reader.ReadObject());
      if (reader.HasFailed() || reread.size() != objects.size()) __builtin_trap();
    }
  }
  // Nodes still alive are held by cycles among themselves (the counting scheme cannot free those):
  // a node nothing holds was lost by the reader. Cut the cycles so the next input starts clean.
  std::vector<Core::SmartPointer<FuzzNode>> cycles;
  for (FuzzNode* node : LiveNodes()) {
    if (node->GetReferenceCount() == 0) __builtin_trap();
    cycles.emplace_back(node);
  }
  for (auto& node : cycles) {
    node->child.Reset();
    node->list.clear();
  }
  return 0;
}
