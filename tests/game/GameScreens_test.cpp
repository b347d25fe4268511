// The game's screens, built by the real game object on a real window (skipped without a display),
// driven on a fake clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <list>
#include <string>
#include <vector>

#include "collision/Collision_DynamicObject.h"
#include "content/Velkor_MyLevelFactory.h"
#include "framework/Quillon_Camera.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_Sprite.h"
#include "framework/Quillon_Text.h"
#include "framework/Quillon_Viewport.h"
#include "framework/Quillon_GameNetwork.h"
#include "game/Velkor_CreditsLevel.h"
#include "game/Velkor_CursorClass.h"
#include "game/Velkor_OptionMenu.h"
#include "game/Velkor_PlayerClass.h"
#include "game/Velkor_PowerConsume.h"
#include "game/Velkor_SpawnObject.h"
#include "game/Velkor_ScreenSupport.h"
#include "game/Velkor_Tutorial.h"
#include "game/Velkor_InstructionLevel.h"
#include "game/Velkor_LogoClass.h"
#include "game/Velkor_MainMenuClass.h"
#include "game/Velkor_StoryClass.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_OptionMenu_M.h"
#include "physics/Physics_Engine.h"
#include "physics/Physics_MassProperties.h"
#include "platform/PAL_Services.h"
#include "platform/PAL_Window.h"
#include "renderer/Renderer_IRenderer.h"
#include "tests/input/FakeInputBackend.h"
#include "tests/support/ContentRows.h"
#include "tests/support/RealGame.h"
#include "tests/support/Screenshots.h"
#include "tests/support/TestSupport.h"

namespace {

using Core::SmartPointer;

class ScreensTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VELKOR_REQUIRE_DISPLAY();
    // The game reads and writes its save file in the user's data folder: a fresh one per test.
    ASSERT_NO_FATAL_FAILURE(m_session.Open("velkor_screens"));
    m_factory = new MyLevelFactory();
    m_game = m_session.Adopt(
        new MyGame(SmartPointer<Quillon::LevelFactory>(m_factory), MyGame::MakeDisplaySettings(), 0));
    // The frame cap waits on the clock, which only the test moves.
    EXPECT_TRUE(m_game->IsFrameRateLocked());
    EXPECT_DOUBLE_EQ(m_game->GetDesiredFrameRate(), 60.0);
    m_game->LockFrameRate(false);
  }
  void TearDown() override { m_session.Close(); }

  void Frame(double milliseconds) { m_session.Step(milliseconds); }
  // Asks for the level and runs frames until it is the current one.
  void SwitchTo(const std::string& name) {
    ASSERT_TRUE(m_game->GoToLevel(name));
    for (int i = 0; i < 4 && m_game->IsLevelSwitchRequested(); ++i) Frame(16.0);
    ASSERT_FALSE(m_game->IsLevelSwitchRequested());
  }
  Quillon::Level* Current() const { return m_game->GetCurrentLevel(); }

  template <typename T>
  T* Object(uint32_t layer, const std::string& name) {
    std::list<Quillon::GameObject*> found;
    Current()->GetLayer(layer)->GetGameObjectsByName(name, found);
    EXPECT_EQ(found.size(), 1u) << name;
    return found.empty() ? nullptr : dynamic_cast<T*>(found.front());
  }

  TestSupport::GameSession m_session;
  MyLevelFactory* m_factory = nullptr;
  MyGame* m_game = nullptr;
};

TEST_F(ScreensTest, TheGameStartsOnTheLogosUnderItsTitle) {
  Frame(16.0);
  ASSERT_NE(Current(), nullptr);
  EXPECT_NE(dynamic_cast<LogoClass*>(Current()), nullptr);
  EXPECT_EQ(m_game->GetCurrentLevelIndex(), 0u);
  EXPECT_EQ(GetMyGame(), m_game);
  EXPECT_EQ(m_game->GetTitle(), "Velkor");
  // The game answers contacts by the rules of the current level: on the logos, the common set.
  float restitution = 0.3f;
  float friction = 0.5f;
  EXPECT_TRUE(m_game->GetContactCoefficients(nullptr, nullptr, restitution, friction));
  EXPECT_FLOAT_EQ(restitution, 0.3f);
  EXPECT_FLOAT_EQ(friction, 0.5f);
}

TEST_F(ScreensTest, TheLogosFadeInTurnAndTheStoryIsAskedForAfterEightSeconds) {
  Frame(16.0);
  auto* logos = dynamic_cast<LogoClass*>(Current());
  ASSERT_NE(logos, nullptr);
  const double step = 20.0;
  double elapsed = 0.0;
  bool sawFirst = false, sawSecond = false, sawThird = false;
  float highest = 0.0f, lowest = 1.0f;
  while (m_game->GetCurrentLevelIndex() == 0 && elapsed < 12000.0) {
    Frame(step);
    elapsed += step;
    if (m_game->GetCurrentLevelIndex() != 0) break;
    const float first = logos->GetFirstOpacity();
    const float second = logos->GetSecondOpacity();
    const float third = logos->GetThirdOpacity();
    if (elapsed < 1900.0) {
      // Nothing but the backdrop for the first two seconds.
      EXPECT_EQ(first + second + third, 0.0f) << elapsed;
    }
    // Never more than one logo at a time.
    EXPECT_LE((first > 0.0f) + (second > 0.0f) + (third > 0.0f), 1) << elapsed;
    sawFirst |= first > 0.9f;
    sawSecond |= second > 0.9f;
    sawThird |= third > 0.9f;
    for (float value : {first, second, third}) {
      highest = std::max(highest, value);
      lowest = std::min(lowest, value);
    }
  }
  EXPECT_TRUE(sawFirst);
  EXPECT_TRUE(sawSecond);
  EXPECT_TRUE(sawThird);
  // The fades stay within what an opacity can be.
  EXPECT_LE(highest, 1.0f);
  EXPECT_GE(lowest, 0.0f);
  EXPECT_EQ(m_game->GetCurrentLevelIndex(), 1u);
  EXPECT_GE(elapsed, 8000.0);
  EXPECT_LE(elapsed, 8000.0 + 4 * step);
  EXPECT_NE(dynamic_cast<StoryClass*>(Current()), nullptr);
  Frame(step);
}

