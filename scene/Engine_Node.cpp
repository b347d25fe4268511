#include "scene/Engine_Node.h"

#include <algorithm>

#include "core/Core_File.h"
#include "math/Math_Constants.h"
#include "renderer/Renderer_Effect.h"
#include "scene/Engine_RenderQueue.h"
#include "scene/Engine_SceneGraph.h"

namespace Engine {
namespace {
const Math::Matrix4x4 kIdentity;

// Groups whose Load is running: a hostile stream may name one of them (by its id) as its own
// descendant, which would make the tree a cycle.
std::vector<const Group*>& LoadingGroups() {
  static std::vector<const Group*> groups;
  return groups;
}

template <typename T>
typename std::vector<Core::SmartPointer<T>>::iterator FindSame(std::vector<Core::SmartPointer<T>>& list, const T* object) {
  return std::find_if(list.begin(), list.end(), [object](const Core::SmartPointer<T>& p) { return p.Get() == object; });
}

// A reference the stream should not hold here: fails the stream and frees the object when it is a
// fresh one that nothing holds (not the reader itself, not an enclosing group still loading).
void DiscardStrayObject(Core::File& file, Core::Object* object, const Core::Object* reader) {
  file.Fail();
  if (object == nullptr || object == reader || object->GetReferenceCount() != 0) return;
  const auto& loading = LoadingGroups();
  for (const Group* group : loading) {
    if (static_cast<const Core::Object*>(group) == object) return;
  }
  // The failed stream reads no further object, so its id table never hands this one out again.
  Core::SmartPointer<Core::Object> discard(object);
}
}  // namespace

// ---- Node ----

Node::Node(const Node& other)
    : Core::Object(other),
      m_worldMatrix(other.m_worldMatrix),
      m_boundingVolume(other.m_boundingVolume),
      m_flag0(other.m_flag0),
      m_mergeIntoParent(other.m_mergeIntoParent),
      m_showBoundingVolume(other.m_showBoundingVolume),
      m_visible(other.m_visible),
      m_screenSpace(other.m_screenSpace),
      m_updateHook(other.m_updateHook),
      m_name(other.m_name) {
  // A copy starts outside any group: the source's parent does not hold it, and a pointer to that
  // parent would dangle once the parent goes away.
  for (const Core::SmartPointer<Attachment>& attachment : other.m_attachments) {
    if (!attachment) continue;
    // A class that does not clone itself answers a plain copy of a base: that is no attachment.
    Core::SmartPointer<Core::Object> copy(attachment->Clone());
    Core::SmartPointer<Attachment> clone(dynamic_cast<Attachment*>(copy.Get()));
    if (!clone) continue;
    if (FindSame(m_attachments, clone.Get()) != m_attachments.end()) continue;
    Attach(clone);
  }
}

Node::~Node() {
  for (Core::SmartPointer<Attachment>& attachment : m_attachments) {
    if (attachment) attachment->OnAttach(nullptr);
  }
  m_attachments.clear();
}

void Node::Save(Core::File& file) {
  Math::WriteMatrix4x4(file, m_worldMatrix);
  // The parent is written as a null reference: the group that saves this node restores the link.
  file.WriteObject(nullptr);
  Core::WriteValue<uint8_t>(file, m_flag0);
  Core::WriteValue<uint8_t>(file, m_mergeIntoParent);
  Core::WriteValue<uint8_t>(file, m_showBoundingVolume);
  Core::WriteValue<uint8_t>(file, m_visible);
  Core::WriteValue<uint8_t>(file, m_screenSpace);
  file << m_name;
}

void Node::Load(Core::File& file) {
  Math::ReadMatrix4x4(file, m_worldMatrix);
  // The engine writes a null parent and the group that loads this node restores the link; a
  // stream may also name the enclosing group itself. Any other parent would be a second owner.
  Core::Object* parent = file.ReadObject();
  const auto& loading = LoadingGroups();
  const bool enclosingGroup = !loading.empty() && parent == static_cast<const Core::Object*>(loading.back());
  if (parent != nullptr && !enclosingGroup) DiscardStrayObject(file, parent, this);
  Core::ReadValue(file, m_flag0);
  Core::ReadValue(file, m_mergeIntoParent);
  Core::ReadValue(file, m_showBoundingVolume);
  Core::ReadValue(file, m_visible);
  Core::ReadValue(file, m_screenSpace);
  std::string name;
  file >> name;
  m_name = name;
}

Core::SmartPointer<Node> Node::FindByName(const std::string& name) {
  if (m_name == name) return Core::SmartPointer<Node>(this);
  return Core::SmartPointer<Node>();
}

const Math::Matrix4x4& Node::GetParentWorld() const { return m_parent ? m_parent->m_worldMatrix : kIdentity; }

void Node::RunUpdateHook(float dt) {
  if (m_updateHook) m_updateHook(this, dt);
}

void Node::MergeIntoParent() {
  if (m_mergeIntoParent && m_parent) m_parent->m_boundingVolume.Merge(m_boundingVolume);
}

bool Node::IsCulled(const Math::BoundingBox& box) {
  SceneGraph* sceneGraph = SceneGraph::GetCurrent();
  if (sceneGraph == nullptr) return false;
  return sceneGraph->GetFrustum().ClassifyBox(box) == Math::Classification::Outside;
}

void Node::Update(float dt) {
  RunUpdateHook(dt);
  UpdateAttachments(dt);
  m_worldMatrix = GetParentWorld();
  MergeIntoParent();
}

void Node::Render() {
  if (m_showBoundingVolume) m_boundingVolume.DrawDebug();
}

void Node::UpdateAttachments(float dt) {
  for (size_t i = 0; i < m_attachments.size(); ++i) {
    if (m_attachments[i]) m_attachments[i]->Update(dt);
  }
}

void Node::SetVisible(bool visible, bool recursive) {
  if (recursive) {
    SetVisibleTree(visible);
  } else {
    m_visible = visible;
  }
}

void Node::SetShowBoundingVolume(bool show, bool recursive) {
  if (recursive) {
    SetShowBoundingVolumeTree(show);
  } else {
    m_showBoundingVolume = show;
  }
}

void Node::Attach(const Core::SmartPointer<Attachment>& attachment) {
  if (!attachment) return;
  m_attachments.push_back(attachment);
  attachment->OnAttach(this);
}

void Node::Detach(const Core::SmartPointer<Attachment>& attachment) {
  auto found = FindSame(m_attachments, attachment.Get());
  if (found == m_attachments.end()) return;
  Core::SmartPointer<Attachment> keep = *found;
  m_attachments.erase(found);
  keep->OnAttach(nullptr);
}

// ---- Group ----

Group::Group(const Group& other) : Node(other) {
  m_children.reserve(other.m_children.size());
  for (const Core::SmartPointer<Node>& child : other.m_children) {
    if (!child) continue;
    Core::SmartPointer<Node> clone(static_cast<Node*>(child->Clone()));
    clone->SetParent(this);
    m_children.push_back(clone);
  }
}

Group::~Group() {
  // Children that outlive the group must not point at it.
  for (Core::SmartPointer<Node>& child : m_children) {
    if (child && child->GetParent() == this) child->SetParent(nullptr);
  }
}

void Group::Save(Core::File& file) {
  Node::Save(file);
  Core::WriteObjectVector(file, m_children);
}

void Group::Load(Core::File& file) {
  Node::Load(file);
  const uint32_t count = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(count, 1)) return;
  RemoveAllChildren();
  LoadingGroups().push_back(this);
  for (uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
    Core::Object* object = file.ReadObject();
    if (object == nullptr) continue;
    Node* child = dynamic_cast<Node*>(object);
    const auto& loading = LoadingGroups();
    const bool isLoadingGroup = std::find(loading.begin(), loading.end(), object) != loading.end();
    if (child == nullptr || isLoadingGroup || child == this || child->GetParent() != nullptr ||
        dynamic_cast<SceneGraph*>(child) != nullptr) {
      // Not a node, a group that encloses this one, or a node that already has its place.
      DiscardStrayObject(file, object, this);
      break;
    }
    AddChild(child);
  }
  LoadingGroups().pop_back();
}

