// The whole game played as a person would, on the real game object, the real level factory and a
// real window (skipped without a display), with a fixed clock, a fixed seed and scripted input:
// from the main menu through the tutorial to a run of the car, its death, the results screen and
// back to the menu. Screenshots of the named moments land in the build folder under
// "scripted_run/" for a person to look at; the test judges them on what they show.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "content/Velkor_MyLevelFactory.h"
#include "core/Core_Random.h"
#include "framework/Quillon_Camera.h"
#include "framework/Quillon_JukeBox.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_Sprite.h"
#include "framework/Quillon_Text.h"
#include "framework/Quillon_Viewport.h"
#include "game/Velkor_DataManager.h"
#include "game/Velkor_GameOverLevel.h"
#include "game/Velkor_MainMenuClass.h"
#include "game/Velkor_GameLevelClass.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_OptionMenu.h"
#include "game/Velkor_PlayerClass.h"
#include "game/Velkor_ScreenSupport.h"
#include "game/Velkor_Tutorial.h"
#include "platform/PAL_Path.h"
#include "platform/PAL_Services.h"
#include "platform/PAL_Window.h"
#include "tests/input/FakeInputBackend.h"
#include "tests/support/RealGame.h"
#include "tests/support/Screenshots.h"
#include "tests/support/TestSupport.h"

namespace {

using Core::SmartPointer;

constexpr int32_t kScreenWidth = 1280;
constexpr int32_t kScreenHeight = 720;
constexpr double kFrameMilliseconds = 16.0;

using TestSupport::Picture;

// Share of the pixels of a screen rectangle (clipped) that differ between two pictures by more
// than a little noise.
double ChangedShare(const Picture& a, const Picture& b, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (a.Empty() || b.Empty() || a.width != b.width || a.height != b.height) return 0.0;
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, a.width);
  bottom = std::min(bottom, a.height);
  if (right <= left || bottom <= top) return 0.0;
  size_t changed = 0;
  for (int32_t y = top; y < bottom; ++y) {
    for (int32_t x = left; x < right; ++x) {
      const uint8_t* p = a.At(x, y);
      const uint8_t* q = b.At(x, y);
      if (std::abs(p[0] - q[0]) + std::abs(p[1] - q[1]) + std::abs(p[2] - q[2]) > 24) ++changed;
    }
  }
  return static_cast<double>(changed) / (static_cast<double>(right - left) * (bottom - top));
}

// Number of distinct colours (quantised) in a screen rectangle: a blank or uniformly cleared
// area has one or two, a drawn picture many.
size_t ColourCount(const Picture& picture, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  std::vector<bool> seen(4096, false);
  size_t count = 0;
  for (int32_t y = std::max(top, 0); y < std::min(bottom, picture.height); ++y) {
    for (int32_t x = std::max(left, 0); x < std::min(right, picture.width); ++x) {
      const uint8_t* p = picture.At(x, y);
      const size_t key = (p[0] >> 4) << 8 | (p[1] >> 4) << 4 | (p[2] >> 4);
      if (!seen[key]) {
        seen[key] = true;
        ++count;
      }
    }
  }
  return count;
}

// What the fake devices hold during one frame: the script's input, kept so that the same run
// can be played again.
struct InputFrame {
  int32_t cursorX = 0;
  int32_t cursorY = 0;
  std::vector<uint8_t> held;
};

class ScriptedRun : public ::testing::Test {
 protected:
  void SetUp() override {
    VELKOR_REQUIRE_DISPLAY();
    // The save file, saves and replays go to the user's data directory (the working directory in
    // older builds): both point into the test's own folder.
    ASSERT_NO_FATAL_FAILURE(m_session.Open("velkor_scripted_run", 1000.0));
    m_shots = TestSupport::ArtefactFolder("scripted_run");
    TestSupport::CoverGameWindow(m_input);
    // A new game process, as far as one test can make one: the fixed clock of the session, a fixed
    // seed for everything that draws random numbers, then the game object.
    Core::SeedRandom(1);
    m_factory = new MyLevelFactory();
    m_game = TestSupport::StartMyGame(m_session, m_factory, 0);
    Frame();
  }
  void TearDown() override { m_session.Close(); }

  // One frame step of the game on the fake clock, the devices holding the script's input; the
  // input is kept for a replay.
  void Frame() { Step(nullptr); }
  // One frame whose picture is kept as it was drawn (before the buffers are swapped) and written
  // to the build folder.
  Picture Shot(const std::string& name) {
    Picture picture;
    Step(&picture);
    TestSupport::SavePicture(picture, m_shots, name);
    return picture;
  }
  void Step(Picture* picture) {
    InputFrame frame;
    frame.cursorX = m_input.cursorX;
    frame.cursorY = m_input.cursorY;
    for (int key = 0; key < 256; ++key) {
      if ((m_input.keys[key] & PAL::kKeyHeldBit) != 0) frame.held.push_back(static_cast<uint8_t>(key));
    }
    m_log.push_back(frame);
    m_session.Step(kFrameMilliseconds, [&] {
      if (picture != nullptr) *picture = TestSupport::ReadScreen(m_game->GetRenderer());
    });
  }
  void Frames(int count) {
    for (int i = 0; i < count; ++i) Frame();
  }
  // Runs frames until the condition holds (true) or the frame budget is spent (false).
  bool RunUntil(const std::function<bool()>& condition, int budget) {
    for (int i = 0; i < budget; ++i) {
      if (condition()) return true;
      Frame();
    }
    return condition();
  }
  bool RunUntilLevel(uint32_t index, int budget) {
    return RunUntil([&] { return m_game->GetCurrentLevel() != nullptr && m_game->GetCurrentLevelIndex() == index &&
                                 !m_game->IsLevelSwitchRequested(); },
                    budget);
  }

