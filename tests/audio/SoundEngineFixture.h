#pragma once
// A started sound engine over whatever output OpenAL opens (make test gives the null output),
// and a scratch folder for the sound files each test writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "audio/Sound_Engine.h"
#include "tests/audio/AudioTestFiles.h"
#include "tests/support/TestSupport.h"

class SoundEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_directory = TestSupport::MakeTempDirectory("velkor_audio");
    engine = std::make_unique<Sound::SoundEngine>();
    if (!engine->Initialize(-1, 30)) {
      GTEST_SKIP() << "no audio output device opens (run with ALSOFT_DRIVERS=null)";
    }
  }
  void TearDown() override {
    engine.reset();
    std::filesystem::remove_all(m_directory);
  }
  // Writes the bytes to a file of that name in the scratch folder and returns its path.
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = m_directory + "/" + name;
    EXPECT_TRUE(AudioTest::WriteFile(path, bytes));
    return path;
  }

  std::unique_ptr<Sound::SoundEngine> engine;

 private:
  std::string m_directory;
};
