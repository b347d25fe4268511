#include "framework/Quillon_GameObject.h"

#include <algorithm>
#include <cmath>

#include <lua.hpp>

#include "core/Core_File.h"
#include "framework/Quillon_GameServices.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Level.h"
#include "math/Math_Matrix4x4.h"
#include "math/Math_Stream.h"
#include "physics/Physics_Engine.h"
#include "physics/Physics_MassProperties.h"
#include "script/Lua_Script.h"

namespace Quillon {

namespace {

constexpr float kDegreesToRadians = 0.01745329f;
constexpr float kRadiansToDegrees = 57.29578f;

uint32_t g_idCounter = 0;

Physics2D::PhysicsEngine* Physics() { return GetGameServices().GetPhysicsEngine(); }

}  // namespace

VELKOR_IMPLEMENT_CLASS(GameObject, "Quillon::GameObject");

GameObject::GameObject() : m_node(new (__FILE__, __LINE__) Engine::TransformationGroup()), m_id(g_idCounter++) {
  RefreshTransform();
}

GameObject::GameObject(const GameObject& other)
    : Core::Object(other),
      m_scriptFile(other.m_scriptFile),
      m_scriptFlag(other.m_scriptFlag),
      m_scriptStarted(other.m_scriptStarted),
      m_node(new (__FILE__, __LINE__) Engine::TransformationGroup()),
      m_position(other.m_position),
      m_center(other.m_center),
      m_rotationAngle(other.m_rotationAngle),
      m_name(other.m_name),
      m_scaleX(other.m_scaleX),
      m_scaleY(other.m_scaleY),
      m_opacity(other.m_opacity),
      m_modulationColor(other.m_modulationColor),
      m_lifeTime(other.m_lifeTime),
      m_age(other.m_age),
      m_zOrder(other.m_zOrder),
      m_id(g_idCounter++),
      // A copy is a new object: it is neither destroyed nor on its way out, whatever its source is.
      m_destroyed(0),
      m_destructionPending(0),
      m_autoTransform(other.m_autoTransform),
      m_released(0) {
  m_node->SetVisible(other.m_node->GetVisible(), true);
  DuplicateBodiesFrom(other);
  m_sharedScript = other.m_ownScript;
  if (other.m_scriptFlag != 0 && other.m_ownScript != nullptr) {
    m_cloneWithScript = 1;
    m_ownScript = LuaScript::Create();
    for (size_t i = 0; i < other.m_managedObjects.size(); ++i) {
      m_managedObjectNames.push_back(other.m_managedObjectNames[i]);
      GameObject* source = other.m_managedObjects[i].Get();
      GameObject* clone = source ? static_cast<GameObject*>(source->Clone()) : nullptr;
      m_managedObjects.emplace_back(clone);
      lua_State* thread = m_ownScript->GetThread();
      if (clone != nullptr && thread != nullptr) {
        clone->PushToLua(thread);
        lua_setglobal(thread, other.m_managedObjectNames[i].c_str());
      }
    }
  }
  RefreshTransform();
}

GameObject::~GameObject() {
  GameObject::ReleaseResources();
  // A loaded object may say its resources are already released: its mounts must still not
  // point at it once it is gone.
  DetachMounts();
}

void GameObject::DetachMounts() {
  for (GameObject* mounted : m_mountedObjects) {
    if (mounted->m_mountSupport == this) mounted->m_mountSupport = nullptr;
  }
  m_mountedObjects.clear();
  if (m_mountSupport != nullptr) {
    GameObject* support = m_mountSupport;
    m_mountSupport = nullptr;
    auto found = std::find(support->m_mountedObjects.begin(), support->m_mountedObjects.end(), this);
    if (found != support->m_mountedObjects.end()) support->m_mountedObjects.erase(found);
  }
}

int GameObject::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, ScriptClassName); }

// ---- Transform ----------------------------------------------------------------------------------

