// Level 4, "CreditLevel": the credits picture, one button back to the main menu and a pointer.
#include "content/Velkor_LevelObjects.h"
#include "content/Velkor_MyLevelFactory.h"
#include "content/Velkor_ObjectRecipes.h"
#include "game/Velkor_CreditsLevel.h"

namespace {

constexpr const char* kSource = "Velkor_MyLevelFactory_4_1";
using Content::Source;

Quillon::Text* g_mainMenuTxt = nullptr;
Quillon::Sprite* g_sprite0 = nullptr;
Quillon::Sprite* g_creditPic = nullptr;
Quillon::Sprite* g_mainMenuBtn = nullptr;
Quillon::Sprite* g_mousePt = nullptr;

void BuildMainMenuTxt(MyLevelFactory* factory) {
  Content::BuildText(*factory, Source{kSource, __LINE__}, 1, g_mainMenuTxt,
                     {"MainMenuTxt", "Main Menu", "BtnText", Math::Vector2D(454.0f, -322.0f), 1.0f});
}

void BuildSprite0(MyLevelFactory* factory) {
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_sprite0, {{"BG", 1, 1, {1.0f}}},
                       {"sprite0", 33, Math::Vector2D(0.0f, 0.0f), -1.0f});
}

void BuildCreditPic(MyLevelFactory* factory) {
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_creditPic, {{"CreditsPic", 1, 1, {1.0f}}},
                       {"CreditPic", 34, Math::Vector2D(0.0f, 0.0f), 0.0f});
}

void BuildMainMenuBtn(MyLevelFactory* factory) {
  Content::CollisionSpec collision;
  collision.updateOnIdle = true;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_mainMenuBtn, {{"BlueBtn", 1, 1, {1.0f}}},
                       {"MainMenuBtn", 23, Math::Vector2D(505.0f, -303.0f), 0.0f}, collision);
}

void BuildMousePt(MyLevelFactory* factory) {
  Content::CollisionSpec collision;
  collision.collisionType = true;
  collision.thickness = 25.0f;
  collision.updateOnIdle = true;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_mousePt, {{"MousePoint", 1, 1, {1.0f}}},
                       {"MousePt", 30, Math::Vector2D(358.0f, -344.0f), 30.2f}, collision);
}

}  // namespace

namespace Content {

void ResetLevel4Objects() {
  g_mainMenuTxt = nullptr;
  g_sprite0 = g_creditPic = g_mainMenuBtn = g_mousePt = nullptr;
}

}  // namespace Content

Quillon::Level* MyLevelFactory::BuildLevel4() {
  static const LayerLayout kLayers[] = {
      {"CreditLevel_HUD", 0.0f, -640.0f, -360.0f, 1280, 720},
      {"layer1", 0.0f, -640.0f, -360.0f, 1280, 720},
      {"layer2", 869.117f, -640.0f, -360.0f, 1280, 720},
  };
  AssembleLevel(4, new (kSource, __LINE__) CreditsLevel(), "CreditLevel", kLayers, 3, 0.0f, 0.0f);
  BuildLevel4Layer0();
  BuildLevel4Layer1();
  BuildLevel4Layer2();
  OnLevelCreated(4);
  return levels[4];
}

void MyLevelFactory::BuildLevel4Layer0() { LoadLevel4Layer0Collision(); }

void MyLevelFactory::BuildLevel4Layer1() {
  BuildMainMenuTxt(this);
  BuildSprite0(this);
  BuildCreditPic(this);
  BuildMainMenuBtn(this);
  BuildMousePt(this);
  LoadLevel4Layer1Collision();
}

void MyLevelFactory::BuildLevel4Layer2() { LoadLevel4Layer2Collision(); }

void MyLevelFactory::LoadLevel4Layer0Collision() { LoadLayerCollision(4, 0); }
void MyLevelFactory::LoadLevel4Layer1Collision() { LoadLayerCollision(4, 1); }
void MyLevelFactory::LoadLevel4Layer2Collision() { LoadLayerCollision(4, 2); }
