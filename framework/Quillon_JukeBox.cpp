#include "framework/Quillon_JukeBox.h"

#include <algorithm>
#include <cmath>

#include "audio/Sound_Engine.h"
#include "core/Core_File.h"
#include "core/Core_Random.h"
#include "framework/Quillon_GameServices.h"
#include "framework/Quillon_SoundObject.h"

namespace Quillon {

namespace {

// The part of a music path that names it under the game directory: from the last "\resources",
// else from the last "\Resources"; empty when it holds neither.
std::string ResourceName(const std::string& path) {
  size_t start = path.rfind("\\resources");
  if (start == std::string::npos) start = path.rfind("\\Resources");
  return start == std::string::npos ? std::string() : path.substr(start);
}

// A stored music name becomes a path under the game directory; it may not climb out of it.
bool IsSafeResourceName(const std::string& name) {
  return (name.rfind("\\resources\\", 0) == 0 || name.rfind("\\Resources\\", 0) == 0) &&
         name.find("..") == std::string::npos && name.find('/') == std::string::npos;
}

::Sound::SoundEngine* Engine() { return GetSoundEngine(); }

}  // namespace

// ---- Playlist -----------------------------------------------------------------------------------

Core::Object* Playlist::Create() { return new (__FILE__, __LINE__) Playlist(); }
const char* Playlist::GetClassName() const { return "Quillon::Playlist"; }
uint32_t Playlist::GetSize() const { return static_cast<uint32_t>(sizeof(Playlist)); }
static const Core::ClassRegistration g_playlistRegistration("Quillon::Playlist", &Playlist::Create);

bool Playlist::AllPlayed() const {
  return std::all_of(m_tracks.begin(), m_tracks.end(), [](const PlaylistTrack& track) { return track.played != 0; });
}

void Playlist::ClearPlayed() {
  for (PlaylistTrack& track : m_tracks) track.played = 0;
}

bool Playlist::AddTrack(const std::string& file, int32_t loopCount) {
  ::Sound::SoundData* sound = m_owner != nullptr ? m_owner->FindSound(file) : nullptr;
  if (sound == nullptr) return false;
  m_tracks.push_back(PlaylistTrack{file, sound, std::max<int32_t>(loopCount, 0), 0});
  return true;
}

void Playlist::Save(Core::File& file) {
  file << m_name;
  file.WriteObject(m_owner);
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(m_tracks.size()));
  for (const PlaylistTrack& track : m_tracks) {
    file << track.file;
    Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(track.loopCount));
  }
}

void Playlist::Load(Core::File& file) {
  std::string name;
  file >> name;
  m_name = name;
  JukeBox* owner = Core::ReadTypedObject<JukeBox>(file);
  // The juke box that lists this playlist is being read already; one first met here is another,
  // which nothing holds: the stream keeps it until the load ends, and it owns nothing of ours.
  if (owner != nullptr && file.LastReadCreatedObject()) {
    file.DiscardCreatedObject(owner);
    owner = nullptr;
  }
  m_owner = owner;
  uint32_t count = Core::ReadValue<uint32_t>(file);
  // A track is at least its name's length and its loop count.
  if (!file.CheckCount(count, 8)) count = 0;
  m_tracks.clear();
  for (uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
    std::string trackFile;
    file >> trackFile;
    const int32_t loopCount = static_cast<int32_t>(Core::ReadValue<uint32_t>(file));
    if (file.HasFailed()) break;
    // Tracks of files the owner could not load are dropped.
    AddTrack(trackFile, loopCount);
  }
}

// ---- Juke box -----------------------------------------------------------------------------------

Core::Object* JukeBox::Create() { return new (__FILE__, __LINE__) JukeBox(); }
const char* JukeBox::GetClassName() const { return "Quillon::JukeBox"; }
uint32_t JukeBox::GetSize() const { return static_cast<uint32_t>(sizeof(JukeBox)); }
static const Core::ClassRegistration g_jukeBoxRegistration("Quillon::JukeBox", &JukeBox::Create);

JukeBox::JukeBox(const std::vector<std::string>& files) { Initialize(files); }

int JukeBox::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, ScriptClassName); }

