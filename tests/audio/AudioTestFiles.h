#pragma once
// Sound files made on the spot for the audio tests and benchmarks, and the child-process runner
// for tests that need OpenAL started under other settings.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace AudioTest {

// Sample value in -1..1 of one channel of one frame.
using Signal = std::function<float(std::uint32_t frame, std::uint32_t channel)>;

Signal Sine(float frequency, float amplitude, std::uint32_t rate);
Signal Constant(float value);

// A plain-PCM RIFF WAVE file (8-bit unsigned or 16-bit signed).
std::string MakeWave(std::uint16_t channels, std::uint16_t bits, std::uint32_t rate, std::uint32_t frames,
                     const Signal& signal);

// A little-endian RIFF chunk: identifier, size, body, pad byte when the size is odd.
std::string Chunk(const std::string& id, const std::string& body);
std::string U16(std::uint16_t value);
std::string U32(std::uint32_t value);
// A "fmt " body of the plain 16-byte form.
std::string FormatBody(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits);
// "RIFF", size, "WAVE" and the given chunks.
std::string Riff(const std::string& chunks);

// An Ogg Vorbis file encoded at the given quality (-0.1..1.0); empty on encoder failure.
std::string MakeOgg(std::uint16_t channels, std::uint32_t rate, std::uint32_t frames, const Signal& signal,
                    float quality = 0.4f);

// Runs this test program again in a child process with only `testName` (a disabled test),
// with the environment changed as given (an empty value removes the variable). Returns the
// child's exit status (-1 when it could not be run); its output goes to `output`.
int RunChildTest(const std::string& testName, const std::map<std::string, std::string>& environment,
                 std::string& output);

// One 16-bit channel of a recorded wave file, as floats in -1..1.
struct Recording {
  std::uint32_t rate = 0;
  std::uint16_t channels = 0;
  std::vector<float> left;  // first channel only
};
// Reads a 16-bit recording made by OpenAL's wave output; false when it is not one.
bool ReadRecording(const std::string& path, Recording& recording);

}  // namespace AudioTest