void Group::SetRoot(Node* root) {
  for (Core::SmartPointer<Node>& child : m_children) child->SetRoot(root);
}

Core::SmartPointer<Node> Group::FindByName(const std::string& name) {
  if (m_name == name) return Core::SmartPointer<Node>(this);
  for (Core::SmartPointer<Node>& child : m_children) {
    Core::SmartPointer<Node> found = child->FindByName(name);
    if (found) return found;
  }
  return Core::SmartPointer<Node>();
}

void Group::Refresh() {
  for (Core::SmartPointer<Node>& child : m_children) child->Refresh();
}

void Group::UpdateChildren(float dt) {
  // Indexed: an update hook may add children while the walk runs.
  for (size_t i = 0; i < m_children.size(); ++i) {
    Core::SmartPointer<Node> child = m_children[i];
    child->Update(dt);
  }
}

void Group::Update(float dt) {
  RunUpdateHook(dt);
  UpdateAttachments(dt);
  m_worldMatrix = GetParentWorld();
  m_boundingVolume.Transform(m_worldMatrix);
  UpdateChildren(dt);
  MergeIntoParent();
}

void Group::Draw(uint32_t flags) {
  (void)flags;
  DrawTree();
}

void Group::DrawTree() {
  Render();
  for (size_t i = 0; i < m_children.size(); ++i) {
    Core::SmartPointer<Node> child = m_children[i];
    child->DrawTree();
  }
}

