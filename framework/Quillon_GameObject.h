#pragma once
// The framework's scene object. Everything a layer holds derives from it: it owns one transformation
// node whose matrix it rebuilds from its position, centre, rotation, scale and z-order; it keeps its
// collision body and rigid body (by id, in the game's engines) in step with that transform; it can
// carry other objects along (mounts), age and end itself after a life time, and run a Lua script.
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "core/Core_Object.h"
#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"
#include "scene/Engine_Node.h"

class LuaScript;
struct lua_State;

namespace Collision2D {
class CollisionResults;
class DynamicObject;
class TileMap;
}
namespace Physics2D {
class Force;
class MassProperties;
class RigidBody;
}

namespace Quillon {

class Layer;
class NetworkFile;
class QlnPlayer;

// A network object's list of components: made by CreateComponentManager and kept with its object;
// nothing fills it yet.
class QlnComponentManager : public Core::Object {
 public:
  size_t GetComponentCount() const { return m_components.size(); }

 private:
  std::vector<Core::SmartPointer<Core::Object>> m_components;
};

class GameObject : public Core::Object {
 public:
  static constexpr const char* ScriptClassName = "GameObject";

  GameObject();
  GameObject(const GameObject& other);
  GameObject& operator=(const GameObject&) = delete;
  ~GameObject() override;
  VELKOR_DECLARE_CLASS(GameObject);

  LuaScript* GetScript() override { return m_ownScript; }
  int PushToLua(lua_State* state) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;

  // Runs the script's "Destroy", marks the object pending and asks its layer to remove it; the
  // object lives until the layer's next update has taken it out.
  virtual void Destroy();
  virtual void OnStart();
  virtual void OnEnd();
  // The per-frame step the layer runs: ageing (or network smoothing), Update, UpdateAppearance.
  virtual void Tick(float dt);
  // Script "Update" with dt; game classes put their behaviour here.
  virtual void Update(float dt);
  // Once only: detaches mounts, removes the collision and rigid bodies, destroys the script and
  // releases the managed objects.
  virtual void ReleaseResources();
  // The two per-frame layer passes call these for every live object that is not a network replica.
  virtual void FirstFrameHook(float dt) { (void)dt; }
  virtual void SecondFrameHook(float dt) { (void)dt; }
  // Hands opacity and colour to the engine node; nothing in the base.
  virtual void UpdateAppearance(float dt) { (void)dt; }
  // Gives the object a new, empty component manager; answers whether this machine is the network
  // server. A copy starts without one.
  virtual bool CreateComponentManager();
  QlnComponentManager* GetComponentManager() const { return m_componentManager.Get(); }

  // Transform. Every setter passes the change on to the bodies and mounted objects, then rebuilds
  // the node matrix; plain stores (z-order, opacity, colour, life time) show at the next refresh.
  void SetPosition(const Math::Vector2D& position);
  void SetPosition(float x, float y) { SetPosition(Math::Vector2D(x, y)); }
  void SetPositionX(float x) { SetPosition(Math::Vector2D(x, m_position.y)); }
  void SetPositionY(float y) { SetPosition(Math::Vector2D(m_position.x, y)); }
  // As SetPosition, the collision body taking it as its previous-frame position.
  void SetOldPosition(const Math::Vector2D& position);
  const Math::Vector2D& GetPosition() const { return m_position; }
  float GetPositionX() const { return m_position.x; }
  float GetPositionY() const { return m_position.y; }
  void SetCenter(const Math::Vector2D& center);
  const Math::Vector2D& GetCenter() const { return m_center; }
  void SetRotationAngle(float degrees);
  void SetOldRotationAngle(float degrees);
  float GetRotationAngle() const { return m_rotationAngle; }
  void SetDirection(float x, float y);
  void SetDirectionX(float x);
  void SetDirectionY(float y);
  Math::Vector2D GetDirection() const;
  void SetScale(float x, float y);
  void SetScaleX(float x) { SetScale(x, m_scaleY); }
  void SetScaleY(float y) { SetScale(m_scaleX, y); }
  float GetScaleX() const { return m_scaleX; }
  float GetScaleY() const { return m_scaleY; }
  void SetZOrder(float z) { m_zOrder = z; }
  float GetZOrder() const { return m_zOrder; }
  void SetOpacity(float opacity) { m_opacity = opacity; }
  float GetOpacity() const { return m_opacity; }
  void SetModulationColor(const Math::Color& color) { m_modulationColor = color; }
  const Math::Color& GetModulationColor() const { return m_modulationColor; }
  void SetVisible(bool visible);
  bool IsVisible() const;
  // Rebuilds the node matrix now (skipped while the auto-transform flag is off).
  void RefreshTransform();
  void SetAutoTransform(bool on) { m_autoTransform = on ? 1 : 0; }
  bool GetAutoTransform() const { return m_autoTransform != 0; }

