#include "physics/Physics_Engine.h"

#include <algorithm>
#include <cmath>

#include "core/Core_File.h"
#include "physics/Physics_Force.h"
#include "physics/Physics_JointAngularMotor.h"
#include "physics/Physics_JointFixed.h"
#include "physics/Physics_JointNail.h"
#include "physics/Physics_JointSlider.h"
#include "physics/Physics_LuaSupport.h"

namespace Physics2D {

namespace {
constexpr uint32_t kSaveMarker = 245;

// Saved engines create their parts by class name; naming every create function here keeps each
// class's registration in any program that links the engine.
const Core::CreateFunction kPhysicsClasses[] = {
    &ConstantForce::Create, &GravityForce::Create,  &DragForce::Create,         &RigidBody::Create,
    &JointNail::Create,     &JointHinge::Create,    &JointSpring::Create,       &JointSlider::Create,
    &JointFixed::Create,    &Contact::Create,       &JointAngularMotor::Create, &ODESolverEuler::Create,
    &ODESolverHeun::Create, &ODESolverRungeKuttaN4::Create,
};
}  // namespace

PhysicsSettings& GetSettings() {
  static PhysicsSettings settings;
  return settings;
}

VELKOR_IMPLEMENT_CLASS(PhysicsEngine, "Physics2D::PhysicsEngine");

PhysicsEngine::PhysicsEngine() {
  // Reading through a volatile keeps the table (and every registration it names) in the link.
  static const Core::CreateFunction* volatile s_classes = kPhysicsClasses;
  (void)s_classes;
  Script::LinkEngineBindings();
  Script::LinkRigidBodyBindings();
  Script::LinkJointBindings();
  Script::LinkForceBindings();
  Script::LinkForcesBindings();
  Script::LinkMassPropertiesBindings();
  PhysicsSettings& settings = GetSettings();
  settings.plusInfinity = 3.4028235e38f;
  m_staticBody = new (__FILE__, __LINE__)
      RigidBody(MassProperties(0.0f, 0.0f, Math::Vector2D()), RigidBody::EulerSolver, nullptr, nullptr, nullptr);
  settings.staticBody = m_staticBody.Get();
}

// Engines are not copied; a clone is a fresh, empty world.
PhysicsEngine::PhysicsEngine(const PhysicsEngine&) : PhysicsEngine() {}

PhysicsEngine::~PhysicsEngine() {
  ReleaseConstraintTerms();
  Clear();
  if (GetSettings().staticBody == m_staticBody.Get()) GetSettings().staticBody = nullptr;
}

int PhysicsEngine::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, "PhysicsEngine"); }

void PhysicsEngine::SetAccuracy(uint32_t iterations) {
  m_solver.SetIterations(std::min(std::max(iterations, 10u), kMaximumIterations));
}

void PhysicsEngine::SetUnitScale(float scale) {
  // A scale of zero or less (or not a number) turns every body's motion upside down: refused.
  if (scale > 0.0f && std::isfinite(scale)) GetSettings().scale = scale;
}

void PhysicsEngine::SetMaximumSimulationStep(float step) {
  if (step > 0.0f) GetSettings().maximumSimulationStep = step;
}

RigidBody* PhysicsEngine::FindBody(RigidBodyHandle handle) const {
  if (handle == 0 || handle > m_bodies.size()) return nullptr;
  return m_bodies[handle - 1].Get();
}

Core::SmartPointer<RigidBody> PhysicsEngine::GetRigidBody(RigidBodyHandle handle) const {
  return Core::SmartPointer<RigidBody>(FindBody(handle));
}

RigidBodyHandle PhysicsEngine::AddRigidBody(const Core::SmartPointer<RigidBody>& body) {
  if (!body) return 0;
  body->UpdateMatrices(false);
  if (!m_freeHandles.empty()) {
    const RigidBodyHandle handle = m_freeHandles.back();
    m_freeHandles.pop_back();
    m_bodies[handle - 1] = body;
    return handle;
  }
  m_bodies.push_back(body);
  return static_cast<RigidBodyHandle>(m_bodies.size());
}

RigidBodyHandle PhysicsEngine::CloneRigidBody(RigidBodyHandle handle, void* data) {
  RigidBody* source = FindBody(handle);
  if (source == nullptr) return 0;
  return AddRigidBody(Core::SmartPointer<RigidBody>(new (__FILE__, __LINE__) RigidBody(*source, data)));
}

