// The run on a small game level made of the game level's own rows: the real game object and game
// level class, a car, its HUD partners and the two ground segments, driven on a fixed clock with
// fake input.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "framework/Quillon_Camera.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_Sprite.h"
#include "game/Velkor_AiFriendClass.h"
#include "game/Velkor_GameLevelClass.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_PlatformClass.h"
#include "game/Velkor_PlatformManager.h"
#include "game/Velkor_PlayerClass.h"
#include "game/Velkor_PlayerText.h"
#include "game/Velkor_ScreenSupport.h"
#include "game/Velkor_SpecialAttackClass.h"
#include "platform/PAL_Services.h"
#include "tests/input/FakeInputBackend.h"
#include "tests/support/ContentRows.h"
#include "tests/support/RealGame.h"
#include "tests/support/TestSupport.h"

namespace {

using Core::SmartPointer;

constexpr uint32_t kGameLevel = 7;

// The game level's rows that the run needs: the car, its HUD partners, the two ground segments and
// the hint pages.
Content::LevelRows RunRows() {
  return TestSupport::PickRows(
      Content::Level7Rows(),
      {"platMgr1", "platMgr2", "hud_mgr", "HP_Bar", "HoveEnerBar", "Platform", "charBullet", "Explosion", "Player",
       "PlayerGunSprite", "mouse", "SpHud", "SpecialAtk", "AiFriend", "PlayerStatsText", "tuh1Sprite", "tuh2Sprite",
       "tuh3Sprite", "tutBg", "FadingTxt"});
}

class GameRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VELKOR_REQUIRE_DISPLAY();
    // The save lives in the user's data folder: this test's own.
    ASSERT_NO_FATAL_FAILURE(m_session.Open("velkor_run", 1000000.0));
    m_directory = m_session.Folder();
    std::filesystem::create_directories(m_directory + "/velkor");
    m_input = std::make_unique<TestInput::FakeInputBackend>();
  }
  // The save file is read at game start, so a test writes it before the game exists.
  void StartGame(bool hintPages = false) {
    m_game = TestSupport::StartMyGame(m_session, new TestSupport::PickedLevelFactory(kGameLevel, RunRows()), kGameLevel);
    Frame(16.0);
    m_game->showTutorialPages = hintPages ? 1 : 0;
    // The start delay, then the first update.
    for (int i = 0; i < 16; ++i) Frame(16.0);
  }
  void TearDown() override {
    m_session.StopGame();
    m_game = nullptr;
    m_input.reset();
    m_session.Close();
  }
  void Frame(double milliseconds) { m_session.Step(milliseconds); }
  GameLevelClass* Level() const { return dynamic_cast<GameLevelClass*>(m_game->GetCurrentLevel()); }
  template <typename T>
  T* Find(const std::string& name) {
    return FindObjectByName<T>(name);
  }
  // Row 0 of a segment as a string of 0 and 1, then rows 1 to 3.
  std::string Pattern(PlatformManager* segment) {
    std::string pattern;
    for (int32_t slot = 0; slot < PlatformManager::kSlotCount; ++slot) {
      PlatformClass* platform = segment->GetPlatform(slot);
      pattern += platform != nullptr && platform->IsActive() ? '1' : '0';
    }
    return pattern;
  }

  TestSupport::GameSession m_session;
  std::string m_directory;
  std::unique_ptr<TestInput::FakeInputBackend> m_input;
  MyGame* m_game = nullptr;
};

