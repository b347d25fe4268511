#include "game/Velkor_PowerConsume.h"

#include "game/Velkor_FightSupport.h"
#include "game/Velkor_PlayerClass.h"

VELKOR_IMPLEMENT_CLASS(PowerConsume, "PowerConsume");

void PowerConsume::SetType(int32_t type) {
  m_type = type;
  if (type >= 0) SetCurrentFrameIndex(static_cast<uint32_t>(type), true);
}

void PowerConsume::Update(float dt) {
  SpawnObject::Update(dt);
  if (!IsSpawned() || IsDestructionPending() || !Touches(this, "Player")) return;
  if (PlayerClass* player = FindPlayer()) player->SetHeldPowerUp(m_type);
  Destroy();
}
