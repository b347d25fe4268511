#pragma once
// One named, z-ordered plane of a level: it holds game objects, hangs their nodes under its own
// transformation node, owns one collision layer of the game's collision engine and indexes its
// objects by name. Membership changes are queued and carried out by the next per-frame pass.
#include <cstdint>
#include <list>
#include <map>
#include <string>
#include <vector>

#include "core/Core_Object.h"
#include "framework/Quillon_GameObject.h"
#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"
#include "scene/Engine_Node.h"

namespace Quillon {

class Circle;
class Line;
class QlnPlayer;
struct LayerCollisionData;

class Layer : public Core::Object {
 public:
  static constexpr const char* ScriptClassName = "Layer";
  using ObjectList = std::list<Core::SmartPointer<GameObject>>;

  // The registry's and loading's layer: z-order 0 and no collision layer of its own (Load restores it).
  Layer();
  // A layer at that depth with a new collision layer in the game's collision engine.
  explicit Layer(float zOrder);
  Layer(const Layer&) = delete;
  Layer& operator=(const Layer&) = delete;
  ~Layer() override;
  static Core::Object* Create();
  const char* GetClassName() const override { return "Quillon::Layer"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(Layer)); }
  int PushToLua(lua_State* state) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;

  virtual void OnUpdate(float dt) { (void)dt; }
  // Once: every live object releases its resources and the collision layer loses its static shapes.
  virtual void Destroy();

  void SetName(const std::string& name) { m_name = name; }
  const std::string& GetName() const { return m_name; }
  void SetIndex(uint32_t index) { m_index = index; }
  uint32_t GetIndex() const { return m_index; }
  void SetZOrder(float zOrder);
  float GetZOrder() const { return m_zOrder; }
  void SetScale(float x, float y);
  float GetScaleX() const { return m_scaleX; }
  float GetScaleY() const { return m_scaleY; }
  void SetRotation(float degrees);
  float GetRotation() const { return m_rotation; }
  uint8_t GetCollisionLayerIndex() const { return m_collisionLayerIndex; }
  bool IsDestroyed() const { return m_destroyed != 0; }
  const Core::SmartPointer<Engine::TransformationGroup>& GetNode() const { return m_node; }

  void SetCollisionDataColor(const Math::Color& color);
  const Math::Color& GetCollisionDataColor() const { return m_collisionDataColor; }
  void SetLayerPartitionColor(const Math::Color& color);
  const Math::Color& GetLayerPartitionColor() const { return m_layerPartitionColor; }
  void SetVisibleLayerPartition(bool visible) { m_layerPartitionVisible = visible ? 1 : 0; }
  bool GetVisibleLayerPartition() const { return m_layerPartitionVisible != 0; }
  bool GetVisibleCollisionData() const { return m_collisionDataVisible != 0; }
  // Draws the static shapes not drawn yet (true) or destroys the drawn ones (false).
  void SetVisibleCollisionData(bool visible);

  // The broad-phase grid of the layer's collision layer.
  void SetCollisionProperties(const Math::Vector2D& origin, uint32_t width, uint32_t height, uint32_t cellSize);
  const Math::Vector2D& GetGridOrigin() const { return m_gridOrigin; }
  uint32_t GetGridWidth() const { return m_gridWidth; }
  uint32_t GetGridHeight() const { return m_gridHeight; }
  uint32_t GetGridCellSize() const { return m_gridCellSize; }
  // Static shapes of the collision layer; false when the collision engine did not take the shape.
  bool AddStaticLineSegment(const Math::Vector2D& a, const Math::Vector2D& b, uint8_t zCollision, uint32_t userId);
  bool AddStaticCircle(const Math::Vector2D& center, float radius, uint8_t zCollision, uint32_t userId);
  // Reads a layer collision file and adds its shapes. The whole file is checked first: on any
  // error nothing is added, false is returned and error (when given) says why, with the path.
  bool ReadInformation_StaticCollision(const std::string& path, std::string* error = nullptr);
  // Adds the shapes of an already parsed file; false when the collision engine refused one.
  bool AddStaticCollisionData(const LayerCollisionData& data);

