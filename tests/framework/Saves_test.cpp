// Whole-game saves and replays. Replay files are read from memory (short, corrupt and empty
// files); the game tests run a small game on a real window (skipped without a display) on a fake
// clock and a fake input backend: a save loads back into the same simulation bit for bit, a short or
// corrupt save leaves the running game as it was, an interrupted save leaves the old file, and a
// replay plays back the recorded input byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <list>
#include <string>
#include <vector>

#include "collision/Collision_Actor.h"
#include "collision/Collision_DynamicObject.h"
#include "core/Core_File.h"
#include "framework/Quillon_CollisionBridge.h"
#include "framework/Quillon_Game.h"
#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_Replay.h"
#include "framework/Quillon_Saves.h"
#include "input/Internal_Keyboard.h"
#include "input/Internal_Mouse.h"
#include "physics/Physics_Engine.h"
#include "physics/Physics_MassProperties.h"
#include "platform/PAL_Input.h"
#include "tests/input/FakeInputBackend.h"
#include "platform/PAL_Path.h"
#include "platform/PAL_Services.h"
#include "tests/framework/BoxLevelFactory.h"
#include "tests/support/GameSession.h"
#include "tests/support/TestSupport.h"

namespace {

using Core::SmartPointer;
using Math::Vector2D;

std::vector<unsigned char> Bytes(Core::MemoryFile& file) {
  const auto& buffer = file.GetBuffer();
  return std::vector<unsigned char>(buffer.GetData(), buffer.GetData() + buffer.GetSize());
}

Quillon::ReplayFrame MakeFrame(bool keys, bool mouse, int32_t x, int32_t y, float dt) {
  Quillon::ReplayFrame frame;
  frame.mouseHeader.previousX = 7;
  frame.mouseHeader.moved = 1;
  frame.mouseHeader.currentX = x;
  frame.mouseHeader.currentY = y;
  frame.dt = dt;
  if (keys) {
    frame.keyboardChanged = 1;
    frame.keyboardChanges = std::make_unique<Quillon::InputChanges>();
    frame.keyboardChanges->codes = {0x41, 0x20};
    Input::KeyRecord held;
    held.held = 1;
    held.wasHeld = 1;
    Input::KeyRecord down;
    down.held = down.wentDown = down.down = down.wasHeld = 1;
    frame.keyboardChanges->records = {held, down};
  }
  if (mouse) {
    frame.mouseChanged = 1;
    frame.mouseChanges = std::make_unique<Quillon::InputChanges>();
    frame.mouseChanges->codes = {0};
    Input::KeyRecord up;
    up.wentUp = 1;
    frame.mouseChanges->records = {up};
  }
  return frame;
}

TEST(ReplayFile, LeavesOutTheLastFrameAndReadsBackWhatItWrote) {
  std::vector<Quillon::ReplayFrame> frames;
  frames.push_back(MakeFrame(true, true, 10, 20, 0.016f));
  frames.push_back(MakeFrame(false, false, -5, 300, 0.017f));
  frames.push_back(MakeFrame(true, false, 1, 2, 0.018f));
  Core::MemoryFile file;
  Quillon::WriteReplayFile(file, frames);
  const std::vector<unsigned char> bytes = Bytes(file);
  uint32_t count = 0;
  std::memcpy(&count, bytes.data(), 4);
  EXPECT_EQ(count, 2u);
  // Frame 2 changed nothing: two zero bytes, the position and dt, and the file ends there.
  const size_t frame1 = 4 + 1 + 4 + 2 + 4 + 10 + 1 + 4 + 1 + 4 + 5 + 4 + 4 + 4;
  ASSERT_EQ(bytes.size(), frame1 + 2 + 12);
  EXPECT_EQ(bytes[frame1], 0);
  EXPECT_EQ(bytes[frame1 + 1], 0);
  int32_t x = 0;
  std::memcpy(&x, &bytes[frame1 + 2], 4);
  EXPECT_EQ(x, -5);

  Core::MemoryFile reader(bytes.data(), static_cast<uint32_t>(bytes.size()));
  std::vector<Quillon::ReplayFrame> read;
  ASSERT_TRUE(Quillon::ReadReplayFile(reader, read));
  ASSERT_EQ(read.size(), 2u);
  ASSERT_TRUE(read[0].keyboardChanges);
  EXPECT_EQ(read[0].keyboardChanges->codes, frames[0].keyboardChanges->codes);
  EXPECT_EQ(std::memcmp(read[0].keyboardChanges->records.data(), frames[0].keyboardChanges->records.data(), 10), 0);
  ASSERT_TRUE(read[0].mouseChanges);
  EXPECT_EQ(read[0].mouseChanges->records[0].wentUp, 1);
  // The previous position and the moved flag are not stored.
  EXPECT_EQ(read[0].mouseHeader.previousX, 0);
  EXPECT_EQ(read[0].mouseHeader.moved, 0);
  EXPECT_EQ(read[0].mouseHeader.currentY, 20);
  EXPECT_FALSE(read[1].keyboardChanges);
  EXPECT_FALSE(read[1].mouseChanges);
  EXPECT_EQ(read[1].dt, 0.017f);

  // No recorded frame at all writes a count of 0, not one that wrapped round.
  Core::MemoryFile empty;
  Quillon::WriteReplayFile(empty, {});
  const std::vector<unsigned char> emptyBytes = Bytes(empty);
  ASSERT_EQ(emptyBytes.size(), 4u);
  EXPECT_EQ(emptyBytes, std::vector<unsigned char>(4, 0));
}

TEST(ReplayFile, ShortCorruptAndForeignFilesAreRefusedWhole) {
  std::vector<Quillon::ReplayFrame> frames;
  for (int i = 0; i < 4; ++i) frames.push_back(MakeFrame(i % 2 == 0, i % 3 == 0, i, i, 0.016f));
  Core::MemoryFile file;
  Quillon::WriteReplayFile(file, frames);
  const std::vector<unsigned char> bytes = Bytes(file);
  for (size_t size = 0; size < bytes.size(); ++size) {
    Core::MemoryFile reader(bytes.data(), static_cast<uint32_t>(size));
    std::vector<Quillon::ReplayFrame> read(1);
    EXPECT_FALSE(Quillon::ReadReplayFile(reader, read)) << size;
    EXPECT_EQ(read.size(), 1u) << "a refused file appends nothing";
  }
  auto refused = [](std::vector<unsigned char> data) {
    Core::MemoryFile reader(data.data(), static_cast<uint32_t>(data.size()));
    std::vector<Quillon::ReplayFrame> read;
    return !Quillon::ReadReplayFile(reader, read) && read.empty();
  };
  std::vector<unsigned char> huge = bytes;
  huge[0] = huge[1] = huge[2] = huge[3] = 0xFF;
  EXPECT_TRUE(refused(huge));
  std::vector<unsigned char> codes = bytes;
  codes[5] = codes[6] = codes[7] = 0x7F;  // the first frame's key-code count
  EXPECT_TRUE(refused(codes));
  std::vector<unsigned char> flag = bytes;
  flag[4] = 2;
  EXPECT_TRUE(refused(flag));
  // The file with a word of the last frame replaced, counted back from the end: its dt at 4, its
  // mouse x at 12 and y at 8.
  auto withLast = [&bytes](size_t offset, const void* word) {
    std::vector<unsigned char> patched = bytes;
    std::memcpy(&patched[patched.size() - offset], word, 4);
    return patched;
  };
  // A step that is no number, negative or 1e30 seconds, or a mouse beyond any screen near the int
  // limits.
  for (float dt : {std::nanf(""), -0.016f, 1e30f}) EXPECT_TRUE(refused(withLast(4, &dt))) << dt;
  for (int32_t coordinate : {INT32_MAX, INT32_MIN, (1 << 24) + 1}) {
    for (size_t offset : {size_t{12}, size_t{8}}) {
      EXPECT_TRUE(refused(withLast(offset, &coordinate))) << coordinate << " at " << offset;
    }
  }
  // A long load recorded as one step, and a large desktop, stay playable.
  const float longStep = 30.0f;
  std::vector<unsigned char> slow = withLast(4, &longStep);
  const int32_t wide = -7680;
  std::memcpy(&slow[slow.size() - 12], &wide, 4);
  EXPECT_FALSE(refused(slow));
}

// ---- The game ------------------------------------------------------------------------------------

// Two boxes that meet, and one that falls past them.
SmartPointer<FrameworkTest::BoxLevelFactory> MakeSavesFactory() {
  return new FrameworkTest::BoxLevelFactory({{"Left", Vector2D(0.0f, 0.0f), Vector2D(50.0f, 3.0f), true},
                                            {"Right", Vector2D(40.0f, 0.0f), Vector2D(-30.0f, 0.0f), true},
                                            {"Faller", Vector2D(0.0f, 100.0f), Vector2D(1.0f, -40.0f), true}});
}

// What a frame step saw, taken right after the input and replay step.
struct Seen {
  std::vector<unsigned char> keyboard;
  int32_t mouseX = 0;
  int32_t mouseY = 0;
  uint8_t buttons[15] = {};
  float dt = 0.0f;
};

class SavesGame : public Quillon::Game {
 public:
  using Quillon::Game::Game;
  // Tests run side by side in processes of their own: the default folder beside the executable
  // would be one for all of them, and one test's cleanup would take another's files.
  std::string GetSaveDirectory() const override { return saveDirectory; }
  void PreUpdate(float dt) override {
    Seen seen;
    void* data = nullptr;
    int32_t size = 0;
    GetKeyboard()->GetState(data, size);
    if (data != nullptr && size > 0) seen.keyboard.assign(static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
    void* mouseData = nullptr;
    int32_t mouseSize = 0;
    GetMouse()->GetState(mouseData, mouseSize);
    if (mouseData != nullptr && mouseSize == static_cast<int32_t>(sizeof(Input::MouseStateRecord))) {
      Input::MouseStateRecord record;
      std::memcpy(&record, mouseData, sizeof(record));
      seen.mouseX = record.x;
      seen.mouseY = record.y;
      std::memcpy(seen.buttons, record.buttons, sizeof(seen.buttons));
    }
    seen.dt = dt;
    steps.push_back(seen);
  }
  std::vector<Seen> steps;
  std::string saveDirectory;
};

// Every object's position and velocity, bit for bit, in layer order.
std::vector<uint32_t> Snapshot(Quillon::Game& game) {
  std::vector<uint32_t> bits;
  std::list<Quillon::GameObject*> objects;
  if (game.GetCurrentLevel()) game.GetCurrentLevel()->GetGameObjects(objects);
  auto push = [&bits](float value) {
    uint32_t word = 0;
    std::memcpy(&word, &value, 4);
    bits.push_back(word);
  };
  for (Quillon::GameObject* object : objects) {
    push(object->GetPosition().x);
    push(object->GetPosition().y);
    push(object->GetRotationAngle());
    Vector2D velocity;
    EXPECT_TRUE(object->GetVelocity(velocity)) << object->GetName();
    push(velocity.x);
    push(velocity.y);
  }
  return bits;
}

std::string ReadFile(const std::string& path) { return TestSupport::ReadWholeFile(PAL::MapPath(path)); }

void WriteFile(const std::string& path, const std::string& bytes) {
  EXPECT_TRUE(TestSupport::WriteWholeFile(PAL::MapPath(path), bytes)) << path;
}

class SavesGameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VELKOR_REQUIRE_DISPLAY();
    ASSERT_NO_FATAL_FAILURE(m_session.Open("velkor_saves_"));
    m_input.CoverWindow(320, 240);
    m_input.SetCursorPosition(100, 100);
    m_folder = m_session.Folder() + "/Saves";
    std::string command = "mkdir -p '" + m_folder + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    m_ready = true;
  }
  void TearDown() override {
    if (!m_ready) return;
    m_session.StopGame();
    m_game = nullptr;
    if (m_factory) {
      EXPECT_TRUE(m_factory->AllBodiesAdded());
    }
    m_factory.Reset();
    Quillon::Saves::SetBeforeReplaceHook(nullptr);
    Quillon::SetGameSavesFactory(&Quillon::CreateGameSaves);
    Quillon::SetOneSidedContact(false);
    m_session.Close();
    for (const std::string& name : m_created) std::remove((m_folder + "/" + name).c_str());
  }

