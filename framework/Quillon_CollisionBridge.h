#pragma once
// The collision-response bridge: turns the contacts that collision detection left on each game
// object into physics contacts, asking the game for every touching pair whether it responds and
// with which restitution and friction.
#include <cstdint>
#include <functional>

namespace Physics2D {
class PhysicsEngine;
}

namespace Quillon {

class GameObject;

constexpr float kDefaultContactRestitution = 0.3f;
constexpr float kDefaultContactFriction = 0.5f;

// The question asked per intersected point: b is null for static geometry; true builds a contact.
using ContactQuestion = std::function<bool(GameObject* a, GameObject* b, float& restitution, float& friction)>;

// For every rigid body whose owner game object has collision results: one contact per intersected
// point of its dynamic-object records (line segments, then circles), then of its static segment and
// circle records, each only when the question answers true.
void BuildContacts(Physics2D::PhysicsEngine& physics, const ContactQuestion& ask);

// The one-sided-contact flag: cleared before every question; when the answer set it, the contact
// binds only the first object's body.
bool GetOneSidedContact();
void SetOneSidedContact(bool oneSided);

}  // namespace Quillon
