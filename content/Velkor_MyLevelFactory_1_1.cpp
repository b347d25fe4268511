// Level 1, "Story": the intro cut-scene's backdrop and its three picture groups, laid out for the
// story screen to bring in, animate and fade.
#include "content/Velkor_LevelObjects.h"
#include "content/Velkor_MyLevelFactory.h"
#include "content/Velkor_ObjectRecipes.h"
#include "game/Velkor_StoryClass.h"

namespace {

constexpr const char* kSource = "Velkor_MyLevelFactory_1_1";
using Content::Source;

Quillon::Sprite* g_storyBack = nullptr;
Quillon::Sprite* g_f2ufo3 = nullptr;
Quillon::Sprite* g_f1 = nullptr;
Quillon::Sprite* g_f3 = nullptr;
Quillon::Sprite* g_f2 = nullptr;
Quillon::Sprite* g_car = nullptr;
Quillon::Sprite* g_ufo1 = nullptr;
Quillon::Sprite* g_ufo2 = nullptr;
Quillon::Sprite* g_human1 = nullptr;
Quillon::Sprite* g_human2 = nullptr;
Quillon::Sprite* g_human3 = nullptr;
Quillon::Sprite* g_human4 = nullptr;
Quillon::Sprite* g_human5 = nullptr;
Quillon::Sprite* g_platform = nullptr;
Quillon::Sprite* g_ufo3 = nullptr;
Quillon::Sprite* g_light = nullptr;
Quillon::Sprite* g_speedLines = nullptr;
Quillon::Sprite* g_f2ufo2 = nullptr;
Quillon::Sprite* g_laser = nullptr;
Quillon::Sprite* g_f2ufo1 = nullptr;
Quillon::Sprite* g_flame1 = nullptr;
Quillon::Sprite* g_flame2 = nullptr;
Quillon::Sprite* g_flame3 = nullptr;
Quillon::Sprite* g_f2flame1 = nullptr;
Quillon::Sprite* g_f2flame2 = nullptr;
Quillon::Sprite* g_f2flame3 = nullptr;
Quillon::Sprite* g_f2flame4 = nullptr;
Quillon::Sprite* g_f2flame5 = nullptr;
Quillon::Sprite* g_flame4 = nullptr;
Quillon::Sprite* g_flame5 = nullptr;
Quillon::Sprite* g_child = nullptr;
Quillon::Sprite* g_adult = nullptr;

void BuildStoryBack(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"StoryBack", 4, Math::Vector2D(0.0f, 0.0f), 0.0f};
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_storyBack, {{"StoryBack", 1, 1, {1.0f}}}, spec);
}

void BuildF2ufo3(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"f2ufo3", 5, Math::Vector2D(330.0f, 640.0f), 0.0f};
  spec.scaleX = -0.136f;
  spec.scaleY = 0.153f;
  spec.center = Math::Vector2D(-3.0f, 0.0f);
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_f2ufo3, {{"Animation3", 1, 1, {1.0f}}}, spec);
}

void BuildF1(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"f1", 6, Math::Vector2D(-318.0f, 635.0f), 0.1f};
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_f1, {{"Animation1", 1, 1, {1.0f}}}, spec);
}

void BuildF3(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"f3", 7, Math::Vector2D(-1302.0f, -212.0f), 0.1f};
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_f3, {{"Animation4", 1, 1, {1.0f}}}, spec);
}

void BuildF2(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"f2", 8, Math::Vector2D(311.0f, 635.0f), 0.1f};
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_f2, {{"Animation2", 1, 1, {1.0f}}}, spec);
}

void BuildCar(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"car", 9, Math::Vector2D(-1397.0f, -229.0f), 0.2f};
  spec.playing = false;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_car, {{"Animation5", 2, 1, {0.1f, 0.1f}}}, spec);
}

void BuildUfo1(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"ufo1", 10, Math::Vector2D(-345.0f, 670.0f), 0.2f};
  spec.scaleX = 0.112f;
  spec.scaleY = 0.111f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_ufo1, {{"Animation7", 1, 1, {1.0f}}}, spec);
}

void BuildUfo2(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"ufo2", 10, Math::Vector2D(-43.0f, 621.0f), 0.2f};
  spec.scaleX = 0.136f;
  spec.scaleY = 0.133f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_ufo2, {{"Animation7", 1, 1, {1.0f}}}, spec);
}

void BuildHuman1(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"human1", 11, Math::Vector2D(77.0f, 640.0f), 0.2f};
  spec.scaleX = 0.066f;
  spec.scaleY = 0.051f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_human1, {{"Animation11", 1, 1, {1.0f}}}, spec);
}

void BuildHuman2(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"human2", 11, Math::Vector2D(277.0f, 561.0f), 0.2f};
  spec.scaleX = 0.06f;
  spec.scaleY = 0.051f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_human2, {{"Animation11", 1, 1, {1.0f}}}, spec);
}

void BuildHuman3(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"human3", 11, Math::Vector2D(460.0f, 619.0f), 0.2f};
  spec.scaleX = 0.056f;
  spec.scaleY = 0.043f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_human3, {{"Animation11", 1, 1, {1.0f}}}, spec);
}