void JukeBox::Initialize(const std::vector<std::string>& files) {
  m_sounds.clear();
  m_playlists.clear();
  if (::Sound::SoundEngine* engine = Engine()) {
    for (const std::string& file : files) {
      if (::Sound::SoundData* sound = engine->LoadSoundOrStream(file, kStreamLimit)) m_sounds.push_back(sound);
    }
  }
  m_currentPlaylist = nullptr;
  m_currentTrack = -1;
  m_repeatCounter = 0;
  Playlist* defaultList = AddPlaylist("Default");
  for (const std::string& file : files) defaultList->AddTrack(file, 0);
  m_targetVolume = 1.0f;
  m_currentSource = nullptr;
  m_fadingOutSource = nullptr;
  m_fadeTime = 0.0f;
  m_playing = 0;
  m_fadeInRate = 0.0f;
  m_repeat = 0;
  m_shuffle = 0;
  m_elapsed = 0.0f;
}

::Sound::SoundData* JukeBox::FindSound(const std::string& file) const {
  for (::Sound::SoundData* sound : m_sounds) {
    if (sound->GetName() == file) return sound;
  }
  // A playlist read back from a save names the file under another game directory.
  const std::string resource = ResourceName(file);
  if (resource.empty()) return nullptr;
  for (::Sound::SoundData* sound : m_sounds) {
    if (ResourceName(sound->GetName()) == resource) return sound;
  }
  return nullptr;
}

Playlist* JukeBox::AddPlaylist(const std::string& name) {
  Core::SmartPointer<Playlist> playlist(new (__FILE__, __LINE__) Playlist(this, name));
  m_playlists.push_back(playlist);
  if (m_currentPlaylist == nullptr) m_currentPlaylist = playlist.Get();
  return playlist.Get();
}

Playlist* JukeBox::FindPlaylist(const std::string& name) const {
  for (const auto& playlist : m_playlists) {
    if (playlist->GetName() == name) return playlist.Get();
  }
  return nullptr;
}

bool JukeBox::SetCurrentPlaylist(const std::string& name) {
  Playlist* found = FindPlaylist(name);
  if (found == nullptr) return false;
  StopMusic();
  m_currentTrack = -1;
  m_repeatCounter = 0;
  if (m_currentPlaylist != nullptr) m_currentPlaylist->ClearPlayed();
  m_currentPlaylist = found;
  return true;
}

void JukeBox::ReleaseSource(::Sound::SoundSource*& source) {
  if (source == nullptr) return;
  if (::Sound::SoundEngine* engine = Engine()) engine->DestroySource(source);
  source = nullptr;
}

void JukeBox::FadeOutCurrent(float seconds) {
  ReleaseSource(m_fadingOutSource);
  m_fadingOutSource = m_currentSource;
  m_currentSource = nullptr;
  // No fade time (or none left) lets the next Update release it; a division by zero would put an
  // infinite or undefined rate into the source's gain.
  m_fadeOutRate = m_fadingOutSource != nullptr && seconds > 0.0f ? -m_fadingOutSource->GetGain() / seconds : 0.0f;
}

int32_t JukeBox::DrawUnplayedTrack() const {
  const std::vector<PlaylistTrack>& tracks = m_currentPlaylist->GetTracks();
  const uint32_t count = static_cast<uint32_t>(tracks.size());
  uint32_t index = 0;
  // Redrawn until unplayed; the draws are bounded (and widened for lists longer than one draw
  // reaches) so that a long list with few tracks left can never spin for ever.
  for (int attempt = 0; attempt < 4096; ++attempt) {
    uint32_t draw = static_cast<uint32_t>(Core::Random());
    if (count > static_cast<uint32_t>(Core::kRandomMaximum) + 1) draw = draw * 32768u + static_cast<uint32_t>(Core::Random());
    index = draw % count;
    if (tracks[index].played == 0) return static_cast<int32_t>(index);
  }
  for (uint32_t step = 0; step < count; ++step) {
    const uint32_t candidate = (index + step) % count;
    if (tracks[candidate].played == 0) return static_cast<int32_t>(candidate);
  }
  return static_cast<int32_t>(index);
}

