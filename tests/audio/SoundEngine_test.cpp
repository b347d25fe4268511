#include <chrono>
#include <thread>

#include "math/Math_Vector3D.h"
#include "tests/audio/SoundEngineFixture.h"

using namespace AudioTest;
using Clock = std::chrono::steady_clock;

namespace {

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

TEST_F(SoundEngineTest, StartsOnceAndKeepsItsSettings) {
  EXPECT_FALSE(engine->Initialize(-1, 30));
  EXPECT_FALSE(engine->GetVersion().empty());
  EXPECT_FALSE(engine->GetRenderer().empty());
  EXPECT_GT(engine->GetSpeedOfSound(), 300.0f);
  EXPECT_EQ(engine->GetUpdatePeriod(), 30u);
  EXPECT_EQ(engine->GetDistanceModel(), 2u);
  EXPECT_EQ(engine->GetSourceCount(), 1u);  // the default source
  EXPECT_TRUE(engine->SetDistanceModel(9));
  EXPECT_EQ(engine->GetDistanceModel(), 9u);
  EXPECT_TRUE(engine->SetDistanceModel(4));
  EXPECT_EQ(engine->GetDistanceModel(), 4u);
}

TEST_F(SoundEngineTest, WholeSoundsPlayToTheirEndAndSayTheyHaveEnded) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"mono8.wav", MakeWave(1, 8, 22050, 3308, Sine(440, 0.5f, 22050))},
      {"mono16.wav", MakeWave(1, 16, 44100, 6615, Sine(440, 0.5f, 44100))},
      {"stereo8.WAV", MakeWave(2, 8, 11025, 1654, Sine(440, 0.5f, 11025))},
      {"stereo16.wav", MakeWave(2, 16, 48000, 7200, Sine(440, 0.5f, 48000))},
      {"mono.ogg", MakeOgg(1, 44100, 6615, Sine(440, 0.5f, 44100))},
      {"stereo.Ogg", MakeOgg(2, 22050, 3308, Sine(440, 0.5f, 22050))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Write(c.name, c.bytes);
    Sound::SoundData* sound = engine->LoadSound(path, 0.0f);
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->GetName(), path);
    EXPECT_NEAR(sound->GetLength(), 0.15, 0.002);
    EXPECT_EQ(sound->GetBufferCount(), 1u);
    Sound::SoundSource* source = engine->CreateSource(sound, true, false);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->GetKind(), Sound::kSourceSingle);
    EXPECT_FALSE(engine->IsStarted(source));
    const Clock::time_point start = Clock::now();
    ASSERT_TRUE(engine->Play(source));
    EXPECT_TRUE(engine->IsStarted(source));
    EXPECT_TRUE(engine->IsPlaying(source));
    EXPECT_FALSE(engine->Play(source)) << "a playing source is not restarted";
    ASSERT_TRUE(WaitFor([&] { return !engine->IsStarted(source); }, 3000));
    EXPECT_GE(SecondsSince(start), 0.13);
    EXPECT_FALSE(engine->IsPlaying(source));
    // It plays again from the start.
    ASSERT_TRUE(engine->Play(source));
    ASSERT_TRUE(WaitFor([&] { return !engine->IsStarted(source); }, 3000));
    EXPECT_TRUE(engine->DestroySource(source));
  }
}

TEST_F(SoundEngineTest, StreamsFinishWhileTheMainThreadStalls) {
  const std::string wav = Write("long.wav", MakeWave(2, 16, 22050, 33075, Sine(330, 0.4f, 22050)));  // 1.5 s
  const std::string ogg = Write("long.ogg", MakeOgg(2, 44100, 66150, Sine(330, 0.4f, 44100)));
  for (const std::string& path : {wav, ogg}) {
    SCOPED_TRACE(path);
    Sound::SoundData* sound = engine->LoadStream(path, 0.5f, 2);
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->GetBufferCount(), 2u);
    EXPECT_EQ(engine->FindLoadedSound(path, 0.0f), nullptr) << "streams are never shared";
    Sound::SoundSource* source = engine->CreateSource(sound, true, false);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->GetKind(), Sound::kSourceStreamed);
    const Clock::time_point start = Clock::now();
    ASSERT_TRUE(engine->Play(source));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the main thread stalls
    ASSERT_TRUE(WaitFor([&] { return !engine->IsStarted(source); }, 5000));
    const double elapsed = SecondsSince(start);
    EXPECT_GE(elapsed, 1.45);
    EXPECT_LE(elapsed, 1.9) << "a stream that ran dry would end late";
    EXPECT_FALSE(engine->IsPlaying(source));
    // Ended streams are refilled from the start: playing again takes the whole length again.
    const Clock::time_point again = Clock::now();
    ASSERT_TRUE(engine->Play(source));
    ASSERT_TRUE(WaitFor([&] { return !engine->IsStarted(source); }, 5000));
    EXPECT_GE(SecondsSince(again), 1.45);
  }
}