TEST_F(ScreensTest, TheInstructionPagesStayPutAndTheButtonsTurnThemAndLeaveAtEitherEnd) {
  Frame(16.0);
  SwitchTo("InstructionLevel");
  EXPECT_EQ(m_game->GetCurrentLevelIndex(), 3u);
  auto* screen = dynamic_cast<InstructionLevel*>(Current());
  ASSERT_NE(screen, nullptr);
  auto* pages = Object<Quillon::Sprite>(1, "InstPages");
  ASSERT_NE(pages, nullptr);
  // The pages do not turn by themselves.
  for (int i = 0; i < 10; ++i) Frame(200.0);
  EXPECT_EQ(pages->GetCurrentFrameIndex(), 0u);
  // Back from the first page goes home.
  screen->Press("prevBtn");
  EXPECT_TRUE(m_game->IsLevelSwitchRequested());
  EXPECT_EQ(m_game->GetRequestedLevelIndex(), 2u);
  m_game->SetLevelIndices(3, 0, 0, false);
  screen->Press("nextBtn");
  screen->Press("nextBtn");
  EXPECT_EQ(screen->GetPage(), 2);
  EXPECT_EQ(pages->GetCurrentFrameIndex(), 2u);
  EXPECT_FALSE(m_game->IsLevelSwitchRequested());
  screen->Press("prevBtn");
  EXPECT_EQ(screen->GetPage(), 1);
  EXPECT_EQ(pages->GetCurrentFrameIndex(), 1u);
  screen->Press("nextBtn");
  EXPECT_FALSE(m_game->IsLevelSwitchRequested());
  // Next on the last page goes home too.
  screen->Press("nextBtn");
  EXPECT_EQ(screen->GetPage(), 2);
  EXPECT_TRUE(m_game->IsLevelSwitchRequested());
  EXPECT_EQ(m_game->GetRequestedLevelIndex(), 2u);
}

TEST_F(ScreensTest, TheCreditsScreenStays) {
  Frame(16.0);
  SwitchTo("CreditLevel");
  EXPECT_EQ(m_game->GetCurrentLevelIndex(), 4u);
  ASSERT_NE(dynamic_cast<CreditsLevel*>(Current()), nullptr);
  for (int i = 0; i < 5; ++i) Frame(16.0);
  EXPECT_EQ(m_game->GetCurrentLevelIndex(), 4u);
}

TEST_F(ScreensTest, LevelsWithoutContentBuildAsNoneAndTheResetForgetsTheLastBuild) {
  Frame(16.0);
  const uint32_t assets = m_game->GetCollisionAssetCount();
  EXPECT_EQ(assets, MyLevelFactory::kCollisionActorCount);
  for (uint32_t number : {9u, 0xFFFFFFFFu}) {
    EXPECT_FALSE(MyLevelFactory::IsLevelAvailable(number));
    EXPECT_EQ(m_factory->CreateLevel(number), nullptr) << number;
  }
  // No level was built for them, yet each made and registered its actors anew.
  EXPECT_EQ(m_game->GetCollisionAssetCount(), 3 * assets);
  EXPECT_EQ(m_game->GetCollisionAsset(2 * assets), m_factory->collisionActors[0]);
  for (uint32_t number : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u}) EXPECT_TRUE(MyLevelFactory::IsLevelAvailable(number));
  m_factory->Reset();
  for (auto* camera : m_factory->cameras) EXPECT_EQ(camera, nullptr);
  for (auto* layer : m_factory->layers) EXPECT_EQ(layer, nullptr);
  for (auto* level : m_factory->levels) EXPECT_EQ(level, nullptr);
  EXPECT_EQ(m_factory->viewport, nullptr);
  // A screen built twice (a reset between) is two distinct levels; the content test holds each
  // build against the rows.
  SwitchTo("CreditLevel");
  SmartPointer<Quillon::Level> first(Current());
  SwitchTo("CreditLevel");
  ASSERT_NE(Current(), nullptr);
  EXPECT_NE(Current(), first.Get());
  EXPECT_EQ(m_factory->levels[4], Current());
}

// The story and the main menu, with the mouse played through a stand-in for the system's cursor
// and buttons: a 1280 x 720 client area at the screen's top-left corner.
class StoryMenuTest : public ScreensTest {
 protected:
  void SetUp() override {
    TestSupport::CoverGameWindow(m_input);
    ScreensTest::SetUp();
  }
  // Puts the pointer's tip on a world point of a screen whose camera stands at the origin, and
  // lets the collisions see it (the device first waits for a still cursor after a level switch).
  void PointAt(float x, float y) {
    Frame(16.0);
    m_input.cursorX = static_cast<int32_t>(x) + 640;
    m_input.cursorY = 719 - (static_cast<int32_t>(y) + 360);
    for (int i = 0; i < 3; ++i) Frame(16.0);
  }
  // Where the screen shows the named object now.
  Math::Vector2D Where(const char* name) {
    auto* object = Object<Quillon::GameObject>(1, name);
    return object == nullptr ? Math::Vector2D(-640.0f, 360.0f) : object->GetPosition();
  }
  void PointAt(const char* name) { PointAt(Where(name).x, Where(name).y); }
  // Points at the button, clicks, checks the level asked for and lets the switch happen.
  void ClickOn(const char* button, uint32_t level) {
    PointAt(button);
    Click();
    ExpectRequested(level);
    Frame(16.0);
  }
  // One frame with the left button gone down, then released.
  void Click() {
    m_input.Hold(PAL::VirtualKey::LeftButton, true);
    Frame(16.0);
    m_input.Hold(PAL::VirtualKey::LeftButton, false);
  }
  void Wait(double milliseconds) {
    for (double waited = 0.0; waited < milliseconds; waited += 16.0) Frame(16.0);
  }
  void ExpectRequested(uint32_t level) {
    EXPECT_TRUE(m_game->IsLevelSwitchRequested());
    EXPECT_EQ(m_game->GetRequestedLevelIndex(), level);
  }

