// The collision body's side of a game object: its transform, its removal and its copies.
#include "framework/Quillon_GameObject.h"

namespace Quillon {

// Until the game's collision engine is wired in, an object has no collision body to move.
void GameObject::MoveCollisionBody(bool position, bool orientation, bool previousFrame) {
  (void)position;
  (void)orientation;
  (void)previousFrame;
}

void GameObject::MoveCollisionCenter() {}

void GameObject::RemoveCollisionBody() {}

uint32_t GameObject::DuplicateCollisionBody(const GameObject& source) {
  (void)source;
  return 0;
}

}  // namespace Quillon