bool PhysicsEngine::RemoveRigidBody(RigidBodyHandle handle) {
  Core::SmartPointer<RigidBody> body(FindBody(handle));
  if (!body) return false;
  m_bodies[handle - 1].Reset();
  for (auto& joint : m_joints) {
    if (joint->GetBody1() == body.Get()) {
      joint->SetBody1(m_staticBody.Get());
    } else if (joint->GetBody2() == body.Get()) {
      joint->SetBody2(m_staticBody.Get());
    } else {
      continue;
    }
    joint->Capture();
  }
  m_contacts.erase(std::remove_if(m_contacts.begin(), m_contacts.end(),
                                  [&](const Core::SmartPointer<Contact>& contact) {
                                    return contact->GetBody1() == body.Get() || contact->GetBody2() == body.Get();
                                  }),
                   m_contacts.end());
  m_freeHandles.push_back(handle);
  return true;
}

bool PhysicsEngine::SetRigidBodyMassProperties(RigidBodyHandle handle, const MassProperties& massProperties) {
  RigidBody* body = FindBody(handle);
  if (body == nullptr) return false;
  body->SetMassProperties(massProperties);
  return true;
}

bool PhysicsEngine::GetRigidBodyMassProperties(RigidBodyHandle handle, MassProperties& massProperties) const {
  RigidBody* body = FindBody(handle);
  if (body == nullptr) return false;
  massProperties.CopyValues(body->GetMassProperties());
  return true;
}

bool PhysicsEngine::SetRigidBodyPosition(RigidBodyHandle handle, const Math::Vector2D& position) {
  RigidBody* body = FindBody(handle);
  if (body == nullptr) return false;
  body->SetPosition(position);
  return true;
}

bool PhysicsEngine::SetRigidBodyOrientation(RigidBodyHandle handle, float degrees) {
  RigidBody* body = FindBody(handle);
  if (body == nullptr) return false;
  body->SetOrientation(degrees);
  return true;
}

bool PhysicsEngine::SetRigidBodyVelocity(RigidBodyHandle handle, const Math::Vector2D& velocity) {
  RigidBody* body = FindBody(handle);
  if (body == nullptr) return false;
  body->SetVelocity(velocity * GetSettings().scale);
  return true;
}

bool PhysicsEngine::GetRigidBodyVelocity(RigidBodyHandle handle, Math::Vector2D& velocity) const {
  RigidBody* body = FindBody(handle);
  if (body == nullptr) return false;
  velocity = body->GetVelocity() / GetSettings().scale;
  return true;
}

bool PhysicsEngine::SetRigidBodyAngularVelocity(RigidBodyHandle handle, float degreesPerSecond) {
  RigidBody* body = FindBody(handle);
  if (body == nullptr) return false;
  body->SetAngularVelocity(degreesPerSecond);
  return true;
}

bool PhysicsEngine::GetRigidBodyAngularVelocity(RigidBodyHandle handle, float& degreesPerSecond) const {
  RigidBody* body = FindBody(handle);
  if (body == nullptr) return false;
  degreesPerSecond = body->GetAngularVelocity();
  return true;
}

bool PhysicsEngine::GetRigidBodyCenterOfMass(RigidBodyHandle handle, Math::Vector2D& centerOfMass) const {
  RigidBody* body = FindBody(handle);
  if (body == nullptr) return false;
  centerOfMass = body->GetWorldCenterOfMass();
  return true;
}

bool PhysicsEngine::AddRigidBodyForce(RigidBodyHandle handle, const Core::SmartPointer<Force>& force,
                                      uint32_t& forceId) {
  RigidBody* body = FindBody(handle);
  if (body == nullptr) return false;
  forceId = body->AddForce(force);
  return true;
}

bool PhysicsEngine::RemoveRigidBodyForce(RigidBodyHandle handle, uint32_t forceId) {
  RigidBody* body = FindBody(handle);
  if (body == nullptr) return false;
  return body->RemoveForce(forceId);
}

bool PhysicsEngine::RemoveAllRigidBodyForces(RigidBodyHandle handle) {
  RigidBody* body = FindBody(handle);
  if (body == nullptr) return false;
  return body->RemoveAllForces();
}