  // Life.
  void SetLifeTime(float seconds) { m_lifeTime = seconds; }
  float GetLifeTime() const { return m_lifeTime; }
  float GetAge() const { return m_age; }
  void ResetAge() { m_age = 0.0f; }
  bool IsDestroyed() const { return m_destroyed != 0; }
  bool IsDestructionPending() const { return m_destructionPending != 0; }

  // Identity. SetName re-keys the object in its layer's name index before the name changes.
  void SetName(const std::string& name);
  const std::string& GetName() const { return m_name; }
  uint32_t GetID() const { return m_id; }
  static void ResetIdCounter();
  // The current level's objects of that name, layer by layer (the list is cleared first).
  static void GetGameObjectsByName(const std::string& name, std::list<GameObject*>& out);
  static uint32_t GetIdCounter();
  // A whole-game load puts back the counter it saved.
  static void SetIdCounter(uint32_t value);
  Layer* GetLayer() const { return m_layer; }
  // Set by the layer only.
  void SetLayer(Layer* layer) { m_layer = layer; }
  const Core::SmartPointer<Engine::TransformationGroup>& GetNode() const { return m_node; }

  // Mounts: carried objects follow this one's moves and turns (they are not owned). Mounting the
  // object itself, one already carried here, or one that carries this object is refused.
  void Mount(GameObject* child);
  void UnMount(GameObject* child);
  uint32_t GetMountsCount() const { return static_cast<uint32_t>(m_mountedObjects.size()); }
  GameObject* GetMount(uint32_t index) const { return index < m_mountedObjects.size() ? m_mountedObjects[index] : nullptr; }
  GameObject* GetMountSupport() const { return m_mountSupport; }

  // Objects visible to the script under a name; held until the resources are released.
  void AddManagedObject(GameObject* object, const std::string& name);
  uint32_t GetManagedObjectsCount() const { return static_cast<uint32_t>(m_managedObjects.size()); }
  GameObject* GetManagedObject(uint32_t index) const;

  // Bodies in the game's engines (0 = none).
  uint32_t GetCollisionId() const { return m_collisionId; }
  uint32_t GetPhysicsId() const { return m_physicsId; }

  // Collision body: a dynamic object the caller made. This object becomes its owner and it joins
  // that collision layer at the object's position (a body the object had before is removed). False
  // when there is no collision engine or the layer refuses it: the caller then keeps the body.
  bool AddCollision(Collision2D::DynamicObject* body, uint8_t layerIndex);
  // Removes the body from the engine; the id stays stored (and names nothing any more).
  void RemoveCollision();
  // The body's contacts of this frame; null without a body.
  Collision2D::CollisionResults* GetCollisionResults() const;
  Collision2D::DynamicObject* GetCollisionObject() const;
  Collision2D::TileMap* GetTileMapCollisionObject() const;
  bool ObjectInCollision() const;
  // The first list holds bounding-rectangle contacts with other dynamic objects, the second their
  // shape contacts.
  uint32_t GetCollidedSpritesCount(bool secondList) const;
  uint32_t GetCollidedCirclesCount() const;
  uint32_t GetCollidedLineSegmentsCount() const;
  uint32_t GetCollidedTileMapsCount() const;
  // The object owning the partner of that contact; null when there is none.
  GameObject* GetCollidedSprite(uint32_t index, bool secondList) const;
  bool IsCollidedWithSprite(const std::string& name, bool secondList) const;
  bool IsCollidedWithSpriteLineSegment(uint32_t userId) const;
  bool IsCollidedWithSpriteCircle(uint32_t userId) const;
  bool IsCollidedWithLineSegment(uint32_t userId) const;
  bool IsCollidedWithCircle(uint32_t userId) const;
  bool IsCollidedWithTileMap(const std::string& name) const;
  // One of this object's own shapes with that user id takes part in a contact (against a partner
  // shape with partnerUserId when one is given).
  bool IsMyLineSegmentCollided(uint32_t userId, const uint32_t* partnerUserId) const;
  bool IsMyCircleCollided(uint32_t userId, const uint32_t* partnerUserId) const;

