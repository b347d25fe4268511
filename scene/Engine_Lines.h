#pragma once
// Leaves that draw coloured line segments (collision outlines, guides): a flat list of points, two
// per segment, submitted as one line-list item.
#include <vector>

#include "math/Math_Color.h"
#include "math/Math_Vector3D.h"
#include "scene/Engine_Node.h"

namespace Engine {

class Lines : public Node {
 public:
  Lines() = default;
  Lines(const Lines& other);
  ~Lines() override;
  Core::Object* Clone() const override;
  const char* GetClassName() const override { return "Engine::Node"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(Lines)); }

  void Update(float dt) override;
  void Draw(uint32_t flags = 0) override {
    (void)flags;
    Render();
  }
  void DrawTree() override { Render(); }
  void Render() override;

  void AddLine(const Math::Vector3D& a, const Math::Vector3D& b);
  // Index is below the segment count.
  void SetPointA(uint32_t index, const Math::Vector3D& point) { m_points[2 * index] = point; }
  Math::Vector3D* GetPointA(uint32_t index) { return &m_points[2 * index]; }
  void SetPointB(uint32_t index, const Math::Vector3D& point) { m_points[2 * index + 1] = point; }
  Math::Vector3D* GetPointB(uint32_t index) { return &m_points[2 * index + 1]; }
  uint32_t GetPointCount() const { return static_cast<uint32_t>(m_points.size()); }
  const std::vector<Math::Vector3D>& GetPoints() const { return m_points; }

  void SetColor(const Math::Color& color) { m_color = color; }
  void SetOpacity(float opacity) { m_opacity = opacity; }

 protected:
  std::vector<Math::Vector3D> m_points;
  Math::Color m_color{1.0f, 1.0f, 1.0f, 1.0f};
  float m_opacity = 1.0f;
};

class Circle : public Lines {
 public:
  Circle(float radius, int step);
  Circle(const Circle& other) = default;
  Core::Object* Clone() const override;
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(Circle)); }

  // A step in whole degrees; below 1 counts as 1.
  void BuildSegments(float radius, int step);
};

}  // namespace Engine