  Quillon::Level* Current() const { return m_game->GetCurrentLevel(); }
  Math::Vector2D CameraPosition() {
    std::list<Quillon::GameObject*> found;
    Quillon::GameObject::GetGameObjectsByName("camera0", found);
    for (Quillon::GameObject* object : found) {
      if (auto* camera = dynamic_cast<Quillon::Camera*>(object)) return camera->GetPosition();
    }
    return Math::Vector2D(0.0f, 0.0f);
  }
  // Where a world point of the current level is drawn (one unit per pixel, the camera in the
  // middle), top row 0.
  void ToScreen(const Math::Vector2D& world, int32_t& x, int32_t& y) {
    const Math::Vector2D camera = CameraPosition();
    x = static_cast<int32_t>(std::lround(world.x - camera.x)) + kScreenWidth / 2;
    y = kScreenHeight / 2 - static_cast<int32_t>(std::lround(world.y - camera.y));
  }
  // Moves the mouse so that the pointer's tip is on a world point and gives the collisions a
  // few frames to see it.
  void PointAt(float x, float y, int settle = 3) {
    int32_t screenX = 0, screenY = 0;
    ToScreen(Math::Vector2D(x, y), screenX, screenY);
    m_input.cursorX = std::clamp(screenX, 0, kScreenWidth - 1);
    m_input.cursorY = std::clamp(screenY - 1, 0, kScreenHeight - 1);
    Frames(settle);
  }
  void Hold(uint8_t key, bool held) { m_input.Hold(key, held); }
  // One frame with the button or key gone down, then released.
  void Press(uint8_t key) {
    Hold(key, true);
    Frame();
    Hold(key, false);
    Frame();
  }
  void Click() { Press(PAL::VirtualKey::LeftButton); }

  template <typename T>
  T* Find(const std::string& name) {
    return FindObjectByName<T>(name);
  }
  // The screen rectangle a sprite covers (its first animation's frame, scaled).
  void SpriteRectangle(Quillon::Sprite* sprite, int32_t& left, int32_t& top, int32_t& right, int32_t& bottom) {
    int32_t x = 0, y = 0;
    ToScreen(sprite->GetPosition(), x, y);
    const int32_t halfWidth =
        static_cast<int32_t>(std::fabs(sprite->GetFrameWidth(0) * sprite->GetScaleX()) / 2.0f);
    const int32_t halfHeight =
        static_cast<int32_t>(std::fabs(sprite->GetFrameHeight(0) * sprite->GetScaleY()) / 2.0f);
    left = x - halfWidth;
    right = x + halfWidth;
    top = y - halfHeight;
    bottom = y + halfHeight;
  }

  // In the run the aiming cursor stands where the mouse is, counted from 375 units behind the car
  // and 75 below the mouse's bottom edge: this puts it on a world point.
  void AimAt(float x, float y, int settle = 1) {
    auto* car = Find<PlayerClass>("Player");
    const float carX = car != nullptr ? car->GetPositionX() : 0.0f;
    const int32_t mouseX = static_cast<int32_t>(std::lround(x - carX + 375.0f));
    const int32_t mouseY = static_cast<int32_t>(std::lround(y + 75.0f));
    m_input.cursorX = std::clamp(mouseX, 0, kScreenWidth - 1);
    m_input.cursorY = std::clamp(kScreenHeight - 1 - mouseY, 0, kScreenHeight - 1);
    Frames(settle);
  }
  // A screen-wide picture that stands on the camera must be drawn where the camera is: one left
  // where the camera was a frame ago leaves a strip at the screen's edge uncovered.
  void ExpectCoversTheScreen(const std::string& name) {
    auto* sprite = Find<Quillon::Sprite>(name);
    ASSERT_NE(sprite, nullptr) << name;
    EXPECT_TRUE(sprite->IsVisible()) << name;
    const float halfWidth = std::fabs(static_cast<float>(sprite->GetFrameWidth(0)) * sprite->GetScaleX()) / 2.0f;
    const float trail = std::fabs(sprite->GetPositionX() - CameraPosition().x);
    EXPECT_GE(halfWidth - trail, kScreenWidth / 2.0f) << name << " is " << trail << " units off the camera";
  }
  uint32_t Page() {
    auto* words = Find<Quillon::Sprite>("words");
    return words != nullptr ? words->GetCurrentFrameIndex() : 0u;
  }
  bool WaitForPage(uint32_t page, int budget) { return RunUntil([&] { return Page() == page; }, budget); }
  std::string Distance() {
    auto* text = Find<Quillon::Text>("DistanceTxt");
    return text != nullptr ? text->GetText() : std::string();
  }

  TestSupport::GameSession m_session;
  std::string m_shots;
  TestInput::FakeInputBackend m_input;
  MyLevelFactory* m_factory = nullptr;
  MyGame* m_game = nullptr;
  std::vector<InputFrame> m_log;
};

