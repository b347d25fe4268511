#pragma once
// Mass, moment of inertia about the centre of mass, and the centre of mass in body coordinates.
#include "math/Math_Vector2D.h"

struct lua_State;
class LuaScript;
namespace Core { class File; }

namespace Physics2D {

class MassProperties {
 public:
  MassProperties() = default;
  // A zero mass or inertia gives a zero inverse: the body does not react on that axis.
  MassProperties(float mass, float inertia, const Math::Vector2D& centerOfMass);
  MassProperties(const MassProperties& other);
  MassProperties& operator=(const MassProperties& other) = default;
  virtual ~MassProperties() = default;

  virtual LuaScript* GetScript() { return nullptr; }
  virtual int PushToLua(lua_State* state);

  void SetMass(float mass);
  void SetInertia(float inertia);
  void SetCenterOfMass(const Math::Vector2D& centerOfMass) { m_centerOfMass = centerOfMass; }
  float GetMass() const { return m_mass; }
  float GetInverseMass() const { return m_inverseMass; }
  float GetInertia() const { return m_inertia; }
  float GetInverseInertia() const { return m_inverseInertia; }
  const Math::Vector2D& GetCenterOfMass() const { return m_centerOfMass; }

  // Copies all five values; the inverses are taken as they are.
  void CopyValues(const MassProperties& other);

  void Save(Core::File& file) const;
  // Reads the five values without recomputing the inverses.
  void Load(Core::File& file);

 private:
  float m_mass = 0.0f;
  float m_inverseMass = 0.0f;
  float m_inertia = 0.0f;
  float m_inverseInertia = 0.0f;
  Math::Vector2D m_centerOfMass;
};

}  // namespace Physics2D
