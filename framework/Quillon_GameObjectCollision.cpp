// The collision body's side of a game object: attachment, its transform, removal, copies and the
// queries over its contacts of the frame.
#include <algorithm>

#include "collision/Collision_Engine.h"
#include "collision/Collision_Results.h"
#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_GameServices.h"

namespace Quillon {

namespace {

Collision2D::CollisionEngine* Collision() { return GetGameServices().GetCollisionEngine(); }

GameObject* OwnerOfDynamicObject(uint32_t id) {
  Collision2D::CollisionEngine* engine = Collision();
  Collision2D::DynamicObject* partner = engine ? engine->GetDynamicObject(id) : nullptr;
  return partner ? partner->GetTag().GetOwner() : nullptr;
}

// Whether one of the first count contacts of the list (no more than it holds) passes the test: the
// results' counts say how many entries of their lists are this frame's.
template <typename Contact, typename Test>
bool AnyContact(const std::vector<Contact>& contacts, int32_t count, Test test) {
  for (int32_t i = 0; i < count && static_cast<size_t>(i) < contacts.size(); ++i) {
    if (test(contacts[static_cast<size_t>(i)])) return true;
  }
  return false;
}

template <typename Contact>
bool AnyShapeWithUserId(const std::vector<Contact>& contacts, int32_t count, uint32_t userId) {
  return AnyContact(contacts, count, [userId](const Contact& contact) { return contact.userId == userId; });
}

// Whether the owner of a sprite contact's partner has that name.
template <typename Contact>
bool AnyPartnerNamed(const std::vector<Contact>& contacts, int32_t count, const std::string& name) {
  return AnyContact(contacts, count, [&name](const Contact& contact) {
    GameObject* owner = OwnerOfDynamicObject(contact.id);
    return owner != nullptr && owner->GetName() == name;
  });
}

// Whether one of the object's own shapes (circles or segments, chosen by `circles`) with that user
// id took part in this shape contact, against the partner shape when one is named.
bool OwnShapeInContact(const Collision2D::ShapeContact& contact, bool circles, uint32_t userId,
                       const uint32_t* partnerUserId) {
  if (partnerUserId != nullptr && contact.userId != *partnerUserId) return false;
  const int32_t points = std::min<int32_t>(std::max<int32_t>(contact.numberOfIntersectedPoints, 0),
                                           static_cast<int32_t>(Collision2D::kMaximumContactPoints));
  for (int32_t k = 0; k < points; ++k) {
    const uint32_t own = circles ? contact.myCircleUserId[k] : contact.myLineSegmentUserId[k];
    if (own == userId) return true;
  }
  return false;
}

template <typename Contact>
bool OwnShapeInAny(const std::vector<Contact>& contacts, int32_t count, bool circles, uint32_t userId,
                   const uint32_t* partnerUserId) {
  return AnyContact(contacts, count, [&](const Contact& contact) {
    return OwnShapeInContact(contact, circles, userId, partnerUserId);
  });
}

}  // namespace

bool IsCollidedWithSprite(const Collision2D::CollisionResults* results, const std::string& name, bool secondList) {
  if (results == nullptr) return false;
  if (secondList) return AnyPartnerNamed(results->GetDynamicObjectContacts(), results->GetDynamicObjectCount(), name);
  return AnyPartnerNamed(results->GetBoundingRectangleContacts(), results->GetBoundingRectangleCount(), name);
}

void GameObject::MoveCollisionBody(bool position, bool orientation, bool previousFrame) {
  Collision2D::CollisionEngine* engine = Collision();
  if (engine == nullptr || m_collisionId == 0) return;
  if (position) {
    if (previousFrame) {
      engine->SetObjectOldPosition(m_collisionId, m_position.x, m_position.y);
    } else {
      engine->SetObjectPosition(m_collisionId, m_position.x, m_position.y);
    }
  }
  if (orientation) {
    if (previousFrame) {
      engine->SetObjectOldOrientation(m_collisionId, m_rotationAngle);
    } else {
      engine->SetObjectOrientation(m_collisionId, m_rotationAngle);
    }
  }
}

void GameObject::MoveCollisionCenter() {
  Collision2D::CollisionEngine* engine = Collision();
  if (engine != nullptr && m_collisionId != 0) engine->SetObjectCenter(m_collisionId, m_center.x, m_center.y);
}

void GameObject::RemoveCollisionBody() {
  Collision2D::CollisionEngine* engine = Collision();
  if (engine != nullptr && m_collisionId != 0) engine->RemoveCollision(m_collisionId);
}

uint32_t GameObject::DuplicateCollisionBody(const GameObject& source) {
  Collision2D::CollisionEngine* engine = Collision();
  if (engine == nullptr || source.m_collisionId == 0) return 0;
  return engine->DuplicateCollision(source.m_collisionId, &m_position, this);
}

bool GameObject::AddCollision(Collision2D::DynamicObject* body, uint8_t layerIndex) {
  Collision2D::CollisionEngine* engine = Collision();
  if (engine == nullptr || body == nullptr) return false;
  Quillon::GameObject* previousOwner = body->GetTag().GetOwner();
  body->GetTag().SetOwner(this);
  const uint32_t id = engine->AddCollision(body, layerIndex, &m_position);
  if (id == 0) {
    body->GetTag().SetOwner(previousOwner);
    return false;
  }
  // A body kept from before would stay in the engine naming this object as its owner.
  if (m_collisionId != 0 && engine->GetCollisionObject(m_collisionId) != nullptr) engine->RemoveCollision(m_collisionId);
  m_collisionId = id;
  engine->SetObjectCenter(id, m_center.x, m_center.y);
  engine->SetObjectPosition(id, m_position.x, m_position.y);
  engine->SetObjectOrientation(id, m_rotationAngle);
  return true;
}

void GameObject::RemoveCollision() { RemoveCollisionBody(); }

Collision2D::CollisionResults* GameObject::GetCollisionResults() const {
  Collision2D::CollisionEngine* engine = Collision();
  return engine != nullptr && m_collisionId != 0 ? engine->GetCollisionData(m_collisionId) : nullptr;
}

Collision2D::DynamicObject* GameObject::GetCollisionObject() const {
  Collision2D::CollisionEngine* engine = Collision();
  return engine != nullptr && m_collisionId != 0 ? engine->GetDynamicObject(m_collisionId) : nullptr;
}

Collision2D::TileMap* GameObject::GetTileMapCollisionObject() const {
  Collision2D::CollisionEngine* engine = Collision();
  return engine != nullptr && m_collisionId != 0 ? engine->GetTileMap(m_collisionId) : nullptr;
}

bool GameObject::ObjectInCollision() const {
  const Collision2D::CollisionResults* results = GetCollisionResults();
  if (results == nullptr) return false;
  return results->GetStaticCircleCount() != 0 || results->GetStaticLineSegmentCount() != 0 ||
         results->GetTileMapCount() != 0 || results->GetBoundingRectangleCount() != 0 ||
         results->GetDynamicObjectCount() != 0;
}

uint32_t GameObject::GetCollidedSpritesCount(bool secondList) const {
  const Collision2D::CollisionResults* results = GetCollisionResults();
  if (results == nullptr) return 0;
  return static_cast<uint32_t>(secondList ? results->GetDynamicObjectCount() : results->GetBoundingRectangleCount());
}

uint32_t GameObject::GetCollidedCirclesCount() const {
  const Collision2D::CollisionResults* results = GetCollisionResults();
  return results ? static_cast<uint32_t>(results->GetStaticCircleCount()) : 0;
}

uint32_t GameObject::GetCollidedLineSegmentsCount() const {
  const Collision2D::CollisionResults* results = GetCollisionResults();
  return results ? static_cast<uint32_t>(results->GetStaticLineSegmentCount()) : 0;
}

uint32_t GameObject::GetCollidedTileMapsCount() const {
  const Collision2D::CollisionResults* results = GetCollisionResults();
  return results ? static_cast<uint32_t>(results->GetTileMapCount()) : 0;
}

GameObject* GameObject::GetCollidedSprite(uint32_t index, bool secondList) const {
  // Indices past this frame's contacts name nothing (rather than a spare record).
  if (index >= GetCollidedSpritesCount(secondList)) return nullptr;
  const Collision2D::CollisionResults* results = GetCollisionResults();
  const uint32_t id = secondList ? results->GetDynamicObjectContacts()[index].id
                                 : results->GetBoundingRectangleContacts()[index].id;
  return OwnerOfDynamicObject(id);
}

bool GameObject::IsCollidedWithSprite(const std::string& name, bool secondList) const {
  return Quillon::IsCollidedWithSprite(GetCollisionResults(), name, secondList);
}

bool GameObject::IsCollidedWithSpriteLineSegment(uint32_t userId) const {
  const Collision2D::CollisionResults* results = GetCollisionResults();
  return results != nullptr &&
         AnyContact(results->GetDynamicObjectContacts(), results->GetDynamicObjectCount(), [userId](const auto& contact) {
           return AnyShapeWithUserId(contact.lineSegments, contact.currentLineSegmentsNumber, userId);
         });
}

bool GameObject::IsCollidedWithSpriteCircle(uint32_t userId) const {
  const Collision2D::CollisionResults* results = GetCollisionResults();
  return results != nullptr &&
         AnyContact(results->GetDynamicObjectContacts(), results->GetDynamicObjectCount(), [userId](const auto& contact) {
           return AnyShapeWithUserId(contact.circles, contact.currentCirclesNumber, userId);
         });
}

bool GameObject::IsCollidedWithLineSegment(uint32_t userId) const {
  const Collision2D::CollisionResults* results = GetCollisionResults();
  return results != nullptr &&
         AnyShapeWithUserId(results->GetStaticLineSegmentContacts(), results->GetStaticLineSegmentCount(), userId);
}

bool GameObject::IsCollidedWithCircle(uint32_t userId) const {
  const Collision2D::CollisionResults* results = GetCollisionResults();
  return results != nullptr &&
         AnyShapeWithUserId(results->GetStaticCircleContacts(), results->GetStaticCircleCount(), userId);
}

bool GameObject::IsCollidedWithTileMap(const std::string& name) const {
  const Collision2D::CollisionResults* results = GetCollisionResults();
  Collision2D::CollisionEngine* engine = Collision();
  if (results == nullptr || engine == nullptr) return false;
  return AnyContact(results->GetTileMapContacts(), results->GetTileMapCount(), [engine, &name](const auto& contact) {
    Collision2D::TileMap* tileMap = engine->GetTileMap(contact.id);
    GameObject* owner = tileMap ? tileMap->GetTag().GetOwner() : nullptr;
    return owner != nullptr && owner->GetName() == name;
  });
}

namespace {

bool OwnShapeCollided(const Collision2D::CollisionResults* results, bool circles, uint32_t userId,
                      const uint32_t* partnerUserId) {
  if (results == nullptr) return false;
  if (OwnShapeInAny(results->GetStaticLineSegmentContacts(), results->GetStaticLineSegmentCount(), circles, userId,
                    partnerUserId) ||
      OwnShapeInAny(results->GetStaticCircleContacts(), results->GetStaticCircleCount(), circles, userId,
                    partnerUserId)) {
    return true;
  }
  return AnyContact(results->GetDynamicObjectContacts(), results->GetDynamicObjectCount(), [&](const auto& contact) {
    return OwnShapeInAny(contact.lineSegments, contact.currentLineSegmentsNumber, circles, userId, partnerUserId) ||
           OwnShapeInAny(contact.circles, contact.currentCirclesNumber, circles, userId, partnerUserId);
  });
}

}  // namespace

bool GameObject::IsMyLineSegmentCollided(uint32_t userId, const uint32_t* partnerUserId) const {
  return OwnShapeCollided(GetCollisionResults(), false, userId, partnerUserId);
}

bool GameObject::IsMyCircleCollided(uint32_t userId, const uint32_t* partnerUserId) const {
  return OwnShapeCollided(GetCollisionResults(), true, userId, partnerUserId);
}

}  // namespace Quillon