// Share of a rectangle's pixels whose colour passes the test.
template <typename Test>
double Share(const Picture& picture, int32_t left, int32_t top, int32_t right, int32_t bottom, Test test) {
  size_t passing = 0, all = 0;
  for (int32_t y = std::max(top, 0); y < std::min(bottom, picture.height); ++y) {
    for (int32_t x = std::max(left, 0); x < std::min(right, picture.width); ++x) {
      ++all;
      passing += test(picture.At(x, y)) ? 1 : 0;
    }
  }
  return all == 0 ? 0.0 : static_cast<double>(passing) / static_cast<double>(all);
}
// Strongly red: the durability bar.
double RedShare(const Picture& picture, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return Share(picture, left, top, right, bottom, [](const uint8_t* p) { return p[0] > 150 && p[1] < 100 && p[2] < 100; });
}
// Near white: words drawn in white.
double WhiteShare(const Picture& picture, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return Share(picture, left, top, right, bottom, [](const uint8_t* p) { return p[0] > 200 && p[1] > 200 && p[2] > 200; });
}

TEST_F(ScriptedRun, FromTheMenuThroughTheTutorialARunItsCrashAndTheResultsBackToTheMenu) {
  ASSERT_TRUE(m_game->GoToLevel("MainOptionLevel"));
  ASSERT_TRUE(RunUntilLevel(2, 10));
  ASSERT_NE(dynamic_cast<MainMenuClass*>(Current()), nullptr);
  PointAt(-500.0f, 300.0f);
  // Everything from here to the menu's return is recorded by the framework for the replay below.
  const double recordingStart = m_session.Now();
  m_game->GetSaves()->StartReplayRecording("velkor_scripted_run");
  const Picture menu = Shot("01_menu");
  // The backdrop, buttons and captions make a picture of many colours; the road scrolls.
  EXPECT_GT(ColourCount(menu, 0, 0, kScreenWidth, kScreenHeight), 40u);
  Frames(10);
  const Picture later = Shot("02_menu_later");
  EXPECT_GT(ChangedShare(menu, later, 0, 0, kScreenWidth, kScreenHeight), 0.002);

  // ---- Play: the first of the process opens the tutorial.
  PointAt(0.0f, 150.0f);
  auto* play = Find<Quillon::Text>("PlayTxt");
  ASSERT_NE(play, nullptr);
  EXPECT_FLOAT_EQ(play->GetModulationColor().b, 0.0f);
  Click();
  EXPECT_EQ(m_game->tutorialPlayed, 1);
  ASSERT_TRUE(RunUntilLevel(5, 10));
  auto* tutorial = dynamic_cast<Tutorial*>(Current());
  ASSERT_NE(tutorial, nullptr);
  PointAt(-300.0f, 0.0f);
  Shot("03_tutorial_start");

  // ---- The tutorial, page by page.
  ASSERT_TRUE(WaitForPage(1, 600)) << "page " << Page();
  // The scroll stops on the first step at or past its mark.
  EXPECT_LE(Find<Quillon::Sprite>("platform1")->GetPositionX(), Tutorial::kFirstStationPlatform1X);
  EXPECT_GT(Find<Quillon::Sprite>("platform1")->GetPositionX(), Tutorial::kFirstStationPlatform1X - 5.0f);
  std::vector<Picture> pages;
  pages.push_back(Shot("04_tutorial_page1_hover"));
  Press(PAL::VirtualKey::Space);
  EXPECT_EQ(tutorial->GetProgress().jumped, 1);
  ASSERT_TRUE(WaitForPage(2, 600)) << "page " << Page();
  EXPECT_EQ(tutorial->GetProgress().hitByAlienBullet, 1);
  pages.push_back(Shot("05_tutorial_page2_shoot"));
  // As the page asks: aim at the alien on the road and click; then the mouse stays there for the
  // rest of the lesson, as a player's may, and the civilian rolls through the unseen pointer.
  auto* alien = Find<Quillon::Sprite>("alien");
  ASSERT_NE(alien, nullptr);
  PointAt(alien->GetPositionX(), alien->GetPositionY());
  EXPECT_GT(m_input.cursorX, kScreenWidth / 2);
  Click();
  ASSERT_TRUE(WaitForPage(3, 300)) << "page " << Page();
  EXPECT_EQ(tutorial->GetProgress().alienHit, 1);
  pages.push_back(Shot("06_tutorial_page3_power_up"));
  ASSERT_TRUE(WaitForPage(4, 600)) << "page " << Page();
  pages.push_back(Shot("07_tutorial_page4_use_it"));
  Press(0x44);  // D
  ASSERT_TRUE(WaitForPage(5, 60)) << "page " << Page();
  pages.push_back(Shot("08_tutorial_page5_health"));
  ASSERT_TRUE(WaitForPage(6, 900)) << "page " << Page();
  pages.push_back(Shot("09_tutorial_page6_civilian"));
  ASSERT_TRUE(WaitForPage(7, 900)) << "page " << Page() << " civilian at " << Find<Quillon::Sprite>("save")->GetPositionX()
                                   << "," << Find<Quillon::Sprite>("save")->GetPositionY() << " car at "
                                   << Find<Quillon::Sprite>("player")->GetPositionX() << ","
                                   << Find<Quillon::Sprite>("player")->GetPositionY();
  const Tutorial::Progress& progress = tutorial->GetProgress();
  EXPECT_EQ(progress.clicked + progress.powerUpCollected + progress.shieldUsed + progress.healthCollected +
                progress.saveReached,
            5);
  auto* button = Find<Quillon::Sprite>("tBtn");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->GetCurrentFrameIndex(), 1u);
  EXPECT_TRUE(Find<Quillon::Sprite>("complete")->IsVisible());
  PointAt(478.0f, 297.0f);
  pages.push_back(Shot("10_tutorial_done"));
  // Each page's words are drawn: the panel's picture changes from one page to the next.
  auto* words = Find<Quillon::Sprite>("words");
  ASSERT_NE(words, nullptr);
  int32_t panelLeft = 0, panelTop = 0, panelRight = 0, panelBottom = 0;
  SpriteRectangle(words, panelLeft, panelTop, panelRight, panelBottom);
  for (size_t page = 1; page < pages.size(); ++page) {
    EXPECT_GT(ChangedShare(pages[page - 1], pages[page], panelLeft, panelTop, panelRight, panelBottom), 0.01)
        << "page " << page;
  }
  Click();
  ASSERT_TRUE(RunUntilLevel(7, 10));

  // ---- The game level: three hint pages, each turned by a click.
  auto* level = dynamic_cast<GameLevelClass*>(Current());
  ASSERT_NE(level, nullptr);
  ASSERT_TRUE(RunUntil([&] { return level->IsStarted(); }, 60));
  auto* car = Find<PlayerClass>("Player");
  ASSERT_NE(car, nullptr);
  AimAt(car->GetPositionX() + 300.0f, car->GetPositionY());
  const char* const hints[] = {"tuh1Sprite", "tuh2Sprite", "tuh3Sprite"};
  Picture hintPages[3];
  for (int page = 0; page < 3; ++page) {
    EXPECT_EQ(m_game->paused, 1);
    for (int other = 0; other < 3; ++other) {
      EXPECT_EQ(Find<Quillon::Sprite>(hints[other])->IsVisible(), other == page) << page << " " << other;
    }
    hintPages[page] = Shot("1" + std::to_string(page + 1) + "_hint_page" + std::to_string(page + 1));
    Click();
  }
  // The three pages stand on the same part of the screen (only their words differ), and the
  // "Left Click - Next" caption in the lower right corner, which lies under them, stays readable.
  for (int page = 1; page < 3; ++page) {
    EXPECT_LT(ChangedShare(hintPages[0], hintPages[page], 0, 380, kScreenWidth, kScreenHeight), 0.02) << page;
  }
  for (int page = 0; page < 3; ++page) {
    EXPECT_GT(WhiteShare(hintPages[page], 950, 570, 1240, 665), 0.03) << page;
  }
  EXPECT_EQ(m_game->paused, 0);
  EXPECT_EQ(m_game->showTutorialPages, 0);
  for (const char* hint : hints) EXPECT_FALSE(Find<Quillon::Sprite>(hint)->IsVisible());

  // ---- Ten seconds of driving: hovering in bursts, shooting ahead all the way.
  const std::string startDistance = Distance();
  const float startX = car->GetPositionX();
  const Picture runStart = Shot("14_run_start");
  Hold(PAL::VirtualKey::LeftButton, true);
  Picture runMiddle;
  const float startY = car->GetPositionY();
  float highest = startY;
  size_t mostShots = 0;
  for (int frame = 0; frame < 600 && !car->IsDead(); ++frame) {
    Hold(PAL::VirtualKey::Space, frame % 40 < 25);
    AimAt(car->GetPositionX() + 400.0f, car->GetPositionY() + 50.0f, 0);
    if (frame == 300) {
      runMiddle = Shot("15_run_5s");
      // The dimmer over the backdrop and the first wave's warning, then on show.
      ExpectCoversTheScreen("DimmerSprite");
      ExpectCoversTheScreen("WarningSign");
    } else {
      Frame();
    }
    highest = std::max(highest, car->GetPositionY());
    std::list<Quillon::GameObject*> shots;
    Quillon::GameObject::GetGameObjectsByName("charBulletClone", shots);
    mostShots = std::max(mostShots, shots.size());
  }
  // The car rose while Space was held, and its shots flew.
  EXPECT_GT(highest, startY + 50.0f);
  EXPECT_GT(mostShots, 0u);
  ASSERT_FALSE(car->IsDead()) << "the car died while hovering";
  Hold(PAL::VirtualKey::LeftButton, false);
  const Picture runEnd = Shot("16_run_10s");
  EXPECT_GT(car->GetPositionX() - startX, 1000.0f);
  EXPECT_NE(Distance(), startDistance);
  // The world slides under the car: the two pictures differ widely.
  EXPECT_GT(ChangedShare(runMiddle, runEnd, 0, 0, kScreenWidth, kScreenHeight), 0.2);
  EXPECT_GT(ChangedShare(runStart, runEnd, 0, 0, kScreenWidth, kScreenHeight), 0.2);
  // The durability bar is drawn full and red; the hover bar is drawn.
  auto* durabilityBar = Find<Quillon::Sprite>("HP_Bar");
  auto* hoverBar = Find<Quillon::Sprite>("HoveEnerBar");
  ASSERT_TRUE(durabilityBar != nullptr && hoverBar != nullptr);
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  SpriteRectangle(durabilityBar, left, top, right, bottom);
  EXPECT_GT(RedShare(runEnd, left, top, right, bottom), 0.3) << left << "," << top << " " << right << "," << bottom;
  SpriteRectangle(hoverBar, left, top, right, bottom);
  EXPECT_GT(ColourCount(runEnd, left, top, right, bottom), 3u);
  // The distance counter's digits changed on screen.
  auto* distanceText = Find<Quillon::Text>("DistanceTxt");
  ASSERT_NE(distanceText, nullptr);
  int32_t textX = 0, textY = 0;
  ToScreen(distanceText->GetPosition(), textX, textY);
  EXPECT_GT(ChangedShare(runStart, runEnd, textX - 20, textY - 60, textX + 200, textY + 60), 0.0);

  // ---- Pause with P: the options overlay comes up over the run, its Play button resumes.
  Press(0x50);  // P
  EXPECT_EQ(m_game->paused, 1);
  auto* overlay = Find<OptionMenu>("OptionMenuSprite");
  ASSERT_NE(overlay, nullptr);
  EXPECT_TRUE(overlay->IsShown());
  Frame();
  const Math::Vector2D camera = CameraPosition();
  EXPECT_EQ(overlay->GetPosition(), camera);
  const float pausedX = car->GetPositionX();
  auto* resume = Find<Quillon::Sprite>("Op_PlayBtn");
  ASSERT_NE(resume, nullptr);
  AimAt(resume->GetPositionX(), resume->GetPositionY(), 4);
  Shot("17_paused");
  EXPECT_FLOAT_EQ(Find<Quillon::Text>("opBtnTxt1")->GetModulationColor().g, 0.0f);
  EXPECT_EQ(car->GetPositionX(), pausedX);
  // A click within the time of a double click of the opening is spent on it.
  Frames(30);
  Click();
  EXPECT_EQ(m_game->paused, 0);
  EXPECT_FALSE(overlay->IsShown());
  EXPECT_FALSE(overlay->IsVisible());
  Frames(5);
  EXPECT_GT(car->GetPositionX(), pausedX);

  // ---- The crash: no more hovering, the car drops through the platforms onto the ground.
  car->AddGears(7);
  Hold(PAL::VirtualKey::RightButton, true);
  ASSERT_TRUE(RunUntil([&] { return car->IsDead(); }, 3000)) << "y " << car->GetPositionY();
  Hold(PAL::VirtualKey::RightButton, false);
  const int32_t distance = static_cast<int32_t>(car->GetPositionX() / 100.0f);
  // The test's seven and whatever the car rescued on its way.
  const int32_t gears = car->GetGears();
  EXPECT_GE(gears, 7);
  Frames(3);
  Shot("18_crash");
  ASSERT_TRUE(RunUntilLevel(8, 200));

  // ---- The results: the run recorded once, shown beside the best.
  ASSERT_NE(dynamic_cast<GameOverLevel*>(Current()), nullptr);
  const PlayerData& record = m_game->GetDataManager().player;
  EXPECT_EQ(record.lastDistance, distance);
  EXPECT_EQ(record.bestDistance, distance);
  EXPECT_EQ(record.lastGears, gears);
  EXPECT_EQ(record.totalGears, gears);
  auto* results = Find<Quillon::Text>("ResTxt");
  ASSERT_NE(results, nullptr);
  EXPECT_EQ(results->GetText(), GameOverLevel::FormatResults(record));
  EXPECT_EQ(results->GetText().rfind(std::to_string(distance) + " **NEW HIGHSCORE**\n" + std::to_string(distance), 0),
            0u)
      << results->GetText();
  PointAt(-500.0f, 250.0f);
  Shot("19_results");
  // The save file holds the run: a fresh read finds it.
  {
    DataManager reread;
    reread.SetDefaults();
    EXPECT_TRUE(reread.Load()) << reread.GetLastError();
    EXPECT_EQ(reread.player.bestDistance, distance);
    EXPECT_EQ(reread.player.totalGears, gears);
  }

  // ---- Back to the menu.
  PointAt(230.0f, -319.0f);
  Click();
  ASSERT_TRUE(RunUntilLevel(2, 10));
  PointAt(-500.0f, 300.0f);
  Shot("20_menu_again");
  m_game->GetSaves()->StopReplayRecording();
  Frames(2);

  // ---- The recorded input played again from the menu drives the same run to the same distance.
  // The game's own flags belong to the process, not to the saved game: put them back as they
  // were, with the clock and the seed.
  m_game->tutorialPlayed = 0;
  m_game->showTutorialPages = 1;
  m_game->paused = 0;
  Core::SeedRandom(1);
  m_session.SetNow(recordingStart - kFrameMilliseconds);
  m_game->GetSaves()->StartReplay("velkor_scripted_run");
  bool sawResults = false;
  int32_t replayedDistance = -1;
  int32_t replayedGears = -1;
  for (int frame = 0; frame < 20000; ++frame) {
    Frame();
    if (m_game->GetCurrentLevelIndex() == 8 && !sawResults) {
      sawResults = true;
      replayedDistance = m_game->GetDataManager().player.lastDistance;
      replayedGears = m_game->GetDataManager().player.lastGears;
    }
    if (frame > 2 && !m_game->GetSaves()->IsReplayPlaying()) break;
  }
  EXPECT_FALSE(m_game->GetSaves()->IsReplayPlaying());
  EXPECT_TRUE(sawResults);
  EXPECT_EQ(replayedDistance, distance);
  // The replayed run is a run of its own: recorded once more, without the test's seven gears.
  EXPECT_EQ(replayedGears, gears - 7);
  EXPECT_EQ(m_game->GetDataManager().player.totalGears, gears + replayedGears);
}