TEST_F(SoundEngineTest, StopRewindAndPauseOfAStream) {
  const std::string path = Write("stream.wav", MakeWave(1, 16, 22050, 22050, Sine(500, 0.4f, 22050)));  // 1 s
  Sound::SoundData* sound = engine->LoadStream(path, 0.25f, 2);
  ASSERT_NE(sound, nullptr);
  Sound::SoundSource* source = engine->CreateSource(sound, false, false);
  ASSERT_NE(source, nullptr);

  ASSERT_TRUE(engine->Play(source));
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  ASSERT_TRUE(engine->Stop(source));
  EXPECT_FALSE(engine->IsStarted(source));
  EXPECT_FALSE(engine->IsPlaying(source));
  // After a stop the stream starts over: the whole second plays again.
  Clock::time_point start = Clock::now();
  ASSERT_TRUE(engine->Play(source));
  ASSERT_TRUE(WaitFor([&] { return !engine->IsStarted(source); }, 3000));
  EXPECT_GE(SecondsSince(start), 0.95);

  // Rewinding keeps the play state and restarts from the beginning.
  start = Clock::now();
  ASSERT_TRUE(engine->Play(source));
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  ASSERT_TRUE(engine->RefillStream(source));
  EXPECT_TRUE(engine->IsPlaying(source));
  EXPECT_TRUE(engine->IsStarted(source));
  ASSERT_TRUE(WaitFor([&] { return !engine->IsStarted(source); }, 3000));
  EXPECT_GE(SecondsSince(start), 1.45);

  // A paused stream stays started and resumes where it was.
  ASSERT_TRUE(engine->Play(source));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  ASSERT_TRUE(engine->Pause(source));
  EXPECT_FALSE(engine->IsPlaying(source));
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  EXPECT_TRUE(engine->IsStarted(source));
  start = Clock::now();
  ASSERT_TRUE(engine->Play(source));
  ASSERT_TRUE(WaitFor([&] { return !engine->IsStarted(source); }, 3000));
  EXPECT_LT(SecondsSince(start), 0.95);
  // Rewinding a stopped source leaves it stopped.
  ASSERT_TRUE(engine->Rewind(source));
  EXPECT_FALSE(engine->IsPlaying(source));
}

TEST_F(SoundEngineTest, LoopingStreamStartsOverAtItsEnd) {
  const std::string path = Write("loop.wav", MakeWave(1, 16, 22050, 6615, Sine(500, 0.4f, 22050)));  // 0.3 s
  Sound::SoundData* sound = engine->LoadStream(path, 0.1f, 2);
  ASSERT_NE(sound, nullptr);
  Sound::SoundSource* source = engine->CreateSource(sound, true, true);
  ASSERT_NE(source, nullptr);
  ASSERT_TRUE(engine->Play(source));
  std::this_thread::sleep_for(std::chrono::milliseconds(900));
  EXPECT_TRUE(engine->IsStarted(source));
  EXPECT_TRUE(engine->IsPlaying(source));
  ASSERT_TRUE(source->SetLooping(false));
  ASSERT_TRUE(WaitFor([&] { return !engine->IsStarted(source); }, 2000));
}