TEST_F(GameRunTest, TheSegmentsLeapfrogAheadOfTheCarWithTheirPlatforms) {
  StartGame();
  auto* first = Find<PlatformManager>("platMgr1");
  auto* second = Find<PlatformManager>("platMgr2");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(first->GetLeapfrogFlag());
  EXPECT_FALSE(second->GetLeapfrogFlag());
  // Each segment's partner is the other one: the left neighbour of its first column.
  EXPECT_EQ(first->GetPartner(), second);
  EXPECT_EQ(second->GetPartner(), first);
  // At the start the first row of either segment is whole.
  EXPECT_EQ(Pattern(first).substr(0, 9), "111111111");
  EXPECT_EQ(Pattern(second).substr(0, 9), "111111111");
  ASSERT_NE(first->GetPlatform(10), nullptr);
  EXPECT_FLOAT_EQ(first->GetPlatform(10)->GetPositionX(), 720.0f - 720.0f + 80.0f + 160.0f);
  EXPECT_FLOAT_EQ(first->GetPlatform(10)->GetPositionY(), 180.0f);
  EXPECT_EQ(first->GetPlatform(30), nullptr);

  // Two steps: first the segment behind jumps 400 ahead of the threshold, then the other one.
  second->TellPassed(1440.0f);
  first->TellPassed(1440.0f);
  EXPECT_FLOAT_EQ(second->GetPositionX(), 1840.0f);
  EXPECT_FLOAT_EQ(first->GetPositionX(), 720.0f);
  EXPECT_FLOAT_EQ(second->GetPlatform(0)->GetPositionX(), 1840.0f - 640.0f);
  second->TellPassed(2880.0f);
  first->TellPassed(2880.0f);
  EXPECT_FLOAT_EQ(first->GetPositionX(), 3280.0f);
  EXPECT_FLOAT_EQ(second->GetPositionX(), 1840.0f);
  EXPECT_FLOAT_EQ(first->GetPlatform(29)->GetPositionX(), 3280.0f - 640.0f + 2 * 160.0f);
  // Beyond x 2000 the first row leaves gaps: no two inactive row-0 platforms follow an inactive
  // one, counting the partner's last columns to the left of column 0.
  const std::string laidOut = Pattern(first);
  const std::string left = Pattern(second).substr(0, 9);
  const std::string row = left + laidOut.substr(0, 9);
  for (size_t column = 9; column < row.size(); ++column) {
    if (row[column] == '0') {
      EXPECT_TRUE(row[column - 1] == '1' || row[column - 2] == '1') << row;
    }
  }
  // Every inactive platform of rows 1 and 2 has an active first-row platform within its gap.
  for (int32_t slot = 9; slot < 27; ++slot) {
    if (laidOut[static_cast<size_t>(slot)] == '1') continue;
    const int32_t column = slot % 9 + 9;
    const int32_t gap = slot < 18 ? 4 : 5;
    bool covered = false;
    for (int32_t c = column; c >= column - gap; --c) covered |= row[static_cast<size_t>(c)] == '1';
    EXPECT_TRUE(covered) << slot << " " << row;
  }
  // The layout follows the engine's clock: the same second lays out the same road.
  first->Clear();
  EXPECT_EQ(Pattern(first), std::string(30, '0'));
  first->LayOut();
  EXPECT_EQ(Pattern(first), laidOut);
}

