#include "framework/Quillon_NetworkFile.h"

#include "framework/Quillon_GameObject.h"

namespace Quillon {

namespace {
uint32_t g_netObjectIdCounter = 0;
// Longest class name a peer may send; no registered class comes near it.
constexpr uint32_t kMaximumClassNameLength = 256;
}  // namespace

uint32_t NetObjectID::NextId() { return ++g_netObjectIdCounter; }

NetObjectID* GetNetObjectID(const GameObject* object) {
  if (object == nullptr) return nullptr;
  return dynamic_cast<NetObjectID*>(object->GetNetworkId().Get());
}

void NetworkFile::WriteString(const std::string& text) { *this << text; }

void NetworkFile::ReadString(std::string& text) { *this >> text; }

void NetworkFile::WriteNetworkObject(Core::Object* object) {
  auto* gameObject = dynamic_cast<GameObject*>(object);
  if (gameObject == nullptr) {
    Core::WriteValue<uint8_t>(*this, 0);
    return;
  }
  Core::WriteValue<uint8_t>(*this, 1);
  WriteString(gameObject->GetClassName());
  gameObject->SetNetworkFile(this);
  gameObject->NetworkSave(*this);
  gameObject->SetNetworkFile(nullptr);
}

Core::SmartPointer<GameObject> NetworkFile::ReadNetworkObject() {
  if (Core::ReadValue<uint8_t>(*this) == 0 || HasFailed()) return nullptr;
  const uint32_t length = Core::ReadValue<uint32_t>(*this);
  if (HasFailed() || length == 0 || length > kMaximumClassNameLength || length > GetRemaining()) {
    Fail();
    return nullptr;
  }
  std::string className(length, '\0');
  Read(&className[0], length);
  if (HasFailed()) return nullptr;
  // Checked before anything is built: a peer names no class whose constructor runs here.
  if (!Core::IsRegisteredKindOf<GameObject>(className.c_str())) {
    Fail();
    return nullptr;
  }
  Core::SmartPointer<Core::Object> created(Core::CreateObject(className.c_str()));
  auto* object = dynamic_cast<GameObject*>(created.Get());
  if (object == nullptr) {
    // Its data cannot be skipped: nothing after it can be read.
    Fail();
    return nullptr;
  }
  object->SetNetworkFile(this);
  object->NetworkLoad(*this);
  object->SetNetworkFile(nullptr);
  if (HasFailed()) return nullptr;
  return Core::SmartPointer<GameObject>(object);
}

}  // namespace Quillon
