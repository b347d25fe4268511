// The game's level table and its first screens. The table needs nothing; the screens are built by
// the real game object on a real window (skipped without a display), driven on a fake clock.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <list>
#include <string>
#include <vector>

#include "collision/Collision_DynamicObject.h"
#include "content/Velkor_MyLevelFactory.h"
#include "core/Core_Time.h"
#include "framework/Quillon_Camera.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_Sprite.h"
#include "framework/Quillon_Text.h"
#include "framework/Quillon_Viewport.h"
#include "game/Velkor_CreditsLevel.h"
#include "game/Velkor_InstructionLevel.h"
#include "game/Velkor_LogoClass.h"
#include "game/Velkor_MyGame.h"
#include "math/Math_Module.h"
#include "platform/PAL_Services.h"
#include "platform/PAL_Window.h"
#include "script/Lua_ScriptEngine.h"
#include "tests/support/TestSupport.h"

namespace {

using Core::SmartPointer;

const char* const kNames[] = {"Logos",    "Story",    "MainOptionLevel", "InstructionLevel", "CreditLevel",
                              "Tutorial", "GarLevel", "GameLevel",       "GameOverLevel"};

TEST(LevelTable, CountsNineLevelsAndNumbersThemByExactName) {
  SmartPointer<MyLevelFactory> factory(new MyLevelFactory());
  EXPECT_EQ(factory->GetLevelCount(), 9u);
  for (uint32_t number = 0; number < 9; ++number) {
    uint32_t index = 99;
    EXPECT_TRUE(factory->GetLevelIndex(kNames[number], index)) << kNames[number];
    EXPECT_EQ(index, number);
    EXPECT_STREQ(MyLevelFactory::GetLevelName(number), kNames[number]);
  }
  // Case, a trailing blank, a prefix, an embedded NUL and the empty name name nothing and leave
  // the output alone.
  for (const std::string& name : {std::string("gamelevel"), std::string("GameLevel "), std::string("Game"),
                                  std::string("Logos\0x", 7), std::string(""), std::string("LOGOS")}) {
    uint32_t index = 42;
    EXPECT_FALSE(factory->GetLevelIndex(name, index)) << name;
    EXPECT_EQ(index, 42u);
  }
  EXPECT_EQ(MyLevelFactory::GetLevelName(9), nullptr);
}

double g_now = 0.0;
double FakeClock() { return g_now; }

class ScreensTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VELKOR_REQUIRE_DISPLAY();
    setenv("ALSOFT_DRIVERS", "null", 0);
    PAL::SetMessageBoxHook([](const PAL::MessageBoxRequest&, std::uint32_t& answer) {
      answer = PAL::MessageBoxButton::OK;
      return true;
    });
    // The game reads and writes its save file in the working directory.
    m_directory = TestSupport::MakeTempDirectory("velkor_screens");
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof(here)), nullptr);
    m_previousDirectory = here;
    ASSERT_EQ(chdir(m_directory.c_str()), 0);
    Math::Initialize();
    std::string error;
    ASSERT_TRUE(Lua::Initialize(&error)) << error;
    g_now = 0.0;
    Core::InstallClock(&FakeClock);
    m_factory = new MyLevelFactory();
    m_game = new MyGame(SmartPointer<Quillon::LevelFactory>(m_factory), MyGame::MakeDisplaySettings(), 0);
    m_holder = m_game;
    // The frame cap waits on the clock, which only the test moves.
    EXPECT_TRUE(m_game->IsFrameRateLocked());
    EXPECT_DOUBLE_EQ(m_game->GetDesiredFrameRate(), 60.0);
    m_game->LockFrameRate(false);
    m_ready = true;
  }
  void TearDown() override {
    if (!m_ready) return;
    m_game->Shutdown();
    m_game = nullptr;
    m_holder.Reset();
    Core::InstallClock(nullptr);
    Lua::Shutdown();
    Math::Shutdown();
    PAL::SetMessageBoxHook(nullptr);
    while (!PAL::ProcessMessages()) {
    }
    (void)chdir(m_previousDirectory.c_str());
    std::system(("rm -rf '" + m_directory + "'").c_str());
  }

  void Frame(double milliseconds) {
    g_now += milliseconds;
    m_game->BeginFrame();
    m_game->Update();
    m_game->EndFrame();
  }
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

  struct LayerRow {
    const char* name;
    float z;
    float originX, originY;
    uint32_t width, height;
    uint32_t objects;
  };
  // The layers, camera and viewport every screen has.
  void ExpectFrame(const char* levelName, const std::vector<LayerRow>& rows) {
    Quillon::Level* level = Current();
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->GetName(), levelName);
    EXPECT_FALSE(level->GetClearBackBuffer());
    ASSERT_EQ(level->GetLayersCount(), rows.size());
    for (uint32_t slot = 0; slot < rows.size(); ++slot) {
      Quillon::Layer* layer = level->GetLayer(slot);
      EXPECT_EQ(layer->GetName(), rows[slot].name);
      EXPECT_EQ(layer->GetIndex(), slot);
      EXPECT_FLOAT_EQ(layer->GetZOrder(), rows[slot].z);
      EXPECT_FLOAT_EQ(layer->GetGridOrigin().x, rows[slot].originX);
      EXPECT_FLOAT_EQ(layer->GetGridOrigin().y, rows[slot].originY);
      EXPECT_EQ(layer->GetGridWidth(), rows[slot].width);
      EXPECT_EQ(layer->GetGridHeight(), rows[slot].height);
      EXPECT_EQ(layer->GetGridCellSize(), 100u);
      EXPECT_EQ(layer->GetNameIndexSize(), rows[slot].objects) << rows[slot].name;
      EXPECT_EQ(m_factory->layers[slot], layer);
    }
    auto* camera = Object<Quillon::Camera>(static_cast<uint32_t>(rows.size() - 1), "camera0");
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->GetPosition(), Math::Vector2D(0.0f, 0.0f));
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

  // A sprite as the recipe leaves it, with its row's own values.
  // The screen's first update has already moved its pointer to the mouse: no position for that one.
  Quillon::Sprite* ExpectSprite(const std::string& name, int32_t actor, float x, float y, float z,
                                bool placed = true) {
    auto* sprite = Object<Quillon::Sprite>(1, name);
    if (sprite == nullptr) return nullptr;
    EXPECT_EQ(sprite->GetCollisionActorIndex(), actor) << name;
    if (placed) EXPECT_EQ(sprite->GetPosition(), Math::Vector2D(x, y)) << name;
    EXPECT_FLOAT_EQ(sprite->GetZOrder(), z) << name;
    EXPECT_FLOAT_EQ(sprite->GetOpacity(), 1.0f) << name;
    EXPECT_TRUE(sprite->IsVisible()) << name;
    EXPECT_EQ(sprite->GetCurrentFrameIndex(), 0u) << name;
    // A local game gives every sprite its collision body.
    EXPECT_NE(sprite->GetCollisionObject(), nullptr) << name;
    return sprite;
  }
  Quillon::Text* ExpectText(const std::string& name, const std::string& caption, float x, float y, float z) {
    auto* text = Object<Quillon::Text>(1, name);
    if (text == nullptr) return nullptr;
    EXPECT_EQ(text->GetText(), caption);
    EXPECT_EQ(text->GetPosition(), Math::Vector2D(x, y)) << name;
    EXPECT_FLOAT_EQ(text->GetZOrder(), z) << name;
    EXPECT_EQ(text->GetCollisionId(), 0u) << name;
    return text;
  }
  void ExpectPointer(Quillon::Sprite* pointer) {
    ASSERT_NE(pointer, nullptr);
    Collision2D::DynamicObject* body = pointer->GetCollisionObject();
    ASSERT_NE(body, nullptr);
    EXPECT_TRUE(body->GetCollisionType());
    EXPECT_FLOAT_EQ(body->GetCollisionThickness(), 25.0f);
    EXPECT_TRUE(body->GetUpdateOnIdle());
  }
  void ExpectButton(Quillon::Sprite* button) {
    ASSERT_NE(button, nullptr);
    Collision2D::DynamicObject* body = button->GetCollisionObject();
    ASSERT_NE(body, nullptr);
    EXPECT_FALSE(body->GetCollisionType());
    EXPECT_FLOAT_EQ(body->GetCollisionThickness(), 4.0f);
    EXPECT_TRUE(body->GetUpdateOnIdle());
    EXPECT_TRUE(body->GetCanCollid(0));
  }

  std::string m_directory;
  std::string m_previousDirectory;
  MyLevelFactory* m_factory = nullptr;
  MyGame* m_game = nullptr;
  SmartPointer<Quillon::Game> m_holder;
  bool m_ready = false;
};

