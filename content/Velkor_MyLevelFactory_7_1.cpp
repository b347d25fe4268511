// Level 7, "GameLevel": the run itself. This file holds the level's table and its scrolling
// background; the objects of the run are in Velkor_MyLevelFactory_7_2.
#include "content/Velkor_LevelRows.h"
#include "game/Velkor_GameLevelClass.h"

namespace Content {

const LevelRows& Level7Rows() {
  // The parallax background finds these by name: the sky and the dimmer follow the camera, the two
  // bands scroll as pairs of tiles 1920 apart, and "Buildings" is the archetype of the skyline's
  // clones (it stays where it is, showing frame 0).
  static const LevelRows rows{
      "Velkor_MyLevelFactory_7_1", &NewLevel<GameLevelClass>, 400.0f, 300.0f,
      {
          {"GameLevel_HUD", 0.0f, -400.0f, -300.0f, 800, 600},
          {"ParallaxLayer", 0.001f, -960.0f, -1567.0f, 3936, 2807,
           {
               // class, name, image / font, caption, actor, x, y, z, other
               {kSprite<>, "bgMain", {{"backgroundMain", 1, 1}}, "", 65, 0, 700, 0.0f},
               {kSprite<>, "bgLayer3", {{"layer3", 1, 1}}, "", 66, 0, 500, 0.0f},
               {kSprite<>, "bgLayer3_2", {{"layer3", 1, 1}}, "", 66, 1920, 500, 0.0f, {Scale(1.1f, 1.0f)}},
               {kSprite<>, "bgLayer2", {{"layer2", 1, 1}}, "", 67, 0, 400, 0.0f},
               {kSprite<>, "bgLayer2_2", {{"layer2", 1, 1}}, "", 67, 1920, 400, 0.0f},
               {kSprite<>, "Buildings", {{"buildings", 3, 2, 5}}, "", 68, -641, -1167, 0.0f,
                {kStill, kOnce, Scale(0.6f, 0.6f)}},
               {kSprite<>, "DimmerSprite", {{"Dimmer", 1, 1}}, "", 21, 0, 300, 0.2f, {Opacity(0.4f)}},
           }},
          {"GameLevelObjects", 0.31f, -2668.0f, -1768.0f, 5510, 2997, Level7ObjectRows()},
          {"layer3", 869.427f, -400.0f, -300.0f, 816, 616},
      },
      {{"WarningSign", "WarningTxt"}, {"Player", "particleSystem0"}}};
  return rows;
}

}  // namespace Content