  TestInput::FakeInputBackend m_input;
};

TEST_F(StoryMenuTest, TheStoryStartsWithItsSaucersLaserAndFiresTransparent) {
  Frame(16.0);
  SwitchTo("Story");
  EXPECT_EQ(m_game->GetCurrentLevelIndex(), 1u);
  ASSERT_NE(dynamic_cast<StoryClass*>(Current()), nullptr);
  for (const Content::ObjectRow& row : MyLevelFactory::GetLevelRows(1)->layers[1].objects) {
    auto* sprite = Object<Quillon::Sprite>(1, row.name);
    ASSERT_NE(sprite, nullptr) << row.name;
    const std::string name = row.name;
    const bool hidden = name.rfind("ufo", 0) == 0 || name == "laser" || name.rfind("flame", 0) == 0;
    EXPECT_FLOAT_EQ(sprite->GetOpacity(), hidden ? 0.0f : 1.0f) << row.name;
  }
}

TEST_F(StoryMenuTest, TheStoryBringsInItsPanelsInTurnAndEndsOnTheMenuAtTenSeconds) {
  Frame(16.0);
  SwitchTo("Story");
  auto* story = dynamic_cast<StoryClass*>(Current());
  ASSERT_NE(story, nullptr);
  auto* f1 = Object<Quillon::Sprite>(1, "f1");
  auto* f2 = Object<Quillon::Sprite>(1, "f2");
  auto* f3 = Object<Quillon::Sprite>(1, "f3");
  auto* child = Object<Quillon::Sprite>(1, "child");
  auto* ufo3 = Object<Quillon::Sprite>(1, "ufo3");
  auto* flame = Object<Quillon::Sprite>(1, "flame1");
  ASSERT_TRUE(f1 && f2 && f3 && child && ufo3 && flame);
  double elapsed = 16.0;
  auto runUntil = [&](double until) {
    while (elapsed < until && m_game->GetCurrentLevelIndex() == 1) {
      Frame(16.0);
      elapsed += 16.0;
      if (m_game->GetCurrentLevelIndex() != 1) break;
      EXPECT_GE(flame->GetOpacity(), 0.0f);
      EXPECT_LE(flame->GetOpacity(), 1.0f);
    }
  };
  runUntil(3900.0);
  // The first panel is down, the people walked in, the saucers attack and the fires are lit.
  EXPECT_FLOAT_EQ(f1->GetPositionY(), 135.0f);
  EXPECT_FLOAT_EQ(child->GetPositionX(), -296.0f);
  EXPECT_EQ(child->GetCurrentFrameIndex(), 1u);
  EXPECT_LE(ufo3->GetPositionX(), -107.0f);
  EXPECT_FLOAT_EQ(flame->GetOpacity(), 1.0f);
  EXPECT_FLOAT_EQ(f2->GetPositionY(), 635.0f);
  runUntil(5900.0);
  EXPECT_FLOAT_EQ(f2->GetPositionY(), 135.0f);
  EXPECT_FLOAT_EQ(f3->GetPositionX(), -1302.0f);
  runUntil(7900.0);
  EXPECT_FLOAT_EQ(f3->GetPositionX(), -2.0f);
  EXPECT_FLOAT_EQ(f1->GetOpacity(), 1.0f);
  runUntil(9900.0);
  // Faded out, the backdrop left alone.
  EXPECT_FLOAT_EQ(f1->GetOpacity(), 0.0f);
  EXPECT_FLOAT_EQ(flame->GetOpacity(), 0.0f);
  EXPECT_FLOAT_EQ(Object<Quillon::Sprite>(1, "StoryBack")->GetOpacity(), 1.0f);
  EXPECT_EQ(m_game->GetCurrentLevelIndex(), 1u);
  runUntil(10200.0);
  EXPECT_EQ(m_game->GetCurrentLevelIndex(), 2u);
  EXPECT_NE(dynamic_cast<MainMenuClass*>(Current()), nullptr);
  EXPECT_GE(elapsed, 10000.0);
}

TEST_F(StoryMenuTest, AStoryMissingItsPicturesStillEndsOnTheMenu) {
  Frame(16.0);
  SwitchTo("Story");
  auto* f1 = Object<Quillon::Sprite>(1, "f1");
  ASSERT_NE(f1, nullptr);
  f1->Destroy();
  double elapsed = 0.0;
  while (m_game->GetCurrentLevelIndex() == 1 && elapsed < 11000.0) {
    Frame(16.0);
    elapsed += 16.0;
  }
  EXPECT_EQ(m_game->GetCurrentLevelIndex(), 2u);
  EXPECT_NEAR(elapsed, 10000.0, 100.0);
}

TEST_F(StoryMenuTest, OneClickSkipsTheStory) {
  Frame(16.0);
  SwitchTo("Story");
  PointAt(0.0f, 0.0f);
  EXPECT_FALSE(m_game->IsLevelSwitchRequested());
  Click();
  ExpectRequested(2);
  Frame(16.0);
  EXPECT_NE(dynamic_cast<MainMenuClass*>(Current()), nullptr);
}

