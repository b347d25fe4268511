// The fight of a run: spawning on the ground segments, aliens and their shots, pick-ups, the
// bosses and the UFO waves, the special attacks and the AI friend. The rules that need no level
// are checked alone; the actors run in the real game object on a small game level made of the game
// level's own rows (skipped without a display), on a fake clock and a fixed random seed.
#include <gtest/gtest.h>

#include <list>
#include <string>
#include <vector>

#include "content/Velkor_LevelRows.h"
#include "core/Core_Random.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_Text.h"
#include "game/Velkor_AiFriendClass.h"
#include "game/Velkor_AlienBullet.h"
#include "game/Velkor_AlienClass.h"
#include "game/Velkor_CharBullet.h"
#include "game/Velkor_CivilianClass.h"
#include "game/Velkor_FadingText.h"
#include "game/Velkor_GameLevelClass.h"
#include "game/Velkor_LaserClass.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_PlayerClass.h"
#include "game/Velkor_PowerConsume.h"
#include "game/Velkor_RadiusAttack.h"
#include "game/Velkor_SpHud.h"
#include "game/Velkor_ScreenSupport.h"
#include "game/Velkor_SpawnManager.h"
#include "game/Velkor_SpecialAttackClass.h"
#include "game/Velkor_UFO3Class.h"
#include "game/Velkor_UFOClass.h"
#include "game/Velkor_WarningSign.h"
#include "tests/support/ContentRows.h"
#include "tests/support/RealGame.h"
#include "tests/support/TestSupport.h"

namespace {

using Core::SmartPointer;
using Math::Vector2D;

// ---- Rules without a level ---------------------------------------------------------------------

TEST(FightRules, TheWaveTableCyclesInFivesWithTheMothershipEveryFifthWave) {
  // Waves 1 to 5, then the same again: UFOs, UFO2s and the mothership.
  const int32_t rows[5][3] = {{1, 0, 0}, {3, 1, 0}, {5, 2, 0}, {7, 3, 0}, {0, 0, 1}};
  for (int32_t level = 1; level <= 10; ++level) {
    const int32_t* row = rows[(level - 1) % 5];
    const GameLevelClass::UfoWave wave = GameLevelClass::GetWave(level);
    EXPECT_EQ(wave.ufos, row[0]) << level;
    EXPECT_EQ(wave.ufo2s, row[1]) << level;
    EXPECT_EQ(wave.ufo3s, row[2]) << level;
    EXPECT_EQ(GameLevelClass::GetWarningText(level),
              level % 5 == 0 ? std::string("WARNING: BOSS OF UFO!!") : "WARNING: UFO Level " + std::to_string(level));
  }
  // Bosses grow by half their health every five waves.
  EXPECT_EQ(GameLevelClass::GetBossHealth(1000, 0), 1000);
  EXPECT_EQ(GameLevelClass::GetBossHealth(5000, 1), 7500);
  EXPECT_EQ(GameLevelClass::GetBossHealth(20000, 2), 40000);
  EXPECT_EQ(GameLevelClass::GetBossHealth(1000, 3), 2500);
}

TEST(FightRules, ACountdownShowsAtMostThreeCharactersAndNoFiller) {
  EXPECT_EQ(SpHud::CountdownText(12.7f), "12");
  EXPECT_EQ(SpHud::CountdownText(123.4f), "123");
  EXPECT_EQ(SpHud::CountdownText(1234.5f), "123");
  EXPECT_EQ(SpHud::CountdownText(0.4f), "0");
  for (float seconds : {0.4f, 9.9f, 12.7f, 1234.5f}) {
    EXPECT_EQ(SpHud::CountdownText(seconds).find('\0'), std::string::npos) << seconds;
  }
}

// ---- A small game level ------------------------------------------------------------------------

// The game level's actors from the level's own rows, far from where the tests play, and the car at
// the origin without its rigid body: the tests put it where they need it and it stays there.
Content::LevelRows FightRows(bool asGameLevel) {
  Content::LevelRows rows = TestSupport::PickRows(
      Content::Level7Rows(),
      {"FadingTxt", "WarningTxt", "usableTxt", "SpAtkTxt", "aiFrTxt", "GearTxt", "PlayerStatsText", "hud_mgr",
       "Alien", "HealthPot", "Civilian", "PowerConsumeSprite", "Explosion", "charBullet", "WarningSign", "SpHud",
       "UsableImg", "SpAtkUi", "AiFriendUi", "UFO3_float", "UFO", "UFO2", "UFO3", "AlienBullet", "Bullet",
       "UFO3_hand", "redBar", "LaserA", "rAttack", "greenBar", "SpecialAtk", "AiFriend", "Player", "pShieldImg",
       "PlayerGunSprite", "Laser", "mouse"});
  TestSupport::Pin(rows, "Player", 0, 0);
  if (!asGameLevel) rows.level = &Content::NewLevel<Quillon::Level>;
  return rows;
}

class FightTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VELKOR_REQUIRE_DISPLAY();
    // The save file goes to the temporary folder, never to the player's own.
    ASSERT_NO_FATAL_FAILURE(m_session.Open("velkor_fight"));
    m_game = TestSupport::StartMyGame(m_session, new TestSupport::PickedLevelFactory(7, FightRows(AsGameLevel())), 7);
    // The level is built in one frame and its objects start in a later one.
    for (int frame = 0; frame < 5 && (m_game->GetCurrentLevel() == nullptr || Main()->GetPendingAdditionsCount() > 0);
         ++frame) {
      Frame();
    }
    ASSERT_EQ(Main()->GetPendingAdditionsCount(), 0u);
    m_game->showTutorialPages = 0;
    m_game->paused = 0;
    Core::SeedRandom(1234);
    ASSERT_NE(Player(), nullptr);
    Player()->SetBulletDamage(50);
    Player()->EquipSpecial(0, 40, 10);
  }
  void TearDown() override { m_session.Close(); }
  virtual bool AsGameLevel() const { return false; }

  // One frame of 1/60 s (the car held in place when asked).
  void Frame() {
    if (m_holdPlayer && Player() != nullptr) Player()->SetPosition(m_playerPlace);
    m_session.Step(1000.0 / 60.0);
  }
  void Frames(int count) {
    for (int i = 0; i < count; ++i) Frame();
  }
  void HoldPlayerAt(Vector2D place) {
    m_holdPlayer = true;
    m_playerPlace = place;
    Player()->SetPosition(place);
  }

  Quillon::Layer* Main() const { return m_game->GetCurrentLevel()->GetLayerByName("GameLevelObjects"); }
  PlayerClass* Player() const { return FindObjectByName<PlayerClass>("Player"); }
  std::list<Quillon::GameObject*> Named(const std::string& name) const {
    std::list<Quillon::GameObject*> found;
    m_game->GetCurrentLevel()->GetGameObjectsByName(name, found);
    return found;
  }
  size_t Count(const std::string& name) const { return Named(name).size(); }

  template <typename T>
  T* CloneOf(const char* archetype, const char* cloneName) {
    T* model = FindObjectByName<T>(archetype);
    EXPECT_NE(model, nullptr) << archetype;
    if (model == nullptr) return nullptr;
    auto* clone = static_cast<T*>(model->Clone());
    clone->SetName(cloneName);
    return clone;
  }
  // An alien of the spawner's kind at that place (held, so that the test may look at it after it
  // has gone).
  SmartPointer<AlienClass> AddAlien(Vector2D place, int32_t health = 100, bool aimed = false) {
    SmartPointer<AlienClass> alien(CloneOf<AlienClass>("Alien", "AlienClone"));
    alien->Spawn(0, "AlienClone", 6, place);
    alien->SetUp(health, 1.0f, aimed);
    Main()->AddGameObject(alien.Get());
    return alien;
  }
  // A shot of the car fired from just left of the target into it.
  void ShootAt(Vector2D target) {
    SmartPointer<CharBullet> shot(CloneOf<CharBullet>("charBullet", "charBulletClone"));
    shot->Fire(target - Vector2D(70.0f, 0.0f), Vector2D(1.0f, 0.0f), 10);
    Main()->AddGameObject(shot.Get());
  }
  static bool Gone(const Quillon::GameObject* object) {
    return object->IsDestroyed() || object->IsDestructionPending();
  }

  TestSupport::GameSession m_session;
  MyGame* m_game = nullptr;
  bool m_holdPlayer = false;
  Vector2D m_playerPlace;
};

