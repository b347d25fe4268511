#pragma once
// What the actors of a run share: contact tests by name, cloning an archetype of
// the current level, explosions and falling spawns. Every object looked up here may be missing or
// of another class: the helpers then do nothing and answer null or false, so that an actor skips
// the step instead of touching a stranger.
#include <string>

#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_Layer.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_ScreenSupport.h"
#include "math/Math_Vector2D.h"

// True when a sprite of exactly that name touches the object in this frame's shape contacts.
bool Touches(const Quillon::GameObject* object, const std::string& name);

// A copy of the archetype (or of the current level's archetype of that name and exact class), named `cloneName`, not
// yet in any layer (the caller adds it, which takes the first reference); null without the
// archetype.
template <typename T>
T* CloneArchetype(T* archetype, const std::string& cloneName) {
  if (archetype == nullptr) return nullptr;
  T* clone = static_cast<T*>(archetype->Clone());
  if (clone != nullptr) clone->SetName(cloneName);
  return clone;
}
template <typename T>
T* CloneArchetype(const std::string& archetypeName, const std::string& cloneName) {
  return CloneArchetype(FindObjectByName<T>(archetypeName), cloneName);
}

// Whether a fired copy (named `cloneName`) moves on in this step: not the level's model of it, not
// a copy on its way out, and not while the game is paused, when the shot stands still.
bool IsShotMoving(Quillon::GameObject& shot, const char* cloneName);

// Adds a fresh object to a layer, or releases it when there is no layer to take it.
void AddToLayer(Quillon::Layer* layer, Quillon::GameObject* object);

// An explosion at that place, playing once for half a second, scaled as asked.
void SpawnExplosion(const Math::Vector2D& position, Quillon::Layer* layer, float scale = 1.0f);

// Lets a spawn fall: a pull of 100 downwards on its body (nothing without a body).
void AddGravity(Quillon::GameObject* object);