TEST_F(StoryMenuTest, TheMenuHasMovingPlatformsABobbingCarAndAClosedOverlay) {
  Frame(16.0);
  SwitchTo("MainOptionLevel");
  EXPECT_EQ(m_game->GetCurrentLevelIndex(), 2u);
  ASSERT_NE(dynamic_cast<MainMenuClass*>(Current()), nullptr);
  // One frame has run: the platforms moved one step left of where their rows put them.
  for (const Content::ObjectRow& row : MyLevelFactory::GetLevelRows(2)->layers[1].objects) {
    if (std::string(row.name).rfind("MenuPlatform", 0) != 0) continue;
    EXPECT_EQ(Object<Quillon::Sprite>(1, row.name)->GetPosition(), Math::Vector2D(row.x - 5.0f, row.y)) << row.name;
  }
  // The loading screen is hidden as the menu starts; the car shows its last frame and rides on
  // its rigid body.
  EXPECT_FALSE(Object<Quillon::Sprite>(1, "LoadingScreen")->IsVisible());
  auto* car = Object<Quillon::Sprite>(1, "MenuCar");
  ASSERT_NE(car, nullptr);
  EXPECT_EQ(car->GetCurrentFrameIndex(), car->GetFramesCount(0) - 1);
  EXPECT_FALSE(car->IsPlaying());
  Math::Vector2D velocity;
  ASSERT_TRUE(car->GetVelocity(velocity));
  for (const char* box : {"Op_fsCheckBox", "Op_SoundChkBox", "Op_BgmChkBox"}) {
    auto* sprite = Object<Quillon::Sprite>(1, box);
    ASSERT_NE(sprite, nullptr);
    EXPECT_FALSE(sprite->IsPlaying());
    // Sound and music on; the full-screen box ticked only in full screen.
    const bool ticked = std::string(box) == "Op_fsCheckBox" && m_game->IsFullScreen();
    EXPECT_EQ(sprite->GetCurrentFrameIndex(), ticked ? 1u : 0u) << box;
  }
  auto* overlay = Object<OptionMenu_M>(1, "OptionMenuSprite");
  ASSERT_NE(overlay, nullptr);
  EXPECT_FALSE(overlay->IsShown());
  // The car bobs between its two heights; the platforms never leave a gap in view.
  float lowest = 1e9f, highest = -1e9f;
  for (int i = 0; i < 600; ++i) {
    Frame(16.0);
    lowest = std::min(lowest, car->GetPositionY());
    highest = std::max(highest, car->GetPositionY());
    auto* first = Object<Quillon::Sprite>(1, "MenuPlatform1");
    auto* second = Object<Quillon::Sprite>(1, "MenuPlatform2");
    const float left = std::min(first->GetPositionX(), second->GetPositionX());
    const float right = std::max(first->GetPositionX(), second->GetPositionX());
    EXPECT_LE(right - left, 1290.0f);
    EXPECT_LE(left, 0.0f);
  }
  EXPECT_LT(lowest, -190.0f);
  EXPECT_GT(highest, -180.0f);
  EXPECT_GT(lowest, -230.0f);
  EXPECT_LT(highest, -150.0f);
}

TEST_F(StoryMenuTest, TheMenuButtonsLeadToTheirScreensAndBack) {
  Frame(16.0);
  SwitchTo("MainOptionLevel");
  auto* instruction = Object<Quillon::Text>(1, "InstructionTxt");
  ASSERT_NE(instruction, nullptr);
  PointAt("OptionBtn");
  PointAt("InstructionBtn");
  // The caption under the pointer loses green and blue, the one it came straight from is plain
  // again; nothing is asked for without a click.
  EXPECT_FLOAT_EQ(Object<Quillon::Text>(1, "OptionTxt")->GetModulationColor().g, 1.0f);
  EXPECT_FLOAT_EQ(instruction->GetModulationColor().g, 0.0f);
  EXPECT_FLOAT_EQ(instruction->GetModulationColor().b, 0.0f);
  EXPECT_FALSE(m_game->IsLevelSwitchRequested());
  Click();
  ExpectRequested(3);
  Frame(16.0);
  ASSERT_NE(dynamic_cast<InstructionLevel*>(Current()), nullptr);
  // Home from the instructions.
  ClickOn("homeBtn", 2);
  ASSERT_NE(dynamic_cast<MainMenuClass*>(Current()), nullptr);
  ClickOn("CreditBtn", 4);
  ASSERT_NE(dynamic_cast<CreditsLevel*>(Current()), nullptr);
  ClickOn("MainMenuBtn", 2);
  ASSERT_NE(dynamic_cast<MainMenuClass*>(Current()), nullptr);
  // Away from every button all captions are plain again.
  PointAt(-500.0f, 300.0f);
  for (const char* caption : {"PlayTxt", "InstructionTxt", "GarageTxt", "OptionTxt", "CreditTxt", "ExitTxt"}) {
    EXPECT_FLOAT_EQ(Object<Quillon::Text>(1, caption)->GetModulationColor().g, 1.0f) << caption;
  }
  Click();
  EXPECT_FALSE(m_game->IsLevelSwitchRequested());
  PointAt("GarageBtn");
  Click();
  ExpectRequested(6);
}

TEST_F(StoryMenuTest, PlayOpensTheTutorialOnceThenTheGameAndExitQuits) {
  Frame(16.0);
  SwitchTo("MainOptionLevel");
  PointAt("PlayBtn");
  // Play's caption loses only its blue (the scripted run looks at the blue).
  EXPECT_FLOAT_EQ(Object<Quillon::Text>(1, "PlayTxt")->GetModulationColor().g, 1.0f);
  Click();
  ExpectRequested(5);
  EXPECT_EQ(m_game->tutorialPlayed, 1);
  EXPECT_FALSE(Object<Quillon::Sprite>(1, "MousePt")->IsVisible());
  // From then on Play leads to the game, with the loading screen up.
  m_game->SetLevelIndices(2, 0, 0, false);
  auto* menu = dynamic_cast<MainMenuClass*>(Current());
  ASSERT_NE(menu, nullptr);
  menu->Press("PlayBtn");
  ExpectRequested(7);
  EXPECT_TRUE(Object<Quillon::Sprite>(1, "LoadingScreen")->IsVisible());
  m_game->SetLevelIndices(2, 0, 0, false);
  menu->Press("ExitBtn");
  EXPECT_FALSE(m_game->IsLevelSwitchRequested());
  // The quit request reaches the message pump (and is consumed there).
  EXPECT_FALSE(PAL::ProcessMessages());
}