bool JukeBox::PlayMusic(int32_t index) {
  if (m_currentPlaylist == nullptr || m_currentPlaylist->GetTrackCount() == 0) return false;
  std::vector<PlaylistTrack>& tracks = m_currentPlaylist->GetTracks();
  if (m_currentPlaylist->AllPlayed()) m_currentPlaylist->ClearPlayed();
  int32_t chosen = 0;
  if (index >= 0 && index < static_cast<int32_t>(tracks.size())) {
    chosen = index;
  } else if (m_shuffle != 0) {
    chosen = DrawUnplayedTrack();
  }
  tracks[chosen].played = 0;

  ReleaseSource(m_fadingOutSource);
  if (m_currentSource != nullptr && m_currentSource->GetSoundData() == tracks[chosen].sound) {
    // The same music must not overlap itself.
    ReleaseSource(m_currentSource);
  } else {
    FadeOutCurrent(m_fadeTime);
  }

  ::Sound::SoundEngine* engine = Engine();
  if (engine == nullptr) return false;
  m_currentSource = engine->CreateSource(tracks[chosen].sound, true, false);
  if (m_currentSource == nullptr) return false;
  if (!engine->Play(m_currentSource)) {
    ReleaseSource(m_currentSource);
    return false;
  }
  m_currentSource->SetGain(0.0f);
  SetMusicVolume(m_targetVolume, m_fadeTime);
  m_currentTrack = chosen;
  m_elapsed = 0.0f;
  m_repeatCounter = 0;
  m_playing = 1;
  return true;
}

void JukeBox::StopMusic() {
  FadeOutCurrent(m_fadeTime);
  if (m_currentPlaylist != nullptr) m_currentPlaylist->ClearPlayed();
  m_repeatCounter = 0;
  m_playing = 0;
  m_elapsed = 0.0f;
  m_currentTrack = -1;
}

void JukeBox::PauseMusic() {
  if (m_currentSource == nullptr) return;
  if (::Sound::SoundEngine* engine = Engine()) engine->Pause(m_currentSource);
}

void JukeBox::RewindMusic() {
  if (m_currentSource != nullptr) {
    if (::Sound::SoundEngine* engine = Engine()) engine->RefillStream(m_currentSource);
  }
  m_elapsed = 0.0f;
}

bool JukeBox::IsPlaying() const {
  ::Sound::SoundEngine* engine = Engine();
  return m_currentSource != nullptr && engine != nullptr && engine->IsPlaying(m_currentSource);
}

void JukeBox::SetMusicVolume(float volume, float fadeTime) {
  if (!std::isfinite(volume) || !std::isfinite(fadeTime)) return;
  // Kept without a current track too: a level sets its volume before the music starts, and the
  // next track fades in to it.
  m_targetVolume = volume;
  if (m_currentSource == nullptr) return;
  m_fadeInRate = fadeTime != 0.0f ? (volume - m_currentSource->GetGain()) / fadeTime : 0.0f;
}

float JukeBox::GetMusicVolume() const { return m_currentSource != nullptr ? m_currentSource->GetGain() : 0.0f; }

void JukeBox::SetFadeTime(float seconds) { m_fadeTime = seconds > 0.0f && std::isfinite(seconds) ? seconds : 0.0f; }

bool JukeBox::NextTrack() {
  if (m_currentPlaylist == nullptr || m_currentTrack + 1 >= static_cast<int32_t>(m_currentPlaylist->GetTrackCount())) {
    return false;
  }
  return PlayMusic(m_currentTrack + 1);
}

bool JukeBox::PreviousTrack() {
  if (m_currentPlaylist == nullptr || m_currentTrack - 1 < 0) return false;
  return PlayMusic(m_currentTrack - 1);
}

void JukeBox::Advance() {
  if (m_currentPlaylist == nullptr) return;
  std::vector<PlaylistTrack>& tracks = m_currentPlaylist->GetTracks();
  if (tracks.empty()) return;
  if (m_currentTrack >= 0 && m_currentTrack < static_cast<int32_t>(tracks.size())) tracks[m_currentTrack].played = 1;
  if (m_currentPlaylist->AllPlayed()) {
    if (m_repeat == 0) return;
    m_currentPlaylist->ClearPlayed();
  }
  int32_t next = m_shuffle != 0 ? DrawUnplayedTrack() : m_currentTrack + 1;
  if (m_repeat != 0 && next >= static_cast<int32_t>(tracks.size())) next = 0;
  if (next < 0 || next >= static_cast<int32_t>(tracks.size())) return;
  if (m_fadingOutSource != nullptr && m_fadingOutSource->GetSoundData() == tracks[next].sound) {
    ReleaseSource(m_fadingOutSource);
  }
  ::Sound::SoundEngine* engine = Engine();
  if (engine == nullptr) return;
  m_currentSource = engine->CreateSource(tracks[next].sound, true, false);
  // A track that does not start still counts as reached, so the next Update moves past it instead
  // of retrying it every frame.
  m_currentTrack = next;
  if (m_currentSource != nullptr && engine->Play(m_currentSource)) {
    m_currentSource->SetGain(0.0f);
    SetMusicVolume(m_targetVolume, m_fadeTime);
    m_elapsed = 0.0f;
  }
}

