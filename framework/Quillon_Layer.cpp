#include "framework/Quillon_Layer.h"

#include <algorithm>

#include "core/Core_File.h"
#include "framework/Quillon_GameServices.h"
#include "framework/Quillon_Shapes.h"
#include "math/Math_Matrix4x4.h"
#include "math/Math_Stream.h"

namespace Quillon {

namespace {
const Core::ClassRegistration g_layerRegistration("Quillon::Layer", &Layer::Create);

void RemoveEntries(Layer::ObjectList& list, GameObject* object) {
  list.remove_if([object](const Core::SmartPointer<GameObject>& entry) { return entry.Get() == object; });
}
}  // namespace

Core::Object* Layer::Create() { return new (__FILE__, __LINE__) Layer(); }

Layer::Layer() : m_node(new (__FILE__, __LINE__) Engine::TransformationGroup()) { UpdateTransformation(); }

Layer::Layer(float zOrder) : m_node(new (__FILE__, __LINE__) Engine::TransformationGroup()), m_zOrder(zOrder) {
  CreateCollisionLayer();
  UpdateTransformation();
}

Layer::~Layer() {
  Layer::Destroy();
  // A loaded layer or object may say it was destroyed or released already: whatever the flags,
  // no object it lists keeps pointing at it once it is gone.
  ForEachListed([this](GameObject* object) {
    if (object != nullptr && object->GetLayer() == this) object->SetLayer(nullptr);
  });
}

int Layer::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, ScriptClassName); }

void Layer::UpdateTransformation() {
  m_node->SetTransform(Math::Matrix4x4::MakeTranslation(0.0f, 0.0f, m_zOrder) *
                       Math::Matrix4x4::MakeRotationZ(m_rotation) * Math::Matrix4x4::MakeScale(m_scaleX, m_scaleY, 1.0f));
}

void Layer::SetZOrder(float zOrder) {
  m_zOrder = zOrder;
  UpdateTransformation();
}

void Layer::SetScale(float x, float y) {
  m_scaleX = x;
  m_scaleY = y;
  UpdateTransformation();
}

void Layer::SetRotation(float degrees) {
  m_rotation = degrees;
  UpdateTransformation();
}

void Layer::SetCollisionDataColor(const Math::Color& color) {
  m_collisionDataColor = color;
  for (auto& line : m_collisionLines) line->SetModulationColor(color);
  for (auto& circle : m_collisionCircles) circle->SetModulationColor(color);
}

void Layer::SetLayerPartitionColor(const Math::Color& color) {
  m_layerPartitionColor = color;
  for (GameObject* object : m_partitionObjects) object->SetModulationColor(color);
}

// ---- Membership ---------------------------------------------------------------------------------

void Layer::AddGameObject(GameObject* object, bool networked, QlnPlayer* owner) {
  if (object == nullptr || object->GetLayer() != nullptr || object->IsDestroyed()) return;
  PrepareCollisionBody(object);
  if (networked && !GetGameServices().AddNetObject(object, m_index, owner)) return;
  InsertGameObject(object);
}

void Layer::InsertGameObject(GameObject* object) {
  if (object == nullptr) return;
  object->SetLayer(this);
  m_pendingAdditions.emplace_back(object);
  m_objectsByName[object->GetName()].emplace_back(object);
}

void Layer::RemoveGameObject(GameObject* object) {
  if (object == nullptr || object->GetLayer() != this || object->IsDestroyed()) return;
  if (object->IsNetworkObject() && GetGameServices().IsNetworkGame()) {
    GameServices& services = GetGameServices();
    if (!services.IsServer() || !services.RemoveNetObject(object)) return;
  }
  QueueGameObjectRemoval(object);
}

void Layer::QueueGameObjectRemoval(GameObject* object) {
  // Removed twice in one frame, it still ends once.
  for (const auto& pending : m_pendingRemovals) {
    if (pending.Get() == object) return;
  }
  m_pendingRemovals.emplace_back(object);
  RemoveEntries(m_objectsByName[object->GetName()], object);
}

