#pragma once
// Level content as rows. A level is one table: its class, its camera position, its layers in slot
// order, and the mounts made once every layer is built. A layer is one row of its own (name, z
// order, collision grid) and the rows of its objects, built in table order. One object row has the
// columns of the content tables:
//
//   class        kSprite<T> (T built from its animation list; Quillon::Sprite by default) or
//                kText<T> (T built from caption and font path; Quillon::Text by default), or
//                kSpecial(function) for an object with steps of its own (a particle system)
//   name         the name the game looks the object up by, case included
//   image / font sprites: {{stem, columns, rows, frames, delay}, ...}, one entry per animation,
//                frames and delay defaulting to 1 frame of 1.0 s; texts: the font's name
//   caption      texts: the caption ("" for sprites)
//   actor        the collision actor slot, also the sprite's collision actor index (kNoActor
//                for texts)
//   x, y, z      position and z order
//   other        what differs from the recipe, in any order: kStill (not playing), kOnce (no
//                loop), kHidden, Opacity(o), Scale(x, y), Rotation(degrees), Center(x, y);
//                collision: kShapes (shape tests instead of the bounding rectangle), Thickness(t),
//                ZCollision(z), CanCollide(z) (one per level, in order; together they replace the
//                recipe's single entry for 0), kNoCanCollide (no entry at all), kIdle (tested
//                while standing still), kNoBody (no collision object in any game mode); physics:
//                Mass(m) (a rigid body of that mass, centred on the row's centre, at rest),
//                Gravity(g) (with Mass: a force of mass x g pointing down)
//
// Example, a button plate and its caption:
//   {kSprite<>, "PlayBtn", {{"RedBtn", 1, 1}}, "", 22, 0, 147, 0.0f, {kIdle}},
//   {kText<>, "PlayTxt", "BtnText", "P l a y", kNoActor, -64, 111, 1.0f},
//
// The sprite recipe: collision object (unless a network client or kNoBody), then name, actor index,
// opacity, playing, position, animation 0, frame 0, loop, speed 1, no flips, unlimited life,
// visibility, rotation, scale, centre, z order, the rigid body (unless a network client), and the
// object is added to its layer. The text recipe: name, position, unlimited life, visibility,
// rotation, scale, centre, opacity, z order, added to its layer. The builder is
// MyLevelFactory::BuildLevel; the level's file defines Content::Level<N>Rows() and the factory's level
// table names it.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "framework/Quillon_Level.h"
#include "framework/Quillon_Sprite.h"
#include "framework/Quillon_SpriteAnimation.h"
#include "framework/Quillon_Text.h"

namespace Collision2D {
class CollisionActor;
}
namespace Quillon {
class Layer;
}

