// Script methods of "Game".
#include <algorithm>
#include <cmath>

#include "audio/Sound_Engine.h"
#include "collision/Collision_Actor.h"
#include "collision/Collision_Engine.h"
#include "framework/Quillon_CollisionBridge.h"
#include "framework/Quillon_Game.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_ScriptSupport.h"
#include "input/Internal_Keyboard.h"
#include "input/Internal_Mouse.h"
#include "physics/Physics_Engine.h"
#include "script/Lua_Script.h"
#include "script/Lua_ScriptEngine.h"

namespace Quillon {
namespace Script {

namespace {

constexpr int kArg = kFirstArgument;

Game* Self(lua_State* state) { return CheckSelf<Game>(state, Game::ScriptClassName); }

int PushString(lua_State* state, const std::string& text) {
  lua_pushlstring(state, text.data(), text.size());
  return 1;
}

int PushNumber(lua_State* state, double value) {
  lua_pushnumber(state, value);
  return 1;
}

int PushBoolean(lua_State* state, bool value) {
  lua_pushboolean(state, value ? 1 : 0);
  return 1;
}

int PushNames(lua_State* state, const std::vector<std::string>& names) {
  if (names.empty()) return 0;
  lua_createtable(state, static_cast<int>(names.size()), 0);
  int key = 1;
  for (const std::string& name : names) {
    lua_pushlstring(state, name.data(), name.size());
    lua_rawseti(state, -2, key++);
  }
  return 1;
}

bool HasString(lua_State* state, int index) { return lua_type(state, index) == LUA_TSTRING; }

// A level number as a script gives it: truncated toward zero; negative, NaN or not below the
// level count names no level.
bool ToLevelIndex(double number, uint32_t count, uint32_t& index) {
  const double truncated = std::trunc(number);
  if (!(truncated >= 0.0) || !(truncated < static_cast<double>(count))) return false;
  index = static_cast<uint32_t>(truncated);
  return true;
}

int SetTitle(lua_State* state) {
  Game* self = Self(state);
  if (HasArguments(state, 1) && HasString(state, kArg)) self->SetTitle(lua_tostring(state, kArg));
  return 0;
}
int GetTitle(lua_State* state) { return PushString(state, Self(state)->GetTitle()); }
int SetIcon(lua_State* state) {
  Game* self = Self(state);
  if (HasArguments(state, 1) && HasString(state, kArg)) self->SetIcon(lua_tostring(state, kArg));
  return 0;
}
int GetIcon(lua_State* state) { return PushString(state, Self(state)->GetIcon()); }
int GetDirectory(lua_State* state) {
  Self(state);
  return PushString(state, Game::GetDirectory());
}
int GetExecutableName(lua_State* state) {
  Self(state);
  return PushString(state, Game::GetExecutableName());
}
int GetExecutableNameNoExtension(lua_State* state) {
  Self(state);
  return PushString(state, Game::GetExecutableNameNoExtension());
}

// ---- Levels ---------------------------------------------------------------------------------------

int GetCurrentLevel(lua_State* state) { return PushObjectOrNil(state, Self(state)->GetCurrentLevel()); }
int GetCurrentLevelIndex(lua_State* state) { return PushNumber(state, Self(state)->GetCurrentLevelIndex()); }
int GetLevelsCount(lua_State* state) { return PushNumber(state, Self(state)->GetLevelCount()); }
int GoToLevel(lua_State* state) {
  Game* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  uint32_t index = 0;
  if (lua_isnumber(state, kArg)) {
    if (ToLevelIndex(lua_tonumber(state, kArg), self->GetLevelCount(), index)) self->GoToLevel(index);
  } else if (HasString(state, kArg)) {
    self->GoToLevel(std::string(lua_tostring(state, kArg)));
  }
  return 0;
}
int GoToNextLevel(lua_State* state) {
  Game* self = Self(state);
  const uint32_t current = self->GetCurrentLevelIndex();
  if (current + 1 > current) self->GoToLevel(current + 1);
  return 0;
}
int GoToPreviousLevel(lua_State* state) {
  Game* self = Self(state);
  if (self->GetCurrentLevelIndex() != 0) self->GoToLevel(self->GetCurrentLevelIndex() - 1);
  return 0;
}
int GoToLastLevel(lua_State* state) {
  Game* self = Self(state);
  if (self->GetLevelCount() != 0) self->GoToLevel(self->GetLevelCount() - 1);
  return 0;
}
int GoToFirstLevel(lua_State* state) {
  Self(state)->GoToLevel(0u);
  return 0;
}
int GoToStartingLevel(lua_State* state) {
  Game* self = Self(state);
  self->GoToLevel(self->GetStartingLevelIndex());
  return 0;
}
int RestartLevel(lua_State* state) {
  Game* self = Self(state);
  self->GoToLevel(self->GetCurrentLevelIndex());
  return 0;
}

// ---- Saves and replays ------------------------------------------------------------------------------

template <void (GameSaves::*request)(const std::string&)>
int NamedRequest(lua_State* state) {
  Game* self = Self(state);
  if (!HasArguments(state, 1) || !HasString(state, kArg)) return 0;
  if (GameSaves* saves = self->GetSaves()) (saves->*request)(lua_tostring(state, kArg));
  return 0;
}
int ReplayRecordingStop(lua_State* state) {
  if (GameSaves* saves = Self(state)->GetSaves()) saves->StopReplayRecording();
  return 0;
}
int ReplayStop(lua_State* state) {
  if (GameSaves* saves = Self(state)->GetSaves()) saves->StopReplay();
  return 0;
}
int GetReplayFiles(lua_State* state) {
  std::vector<std::string> names;
  if (GameSaves* saves = Self(state)->GetSaves()) saves->GetReplayNames(names);
  return PushNames(state, names);
}
int GetSavedGames(lua_State* state) {
  std::vector<std::string> names;
  if (GameSaves* saves = Self(state)->GetSaves()) saves->GetSavedGameNames(names);
  return PushNames(state, names);
}

// ---- Engines ----------------------------------------------------------------------------------------

int GetCollisionEngine(lua_State* state) { return PushObjectOrNil(state, Self(state)->GetCollisionEngine()); }
int GetPhysicsEngine(lua_State* state) { return PushObjectOrNil(state, Self(state)->GetPhysicsEngine()); }
int GetNetworkEngine(lua_State* state) {
  GameNetwork* network = Self(state)->GetNetworkEngine();
  return network ? network->PushToLua(state) : 0;
}
// The sound engine and the scene graph are not script objects.
int NoValue(lua_State* state) {
  Self(state);
  return 0;
}
int SetMasterVolume(lua_State* state) {
  Game* self = Self(state);
  if (HasArguments(state, 1) && lua_isnumber(state, kArg)) self->SetMasterVolume(ToFloat(state, kArg));
  return 0;
}
int GetMasterVolume(lua_State* state) { return PushNumber(state, Self(state)->GetMasterVolume()); }
int GetResolutionWidth(lua_State* state) { return PushNumber(state, Self(state)->GetResolutionWidth()); }
int GetResolutionHeight(lua_State* state) { return PushNumber(state, Self(state)->GetResolutionHeight()); }
int AddCollisionAssets(lua_State* state) {
  Game* self = Self(state);
  if (!HasArguments(state, 1)) return 0;
  void* actor = Lua::ToUserdata(state, kArg, Collision2D::CollisionActor::ScriptClassName);
  if (actor != nullptr) self->AddCollisionAssets(static_cast<Collision2D::CollisionActor*>(actor));
  return 0;
}
int GetCollisionAssets(lua_State* state) {
  Game* self = Self(state);
  const uint32_t count = self->GetCollisionAssetCount();
  lua_createtable(state, static_cast<int>(count), 0);
  for (uint32_t i = 0; i < count; ++i) {
    self->GetCollisionAsset(i)->PushToLua(state);
    lua_rawseti(state, -2, static_cast<int>(i + 1));
  }
  return 1;
}

// ---- Network ------------------------------------------------------------------------------------------

int NetworkStart(lua_State* state) {
  Game* self = Self(state);
  if (!HasArguments(state, 1) || !HasString(state, kArg)) return 0;
  GameNetwork* network = self->GetNetworkEngine();
  if (network == nullptr) return 0;
  const std::string networkId = lua_tostring(state, kArg);
  network->Shutdown();
  NetworkSessionSettings settings;
  settings.host = false;
  if (network->StartSession(settings, &Game::OnNetworkEvent)) self->SetNetworkId(networkId);
  return 0;
}
int NetworkShutdown(lua_State* state) {
  GameNetwork* network = Self(state)->GetNetworkEngine();
  return PushBoolean(state, network != nullptr && network->Shutdown());
}
int HostNetworkGame(lua_State* state) {
  Game* self = Self(state);
  if (!HasArguments(state, 4) || !HasString(state, kArg) || !HasString(state, kArg + 1) ||
      !HasString(state, kArg + 2) || !lua_isnumber(state, kArg + 3)) {
    return 0;
  }
  GameNetwork* network = self->GetNetworkEngine();
  bool hosting = false;
  // Hosting needs the session that "NetworkStart" began: the shutdown says whether there was one.
  if (network != nullptr && network->Shutdown()) {
    NetworkSessionSettings settings;
    settings.host = true;
    settings.sessionName = lua_tostring(state, kArg);
    settings.password = lua_tostring(state, kArg + 2);
    hosting = network->StartSession(settings, &Game::OnNetworkEvent) &&
              network->StartHosting(lua_tostring(state, kArg + 1), ToUnsigned(state, kArg + 3), 1, 0.25f);
  }
  return PushBoolean(state, hosting);
}
int JoinNetworkGame(lua_State* state) {
  Game* self = Self(state);
  if (!HasArguments(state, 3) || !HasString(state, kArg) || !HasString(state, kArg + 2)) return 0;
  GameNetwork* network = self->GetNetworkEngine();
  const QlnBroadcast* session = network ? network->ToSession(state, kArg + 1) : nullptr;
  return PushBoolean(state, session != nullptr && network->JoinSession(lua_tostring(state, kArg), *session,
                                                                       lua_tostring(state, kArg + 2)));
}
int IsNetworkGame(lua_State* state) {
  GameNetwork* network = Self(state)->GetNetworkEngine();
  return PushBoolean(state, network != nullptr && network->IsNetworkGame());
}
int IsServer(lua_State* state) {
  GameNetwork* network = Self(state)->GetNetworkEngine();
  return PushBoolean(state, network != nullptr && network->IsServer());
}
int GetOnlineSessionsCount(lua_State* state) { return PushNumber(state, Self(state)->GetOnlineSessionCount()); }
int GetOnlineSession(lua_State* state) {
  Game* self = Self(state);
  if (!HasArguments(state, 1) || !lua_isnumber(state, kArg)) return 0;
  const double number = lua_tonumber(state, kArg);
  if (!(number >= 0.0) || !(number < static_cast<double>(self->GetOnlineSessionCount()))) return 0;
  const QlnBroadcast* session = self->GetOnlineSession(static_cast<uint32_t>(number));
  GameNetwork* network = self->GetNetworkEngine();
  return session != nullptr && network != nullptr ? network->PushSession(state, *session) : 0;
}

// ---- Rendering application ------------------------------------------------------------------------------

int SetDesiredFrameRate(lua_State* state) {
  Game* self = Self(state);
  if (HasArguments(state, 1) && lua_isnumber(state, kArg)) self->SetDesiredFrameRate(lua_tonumber(state, kArg));
  return 0;
}
int IsFrameRateLocked(lua_State* state) { return PushBoolean(state, Self(state)->IsFrameRateLocked()); }
int GetDesiredFrameRate(lua_State* state) { return PushNumber(state, Self(state)->GetDesiredFrameRate()); }
int GetCurrentFrameRate(lua_State* state) { return PushNumber(state, Self(state)->GetCurrentFrameRate()); }
int GetKeyboard(lua_State* state) { return PushObjectOrNil(state, Self(state)->GetKeyboard()); }
int GetMouse(lua_State* state) { return PushObjectOrNil(state, Self(state)->GetMouse()); }
int IsVSync(lua_State* state) { return PushBoolean(state, Self(state)->IsVSync()); }
int IsFullScreen(lua_State* state) { return PushBoolean(state, Self(state)->IsFullScreen()); }

// ---- Others -----------------------------------------------------------------------------------------------

int ObjectFunction(lua_State* state) { return Script::ObjectFunction(state, Self(state)); }
int SetOneWayCollision(lua_State* state) {
  Self(state);
  if (HasArguments(state, 1)) SetOneSidedContact(ToBoolean(state, kArg));
  return 0;
}
int AddManagedObject(lua_State* state) {
  Game* self = Self(state);
  if (!HasArguments(state, 2)) return 0;
  Core::Object* object = ToObject(state, kArg);
  if (object == nullptr || !HasString(state, kArg + 1)) return 0;
  self->AddManagedObject(object, lua_tostring(state, kArg + 1));
  return 0;
}

const Lua::Method g_gameMethods[] = {
    {"ObjectFunction", ObjectFunction},
    {"SetTitle", SetTitle},
    {"GetTitle", GetTitle},
    {"SetIcon", SetIcon},
    {"GetIcon", GetIcon},
    {"GetDirectory", GetDirectory},
    {"GetExecutableName", GetExecutableName},
    {"GetExecutableNameNoExtension", GetExecutableNameNoExtension},
    {"GetCurrentLevel", GetCurrentLevel},
    {"GetCurrentLevelIndex", GetCurrentLevelIndex},
    {"GetLevelsCount", GetLevelsCount},
    {"GoToLevel", GoToLevel},
    {"GoToNextLevel", GoToNextLevel},
    {"GoToPreviousLevel", GoToPreviousLevel},
    {"GoToLastLevel", GoToLastLevel},
    {"GoToFirstLevel", GoToFirstLevel},
    {"GoToStartingLevel", GoToStartingLevel},
    {"RestartLevel", RestartLevel},
    {"Save", NamedRequest<&GameSaves::RequestSave>},
    {"Load", NamedRequest<&GameSaves::RequestLoad>},
    {"GetCollisionEngine", GetCollisionEngine},
    {"GetPhysicsEngine", GetPhysicsEngine},
    {"GetSoundEngine", NoValue},
    {"GetNetworkEngine", GetNetworkEngine},
    {"GetSceneGraph", NoValue},
    {"SetMasterVolume", SetMasterVolume},
    {"GetMasterVolume", GetMasterVolume},
    {"GetResolutionWidth", GetResolutionWidth},
    {"GetResolutionHeight", GetResolutionHeight},
    {"AddCollisionAssets", AddCollisionAssets},
    {"GetCollisionAssets", GetCollisionAssets},
    {"NetworkStart", NetworkStart},
    {"NetworkShutdown", NetworkShutdown},
    {"HostNetworkGame", HostNetworkGame},
    {"JoinNetworkGame", JoinNetworkGame},
    {"IsNetworkGame", IsNetworkGame},
    {"IsServer", IsServer},
    {"GetOnlineSessionsCount", GetOnlineSessionsCount},
    {"GetOnlineSession", GetOnlineSession},
    {"ReplayRecordingStart", NamedRequest<&GameSaves::StartReplayRecording>},
    {"ReplayRecordingStop", ReplayRecordingStop},
    {"ReplayStart", NamedRequest<&GameSaves::StartReplay>},
    {"ReplayStop", ReplayStop},
    {"SetDesiredFrameRate", SetDesiredFrameRate},
    {"LockFrameRate", &SetBoolean<Game, Self, &Game::LockFrameRate>},
    {"IsFrameRateLocked", IsFrameRateLocked},
    {"GetDesiredFrameRate", GetDesiredFrameRate},
    {"GetCurrentFrameRate", GetCurrentFrameRate},
    {"GetKeyboard", GetKeyboard},
    {"GetMouse", GetMouse},
    {"SetVSync", &SetBoolean<Game, Self, &Game::SetVSync>},
    {"IsVSync", IsVSync},
    {"ToggleFullScreen", &SetBoolean<Game, Self, &Game::ToggleFullScreen>},
    {"IsFullScreen", IsFullScreen},
    {"AutoToggleFullScreen", &Call<Game, Self, &Game::AutoToggleFullScreen>},
    {"Exit", &Call<Game, Self, &Game::Quit>},
    {"GetReplayFiles", GetReplayFiles},
    {"GetSavedGames", GetSavedGames},
    {"SetOneWayCollision", SetOneWayCollision},
    {"AddManagedObject", AddManagedObject},
};
static_assert(sizeof(g_gameMethods) / sizeof(g_gameMethods[0]) == 60, "the Game table has 60 methods");
const Lua::MethodTable g_gameTable(Game::ScriptClassName, g_gameMethods);

}  // namespace

}  // namespace Script
}  // namespace Quillon