TEST_F(SoundEngineTest, LoadSoundOrStreamStreamsFromTheLimitOn) {
  // 8-bit mono: one byte a frame, so the data sizes are exact.
  const std::string at = Write("at.wav", MakeWave(1, 8, 22050, 262144, Constant(0.1f)));
  const std::string below = Write("below.wav", MakeWave(1, 8, 22050, 262143, Constant(0.1f)));
  Sound::SoundData* streamed = engine->LoadSoundOrStream(at, Sound::SoundEngine::kDefaultStreamLimit);
  ASSERT_NE(streamed, nullptr);
  EXPECT_EQ(streamed->GetBufferCount(), 2u);
  EXPECT_EQ(streamed->GetChunkSize(), 11025u);
  Sound::SoundData* whole = engine->LoadSoundOrStream(below, Sound::SoundEngine::kDefaultStreamLimit);
  ASSERT_NE(whole, nullptr);
  EXPECT_EQ(whole->GetBufferCount(), 1u);
  EXPECT_EQ(engine->FindLoadedSound(below, 0.0f), whole);
  EXPECT_EQ(engine->FindLoadedSound(at, 0.0f), nullptr);
  EXPECT_EQ(engine->GetLoadedSoundCount(), 2u);
}

TEST_F(SoundEngineTest, StreamChunksAreWholeFramesAndAtLeastTwoBuffers) {
  // 11025 frames a second of 16-bit mono: half a second is 11025 bytes, cut to 11024.
  const std::string path = Write("odd.wav", MakeWave(1, 16, 11025, 11025, Constant(0.1f)));
  Sound::SoundData* sound = engine->LoadStream(path, 0.5f, 2);
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(sound->GetChunkSize(), 11024u);
  for (std::uint32_t count : {0u, 1u}) {
    Sound::SoundData* few = engine->LoadStream(path, 0.5f, count);
    ASSERT_NE(few, nullptr);
    EXPECT_EQ(few->GetBufferCount(), 2u);
    Sound::SoundSource* source = engine->CreateSource(few, true, false);
    ASSERT_NE(source, nullptr);
    ASSERT_TRUE(engine->Play(source));
    ASSERT_TRUE(WaitFor([&] { return !engine->IsStarted(source); }, 3000));
  }
  Sound::SoundData* three = engine->LoadStream(path, 0.1f, 3);
  ASSERT_NE(three, nullptr);
  EXPECT_EQ(three->GetBufferCount(), 3u);
}

TEST_F(SoundEngineTest, LoopPointSplitsIntoIntroAndLoopPart) {
  const std::string path = Write("intro.wav", MakeWave(1, 16, 22050, 4410, Sine(600, 0.4f, 22050)));  // 0.2 s
  Sound::SoundData* sound = engine->LoadSound(path, 0.25f);
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(sound->GetBufferCount(), 2u);
  EXPECT_FLOAT_EQ(sound->GetLoopFraction(), 0.25f);
  EXPECT_EQ(engine->FindLoadedSound(path, 0.25f), sound);
  EXPECT_EQ(engine->FindLoadedSound(path, 0.0f), nullptr);
  EXPECT_EQ(engine->FindLoadedSound(path, 0.5f), nullptr);
  Sound::SoundData* clamped = engine->LoadSound(path, 1.5f);
  ASSERT_NE(clamped, nullptr);
  EXPECT_FLOAT_EQ(clamped->GetLoopFraction(), 1.0f);
  EXPECT_EQ(engine->FindLoadedSound(path, 1.0f), clamped);

  // Looping: plays well past intro and loop part, and ends once told to stop looping.
  Sound::SoundSource* looping = engine->CreateSource(sound, true, true);
  ASSERT_NE(looping, nullptr);
  EXPECT_EQ(looping->GetKind(), Sound::kSourceIntroLoop);
  ASSERT_TRUE(engine->Play(looping));
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  EXPECT_TRUE(engine->IsPlaying(looping));
  EXPECT_TRUE(engine->IsStarted(looping));
  ASSERT_TRUE(looping->SetLooping(false));
  ASSERT_TRUE(WaitFor([&] { return !engine->IsStarted(looping); }, 1000));

  // Not looping: intro then loop part once, then it has ended; a new Play starts at the intro.
  Sound::SoundSource* once = engine->CreateSource(sound, true, false);
  ASSERT_NE(once, nullptr);
  for (int round = 0; round < 2; ++round) {
    const Clock::time_point start = Clock::now();
    ASSERT_TRUE(engine->Play(once));
    ASSERT_TRUE(WaitFor([&] { return !engine->IsStarted(once); }, 2000));
    EXPECT_GE(SecondsSince(start), 0.18);
  }
  // The source that looped before plays its intro again as well.
  const Clock::time_point start = Clock::now();
  ASSERT_TRUE(engine->Play(looping));
  ASSERT_TRUE(WaitFor([&] { return !engine->IsStarted(looping); }, 2000));
  EXPECT_GE(SecondsSince(start), 0.18);
}