TEST_F(StoryMenuTest, TheOptionsOverlayTakesThePointerWhileOpen) {
  Frame(16.0);
  SwitchTo("MainOptionLevel");
  auto* overlay = Object<OptionMenu_M>(1, "OptionMenuSprite");
  ASSERT_NE(overlay, nullptr);
  EXPECT_TRUE(overlay->IsVisible());
  auto* sound = Object<Quillon::Sprite>(1, "Op_SoundChkBox");
  ASSERT_NE(sound, nullptr);
  const Math::Vector2D offset = sound->GetPosition() - overlay->GetPosition();
  PointAt("OptionBtn");
  Click();
  EXPECT_FALSE(m_game->IsLevelSwitchRequested());
  EXPECT_TRUE(overlay->IsShown());
  Frame(16.0);
  // It stands on the camera with its members.
  EXPECT_EQ(overlay->GetPosition(), Math::Vector2D(0.0f, 0.0f));
  EXPECT_EQ(sound->GetPosition(), overlay->GetPosition() + offset);
  EXPECT_TRUE(sound->IsVisible());
  // Its boxes are the run overlay's, clicked in the scripted run (and flicked onto below); the
  // menu's buttons are dead while it is open.
  PointAt("InstructionBtn");
  Click();
  EXPECT_FALSE(m_game->IsLevelSwitchRequested());
  EXPECT_FLOAT_EQ(Object<Quillon::Text>(1, "InstructionTxt")->GetModulationColor().g, 1.0f);
  // Its one button closes it, its caption lit while the pointer is on it.
  PointAt("Op_MmBtn");
  EXPECT_FLOAT_EQ(Object<Quillon::Text>(1, "opBtnTxt2")->GetModulationColor().g, 0.0f);
  // Straight on to a box, the caption is plain again.
  PointAt("Op_BgmChkBox");
  EXPECT_FLOAT_EQ(Object<Quillon::Text>(1, "opBtnTxt2")->GetModulationColor().g, 1.0f);
  // Past the time of a double click (a click sooner is spent on opening), it closes.
  PointAt("Op_MmBtn");
  Wait(500.0);
  Click();
  EXPECT_FALSE(overlay->IsShown());
  EXPECT_FALSE(overlay->IsVisible());
  EXPECT_FALSE(sound->IsVisible());
  EXPECT_FALSE(m_game->IsLevelSwitchRequested());
  PointAt("InstructionBtn");
  Click();
  ExpectRequested(3);
}

TEST_F(StoryMenuTest, TheClickThatOpensOrClosesTheOptionsOverlayChangesNoSetting) {
  Frame(16.0);
  SwitchTo("MainOptionLevel");
  auto* overlay = Object<OptionMenu_M>(1, "OptionMenuSprite");
  ASSERT_NE(overlay, nullptr);
  const auto settings = [this] {
    std::vector<uint32_t> now = {m_game->IsFullScreen(), static_cast<uint32_t>(m_game->soundOn),
                                 static_cast<uint32_t>(m_game->musicOn)};
    for (const char* box : {"Op_fsCheckBox", "Op_SoundChkBox", "Op_BgmChkBox"}) {
      now.push_back(Object<Quillon::Sprite>(1, box)->GetCurrentFrameIndex());
    }
    return now;
  };
  // Once shown, the hidden overlay stays on the camera with its full-screen box under the lower
  // right of the Option button (the centre included); each point is double-clicked to open (the
  // second click 0.2 s on), and the overlay is closed after the time of a double click.
  const Math::Vector2D option = Where("OptionBtn");
  for (const Math::Vector2D offset : {Math::Vector2D(-70.0f, 15.0f), Math::Vector2D(0.0f, 0.0f),
                                      Math::Vector2D(35.0f, -8.0f), Math::Vector2D(75.0f, -8.0f)}) {
    const std::vector<uint32_t> before = settings();
    PointAt(option.x + offset.x, option.y + offset.y);
    Click();
    Wait(184.0);
    Click();
    EXPECT_TRUE(overlay->IsShown()) << "at " << offset.x << ", " << offset.y;
    PointAt("Op_MmBtn");
    Wait(500.0);
    Click();
    EXPECT_FALSE(overlay->IsShown());
    EXPECT_FALSE(m_game->IsLevelSwitchRequested());
    EXPECT_EQ(settings(), before) << "at " << offset.x << ", " << offset.y;
  }
}

TEST_F(StoryMenuTest, AQuickRunOfClicksOnOptionChangesNoSetting) {
  Frame(16.0);
  SwitchTo("MainOptionLevel");
  auto* overlay = Object<OptionMenu_M>(1, "OptionMenuSprite");
  auto* fullScreen = Object<Quillon::Sprite>(1, "Op_fsCheckBox");
  ASSERT_TRUE(overlay != nullptr && fullScreen != nullptr);
  // Opened and closed once, the hidden overlay keeps its full-screen box under the Option button;
  // then five clicks on Option 0.16 s apart, the last 0.64 s after the one that opened it.
  PointAt("OptionBtn");
  Click();
  PointAt("Op_MmBtn");
  Wait(500.0);
  Click();
  ASSERT_FALSE(overlay->IsShown());
  const bool wasFullScreen = m_game->IsFullScreen();
  const uint32_t shown = fullScreen->GetCurrentFrameIndex();
  PointAt("OptionBtn");
  for (int i = 0; i < 5; ++i) {
    Click();
    Wait(144.0);
  }
  EXPECT_TRUE(overlay->IsShown());
  EXPECT_EQ(m_game->IsFullScreen(), wasFullScreen);
  EXPECT_EQ(fullScreen->GetCurrentFrameIndex(), shown);
}

