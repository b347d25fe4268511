#pragma once
// The multiplayer layer: one host and its clients on the local network. The host announces its
// session, accepts players, creates the shared objects and streams their state; clients discover
// sessions, join one, send their input, text and requests. Everything runs on the main thread: the
// transport's threads only queue events, which the per-frame update dispatches.
//
// Every byte from a peer is hostile. Messages are parsed against their payload's size, a player
// speaks only for itself (its id must belong to the address it sends from), ids name only players,
// groups and objects that exist, and a malformed message is dropped without changing anything.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/Core_Object.h"
#include "framework/Quillon_GameNetwork.h"
#include "network/Network_Address.h"
#include "network/Network_Event.h"
#include "network/Network_Manager.h"

namespace Input {
class Keyboard;
class Mouse;
}

namespace Quillon {

class GameObject;
class Level;
class NetworkFile;

class QlnPlayer : public Core::Object {
 public:
  static constexpr const char* ScriptClassName = "QlnPlayer";

  QlnPlayer() = default;
  QlnPlayer(const std::string& name, bool local, bool host, const Network::NetAddress& address);
  // The next id of the process-wide player counter (the first is 1).
  static uint32_t NextId();
  int PushToLua(lua_State* state) override;

  // The application's own devices for the host's local player, else the network devices (playback
  // devices on the host, null on a client).
  Input::Keyboard* GetKeyboard() const;
  Input::Mouse* GetMouse() const;
  void SetNetworkDevices(const Core::SmartPointer<Input::Keyboard>& keyboard,
                         const Core::SmartPointer<Input::Mouse>& mouse);

  const std::string& GetName() const { return m_name; }
  uint32_t GetID() const { return m_id; }
  void SetID(uint32_t id) { m_id = id; }
  bool IsLocal() const { return m_local != 0; }
  bool IsHost() const { return m_host != 0; }
  const Network::NetAddress& GetAddress() const { return m_address; }
  void SetAddress(const Network::NetAddress& address) { m_address = address; }
  bool IsReady() const { return m_ready != 0; }
  void SetReady(bool ready) { m_ready = ready ? 1 : 0; }
  double GetPingTime() const { return m_pingTime; }
  void SetPingTime(double ms) { m_pingTime = ms; }

 private:
  Core::SmartPointer<Input::Keyboard> m_keyboard;
  Core::SmartPointer<Input::Mouse> m_mouse;
  std::string m_name;
  uint32_t m_id = 0;
  uint8_t m_local = 0;
  uint8_t m_host = 0;
  Network::NetAddress m_address;
  uint8_t m_ready = 0;
  double m_pingTime = 0.0;
};

class QlnGroup : public Core::Object {
 public:
  static constexpr const char* ScriptClassName = "QlnGroup";
  // The players by id: ascending ids, and a lookup that does not walk the group.
  using Players = std::map<uint32_t, Core::SmartPointer<QlnPlayer>>;

  // Takes the next group id.
  QlnGroup(const std::string& name, QlnPlayer* owner);
  int PushToLua(lua_State* state) override;
  // The number of players.
  uint32_t GetSize() const override { return static_cast<uint32_t>(m_players.size()); }

  // Refuses null and a player whose id is already in the group.
  bool AddPlayer(QlnPlayer* player);
  bool RemovePlayer(uint32_t id);
  bool RemovePlayer(const std::string& name);
  QlnPlayer* QueryPlayer(uint32_t id) const;
  QlnPlayer* QueryPlayer(const std::string& name) const;
  void Clear() { m_players.clear(); }
  // Files the players again under their ids, after one changed.
  void Sort();

  const std::string& GetName() const { return m_name; }
  uint32_t GetID() const { return m_id; }
  void SetID(uint32_t id) { m_id = id; }
  QlnPlayer* GetOwner() const { return m_owner.Get(); }
  void SetOwner(QlnPlayer* owner) { m_owner = owner; }
  const Players& GetPlayers() const { return m_players; }
  // A copy to walk while the group may change (a send's failure or a hook may remove players).
  std::vector<Core::SmartPointer<QlnPlayer>> CopyPlayers() const;

 private:
  std::string m_name;
  uint32_t m_id = 0;
  Core::SmartPointer<QlnPlayer> m_owner;
  Players m_players;
};

// One session found by discovery.
class QlnBroadcast {
 public:
  static constexpr const char* ScriptClassName = "QlnBroadcast";