void BuildHuman4(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"human4", 11, Math::Vector2D(455.0f, 530.0f), 0.2f};
  spec.scaleX = 0.09f;
  spec.scaleY = 0.071f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_human4, {{"Animation11", 1, 1, {1.0f}}}, spec);
}

void BuildHuman5(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"human5", 11, Math::Vector2D(558.0f, 581.0f), 0.2f};
  spec.scaleX = 0.09f;
  spec.scaleY = 0.083f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_human5, {{"Animation11", 1, 1, {1.0f}}}, spec);
}

void BuildPlatform(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"platform", 12, Math::Vector2D(-1302.0f, -301.0f), 0.2f};
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_platform, {{"Animation6", 1, 1, {1.0f}}}, spec);
}

void BuildUfo3(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"ufo3", 5, Math::Vector2D(72.0f, 779.0f), 0.3f};
  spec.scaleX = 0.251f;
  spec.scaleY = 0.283f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_ufo3, {{"Animation3", 1, 1, {1.0f}}}, spec);
}

void BuildLight(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"light", 13, Math::Vector2D(331.0f, 699.0f), 0.3f};
  spec.rotation = -26.21f;
  spec.scaleX = 0.477f;
  spec.scaleY = 0.393f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_light, {{"Animation10", 2, 2, {1.0f, 1.0f, 1.0f, 1.0f}}}, spec);
}

void BuildSpeedLines(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"speedLines", 14, Math::Vector2D(-1281.0f, -211.0f), 0.3f};
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_speedLines, {{"Animation12", 2, 1, {0.1f, 0.1f}}}, spec);
}

void BuildF2ufo2(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"f2ufo2", 10, Math::Vector2D(559.0f, 624.0f), 0.4f};
  spec.scaleX = 0.18f;
  spec.scaleY = 0.179f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_f2ufo2, {{"Animation7", 1, 1, {1.0f}}}, spec);
}

void BuildLaser(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"laser", 15, Math::Vector2D(4.0f, 656.0f), 0.4f};
  spec.rotation = 59.17f;
  spec.scaleX = 0.4f;
  spec.scaleY = 0.452f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_laser, {{"Animation8", 1, 1, {1.0f}}}, spec);
}

void BuildF2ufo1(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"f2ufo1", 10, Math::Vector2D(278.0f, 581.0f), 0.4f};
  spec.scaleX = 0.124f;
  spec.scaleY = 0.123f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_f2ufo1, {{"Animation7", 1, 1, {1.0f}}}, spec);
}

void BuildFlame1(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"flame1", 16, Math::Vector2D(-127.0f, 605.0f), 0.5f};
  spec.scaleX = 0.048f;
  spec.scaleY = 0.052f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_flame1, {{"Animation9", 2, 2, {0.1f, 0.1f, 0.1f, 0.1f}}}, spec);
}

void BuildFlame2(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"flame2", 16, Math::Vector2D(-200.0f, 611.0f), 0.5f};
  spec.scaleX = 0.048f;
  spec.scaleY = 0.052f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_flame2, {{"Animation9", 2, 2, {0.1f, 0.1f, 0.1f, 0.1f}}}, spec);
}

void BuildFlame3(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"flame3", 16, Math::Vector2D(-193.0f, 574.0f), 0.5f};
  spec.scaleX = 0.048f;
  spec.scaleY = 0.052f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_flame3, {{"Animation9", 2, 2, {0.1f, 0.1f, 0.1f, 0.1f}}}, spec);
}

void BuildF2flame1(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"f2flame1", 16, Math::Vector2D(28.0f, 536.0f), 0.5f};
  spec.scaleX = 0.048f;
  spec.scaleY = 0.052f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_f2flame1, {{"Animation9", 2, 2, {0.1f, 0.1f, 0.1f, 0.1f}}}, spec);
}

void BuildF2flame2(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"f2flame2", 16, Math::Vector2D(133.0f, 523.0f), 0.5f};
  spec.scaleX = 0.048f;
  spec.scaleY = 0.052f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_f2flame2, {{"Animation9", 2, 2, {0.1f, 0.1f, 0.1f, 0.1f}}}, spec);
}

void BuildF2flame3(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"f2flame3", 16, Math::Vector2D(230.0f, 610.0f), 0.5f};
  spec.scaleX = 0.048f;
  spec.scaleY = 0.052f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_f2flame3, {{"Animation9", 2, 2, {0.1f, 0.1f, 0.1f, 0.1f}}}, spec);
}

void BuildF2flame4(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"f2flame4", 16, Math::Vector2D(422.0f, 506.0f), 0.5f};
  spec.scaleX = 0.048f;
  spec.scaleY = 0.052f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_f2flame4, {{"Animation9", 2, 2, {0.1f, 0.1f, 0.1f, 0.1f}}}, spec);
}

