// Ogg Vorbis decoding against the system's oggdec on the same file, and the refill thread's
// share of one core while two long files stream.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "audio/Sound_Data.h"
#include "audio/Sound_Engine.h"
#include "tests/audio/AudioTestFiles.h"
#include "tests/support/WholeFiles.h"

extern char** environ;

namespace {

constexpr std::uint32_t kRate = 44100;

// Something like music: a few partials moving in pitch, plus a little noise.
float MusicLike(std::uint32_t frame, std::uint32_t channel) {
  const double t = static_cast<double>(frame) / kRate;
  const double base = 110.0 * std::pow(2.0, std::floor(std::fmod(t * 2.0, 12.0)) / 12.0);
  double value = 0.0;
  for (int partial = 1; partial <= 4; ++partial) value += std::sin(2.0 * M_PI * base * partial * t + channel) / (partial * 3.0);
  const std::uint32_t hash = (frame * 2654435761u) ^ (channel * 40503u);
  value += ((hash >> 16) & 0xFFFF) / 65536.0 * 0.05 - 0.025;
  return static_cast<float>(value);
}

std::string Folder() {
  static const std::string folder = [] {
    const std::string path = std::filesystem::temp_directory_path() / "velkor_audio_bench";
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

// A 60-second stereo Ogg file made once per run.
const std::string& SixtySecondOgg(int which) {
  static std::string paths[2];
  std::string& path = paths[which];
  if (path.empty()) {
    path = Folder() + "/sixty" + std::to_string(which) + ".ogg";
    TestSupport::WriteWholeFile(path, AudioTest::MakeOgg(2, kRate, kRate * 60, [which](std::uint32_t f, std::uint32_t c) {
                                  return MusicLike(f + which * 12345, c);
                                }));
  }
  return path;
}

void BM_DecodeOggWithTheEngine(benchmark::State& state) {
  const std::string& path = SixtySecondOgg(0);
  Sound::EnableOggDecoding();
  for (auto _ : state) {
    Sound::SoundData sound;
    if (sound.LoadWhole(path) != Sound::kResultOk) {
      state.SkipWithError("the engine could not decode the file");
      break;
    }
    benchmark::DoNotOptimize(sound.GetWaveInfo().data.data());
  }
  Sound::DisableOggDecoding();
  state.counters["realtime_x"] =
      benchmark::Counter(60.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeOggWithTheEngine)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

void BM_DecodeOggWithOggdec(benchmark::State& state) {
  const std::string& path = SixtySecondOgg(0);
  std::string program = "oggdec";
  std::string quiet = "-Q";
  std::string output = "-o";
  std::string nowhere = "/dev/null";
  std::string input = path;
  char* argv[] = {program.data(), quiet.data(), output.data(), nowhere.data(), input.data(), nullptr};
  for (auto _ : state) {
    pid_t child = 0;
    if (posix_spawnp(&child, "oggdec", nullptr, nullptr, argv, environ) != 0) {
      state.SkipWithError("oggdec is not installed (vorbis-tools)");
      break;
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("oggdec failed");
      break;
    }
  }
  state.counters["realtime_x"] =
      benchmark::Counter(60.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeOggWithOggdec)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

std::set<std::string> ThreadIds() {
  std::set<std::string> ids;
  if (DIR* tasks = opendir("/proc/self/task")) {
    while (dirent* entry = readdir(tasks)) {
      if (entry->d_name[0] != '.') ids.insert(entry->d_name);
    }
    closedir(tasks);
  }
  return ids;
}

std::string ReadLine(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

// CPU time of one thread of this process in seconds (scheduler statistics, else clock ticks).
double ThreadCpuSeconds(const std::string& id) {
  const std::string schedstat = ReadLine("/proc/self/task/" + id + "/schedstat");
  if (!schedstat.empty()) return std::strtod(schedstat.c_str(), nullptr) / 1e9;
  const std::string stat = ReadLine("/proc/self/task/" + id + "/stat");
  std::istringstream fields(stat.substr(stat.rfind(')') + 2));
  std::string field;
  double ticks = 0.0;
  for (int index = 3; fields >> field; ++index) {
    if (index == 14 || index == 15) ticks += std::strtod(field.c_str(), nullptr);
  }
  return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

void BM_RefillThreadCpuShare(benchmark::State& state) {
  const std::string& first = SixtySecondOgg(0);
  const std::string& second = SixtySecondOgg(1);
  const std::set<std::string> before = ThreadIds();
  Sound::SoundEngine engine;
  if (!engine.Initialize(-1, 30)) {
    state.SkipWithError("no audio device (ALSOFT_DRIVERS=null is set by this program unless overridden)");
    return;
  }
  // Initialize starts the refill thread before it opens the device, so of the threads it
  // added the refill thread has the lowest id (OpenAL's mixer threads come after it).
  std::string refill;
  for (const std::string& id : ThreadIds()) {
    if (before.count(id) != 0) continue;
    if (refill.empty() || std::stol(id) < std::stol(refill)) refill = id;
  }
  if (refill.empty()) {
    state.SkipWithError("refill thread not found");
    return;
  }
  Sound::SoundSource* a = engine.CreateSource(engine.LoadSoundOrStream(first, Sound::SoundEngine::kDefaultStreamLimit), true, true);
  Sound::SoundSource* b = engine.CreateSource(engine.LoadSoundOrStream(second, Sound::SoundEngine::kDefaultStreamLimit), true, true);
  if (a == nullptr || b == nullptr || a->GetKind() != Sound::kSourceStreamed || b->GetKind() != Sound::kSourceStreamed) {
    state.SkipWithError("the files did not stream");
    return;
  }
  engine.Play(a);
  engine.Play(b);
  double cpu = 0.0;
  double wall = 0.0;
  for (auto _ : state) {
    const double cpuStart = ThreadCpuSeconds(refill);
    const auto wallStart = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(5));
    cpu += ThreadCpuSeconds(refill) - cpuStart;
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  }
  state.counters["refill_cpu_percent"] = 100.0 * cpu / wall;
  state.counters["still_playing"] = engine.IsPlaying(a) && engine.IsPlaying(b) ? 1 : 0;
}
BENCHMARK(BM_RefillThreadCpuShare)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
  // No sound card on build machines: OpenAL's null output plays in real time without one.
  setenv("ALSOFT_DRIVERS", "null", 0);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(Folder());
  return 0;
}