TEST_F(FightTest, TheSpawnerKeepsItsCapsAndDistancesAndClearsOnlyItsOwnSpawns) {
  SpawnManager near;
  near.SetUp(0);
  // Up to 2000 units nothing comes, up to 2500 no alien, up to 10000 no health pot.
  for (int i = 0; i < 300; ++i) near.Spawn(Vector2D(static_cast<float>(i % 21) * 100.0f, 60.0f));
  EXPECT_EQ(near.GetAliensSpawned() + near.GetCiviliansSpawned() + near.GetHealthPotsSpawned(), 0);
  near.Clear();
  for (int i = 0; i < 300; ++i) near.Spawn(Vector2D(2000.0f + static_cast<float>(i % 6) * 100.0f, 60.0f));
  EXPECT_EQ(near.GetAliensSpawned(), 0);
  EXPECT_EQ(near.GetHealthPotsSpawned(), 0);
  EXPECT_EQ(near.GetCiviliansSpawned(), 3);
  near.Clear();

  // Far on, many platforms: the caps of one layout.
  SpawnManager first;
  SpawnManager second;
  first.SetUp(0);
  second.SetUp(1);
  for (int i = 0; i < 400; ++i) {
    first.Spawn(Vector2D(12000.0f + static_cast<float>(i) * 10.0f, 60.0f));
    second.Spawn(Vector2D(14000.0f + static_cast<float>(i) * 10.0f, 180.0f));
  }
  EXPECT_EQ(first.GetAliensSpawned(), SpawnManager::kMaximumAliens);
  EXPECT_EQ(first.GetCiviliansSpawned(), SpawnManager::kMaximumCivilians);
  EXPECT_EQ(first.GetHealthPotsSpawned(), SpawnManager::kMaximumHealthPots);
  EXPECT_EQ(Count("AlienClone"), 20u);
  EXPECT_EQ(Count("CivilianClone"), 6u);
  EXPECT_EQ(Count("HealthPotClone"), 2u);
  // The spawns keep their tag, their name and their strength once they have started.
  Frames(2);
  ASSERT_EQ(Count("AlienClone"), 20u);
  int strong = 0;
  for (Quillon::GameObject* object : Named("AlienClone")) {
    auto* alien = dynamic_cast<AlienClass*>(object);
    ASSERT_NE(alien, nullptr);
    EXPECT_TRUE(alien->IsSpawned());
    EXPECT_TRUE(alien->GetOwnerTag() == 0 || alien->GetOwnerTag() == 1);
    EXPECT_TRUE(alien->GetMaximumHealth() == 100 || alien->GetMaximumHealth() == 150);
    EXPECT_EQ(alien->IsAimed(), alien->GetMaximumHealth() == 150);
    strong += alien->IsAimed() ? 1 : 0;
  }
  EXPECT_GT(strong, 0);
  EXPECT_LT(strong, 20);

  // Clearing the first segment leaves the second segment's spawns and every archetype.
  first.Clear();
  EXPECT_EQ(first.GetAliensSpawned(), 0);
  Frame();
  EXPECT_EQ(Count("AlienClone"), 10u);
  EXPECT_EQ(Count("CivilianClone"), 3u);
  EXPECT_EQ(Count("HealthPotClone"), 1u);
  for (Quillon::GameObject* object : Named("AlienClone")) {
    EXPECT_EQ(static_cast<AlienClass*>(object)->GetOwnerTag(), 1);
  }
  for (const char* archetype : {"Alien", "Civilian", "HealthPot", "PowerConsumeSprite"}) {
    EXPECT_EQ(Count(archetype), 1u) << archetype;
  }
  // A spawner that was never set up spawns nothing.
  SpawnManager idle;
  for (int i = 0; i < 100; ++i) idle.Spawn(Vector2D(20000.0f, 60.0f));
  EXPECT_EQ(idle.GetAliensSpawned() + idle.GetCiviliansSpawned() + idle.GetHealthPotsSpawned(), 0);
}

