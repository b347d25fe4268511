// Level 7, "GameLevel": the objects of the run, in the layer "GameLevelObjects". The HUD's texts
// come first, then the ground, the HUD, the archetypes that the game clones (aliens, platforms,
// pick-ups, civilians, shots, explosions, bosses), the car with its gun, barrier, laser and
// trail, the tutorial pictures, the options overlay and the aiming cursor.
//
// Collision groups (z-collision: who carries it): 1 floating platforms; 2 "UFO3_float"; 4 the
// player's shots; 5 the UFOs; 6 the aliens; 7 the car and its barrier; 8 pick-ups and civilians;
// 9 the enemies' shots; 11 the ground; 0 everything else.
#include "content/Velkor_LevelRows.h"
#include "framework/Quillon_Game.h"
#include "framework/Quillon_ParticleEmitter.h"
#include "framework/Quillon_ParticleSystem.h"
#include "game/Velkor_AiFriendClass.h"
#include "game/Velkor_AlienBullet.h"
#include "game/Velkor_AlienClass.h"
#include "game/Velkor_BulletClass.h"
#include "game/Velkor_CharBullet.h"
#include "game/Velkor_CivilianClass.h"
#include "game/Velkor_CursorClass.h"
#include "game/Velkor_FadingText.h"
#include "game/Velkor_HUD_Manager.h"
#include "game/Velkor_HealthConsume.h"
#include "game/Velkor_LaserClass.h"
#include "game/Velkor_OptionMenu.h"
#include "game/Velkor_PlatformClass.h"
#include "game/Velkor_PlatformManager.h"
#include "game/Velkor_PlayerClass.h"
#include "game/Velkor_PlayerText.h"
#include "game/Velkor_PowerConsume.h"
#include "game/Velkor_RadiusAttack.h"
#include "game/Velkor_ShieldConsume.h"
#include "game/Velkor_SpHud.h"
#include "game/Velkor_SpecialAttackClass.h"
#include "game/Velkor_UFO2Class.h"
#include "game/Velkor_UFO3Class.h"
#include "game/Velkor_UFOClass.h"
#include "game/Velkor_WarningSign.h"

