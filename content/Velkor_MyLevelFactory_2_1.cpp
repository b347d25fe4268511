// Level 2, "MainOptionLevel": the main menu's backdrop, six buttons with captions, the scrolling
// platforms and the bobbing car, the loading screen, the options overlay and the pointer. The
// overlay's members stand around (1000, -628), away from the menu, until the overlay opens.
#include "content/Velkor_LevelObjects.h"
#include "content/Velkor_MyLevelFactory.h"
#include "content/Velkor_ObjectRecipes.h"
#include "game/Velkor_MainMenuClass.h"
#include "game/Velkor_OptionMenu_M.h"

namespace {

constexpr const char* kSource = "Velkor_MyLevelFactory_2_1";
using Content::Source;

Quillon::Text* g_garageTxt = nullptr;
Quillon::Text* g_optionTxt = nullptr;
Quillon::Text* g_playTxt = nullptr;
Quillon::Text* g_creditTxt = nullptr;
Quillon::Text* g_instructionTxt = nullptr;
Quillon::Text* g_exitTxt = nullptr;
Quillon::Text* g_opTxt2 = nullptr;
Quillon::Text* g_opTxt3 = nullptr;
Quillon::Text* g_opTxt1 = nullptr;
Quillon::Text* g_opBtnTxt2 = nullptr;
Quillon::Sprite* g_menuBG = nullptr;
Quillon::Sprite* g_menuBuilding = nullptr;
Quillon::Sprite* g_dimmer = nullptr;
Quillon::Sprite* g_playBtn = nullptr;
Quillon::Sprite* g_instructionBtn = nullptr;
Quillon::Sprite* g_garageBtn = nullptr;
Quillon::Sprite* g_optionBtn = nullptr;
Quillon::Sprite* g_creditBtn = nullptr;
Quillon::Sprite* g_exitBtn = nullptr;
Quillon::Sprite* g_menuPlatform2 = nullptr;
Quillon::Sprite* g_menuPlatform1 = nullptr;
Quillon::Sprite* g_menuCar = nullptr;
Quillon::Sprite* g_loadingScreen = nullptr;
OptionMenu_M* g_optionMenuSprite = nullptr;
Quillon::Sprite* g_opMmBtn = nullptr;
Quillon::Sprite* g_opFsCheckBox = nullptr;
Quillon::Sprite* g_opSoundChkBox = nullptr;
Quillon::Sprite* g_opBgmChkBox = nullptr;
Quillon::Sprite* g_mousePt = nullptr;

// Buttons and check boxes are tested while they stand still: the pointer moves, they do not.
Content::CollisionSpec IdleTested() {
  Content::CollisionSpec collision;
  collision.updateOnIdle = true;
  return collision;
}

// A sprite whose frame the screen chooses: stopped, no loop.
Content::SpriteSpec Stopped(const char* name, int32_t actor, float x, float y, float z) {
  Content::SpriteSpec spec{name, actor, Math::Vector2D(x, y), z};
  spec.playing = false;
  spec.loop = false;
  return spec;
}

Content::SpriteSpec Scaled(const char* name, int32_t actor, float x, float y, float z, float sx, float sy) {
  Content::SpriteSpec spec{name, actor, Math::Vector2D(x, y), z};
  spec.scaleX = sx;
  spec.scaleY = sy;
  return spec;
}

void BuildGarageTxt(MyLevelFactory* factory) {
  Content::BuildText(*factory, Source{kSource, __LINE__}, 1, g_garageTxt,
                     {"GarageTxt", "Garage", "BtnText", Math::Vector2D(-170.0f, -45.0f), 1.0f});
}

void BuildOptionTxt(MyLevelFactory* factory) {
  Content::BuildText(*factory, Source{kSource, __LINE__}, 1, g_optionTxt,
                     {"OptionTxt", "Option", "BtnText", Math::Vector2D(104.0f, 46.399994f), 1.0f});
}

void BuildPlayTxt(MyLevelFactory* factory) {
  Content::BuildText(*factory, Source{kSource, __LINE__}, 1, g_playTxt,
                     {"PlayTxt", "P l a y", "BigBtnText", Math::Vector2D(-64.0f, 111.0f), 1.0f});
}

void BuildCreditTxt(MyLevelFactory* factory) {
  Content::BuildText(*factory, Source{kSource, __LINE__}, 1, g_creditTxt,
                     {"CreditTxt", "Credits", "BtnText", Math::Vector2D(102.0f, -50.0f), 1.0f});
}

void BuildInstructionTxt(MyLevelFactory* factory) {
  Content::BuildText(*factory, Source{kSource, __LINE__}, 1, g_instructionTxt,
                     {"InstructionTxt", "Instruction", "BtnText", Math::Vector2D(-187.0f, 42.0f), 1.0f});
}

void BuildExitTxt(MyLevelFactory* factory) {
  Content::BuildText(*factory, Source{kSource, __LINE__}, 1, g_exitTxt,
                     {"ExitTxt", "Exit", "BtnText", Math::Vector2D(-13.0f, -144.0f), 1.0f});
}

void BuildOpTxt2(MyLevelFactory* factory) {
  Content::BuildText(*factory, Source{kSource, __LINE__}, 1, g_opTxt2,
                     {"opTxt2", "Game Sound", "BlueTxt", Math::Vector2D(813.0f, -545.0f), 30.1f});
}

void BuildOpTxt3(MyLevelFactory* factory) {
  Content::BuildText(*factory, Source{kSource, __LINE__}, 1, g_opTxt3,
                     {"opTxt3", "Full Screen", "BlueTxt", Math::Vector2D(813.0f, -619.0f), 30.1f});
}

void BuildOpTxt1(MyLevelFactory* factory) {
  Content::BuildText(*factory, Source{kSource, __LINE__}, 1, g_opTxt1,
                     {"opTxt1", "Background Music", "BlueTxt", Math::Vector2D(816.0f, -468.0f), 30.1f});
}

void BuildOpBtnTxt2(MyLevelFactory* factory) {
  Content::BuildText(*factory, Source{kSource, __LINE__}, 1, g_opBtnTxt2,
                     {"opBtnTxt2", "Main Menu", "BlueTxt", Math::Vector2D(944.0f, -847.0f), 30.2f});
}

void BuildMenuBG(MyLevelFactory* factory) {
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_menuBG, {{"MenuBg", 1, 1, {1.0f}}},
                       Scaled("MenuBG", 19, 0.0f, -120.0f, -1.1f, 1.6f, 1.6f));
}

