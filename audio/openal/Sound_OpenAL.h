#pragma once
// Internal to the OpenAL backend: checked OpenAL calls and the vorbisfile decoder record.
#include <AL/al.h>
#include <AL/alc.h>
#include <vorbis/vorbisfile.h>

#include <cstddef>
#include <cstdint>
#include <mutex>

namespace Sound {

// OpenAL keeps one error slot per context, shared by every thread: the main thread and the
// refill thread would read each other's errors. Each checked call owns the slot while it runs.
std::mutex& OpenALErrorMutex();

// Clears the pending error, runs the call, and reports whether it raised a new one.
template <typename Call>
bool CheckedAL(Call&& call) {
  std::lock_guard<std::mutex> lock(OpenALErrorMutex());
  alGetError();
  call();
  return alGetError() == AL_NO_ERROR;
}

struct OggDecoder {
  OggVorbis_File file{};
  vorbis_info* info = nullptr;  // null while the decoder is closed
};

// Decodes up to `length` bytes of 16-bit little-endian PCM; returns the bytes produced.
std::size_t DecodeOgg(OggDecoder& decoder, std::uint8_t* buffer, std::size_t length, int channels);

// The vorbisfile callbacks over a stdio file.
ov_callbacks OggFileCallbacks();

struct DeviceHandles {
  ALCdevice* device = nullptr;
  ALCcontext* context = nullptr;
};

}  // namespace Sound
