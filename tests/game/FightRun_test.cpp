// A scripted fight on the real game level: the car drives on over the endless ground, its pilot
// (the test) aims at the nearest enemy ahead, shoots, fires the rocket and the laser, calls the AI
// friend and steers to civilians and power-ups, on a fixed clock, a fixed seed and fake input.
// The pilot holds the car's height and tops up its durability: the car never falls to the deadly
// ground, so the run goes on long enough to meet every kind of enemy, until the pilot lets go and
// the results show what the run earned. Screenshots of the named moments land in the build folder
// under "fight_run/"; the number of objects and of fading messages must stay bounded all along.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <list>
#include <set>
#include <string>
#include <vector>

#include "content/Velkor_MyLevelFactory.h"
#include "core/Core_Random.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_Sprite.h"
#include "framework/Quillon_Text.h"
#include "game/Velkor_DataManager.h"
#include "game/Velkor_FadingText.h"
#include "game/Velkor_GameLevelClass.h"
#include "game/Velkor_LaserClass.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_PlayerClass.h"
#include "game/Velkor_ScreenSupport.h"
#include "game/Velkor_UFO3Class.h"
#include "game/Velkor_WarningSign.h"
#include "platform/PAL_Services.h"
#include "tests/input/FakeInputBackend.h"
#include "tests/support/RealGame.h"
#include "tests/support/Screenshots.h"
#include "tests/support/TestSupport.h"

namespace {

using Core::SmartPointer;
using Math::Vector2D;

constexpr int32_t kScreenWidth = 1280;
constexpr int32_t kScreenHeight = 720;
constexpr double kFrameMilliseconds = 1000.0 / 60.0;
constexpr float kCruiseHeight = 350.0f;

class FightRun : public ::testing::Test {
 protected:
  void SetUp() override {
    VELKOR_REQUIRE_DISPLAY();
    ASSERT_NO_FATAL_FAILURE(m_session.Open("velkor_fight_run", 1000.0));
    m_shots = TestSupport::ArtefactFolder("fight_run");
    TestSupport::CoverGameWindow(m_input);
    Core::SeedRandom(7);
    m_game = TestSupport::StartMyGame(m_session, new MyLevelFactory(), 7);
    Frame();
    // Straight into the run, with the rocket and the AI friend bought and equipped.
    m_game->showTutorialPages = 0;
    DataManager& data = m_game->GetDataManager();
    data.specials[0].purchased = data.specials[0].equipped = 1;
    data.aiFriends[0].purchased = data.aiFriends[0].equipped = 1;
  }
  void TearDown() override { m_session.Close(); }

  void Frame(bool shot = false, const std::string& name = "") {
    m_session.Step(kFrameMilliseconds, [&] {
      if (shot) Save(name);
    });
  }
  void Save(const std::string& name) {
    TestSupport::SaveScreen(m_game->GetRenderer(), m_shots, name);
    m_taken.insert(name);
  }

  PlayerClass* Car() const { return FindObjectByName<PlayerClass>("Player"); }
  GameLevelClass* Level() const { return dynamic_cast<GameLevelClass*>(m_game->GetCurrentLevel()); }
  std::list<Quillon::GameObject*> Named(const std::string& name) const {
    std::list<Quillon::GameObject*> found;
    if (m_game->GetCurrentLevel() != nullptr) m_game->GetCurrentLevel()->GetGameObjectsByName(name, found);
    return found;
  }
  // The nearest live object of those names ahead of the car (or just behind it) within reach.
  Quillon::GameObject* NearestAhead(std::initializer_list<const char*> names, float reach) const {
    const PlayerClass* car = Car();
    Quillon::GameObject* best = nullptr;
    float bestDistance = reach;
    for (const char* name : names) {
      for (Quillon::GameObject* object : Named(name)) {
        if (object->IsDestructionPending() || !object->IsVisible()) continue;
        if (object->GetPositionX() < car->GetPositionX() - 100.0f) continue;
        const float distance = object->GetPosition().Distance(car->GetPosition());
        if (distance < bestDistance) {
          bestDistance = distance;
          best = object;
        }
      }
    }
    return best;
  }
  // In the run the aiming cursor stands where the mouse is, counted from 375 units behind the car
  // and 75 below the mouse's bottom edge.
  void AimAt(const Vector2D& target) {
    const float carX = Car()->GetPositionX();
    const int32_t mouseX = static_cast<int32_t>(std::lround(target.x - carX + 375.0f));
    const int32_t mouseY = static_cast<int32_t>(std::lround(target.y + 75.0f));
    m_input.cursorX = std::clamp(mouseX, 0, kScreenWidth - 1);
    m_input.cursorY = std::clamp(kScreenHeight - 1 - mouseY, 0, kScreenHeight - 1);
  }
  void Tap(uint8_t key) { m_input.Hold(key, (m_frame % 2) == 0); }

