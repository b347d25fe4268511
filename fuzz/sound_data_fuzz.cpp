// Sound files through the sound engine, read as the game reads them: the file from byte 0 under a
// name whose suffix picks the decoder (one target per format). Each input is loaded whole, split
// into intro and loop, and streamed, then played briefly on the null output device.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "audio/Sound_Engine.h"

#ifndef VELKOR_SOUND_SUFFIX
#error "VELKOR_SOUND_SUFFIX names the format this target reads"
#endif

namespace {

Sound::SoundEngine& Engine() {
  static Sound::SoundEngine* engine = [] {
    // Fuzzing needs no loudspeaker: OpenAL Soft's null output mixes without a device.
    setenv("ALSOFT_DRIVERS", "null", 0);
    auto* created = new Sound::SoundEngine();
    created->Initialize(-1, 10);
    return created;
  }();
  return *engine;
}

void Play(Sound::SoundEngine& engine, Sound::SoundData* sound) {
  if (sound == nullptr) return;
  Sound::SoundSource* source = engine.CreateSource(sound, true, false);
  if (source == nullptr) return;
  engine.Play(source);
  engine.IsPlaying(source);
  engine.Rewind(source);
  engine.Stop(source);
  engine.DestroySource(source);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Sound::SoundEngine& engine = Engine();
  if (!engine.IsInitialized()) std::abort();  // the null device always opens: a target that reads nothing is no test
  static const std::string path = "/tmp/velkor_sound_fuzz_" + std::to_string(getpid()) + VELKOR_SOUND_SUFFIX;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);
  Play(engine, engine.LoadSound(path, 0.0f));
  Play(engine, engine.LoadSound(path, 0.5f));
  Play(engine, engine.LoadStream(path, 0.01f, 2));
  // Loaded sounds are shared by name: the next input must be read afresh.
  engine.ReleaseAllSounds();
  return 0;
}