void GameObject::RefreshTransform() {
  if (m_autoTransform == 0) return;
  const Math::Vector2D& p = m_position;
  const Math::Vector2D& c = m_center;
  Math::Matrix4x4 matrix = Math::Matrix4x4::MakeTranslation(p.x - c.x, p.y - c.y, m_zOrder) *
                           Math::Matrix4x4::MakeTranslation(c.x, c.y, 0.0f) *
                           Math::Matrix4x4::MakeRotationZ(m_rotationAngle) *
                           Math::Matrix4x4::MakeTranslation(-c.x, -c.y, 0.0f) *
                           Math::Matrix4x4::MakeScale(m_scaleX, m_scaleY, 1.0f);
  m_node->SetTransform(matrix);
}

void GameObject::MoveBodies(bool position, bool orientation, bool previousFrame) {
  (void)previousFrame;
  if (Physics2D::PhysicsEngine* physics = Physics()) {
    if (m_physicsId != 0) {
      if (position) physics->SetRigidBodyPosition(m_physicsId, m_position);
      if (orientation) physics->SetRigidBodyOrientation(m_physicsId, m_rotationAngle);
    }
  }
  MoveCollisionBody(position, orientation, previousFrame);
}

void GameObject::SetPosition(const Math::Vector2D& position) {
  const Math::Vector2D delta = position - m_position;
  m_position = position;
  MoveBodies(true, false, false);
  for (GameObject* mounted : m_mountedObjects) mounted->FollowMount(m_position, delta, 0.0f);
  RefreshTransform();
}

void GameObject::SetOldPosition(const Math::Vector2D& position) {
  const Math::Vector2D delta = position - m_position;
  m_position = position;
  MoveBodies(true, false, true);
  for (GameObject* mounted : m_mountedObjects) mounted->FollowMount(m_position, delta, 0.0f);
  RefreshTransform();
}

void GameObject::SetRotationAngle(float degrees) {
  const float change = degrees - m_rotationAngle;
  m_rotationAngle = degrees;
  MoveBodies(false, true, false);
  for (GameObject* mounted : m_mountedObjects) mounted->FollowMount(m_position, Math::Vector2D(), change);
  RefreshTransform();
}

void GameObject::SetOldRotationAngle(float degrees) {
  const float change = degrees - m_rotationAngle;
  m_rotationAngle = degrees;
  MoveBodies(false, true, true);
  for (GameObject* mounted : m_mountedObjects) mounted->FollowMount(m_position, Math::Vector2D(), change);
  RefreshTransform();
}

void GameObject::SetCenter(const Math::Vector2D& center) {
  m_center = center;
  MoveCollisionCenter();
  if (Physics2D::PhysicsEngine* physics = Physics()) {
    Physics2D::MassProperties massProperties;
    if (m_physicsId != 0 && physics->GetRigidBodyMassProperties(m_physicsId, massProperties)) {
      massProperties.SetCenterOfMass(center);
      physics->SetRigidBodyMassProperties(m_physicsId, massProperties);
    }
  }
  RefreshTransform();
}

void GameObject::SetScale(float x, float y) {
  m_scaleX = x;
  m_scaleY = y;
  RefreshTransform();
}

void GameObject::SetDirection(float x, float y) { SetRotationAngle(std::atan2(y, x) * kRadiansToDegrees); }

void GameObject::SetDirectionX(float x) {
  Math::Vector2D direction = GetDirection();
  SetDirection(x, direction.y);
}

void GameObject::SetDirectionY(float y) {
  Math::Vector2D direction = GetDirection();
  SetDirection(direction.x, y);
}

Math::Vector2D GameObject::GetDirection() const {
  const float radians = m_rotationAngle * kDegreesToRadians;
  return Math::Vector2D(std::cos(radians), std::sin(radians));
}

void GameObject::SetVisible(bool visible) { m_node->SetVisible(visible, true); }

bool GameObject::IsVisible() const { return m_node->GetVisible(); }

