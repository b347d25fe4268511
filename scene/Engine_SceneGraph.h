#pragma once
// The root of the tree: owns the view frustum and the render queue, updates the tree once per frame
// and renders one view per camera and viewport.
#include "math/Math_Color.h"
#include "math/Math_Frustum.h"
#include "scene/Engine_Node.h"
#include "scene/Engine_RenderQueue.h"

namespace Renderer {
class IRenderer;
}

namespace Engine {

class Camera;
class Viewport;

class SceneGraph : public Group {
 public:
  explicit SceneGraph(Renderer::IRenderer* renderer = nullptr);
  SceneGraph(const SceneGraph& other);
  ~SceneGraph() override;
  Core::Object* Clone() const override;
  const char* GetClassName() const override { return "Engine::Group"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(SceneGraph)); }

  // The scene graph constructed or updated last.
  static SceneGraph* GetCurrent();
  // The queue that nodes submit to: the current scene graph's, else the one constructed last.
  static RenderQueue* GetActiveQueue();

  uint32_t GetNodeType() const override { return NodeType::SceneGraph; }
  void Update(float dt) override;
  void Render() override;

  virtual void Reserved() {}
  virtual void FlushRenderQueue();
  virtual void UpdateFrame(float dt);

  void ClearScreen(const Math::Color& color);
  void RenderView(const Core::SmartPointer<Camera>& camera, const Core::SmartPointer<Viewport>& viewport);

  void SetViewportCount(uint32_t count) { m_viewportCount = count; }
  uint32_t GetViewportCount() const { return m_viewportCount; }
  void SetViewportIndex(uint32_t index) { m_viewportIndex = index; }
  uint32_t GetViewportIndex() const { return m_viewportIndex; }
  const Math::Frustum& GetFrustum() const { return m_frustum; }
  void SetFrustum(const Math::Frustum& frustum) { m_frustum = frustum; }
  Renderer::IRenderer* GetRenderer() const { return m_renderer; }
  RenderQueue& GetRenderQueue() { return m_renderQueue; }

 private:
  Math::Frustum m_frustum;
  Renderer::IRenderer* m_renderer = nullptr;
  uint32_t m_viewportCount = 0;
  uint32_t m_viewportIndex = 0;
  Core::SmartPointer<Renderer::Effect> m_debugEffect;
  RenderQueue m_renderQueue;
};

}  // namespace Engine
