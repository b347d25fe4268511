#pragma once
// Game objects that draw an outline: a circle and one line segment (the drawn collision data of
// layers and sprites uses them). Their geometry is local: the object's transform applies on top.
#include "framework/Quillon_GameObject.h"
#include "scene/Engine_Lines.h"

namespace Quillon {

class Circle : public GameObject {
 public:
  // The registry's circle has no engine circle until Load makes it.
  Circle() = default;
  explicit Circle(float radius);
  Circle(const Circle& other);
  VELKOR_DECLARE_CLASS(Circle);
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;
  void UpdateAppearance(float dt) override;

  void SetRadius(float radius);
  float GetRadius() const { return m_radius; }
  const Core::SmartPointer<Engine::Circle>& GetEngineCircle() const { return m_engineCircle; }

 private:
  Core::SmartPointer<Engine::Circle> m_engineCircle;
  float m_radius = 0.0f;
};

class Line : public GameObject {
 public:
  // The registry's line has no engine lines until Load makes them.
  Line() = default;
  Line(const Math::Vector2D& a, const Math::Vector2D& b);
  Line(const Line& other);
  VELKOR_DECLARE_CLASS(Line);
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;
  void UpdateAppearance(float dt) override;

  void SetPointA(const Math::Vector2D& point);
  void SetPointB(const Math::Vector2D& point);
  // (0, 0) while there are no engine lines.
  Math::Vector2D GetPointA() const;
  Math::Vector2D GetPointB() const;
  const Core::SmartPointer<Engine::Lines>& GetEngineLines() const { return m_engineLines; }

 private:
  void BuildLines(const Math::Vector2D& a, const Math::Vector2D& b);

  Core::SmartPointer<Engine::Lines> m_engineLines;
};

}  // namespace Quillon
