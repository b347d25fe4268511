#include "framework/Quillon_Shapes.h"

#include "core/Core_File.h"
#include "math/Math_Stream.h"

namespace Quillon {

namespace {
constexpr int kCircleStep = 5;
}

VELKOR_IMPLEMENT_CLASS(Circle, "Quillon::Circle");
VELKOR_IMPLEMENT_CLASS(Line, "Quillon::Line");

Circle::Circle(float radius)
    : m_engineCircle(new (__FILE__, __LINE__) Engine::Circle(radius, kCircleStep)), m_radius(radius) {
  m_node->AddChild(m_engineCircle);
}

Circle::Circle(const Circle& other) : GameObject(other), m_radius(other.m_radius) {
  if (other.m_engineCircle) {
    m_engineCircle = static_cast<Engine::Circle*>(other.m_engineCircle->Clone());
    m_node->AddChild(m_engineCircle);
  }
}

void Circle::SetRadius(float radius) {
  m_radius = radius;
  if (m_engineCircle) m_engineCircle->BuildSegments(radius, kCircleStep);
}

void Circle::UpdateAppearance(float dt) {
  (void)dt;
  if (!m_engineCircle) return;
  m_engineCircle->SetColor(m_modulationColor);
  m_engineCircle->SetOpacity(m_opacity);
}

void Circle::Save(Core::File& file) {
  GameObject::Save(file);
  Math::WriteFloat(file, m_radius);
}

void Circle::Load(Core::File& file) {
  LoadBase(file);
  Math::ReadFloat(file, m_radius);
  if (m_engineCircle) m_node->RemoveChild(m_engineCircle);
  m_engineCircle = new (__FILE__, __LINE__) Engine::Circle(m_radius, kCircleStep);
  m_node->AddChild(m_engineCircle);
  SetVisible(IsVisible());
}

Line::Line(const Math::Vector2D& a, const Math::Vector2D& b) { BuildLines(a, b); }

Line::Line(const Line& other) : GameObject(other) {
  if (other.m_engineLines) {
    m_engineLines = static_cast<Engine::Lines*>(other.m_engineLines->Clone());
    m_node->AddChild(m_engineLines);
  }
}

void Line::BuildLines(const Math::Vector2D& a, const Math::Vector2D& b) {
  if (m_engineLines) m_node->RemoveChild(m_engineLines);
  m_engineLines = new (__FILE__, __LINE__) Engine::Lines();
  m_engineLines->AddLine(Math::Vector3D(a.x, a.y, 0.0f), Math::Vector3D(b.x, b.y, 0.0f));
  m_engineLines->SetColor(Math::Color(1.0f, 1.0f, 1.0f, 1.0f));
  m_node->AddChild(m_engineLines);
}

void Line::SetPointA(const Math::Vector2D& point) {
  if (m_engineLines && m_engineLines->GetPointCount() >= 2) m_engineLines->SetPointA(0, Math::Vector3D(point.x, point.y, 0.0f));
}

void Line::SetPointB(const Math::Vector2D& point) {
  if (m_engineLines && m_engineLines->GetPointCount() >= 2) m_engineLines->SetPointB(0, Math::Vector3D(point.x, point.y, 0.0f));
}

Math::Vector2D Line::GetPointA() const {
  if (!m_engineLines || m_engineLines->GetPointCount() < 2) return Math::Vector2D();
  const Math::Vector3D& point = m_engineLines->GetPoints()[0];
  return Math::Vector2D(point.x, point.y);
}

Math::Vector2D Line::GetPointB() const {
  if (!m_engineLines || m_engineLines->GetPointCount() < 2) return Math::Vector2D();
  const Math::Vector3D& point = m_engineLines->GetPoints()[1];
  return Math::Vector2D(point.x, point.y);
}

void Line::UpdateAppearance(float dt) {
  (void)dt;
  if (!m_engineLines) return;
  m_engineLines->SetColor(m_modulationColor);
  m_engineLines->SetOpacity(m_opacity);
}

void Line::Save(Core::File& file) {
  GameObject::Save(file);
  Math::WriteVector2D(file, GetPointA());
  Math::WriteVector2D(file, GetPointB());
}

void Line::Load(Core::File& file) {
  LoadBase(file);
  Math::Vector2D a;
  Math::Vector2D b;
  Math::ReadVector2D(file, a);
  Math::ReadVector2D(file, b);
  BuildLines(a, b);
  SetVisible(IsVisible());
}

}  // namespace Quillon