void JukeBox::Update(float dt) {
  ::Sound::SoundEngine* engine = Engine();
  if (engine == nullptr) return;
  bool advance = false;
  if (m_currentSource == nullptr) {
    m_elapsed = 0.0f;
  } else if (!engine->IsStarted(m_currentSource)) {
    if (m_playing == 0) {
      ReleaseSource(m_currentSource);
      return;
    }
    const PlaylistTrack* track = nullptr;
    if (m_currentPlaylist != nullptr && m_currentTrack >= 0 &&
        m_currentTrack < static_cast<int32_t>(m_currentPlaylist->GetTrackCount())) {
      track = &m_currentPlaylist->GetTracks()[m_currentTrack];
    }
    if (track != nullptr && track->loopCount > static_cast<int64_t>(m_repeatCounter)) {
      ++m_repeatCounter;
      // Stop rewinds a streamed track, which ended at its last chunk.
      engine->Stop(m_currentSource);
      engine->Play(m_currentSource);
      m_currentSource->SetGain(m_targetVolume);
      m_elapsed = 0.0f;
      return;
    }
    m_repeatCounter = 0;
    ReleaseSource(m_currentSource);
    m_elapsed = 0.0f;
    advance = true;
  } else if (engine->IsPlaying(m_currentSource) && m_playing != 0) {
    m_elapsed += dt;
    const PlaylistTrack* track = nullptr;
    if (m_currentPlaylist != nullptr && m_currentTrack >= 0 &&
        m_currentTrack < static_cast<int32_t>(m_currentPlaylist->GetTrackCount())) {
      track = &m_currentPlaylist->GetTracks()[m_currentTrack];
    }
    const bool replaysLeft = track != nullptr && track->loopCount > static_cast<int64_t>(m_repeatCounter);
    ::Sound::SoundData* sound = m_currentSource->GetSoundData();
    const float remaining = static_cast<float>((sound != nullptr ? sound->GetLength() : 0.0) - m_elapsed);
    if (!replaysLeft && !(m_fadeTime < remaining)) {
      FadeOutCurrent(remaining);
      m_elapsed = 0.0f;
      m_repeatCounter = 0;
      advance = true;
    }
  }
  if (advance) Advance();

  if (m_currentSource != nullptr) {
    if (m_fadeInRate == 0.0f) {
      m_currentSource->SetGain(m_targetVolume);
    } else {
      float gain = m_currentSource->GetGain() + m_fadeInRate * dt;
      gain = m_fadeInRate > 0.0f ? std::min(gain, m_targetVolume) : std::max(gain, m_targetVolume);
      m_currentSource->SetGain(gain);
    }
  }

  if (m_fadingOutSource != nullptr) {
    if (m_currentSource != nullptr && m_currentSource->GetSoundData() == m_fadingOutSource->GetSoundData()) {
      ReleaseSource(m_fadingOutSource);
    } else if (!(m_fadeOutRate < 0.0f)) {
      ReleaseSource(m_fadingOutSource);
    } else {
      const float gain = m_fadingOutSource->GetGain() + m_fadeOutRate * dt;
      m_fadingOutSource->SetGain(std::max(gain, 0.0f));
      if (gain <= 0.0f) {
        m_fadeOutRate = 0.0f;
        ReleaseSource(m_fadingOutSource);
      }
    }
  }
}

// ---- Persistence --------------------------------------------------------------------------------

void JukeBox::Save(Core::File& file) {
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(m_sounds.size()));
  for (::Sound::SoundData* sound : m_sounds) file << ResourceName(sound->GetName());
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(m_playlists.size()));
  for (const auto& playlist : m_playlists) file.WriteObject(playlist.Get());
  file.WriteObject(m_currentPlaylist);
  Core::WriteValue<int32_t>(file, m_currentTrack);
  Core::WriteValue<uint32_t>(file, m_repeatCounter);
  Core::WriteValue<uint8_t>(file, m_playing);
  Core::WriteValue<uint8_t>(file, m_repeat);
  Core::WriteValue<uint8_t>(file, m_shuffle);
  Core::WriteValue<float>(file, m_targetVolume);
  Core::WriteValue<float>(file, m_fadeTime);
  Core::WriteValue<float>(file, m_fadeInRate);
  Core::WriteValue<float>(file, m_fadeOutRate);
  Core::WriteValue<float>(file, m_elapsed);
  Core::WriteValue<uint8_t>(file, IsPlaying() ? 1 : 0);
}

