#pragma once
// The level's music: a set of loaded music files, named playlists over them, one track playing at a
// time, moving on in order or at random, replaying tracks and playlists, and crossfading between
// tracks. At most two sources play at once: the current track and the one fading out. Like the
// sound objects it only polls its sources, once per frame from the level.
#include <cstdint>
#include <string>
#include <vector>

#include "core/Core_Object.h"
#include "framework/Quillon_Level.h"

namespace Sound {
class SoundData;
class SoundSource;
}

namespace Quillon {

class JukeBox;

struct PlaylistTrack {
  std::string file;                    // the path given to the juke box
  ::Sound::SoundData* sound = nullptr;  // the juke box's loaded record of it
  int32_t loopCount = 0;               // extra plays before the juke box moves on
  uint8_t played = 0;
};

class Playlist : public Core::Object {
 public:
  Playlist() = default;
  Playlist(JukeBox* owner, const std::string& name) : m_name(name), m_owner(owner) {}
  static Core::Object* Create();
  const char* GetClassName() const override;
  uint32_t GetSize() const override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;

  // True when every track is played (an empty list counts as played through).
  bool AllPlayed() const;
  void ClearPlayed();

  const std::string& GetName() const { return m_name; }
  JukeBox* GetOwner() const { return m_owner; }
  std::vector<PlaylistTrack>& GetTracks() { return m_tracks; }
  const std::vector<PlaylistTrack>& GetTracks() const { return m_tracks; }
  uint32_t GetTrackCount() const { return static_cast<uint32_t>(m_tracks.size()); }
  // Adds a track of a file the owner has loaded; false (nothing added) for any other file.
  bool AddTrack(const std::string& file, int32_t loopCount);

 private:
  std::vector<PlaylistTrack> m_tracks;
  std::string m_name;
  JukeBox* m_owner = nullptr;
};

class JukeBox : public LevelJukeBox {
 public:
  static constexpr const char* ScriptClassName = "JukeBox";
  static constexpr uint32_t kStreamLimit = 262144;

  // The registry's juke box: no sounds and no playlists until Load.
  JukeBox() = default;
  explicit JukeBox(const std::vector<std::string>& files);
  JukeBox(const JukeBox&) = delete;
  JukeBox& operator=(const JukeBox&) = delete;
  static Core::Object* Create();
  const char* GetClassName() const override;
  uint32_t GetSize() const override;
  int PushToLua(lua_State* state) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;

  // Loads the files (those that fail are left out) and makes the "Default" playlist of them.
  void Initialize(const std::vector<std::string>& files);
  Playlist* AddPlaylist(const std::string& name);
  Playlist* FindPlaylist(const std::string& name) const;
  bool SetCurrentPlaylist(const std::string& name);
  Playlist* GetCurrentPlaylist() const { return m_currentPlaylist; }
  uint32_t GetPlaylistCount() const { return static_cast<uint32_t>(m_playlists.size()); }
  Playlist* GetPlaylist(uint32_t index) const { return index < m_playlists.size() ? m_playlists[index].Get() : nullptr; }

  // Starts that track (an index out of range picks the first, or a random unplayed one under
  // shuffle); the track playing before fades out. False when nothing started.
  bool PlayMusic(int32_t index);
  void StopMusic() override;
  void PauseMusic();
  // The current track from its start; elapsed time back to 0.
  void RewindMusic();
  bool IsPlaying() const;
  // Once per frame: replays, moves on, crossfades, fades in and out.
  void Update(float dt) override;

  // Fades the current track to the volume over fadeTime seconds (0: at once). Without a current
  // track the volume is kept for the next one, which fades in to it.
  void SetMusicVolume(float volume, float fadeTime);
  // The current source's gain, 0 without one.
  float GetMusicVolume() const;
  void SetRepeat(bool repeat) { m_repeat = repeat ? 1 : 0; }
  bool GetRepeat() const { return m_repeat != 0; }
  void SetShuffle(bool shuffle) { m_shuffle = shuffle ? 1 : 0; }
  bool GetShuffle() const { return m_shuffle != 0; }
  // Negative times are stored as 0.
  void SetFadeTime(float seconds);
  float GetFadeTime() const { return m_fadeTime; }
  int32_t GetCurrentTrack() const { return m_currentTrack; }
  bool NextTrack();
  bool PreviousTrack();

  const std::vector<::Sound::SoundData*>& GetSounds() const { return m_sounds; }
  // The loaded record of that file, or null.
  ::Sound::SoundData* FindSound(const std::string& file) const;
  ::Sound::SoundSource* GetCurrentSource() const { return m_currentSource; }
  ::Sound::SoundSource* GetFadingOutSource() const { return m_fadingOutSource; }
  bool IsMusicOn() const { return m_playing != 0; }
  float GetTargetVolume() const { return m_targetVolume; }
  float GetFadeInRate() const { return m_fadeInRate; }
  float GetFadeOutRate() const { return m_fadeOutRate; }
  float GetElapsed() const { return m_elapsed; }
  uint32_t GetRepeatCounter() const { return m_repeatCounter; }

 private:
  void ReleaseSource(::Sound::SoundSource*& source);
  // The current source starts to fade out over `seconds` (the one fading before goes at once).
  void FadeOutCurrent(float seconds);
  // Moves on to the next track of the current playlist.
  void Advance();
  // A random unplayed track; the caller makes sure there is one.
  int32_t DrawUnplayedTrack() const;

  std::vector<::Sound::SoundData*> m_sounds;
  std::vector<Core::SmartPointer<Playlist>> m_playlists;
  Playlist* m_currentPlaylist = nullptr;
  int32_t m_currentTrack = -1;
  uint32_t m_repeatCounter = 0;
  ::Sound::SoundSource* m_currentSource = nullptr;
  ::Sound::SoundSource* m_fadingOutSource = nullptr;
  uint8_t m_playing = 0;
  uint8_t m_repeat = 0;
  uint8_t m_shuffle = 0;
  float m_targetVolume = 1.0f;
  float m_fadeTime = 0.0f;
  float m_fadeInRate = 0.0f;
  float m_fadeOutRate = 0.0f;
  float m_elapsed = 0.0f;
};

}  // namespace Quillon