void Layer::RenameGameObject(GameObject* object, const std::string& oldName, const std::string& newName) {
  RemoveEntries(m_objectsByName[oldName], object);
  m_objectsByName[newName].emplace_back(object);
}

GameObject* Layer::CreateNetworkGameObject(const std::string& name, QlnPlayer* owner) {
  GameServices& services = GetGameServices();
  if (!services.IsNetworkGame() || !services.IsServer()) return nullptr;
  GameObject* archetype = services.FindNetObjectByName(name);
  if (archetype == nullptr) return nullptr;
  auto* clone = static_cast<GameObject*>(archetype->Clone());
  if (clone == nullptr) return nullptr;
  Core::SmartPointer<GameObject> keep(clone);
  clone->SetNetworkName(archetype->GetNetworkName());
  AddGameObject(clone, true, owner);
  // A clone the multiplayer layer refused is held by nothing else and goes with `keep`.
  return clone->GetLayer() == this ? clone : nullptr;
}

void Layer::GetGameObjects(std::list<GameObject*>& out) const {
  out.clear();
  for (const auto& entry : m_objects) out.push_back(entry.second.Get());
}

void Layer::GetGameObjectsByName(const std::string& name, std::list<GameObject*>& out) const {
  out.clear();
  auto found = m_objectsByName.find(name);
  if (found == m_objectsByName.end()) return;
  for (const auto& object : found->second) out.push_back(object.Get());
}

GameObject* Layer::FindGameObjectById(uint32_t id) const {
  auto found = m_objects.find(id);
  return found == m_objects.end() ? nullptr : found->second.Get();
}

bool Layer::Holds(const GameObject* object) const {
  bool held = false;
  ForEachListed([&held, object](const GameObject* listed) { held = held || listed == object; });
  return held;
}

// ---- Per-frame passes ---------------------------------------------------------------------------

void Layer::Update(float dt) {
  // Both queues are read up to their end as they grow: what OnStart, OnEnd or ReleaseResources
  // queue is carried out in this same pass.
  for (size_t i = 0; i < m_pendingAdditions.size(); ++i) {
    Core::SmartPointer<GameObject> object = m_pendingAdditions[i];
    m_node->AddChild(object->GetNode());
    m_objects[object->GetID()] = object;
    object->OnStart();
  }
  m_pendingAdditions.clear();
  for (size_t i = 0; i < m_pendingRemovals.size(); ++i) {
    Core::SmartPointer<GameObject> object = m_pendingRemovals[i];
    m_node->RemoveChild(object->GetNode());
    auto found = m_objects.find(object->GetID());
    if (found != m_objects.end() && found->second.Get() == object.Get()) m_objects.erase(found);
    object->OnEnd();
    object->ReleaseResources();
  }
  m_pendingRemovals.clear();
  OnUpdate(dt);
  // Ticks only queue membership changes, so the live set stays as it is while they run.
  for (auto& entry : m_objects) {
    Core::SmartPointer<GameObject> object = entry.second;
    object->Tick(dt);
  }
}

void Layer::RunFirstHook(float dt) {
  for (auto& entry : m_objects) {
    if (!entry.second->IsNetworkReplica()) entry.second->FirstFrameHook(dt);
  }
}

void Layer::RunSecondHook(float dt) {
  for (auto& entry : m_objects) {
    if (!entry.second->IsNetworkReplica()) entry.second->SecondFrameHook(dt);
  }
}

void Layer::RefreshTransforms() {
  for (auto& entry : m_objects) entry.second->RefreshTransform();
}

void Layer::EndGameObjects() {
  for (auto& entry : m_objects) entry.second->OnEnd();
}

void Layer::Destroy() {
  if (m_destroyed != 0) return;
  m_destroyed = 1;
  for (auto& entry : m_objects) entry.second->ReleaseResources();
  // Objects still queued point at this layer too; they must not outlive it holding that link.
  for (auto& object : m_pendingAdditions) object->ReleaseResources();
  ClearStaticCollisions();
}

// ---- Persistence --------------------------------------------------------------------------------

