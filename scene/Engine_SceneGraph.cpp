#include "scene/Engine_SceneGraph.h"

#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_IRenderer.h"
#include "scene/Engine_Camera.h"
#include "scene/Engine_Viewport.h"

namespace Engine {
namespace {
SceneGraph* g_currentSceneGraph = nullptr;
}

SceneGraph::SceneGraph(Renderer::IRenderer* renderer)
    : m_renderer(renderer), m_debugEffect(Renderer::CreateLineEffect()) {
  m_renderQueue.SetRenderer(renderer);
  m_renderQueue.SetSceneGraph(this);
  g_currentSceneGraph = this;
}

SceneGraph::SceneGraph(const SceneGraph& other)
    : Group(other),
      m_frustum(other.m_frustum),
      m_renderer(other.m_renderer),
      m_viewportCount(other.m_viewportCount),
      m_viewportIndex(other.m_viewportIndex),
      m_debugEffect(Renderer::CreateLineEffect()) {
  m_renderQueue.SetRenderer(m_renderer);
  m_renderQueue.SetSceneGraph(this);
  SetRoot(this);
  g_currentSceneGraph = this;
}

SceneGraph::~SceneGraph() {
  if (g_currentSceneGraph == this) g_currentSceneGraph = nullptr;
}

Core::Object* SceneGraph::Clone() const { return new ("Engine_SceneGraph", __LINE__) SceneGraph(*this); }

SceneGraph* SceneGraph::GetCurrent() { return g_currentSceneGraph; }

RenderQueue* SceneGraph::GetActiveQueue() {
  return g_currentSceneGraph != nullptr ? &g_currentSceneGraph->m_renderQueue : RenderQueue::GetInstance();
}

void SceneGraph::Update(float dt) {
  RunUpdateHook(dt);
  UpdateAttachments(dt);
  m_boundingVolume.Transform(m_worldMatrix);
  UpdateChildren(dt);
}

void SceneGraph::Render() {
  if (!m_showBoundingVolume) return;
  m_boundingVolume.DrawDebug();
  RenderItem item;
  item.effect = m_debugEffect;
  item.mesh = m_boundingVolume.debugMesh;
  item.primitive = 4;
  item.meshPart = 0;
  m_renderQueue.AddRenderItem(item);
}

void SceneGraph::FlushRenderQueue() {
  m_renderQueue.Flush();
  m_renderQueue.Clear();
}

void SceneGraph::UpdateFrame(float dt) {
  g_currentSceneGraph = this;
  Update(dt);
}

void SceneGraph::ClearScreen(const Math::Color& color) {
  if (m_renderer == nullptr) return;
  const Renderer::RendererDescriptor descriptor = m_renderer->GetDescriptor();
  Viewport viewport(0, 0, static_cast<int32_t>(descriptor.width), static_cast<int32_t>(descriptor.height), 0);
  viewport.Apply(m_renderer);
  viewport.SetClearColor(color);
  viewport.ClearColor(m_renderer);
  viewport.Restore(m_renderer);
}

void SceneGraph::RenderView(const Core::SmartPointer<Camera>& camera, const Core::SmartPointer<Viewport>& viewport) {
  if (m_renderer == nullptr || !camera || !viewport) return;
  g_currentSceneGraph = this;
  m_renderQueue.SetCamera(camera);
  viewport->Apply(m_renderer);
  camera->SetupView(m_renderer, viewport->GetWidth(), viewport->GetHeight());
  m_frustum = camera->GetFrustum();
  Draw();
  viewport->Clear(m_renderer);
  m_renderQueue.SetViewClearColor(viewport->GetClearColor());
  viewport->DrawBackground(m_renderer);
  FlushRenderQueue();
  camera->RestoreView(m_renderer);
  viewport->Restore(m_renderer);
}

}  // namespace Engine
