#include <gtest/gtest.h>

#include <cstring>

#include "audio/Sound_WaveParser.h"
#include "tests/audio/AudioTestFiles.h"

using namespace AudioTest;

namespace {

std::int32_t Parse(const std::string& bytes, Sound::WaveFormat& format) {
  return Sound::ParseWave(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), format);
}

std::string Samples(std::size_t bytes) { return std::string(bytes, '\x10'); }

// An extensible "fmt " body: the plain 16 bytes, extra size 22, valid bits, mask, sub-format.
std::string ExtensibleBody(std::uint16_t channels, std::uint16_t bits, std::uint32_t mask) {
  return FormatBody(0xFFFE, channels, 44100, bits) + U16(22) + U16(bits) + U32(mask) + std::string(16, '\x01');
}

}  // namespace

TEST(WaveParser, AcceptsPlainPcmOfEveryPlayableLayout) {
  struct Case {
    std::uint16_t channels, bits;
    const char* format;
  };
  for (const Case& c : {Case{1, 8, "AL_FORMAT_MONO8"}, Case{1, 16, "AL_FORMAT_MONO16"},
                        Case{2, 8, "AL_FORMAT_STEREO8"}, Case{2, 16, "AL_FORMAT_STEREO16"}}) {
    SCOPED_TRACE(c.format);
    const std::string file = MakeWave(c.channels, c.bits, 22050, 2205, Constant(0.25f));
    Sound::WaveFormat format;
    ASSERT_EQ(Parse(file, format), Sound::kResultOk);
    EXPECT_EQ(format.formatType, 1u);
    EXPECT_EQ(format.channels, c.channels);
    EXPECT_EQ(format.bitsPerSample, c.bits);
    EXPECT_EQ(format.blockAlignment, c.channels * c.bits / 8);
    EXPECT_EQ(format.averageBytesPerSecond, 22050u * format.blockAlignment);
    EXPECT_EQ(format.dataSize, 2205u * format.blockAlignment);
    EXPECT_EQ(format.dataOffset, 44u);
    EXPECT_NEAR(format.length, 0.1, 1e-9);
    EXPECT_STREQ(Sound::ChooseFormatName(Sound::kKindWav, format), c.format);
  }
}

TEST(WaveParser, WalksPastOtherChunksAndTheirPadBytes) {
  // An odd-sized chunk before "fmt " and before "data"; identifiers in mixed case.
  const std::string file = "riff" + U32(0) + "wave" + Chunk("LIST", "abc") + Chunk("FmT ", FormatBody(1, 1, 8000, 16)) +
                           Chunk("junk", "12345") + Chunk("data", Samples(800));
  Sound::WaveFormat format;
  ASSERT_EQ(Parse(file, format), Sound::kResultOk);
  EXPECT_EQ(format.dataSize, 800u);
  EXPECT_EQ(format.dataOffset, file.size() - 800);
}

TEST(WaveParser, ReadsTheExtensibleHeader) {
  Sound::WaveFormat format;
  ASSERT_EQ(Parse(Riff(Chunk("fmt ", ExtensibleBody(2, 16, 3)) + Chunk("data", Samples(400))), format),
            Sound::kResultOk);
  EXPECT_EQ(format.formatType, 2u);
  EXPECT_EQ(format.channelMask, 3u);
  EXPECT_EQ(format.validBitsPerSample, 16u);
  EXPECT_EQ(format.subFormat[0], 1u);
  EXPECT_STREQ(Sound::ChooseFormatName(Sound::kKindWav, format), "AL_FORMAT_STEREO16");

  ASSERT_EQ(Parse(Riff(Chunk("fmt ", ExtensibleBody(6, 16, 63)) + Chunk("data", Samples(1200))), format),
            Sound::kResultOk);
  EXPECT_STREQ(Sound::ChooseFormatName(Sound::kKindWav, format), "AL_FORMAT_51CHN16");
  // A six-channel sound with the wrong speaker mask has no format.
  EXPECT_EQ(Parse(Riff(Chunk("fmt ", ExtensibleBody(6, 16, 7)) + Chunk("data", Samples(1200))), format),
            Sound::kResultFormatError);
}