void Layer::Save(Core::File& file) {
  file << m_name;
  Math::WriteFloat(file, m_zOrder);
  Math::WriteFloat(file, m_scaleX);
  Math::WriteFloat(file, m_scaleY);
  Math::WriteFloat(file, m_rotation);
  Core::WriteValue<uint32_t>(file, m_index);
  Core::WriteValue<uint8_t>(file, m_destroyed);
  Core::WriteValue<uint8_t>(file, m_collisionLayerIndex);
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(m_objectsByName.size()));
  for (auto& entry : m_objectsByName) {
    file << entry.first;
    Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(entry.second.size()));
    for (auto& object : entry.second) file.WriteObject(object.Get());
  }
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(m_objects.size()));
  for (auto& entry : m_objects) {
    Core::WriteValue<uint32_t>(file, entry.first);
    file.WriteObject(entry.second.Get());
  }
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(m_pendingAdditions.size()));
  for (auto& object : m_pendingAdditions) file.WriteObject(object.Get());
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(m_pendingRemovals.size()));
  for (auto& object : m_pendingRemovals) file.WriteObject(object.Get());
  Core::WriteValue<uint8_t>(file, m_collisionDataVisible);
  Core::WriteValue<uint8_t>(file, m_layerPartitionVisible);
  Math::WriteColor(file, m_collisionDataColor);
  Math::WriteColor(file, m_layerPartitionColor);
  Math::WriteVector2D(file, m_gridOrigin);
  Core::WriteValue<uint32_t>(file, m_gridWidth);
  Core::WriteValue<uint32_t>(file, m_gridHeight);
  Core::WriteValue<uint32_t>(file, m_gridCellSize);
}

void Layer::Load(Core::File& file) {
  file >> m_name;
  Math::ReadFloat(file, m_zOrder);
  Math::ReadFloat(file, m_scaleX);
  Math::ReadFloat(file, m_scaleY);
  Math::ReadFloat(file, m_rotation);
  Core::ReadValue(file, m_index);
  Core::ReadValue(file, m_destroyed);
  Core::ReadValue(file, m_collisionLayerIndex);
  UpdateTransformation();
  // Each count is checked against what the stream still holds before anything is read for it.
  uint32_t nameCount = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(nameCount, 8)) nameCount = 0;
  for (uint32_t i = 0; i < nameCount && !file.HasFailed(); ++i) {
    std::string name;
    file >> name;
    ObjectList& list = m_objectsByName[name];
    uint32_t length = Core::ReadValue<uint32_t>(file);
    if (!file.CheckCount(length, 1)) length = 0;
    for (uint32_t j = 0; j < length && !file.HasFailed(); ++j) {
      if (GameObject* object = Core::ReadTypedObject<GameObject>(file)) list.emplace_back(object);
    }
  }
  uint32_t liveCount = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(liveCount, 5)) liveCount = 0;
  for (uint32_t i = 0; i < liveCount && !file.HasFailed(); ++i) {
    const uint32_t id = Core::ReadValue<uint32_t>(file);
    GameObject* object = Core::ReadTypedObject<GameObject>(file);
    if (object == nullptr) continue;
    m_objects[id] = object;
    m_node->AddChild(object->GetNode());
  }
  for (auto* queue : {&m_pendingAdditions, &m_pendingRemovals}) {
    uint32_t count = Core::ReadValue<uint32_t>(file);
    if (!file.CheckCount(count, 1)) count = 0;
    for (uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
      if (GameObject* object = Core::ReadTypedObject<GameObject>(file)) queue->emplace_back(object);
    }
  }
  Core::ReadValue(file, m_collisionDataVisible);
  Core::ReadValue(file, m_layerPartitionVisible);
  Math::ReadColor(file, m_collisionDataColor);
  Math::ReadColor(file, m_layerPartitionColor);
  Math::ReadVector2D(file, m_gridOrigin);
  Core::ReadValue(file, m_gridWidth);
  Core::ReadValue(file, m_gridHeight);
  Core::ReadValue(file, m_gridCellSize);
}

}  // namespace Quillon
