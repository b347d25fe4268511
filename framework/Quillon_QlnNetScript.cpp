// Script classes of the multiplayer layer: "QlnNet", "QlnPlayer", "QlnGroup" and "QlnBroadcast".
// Methods given too few arguments return no values.
#include <lua.hpp>

#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_QlnNet.h"
#include "framework/Quillon_ScriptSupport.h"
#include "script/Lua_MethodTable.h"

namespace Quillon {

namespace {

using Script::GetBoolean;
using Script::GetNumber;
using Script::HasArguments;
using Script::kFirstArgument;
using Script::ToObjectOf;
constexpr int kArg = kFirstArgument;

// The network object and the sessions are not in the object hierarchy and cannot be handed to
// another Lua universe.
int PushNothing(lua_State*, void*) { return 0; }

QlnNet* SelfNet(lua_State* state) { return Lua::CheckSelf<QlnNet>(state, QlnNet::ScriptClassName); }
QlnPlayer* SelfPlayer(lua_State* state) { return Lua::CheckSelf<QlnPlayer>(state, QlnPlayer::ScriptClassName); }
QlnGroup* SelfGroup(lua_State* state) { return Lua::CheckSelf<QlnGroup>(state, QlnGroup::ScriptClassName); }
const QlnBroadcast* SelfSession(lua_State* state) {
  return Lua::CheckSelf<QlnBroadcast>(state, QlnBroadcast::ScriptClassName);
}
QlnPlayer* ToPlayer(lua_State* state, int index) {
  return static_cast<QlnPlayer*>(static_cast<Core::Object*>(Lua::ToUserdata(state, index, QlnPlayer::ScriptClassName)));
}
QlnGroup* ToGroup(lua_State* state, int index) {
  return static_cast<QlnGroup*>(static_cast<Core::Object*>(Lua::ToUserdata(state, index, QlnGroup::ScriptClassName)));
}

// ---- QlnPlayer ----
int PlayerGetName(lua_State* state) {
  lua_pushstring(state, SelfPlayer(state)->GetName().c_str());
  return 1;
}
const Lua::Method g_playerMethods[] = {{"GetName", PlayerGetName},
                                       {"IsLocal", &GetBoolean<QlnPlayer, SelfPlayer, &QlnPlayer::IsLocal>},
                                       {"IsHost", &GetBoolean<QlnPlayer, SelfPlayer, &QlnPlayer::IsHost>},
                                       {"GetID", &GetNumber<QlnPlayer, SelfPlayer, &QlnPlayer::GetID>},
                                       {"GetPingTime", &GetNumber<QlnPlayer, SelfPlayer, &QlnPlayer::GetPingTime>}};
const Lua::MethodTable g_playerTable(QlnPlayer::ScriptClassName, g_playerMethods);

// ---- QlnGroup ----
int PushPlayerQuery(lua_State* state, const QlnGroup& group, int index) {
  QlnPlayer* player = lua_type(state, index) == LUA_TNUMBER
                          ? group.QueryPlayer(Script::ToUnsigned(state, index))
                          : group.QueryPlayer(std::string(luaL_checkstring(state, index)));
  return Script::PushObjectOrNil(state, player);
}
int GroupGetName(lua_State* state) {
  lua_pushstring(state, SelfGroup(state)->GetName().c_str());
  return 1;
}
int GroupGetOwner(lua_State* state) { return Script::PushObjectOrNil(state, SelfGroup(state)->GetOwner()); }
int GroupAddPlayer(lua_State* state) {
  QlnGroup* self = SelfGroup(state);
  if (!HasArguments(state, 1)) return 0;
  lua_pushboolean(state, self->AddPlayer(ToPlayer(state, kArg)));
  return 1;
}
int GroupRemovePlayer(lua_State* state) {
  QlnGroup* self = SelfGroup(state);
  if (!HasArguments(state, 1)) return 0;
  const bool removed = lua_type(state, kArg) == LUA_TNUMBER
                           ? self->RemovePlayer(Script::ToUnsigned(state, kArg))
                           : self->RemovePlayer(std::string(luaL_checkstring(state, kArg)));
  lua_pushboolean(state, removed);
  return 1;
}
int GroupQueryPlayer(lua_State* state) {
  QlnGroup* self = SelfGroup(state);
  if (!HasArguments(state, 1)) return 0;
  return PushPlayerQuery(state, *self, kArg);
}
const Lua::Method g_groupMethods[] = {{"GetName", GroupGetName},
                                      {"GetID", &GetNumber<QlnGroup, SelfGroup, &QlnGroup::GetID>},
                                      {"GetOwner", GroupGetOwner},
                                      {"AddPlayer", GroupAddPlayer},
                                      {"RemovePlayer", GroupRemovePlayer},
                                      {"QueryPlayer", GroupQueryPlayer},
                                      {"GetSize", &GetNumber<QlnGroup, SelfGroup, &QlnGroup::GetSize>}};
const Lua::MethodTable g_groupTable(QlnGroup::ScriptClassName, g_groupMethods);

// ---- QlnBroadcast ----
int SessionGetNetworkID(lua_State* state) {
  lua_pushstring(state, SelfSession(state)->networkId.c_str());
  return 1;
}
int SessionGetHostName(lua_State* state) {
  lua_pushstring(state, SelfSession(state)->hostName.c_str());
  return 1;
}
int SessionGetMaxPlayers(lua_State* state) {
  lua_pushnumber(state, SelfSession(state)->maxPlayers);
  return 1;
}
int SessionGetPlayers(lua_State* state) {
  lua_pushnumber(state, SelfSession(state)->players);
  return 1;
}
int SessionIsPasswordProtected(lua_State* state) {
  lua_pushboolean(state, SelfSession(state)->passwordProtected != 0);
  return 1;
}
const Lua::Method g_sessionMethods[] = {{"GetNetworkID", SessionGetNetworkID},
                                        {"GetHostName", SessionGetHostName},
                                        {"GetSessionMaxPlayers", SessionGetMaxPlayers},
                                        {"GetSessionPlayersNumber", SessionGetPlayers},
                                        {"IsPasswordProtected", SessionIsPasswordProtected}};
const Lua::MethodTable g_sessionTable(QlnBroadcast::ScriptClassName, g_sessionMethods, &PushNothing);

// ---- QlnNet ----
int NetAddBaseNetObject(lua_State* state) {
  QlnNet* self = SelfNet(state);
  if (!HasArguments(state, 2)) return 0;
  GameObject* object = ToObjectOf<GameObject>(state, kArg);
  lua_pushboolean(state, object != nullptr && self->AddBaseNetObject(object, luaL_checkstring(state, kArg + 1)));
  return 1;
}
int NetRemoveNetObjectsControlledBy(lua_State* state) {
  QlnNet* self = SelfNet(state);
  if (HasArguments(state, 1)) self->RemoveNetObjectsControlledBy(ToPlayer(state, kArg));
  return 0;
}
int NetCreateGroup(lua_State* state) {
  QlnNet* self = SelfNet(state);
  if (!HasArguments(state, 1)) return 0;
  lua_pushboolean(state, self->CreateGroup(ToGroup(state, kArg)));
  return 1;
}
int NetDestroyGroup(lua_State* state) {
  QlnNet* self = SelfNet(state);
  if (!HasArguments(state, 1)) return 0;
  lua_pushboolean(state, self->DestroyGroup(ToGroup(state, kArg)));
  return 1;
}
int NetSendTextMessage(lua_State* state) {
  QlnNet* self = SelfNet(state);
  if (!HasArguments(state, 2)) return 0;
  const bool reliable = Script::ToBoolean(state, kArg);
  const std::string text = luaL_checkstring(state, kArg + 1);
  bool sent = false;
  if (HasArguments(state, 4)) {
    sent = self->SendTextMessageToGroup(reliable, text, ToGroup(state, kArg + 2), Script::ToBoolean(state, kArg + 3));
  } else {
    sent = self->SendTextMessage(reliable, text, HasArguments(state, 3) && Script::ToBoolean(state, kArg + 2));
  }
  lua_pushboolean(state, sent);
  return 1;
}
int NetSendTextMessageToPlayer(lua_State* state) {
  QlnNet* self = SelfNet(state);
  if (!HasArguments(state, 3)) return 0;
  const bool echo = HasArguments(state, 4) && Script::ToBoolean(state, kArg + 3);
  lua_pushboolean(state,
                  self->SendTextMessageToPlayer(Script::ToBoolean(state, kArg), luaL_checkstring(state, kArg + 1),
                                                ToPlayer(state, kArg + 2), echo));
  return 1;
}
int NetNotProvided(lua_State* state) {
  SelfNet(state);
  return 0;
}
int NetQueryPlayer(lua_State* state) {
  QlnNet* self = SelfNet(state);
  if (!HasArguments(state, 1)) return 0;
  return PushPlayerQuery(state, *self->GetDefaultGroup(), kArg);
}
int NetQueryGroup(lua_State* state) {
  QlnNet* self = SelfNet(state);
  if (!HasArguments(state, 1)) return 0;
  QlnPlayer* owner = HasArguments(state, 2) ? ToPlayer(state, kArg + 1) : nullptr;
  QlnGroup* group = lua_type(state, kArg) == LUA_TNUMBER
                        ? self->QueryGroup(Script::ToUnsigned(state, kArg), owner)
                        : self->QueryGroup(std::string(luaL_checkstring(state, kArg)), owner);
  return Script::PushObjectOrNil(state, group);
}
int NetGetSessionPlayers(lua_State* state) {
  QlnNet* self = SelfNet(state);
  const auto& players = self->GetDefaultGroup()->GetPlayers();
  if (players.empty()) {
    lua_pushnil(state);
    return 1;
  }
  lua_createtable(state, static_cast<int>(players.size()), 0);
  int key = 1;
  for (const auto& entry : players) {
    entry.second->PushToLua(state);
    lua_rawseti(state, -2, key++);
  }
  return 1;
}
int NetGetSessionPlayersNumber(lua_State* state) {
  lua_pushnumber(state, SelfNet(state)->GetDefaultGroup()->GetSize());
  return 1;
}
int NetGetLocalPlayer(lua_State* state) { return Script::PushObjectOrNil(state, SelfNet(state)->GetLocalPlayer()); }
const Lua::Method g_netMethods[] = {{"AddBaseNetObject", NetAddBaseNetObject},
                                    {"RemoveNetObjectsControlledBy", NetRemoveNetObjectsControlledBy},
                                    {"CreateGroup", NetCreateGroup},
                                    {"DestroyGroup", NetDestroyGroup},
                                    {"SendTextMessage", NetSendTextMessage},
                                    {"SendTextMessageToPlayer", NetSendTextMessageToPlayer},
                                    {"SendDataMessage", NetNotProvided},
                                    {"SendDataMessageToPlayer", NetNotProvided},
                                    {"QueryPlayer", NetQueryPlayer},
                                    {"QueryGroup", NetQueryGroup},
                                    {"GetSessionPlayers", NetGetSessionPlayers},
                                    {"GetSessionPlayersNumber", NetGetSessionPlayersNumber},
                                    {"GetLocalPlayer", NetGetLocalPlayer},
                                    {"GetBroadcastTimeOut", &GetNumber<QlnNet, SelfNet, &QlnNet::GetBroadcastTimeOut>}};
const Lua::MethodTable g_netTable(QlnNet::ScriptClassName, g_netMethods, &PushNothing);

}  // namespace

int QlnNet::PushToLua(lua_State* state) { return Lua::PushPointer(state, this, ScriptClassName); }

int QlnNet::PushSession(lua_State* state, const QlnBroadcast& session) {
  // The script's value borrows a copy that lives as long as this object; one copy per session
  // address, refreshed on each push, so scripts that ask every frame do not grow the list.
  for (const auto& copy : m_scriptSessions) {
    if (copy->address == session.address) {
      *copy = session;
      return Lua::PushPointer(state, copy.get(), QlnBroadcast::ScriptClassName);
    }
  }
  m_scriptSessions.push_back(std::make_unique<QlnBroadcast>(session));
  return Lua::PushPointer(state, m_scriptSessions.back().get(), QlnBroadcast::ScriptClassName);
}

const QlnBroadcast* QlnNet::ToSession(lua_State* state, int index) const {
  return static_cast<const QlnBroadcast*>(Lua::ToUserdata(state, index, QlnBroadcast::ScriptClassName));
}

}  // namespace Quillon
