// Level 0, "Logos": a backdrop and three centred logos that the logo screen fades in turn.
#include "content/Velkor_LevelObjects.h"
#include "content/Velkor_MyLevelFactory.h"
#include "content/Velkor_ObjectRecipes.h"
#include "game/Velkor_LogoClass.h"

namespace {

constexpr const char* kSource = "Velkor_MyLevelFactory_0_1";
using Content::Source;

Quillon::Sprite* g_back = nullptr;
Quillon::Sprite* g_qlnLogo = nullptr;
Quillon::Sprite* g_studioLogo = nullptr;
Quillon::Sprite* g_teamLogo = nullptr;

void BuildBack(MyLevelFactory* factory) {
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_back, {{"back", 1, 1, {1.0f}}},
                       {"back", 0, Math::Vector2D(0.0f, 0.0f), -1.0f});
}

void BuildQlnLogo(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"QlnLogo", 1, Math::Vector2D(0.0f, 0.0f), 0.0f};
  spec.scaleX = 1.6f;
  spec.scaleY = 1.6f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_qlnLogo, {{"qln", 1, 1, {1.0f}}}, spec);
}

void BuildStudioLogo(MyLevelFactory* factory) {
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_studioLogo, {{"studio", 1, 1, {1.0f}}},
                       {"StudioLogo", 2, Math::Vector2D(0.0f, 0.0f), 0.0f});
}

void BuildTeamLogo(MyLevelFactory* factory) {
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_teamLogo, {{"Logo", 1, 1, {1.0f}}},
                       {"TeamLogo", 3, Math::Vector2D(0.0f, 0.0f), 0.0f});
}

}  // namespace

namespace Content {

void ResetLevel0Objects() {
  g_back = nullptr;
  g_qlnLogo = nullptr;
  g_studioLogo = nullptr;
  g_teamLogo = nullptr;
}

}  // namespace Content

Quillon::Level* MyLevelFactory::BuildLevel0() {
  static const LayerLayout kLayers[] = {
      {"Logos_HUD", 0.0f, -640.0f, -360.0f, 1280, 720},
      {"layer1", 0.0f, -643.0f, -362.0f, 1286, 723},
      {"layer2", 869.117f, -640.0f, -360.0f, 1280, 720},
  };
  AssembleLevel(0, new (kSource, __LINE__) LogoClass(), "Logos", kLayers, 3, 0.0f, 0.0f);
  BuildLevel0Layer0();
  BuildLevel0Layer1();
  BuildLevel0Layer2();
  OnLevelCreated(0);
  return levels[0];
}

void MyLevelFactory::BuildLevel0Layer0() { LoadLevel0Layer0Collision(); }

void MyLevelFactory::BuildLevel0Layer1() {
  BuildBack(this);
  BuildQlnLogo(this);
  BuildStudioLogo(this);
  BuildTeamLogo(this);
  LoadLevel0Layer1Collision();
}

void MyLevelFactory::BuildLevel0Layer2() { LoadLevel0Layer2Collision(); }

void MyLevelFactory::LoadLevel0Layer0Collision() { LoadLayerCollision(0, 0); }
void MyLevelFactory::LoadLevel0Layer1Collision() { LoadLayerCollision(0, 1); }
void MyLevelFactory::LoadLevel0Layer2Collision() { LoadLayerCollision(0, 2); }
