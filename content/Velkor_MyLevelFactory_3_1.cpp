// Level 3, "InstructionLevel": three instruction pages, three buttons with captions and a pointer.
#include "content/Velkor_LevelRows.h"
#include "game/Velkor_InstructionLevel.h"

namespace Content {

const LevelRows& Level3Rows() {
  // The buttons are tested while they stand still: the pointer moves, they do not. The pages are
  // one frame each, turned by the screen.
  static const LevelRows rows{
      "Velkor_MyLevelFactory_3_1", &NewLevel<InstructionLevel>, 0.0f, 0.0f,
      {
          {"InstructionLevel_HUD", 0.0f, -400.0f, -300.0f, 800, 600},
          {"layer1", 0.0f, -693.0f, -522.0f, 1409, 1002,
           {
               // class, name, image / font, caption, actor, x, y, z, other
               {kText<>, "prevTxt", "BtnText", "Previous", kNoActor, -462, -291, 1.0f},
               {kText<>, "homeTxt", "BtnText", "Main Menu", kNoActor, -31, -291, 1.0f},
               {kText<>, "nextTxt", "BtnText", "Next", kNoActor, 414, -291, 1.0f},
               {kSprite<>, "sprite0", {{"InstBg", 1, 1}}, "", 31, 0, 0, -2.0f},
               {kSprite<>, "prevBtn", {{"BlueBtn", 1, 1}}, "", 23, -418, -270, 0.0f, {kIdle}},
               {kSprite<>, "homeBtn", {{"BlueBtn", 1, 1}}, "", 23, 21, -271, 0.0f, {kIdle}},
               {kSprite<>, "nextBtn", {{"BlueBtn", 1, 1}}, "", 23, 436, -272, 0.0f, {kIdle}},
               {kSprite<>, "InstPages", {{"InstPagess", 1, 3, 3}}, "", 32, 9, -55, 0.0f, {kStill, kOnce}},
               {kSprite<>, "MousePt", {{"MousePoint", 1, 1}}, "", 30, -677, -155, 1.0f,
                {kShapes, Thickness(25.0f), kIdle}},
           }},
          {"layer2", 869.117f, -400.0f, -300.0f, 800, 600},
      }};
  return rows;
}

}  // namespace Content
