// The run's rules that need no level: the contact rules of every level, the car's hits, hover,
// drop-through and volleys, the parallax wrap and the fading messages.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "framework/Quillon_CollisionBridge.h"
#include "framework/Quillon_Sprite.h"
#include "game/Velkor_ContactTables.h"
#include "game/Velkor_FadingText.h"
#include "game/Velkor_MobHealthBar.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_ParallaxBackground.h"
#include "game/Velkor_PlayerClass.h"
#include "game/Velkor_PlayerText.h"

namespace {

using Core::SmartPointer;

// An object of that name; "Player" is a car unless asked otherwise.
SmartPointer<Quillon::GameObject> Named(const std::string& name, bool car = true) {
  SmartPointer<Quillon::GameObject> object;
  if (name == "Player" && car) {
    object = new PlayerClass();
  } else {
    object = new Quillon::Sprite();
  }
  object->SetName(name);
  return object;
}

struct Answer {
  bool respond;
  float restitution;
  float friction;
  bool oneSided;
};

Answer Ask(uint32_t level, Quillon::GameObject* a, Quillon::GameObject* b) {
  Answer answer{false, Quillon::kDefaultContactRestitution, Quillon::kDefaultContactFriction, false};
  Quillon::SetOneSidedContact(false);
  answer.respond = DecideContact(level, a, b, answer.restitution, answer.friction);
  answer.oneSided = Quillon::GetOneSidedContact();
  return answer;
}

Answer Ask(uint32_t level, const std::string& a, const std::string& b) {
  SmartPointer<Quillon::GameObject> first = Named(a);
  SmartPointer<Quillon::GameObject> second = Named(b);
  return Ask(level, first.Get(), second.Get());
}

void Expect(const Answer& got, bool respond, float restitution, float friction, bool oneSided, const std::string& what) {
  EXPECT_EQ(got.respond, respond) << what;
  EXPECT_FLOAT_EQ(got.restitution, restitution) << what;
  EXPECT_FLOAT_EQ(got.friction, friction) << what;
  EXPECT_EQ(got.oneSided, oneSided) << what;
}

constexpr float kR = Quillon::kDefaultContactRestitution;
constexpr float kF = Quillon::kDefaultContactFriction;
const uint32_t kCommonLevels[] = {0, 1, 2, 3, 4, 6, 8};
using namespace ContactTables;

TEST(ContactRules, TheCommonSetDecidesEveryScreenAndTheOtherSetsFallBackToIt) {
  for (uint32_t level = 0; level <= kLastLevel; ++level) {
    const std::string at = " in level " + std::to_string(level);
    for (const char* name : kCarPassesThrough) {
      Expect(Ask(level, "Player", name), false, 0.0f, 0.0f, false, std::string("Player/") + name + at);
      Expect(Ask(level, name, "Player"), false, 0.0f, 0.0f, false, std::string(name) + "/Player" + at);
    }
    Expect(Ask(level, "AlienClone", "charBulletClone"), false, kR, kF, false, "alien/shot" + at);
    Expect(Ask(level, "charBulletClone", "AlienClone"), false, kR, kF, false, "shot/alien" + at);
    Expect(Ask(level, "AlienClone", "Platform"), true, kR, kF, false, "clone/platform" + at);
  }
  for (uint32_t level : kCommonLevels) {
    Expect(Ask(level, "Player", "Platform"), true, kR, kF, false, "car on platform");
    Expect(Ask(level, "Platform", "Player"), true, kR, kF, false, "platform under car");
    Expect(Ask(level, "Alien", "Player"), true, kR, kF, false, "plain names mean nothing outside the game level");
  }
  // Levels the table does not know answer yes at once, whatever the names, but for a mouse cursor
  // (every level's cursors are held against their levels' objects in the content tests).
  for (uint32_t level : {kLastLevel + 1, 100u, 0xFFFFFFFFu}) {
    Expect(Ask(level, "Player", "CivilianClone"), true, kR, kF, false, "unknown level");
    for (const char* cursor : kMouseCursors) EXPECT_FALSE(Ask(level, "Player", cursor).respond) << cursor;
  }
}

TEST(ContactRules, TheCarsDropThroughFlagDecidesPlatformsAndAnotherClassNamedPlayerNeverDrops) {
  SmartPointer<PlayerClass> car(new PlayerClass());
  car->SetName("Player");
  SmartPointer<Quillon::GameObject> platform = Named("Platform");
  car->SetPositionY(300.0f);
  car->DropThrough(true, false);
  ASSERT_TRUE(car->IsDroppingThrough());
  for (uint32_t level : {2u, kGameLevel}) {
    EXPECT_FALSE(Ask(level, car.Get(), platform.Get()).respond) << level;
    EXPECT_FALSE(Ask(level, platform.Get(), car.Get()).respond) << level;
  }
  // The game level takes friction and restitution away whatever the answer.
  Expect(Ask(kGameLevel, car.Get(), platform.Get()), false, 0.0f, 0.0f, false, "dropping car in the game level");
  car->DropThrough(false, true);
  Expect(Ask(kGameLevel, car.Get(), platform.Get()), true, 0.0f, 0.0f, false, "car on platform in the game level");
  Expect(Ask(kGameLevel, platform.Get(), car.Get()), true, 0.0f, 0.0f, false, "platform under car in the game level");
  SmartPointer<Quillon::GameObject> impostor = Named("Player", false);
  EXPECT_TRUE(Ask(2, impostor.Get(), platform.Get()).respond);
}

TEST(ContactRules, TheTutorialSetNamesLowerCaseObjectsOnly) {
  for (const char* platform : kTutorialPlatforms) {
    Expect(Ask(kTutorialLevel, "player", platform), true, 0.0f, kF, false, std::string("player/") + platform);
    Expect(Ask(kTutorialLevel, platform, "player"), true, 0.0f, kF, false, std::string(platform) + "/player");
  }
  std::vector<const char*> passed(std::begin(kTutorialPassThrough), std::end(kTutorialPassThrough));
  passed.push_back("alien");
  for (const char* name : passed) {
    Expect(Ask(kTutorialLevel, "player", name), false, kR, kF, false, std::string("player/") + name);
    Expect(Ask(kTutorialLevel, name, "player"), false, kR, kF, false, std::string(name) + "/player");
  }
  Expect(Ask(kTutorialLevel, "alien", "charbullet"), false, kR, kF, false, "alien/charbullet");
  Expect(Ask(kTutorialLevel, "charbullet", "alien"), true, kR, kF, true, "charbullet/alien pushes the shot only");
  // Case variants match nothing of the tutorial; the common set answers.
  Expect(Ask(kTutorialLevel, "Player", "platform2"), true, kR, kF, false, "Player/platform2");
  Expect(Ask(kTutorialLevel, "player", "Platform2"), true, kR, kF, false, "player/Platform2");
  Expect(Ask(kTutorialLevel, "Charbullet", "alien"), true, kR, kF, false, "Charbullet/alien");
  // The tutorial's names mean nothing elsewhere.
  Expect(Ask(kGameLevel, "charbullet", "alien"), true, kR, kF, false, "tutorial names in the game level");
  Expect(Ask(2, "player", "health"), true, kR, kF, false, "tutorial names on the menu");
}

// Each pair the game level's tables name, in either order, gets its table's coefficients (the
// defaults where no coefficient table names it) and passes through exactly when listed so: a
// coefficient is set even for a pair that then passes.
TEST(ContactRules, TheGameLevelPairsTakeWhatTheirTablesSay) {
  auto same = [](const char* a, const char* b, const char* x, const char* y) {
    const std::string p(a), q(b);
    return (p == x && q == y) || (p == y && q == x);
  };
  std::vector<NamePair> pairs(std::begin(kGameFrictionless), std::end(kGameFrictionless));
  pairs.insert(pairs.end(), std::begin(kGamePassThrough), std::end(kGamePassThrough));
  for (const NamePairValue& rule : kGameRestitution) pairs.push_back({rule.first, rule.second});
  for (const NamePair& pair : pairs) {
    bool passes = false;
    float friction = kF;
    float restitution = kR;
    int restitutionRules = 0;
    for (const NamePair& rule : kGamePassThrough) {
      if (same(pair.first, pair.second, rule.first, rule.second)) passes = true;
    }
    for (const NamePair& rule : kGameFrictionless) {
      if (same(pair.first, pair.second, rule.first, rule.second)) friction = 0.0f;
    }
    for (const NamePairValue& rule : kGameRestitution) {
      if (!same(pair.first, pair.second, rule.first, rule.second)) continue;
      // Two values for one pair would leave one of them never used.
      EXPECT_TRUE(restitutionRules++ == 0 || restitution == rule.value) << pair.first << "/" << pair.second;
      restitution = rule.value;
    }
    const std::string what = std::string(pair.first) + "/" + pair.second;
    Expect(Ask(kGameLevel, pair.first, pair.second), !passes, restitution, friction, false, what);
    Expect(Ask(kGameLevel, pair.second, pair.first), !passes, restitution, friction, false, what + " swapped");
  }
  Expect(Ask(kGameLevel, "pShieldImg", "Player"), false, kR, kF, false, "barrier/car");
  Expect(Ask(kGameLevel, "Player", "pShieldImg"), true, kR, kF, true, "car/barrier");
  // Clones are the common set's: the game level's names are the archetypes'.
  Expect(Ask(kGameLevel, "AlienClone", "Platform"), true, kR, kF, false, "AlienClone/Platform");
  Expect(Ask(kGameLevel, "CivilianClone", "Platform"), true, kR, kF, false, "CivilianClone/Platform");
  Expect(Ask(kGameLevel, "alien", "platform"), true, kR, kF, false, "lower case");
}

TEST(ContactRules, AMissingSecondObjectMatchesNoRule) {
  SmartPointer<Quillon::GameObject> car = Named("Player");
  SmartPointer<Quillon::GameObject> alien = Named("AlienClone");
  SmartPointer<Quillon::GameObject> player = Named("player");
  for (uint32_t level : kCommonLevels) Expect(Ask(level, car.Get(), nullptr), true, kR, kF, false, "car on ground");
  Expect(Ask(kGameLevel, car.Get(), nullptr), true, 0.0f, kF, false, "car on the game level's ground");
  Expect(Ask(kGameLevel, alien.Get(), nullptr), true, kR, kF, false, "alien on the game level's ground");
  Expect(Ask(kTutorialLevel, player.Get(), nullptr), true, kR, kF, false, "tutorial car on ground");
  Expect(Ask(kGameLevel, nullptr, nullptr), true, kR, kF, false, "nothing at all");
}

TEST(GameClasses, EveryGameClassIsCreatedByItsRegisteredName) {
  const char* const names[] = {
      "AiData",           "AiFriendClass",      "AlienBullet",   "AlienClass",    "ArmourData",   "BossObject",
      "BulletClass",      "CharBullet",         "CivilianClass", "CreditsLevel",  "CursorClass",  "DataManager",
      "EnergyBar",        "FadingText",         "GameLevelClass", "GameOverLevel", "GarageLevelClass", "GunData",
      "G_MenuLabel",      "G_MenuManager",      "HealthConsume", "HUD_Manager",   "InstructionLevel", "ItemDataHolder",
      "LaserClass",       "LogoClass",          "MainMenuClass", "MobHealthBar",  "OptionMenu",   "OptionMenu_M",
      "ParallaxBackground", "PlatformClass",    "PlatformManager", "PlayerClass", "PlayerData",   "PlayerText",
      "PowerConsume",     "RadiusAttack",       "ShieldConsume", "SpawnManager",  "SpawnObject",  "SpecialAttackClass",
      "SpecialData",      "SpHud",              "StoryClass",    "Tutorial",      "UFO2Class",    "UFO3Class",
      "UFOClass",         "WarningSign"};
  for (const char* name : names) {
    SmartPointer<Core::Object> object(Core::CreateObject(name));
    ASSERT_NE(object.Get(), nullptr) << name;
    EXPECT_STREQ(object->GetClassName(), name);
  }
  EXPECT_EQ(Core::CreateObject("MyGame"), nullptr);
  EXPECT_EQ(Core::CreateObject("MyLevelFactory"), nullptr);
}

// ---- The car ------------------------------------------------------------------------------------

// The car's contacts of one frame: the objects of these names touch it.
PlayerClass::ContactQuery Touching(std::set<std::string> names) {
  return [names = std::move(names)](const char* name) { return names.count(name) != 0; };
}

SmartPointer<PlayerClass> EquippedCar(int32_t divisor, int32_t capacity) {
  SmartPointer<PlayerClass> car(new PlayerClass());
  car->OnStart();
  car->SetSpeedAndDurability(100, 20.0f);
  car->EquipArmour(0, divisor, capacity);
  return car;
}

TEST(PlayerCar, HitsCostTheirDamageOverTheArmourThenTheCarIsImmuneFor100Frames) {
  SmartPointer<PlayerClass> car = EquippedCar(2, 40);
  const Attacker& first = kCarAttackers[0];
  const Attacker& second = kCarAttackers[1];
  const PlayerClass::ContactQuery both = Touching({first.name, second.name});
  car->ApplyContacts(both);
  // Of two attackers in one frame only the first in the car's order counts.
  const int32_t afterFirst = 100 - first.damage / 2;
  EXPECT_EQ(car->GetDurability(), afterFirst);
  EXPECT_TRUE(car->IsInvulnerable());
  for (int frame = 0; frame < 99; ++frame) car->ApplyContacts(both);
  EXPECT_EQ(car->GetDurability(), afterFirst);
  EXPECT_FLOAT_EQ(car->GetHitCoolDown(), 0.0f);
  car->ApplyContacts(both);
  EXPECT_FALSE(car->IsInvulnerable());
  EXPECT_FLOAT_EQ(car->GetHitCoolDown(), PlayerClass::kHitReady);
  car->ApplyContacts(Touching({second.name}));
  EXPECT_EQ(car->GetDurability(), afterFirst - second.damage / 2);

  std::set<std::string> names;
  for (const Attacker& attacker : kCarAttackers) {
    EXPECT_GT(attacker.damage, 0) << attacker.name;
    EXPECT_TRUE(names.insert(attacker.name).second) << attacker.name << " is listed twice";
    SmartPointer<PlayerClass> fresh = EquippedCar(1, 40);
    fresh->ApplyContacts(Touching({attacker.name}));
    EXPECT_EQ(fresh->GetDurability(), std::max(0, 100 - attacker.damage)) << attacker.name;
    // Durability never goes below 0.
    SmartPointer<PlayerClass> weak = EquippedCar(1, 40);
    weak->SetSpeedAndDurability(1, 20.0f);
    weak->ApplyContacts(Touching({attacker.name}));
    EXPECT_EQ(weak->GetDurability(), 0) << attacker.name;
  }
}

TEST(PlayerCar, ACraftedArmourOfNoDefenceOrHoverTimeCountsAsOne) {
  for (int32_t value : {0, -5}) {
    SmartPointer<PlayerClass> car = EquippedCar(value, value);
    EXPECT_EQ(car->GetDamageDivisor(), 1);
    EXPECT_EQ(car->GetHoverCapacity(), 1);
    EXPECT_EQ(car->GetHoverLoad(), 1);
    car->ApplyContacts(Touching({kCarAttackers[0].name}));
    EXPECT_EQ(car->GetDurability(), 100 - kCarAttackers[0].damage);
    car->Hover(true, false);
    car->Hover(false, true);
  }
}

TEST(PlayerCar, TheBarrierStopsHitsButNotTheGroundAndHealingStopsAtTheMaximum) {
  SmartPointer<PlayerClass> car = EquippedCar(1, 40);
  car->SetHeldPowerUp(PlayerClass::kBarrier);
  car->UsePowerUp();
  EXPECT_FLOAT_EQ(car->GetBarrierTime(), 10.0f);
  EXPECT_EQ(car->GetHeldPowerUp(), PlayerClass::kNoPowerUp);
  std::set<std::string> attackers;
  for (const Attacker& attacker : kCarAttackers) attackers.insert(attacker.name);
  car->ApplyContacts(Touching(attackers));
  EXPECT_EQ(car->GetDurability(), 100);
  const PlayerClass::ContactQuery heal = Touching({"HealthPotClone"});
  car->ApplyContacts(heal);
  EXPECT_EQ(car->GetDurability(), 100);
  car->ApplyContacts(Touching({"platMgr2"}));
  EXPECT_EQ(car->GetDurability(), 0);

  // Heal tops up at most to the maximum: 80 + 30 is 100.
  SmartPointer<PlayerClass> low = EquippedCar(1, 40);
  low->ApplyContacts(Touching({"LaserA"}));
  EXPECT_EQ(low->GetDurability(), 50);
  low->ApplyContacts(heal);
  EXPECT_EQ(low->GetDurability(), 80);
  low->ApplyContacts(heal);
  EXPECT_EQ(low->GetDurability(), 100);
}

TEST(PlayerCar, HoverLoadFillsToTheCapacityAndRecoversBelowHalfAfterRelease) {
  SmartPointer<PlayerClass> car = EquippedCar(1, 10);
  // The load starts full (an empty bar) and drains one per frame while Space is up.
  EXPECT_EQ(car->GetHoverLoad(), 10);
  for (int i = 0; i < 10; ++i) car->Hover(false, false);
  EXPECT_EQ(car->GetHoverLoad(), 0);
  car->Hover(false, false);
  EXPECT_EQ(car->GetHoverLoad(), -1);
  EXPECT_FLOAT_EQ(car->GetVerticalSpeed(), -PlayerClass::kHoverSpeed);
  // A negative load is taken as 0 before the frame counts.
  car->Hover(true, false);
  EXPECT_EQ(car->GetHoverLoad(), 1);
  EXPECT_FLOAT_EQ(car->GetVerticalSpeed(), PlayerClass::kHoverSpeed);
  for (int i = 0; i < 8; ++i) car->Hover(true, false);
  EXPECT_FALSE(car->IsHoverExhausted());
  car->Hover(true, false);
  EXPECT_TRUE(car->IsHoverExhausted());
  EXPECT_EQ(car->GetHoverLoad(), 10);
  // Exhausted, holding Space only sinks.
  car->Hover(true, false);
  EXPECT_FLOAT_EQ(car->GetVerticalSpeed(), -PlayerClass::kHoverSpeed);
  EXPECT_EQ(car->GetHoverLoad(), 9);
  // Released at or above half the capacity it stays exhausted; below half it recovers.
  car->Hover(false, true);
  EXPECT_TRUE(car->IsHoverExhausted());
  for (int i = 0; i < 4; ++i) car->Hover(false, false);
  EXPECT_EQ(car->GetHoverLoad(), 4);
  car->Hover(false, true);
  EXPECT_EQ(car->GetHoverLoad(), 3);
  EXPECT_FALSE(car->IsHoverExhausted());
}

TEST(PlayerCar, DropThroughOnlyAbove150AndEndsWithTheButton) {
  SmartPointer<PlayerClass> car = EquippedCar(1, 10);
  car->SetPositionY(150.0f);
  car->DropThrough(true, false);
  EXPECT_FALSE(car->IsDroppingThrough());
  car->SetPositionY(150.5f);
  car->DropThrough(true, false);
  EXPECT_TRUE(car->IsDroppingThrough());
  // Falling to 150 with the button still held ends it.
  car->SetPositionY(100.0f);
  car->DropThrough(true, false);
  EXPECT_FALSE(car->IsDroppingThrough());
  car->SetPositionY(400.0f);
  car->DropThrough(true, false);
  car->DropThrough(false, false);
  EXPECT_TRUE(car->IsDroppingThrough());
  car->DropThrough(false, true);
  EXPECT_FALSE(car->IsDroppingThrough());
}

TEST(PlayerCar, VolleysSpreadTenDegreesAroundTheAim) {
  using Angles = std::vector<float>;
  EXPECT_EQ(PlayerClass::VolleyAngles(30.0f, 3, false), Angles({30.0f}));
  EXPECT_EQ(PlayerClass::VolleyAngles(30.0f, 1, true), Angles({30.0f}));
  EXPECT_EQ(PlayerClass::VolleyAngles(30.0f, 2, true), Angles({20.0f, 30.0f}));
  EXPECT_EQ(PlayerClass::VolleyAngles(30.0f, 3, true), Angles({20.0f, 30.0f, 40.0f}));
  EXPECT_EQ(PlayerClass::VolleyAngles(30.0f, 4, true), Angles({10.0f, 20.0f, 30.0f, 40.0f}));
  // A gun without a bullet count still fires once.
  EXPECT_EQ(PlayerClass::VolleyAngles(30.0f, 0, true), Angles({30.0f}));
  EXPECT_EQ(PlayerClass::VolleyAngles(30.0f, -3, true), Angles({30.0f}));
}

TEST(PlayerCar, ACopyIsANewCarAndGearsAddUp) {
  SmartPointer<PlayerClass> car = EquippedCar(3, 70);
  car->AddGears(1);
  car->AddGears(100);
  EXPECT_EQ(car->GetGears(), 101);
  SmartPointer<PlayerClass> copy(static_cast<PlayerClass*>(car->Clone()));
  EXPECT_EQ(copy->GetGears(), 0);
  EXPECT_EQ(copy->GetDamageDivisor(), 1);
  EXPECT_EQ(copy->GetDurability(), 100);
}

// ---- Texts, bars and the backdrop ---------------------------------------------------------------

TEST(RunTexts, APlayerTextOfNoTimeShowsNothingAndAMessageFadesOverItsTime) {
  SmartPointer<PlayerText> text(new PlayerText("MyText", ""));
  text->Update(0.016f);
  EXPECT_FLOAT_EQ(text->GetOpacity(), 0.0f);
  text->Show("Rocket!!", 0.0f);
  text->Update(0.016f);
  EXPECT_FLOAT_EQ(text->GetOpacity(), 0.0f);
  text->Show("Rocket!!", 2.0f);
  EXPECT_EQ(text->GetText(), "Rocket!!");
  text->Update(0.5f);
  EXPECT_FLOAT_EQ(text->GetOpacity(), 0.75f);
  text->Update(1.5f);
  EXPECT_FLOAT_EQ(text->GetOpacity(), 0.0f);
  text->Update(1.0f);
  EXPECT_FLOAT_EQ(text->GetOpacity(), 0.0f);
}

TEST(RunTexts, AFadingMessageGoesOnceInvisibleWhileTheLevelsModelStays) {
  SmartPointer<FadingText> model(new FadingText("FadingText", ""));
  SmartPointer<FadingText> message(static_cast<FadingText*>(model->Clone()));
  EXPECT_FALSE(model->IsMessage());
  EXPECT_TRUE(message->IsMessage());
  message->OnStart();
  int frames = 0;
  while (!message->IsDestructionPending() && frames < 200) {
    message->Update(0.016f);
    model->Update(0.016f);
    ++frames;
  }
  // 100 steps of 0.01 (one more when the float sum stays a hair above 0).
  EXPECT_GE(frames, 100);
  EXPECT_LE(frames, 101);
  EXPECT_LT(message->GetOpacity(), 0.02f);
  EXPECT_FALSE(model->IsDestructionPending());
  EXPECT_FLOAT_EQ(model->GetOpacity(), 1.0f);
}

TEST(Backdrop, ASpriteThatLeftTheViewWrapsToItsRightEdge) {
  SmartPointer<Quillon::Sprite> tile(new Quillon::Sprite());
  // Without a picture the frame width is 0: the sprite wraps once its x is left of the view.
  tile->SetPositionX(100.0f);
  EXPECT_FALSE(ParallaxBackground::Wrap(*tile, 100.0f, 2.0f, 1280));
  EXPECT_FLOAT_EQ(tile->GetPositionX(), 98.0f);
  EXPECT_TRUE(ParallaxBackground::Wrap(*tile, 100.0f, 2.0f, 1280));
  EXPECT_FLOAT_EQ(tile->GetPositionX(), 1380.0f);
  EXPECT_FALSE(ParallaxBackground::Wrap(*tile, 100.0f, 0.0f, 1280));
  EXPECT_FLOAT_EQ(tile->GetPositionX(), 1380.0f);
  EXPECT_EQ(ParallaxBackground::RandomFrame(*tile), 0u);
}

TEST(MobBar, ABarWithoutItsPicturesOrMaximumIsSafe) {
  MobHealthBar bar;
  EXPECT_FALSE(bar.Initialize());
  bar.SetHealth(50, 0);
  bar.SetOffset(Math::Vector2D(-40.0f, 50.0f));
  bar.Place(Math::Vector2D(10.0f, 10.0f));
  bar.SetVisible(false);
  bar.Destroy();
  EXPECT_FLOAT_EQ(bar.GetGreenShift(), 0.0f);
}

}  // namespace
