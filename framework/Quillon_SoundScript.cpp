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

int Play(lua_State* state) {
  Sound* self = SoundSelf(state);
  self->Play(HasArguments(state, 1) && ToBoolean(state, kArg));
  return 0;
}

const TableEdit kSoundEdit = {
    {"ChangeNetworkOwner", "GetCollidedCircleData", "GetCollidedLineSegmentData", "GetCollidedTileMapData",
     "GetCollidedSpriteData"},
    {}};

const std::vector<Lua::Method> g_soundMethods =
    BuildDerivedTable(kSoundEdit, {{"SaveNetworkData", SaveNetworkData},
                                   {"LoadNetworkData", LoadNetworkData},
                                   {"GetFileName", &GetString<Sound, SoundSelf, &Sound::GetFileName>},
                                   {"Play", Play},
                                   {"Stop", &Call<Sound, SoundSelf, &Sound::Stop>},
                                   {"Pause", &Call<Sound, SoundSelf, &Sound::Pause>},
                                   {"Rewind", &Call<Sound, SoundSelf, &Sound::Rewind>},
                                   {"IsPlaying", &GetBoolean<Sound, SoundSelf, &Sound::IsPlaying>},
                                   {"SetVolume", &SetFloat<Sound, SoundSelf, &Sound::SetVolume>},
                                   {"GetVolume", &GetNumber<Sound, SoundSelf, &Sound::GetVolume>},
                                   {"SetPitch", &SetFloat<Sound, SoundSelf, &Sound::SetPitch>},
                                   {"GetPitch", &GetNumber<Sound, SoundSelf, &Sound::GetPitch>},
                                   {"SetIntensity", &SetFloat<Sound, SoundSelf, &Sound::SetIntensity>},
                                   {"GetIntensity", &GetNumber<Sound, SoundSelf, &Sound::GetIntensity>},
                                   {"SetLooping", &SetBoolean<Sound, SoundSelf, &Sound::SetLooping>},
                                   {"GetLooping", &GetBoolean<Sound, SoundSelf, &Sound::GetLooping>},
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
int SetMusicVolume(lua_State* state) {
  JukeBox* self = JukeBoxSelf(state);
  if (!HasArguments(state, 1)) return 0;
  // The stored fade time is not used here: a missing time means at once.
  self->SetMusicVolume(ToFloat(state, kArg), HasArguments(state, 2) ? ToFloat(state, kArg + 1) : 0.0f);
  return 0;
}

const Lua::Method g_jukeBoxMethods[] = {
    {"PlayMusic", PlayMusic},
    {"SetCurrentPlaylist", SetCurrentPlaylist},
    {"StopMusic", &Call<JukeBox, JukeBoxSelf, &JukeBox::StopMusic>},
    {"PauseMusic", &Call<JukeBox, JukeBoxSelf, &JukeBox::PauseMusic>},
    {"RewindMusic", &Call<JukeBox, JukeBoxSelf, &JukeBox::RewindMusic>},
    {"IsPlaying", &GetBoolean<JukeBox, JukeBoxSelf, &JukeBox::IsPlaying>},
    {"SetMusicVolume", SetMusicVolume},
    {"GetMusicVolume", &GetNumber<JukeBox, JukeBoxSelf, &JukeBox::GetMusicVolume>},
    {"SetRepeat", &SetBoolean<JukeBox, JukeBoxSelf, &JukeBox::SetRepeat>},
    {"GetRepeat", &GetBoolean<JukeBox, JukeBoxSelf, &JukeBox::GetRepeat>},
    {"SetShuffle", &SetBoolean<JukeBox, JukeBoxSelf, &JukeBox::SetShuffle>},
    {"GetShuffle", &GetBoolean<JukeBox, JukeBoxSelf, &JukeBox::GetShuffle>},
    {"SetFadeTime", &SetFloat<JukeBox, JukeBoxSelf, &JukeBox::SetFadeTime>},
    {"GetFadeTime", &GetNumber<JukeBox, JukeBoxSelf, &JukeBox::GetFadeTime>},
    {"GetCurrentTrack", &GetNumber<JukeBox, JukeBoxSelf, &JukeBox::GetCurrentTrack>},
    {"NextTrack", &Call<JukeBox, JukeBoxSelf, &JukeBox::NextTrack>},
    {"PreviousTrack", &Call<JukeBox, JukeBoxSelf, &JukeBox::PreviousTrack>},
};
const Lua::MethodTable g_jukeBoxTable(JukeBox::ScriptClassName, g_jukeBoxMethods);

}  // namespace

}  // namespace Script
}  // namespace Quillon
