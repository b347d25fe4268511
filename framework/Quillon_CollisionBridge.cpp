#include "framework/Quillon_CollisionBridge.h"

#include <algorithm>
#include <vector>

#include "collision/Collision_Contacts.h"
#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_Engine.h"
#include "collision/Collision_Results.h"
#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_GameServices.h"
#include "physics/Physics_Contact.h"
#include "physics/Physics_Engine.h"

namespace Quillon {

namespace {

uint8_t g_oneSidedContact = 0;

// One intersected point waiting for the game's answer. The records are copied out before any
// question is asked, since an answer may remove a collision body and its records with it.
struct Candidate {
  GameObject* partner;  // null for static geometry
  Math::Vector2D position;
  Math::Vector2D normal;
  Math::Vector2D anchor1;
  Math::Vector2D anchor2;
  float penetration;
};

GameObject* OwnerOfDynamicObject(uint32_t id) {
  Collision2D::CollisionEngine* engine = GetGameServices().GetCollisionEngine();
  Collision2D::DynamicObject* body = engine ? engine->GetDynamicObject(id) : nullptr;
  return body ? body->GetTag().GetOwner() : nullptr;
}

int32_t PointCount(const Collision2D::ShapeContact& record) {
  return std::clamp<int32_t>(record.numberOfIntersectedPoints, 0, Collision2D::kMaximumContactPoints);
}

template <typename Record>
void AddCandidates(const std::vector<Record>& records, int32_t count, GameObject* partner,
                   const Math::Vector2D& anchor1, const Math::Vector2D* anchor2, std::vector<Candidate>& out) {
  for (int32_t i = 0; i < count && static_cast<size_t>(i) < records.size(); ++i) {
    const Record& record = records[static_cast<size_t>(i)];
    for (int32_t k = 0; k < PointCount(record); ++k) {
      // Static records anchor at their own contact position; pair records at the pair's.
      out.push_back({partner, record.contactPoint[k], record.normal[k], anchor2 ? anchor1 : record.contactPosition,
                     anchor2 ? *anchor2 : Math::Vector2D(0.0f, 0.0f), record.penetrationDistance});
    }
  }
}

// Where B touched A, as B's own records say; B's position when none names A.
Math::Vector2D PartnerAnchor(GameObject* a, GameObject* b) {
  Math::Vector2D anchor = b->GetPosition();
  const Collision2D::CollisionResults* results = b->GetCollisionResults();
  if (results == nullptr) return anchor;
  const auto& records = results->GetDynamicObjectContacts();
  for (int32_t i = 0; i < results->GetDynamicObjectCount() && static_cast<size_t>(i) < records.size(); ++i) {
    const Collision2D::DGEO_C& record = records[static_cast<size_t>(i)];
    if (OwnerOfDynamicObject(record.id) == a) anchor = record.contactPosition;
  }
  return anchor;
}

void CollectCandidates(GameObject* a, const Collision2D::CollisionResults& results, std::vector<Candidate>& out) {
  const auto& pairs = results.GetDynamicObjectContacts();
  for (int32_t i = 0; i < results.GetDynamicObjectCount() && static_cast<size_t>(i) < pairs.size(); ++i) {
    const Collision2D::DGEO_C& pair = pairs[static_cast<size_t>(i)];
    // A partner whose body has gone since detection names nothing.
    GameObject* b = OwnerOfDynamicObject(pair.id);
    if (b == nullptr) continue;
    const Math::Vector2D anchor2 = PartnerAnchor(a, b);
    AddCandidates(pair.lineSegments, pair.currentLineSegmentsNumber, b, pair.contactPosition, &anchor2, out);
    AddCandidates(pair.circles, pair.currentCirclesNumber, b, pair.contactPosition, &anchor2, out);
  }
  AddCandidates(results.GetStaticLineSegmentContacts(), results.GetStaticLineSegmentCount(), nullptr,
                Math::Vector2D(), nullptr, out);
  AddCandidates(results.GetStaticCircleContacts(), results.GetStaticCircleCount(), nullptr, Math::Vector2D(),
                nullptr, out);
}

}  // namespace

bool GetOneSidedContact() { return g_oneSidedContact != 0; }

void SetOneSidedContact(bool oneSided) { g_oneSidedContact = oneSided ? 1 : 0; }

void BuildContacts(Physics2D::PhysicsEngine& physics, const ContactQuestion& ask) {
  std::vector<Candidate> candidates;
  // The slot count is read every turn: an answer may add or remove bodies.
  for (Physics2D::RigidBodyHandle handle = 1; handle <= physics.GetRigidBodySlotCount(); ++handle) {
    Core::SmartPointer<Physics2D::RigidBody> body = physics.GetRigidBody(handle);
    if (!body) continue;
    auto* a = static_cast<GameObject*>(body->GetData());
    // An owner that no longer names this body (its body was replaced) is not asked about it.
    if (a == nullptr || a->GetPhysicsId() != handle) continue;
    const Collision2D::CollisionResults* results = a->GetCollisionResults();
    if (results == nullptr) continue;
    candidates.clear();
    CollectCandidates(a, *results, candidates);
    for (const Candidate& candidate : candidates) {
      float restitution = kDefaultContactRestitution;
      float friction = kDefaultContactFriction;
      g_oneSidedContact = 0;
      if (!ask || !ask(a, candidate.partner, restitution, friction)) continue;
      // The answer may have taken A's body away: nothing is left to bind.
      if (a->GetPhysicsId() != handle) break;
      const bool twoBody = candidate.partner != nullptr;
      const Physics2D::RigidBodyHandle other =
          twoBody && g_oneSidedContact == 0 ? candidate.partner->GetPhysicsId() : 0;
      physics.AddContact(a->GetPhysicsId(), other,
                         new (__FILE__, __LINE__) Physics2D::Contact(
                             candidate.position, candidate.normal, candidate.anchor1, candidate.anchor2,
                             candidate.penetration, restitution, friction, twoBody ? 1 : 0));
    }
  }
}

}  // namespace Quillon
