#include "audio/Sound_Data.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>

#include "audio/openal/Sound_OpenAL.h"
#include "platform/PAL_Path.h"

namespace Sound {

namespace {

class FileByteReader : public ByteReader {
 public:
  explicit FileByteReader(std::FILE* file) : m_file(file) {
    struct stat status {};
    if (fstat(fileno(file), &status) == 0 && status.st_size > 0) m_size = static_cast<std::uint64_t>(status.st_size);
  }
  std::size_t Read(void* destination, std::size_t bytes) override { return std::fread(destination, 1, bytes, m_file); }
  bool Skip(std::uint64_t bytes) override {
    const std::uint64_t position = Tell();
    if (bytes > m_size - std::min(position, m_size)) return false;
    return fseeko(m_file, static_cast<off_t>(position + bytes), SEEK_SET) == 0;
  }
  std::uint64_t Tell() override {
    const off_t position = ftello(m_file);
    return position > 0 ? static_cast<std::uint64_t>(position) : 0;
  }
  std::uint64_t Size() override { return m_size; }

 private:
  std::FILE* m_file;
  std::uint64_t m_size = 0;
};

}  // namespace

void WaveInfo::Reset() {
  std::vector<std::uint8_t>().swap(data);
  if (file != nullptr) std::fclose(file);
  file = nullptr;
  static_cast<WaveFormat&>(*this) = WaveFormat();
}

SoundData::SoundData() : m_decoder(new OggDecoder()) {}

SoundData::~SoundData() {
  if (!m_buffers.empty()) {
    CheckedAL([&] { alDeleteBuffers(static_cast<ALsizei>(m_buffers.size()), m_buffers.data()); });
  }
  m_buffers.clear();
  m_name.clear();
  ClearDecoder();
  m_wave.Reset();
}

bool SoundData::IsOpen() const {
  return m_kind == kKindWav ? m_wave.file != nullptr : m_decoder->info != nullptr;
}

void SoundData::ClearDecoder() {
  if (m_decoder->info != nullptr) ov_clear(&m_decoder->file);
  m_decoder->info = nullptr;
}

std::int32_t SoundData::DetectKind(const std::string& name) { return Sound::DetectKind(name.c_str(), m_kind); }

std::int32_t SoundData::Open(const std::string& name) {
  ClearDecoder();
  m_wave.Reset();
  m_name.clear();
  m_format = 0;
  const std::int32_t kindResult = DetectKind(name);
  if (kindResult != kResultOk) return kindResult;

  if (m_kind == kKindWav) {
    m_wave.file = std::fopen(PAL::MapPath(name).c_str(), "rb");
    if (m_wave.file == nullptr) return kResultFileError;
    FileByteReader reader(m_wave.file);
    std::int32_t result = ParseWave(reader, m_wave);
    if (result == kResultOk && fseeko(m_wave.file, m_wave.dataOffset, SEEK_SET) != 0) result = kResultFormatError;
    if (result == kResultOk) result = ChooseFormat();
    if (result != kResultOk) {
      m_wave.Reset();
      return result;
    }
    m_name = name;
    return kResultOk;
  }

  if (!IsOggDecodingEnabled()) return kResultOggDisabled;
  std::FILE* file = std::fopen(PAL::MapPath(name).c_str(), "rb");
  if (file == nullptr) return kResultFileError;
  if (ov_open_callbacks(file, &m_decoder->file, nullptr, 0, OggFileCallbacks()) != 0) {
    std::fclose(file);
    return kResultFormatError;
  }
  vorbis_info* info = ov_info(&m_decoder->file, -1);
  if (info == nullptr) {
    ov_clear(&m_decoder->file);
    return kResultFormatError;
  }
  m_decoder->info = info;
  if (info->channels < 1 || info->channels > 8 || info->rate < 1 || info->rate > static_cast<long>(kMaximumSampleRate)) {
    ClearDecoder();
    return kResultFormatError;
  }
  m_wave.formatType = 1;
  m_wave.formatTag = 1;
  m_wave.channels = static_cast<std::uint16_t>(info->channels);
  m_wave.samplesPerSecond = static_cast<std::uint32_t>(info->rate);
  m_wave.blockAlignment = static_cast<std::uint16_t>(2 * info->channels);
  m_wave.averageBytesPerSecond = m_wave.samplesPerSecond * m_wave.blockAlignment;
  m_wave.bitsPerSample = 16;
  const double seconds = ov_time_total(&m_decoder->file, -1);
  m_wave.length = seconds > 0.0 ? seconds : 0.0;
  const ogg_int64_t frames = ov_pcm_total(&m_decoder->file, -1);
  const double bytes = frames > 0 ? static_cast<double>(frames) * m_wave.blockAlignment : 0.0;
  m_wave.dataSize = bytes >= static_cast<double>(UINT32_MAX) ? UINT32_MAX : static_cast<std::uint32_t>(bytes);
  m_wave.dataOffset = 0;
  ov_raw_seek(&m_decoder->file, 0);
  const std::int32_t result = ChooseFormat();
  if (result != kResultOk) {
    ClearDecoder();
    m_wave.Reset();
    return result;
  }
  m_name = name;
  return kResultOk;
}

std::int32_t SoundData::ChooseFormat() {
  if (!IsOpen()) return kResultNotOpen;
  const char* name = ChooseFormatName(m_kind, m_wave);
  if (name == nullptr) return kResultFormatError;
  const ALenum format = alGetEnumValue(name);
  if (format == 0 || format == -1) return kResultFormatError;
  m_format = static_cast<std::uint32_t>(format);
  return kResultOk;
}

std::int32_t SoundData::ReadChunk(std::uint32_t& bytes) {
  bytes = 0;
  if (!IsOpen()) return kResultNotOpen;
  const std::size_t capacity = std::min<std::size_t>(m_chunkSize, m_wave.data.size());
  if (m_kind == kKindWav) {
    const off_t position = ftello(m_wave.file);
    const std::uint64_t end = static_cast<std::uint64_t>(m_wave.dataOffset) + m_wave.dataSize;
    const std::uint64_t left = position >= 0 && static_cast<std::uint64_t>(position) < end ? end - position : 0;
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(capacity, left));
    std::size_t got = want > 0 ? std::fread(m_wave.data.data(), 1, want, m_wave.file) : 0;
    // A short read at a damaged end must still hand OpenAL whole frames.
    got -= got % m_wave.blockAlignment;
    bytes = static_cast<std::uint32_t>(got);
    return kResultOk;
  }
  bytes = static_cast<std::uint32_t>(DecodeOgg(*m_decoder, m_wave.data.data(), capacity, m_wave.channels));
  return kResultOk;
}

