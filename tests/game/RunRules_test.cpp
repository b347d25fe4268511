// The run's rules that need no level: the contact rules of every level, the car's hits, hover,
// drop-through and volleys, the parallax wrap and the fading messages.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "framework/Quillon_CollisionBridge.h"
#include "framework/Quillon_Sprite.h"
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

TEST(ContactRules, TheCommonSetDecidesEveryScreenAndTheOtherSetsFallBackToIt) {
  for (uint32_t level : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u}) {
    const std::string at = " in level " + std::to_string(level);
    for (const char* name : {"CivilianClone", "ShieldClone", "PowerConsuClone", "LaserA", "UFO3_hand"}) {
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
  // Levels the table does not know answer yes at once, whatever the names.
  for (uint32_t level : {9u, 100u, 0xFFFFFFFFu}) {
    Expect(Ask(level, "Player", "CivilianClone"), true, kR, kF, false, "unknown level");
  }
}

TEST(ContactRules, AMouseCursorNeverPushesStopsOrHoldsAnything) {
  for (uint32_t level : {0u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u}) {
    for (const char* cursor : {"pointer", "MousePt", "MousePointer", "mouse"}) {
      for (const char* other : {"save", "player", "Player", "Platform", "AlienClone"}) {
        const std::string what = std::string(cursor) + "/" + other + " in level " + std::to_string(level);
        EXPECT_FALSE(Ask(level, cursor, other).respond) << what;
        EXPECT_FALSE(Ask(level, other, cursor).respond) << what;
      }
    }
  }
}

TEST(ContactRules, TheCarsDropThroughFlagDecidesPlatformsAndAnotherClassNamedPlayerNeverDrops) {
  SmartPointer<PlayerClass> car(new PlayerClass());
  car->SetName("Player");
  SmartPointer<Quillon::GameObject> platform = Named("Platform");
  car->SetPositionY(300.0f);
  car->DropThrough(true, false);
  ASSERT_TRUE(car->IsDroppingThrough());
  for (uint32_t level : {2u, 7u}) {
    EXPECT_FALSE(Ask(level, car.Get(), platform.Get()).respond) << level;
    EXPECT_FALSE(Ask(level, platform.Get(), car.Get()).respond) << level;
  }
  // The game level takes friction and restitution away whatever the answer.
  Expect(Ask(7, car.Get(), platform.Get()), false, 0.0f, 0.0f, false, "dropping car in the game level");
  car->DropThrough(false, true);
  Expect(Ask(7, car.Get(), platform.Get()), true, 0.0f, 0.0f, false, "car on platform in the game level");
  Expect(Ask(7, platform.Get(), car.Get()), true, 0.0f, 0.0f, false, "platform under car in the game level");
  SmartPointer<Quillon::GameObject> impostor = Named("Player", false);
  EXPECT_TRUE(Ask(2, impostor.Get(), platform.Get()).respond);
}

TEST(ContactRules, TheTutorialSetNamesLowerCaseObjectsOnly) {
  for (const char* platform : {"platform1", "platform2", "platform3", "platform4"}) {
    Expect(Ask(5, "player", platform), true, 0.0f, kF, false, std::string("player/") + platform);
    Expect(Ask(5, platform, "player"), true, 0.0f, kF, false, std::string(platform) + "/player");
  }
  for (const char* name : {"health", "save", "pup", "alienbullet", "alien"}) {
    Expect(Ask(5, "player", name), false, kR, kF, false, std::string("player/") + name);
    Expect(Ask(5, name, "player"), false, kR, kF, false, std::string(name) + "/player");
  }
  Expect(Ask(5, "alien", "charbullet"), false, kR, kF, false, "alien/charbullet");
  Expect(Ask(5, "charbullet", "alien"), true, kR, kF, true, "charbullet/alien pushes the shot only");
  // Case variants match nothing of the tutorial; the common set answers.
  Expect(Ask(5, "Player", "platform2"), true, kR, kF, false, "Player/platform2");
  Expect(Ask(5, "player", "Platform2"), true, kR, kF, false, "player/Platform2");
  Expect(Ask(5, "Charbullet", "alien"), true, kR, kF, false, "Charbullet/alien");
  // The tutorial's names mean nothing elsewhere.
  Expect(Ask(7, "charbullet", "alien"), true, kR, kF, false, "tutorial names in the game level");
  Expect(Ask(2, "player", "health"), true, kR, kF, false, "tutorial names on the menu");
}

TEST(ContactRules, TheGameLevelSetsCoefficientsThenDecides) {
  struct Row {
    const char* a;
    const char* b;
    bool respond;
    float restitution;
    float friction;
  };
  // Every pair of the game level's stages, in both orders.
  const Row rows[] = {
      {"Alien", "Platform", true, 0.0f, 0.0f},    {"Platform", "HealthPot", true, 0.0f, 0.0f},
      {"Platform", "Civilian", true, 1.0f, 0.0f}, {"UFO", "charBullet", false, 0.0f, 0.0f},
      {"UFO2", "charBullet", true, 1.0f, 0.0f},   {"UFO3", "charBullet", false, 1.0f, 0.0f},
      {"UFO3_hand", "charBullet", true, 1.0f, 0.0f}, {"Alien", "Player", false, 0.0f, kF},
      {"HealthPot", "Player", false, 0.0f, kF},   {"Civilian", "Player", false, 0.0f, kF},
      {"Bullet", "Player", false, 0.0f, kF},      {"Alien", "Bullet", false, kR, kF},
      {"Alien", "UFO", false, kR, kF},            {"HealthPot", "UFO", false, kR, kF},
      {"HealthPot", "Bullet", false, kR, kF},     {"charBullet", "Bullet", false, kR, kF},
      {"UFO", "Bullet", false, kR, kF},           {"UFO2", "Bullet", false, kR, kF},
      {"UFO3_hand", "Bullet", false, kR, kF},     {"UFO3", "Bullet", true, kR, kF},
  };
  for (const Row& row : rows) {
    Expect(Ask(7, row.a, row.b), row.respond, row.restitution, row.friction, false, std::string(row.a) + "/" + row.b);
    Expect(Ask(7, row.b, row.a), row.respond, row.restitution, row.friction, false, std::string(row.b) + "/" + row.a);
  }
  Expect(Ask(7, "pShieldImg", "Player"), false, kR, kF, false, "barrier/car");
  Expect(Ask(7, "Player", "pShieldImg"), true, kR, kF, true, "car/barrier");
  // Clones are the common set's: the game level's names are the archetypes'.
  Expect(Ask(7, "AlienClone", "Platform"), true, kR, kF, false, "AlienClone/Platform");
  Expect(Ask(7, "CivilianClone", "Platform"), true, kR, kF, false, "CivilianClone/Platform");
  Expect(Ask(7, "alien", "platform"), true, kR, kF, false, "lower case");
}

TEST(ContactRules, AMissingSecondObjectMatchesNoRule) {
  SmartPointer<Quillon::GameObject> car = Named("Player");
  SmartPointer<Quillon::GameObject> alien = Named("AlienClone");
  SmartPointer<Quillon::GameObject> player = Named("player");
  for (uint32_t level : kCommonLevels) Expect(Ask(level, car.Get(), nullptr), true, kR, kF, false, "car on ground");
  Expect(Ask(7, car.Get(), nullptr), true, 0.0f, kF, false, "car on the game level's ground");
  Expect(Ask(7, alien.Get(), nullptr), true, kR, kF, false, "alien on the game level's ground");
  Expect(Ask(5, player.Get(), nullptr), true, kR, kF, false, "tutorial car on ground");
  Expect(Ask(7, nullptr, nullptr), true, kR, kF, false, "nothing at all");
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

struct Touching {
  std::set<std::string> names;
  std::vector<std::string> asked;
  PlayerClass::ContactQuery Query() {
    return [this](const char* name) {
      asked.emplace_back(name);
      return names.count(name) != 0;
    };
  }
};

SmartPointer<PlayerClass> EquippedCar(int32_t divisor, int32_t capacity) {
  SmartPointer<PlayerClass> car(new PlayerClass());
  car->OnStart();
  car->SetSpeedAndDurability(100, 20.0f);
  car->EquipArmour(0, divisor, capacity);
  return car;
}

TEST(PlayerCar, HitsCostTheirDamageOverTheArmourThenTheCarIsImmuneFor100Frames) {
  SmartPointer<PlayerClass> car = EquippedCar(2, 40);
  Touching touching{{"AlienClone", "BulletClone"}, {}};
  car->ApplyContacts(touching.Query());
  // Of two attackers in one frame only the first in the car's order counts: 15 / 2.
  EXPECT_EQ(car->GetDurability(), 93);
  EXPECT_TRUE(car->IsInvulnerable());
  for (int frame = 0; frame < 99; ++frame) car->ApplyContacts(touching.Query());
  EXPECT_EQ(car->GetDurability(), 93);
  EXPECT_FLOAT_EQ(car->GetHitCoolDown(), 0.0f);
  car->ApplyContacts(touching.Query());
  EXPECT_FALSE(car->IsInvulnerable());
  EXPECT_FLOAT_EQ(car->GetHitCoolDown(), PlayerClass::kHitReady);
  touching.names = {"AlienClone"};
  car->ApplyContacts(touching.Query());
  EXPECT_EQ(car->GetDurability(), 88);

  for (const auto& [name, cost] : std::vector<std::pair<std::string, int32_t>>{
           {"BulletClone", 15}, {"AlienClone", 10}, {"AlienBulletClone", 5}, {"LaserA", 50}, {"UFO3_hand", 50}}) {
    SmartPointer<PlayerClass> fresh = EquippedCar(1, 40);
    Touching one{{name}, {}};
    fresh->ApplyContacts(one.Query());
    EXPECT_EQ(fresh->GetDurability(), 100 - cost) << name;
  }
  // Durability never goes below 0, and the deadly ground ends the car through the barrier too.
  SmartPointer<PlayerClass> weak = EquippedCar(1, 40);
  weak->SetSpeedAndDurability(20, 20.0f);
  Touching laser{{"LaserA"}, {}};
  weak->ApplyContacts(laser.Query());
  EXPECT_EQ(weak->GetDurability(), 0);
}

TEST(PlayerCar, ACraftedArmourOfNoDefenceOrHoverTimeCountsAsOne) {
  for (int32_t value : {0, -5}) {
    SmartPointer<PlayerClass> car = EquippedCar(value, value);
    EXPECT_EQ(car->GetDamageDivisor(), 1);
    EXPECT_EQ(car->GetHoverCapacity(), 1);
    EXPECT_EQ(car->GetHoverLoad(), 1);
    Touching touching{{"AlienClone"}, {}};
    car->ApplyContacts(touching.Query());
    EXPECT_EQ(car->GetDurability(), 90);
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
  Touching touching{{"BulletClone", "AlienClone", "LaserA"}, {}};
  car->ApplyContacts(touching.Query());
  EXPECT_EQ(car->GetDurability(), 100);
  Touching heal{{"HealthPotClone"}, {}};
  car->ApplyContacts(heal.Query());
  EXPECT_EQ(car->GetDurability(), 100);
  Touching ground{{"platMgr2"}, {}};
  car->ApplyContacts(ground.Query());
  EXPECT_EQ(car->GetDurability(), 0);

  SmartPointer<PlayerClass> hurt = EquippedCar(1, 40);
  hurt->SetSpeedAndDurability(100, 20.0f);
  Touching bullet{{"BulletClone"}, {}};
  hurt->ApplyContacts(bullet.Query());
  hurt->ApplyContacts(heal.Query());
  EXPECT_EQ(hurt->GetDurability(), 100);
  // Heal tops up at most to the maximum: 80 + 30 is 100.
  Touching laser{{"LaserA"}, {}};
  SmartPointer<PlayerClass> low = EquippedCar(1, 40);
  low->ApplyContacts(laser.Query());
  EXPECT_EQ(low->GetDurability(), 50);
  low->ApplyContacts(heal.Query());
  EXPECT_EQ(low->GetDurability(), 80);
  low->ApplyContacts(heal.Query());
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
