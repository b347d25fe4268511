// Level 4, "CreditLevel": the credits picture, one button back to the main menu and a pointer.
#include "content/Velkor_LevelRows.h"
#include "game/Velkor_CreditsLevel.h"

namespace Content {

const LevelRows& Level4Rows() {
  static const LevelRows rows{
      "Velkor_MyLevelFactory_4_1", &NewLevel<CreditsLevel>, 0.0f, 0.0f,
      {
          {"CreditLevel_HUD", 0.0f, -640.0f, -360.0f, 1280, 720},
          {"layer1", 0.0f, -640.0f, -360.0f, 1280, 720,
           {
               // class, name, image / font, caption, actor, x, y, z, other
               {kText<>, "MainMenuTxt", "BtnText", "Main Menu", kNoActor, 454, -322, 1.0f},
               {kSprite<>, "sprite0", {{"BG", 1, 1}}, "", 33, 0, 0, -1.0f},
               {kSprite<>, "CreditPic", {{"CreditsPic", 1, 1}}, "", 34, 0, 0, 0.0f},
               {kSprite<>, "MainMenuBtn", {{"BlueBtn", 1, 1}}, "", 23, 505, -303, 0.0f, {kIdle}},
               {kSprite<>, "MousePt", {{"MousePoint", 1, 1}}, "", 30, 358, -344, 30.2f,
                {kShapes, Thickness(25.0f), kIdle}},
           }},
          {"layer2", 869.117f, -640.0f, -360.0f, 1280, 720},
      }};
  return rows;
}

}  // namespace Content