void GameObject::FollowMount(const Math::Vector2D& pivot, const Math::Vector2D& delta, float angleChange) {
  if (angleChange != 0.0f) {
    Math::Matrix4x4 turn = Math::Matrix4x4::MakeTranslation(pivot.x, pivot.y, 0.0f) *
                           Math::Matrix4x4::MakeRotationZ(angleChange) *
                           Math::Matrix4x4::MakeTranslation(-pivot.x, -pivot.y, 0.0f);
    Math::Vector3D turned = turn * Math::Vector3D(m_position.x, m_position.y, 0.0f);
    m_position = Math::Vector2D(turned.x, turned.y);
    m_rotationAngle += angleChange;
    MoveBodies(false, true, false);
  }
  m_position += delta;
  MoveBodies(true, false, false);
  for (GameObject* mounted : m_mountedObjects) mounted->FollowMount(pivot, delta, angleChange);
  RefreshTransform();
}

// ---- Mounts -------------------------------------------------------------------------------------

void GameObject::Mount(GameObject* child) {
  if (child == nullptr || child == this) return;
  if (std::find(m_mountedObjects.begin(), m_mountedObjects.end(), child) != m_mountedObjects.end()) return;
  // A child that carries this object (directly or further up) would make the follow recurse forever.
  for (GameObject* support = m_mountSupport; support != nullptr; support = support->m_mountSupport) {
    if (support == child) return;
  }
  // One support at a time: a child still listed by its old support would be moved twice and left
  // dangling there when it goes.
  if (child->m_mountSupport != nullptr) child->m_mountSupport->UnMount(child);
  m_mountedObjects.push_back(child);
  child->m_mountSupport = this;
}

void GameObject::UnMount(GameObject* child) {
  if (child == nullptr || child == this) return;
  auto found = std::find(m_mountedObjects.begin(), m_mountedObjects.end(), child);
  if (found == m_mountedObjects.end()) return;
  m_mountedObjects.erase(found);
  if (child->m_mountSupport == this) child->m_mountSupport = nullptr;
}

// ---- Managed objects ----------------------------------------------------------------------------

void GameObject::AddManagedObject(GameObject* object, const std::string& name) {
  m_managedObjects.emplace_back(object);
  m_managedObjectNames.push_back(name);
}

GameObject* GameObject::GetManagedObject(uint32_t index) const {
  return index < m_managedObjects.size() ? m_managedObjects[index].Get() : nullptr;
}

// ---- Identity -----------------------------------------------------------------------------------

void GameObject::SetName(const std::string& name) {
  if (name == m_name) return;
  if (m_layer != nullptr) m_layer->RenameGameObject(this, m_name, name);
  m_name = name;
}

void GameObject::ResetIdCounter() { g_idCounter = 0; }

void GameObject::GetGameObjectsByName(const std::string& name, std::list<GameObject*>& out) {
  out.clear();
  if (Level* level = GetGameServices().GetCurrentLevel()) level->GetGameObjectsByName(name, out);
}

uint32_t GameObject::GetIdCounter() { return g_idCounter; }

void GameObject::SetIdCounter(uint32_t value) { g_idCounter = value; }

bool GameObject::IsNetworkReplica() const {
  if (!IsNetworkObject()) return false;
  const GameServices& services = GetGameServices();
  return services.IsNetworkGame() && !services.IsServer();
}

void GameObject::SetNetworkTarget(const Math::Vector2D& position, float angle) {
  m_networkTargetPosition = position;
  m_networkTargetAngle = angle;
}

// ---- Life ---------------------------------------------------------------------------------------

void GameObject::OnStart() {
  if (ScriptEntriesEnabled()) CallScriptFunction("OnStart");
}

void GameObject::OnEnd() {
  if (ScriptEntriesEnabled()) CallScriptFunction("OnEnd");
}

void GameObject::Update(float dt) {
  if (ScriptEntriesEnabled()) CallScriptFunction("Update", dt);
}