TEST_F(GameRunTest, TheRunStartsWithTheSavedEquipmentAndARunEndsRecordedOnce) {
  // Armour 2 and gun 1 equipped; an equipped empty special slot and an equipped AI friend.
  ASSERT_TRUE(TestSupport::WriteWholeFile(
      m_directory + "/velkor/scoreData.txt",
      "-PlayerData-\n10 5 0 **\n**End\n\n"
      "_____Armour_Set_____\n0 1 0 **\n1 1 0 **\n2 1 1 **\n-1 0 0 **\n-1 0 0 **\n**End\n\n"
      "______Gun_Set______\n0 1 0 **\n1 1 1 **\n2 0 0 **\n-1 0 0 **\n-1 0 0 **\n**End\n\n"
      "_____Special_Set____\n0 0 0 **\n1 0 0 **\n2 0 0 **\n-1 1 1 **\n-1 0 0 **\n**End\n\n"
      "_______AI_Set_______\n0 1 1 **\n1 0 0 **\n2 0 0 **\n-1 0 0 **\n-1 0 0 **\n**End\n"));
  StartGame();
  GameLevelClass* level = Level();
  ASSERT_NE(level, nullptr);
  ASSERT_TRUE(level->IsStarted());
  auto* car = Find<PlayerClass>("Player");
  ASSERT_NE(car, nullptr);
  const DataManager& data = m_game->GetDataManager();
  EXPECT_EQ(car->GetArmour().itemId, 2);
  EXPECT_EQ(car->GetArmour().defense, data.armours[2].defense);
  EXPECT_EQ(car->GetGun().itemId, 1);
  EXPECT_EQ(car->GetGun().multi, data.guns[1].multi);
  EXPECT_EQ(car->GetSpecial().itemId, -1);
  EXPECT_EQ(car->GetAiFriend().itemId, 0);
  EXPECT_EQ(car->GetBulletDamage(), 50);
  EXPECT_EQ(car->GetMaximumDurability(), 100);
  EXPECT_FLOAT_EQ(car->GetHorizontalSpeed(), 20.0f);
  // The bars follow the car: the hover bar shows what is left of the armour's hover time.
  auto* hoverBar = Find<Quillon::Sprite>("HoveEnerBar");
  auto* durabilityBar = Find<Quillon::Sprite>("HP_Bar");
  ASSERT_TRUE(hoverBar != nullptr && durabilityBar != nullptr);
  const float capacity = static_cast<float>(car->GetHoverCapacity());
  EXPECT_NEAR(hoverBar->GetScaleX(), (capacity - static_cast<float>(car->GetHoverLoad())) / capacity, 1.5f / capacity);
  EXPECT_FLOAT_EQ(durabilityBar->GetScaleX(), 1.0f);
  // Paused, the car stands still; the pause key toggles.
  m_input->Hold(static_cast<uint8_t>('P'), true);
  Frame(16.0);
  m_input->Hold(static_cast<uint8_t>('P'), false);
  EXPECT_EQ(m_game->paused, 1);
  Frame(16.0);
  const Math::Vector2D stopped = car->GetPosition();
  for (int i = 0; i < 20; ++i) Frame(16.0);
  EXPECT_EQ(car->GetPosition(), stopped);
  m_input->Hold(PAL::VirtualKey::Escape, true);
  Frame(16.0);
  m_input->Hold(PAL::VirtualKey::Escape, false);
  EXPECT_EQ(m_game->paused, 0);

  car->SetSpeedAndDurability(100, 20.0f);
  PlayerClass::ContactQuery laser = [](const char* name) { return std::string(name) == "LaserA"; };
  car->ApplyContacts(laser);
  Frame(16.0);
  // The armour divides the laser's 50.
  const int32_t left = 100 - 50 / car->GetDamageDivisor();
  EXPECT_EQ(car->GetDurability(), left);
  EXPECT_FLOAT_EQ(durabilityBar->GetScaleX(), static_cast<float>(left) / 100.0f);

  // Death, two seconds, then the run is recorded once however long the switch takes.
  car->SetSpeedAndDurability(0, 20.0f);
  for (int i = 0; i < 200 && !car->IsGameOver(); ++i) Frame(16.0);
  ASSERT_TRUE(car->IsGameOver());
  Frame(16.0);
  EXPECT_TRUE(level->IsRunRecorded());
  const int32_t gears = data.player.totalGears;
  EXPECT_EQ(gears, 10 + car->GetGears());
  EXPECT_EQ(data.player.lastDistance, static_cast<int32_t>(car->GetPositionX() / 100.0f));
  EXPECT_TRUE(m_game->IsLevelSwitchRequested());
  EXPECT_EQ(m_game->GetRequestedLevelIndex(), 8u);
  // The request stays; the record does not repeat.
  car->AddGears(5);
  m_game->SetLevelIndices(kGameLevel, kGameLevel, kGameLevel, false);
  Frame(16.0);
  EXPECT_EQ(data.player.totalGears, gears);
  EXPECT_TRUE(m_game->IsLevelSwitchRequested());
  m_game->SetLevelIndices(kGameLevel, kGameLevel, kGameLevel, false);
}

// The scripted run turns the hint pages forward; a right click turns them back.
TEST_F(GameRunTest, ARightClickTurnsTheHintPagesBackButNotPastTheFirst) {
  StartGame(true);
  Frame(16.0);
  auto click = [this](uint8_t button) {
    m_input->Hold(button, true);
    Frame(16.0);
    m_input->Hold(button, false);
    Frame(16.0);
  };
  click(PAL::VirtualKey::RightButton);
  EXPECT_EQ(Level()->GetHintPage(), 0);
  click(PAL::VirtualKey::LeftButton);
  click(PAL::VirtualKey::LeftButton);
  EXPECT_TRUE(Find<Quillon::Sprite>("tuh3Sprite")->IsVisible());
  click(PAL::VirtualKey::RightButton);
  EXPECT_TRUE(Find<Quillon::Sprite>("tuh2Sprite")->IsVisible());
  EXPECT_FALSE(Find<Quillon::Sprite>("tuh3Sprite")->IsVisible());
  EXPECT_EQ(m_game->paused, 1);
  click(PAL::VirtualKey::LeftButton);
  click(PAL::VirtualKey::LeftButton);
  EXPECT_EQ(m_game->paused, 0);
  EXPECT_FALSE(Find<Quillon::Sprite>("tutBg")->IsVisible());
}

}  // namespace

