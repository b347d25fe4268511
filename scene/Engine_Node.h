#pragma once
// The scene graph's nodes: the leaf base, groups of children and groups with a local transform.
// Nodes never draw themselves: while a view renders they hand render items to the render queue.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/Core_Object.h"
#include "math/Math_Matrix4x4.h"
#include "renderer/Renderer_Effect.h"
#include "scene/Engine_BoundingVolume.h"

namespace Engine {

class Node;

// An object that rides along with a node and is updated with it.
class Attachment : public Core::Object {
 public:
  virtual void OnAttach(Node* node) { m_node = node; }
  virtual void OnDetachRequest() {}
  virtual void Update(float dt) { (void)dt; }
  Node* GetNode() const { return m_node; }

 protected:
  Node* m_node = nullptr;
};

namespace NodeType {
enum : uint32_t { Node = 0, Camera = 1, Group = 3, TransformationGroup = 4, SceneGraph = 5 };
}

class Node : public Core::Object {
 public:
  // Called first in every Update; borrows the node (a hook must not keep it alive by itself).
  using UpdateHook = std::function<void(Node* self, float dt)>;

  Node() = default;
  Node(const Node& other);
  Node& operator=(const Node&) = delete;
  ~Node() override;
  VELKOR_DECLARE_CLASS(Node);

  void Save(Core::File& file) override;
  void Load(Core::File& file) override;

  virtual uint32_t GetNodeType() const { return NodeType::Node; }
  virtual bool IsLeaf() const { return true; }
  virtual void SetRoot(Node* root) { (void)root; }
  virtual void GetWorldMatrix(Math::Matrix4x4& out) const { out = m_worldMatrix; }
  virtual Core::SmartPointer<Node> FindByName(const std::string& name);
  virtual void Refresh() {}
  virtual void Update(float dt);
  virtual void Draw(uint32_t flags = 0) { (void)flags; }
  virtual void Render();
  virtual void DrawTree() {}
  virtual void OnAttached() {}
  virtual void OnDetached() {}
  virtual void SetVisibleTree(bool visible) { m_visible = visible; }
  virtual void SetShowBoundingVolumeTree(bool show) { m_showBoundingVolume = show; }
  virtual void UpdateAttachments(float dt);

  void SetVisible(bool visible, bool recursive);
  bool GetVisible() const { return m_visible != 0; }
  void SetShowBoundingVolume(bool show, bool recursive);
  bool GetShowBoundingVolume() const { return m_showBoundingVolume != 0; }
  void SetScreenSpace(bool screenSpace) { m_screenSpace = screenSpace; }
  bool GetScreenSpace() const { return m_screenSpace != 0; }
  void SetMergeIntoParent(bool merge) { m_mergeIntoParent = merge; }
  bool GetMergeIntoParent() const { return m_mergeIntoParent != 0; }
  void SetName(const std::string& name) { m_name = name; }
  const std::string& GetName() const { return m_name; }
  void SetUpdateHook(UpdateHook hook) { m_updateHook = std::move(hook); }

  Node* GetParent() const { return m_parent; }
  // Only groups set it, as they take or give up a child.
  void SetParent(Node* parent) { m_parent = parent; }
  const Math::Matrix4x4& GetWorld() const { return m_worldMatrix; }
  void SetWorldMatrix(const Math::Matrix4x4& matrix) { m_worldMatrix = matrix; }
  // The parent's world matrix; the identity for a node without a parent.
  const Math::Matrix4x4& GetParentWorld() const;
  BoundingVolume& GetBoundingVolume() { return m_boundingVolume; }
  const BoundingVolume& GetBoundingVolume() const { return m_boundingVolume; }

  // Attaching sets the attachment's node and keeps it alive; detaching clears both.
  void Attach(const Core::SmartPointer<Attachment>& attachment);
  void Detach(const Core::SmartPointer<Attachment>& attachment);
  uint32_t GetAttachmentCount() const { return static_cast<uint32_t>(m_attachments.size()); }
  const Core::SmartPointer<Attachment>& GetAttachment(uint32_t index) const { return m_attachments[index]; }

 protected:
  void RunUpdateHook(float dt);
  // Merges this node's world box into the parent's when it has one and the flag asks for it.
  void MergeIntoParent();
  // True when a box that is not screen-anchored lies wholly outside the current view's frustum.
  static bool IsCulled(const Math::BoundingBox& box);

  Math::Matrix4x4 m_worldMatrix;
  Node* m_parent = nullptr;
  BoundingVolume m_boundingVolume;
  uint8_t m_flag0 = 1;
  uint8_t m_mergeIntoParent = 1;
  uint8_t m_showBoundingVolume = 0;
  uint8_t m_visible = 1;
  uint8_t m_screenSpace = 0;
  UpdateHook m_updateHook;
  std::string m_name;
  std::vector<Core::SmartPointer<Attachment>> m_attachments;
};

class Group : public Node {
 public:
  Group() = default;
  // Clones each child; the clones belong to the new group.
  Group(const Group& other);
  ~Group() override;
  VELKOR_DECLARE_CLASS(Group);

  void Save(Core::File& file) override;
  void Load(Core::File& file) override;

  uint32_t GetNodeType() const override { return NodeType::Group; }
  bool IsLeaf() const override { return false; }
  void SetRoot(Node* root) override;
  Core::SmartPointer<Node> FindByName(const std::string& name) override;
  void Refresh() override;
  void Update(float dt) override;
  void Draw(uint32_t flags = 0) override;
  void Render() override {}
  void DrawTree() override;
  void SetVisibleTree(bool visible) override;
  void SetShowBoundingVolumeTree(bool show) override;

  void AddChild(Core::SmartPointer<Node> child);
  void RemoveChild(Core::SmartPointer<Node> child);
  void RemoveAllChildren();
  uint32_t GetChildCount() const { return static_cast<uint32_t>(m_children.size()); }
  Core::SmartPointer<Node> GetChild(uint32_t index) const {
    return index < m_children.size() ? m_children[index] : Core::SmartPointer<Node>();
  }

 protected:
  void UpdateChildren(float dt);

  std::vector<Core::SmartPointer<Node>> m_children;
};

class TransformationGroup : public Group {
 public:
  TransformationGroup();
  TransformationGroup(const TransformationGroup& other);
  VELKOR_DECLARE_CLASS(TransformationGroup);

  void Save(Core::File& file) override;
  void Load(Core::File& file) override;

  uint32_t GetNodeType() const override { return NodeType::TransformationGroup; }
  void GetWorldMatrix(Math::Matrix4x4& out) const override;
  void Update(float dt) override;
  void Render() override;

  void SetTransform(const Math::Matrix4x4& transform) { m_localTransform = transform; }
  Math::Matrix4x4* GetTransform() { return &m_localTransform; }

 protected:
  Math::Matrix4x4 m_localTransform;
  Math::Matrix4x4 m_matrix1;
  Math::Matrix4x4 m_matrix2;
  Core::SmartPointer<Renderer::Effect> m_debugEffect;
};

}  // namespace Engine