Joint* PhysicsEngine::AddJoint(RigidBodyHandle handle1, RigidBodyHandle handle2, Joint* joint) {
  if (joint == nullptr) return nullptr;
  Core::SmartPointer<Joint> held(joint);
  RigidBody* body1 = FindBody(handle1);
  RigidBody* body2 = FindBody(handle2);
  if (body1 == nullptr && body2 == nullptr) return nullptr;
  joint->SetBody1(body1 != nullptr ? body1 : m_staticBody.Get());
  joint->SetBody2(body2 != nullptr ? body2 : m_staticBody.Get());
  joint->GetBody1()->UpdateMatrices(false);
  joint->GetBody2()->UpdateMatrices(false);
  joint->Capture();
  m_joints.push_back(held);
  return joint;
}

void PhysicsEngine::RemoveJoint(Joint* joint) {
  auto found = std::find_if(m_joints.begin(), m_joints.end(),
                            [&](const Core::SmartPointer<Joint>& entry) { return entry.Get() == joint; });
  if (found != m_joints.end()) m_joints.erase(found);
}

Contact* PhysicsEngine::AddContact(RigidBodyHandle handle1, RigidBodyHandle handle2, Contact* contact) {
  if (contact == nullptr) return nullptr;
  Core::SmartPointer<Contact> held(contact);
  RigidBody* body1 = FindBody(handle1);
  RigidBody* body2 = FindBody(handle2);
  if (body1 == nullptr && body2 == nullptr) return nullptr;
  if (body1 == nullptr) {
    body1 = m_staticBody.Get();
    contact->SetAnchor1(Math::Vector2D());
  }
  if (body2 == nullptr) {
    body2 = m_staticBody.Get();
    contact->SetAnchor2(Math::Vector2D());
  }
  contact->SetBody1(body1);
  contact->SetBody2(body2);
  contact->Capture();
  m_contacts.push_back(held);
  return contact;
}

void PhysicsEngine::RemoveContact(Contact* contact) {
  m_contacts.erase(std::remove_if(m_contacts.begin(), m_contacts.end(),
                                  [&](const Core::SmartPointer<Contact>& entry) { return entry.Get() == contact; }),
                   m_contacts.end());
}

void PhysicsEngine::SetStep(float dt) {
  PhysicsSettings& settings = GetSettings();
  float step = dt;
  if (settings.maximumSimulationStep < dt) step = settings.maximumSimulationStep;
  settings.simulationStep = step;
  settings.simulationInverseStep = dt == 0.0f ? 0.0f : 1.0f / step;
}

void PhysicsEngine::BuildConstraintList(bool postCollision) {
  m_constraints.clear();
  const uint32_t jointMark = NextMark();
  if (!postCollision) {
    for (const auto& joint : m_joints)
      if (joint->IsActive()) m_constraints.push_back(joint);
    for (const auto& contact : m_contacts)
      if (contact->IsActive()) m_constraints.push_back(contact);
    return;
  }
  m_touchedBodies.clear();
  const uint32_t touchedMark = NextMark();
  auto touch = [&](RigidBody* body) {
    if (body->m_listMark == touchedMark) return false;
    body->m_listMark = touchedMark;
    m_touchedBodies.push_back(body);
    return true;
  };
  for (const auto& contact : m_contacts) {
    if (!contact->IsActive()) continue;
    m_constraints.push_back(contact);
    touch(contact->GetBody1());
    touch(contact->GetBody2());
  }
  // Joints reachable from a contact's body through other active joints join the correction: a pass
  // that reaches a new body starts over from the first joint.
  size_t index = 0;
  while (index < m_joints.size()) {
    Joint* joint = m_joints[index].Get();
    ++index;
    if (!joint->IsActive()) continue;
    RigidBody* body1 = joint->GetBody1();
    RigidBody* body2 = joint->GetBody2();
    const bool touched1 = body1->m_listMark == touchedMark;
    const bool touched2 = body2->m_listMark == touchedMark;
    if (!touched1 && !touched2) continue;
    if (joint->m_listMark != jointMark) {
      joint->m_listMark = jointMark;
      m_constraints.push_back(Core::SmartPointer<Joint>(joint));
    }
    if (!touched1 || !touched2) {
      touch(touched1 ? body2 : body1);
      index = 0;
    }
  }
}

uint32_t PhysicsEngine::BuildSolvedBodyList() {
  m_solvedBodies.clear();
  const uint32_t mark = NextMark();
  for (const auto& constraint : m_constraints) {
    for (RigidBody* body : {constraint->GetBody1(), constraint->GetBody2()}) {
      if (body->m_listMark == mark) continue;
      body->m_listMark = mark;
      m_solvedBodies.push_back(Core::SmartPointer<RigidBody>(body));
    }
  }
  return static_cast<uint32_t>(m_solvedBodies.size());
}