TEST_F(ScriptedRun, TheTutorialCanBeLeftDuringItsOpeningScrollAndStartsAfreshOnReturn) {
  ASSERT_TRUE(m_game->GoToLevel("Tutorial"));
  ASSERT_TRUE(RunUntilLevel(5, 10));
  auto* tutorial = dynamic_cast<Tutorial*>(Current());
  ASSERT_NE(tutorial, nullptr);
  auto* platform = Find<Quillon::Sprite>("platform1");
  ASSERT_NE(platform, nullptr);
  const float startX = platform->GetPositionX();
  // Space during the scroll asks nothing of the car yet.
  Hold(PAL::VirtualKey::Space, true);
  Frames(30);
  Hold(PAL::VirtualKey::Space, false);
  EXPECT_EQ(tutorial->GetProgress().jumped, 0);
  EXPECT_EQ(Page(), 0u);
  EXPECT_LT(platform->GetPositionX(), startX - 100.0f);
  for (const char* hidden : {"shield", "alienbullet", "charbullet", "pup", "healthtxt", "complete"}) {
    EXPECT_FALSE(Find<Quillon::Sprite>(hidden)->IsVisible()) << hidden;
  }
  // The button leaves at once, the loading picture up.
  PointAt(478.0f, 297.0f);
  EXPECT_FALSE(m_game->IsLevelSwitchRequested());
  Hold(PAL::VirtualKey::LeftButton, true);
  Frame();
  Hold(PAL::VirtualKey::LeftButton, false);
  EXPECT_TRUE(Find<Quillon::Sprite>("LoadingScreen")->IsVisible());
  EXPECT_TRUE(m_game->IsLevelSwitchRequested());
  EXPECT_EQ(m_game->GetRequestedLevelIndex(), 7u);
  ASSERT_TRUE(RunUntilLevel(7, 10));
  // Back in the tutorial everything starts again.
  ASSERT_TRUE(m_game->GoToLevel("Tutorial"));
  ASSERT_TRUE(RunUntilLevel(5, 10));
  tutorial = dynamic_cast<Tutorial*>(Current());
  ASSERT_NE(tutorial, nullptr);
  EXPECT_EQ(tutorial->GetProgress().jumped, 0);
  EXPECT_EQ(Page(), 0u);
  EXPECT_FALSE(Find<Quillon::Sprite>("LoadingScreen")->IsVisible());
  EXPECT_GT(Find<Quillon::Sprite>("platform1")->GetPositionX(), startX - 30.0f);
  // Without its button and captions the lesson still runs; without a platform it waits.
  for (const char* name : {"tBtn", "healthtxt", "complete"}) Find<Quillon::Sprite>(name)->Destroy();
  Frames(20);
  EXPECT_EQ(Find<Quillon::Sprite>("tBtn"), nullptr);
  const float before = Find<Quillon::Sprite>("platform1")->GetPositionX();
  Frames(10);
  EXPECT_FLOAT_EQ(Find<Quillon::Sprite>("platform1")->GetPositionX(), before - 10 * Tutorial::kScrollStep);
  Find<Quillon::Sprite>("platform3")->Destroy();
  Frames(2);
  const float stopped = Find<Quillon::Sprite>("platform1")->GetPositionX();
  Frames(10);
  EXPECT_FLOAT_EQ(Find<Quillon::Sprite>("platform1")->GetPositionX(), stopped);
}