TEST_F(ScreensTest, TheGameStartsOnTheLogosWithItsSettingsAndFlags) {
  Frame(16.0);
  ASSERT_NE(Current(), nullptr);
  EXPECT_NE(dynamic_cast<LogoClass*>(Current()), nullptr);
  EXPECT_EQ(m_game->GetCurrentLevelIndex(), 0u);
  EXPECT_EQ(GetMyGame(), m_game);
  EXPECT_EQ(m_game->GetTitle(), "Velkor");
  EXPECT_NEAR(m_game->GetMasterVolume(), 1.0f, 1e-6);
  EXPECT_EQ(m_game->counter, 0);
  EXPECT_EQ(m_game->paused, 0);
  EXPECT_EQ(m_game->soundOn, 1);
  EXPECT_EQ(m_game->musicOn, 1);
  EXPECT_EQ(m_game->showTutorialPages, 1);
  EXPECT_EQ(m_game->tutorialPlayed, 0);
  // The contact seam answers with the framework's defaults.
  float restitution = 0.0f;
  float friction = 0.0f;
  EXPECT_TRUE(m_game->GetContactCoefficients(nullptr, nullptr, restitution, friction));
  EXPECT_FLOAT_EQ(restitution, 0.3f);
  EXPECT_FLOAT_EQ(friction, 0.5f);
}

