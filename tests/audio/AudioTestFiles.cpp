#include "tests/audio/AudioTestFiles.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "audio/Sound_WaveParser.h"
#include "tests/support/WholeFiles.h"

extern char** environ;

namespace AudioTest {

Signal Sine(float frequency, float amplitude, std::uint32_t rate) {
  return [=](std::uint32_t frame, std::uint32_t) {
    return amplitude * static_cast<float>(std::sin(2.0 * M_PI * frequency * frame / rate));
  };
}

Signal Constant(float value) {
  return [=](std::uint32_t, std::uint32_t) { return value; };
}

std::string U16(std::uint16_t value) {
  const char bytes[2] = {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
  return std::string(bytes, 2);
}

std::string U32(std::uint32_t value) { return U16(value & 0xFFFF) + U16(value >> 16); }

std::string Chunk(const std::string& id, const std::string& body) {
  std::string chunk = id + U32(static_cast<std::uint32_t>(body.size())) + body;
  if (body.size() % 2 != 0) chunk.push_back('\0');
  return chunk;
}

std::string FormatBody(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
  const std::uint16_t block = static_cast<std::uint16_t>(channels * (bits / 8));
  return U16(tag) + U16(channels) + U32(rate) + U32(rate * block) + U16(block) + U16(bits);
}

std::string Riff(const std::string& chunks) {
  return "RIFF" + U32(static_cast<std::uint32_t>(4 + chunks.size())) + "WAVE" + chunks;
}

std::string MakeWave(std::uint16_t channels, std::uint16_t bits, std::uint32_t rate, std::uint32_t frames,
                     const Signal& signal) {
  std::string data;
  data.reserve(static_cast<std::size_t>(frames) * channels * (bits / 8));
  for (std::uint32_t frame = 0; frame < frames; ++frame) {
    for (std::uint32_t channel = 0; channel < channels; ++channel) {
      const float value = std::max(-1.0f, std::min(1.0f, signal(frame, channel)));
      if (bits == 8) {
        data.push_back(static_cast<char>(static_cast<std::uint8_t>(std::lround(128.0f + value * 127.0f))));
      } else {
        data += U16(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(value * 32767.0f))));
      }
    }
  }
  return Riff(Chunk("fmt ", FormatBody(1, channels, rate, bits)) + Chunk("data", data));
}

std::string MakeOgg(std::uint16_t channels, std::uint32_t rate, std::uint32_t frames, const Signal& signal,
                    float quality) {
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, channels, static_cast<long>(rate), quality) != 0) {
    vorbis_info_clear(&info);
    return std::string();
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 1234);

  std::string out;
  ogg_page page;
  ogg_packet header, commentPacket, codePacket;
  vorbis_analysis_headerout(&dsp, &comment, &header, &commentPacket, &codePacket);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &commentPacket);
  ogg_stream_packetin(&stream, &codePacket);
  while (ogg_stream_flush(&stream, &page) != 0) {
    out.append(reinterpret_cast<const char*>(page.header), page.header_len);
    out.append(reinterpret_cast<const char*>(page.body), page.body_len);
  }

  const std::uint32_t step = 1024;
  std::uint32_t frame = 0;
  bool ended = false;
  while (!ended) {
    const std::uint32_t count = std::min(step, frames - frame);
    if (count == 0) {
      vorbis_analysis_wrote(&dsp, 0);
    } else {
      float** buffers = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
      for (std::uint32_t i = 0; i < count; ++i) {
        for (std::uint32_t c = 0; c < channels; ++c) buffers[c][i] = signal(frame + i, c);
      }
      vorbis_analysis_wrote(&dsp, static_cast<int>(count));
      frame += count;
    }
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page) != 0) {
          out.append(reinterpret_cast<const char*>(page.header), page.header_len);
          out.append(reinterpret_cast<const char*>(page.body), page.body_len);
          if (ogg_page_eos(&page) != 0) ended = true;
        }
      }
    }
    if (count == 0) {
      while (ogg_stream_flush(&stream, &page) != 0) {
        out.append(reinterpret_cast<const char*>(page.header), page.header_len);
        out.append(reinterpret_cast<const char*>(page.body), page.body_len);
      }
      ended = true;
    }
  }
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

int RunChildTest(const std::string& testName, const std::map<std::string, std::string>& environment,
                 std::string& output) {
  std::vector<std::string> variables;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string variable(*entry);
    const std::string key = variable.substr(0, variable.find('='));
    if (environment.count(key) == 0) variables.push_back(variable);
  }
  for (const auto& [key, value] : environment) {
    if (!value.empty()) variables.push_back(key + "=" + value);
  }
  std::vector<char*> envp;
  for (std::string& variable : variables) envp.push_back(variable.data());
  envp.push_back(nullptr);

  char outputPattern[] = "/tmp/velkor_audio_childXXXXXX";
  const int outputFile = mkstemp(outputPattern);
  if (outputFile < 0) return -1;
  std::string program = "/proc/self/exe";
  std::string filter = "--gtest_filter=" + testName;
  std::string disabled = "--gtest_also_run_disabled_tests";
  char* argv[] = {program.data(), filter.data(), disabled.data(), nullptr};

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outputFile, 1);
  posix_spawn_file_actions_adddup2(&actions, outputFile, 2);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, "/proc/self/exe", &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  int status = -1;
  if (spawned == 0) waitpid(child, &status, 0);
  close(outputFile);
  output = TestSupport::ReadWholeFile(outputPattern);
  std::remove(outputPattern);
  if (spawned != 0) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool ReadRecording(const std::string& path, Recording& recording) {
  const std::string bytes = TestSupport::ReadWholeFile(path);
  Sound::WaveFormat format;
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  if (Sound::ParseWave(data, bytes.size(), format) != Sound::kResultOk || format.bitsPerSample != 16) return false;
  recording.rate = format.samplesPerSecond;
  recording.channels = format.channels;
  recording.left.clear();
  for (std::uint32_t at = format.dataOffset; at + format.blockAlignment <= format.dataOffset + format.dataSize;
       at += format.blockAlignment) {
    const std::int16_t sample = static_cast<std::int16_t>(data[at] | (data[at + 1] << 8));
    recording.left.push_back(sample / 32768.0f);
  }
  return true;
}

}  // namespace AudioTest
