#include "physics/Physics_MassProperties.h"

#include "core/Core_File.h"
#include "physics/Physics_Script.h"

namespace Physics2D {

MassProperties::MassProperties(float mass, float inertia, const Math::Vector2D& centerOfMass)
    : m_centerOfMass(centerOfMass) {
  SetMass(mass);
  SetInertia(inertia);
}

MassProperties::MassProperties(const MassProperties& other) : m_centerOfMass(other.m_centerOfMass) {
  SetMass(other.m_mass);
  SetInertia(other.m_inertia);
}

int MassProperties::PushToLua(lua_State* state) { return PushMassPropertiesToLua(state, this); }

void MassProperties::SetMass(float mass) {
  m_mass = mass;
  m_inverseMass = mass == 0.0f ? 0.0f : 1.0f / mass;
}

void MassProperties::SetInertia(float inertia) {
  m_inertia = inertia;
  m_inverseInertia = inertia == 0.0f ? 0.0f : 1.0f / inertia;
}

void MassProperties::CopyValues(const MassProperties& other) {
  m_mass = other.m_mass;
  m_inverseMass = other.m_inverseMass;
  m_inertia = other.m_inertia;
  m_inverseInertia = other.m_inverseInertia;
  m_centerOfMass = other.m_centerOfMass;
}

void MassProperties::Save(Core::File& file) const {
  Core::WriteValue<float>(file, m_mass);
  Core::WriteValue<float>(file, m_inverseMass);
  Core::WriteValue<float>(file, m_inertia);
  Core::WriteValue<float>(file, m_inverseInertia);
  Core::WriteValue<float>(file, m_centerOfMass.x);
  Core::WriteValue<float>(file, m_centerOfMass.y);
}

void MassProperties::Load(Core::File& file) {
  m_mass = Core::ReadValue<float>(file);
  m_inverseMass = Core::ReadValue<float>(file);
  m_inertia = Core::ReadValue<float>(file);
  m_inverseInertia = Core::ReadValue<float>(file);
  m_centerOfMass.x = Core::ReadValue<float>(file);
  m_centerOfMass.y = Core::ReadValue<float>(file);
}

}  // namespace Physics2D
