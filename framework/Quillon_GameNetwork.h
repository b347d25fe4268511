#pragma once
// What the game object needs of the multiplayer layer. The layer implements this interface and
// installs a factory for it; the game creates its one network object through that factory in its
// constructor. Without a factory the game has no network object: it never runs a network game,
// finds no sessions and its network script methods answer nothing (or false).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct lua_State;

namespace Quillon {

class GameObject;
class QlnPlayer;
class QlnBroadcast;

// One session event handed to the game (the multiplayer messages of types 0 to 8, and others).
struct NetworkEvent {
  uint32_t type = 0;
  // The player of a player message; the sender of a text or data message.
  QlnPlayer* player = nullptr;
  // The text of a text message.
  const std::string* text = nullptr;
  // Data messages: the data kind, the payload and its size (a join answer carries its i32 code).
  uint32_t dataKind = 0;
  uint32_t size = 0;
  const void* data = nullptr;
};

// Returns what the game answers (a join request: accept or refuse).
using NetworkEventHandler = bool (*)(const NetworkEvent& event);

struct NetworkSessionSettings {
  bool host = false;
  std::string sessionName;
  std::string password;
  uint32_t dispatchTimeBudget = 5;
  uint32_t dispatchIdleWait = 3;
  uint32_t syncRate = 60;
  uint16_t broadcastPort = 3000;
  uint16_t listenPort = 0;
};

class GameNetwork {
 public:
  virtual ~GameNetwork() = default;

  // Session control; each answers whether it succeeded.
  virtual bool StartSession(const NetworkSessionSettings& settings, NetworkEventHandler handler) = 0;
  virtual bool StartHosting(const std::string& playerName, uint32_t maxPlayers, uint32_t broadcastScope,
                            float intervalSeconds) = 0;
  virtual bool JoinSession(const std::string& playerName, const QlnBroadcast& session,
                           const std::string& password) = 0;
  // False when no session was active.
  virtual bool Shutdown() = 0;
  virtual bool IsNetworkGame() const = 0;
  virtual bool IsServer() const = 0;

  // Per frame step, in this order.
  virtual void UpdatePlayerInput(float dt) = 0;
  virtual void Update(float dt) = 0;
  // Copies of the discovered sessions whose network ID is networkId, in discovery order.
  virtual void CopyDiscoveredSessions(const std::string& networkId,
                                      std::vector<std::shared_ptr<const QlnBroadcast>>& out) const = 0;

  // Level switches and the end of a session.
  virtual void ClearNamedNetObjects() = 0;
  virtual void DestroyNetObjects() = 0;
  virtual void RestartDiscovery() = 0;
  // A client tells the server it has built its new level (reliably, with the local player's id).
  virtual void SendLevelSwitched() = 0;

  // Network objects, for the framework's objects (see GameServices).
  virtual bool AddNetObject(GameObject* object, uint32_t layerIndex, QlnPlayer* owner) = 0;
  virtual bool RemoveNetObject(GameObject* object) = 0;
  virtual GameObject* FindNetObjectByName(const std::string& name) const = 0;
  // The session's player of that id, and this machine's own player; null outside a session.
  virtual QlnPlayer* FindNetworkPlayer(uint32_t id) const {
    (void)id;
    return nullptr;
  }
  virtual QlnPlayer* GetLocalNetworkPlayer() const { return nullptr; }

  // Scripts: the network object itself, a session as a new "QlnBroadcast" value, and the session a
  // script value names (null for anything else).
  virtual int PushToLua(lua_State* state) = 0;
  virtual int PushSession(lua_State* state, const QlnBroadcast& session) = 0;
  virtual const QlnBroadcast* ToSession(lua_State* state, int index) const = 0;
};

using GameNetworkFactory = std::unique_ptr<GameNetwork> (*)();
// Installed by the multiplayer layer during static initialisation (null removes it).
void SetGameNetworkFactory(GameNetworkFactory factory);
GameNetworkFactory GetGameNetworkFactory();

}  // namespace Quillon