void BuildF2flame5(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"f2flame5", 16, Math::Vector2D(582.0f, 489.0f), 0.5f};
  spec.scaleX = 0.048f;
  spec.scaleY = 0.052f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_f2flame5, {{"Animation9", 2, 2, {0.1f, 0.1f, 0.1f, 0.1f}}}, spec);
}

void BuildFlame4(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"flame4", 16, Math::Vector2D(-128.0f, 541.0f), 0.5f};
  spec.scaleX = 0.048f;
  spec.scaleY = 0.052f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_flame4, {{"Animation9", 2, 2, {0.1f, 0.1f, 0.1f, 0.1f}}}, spec);
}

void BuildFlame5(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"flame5", 16, Math::Vector2D(-63.0f, 548.0f), 0.5f};
  spec.scaleX = 0.048f;
  spec.scaleY = 0.052f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_flame5, {{"Animation9", 2, 2, {0.1f, 0.1f, 0.1f, 0.1f}}}, spec);
}

void BuildChild(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"child", 17, Math::Vector2D(-536.0f, 519.0f), 0.8f};
  spec.scaleX = 0.592f;
  spec.scaleY = 0.52f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_child, {{"child", 2, 1, {1.0f, 1.0f}}}, spec);
}

void BuildAdult(MyLevelFactory* factory) {
  Content::SpriteSpec spec{"adult", 18, Math::Vector2D(-584.0f, 532.0f), 0.8f};
  spec.scaleX = 0.6f;
  spec.scaleY = 0.538f;
  Content::BuildSprite(*factory, Source{kSource, __LINE__}, 1, g_adult, {{"adult", 2, 1, {1.0f, 1.0f}}}, spec);
}

}  // namespace

namespace Content {

void ResetLevel1Objects() {
  g_storyBack = nullptr;
  g_f2ufo3 = nullptr;
  g_f1 = nullptr;
  g_f3 = nullptr;
  g_f2 = nullptr;
  g_car = nullptr;
  g_ufo1 = nullptr;
  g_ufo2 = nullptr;
  g_human1 = nullptr;
  g_human2 = nullptr;
  g_human3 = nullptr;
  g_human4 = nullptr;
  g_human5 = nullptr;
  g_platform = nullptr;
  g_ufo3 = nullptr;
  g_light = nullptr;
  g_speedLines = nullptr;
  g_f2ufo2 = nullptr;
  g_laser = nullptr;
  g_f2ufo1 = nullptr;
  g_flame1 = nullptr;
  g_flame2 = nullptr;
  g_flame3 = nullptr;
  g_f2flame1 = nullptr;
  g_f2flame2 = nullptr;
  g_f2flame3 = nullptr;
  g_f2flame4 = nullptr;
  g_f2flame5 = nullptr;
  g_flame4 = nullptr;
  g_flame5 = nullptr;
  g_child = nullptr;
  g_adult = nullptr;
}

}  // namespace Content

Quillon::Level* MyLevelFactory::BuildLevel1() {
  static const LayerLayout kLayers[] = {
      {"Story_HUD", 0.0f, -640.0f, -360.0f, 1280, 720},
      {"layer1", 0.0f, -1919.0f, -360.0f, 3838, 1316},
      {"layer2", 869.117f, -640.0f, -360.0f, 1280, 720},
  };
  AssembleLevel(1, new (kSource, __LINE__) StoryClass(), "Story", kLayers, 3, 0.0f, 0.0f);
  BuildLevel1Layer0();
  BuildLevel1Layer1();
  BuildLevel1Layer2();
  OnLevelCreated(1);
  return levels[1];
}

void MyLevelFactory::BuildLevel1Layer0() { LoadLevel1Layer0Collision(); }

void MyLevelFactory::BuildLevel1Layer1() {
  BuildStoryBack(this);
  BuildF2ufo3(this);
  BuildF1(this);
  BuildF3(this);
  BuildF2(this);
  BuildCar(this);
  BuildUfo1(this);
  BuildUfo2(this);
  BuildHuman1(this);
  BuildHuman2(this);
  BuildHuman3(this);
  BuildHuman4(this);
  BuildHuman5(this);
  BuildPlatform(this);
  BuildUfo3(this);
  BuildLight(this);
  BuildSpeedLines(this);
  BuildF2ufo2(this);
  BuildLaser(this);
  BuildF2ufo1(this);
  BuildFlame1(this);
  BuildFlame2(this);
  BuildFlame3(this);
  BuildF2flame1(this);
  BuildF2flame2(this);
  BuildF2flame3(this);
  BuildF2flame4(this);
  BuildF2flame5(this);
  BuildFlame4(this);
  BuildFlame5(this);
  BuildChild(this);
  BuildAdult(this);
  LoadLevel1Layer1Collision();
}

void MyLevelFactory::BuildLevel1Layer2() { LoadLevel1Layer2Collision(); }

void MyLevelFactory::LoadLevel1Layer0Collision() { LoadLayerCollision(1, 0); }
void MyLevelFactory::LoadLevel1Layer1Collision() { LoadLayerCollision(1, 1); }
void MyLevelFactory::LoadLevel1Layer2Collision() { LoadLayerCollision(1, 2); }
