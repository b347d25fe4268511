// Level 8, "GameOverLevel": the results screen; the figures of the run beside their captions,
// three buttons with captions and a pointer.
#include "content/Velkor_LevelRows.h"
#include "game/Velkor_GameOverLevel.h"

namespace Content {

const LevelRows& Level8Rows() {
  static const LevelRows rows{
      "Velkor_MyLevelFactory_8_1", &NewLevel<GameOverLevel>, 0.0f, 0.0f,
      {
          {"GameOverLevel_HUD", 0.0f, -400.0f, -300.0f, 800, 600},
          {"layer1", 0.0f, -640.0f, -600.0f, 1280, 1080,
           {
               // class, name, image / font, caption, actor, x, y, z, other
               // The screen writes the run's figures over the placeholder as it starts.
               {kText<>, "ResTxt", "ItemText", "MyText", kNoActor, 24, -20, 0.0f},
               {kText<>, "CatTxt", "ItemText",
                "Longest Distance:\nCurrent Distance:\n\nTotal Gear Earned:\nGear from this level:\n\n"
                "Highest UFO Level:\nCurrent UFO Level:",
                kNoActor, -254, -20, 0.0f},
               {kText<>, "pgTxt", "BtnText", "Play Again", kNoActor, -44, -337, 1.0f},
               {kText<>, "mmTxt", "BtnText", "Main Menu", kNoActor, 179, -337, 1.0f},
               {kText<>, "garTxt", "BtnText", "Garage", kNoActor, -256, -336, 1.0f},
               {kSprite<>, "bg1", {{"BG", 1, 1}}, "", 33, 0, 0, -0.5f},
               {kSprite<>, "bg2", {{"GameOverScn", 1, 1}}, "", 104, 0, 0, -0.4f, {Scale(0.8f, 0.8f)}},
               {kSprite<>, "mmBtn", {{"BlueBtn", 1, 1}}, "", 23, 230, -319, 0.0f},
               {kSprite<>, "pgBtn", {{"BlueBtn", 1, 1}}, "", 23, 7, -319, 0.0f},
               {kSprite<>, "garBtn", {{"BlueBtn", 1, 1}}, "", 23, -223, -318, 0.0f},
               {kSprite<>, "MousePt", {{"MousePoint", 1, 1}}, "", 30, 232, -15, 5.0f,
                {kShapes, Thickness(25.0f), kIdle}},
           }},
          {"layer2", 869.117f, -400.0f, -300.0f, 800, 600},
      }};
  return rows;
}

}  // namespace Content