  std::string hostName;
  std::string networkId;
  Network::NetAddress address;
  uint32_t maxPlayers = 0;
  uint32_t players = 0;
  float age = 0.0f;
  uint8_t passwordProtected = 0;
};

// The multiplayer message types.
enum QlnMessageType : uint32_t {
  kQlnAnnouncement = 0,
  kQlnJoinRequest = 1,
  kQlnJoinReply = 2,
  kQlnPlayerRecord = 3,
  kQlnPlayerLeft = 4,
  kQlnCreateGroup = 5,
  kQlnDestroyGroup = 6,
  kQlnCreateObject = 7,
  kQlnRemoveObject = 8,
  kQlnSyncObject = 9,
  kQlnText = 10,
  kQlnData = 11,
  kQlnLevelName = 12,
  kQlnObjectList = 13,
  kQlnKeyboardState = 14,
  kQlnMouseState = 15,
  kQlnRequestObjects = 16,
  kQlnPing = 17,
  kQlnPingReply = 18,
};

// The session events handed to the game (NetworkEvent::type).
enum QlnEventType : uint32_t {
  kQlnEventHostingStarted = 0,
  kQlnEventJoined = 1,
  kQlnEventJoinRequest = 2,
  kQlnEventJoinAnswer = 3,
  kQlnEventPlayerJoined = 4,
  kQlnEventPlayerLeft = 5,
  kQlnEventText = 6,
  kQlnEventData = 7,
  kQlnEventSessionEnded = 8,
};

class QlnNet : public GameNetwork {
 public:
  static constexpr const char* ScriptClassName = "QlnNet";
  using EventCallback = std::function<bool(const NetworkEvent& event)>;

  // What the layer needs of the running game; the defaults use the game object and the
  // application's devices. Tests give each of their two machines its own.
  struct Environment {
    std::function<Level*()> currentLevel;
    // Asked on a client when the host runs a level of another name.
    std::function<void(const std::string& name)> switchLevel;
    std::function<Input::Keyboard*()> keyboard;
    std::function<Input::Mouse*()> mouse;
  };

  // How long a join holds the caller's frame for the host's connection and answer, all told: a
  // host answers within one of its frames, and one that does not must not hold the joining game's
  // frame for long. A join not answered by then stays open, read by the per-frame update, until
  // kJoinAnswerMs from its start: a late acceptance is told by the join-answer and joined events.
  static constexpr double kJoinWaitMs = 1000.0;
  static constexpr double kJoinAnswerMs = 5000.0;
  // Most sessions the discovery list keeps, of them most from one machine, and most groups the host
  // keeps for its clients (each remote player may own its share: the table over the player count).
  static constexpr size_t kMaximumSessionsFound = 64;
  static constexpr size_t kMaximumSessionsPerMachine = 8;
  static constexpr size_t kMaximumGroups = 256;
  // Most players a client keeps, whatever a host announces: a session's own player count, when the
  // client knows it, is the bound below this one.
  static constexpr uint32_t kMaximumPlayers = 256;
  // Largest text or data message the host relays to a group (the whole message, both ids included).
  static constexpr uint32_t kMaximumRelayedMessage = 64 * 1024;

  QlnNet();
  explicit QlnNet(Environment environment);
  ~QlnNet() override;
  QlnNet(const QlnNet&) = delete;
  QlnNet& operator=(const QlnNet&) = delete;

  // At most this many sessions run at once in the process (1; tests run a host and a client).
  static void SetSessionLimit(uint32_t limit);

  // Session control.
  bool StartSession(bool host, EventCallback callback, const std::string& sessionName, const std::string& password,
                    uint32_t dispatchTimeBudget, uint32_t dispatchIdleWait, uint32_t syncRate,
                    uint16_t broadcastPort, uint16_t listenPort);
  bool StartHosting(const std::string& playerName, uint32_t maxPlayers, uint32_t broadcastScope,
                    float intervalSeconds) override;
  bool JoinSession(const std::string& playerName, const Network::NetAddress& server, const std::string& password);
  bool Shutdown() override;
  bool IsServer() const override { return m_isHost != 0; }
  bool IsNetworkGame() const override;
  bool IsHosting() const { return m_hosting != 0; }
  bool IsConnected() const { return m_connected != 0; }
  // A join that returned before its answer came is still waiting for it.
  bool IsJoining() const { return m_joinPending; }

  // Players and groups.
  bool AddPlayerToSession(QlnPlayer* player);
  void RemovePlayer(QlnPlayer* player);
  QlnPlayer* FindPlayer(uint32_t id) const;
  QlnPlayer* FindPlayer(const std::string& name) const;
  QlnPlayer* GetLocalPlayer() const { return m_localPlayer.Get(); }
  QlnPlayer* FindNetworkPlayer(uint32_t id) const override { return FindPlayer(id); }
  QlnPlayer* GetLocalNetworkPlayer() const override { return m_localPlayer.Get(); }
  QlnGroup* GetDefaultGroup() const { return m_defaultGroup.Get(); }
  // Owner null means the local player.
  QlnGroup* QueryGroup(uint32_t id, QlnPlayer* owner = nullptr) const;
  QlnGroup* QueryGroup(const std::string& name, QlnPlayer* owner = nullptr) const;
  bool CreateGroup(QlnGroup* group);
  bool DestroyGroup(QlnGroup* group);
  uint32_t GetGroupsCount() const { return static_cast<uint32_t>(m_groups.size()); }