  void MakeGame(uint32_t startingLevel) {
    Quillon::SetGameSavesFactory(&Quillon::CreateGameSaves);
    m_factory = MakeSavesFactory();
    m_game = m_session.Adopt(
        new SavesGame(SmartPointer<Quillon::LevelFactory>(m_factory.Get()), TestSupport::SmallDisplay(), startingLevel));
    m_game->saveDirectory = m_folder;
    ASSERT_NE(Saves(), nullptr);
  }
  Quillon::Saves* Saves() { return dynamic_cast<Quillon::Saves*>(m_game->GetSaves()); }
  void Frame() { m_session.Step(16.0); }
  // Runs passes until one more step has run.
  void StepOnce() {
    const size_t before = m_game->steps.size();
    for (int i = 0; i < 4 && m_game->steps.size() == before; ++i) Frame();
    ASSERT_GT(m_game->steps.size(), before);
  }
  std::string PathOf(const std::string& name) {
    m_created.push_back(name);
    m_created.push_back(name + ".partial");
    return m_folder + "/" + name;
  }

  TestInput::FakeInputBackend m_input;
  SavesGame* m_game = nullptr;
  SmartPointer<FrameworkTest::BoxLevelFactory> m_factory;
  std::string m_folder;
  std::vector<std::string> m_created;
  bool m_ready = false;
  // Last, so that a test stopped half-way still has its game stopped before the rest goes.
  TestSupport::GameSession m_session;
};