  // One frame of the pilot: height, aim, trigger and keys.
  void Pilot() {
    PlayerClass* car = Car();
    if (!m_pilotOn || car == nullptr || car->IsDead()) return;
    // Steer to a civilian or a power-up close ahead, else cruise.
    float height = kCruiseHeight;
    if (Quillon::GameObject* prize = NearestAhead({"CivilianClone", "PowerConsuClone", "HealthPotClone"}, 450.0f)) {
      height = prize->GetPositionY();
    }
    car->SetPositionY(std::clamp(height, 120.0f, 600.0f));
    car->SetSpeedAndDurability(100, 20.0f);
    Quillon::GameObject* target = NearestAhead({"UFOClone", "UFO2Clone", "UFO3"}, 1100.0f);
    if (target == nullptr) target = NearestAhead({"AlienClone"}, 900.0f);
    if (target != nullptr) {
      AimAt(target->GetPosition());
      m_input.Hold(PAL::VirtualKey::LeftButton, true);
    } else {
      AimAt(car->GetPosition() + Vector2D(400.0f, 0.0f));
      m_input.Hold(PAL::VirtualKey::LeftButton, false);
    }
    // The special attack every few seconds, the friend whenever it may come, a power-up at once.
    m_input.Hold('A', target != nullptr && m_frame % 300 < 2 && m_frame % 2 == 0);
    m_input.Hold('S', m_frame % 600 == 100);
    m_input.Hold('D', car->GetHeldPowerUp() >= 0 && m_frame % 60 == 0);
  }

  // Checks the bounds and takes the screenshots whose moment has come.
  void Watch() {
    PlayerClass* car = Car();
    Quillon::Layer* main = m_game->GetCurrentLevel()->GetLayerByName("GameLevelObjects");
    if (car == nullptr || main == nullptr) return;  // the results screen
    m_mostObjects = std::max(m_mostObjects, main->GetGameObjectsCount());
    size_t messages = 0;
    for (Quillon::GameObject* object : Named("FadingTxt")) messages += object != nullptr ? 1 : 0;
    m_mostMessages = std::max(m_mostMessages, messages);

    const size_t aliens = Named("AlienClone").size();
    if (aliens < m_aliens && Named("Explosion").size() > 1 && m_shotAlien < 0) m_shotAlien = m_frame + 4;
    m_aliens = aliens;
    if (car->GetGears() > m_gears && m_shotRescue < 0) m_shotRescue = m_frame + 6;
    m_gears = car->GetGears();
    if (car->GetHeldPowerUp() >= 0 && m_shotPickUp < 0) m_shotPickUp = m_frame + 2;
    if (!Named("rAttackClone").empty() && m_shotRocket < 0) m_shotRocket = m_frame + 3;
    if (car->IsSpeedBoostOn() && m_shotBoost < 0) m_shotBoost = m_frame + 10;
    auto* sign = FindObjectByName<WarningSign>("WarningSign");
    if (sign != nullptr && sign->IsVisible() && sign->GetCaption() != nullptr &&
        sign->GetCaption()->GetText() == "WARNING: UFO Level 1" && m_shotWarning < 0) {
      m_shotWarning = m_frame + 20;
    }
    // A UFO in the middle of the view.
    for (Quillon::GameObject* ufo : Named("UFOClone")) {
      const float dx = ufo->GetPositionX() - (car->GetPositionX() + 250.0f);
      if (m_shotBoss < 0 && std::fabs(dx) < 500.0f && ufo->GetPositionY() < 600.0f) m_shotBoss = m_frame;
    }
  }
  // The software renderer spends most of a frame on the background's screen-wide pictures, which
  // nothing in the fight looks at: over minutes of play they are drawn only in the frames kept.
  void ShowBackground(bool shown) {
    Quillon::Level* level = m_game->GetCurrentLevel();
    Quillon::Layer* layer = level != nullptr ? level->GetLayerByName("ParallaxLayer") : nullptr;
    if (layer == nullptr) return;
    std::list<Quillon::GameObject*> objects;
    layer->GetGameObjects(objects);
    for (Quillon::GameObject* object : objects) {
      if (!shown && object->IsVisible()) {
        object->SetVisible(false);
        m_hiddenBackground.insert(object);
      } else if (shown && m_hiddenBackground.count(object) != 0) {
        object->SetVisible(true);
      }
    }
    if (shown) m_hiddenBackground.clear();
  }
  bool ShotDue(int& when, const char* name) const { return when >= 0 && when <= m_frame && m_taken.count(name) == 0; }

  void Run(int frames, const std::function<bool()>& done) {
    for (int i = 0; i < frames && !done(); ++i) {
      Pilot();
      std::string name;
      const std::pair<int*, const char*> moments[] = {
          {&m_shotAlien, "alien_shot_down"}, {&m_shotRescue, "civilian_rescued"}, {&m_shotPickUp, "pickup_taken"},
          {&m_shotRocket, "rocket_blast"},   {&m_shotWarning, "warning_ufo_level_1"}, {&m_shotBoss, "boss_fight"},
          {&m_shotLaser, "laser"},           {&m_shotSwoop, "mothership_swoop"},
          {&m_shotBoost, "speed_boost"}};
      // One picture per frame; a moment that falls on the same frame waits for the next.
      for (const auto& moment : moments) {
        if (name.empty() && ShotDue(*moment.first, moment.second)) name = moment.second;
      }
      ShowBackground(!name.empty());
      Frame(!name.empty(), name);
      ++m_frame;
      Watch();
    }
  }

