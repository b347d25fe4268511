#include "game/Velkor_ShieldConsume.h"

#include "game/Velkor_FightSupport.h"

VELKOR_IMPLEMENT_CLASS(ShieldConsume, "ShieldConsume");

void ShieldConsume::Update(float dt) {
  SpawnObject::Update(dt);
  if (IsSpawned() && !IsDestructionPending() && Touches(this, "Player")) Destroy();
}
