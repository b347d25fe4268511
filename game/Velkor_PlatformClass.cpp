#include "game/Velkor_PlatformClass.h"

#include "collision/Collision_DynamicObject.h"

VELKOR_IMPLEMENT_CLASS(PlatformClass, "PlatformClass");

void PlatformClass::SetActive(bool active) {
  m_active = active;
  SetVisible(active);
  if (Collision2D::DynamicObject* body = GetCollisionObject()) body->SetCollisionType(active);
}
