// Scene trees from a hostile stream, read as the engine reads one: object references from byte 0
// (groups, transformation groups, nodes, sprites, texts) until the bytes end or the stream fails.
// What loads is copied, searched and updated under a scene graph, as a level would use it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/Core_File.h"
#include "scene/Engine_Node.h"
#include "scene/Engine_SceneGraph.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  Core::MemoryFile file(data, static_cast<uint32_t>(size));
  std::vector<Core::SmartPointer<Core::Object>> objects;
  while (file.GetRemaining() != 0 && !file.HasFailed()) objects.emplace_back(file.ReadObject());
  Engine::SceneGraph scene(nullptr);
  for (const auto& object : objects) {
    auto* node = dynamic_cast<Engine::Node*>(object.Get());
    if (node == nullptr || node->GetParent() != nullptr || node == &scene) continue;
    Core::SmartPointer<Core::Object> copy(node->Clone());
    node->FindByName("fuzz");
    scene.AddChild(node);
  }
  scene.UpdateFrame(0.016f);
  scene.RemoveAllChildren();
  return 0;
}