  // Rigid body in the game's physics engine; the number chooses its integration (0 Euler, 1 Heun,
  // 2 Runge-Kutta, 3 none). False when the object already has one or there is no physics engine.
  bool AddPhysicalProperties(const Physics2D::MassProperties& massProperties, uint32_t solverKind);
  // False when there was no rigid body.
  bool RemovePhysicalProperties();
  bool SetVelocity(const Math::Vector2D& velocity);
  bool GetVelocity(Math::Vector2D& velocity) const;
  bool SetAngularVelocity(float degreesPerSecond);
  bool GetAngularVelocity(float& degreesPerSecond) const;
  bool SetMassProperties(const Physics2D::MassProperties& massProperties);
  bool GetMassProperties(Physics2D::MassProperties& massProperties) const;
  bool GetCenterOfMass(Math::Vector2D& centerOfMass) const;
  // The body takes a reference on the force; forceId names it for RemoveForce.
  bool AddForce(Physics2D::Force* force, uint32_t& forceId);
  bool RemoveForce(uint32_t forceId);
  bool RemoveAllForces();
  // Keeps the direction of motion; false when the velocity cannot be read.
  bool SetSpeed(float speed);
  float GetSpeed() const;
  // Keeps the speed.
  bool SetVelocityDirection(const Math::Vector2D& direction);
  Math::Vector2D GetVelocityDirection() const;
  // The rigid body's callbacks: the object follows its body (a whole-game load sets them again).
  static void FollowRigidBody(Physics2D::RigidBody* body, void* object);
  static void FollowRigidBodyPreviousFrame(Physics2D::RigidBody* body, void* object);

  // Scripts: the file under "\Resources\Scripts\" and the script constructor.
  void SetScriptFile(const std::string& file) { m_scriptFile = file; }
  const std::string& GetScriptFile() const { return m_scriptFile; }
  bool HasScriptFlag() const { return m_scriptFlag != 0; }
  bool IsScriptStarted() const { return m_scriptStarted != 0; }
  bool IsCloneWithScript() const { return m_cloneWithScript != 0; }
  LuaScript* GetSharedScript() const { return m_sharedScript; }
  // Creates the own script when missing, binds "self", loads the file (or the compiled chunk of the
  // script that already loaded it) and, unless told not to, runs "Constructor".
  void RunScriptConstructor(bool callConstructor);
  // Calls a global function of the own script, protected, with no results; false when the script is
  // empty, the function is missing or it raised.
  bool CallScriptFunction(const char* name);
  bool CallScriptFunction(const char* name, float argument);
  bool CallScriptFunction(const char* name, Core::Object* argument);
  // The "Clone" script method's work: Clone, then the clone's script loads this object's chunk with
  // the clone as its "self".
  GameObject* CloneWithScript() const;

