// Sound objects and the juke box on OpenAL's null output: sources polled and released, restarts,
// positions, playlists, replays, crossfade arithmetic, stored forms and hostile streams.
#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "audio/Sound_Engine.h"
#include "core/Core_File.h"
#include "framework/Quillon_JukeBox.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_SoundObject.h"
#include "tests/audio/AudioTestFiles.h"
#include "tests/framework/FrameworkTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using Core::SmartPointer;

class MediaServices : public FrameworkTest::TestServices {
 public:
  Sound::SoundEngine* sound = nullptr;
  Sound::SoundEngine* GetSoundEngine() const override { return sound; }
};

class SoundObjectsTest : public FrameworkTest::FrameworkFixture {
 protected:
  void SetUp() override {
    FrameworkFixture::SetUp();
    media_.directory = services_.directory;
    media_.sceneGraph = services_.sceneGraph;
    media_.physics = services_.physics;
    media_.collision = services_.collision;
    Quillon::SetGameServices(&media_);
    if (!engine_.Initialize(-1, 5)) GTEST_SKIP() << "no audio output device opens (set ALSOFT_DRIVERS=null)";
    media_.sound = &engine_;
    ::mkdir((services_.directory + "/Resources/Sounds").c_str(), 0755);
    ::mkdir((services_.directory + "/Resources/MyJukeBoxes").c_str(), 0755);
  }
  void TearDown() override {
    media_.sound = nullptr;
    engine_.Shutdown();
    FrameworkFixture::TearDown();
  }
  // A 16-bit mono tone of that many seconds; returns the game-style path.
  std::string Tone(const std::string& folder, const std::string& name, float seconds) {
    const uint32_t frames = static_cast<uint32_t>(seconds * 8000.0f);
    const std::string wave = AudioTest::MakeWave(1, 16, 8000, frames, AudioTest::Sine(440.0f, 0.5f, 8000));
    EXPECT_TRUE(TestSupport::WriteWholeFile(services_.directory + "/Resources/" + folder + "/" + name, wave));
    return services_.directory + "\\Resources\\" + folder + "\\" + name;
  }
  bool WaitStopped(Sound::SoundSource* source) {
    return TestSupport::WaitFor([&] { return !engine_.IsStarted(source); }, 3000.0);
  }

  MediaServices media_;
  Sound::SoundEngine engine_;
};

TEST_F(SoundObjectsTest, OneShotReleasesItsSourceAfterItEndsAndPlaysAgainFromTheStart) {
  SmartPointer<Quillon::Sound> sound(new Quillon::Sound(Tone("Sounds", "blip.wav", 0.05f), 0, 10.0f, false, 0.0f, false));
  ASSERT_NE(sound->GetSoundData(), nullptr);
  EXPECT_EQ(sound->GetFileName(), services_.directory + "\\Resources\\Sounds\\blip.wav");
  const size_t idle = engine_.GetSourceCount();
  EXPECT_TRUE(sound->Play(false));
  Sound::SoundSource* first = sound->GetSource();
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(sound->Play(false)) << "already playing";
  EXPECT_EQ(sound->GetSource(), first);
  ASSERT_TRUE(WaitStopped(first));
  sound->Tick(0.016f);
  EXPECT_EQ(sound->GetSource(), nullptr);
  EXPECT_EQ(engine_.GetSourceCount(), idle);
  EXPECT_TRUE(sound->Play(false));
  EXPECT_NE(sound->GetSource(), nullptr);

  // The same file and fraction share one record.
  SmartPointer<Quillon::Sound> twin(new Quillon::Sound(sound->GetFileName(), 0, 10.0f, false, 0.0f, false));
  EXPECT_EQ(twin->GetSoundData(), sound->GetSoundData());
  SmartPointer<Quillon::Sound> missing(new Quillon::Sound(services_.directory + "\\Resources\\Sounds\\nothing.wav", 0, 1.0f, false, 0.0f, false));
  EXPECT_EQ(missing->GetSoundData(), nullptr);
  EXPECT_FALSE(missing->Play(false));
  missing->Tick(0.1f);
}

