// Level 6, "GarLevel": the garage shop. Every object stands in "MenuLayer": the templates the shop
// clones its item labels from (left of the view), the set title and the player's record, the set
// arrows, the car preview carrying its gun, the special and AI-friend previews, the confirmation
// dialog and the pointer. The shop's logic (GarageLevelClass, G_MenuManager) finds them by name.
#include "content/Velkor_LevelRows.h"
#include "game/Velkor_G_MenuLabel.h"
#include "game/Velkor_GarageLevelClass.h"

namespace Content {

const LevelRows& Level6Rows() {
  static const LevelRows rows{
      "Velkor_MyLevelFactory_6_1", &NewLevel<GarageLevelClass>, 0.0f, 0.0f,
      {
          {"GarLevel_HUD", 0.0f, -640.0f, -360.0f, 1280, 720},
          {"MenuLayer", 16.0f, -1548.0f, -361.0f, 2188, 721,
           {
               // class, name, image / font, caption, actor, x, y, z, other
               {kText<>, "ItemText", "ItemText", "MyText", kNoActor, -1108, 147, 5.0f},
               {kText<>, "ItemText2", "ItemText2", "MyText", kNoActor, -1154, 149, 5.0f},
               {kText<>, "SelText", "ItemText2", "Selected", kNoActor, -1031, 106, 5.0f},
               {kText<>, "ItemTypeText", "BtnTxtBold", "MyText", kNoActor, -402, 239, 15.0f},
               {kText<>, "pDataTxt", "Agency_fb_25", "MyText", kNoActor, 198, 270, 15.1f},
               {kText<>, "backTxt", "BtnTxtBold", "BACK", kNoActor, 460, -335, 20.1f},
               {kText<>, "noTxt", "BtnTxtBold", "NO", kNoActor, 103, -62, 20.2f},
               {kText<>, "okTxt", "BtnTxtBold", "Okay", kNoActor, -13, -61, 20.2f},
               {kText<>, "DialogText", "BtnTxtBold", "Select this item?", kNoActor, -162, 58, 20.2f},
               {kText<>, "yesTxt", "BtnTxtBold", "YES", kNoActor, -117, -64, 20.2f},
               {kSprite<>, "BgSprite", {{"G_bg", 1, 1}}, "", 50, 0, 0, -1.0f},
               {kSprite<>, "Banner", {{"Banner", 1, 1}}, "", 51, -345, 264, 0.0f},
               // The template of the shop's item labels: frame 0 not owned, 1 owned, 2 equipped.
               {kSprite<G_MenuLabel>, "ItemLabel", {{"G_menu_n", 2, 2, 3}}, "", 52, -1170, 163, 10.0f,
                {Scale(1.15f, 1.0f), kStill, kOnce, kIdle}},
               // One animation per item set, named like the set, one frame per item.
               {kSprite<>, "ItemImage",
                {{"_____Armour_Set_____", 2, 2, 3},
                 {"______Gun_Set______", 2, 2, 3},
                 {"_____Special_Set____", 2, 1, 2},
                 {"_______AI_Set_______", 1, 1, 1}},
                "", 53, -1094, 46, 11.0f, {kStill, kOnce}},
               {kSprite<>, "MaskBg", {{"G_bgMAsk", 1, 1}}, "", 54, 0, 0, 12.0f},
               {kSprite<>, "RightItemBtn", {{"arrow", 1, 1}}, "", 55, -157, 262, 15.0f, {kIdle}},
               // Mirrored by its scale; both flip flags stay off.
               {kSprite<>, "LeftItemBtn", {{"arrow", 1, 1}}, "", 55, -532, 262, 15.0f, {Scale(-1.0f, 1.0f), kIdle}},
               {kSprite<>, "DemoArmour", {{"G_carDemo", 2, 2, 3}}, "", 56, 246, -180, 15.0f, {kStill, kOnce}},
               {kSprite<>, "BannerGearDist", {{"Banner", 1, 1}}, "", 51, 326, 268, 15.0f, {Scale(0.7f, 0.8f)}},
               {kSprite<>, "StageImg", {{"CarStand", 1, 1}}, "", 57, 252, -258, 15.0f},
               {kSprite<>, "DemoGun", {{"G_gunDemo", 2, 2, 3}}, "", 58, 452, -165, 15.2f,
                {Scale(0.25f, 0.25f), kStill, kOnce}},
               {kSprite<>, "hudGar", {{"hudGar", 1, 1}}, "", 59, 473, 143, 19.0f, {Scale(1.5f, 1.0f), kStill, kOnce}},
               {kSprite<>, "DemoSpkAtk", {{"_____Special_Set____", 2, 1, 2}}, "", 60, 402, 148, 19.1f,
                {Scale(0.8f, 0.8f), kStill, kOnce, kHidden}},
               {kSprite<>, "DemoAiFriend", {{"_______AI_Set_______", 1, 1}}, "", 61, 546, 142, 19.1f,
                {Scale(0.9f, 0.9f), kStill, kOnce, kHidden}},
               {kSprite<>, "backBtn", {{"BlueBtn", 1, 1}}, "", 23, 493, -313, 20.0f, {kIdle}},
               {kSprite<>, "DialogBox", {{"G_diagBox", 1, 1}}, "", 62, 16, 20, 20.0f, {Scale(1.0f, 0.9f)}},
               {kSprite<>, "YesBtn", {{"G_GreenBtn", 1, 1}}, "", 63, -87, -41, 20.1f, {kIdle}},
               {kSprite<>, "OkBtn", {{"G_GreenBtn", 1, 1}}, "", 63, 17, -41, 20.1f, {kIdle}},
               {kSprite<>, "NoBtn", {{"G_RedBtn", 1, 1}}, "", 64, 122, -41, 20.1f, {kIdle}},
               {kSprite<>, "MousePointer", {{"MousePoint", 1, 1}}, "", 30, -43, -13, 50.0f, {kIdle}},
           }},
          {"layer2", 869.117f, -640.0f, -360.0f, 1280, 720},
      },
      // The car preview carries its gun as it bobs.
      {{"DemoArmour", "DemoGun"}}};
  return rows;
}

}  // namespace Content
