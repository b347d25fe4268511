// The game object's network records: what the host writes to create an object on its clients and
// to keep it in step, and how a client reads them back. The bytes come from a peer: every field is
// read into locals first, and a record the payload cannot hold, or one carrying values no object may
// take (infinite or NaN numbers), changes nothing.
#include <cmath>

#include "core/Core_File.h"
#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_GameServices.h"
#include "framework/Quillon_NetworkFile.h"
#include "framework/Quillon_QlnNet.h"
#include "script/Lua_Script.h"

namespace Quillon {

namespace {

bool Finite(const Math::Vector2D& v) { return std::isfinite(v.x) && std::isfinite(v.y); }
bool Finite(const Math::Color& c) {
  return std::isfinite(c.r) && std::isfinite(c.g) && std::isfinite(c.b) && std::isfinite(c.a);
}

void PutVector(Core::File& file, const Math::Vector2D& v) {
  Core::WriteValue<float>(file, v.x);
  Core::WriteValue<float>(file, v.y);
}
Math::Vector2D TakeVector(Core::File& file) {
  const float x = Core::ReadValue<float>(file);
  const float y = Core::ReadValue<float>(file);
  return Math::Vector2D(x, y);
}
void PutColor(Core::File& file, const Math::Color& c) {
  Core::WriteValue<float>(file, c.r);
  Core::WriteValue<float>(file, c.g);
  Core::WriteValue<float>(file, c.b);
  Core::WriteValue<float>(file, c.a);
}
Math::Color TakeColor(Core::File& file) {
  Math::Color c;
  c.r = Core::ReadValue<float>(file);
  c.g = Core::ReadValue<float>(file);
  c.b = Core::ReadValue<float>(file);
  c.a = Core::ReadValue<float>(file);
  return c;
}

}  // namespace

bool GameObject::CreateComponentManager() {
  m_componentManager = new (__FILE__, __LINE__) QlnComponentManager();
  return GetGameServices().IsServer();
}

bool GameObject::ChangeNetworkOwner(QlnPlayer* player) {
  const NetObjectID* id = GetNetObjectID(this);
  if (id == nullptr) return false;
  if (player == nullptr) player = GetGameServices().GetLocalNetworkPlayer();
  auto* changed = new (__FILE__, __LINE__) NetObjectID(player != nullptr ? player->GetID() : 0, id->GetId());
  changed->SetCreatedHere(id->IsCreatedHere());
  m_networkId = Core::SmartPointer<Core::Object>(changed);
  return true;
}

QlnPlayer* GameObject::GetNetworkOwner() const {
  const NetObjectID* id = GetNetObjectID(this);
  return id != nullptr ? GetGameServices().FindNetworkPlayer(id->GetOwner()) : nullptr;
}

void GameObject::NetworkSave(NetworkFile& file) {
  file.WriteString(m_name);
  PutVector(file, m_position);
  PutVector(file, m_center);
  Core::WriteValue<float>(file, m_rotationAngle);
  Core::WriteValue<float>(file, m_scaleX);
  Core::WriteValue<float>(file, m_scaleY);
  Core::WriteValue<uint8_t>(file, IsVisible() ? 1 : 0);
  Core::WriteValue<float>(file, m_lifeTime);
  Core::WriteValue<float>(file, m_age);
  Core::WriteValue<float>(file, m_zOrder);
  PutColor(file, m_modulationColor);
  Core::WriteValue<uint32_t>(file, 0);
  Core::WriteValue<uint32_t>(file, 0);
  const NetObjectID* id = GetNetObjectID(this);
  Core::WriteValue<uint8_t>(file, id != nullptr ? 1 : 0);
  if (id != nullptr) {
    Core::WriteValue<uint32_t>(file, id->GetOwner());
    Core::WriteValue<uint32_t>(file, id->GetId());
  }
  Core::WriteValue<uint8_t>(file, m_scriptFlag);
  file.WriteString(m_scriptFile);
  Core::WriteValue<uint8_t>(file, m_cloneWithScript);
  Core::WriteValue<uint8_t>(file, m_scriptStarted);
  if (m_scriptFlag != 0 && m_scriptStarted != 0 && HasLoadedScript()) CallScriptFunction("NetworkSave");
}

void GameObject::NetworkLoad(NetworkFile& file) {
  std::string name = m_name;
  file.ReadString(name);
  const Math::Vector2D position = TakeVector(file);
  const Math::Vector2D center = TakeVector(file);
  const float angle = Core::ReadValue<float>(file);
  const float scaleX = Core::ReadValue<float>(file);
  const float scaleY = Core::ReadValue<float>(file);
  const uint8_t visible = Core::ReadValue<uint8_t>(file);
  const float lifeTime = Core::ReadValue<float>(file);
  const float age = Core::ReadValue<float>(file);
  const float zOrder = Core::ReadValue<float>(file);
  const Math::Color color = TakeColor(file);
  Core::ReadValue<uint32_t>(file);
  Core::ReadValue<uint32_t>(file);
  const uint8_t hasId = Core::ReadValue<uint8_t>(file);
  uint32_t owner = 0;
  uint32_t id = 0;
  if (hasId != 0) {
    owner = Core::ReadValue<uint32_t>(file);
    id = Core::ReadValue<uint32_t>(file);
  }
  const uint8_t scriptFlag = Core::ReadValue<uint8_t>(file);
  std::string scriptFile;
  file.ReadString(scriptFile);
  const uint8_t cloneWithScript = Core::ReadValue<uint8_t>(file);
  const uint8_t scriptStarted = Core::ReadValue<uint8_t>(file);
  if (file.HasFailed() || !Finite(position) || !Finite(center) || !std::isfinite(angle) || !std::isfinite(scaleX) ||
      !std::isfinite(scaleY) || !std::isfinite(lifeTime) || !std::isfinite(age) || !std::isfinite(zOrder) ||
      !Finite(color)) {
    file.Fail();
    return;
  }

  m_name = name;
  m_position = position;
  m_networkTargetPosition = position;
  m_center = center;
  m_rotationAngle = angle;
  m_networkTargetAngle = angle;
  m_firstSync = 1;
  m_scaleX = scaleX;
  m_scaleY = scaleY;
  SetVisible(visible != 0);
  m_lifeTime = lifeTime;
  m_age = age;
  m_zOrder = zOrder;
  m_modulationColor = color;
  // Replicas follow the server; they are never simulated here.
  RemovePhysicalProperties();
  m_physicsId = 0;
  if (hasId != 0) m_networkId = Core::SmartPointer<Core::Object>(new (__FILE__, __LINE__) NetObjectID(owner, id));

  m_sharedScript = nullptr;
  // A peer names only the script this machine already gave the object (through the object it was
  // cloned from): any other name could load a file outside the scripts, or a missing one.
  const bool scriptKnown = scriptFile.empty() || scriptFile == m_scriptFile;
  m_scriptFlag = scriptFlag != 0 ? 1 : 0;
  m_cloneWithScript = cloneWithScript != 0 ? 1 : 0;
  if (m_scriptFlag != 0 && scriptStarted != 0 && scriptKnown && !m_scriptFile.empty()) {
    RunScriptConstructor(true);
    if (HasLoadedScript()) CallScriptFunction("NetworkLoad");
  }
  RefreshTransform();
}

void GameObject::NetworkSyncSend(NetworkFile& file) {
  file.WriteString(m_name);
  PutVector(file, m_position);
  PutVector(file, m_center);
  Core::WriteValue<float>(file, m_rotationAngle);
  Core::WriteValue<float>(file, m_scaleX);
  Core::WriteValue<float>(file, m_scaleY);
  Core::WriteValue<uint8_t>(file, IsVisible() ? 1 : 0);
  PutColor(file, m_modulationColor);
  Core::WriteValue<uint8_t>(file, m_scriptFlag);
  Core::WriteValue<uint8_t>(file, m_scriptStarted);
  if (m_scriptFlag != 0 && m_scriptStarted != 0) {
    file.WriteString(m_scriptFile);
    if (HasLoadedScript()) CallScriptFunction("NetworkSyncSend");
  }
}

void GameObject::NetworkSyncReceive(NetworkFile& file) {
  std::string name = m_name;
  file.ReadString(name);
  const Math::Vector2D position = TakeVector(file);
  const Math::Vector2D center = TakeVector(file);
  const float angle = Core::ReadValue<float>(file);
  const float scaleX = Core::ReadValue<float>(file);
  const float scaleY = Core::ReadValue<float>(file);
  const uint8_t visible = Core::ReadValue<uint8_t>(file);
  const Math::Color color = TakeColor(file);
  const uint8_t scriptFlag = Core::ReadValue<uint8_t>(file);
  const uint8_t senderStarted = Core::ReadValue<uint8_t>(file);
  std::string scriptFile;
  if (scriptFlag != 0 && senderStarted != 0) file.ReadString(scriptFile);
  if (file.HasFailed() || !Finite(position) || !Finite(center) || !std::isfinite(angle) || !std::isfinite(scaleX) ||
      !std::isfinite(scaleY) || !Finite(color)) {
    file.Fail();
    return;
  }

  // The name changes in place: the layer's by-name index keeps the old key.
  m_name = name;
  m_networkTargetPosition = position;
  m_center = center;
  m_networkTargetAngle = angle;
  if (m_firstSync != 0) {
    m_position = m_networkTargetPosition;
    m_rotationAngle = m_networkTargetAngle;
    SetPosition(m_position);
    SetRotationAngle(m_rotationAngle);
    m_firstSync = 0;
  }
  m_scaleX = scaleX;
  m_scaleY = scaleY;
  SetVisible(visible != 0);
  m_modulationColor = color;
  m_scriptFlag = scriptFlag != 0 ? 1 : 0;
  if (m_scriptFlag != 0 && senderStarted != 0) {
    const bool scriptKnown = scriptFile.empty() || scriptFile == m_scriptFile;
    if (m_scriptStarted == 0 && scriptKnown && !m_scriptFile.empty()) RunScriptConstructor(false);
    if (m_scriptStarted != 0 && HasLoadedScript()) CallScriptFunction("NetworkSyncReceive");
  }
}

}  // namespace Quillon