TEST_F(FightTest, OnlyASpawnedPowerUpGivesItsKind) {
  HoldPlayerAt(Vector2D(0.0f, 0.0f));
  auto* archetype = FindObjectByName<PowerConsume>("PowerConsumeSprite");
  ASSERT_NE(archetype, nullptr);
  archetype->SetPosition(Vector2D(0.0f, 0.0f));
  Frames(3);
  EXPECT_EQ(Player()->GetHeldPowerUp(), PlayerClass::kNoPowerUp);
  EXPECT_EQ(Count("PowerConsumeSprite"), 1u);
  archetype->SetPosition(Vector2D(-1731.0f, -926.0f));

  auto* powerUp = CloneOf<PowerConsume>("PowerConsumeSprite", "PowerConsuClone");
  powerUp->Spawn(1, "PowerConsuClone", 8, Vector2D(0.0f, 0.0f));
  powerUp->SetType(PowerConsume::kSpeedBoost);
  Main()->AddGameObject(powerUp);
  Frames(3);
  EXPECT_EQ(Player()->GetHeldPowerUp(), PlayerClass::kSpeedUp);
  EXPECT_EQ(Count("PowerConsuClone"), 0u);
}

TEST_F(FightTest, AliensTakeShotsOnlyNearTheCarAndARammerDropsNothing) {
  HoldPlayerAt(Vector2D(0.0f, 0.0f));
  // A shot hitting an alien 800 or more from the car does nothing; one nearer costs the car's damage.
  SmartPointer<AlienClass> far = AddAlien(Vector2D(820.0f, 0.0f));
  SmartPointer<AlienClass> nearby = AddAlien(Vector2D(600.0f, 0.0f), 200);
  Frame();
  ShootAt(far->GetPosition());
  ShootAt(nearby->GetPosition());
  Frames(30);
  EXPECT_EQ(far->GetHealth(), 100);
  EXPECT_EQ(nearby->GetHealth(), 150);
  EXPECT_EQ(Count("charBulletClone"), 0u);

  // An alien that rams the car dies at once, explodes and leaves no power-up, whatever the dice.
  for (int round = 0; round < 6; ++round) {
    SmartPointer<AlienClass> rammer = AddAlien(Vector2D(0.0f, 0.0f));
    Frames(3);
    EXPECT_TRUE(Gone(rammer.Get())) << round;
    EXPECT_EQ(Count("PowerConsuClone"), 0u) << round;
  }
  EXPECT_GT(Count("Explosion"), 1u);

  // Shot down, an alien leaves a falling power-up now and then, with its message.
  int drops = 0;
  for (int round = 0; round < 12; ++round) {
    SmartPointer<AlienClass> target = AddAlien(Vector2D(400.0f, 300.0f), 40);
    Frame();
    ShootAt(target->GetPosition());
    Frames(30);
    EXPECT_TRUE(Gone(target.Get())) << round;
    drops = static_cast<int>(Count("PowerConsuClone"));
  }
  EXPECT_GT(drops, 0);
  EXPECT_LT(drops, 12);
  for (Quillon::GameObject* object : Named("PowerConsuClone")) {
    auto* powerUp = static_cast<PowerConsume*>(object);
    EXPECT_GE(powerUp->GetType(), 0);
    EXPECT_LE(powerUp->GetType(), 2);
    EXPECT_EQ(powerUp->GetOwnerTag(), 0);
  }
}