  TestSupport::GameSession m_session;
  std::string m_shots;
  TestInput::FakeInputBackend m_input;
  MyGame* m_game = nullptr;
  bool m_pilotOn = true;
  int m_frame = 0;
  std::set<std::string> m_taken;
  std::set<Quillon::GameObject*> m_hiddenBackground;
  uint32_t m_mostObjects = 0;
  size_t m_mostMessages = 0;
  size_t m_aliens = 0;
  int32_t m_gears = 0;
  int m_shotAlien = -1, m_shotRescue = -1, m_shotPickUp = -1, m_shotRocket = -1, m_shotWarning = -1, m_shotBoss = -1,
      m_shotLaser = -1, m_shotSwoop = -1, m_shotBoost = -1;
};

TEST_F(FightRun, FiveMinutesOfARunMeetEveryEnemyUpToTheMothershipAndTheResultsShowTheUfoLevelAndGears) {
  // The car as a player who has shopped leaves the garage: the elite gun and armour.
  DataManager& data = m_game->GetDataManager();
  for (int32_t i = 0; i < DataManager::kItemCount; ++i) data.guns[i].equipped = data.armours[i].equipped = 0;
  data.guns[2].purchased = data.guns[2].equipped = 1;
  data.armours[2].purchased = data.armours[2].equipped = 1;

  // The first waves, aliens, civilians and drops on the way.
  Run(60 * 120, [&] {
    return m_taken.count("alien_shot_down") && m_taken.count("civilian_rescued") && m_taken.count("pickup_taken") &&
           m_taken.count("rocket_blast") && m_taken.count("warning_ufo_level_1") && m_taken.count("boss_fight");
  });
  for (const char* moment :
       {"alien_shot_down", "civilian_rescued", "pickup_taken", "rocket_blast", "warning_ufo_level_1", "boss_fight"}) {
    EXPECT_EQ(m_taken.count(moment), 1u) << moment;
  }
  ASSERT_NE(Level(), nullptr);
  EXPECT_EQ(Car()->GetGun().itemId, 2);

  // The laser in place of the rocket from here on, as the garage would fit it.
  Car()->EquipSpecial(1, 150, 40);
  // On through the waves to the mothership's and its swoop, five minutes of play at the least.
  constexpr int kFiveMinutes = 60 * 60 * 5;
  Run(60 * 60 * 8, [&] {
    auto* laser = FindObjectByName<LaserClass>("Laser");
    if (m_shotLaser < 0 && laser != nullptr && laser->IsActive() && laser->GetElapsed() > 0.5f) m_shotLaser = m_frame;
    auto* boss = FindObjectByName<UFO3Class>("UFO3");
    if (m_shotSwoop < 0 && boss != nullptr && boss->IsAttacking() && boss->GetPhase() == UFO3Class::kSwoopPhase) {
      m_shotSwoop = m_frame + 20;
    }
    return m_frame >= kFiveMinutes && m_taken.count("laser") && m_taken.count("mothership_swoop");
  });
  EXPECT_GE(m_frame, kFiveMinutes);
  EXPECT_EQ(m_taken.count("laser"), 1u);
  EXPECT_EQ(m_taken.count("mothership_swoop"), 1u);
  EXPECT_EQ(m_taken.count("speed_boost"), 1u);
  const int32_t ufoLevel = Level()->GetUfoLevel();
  EXPECT_GE(ufoLevel, 5);
  const int32_t gears = Car()->GetGears();
  EXPECT_GT(gears, 0);

  // Nothing piled up: the level's own objects plus what a fight keeps alive at once.
  EXPECT_LT(m_mostObjects, 700u);
  EXPECT_LT(m_mostMessages, 25u);

  // The pilot lets go: the car falls to the deadly ground, and the results follow.
  m_pilotOn = false;
  m_input.Hold(PAL::VirtualKey::LeftButton, false);
  Run(60 * 30, [&] { return Named("ResTxt").size() == 1; });
  Run(30, [] { return false; });
  Save("results");
  auto* results = FindObjectByName<Quillon::Text>("ResTxt");
  ASSERT_NE(results, nullptr);
  const PlayerData& player = m_game->GetDataManager().player;
  EXPECT_EQ(player.lastScore, ufoLevel);
  EXPECT_GE(player.lastGears, gears);
  EXPECT_NE(results->GetText().find("\n" + std::to_string(player.lastGears) + "\n"), std::string::npos)
      << results->GetText();
  EXPECT_NE(results->GetText().find("\n" + std::to_string(ufoLevel)), std::string::npos) << results->GetText();
}

}  // namespace
