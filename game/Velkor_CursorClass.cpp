#include "game/Velkor_CursorClass.h"

#include "framework/Quillon_Level.h"
#include "framework/Quillon_Game.h"
#include "game/Velkor_HoverCar.h"
#include "game/Velkor_ScreenSupport.h"
#include "input/Internal_Mouse.h"

VELKOR_IMPLEMENT_CLASS(CursorClass, "CursorClass");

void CursorClass::OnStart() {
  Quillon::Sprite::OnStart();
  HideGuiCursor();
  m_car.Find();
}

void CursorClass::ReleaseResources() {
  m_car.Release();
  Quillon::Sprite::ReleaseResources();
}

void CursorClass::Update(float dt) {
  Quillon::Sprite::Update(dt);
  Quillon::Game* game = Quillon::Game::GetInstance();
  Input::Mouse* mouse = game != nullptr ? game->GetMouse() : nullptr;
  const HoverCar* car = m_car.Get();
  if (mouse == nullptr || car == nullptr) return;
  const Math::Vector2D m = mouse->GetPosition();
  // The view runs from 375 units behind the car; the mouse's y counts from its bottom edge.
  SetPosition(m.x + car->GetPositionX() - 375.0f, m.y - 75.0f);
}