TEST_F(FightTest, AliensShootOnlyAtACarBehindThemAndWithinRange) {
  HoldPlayerAt(Vector2D(0.0f, 0.0f));
  AlienClass* ahead = AddAlien(Vector2D(-300.0f, 400.0f)).Get();   // the car has not passed it
  AlienClass* distant = AddAlien(Vector2D(900.0f, 400.0f)).Get();  // 800 or more away
  AlienClass* inRange = AddAlien(Vector2D(500.0f, 400.0f), 100, true).Get();
  Frame();
  // Started with a random timer; from here on each is about to shoot.
  for (AlienClass* alien : {ahead, distant, inRange}) alien->SetShotTimer(0.99f);
  for (Quillon::GameObject* early : Named("AlienBulletClone")) early->Destroy();
  Frames(2);
  // Each timer ran over its interval and restarted, but only one alien fired.
  for (AlienClass* alien : {ahead, distant, inRange}) EXPECT_LT(alien->GetShotTimer(), 0.5f);
  ASSERT_EQ(Count("AlienBulletClone"), 1u);
  SmartPointer<AlienBullet> shot(static_cast<AlienBullet*>(Named("AlienBulletClone").front()));
  // Set by the alien before the shot joined the layer, kept after it started.
  EXPECT_TRUE(shot->IsAimed());
  EXPECT_GT(shot->GetLife(), 2.9f);
  EXPECT_LT(shot->GetStoredVelocity().x, 0.0f);
  EXPECT_NEAR(shot->GetStoredVelocity().Length(), 20.0f, 1e-3);
  // Paused, the shot stands still and keeps its life.
  m_game->paused = 1;
  const float life = shot->GetLife();
  Frames(5);
  EXPECT_FLOAT_EQ(shot->GetLife(), life);
  m_game->paused = 0;
  // It runs out after its three seconds (or hits the car before).
  Frames(200);
  EXPECT_TRUE(Gone(shot.Get()));
}

TEST_F(FightTest, ACloneSetUpBeforeItJoinsItsLayerKeepsItsFields) {
  auto* shot = CloneOf<AlienBullet>("AlienBullet", "AlienBulletClone");
  shot->FireStraight(Vector2D(-500.0f, 800.0f), 3.0f);
  shot->SetLife(3.0f);
  Main()->AddGameObject(shot);
  auto* blast = CloneOf<RadiusAttack>("rAttack", "rAttackClone");
  blast->Start(Vector2D(-800.0f, 800.0f), 3.0f, 2);
  Main()->AddGameObject(blast);
  auto* civilian = CloneOf<CivilianClass>("Civilian", "CivilianClone");
  civilian->Spawn(1, "CivilianClone", 8, Vector2D(-1200.0f, 800.0f));
  Main()->AddGameObject(civilian);
  Frame();
  EXPECT_FALSE(shot->IsAimed());
  EXPECT_NEAR(shot->GetLife(), 3.0f - 1.0f / 60.0f, 1e-4);
  EXPECT_FLOAT_EQ(shot->GetStoredVelocity().x, -30.0f);
  EXPECT_FLOAT_EQ(blast->GetBlastLifeTime(), 3.0f);
  EXPECT_EQ(blast->GetCurrentFrameIndex(), 2u);
  EXPECT_EQ(civilian->GetOwnerTag(), 1);
  EXPECT_EQ(civilian->GetName(), "CivilianClone");
  EXPECT_TRUE(civilian->IsSpawned());
  // The blast fades over its life and goes.
  Frames(90);
  EXPECT_NEAR(blast->GetOpacity(), 0.5f, 0.05f);
  Frames(100);
  EXPECT_EQ(Count("rAttackClone"), 0u);
}

TEST_F(FightTest, ARescuedCivilianCountsOnceAndItsMessageFades) {
  HoldPlayerAt(Vector2D(0.0f, 0.0f));
  auto* civilian = CloneOf<CivilianClass>("Civilian", "CivilianClone");
  civilian->Spawn(0, "CivilianClone", 8, Vector2D(0.0f, 0.0f));
  Main()->AddGameObject(civilian);
  Frames(10);
  EXPECT_TRUE(civilian->IsRescued());
  EXPECT_EQ(Player()->GetGears(), 1);
  EXPECT_FLOAT_EQ(civilian->GetLifeTime(), 3.0f);
  bool message = false;
  for (Quillon::GameObject* object : Named("FadingTxt")) {
    message = message || static_cast<FadingText*>(object)->GetText() == "Rescued! \n+1 Gear";
  }
  EXPECT_TRUE(message);
  // Fading messages go once they have faded.
  Frames(110);
  EXPECT_EQ(Count("FadingTxt"), 1u);
}

