// Level 2, "MainOptionLevel": the main menu's backdrop, six buttons with captions, the scrolling
// platforms and the bobbing car, the loading screen, the options overlay and the pointer. The
// overlay's members stand around (1000, -628), away from the menu, until the overlay opens.
#include "content/Velkor_LevelRows.h"
#include "game/Velkor_MainMenuClass.h"
#include "game/Velkor_OptionMenu_M.h"

namespace Content {

const LevelRows& Level2Rows() {
  // Buttons and check boxes are tested while they stand still: the pointer moves, they do not.
  // A check box's frame is chosen by the screen: stopped, no loop.
  static const LevelRows rows{
      "Velkor_MyLevelFactory_2_1", &NewLevel<MainMenuClass>, 0.0f, 0.0f,
      {
          {"MainOptionLevel_HUD", 0.0f, -400.0f, -300.0f, 800, 600},
          {"layer1", 0.0f, -672.0f, -878.0f, 2624, 1380,
           {
               // class, name, image / font, caption, actor, x, y, z, other
               {kText<>, "GarageTxt", "BtnText", "Garage", kNoActor, -170, -45, 1.0f},
               {kText<>, "OptionTxt", "BtnText", "Option", kNoActor, 104, 46.399994f, 1.0f},
               {kText<>, "PlayTxt", "BigBtnText", "P l a y", kNoActor, -64, 111, 1.0f},
               {kText<>, "CreditTxt", "BtnText", "Credits", kNoActor, 102, -50, 1.0f},
               {kText<>, "InstructionTxt", "BtnText", "Instruction", kNoActor, -187, 42, 1.0f},
               {kText<>, "ExitTxt", "BtnText", "Exit", kNoActor, -13, -144, 1.0f},
               {kText<>, "opTxt2", "BlueTxt", "Game Sound", kNoActor, 813, -545, 30.1f},
               {kText<>, "opTxt3", "BlueTxt", "Full Screen", kNoActor, 813, -619, 30.1f},
               {kText<>, "opTxt1", "BlueTxt", "Background Music", kNoActor, 816, -468, 30.1f},
               {kText<>, "opBtnTxt2", "BlueTxt", "Main Menu", kNoActor, 944, -847, 30.2f},
               {kSprite<>, "MenuBG", {{"MenuBg", 1, 1}}, "", 19, 0, -120, -1.1f, {Scale(1.6f, 1.6f)}},
               {kSprite<>, "MenuBuilding", {{"MenuBuilding", 1, 1}}, "", 20, -1, 22, -1.0f, {Scale(1.6f, 1.6f)}},
               {kSprite<>, "Dimmer", {{"Dimmer", 1, 1}}, "", 21, 0, 0, 0.0f, {Opacity(0.4f)}},
               {kSprite<>, "PlayBtn", {{"RedBtn", 1, 1}}, "", 22, 0, 147, 0.0f, {kIdle}},
               {kSprite<>, "InstructionBtn", {{"BlueBtn", 1, 1}}, "", 23, -131, 61, 0.0f, {kIdle}},
               {kSprite<>, "GarageBtn", {{"BlueBtn", 1, 1}}, "", 23, -133, -30, 0.0f, {kIdle}},
               {kSprite<>, "OptionBtn", {{"BlueBtn", 1, 1}}, "", 23, 135, 61, 0.0f, {kIdle}},
               {kSprite<>, "CreditBtn", {{"BlueBtn", 1, 1}}, "", 23, 137, -32, 0.0f, {kIdle}},
               {kSprite<>, "ExitBtn", {{"BlueBtn", 1, 1}}, "", 23, 3, -129, 0.0f, {kIdle}},
               {kSprite<>, "MenuPlatform2", {{"MenuPlatform", 1, 1}}, "", 24, 1280, -230, 0.1f,
                {Scale(1.05f, 1.0f)}},
               {kSprite<>, "MenuPlatform1", {{"MenuPlatform", 1, 1}}, "", 24, 0, -230, 0.1f, {Scale(1.05f, 1.0f)}},
               // Three frames on a 2 x 2 sheet; the menu moves the car through its rigid body.
               {kSprite<>, "MenuCar", {{"Car", 2, 2, 3}}, "", 25, -293, -163, 0.1f, {kStill, kOnce, Mass(1.0f)}},
               {kSprite<>, "LoadingScreen", {{"LoadingScreen", 1, 1}}, "", 26, 0, 0, 10.0f, {Scale(1.6f, 1.6f)}},
               {kSprite<OptionMenu_M>, "OptionMenuSprite", {{"Op_bg", 1, 1}}, "", 27, 1000, -628, 30.0f,
                {Scale(10.0f, 10.0f)}},
               {kSprite<>, "Op_MmBtn", {{"BlueBtn", 1, 1}}, "", 23, 1011, -825, 30.1f, {kIdle}},
               {kSprite<>, "Op_fsCheckBox", {{"Op_CheckBox", 2, 1, 2}}, "", 28, 1166, -596, 30.1f,
                {kStill, kOnce, kIdle}},
               {kSprite<>, "Op_SoundChkBox", {{"Op_SoundMuter", 2, 1, 2}}, "", 29, 1170, -521, 30.1f,
                {kStill, kOnce, kIdle}},
               {kSprite<>, "Op_BgmChkBox", {{"Op_SoundMuter", 2, 1, 2}}, "", 29, 1170, -449, 30.1f,
                {kStill, kOnce, kIdle}},
               {kSprite<>, "MousePt", {{"MousePoint", 1, 1}}, "", 30, 291, -85, 30.2f,
                {kShapes, Thickness(25.0f), kIdle}},
           }},
          {"layer2", 869.117f, -400.0f, -300.0f, 800, 600},
      }};
  return rows;
}

}  // namespace Content