void Group::SetVisibleTree(bool visible) {
  m_visible = visible;
  for (Core::SmartPointer<Node>& child : m_children) child->SetVisibleTree(visible);
}

void Group::SetShowBoundingVolumeTree(bool show) {
  m_showBoundingVolume = show;
  for (Core::SmartPointer<Node>& child : m_children) child->SetShowBoundingVolumeTree(show);
}

void Group::AddChild(Core::SmartPointer<Node> child) {
  if (!child) return;
  child->SetParent(this);
  m_children.push_back(child);
  child->OnAttached();
}

void Group::RemoveChild(Core::SmartPointer<Node> child) {
  auto found = FindSame(m_children, child.Get());
  if (found == m_children.end()) return;
  if (child->GetParent() == this) child->SetParent(nullptr);
  m_children.erase(found);
}

void Group::RemoveAllChildren() {
  for (Core::SmartPointer<Node>& child : m_children) child->OnDetached();
  for (Core::SmartPointer<Node>& child : m_children) {
    if (child->GetParent() == this) child->SetParent(nullptr);
  }
  m_children.clear();
}

// ---- TransformationGroup ----

TransformationGroup::TransformationGroup() : m_debugEffect(Renderer::CreateLineEffect()) {}

TransformationGroup::TransformationGroup(const TransformationGroup& other)
    : Group(other), m_localTransform(other.m_localTransform), m_debugEffect(Renderer::CreateLineEffect()) {}

void TransformationGroup::Save(Core::File& file) {
  Group::Save(file);
  Math::WriteMatrix4x4(file, m_localTransform);
  Math::WriteMatrix4x4(file, m_matrix1);
  Math::WriteMatrix4x4(file, m_matrix2);
}

void TransformationGroup::Load(Core::File& file) {
  Group::Load(file);
  Math::ReadMatrix4x4(file, m_localTransform);
  Math::ReadMatrix4x4(file, m_matrix1);
  Math::ReadMatrix4x4(file, m_matrix2);
}

void TransformationGroup::GetWorldMatrix(Math::Matrix4x4& out) const {
  out = m_parent ? m_parent->GetWorld() * m_localTransform : m_localTransform;
}

void TransformationGroup::Update(float dt) {
  RunUpdateHook(dt);
  UpdateAttachments(dt);
  m_worldMatrix = GetParentWorld() * m_localTransform;
  m_boundingVolume.Transform(m_worldMatrix);
  UpdateChildren(dt);
  MergeIntoParent();
}

void TransformationGroup::Render() {
  if (!m_showBoundingVolume) return;
  m_boundingVolume.DrawDebug();
  RenderQueue* queue = SceneGraph::GetActiveQueue();
  if (queue == nullptr) return;
  RenderItem item;
  item.effect = m_debugEffect;
  item.mesh = m_boundingVolume.debugMesh;
  item.primitive = 4;
  item.meshPart = 0;
  queue->AddRenderItem(item);
}

}  // namespace Engine