TEST_F(FightTest, TheRocketLaunchesOnItsSecondStepAndBurstsIntoABlast) {
  HoldPlayerAt(Vector2D(0.0f, 0.0f));
  auto fire = [&]() {
    auto* rocket = CloneOf<SpecialAttackClass>("SpecialAtk", "SpecialAttackClone");
    rocket->SetUp(SpecialAttackClass::kRocket, 2.0f);
    Main()->AddGameObject(rocket);
    return rocket;
  };
  SmartPointer<SpecialAttackClass> rocket(fire());
  Frame();
  EXPECT_TRUE(rocket->IsLaunchPending());
  Frame();
  EXPECT_FALSE(rocket->IsLaunchPending());
  EXPECT_NEAR(rocket->GetStoredVelocity().Length(), 50.0f, 1e-3);
  // A target in the blast loses the special attack's damage every frame it is touched.
  AddAlien(Vector2D(0.0f, 0.0f), 100000);
  Frames(125);
  EXPECT_TRUE(Gone(rocket.Get()));
  ASSERT_EQ(Count("rAttackClone"), 1u);
  auto* blast = static_cast<RadiusAttack*>(Named("rAttackClone").front());
  EXPECT_EQ(blast->GetCurrentFrameIndex(), 1u);
  EXPECT_FLOAT_EQ(blast->GetBlastLifeTime(), 3.0f);

  // With the speed boost on the rocket flies at 80.
  Player()->SetHeldPowerUp(PlayerClass::kSpeedUp);
  Player()->UsePowerUp();
  ASSERT_TRUE(Player()->IsSpeedBoostOn());
  SpecialAttackClass* fast = fire();
  Frames(2);
  EXPECT_NEAR(fast->GetStoredVelocity().Length(), 80.0f, 1e-3);
  // A rocket of another kind never moves and only vanishes at its fuse.
  const size_t blasts = Count("rAttackClone");
  SmartPointer<SpecialAttackClass> dud(CloneOf<SpecialAttackClass>("SpecialAtk", "SpecialAttackClone"));
  dud->SetUp(1, 0.5f);
  Main()->AddGameObject(dud.Get());
  Frames(40);
  EXPECT_TRUE(Gone(dud.Get()));
  EXPECT_EQ(dud->GetStoredVelocity(), Vector2D(0.0f, 0.0f));
  EXPECT_LE(Count("rAttackClone"), blasts + 1);
}

TEST_F(FightTest, TheCarsLaserHurtsWhatItTouchesForItsTimeAndThenNothing) {
  HoldPlayerAt(Vector2D(0.0f, 0.0f));
  auto* laser = FindObjectByName<LaserClass>("Laser");
  ASSERT_NE(laser, nullptr);
  // Inactive, the beam stands hidden and hurts nobody.
  EXPECT_FALSE(laser->IsVisible());
  SmartPointer<AlienClass> parked = AddAlien(laser->GetPosition(), 1000);
  Frames(3);
  EXPECT_EQ(parked->GetHealth(), 1000);
  parked->Destroy();

  laser->Switch(true, 3.0f);
  Frame();
  EXPECT_TRUE(laser->IsVisible());
  EXPECT_EQ(laser->GetPosition(), Vector2D(50.0f, 0.0f));
  SmartPointer<AlienClass> victim = AddAlien(Vector2D(50.0f, 0.0f), 100000);
  Frames(60);
  const int32_t during = victim->GetHealth();
  EXPECT_LT(during, 100000);
  EXPECT_EQ((100000 - during) % 40, 0);
  Frames(130);
  EXPECT_FALSE(laser->IsActive());
  EXPECT_FALSE(laser->IsVisible());
  const int32_t after = victim->GetHealth();
  Frames(10);
  EXPECT_EQ(victim->GetHealth(), after);
}

TEST_F(FightTest, ThePanelCountsDownOnlyWhileThePlayRuns) {
  auto* panel = FindObjectByName<SpHud>("SpHud");
  ASSERT_NE(panel, nullptr);
  auto* text = FindObjectByName<Quillon::Text>("SpAtkTxt");
  ASSERT_NE(text, nullptr);
  panel->SetItems(-1, -1, 2);
  EXPECT_EQ(text->GetText(), "0");
  EXPECT_EQ(FindObjectByName<Quillon::Text>("usableTxt")->GetText(), "");
  panel->SetSpecialCountdown(12.7f);
  Frame();
  EXPECT_TRUE(text->IsVisible());
  EXPECT_EQ(text->GetText(), "12");
  m_game->paused = 1;
  Frames(60);
  EXPECT_NEAR(panel->GetSpecialCountdown(), 12.7f - 1.0f / 60.0f, 1e-4);
  m_game->paused = 0;
  Frames(60 * 13);
  EXPECT_LE(panel->GetSpecialCountdown(), 0.0f);
  EXPECT_FALSE(text->IsVisible());
}

