#include <algorithm>
#include <atomic>
#include <cstdio>

#include "audio/Sound_Data.h"
#include "audio/openal/Sound_OpenAL.h"

namespace Sound {

namespace {

std::atomic<int> g_oggUsers{0};

size_t OggReadCallback(void* buffer, size_t size, size_t count, void* file) {
  return std::fread(buffer, size, count, static_cast<std::FILE*>(file));
}

int OggSeekCallback(void* file, ogg_int64_t offset, int whence) {
  return fseeko(static_cast<std::FILE*>(file), static_cast<off_t>(offset), whence);
}

int OggCloseCallback(void* file) { return std::fclose(static_cast<std::FILE*>(file)); }

long OggTellCallback(void* file) { return static_cast<long>(ftello(static_cast<std::FILE*>(file))); }

// Holes are gaps in a damaged stream that decoding can continue past; this many in a row
// means there is nothing left worth decoding.
constexpr int kMaximumHolesInARow = 64;

}  // namespace

std::mutex& OpenALErrorMutex() {
  static std::mutex mutex;
  return mutex;
}

void EnableOggDecoding() { g_oggUsers.fetch_add(1); }

void DisableOggDecoding() {
  int users = g_oggUsers.load();
  while (users > 0 && !g_oggUsers.compare_exchange_weak(users, users - 1)) {
  }
}

bool IsOggDecodingEnabled() { return g_oggUsers.load() > 0; }

ov_callbacks OggFileCallbacks() {
  ov_callbacks callbacks{};
  callbacks.read_func = OggReadCallback;
  callbacks.seek_func = OggSeekCallback;
  callbacks.close_func = OggCloseCallback;
  callbacks.tell_func = OggTellCallback;
  return callbacks;
}

std::size_t DecodeOgg(OggDecoder& decoder, std::uint8_t* buffer, std::size_t length, int channels) {
  if (decoder.info == nullptr) return 0;
  const int expectedChannels = decoder.info->channels;
  const long expectedRate = decoder.info->rate;
  std::size_t done = 0;
  int holes = 0;
  while (done < length) {
    int section = 0;
    const std::size_t want = std::min<std::size_t>(length - done, 1 << 30);
    const long got = ov_read(&decoder.file, reinterpret_cast<char*>(buffer + done), static_cast<int>(want), 0, 2, 1,
                             &section);
    if (got == OV_HOLE && ++holes < kMaximumHolesInARow) continue;
    if (got <= 0) break;
    holes = 0;
    // A chained stream that changes layout would be played as noise in the first layout.
    const vorbis_info* info = ov_info(&decoder.file, section);
    if (info == nullptr || info->channels != expectedChannels || info->rate != expectedRate) break;
    done += static_cast<std::size_t>(got);
  }
  if (channels == 6) ReorderSixChannels(buffer, done);
  return done;
}

}  // namespace Sound
