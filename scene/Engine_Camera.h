#pragma once
// A perspective camera in the tree: loads its projection and view into the renderer for one view and
// keeps the frustum that culls the nodes of that view.
#include "math/Math_Frustum.h"
#include "scene/Engine_Node.h"

namespace Renderer {
class IRenderer;
}

namespace Engine {

class Camera : public Node {
 public:
  Camera() : Camera(45.0f, 1.0f, 1000.0f) {}
  Camera(float fieldOfView, float nearPlane, float farPlane);
  Camera(const Camera& other);
  Core::Object* Clone() const override;
  const char* GetClassName() const override { return "Engine::Node"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(Camera)); }
  static Core::Object* Create();

  uint32_t GetNodeType() const override { return NodeType::Camera; }
  void Update(float dt) override;
  void Render() override;
  void Draw(uint32_t flags = 0) override { (void)flags; }
  void DrawTree() override { Render(); }

  void SetFOV(float degrees) { m_fieldOfView = degrees; }
  float GetFOV() const { return m_fieldOfView; }
  const Math::Frustum& GetFrustum() const { return m_frustum; }
  Math::Vector3D GetPosition() const;
  void SetShowFrustum(bool show) { m_showFrustum = show; }

  void BuildFrustum(Math::Frustum& out, int width, int height) const;
  void SetupView(Renderer::IRenderer* renderer, int width, int height);
  void RestoreView(Renderer::IRenderer* renderer);

 private:
  Math::Matrix4x4 MakeProjection(int width, int height) const;

  Core::SmartPointer<Renderer::Effect> m_lineEffect;
  float m_fieldOfView;
  Math::Matrix4x4 m_savedProjection;
  Math::Matrix4x4 m_savedView;
  Math::Frustum m_frustum;
  Math::Vector3D m_frustumCorners[8];
  // Held through a reference count because render items keep it alive while they are queued.
  Core::SmartPointer<Mesh> m_frustumMesh;
  uint8_t m_showFrustum = 0;
  float m_near;
  float m_far;
};

}  // namespace Engine
