// The generated sounds through the sound engine, as the game loads them: every effect whole, both
// music files streamed (the default streaming limit), and each one plays.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "audio/Sound_Engine.h"
#include "platform/PAL_Services.h"
#include "tests/audio/SoundEngineFixture.h"
#include "tests/support/TestSupport.h"

namespace {

std::string GamePath(const std::string& relative) { return std::string(PAL::GetExecutableDirectory()) + relative; }

// The engine over whatever output OpenAL opens, as the audio tests have it.
using AssetSoundPlayback = SoundEngineTest;

const char* const kEffects[] = {
    "\\Resources\\Sounds\\playerDie.wav",       "\\Resources\\Sounds\\playerDying.wav",
    "\\Resources\\Sounds\\playerHeal.wav",      "\\Resources\\Sounds\\playerShoot.wav",
    "\\Resources\\Sounds\\ufoComing.wav",       "\\Resources\\Sounds\\ufoDie.wav",
    "\\Resources\\Sounds\\aiFriendAttack.ogg",  "\\Resources\\Sounds\\playerLaser.ogg",
    "\\Resources\\Sounds\\rocketExplode.ogg",   "\\Resources\\Sounds\\rocketLaunch.ogg",
    "\\Resources\\Sounds\\ufoLaser.ogg",        "\\Resources\\Sounds\\MouseClick.ogg",
};
const char* const kMusic[] = {
    "\\Resources\\MyJukeBoxes\\GameBgm\\gamBgm.ogg",
    "\\Resources\\MyJukeBoxes\\GarageBgm\\garBgm.ogg",
};

TEST_F(AssetSoundPlayback, EveryEffectLoadsWholeAndPlaysToItsEnd) {
  std::vector<Sound::SoundSource*> sources;
  for (const char* effect : kEffects) {
    SCOPED_TRACE(effect);
    const std::string path = GamePath(effect);
    Sound::SoundData* sound = engine->LoadSoundOrStream(path, Sound::SoundEngine::kDefaultStreamLimit);
    ASSERT_NE(sound, nullptr);
    // Loaded whole: one buffer, and shared through the table of loaded sounds.
    EXPECT_EQ(sound->GetBufferCount(), 1u) << "streamed: " << sound->GetLength()
                                           << " s of PCM reach the 262,144-byte limit (2.97 s of 16-bit mono)";
    EXPECT_EQ(engine->FindLoadedSound(path, 0.0f), sound);
    EXPECT_GT(sound->GetLength(), 0.0);
    EXPECT_LT(sound->GetLength(), 3.5);
    Sound::SoundSource* source = engine->CreateSource(sound, true, false);
    ASSERT_NE(source, nullptr);
    ASSERT_TRUE(engine->Play(source));
    EXPECT_TRUE(engine->IsStarted(source));
    sources.push_back(source);
  }
  // All twelve at once, as in a busy fight; the longest lasts about 3 s.
  for (size_t i = 0; i < sources.size(); ++i) {
    EXPECT_TRUE(WaitFor([&] { return !engine->IsStarted(sources[i]); }, 8000)) << kEffects[i] << " never ended";
  }
}

TEST_F(AssetSoundPlayback, BothMusicFilesStreamAndKeepPlaying) {
  for (const char* music : kMusic) {
    SCOPED_TRACE(music);
    const std::string path = GamePath(music);
    Sound::SoundData* sound = engine->LoadSoundOrStream(path, Sound::SoundEngine::kDefaultStreamLimit);
    ASSERT_NE(sound, nullptr);
    // Streamed: two half-second buffers refilled from the open file, not in the shared table.
    EXPECT_EQ(sound->GetBufferCount(), 2u);
    EXPECT_GT(sound->GetChunkSize(), 0u);
    EXPECT_EQ(engine->FindLoadedSound(path, 0.0f), nullptr);
    EXPECT_GE(sound->GetLength(), 45.0);
    EXPECT_LE(sound->GetLength(), 90.0);
    Sound::SoundSource* source = engine->CreateSource(sound, true, true);
    ASSERT_NE(source, nullptr);
    ASSERT_TRUE(engine->Play(source));
    // Past the first two buffers the refill thread has to feed it from the stream.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_TRUE(engine->IsStarted(source));
    EXPECT_TRUE(engine->IsPlaying(source));
    EXPECT_TRUE(engine->Stop(source));
  }
}

}  // namespace