  // Membership. The layer takes its own references.
  void AddGameObject(GameObject* object, bool networked = false, QlnPlayer* owner = nullptr);
  void InsertGameObject(GameObject* object);
  void RemoveGameObject(GameObject* object);
  void QueueGameObjectRemoval(GameObject* object);
  void RenameGameObject(GameObject* object, const std::string& oldName, const std::string& newName);
  GameObject* CreateNetworkGameObject(const std::string& name, QlnPlayer* owner);
  // Live objects in ascending ID (queued additions are not included).
  void GetGameObjects(std::list<GameObject*>& out) const;
  uint32_t GetGameObjectsCount() const { return static_cast<uint32_t>(m_objects.size()); }
  // The objects registered under that name, in queueing order.
  void GetGameObjectsByName(const std::string& name, std::list<GameObject*>& out) const;
  GameObject* FindGameObjectById(uint32_t id) const;
  // Whether any of the layer's lists (live, queued or by name) holds the object.
  bool Holds(const GameObject* object) const;
  uint32_t GetNameIndexSize() const { return static_cast<uint32_t>(m_objectsByName.size()); }
  uint32_t GetPendingAdditionsCount() const { return static_cast<uint32_t>(m_pendingAdditions.size()); }
  uint32_t GetPendingRemovalsCount() const { return static_cast<uint32_t>(m_pendingRemovals.size()); }

  // Per-frame passes, run by the level.
  void Update(float dt);
  void RunFirstHook(float dt);
  void RunSecondHook(float dt);
  void RefreshTransforms();
  void EndGameObjects();

  uint32_t GetCollisionCirclesCount() const { return static_cast<uint32_t>(m_collisionCircles.size()); }
  uint32_t GetCollisionLinesCount() const { return static_cast<uint32_t>(m_collisionLines.size()); }

 private:
  void UpdateTransformation();
  // Collision-engine side of membership and destruction.
  void PrepareCollisionBody(GameObject* object);
  void CreateCollisionLayer();
  void ClearStaticCollisions();
  void DrawStaticShapes();
  template <typename Visit>
  void ForEachListed(Visit visit) const {
    for (const auto& object : m_pendingAdditions) visit(object.Get());
    for (const auto& object : m_pendingRemovals) visit(object.Get());
    for (const auto& entry : m_objects) visit(entry.second.Get());
    for (const auto& entry : m_objectsByName) {
      for (const auto& object : entry.second) visit(object.Get());
    }
  }

  Core::SmartPointer<Engine::TransformationGroup> m_node;
  std::vector<Core::SmartPointer<GameObject>> m_pendingAdditions;
  std::vector<Core::SmartPointer<GameObject>> m_pendingRemovals;
  std::map<uint32_t, Core::SmartPointer<GameObject>> m_objects;
  std::map<std::string, ObjectList> m_objectsByName;
  std::string m_name;
  float m_zOrder = 0.0f;
  float m_scaleX = 1.0f;
  float m_scaleY = 1.0f;
  float m_rotation = 0.0f;
  uint32_t m_index = 0;
  uint8_t m_destroyed = 0;
  uint8_t m_collisionLayerIndex = 0;
  // Drawn shapes are objects of this layer; the references keep a drawn shape destroyed elsewhere from
  // dangling here.
  std::vector<Core::SmartPointer<Line>> m_collisionLines;
  std::vector<Core::SmartPointer<Circle>> m_collisionCircles;
  // The last static shape slots drawn by the collision data display.
  int32_t m_drawnCircleSlots = 0;
  int32_t m_drawnSegmentSlots = 0;
  std::vector<GameObject*> m_partitionObjects;
  uint8_t m_collisionDataVisible = 0;
  uint8_t m_layerPartitionVisible = 0;
  Math::Color m_collisionDataColor{0.0f, 0.0f, 0.0f, 1.0f};
  Math::Color m_layerPartitionColor{0.0f, 0.0f, 0.0f, 1.0f};
  Math::Vector2D m_gridOrigin;
  uint32_t m_gridWidth = 1;
  uint32_t m_gridHeight = 1;
  uint32_t m_gridCellSize = 1;
};

}  // namespace Quillon