  // Network identity (the multiplayer layer gives and reads it).
  bool IsNetworkObject() const { return m_networkId != nullptr; }
  bool IsNetworkReplica() const;
  const Core::SmartPointer<Core::Object>& GetNetworkId() const { return m_networkId; }
  void SetNetworkId(const Core::SmartPointer<Core::Object>& id) { m_networkId = id; }
  const std::string& GetNetworkName() const { return m_networkName; }
  void SetNetworkName(const std::string& name) { m_networkName = name; }
  void SetNetworkTarget(const Math::Vector2D& position, float angle);
  // Gives the object's network id to another owner (null: this machine's player), keeping its id
  // number; false when the object has no network id.
  bool ChangeNetworkOwner(QlnPlayer* player);
  // The session player who owns the object, or null.
  QlnPlayer* GetNetworkOwner() const;
  // Network records: creation on the peers and the server's per-step synchronisation. Subclasses
  // call the base first and append their own fields. The loads read a peer's bytes: a short or
  // malformed record fails the file and changes nothing it could not read whole.
  virtual void NetworkSave(NetworkFile& file);
  virtual void NetworkLoad(NetworkFile& file);
  virtual void NetworkSyncSend(NetworkFile& file);
  virtual void NetworkSyncReceive(NetworkFile& file);
  // The file of the network call in progress (set and cleared by the multiplayer layer), or null.
  void SetNetworkFile(NetworkFile* file) { m_networkFile = file; }
  NetworkFile* GetNetworkFile() const { return m_networkFile; }

 protected:
  // True when the own script exists and holds code.
  bool HasLoadedScript() const;
  // The script entry points gated by the script flag.
  bool ScriptEntriesEnabled() const { return m_scriptFlag != 0 && HasLoadedScript(); }
  // Makes this object the owner of the body in its engines; the copy constructor's duplicates use it.
  void DuplicateBodiesFrom(const GameObject& source);
  // Reads the fields of the base record; the subclasses' Load calls it first.
  void LoadBase(Core::File& file);
  // The "OnClone" entry of a copy (sprites, texts and cameras run it from their copy constructors).
  void RunOnClone(const GameObject& source);

 private:
  // Moves this carried object by a turn about the pivot and a shift, then its own carried objects.
  void FollowMount(const Math::Vector2D& pivot, const Math::Vector2D& delta, float angleChange);
  // Unlinks this object from its support and from what it carries, in both directions.
  void DetachMounts();
  void MoveBodies(bool position, bool orientation, bool previousFrame);
  // The collision body's side of the transform, attachment and copies.
  void MoveCollisionBody(bool position, bool orientation, bool previousFrame);
  void MoveCollisionCenter();
  void RemoveCollisionBody();
  uint32_t DuplicateCollisionBody(const GameObject& source);

  std::vector<Core::SmartPointer<GameObject>> m_managedObjects;
  std::vector<std::string> m_managedObjectNames;
  uint8_t m_cloneWithScript = 0;
  LuaScript* m_sharedScript = nullptr;
  LuaScript* m_ownScript = nullptr;
  std::string m_scriptFile;
  uint8_t m_scriptFlag = 0;
  uint8_t m_scriptStarted = 0;

 protected:
  Core::SmartPointer<Engine::TransformationGroup> m_node;
  Math::Vector2D m_position;
  Math::Vector2D m_center;
  float m_rotationAngle = 0.0f;

 private:
  Core::SmartPointer<Core::Object> m_networkId;
  Core::SmartPointer<QlnComponentManager> m_componentManager;
  std::vector<GameObject*> m_mountedObjects;
  GameObject* m_mountSupport = nullptr;
  Layer* m_layer = nullptr;
  std::string m_name;

 protected:
  float m_scaleX = 1.0f;
  float m_scaleY = 1.0f;
  float m_opacity = 1.0f;
  Math::Color m_modulationColor{1.0f, 1.0f, 1.0f, 1.0f};
  float m_lifeTime = 0.0f;
  float m_age = 0.0f;
  float m_zOrder = 0.0f;
  uint32_t m_id = 0;
  uint32_t m_collisionId = 0;
  uint32_t m_physicsId = 0;

 private:
  uint8_t m_destroyed = 0;
  uint8_t m_destructionPending = 0;
  uint8_t m_autoTransform = 1;
  uint8_t m_released = 0;
  Math::Vector2D m_networkTargetPosition;
  float m_networkTargetAngle = 0.0f;
  uint8_t m_firstSync = 0;
  std::string m_networkName = "0";
  NetworkFile* m_networkFile = nullptr;
};

// True when a contact of the chosen sprite-contact list has a partner owned by an object of exactly
// that name; the game's actors ask this every frame.
bool IsCollidedWithSprite(const Collision2D::CollisionResults* results, const std::string& name, bool secondList);

}  // namespace Quillon