void PhysicsEngine::ReleaseConstraintTerms() {
  for (const auto& body : m_solvedBodies) body->SetConstraintTerm(nullptr);
  for (const auto& body : m_bodies)
    if (body) body->SetConstraintTerm(nullptr);
  if (m_staticBody) m_staticBody->SetConstraintTerm(nullptr);
}

void PhysicsEngine::SetUpRows(bool accumulateForces) {
  uint32_t rowCount = 0;
  for (const auto& constraint : m_constraints) {
    constraint->PrepareRows();
    rowCount += constraint->GetActiveRowCount();
  }
  m_solver.Resize(rowCount, static_cast<uint32_t>(m_solvedBodies.size()));

  ConstraintRow* rows = m_solver.GetRows();
  uint32_t k = 0;
  for (const auto& constraint : m_constraints) {
    const uint32_t count = constraint->GetActiveRowCount();
    for (uint32_t r = 0; r < count; ++r, ++k) {
      rows[k].body1 = constraint->GetBody1();
      rows[k].body2 = constraint->GetBody2();
      rows[k].index = -1;
    }
  }

  const float step = GetSettings().simulationStep;
  for (size_t i = 0; i < m_bodies.size(); ++i) {
    Core::SmartPointer<RigidBody> body = m_bodies[i];
    if (!body) continue;
    if (accumulateForces)
      body->AccumulateForces(step);
    else
      body->ClearForceAndTorque();
  }

  k = 0;
  for (const auto& constraint : m_constraints) {
    const uint32_t count = constraint->GetActiveRowCount();
    if (count == 0) continue;
    constraint->SetViews(m_solver.GetJacobianRow(k), m_solver.GetError() + k, m_solver.GetSoftness() + k,
                         m_solver.GetLower() + k, m_solver.GetUpper() + k, rows + k);
    constraint->BuildRows();
    for (uint32_t r = 0; r < count; ++r) {
      const int32_t link = rows[k + r].index;
      rows[k + r].index = (link >= 0 && static_cast<uint32_t>(link) < count) ? static_cast<int32_t>(k) + link : -1;
    }
    constraint->SetViews(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    k += count;
  }

  for (uint32_t i = 0; i < m_solvedBodies.size(); ++i) m_solvedBodies[i]->SetConstraintTerm(m_solver.GetBodyTerm(i));
  m_solver.Solve();
}

void PhysicsEngine::Update(float dt) {
  SetStep(dt);
  ReleaseConstraintTerms();
  BuildConstraintList(false);
  BuildSolvedBodyList();
  SetUpRows(true);
  const float step = GetSettings().simulationStep;
  for (size_t i = 0; i < m_bodies.size(); ++i) {
    Core::SmartPointer<RigidBody> body = m_bodies[i];
    if (!body) continue;
    body->Integrate(step);
    body->SetConstraintTerm(nullptr);
  }
  ReleaseConstraintTerms();
  m_solvedBodies.clear();
}

void PhysicsEngine::MatchPreviousContacts() {
  m_keptContacts.clear();
  const size_t previousCount = m_previousContacts.size();
  if (previousCount == 0 || m_contacts.empty()) return;
  RigidBody* staticBody = m_staticBody.Get();

  // Previous contacts grouped by their first and by their second body, each group in list order.
  auto group = [&](std::vector<std::vector<uint32_t>>& groups, std::vector<uint32_t>& cursors, int side) {
    const uint32_t mark = NextMark();
    for (auto& entries : groups) entries.clear();
    uint32_t used = 0;
    for (uint32_t i = 0; i < previousCount; ++i) {
      RigidBody* body = side == 0 ? m_previousContacts[i]->GetBody1() : m_previousContacts[i]->GetBody2();
      // Without this, kept contacts would be kept again every frame and pile up to the limit.
      if (body == staticBody || m_previousContacts[i]->WasKept()) continue;
      if (body->m_matchMark[side] != mark) {
        body->m_matchMark[side] = mark;
        body->m_matchGroup[side] = used;
        if (groups.size() <= used) groups.emplace_back();
        ++used;
      }
      groups[body->m_matchGroup[side]].push_back(i);
    }
    cursors.assign(used, 0);
    return mark;
  };
  const uint32_t mark1 = group(m_matchGroups1, m_matchCursors1, 0);
  const uint32_t mark2 = group(m_matchGroups2, m_matchCursors2, 1);
  m_matchRemoved.assign(previousCount, 0);

  uint32_t retained = 0;
  for (const auto& contact : m_contacts) {
    if (retained >= m_maxContactMatches) break;
    const std::vector<uint32_t>* list1 = nullptr;
    const std::vector<uint32_t>* list2 = nullptr;
    uint32_t* cursor1 = nullptr;
    uint32_t* cursor2 = nullptr;
    const RigidBody* body1 = contact->GetBody1();
    const RigidBody* body2 = contact->GetBody2();
    if (body1 != staticBody && body1->m_matchMark[0] == mark1) {
      list1 = &m_matchGroups1[body1->m_matchGroup[0]];
      cursor1 = &m_matchCursors1[body1->m_matchGroup[0]];
    }
    if (body2 != staticBody && body2->m_matchMark[1] == mark2) {
      list2 = &m_matchGroups2[body2->m_matchGroup[1]];
      cursor2 = &m_matchCursors2[body2->m_matchGroup[1]];
    }
    uint32_t retainedForContact = 0;
    while (retainedForContact < m_maxMatchesPerContact && retained < m_maxContactMatches) {
      if (list1 != nullptr)
        while (*cursor1 < list1->size() && m_matchRemoved[(*list1)[*cursor1]]) ++*cursor1;
      if (list2 != nullptr)
        while (*cursor2 < list2->size() && m_matchRemoved[(*list2)[*cursor2]]) ++*cursor2;
      const bool has1 = list1 != nullptr && *cursor1 < list1->size();
      const bool has2 = list2 != nullptr && *cursor2 < list2->size();
      if (!has1 && !has2) break;
      uint32_t chosen;
      if (has1 && (!has2 || (*list1)[*cursor1] < (*list2)[*cursor2]))
        chosen = (*list1)[(*cursor1)++];
      else
        chosen = (*list2)[(*cursor2)++];
      m_matchRemoved[chosen] = 1;
      Contact* previous = m_previousContacts[chosen].Get();
      previous->MarkKept();
      previous->Capture();
      m_keptContacts.push_back(m_previousContacts[chosen]);
      ++retained;
      ++retainedForContact;
    }
  }
}

void PhysicsEngine::PostCollisionUpdate(float dt) {
  SetStep(dt);
  m_solver.SetPostCollisionMode(true);
  m_previousContacts.swap(m_contacts);
  m_contacts.clear();
  if (m_contactListUpdate != nullptr) m_contactListUpdate(this, m_contactListUpdateData);

  MatchPreviousContacts();
  m_contacts.insert(m_contacts.end(), m_keptContacts.begin(), m_keptContacts.end());
  m_keptContacts.clear();
  m_previousContacts.clear();

  ReleaseConstraintTerms();
  BuildConstraintList(true);
  BuildSolvedBodyList();
  SetUpRows(false);

  const float step = GetSettings().simulationStep;
  const float stepSquared = step * step;
  for (size_t i = 0; i < m_solvedBodies.size(); ++i) {
    Core::SmartPointer<RigidBody> body = m_solvedBodies[i];
    const float* term = body->GetConstraintTerm();
    if (term == nullptr) continue;
    body->ApplyCorrection(term[0] * stepSquared, term[1] * stepSquared, term[2] * stepSquared);
    body->UpdateMatrices(true);
    body->SetConstraintTerm(nullptr);
  }
  for (size_t i = 0; i < m_contacts.size(); ++i) {
    Core::SmartPointer<Contact> contact = m_contacts[i];
    contact->Capture();
    contact->SetPenetration(contact->RefreshPenetration());
  }
  m_solver.SetPostCollisionMode(false);
}

void PhysicsEngine::Clear() {
  ReleaseConstraintTerms();
  m_solver.ReleaseBodies();
  m_bodies.clear();
  m_freeHandles.clear();
  m_solvedBodies.clear();
  m_joints.clear();
  m_contacts.clear();
  m_touchedBodies.clear();
  m_keptContacts.clear();
  m_previousContacts.clear();
  m_constraints.clear();
}

void PhysicsEngine::Save(Core::File& file) {
  const PhysicsSettings& settings = GetSettings();
  Core::WriteValue<uint32_t>(file, kSaveMarker);
  file.WriteObject(m_staticBody.Get());
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(m_freeHandles.size()));
  for (auto it = m_freeHandles.rbegin(); it != m_freeHandles.rend(); ++it) Core::WriteValue<uint32_t>(file, *it);
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(m_bodies.size()));
  for (const auto& body : m_bodies) file.WriteObject(body.Get());
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(m_solvedBodies.size()));
  for (const auto& body : m_solvedBodies) file.WriteObject(body.Get());
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(m_joints.size()));
  for (const auto& joint : m_joints) file.WriteObject(joint.Get());
  m_solver.Save(file);
  Core::WriteValue<uint32_t>(file, m_maxContactMatches);
  Core::WriteValue<uint32_t>(file, m_maxMatchesPerContact);
  Core::WriteValue<float>(file, settings.plusInfinity);
  Core::WriteValue<float>(file, settings.simulationStep);
  Core::WriteValue<float>(file, settings.simulationInverseStep);
  Core::WriteValue<float>(file, settings.maximumSimulationStep);
  Core::WriteValue<float>(file, settings.scale);
  Core::WriteValue<float>(file, settings.epsilon);
}