TEST(WaveParser, RejectsBrokenHeaders) {
  const std::string data = Chunk("data", Samples(64));
  const std::string goodFormat = Chunk("fmt ", FormatBody(1, 1, 8000, 16));
  struct Case {
    const char* what;
    std::string file;
  };
  const Case cases[] = {
      {"empty file", ""},
      {"truncated RIFF header", Riff(goodFormat + data).substr(0, 11)},
      {"not RIFF", "RIFX" + Riff(goodFormat + data).substr(4)},
      {"not WAVE", Riff(goodFormat + data).replace(8, 4, "AVI ")},
      {"no chunks", Riff("")},
      {"no data chunk", Riff(goodFormat)},
      {"no fmt chunk", Riff(data)},
      {"data before fmt", Riff(data + goodFormat)},
      {"fmt shorter than a PCM header", Riff(Chunk("fmt ", FormatBody(1, 1, 8000, 16).substr(0, 14)) + data)},
      {"extensible fmt shorter than its header", Riff(Chunk("fmt ", FormatBody(0xFFFE, 2, 8000, 16) + U16(0)) + data)},
      {"fmt chunk cut by the end of the file", Riff(Chunk("fmt ", FormatBody(1, 1, 8000, 16))).substr(0, 30)},
      {"fmt of 45 bytes is skipped", Riff(Chunk("fmt ", FormatBody(1, 1, 8000, 16) + std::string(29, '\0')) + data)},
      {"compressed tag", Riff(Chunk("fmt ", FormatBody(2, 1, 8000, 16)) + data)},
      {"24-bit samples", Riff(Chunk("fmt ", FormatBody(1, 1, 8000, 24)) + data)},
      {"4-bit samples", Riff(Chunk("fmt ", FormatBody(1, 1, 8000, 4)) + data)},
      {"zero channels", Riff(Chunk("fmt ", FormatBody(1, 0, 8000, 16)) + data)},
      {"zero rate", Riff(Chunk("fmt ", FormatBody(1, 1, 0, 16)) + data)},
      {"absurd rate", Riff(Chunk("fmt ", FormatBody(1, 1, 0x7FFFFFFF, 16)) + data)},
      {"lying block alignment",
       Riff(Chunk("fmt ", U16(1) + U16(2) + U32(8000) + U32(32000) + U16(0) + U16(16)) + data)},
      {"three 8-bit channels", Riff(Chunk("fmt ", FormatBody(1, 3, 8000, 8)) + data)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Sound::WaveFormat format;
    EXPECT_EQ(Parse(c.file, format), Sound::kResultFormatError);
  }
  Sound::WaveFormat format;
  EXPECT_EQ(Sound::ParseWave(nullptr, 100, format), Sound::kResultFormatError);
}

TEST(WaveParser, ClampsALyingDataSizeToWholeFramesPresent) {
  // Declares 1 GiB of stereo 16-bit samples but holds 1001 bytes.
  const std::string file = Riff(Chunk("fmt ", FormatBody(1, 2, 44100, 16))) + "data" + U32(0x40000000) + Samples(1001);
  Sound::WaveFormat format;
  ASSERT_EQ(Parse(file, format), Sound::kResultOk);
  EXPECT_EQ(format.dataSize, 1000u);
  // A declared odd size shorter than the file is cut to whole frames too.
  const std::string odd = Riff(Chunk("fmt ", FormatBody(1, 2, 44100, 16)) + Chunk("data", Samples(7)));
  ASSERT_EQ(Parse(odd, format), Sound::kResultOk);
  EXPECT_EQ(format.dataSize, 4u);
  // The declared byte rate is replaced by the one the format implies.
  const std::string wrongRate =
      Riff(Chunk("fmt ", U16(1) + U16(1) + U32(8000) + U32(1) + U16(2) + U16(16)) + Chunk("data", Samples(16000)));
  ASSERT_EQ(Parse(wrongRate, format), Sound::kResultOk);
  EXPECT_EQ(format.averageBytesPerSecond, 16000u);
  EXPECT_DOUBLE_EQ(format.length, 1.0);
}

TEST(WaveParser, DetectsTheKindFromTheNameEnding) {
  std::uint32_t kind = 99;
  EXPECT_EQ(Sound::DetectKind("a.wav", kind), Sound::kResultOk);
  EXPECT_EQ(kind, Sound::kKindWav);
  EXPECT_EQ(Sound::DetectKind("Music.Wav", kind), Sound::kResultOk);
  EXPECT_EQ(kind, Sound::kKindWav);
  EXPECT_EQ(Sound::DetectKind("x.OGG", kind), Sound::kResultOk);
  EXPECT_EQ(kind, Sound::kKindOgg);
  EXPECT_EQ(Sound::DetectKind("x.oGg", kind), Sound::kResultOk);
  EXPECT_EQ(Sound::DetectKind("song.mp3", kind), Sound::kResultFormatError);
  EXPECT_EQ(Sound::DetectKind("wa", kind), Sound::kResultFileError);
  EXPECT_EQ(Sound::DetectKind("", kind), Sound::kResultFileError);
  EXPECT_EQ(Sound::DetectKind(nullptr, kind), Sound::kResultFileError);
}

TEST(WaveParser, ChoosesFormatsOnlyForSupportedLayouts) {
  Sound::WaveFormat format;
  format.bitsPerSample = 16;
  for (std::uint16_t channels : {1, 2, 4, 6}) {
    format.channels = channels;
    EXPECT_NE(Sound::ChooseFormatName(Sound::kKindOgg, format), nullptr) << channels;
  }
  format.channels = 3;
  EXPECT_EQ(Sound::ChooseFormatName(Sound::kKindOgg, format), nullptr);
  format.formatType = 1;
  format.channels = 4;
  EXPECT_STREQ(Sound::ChooseFormatName(Sound::kKindWav, format), "AL_FORMAT_QUAD16");
  format.bitsPerSample = 8;
  EXPECT_EQ(Sound::ChooseFormatName(Sound::kKindWav, format), nullptr);
  format.formatType = 2;
  format.bitsPerSample = 16;
  const std::pair<std::uint16_t, std::uint32_t> extensible[] = {{2, 48}, {4, 51}, {7, 319}, {8, 1599}};
  const char* names[] = {"AL_FORMAT_REAR16", "AL_FORMAT_QUAD16", "AL_FORMAT_61CHN16", "AL_FORMAT_71CHN16"};
  for (int i = 0; i < 4; ++i) {
    format.channels = extensible[i].first;
    format.channelMask = extensible[i].second;
    EXPECT_STREQ(Sound::ChooseFormatName(Sound::kKindWav, format), names[i]);
  }
  format.formatType = 3;
  EXPECT_EQ(Sound::ChooseFormatName(Sound::kKindWav, format), nullptr);
}

TEST(WaveParser, ReordersSixChannelFramesIntoOpenALOrder) {
  // Two frames in vorbis order FL C FR RL RR LFE, numbered by where they must end up.
  const std::int16_t vorbis[13] = {0, 2, 1, 4, 5, 3, 10, 12, 11, 14, 15, 13, 77};
  std::uint8_t bytes[sizeof(vorbis)];
  std::memcpy(bytes, vorbis, sizeof(vorbis));
  Sound::ReorderSixChannels(bytes, sizeof(bytes));
  std::int16_t result[13];
  std::memcpy(result, bytes, sizeof(result));
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(result[i], i);
    EXPECT_EQ(result[6 + i], 10 + i);
  }
  EXPECT_EQ(result[12], 77);  // a partial frame is left alone
}