TEST_F(SoundObjectsTest, RestartVolumePitchLoopingAndDestroy) {
  SmartPointer<Quillon::Sound> sound(new Quillon::Sound(Tone("Sounds", "hum.wav", 1.0f), 0, 10.0f, true, 0.0f, true));
  sound->SetVolume(0.5f);
  sound->SetVolume(-1.0f);
  sound->SetPitch(0.0f);
  sound->SetPitch(1.5f);
  EXPECT_EQ(sound->GetVolume(), 0.5f);
  EXPECT_EQ(sound->GetPitch(), 1.5f);
  EXPECT_TRUE(sound->Play(false));
  EXPECT_EQ(sound->GetSource()->GetGain(), 0.5f);
  EXPECT_EQ(sound->GetSource()->GetPitch(), 1.5f);
  EXPECT_TRUE(sound->GetSource()->IsLooping());
  EXPECT_TRUE(sound->Play(true)) << "a restart plays from the start";
  EXPECT_TRUE(sound->IsPlaying());
  sound->SetVolume(0.25f);
  EXPECT_EQ(sound->GetVolume(), 0.25f);
  const size_t before = engine_.GetSourceCount();
  sound->Destroy();
  EXPECT_EQ(sound->GetSource(), nullptr);
  EXPECT_EQ(engine_.GetSourceCount(), before - 1) << "a destroyed sound gives its source back";
}

TEST_F(SoundObjectsTest, PositionedSoundsSitAtTheirLayersDepth) {
  SmartPointer<Quillon::Layer> layer(new Quillon::Layer());
  layer->SetZOrder(-30.0f);
  auto* sound = new Quillon::Sound(Tone("Sounds", "hum.wav", 1.0f), 2, 42.0f, true, 0.0f, true);
  layer->AddGameObject(sound);
  sound->SetPosition(12.0f, -7.0f);
  ASSERT_TRUE(sound->Play(false));
  sound->Tick(0.016f);
  const float* position = sound->GetSource()->GetPosition();
  EXPECT_EQ(position[0], 12.0f);
  EXPECT_EQ(position[1], -7.0f);
  EXPECT_EQ(position[2], -30.0f);
  sound->Destroy();
  layer->Destroy();
}

TEST_F(SoundObjectsTest, StoredSoundReloadsFromTheSoundsFolderAndPlaysOn) {
  SmartPointer<Quillon::Sound> sound(new Quillon::Sound(Tone("Sounds", "hum.wav", 1.0f), 1, 7.0f, true, 0.0f, false));
  sound->SetPitch(2.0f);
  sound->SetName("engine");
  ASSERT_TRUE(sound->Play(false));
  Core::MemoryFile out;
  out.WriteObject(sound.Get());
  Core::MemoryFile in(out.GetBuffer().GetData(), out.GetBuffer().GetSize());
  SmartPointer<Core::Object> object(in.ReadObject());
  ASSERT_FALSE(in.HasFailed());
  auto* loaded = dynamic_cast<Quillon::Sound*>(object.Get());
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->GetSoundData(), sound->GetSoundData());
  EXPECT_EQ(loaded->GetPositionMode(), 1u);
  EXPECT_EQ(loaded->GetIntensity(), 7.0f);
  EXPECT_EQ(loaded->GetPitch(), 2.0f);
  EXPECT_TRUE(loaded->GetLooping());
  EXPECT_TRUE(loaded->IsPlaying());
  EXPECT_EQ(loaded->GetName(), "engine");

  SmartPointer<Quillon::Sound> copy(static_cast<Quillon::Sound*>(sound->Clone()));
  EXPECT_EQ(copy->GetSoundData(), sound->GetSoundData());
  EXPECT_EQ(copy->GetPitch(), 2.0f);
  EXPECT_EQ(copy->GetSource(), nullptr);

  // Cuts fail cleanly; a name that leaves the sounds folder loads nothing.
  for (uint32_t size = 0; size < out.GetBuffer().GetSize(); size += 5) {
    Core::MemoryFile cut(out.GetBuffer().GetData(), size);
    SmartPointer<Core::Object> partial(cut.ReadObject());
    EXPECT_TRUE(cut.HasFailed() || partial.Get() == nullptr) << size;
  }
  std::string data(reinterpret_cast<const char*>(out.GetBuffer().GetData()), out.GetBuffer().GetSize());
  const size_t at = data.find("hum.wav");
  ASSERT_NE(at, std::string::npos);
  data.replace(at, 7, "../hum");
  data[at - 4] = 6;
  Core::MemoryFile hostile(data.data(), static_cast<uint32_t>(data.size()));
  SmartPointer<Core::Object> escaped(hostile.ReadObject());
  auto* refused = dynamic_cast<Quillon::Sound*>(escaped.Get());
  ASSERT_NE(refused, nullptr);
  EXPECT_EQ(refused->GetSoundData(), nullptr);
}

