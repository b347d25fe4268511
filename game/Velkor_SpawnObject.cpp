#include "game/Velkor_SpawnObject.h"

#include "collision/Collision_DynamicObject.h"

VELKOR_IMPLEMENT_CLASS(SpawnObject, "SpawnObject");

void SpawnObject::Spawn(int32_t ownerTag, const std::string& name, uint8_t zCollision, const Math::Vector2D& position) {
  m_ownerTag = ownerTag;
  m_spawnName = name;
  SetName(name);
  if (Collision2D::DynamicObject* body = GetCollisionObject()) body->SetZCollision(zCollision);
  SetPosition(position);
}