void GameObject::Tick(float dt) {
  if (IsNetworkReplica()) {
    if (m_position.Distance(m_networkTargetPosition) > 0.0f) {
      m_position += (m_networkTargetPosition - m_position) * 0.5f;
    }
    if (m_networkTargetAngle - m_rotationAngle != 0.0f) {
      m_rotationAngle += (m_networkTargetAngle - m_rotationAngle) * 0.5f;
    }
    // The fields already hold the new values, so mounted objects receive no change.
    SetRotationAngle(m_rotationAngle);
    SetPosition(m_position);
    UpdateAppearance(dt);
    return;
  }
  if (m_lifeTime > 0.0f) {
    m_age += dt;
    if (m_age > m_lifeTime) {
      Destroy();
      return;
    }
  }
  Update(dt);
  UpdateAppearance(dt);
}

void GameObject::Destroy() {
  if (m_destroyed != 0 || m_destructionPending != 0) return;
  // The pending mark goes first: a script "Destroy" that destroys the object again finds it set.
  m_destructionPending = 1;
  if (HasLoadedScript()) CallScriptFunction("Destroy");
  if (m_layer != nullptr) m_layer->RemoveGameObject(this);
}

void GameObject::ReleaseResources() {
  if (m_released != 0) return;
  m_released = 1;
  m_layer = nullptr;
  m_destroyed = 1;
  DetachMounts();
  RemoveCollisionBody();
  if (m_physicsId != 0) {
    if (Physics2D::PhysicsEngine* physics = Physics()) physics->RemoveRigidBody(m_physicsId);
    m_physicsId = 0;
  }
  if (m_ownScript != nullptr) {
    LuaScript* script = m_ownScript;
    m_ownScript = nullptr;
    LuaScript::Destroy(script);
  }
  m_sharedScript = nullptr;
  // Moved out first: releasing one may run code that looks at this object's lists.
  std::vector<Core::SmartPointer<GameObject>> managed;
  managed.swap(m_managedObjects);
  m_managedObjectNames.clear();
  managed.clear();
}

void GameObject::DuplicateBodiesFrom(const GameObject& source) {
  m_collisionId = DuplicateCollisionBody(source);
  m_physicsId = 0;
  if (source.m_physicsId != 0) {
    if (Physics2D::PhysicsEngine* physics = Physics()) m_physicsId = physics->CloneRigidBody(source.m_physicsId, this);
  }
}

// ---- Persistence --------------------------------------------------------------------------------

namespace {

void WriteU8(Core::File& file, uint8_t value) { Core::WriteValue(file, value); }
void WriteU32(Core::File& file, uint32_t value) { Core::WriteValue(file, value); }
void WriteF32(Core::File& file, float value) { Core::WriteValue(file, value); }

// A mount link does not own the object it names. One first met here may be listed by a layer
// further on; until the load ends the stream keeps it, and if nothing took it by then it goes,
// unmounting itself.
GameObject* ReadMountLink(Core::File& file) {
  GameObject* object = Core::ReadTypedObject<GameObject>(file);
  if (object != nullptr && file.LastReadCreatedObject()) file.DiscardCreatedObject(object);
  return object;
}

}  // namespace