TEST_F(ScreensTest, TheLogosScreenHoldsABackdropAndThreeCentredLogos) {
  Frame(16.0);
  ExpectFrame("Logos", {{"Logos_HUD", 0.0f, -640.0f, -360.0f, 1280, 720, 0},
                        {"layer1", 0.0f, -643.0f, -362.0f, 1286, 723, 4},
                        {"layer2", 869.117f, -640.0f, -360.0f, 1280, 720, 1}});
  ExpectSprite("back", 0, 0.0f, 0.0f, -1.0f);
  Quillon::Sprite* qln = ExpectSprite("QlnLogo", 1, 0.0f, 0.0f, 0.0f);
  ExpectSprite("StudioLogo", 2, 0.0f, 0.0f, 0.0f);
  ExpectSprite("TeamLogo", 3, 0.0f, 0.0f, 0.0f);
  ASSERT_NE(qln, nullptr);
  EXPECT_FLOAT_EQ(qln->GetScaleX(), 1.6f);
  EXPECT_FLOAT_EQ(qln->GetScaleY(), 1.6f);
  EXPECT_TRUE(qln->IsPlaying());
  EXPECT_EQ(qln->GetCurrentAnimationName(), "qln");
  EXPECT_EQ(qln->GetFrameWidth(0), 800u);
  EXPECT_EQ(qln->GetFrameHeight(0), 180u);
  EXPECT_NE(m_factory->levels[0], nullptr);
  EXPECT_NE(m_factory->cameras[0], nullptr);
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
  // The story has no content in this build: the game runs on without a level.
  EXPECT_EQ(Current(), nullptr);
  Frame(step);
}

TEST_F(ScreensTest, TheInstructionsScreenHoldsItsPagesButtonsCaptionsAndPointer) {
  Frame(16.0);
  SwitchTo("InstructionLevel");
  EXPECT_EQ(m_game->GetCurrentLevelIndex(), 3u);
  ASSERT_NE(dynamic_cast<InstructionLevel*>(Current()), nullptr);
  ExpectFrame("InstructionLevel", {{"InstructionLevel_HUD", 0.0f, -400.0f, -300.0f, 800, 600, 0},
                                   {"layer1", 0.0f, -693.0f, -522.0f, 1409, 1002, 9},
                                   {"layer2", 869.117f, -400.0f, -300.0f, 800, 600, 1}});
  ExpectText("prevTxt", "Previous", -462.0f, -291.0f, 1.0f);
  ExpectText("homeTxt", "Main Menu", -31.0f, -291.0f, 1.0f);
  ExpectText("nextTxt", "Next", 414.0f, -291.0f, 1.0f);
  ExpectSprite("sprite0", 31, 0.0f, 0.0f, -2.0f);
  ExpectButton(ExpectSprite("prevBtn", 23, -418.0f, -270.0f, 0.0f));
  ExpectButton(ExpectSprite("homeBtn", 23, 21.0f, -271.0f, 0.0f));
  ExpectButton(ExpectSprite("nextBtn", 23, 436.0f, -272.0f, 0.0f));
  Quillon::Sprite* pages = ExpectSprite("InstPages", 32, 9.0f, -55.0f, 0.0f);
  ExpectPointer(ExpectSprite("MousePt", 30, -677.0f, -155.0f, 1.0f, false));
  ASSERT_NE(pages, nullptr);
  EXPECT_FALSE(pages->IsPlaying());
  EXPECT_FALSE(pages->GetLoop());
  EXPECT_EQ(pages->GetFramesCount(0), 3u);
  EXPECT_EQ(pages->GetFrameWidth(0), 1062u);
  EXPECT_EQ(pages->GetFrameHeight(0), 524u);
  // The pages do not turn by themselves.
  for (int i = 0; i < 10; ++i) Frame(200.0);
  EXPECT_EQ(pages->GetCurrentFrameIndex(), 0u);
}