TEST_F(FightTest, TheCarsSpecialAttackFriendAndPowerUpWaitForTheirCoolDowns) {
  HoldPlayerAt(Vector2D(0.0f, 0.0f));
  auto* panel = FindObjectByName<SpHud>("SpHud");
  ASSERT_NE(panel, nullptr);
  // Nothing equipped: nothing happens.
  Player()->EquipSpecial(-1, 0, 0);
  Player()->UseSpecialAttack();
  EXPECT_EQ(Count("SpecialAttackClone"), 0u);
  EXPECT_FLOAT_EQ(panel->GetSpecialCountdown(), 0.0f);

  // The rocket, then "Not Ready" until its cool-down has run.
  Player()->EquipSpecial(0, 40, 10);
  Player()->UseSpecialAttack();
  EXPECT_EQ(Count("SpecialAttackClone"), 1u);
  EXPECT_FLOAT_EQ(panel->GetSpecialCountdown(), 10.0f);
  Frames(60);
  Player()->UseSpecialAttack();
  EXPECT_LE(Count("SpecialAttackClone"), 1u);
  Frames(60 * 9 + 5);
  EXPECT_LE(panel->GetSpecialCountdown(), 0.0f);
  const size_t rockets = Count("SpecialAttackClone");
  Player()->UseSpecialAttack();
  EXPECT_EQ(Count("SpecialAttackClone"), rockets + 1);

  // The laser, for three seconds, with its own cool-down.
  Frames(60 * 10 + 5);
  Player()->EquipSpecial(1, 40, 5);
  auto* laser = FindObjectByName<LaserClass>("Laser");
  ASSERT_NE(laser, nullptr);
  Player()->UseSpecialAttack();
  EXPECT_TRUE(laser->IsActive());
  EXPECT_FLOAT_EQ(panel->GetSpecialCountdown(), 5.0f);
  Frames(60 * 3 + 5);
  EXPECT_FALSE(laser->IsActive());
  Player()->UseSpecialAttack();
  EXPECT_FALSE(laser->IsActive());

  // The AI friend comes once per cool-down.
  auto* friendly = FindObjectByName<AiFriendClass>("AiFriend");
  ASSERT_NE(friendly, nullptr);
  Player()->EquipAiFriend(0, 30, 20);
  Player()->CallAiFriend();
  EXPECT_TRUE(friendly->IsActive());
  EXPECT_EQ(friendly->GetAttackCount(), 4);
  EXPECT_FLOAT_EQ(panel->GetAiFriendCountdown(), 20.0f);
  Frames(10);
  // A second call within the cool-down does not set it up again.
  Player()->CallAiFriend();
  EXPECT_NE(friendly->GetOffset(), Vector2D(-500.0f, 200.0f));

  // The held power-up shows on the panel until it is used.
  auto* usable = FindObjectByName<PowerConsume>("UsableImg");
  auto* usableText = FindObjectByName<Quillon::Text>("usableTxt");
  ASSERT_NE(usable, nullptr);
  ASSERT_NE(usableText, nullptr);
  Player()->SetHeldPowerUp(PlayerClass::kMultiBullet);
  EXPECT_TRUE(usable->IsVisible());
  EXPECT_EQ(usable->GetCurrentFrameIndex(), 1u);
  Player()->UsePowerUp();
  EXPECT_TRUE(Player()->IsMultiBulletOn());
  EXPECT_FALSE(usable->IsVisible());
  EXPECT_EQ(usableText->GetText(), "0");
}

TEST_F(FightTest, TheAiFriendFollowsInItsBoxFiresItsBlastsAndLeaves) {
  HoldPlayerAt(Vector2D(0.0f, 0.0f));
  auto* friendly = FindObjectByName<AiFriendClass>("AiFriend");
  ASSERT_NE(friendly, nullptr);
  EXPECT_FALSE(friendly->IsActive());
  friendly->SetBox(Vector2D(-150.0f, 150.0f), Vector2D(800.0f, 650.0f));
  friendly->SetUp(Vector2D(-500.0f, 200.0f), 0, 4, 4.0f);
  friendly->SetSpeedRange(5, 10);
  std::vector<int> blastFrames;
  int done = 0;
  for (int frame = 0; frame < 60 * 40 && friendly->IsActive(); ++frame) {
    Frame();
    // It stands beside the car at its offset.
    EXPECT_FLOAT_EQ(friendly->GetPositionX(), Player()->GetPositionX() + friendly->GetOffset().x);
    EXPECT_FLOAT_EQ(friendly->GetPositionY(), friendly->GetOffset().y);
    if (friendly->GetAttacksDone() != done) {
      done = friendly->GetAttacksDone();
      blastFrames.push_back(frame);
      EXPECT_GE(friendly->GetOffset().x, 600.0f);
    }
    if (done < 4 && blastFrames.size() > 0 && !friendly->IsAdvancing()) {
      // Between blasts it keeps to its box, give or take one step.
      EXPECT_GE(friendly->GetOffset().x, -150.0f - 10.0f);
      EXPECT_LE(friendly->GetOffset().x, 800.0f + 10.0f);
      EXPECT_GE(friendly->GetOffset().y, 150.0f - 10.0f);
      EXPECT_LE(friendly->GetOffset().y, 650.0f + 10.0f);
    }
  }
  ASSERT_EQ(blastFrames.size(), 4u);
  for (size_t i = 1; i < blastFrames.size(); ++i) EXPECT_GE(blastFrames[i] - blastFrames[i - 1], 4 * 60 - 1);
  // Done, it flew off and switched itself off beyond 1000 units.
  EXPECT_FALSE(friendly->IsActive());
  EXPECT_GT(friendly->GetPosition().Distance(Player()->GetPosition()), 1000.0f);
  // Paused, a called friend neither moves nor counts down.
  friendly->SetUp(Vector2D(-500.0f, 200.0f), 0, 4, 4.0f);
  m_game->paused = 1;
  const Vector2D offset = friendly->GetOffset();
  Frames(30);
  EXPECT_EQ(friendly->GetOffset(), offset);
  m_game->paused = 0;
}