TEST_F(SavesGameTest, ALoadedSaveContinuesTheSimulationBitForBit) {
  MakeGame(1);
  const std::string path = PathOf("roundTrip");
  for (int i = 0; i < 5; ++i) StepOnce();
  m_game->SetTitle("Saved title");
  Quillon::SetOneSidedContact(true);
  const uint32_t idCounter = Quillon::GameObject::GetIdCounter() + 7;
  Quillon::GameObject::SetIdCounter(idCounter);
  m_game->GetSaves()->RequestSave("roundTrip");
  // The save is written at the start of the next step; what follows it is the reference.
  std::vector<std::vector<uint32_t>> reference;
  for (int i = 0; i < 20; ++i) {
    StepOnce();
    reference.push_back(Snapshot(*m_game));
  }
  ASSERT_FALSE(ReadFile(path).empty());

  m_game->SetTitle("Other title");
  Quillon::SetOneSidedContact(false);
  m_game->GoToLevel(0u);
  StepOnce();
  ASSERT_EQ(m_game->GetCurrentLevelIndex(), 0u);
  m_game->GetSaves()->RequestLoad("roundTrip");
  for (int i = 0; i < 20; ++i) {
    StepOnce();
    ASSERT_EQ(Snapshot(*m_game), reference[i]) << "step " << i;
  }
  EXPECT_EQ(m_game->GetCurrentLevelIndex(), 1u);
  EXPECT_EQ(m_game->GetCurrentLevel()->GetName(), "Second");
  EXPECT_EQ(m_game->GetTitle(), "Saved title");
  EXPECT_TRUE(Quillon::GetOneSidedContact());
  EXPECT_GE(Quillon::GameObject::GetIdCounter(), idCounter);
  EXPECT_EQ(m_game->GetCollisionAssetCount(), 1u);
}

