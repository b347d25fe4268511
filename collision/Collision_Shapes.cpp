#include "collision/Collision_Shapes.h"

#include "core/Core_File.h"

namespace Collision2D {

namespace {

uint32_t g_staticCircleCounter = 1;
uint32_t g_staticLineSegmentCounter = 1;

}  // namespace

uint32_t GetStaticCircleCounter() { return g_staticCircleCounter; }
void SetStaticCircleCounter(uint32_t value) { g_staticCircleCounter = value; }
uint32_t GetStaticLineSegmentCounter() { return g_staticLineSegmentCounter; }
void SetStaticLineSegmentCounter(uint32_t value) { g_staticLineSegmentCounter = value; }
void ResetStaticShapeCounters() {
  g_staticCircleCounter = 1;
  g_staticLineSegmentCounter = 1;
}

void DynamicCollisionLineSegment::Save(Core::File& file) const {
  for (const Math::LineSegment2D& variant : m_variants) variant.Write(file);
  Core::WriteValue<uint32_t>(file, m_userId);
}

void DynamicCollisionLineSegment::Load(Core::File& file) {
  for (Math::LineSegment2D& variant : m_variants) variant.Read(file);
  m_userId = Core::ReadValue<uint32_t>(file);
}

void DynamicCollisionCircle::Save(Core::File& file) const {
  for (const Math::Circle2D& variant : m_variants) variant.Write(file);
  Core::WriteValue<uint32_t>(file, m_userId);
}

void DynamicCollisionCircle::Load(Core::File& file) {
  for (Math::Circle2D& variant : m_variants) variant.Read(file);
  m_userId = Core::ReadValue<uint32_t>(file);
}

void DynamicCollisionHotSpot::Save(Core::File& file) const {
  for (const Math::Vector2D& variant : m_variants) variant.Write(file);
}

void DynamicCollisionHotSpot::Load(Core::File& file) {
  for (Math::Vector2D& variant : m_variants) variant.Read(file);
}

StaticCollisionCircle::StaticCollisionCircle() : MainCollisionObject(StaticCircleKind), m_id(g_staticCircleCounter++) {}

StaticCollisionCircle::StaticCollisionCircle(const StaticCollisionCircle& other)
    : MainCollisionObject(other),
      m_circle(other.m_circle ? std::make_unique<Math::Circle2D>(*other.m_circle) : nullptr),
      m_id(g_staticCircleCounter++),
      m_userId(other.m_userId),
      m_zCollision(other.m_zCollision),
      m_testedThisPass(other.m_testedThisPass) {}

StaticCollisionCircle* StaticCollisionCircle::Clone() const {
  return new (__FILE__, __LINE__) StaticCollisionCircle(*this);
}

void StaticCollisionCircle::SetCircle(const Math::Circle2D& circle) {
  if (m_circle)
    *m_circle = circle;
  else
    m_circle = std::make_unique<Math::Circle2D>(circle);
}

void StaticCollisionCircle::Save(Core::File& file) const {
  m_tag.Save(file);
  // A circle that was never set is stored as the default shape so that Load always gets one.
  (m_circle ? *m_circle : Math::Circle2D()).Write(file);
  Core::WriteValue<uint32_t>(file, g_staticCircleCounter);
  Core::WriteValue<uint32_t>(file, m_id);
  Core::WriteValue<uint32_t>(file, m_userId);
  Core::WriteValue<uint8_t>(file, m_zCollision);
  Core::WriteValue<uint8_t>(file, m_testedThisPass);
}

void StaticCollisionCircle::Load(Core::File& file) {
  m_tag.Load(file);
  // The layer dispatches on the kind: a stream must not turn this object into another class.
  if (m_tag.GetKind() != StaticCircleKind) {
    m_tag.SetKind(StaticCircleKind);
    file.Fail();
  }
  auto circle = std::make_unique<Math::Circle2D>();
  circle->Read(file);
  m_circle = std::move(circle);
  uint32_t counter = Core::ReadValue<uint32_t>(file);
  if (!file.HasFailed()) g_staticCircleCounter = counter;
  Core::ReadValue(file, m_id);
  Core::ReadValue(file, m_userId);
  Core::ReadValue(file, m_zCollision);
  Core::ReadValue(file, m_testedThisPass);
}

StaticCollisionLineSegment::StaticCollisionLineSegment()
    : MainCollisionObject(StaticLineSegmentKind), m_id(g_staticLineSegmentCounter++) {}

StaticCollisionLineSegment::StaticCollisionLineSegment(const StaticCollisionLineSegment& other)
    : MainCollisionObject(other),
      m_lineSegment(other.m_lineSegment ? std::make_unique<Math::LineSegment2D>(*other.m_lineSegment) : nullptr),
      m_id(g_staticLineSegmentCounter++),
      m_userId(other.m_userId),
      m_zCollision(other.m_zCollision),
      m_testedThisPass(other.m_testedThisPass) {}

StaticCollisionLineSegment* StaticCollisionLineSegment::Clone() const {
  return new (__FILE__, __LINE__) StaticCollisionLineSegment(*this);
}

void StaticCollisionLineSegment::SetLineSegment(const Math::LineSegment2D& lineSegment) {
  if (m_lineSegment)
    *m_lineSegment = lineSegment;
  else
    m_lineSegment = std::make_unique<Math::LineSegment2D>(lineSegment);
}

void StaticCollisionLineSegment::Save(Core::File& file) const {
  m_tag.Save(file);
  (m_lineSegment ? *m_lineSegment : Math::LineSegment2D()).Write(file);
  Core::WriteValue<uint32_t>(file, g_staticLineSegmentCounter);
  Core::WriteValue<uint32_t>(file, m_id);
  Core::WriteValue<uint32_t>(file, m_userId);
  Core::WriteValue<uint8_t>(file, m_zCollision);
  Core::WriteValue<uint8_t>(file, m_testedThisPass);
}

void StaticCollisionLineSegment::Load(Core::File& file) {
  m_tag.Load(file);
  // The layer dispatches on the kind: a stream must not turn this object into another class.
  if (m_tag.GetKind() != StaticLineSegmentKind) {
    m_tag.SetKind(StaticLineSegmentKind);
    file.Fail();
  }
  auto lineSegment = std::make_unique<Math::LineSegment2D>();
  lineSegment->Read(file);
  m_lineSegment = std::move(lineSegment);
  uint32_t counter = Core::ReadValue<uint32_t>(file);
  if (!file.HasFailed()) g_staticLineSegmentCounter = counter;
  Core::ReadValue(file, m_id);
  Core::ReadValue(file, m_userId);
  Core::ReadValue(file, m_zCollision);
  Core::ReadValue(file, m_testedThisPass);
}

}  // namespace Collision2D
