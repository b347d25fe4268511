// Level 3, "InstructionLevel": three instruction pages, three buttons with captions and a pointer.
#include "content/Velkor_LevelObjects.h"
#include "content/Velkor_MyLevelFactory.h"
#include "content/Velkor_ObjectRecipes.h"
#include "game/Velkor_InstructionLevel.h"

namespace {

constexpr const char* kSource = "Velkor_MyLevelFactory_3_1";
using Content::Source;

Quillon::Text* g_prevTxt = nullptr;
Quillon::Text* g_homeTxt = nullptr;
Quillon::Text* g_nextTxt = nullptr;
Quillon::Sprite* g_sprite0 = nullptr;
Quillon::Sprite* g_prevBtn = nullptr;
Quillon::Sprite* g_homeBtn = nullptr;
Quillon::Sprite* g_nextBtn = nullptr;
Quillon::Sprite* g_instPages = nullptr;
Quillon::Sprite* g_mousePt = nullptr;

// The buttons are tested while they stand still: the pointer moves, they do not.
Content::CollisionSpec ButtonCollision() {
  Content::CollisionSpec collision;
  collision.updateOnIdle = true;
  return collision;
}

void BuildPrevTxt(MyLevelFactory* factory) {
  Content::BuildText(*factory, Source{kSource, __LINE__}, 1, g_prevTxt,
                     {"prevTxt", "Previous", "BtnText", Math::Vector2D(-462.0f, -291.0f), 1.0f});
}

void BuildHomeTxt(MyLevelFactory* factory) {
  Content::BuildText(*factory, Source{kSource, __LINE__}, 1, g_homeTxt,
                     {"homeTxt", "Main Menu", "BtnText", Math::Vector2D(-31.0f, -291.0f), 1.0f});
}

void BuildNextTxt(MyLevelFactory* factory) {
  Content::BuildText(*factory, Source{kSource, __LINE__}, 1, g_nextTxt,
                     {"nextTxt", "Next", "BtnText", Math::Vector2D(414.0f, -291.0f), 1.0f});
}

void BuildSprite0(MyLevelFactory* factory) {
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_sprite0, {{"InstBg", 1, 1, {1.0f}}},
                       {"sprite0", 31, Math::Vector2D(0.0f, 0.0f), -2.0f});
}

void BuildPrevBtn(MyLevelFactory* factory) {
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_prevBtn, {{"BlueBtn", 1, 1, {1.0f}}},
                       {"prevBtn", 23, Math::Vector2D(-418.0f, -270.0f), 0.0f}, ButtonCollision());
}

void BuildHomeBtn(MyLevelFactory* factory) {
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_homeBtn, {{"BlueBtn", 1, 1, {1.0f}}},
                       {"homeBtn", 23, Math::Vector2D(21.0f, -271.0f), 0.0f}, ButtonCollision());
}

void BuildNextBtn(MyLevelFactory* factory) {
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_nextBtn, {{"BlueBtn", 1, 1, {1.0f}}},
                       {"nextBtn", 23, Math::Vector2D(436.0f, -272.0f), 0.0f}, ButtonCollision());
}

void BuildInstPages(MyLevelFactory* factory) {
  // One frame per page; the screen turns them, the animation never plays.
  Content::SpriteSpec spec{"InstPages", 32, Math::Vector2D(9.0f, -55.0f), 0.0f};
  spec.playing = false;
  spec.loop = false;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_instPages, {{"InstPagess", 1, 3, {1.0f, 1.0f, 1.0f}}},
                       spec);
}

void BuildMousePt(MyLevelFactory* factory) {
  Content::CollisionSpec collision;
  collision.collisionType = true;
  collision.thickness = 25.0f;
  collision.updateOnIdle = true;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_mousePt, {{"MousePoint", 1, 1, {1.0f}}},
                       {"MousePt", 30, Math::Vector2D(-677.0f, -155.0f), 1.0f}, collision);
}

}  // namespace

namespace Content {

void ResetLevel3Objects() {
  g_prevTxt = g_homeTxt = g_nextTxt = nullptr;
  g_sprite0 = g_prevBtn = g_homeBtn = g_nextBtn = g_instPages = g_mousePt = nullptr;
}

}  // namespace Content

Quillon::Level* MyLevelFactory::BuildLevel3() {
  static const LayerLayout kLayers[] = {
      {"InstructionLevel_HUD", 0.0f, -400.0f, -300.0f, 800, 600},
      {"layer1", 0.0f, -693.0f, -522.0f, 1409, 1002},
      {"layer2", 869.117f, -400.0f, -300.0f, 800, 600},
  };
  AssembleLevel(3, new (kSource, __LINE__) InstructionLevel(), "InstructionLevel", kLayers, 3, 0.0f, 0.0f);
  BuildLevel3Layer0();
  BuildLevel3Layer1();
  BuildLevel3Layer2();
  OnLevelCreated(3);
  return levels[3];
}

void MyLevelFactory::BuildLevel3Layer0() { LoadLevel3Layer0Collision(); }

void MyLevelFactory::BuildLevel3Layer1() {
  BuildPrevTxt(this);
  BuildHomeTxt(this);
  BuildNextTxt(this);
  BuildSprite0(this);
  BuildPrevBtn(this);
  BuildHomeBtn(this);
  BuildNextBtn(this);
  BuildInstPages(this);
  BuildMousePt(this);
  LoadLevel3Layer1Collision();
}

void MyLevelFactory::BuildLevel3Layer2() { LoadLevel3Layer2Collision(); }

void MyLevelFactory::LoadLevel3Layer0Collision() { LoadLayerCollision(3, 0); }
void MyLevelFactory::LoadLevel3Layer1Collision() { LoadLayerCollision(3, 1); }
void MyLevelFactory::LoadLevel3Layer2Collision() { LoadLayerCollision(3, 2); }
