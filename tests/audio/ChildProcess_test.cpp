// Tests that need OpenAL started under other settings than the test run's own. OpenAL reads
// its driver choice once per process, so each runs in a child process of this program.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "audio/Sound_Engine.h"
#include "tests/audio/AudioTestFiles.h"
#include "tests/support/TestSupport.h"

using namespace AudioTest;
using TestSupport::WaitFor;

namespace {

constexpr const char* kScratchVariable = "VELKOR_AUDIO_SCRATCH";

std::string Scratch() {
  const char* folder = std::getenv(kScratchVariable);
  return folder != nullptr ? folder : "";
}

// Runs the child test with OpenAL's wave output recording into "out.wav" of a new folder.
void RunRecordingChild(const std::string& testName) {
  const std::string folder = TestSupport::MakeTempDirectory("velkor_audio_record");
  const std::string config = folder + "/alsoft.conf";
  ASSERT_TRUE(TestSupport::WriteWholeFile(config, "[general]\ndrivers = wave\nchannels = stereo\nfrequency = 44100\n"
                                                  "sample-type = int16\n[wave]\nfile = " + folder + "/out.wav\n"));
  std::string output;
  const int status =
      RunChildTest(testName, {{"ALSOFT_DRIVERS", ""}, {"ALSOFT_CONF", config}, {kScratchVariable, folder}}, output);
  EXPECT_EQ(status, 0) << output;
  EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
  std::filesystem::remove_all(folder);
}

// Lengths of the runs of samples above +threshold, below -threshold and in between.
struct LevelRun {
  int sign;  // +1, -1, 0 for quiet
  std::size_t length;
};

std::vector<LevelRun> Runs(const std::vector<float>& samples, float threshold) {
  std::vector<LevelRun> runs;
  for (float sample : samples) {
    const int sign = sample > threshold ? 1 : (sample < -threshold ? -1 : 0);
    if (runs.empty() || runs.back().sign != sign) runs.push_back(LevelRun{sign, 0});
    ++runs.back().length;
  }
  return runs;
}

}  // namespace

TEST(SilentEngine, StartingWithoutADeviceFailsCleanly) {
  std::string output;
  const int status = RunChildTest("SilentEngine.DISABLED_NoDeviceChild",
                                  {{"ALSOFT_DRIVERS", "velkor_no_such_driver"}, {"ALSOFT_CONF", ""}}, output);
  EXPECT_EQ(status, 0) << output;
  EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}

TEST(SilentEngine, DISABLED_NoDeviceChild) {
  const std::string folder = TestSupport::MakeTempDirectory("velkor_audio_silent");
  const std::string path = folder + "/tone.wav";
  ASSERT_TRUE(TestSupport::WriteWholeFile(path, MakeWave(1, 16, 22050, 2205, Sine(440, 0.4f, 22050))));
  {
    Sound::SoundEngine engine;
    EXPECT_FALSE(engine.Initialize(-1, 30));
    EXPECT_FALSE(engine.IsInitialized());
    EXPECT_FALSE(engine.Initialize(0, 30)) << "a failed start leaves nothing that blocks another try";
    EXPECT_EQ(engine.LoadSound(path, 0.0f), nullptr);
    EXPECT_EQ(engine.LoadSoundOrStream(path, 1), nullptr);
    EXPECT_EQ(engine.LoadStream(path, 0.5f, 2), nullptr);
    Sound::SoundData detached;
    EXPECT_EQ(engine.CreateSource(&detached, true, false), nullptr);
    EXPECT_FALSE(engine.Play(nullptr));
    EXPECT_FALSE(engine.SetMasterVolume(0.5f));
    EXPECT_TRUE(engine.SetDistanceModel(2));
    engine.Reset();
    engine.ReleaseAllSounds();
    engine.Shutdown();
  }
  std::filesystem::remove_all(folder);
}

TEST(RecordedOutput, LoopPointPlaysTheIntroOnceThenTheLoopPart) {
  RunRecordingChild("RecordedOutput.DISABLED_LoopPointChild");
}

TEST(RecordedOutput, DISABLED_LoopPointChild) {
  // Intro: a positive level for 0.25 s; loop part: a negative level for 0.25 s.
  const std::string path = Scratch() + "/intro_loop.wav";
  ASSERT_TRUE(TestSupport::WriteWholeFile(path, MakeWave(1, 16, 44100, 22050, [](std::uint32_t frame, std::uint32_t) {
                                            return frame < 11025 ? 0.5f : -0.5f;
                                          })));
  {
    Sound::SoundEngine engine;
    ASSERT_TRUE(engine.Initialize(-1, 30));
    Sound::SoundSource* source = engine.CreateSource(engine.LoadSound(path, 0.5f), true, true);
    ASSERT_NE(source, nullptr);
    ASSERT_TRUE(engine.Play(source));
    std::this_thread::sleep_for(std::chrono::milliseconds(1300));
    EXPECT_TRUE(engine.IsStarted(source));
    ASSERT_TRUE(engine.Stop(source));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  Recording recording;
  ASSERT_TRUE(ReadRecording(Scratch() + "/out.wav", recording));
  ASSERT_EQ(recording.rate, 44100u);
  std::vector<LevelRun> runs = Runs(recording.left, 0.1f);
  while (!runs.empty() && runs.back().sign == 0) runs.pop_back();
  ASSERT_FALSE(runs.empty());
  if (runs.front().sign == 0) runs.erase(runs.begin());
  // Expected: one positive run of the intro's length, then one unbroken negative run.
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].sign, 1);
  EXPECT_NEAR(static_cast<double>(runs[0].length), 11025.0, 2.0);
  EXPECT_EQ(runs[1].sign, -1);
  EXPECT_GT(runs[1].length, 44100u * 0.9) << "the loop part repeats without gaps";
}

TEST(RecordedOutput, StreamPlaysWithoutGapsWhileTheMainThreadStalls) {
  RunRecordingChild("RecordedOutput.DISABLED_StreamChild");
}

TEST(RecordedOutput, DISABLED_StreamChild) {
  // 2.5 s of a steady level, streamed through two half-second buffers.
  const std::string path = Scratch() + "/steady.wav";
  ASSERT_TRUE(TestSupport::WriteWholeFile(path, MakeWave(2, 16, 44100, 110250, Constant(0.5f))));
  {
    Sound::SoundEngine engine;
    ASSERT_TRUE(engine.Initialize(-1, 30));
    Sound::SoundData* sound = engine.LoadSoundOrStream(path, Sound::SoundEngine::kDefaultStreamLimit);
    ASSERT_NE(sound, nullptr);
    ASSERT_EQ(sound->GetBufferCount(), 2u);
    Sound::SoundSource* source = engine.CreateSource(sound, true, false);
    ASSERT_NE(source, nullptr);
    ASSERT_TRUE(engine.Play(source));
    for (int stall = 0; stall < 3; ++stall) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the main thread stalls
      EXPECT_TRUE(engine.IsStarted(source));
    }
    ASSERT_TRUE(WaitFor([&] { return !engine.IsStarted(source); }, 5000));
  }
  Recording recording;
  ASSERT_TRUE(ReadRecording(Scratch() + "/out.wav", recording));
  std::vector<LevelRun> runs = Runs(recording.left, 0.1f);
  std::size_t loud = 0;
  std::size_t loudRuns = 0;
  for (const LevelRun& run : runs) {
    if (run.sign != 0) {
      loud += run.length;
      ++loudRuns;
    }
  }
  EXPECT_EQ(loudRuns, 1u) << "an underrun would break the level into pieces";
  EXPECT_NEAR(static_cast<double>(loud), 110250.0, 2.0);
}