TEST_F(SavesGameTest, AShortCorruptOrForeignSaveLeavesTheRunningGameAsItWas) {
  MakeGame(0);
  const std::string path = PathOf("broken");
  for (int i = 0; i < 3; ++i) StepOnce();
  m_game->GetSaves()->RequestSave("broken");
  StepOnce();
  const std::string good = ReadFile(path);
  ASSERT_GT(good.size(), 64u);
  m_game->SetTitle("Running");

  std::vector<std::string> bad = {good.substr(0, good.size() / 2), good.substr(0, good.size() - 1), "", "not a save"};
  std::string flipped = good;
  flipped[0] = static_cast<char>(0xFF);  // the collision-actor count
  flipped[3] = static_cast<char>(0x7F);
  bad.push_back(flipped);
  for (size_t k = 0; k < bad.size(); ++k) {
    WriteFile(path, bad[k]);
    StepOnce();
    const std::vector<uint32_t> before = Snapshot(*m_game);
    const uint32_t objects = static_cast<uint32_t>(before.size());
    m_game->GetSaves()->RequestLoad("broken");
    // Compare the state the load put back with the state before it, ahead of the step's motion.
    const size_t step = m_game->steps.size();
    StepOnce();
    (void)step;
    EXPECT_EQ(Snapshot(*m_game).size(), objects) << k;
    EXPECT_EQ(m_game->GetCurrentLevelIndex(), 0u) << k;
    EXPECT_EQ(m_game->GetTitle(), "Running") << k;
    EXPECT_EQ(m_game->GetCollisionAssetCount(), 1u) << k;
    EXPECT_EQ(Saves()->GetPendingRequest(), 0u);
  }

  // The game put back continues exactly as one that never tried the load.
  WriteFile(path, good.substr(0, 10));
  m_game->GetSaves()->RequestSave("control");
  PathOf("control");
  StepOnce();
  std::vector<std::vector<uint32_t>> control;
  for (int i = 0; i < 5; ++i) {
    StepOnce();
    control.push_back(Snapshot(*m_game));
  }
  m_game->GetSaves()->RequestLoad("control");
  StepOnce();
  m_game->GetSaves()->RequestLoad("broken");
  StepOnce();
  // The failed load's step moved the game once; the control's second step follows it.
  for (int i = 1; i < 5; ++i) {
    StepOnce();
    EXPECT_EQ(Snapshot(*m_game), control[i]) << i;
  }
}

