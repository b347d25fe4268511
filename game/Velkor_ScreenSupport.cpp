#include "game/Velkor_ScreenSupport.h"

#include "collision/Collision_Results.h"
#include "framework/Quillon_Game.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_Text.h"
#include "framework/Quillon_Viewport.h"
#include "gui/Gui_HUD.h"
#include "input/Internal_Mouse.h"

void PlaceCursorAtMouse(Quillon::Sprite* cursor) {
  Quillon::Game* game = Quillon::Game::GetInstance();
  if (cursor == nullptr || game == nullptr) return;
  Input::Mouse* mouse = game->GetMouse();
  Quillon::Level* level = game->GetCurrentLevel();
  Quillon::Viewport* viewport = level != nullptr ? level->GetViewport(0) : nullptr;
  if (mouse == nullptr || viewport == nullptr) return;
  const int32_t mx = mouse->GetPositionX();
  const int32_t my = mouse->GetPositionY();
  const int32_t w = static_cast<int32_t>(viewport->GetWidth());
  const int32_t h = static_cast<int32_t>(viewport->GetHeight());
  const int32_t cw = static_cast<int32_t>(cursor->GetFrameWidth(0));
  const int32_t ch = static_cast<int32_t>(cursor->GetFrameHeight(0));
  const Math::Vector2D at(static_cast<float>(mx + cw / 2 - w / 2), static_cast<float>(my - h / 2 - ch / 2));
  // The pointer jumps, it does not travel: the collision pass is to see it where it stands only, not
  // on its way from where it stood a frame earlier, which would answer for the button it just left.
  cursor->SetPosition(at);
  cursor->SetOldPosition(at);
}

bool IsLeftClick() {
  Quillon::Game* game = Quillon::Game::GetInstance();
  Input::Mouse* mouse = game != nullptr ? game->GetMouse() : nullptr;
  return mouse != nullptr && mouse->IsTriggered(Input::Button::Left);
}

namespace {

// The click the screens act on this frame, and the level of a press put off to the next one. The
// clock counts the frames' time steps, so that it keeps to a clock the tests fix; it also says when
// each of the two presses went down, at the earliest: a press first seen in a frame may have come
// at any time since the frame before looked, however long that frame took.
struct CursorClick {
  bool now = false;
  const Quillon::Level* putOffIn = nullptr;
  double time = 0.0;
  double nowPressedAt = 0.0;
  double putOffPressedAt = 0.0;
};
CursorClick g_cursorClick;

}  // namespace

void UpdateCursorClick(float dt) {
  const double lastLook = g_cursorClick.time;
  g_cursorClick.time += dt;
  Quillon::Game* game = Quillon::Game::GetInstance();
  Input::Mouse* mouse = game != nullptr ? game->GetMouse() : nullptr;
  const Quillon::Level* level = game != nullptr ? game->GetCurrentLevel() : nullptr;
  const bool putOff = g_cursorClick.putOffIn != nullptr && g_cursorClick.putOffIn == level;
  const bool pressed = mouse != nullptr && mouse->IsTriggered(Input::Button::Left);
  const bool moving = pressed && mouse->IsMoved();
  g_cursorClick.putOffIn = moving ? level : nullptr;
  g_cursorClick.now = putOff || (pressed && !moving);
  if (g_cursorClick.now) g_cursorClick.nowPressedAt = putOff ? g_cursorClick.putOffPressedAt : lastLook;
  if (moving) g_cursorClick.putOffPressedAt = lastLook;
}

bool IsCursorClick() { return g_cursorClick.now; }

double GetScreenTime() { return g_cursorClick.time; }

double GetCursorClickPressTime() { return g_cursorClick.nowPressedAt; }

bool IsCursorOver(Quillon::Sprite* cursor, const std::string& name) {
  return cursor != nullptr && Quillon::IsCollidedWithSprite(cursor->GetCollisionResults(), name, false);
}

bool IsTouchingCursor(Quillon::Sprite* object, Quillon::Sprite* cursor, const std::string& cursorName) {
  if (object == nullptr) return false;
  if (Quillon::IsCollidedWithSprite(object->GetCollisionResults(), cursorName, false)) return true;
  return cursor != nullptr && Quillon::IsCollidedWithSprite(cursor->GetCollisionResults(), object->GetName(), false);
}

void HighlightCaption(Quillon::Text* caption, bool green, bool blue) {
  if (caption == nullptr) return;
  Math::Color color = caption->GetModulationColor();
  if (green) color.g = 0.0f;
  if (blue) color.b = 0.0f;
  caption->SetModulationColor(color);
}

void UnhighlightCaption(Quillon::Text* caption) {
  if (caption == nullptr) return;
  Math::Color color = caption->GetModulationColor();
  color.g = 1.0f;
  color.b = 1.0f;
  caption->SetModulationColor(color);
}

void HideGuiCursor() {
  if (GUI::HUD* hud = GUI::HUD::GetInstance()) hud->ShowCursor(false);
}
