// Feeds arbitrary bytes to the stream reader: strings, object references (with a registered class
// whose data holds further references), raw values and object vectors, in an order the input picks.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Core_File.h"

namespace {

class FuzzNode : public Core::Object {
 public:
  VELKOR_DECLARE_CLASS(FuzzNode);
  void Load(Core::File& file) override {
    std::string name;
    file >> name;
    Core::ReadObjectPointer(file, child);
    Core::ReadObjectVector(file, list);
  }
  Core::SmartPointer<Core::Object> child;
  std::vector<Core::SmartPointer<Core::Object>> list;
};

VELKOR_IMPLEMENT_CLASS(FuzzNode, "FuzzNode");

// Cycles can form through repeated ids; cut every reference so the graph is freed.
void Cut(Core::Object* object, std::vector<Core::SmartPointer<Core::Object>>& keep) {
  auto* node = dynamic_cast<FuzzNode*>(object);
  if (node == nullptr) return;
  keep.push_back(node);
  Core::SmartPointer<Core::Object> child = node->child;
  std::vector<Core::SmartPointer<Core::Object>> list;
  list.swap(node->list);
  node->child.Reset();
  if (child.Get() != nullptr) Cut(child.Get(), keep);
  for (auto& item : list) Cut(item.Get(), keep);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  Core::MemoryFile file(data + 1, static_cast<uint32_t>(size - 1));
  std::vector<Core::SmartPointer<Core::Object>> keep;
  for (int step = 0; step < 8 && !file.HasFailed(); ++step) {
    switch ((data[0] >> (step % 4) * 2) & 3) {
      case 0: {
        std::string text;
        file >> text;
        break;
      }
      case 1: {
        Core::SmartPointer<Core::Object> object;
        Core::ReadObjectPointer(file, object);
        if (object.Get() != nullptr) Cut(object.Get(), keep);
        break;
      }
      case 2: {
        std::vector<Core::SmartPointer<Core::Object>> objects;
        Core::ReadObjectVector(file, objects);
        for (auto& object : objects)
          if (object.Get() != nullptr) Cut(object.Get(), keep);
        break;
      }
      default:
        (void)Core::ReadValue<double>(file);
        break;
    }
  }
  return 0;
}