TEST_F(ScreensTest, TheInstructionButtonsTurnThePagesAndLeaveAtEitherEnd) {
  Frame(16.0);
  SwitchTo("InstructionLevel");
  auto* screen = dynamic_cast<InstructionLevel*>(Current());
  ASSERT_NE(screen, nullptr);
  auto* pages = Object<Quillon::Sprite>(1, "InstPages");
  ASSERT_NE(pages, nullptr);
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

TEST_F(ScreensTest, TheCreditsScreenHoldsItsPictureButtonAndPointer) {
  Frame(16.0);
  SwitchTo("CreditLevel");
  EXPECT_EQ(m_game->GetCurrentLevelIndex(), 4u);
  ASSERT_NE(dynamic_cast<CreditsLevel*>(Current()), nullptr);
  ExpectFrame("CreditLevel", {{"CreditLevel_HUD", 0.0f, -640.0f, -360.0f, 1280, 720, 0},
                              {"layer1", 0.0f, -640.0f, -360.0f, 1280, 720, 5},
                              {"layer2", 869.117f, -640.0f, -360.0f, 1280, 720, 1}});
  ExpectText("MainMenuTxt", "Main Menu", 454.0f, -322.0f, 1.0f);
  ExpectSprite("sprite0", 33, 0.0f, 0.0f, -1.0f);
  ExpectSprite("CreditPic", 34, 0.0f, 0.0f, 0.0f);
  ExpectButton(ExpectSprite("MainMenuBtn", 23, 505.0f, -303.0f, 0.0f));
  ExpectPointer(ExpectSprite("MousePt", 30, 358.0f, -344.0f, 30.2f, false));
  for (int i = 0; i < 5; ++i) Frame(16.0);
  EXPECT_EQ(m_game->GetCurrentLevelIndex(), 4u);
}

TEST_F(ScreensTest, LevelsWithoutContentBuildAsNoneAndTheResetForgetsTheLastBuild) {
  Frame(16.0);
  for (uint32_t number : {1u, 2u, 5u, 6u, 7u, 8u, 9u, 0xFFFFFFFFu}) {
    EXPECT_FALSE(MyLevelFactory::IsLevelAvailable(number));
    EXPECT_EQ(m_factory->CreateLevel(number), nullptr) << number;
  }
  for (uint32_t number : {0u, 3u, 4u}) EXPECT_TRUE(MyLevelFactory::IsLevelAvailable(number));
  m_factory->Reset();
  for (auto* camera : m_factory->cameras) EXPECT_EQ(camera, nullptr);
  for (auto* layer : m_factory->layers) EXPECT_EQ(layer, nullptr);
  for (auto* level : m_factory->levels) EXPECT_EQ(level, nullptr);
  EXPECT_EQ(m_factory->viewport, nullptr);
  // A screen built twice (a reset between) is two distinct levels with the same contents.
  SwitchTo("CreditLevel");
  SmartPointer<Quillon::Level> first(Current());
  SwitchTo("CreditLevel");
  ASSERT_NE(Current(), nullptr);
  EXPECT_NE(Current(), first.Get());
  EXPECT_EQ(Current()->GetName(), "CreditLevel");
  EXPECT_EQ(Current()->GetLayer(1)->GetNameIndexSize(), 5u);
  EXPECT_EQ(m_factory->levels[4], Current());
  // Asking for a level without content leaves the game running on no level.
  SwitchTo("GameLevel");
  EXPECT_EQ(Current(), nullptr);
  EXPECT_EQ(m_game->GetCurrentLevelIndex(), 7u);
  Frame(16.0);
  EXPECT_EQ(Current(), nullptr);
}

}  // namespace