TEST_F(StoryMenuTest, APressInTheFrameThePointerArrivesActsOnTheButtonItArrivedAt) {
  Frame(16.0);
  SwitchTo("MainOptionLevel");
  // A quick flick: the pointer reaches the button and the button goes down in one frame.
  const auto flickAndPress = [this](const char* button) {
    m_input.cursorX = static_cast<int32_t>(Where(button).x) + 640;
    m_input.cursorY = 719 - (static_cast<int32_t>(Where(button).y) + 360);
    Click();
    Frame(16.0);
  };
  // From bare ground onto Play.
  PointAt(-500.0f, 300.0f);
  flickAndPress("PlayBtn");
  ExpectRequested(5);
  SwitchTo("MainOptionLevel");
  // From Instructions onto Credits: Credits answers, not the button just left.
  PointAt("InstructionBtn");
  flickAndPress("CreditBtn");
  ExpectRequested(4);
  SwitchTo("MainOptionLevel");
  // The overlay's sound box, reached and pressed in one frame, toggles once only.
  PointAt("OptionBtn");
  Click();
  Frame(16.0);
  ASSERT_TRUE(Object<OptionMenu_M>(1, "OptionMenuSprite")->IsShown());
  // A second on, a click is a deliberate one.
  Wait(1000.0);
  PointAt(-500.0f, 300.0f);
  flickAndPress("Op_SoundChkBox");
  for (int i = 0; i < 3; ++i) Frame(16.0);
  EXPECT_EQ(m_game->soundOn, 0);
  EXPECT_EQ(Object<Quillon::Sprite>(1, "Op_SoundChkBox")->GetCurrentFrameIndex(), 1u);
}

// The screens of the run, built straight from their rows without a frame, so that what is checked is
// the content and not what the game classes do with it once they start.
class ContentTest : public ScreensTest {
 protected:
  Quillon::Level* Build(uint32_t number) {
    m_level = m_factory->CreateLevel(number);
    m_game->SetCurrentLevel(m_level);
    return m_level.Get();
  }
  Quillon::GameObject* Find(uint32_t layer, const std::string& name) {
    std::list<Quillon::GameObject*> found;
    m_level->GetLayer(layer)->GetGameObjectsByName(name, found);
    EXPECT_EQ(found.size(), 1u) << name;
    return found.empty() ? nullptr : found.front();
  }
  Quillon::GameObject* FindAnywhere(const std::string& name) {
    std::list<Quillon::GameObject*> found;
    m_level->GetGameObjectsByName(name, found);
    return found.empty() ? nullptr : found.front();
  }
  // Lets go of the built level, ready for the next build.
  void Forget() {
    m_game->SetCurrentLevel(nullptr);
    m_level.Reset();
    m_factory->Reset();
  }
  void ExpectBuiltAsItsRows(uint32_t number, bool client);
  // The layers, camera and viewport of a screen as its rows give them.
  void ExpectFrame(const char* levelName, const Content::LevelRows& rows) {
    Quillon::Level* level = Current();
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->GetName(), levelName);
    EXPECT_FALSE(level->GetClearBackBuffer());
    ASSERT_EQ(level->GetLayersCount(), rows.layers.size());
    for (uint32_t slot = 0; slot < rows.layers.size(); ++slot) {
      const Content::LayerRows& row = rows.layers[slot];
      Quillon::Layer* layer = level->GetLayer(slot);
      EXPECT_EQ(layer->GetName(), row.name);
      EXPECT_EQ(layer->GetIndex(), slot);
      EXPECT_FLOAT_EQ(layer->GetZOrder(), row.z);
      EXPECT_FLOAT_EQ(layer->GetGridOrigin().x, row.originX);
      EXPECT_FLOAT_EQ(layer->GetGridOrigin().y, row.originY);
      EXPECT_EQ(layer->GetGridWidth(), row.width);
      EXPECT_EQ(layer->GetGridHeight(), row.height);
      EXPECT_EQ(layer->GetGridCellSize(), 100u);
      // The last layer holds the camera too.
      const size_t camera = slot + 1 == rows.layers.size() ? 1 : 0;
      EXPECT_EQ(layer->GetNameIndexSize(), row.objects.size() + camera) << row.name;
      EXPECT_EQ(m_factory->layers[slot], layer);
    }
    auto* camera = Object<Quillon::Camera>(static_cast<uint32_t>(rows.layers.size() - 1), "camera0");
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->GetPosition(), Math::Vector2D(rows.cameraX, rows.cameraY));
    EXPECT_FLOAT_EQ(camera->GetFOV(), 45.0f);
    ASSERT_EQ(level->GetViewportsCount(), 1u);
    Quillon::Viewport* viewport = level->GetViewport(0);
    EXPECT_EQ(viewport->GetCamera(), camera);
    EXPECT_EQ(viewport->GetX(), 0);
    EXPECT_EQ(viewport->GetY(), 0);
    EXPECT_EQ(viewport->GetWidth(), 1280u);
    EXPECT_EQ(viewport->GetHeight(), 720u);
    EXPECT_NEAR(viewport->GetClearColor().r, 64.0f / 255.0f, 1e-6);
    EXPECT_NEAR(viewport->GetClearColor().a, 1.0f, 1e-6);
  }

  SmartPointer<Quillon::Level> m_level;
};