namespace {

TEST_F(GameRunTest, TheKeysCallTheSpecialAttackTheFriendAndThePowerUpWithTheirMessages) {
  // The rocket and the first AI friend equipped.
  ASSERT_TRUE(TestSupport::WriteWholeFile(
      m_directory + "/velkor/scoreData.txt",
      "-PlayerData-\n0 0 0 **\n**End\n\n"
      "_____Armour_Set_____\n0 1 1 **\n1 0 0 **\n2 0 0 **\n-1 0 0 **\n-1 0 0 **\n**End\n\n"
      "______Gun_Set______\n0 1 1 **\n1 0 0 **\n2 0 0 **\n-1 0 0 **\n-1 0 0 **\n**End\n\n"
      "_____Special_Set____\n0 1 1 **\n1 0 0 **\n2 0 0 **\n-1 0 0 **\n-1 0 0 **\n**End\n\n"
      "_______AI_Set_______\n0 1 1 **\n1 0 0 **\n2 0 0 **\n-1 0 0 **\n-1 0 0 **\n**End\n"));
  StartGame();
  auto* car = Find<PlayerClass>("Player");
  auto* message = Find<PlayerText>("PlayerStatsText");
  auto* drone = Find<AiFriendClass>("AiFriend");
  ASSERT_TRUE(car != nullptr && message != nullptr && drone != nullptr);
  ASSERT_EQ(car->GetSpecial().itemId, 0);
  ASSERT_GT(car->GetSpecial().delay, 0);
  auto press = [this](uint8_t key) {
    m_input->Hold(key, true);
    Frame(16.0);
    m_input->Hold(key, false);
    Frame(16.0);
  };
  press(static_cast<uint8_t>('A'));
  EXPECT_NE(Find<SpecialAttackClass>("SpecialAttackClone"), nullptr);
  EXPECT_EQ(message->GetText(), "Rocket!!");
  press(static_cast<uint8_t>('A'));
  EXPECT_EQ(message->GetText(), "Not Ready");
  press(static_cast<uint8_t>('S'));
  EXPECT_TRUE(drone->IsActive());
  EXPECT_EQ(message->GetText(), "AI Friend is coming!!");
  // A held power-up is used once; D with nothing held does nothing.
  car->SetHeldPowerUp(PlayerClass::kMultiBullet);
  press(static_cast<uint8_t>('D'));
  EXPECT_TRUE(car->IsMultiBulletOn());
  EXPECT_EQ(car->GetHeldPowerUp(), PlayerClass::kNoPowerUp);
  EXPECT_EQ(message->GetText(), "Multi Bullet for 30 seconds!");
  press(static_cast<uint8_t>('D'));
  EXPECT_EQ(car->GetHeldPowerUp(), PlayerClass::kNoPowerUp);
}

// The car keeps the partners it found at its start; one replaced during the run (the camera here)
// is found afresh, and the one that left the level is let alone.
TEST_F(GameRunTest, APartnerReplacedDuringTheRunIsFoundAfresh) {
  StartGame();
  SmartPointer<Quillon::Camera> gone(Find<Quillon::Camera>("camera0"));
  ASSERT_NE(gone.Get(), nullptr);
  Quillon::Layer* layer = gone->GetLayer();
  gone->Destroy();
  SmartPointer<Quillon::Camera> fresh(new Quillon::Camera());
  fresh->SetName("camera0");
  layer->AddGameObject(fresh.Get());
  const float left = gone->GetPositionX();
  for (int i = 0; i < 3; ++i) Frame(16.0);
  auto* car = Find<PlayerClass>("Player");
  ASSERT_NE(car, nullptr);
  // The camera leads the car by 250 units, as the car stood in its last step.
  EXPECT_NEAR(fresh->GetPositionX(), car->GetPositionX() + 250.0f, 2.0f * car->GetHorizontalSpeed());
  EXPECT_EQ(gone->GetPositionX(), left);
}

}  // namespace
