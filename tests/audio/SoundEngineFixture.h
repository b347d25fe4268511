#pragma once
// A started sound engine over whatever output OpenAL opens (make test gives the null output),
// and a scratch folder for the sound files each test writes.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "audio/Sound_Engine.h"
#include "tests/audio/AudioTestFiles.h"
#include "tests/support/TestSupport.h"

using TestSupport::WaitFor;

class SoundEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine = std::make_unique<Sound::SoundEngine>();
    if (!engine->Initialize(-1, 30)) {
      GTEST_SKIP() << "no audio output device opens (run with ALSOFT_DRIVERS=null)";
    }
  }
  void TearDown() override { engine.reset(); }
  std::string Write(const std::string& name, const std::string& bytes) { return m_folder.Write(name, bytes); }

  std::unique_ptr<Sound::SoundEngine> engine;

 private:
  TestSupport::ScratchFolder m_folder{"velkor_audio"};
};