TEST_F(SoundEngineTest, SettersKeepOnlyWhatOpenALAccepts) {
  const std::string path = Write("tone.wav", MakeWave(1, 16, 22050, 2205, Sine(600, 0.4f, 22050)));
  Sound::SoundSource* source = engine->CreateSource(engine->LoadSound(path, 0.0f), false, false);
  ASSERT_NE(source, nullptr);
  EXPECT_TRUE(source->SetGain(0.5f));
  EXPECT_FALSE(source->SetGain(-1.0f));
  EXPECT_FLOAT_EQ(source->GetGain(), 0.5f);
  EXPECT_TRUE(source->SetPitch(1.5f));
  EXPECT_FALSE(source->SetPitch(-2.0f));
  EXPECT_FLOAT_EQ(source->GetPitch(), 1.5f);
  EXPECT_TRUE(source->SetReferenceDistance(4.0f));
  EXPECT_FALSE(source->SetReferenceDistance(-4.0f));
  EXPECT_TRUE(source->SetPosition(Math::Vector3D(1.0f, 2.0f, 3.0f)));
  EXPECT_FLOAT_EQ(source->GetPosition()[2], 3.0f);
  EXPECT_TRUE(source->SetLooping(true));
  EXPECT_TRUE(source->IsLooping());
  ASSERT_TRUE(engine->Play(source));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_TRUE(engine->IsStarted(source)) << "a looping single-buffer source keeps going";
  EXPECT_TRUE(source->SetLooping(false));
  ASSERT_TRUE(WaitFor([&] { return !engine->IsStarted(source); }, 1000));

  EXPECT_TRUE(engine->SetMasterVolume(0.25f));
  EXPECT_FALSE(engine->SetMasterVolume(-1.0f));
  EXPECT_FLOAT_EQ(engine->GetMasterVolume(), 0.25f);
  EXPECT_TRUE(engine->SetListenerPosition(Math::Vector3D(5.0f, -1.0f, 0.5f)));
  EXPECT_FLOAT_EQ(engine->GetListenerPosition()[0], 5.0f);
  EXPECT_FLOAT_EQ(engine->GetListenerPosition()[1], -1.0f);
}

TEST_F(SoundEngineTest, NullAndForeignSourcesAreRefused) {
  EXPECT_EQ(engine->CreateSource(nullptr, true, false), nullptr);
  EXPECT_FALSE(engine->Play(nullptr));
  EXPECT_FALSE(engine->Stop(nullptr));
  EXPECT_FALSE(engine->Rewind(nullptr));
  EXPECT_FALSE(engine->Pause(nullptr));
  EXPECT_FALSE(engine->IsPlaying(nullptr));
  EXPECT_FALSE(engine->IsStarted(nullptr));
  EXPECT_FALSE(engine->DestroySource(nullptr));
  Sound::SoundSource stranger;
  EXPECT_FALSE(engine->DestroySource(&stranger));

  const std::string path = Write("tone.wav", MakeWave(1, 16, 22050, 2205, Sine(600, 0.4f, 22050)));
  Sound::SoundSource* source = engine->CreateSource(engine->LoadSound(path, 0.0f), true, false);
  ASSERT_NE(source, nullptr);
  const std::size_t count = engine->GetSourceCount();
  EXPECT_TRUE(engine->DestroySource(source));
  EXPECT_EQ(engine->GetSourceCount(), count - 1);
  EXPECT_FALSE(engine->DestroySource(source));
}