class JukeBoxTest : public SoundObjectsTest {
 protected:
  void SetUp() override {
    SoundObjectsTest::SetUp();
    if (IsSkipped()) return;
    files_ = {Tone("MyJukeBoxes", "a.wav", 4.0f), services_.directory + "\\Resources\\MyJukeBoxes\\missing.wav",
              Tone("MyJukeBoxes", "b.wav", 4.0f), Tone("MyJukeBoxes", "c.wav", 4.0f)};
    box_ = new Quillon::JukeBox(files_);
  }
  std::vector<std::string> files_;
  SmartPointer<Quillon::JukeBox> box_;
};

TEST_F(JukeBoxTest, DefaultPlaylistHoldsTheFilesThatLoaded) {
  ASSERT_EQ(box_->GetPlaylistCount(), 1u);
  Quillon::Playlist* list = box_->GetCurrentPlaylist();
  EXPECT_EQ(list->GetName(), "Default");
  ASSERT_EQ(list->GetTrackCount(), 3u);
  EXPECT_EQ(list->GetTracks()[1].file, files_[2]);
  EXPECT_TRUE(Quillon::Playlist().AllPlayed());
  EXPECT_FALSE(box_->SetCurrentPlaylist("nope"));
  EXPECT_EQ(box_->GetCurrentPlaylist(), list);
}

TEST_F(JukeBoxTest, PlayMusicPicksTracksAndCrossfadesByTheFadeTime) {
  EXPECT_TRUE(box_->PlayMusic(7));
  EXPECT_EQ(box_->GetCurrentTrack(), 0);
  box_->SetShuffle(true);
  box_->GetCurrentPlaylist()->GetTracks()[1].played = 1;
  EXPECT_TRUE(box_->PlayMusic(-1));
  EXPECT_NE(box_->GetCurrentTrack(), 1) << "shuffle picks an unplayed track";
  box_->SetShuffle(false);

  box_->SetFadeTime(-3.0f);
  EXPECT_EQ(box_->GetFadeTime(), 0.0f);
  box_->SetFadeTime(1.0f);
  ASSERT_TRUE(box_->PlayMusic(0));
  EXPECT_EQ(box_->GetMusicVolume(), 0.0f);
  EXPECT_FLOAT_EQ(box_->GetFadeInRate(), 1.0f);
  box_->Update(0.25f);
  EXPECT_FLOAT_EQ(box_->GetMusicVolume(), 0.25f);
  box_->Update(0.5f);
  EXPECT_FLOAT_EQ(box_->GetMusicVolume(), 0.75f);
  Sound::SoundSource* first = box_->GetCurrentSource();

  ASSERT_TRUE(box_->PlayMusic(1));
  EXPECT_EQ(box_->GetFadingOutSource(), first);
  EXPECT_FLOAT_EQ(box_->GetFadeOutRate(), -0.75f);
  box_->Update(0.5f);
  EXPECT_FLOAT_EQ(first->GetGain(), 0.375f);
  EXPECT_FLOAT_EQ(box_->GetMusicVolume(), 0.5f);
  box_->Update(0.6f);
  EXPECT_EQ(box_->GetFadingOutSource(), nullptr);
  EXPECT_FLOAT_EQ(box_->GetMusicVolume(), 1.0f) << "the fade stops at the target";

  // The same record again: the fading copy goes at once instead of overlapping.
  ASSERT_TRUE(box_->PlayMusic(1));
  EXPECT_EQ(box_->GetFadingOutSource(), nullptr);

  // Within the fade time of the end the next track fades in over what is left.
  box_->Update(1.0f);
  box_->Update(1.0f);
  box_->Update(0.9f);
  EXPECT_EQ(box_->GetCurrentTrack(), 1);
  box_->Update(0.2f);
  EXPECT_EQ(box_->GetCurrentTrack(), 2);
  ASSERT_NE(box_->GetFadingOutSource(), nullptr);
  EXPECT_NEAR(box_->GetFadeOutRate(), -1.0f / 0.9f, 1e-3f);
  EXPECT_NEAR(box_->GetFadingOutSource()->GetGain(), 1.0f - 0.2f / 0.9f, 1e-3f);

  EXPECT_FALSE(box_->NextTrack()) << "no wrap after the last track";
  EXPECT_EQ(box_->GetCurrentTrack(), 2);
}