void JukeBox::Load(Core::File& file) {
  uint32_t soundCount = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(soundCount, 4)) soundCount = 0;
  std::vector<std::string> paths;
  const std::string directory = GetGameServices().GetDirectory();
  for (uint32_t i = 0; i < soundCount && !file.HasFailed(); ++i) {
    std::string name;
    file >> name;
    if (IsSafeResourceName(name)) paths.push_back(directory + name);
  }
  if (file.HasFailed()) return;
  ReleaseSource(m_fadingOutSource);
  ReleaseSource(m_currentSource);
  Initialize(paths);

  uint32_t playlistCount = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(playlistCount, 1)) playlistCount = 0;
  std::vector<Core::SmartPointer<Playlist>> loaded;
  for (uint32_t i = 0; i < playlistCount && !file.HasFailed(); ++i) {
    Core::SmartPointer<Playlist> playlist;
    Core::ReadObjectPointer(file, playlist);
    // A playlist of another juke box (or listed twice) is not one of ours.
    if (playlist && playlist->GetOwner() == this &&
        std::none_of(loaded.begin(), loaded.end(),
                     [&](const Core::SmartPointer<Playlist>& p) { return p.Get() == playlist.Get(); })) {
      loaded.push_back(playlist);
    }
  }
  // The stored list holds its own "Default": keeping the fresh one too would add another copy on
  // every save and load.
  const bool storedDefault = std::any_of(loaded.begin(), loaded.end(),
                                         [](const Core::SmartPointer<Playlist>& p) { return p->GetName() == "Default"; });
  if (storedDefault) {
    m_playlists.clear();
    m_currentPlaylist = nullptr;
  }
  m_playlists.insert(m_playlists.end(), loaded.begin(), loaded.end());

  Core::Object* current = file.ReadObject();
  const bool created = file.LastReadCreatedObject();
  auto listed = std::find_if(m_playlists.begin(), m_playlists.end(),
                             [&](const Core::SmartPointer<Playlist>& p) { return p.Get() == current; });
  if (listed != m_playlists.end()) {
    m_currentPlaylist = listed->Get();
  } else {
    if (created) file.DiscardCreatedObject(current);
    m_currentPlaylist = m_playlists.empty() ? nullptr : m_playlists.front().Get();
  }
  const int32_t currentTrack = Core::ReadValue<int32_t>(file);
  const uint32_t repeatCounter = Core::ReadValue<uint32_t>(file);
  const uint8_t playing = Core::ReadValue<uint8_t>(file);
  const uint8_t repeat = Core::ReadValue<uint8_t>(file);
  const uint8_t shuffle = Core::ReadValue<uint8_t>(file);
  const float targetVolume = Core::ReadValue<float>(file);
  const float fadeTime = Core::ReadValue<float>(file);
  const float fadeInRate = Core::ReadValue<float>(file);
  const float fadeOutRate = Core::ReadValue<float>(file);
  const float elapsed = Core::ReadValue<float>(file);
  Core::ReadValue<uint8_t>(file);  // whether it was audible: playing again below decides that
  if (file.HasFailed()) return;
  m_currentTrack = currentTrack;
  m_repeatCounter = repeatCounter;
  m_playing = playing != 0 ? 1 : 0;
  m_repeat = repeat != 0 ? 1 : 0;
  m_shuffle = shuffle != 0 ? 1 : 0;
  m_targetVolume = std::isfinite(targetVolume) && targetVolume >= 0.0f ? targetVolume : 1.0f;
  SetFadeTime(fadeTime);
  m_fadeInRate = std::isfinite(fadeInRate) ? fadeInRate : 0.0f;
  m_fadeOutRate = std::isfinite(fadeOutRate) ? fadeOutRate : 0.0f;
  m_elapsed = std::isfinite(elapsed) ? elapsed : 0.0f;
  PlayMusic(m_currentTrack);
}

}  // namespace Quillon