TEST_F(ScriptedRun, TheRunsOptionsOverlaySwitchesSoundMusicAndFullScreenAndLeadsBackOrAway) {
  // Straight into a run without the hint pages.
  m_game->showTutorialPages = 0;
  ASSERT_TRUE(m_game->GoToLevel("GameLevel"));
  ASSERT_TRUE(RunUntilLevel(7, 10));
  auto* level = dynamic_cast<GameLevelClass*>(Current());
  ASSERT_NE(level, nullptr);
  ASSERT_TRUE(RunUntil([&] { return level->IsStarted(); }, 60));
  Frames(5);
  auto* overlay = Find<OptionMenu>("OptionMenuSprite");
  auto* fullScreen = Find<Quillon::Sprite>("Op_fsCheckBox");
  auto* sound = Find<Quillon::Sprite>("Op_SoundChkBox");
  auto* music = Find<Quillon::Sprite>("Op_BgmChkBox");
  ASSERT_TRUE(overlay != nullptr && fullScreen != nullptr && sound != nullptr && music != nullptr);
  EXPECT_FALSE(overlay->IsShown());
  EXPECT_FALSE(overlay->IsVisible());
  EXPECT_FALSE(sound->IsVisible());
  Quillon::JukeBox* jukeBox = level->GetMusic();
  ASSERT_NE(jukeBox, nullptr);
  const bool musicAudible = jukeBox->IsPlaying();

  Press(0x50);  // P
  EXPECT_EQ(m_game->paused, 1);
  EXPECT_TRUE(overlay->IsShown());
  EXPECT_EQ(overlay->GetFollowCamera(), 1);
  Frame();
  EXPECT_EQ(overlay->GetPosition(), CameraPosition());
  for (Quillon::Sprite* box : {fullScreen, sound, music}) EXPECT_TRUE(box->IsVisible());
  // The boxes show the state as it is.
  EXPECT_EQ(fullScreen->GetCurrentFrameIndex(), m_game->IsFullScreen() ? 1u : 0u);
  EXPECT_EQ(sound->GetCurrentFrameIndex(), 0u);
  EXPECT_EQ(music->GetCurrentFrameIndex(), 0u);
  if (musicAudible) {
    EXPECT_FALSE(jukeBox->IsPlaying());
  }
  // The clicks that follow are deliberate ones, a second after the overlay opened.
  Frames(60);

  // A click beside every box and button changes nothing.
  AimAt(CameraPosition().x - 500.0f, CameraPosition().y + 250.0f, 3);
  Click();
  EXPECT_EQ(m_game->soundOn, 1);
  EXPECT_EQ(m_game->musicOn, 1);
  EXPECT_TRUE(overlay->IsShown());
  // The sound box twice: off, then on again.
  AimAt(sound->GetPositionX(), sound->GetPositionY(), 3);
  Click();
  EXPECT_EQ(m_game->soundOn, 0);
  EXPECT_EQ(sound->GetCurrentFrameIndex(), 1u);
  Click();
  EXPECT_EQ(m_game->soundOn, 1);
  EXPECT_EQ(sound->GetCurrentFrameIndex(), 0u);
  // Full screen and back: the box follows the display.
  const bool wasFullScreen = m_game->IsFullScreen();
  AimAt(fullScreen->GetPositionX(), fullScreen->GetPositionY(), 3);
  Click();
  EXPECT_NE(m_game->IsFullScreen(), wasFullScreen);
  EXPECT_EQ(fullScreen->GetCurrentFrameIndex(), m_game->IsFullScreen() ? 1u : 0u);
  Click();
  EXPECT_EQ(m_game->IsFullScreen(), wasFullScreen);
  EXPECT_EQ(fullScreen->GetCurrentFrameIndex(), wasFullScreen ? 1u : 0u);
  // Music off, then Play: the run goes on and the music stays paused.
  AimAt(music->GetPositionX(), music->GetPositionY(), 3);
  Click();
  EXPECT_EQ(m_game->musicOn, 0);
  EXPECT_EQ(music->GetCurrentFrameIndex(), 1u);
  auto* resume = Find<Quillon::Sprite>("Op_PlayBtn");
  auto* leave = Find<Quillon::Sprite>("Op_MmBtn");
  ASSERT_TRUE(resume != nullptr && leave != nullptr);
  AimAt(resume->GetPositionX(), resume->GetPositionY(), 3);
  EXPECT_FLOAT_EQ(Find<Quillon::Text>("opBtnTxt1")->GetModulationColor().g, 0.0f);
  Click();
  EXPECT_EQ(m_game->paused, 0);
  EXPECT_FALSE(overlay->IsShown());
  EXPECT_FALSE(resume->IsVisible());
  Frames(10);
  EXPECT_FALSE(jukeBox->IsPlaying());
  // Away from the buttons both captions are plain again.
  Press(0x50);
  Frame();
  AimAt(CameraPosition().x - 500.0f, CameraPosition().y + 250.0f, 3);
  EXPECT_FLOAT_EQ(Find<Quillon::Text>("opBtnTxt1")->GetModulationColor().g, 1.0f);
  EXPECT_FLOAT_EQ(Find<Quillon::Text>("opBtnTxt2")->GetModulationColor().g, 1.0f);
  EXPECT_EQ(music->GetCurrentFrameIndex(), 1u);
  // Main Menu leaves the run.
  AimAt(leave->GetPositionX(), leave->GetPositionY(), 3);
  EXPECT_FLOAT_EQ(Find<Quillon::Text>("opBtnTxt2")->GetModulationColor().g, 0.0f);
  Shot("options_overlay_main_menu");
  EXPECT_FALSE(m_game->IsLevelSwitchRequested());
  // Past the time of a double click of the opening.
  Frames(30);
  Hold(PAL::VirtualKey::LeftButton, true);
  Frame();
  Hold(PAL::VirtualKey::LeftButton, false);
  EXPECT_TRUE(m_game->IsLevelSwitchRequested());
  EXPECT_EQ(m_game->GetRequestedLevelIndex(), 2u);
  ASSERT_TRUE(RunUntilLevel(2, 10));
}

