// Sound records on their own: opening, whole loads and chunk reads need no output device.
#include <gtest/gtest.h>

#include <cstring>

#include "audio/Sound_Data.h"
#include "tests/audio/AudioTestFiles.h"
#include "tests/support/TestSupport.h"

using namespace AudioTest;

namespace {

class SoundDataTest : public ::testing::Test {
 protected:
  void SetUp() override { Sound::EnableOggDecoding(); }
  void TearDown() override { Sound::DisableOggDecoding(); }
  std::string Write(const std::string& name, const std::string& bytes) { return m_folder.Write(name, bytes); }

 private:
  TestSupport::ScratchFolder m_folder{"velkor_sounddata"};
};

std::int16_t SampleAt(const std::vector<std::uint8_t>& data, std::size_t index) {
  std::int16_t value = 0;
  std::memcpy(&value, data.data() + 2 * index, 2);
  return value;
}

}  // namespace

TEST_F(SoundDataTest, LoadsWavBytesExactly) {
  const std::string bytes = MakeWave(2, 16, 8000, 800, Sine(300, 0.5f, 8000));
  const std::string path = Write("exact.wav", bytes);
  Sound::SoundData sound;
  ASSERT_EQ(sound.LoadWhole(path), Sound::kResultOk);
  const Sound::WaveInfo& wave = sound.GetWaveInfo();
  ASSERT_EQ(wave.dataSize, 3200u);
  EXPECT_EQ(std::memcmp(wave.data.data(), bytes.data() + 44, 3200), 0);
  EXPECT_EQ(wave.file, nullptr) << "the file is closed after a whole load";
  EXPECT_NE(sound.GetFormat(), 0u);
  EXPECT_EQ(sound.GetName(), path);
  std::uint32_t bytesRead = 7;
  EXPECT_EQ(sound.ReadChunk(bytesRead), Sound::kResultNotOpen);
  EXPECT_EQ(bytesRead, 0u);
  // Opening again resets the record first, also after a failure.
  EXPECT_EQ(sound.Open(path + ".missing.wav"), Sound::kResultFileError);
  EXPECT_TRUE(sound.GetName().empty());
  EXPECT_EQ(sound.ChooseFormat(), Sound::kResultNotOpen);
  EXPECT_EQ(sound.RewindData(), Sound::kResultNotOpen);
}

TEST_F(SoundDataTest, OggNeedsDecodingEnabled) {
  const std::string path = Write("quiet.ogg", MakeOgg(1, 8000, 8000, Constant(0.0f)));
  Sound::DisableOggDecoding();
  Sound::SoundData sound;
  EXPECT_EQ(sound.Open(path), Sound::kResultOggDisabled);
  Sound::EnableOggDecoding();
  EXPECT_EQ(sound.Open(path), Sound::kResultOk);
  EXPECT_NEAR(sound.GetLength(), 1.0, 1e-3);
  EXPECT_EQ(sound.GetWaveInfo().dataSize, 16000u);
}

TEST_F(SoundDataTest, DecodingContinuesPastAMissingPage) {
  // Noise fills many pages, so one can go missing from the middle.
  const auto noise = [](std::uint32_t frame, std::uint32_t) {
    return static_cast<float>((frame * 2654435761u) >> 16 & 0xFFFF) / 65536.0f - 0.5f;
  };
  std::string bytes = MakeOgg(1, 22050, 22050 * 8, noise, 0.1f);
  Sound::SoundData clean;
  ASSERT_EQ(clean.LoadWhole(Write("clean.ogg", bytes)), Sound::kResultOk);
  const std::uint32_t full = clean.GetWaveInfo().dataSize;
  ASSERT_NEAR(full, 22050u * 8 * 2, 4096u);
  // Drop a page from the middle: the decoder meets a gap in the page sequence, a hole.
  std::vector<std::size_t> pages;
  for (std::size_t at = bytes.find("OggS"); at != std::string::npos; at = bytes.find("OggS", at + 4)) pages.push_back(at);
  ASSERT_GE(pages.size(), 6u);
  const std::size_t middle = pages[pages.size() / 2];
  bytes.erase(middle, pages[pages.size() / 2 + 1] - middle);
  Sound::SoundData damaged;
  ASSERT_EQ(damaged.LoadWhole(Write("damaged.ogg", bytes)), Sound::kResultOk);
  EXPECT_GT(damaged.GetWaveInfo().dataSize, full * 3 / 4) << "decoding stopped at the hole";
  EXPECT_LE(damaged.GetWaveInfo().dataSize, full);
}

TEST_F(SoundDataTest, SixChannelOggComesOutInOpenALOrder) {
  // Channel levels 0.1 .. 0.6 in the file's (vorbis) order FL, C, FR, RL, RR, LFE.
  const std::string path = Write("six.ogg", MakeOgg(6, 22050, 22050, [](std::uint32_t, std::uint32_t channel) {
                                   return 0.1f * static_cast<float>(channel + 1);
                                 }));
  Sound::SoundData sound;
  ASSERT_EQ(sound.LoadWhole(path), Sound::kResultOk);
  const Sound::WaveInfo& wave = sound.GetWaveInfo();
  ASSERT_EQ(wave.channels, 6u);
  // OpenAL order FL, FR, C, LFE, RL, RR.
  const float expected[6] = {0.1f, 0.3f, 0.2f, 0.6f, 0.4f, 0.5f};
  const std::size_t frame = 11025;
  for (int k = 0; k < 6; ++k) {
    EXPECT_NEAR(SampleAt(wave.data, frame * 6 + k) / 32768.0f, expected[k], 0.05f) << "channel " << k;
  }
}

TEST_F(SoundDataTest, ChunkReadsStopAtTheEndOfTheData) {
  // A chunk after "data" must not be read as samples.
  const std::string samples(1000, '\x05');
  const std::string path =
      Write("tail.wav", Riff(Chunk("fmt ", FormatBody(1, 1, 8000, 16)) + Chunk("data", samples) +
                             Chunk("LIST", std::string(500, '\x7F'))));
  Sound::SoundData sound;
  ASSERT_EQ(sound.Open(path), Sound::kResultOk);
  EXPECT_EQ(sound.GetWaveInfo().dataSize, 1000u);
}
