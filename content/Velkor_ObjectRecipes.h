#pragma once
// The two recipes every object builder follows, one for sprites and one for texts. A builder holds
// its object's values as constants and hands them here; the steps run in the fixed order of the
// recipe, a value that differs from the default taking the place of the default step.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/Core_Object.h"
#include "framework/Quillon_Sprite.h"
#include "framework/Quillon_SpriteAnimation.h"
#include "framework/Quillon_Text.h"
#include "math/Math_Vector2D.h"

class MyLevelFactory;

namespace Content {

// Where an allocation comes from, for the tracked allocator.
struct Source {
  const char* file;
  int line;
};

// One animation: an image under the animation folder cut into columns x rows, one delay per frame.
struct AnimationSpec {
  const char* stem;
  uint32_t columns;
  uint32_t rows;
  std::vector<float> delays;
};

// The collision body's settings; the defaults are the recipe's.
struct CollisionSpec {
  bool create = true;
  bool collisionType = false;
  float thickness = 4.0f;
  bool boundingRectangleCheckingTileMap = true;
  uint8_t zCollision = 0;
  std::vector<std::pair<uint8_t, bool>> canCollide{{0, true}};
  bool updateOnIdle = false;
};

// The sprite's own settings; the defaults are the recipe's.
struct SpriteSpec {
  const char* name;
  int32_t actor;
  Math::Vector2D position;
  float z;
  bool playing = true;
  bool loop = true;
  float animationSpeed = 1.0f;
  bool visible = true;
  float opacity = 1.0f;
  float rotation = 0.0f;
  float scaleX = 1.0f;
  float scaleY = 1.0f;
  Math::Vector2D center{0.0f, 0.0f};
  // A rigid body of that mass (inertia 0, centre of mass at the centre, Euler solver, at rest);
  // none at 0.
  float physicsMass = 0.0f;
};

struct TextSpec {
  const char* name;
  const char* caption;
  const char* font;
  Math::Vector2D position;
  float z;
};

// The game directory followed by "\Resources\Animations\<stem>.png" and by
// "\Resources\Fonts\<font>\<font>".
std::string AnimationPath(const char* stem);
std::string FontPath(const char* font);

// A network client builds its objects without collision bodies (the server decides contacts).
bool IsNetworkClient();

std::vector<Core::SmartPointer<Quillon::SpriteAnimation>> MakeAnimations(const Source& source,
                                                                       const std::vector<AnimationSpec>& specs);
std::vector<Quillon::SpriteAnimation*> Borrow(const std::vector<Core::SmartPointer<Quillon::SpriteAnimation>>& held);

// Steps after the object exists: collision body, settings, and the layer of the running layer
// builder (the factory's layer slot).
void FinishSprite(MyLevelFactory& factory, const Source& source, uint32_t layerSlot, Quillon::Sprite& sprite,
                  const SpriteSpec& spec, const CollisionSpec& collision);

// The sprite recipe with the object made as class T (the framework's sprite or a game class built
// from its animations alone); the static pointer receives the object.
template <typename T = Quillon::Sprite>
T* BuildSprite(MyLevelFactory& factory, const Source& source, uint32_t layerSlot, T*& pointer,
               const std::vector<AnimationSpec>& animations, const SpriteSpec& spec,
               const CollisionSpec& collision = CollisionSpec()) {
  // The animations stay referenced until the object that uses them is in its layer.
  const auto held = MakeAnimations(source, animations);
  pointer = new (source.file, source.line) T(Borrow(held));
  Core::SmartPointer<T> keep(pointer);
  FinishSprite(factory, source, layerSlot, *pointer, spec, collision);
  return pointer;
}

// The text recipe; a text never has a collision body.
Quillon::Text* BuildText(MyLevelFactory& factory, const Source& source, uint32_t layerSlot, Quillon::Text*& pointer,
                         const TextSpec& spec);

}  // namespace Content