TEST_F(ScriptedRun, AShotFiredAsTheRunPausesChangesNoSettingOfTheOptionsOverlay) {
  m_game->showTutorialPages = 0;
  ASSERT_TRUE(m_game->GoToLevel("GameLevel"));
  ASSERT_TRUE(RunUntilLevel(7, 10));
  auto* level = dynamic_cast<GameLevelClass*>(Current());
  ASSERT_TRUE(level != nullptr && RunUntil([&] { return level->IsStarted(); }, 60));
  auto* overlay = Find<OptionMenu>("OptionMenuSprite");
  auto* sound = Find<Quillon::Sprite>("Op_SoundChkBox");
  ASSERT_TRUE(overlay != nullptr && sound != nullptr);
  // Paused and resumed once, the overlay opens on the camera with its sound box under the pointer
  // of a click that goes down with the next P: in the same frame or, as a person's "together" is,
  // a frame or two later, on a still pointer or on one that arrives with it (answered a frame on).
  Press(0x50);
  Press(0x50);
  const Math::Vector2D offset = sound->GetPosition() - overlay->GetPosition();
  for (int late = 0; late <= 2; ++late) {
    for (const bool moving : {false, true}) {
      const Math::Vector2D box = CameraPosition() + offset;
      const auto soundOn = m_game->soundOn;
      const uint32_t shown = sound->GetCurrentFrameIndex();
      AimAt(box.x - (moving ? 40.0f : 0.0f), box.y);
      Hold(0x50, true);
      for (int i = 0; i < late; ++i) {
        Frame();
        Hold(0x50, false);
      }
      if (moving) AimAt(box.x, box.y, 0);
      Hold(PAL::VirtualKey::LeftButton, true);
      Frame();
      Hold(0x50, false);
      Hold(PAL::VirtualKey::LeftButton, false);
      Frames(2);
      EXPECT_TRUE(overlay->IsShown()) << late << (moving ? " moving" : " still");
      EXPECT_EQ(m_game->soundOn, soundOn) << late << (moving ? " moving" : " still");
      EXPECT_EQ(sound->GetCurrentFrameIndex(), shown) << late << (moving ? " moving" : " still");
      Press(0x50);
    }
  }
  // The frame that sees P may stall for a second (the key having come as it began): the overlay
  // opens in it, and a click a frame or a few frames on is as much "together" with it.
  for (const int later : {0, 8}) {
    const Math::Vector2D box = CameraPosition() + offset;
    AimAt(box.x, box.y);
    Hold(0x50, true);
    m_session.Step(1000.0);
    Hold(0x50, false);
    Frames(later);
    Click();
    EXPECT_TRUE(overlay->IsShown()) << later;
    EXPECT_EQ(m_game->soundOn, 1) << later;
    Press(0x50);
  }
}