namespace Content {

// Where an allocation comes from, for the tracked allocator: the level's file and the object's row.
struct Source {
  const char* file;
  int line;
};

struct ObjectRow;
struct LayerRows;

// The class column: exactly one of the three creators is set.
struct ClassColumn {
  Quillon::Sprite* (*sprite)(const Source& source, const std::vector<Quillon::SpriteAnimation*>& animations);
  Quillon::Text* (*text)(const Source& source, const std::string& caption, const std::string& fontPath);
  // Builds, names and places the whole object; the builder only adds it to the layer.
  Core::SmartPointer<Quillon::GameObject> (*special)(const Source& source, const ObjectRow& row);
};

template <typename T>
Quillon::Sprite* NewSprite(const Source& source, const std::vector<Quillon::SpriteAnimation*>& animations) {
  return new (source.file, source.line) T(animations);
}
template <typename T>
Quillon::Text* NewText(const Source& source, const std::string& caption, const std::string& fontPath) {
  return new (source.file, source.line) T(caption, fontPath);
}
template <typename T = Quillon::Sprite>
constexpr ClassColumn kSprite{&NewSprite<T>, nullptr, nullptr};
template <typename T = Quillon::Text>
constexpr ClassColumn kText{nullptr, &NewText<T>, nullptr};
constexpr ClassColumn kSpecial(Core::SmartPointer<Quillon::GameObject> (*build)(const Source&, const ObjectRow&)) {
  return ClassColumn{nullptr, nullptr, build};
}

// One animation: an image under the animation folder cut into columns x rows, frames of one delay.
struct AnimationRow {
  const char* stem;
  uint32_t columns;
  uint32_t rows;
  uint32_t frames = 1;
  float delay = 1.0f;
};

// The image / font column.
struct Look {
  Look(std::initializer_list<AnimationRow> list) : animations(list) {}
  Look(const char* fontName) : font(fontName) {}  // NOLINT: a row writes the font's name alone
  std::vector<AnimationRow> animations;
  const char* font = nullptr;
};

enum class Setting : uint8_t {
  Still,
  Once,
  Hidden,
  Opacity,
  Scale,
  Rotation,
  Center,
  Shapes,
  Thickness,
  ZCollision,
  CanCollide,
  NoCanCollide,
  Idle,
  NoBody,
  Mass,
  Gravity,
};

// One entry of the other column.
struct Other {
  Setting setting;
  float a = 0.0f;
  float b = 0.0f;
};

constexpr Other kStill{Setting::Still};
constexpr Other kOnce{Setting::Once};
constexpr Other kHidden{Setting::Hidden};
constexpr Other kShapes{Setting::Shapes};
constexpr Other kNoCanCollide{Setting::NoCanCollide};
constexpr Other kIdle{Setting::Idle};
constexpr Other kNoBody{Setting::NoBody};
constexpr Other Opacity(float opacity) { return {Setting::Opacity, opacity}; }
constexpr Other Scale(float x, float y) { return {Setting::Scale, x, y}; }
constexpr Other Rotation(float degrees) { return {Setting::Rotation, degrees}; }
constexpr Other Center(float x, float y) { return {Setting::Center, x, y}; }
constexpr Other Thickness(float thickness) { return {Setting::Thickness, thickness}; }
constexpr Other ZCollision(uint8_t z) { return {Setting::ZCollision, static_cast<float>(z)}; }
constexpr Other CanCollide(uint8_t z) { return {Setting::CanCollide, static_cast<float>(z)}; }
constexpr Other Mass(float mass) { return {Setting::Mass, mass}; }
constexpr Other Gravity(float magnitude) { return {Setting::Gravity, magnitude}; }

// One other column made of a shared group of settings and the row's own.
std::vector<Other> Join(std::vector<Other> group, std::initializer_list<Other> own);

constexpr int32_t kNoActor = -1;

struct ObjectRow {
  ClassColumn type;
  const char* name;
  Look look;
  const char* caption;
  int32_t actor;
  float x;
  float y;
  float z;
  std::vector<Other> other = {};
};

// A layer: its name, z order and collision grid (origin, width x height, cells of 100), then its
// objects in creation order.
struct LayerRows {
  const char* name;
  float z;
  float originX;
  float originY;
  uint32_t width;
  uint32_t height;
  std::vector<ObjectRow> objects = {};
};

// Mounted once every layer is built: the carrier takes the carried object along.
struct MountRow {
  const char* carrier;
  const char* carried;
};

template <typename T>
Quillon::Level* NewLevel(const Source& source) {
  return new (source.file, source.line) T();
}

struct LevelRows {
  const char* source;
  Quillon::Level* (*level)(const Source& source);
  float cameraX;
  float cameraY;
  std::vector<LayerRows> layers;
  std::vector<MountRow> mounts = {};
};

// The tables of the levels; each is made once, on first use.
const LevelRows& Level0Rows();
const LevelRows& Level1Rows();
const LevelRows& Level2Rows();
const LevelRows& Level3Rows();
const LevelRows& Level4Rows();
const LevelRows& Level5Rows();
const LevelRows& Level6Rows();
const LevelRows& Level7Rows();
const LevelRows& Level8Rows();
// Level 7's object layer, in a file of its own.
const std::vector<ObjectRow>& Level7ObjectRows();

// The game directory followed by "\Resources\Animations\<stem>.png" and by
// "\Resources\Fonts\<font>\<font>".
std::string AnimationPath(const char* stem);
std::string FontPath(const char* font);

// A network client builds its objects without collision bodies and rigid bodies (the server decides
// contacts and motion).
bool IsNetworkClient();

// Builds one object row into the layer, a sprite's body on the collision actor the row names
// (given by the level's builder, null when it has none); the object, or null when the row names no
// class.
Quillon::GameObject* BuildObject(Quillon::Layer& layer, Collision2D::CollisionActor* actor, const Source& source,
                                 const ObjectRow& row);

}  // namespace Content
