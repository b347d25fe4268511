#pragma once
// The 2D rigid-body world: bodies addressed by small integer handles, joints, the contacts of the
// current frame and the constraint solver. Each frame runs Update (forces, constraints at the
// acceleration level, integration) before collision detection and PostCollisionUpdate (fresh
// contacts from the contact-list callback, a position-level correction) after it.
#include <cstdint>
#include <deque>
#include <vector>

#include "core/Core_Object.h"
#include "physics/Physics_ConstraintSolver.h"
#include "physics/Physics_Contact.h"
#include "physics/Physics_Joint.h"
#include "physics/Physics_RigidBody.h"
#include "physics/Physics_Settings.h"

namespace Physics2D {

// 0 names no body; handle h names body slot h - 1.
using RigidBodyHandle = uint32_t;

class PhysicsEngine;
// Rebuilds the engine's contact list: one AddContact per touching pair.
using ContactListUpdateCallback = void (*)(PhysicsEngine* engine, uint32_t data);

class PhysicsEngine : public Core::Object {
 public:
  VELKOR_DECLARE_CLASS(PhysicsEngine);
  PhysicsEngine();
  PhysicsEngine(const PhysicsEngine& other);
  ~PhysicsEngine() override;

  int PushToLua(lua_State* state) override;
  void Save(Core::File& file) override;
  // Reads a saved engine; on a malformed record the stream fails and the engine keeps its state.
  void Load(Core::File& file) override;

  void SetContactListUpdate(ContactListUpdateCallback callback) { m_contactListUpdate = callback; }
  ContactListUpdateCallback GetContactListUpdate() const { return m_contactListUpdate; }
  void SetContactListUpdateData(uint32_t data) { m_contactListUpdateData = data; }
  uint32_t GetContactListUpdateData() const { return m_contactListUpdateData; }

  // Iterations := max(n, 10), at most kMaximumIterations.
  void SetAccuracy(uint32_t iterations);
  uint32_t GetAccuracy() const { return m_solver.GetIterations(); }
  // Any value but 0 becomes the scale.
  void SetUnitScale(float scale);
  float GetUnitScale() const { return GetSettings().scale; }
  float GetEpsilon() const { return GetSettings().epsilon; }
  float GetPlusInfinity() const { return GetSettings().plusInfinity; }
  float GetMinusInfinity() const { return -GetSettings().plusInfinity; }
  float GetSimulationStep() const { return GetSettings().simulationStep; }
  float GetSimulationInverseStep() const { return GetSettings().simulationInverseStep; }
  float GetMaximumSimulationStep() const { return GetSettings().maximumSimulationStep; }
  // Values above 0 only.
  void SetMaximumSimulationStep(float step);
  RigidBody* GetStaticBody() const { return m_staticBody.Get(); }

  Core::SmartPointer<RigidBody> GetRigidBody(RigidBodyHandle handle) const;
  RigidBodyHandle AddRigidBody(const Core::SmartPointer<RigidBody>& body);
  RigidBodyHandle CloneRigidBody(RigidBodyHandle handle, void* data);
  bool RemoveRigidBody(RigidBodyHandle handle);
  uint32_t GetRigidBodySlotCount() const { return static_cast<uint32_t>(m_bodies.size()); }

  bool SetRigidBodyMassProperties(RigidBodyHandle handle, const MassProperties& massProperties);
  bool GetRigidBodyMassProperties(RigidBodyHandle handle, MassProperties& massProperties) const;
  bool SetRigidBodyPosition(RigidBodyHandle handle, const Math::Vector2D& position);
  bool SetRigidBodyOrientation(RigidBodyHandle handle, float degrees);
  bool SetRigidBodyVelocity(RigidBodyHandle handle, const Math::Vector2D& velocity);
  bool GetRigidBodyVelocity(RigidBodyHandle handle, Math::Vector2D& velocity) const;
  bool SetRigidBodyAngularVelocity(RigidBodyHandle handle, float degreesPerSecond);
  bool GetRigidBodyAngularVelocity(RigidBodyHandle handle, float& degreesPerSecond) const;
  bool GetRigidBodyCenterOfMass(RigidBodyHandle handle, Math::Vector2D& centerOfMass) const;
  bool AddRigidBodyForce(RigidBodyHandle handle, const Core::SmartPointer<Force>& force, uint32_t& forceId);
  bool RemoveRigidBodyForce(RigidBodyHandle handle, uint32_t forceId);
  bool RemoveAllRigidBodyForces(RigidBodyHandle handle);

  // A bad handle binds the static body; both bad refuses the joint (null).
  Joint* AddJoint(RigidBodyHandle handle1, RigidBodyHandle handle2, Joint* joint);
  void RemoveJoint(Joint* joint);
  Contact* AddContact(RigidBodyHandle handle1, RigidBodyHandle handle2, Contact* contact);
  void RemoveContact(Contact* contact);

  void Update(float dt);
  void PostCollisionUpdate(float dt);
  void Clear();

  const std::vector<Core::SmartPointer<Joint>>& GetJoints() const { return m_joints; }
  const std::vector<Core::SmartPointer<Contact>>& GetContacts() const { return m_contacts; }
  const std::vector<Core::SmartPointer<RigidBody>>& GetSolvedBodies() const { return m_solvedBodies; }
  const std::deque<uint32_t>& GetFreeHandles() const { return m_freeHandles; }
  ConstraintSolver& GetSolver() { return m_solver; }

 private:
  RigidBody* FindBody(RigidBodyHandle handle) const;
  void SetStep(float dt);
  void BuildConstraintList(bool postCollision);
  uint32_t BuildSolvedBodyList();
  void SetUpRows(bool accumulateForces);
  void MatchPreviousContacts();
  // Every body drops its pointer into the solver's body terms (they may move in the next Resize).
  void ReleaseConstraintTerms();
  uint32_t NextMark() { return ++m_mark; }

  ContactListUpdateCallback m_contactListUpdate = nullptr;
  uint32_t m_contactListUpdateData = 0;
  Core::SmartPointer<RigidBody> m_staticBody;
  std::vector<Core::SmartPointer<RigidBody>> m_bodies;
  std::deque<uint32_t> m_freeHandles;  // used as a stack: back() is reused first
  std::vector<Core::SmartPointer<RigidBody>> m_solvedBodies;
  std::vector<Core::SmartPointer<Joint>> m_joints;
  std::vector<Core::SmartPointer<Contact>> m_contacts;
  std::vector<Core::SmartPointer<Contact>> m_previousContacts;
  std::vector<Core::SmartPointer<Joint>> m_constraints;
  std::vector<RigidBody*> m_touchedBodies;
  std::vector<Core::SmartPointer<Contact>> m_keptContacts;
  ConstraintSolver m_solver;
  uint32_t m_maxContactMatches = 500;
  uint32_t m_maxMatchesPerContact = 25;
  uint32_t m_mark = 0;
  // Working storage of the contact matching, kept to avoid allocation per frame.
  std::vector<std::vector<uint32_t>> m_matchGroups1, m_matchGroups2;
  std::vector<uint32_t> m_matchCursors1, m_matchCursors2;
  std::vector<uint8_t> m_matchRemoved;
};

}  // namespace Physics2D
