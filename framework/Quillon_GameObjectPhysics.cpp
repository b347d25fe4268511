// A game object's rigid body in the game's physics engine, and the forwarders by physics id.
#include <cmath>

#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_GameServices.h"
#include "physics/Physics_Engine.h"
#include "physics/Physics_Force.h"
#include "physics/Physics_MassProperties.h"
#include "physics/Physics_RigidBody.h"

namespace Quillon {

namespace {
Physics2D::PhysicsEngine* Physics() { return GetGameServices().GetPhysicsEngine(); }
}  // namespace

void GameObject::FollowRigidBody(Physics2D::RigidBody* body, void* object) {
  auto* self = static_cast<GameObject*>(object);
  if (body == nullptr || self == nullptr) return;
  self->SetPosition(body->GetPosition());
  self->SetRotationAngle(body->GetOrientation());
}

void GameObject::FollowRigidBodyPreviousFrame(Physics2D::RigidBody* body, void* object) {
  auto* self = static_cast<GameObject*>(object);
  if (body == nullptr || self == nullptr) return;
  self->SetOldPosition(body->GetPosition());
  self->SetOldRotationAngle(body->GetOrientation());
}

bool GameObject::AddPhysicalProperties(const Physics2D::MassProperties& massProperties, uint32_t solverKind) {
  Physics2D::PhysicsEngine* physics = Physics();
  if (m_physicsId != 0 || physics == nullptr) return false;
  Core::SmartPointer<Physics2D::RigidBody> body(new (__FILE__, __LINE__) Physics2D::RigidBody(
      massProperties, solverKind, &GameObject::FollowRigidBody, &GameObject::FollowRigidBodyPreviousFrame, this));
  body->SetPosition(m_position);
  body->SetOrientation(m_rotationAngle);
  m_physicsId = physics->AddRigidBody(body);
  return m_physicsId != 0;
}

bool GameObject::RemovePhysicalProperties() {
  if (m_physicsId == 0) return false;
  if (Physics2D::PhysicsEngine* physics = Physics()) physics->RemoveRigidBody(m_physicsId);
  m_physicsId = 0;
  return true;
}

bool GameObject::SetVelocity(const Math::Vector2D& velocity) {
  Physics2D::PhysicsEngine* physics = Physics();
  return physics != nullptr && physics->SetRigidBodyVelocity(m_physicsId, velocity);
}

bool GameObject::GetVelocity(Math::Vector2D& velocity) const {
  Physics2D::PhysicsEngine* physics = Physics();
  return physics != nullptr && physics->GetRigidBodyVelocity(m_physicsId, velocity);
}

bool GameObject::SetAngularVelocity(float degreesPerSecond) {
  Physics2D::PhysicsEngine* physics = Physics();
  return physics != nullptr && physics->SetRigidBodyAngularVelocity(m_physicsId, degreesPerSecond);
}

bool GameObject::GetAngularVelocity(float& degreesPerSecond) const {
  Physics2D::PhysicsEngine* physics = Physics();
  return physics != nullptr && physics->GetRigidBodyAngularVelocity(m_physicsId, degreesPerSecond);
}

bool GameObject::SetMassProperties(const Physics2D::MassProperties& massProperties) {
  Physics2D::PhysicsEngine* physics = Physics();
  return physics != nullptr && physics->SetRigidBodyMassProperties(m_physicsId, massProperties);
}

bool GameObject::GetMassProperties(Physics2D::MassProperties& massProperties) const {
  Physics2D::PhysicsEngine* physics = Physics();
  return physics != nullptr && physics->GetRigidBodyMassProperties(m_physicsId, massProperties);
}

bool GameObject::GetCenterOfMass(Math::Vector2D& centerOfMass) const {
  Physics2D::PhysicsEngine* physics = Physics();
  return physics != nullptr && physics->GetRigidBodyCenterOfMass(m_physicsId, centerOfMass);
}

bool GameObject::AddForce(Physics2D::Force* force, uint32_t& forceId) {
  Physics2D::PhysicsEngine* physics = Physics();
  if (physics == nullptr || force == nullptr) return false;
  return physics->AddRigidBodyForce(m_physicsId, Core::SmartPointer<Physics2D::Force>(force), forceId);
}

bool GameObject::RemoveForce(uint32_t forceId) {
  Physics2D::PhysicsEngine* physics = Physics();
  return physics != nullptr && physics->RemoveRigidBodyForce(m_physicsId, forceId);
}

bool GameObject::RemoveAllForces() {
  Physics2D::PhysicsEngine* physics = Physics();
  return physics != nullptr && physics->RemoveAllRigidBodyForces(m_physicsId);
}

bool GameObject::SetSpeed(float speed) {
  Math::Vector2D velocity;
  if (!GetVelocity(velocity)) return false;
  velocity.Normalize();
  return SetVelocity(velocity * speed);
}

float GameObject::GetSpeed() const {
  Math::Vector2D velocity;
  return GetVelocity(velocity) ? velocity.Length() : 0.0f;
}

bool GameObject::SetVelocityDirection(const Math::Vector2D& direction) {
  Math::Vector2D velocity;
  if (!GetVelocity(velocity)) return false;
  const float speed = velocity.Length();
  Math::Vector2D unit = direction;
  unit.Normalize();
  return SetVelocity(unit * speed);
}

Math::Vector2D GameObject::GetVelocityDirection() const {
  Math::Vector2D velocity;
  if (!GetVelocity(velocity)) return Math::Vector2D();
  velocity.Normalize();
  return velocity;
}

}  // namespace Quillon