TEST_F(FightTest, EscortsWanderInTheirBoxBesideTheCarAndFallToItsShots) {
  HoldPlayerAt(Vector2D(0.0f, 0.0f));
  SmartPointer<UFOClass> ufo(CloneOf<UFOClass>("UFO", "UFOClone"));
  ufo->Initialise(Vector2D(800.0f, 950.0f), 50, 5);
  ufo->SetWanderingBox(Vector2D(300.0f, 300.0f), Vector2D(800.0f, 600.0f), Vector2D(2.0f, 2.0f), Vector2D(5.0f, 5.0f));
  Main()->AddGameObject(ufo.Get());
  for (int frame = 0; frame < 60 * 20; ++frame) {
    Frame();
    EXPECT_FLOAT_EQ(ufo->GetPositionX(), Player()->GetPositionX() + ufo->GetOffset().x);
  }
  // It came down into its box and stays there, one step of at most 5 beyond.
  EXPECT_GE(ufo->GetOffset().x, 295.0f);
  EXPECT_LE(ufo->GetOffset().x, 805.0f);
  EXPECT_GE(ufo->GetOffset().y, 295.0f);
  EXPECT_LE(ufo->GetOffset().y, 605.0f);
  // Its shots lead the car and go once they fall far behind it.
  EXPECT_GT(Count("BulletClone") + 0u, 0u);
  ASSERT_EQ(ufo->GetHealth(), 50);
  ShootAt(ufo->GetPosition());
  Frames(30);
  EXPECT_TRUE(Gone(ufo.Get()));
  bool down = false;
  for (Quillon::GameObject* object : Named("FadingTxt")) {
    down = down || static_cast<FadingText*>(object)->GetText() == "1 UFO Down";
  }
  EXPECT_TRUE(down);
}

// ---- The waves on the game level itself ---------------------------------------------------------

class WavesTest : public FightTest {
 protected:
  bool AsGameLevel() const override { return true; }
  GameLevelClass* Level() const { return dynamic_cast<GameLevelClass*>(m_game->GetCurrentLevel()); }
  UFO3Class* Mothership() const { return FindObjectByName<UFO3Class>("UFO3"); }
  // Runs until the wave of that level has been spawned; the bosses of earlier waves are shot down
  // on the way (taken out).
  void RunToWave(int32_t ufoLevel) {
    for (int frame = 0; frame < 60 * 60; ++frame) {
      if (Level()->GetUfoLevel() == ufoLevel && Level()->IsWaveActive()) return;
      if (Level()->GetUfoLevel() < ufoLevel && Level()->IsWaveActive()) {
        for (const char* name : {"UFOClone", "UFO2Clone"}) {
          for (Quillon::GameObject* boss : Named(name)) boss->Destroy();
        }
      }
      // Before its wave the mothership stays out of the fight and out of sight.
      if (Level()->GetUfoLevel() < 5) {
        EXPECT_FALSE(Mothership()->IsEngaged());
        EXPECT_FALSE(Mothership()->IsVisible());
      }
      Frame();
    }
    FAIL() << "wave " << ufoLevel << " did not come";
  }
};

TEST_F(WavesTest, TheFirstWarningComesAfterThreeSecondsAndItsUfoTwoSecondsLater) {
  ASSERT_NE(Level(), nullptr);
  HoldPlayerAt(Vector2D(0.0f, 0.0f));
  auto* sign = FindObjectByName<WarningSign>("WarningSign");
  ASSERT_NE(sign, nullptr);
  Frames(60 * 3 + 20);
  EXPECT_EQ(Level()->GetUfoLevel(), 1);
  EXPECT_TRUE(Level()->IsWarningShown());
  EXPECT_TRUE(sign->IsVisible());
  EXPECT_EQ(sign->GetCaption()->GetText(), "WARNING: UFO Level 1");
  EXPECT_EQ(Count("UFOClone"), 0u);
  Frames(60 * 2 + 10);
  EXPECT_TRUE(Level()->IsWaveActive());
  ASSERT_EQ(Count("UFOClone"), 1u);
  SmartPointer<UFOClass> ufo(static_cast<UFOClass*>(Named("UFOClone").front()));
  EXPECT_EQ(ufo->GetMaximumHealth(), 1000);
  // The sign fades out over its five seconds and hides.
  Frames(60 * 4);
  EXPECT_FALSE(sign->IsVisible());

  // Left more than 5000 behind, it is replaced by a fresh one beside the car; the wave goes on.
  ufo->SetOffset(Vector2D(6000.0f, 500.0f));
  Frames(70);
  ASSERT_EQ(Count("UFOClone"), 1u);
  auto* fresh = static_cast<UFOClass*>(Named("UFOClone").front());
  EXPECT_NE(fresh, ufo.Get());
  EXPECT_LT(fresh->GetPosition().Distance(Player()->GetPosition()), 5000.0f);
  EXPECT_TRUE(Level()->IsWaveActive());
  // Shot down, the wave ends and the next warning follows.
  fresh->Destroy();
  Frames(60 * 5);
  EXPECT_EQ(Level()->GetUfoLevel(), 2);
}