TEST_F(SoundEngineTest, ResetAndShutdownWhileSoundsPlay) {
  const std::string tone = Write("tone.wav", MakeWave(2, 16, 22050, 22050, Sine(600, 0.4f, 22050)));
  const std::string music = Write("music.ogg", MakeOgg(2, 44100, 44100 * 3, Sine(220, 0.4f, 44100)));
  auto startEverything = [&] {
    Sound::SoundSource* a = engine->CreateSource(engine->LoadSound(tone, 0.0f), true, true);
    Sound::SoundSource* b = engine->CreateSource(engine->LoadSound(tone, 0.5f), true, true);
    Sound::SoundSource* c = engine->CreateSource(engine->LoadSoundOrStream(music, 1), true, true);
    ASSERT_TRUE(a && b && c);
    EXPECT_TRUE(engine->Play(a));
    EXPECT_TRUE(engine->Play(b));
    EXPECT_TRUE(engine->Play(c));
  };
  startEverything();
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  engine->Reset();
  EXPECT_EQ(engine->GetSourceCount(), 0u);
  EXPECT_EQ(engine->GetLoadedSoundCount(), 0u);
  EXPECT_EQ(engine->FindLoadedSound(tone, 0.0f), nullptr);

  // Releasing the sounds under playing sources stops those sources first.
  startEverything();
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  engine->ReleaseAllSounds();
  EXPECT_EQ(engine->GetLoadedSoundCount(), 0u);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));

  startEverything();
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  engine->Shutdown();
  EXPECT_FALSE(engine->IsInitialized());
  EXPECT_EQ(engine->GetSourceCount(), 0u);
  EXPECT_EQ(engine->LoadSound(tone, 0.0f), nullptr) << "a shut-down engine is silent";
  engine->Shutdown();

  // It starts again, and its destructor copes with sounds still playing.
  ASSERT_TRUE(engine->Initialize(-1, 30));
  startEverything();
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  engine.reset();
}

TEST_F(SoundEngineTest, MalformedFilesAreRejectedAndLeaveNothingBehind) {
  const std::string good = MakeWave(1, 16, 22050, 2205, Constant(0.2f));
  const std::string ogg = MakeOgg(1, 22050, 22050, Sine(440, 0.4f, 22050));
  ASSERT_GT(ogg.size(), 400u);
  const std::pair<const char*, std::string> rejected[] = {
      {"empty.wav", ""},
      {"truncated.wav", good.substr(0, 30)},
      {"no_data.wav", Riff(Chunk("fmt ", FormatBody(1, 1, 22050, 16)))},
      {"data_first.wav", Riff(Chunk("data", std::string(100, '\0')) + Chunk("fmt ", FormatBody(1, 1, 22050, 16)))},
      {"24bit.wav", Riff(Chunk("fmt ", FormatBody(1, 1, 22050, 24)) + Chunk("data", std::string(300, '\0')))},
      {"ogg_named.wav", ogg},
      {"empty.ogg", ""},
      {"truncated.ogg", ogg.substr(0, 100)},
      {"garbage.ogg", std::string(5000, 'x')},
      {"wave_named.ogg", good},
      {"song.mp3", good},
      {"ab", good},
  };
  for (const auto& [name, bytes] : rejected) {
    SCOPED_TRACE(name);
    const std::string path = Write(name, bytes);
    EXPECT_EQ(engine->LoadSound(path, 0.0f), nullptr);
    EXPECT_EQ(engine->LoadSound(path, 0.5f), nullptr);
    EXPECT_EQ(engine->LoadStream(path, 0.5f, 2), nullptr);
    EXPECT_EQ(engine->LoadSoundOrStream(path, 0), nullptr);
  }
  EXPECT_EQ(engine->LoadSound("/nonexistent/folder/file.wav", 0.0f), nullptr);
  EXPECT_EQ(engine->GetLoadedSoundCount(), 0u);

  // A data chunk that claims far more than the file holds plays the bytes that are there.
  const std::string lying = Riff(Chunk("fmt ", FormatBody(1, 1, 22050, 16))) + "data" + U32(0x7FFFFFF0) +
                            std::string(4410, '\x01');
  const std::string path = Write("lying.wav", lying);
  for (Sound::SoundData* sound : {engine->LoadSound(path, 0.0f), engine->LoadStream(path, 0.05f, 2)}) {
    ASSERT_NE(sound, nullptr);
    EXPECT_NEAR(sound->GetLength(), 0.1, 1e-6);
    Sound::SoundSource* source = engine->CreateSource(sound, true, false);
    ASSERT_NE(source, nullptr);
    ASSERT_TRUE(engine->Play(source));
    ASSERT_TRUE(WaitFor([&] { return !engine->IsStarted(source); }, 2000));
  }
}
