#include "content/Velkor_LevelRows.h"

#include <memory>

#include "collision/Collision_DynamicObject.h"
#include "framework/Quillon_Game.h"
#include "framework/Quillon_Layer.h"
#include "physics/Physics_Force.h"
#include "physics/Physics_MassProperties.h"

namespace Content {

namespace {

// A row's other column laid over the recipe's values.
struct Settings {
  bool playing = true;
  bool loop = true;
  bool visible = true;
  float opacity = 1.0f;
  float scaleX = 1.0f;
  float scaleY = 1.0f;
  float rotation = 0.0f;
  Math::Vector2D center{0.0f, 0.0f};
  bool body = true;
  bool shapes = false;
  float thickness = 4.0f;
  uint8_t zCollision = 0;
  std::vector<uint8_t> canCollide{0};
  bool ownCanCollide = false;
  bool idle = false;
  bool physics = false;
  float mass = 0.0f;
  float gravity = 0.0f;
};

Settings Read(const std::vector<Other>& other) {
  Settings settings;
  for (const Other& entry : other) {
    switch (entry.setting) {
      case Setting::Still: settings.playing = false; break;
      case Setting::Once: settings.loop = false; break;
      case Setting::Hidden: settings.visible = false; break;
      case Setting::Opacity: settings.opacity = entry.a; break;
      case Setting::Scale:
        settings.scaleX = entry.a;
        settings.scaleY = entry.b;
        break;
      case Setting::Rotation: settings.rotation = entry.a; break;
      case Setting::Center: settings.center = Math::Vector2D(entry.a, entry.b); break;
      case Setting::Shapes: settings.shapes = true; break;
      case Setting::Thickness: settings.thickness = entry.a; break;
      case Setting::ZCollision: settings.zCollision = static_cast<uint8_t>(entry.a); break;
      case Setting::CanCollide:
      case Setting::NoCanCollide:
        // The first entry of a row replaces the recipe's single entry for level 0.
        if (!settings.ownCanCollide) settings.canCollide.clear();
        settings.ownCanCollide = true;
        if (entry.setting == Setting::CanCollide) settings.canCollide.push_back(static_cast<uint8_t>(entry.a));
        break;
      case Setting::Idle: settings.idle = true; break;
      case Setting::NoBody: settings.body = false; break;
      case Setting::Mass:
        settings.physics = true;
        settings.mass = entry.a;
        break;
      case Setting::Gravity: settings.gravity = entry.a; break;
    }
  }
  return settings;
}

std::vector<Core::SmartPointer<Quillon::SpriteAnimation>> MakeAnimations(const Source& source,
                                                                       const std::vector<AnimationRow>& rows) {
  std::vector<Core::SmartPointer<Quillon::SpriteAnimation>> animations;
  for (const AnimationRow& row : rows) {
    const std::vector<float> delays(row.frames, row.delay);
    Core::SmartPointer<Quillon::SpriteAnimation> animation(new (source.file, source.line) Quillon::SpriteAnimation(
        AnimationPath(row.stem), row.columns, row.rows, delays));
    animation->SetName(row.stem);
    animations.push_back(animation);
  }
  return animations;
}

void AddBody(const Source& source, Quillon::Layer& layer, Quillon::Sprite& sprite, Collision2D::CollisionActor* actor,
             const Settings& settings) {
  std::unique_ptr<Collision2D::DynamicObject> body(new (source.file, source.line) Collision2D::DynamicObject());
  body->AddCollisionData(actor, 0, 0);
  body->SetCollisionType(settings.shapes);
  body->SetCollisionThickness(settings.thickness);
  body->SetBoundingRectangleCheckingTileMap(true);
  body->SetZCollision(settings.zCollision);
  for (uint8_t z : settings.canCollide) body->SetCanCollid(z, true);
  body->SetUpdateOnIdle(settings.idle);
  // The object owns the body once the engine took it; a refused body would otherwise leak.
  if (sprite.AddCollision(body.get(), layer.GetCollisionLayerIndex())) body.release();
}

void AddRigidBody(const Source& source, Quillon::Sprite& sprite, const Settings& settings) {
  sprite.SetCenter(settings.center);
  sprite.AddPhysicalProperties(Physics2D::MassProperties(settings.mass, 0.0f, settings.center), 0);
  if (settings.gravity != 0.0f) {
    Core::SmartPointer<Physics2D::Force> gravity(new (source.file, source.line) Physics2D::GravityForce(
        Math::Vector2D(0.0f, -1.0f), settings.gravity));
    uint32_t forceId = 0;
    sprite.AddForce(gravity.Get(), forceId);
  }
  sprite.SetVelocity(Math::Vector2D(0.0f, 0.0f));
  sprite.SetAngularVelocity(0.0f);
}

Quillon::Sprite* BuildSprite(const Source& source, Quillon::Layer& layer, Collision2D::CollisionActor* actor,
                             const ObjectRow& row) {
  const Settings settings = Read(row.other);
  // The animations stay referenced until the sprite that uses them holds them.
  const auto held = MakeAnimations(source, row.look.animations);
  std::vector<Quillon::SpriteAnimation*> animations;
  for (const auto& animation : held) animations.push_back(animation.Get());
  Core::SmartPointer<Quillon::Sprite> sprite(row.type.sprite(source, animations));
  const bool client = IsNetworkClient();
  if (settings.body && !client) AddBody(source, layer, *sprite, actor, settings);
  sprite->SetName(row.name);
  sprite->SetCollisionActorIndex(row.actor);
  sprite->SetOpacity(settings.opacity);
  sprite->SetPlaying(settings.playing);
  sprite->SetPosition(Math::Vector2D(row.x, row.y));
  sprite->SetCurrentAnimationIndex(0, false);
  sprite->SetCurrentFrameIndex(0, false);
  sprite->SetLoop(settings.loop);
  sprite->SetAnimationSpeed(1.0f);
  sprite->SetFlipHorizontal(false);
  sprite->SetFlipVertical(false);
  sprite->SetLifeTime(0.0f);
  sprite->SetVisible(settings.visible);
  sprite->SetRotationAngle(settings.rotation);
  sprite->SetScale(settings.scaleX, settings.scaleY);
  sprite->SetCenter(settings.center);
  sprite->SetZOrder(row.z);
  if (settings.physics && !client) AddRigidBody(source, *sprite, settings);
  layer.AddGameObject(sprite.Get(), false, nullptr);
  return sprite.Get();
}

Quillon::Text* BuildText(const Source& source, Quillon::Layer& layer, const ObjectRow& row) {
  const Settings settings = Read(row.other);
  Core::SmartPointer<Quillon::Text> text(
      row.type.text(source, row.caption, FontPath(row.look.font != nullptr ? row.look.font : "")));
  text->SetName(row.name);
  text->SetPosition(Math::Vector2D(row.x, row.y));
  text->SetLifeTime(0.0f);
  text->SetVisible(settings.visible);
  text->SetRotationAngle(settings.rotation);
  text->SetScale(settings.scaleX, settings.scaleY);
  text->SetCenter(settings.center);
  text->SetOpacity(settings.opacity);
  text->SetZOrder(row.z);
  layer.AddGameObject(text.Get(), false, nullptr);
  return text.Get();
}

}  // namespace

std::vector<Other> Join(std::vector<Other> group, std::initializer_list<Other> own) {
  group.insert(group.end(), own.begin(), own.end());
  return group;
}

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

Quillon::GameObject* BuildObject(Quillon::Layer& layer, Collision2D::CollisionActor* actor, const Source& source,
                                 const ObjectRow& row) {
  if (row.type.sprite != nullptr) return BuildSprite(source, layer, actor, row);
  if (row.type.text != nullptr) return BuildText(source, layer, row);
  if (row.type.special != nullptr) {
    const Core::SmartPointer<Quillon::GameObject> object = row.type.special(source, row);
    if (object) layer.AddGameObject(object.Get(), false, nullptr);
    return object.Get();
  }
  return nullptr;
}

}  // namespace Content