TEST_F(ScriptedRun, TheResultsShowTheRecordAndEachButtonAnswersAClickOnAStillPointer) {
  // Two runs of the same distance: the second equals the best and is marked.
  DataManager& data = m_game->GetDataManager();
  data.RecordRun(6, 250, 0);
  data.RecordRun(2, 250, 0);
  ASSERT_TRUE(m_game->GoToLevel("GameOverLevel"));
  ASSERT_TRUE(RunUntilLevel(8, 10));
  ASSERT_NE(dynamic_cast<GameOverLevel*>(Current()), nullptr);
  auto* results = Find<Quillon::Text>("ResTxt");
  ASSERT_NE(results, nullptr);
  EXPECT_EQ(results->GetText(), "250 **NEW HIGHSCORE**\n250\n\n8\n2\n\n0\n0\n\n");
  PointAt(-500.0f, 250.0f, 5);
  const Picture idle = Shot("results_idle");
  EXPECT_GT(ColourCount(idle, 0, 0, kScreenWidth, kScreenHeight), 20u);
  // The screen only shows the record: the save file still holds the two runs, no third.
  DataManager reread;
  reread.SetDefaults();
  reread.Load();
  EXPECT_EQ(reread.player.totalGears, 8);
  EXPECT_EQ(reread.player.bestDistance, 250);

  struct Button {
    const char* plate;
    const char* caption;
    float x, y;
    uint32_t level;
  };
  const Button buttons[] = {{"mmBtn", "mmTxt", 230.0f, -319.0f, 2},
                            {"pgBtn", "pgTxt", 7.0f, -319.0f, 7},
                            {"garBtn", "garTxt", -223.0f, -318.0f, 6}};
  for (const Button& button : buttons) {
    // The pointer rests on the plate for a second before the click: a still pointer is still seen.
    PointAt(-500.0f, 250.0f);
    PointAt(button.x, button.y, 60);
    auto* caption = Find<Quillon::Text>(button.caption);
    ASSERT_NE(caption, nullptr);
    EXPECT_FLOAT_EQ(caption->GetModulationColor().g, 0.0f) << button.plate;
    EXPECT_FLOAT_EQ(caption->GetModulationColor().b, 0.0f) << button.plate;
    for (const Button& other : buttons) {
      if (&other != &button) {
        EXPECT_FLOAT_EQ(Find<Quillon::Text>(other.caption)->GetModulationColor().g, 1.0f);
      }
    }
    EXPECT_FALSE(m_game->IsLevelSwitchRequested());
    Hold(PAL::VirtualKey::LeftButton, true);
    Frame();
    Hold(PAL::VirtualKey::LeftButton, false);
    EXPECT_TRUE(m_game->IsLevelSwitchRequested()) << button.plate;
    EXPECT_EQ(m_game->GetRequestedLevelIndex(), button.level) << button.plate;
    m_game->SetLevelIndices(8, 0, 0, false);
  }
  // Away from the plates every caption is plain again and a click does nothing.
  PointAt(-500.0f, 250.0f);
  for (const Button& button : buttons) EXPECT_FLOAT_EQ(Find<Quillon::Text>(button.caption)->GetModulationColor().g, 1.0f);
  Click();
  EXPECT_EQ(m_game->GetCurrentLevelIndex(), 8u);
  EXPECT_FALSE(m_game->IsLevelSwitchRequested());
}

}  // namespace