TEST_F(SavesGameTest, AnInterruptedSaveLeavesTheOldFile) {
  MakeGame(0);
  const std::string path = PathOf("kept");
  StepOnce();
  m_game->GetSaves()->RequestSave("kept");
  StepOnce();
  const std::string old = ReadFile(path);
  ASSERT_FALSE(old.empty());
  for (int i = 0; i < 4; ++i) StepOnce();
  bool interrupted = false;
  Quillon::Saves::SetBeforeReplaceHook([&interrupted](const std::string&) {
    interrupted = true;
    return false;
  });
  m_game->GetSaves()->RequestSave("kept");
  StepOnce();
  EXPECT_TRUE(interrupted);
  EXPECT_EQ(ReadFile(path), old);
  Quillon::Saves::SetBeforeReplaceHook(nullptr);
  std::vector<std::string> names;
  m_game->GetSaves()->GetSavedGameNames(names);
  // The save still loads; a save that cannot open its file writes nothing.
  m_game->GetSaves()->RequestLoad("kept");
  StepOnce();
  EXPECT_EQ(m_game->GetCurrentLevel()->GetName(), "First");
  PathOf("x");
  m_game->GetSaves()->RequestSave("no such folder\\x");
  StepOnce();
  EXPECT_TRUE(ReadFile(m_folder + "/no such folder/x").empty());
}

TEST_F(SavesGameTest, AReplayPlaysBackTheRecordedInputAndMotionAndRestoresTheGameAfterwards) {
  MakeGame(0);
  PathOf("run_gameSaved");
  PathOf("run_replayData");
  PathOf("gameSaved_OnReplayStart");
  for (int i = 0; i < 3; ++i) StepOnce();
  m_game->GetSaves()->StartReplayRecording("run");
  const size_t first = m_game->steps.size();
  std::vector<std::vector<uint32_t>> motion;
  const int frames = 12;
  for (int i = 0; i < frames; ++i) {
    m_input.Hold(PAL::VirtualKey::Space, i >= 2 && i < 7);
    m_input.Hold(PAL::VirtualKey::KeyA, i == 4);
    m_input.Hold(PAL::VirtualKey::LeftButton, i >= 5 && i < 9);
    m_input.cursorX = 50 + 3 * i;
    m_input.cursorY = 60 + i;
    StepOnce();
    motion.push_back(Snapshot(*m_game));
  }
  m_game->GetSaves()->StopReplayRecording();
  for (auto& key : m_input.keys) key = 0;
  StepOnce();  // writes the frames
  EXPECT_EQ(Saves()->GetReplayFrames().size(), static_cast<size_t>(frames));
  const std::string replay = ReadFile(m_folder + "/run_replayData");
  ASSERT_GE(replay.size(), 4u);
  uint32_t count = 0;
  std::memcpy(&count, replay.data(), 4);
  EXPECT_EQ(count, static_cast<uint32_t>(frames - 1));
  std::vector<std::string> names;
  m_game->GetSaves()->GetReplayNames(names);
  EXPECT_NE(std::find(names.begin(), names.end(), "run"), names.end());

  for (int i = 0; i < 4; ++i) StepOnce();
  const std::vector<uint32_t> beforeReplay = Snapshot(*m_game);
  m_game->GetSaves()->StartReplay("run");
  const size_t played = m_game->steps.size();
  for (int i = 0; i < frames - 1; ++i) {
    m_input.cursorX = 5;  // the mouse is not polled during playback
    StepOnce();
    const Seen& recorded = m_game->steps[first + i];
    const Seen& replayed = m_game->steps[played + i];
    EXPECT_EQ(replayed.keyboard, recorded.keyboard) << "frame " << i;
    EXPECT_EQ(replayed.mouseX, recorded.mouseX) << i;
    EXPECT_EQ(replayed.mouseY, recorded.mouseY) << i;
    EXPECT_EQ(std::memcmp(replayed.buttons, recorded.buttons, sizeof(recorded.buttons)), 0) << i;
    EXPECT_EQ(replayed.dt, recorded.dt) << i;
    EXPECT_EQ(Snapshot(*m_game), motion[i]) << "frame " << i;
  }
  EXPECT_FALSE(m_game->GetSaves()->IsReplayPlaying());
  StepOnce();  // loads the state from before the replay
  StepOnce();
  EXPECT_EQ(Snapshot(*m_game).size(), beforeReplay.size());
  EXPECT_FALSE(m_game->GetSaves()->IsReplayRecording());

  // The stored key ends a replay early; a missing or short replay file never starts one.
  m_game->GetSaves()->StartReplay("run");
  StepOnce();
  EXPECT_TRUE(m_game->GetSaves()->IsReplayPlaying());
  m_input.Hold(PAL::VirtualKey::Escape, true);
  StepOnce();
  m_input.Hold(PAL::VirtualKey::Escape, false);
  EXPECT_FALSE(m_game->GetSaves()->IsReplayPlaying());
  StepOnce();
  m_game->GetSaves()->StartReplay("missing");
  StepOnce();
  EXPECT_FALSE(m_game->GetSaves()->IsReplayPlaying());
  WriteFile(m_folder + "/run_replayData", replay.substr(0, replay.size() - 3));
  m_game->GetSaves()->StartReplay("run");
  StepOnce();
  EXPECT_FALSE(m_game->GetSaves()->IsReplayPlaying());
  EXPECT_TRUE(Saves()->GetReplayFrames().empty());
}