  // Messages.
  bool SendMessage(uint32_t type, const void* data, uint32_t size, QlnGroup* group, bool reliable);
  bool SendMessageToPlayer(uint32_t type, const void* data, uint32_t size, QlnPlayer* target, bool reliable);
  bool SendTextMessage(bool reliable, const std::string& text, bool echo);
  bool SendTextMessageToGroup(bool reliable, const std::string& text, QlnGroup* group, bool echo);
  bool SendTextMessageToPlayer(bool reliable, const std::string& text, QlnPlayer* target, bool echo);

  // Network objects.
  bool AddNetObject(GameObject* object, uint32_t layerIndex, QlnPlayer* owner) override;
  bool RemoveNetObject(GameObject* object) override;
  GameObject* FindNetObject(uint32_t owner, uint32_t id) const;
  bool AddBaseNetObject(GameObject* object, const std::string& name);
  GameObject* FindNetObjectByName(const std::string& name) const override;
  // At a level switch: the base objects go and, on the host, the ended level's shared objects.
  void ClearNamedNetObjects() override;
  void AddReplicatedObject(GameObject* object);
  void EraseReplicatedObject(GameObject* object);
  void RemoveNetObjectsControlledBy(QlnPlayer* player);
  void DestroyNetObjects() override;
  void SendNetObjects(QlnPlayer* player);
  uint32_t GetReplicatedObjectsCount() const { return static_cast<uint32_t>(m_replicated.size()); }

  // Per frame.
  void UpdatePlayerInput(float dt) override;
  void Update(float dt) override;

  // Discovery.
  const std::vector<QlnBroadcast>& GetSessionsFound() const { return m_sessionsFound; }
  float GetBroadcastTimeOut() const { return m_broadcastTimeOut; }
  uint32_t GetMeasuredTicks() const { return m_measuredTicks; }
  const Network::NetAddress& GetServerAddress() const { return m_serverAddress; }
  Network::Qln_Session* GetTransportSession() const { return m_session; }

  // The game object's seam.
  bool StartSession(const NetworkSessionSettings& settings, NetworkEventHandler handler) override;
  bool JoinSession(const std::string& playerName, const QlnBroadcast& session, const std::string& password) override;
  void CopyDiscoveredSessions(const std::string& networkId,
                              std::vector<std::shared_ptr<const QlnBroadcast>>& out) const override;
  void RestartDiscovery() override;
  void SendLevelSwitched() override;
  int PushToLua(lua_State* state) override;
  int PushSession(lua_State* state, const QlnBroadcast& session) override;
  const QlnBroadcast* ToSession(lua_State* state, int index) const override;

  // The receive handlers, public for the fuzz target: one received message (the transport's
  // framing already checked) from a peer on a channel kind.
  void HandleHostMessage(uint32_t channelKind, const Network::NetAddress& peer, uint32_t type, const uint8_t* payload,
                         uint32_t size);
  void HandleClientMessage(uint32_t channelKind, const Network::NetAddress& peer, uint32_t type,
                           const uint8_t* payload, uint32_t size);

 private:
  struct PingRecord {
    uint32_t playerId;
    double sendTime;
  };

