// The render queue's fill saving draws fewer fragments, never another picture: each screen of the
// real game is drawn twice in the same frame, at the same state, once as every item was submitted
// and once with fill saving, and the two pictures may differ by rounding only. Both pictures are
// kept in the build folder's "same-picture/" for a person to compare.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <list>
#include <string>

#include "content/Velkor_MyLevelFactory.h"
#include "framework/Quillon_Level.h"
#include "game/Velkor_GameLevelClass.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_PlayerClass.h"
#include "game/Velkor_SpawnManager.h"
#include "renderer/Renderer_IRenderer.h"
#include "scene/Engine_RenderQueue.h"
#include "tests/input/FakeInputBackend.h"
#include "tests/support/RealGame.h"
#include "tests/support/Screenshots.h"
#include "tests/support/TestSupport.h"

namespace {

// Filtering and blending round differently when a colour is darkened before blending rather than
// after; nothing else may differ.
constexpr int kTolerance = 3;

class SamePictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VELKOR_REQUIRE_DISPLAY();
    TestSupport::CoverGameWindow(m_input);
    ASSERT_NO_FATAL_FAILURE(m_session.Open("velkor_same_picture"));
    m_game = TestSupport::StartMyGame(m_session, new MyLevelFactory(), 0);
    ASSERT_NE(m_game, nullptr);
    Frame();
  }
  void TearDown() override {
    Engine::RenderQueue::SetFillSaving(true);
    m_session.Close();
  }

  void Frame() { m_session.Step(16.0); }
  void SwitchTo(const std::string& name) {
    ASSERT_TRUE(m_game->GoToLevel(name));
    for (int i = 0; i < 4 && m_game->IsLevelSwitchRequested(); ++i) Frame();
    ASSERT_FALSE(m_game->IsLevelSwitchRequested());
    for (int i = 0; i < 30; ++i) Frame();
  }
  void Click() {
    m_input.Hold(PAL::VirtualKey::LeftButton, true);
    Frame();
    m_input.Hold(PAL::VirtualKey::LeftButton, false);
  }

  // The screen as it stands drawn again, with fill saving or without.
  TestSupport::Picture Draw(bool fillSaving) {
    Engine::RenderQueue::SetFillSaving(fillSaving);
    m_game->GetCurrentLevel()->RenderPass(0.0f);
    Engine::RenderQueue::SetFillSaving(true);
    return TestSupport::ReadScreen(m_game->GetRenderer());
  }

  // Draws the next frame's state both ways and compares the pictures.
  void ExpectSamePicture(const std::string& name) {
    m_session.Step(16.0, [&] {
      const TestSupport::Picture plain = Draw(false);
      const TestSupport::Picture saving = Draw(true);
      ASSERT_FALSE(plain.Empty());
      ASSERT_EQ(plain.rgb.size(), saving.rgb.size());
      const std::string folder = TestSupport::ArtefactFolder("same-picture");
      TestSupport::SavePicture(plain, folder, name + "-plain");
      TestSupport::SavePicture(saving, folder, name);
      int worst = 0;
      size_t worstAt = 0;
      size_t differing = 0;
      for (size_t i = 0; i < plain.rgb.size(); ++i) {
        const int difference = std::abs(static_cast<int>(plain.rgb[i]) - static_cast<int>(saving.rgb[i]));
        if (difference > 0) ++differing;
        if (difference > worst) {
          worst = difference;
          worstAt = i / 3;
        }
      }
      std::printf("%s: %zu of %zu channels differ, by %d at most\n", name.c_str(), differing, plain.rgb.size(), worst);
      EXPECT_LE(worst, kTolerance) << name << ": pixel (" << worstAt % plain.width << ", " << worstAt / plain.width
                                   << ") from the top left differs by " << worst << "; " << differing
                                   << " channels differ at all";
    });
  }

  TestSupport::GameSession m_session;
  TestInput::FakeInputBackend m_input;
  MyGame* m_game = nullptr;
};

TEST_F(SamePictureTest, EveryScreenLooksTheSameWithFillSaving) {
  SwitchTo("MainOptionLevel");
  ExpectSamePicture("menu");

  SwitchTo("GarLevel");
  ExpectSamePicture("garage");

  SwitchTo("GameLevel");
  // Past the hint pages, the run itself.
  for (int page = 0; page < 6 && m_game->GetCurrentLevelIndex() == 7; ++page) {
    Click();
    for (int i = 0; i < 5; ++i) Frame();
  }
  for (int i = 0; i < 20; ++i) Frame();
  ASSERT_EQ(m_game->GetCurrentLevelIndex(), 7u);
  ExpectSamePicture("game-level");

  // The fifth wave's fight: the mothership and a full set of aliens round the car.
  std::list<Quillon::GameObject*> found;
  Quillon::GameObject::GetGameObjectsByName("Player", found);
  auto* car = found.empty() ? nullptr : dynamic_cast<PlayerClass*>(found.front());
  auto* level = dynamic_cast<GameLevelClass*>(m_game->GetCurrentLevel());
  ASSERT_NE(car, nullptr);
  ASSERT_NE(level, nullptr);
  car->SetSpeedAndDurability(100, 0.0f);
  level->SpawnUfo3();
  SpawnManager spawners[2];
  for (int tag = 0; tag < 2; ++tag) {
    spawners[tag].SetUp(tag);
    for (int i = 0; i < SpawnManager::kMaximumAliens; ++i) {
      spawners[tag].SpawnAlien(Math::Vector2D(car->GetPositionX() - 600.0f + static_cast<float>(i * 130 + tag * 60),
                                              static_cast<float>(150 + (i % 4) * 120)));
    }
  }
  for (int i = 0; i < 40 && m_game->GetCurrentLevelIndex() == 7; ++i) Frame();
  ASSERT_EQ(m_game->GetCurrentLevelIndex(), 7u);
  ExpectSamePicture("wave-five");

  SwitchTo("GameOverLevel");
  ExpectSamePicture("results");
}

}  // namespace
