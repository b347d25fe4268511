#include "scene/Engine_Lines.h"

#include "math/Math_Matrix4x4.h"
#include "scene/Engine_RenderQueue.h"
#include "scene/Engine_SceneGraph.h"

namespace Engine {

Lines::Lines(const Lines& other)
    : Node(other), m_points(other.m_points), m_color(other.m_color), m_opacity(other.m_opacity) {}

Lines::~Lines() = default;

Core::Object* Lines::Clone() const { return new ("Engine_Lines", __LINE__) Lines(*this); }

void Lines::AddLine(const Math::Vector3D& a, const Math::Vector3D& b) {
  m_points.push_back(a);
  m_points.push_back(b);
}

void Lines::Update(float dt) {
  (void)dt;
  m_worldMatrix = GetParentWorld();
}

void Lines::Render() {
  if (!m_visible || m_points.empty()) return;
  RenderQueue* queue = SceneGraph::GetActiveQueue();
  if (queue == nullptr) return;
  RenderItem item;
  item.modelMatrix = m_worldMatrix;
  item.color = Math::Color(m_color.r, m_color.g, m_color.b, m_opacity);
  item.vertexArray = &m_points[0].x;
  item.vertexCount = static_cast<uint32_t>(m_points.size());
  item.primitive = 1;
  item.screenSpace = m_screenSpace;
  queue->AddRenderItem(item);
}

Circle::Circle(float radius, int step) { BuildSegments(radius, step); }

Core::Object* Circle::Clone() const { return new ("Engine_Circle", __LINE__) Circle(*this); }

void Circle::BuildSegments(float radius, int step) {
  // A step of 0 or less would never reach 360.
  if (step < 1) step = 1;
  m_points.clear();
  Math::Vector3D previous(radius, 0.0f, 0.0f);
  for (int angle = 0; angle <= 360; angle += step) {
    const Math::Vector3D point =
        Math::Matrix4x4::MakeRotationZ(static_cast<float>(angle)) * Math::Vector3D(radius, 0.0f, 0.0f);
    AddLine(previous, point);
    previous = point;
  }
}

}  // namespace Engine