TEST_F(WavesTest, TheMothershipComesWithWaveFiveAndItsLaserEndsWithIt) {
  HoldPlayerAt(Vector2D(0.0f, 0.0f));
  RunToWave(2);
  EXPECT_EQ(Count("UFOClone"), 3u);
  EXPECT_EQ(Count("UFO2Clone"), 1u);
  RunToWave(5);
  UFO3Class* boss = Mothership();
  ASSERT_NE(boss, nullptr);
  EXPECT_EQ(Count("UFOClone") + Count("UFO2Clone"), 0u);
  Frame();
  EXPECT_TRUE(boss->IsEngaged());
  EXPECT_TRUE(boss->IsVisible());
  EXPECT_EQ(boss->GetMaximumHealth(), 30000);
  // The swoop ten seconds after engagement, the laser ten seconds after that.
  auto* laser = FindObjectByName<LaserClass>("LaserA");
  ASSERT_NE(laser, nullptr);
  bool swooped = false;
  for (int frame = 0; frame < 60 * 21 && !laser->IsActive(); ++frame) {
    Frame();
    swooped = swooped || (boss->IsAttacking() && boss->GetPhase() == UFO3Class::kSwoopPhase);
  }
  EXPECT_TRUE(swooped);
  ASSERT_TRUE(laser->IsActive());
  EXPECT_TRUE(laser->IsBossLaser());
  Frames(10);
  EXPECT_TRUE(laser->IsVisible());

  // Shot down: 100 gears once, gone from sight, its laser off in the same frame.
  const int32_t gears = Player()->GetGears();
  boss->Initialise(boss->GetOffset(), 1, 5);
  Frame();
  ShootAt(boss->GetPosition());
  for (int frame = 0; frame < 30 && boss->IsEngaged(); ++frame) Frame();
  EXPECT_FALSE(boss->IsEngaged());
  EXPECT_FALSE(boss->IsVisible());
  EXPECT_FALSE(laser->IsActive());
  EXPECT_FALSE(laser->IsVisible());
  Frames(5);
  EXPECT_EQ(Player()->GetGears(), gears + 100);
  // The wave is over; the next one is wave 6 with a single UFO.
  RunToWave(6);
  EXPECT_EQ(Count("UFOClone"), 1u);
  EXPECT_FALSE(boss->IsVisible());

  // The run's gears reach the save file once the car is lost, and come back from it.
  Player()->SetSpeedAndDurability(0, 0.0f);
  for (int frame = 0; frame < 60 * 4 && !Player()->IsGameOver(); ++frame) Frame();
  ASSERT_TRUE(Player()->IsGameOver());
  Frames(3);
  DataManager saved;
  saved.SetDefaults();
  ASSERT_TRUE(saved.Load());
  EXPECT_EQ(saved.player.totalGears, gears + 100);
}

// A level read back from a saved game is not started again: the HUD, the warning sign and the
// mothership must still find their parts.
TEST_F(WavesTest, ARunReadBackFromASavedGameStillShowsItsHudWarningAndMothership) {
  HoldPlayerAt(Vector2D(0.0f, 0.0f));
  Frames(30);
  m_game->GetSaves()->RequestSave("velkor_fight_run");
  Frame();
  m_game->GetSaves()->RequestLoad("velkor_fight_run");
  Frames(2);
  ASSERT_NE(Level(), nullptr);
  ASSERT_NE(Player(), nullptr);
  Player()->AddGears(7);
  EXPECT_EQ(FindObjectByName<Quillon::Text>("GearTxt")->GetText(), "Gears:\n7");
  FindObjectByName<SpHud>("SpHud")->SetSpecialCountdown(5.0f);
  Frame();
  auto* countdown = FindObjectByName<Quillon::Text>("SpAtkTxt");
  EXPECT_TRUE(countdown->IsVisible());
  EXPECT_EQ(countdown->GetText(), "4");

  Frames(60 * 3 + 20);
  auto* sign = FindObjectByName<WarningSign>("WarningSign");
  ASSERT_NE(sign->GetCaption(), nullptr);
  EXPECT_TRUE(sign->GetCaption()->IsVisible());
  EXPECT_EQ(sign->GetCaption()->GetText(), "WARNING: UFO Level 1");

  // Engaged, it shows its parts and swings its hand in the swoop ten seconds on.
  Level()->SpawnUfo3();
  Frame();
  auto* hand = FindObjectByName<Quillon::Sprite>("UFO3_hand");
  EXPECT_TRUE(Mothership()->IsVisible());
  EXPECT_TRUE(hand->IsVisible());
  EXPECT_TRUE(FindObjectByName<Quillon::Sprite>("UFO3_float")->IsVisible());
  for (int frame = 0; frame < 60 * 11 && !Mothership()->IsAttacking(); ++frame) Frame();
  Frames(3);
  EXPECT_GT(hand->GetRotationAngle(), 0.0f);
}

}  // namespace
