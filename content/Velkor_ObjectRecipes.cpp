#include "content/Velkor_ObjectRecipes.h"

#include <memory>

#include "collision/Collision_DynamicObject.h"
#include "content/Velkor_MyLevelFactory.h"
#include "framework/Quillon_Game.h"
#include "framework/Quillon_Layer.h"
#include "physics/Physics_MassProperties.h"

namespace Content {

std::string AnimationPath(const char* stem) {
  return Quillon::Game::GetDirectory() + "\\Resources\\Animations\\" + stem + ".png";
}

std::string FontPath(const char* font) {
  return Quillon::Game::GetDirectory() + "\\Resources\\Fonts\\" + font + "\\" + font;
}

bool IsNetworkClient() {
  Quillon::Game* game = Quillon::Game::GetInstance();
  Quillon::GameNetwork* network = game != nullptr ? game->GetNetworkEngine() : nullptr;
  return network != nullptr && network->IsNetworkGame() && !network->IsServer();
}

std::vector<Core::SmartPointer<Quillon::SpriteAnimation>> MakeAnimations(const Source& source,
                                                                       const std::vector<AnimationSpec>& specs) {
  std::vector<Core::SmartPointer<Quillon::SpriteAnimation>> animations;
  for (const AnimationSpec& spec : specs) {
    Core::SmartPointer<Quillon::SpriteAnimation> animation(new (source.file, source.line) Quillon::SpriteAnimation(
        AnimationPath(spec.stem), spec.columns, spec.rows, spec.delays));
    animation->SetName(spec.stem);
    animations.push_back(animation);
  }
  return animations;
}

std::vector<Quillon::SpriteAnimation*> Borrow(const std::vector<Core::SmartPointer<Quillon::SpriteAnimation>>& held) {
  std::vector<Quillon::SpriteAnimation*> animations;
  for (const auto& animation : held) animations.push_back(animation.Get());
  return animations;
}

void FinishSprite(MyLevelFactory& factory, const Source& source, uint32_t layerSlot, Quillon::Sprite& sprite,
                  const SpriteSpec& spec, const CollisionSpec& collision) {
  Quillon::Layer* layer = layerSlot < MyLevelFactory::kLayerSlotCount ? factory.layers[layerSlot] : nullptr;
  if (collision.create && !IsNetworkClient() && layer != nullptr) {
    std::unique_ptr<Collision2D::DynamicObject> body(new (source.file, source.line) Collision2D::DynamicObject());
    const bool knownActor = spec.actor >= 0 && static_cast<uint32_t>(spec.actor) < MyLevelFactory::kCollisionActorCount;
    body->AddCollisionData(knownActor ? factory.collisionActors[spec.actor] : nullptr, 0, 0);
    body->SetCollisionType(collision.collisionType);
    body->SetCollisionThickness(collision.thickness);
    body->SetBoundingRectangleCheckingTileMap(collision.boundingRectangleCheckingTileMap);
    body->SetZCollision(collision.zCollision);
    for (const auto& entry : collision.canCollide) body->SetCanCollid(entry.first, entry.second);
    body->SetUpdateOnIdle(collision.updateOnIdle);
    // The object owns the body once the engine took it; a refused body would otherwise leak.
    if (sprite.AddCollision(body.get(), layer->GetCollisionLayerIndex())) body.release();
  }
  sprite.SetName(spec.name);
  sprite.SetCollisionActorIndex(spec.actor);
  sprite.SetOpacity(spec.opacity);
  sprite.SetPlaying(spec.playing);
  sprite.SetPosition(spec.position);
  sprite.SetCurrentAnimationIndex(0, false);
  sprite.SetCurrentFrameIndex(0, false);
  sprite.SetLoop(spec.loop);
  sprite.SetAnimationSpeed(spec.animationSpeed);
  sprite.SetFlipHorizontal(false);
  sprite.SetFlipVertical(false);
  sprite.SetLifeTime(0.0f);
  sprite.SetVisible(spec.visible);
  sprite.SetRotationAngle(spec.rotation);
  sprite.SetScale(spec.scaleX, spec.scaleY);
  sprite.SetCenter(spec.center);
  sprite.SetZOrder(spec.z);
  // The network test is made again: the client leaves bodies to the server.
  if (spec.physicsMass != 0.0f && !IsNetworkClient()) {
    sprite.SetCenter(spec.center);
    sprite.AddPhysicalProperties(Physics2D::MassProperties(spec.physicsMass, 0.0f, spec.center), 0);
    sprite.SetVelocity(Math::Vector2D(0.0f, 0.0f));
    sprite.SetAngularVelocity(0.0f);
  }
  if (layer != nullptr) layer->AddGameObject(&sprite, false, nullptr);
}

Quillon::Text* BuildText(MyLevelFactory& factory, const Source& source, uint32_t layerSlot, Quillon::Text*& pointer,
                         const TextSpec& spec) {
  pointer = new (source.file, source.line) Quillon::Text(spec.caption, FontPath(spec.font));
  Core::SmartPointer<Quillon::Text> keep(pointer);
  pointer->SetName(spec.name);
  pointer->SetPosition(spec.position);
  pointer->SetLifeTime(0.0f);
  pointer->SetVisible(true);
  pointer->SetRotationAngle(0.0f);
  pointer->SetScale(1.0f, 1.0f);
  pointer->SetCenter(Math::Vector2D(0.0f, 0.0f));
  pointer->SetOpacity(1.0f);
  pointer->SetZOrder(spec.z);
  Quillon::Layer* layer = layerSlot < MyLevelFactory::kLayerSlotCount ? factory.layers[layerSlot] : nullptr;
  if (layer != nullptr) layer->AddGameObject(pointer, false, nullptr);
  return pointer;
}

}  // namespace Content