void BuildMenuBuilding(MyLevelFactory* factory) {
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_menuBuilding, {{"MenuBuilding", 1, 1, {1.0f}}},
                       Scaled("MenuBuilding", 20, -1.0f, 22.0f, -1.0f, 1.6f, 1.6f));
}

void BuildDimmer(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"Dimmer", 21, Math::Vector2D(0.0f, 0.0f), 0.0f};
  spec.opacity = 0.4f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_dimmer, {{"Dimmer", 1, 1, {1.0f}}}, spec);
}

void BuildPlayBtn(MyLevelFactory* factory) {
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_playBtn, {{"RedBtn", 1, 1, {1.0f}}},
                       {"PlayBtn", 22, Math::Vector2D(0.0f, 147.0f), 0.0f}, IdleTested());
}

void BuildInstructionBtn(MyLevelFactory* factory) {
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_instructionBtn, {{"BlueBtn", 1, 1, {1.0f}}},
                       {"InstructionBtn", 23, Math::Vector2D(-131.0f, 61.0f), 0.0f}, IdleTested());
}

void BuildGarageBtn(MyLevelFactory* factory) {
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_garageBtn, {{"BlueBtn", 1, 1, {1.0f}}},
                       {"GarageBtn", 23, Math::Vector2D(-133.0f, -30.0f), 0.0f}, IdleTested());
}

void BuildOptionBtn(MyLevelFactory* factory) {
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_optionBtn, {{"BlueBtn", 1, 1, {1.0f}}},
                       {"OptionBtn", 23, Math::Vector2D(135.0f, 61.0f), 0.0f}, IdleTested());
}

void BuildCreditBtn(MyLevelFactory* factory) {
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_creditBtn, {{"BlueBtn", 1, 1, {1.0f}}},
                       {"CreditBtn", 23, Math::Vector2D(137.0f, -32.0f), 0.0f}, IdleTested());
}

void BuildExitBtn(MyLevelFactory* factory) {
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_exitBtn, {{"BlueBtn", 1, 1, {1.0f}}},
                       {"ExitBtn", 23, Math::Vector2D(3.0f, -129.0f), 0.0f}, IdleTested());
}

void BuildMenuPlatform2(MyLevelFactory* factory) {
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_menuPlatform2, {{"MenuPlatform", 1, 1, {1.0f}}},
                       Scaled("MenuPlatform2", 24, 1280.0f, -230.0f, 0.1f, 1.05f, 1.0f));
}

void BuildMenuPlatform1(MyLevelFactory* factory) {
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_menuPlatform1, {{"MenuPlatform", 1, 1, {1.0f}}},
                       Scaled("MenuPlatform1", 24, 0.0f, -230.0f, 0.1f, 1.05f, 1.0f));
}

void BuildMenuCar(MyLevelFactory* factory) {
  // Three frames on a 2 x 2 sheet; the menu moves the car through its rigid body.
  Content::SpriteSpec spec = Stopped("MenuCar", 25, -293.0f, -163.0f, 0.1f);
  spec.physicsMass = 1.0f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_menuCar, {{"Car", 2, 2, {1.0f, 1.0f, 1.0f}}}, spec);
}

void BuildLoadingScreen(MyLevelFactory* factory) {
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_loadingScreen, {{"LoadingScreen", 1, 1, {1.0f}}},
                       Scaled("LoadingScreen", 26, 0.0f, 0.0f, 10.0f, 1.6f, 1.6f));
}