  // Joins a session whose announced player count (0: unknown) bounds the players it may list.
  bool JoinAnnouncedSession(const std::string& playerName, const Network::NetAddress& server,
                            const std::string& password, uint32_t sessionPlayers);
  // The join's two waits, both within kJoinWaitMs of the join's start.
  bool ConnectWithin(const Network::NetAddress& server, const Network::RealStopwatch& waited);
  void AwaitJoinAnswer(const Network::RealStopwatch& waited);
  // The end of a join: accepted (the stream is watched from now on), or given up.
  void CompleteJoin();
  void AbandonJoin();
  // A frame's look at the answer of a join still waiting for it.
  void ContinueJoin();
  bool HostEvent(Network::NetEvent& event);
  bool ClientEvent(Network::NetEvent& event);
  bool Post(const NetworkEvent& event);
  bool Post(uint32_t type, QlnPlayer* player = nullptr);
  void RemoveGroupsOf(QlnPlayer* player);
  size_t CountGroupsOwnedBy(const QlnPlayer* owner) const;
  // Most groups one remote player may own on the host.
  size_t GroupShare() const;
  void EndClientSide();
  void EndHostSide();
  bool IsActive() const;
  Level* CurrentLevel() const;
  QlnPlayer* FindPlayerByAddress(const Network::NetAddress& address) const;
  // The session player the sender's id names, when it sends from that player's address and is not
  // this machine's player; null otherwise.
  QlnPlayer* RemoteSender(uint32_t id, const Network::NetAddress& peer) const;
  std::vector<uint8_t> BuildAnnouncement() const;
  std::vector<uint8_t> PlayerRecord(const QlnPlayer& player) const;
  bool SendText(bool reliable, const std::string& text, uint32_t targetId, QlnGroup* group, QlnPlayer* player,
                bool echo);
  void SendSync();
  struct ObjectEntry {
    uint32_t layerIndex = 0;
    Core::SmartPointer<GameObject> object;
  };
  // Reads one object entry (layer index, network name, network save) into a new object, not yet
  // inserted; false when the rest of the payload cannot be read any more.
  bool ReadObjectEntry(NetworkFile& file, ObjectEntry& entry);
  void InsertObjectEntry(const ObjectEntry& entry);
  void ApplyObjectList(const uint8_t* payload, uint32_t size);
  // Drops the objects of a level that has ended (and destroyed ones): they are neither
  // synchronised nor kept alive any more.
  void ReleaseStaleObjects();
  void RemoveReplicated(uint32_t owner, uint32_t id);
  // True while the event belongs to the running session: after a shutdown (a hook's too) what the
  // transport still delivers is dropped.
  bool IsCurrentEvent(const Network::NetEvent& event) const;
  // Host side.
  void HandleJoinRequest(const Network::NetAddress& peer, uint32_t channelKind, const uint8_t* payload,
                         uint32_t size);
  void HandleCreateGroup(const Network::NetAddress& peer, const uint8_t* payload, uint32_t size);
  void HandleDestroyGroup(const Network::NetAddress& peer, const uint8_t* payload, uint32_t size);
  // A player's text or data message goes on to its group (and to the host's game when its player
  // is a member).
  void RelayGroupMessage(const Network::NetAddress& peer, uint32_t type, const uint8_t* payload, uint32_t size);
  // Client side.
  void HandleAnnouncement(const Network::NetAddress& peer, const uint8_t* payload, uint32_t size);
  void HandleJoinReply(const uint8_t* payload, uint32_t size);
  void HandlePlayerRecord(const uint8_t* payload, uint32_t size);
  void HandlePlayerLeftRecord(const uint8_t* payload, uint32_t size);
  // The shared objects' messages: creation, the whole list, removal and synchronisation.
  void HandleReplicaMessage(uint32_t type, bool stream, const uint8_t* payload, uint32_t size);
  // Another player's text or data message, handed to the game.
  void PostPlayerMessage(uint32_t type, const uint8_t* payload, uint32_t size);
  void FollowHostLevel(const uint8_t* payload, uint32_t size);

  Environment m_environment;
  Network::Qln_Network_Manager m_manager;
  Network::Qln_Session* m_session = nullptr;
  EventCallback m_callback;
  uint32_t m_dispatchIdleWait = 3;
  uint32_t m_dispatchTimeBudget = 5;
  uint8_t m_isHost = 0;
  uint8_t m_hosting = 0;
  uint8_t m_connected = 0;
  uint16_t m_broadcastPort = 0;
  uint16_t m_listenPort = 0;
  uint32_t m_broadcastScope = 0;
  float m_broadcastInterval = 0.0f;
  uint32_t m_maxPlayers = 0;
  uint32_t m_syncRate = 1;
  uint32_t m_measuredTicks = 1;
  uint32_t m_ticksThisSecond = 0;
  float m_syncPeriod = 1.0f;
  float m_syncAccumulator = 0.0f;
  float m_secondAccumulator = 0.0f;
  std::vector<QlnBroadcast> m_sessionsFound;
  float m_broadcastTimeOut = 0.5f;
  Core::SmartPointer<QlnGroup> m_defaultGroup;
  std::vector<Core::SmartPointer<QlnGroup>> m_groups;
  Core::SmartPointer<QlnPlayer> m_localPlayer;
  Network::NetAddress m_serverAddress;
  std::vector<Core::SmartPointer<GameObject>> m_replicated;
  std::vector<Core::SmartPointer<GameObject>> m_baseObjects;
  std::string m_localPlayerName;
  std::vector<PingRecord> m_pings;
  // Copies of sessions handed to scripts; they live as long as this object.
  mutable std::vector<std::unique_ptr<QlnBroadcast>> m_scriptSessions;
  bool m_joinAnswered = false;
  bool m_joinPending = false;
  Network::RealStopwatch m_joinStarted;
  // The session thread reported that the join's connect failed.
  bool m_connectFailed = false;
  // On a client: most players the joined session holds.
  uint32_t m_playerLimit = kMaximumPlayers;
  // The client asked for the host's objects of its current level and waits for the list.
  bool m_objectsRequested = false;
};

// Installs the layer as the game object's network factory (also done at static initialisation).
void InstallMultiplayer();

}  // namespace Quillon
