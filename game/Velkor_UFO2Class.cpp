#include "game/Velkor_UFO2Class.h"

VELKOR_IMPLEMENT_CLASS(UFO2Class, "UFO2Class");

void UFO2Class::OnStart() {
  BossObject::OnStart();
  StartHealthBar(1.0f, Math::Vector2D(-40.0f, 50.0f));
  m_active = true;
}

void UFO2Class::Update(float dt) {
  BossObject::Update(dt);
  UpdateEscort(dt, "UFO2Clone", 1, "1 UFO2 Down", 3.0f);
}
