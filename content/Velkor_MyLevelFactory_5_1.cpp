// Level 5, "Tutorial": the playable lesson before the first run. Every object is a plain sprite
// that the lesson finds by name every frame; the contact rules of the lesson match those names.
#include "content/Velkor_LevelRows.h"
#include "game/Velkor_Tutorial.h"

namespace Content {

const LevelRows& Level5Rows() {
  // The practice pieces and the platforms are shape-tested even while they stand still; their
  // bodies have mass 0, so contacts do not move them. Only the car and the civilian can be moved,
  // and only the car falls.
  const std::vector<Other> piece{kShapes, kIdle, Mass(0.0f)};
  const std::vector<Other> stillPiece{kShapes, kIdle, kStill, Mass(0.0f)};
  static const LevelRows rows{
      "Velkor_MyLevelFactory_5_1", &NewLevel<Tutorial>, 0.0f, 0.0f,
      {
          {"Tutorial_HUD", 0.0f, -640.0f, -360.0f, 1280, 720},
          {"layer1", 0.0f, -1126.0f, -480.0f, 8367, 960,
           {
               // class, name, image / font, caption, actor, x, y, z, other
               {kSprite<>, "background", {{"Animation13", 1, 1}}, "", 35, 0, 0, 0.0f},
               {kSprite<>, "health", {{"HealthPot0", 1, 1}}, "", 36, 4540, -268, 0.0f, piece},
               {kSprite<>, "save", {{"Civil0", 2, 2, 3, 0.1f}}, "", 37, 5606, -263, 0.0f,
                {kShapes, kIdle, kStill, Mass(1.0f)}},
               {kSprite<>, "pup", {{"Animation17", 1, 1}}, "", 38, 3386, -269, 0.0f, piece},
               {kSprite<>, "title", {{"Animation14", 2, 1, 2}}, "", 39, 0, 280, 0.0f},
               {kSprite<>, "shield", {{"Animation18", 1, 1}}, "", 40, -485, -275, 0.0f, {Scale(0.297f, 0.258f)}},
               {kSprite<>, "healthtxt", {{"Animation20", 2, 2, 3}}, "", 41, -483, -194, 0.0f, {kStill}},
               {kSprite<>, "complete", {{"Animation21", 1, 1}}, "", 42, 0, 197, 0.0f},
               {kSprite<>, "tBtn", {{"Animation22", 2, 1, 2}}, "", 43, 478, 297, 0.0f, {kStill}},
               {kSprite<>, "platform4", {{"Platform_float0", 1, 1}}, "", 44, 6240, -315, 0.1f, piece},
               {kSprite<>, "platform2", {{"Platform_float0", 1, 1}}, "", 44, 2426, -315, 0.1f, piece},
               {kSprite<>, "words", {{"Animation15", 2, 5, 9}}, "", 45, 0, 30, 0.1f, {kStill}},
               {kSprite<>, "platform3", {{"Platform_float0", 1, 1}}, "", 44, 4333, -315, 0.1f, piece},
               {kSprite<>, "platform1", {{"Platform_float0", 1, 1}}, "", 44, 334, -315, 0.1f, piece},
               {kSprite<>, "charbullet", {{"charBullet0", 2, 1, 2}}, "", 46, -398, -284, 0.6f, stillPiece},
               {kSprite<>, "alienbullet", {{"Animation19", 1, 1}}, "", 47, 3377, -282, 0.6f, piece},
               {kSprite<>, "player", {{"Car0", 2, 1, 2}}, "", 48, -480, -287, 0.6f,
                {kShapes, kIdle, kStill, Mass(1.0f), Gravity(9.8f)}},
               {kSprite<>, "alien", {{"Animation16", 1, 1}}, "", 49, 3380, -268, 0.6f, piece},
               {kSprite<>, "LoadingScreen", {{"LoadingScreen", 1, 1}}, "", 26, 0, 0, 10.0f,
                {kHidden, Scale(1.6f, 1.6f)}},
               {kSprite<>, "pointer", {{"MousePoint", 1, 1}}, "", 30, 533, 33, 30.2f,
                {kShapes, Thickness(25.0f), kIdle}},
           }},
          {"layer2", 869.117f, -640.0f, -360.0f, 1280, 720},
      }};
  return rows;
}

}  // namespace Content