std::int32_t SoundData::RewindData() { return SeekData(0); }

std::int32_t SoundData::SeekData(std::uint32_t offset) {
  if (!IsOpen()) return kResultNotOpen;
  if (m_kind == kKindWav) {
    std::clearerr(m_wave.file);
    const off_t target = static_cast<off_t>(m_wave.dataOffset) + offset;
    return fseeko(m_wave.file, target, SEEK_SET) == 0 ? kResultOk : kResultFileError;
  }
  return ov_raw_seek(&m_decoder->file, offset) == 0 ? kResultOk : kResultFormatError;
}

std::int32_t SoundData::CloseFile() {
  if (m_wave.file != nullptr) std::fclose(m_wave.file);
  m_wave.file = nullptr;
  ClearDecoder();
  return kResultOk;
}

std::int32_t SoundData::LoadWhole(const std::string& name) {
  const std::int32_t result = Open(name);
  if (result != kResultOk) return result;
  if (m_kind == kKindWav) {
    // The data size was clamped to the bytes the file holds, so this is never larger than it.
    m_wave.data.resize(m_wave.dataSize);
    if (m_wave.dataSize > 0 && std::fread(m_wave.data.data(), 1, m_wave.dataSize, m_wave.file) != m_wave.dataSize) {
      m_wave.Reset();
      m_name.clear();
      return kResultFormatError;
    }
    CloseFile();
    return kResultOk;
  }

  // One second a piece, until a piece comes back short.
  const std::size_t piece = m_wave.averageBytesPerSecond;
  std::vector<std::uint8_t>& data = m_wave.data;
  data.clear();
  for (;;) {
    const std::size_t start = data.size();
    if (start + piece > UINT32_MAX) {
      CloseFile();
      m_wave.Reset();
      m_name.clear();
      return kResultFormatError;
    }
    data.resize(start + piece);
    const std::size_t got = DecodeOgg(*m_decoder, data.data() + start, piece, m_wave.channels);
    data.resize(start + got);
    if (got < piece) break;
  }
  m_wave.dataSize = static_cast<std::uint32_t>(data.size());
  CloseFile();
  return kResultOk;
}

}  // namespace Sound