TEST_F(JukeBoxTest, NoFadeTimeJumpsToTheVolumeAndDropsTheOldTrackNextUpdate) {
  ASSERT_TRUE(box_->PlayMusic(0));
  EXPECT_FALSE(box_->PreviousTrack());
  box_->Update(0.016f);
  EXPECT_EQ(box_->GetMusicVolume(), 1.0f);
  ASSERT_TRUE(box_->NextTrack());
  ASSERT_NE(box_->GetFadingOutSource(), nullptr);
  EXPECT_EQ(box_->GetFadeOutRate(), 0.0f) << "no infinite rate from a zero fade time";
  box_->Update(0.0f);
  EXPECT_EQ(box_->GetFadingOutSource(), nullptr);
  EXPECT_EQ(box_->GetMusicVolume(), 1.0f);

  box_->StopMusic();
  EXPECT_FALSE(box_->IsMusicOn());
  EXPECT_EQ(box_->GetCurrentTrack(), -1);
}

TEST_F(JukeBoxTest, AVolumeSetBeforeTheMusicStartsIsTheVolumeItPlaysAt) {
  // As a level starts its music: volume first, with no track playing yet, then play.
  box_->SetFadeTime(1.0f);
  box_->SetMusicVolume(0.5f, 0.0f);
  EXPECT_EQ(box_->GetTargetVolume(), 0.5f);
  ASSERT_TRUE(box_->PlayMusic(-1));
  for (int frame = 0; frame < 72; ++frame) box_->Update(1.0f / 60.0f);
  EXPECT_FLOAT_EQ(box_->GetMusicVolume(), 0.5f) << "faded in to the volume asked for, not to full";
  // Kept across a stop for the next start, and no volume that is not a number is taken.
  box_->StopMusic();
  box_->SetMusicVolume(0.3f, 0.0f);
  box_->SetMusicVolume(std::nanf(""), 0.0f);
  EXPECT_EQ(box_->GetTargetVolume(), 0.3f);
  box_->SetFadeTime(0.0f);
  ASSERT_TRUE(box_->PlayMusic(1));
  box_->Update(0.016f);
  EXPECT_FLOAT_EQ(box_->GetMusicVolume(), 0.3f);
}

TEST_F(JukeBoxTest, LoopedTrackIsHeardAgainBeforeTheListMovesOnAndRepeatStartsOver) {
  std::vector<std::string> shortFiles = {Tone("MyJukeBoxes", "s1.wav", 0.04f), Tone("MyJukeBoxes", "s2.wav", 0.04f)};
  SmartPointer<Quillon::JukeBox> box(new Quillon::JukeBox(shortFiles));
  Quillon::Playlist* loops = box->AddPlaylist("loops");
  ASSERT_TRUE(loops->AddTrack(shortFiles[0], 2));
  ASSERT_TRUE(loops->AddTrack(shortFiles[1], 0));
  ASSERT_TRUE(box->SetCurrentPlaylist("loops"));
  ASSERT_TRUE(box->PlayMusic(0));
  uint32_t replays = 0;
  bool moved = TestSupport::WaitFor(
      [&] {
        box->Update(0.001f);
        if (box->GetCurrentTrack() == 0) replays = std::max(replays, box->GetRepeatCounter());
        return box->GetCurrentTrack() == 1;
      },
      5000.0);
  ASSERT_TRUE(moved);
  EXPECT_EQ(replays, 2u);
  // Without repeat the box stays on with no source after the last track.
  ASSERT_TRUE(TestSupport::WaitFor(
      [&] {
        box->Update(0.001f);
        return box->GetCurrentSource() == nullptr;
      },
      5000.0));
  EXPECT_TRUE(box->IsMusicOn());
  box->Update(0.001f);
  EXPECT_EQ(box->GetCurrentSource(), nullptr);
  // With repeat it starts over at the first track.
  box->SetRepeat(true);
  ASSERT_TRUE(box->PlayMusic(1));
  ASSERT_TRUE(TestSupport::WaitFor(
      [&] {
        box->Update(0.001f);
        return box->GetCurrentTrack() == 0;
      },
      5000.0));
}