// How a row asks its object to look, read from its other column apart from the builder.
struct RowLook {
  bool playing = true;
  bool loop = true;
  float opacity = 1.0f;
  float scaleX = 1.0f;
  float scaleY = 1.0f;
  float rotation = 0.0f;
  Math::Vector2D center{0.0f, 0.0f};
};
RowLook LookOf(const Content::ObjectRow& row) {
  RowLook look;
  for (const Content::Other& other : row.other) {
    switch (other.setting) {
      case Content::Setting::Still: look.playing = false; break;
      case Content::Setting::Once: look.loop = false; break;
      case Content::Setting::Opacity: look.opacity = other.a; break;
      case Content::Setting::Scale: look.scaleX = other.a, look.scaleY = other.b; break;
      case Content::Setting::Rotation: look.rotation = other.a; break;
      case Content::Setting::Center: look.center = Math::Vector2D(other.a, other.b); break;
      default: break;
    }
  }
  return look;
}

// Every object of every level as its row says: one of its name in its row's layer, of the row's
// kind, where the row puts it, and a sprite with the row's actor, animations and body (none on a
// network client, whose server decides contacts and motion). The layers, camera and mounts too.
void ContentTest::ExpectBuiltAsItsRows(uint32_t number, bool client) {
  SCOPED_TRACE(std::string("level ") + MyLevelFactory::GetLevelName(number));
  const Content::LevelRows& rows = *MyLevelFactory::GetLevelRows(number);
  const uint32_t actors = m_game->GetCollisionAssetCount();
  ASSERT_NE(Build(number), nullptr);
  // Each build registers the actors once.
  EXPECT_EQ(m_game->GetCollisionAssetCount(), actors + MyLevelFactory::kCollisionActorCount);
  ExpectFrame(MyLevelFactory::GetLevelName(number), rows);
  EXPECT_EQ(m_factory->levels[number], m_level.Get());
  EXPECT_EQ(m_factory->cameras[number], Find(static_cast<uint32_t>(rows.layers.size() - 1), "camera0"));
  for (uint32_t slot = 0; slot < rows.layers.size(); ++slot) {
    for (const Content::ObjectRow& row : rows.layers[slot].objects) {
      Quillon::GameObject* object = Find(slot, row.name);
      ASSERT_NE(object, nullptr) << row.name;
      EXPECT_EQ(object->GetPosition(), Math::Vector2D(row.x, row.y)) << row.name;
      EXPECT_FLOAT_EQ(object->GetZOrder(), row.z) << row.name;
      const bool hidden = std::any_of(row.other.begin(), row.other.end(), [](const Content::Other& other) {
        return other.setting == Content::Setting::Hidden;
      });
      EXPECT_EQ(object->IsVisible(), !hidden) << row.name;
      const RowLook look = LookOf(row);
      EXPECT_FLOAT_EQ(object->GetOpacity(), look.opacity) << row.name;
      EXPECT_FLOAT_EQ(object->GetScaleX(), look.scaleX) << row.name;
      EXPECT_FLOAT_EQ(object->GetScaleY(), look.scaleY) << row.name;
      EXPECT_FLOAT_EQ(object->GetRotationAngle(), look.rotation) << row.name;
      EXPECT_EQ(object->GetCenter(), look.center) << row.name;
      if (row.type.text != nullptr) {
        auto* text = dynamic_cast<Quillon::Text*>(object);
        ASSERT_NE(text, nullptr) << row.name;
        EXPECT_EQ(text->GetText(), row.caption) << row.name;
      }
      if (row.type.sprite == nullptr) {
        EXPECT_EQ(object->GetCollisionObject(), nullptr) << row.name;
        continue;
      }
      auto* sprite = dynamic_cast<Quillon::Sprite*>(object);
      ASSERT_NE(sprite, nullptr) << row.name;
      EXPECT_EQ(sprite->GetCollisionActorIndex(), row.actor) << row.name;
      EXPECT_EQ(sprite->IsPlaying(), look.playing) << row.name;
      EXPECT_EQ(sprite->GetLoop(), look.loop) << row.name;
      EXPECT_EQ(sprite->GetCurrentFrameIndex(), 0u) << row.name;
      ASSERT_EQ(sprite->GetAnimationsCount(), row.look.animations.size()) << row.name;
      for (uint32_t a = 0; a < row.look.animations.size(); ++a) {
        EXPECT_EQ(sprite->GetFramesCount(a), row.look.animations[a].frames) << row.name;
      }
      const TestSupport::RowBody expected = TestSupport::BodyOf(row);
      Collision2D::DynamicObject* body = sprite->GetCollisionObject();
      Physics2D::MassProperties mass(0.0f, 0.0f, Math::Vector2D());
      EXPECT_EQ(sprite->GetMassProperties(mass), !client && expected.mass >= 0.0f) << row.name;
      if (!client && expected.mass >= 0.0f) {
        EXPECT_FLOAT_EQ(mass.GetMass(), expected.mass) << row.name;
      }
      ASSERT_EQ(body != nullptr, !client && expected.body) << row.name;
      if (body == nullptr) continue;
      EXPECT_EQ(body->GetZCollision(), expected.group) << row.name;
      for (uint8_t z = 0; z < 16; ++z) {
        EXPECT_EQ(body->GetCanCollid(z), expected.partners.count(z) == 1) << row.name << " with " << int(z);
      }
      EXPECT_EQ(body->GetCollisionType(), expected.shapes) << row.name;
      EXPECT_FLOAT_EQ(body->GetCollisionThickness(), expected.thickness) << row.name;
      EXPECT_EQ(body->GetUpdateOnIdle(), expected.idle) << row.name;
    }
  }
  // A carrier takes what it carries along.
  for (const Content::MountRow& mount : rows.mounts) {
    Quillon::GameObject* carrier = FindAnywhere(mount.carrier);
    Quillon::GameObject* carried = FindAnywhere(mount.carried);
    ASSERT_TRUE(carrier != nullptr && carried != nullptr) << mount.carrier;
    const Math::Vector2D before = carried->GetPosition();
    carrier->SetPosition(carrier->GetPosition() + Math::Vector2D(100.0f, -50.0f));
    EXPECT_EQ(carried->GetPosition(), before + Math::Vector2D(100.0f, -50.0f)) << mount.carried;
  }
  Forget();
}

