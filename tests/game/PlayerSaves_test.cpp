// Whole-game saves and replays of the real game are the player's data: they go to the user's data
// folder, never beside the executable or into the working directory, and a data folder sees only
// its own. Driven on a fake clock (skipped without a display).
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "content/Velkor_MyLevelFactory.h"
#include "framework/Quillon_Game.h"
#include "framework/Quillon_GameSaves.h"
#include "game/Velkor_MyGame.h"
#include "platform/PAL_Path.h"
#include "tests/support/RealGame.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

// The files in a folder whose names start with prefix; none when the folder is missing.
std::vector<std::string> FilesStartingWith(const std::string& folder, const std::string& prefix) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    if (name.compare(0, prefix.size(), prefix) == 0) names.push_back(name);
  }
  return names;
}

class PlayerSaves : public ::testing::Test {
 protected:
  void SetUp() override {
    VELKOR_REQUIRE_DISPLAY();
    ASSERT_NO_FATAL_FAILURE(m_session.Open("velkor_player_saves", 1000.0));
    m_directory = m_session.Folder();
    m_work = m_directory + "/work";
    fs::create_directories(m_work);
    ASSERT_EQ(chdir(m_work.c_str()), 0);
    UseDataHome("first");
    m_factory = new MyLevelFactory();
    m_game = TestSupport::StartMyGame(m_session, m_factory, 0);
    Frames(2);
  }
  void TearDown() override { m_session.Close(); }

  // Points the user's data folder at <test folder>/<name>, as a process started with that
  // XDG_DATA_HOME would see it.
  void UseDataHome(const std::string& name) {
    setenv("XDG_DATA_HOME", (m_directory + "/" + name).c_str(), 1);
  }
  std::string SavesOf(const std::string& name) const { return m_directory + "/" + name + "/velkor/Saves"; }

  void Frames(int count) {
    for (int i = 0; i < count; ++i) m_session.Step(16.0);
  }
  Quillon::GameSaves& Saves() { return *m_game->GetSaves(); }
  std::vector<std::string> ReplayNames() {
    std::vector<std::string> names;
    Saves().GetReplayNames(names);
    return names;
  }
  void Record(const std::string& name) {
    Saves().StartReplayRecording(name);
    Frames(5);
    Saves().StopReplayRecording();
    Frames(1);
  }

  TestSupport::GameSession m_session;
  MyLevelFactory* m_factory = nullptr;
  MyGame* m_game = nullptr;
  std::string m_directory;
  std::string m_work;
};

TEST_F(PlayerSaves, AReplayGoesToTheUsersDataFolderAndEachFolderSeesOnlyItsOwn) {
  const std::string besideExecutable = PAL::MapPath(Quillon::Game::GetDirectory() + "\\Saves");
  EXPECT_EQ(m_game->GetSaveDirectory(), SavesOf("first"));

  // The folder does not exist before the first recording: it is made for it.
  ASSERT_FALSE(fs::exists(SavesOf("first")));
  Record("velkor_player_saves_mine");
  EXPECT_TRUE(fs::is_regular_file(SavesOf("first") + "/velkor_player_saves_mine_gameSaved"));
  EXPECT_TRUE(fs::is_regular_file(SavesOf("first") + "/velkor_player_saves_mine_replayData"));
  EXPECT_EQ(FilesStartingWith(SavesOf("first"), "velkor_player_saves_mine").size(), 2u);
  EXPECT_EQ(ReplayNames(), std::vector<std::string>{"velkor_player_saves_mine"});
  // Nothing beside the executable, nothing in the working directory.
  EXPECT_TRUE(FilesStartingWith(besideExecutable, "velkor_player_saves").empty());
  EXPECT_TRUE(FilesStartingWith(m_work, "").empty());

  // Another data folder (another player, or another test running beside this one) sees nothing of
  // it and cannot play it.
  UseDataHome("second");
  EXPECT_TRUE(ReplayNames().empty());
  Saves().StartReplay("velkor_player_saves_mine");
  Frames(1);
  EXPECT_FALSE(Saves().IsReplayPlaying());
  Record("velkor_player_saves_theirs");
  EXPECT_EQ(ReplayNames(), std::vector<std::string>{"velkor_player_saves_theirs"});

  UseDataHome("first");
  EXPECT_EQ(ReplayNames(), std::vector<std::string>{"velkor_player_saves_mine"});
  Saves().StartReplay("velkor_player_saves_mine");
  Frames(1);
  EXPECT_TRUE(Saves().IsReplayPlaying());
  Frames(10);
  EXPECT_FALSE(Saves().IsReplayPlaying());
  EXPECT_TRUE(FilesStartingWith(besideExecutable, "velkor_player_saves").empty());
  EXPECT_TRUE(FilesStartingWith(m_work, "").empty());
}

TEST_F(PlayerSaves, AFolderThatCannotBeMadeRefusesTheSaveAndWritesNothingElsewhere) {
  // A file stands where the saves folder should be.
  fs::create_directories(m_directory + "/blocked/velkor");
  ASSERT_TRUE(TestSupport::WriteWholeFile(m_directory + "/blocked/velkor/Saves", "not a folder"));
  UseDataHome("blocked");
  Saves().StartReplayRecording("velkor_player_saves_blocked");
  Frames(1);
  // Without its starting state the recording could never be played: it does not go on.
  EXPECT_FALSE(Saves().IsReplayRecording());
  EXPECT_EQ(TestSupport::ReadWholeFile(m_directory + "/blocked/velkor/Saves"), "not a folder");
  EXPECT_TRUE(FilesStartingWith(PAL::MapPath(Quillon::Game::GetDirectory() + "\\Saves"), "velkor_player_saves")
                  .empty());
  EXPECT_TRUE(FilesStartingWith(m_work, "").empty());
}

}  // namespace
