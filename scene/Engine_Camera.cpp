#include "scene/Engine_Camera.h"

#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_IRenderer.h"
#include "scene/Engine_SceneGraph.h"

namespace Engine {
namespace {
constexpr uint32_t kBoxIndices[36] = {0, 1, 5, 0, 5, 4, 3, 2, 1, 3, 1, 0, 3, 6, 2, 3, 7, 6,
                                      5, 6, 4, 4, 6, 7, 0, 7, 3, 0, 4, 7, 2, 6, 1, 6, 5, 1};
constexpr float kUnitCube[8][3] = {{1, 1, 1},  {-1, 1, 1},  {-1, 1, -1},  {1, 1, -1},
                                   {1, -1, 1}, {-1, -1, 1}, {-1, -1, -1}, {1, -1, -1}};
}  // namespace

Camera::Camera(float fieldOfView, float nearPlane, float farPlane)
    : m_lineEffect(Renderer::CreateLineEffect()),
      m_fieldOfView(fieldOfView),
      m_frustumMesh(new ("Engine_Camera", __LINE__) Mesh()),
      m_near(nearPlane),
      m_far(farPlane) {
  m_frustum.SetProjection(Math::Matrix4x4::MakePerspective(fieldOfView, 1.0f, nearPlane, farPlane));
  for (int i = 0; i < 8; ++i) m_frustumCorners[i] = m_frustum.corners[i];
  m_frustumMesh->AddPart(MeshPart{0, 35, -1, 1});
  for (int i = 0; i < 8; ++i) {
    m_frustumMesh->AddPosition(m_frustumCorners[i]);
    m_frustumMesh->AddColor(Math::Color(1.0f, 1.0f, 1.0f, 0.5f));
  }
  for (uint32_t index : kBoxIndices) m_frustumMesh->AddIndex(index);

  Math::BoundingBox box;
  for (int i = 0; i < 8; ++i) box.corners[i] = Math::Vector3D(kUnitCube[i][0], kUnitCube[i][1], kUnitCube[i][2]);
  m_boundingVolume.Set(box);
  m_boundingVolume.Transform(Math::Matrix4x4::MakeScale(10.0f, 10.0f, 10.0f));
}

Camera::Camera(const Camera& other)
    : Node(other),
      m_lineEffect(Renderer::CreateLineEffect()),
      m_fieldOfView(other.m_fieldOfView),
      m_savedProjection(other.m_savedProjection),
      m_savedView(other.m_savedView),
      m_frustum(other.m_frustum),
      m_frustumMesh(static_cast<Mesh*>(other.m_frustumMesh->Clone())),
      m_showFrustum(other.m_showFrustum),
      m_near(other.m_near),
      m_far(other.m_far) {
  for (int i = 0; i < 8; ++i) m_frustumCorners[i] = other.m_frustumCorners[i];
}

Core::Object* Camera::Clone() const { return new ("Engine_Camera", __LINE__) Camera(*this); }

Core::Object* Camera::Create() { return new ("Engine_Camera", __LINE__) Camera(); }

void Camera::Update(float dt) {
  RunUpdateHook(dt);
  UpdateAttachments(dt);
  m_worldMatrix = GetParentWorld();
  m_boundingVolume.Transform(m_worldMatrix);
  MergeIntoParent();
}

void Camera::Render() {
  RenderQueue* queue = SceneGraph::GetActiveQueue();
  if (queue == nullptr) return;
  if (m_showBoundingVolume) {
    m_boundingVolume.DrawDebug();
    RenderItem item;
    item.effect = m_lineEffect;
    item.mesh = m_boundingVolume.debugMesh;
    item.primitive = 4;
    item.meshPart = 0;
    queue->AddRenderItem(item);
  }
  if (m_showFrustum) {
    for (uint32_t i = 0; i < 8; ++i) {
      m_frustumMesh->SetPosition(i, m_frustumCorners[i]);
      m_frustumMesh->SetColor(i, Math::Color(1.0f, 1.0f, 1.0f, 0.5f));
    }
    RenderItem item;
    item.effect = m_lineEffect;
    item.mesh = m_frustumMesh;
    item.primitive = 4;
    item.meshPart = 0;
    queue->AddRenderItem(item);
  }
}

Math::Vector3D Camera::GetPosition() const { return GetParentWorld() * Math::Vector3D(0.0f, 0.0f, 0.0f); }

Math::Matrix4x4 Camera::MakeProjection(int width, int height) const {
  const float aspect = static_cast<float>(width) / static_cast<float>(height);
  return Math::Matrix4x4::MakePerspective(m_fieldOfView, aspect, m_near, m_far);
}

void Camera::BuildFrustum(Math::Frustum& out, int width, int height) const {
  out.SetProjection(MakeProjection(width, height));
  out.Transform(m_worldMatrix);
}

void Camera::SetupView(Renderer::IRenderer* renderer, int width, int height) {
  const Math::Matrix4x4 projection = MakeProjection(width, height);
  m_frustum.SetProjection(projection);
  m_frustum.Transform(m_worldMatrix);
  for (int i = 0; i < 8; ++i) m_frustumCorners[i] = m_frustum.corners[i];
  m_savedProjection = renderer->GetProjectionMatrix();
  m_savedView = renderer->GetViewMatrix();
  renderer->SetProjectionMatrix(projection);
  renderer->SetViewMatrix(m_worldMatrix.GetInverse());
}

void Camera::RestoreView(Renderer::IRenderer* renderer) {
  renderer->SetProjectionMatrix(m_savedProjection);
  renderer->SetViewMatrix(m_savedView);
}

}  // namespace Engine
