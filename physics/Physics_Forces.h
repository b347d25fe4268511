#pragma once
// The forces of one body, with stable ids: the id of a force is its slot; a freed id is reused
// before the set grows (the most recently freed first).
#include <cstdint>
#include <deque>
#include <vector>

#include "core/Core_Object.h"
#include "physics/Physics_Force.h"

namespace Physics2D {

class Forces {
 public:
  Forces() = default;
  Forces(const Forces&) = delete;
  Forces& operator=(const Forces&) = delete;
  virtual ~Forces() = default;

  virtual LuaScript* GetScript() { return nullptr; }
  virtual int PushToLua(lua_State* state);

  uint32_t AddForce(const Core::SmartPointer<Force>& force);
  bool RemoveForce(uint32_t id);
  bool RemoveAllForces();
  // Updates every force for this step and sums what each produced; expired forces still count
  // in the step they expire, then leave the set.
  void EvaluateAll(float step, Math::Vector2D& force, float& torque);

  void SetBody(RigidBody* body) { m_body = body; }
  RigidBody* GetBody() const { return m_body; }
  const std::vector<Core::SmartPointer<Force>>& GetForces() const { return m_forces; }
  Force* GetForce(uint32_t id) const { return id < m_forces.size() ? m_forces[id].Get() : nullptr; }

  void Save(Core::File& file) const;
  // Reads a saved set; free ids must name empty slots, once each. Loaded forces are bound to this
  // set's body again.
  void Load(Core::File& file);

 private:
  std::vector<Core::SmartPointer<Force>> m_forces;
  std::deque<uint32_t> m_freeIds;  // used as a stack: back() is reused first
  RigidBody* m_body = nullptr;
};

}  // namespace Physics2D
