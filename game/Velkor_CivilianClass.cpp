#include "game/Velkor_CivilianClass.h"

#include "collision/Collision_DynamicObject.h"
#include "game/Velkor_FadingText.h"
#include "game/Velkor_FightSupport.h"

VELKOR_IMPLEMENT_CLASS(CivilianClass, "CivilianClass");

void CivilianClass::OnStart() {
  SpawnObject::OnStart();
  m_rescued = false;
}

void CivilianClass::Update(float dt) {
  SpawnObject::Update(dt);
  if (!IsSpawned() || IsDestructionPending()) return;
  if (!m_rescued && Touches(this, "Player")) {
    // From now on only its box counts: the car drives through without being held up.
    if (Collision2D::DynamicObject* body = GetCollisionObject()) body->SetCollisionType(false);
    SetPlaying(true);
    SetLifeTime(3.0f);
    m_rescued = true;
    FadingText::Spawn("Rescued! \n+1 Gear", GetPosition() + Math::Vector2D(0.0f, 50.0f), GetLayer());
  }
  if (Touches(this, "AlienBulletClone")) Destroy();
}
