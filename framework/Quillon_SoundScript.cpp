// Script methods of "Sound" and "JukeBox".
#include "framework/Quillon_JukeBox.h"
#include "framework/Quillon_ScriptSupport.h"
#include "framework/Quillon_SoundObject.h"

namespace Quillon {
namespace Script {

namespace {

constexpr int kArg = kFirstArgument;

Sound* SoundSelf(lua_State* state) { return CheckSelf<Sound>(state, Sound::ScriptClassName); }
JukeBox* JukeBoxSelf(lua_State* state) { return CheckSelf<JukeBox>(state, JukeBox::ScriptClassName); }

int GetFileName(lua_State* state) {
  const std::string& name = SoundSelf(state)->GetFileName();
  lua_pushlstring(state, name.data(), name.size());
  return 1;
}
int Play(lua_State* state) {
  Sound* self = SoundSelf(state);
  self->Play(HasArguments(state, 1) && ToBoolean(state, kArg));
  return 0;
}
int Stop(lua_State* state) {
  SoundSelf(state)->Stop();
  return 0;
}
int Pause(lua_State* state) {
  SoundSelf(state)->Pause();
  return 0;
}
int Rewind(lua_State* state) {
  SoundSelf(state)->Rewind();
  return 0;
}
int SoundIsPlaying(lua_State* state) {
  lua_pushboolean(state, SoundSelf(state)->IsPlaying());
  return 1;
}
int SetVolume(lua_State* state) {
  Sound* self = SoundSelf(state);
  if (HasArguments(state, 1)) self->SetVolume(ToFloat(state, kArg));
  return 0;
}
int GetVolume(lua_State* state) {
  lua_pushnumber(state, SoundSelf(state)->GetVolume());
  return 1;
}
int SetPitch(lua_State* state) {
  Sound* self = SoundSelf(state);
  if (HasArguments(state, 1)) self->SetPitch(ToFloat(state, kArg));
  return 0;
}
int GetPitch(lua_State* state) {
  lua_pushnumber(state, SoundSelf(state)->GetPitch());
  return 1;
}
int SetIntensity(lua_State* state) {
  Sound* self = SoundSelf(state);
  if (HasArguments(state, 1)) self->SetIntensity(ToFloat(state, kArg));
  return 0;
}
int GetIntensity(lua_State* state) {
  lua_pushnumber(state, SoundSelf(state)->GetIntensity());
  return 1;
}
int SetLooping(lua_State* state) {
  Sound* self = SoundSelf(state);
  if (HasArguments(state, 1)) self->SetLooping(ToBoolean(state, kArg));
  return 0;
}
int GetLooping(lua_State* state) {
  lua_pushboolean(state, SoundSelf(state)->GetLooping());
  return 1;
}

const TableEdit kSoundEdit = {
    {"ChangeNetworkOwner", "GetCollidedCircleData", "GetCollidedLineSegmentData", "GetCollidedTileMapData",
     "GetCollidedSpriteData"},
    {}};

const std::vector<Lua::Method> g_soundMethods = BuildDerivedTable(kSoundEdit, {{"SaveNetworkData", SaveNetworkData},
                                                                              {"LoadNetworkData", LoadNetworkData},
                                                                              {"GetFileName", GetFileName},
                                                                              {"Play", Play},
                                                                              {"Stop", Stop},
                                                                              {"Pause", Pause},
                                                                              {"Rewind", Rewind},
                                                                              {"IsPlaying", SoundIsPlaying},
                                                                              {"SetVolume", SetVolume},
                                                                              {"GetVolume", GetVolume},
                                                                              {"SetPitch", SetPitch},
                                                                              {"GetPitch", GetPitch},
                                                                              {"SetIntensity", SetIntensity},
                                                                              {"GetIntensity", GetIntensity},
                                                                              {"SetLooping", SetLooping},
                                                                              {"GetLooping", GetLooping},
                                                                              {"Clone", CloneObject}});
const Lua::MethodTable g_soundTable(Sound::ScriptClassName, g_soundMethods.data(), g_soundMethods.size());

int PlayMusic(lua_State* state) {
  JukeBox* self = JukeBoxSelf(state);
  self->PlayMusic(HasArguments(state, 1) ? ToInteger(state, kArg) : -1);
  return 0;
}
int SetCurrentPlaylist(lua_State* state) {
  JukeBox* self = JukeBoxSelf(state);
  if (!HasArguments(state, 1)) return 0;
  lua_pushboolean(state, self->SetCurrentPlaylist(luaL_checkstring(state, kArg)));
  return 1;
}
int StopMusic(lua_State* state) {
  JukeBoxSelf(state)->StopMusic();
  return 0;
}
int PauseMusic(lua_State* state) {
  JukeBoxSelf(state)->PauseMusic();
  return 0;
}
int RewindMusic(lua_State* state) {
  JukeBoxSelf(state)->RewindMusic();
  return 0;
}
int JukeBoxIsPlaying(lua_State* state) {
  lua_pushboolean(state, JukeBoxSelf(state)->IsPlaying());
  return 1;
}
int SetMusicVolume(lua_State* state) {
  JukeBox* self = JukeBoxSelf(state);
  if (!HasArguments(state, 1)) return 0;
  // The stored fade time is not used here: a missing time means at once.
  self->SetMusicVolume(ToFloat(state, kArg), HasArguments(state, 2) ? ToFloat(state, kArg + 1) : 0.0f);
  return 0;
}
int GetMusicVolume(lua_State* state) {
  lua_pushnumber(state, JukeBoxSelf(state)->GetMusicVolume());
  return 1;
}
int SetRepeat(lua_State* state) {
  JukeBox* self = JukeBoxSelf(state);
  if (HasArguments(state, 1)) self->SetRepeat(ToBoolean(state, kArg));
  return 0;
}
int GetRepeat(lua_State* state) {
  lua_pushboolean(state, JukeBoxSelf(state)->GetRepeat());
  return 1;
}
int SetShuffle(lua_State* state) {
  JukeBox* self = JukeBoxSelf(state);
  if (HasArguments(state, 1)) self->SetShuffle(ToBoolean(state, kArg));
  return 0;
}
int GetShuffle(lua_State* state) {
  lua_pushboolean(state, JukeBoxSelf(state)->GetShuffle());
  return 1;
}
int SetFadeTime(lua_State* state) {
  JukeBox* self = JukeBoxSelf(state);
  if (HasArguments(state, 1)) self->SetFadeTime(ToFloat(state, kArg));
  return 0;
}
int GetFadeTime(lua_State* state) {
  lua_pushnumber(state, JukeBoxSelf(state)->GetFadeTime());
  return 1;
}
int GetCurrentTrack(lua_State* state) {
  lua_pushnumber(state, JukeBoxSelf(state)->GetCurrentTrack());
  return 1;
}
int NextTrack(lua_State* state) {
  JukeBoxSelf(state)->NextTrack();
  return 0;
}
int PreviousTrack(lua_State* state) {
  JukeBoxSelf(state)->PreviousTrack();
  return 0;
}

const Lua::Method g_jukeBoxMethods[] = {
    {"PlayMusic", PlayMusic},
    {"SetCurrentPlaylist", SetCurrentPlaylist},
    {"StopMusic", StopMusic},
    {"PauseMusic", PauseMusic},
    {"RewindMusic", RewindMusic},
    {"IsPlaying", JukeBoxIsPlaying},
    {"SetMusicVolume", SetMusicVolume},
    {"GetMusicVolume", GetMusicVolume},
    {"SetRepeat", SetRepeat},
    {"GetRepeat", GetRepeat},
    {"SetShuffle", SetShuffle},
    {"GetShuffle", GetShuffle},
    {"SetFadeTime", SetFadeTime},
    {"GetFadeTime", GetFadeTime},
    {"GetCurrentTrack", GetCurrentTrack},
    {"NextTrack", NextTrack},
    {"PreviousTrack", PreviousTrack},
};
const Lua::MethodTable g_jukeBoxTable(JukeBox::ScriptClassName, g_jukeBoxMethods);

}  // namespace

}  // namespace Script
}  // namespace Quillon
