#include "game/Velkor_FightSupport.h"

#include "framework/Quillon_Game.h"
#include "framework/Quillon_Sprite.h"
#include "physics/Physics_Force.h"

bool Touches(const Quillon::GameObject* object, const std::string& name) {
  // The shape contacts: an object switched to box tests (a spent laser, a rescued civilian, a
  // lowered barrier) no longer counts as touching.
  return object != nullptr && Quillon::IsCollidedWithSprite(object->GetCollisionResults(), name, true);
}

bool IsShotMoving(Quillon::GameObject& shot, const char* cloneName) {
  if (shot.GetName() != cloneName || shot.IsDestructionPending()) return false;
  if (!IsGamePaused()) return true;
  shot.SetVelocity(Math::Vector2D(0.0f, 0.0f));
  return false;
}

void AddToLayer(Quillon::Layer* layer, Quillon::GameObject* object) {
  if (object == nullptr) return;
  // The layer takes the first reference; without one the object goes at once.
  Core::SmartPointer<Quillon::GameObject> keep(object);
  if (layer != nullptr) layer->AddGameObject(object, false, nullptr);
}

void SpawnExplosion(const Math::Vector2D& position, Quillon::Layer* layer, float scale) {
  auto* explosion = CloneArchetype<Quillon::Sprite>("Explosion", "Explosion");
  if (explosion == nullptr) return;
  explosion->SetPlaying(true);
  explosion->SetPosition(position);
  if (scale != 1.0f) explosion->SetScale(scale, scale);
  explosion->SetLifeTime(0.5f);
  AddToLayer(layer, explosion);
}

void AddGravity(Quillon::GameObject* object) {
  // The body takes its own reference; without a body the force goes with this one.
  Core::SmartPointer<Physics2D::Force> gravity(
      new (__FILE__, __LINE__) Physics2D::GravityForce(Math::Vector2D(0.0f, -1.0f), 100.0f));
  uint32_t forceId = 0;
  if (object != nullptr) object->AddForce(gravity.Get(), forceId);
}