TEST_F(JukeBoxTest, StoredJukeBoxKeepsItsPlaylistsWithoutGrowingAndPlaysAgain) {
  Quillon::Playlist* extra = box_->AddPlaylist("calm");
  extra->AddTrack(files_[3], 3);
  box_->SetRepeat(true);
  box_->SetFadeTime(0.5f);
  ASSERT_TRUE(box_->SetCurrentPlaylist("calm"));
  box_->StopMusic();
  SmartPointer<Quillon::JukeBox> loaded;
  for (int round = 0; round < 2; ++round) {
    Core::MemoryFile out;
    out.WriteObject(round == 0 ? box_.Get() : loaded.Get());
    Core::MemoryFile in(out.GetBuffer().GetData(), out.GetBuffer().GetSize());
    Core::Object* object = in.ReadObject();
    ASSERT_FALSE(in.HasFailed());
    loaded = dynamic_cast<Quillon::JukeBox*>(object);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->GetPlaylistCount(), 2u) << "round " << round;
    EXPECT_EQ(loaded->GetSounds().size(), 3u);
    ASSERT_NE(loaded->GetCurrentPlaylist(), nullptr);
    EXPECT_EQ(loaded->GetCurrentPlaylist()->GetName(), "calm");
    ASSERT_EQ(loaded->GetCurrentPlaylist()->GetTrackCount(), 1u);
    EXPECT_EQ(loaded->GetCurrentPlaylist()->GetTracks()[0].loopCount, 3);
    EXPECT_TRUE(loaded->GetRepeat());
    EXPECT_EQ(loaded->GetFadeTime(), 0.5f);
    EXPECT_TRUE(loaded->IsPlaying()) << "a box saved while stopped plays after loading";
  }

  Core::MemoryFile out;
  out.WriteObject(box_.Get());
  const auto& bytes = out.GetBuffer();
  for (uint32_t size = 0; size < bytes.GetSize(); size += 9) {
    Core::MemoryFile cut(bytes.GetData(), size);
    Core::Object* object = cut.ReadObject();
    EXPECT_TRUE(cut.HasFailed() || object == nullptr) << size;
    if (object != nullptr && object->GetReferenceCount() == 0) SmartPointer<Core::Object> discard(object);
  }
  // A huge sound count and a name climbing out of the game directory.
  std::string data(reinterpret_cast<const char*>(bytes.GetData()), bytes.GetSize());
  const size_t name = data.find("\\Resources\\MyJukeBoxes\\a.wav");
  ASSERT_NE(name, std::string::npos);
  std::string huge = data;
  huge[name - 8 + 3] = '\x7f';
  Core::MemoryFile hugeIn(huge.data(), static_cast<uint32_t>(huge.size()));
  Core::Object* refused = hugeIn.ReadObject();
  EXPECT_TRUE(hugeIn.HasFailed());
  if (refused != nullptr && refused->GetReferenceCount() == 0) SmartPointer<Core::Object> discard(refused);
  std::string climbing = data;
  climbing.replace(name, 11, "\\Resources\\..");
  climbing[name - 4] = static_cast<char>(climbing[name - 4] + 2);
  Core::MemoryFile climbIn(climbing.data(), static_cast<uint32_t>(climbing.size()));
  SmartPointer<Core::Object> climbed(climbIn.ReadObject());
  auto* box = dynamic_cast<Quillon::JukeBox*>(climbed.Get());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->GetSounds().size(), 2u);
}

TEST_F(JukeBoxTest, ScriptClassesHaveTheirMethodTables) {
  EXPECT_EQ(MethodCount("Sound"), 123);
  EXPECT_EQ(MethodCount("JukeBox"), 17);
  SetGlobal("box", box_.Get());
  Run(R"(
    box:SetFadeTime(-2)
    fade = box:GetFadeTime()
    box:SetMusicVolume(0.5)
    box:PlayMusic()
    box:SetMusicVolume(0.5)
    track = box:GetCurrentTrack()
    ok = box:SetCurrentPlaylist("Default")
    box:NextTrack()
  )");
  EXPECT_EQ(GlobalNumber("fade"), 0.0);
  EXPECT_EQ(GlobalNumber("track"), 0.0);
  EXPECT_EQ(box_->GetTargetVolume(), 0.5f);
}

}  // namespace