void GameObject::Save(Core::File& file) {
  Math::WriteVector2D(file, m_position);
  Math::WriteVector2D(file, m_center);
  WriteF32(file, m_rotationAngle);
  WriteU32(file, static_cast<uint32_t>(m_mountedObjects.size()));
  for (GameObject* mounted : m_mountedObjects) file.WriteObject(mounted);
  file.WriteObject(m_mountSupport);
  file.WriteObject(m_layer);
  file << m_name;
  WriteF32(file, m_scaleX);
  WriteF32(file, m_scaleY);
  WriteF32(file, m_opacity);
  Math::WriteColor(file, m_modulationColor);
  WriteU8(file, IsVisible() ? 1 : 0);
  WriteF32(file, m_lifeTime);
  WriteF32(file, m_age);
  WriteF32(file, m_zOrder);
  WriteU32(file, m_id);
  WriteU32(file, m_collisionId);
  WriteU32(file, m_physicsId);
  WriteU8(file, m_destroyed);
  WriteU8(file, m_destructionPending);
  WriteU8(file, m_autoTransform);
  WriteU8(file, m_released);
  WriteU8(file, m_scriptFlag);
  file << m_scriptFile;
  WriteU8(file, m_cloneWithScript);
  WriteU8(file, m_scriptStarted);
  if (m_scriptFlag != 0 && m_scriptStarted != 0 && HasLoadedScript()) {
    for (auto& managed : m_managedObjects) {
      if (managed) managed->Save(file);
    }
    CallScriptFunction("Save");
  }
}

void GameObject::LoadBase(Core::File& file) {
  Math::ReadVector2D(file, m_position);
  Math::ReadVector2D(file, m_center);
  Math::ReadFloat(file, m_rotationAngle);
  // Links are made through Mount in both directions, so whatever the file says they stay
  // consistent: one support per object, no duplicates, no cycles.
  uint32_t mountedCount = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(mountedCount, 1)) mountedCount = 0;
  for (uint32_t i = 0; i < mountedCount && !file.HasFailed(); ++i) {
    if (GameObject* mounted = ReadMountLink(file)) Mount(mounted);
  }
  if (GameObject* support = ReadMountLink(file)) support->Mount(this);
  Layer* layer = Core::ReadTypedObject<Layer>(file);
  if (layer != nullptr && file.LastReadCreatedObject()) {
    // A layer first met here (this object written before the level reached it) is whole now. It
    // stays with the stream until the load ends, when the level has taken it or it goes; a layer
    // that does not list this object is not its layer.
    file.DiscardCreatedObject(layer);
    if (!layer->Holds(this)) layer = nullptr;
  }
  m_layer = layer;
  file >> m_name;
  Math::ReadFloat(file, m_scaleX);
  Math::ReadFloat(file, m_scaleY);
  Math::ReadFloat(file, m_opacity);
  Math::ReadColor(file, m_modulationColor);
  const uint8_t visible = Core::ReadValue<uint8_t>(file);
  Math::ReadFloat(file, m_lifeTime);
  Math::ReadFloat(file, m_age);
  Math::ReadFloat(file, m_zOrder);
  Core::ReadValue(file, m_id);
  // New objects must never take a loaded object's ID: layers key their live objects by it.
  if (m_id >= g_idCounter && m_id != UINT32_MAX) g_idCounter = m_id + 1;
  Core::ReadValue(file, m_collisionId);
  Core::ReadValue(file, m_physicsId);
  Core::ReadValue(file, m_destroyed);
  Core::ReadValue(file, m_destructionPending);
  Core::ReadValue(file, m_autoTransform);
  Core::ReadValue(file, m_released);
  Core::ReadValue(file, m_scriptFlag);
  file >> m_scriptFile;
  // A saved game is hostile input: its script must lie inside the game's script folder.
  if (!IsScriptNameInsideScripts(m_scriptFile)) {
    m_scriptFile.clear();
    file.Fail();
  }
  Core::ReadValue(file, m_cloneWithScript);
  Core::ReadValue(file, m_scriptStarted);
  m_sharedScript = nullptr;
  m_node->SetVisible(visible != 0, true);
  RefreshTransform();
  if (file.HasFailed()) return;
  if (m_scriptFlag != 0 && !m_scriptFile.empty() && m_scriptStarted != 0) {
    RunScriptConstructor(true);
    if (HasLoadedScript()) {
      for (auto& managed : m_managedObjects) {
        if (managed) managed->Load(file);
      }
      CallScriptFunction("Load");
    }
  }
}

void GameObject::Load(Core::File& file) { LoadBase(file); }

}  // namespace Quillon
