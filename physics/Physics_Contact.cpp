#include "physics/Physics_Contact.h"

#include <cmath>

#include "core/Core_File.h"
#include "physics/Physics_Settings.h"

namespace Physics2D {

VELKOR_IMPLEMENT_CLASS(Contact, "Physics2D::Contact");

Contact::Contact() {
  m_kind = 7;
  m_rowCount = 2;
  m_flag = 1;
}

Contact::Contact(const Math::Vector2D& position, const Math::Vector2D& normal, const Math::Vector2D& anchor1,
                 const Math::Vector2D& anchor2, float penetration, float restitution, float friction,
                 uint8_t contactFlag)
    : m_position(position),
      m_normal(normal),
      m_anchor1(anchor1),
      m_anchor2(anchor2),
      m_penetration(penetration),
      m_restitution(restitution),
      m_friction(friction),
      m_contactFlag(contactFlag) {
  m_kind = 7;
  m_rowCount = 2;
  m_flag = 1;
  m_normal.Normalize();
  m_tangent = Math::Vector2D(-m_normal.y, m_normal.x);
}

int Contact::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, "Contact"); }

void Contact::Capture() {
  m_offset1 = m_body1->GetPosition() - m_anchor1;
  m_offset2 = m_body2->GetPosition() - m_anchor2;
}

void Contact::BuildRows() {
  const PhysicsSettings& settings = GetSettings();
  m_point1 = m_position + m_offset1;
  m_point2 = m_position + m_offset2;
  m_r1 = m_point1 - m_body1->GetWorldCenterOfMass();
  m_r2 = m_point2 - m_body2->GetWorldCenterOfMass();
  m_localPoint1 = m_body1->GetInverseMatrix() * m_point1;
  m_localPoint2 = m_body2->GetInverseMatrix() * m_point2;

  const Math::Vector2D& n = m_normal;
  const Math::Vector2D& t = m_tangent;
  const Math::Vector2D& r1 = m_r1;
  const Math::Vector2D& r2 = m_r2;
  SetRow(0, n.x, n.y, r1.x * n.y - n.x * r1.y, -n.x, -n.y, -(r2.x * n.y - r2.y * n.x));
  SetRow(1, t.x, t.y, t.y * r1.x - t.x * r1.y, -t.x, -t.y, -(t.y * r2.x - r2.y * t.x));

  const float* row = Row(0);
  const Math::Vector2D& v1 = m_body1->GetVelocity();
  const Math::Vector2D& v2 = m_body2->GetVelocity();
  const float u = row[0] * v1.x + row[1] * v1.y + row[2] * (m_body1->GetAngularVelocity() * kDegreesToRadians) +
                  row[3] * v2.x + row[4] * v2.y + row[5] * (m_body2->GetAngularVelocity() * kDegreesToRadians);

  m_error[0] = settings.postCollision ? settings.simulationInverseStep * m_penetration : -m_restitution * u;
  m_error[1] = 0.0f;
  m_softness[0] = m_softness[1] = 0.0f;
  m_lower[0] = 0.0f;
  m_upper[0] = settings.plusInfinity;
  m_lower[1] = -m_friction;
  m_upper[1] = m_friction;
  // The friction row is bounded by the normal row's impulse in every pass.
  m_rows[1].index = 0;
  m_rows[1].value = std::fabs(m_friction);
}

float Contact::RefreshPenetration() {
  m_currentPoint1 = m_body1->GetMatrix() * m_localPoint1;
  m_currentPoint2 = m_body2->GetMatrix() * m_localPoint2;
  m_currentSeparation = m_currentPoint2 - m_currentPoint1;
  m_captureSeparation = m_point2 - m_point1;
  if (m_captureSeparation.Dot(m_currentSeparation) > 0.0f) {
    const float depth = m_currentSeparation.Dot(m_normal);
    return depth < 0.0f ? 0.0f : depth;
  }
  return 0.0f;
}

void Contact::Save(Core::File& file) {
  Joint::Save(file);
  for (const Math::Vector2D* v : {&m_position, &m_normal, &m_tangent, &m_anchor1, &m_anchor2, &m_offset1, &m_offset2,
                                  &m_captureSeparation, &m_currentSeparation, &m_reserved})
    Math::WriteVector2D(file, *v);
  Core::WriteValue<float>(file, 0.0f);
  Core::WriteValue<float>(file, 0.0f);
  for (const Math::Vector2D* v : {&m_localPoint1, &m_localPoint2, &m_point1, &m_point2, &m_currentPoint1,
                                  &m_currentPoint2, &m_r1, &m_r2})
    Math::WriteVector2D(file, *v);
  Core::WriteValue<float>(file, m_penetration);
  Core::WriteValue<float>(file, m_restitution);
  Core::WriteValue<float>(file, m_friction);
  Core::WriteValue<uint8_t>(file, m_contactFlag);
}

void Contact::Load(Core::File& file) {
  Joint::Load(file);
  for (Math::Vector2D* v : {&m_position, &m_normal, &m_tangent, &m_anchor1, &m_anchor2, &m_offset1, &m_offset2,
                            &m_captureSeparation, &m_currentSeparation, &m_reserved})
    Math::ReadVector2D(file, *v);
  m_reserved1 = Core::ReadValue<float>(file);
  m_reserved2 = Core::ReadValue<float>(file);
  for (Math::Vector2D* v :
       {&m_localPoint1, &m_localPoint2, &m_point1, &m_point2, &m_currentPoint1, &m_currentPoint2, &m_r1, &m_r2})
    Math::ReadVector2D(file, *v);
  m_penetration = Core::ReadValue<float>(file);
  m_restitution = Core::ReadValue<float>(file);
  m_friction = Core::ReadValue<float>(file);
  m_contactFlag = Core::ReadValue<uint8_t>(file);
}

}  // namespace Physics2D