void BuildOptionMenuSprite(MyLevelFactory* factory) {
  Content::BuildSprite<OptionMenu_M>(*factory, Source{kSource, __LINE__}, 1, g_optionMenuSprite,
                                     {{"Op_bg", 1, 1, {1.0f}}},
                                     Scaled("OptionMenuSprite", 27, 1000.0f, -628.0f, 30.0f, 10.0f, 10.0f));
}

void BuildOpMmBtn(MyLevelFactory* factory) {
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_opMmBtn, {{"BlueBtn", 1, 1, {1.0f}}},
                       {"Op_MmBtn", 23, Math::Vector2D(1011.0f, -825.0f), 30.1f}, IdleTested());
}

void BuildOpFsCheckBox(MyLevelFactory* factory) {
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_opFsCheckBox, {{"Op_CheckBox", 2, 1, {1.0f, 1.0f}}},
                       Stopped("Op_fsCheckBox", 28, 1166.0f, -596.0f, 30.1f), IdleTested());
}

void BuildOpSoundChkBox(MyLevelFactory* factory) {
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_opSoundChkBox,
                       {{"Op_SoundMuter", 2, 1, {1.0f, 1.0f}}}, Stopped("Op_SoundChkBox", 29, 1170.0f, -521.0f, 30.1f),
                       IdleTested());
}

void BuildOpBgmChkBox(MyLevelFactory* factory) {
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_opBgmChkBox, {{"Op_SoundMuter", 2, 1, {1.0f, 1.0f}}},
                       Stopped("Op_BgmChkBox", 29, 1170.0f, -449.0f, 30.1f), IdleTested());
}

void BuildMousePt(MyLevelFactory* factory) {
  Content::CollisionSpec collision;
  collision.collisionType = true;
  collision.thickness = 25.0f;
  collision.updateOnIdle = true;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_mousePt, {{"MousePoint", 1, 1, {1.0f}}},
                       {"MousePt", 30, Math::Vector2D(291.0f, -85.0f), 30.2f}, collision);
}

}  // namespace

namespace Content {

void ResetLevel2Objects() {
  g_garageTxt = g_optionTxt = g_playTxt = g_creditTxt = g_instructionTxt = g_exitTxt = nullptr;
  g_opTxt2 = g_opTxt3 = g_opTxt1 = g_opBtnTxt2 = nullptr;
  g_menuBG = g_menuBuilding = g_dimmer = nullptr;
  g_playBtn = g_instructionBtn = g_garageBtn = g_optionBtn = g_creditBtn = g_exitBtn = nullptr;
  g_menuPlatform2 = g_menuPlatform1 = g_menuCar = g_loadingScreen = nullptr;
  g_optionMenuSprite = nullptr;
  g_opMmBtn = g_opFsCheckBox = g_opSoundChkBox = g_opBgmChkBox = g_mousePt = nullptr;
}

}  // namespace Content

Quillon::Level* MyLevelFactory::BuildLevel2() {
  static const LayerLayout kLayers[] = {
      {"MainOptionLevel_HUD", 0.0f, -400.0f, -300.0f, 800, 600},
      {"layer1", 0.0f, -672.0f, -878.0f, 2624, 1380},
      {"layer2", 869.117f, -400.0f, -300.0f, 800, 600},
  };
  AssembleLevel(2, new (kSource, __LINE__) MainMenuClass(), "MainOptionLevel", kLayers, 3, 0.0f, 0.0f);
  BuildLevel2Layer0();
  BuildLevel2Layer1();
  BuildLevel2Layer2();
  OnLevelCreated(2);
  return levels[2];
}

void MyLevelFactory::BuildLevel2Layer0() { LoadLevel2Layer0Collision(); }

void MyLevelFactory::BuildLevel2Layer1() {
  BuildGarageTxt(this);
  BuildOptionTxt(this);
  BuildPlayTxt(this);
  BuildCreditTxt(this);
  BuildInstructionTxt(this);
  BuildExitTxt(this);
  BuildOpTxt2(this);
  BuildOpTxt3(this);
  BuildOpTxt1(this);
  BuildOpBtnTxt2(this);
  BuildMenuBG(this);
  BuildMenuBuilding(this);
  BuildDimmer(this);
  BuildPlayBtn(this);
  BuildInstructionBtn(this);
  BuildGarageBtn(this);
  BuildOptionBtn(this);
  BuildCreditBtn(this);
  BuildExitBtn(this);
  BuildMenuPlatform2(this);
  BuildMenuPlatform1(this);
  BuildMenuCar(this);
  BuildLoadingScreen(this);
  BuildOptionMenuSprite(this);
  BuildOpMmBtn(this);
  BuildOpFsCheckBox(this);
  BuildOpSoundChkBox(this);
  BuildOpBgmChkBox(this);
  BuildMousePt(this);
  LoadLevel2Layer1Collision();
}

void MyLevelFactory::BuildLevel2Layer2() { LoadLevel2Layer2Collision(); }

void MyLevelFactory::LoadLevel2Layer0Collision() { LoadLayerCollision(2, 0); }
void MyLevelFactory::LoadLevel2Layer1Collision() { LoadLayerCollision(2, 1); }
void MyLevelFactory::LoadLevel2Layer2Collision() { LoadLayerCollision(2, 2); }
