// Level 0, "Logos": a backdrop and three centred logos that the logo screen fades in turn.
#include "content/Velkor_LevelRows.h"
#include "game/Velkor_LogoClass.h"

namespace Content {

const LevelRows& Level0Rows() {
  static const LevelRows rows{
      "Velkor_MyLevelFactory_0_1", &NewLevel<LogoClass>, 0.0f, 0.0f,
      {
          {"Logos_HUD", 0.0f, -640.0f, -360.0f, 1280, 720},
          {"layer1", 0.0f, -643.0f, -362.0f, 1286, 723,
           {
               // class, name, image / font, caption, actor, x, y, z, other
               {kSprite<>, "back", {{"back", 1, 1}}, "", 0, 0, 0, -1.0f},
               {kSprite<>, "QlnLogo", {{"qln", 1, 1}}, "", 1, 0, 0, 0.0f, {Scale(1.6f, 1.6f)}},
               {kSprite<>, "StudioLogo", {{"studio", 1, 1}}, "", 2, 0, 0, 0.0f},
               {kSprite<>, "TeamLogo", {{"Logo", 1, 1}}, "", 3, 0, 0, 0.0f},
           }},
          {"layer2", 869.117f, -640.0f, -360.0f, 1280, 720},
      }};
  return rows;
}

}  // namespace Content