void PhysicsEngine::Load(Core::File& file) {
  Core::ReadValue<uint32_t>(file);  // the marker carries no information
  Core::SmartPointer<RigidBody> staticBody;
  Core::ReadObjectPointer(file, staticBody);

  uint32_t freeCount = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(freeCount, sizeof(uint32_t))) return;
  std::vector<uint32_t> freeHandles(freeCount);
  for (uint32_t& handle : freeHandles) handle = Core::ReadValue<uint32_t>(file);

  uint32_t slotCount = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(slotCount, 1)) return;
  std::vector<Core::SmartPointer<RigidBody>> bodies(slotCount);
  for (auto& body : bodies) Core::ReadObjectPointer(file, body);

  uint32_t solvedCount = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(solvedCount, 1)) return;
  std::vector<Core::SmartPointer<RigidBody>> solvedBodies(solvedCount);
  for (auto& body : solvedBodies) Core::ReadObjectPointer(file, body);

  uint32_t jointCount = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(jointCount, 1)) return;
  std::vector<Core::SmartPointer<Joint>> joints(jointCount);
  for (auto& joint : joints) Core::ReadObjectPointer(file, joint);

  const uint32_t iterations = Core::ReadValue<uint32_t>(file);
  const uint8_t warmStart = Core::ReadValue<uint8_t>(file);
  const float factor = Core::ReadValue<float>(file);
  const uint32_t maxContactMatches = Core::ReadValue<uint32_t>(file);
  const uint32_t maxMatchesPerContact = Core::ReadValue<uint32_t>(file);
  float values[6];
  for (float& value : values) value = Core::ReadValue<float>(file);
  if (file.HasFailed()) return;

  // Everything the steps index or dereference is checked before the engine changes.
  bool valid = staticBody && iterations >= 10 && iterations <= kMaximumIterations && values[4] > 0.0f &&
               std::isfinite(values[4]);
  std::vector<bool> seen(slotCount, false);
  for (uint32_t handle : freeHandles) {
    if (handle == 0 || handle > slotCount || bodies[handle - 1] || seen[handle - 1]) {
      valid = false;
      break;
    }
    seen[handle - 1] = true;
  }
  for (const auto& body : solvedBodies) valid = valid && body;
  for (const auto& joint : joints) valid = valid && joint;
  if (!valid) {
    file.Fail();
    return;
  }

  ReleaseConstraintTerms();
  Clear();
  m_staticBody = staticBody;
  PhysicsSettings& settings = GetSettings();
  settings.staticBody = m_staticBody.Get();
  for (auto it = freeHandles.rbegin(); it != freeHandles.rend(); ++it) m_freeHandles.push_back(*it);
  m_bodies = std::move(bodies);
  m_solvedBodies = std::move(solvedBodies);
  m_joints = std::move(joints);
  m_solver.SetIterations(iterations);
  m_solver.SetWarmStart(warmStart != 0);
  m_solver.SetFactor(factor);
  m_maxContactMatches = maxContactMatches;
  m_maxMatchesPerContact = maxMatchesPerContact;
  settings.plusInfinity = values[0];
  settings.simulationStep = values[1];
  settings.simulationInverseStep = values[2];
  settings.maximumSimulationStep = values[3];
  settings.scale = values[4];
  settings.epsilon = values[5];
}

}  // namespace Physics2D
