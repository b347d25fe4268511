#include "game/Velkor_HealthConsume.h"

#include "game/Velkor_FightSupport.h"

VELKOR_IMPLEMENT_CLASS(HealthConsume, "HealthConsume");

void HealthConsume::Update(float dt) {
  SpawnObject::Update(dt);
  if (IsSpawned() && !IsDestructionPending() && Touches(this, "Player")) Destroy();
}
