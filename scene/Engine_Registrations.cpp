// The engine's classes that streams create by name, registered at start-up in this order, and the
// slot through which the physics engine hands in the script handlers of its force classes.
#include "scene/Engine_Registrations.h"

#include <cstring>

#include "scene/Engine_Node.h"
#include "scene/Engine_Sprite.h"
#include "scene/Engine_Text.h"

namespace Engine {

VELKOR_IMPLEMENT_CLASS(Node, "Engine::Node");
VELKOR_IMPLEMENT_CLASS(TransformationGroup, "Engine::TransformationGroup");
VELKOR_IMPLEMENT_CLASS(SpriteAnimation, "Engine::SpriteAnimation");
VELKOR_IMPLEMENT_CLASS(Sprite, "Engine::Sprite");
VELKOR_IMPLEMENT_CLASS(Group, "Engine::Group");
VELKOR_IMPLEMENT_CLASS(Text, "Engine::Text");

const char* const kForceScriptMethodNames[kForceScriptMethodCount] = {
    "Initialize", "Evaluate",      "Update",        "SetPosition",       "GetPosition",      "GetVector",
    "GetBody",    "GetTime",       "SetTimeToLive", "GetTimeToLive",     "GetEvaluatedForce", "GetEvaluatedTorque"};

namespace {
struct ForceTable {
  Lua::Method methods[kForceScriptMethodCount];
  std::unique_ptr<Lua::MethodTable> table;
};
std::vector<std::unique_ptr<ForceTable>>& ForceTables() {
  static std::vector<std::unique_ptr<ForceTable>> tables;
  return tables;
}
}  // namespace

bool RegisterForceScriptHandlers(const char* scriptName, const lua_CFunction (&handlers)[kForceScriptMethodCount]) {
  if (scriptName == nullptr) return false;
  for (lua_CFunction handler : handlers) {
    if (handler == nullptr) return false;
  }
  for (const auto& existing : ForceTables()) {
    if (std::strcmp(existing->table->GetScriptName(), scriptName) == 0) return false;
  }
  auto entry = std::make_unique<ForceTable>();
  for (size_t i = 0; i < kForceScriptMethodCount; ++i) entry->methods[i] = Lua::Method{kForceScriptMethodNames[i], handlers[i]};
  entry->table = std::make_unique<Lua::MethodTable>(scriptName, entry->methods);
  ForceTables().push_back(std::move(entry));
  return true;
}

}  // namespace Engine