namespace Content {

namespace {

// The car's exhaust trail, mounted on the car once the level is built.
Core::SmartPointer<Quillon::GameObject> BuildTrail(const Source& source, const ObjectRow& row) {
  Core::SmartPointer<Quillon::PointEmitter> emitter(new (source.file, source.line) Quillon::PointEmitter());
  emitter->position = Math::Vector2D(0.0f, 0.0f);
  emitter->minimumAngle = 0.0f;
  emitter->maximumAngle = 360.0f;
  Core::SmartPointer<Quillon::ParticleSystem> trail(new (source.file, source.line) Quillon::ParticleSystem(
      Quillon::Game::GetDirectory() + "\\Resources\\ParticleSystems\\particle1.png", 30, 256.0f,
      Math::Vector2D(0.0f, 0.0f)));
  trail->SetEmitter(emitter.Get());
  trail->SetName(row.name);
  trail->SetLifeTime(0.0f);
  trail->SetZOrder(row.z);
  trail->SetPosition(row.x, row.y);
  trail->SetRotationAngle(0.0f);
  trail->SetScale(1.0f, 1.0f);
  trail->SetCenter(Math::Vector2D(0.0f, 0.0f));
  trail->SetVisible(true);
  trail->SetRecycleParticles(true);
  trail->SetEmissionRate(15.0f, 15.0f);
  trail->SetSrcBlendFactor(6);
  trail->SetDstBlendFactor(7);
  trail->SetParticleStartingColor(Math::Color(1.0f, 0.2f, 0.2f, 1.0f), Math::Color(1.0f, 1.0f, 0.4f, 1.0f));
  trail->SetParticleEndingColor(Math::Color(1.0f, 1.0f, 1.0f, 0.0f), Math::Color(1.0f, 1.0f, 1.0f, 0.0f));
  trail->SetParticleLifeTime(1.0f, 1.0f);
  trail->SetParticleSpeed(15.0f, 15.0f);
  trail->SetParticleDirection(0);
  trail->SetParticleStartingScale(Math::Vector2D(0.8f, 0.8f), Math::Vector2D(0.8f, 0.8f));
  trail->SetParticleEndingScale(Math::Vector2D(0.1f, 0.1f), Math::Vector2D(0.1f, 0.1f));
  trail->SetUseLocalCoordinates(false);
  trail->WarmUp(0.0f);
  return Core::SmartPointer<Quillon::GameObject>(trail.Get());
}

}  // namespace

const std::vector<ObjectRow>& Level7ObjectRows() {
  // Pick-ups and civilians touch the platforms (1) and the car (7).
  const std::vector<Other> pickUp{kShapes, Thickness(8.0f), ZCollision(8), CanCollide(1), CanCollide(7), kIdle};
  // A boss is hit by the player's shots (4) only.
  const std::vector<Other> boss{kShapes, ZCollision(5), CanCollide(4), kIdle, Mass(0.0f)};
  // The enemies' shots and the third boss's hand and laser hit the car (7).
  const std::vector<Other> enemyShot{kShapes, Thickness(8.0f), ZCollision(9), CanCollide(7), kIdle};
  const std::vector<Other> checkBox{kIdle, kStill, kOnce};
  static const std::vector<ObjectRow> rows{
      // class, name, image / font, caption, actor, x, y, z, other
      {kText<>, "WarningTxt", "WarningFont", "MyText", kNoActor, -807, -1547, 2.3f},
      {kText<>, "usableTxt", "SpTxt", "31", kNoActor, 377, 498, 4.2f, {Center(10, 0)}},
      {kText<>, "GearTxt", "ag_fb_25_yelw", "Gear: ", kNoActor, 277, 612, 4.2f},
      {kText<>, "DistanceTxt", "ag_fb_25_gren", "Distance:", kNoActor, 266, 536, 4.2f},
      {kText<>, "SpAtkTxt", "SpTxt", "31", kNoActor, 201, 499, 4.2f, {Center(10, 0)}},
      {kText<>, "aiFrTxt", "SpTxt", "31", kNoActor, 289, 446, 4.2f, {Center(10, 0)}},
      {kText<FadingText>, "FadingTxt2", "FadingTxt2", "FadingText2", kNoActor, 212, -911, 15.0f},
      {kText<>, "MyDebugTxt", "YellowTxt", "MyText", kNoActor, -237, 343, 15.0f},
      {kText<FadingText>, "FadingTxt", "YellowTxt", "FadingText", kNoActor, 219, -779, 15.0f},
      {kText<PlayerText>, "PlayerStatsText", "PlayerStatTxt", "MyText", kNoActor, -52, 174, 15.0f},
      {kText<>, "FpsTxt", "BtnText", "MyText", kNoActor, -85, 1063, 15.0f},
      {kText<>, "DurabilityTxt", "ag_fb_15_red", "Durability: ", kNoActor, -149, 1212, 15.0f},
      {kText<>, "tuhPrevTxt", "BtnTxtBold", "*****Tutorial*****\nLeft Click - Next\nRight Click - Previous", kNoActor,
       608, 58, 25.0f},
      {kText<>, "opTxt1", "BlueTxt", "Background Music", kNoActor, 392, -1284, 30.1f},
      {kText<>, "opTxt2", "BlueTxt", "Game Sound", kNoActor, 389, -1361, 30.1f},
      {kText<>, "opTxt3", "BlueTxt", "Full Screen", kNoActor, 389, -1435, 30.1f},
      {kText<>, "opBtnTxt1", "BlueTxt", "Play", kNoActor, 413, -1655, 30.2f},
      {kText<>, "opBtnTxt2", "BlueTxt", "Main Menu", kNoActor, 628, -1655, 30.2f},

      {kSprite<PlatformManager>, "platMgr1", {{"ground", 1, 1}}, "", 69, 720, -180, 0.1f,
       {kShapes, ZCollision(11), CanCollide(7), kIdle, Mass(0.0f)}},
      {kSprite<PlatformManager>, "platMgr2", {{"ground", 1, 1}}, "", 69, -720, -180, 0.1f,
       {kShapes, ZCollision(11), CanCollide(7), kIdle, Mass(0.0f)}},
      {kSprite<HUD_Manager>, "hud_mgr", {{"HUD_Mounter", 1, 1}}, "", 70, 400, -500, 1.0f, {kNoBody}},
      {kSprite<AlienClass>, "Alien", {{"Alien", 2, 1, 2}}, "", 71, -1587, -924, 2.0f,
       {kStill, kOnce, kShapes, Thickness(8.0f), ZCollision(6), CanCollide(1), CanCollide(7), CanCollide(4), kIdle,
        Mass(0.0f)}},
      {kSprite<PlatformClass>, "Platform", {{"Platform_float", 1, 1}}, "", 72, -382, -782, 2.0f,
       {kShapes, Thickness(8.0f), ZCollision(1), CanCollide(0), CanCollide(6), CanCollide(8), kIdle, Mass(0.0f)}},
      {kSprite<HealthConsume>, "HealthPot", {{"HealthPot", 1, 1}}, "", 73, -1440, -926, 2.0f,
       Join(pickUp, {Mass(5.0f)})},
      {kSprite<CivilianClass>, "Civilian", {{"Civil", 2, 2, 3, 0.1f}}, "", 74, -1646, -927, 2.0f,
       Join(pickUp, {kStill, kOnce})},
      {kSprite<PowerConsume>, "PowerConsumeSprite", {{"PowerConsAnim", 2, 2, 3}}, "", 75, -1731, -926, 2.0f,
       Join(pickUp, {kStill, kOnce})},
      {kSprite<>, "Explosion", {{"Explosion", 3, 2, 5, 0.1f}}, "", 76, -1016, -950, 2.1f, {kStill, kOnce}},
      {kSprite<CharBullet>, "charBullet", {{"charBullet", 2, 1, 2}}, "", 77, -575, -768, 2.1f,
       {kStill, kOnce, kShapes, Thickness(8.0f), ZCollision(4), CanCollide(5), CanCollide(6), kIdle, Mass(0.0f)}},
      {kSprite<WarningSign>, "WarningSign", {{"warningSign", 1, 1}}, "", 78, -315, -1493, 2.2f},
      {kSprite<>, "HP_Bar", {{"redBar1", 1, 1}}, "", 79, 100, 575, 3.9f, {kStill}},
      {kSprite<>, "HoveEnerBar", {{"HoverBar", 2, 1, 2}}, "", 80, 497, 575, 3.9f, {kStill, kOnce}},
      {kSprite<SpHud>, "SpHud", {{"Hud_Mg", 1, 1}}, "", 81, 300, 550, 4.0f, {Scale(0.75f, 0.75f)}},
      {kSprite<PowerConsume>, "UsableImg", {{"PowerConsAnim", 2, 2, 3}}, "", 75, 381, 526, 4.1f,
       Join(pickUp, {kStill, kOnce, Scale(0.7f, 0.7f)})},
      {kSprite<>, "SpAtkUi", {{"SpecialAtk", 2, 1, 2}}, "", 82, 203, 526, 4.1f, {kStill, kOnce, Scale(0.3f, 0.3f)}},
      {kSprite<>, "AiFriendUi", {{"AiFriend", 1, 1}}, "", 83, 297, 471, 4.1f, {Scale(0.2f, 0.2f)}},
      {kSprite<>, "UFO3_float", {{"UFO_Float", 1, 1}}, "", 84, -1794, -1700, 5.0f, {ZCollision(2), kNoCanCollide}},

      {kSprite<UFOClass>, "UFO", {{"UFO_pic", 1, 1}}, "", 85, -1803, -741, 5.0f, Join(boss, {Scale(0.3f, 0.3f)})},
      {kSprite<UFO2Class>, "UFO2", {{"UFO2", 1, 1}}, "", 86, -2023, -874, 5.0f, boss},
      {kSprite<UFO3Class>, "UFO3", {{"UFO_boss", 1, 1}}, "", 87, -1836, -1406, 5.0f, boss},
      {kSprite<AlienBullet>, "AlienBullet", {{"AlienBullet", 2, 1, 2, 0.1f}}, "", 88, -193, -771, 5.0f,
       Join(enemyShot, {kStill, kOnce, Mass(1.0f)})},
      {kSprite<BulletClass>, "Bullet", {{"UFO_Bullet", 2, 2, 3}}, "", 89, -245, -768, 5.0f,
       {kShapes, Thickness(8.0f), ZCollision(9), CanCollide(0), CanCollide(7), kIdle, kStill, kOnce, Mass(1.0f)}},
      {kSprite<>, "UFO3_hand", {{"UFO_hand", 1, 1}}, "", 90, -1832, -1363, 5.1f,
       Join(enemyShot, {Center(150, 110), Mass(0.0f)})},
      {kSprite<>, "redBar", {{"HP_BG", 1, 1}}, "", 91, 0, -768, 5.1f, {Center(-50, 0)}},
      {kSprite<LaserClass>, "LaserA", {{"Laser_A", 1, 1}}, "", 92, 167, -1066, 5.1f,
       Join(enemyShot, {Center(550, 0), Mass(0.0f)})},
      {kSprite<RadiusAttack>, "rAttack", {{"RadiusAttack", 2, 2, 3}}, "", 93, -1064, -709, 5.1f,
       {kShapes, Thickness(8.0f), ZCollision(4), CanCollide(5), CanCollide(6), kIdle, kStill, kOnce, Mass(0.0f)}},
      {kSprite<>, "greenBar", {{"HP_FG", 1, 1}}, "", 94, 0, -773, 5.2f, {Center(-50, 0)}},
      {kSprite<>, "lowLife", {{"dying", 1, 1}}, "", 95, 300, 300, 6.0f},
      {kSprite<SpecialAttackClass>, "SpecialAtk", {{"SpecialAtk", 2, 1, 2}}, "", 82, -708, -766, 10.0f,
       {ZCollision(4), kNoCanCollide, kIdle, kStill, kOnce, Mass(1.0f)}},
      {kSprite<AiFriendClass>, "AiFriend", {{"AiFriend", 1, 1}}, "", 83, -679, -946, 19.0f},
      {kSprite<PlayerClass>, "Player", {{"Car", 2, 2, 3}, {"CarHover", 2, 2, 3}}, "", 96, 50, 299, 20.0f,
       {kShapes, Thickness(8.0f), ZCollision(7), CanCollide(1), CanCollide(9), CanCollide(6), CanCollide(11),
        CanCollide(8), kIdle, kStill, kOnce, Mass(500.0f)}},
      {kSprite<ShieldConsume>, "pShieldImg", {{"shieldAnim", 1, 1}}, "", 97, 56, 310, 20.0f,
       {kShapes, ZCollision(7), CanCollide(9), kIdle, kStill, kOnce, Mass(0.0f)}},
      {kSprite<>, "PlayerGunSprite", {{"Gun", 2, 2, 3}}, "", 98, 105, 301, 20.1f, {kStill, kOnce, Center(-5, 0)}},
      {kSprite<LaserClass>, "Laser", {{"Laser2", 1, 1}}, "", 99, -379, -1179, 20.2f,
       {kShapes, Thickness(8.0f), ZCollision(4), CanCollide(6), CanCollide(5), kIdle, kStill, kOnce, Center(-550, 0),
        Mass(0.0f)}},
      {kSprite<>, "tutBg", {{"tutBg", 1, 1}}, "", 100, 300, 500, 24.0f, {Scale(25.0f, 20.0f)}},
      {kSprite<>, "tuh2Sprite", {{"tuh3", 1, 1}}, "", 101, 388, 329, 25.0f, {kHidden}},
      {kSprite<>, "tuh3Sprite", {{"tuh2", 1, 1}}, "", 102, 163, 391, 25.0f, {kStill, kHidden}},
      {kSprite<>, "tuh1Sprite", {{"tuh1", 1, 1}}, "", 103, 301, 255, 25.0f, {kHidden, Scale(1.15f, 1.15f)}},
      {kSprite<OptionMenu>, "OptionMenuSprite", {{"Op_bg", 1, 1}}, "", 27, 576, -1444, 30.0f, {Scale(10.0f, 10.0f)}},
      {kSprite<>, "Op_fsCheckBox", {{"Op_CheckBox", 2, 1, 2}}, "", 28, 742, -1412, 30.1f, checkBox},
      {kSprite<>, "Op_SoundChkBox", {{"Op_SoundMuter", 2, 1, 2}}, "", 29, 746, -1337, 30.1f, checkBox},
      {kSprite<>, "Op_BgmChkBox", {{"Op_SoundMuter", 2, 1, 2}}, "", 29, 746, -1265, 30.1f, checkBox},
      {kSprite<>, "Op_PlayBtn", {{"BlueBtn", 1, 1}}, "", 23, 443, -1634, 30.1f, {kIdle}},
      {kSprite<>, "Op_MmBtn", {{"BlueBtn", 1, 1}}, "", 23, 695, -1633, 30.1f, {kIdle}},
      {kSprite<CursorClass>, "mouse", {{"MousePoint", 1, 1}}, "", 30, -114, -780, 50.0f, {kIdle, Mass(1.0f)}},
      {kSpecial(&BuildTrail), "particleSystem0", {}, "", kNoActor, 6, 301, 20.0f},
  };
  return rows;
}

}  // namespace Content
