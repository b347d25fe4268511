#include "physics/Physics_Forces.h"

#include <vector>

#include "core/Core_File.h"
#include "physics/Physics_Script.h"

namespace Physics2D {

int Forces::PushToLua(lua_State* state) { return PushForcesToLua(state, this); }

uint32_t Forces::AddForce(const Core::SmartPointer<Force>& force) {
  if (force) force->Attach(m_body);
  if (!m_freeIds.empty()) {
    const uint32_t id = m_freeIds.back();
    m_freeIds.pop_back();
    m_forces[id] = force;
    return id;
  }
  m_forces.push_back(force);
  return static_cast<uint32_t>(m_forces.size() - 1);
}

bool Forces::RemoveForce(uint32_t id) {
  if (id >= m_forces.size() || !m_forces[id]) return false;
  m_forces[id].Reset();
  m_freeIds.push_back(id);
  return true;
}

bool Forces::RemoveAllForces() {
  for (uint32_t id = 0; id < m_forces.size(); ++id) {
    if (!m_forces[id]) continue;
    m_forces[id].Reset();
    m_freeIds.push_back(id);
  }
  return true;
}

void Forces::EvaluateAll(float step, Math::Vector2D& force, float& torque) {
  for (uint32_t id = 0; id < m_forces.size(); ++id) {
    if (!m_forces[id]) continue;
    // Held across the update: a script may drop the set's own reference meanwhile.
    Core::SmartPointer<Force> current = m_forces[id];
    const bool alive = current->Update(step);
    force += current->GetEvaluatedForce();
    torque += current->GetEvaluatedTorque();
    if (!alive) RemoveForce(id);
  }
}

void Forces::Save(Core::File& file) const {
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(m_freeIds.size()));
  for (auto it = m_freeIds.rbegin(); it != m_freeIds.rend(); ++it) Core::WriteValue<uint32_t>(file, *it);
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(m_forces.size()));
  for (const auto& force : m_forces) file.WriteObject(force.Get());
}

void Forces::Load(Core::File& file) {
  uint32_t freeCount = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(freeCount, sizeof(uint32_t))) return;
  std::vector<uint32_t> freeIds(freeCount);
  for (uint32_t& id : freeIds) id = Core::ReadValue<uint32_t>(file);
  uint32_t slotCount = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(slotCount, 1)) return;
  std::vector<Core::SmartPointer<Force>> forces(slotCount);
  for (auto& force : forces) Core::ReadObjectPointer(file, force);
  if (file.HasFailed()) return;
  // A force bound to another body would outlive it there.
  for (const auto& force : forces) {
    if (force && force->GetBody() != nullptr && force->GetBody() != m_body) {
      file.Fail();
      return;
    }
  }
  // A free id must name an empty slot, and only once: otherwise AddForce would overwrite a live force
  // or index past the slots.
  std::vector<bool> seen(slotCount, false);
  for (uint32_t id : freeIds) {
    if (id >= slotCount || forces[id] || seen[id]) {
      file.Fail();
      return;
    }
    seen[id] = true;
  }
  m_forces = std::move(forces);
  m_freeIds.clear();
  for (auto it = freeIds.rbegin(); it != freeIds.rend(); ++it) m_freeIds.push_back(*it);
  // Drag and gravity read their body every step; a loaded force must act on its body again.
  for (auto& force : m_forces)
    if (force) force->Reattach(m_body);
}

}  // namespace Physics2D
