#include "game/Velkor_UFOClass.h"

VELKOR_IMPLEMENT_CLASS(UFOClass, "UFOClass");

void UFOClass::OnStart() {
  BossObject::OnStart();
  StartHealthBar(1.0f, Math::Vector2D(-40.0f, 50.0f));
  m_active = true;
}

void UFOClass::Update(float dt) {
  BossObject::Update(dt);
  UpdateEscort(dt, "UFOClone", -1, "1 UFO Down", 0.0f);
}