TEST_F(SavesGameTest, NamesStayInTheSavesFolderAndAListedReplayOpensWhateverTheCaseOfItsEnding) {
  MakeGame(0);
  PathOf("escape");
  PathOf("rec_gameSaved");
  PathOf("rec_GAMESAVED");
  PathOf("rec_replayData");
  PathOf("gameSaved_OnReplayStart");
  StepOnce();
  // Only the bare file name counts, with either separator.
  for (const char* name : {"../../escape", "..\\..\\escape", "/tmp/escape"}) {
    std::remove((m_folder + "/escape").c_str());
    m_game->GetSaves()->RequestSave(name);
    StepOnce();
    EXPECT_FALSE(ReadFile(m_folder + "/escape").empty()) << name;
  }

  m_game->GetSaves()->StartReplayRecording("rec");
  for (int i = 0; i < 4; ++i) StepOnce();
  m_game->GetSaves()->StopReplayRecording();
  StepOnce();
  ASSERT_FALSE(ReadFile(m_folder + "/rec_gameSaved").empty());
  // The same files as another system may have spelled them: listed, and so they must open.
  ASSERT_EQ(std::rename((m_folder + "/rec_gameSaved").c_str(), (m_folder + "/rec_GAMESAVED").c_str()), 0);
  std::vector<std::string> names;
  m_game->GetSaves()->GetReplayNames(names);
  EXPECT_NE(std::find(names.begin(), names.end(), "rec"), names.end());
  m_game->GetSaves()->GetSavedGameNames(names);
  EXPECT_NE(std::find(names.begin(), names.end(), "rec"), names.end());
  m_game->GetSaves()->StartReplay("rec");
  StepOnce();
  EXPECT_TRUE(m_game->GetSaves()->IsReplayPlaying());
}

TEST_F(SavesGameTest, ARecordingWhoseStartingStateCannotBeSavedStops) {
  MakeGame(0);
  PathOf("lost_gameSaved");
  StepOnce();
  Quillon::Saves::SetBeforeReplaceHook([](const std::string&) { return false; });
  m_game->GetSaves()->StartReplayRecording("lost");
  StepOnce();
  Quillon::Saves::SetBeforeReplaceHook(nullptr);
  EXPECT_FALSE(m_game->GetSaves()->IsReplayRecording()) << "a recording without its start could never be played";
  for (int i = 0; i < 3; ++i) StepOnce();
  EXPECT_TRUE(Saves()->GetReplayFrames().empty());

  // A recording under way ends when a replay starts, whether or not that replay can start.
  m_game->GetSaves()->StartReplayRecording("lost");
  StepOnce();
  ASSERT_TRUE(m_game->GetSaves()->IsReplayRecording());
  m_game->GetSaves()->StartReplay("missing");
  StepOnce();
  EXPECT_FALSE(m_game->GetSaves()->IsReplayPlaying());
  EXPECT_FALSE(m_game->GetSaves()->IsReplayRecording());
}

}  // namespace