TEST_F(ContentTest, EveryLevelIsBuiltAsItsRowsSay) {
  for (uint32_t number = 0; number < MyLevelFactory::kLevelCount; ++number) {
    ExpectBuiltAsItsRows(number, false);
  }
}

TEST_F(ContentTest, LookupsByABaseClassFindTheDerivedObjects) {
  ASSERT_NE(Build(7), nullptr);
  EXPECT_NE(FindObjectByName<CursorClass>("mouse"), nullptr);
  EXPECT_NE(FindObjectByName<Quillon::Sprite>("mouse"), nullptr);
  EXPECT_NE(FindObjectByName<PowerConsume>("UsableImg"), nullptr);
  EXPECT_NE(FindObjectByName<SpawnObject>("pShieldImg"), nullptr);
  // A wrong class counts as absent.
  EXPECT_EQ(FindObjectByName<Quillon::Text>("mouse"), nullptr);
  EXPECT_EQ(FindObjectByName<PlayerClass>("UsableImg"), nullptr);
  EXPECT_EQ(FindObjectByName<Quillon::Sprite>("nothing of that name"), nullptr);
}

// In the lesson gravity pulls the car down while the civilian, with no force, stays.
TEST_F(ContentTest, InTheLessonOnlyTheCarFalls) {
  ASSERT_NE(Build(5), nullptr);
  ASSERT_NE(dynamic_cast<Tutorial*>(Current()), nullptr);
  Physics2D::PhysicsEngine* physics = m_game->GetPhysicsEngine();
  ASSERT_NE(physics, nullptr);
  for (int i = 0; i < 10; ++i) physics->Update(0.1f);
  Math::Vector2D velocity;
  ASSERT_TRUE(Find(1, "player")->GetVelocity(velocity));
  EXPECT_LT(velocity.y, 0.0f);
  ASSERT_TRUE(Find(1, "save")->GetVelocity(velocity));
  EXPECT_FLOAT_EQ(velocity.y, 0.0f);
}

// A game in a network session that another machine hosts.
class ClientNetwork : public Quillon::GameNetwork {
 public:
  bool StartSession(const Quillon::NetworkSessionSettings&, Quillon::NetworkEventHandler) override { return false; }
  bool StartHosting(const std::string&, uint32_t, uint32_t, float) override { return false; }
  bool JoinSession(const std::string&, const Quillon::QlnBroadcast&, const std::string&) override { return false; }
  bool Shutdown() override { return false; }
  bool IsNetworkGame() const override { return true; }
  bool IsServer() const override { return false; }
  void UpdatePlayerInput(float) override {}
  void Update(float) override {}
  void CopyDiscoveredSessions(const std::string&,
                              std::vector<std::shared_ptr<const Quillon::QlnBroadcast>>&) const override {}
  void ClearNamedNetObjects() override {}
  void DestroyNetObjects() override {}
  void RestartDiscovery() override {}
  void SendLevelSwitched() override {}
  bool AddNetObject(Quillon::GameObject*, uint32_t, Quillon::QlnPlayer*) override { return false; }
  bool RemoveNetObject(Quillon::GameObject*) override { return false; }
  Quillon::GameObject* FindNetObjectByName(const std::string&) const override { return nullptr; }
  int PushToLua(lua_State*) override { return 0; }
  int PushSession(lua_State*, const Quillon::QlnBroadcast&) override { return 0; }
  const Quillon::QlnBroadcast* ToSession(lua_State*, int) const override { return nullptr; }
};

class ClientContentTest : public ContentTest {
 protected:
  void SetUp() override {
    m_previousNetwork = Quillon::GetGameNetworkFactory();
    Quillon::SetGameNetworkFactory([]() -> std::unique_ptr<Quillon::GameNetwork> {
      return std::make_unique<ClientNetwork>();
    });
    ContentTest::SetUp();
  }
  void TearDown() override {
    ContentTest::TearDown();
    Quillon::SetGameNetworkFactory(m_previousNetwork);
  }
  Quillon::GameNetworkFactory m_previousNetwork = nullptr;
};

TEST_F(ClientContentTest, ANetworkClientBuildsEveryObjectWithoutBodies) {
  for (uint32_t number = 0; number < MyLevelFactory::kLevelCount; ++number) {
    ExpectBuiltAsItsRows(number, true);
  }
}

// The frame drawn by the last update, kept as a picture in the build folder ("screens/<name>.png")
// for a person to look at; the number of distinct colours in it, so a test can tell a drawn screen
// from an empty one.
size_t KeepScreenshot(const std::string& name) {
  SmartPointer<Renderer::IRenderer> renderer = Renderer::IRenderer::GetInstance();
  if (!renderer) return 0;
  const TestSupport::Picture picture =
      TestSupport::SaveScreen(renderer.Get(), TestSupport::ArtefactFolder("screens"), name);
  std::set<uint32_t> colours;
  for (size_t i = 0; i + 2 < picture.rgb.size(); i += 3 * 97) {
    colours.insert(picture.rgb[i] << 16 | picture.rgb[i + 1] << 8 | picture.rgb[i + 2]);
  }
  return colours.size();
}

// The menu, tutorial, run and results are drawn and kept by the scripted runs; the instructions
// screen is drawn only here.
TEST_F(StoryMenuTest, TheInstructionsScreenIsDrawn) {
  Frame(16.0);
  SwitchTo("InstructionLevel");
  PointAt(100.0f, 100.0f);
  for (int i = 0; i < 30; ++i) Frame(16.0);
  m_session.Step(16.0, [] { EXPECT_GT(KeepScreenshot("InstructionLevel"), 20u); });
}

}  // namespace
